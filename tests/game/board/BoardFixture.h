#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/core/Random.h"
#include "framework/platform/iInputListenerContainer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/production/PastryStation.h"
#include "support/LogCapture.h"

// A station that records every delivery and takes all, or none.
class RecordingStation : public PastryStation {
public:
    struct Delivery {
        MatchedCell cell;
        bool unripe;
        int x, y, index, length;
    };
    Modifier* getAnimationRoot() override { return nullptr; }
    bool deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y, int indexInRun,
                            int runLength) override
    {
        deliveries.push_back({cell, runHasUnripe, x, y, indexInRun, runLength});
        return accepts;
    }
    void tearDown() override {}
    std::vector<Delivery> deliveries;
    bool accepts = true;
};

// The game scene's part as the board sees it: an animation tree, the two
// flags, the listeners and a record of the sounds played.
class FakeBoardHost : public BoardHost {
public:
    Modifier* getAnimationRoot() override { return animTree.get(); }
    bool isInputBlocked() const override { return inputBlocked; }
    bool isPlaying() const override { return playing; }
    PastryStation* getPastryStation() override { return station.get(); }
    void setPastryStation(PastryStation* value) override { station = value; }
    iInputListenerContainer* getInputListeners() override { return &listeners; }
    TaskManager* getTaskManager() override { return nullptr; }
    void playSound(const std::string& name) override { sounds.push_back(name); }
    GameNode* getFloaterLayer() override { return floaters.get(); }
    GameNode* getAnnouncementLayer() override { return announcements.get(); }
    void deliverToBonusMeter(GameNode* letter) override { delivered.push_back(letter->getTag()); }
    void emitToolParticles(int toolId, GameNode* target, int amount, bool) override
    {
        particles.push_back({toolId, target ? target->getX() : -1, amount});
    }
    void pulseTool(int toolId) override { pulses.push_back(toolId); }
    void flyStarToGoal(int x, int y, int delayMs, int, float) override { stars.push_back({x, y, delayMs}); }

    RefPointer<AnimTree> animTree {new AnimTree()};
    RefPointer<PastryStation> station;
    iInputListenerContainer listeners;
    std::vector<std::string> sounds;
    RefPointer<GameNode> floaters {new GameNode("NODE_FLOATER")};
    RefPointer<GameNode> announcements {new GameNode("NODE_FLOATERSTARS")};
    std::vector<int> delivered;
    std::vector<std::array<int, 3>> particles;
    std::vector<int> pulses;
    // Stars sent to the goal: x, y, delay.
    std::vector<std::array<int, 3>> stars;
    bool inputBlocked = false;
    bool playing = true;
};

// A headless board of the real content's size and keys: the game's property
// files, a career level whose contents the test sets, a fixed seed, and a
// manual frame clock that steps the animation tree, purges and runs the controller.
class BoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the grid on a fresh node at (gridX, gridY).
    void buildGrid(int gridX = 200, int gridY = 150);
    // Sets the level's contents: names with their weights.
    void setContents(const std::vector<std::pair<std::string, int>>& contents);
    // Puts idle tiles on the board from rows of letters: a..h are ingredients,
    // '*' a bonus, '.' an empty place. Row 0 first.
    void setBoard(const std::vector<std::string>& rows);
    static std::string nameOf(char letter);
    // The board as rows of letters ('?' for an unknown name).
    std::vector<std::string> boardRows() const;
    // One frame: animations, purge, the controller.
    void frame(int ms = 20);
    // Frames until the board is full, idle and without runs (false after `limit` frames).
    bool runToRest(int limit = 2000, int frameMs = 20);
    bool spawnRowEmpty();

    GridWrapper& cells() { return data->state->gridWrapper; }
    // Succeeds when every listed cell (column, row) holds a tile; a test
    // asserts it before it touches those tiles, so that a board fault fails
    // the test instead of ending the whole program.
    ::testing::AssertionResult tilesAt(std::initializer_list<std::pair<int, int>> places);
    PlaySessionInfo& session() { return data->state->playSessionInfo; }
    int cellWidth() const;
    int cellHeight() const;
    // The screen point in the middle of a cell.
    int screenX(int column) const;
    int screenY(int row) const;

    LogCapture log;
    RefPointer<GameData> data;
    RefPointer<FakeBoardHost> host;
    RefPointer<RecordingStation> station;
    RefPointer<GameTree> root;
    RefPointer<GameNode> gridNode;
    RefPointer<Grid> grid;
    Random random {12345};

private:
    std::filesystem::path previousFolder;
};
