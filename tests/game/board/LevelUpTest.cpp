#include "BoardFixture.h"

namespace {

TEST_F(BoardTest, LevelUpKeepsTheBoardBusyUntilEveryTileHasGrownBack)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        bool spawned;
    };
    const std::vector<Case> cases = {
        {"a full board with a selection",
         {"ababaeef", "cdcdcdce", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"},
         false},
        {"only a tile above the board", {}, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        setBoard(test.rows);
        buildGrid();
        if (test.spawned) {
            RefPointer<CellSprite> tile(new CellSprite(2, -1, "egg", false, 1));
            cells().putCell(tile.get(), 2, -1);
            GameNode::addChild(grid->getCellNode(2, -1), tile.get());
        } else {
            frame(20);
            grid->getController()->onLeftDown(screenX(1), screenY(1), 1, false);
            ASSERT_TRUE(grid->getController()->hasSelection());
        }
        grid->playLevelUp();
        EXPECT_TRUE(grid->isBusy());
        EXPECT_FALSE(grid->getController()->hasSelection());
        int frames = 0;
        while (grid->isBusy() && frames < 500) {
            frame(20);
            ++frames;
        }
        EXPECT_FALSE(grid->isBusy());
        EXPECT_GT(frames, 5) << "the board waits for the animation";
        cells().forEach([&](int, int, CellSprite* tile) {
            EXPECT_EQ(tile->getAlpha(), 255);
            EXPECT_FLOAT_EQ(tile->getScale(), 1.0f);
        });
        grid.reset();
    }
    // An empty board has nothing to wait for and is free at once.
    setBoard({});
    buildGrid();
    grid->playLevelUp();
    EXPECT_FALSE(grid->isBusy());
}

} // namespace
