#pragma once

#include <filesystem>
#include <string>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"
#include "framework/platform/FrameClock.h"
#include "game/scenes/SceneGame.h"

class Countertop;
class Grid;
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

// How one level went for the scripted player.
struct LevelOutcome {
    int levelIndex = 0;
    std::string theme;
    bool finished = false; // the results were reached and answered
    bool won = false;
    int stars = 0;
    int starsGoal = 0;
    int score = 0;
    int playMs = 0;        // game time from the start of play to the level's end
    int moves = 0;
    int packagings = 0;
    std::string stall;     // what never ended, when the level did not finish
    // The board offered no move for a long while: whether it knew it was stuck.
    bool boardOutOfMoves = false;
    bool boardKnewItWasStuck = false;
};

// Plays career levels headless through the real game objects: the real
// property files, books and levels, the game scene with its phases, the real
// board and the countertop, a manual 20 ms frame clock and a fixed seed. The
// scripted player swaps the tiles that serve the countertop best (through the
// board's press handling), packages finished pastries with a click on the
// countertop and answers the dialogs.
class LevelRunner {
public:
    explicit LevelRunner(const std::string& saveFolder, unsigned seed);
    ~LevelRunner();
    LevelRunner(const LevelRunner&) = delete;
    LevelRunner& operator=(const LevelRunner&) = delete;

    bool isReady() const { return ready; }
    LevelOutcome playCareerLevel(int index);

    // Warnings and errors logged while the runner lived.
    const std::string& getProblems() const { return problems; }

private:
    void frame();
    void answerDialogs();
    void actAsPlayer(LevelOutcome& outcome);
    bool packageIfReady(Countertop* countertop);
    bool swapBestPair(Grid* grid, Countertop* countertop);
    bool fireABonus(Grid* grid);
    void click(int x, int y);
    void pressCell(Grid* grid, int column, int row);

    RefPointer<RunnerGameScene> scene;
    RefPointer<Random> random;
    Random* previousRandom = nullptr;
    TortelunePlayer* player = nullptr;
    ManualFrameClock clock;
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
    std::string problems;
    int reactionMs = 0;
    // How long the idle board has offered no move.
    int stuckMs = 0;
    bool ready = false;
};
