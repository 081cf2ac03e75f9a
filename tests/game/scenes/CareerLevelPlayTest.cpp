// Career level 1 started in the game scene on the real board and the real
// content; pictures of the intro and of the start of play go to the build folder.
#include "LevelSceneFixture.h"

#include "support/ScenePicture.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "game/board/CellSprite.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/board/GridController.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/production/Countertop.h"
#include "game/production/PhaseEnd.h"
#include "game/production/PhasePlay.h"

namespace {

// The game scene with the real board.
class RealBoardScene : public TestGameScene {
public:
    using TestGameScene::TestGameScene;
    RefPointer<GameBoard> createBoard(GameNode* gridNode) override { return SceneGame::createBoard(gridNode); }
};

} // namespace

class CareerLevelPlayTest : public LevelSceneTest {
protected:
    CareerLevelPlayTest() { withMedia = true; }

    Grid* grid() const
    {
        GamePieces* pieces = phase() ? phase()->getPieces() : nullptr;
        return pieces ? objectCast<Grid>(pieces->board.get()) : nullptr;
    }
};

TEST_F(CareerLevelPlayTest, CareerLevelOneStartsOnTheRealBoard)
{
    RefPointer<RealBoardScene> real(new RealBoardScene(SetupStore::instance->findScene("SCENE_GAME")));
    real->loadContent();
    // As its first show would: a show that found it unloaded would lay a
    // second copy of the layout over the first.
    real->setState(Scene::Loaded);
    scene->leavePhase();
    scene = real;
    player->showHints = false;
    // Close below the first rank, so that the level's score brings a rank-up.
    player->score = RankTable::getInstance()->getRankScore(1) - 400;
    state().mode = 0;
    GameData::instance->startLevel(0);
    makeCurrent();
    frames(25);
    ASSERT_TRUE(writeScenePicture(scene.get(), "career_level1_intro.png"));
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
    ASSERT_NE(nullptr, grid());

    // The tiles that fell in have landed and offer moves to the player.
    Grid* board = grid();
    ASSERT_TRUE(runUntil([board] { return board->allCellsIdle(); }, 200));
    int valid = 0;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 7; ++column)
            valid += board->isValidSwap(column, row, column + 1, row) ? 1 : 0;
    EXPECT_GT(valid, 0);
    frames(20);
    ASSERT_TRUE(writeScenePicture(scene.get(), "career_level1_play.png"));
}
