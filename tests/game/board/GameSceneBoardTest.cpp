#include <gtest/gtest.h>

#include <filesystem>

#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/TimedTaskManager.h"
#include "game/board/GameBoard.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/production/Phase.h"
#include "game/scenes/SceneGame.h"
#include "host/FakeHostPlatform.h"
#include "support/LogCapture.h"

namespace {

// The board built through the seam the game's phases use, on the real game
// scene: its listener hears the scene's input and its controller runs on the
// frame timer, gated by the scene's own flags.
class GameSceneBoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
        BasicProperties::createInstance();
        SetupStore::createInstance();
        SetupStore::instance->setLoadListener(new TuningLoader());
        for (const char* file : kGamePropertyFiles)
            SetupStore::instance->addFileName(std::string(TORTELUNE_SOURCE_DIR) + "/" + file);
        ASSERT_TRUE(SetupStore::instance->load());
        GameWindow::create("Tortelune", 800, 600, false, 0, 102);
        SceneManager::create();
        TimedTaskManager::create();
        data = new GameData();
        data->loadMedia(".");
        GameData::instance = data.get();
        data->state->levelManager.selectLevel(0);
        data->state->gridWrapper.fill();
    }
    void TearDown() override
    {
        board.reset();
        data->state->gridWrapper.clear();
        GameData::instance = nullptr;
        data.reset();
        TimedTaskManager::destroyInstance();
        SceneManager::destroyInstance();
        GameWindow::destroyInstance();
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
        resetTuning();
        std::filesystem::current_path(previousFolder);
    }

    ScopedFakeHostPlatform host;
    LogCapture log;
    RefPointer<GameData> data;
    RefPointer<GameBoard> board;
    std::filesystem::path previousFolder;
};

TEST_F(GameSceneBoardTest, TheSeamBuildsAGridThatPlaysInTheGameScene)
{
    // Without the game scene there is no board.
    RefPointer<GameNode> loose(new GameNode("NODE_GRID"));
    EXPECT_FALSE(GameBoard::create(loose.get()));
    EXPECT_TRUE(log.contains("the board needs"));

    auto* game = objectCast<SceneGame>(SceneManager::instance->registerScene("SCENE_GAME"));
    ASSERT_NE(nullptr, game);
    SceneManager::instance->setNextScene(game);
    SceneManager::instance->run(20);
    ASSERT_EQ(SceneManager::instance->getCurrentScene(), game);
    // Showing the scene started the current level; this test plays its own board.
    game->setPhase(RefPointer<Phase>(new PhaseIdle()), true);
    RefPointer<GameNode> gridNode(new GameNode("NODE_GRID"));
    gridNode->setPosition(384, 70);
    GameNode::addChild(game->getTree(), gridNode.get());
    board = GameBoard::create(gridNode.get());
    Grid* grid = objectCast<Grid>(board.get());
    ASSERT_NE(nullptr, grid);
    GridController* controller = grid->getController();
    EXPECT_TRUE(game->getInputContainer().containsListener(controller));
    EXPECT_TRUE(TimedTaskManager::instance->contains(controller));
    board->attachCells();

    // Until play starts the scene's clicks reach the board but are refused.
    TimedTaskManager::instance->TaskManager::run(20);
    const int x = 384 + 2 * 50 + 25, y = 70 + 2 * 50 - 25;
    game->getInputContainer().onLeftDown(x, y, 1, false);
    EXPECT_FALSE(controller->hasSelection());
    game->saveOnLeave = true;
    TimedTaskManager::instance->TaskManager::run(20);
    game->getInputContainer().onLeftDown(x, y, 1, false);
    EXPECT_TRUE(controller->hasSelection());
    EXPECT_EQ(controller->getSelectedColumn(), 2);
    game->inputBlocked = true;
    TimedTaskManager::instance->TaskManager::run(20);
    EXPECT_FALSE(controller->acceptsInput());

    // The level is left: the board lets go of the scene and the frame timer.
    RefPointer<GridController> kept(controller);
    board.reset();
    EXPECT_FALSE(game->getInputContainer().containsListener(kept.get()));
    TimedTaskManager::instance->TaskManager::run(20);
    EXPECT_FALSE(TimedTaskManager::instance->contains(kept.get()));
}

} // namespace
