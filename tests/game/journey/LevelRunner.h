#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"
#include "framework/platform/FrameClock.h"
#include "game/scenes/SceneGame.h"
#include "ScriptedPlayer.h"

class Random;
class TortelunePlayer;

// The game scene as the runner hosts it: the real board and phases; leaving
// the level is counted instead of switching to the map.
class RunnerGameScene : public SceneGame {
public:
    explicit RunnerGameScene(AbstractProperty* configuration) : SceneGame(configuration) {}
    void leaveGame() override
    {
        saveOnLeave = false;
        ++timesLeft;
    }
    int timesLeft = 0;
};

// Plays levels headless through the real game objects: the real property
// files, books and levels, the game scene with its phases, the real board and
// the countertop or the conveyor, a manual 20 ms frame clock and a fixed seed.
// The scripted player swaps the tiles that serve the pastries best (through
// the board's press handling), packages finished pastries with a click on the
// countertop or under the belt and answers the dialogs.
class LevelRunner {
public:
    explicit LevelRunner(const std::string& saveFolder, unsigned seed);
    ~LevelRunner();
    LevelRunner(const LevelRunner&) = delete;
    LevelRunner& operator=(const LevelRunner&) = delete;

    bool isReady() const { return ready; }
    // A career or exam level, played to its results and left.
    LevelOutcome playCareerLevel(int index);
    // An arcade set, played until the belt wins; the player stops serving
    // after `maxRounds` rounds.
    LevelOutcome playArcadeSet(int set, int maxRounds = 3);

    // The steps of a level, for tests that look at it on the way. Each
    // returns false, with the outcome's `stall` set, when it never ended.
    bool startLevel(int mode, int index, LevelOutcome& outcome);
    bool runIntro(LevelOutcome& outcome);
    // One frame of play with the scripted player; `serve` false lets the
    // pieces be (the belt then runs on until it wins).
    void playFrame(LevelOutcome& outcome, bool serve = true);
    // The scripted player's action of one frame, without the frame.
    void act(LevelOutcome& outcome) { scriptedPlayer->act(outcome); }
    bool playToEnd(LevelOutcome& outcome, int maxRounds = 1 << 30);
    bool reachResults(LevelOutcome& outcome);
    // The results dialog answered "next" (1): the level is left.
    bool leaveResults(LevelOutcome& outcome);

    void frame();
    void frames(int count);
    // Whether each frame clicks the customer's speech bubble away once its
    // OK button shows (on by default).
    void setAnswersCustomer(bool answers) { answersCustomer = answers; }
    RunnerGameScene* getScene() const { return scene.get(); }
    TortelunePlayer* getPlayer() const { return player; }
    // Warnings and errors logged while the runner lived.
    const std::string& getProblems() const { return problems; }

private:
    void answerDialogs();

    RefPointer<RunnerGameScene> scene;
    std::unique_ptr<ScriptedPlayer> scriptedPlayer;
    RefPointer<Random> random;
    Random* previousRandom = nullptr;
    TortelunePlayer* player = nullptr;
    ManualFrameClock clock;
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
    std::string problems;
    int playMs = 0;
    bool answersCustomer = true;
    bool ready = false;
};
