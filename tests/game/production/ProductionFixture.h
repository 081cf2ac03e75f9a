#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/Log.h"
#include "framework/platform/FrameClock.h"
#include "game/board/GameBoard.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/SceneGame.h"

class Countertop;
class GameData;
class Phase;
class TortelunePlayer;
struct GameDataState;

// The board behind the phases' interface: it records what the phases ask of
// it, and its cells "animate" while `animatingFrames` counts down.
class FakeBoard : public GameBoard {
public:
    bool allCellsIdle() const override { return animatingFrames <= 0; }
    bool anyCellAnimating() const override { return animatingFrames > 0; }
    void showCells() override
    {
        calls.push_back("showCells");
        animatingFrames = 3;
    }
    void attachCells() override { calls.push_back("attachCells"); }
    void runPlacementPass() override { calls.push_back("runPlacementPass"); }
    void finishCombo() override { calls.push_back("finishCombo"); }
    void clearMatchHint() override { calls.push_back("clearMatchHint"); }
    void dropAllCells() override
    {
        calls.push_back("dropAllCells");
        animatingFrames = 3;
    }
    void playLevelUp() override {}
    void setBusy(bool) override {}

    mutable int animatingFrames = 0;
    std::vector<std::string> calls;
};

// The game scene with the fake board and the scene's outward calls recorded.
class TestGameScene : public SceneGame {
public:
    explicit TestGameScene(AbstractProperty* configuration) : SceneGame(configuration) {}
    RefPointer<GameBoard> createBoard(GameNode* gridNode) override
    {
        if (realBoard)
            return SceneGame::createBoard(gridNode);
        board = new FakeBoard();
        return RefPointer<GameBoard>(board.get());
    }
    bool trophyPending() const override { return trophyWaiting; }
    // Without a trophy watcher the hand-over is taken as done.
    bool handTrophiesToWatcher() override
    {
        return TrophyWatcher::instance ? SceneGame::handTrophiesToWatcher() : trophyWaiting;
    }
    void leaveGame() override { ++leftGame; }
    void deleteSavedGames(bool level, bool arcade) override { deletedSaves += (level ? 1 : 0) + (arcade ? 10 : 0); }
    void update(int ms) override
    {
        SceneGame::update(ms);
        if (board && board->animatingFrames > 0)
            --board->animatingFrames;
    }

    RefPointer<FakeBoard> board;
    // The real grid instead of the fake (played by a scripted player).
    bool realBoard = false;
    bool trophyWaiting = false;
    int leftGame = 0;
    int deletedSaves = 0;
};

// The real property files, books, levels and ranks, the game scene built from
// its real layout (without images unless a test loads them), a current player
// and a manual frame loop.
class ProductionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One frame as the program runs it: the scene (phase, modifiers, purge),
    // then the frame timer's tasks (the countertop's controller).
    void frame(int ms = 20);
    void frames(int count, int ms = 20);
    // Frames until `done` holds; false after `maxFrames`.
    template <class Condition>
    bool runUntil(Condition done, int maxFrames = 2000)
    {
        for (int i = 0; i < maxFrames; ++i) {
            if (done())
                return true;
            frame();
        }
        return done();
    }
    // Starts career level `index` and runs its intro into play.
    void startCareerLevel(int index);
    // Selects the first exam level of the career list (mode 0) and returns
    // its index; -1 when the list has none.
    int selectFirstExam();
    Countertop* countertop() const;
    Phase* phase() const;
    GameDataState& state() const;
    GameNode* node(const std::string& name) const;
    GameNode* spotChild(int spot, const std::string& name) const;
    // Puts a fresh pastry of the named recipe on a spot.
    void placePastry(int spot, const std::string& recipe);

    // A player who clicks the customer's speech bubble whenever it shows
    // (every frame reaches it through the bubble's own press handling).
    bool answerCustomerHints = true;
    // Set before SetUp: the scene's images, fonts and the game screen's art
    // are loaded from the real resource table (sections "default", "dialogs",
    // "scenegame").
    bool withMedia = false;
    RefPointer<TestGameScene> scene;
    TortelunePlayer* player = nullptr;
    ManualFrameClock clock;
    std::vector<std::string> problems;

private:
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
};
