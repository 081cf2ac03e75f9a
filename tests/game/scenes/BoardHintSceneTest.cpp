// A career level whose start stages a bonus the player has not met: in the
// game scene, on the real board, its first-time hint points at the tile.
#include "LevelSceneFixture.h"

#include <cstdlib>

#include "support/ScenePicture.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "game/board/CellSprite.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/PhasePlay.h"

namespace {

class RealBoardScene : public TestGameScene {
public:
    using TestGameScene::TestGameScene;
    RefPointer<GameBoard> createBoard(GameNode* gridNode) override { return SceneGame::createBoard(gridNode); }
};

class BoardHintSceneTest : public LevelSceneTest {
protected:
    BoardHintSceneTest() { withMedia = true; }
};

TEST_F(BoardHintSceneTest, AStagedBonusShowsItsHintPointingAtItsTile)
{
    RefPointer<RealBoardScene> real(new RealBoardScene(SetupStore::instance->findScene("SCENE_GAME")));
    // Shown by the scene manager, the scene loads its layout itself.
    scene->leavePhase();
    scene = real;
    player->showHints = true;
    // The swap hint is known, so that only the bonus asks.
    player->setHintSeen("HINT_SWAP");
    state().mode = 0;
    // Level 2 lists the row zap, which this player has never met.
    GameData::instance->startLevel(1);
    CellSprite* bonus = nullptr;
    state().gridWrapper.forEach([&](int, int r, CellSprite* tile) {
        if (r >= 0 && tile->isBonus())
            bonus = tile;
    });
    ASSERT_NE(bonus, nullptr);
    EXPECT_EQ(bonus->getIngredient(), "row zap bonus");
    EXPECT_GE(bonus->getColumn(), 6) << "right of Henri's margin";
    RefPointer<CellSprite> staged(bonus);
    makeCurrent();
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
    ASSERT_TRUE(waitShown("DIALOG_HINT"));
    auto* hint = objectCast<DialogHint>(shown("DIALOG_HINT"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->hintName, "HINT_BONUS_ROWZAP");
    EXPECT_TRUE(player->hasSeenHint("HINT_BONUS_ROWZAP"));
    EXPECT_EQ(player->seenBonus.count("row zap bonus"), 1u);
    ASSERT_NE(hint->getHand(), nullptr);
    // The hand points from the board's middle and wiggles towards its point.
    Sprite* hand = hint->getHand();
    const bool upper = staged->getRow() < 4;
    EXPECT_EQ(hand->getAnchorKind(), upper ? 0 : 6);
    const int pointX = staged->getAbsoluteX() + (upper ? 25 : 30);
    const int pointY = staged->getAbsoluteY() - (upper ? 30 : 5);
    EXPECT_LE(std::abs(hand->getX() - pointX), hand->getWidth() / 2);
    EXPECT_LE(std::abs(hand->getY() - pointY), hand->getHeight() / 2);
    frames(40);
    ASSERT_TRUE(writeScenePicture(scene.get(), "board_bonus_hint.png"));
}

} // namespace
