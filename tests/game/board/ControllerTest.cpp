#include "BoardFixture.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyVector.h"
#include "game/data/TuningTable.h"

namespace {

// A board without runs where swapping (1,0) with (0,0) lines up three eggs in column 0.
const std::vector<std::string> kBoard = {"bacdabcd", "acdbcdab", "adbcabcd", "cbabcdab",
                                         "abcdabcd", "cdabcdab", "abcdabcd", "cdabcdab"};

class ControllerTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        setBoard(kBoard);
        buildGrid();
        frame(0);
    }
    GridController& controller() { return *grid->getController(); }
    CellSprite* tileAt(int c, int r) { return cells().cellAt(c, r).get(); }
    bool press(int c, int r) { return controller().onLeftDown(screenX(c), screenY(r), 1, false); }
    bool drag(int c, int r) { return controller().onMouseMove(screenX(c), screenY(r), 1); }
    bool hover(int c, int r) { return controller().onMouseMove(screenX(c), screenY(r), 0); }
};

TEST_F(ControllerTest, PressSelectsPressAgainDeselects)
{
    EXPECT_TRUE(press(2, 2));
    EXPECT_TRUE(tileAt(2, 2)->isSelected());
    EXPECT_EQ(controller().getSelectedColumn(), 2);
    EXPECT_TRUE(press(2, 2));
    EXPECT_FALSE(tileAt(2, 2)->isSelected());
    EXPECT_FALSE(controller().hasSelection());
    // Outside the board, and the spawn row, take nothing.
    EXPECT_FALSE(controller().onLeftDown(gridNode->getX() - 1, screenY(0), 1, false));
    EXPECT_FALSE(controller().onLeftDown(screenX(0), gridNode->getY() - cellHeight() - 1, 1, false));
}

TEST_F(ControllerTest, PressOnADiagonalNeighbourMovesTheSelection)
{
    press(2, 2);
    EXPECT_TRUE(press(3, 3));
    EXPECT_FALSE(tileAt(2, 2)->isSelected());
    EXPECT_TRUE(tileAt(3, 3)->isSelected());
    EXPECT_EQ(controller().getSelectedColumn(), 3);
    EXPECT_TRUE(controller().onRightDown(0, 0, 2, false));
    EXPECT_FALSE(controller().hasSelection());
    EXPECT_FALSE(tileAt(3, 3)->isSelected());
    EXPECT_FALSE(controller().onRightDown(0, 0, 2, false));
}

TEST_F(ControllerTest, PressOnANeighbourSwapsOrBouncesBack)
{
    // No run: the invalid swap runs and nothing stays selected.
    press(4, 4);
    EXPECT_TRUE(press(5, 4));
    EXPECT_FALSE(controller().hasSelection());
    EXPECT_EQ(tileAt(4, 4)->getState(), CellSprite::Bouncing);
    EXPECT_EQ(tileAt(5, 4)->getState(), CellSprite::Bouncing);
    // While they cross, the moving tile hangs under the later-drawn of the two
    // nodes, so that it is drawn over the other one, whichever way it goes.
    EXPECT_EQ(tileAt(4, 4)->getParent(), grid->getCellNode(5, 4));
    EXPECT_EQ(tileAt(5, 4)->getParent(), grid->getCellNode(4, 4));
    EXPECT_EQ(boardRows(), kBoard);
    ASSERT_TRUE(runToRest());
    press(5, 4);
    EXPECT_TRUE(press(4, 4));
    EXPECT_EQ(tileAt(5, 4)->getParent(), grid->getCellNode(5, 4));
    EXPECT_EQ(tileAt(4, 4)->getParent(), grid->getCellNode(4, 4));
    ASSERT_TRUE(runToRest());
    // A run: the swap is made in the model at once.
    press(1, 0);
    EXPECT_TRUE(press(0, 0));
    EXPECT_FALSE(controller().hasSelection());
    ASSERT_TRUE(tilesAt({{0, 0}}));
    EXPECT_EQ(tileAt(0, 0)->getIngredient(), "egg");
    EXPECT_EQ(tileAt(0, 0)->getState(), CellSprite::Swapping);
    ASSERT_TRUE(runToRest());
    EXPECT_EQ(station->deliveries.size(), 3u);
    EXPECT_EQ(session().score, 30);
}

TEST_F(ControllerTest, DragSwapsOnlyFromASelection)
{
    // Without a selection a drag is nothing (there is no neighbour of "none").
    EXPECT_FALSE(drag(0, 0));
    EXPECT_FALSE(controller().hasSelection());
    EXPECT_EQ(boardRows(), kBoard);
    // A drag onto a neighbour that makes no run bounces, and is not taken.
    press(4, 4);
    EXPECT_FALSE(drag(4, 5));
    EXPECT_EQ(tileAt(4, 4)->getState(), CellSprite::Bouncing);
    ASSERT_TRUE(runToRest());
    press(1, 0);
    EXPECT_TRUE(drag(0, 0));
    ASSERT_TRUE(tilesAt({{0, 0}}));
    EXPECT_EQ(tileAt(0, 0)->getIngredient(), "egg");
}

TEST_F(ControllerTest, HoverFollowsThePointerButNotOnTheSelection)
{
    EXPECT_FALSE(hover(3, 3));
    EXPECT_EQ(controller().getHoveredColumn(), 3);
    hover(4, 3);
    EXPECT_EQ(controller().getHoveredColumn(), 4);
    // A press clears the hover, and the selected cell never shows it.
    press(5, 5);
    EXPECT_EQ(controller().getHoveredColumn(), GridController::kNone);
    hover(5, 5);
    EXPECT_EQ(controller().getHoveredColumn(), GridController::kNone);
    controller().onMouseMove(gridNode->getX() - 10, screenY(0), 0);
    EXPECT_EQ(controller().getHoveredColumn(), GridController::kNone);
    // The keyboard is not the board's.
    EXPECT_FALSE(controller().onKeyDown(0x25));
}

TEST_F(ControllerTest, ABonusIsActivatedOnReleaseOverIt)
{
    cells().eraseCell(6, 6);
    cells().createCell(6, 6, "row zap bonus", true);
    grid->attachCells();
    EXPECT_TRUE(press(6, 6));
    // A release over another cell, in its row or column too, fires nothing.
    for (const auto& [c, r] : {std::pair {2, 2}, std::pair {6, 2}, std::pair {2, 6}}) {
        EXPECT_FALSE(controller().onLeftUp(screenX(c), screenY(r), 0)) << c << "," << r;
        EXPECT_TRUE(controller().hasSelection());
    }
    EXPECT_TRUE(press(6, 6));
    EXPECT_TRUE(controller().onLeftUp(screenX(6), screenY(6), 0));
    EXPECT_FALSE(controller().hasSelection());
    EXPECT_EQ(tileAt(6, 6)->getState(), CellSprite::Leaving);
    ASSERT_TRUE(runToRest());
    ASSERT_TRUE(tilesAt({{6, 6}}));
    EXPECT_FALSE(cells().cellAt(6, 6)->isBonus());
}

TEST_F(ControllerTest, NoInputAndNoStepWhileTheBoardIsBusyBlockedOrNotInPlay)
{
    for (const char* gate : {"busy", "input blocked", "not in play", "level over"}) {
        SCOPED_TRACE(gate);
        const std::string name = gate;
        grid->setBusy(name == "busy");
        host->inputBlocked = name == "input blocked";
        host->playing = name != "not in play";
        data->state->levelOver = name == "level over";
        cells().eraseCell(0, 7);
        const int hintBefore = controller().getHintRemaining();
        frame(500);
        EXPECT_FALSE(controller().acceptsInput());
        EXPECT_FALSE(press(2, 2));
        EXPECT_FALSE(controller().hasSelection());
        EXPECT_TRUE(cells().isEmpty(0, -1)); // nothing refills
        EXPECT_EQ(controller().getHintRemaining(), hintBefore);
        grid->setBusy(false);
        host->inputBlocked = false;
        host->playing = true;
        data->state->levelOver = false;
        ASSERT_TRUE(runToRest());
    }
}

TEST_F(ControllerTest, TheHintCountdownRunsOnlyInFramesWithoutARun)
{
    const int start = controller().getHintRemaining();
    frame(100);
    EXPECT_EQ(controller().getHintRemaining(), start - 100);
    press(1, 0);
    press(0, 0);
    // The frame that removes the run restarts the countdown.
    for (int i = 0; i < 100 && session().score == 0; ++i)
        frame(20);
    ASSERT_GT(session().score, 0);
    EXPECT_EQ(controller().getHintRemaining(), start);
}

} // namespace

namespace {

TEST_F(ControllerTest, ALeftBoardLeavesNoTaskListenerOrCallbackBehind)
{
    press(1, 0);
    press(0, 0);
    for (int i = 0; i < 100 && session().score == 0; ++i)
        frame(20);
    ASSERT_GT(session().score, 0);
    RefPointer<GridController> controller(grid->getController());
    grid.reset();
    EXPECT_TRUE(controller->isFinished());
    EXPECT_TRUE(host->listeners.getListeners().empty());
    // The removal's callbacks still in the animation tree find no grid and do nothing.
    for (int i = 0; i < 50; ++i)
        Modifier::updateTree(host->animTree.get(), 20);
    controller->run(20);
    EXPECT_FALSE(controller->onLeftDown(screenX(2), screenY(2), 1, false));
}

TEST_F(BoardTest, TheCellModelSavesAndRestoresItsTiles)
{
    setBoard({"ab*", "cde"});
    cells().eraseCell(1, 1);
    cells().putCell(new CellSprite(1, 1, "cherry", true, 3), 1, 1);
    RefPointer<PropertyNode> saved(new PropertyNode("gridwrapper", "GridWrapper"));
    cells().save(saved.get());
    cells().clear();
    cells().load(saved.get());
    EXPECT_EQ(boardRows()[0].substr(0, 3), "ab*");
    EXPECT_EQ(boardRows()[1].substr(0, 3), "cfe");
    const RefPointer<CellSprite>& cherry = cells().cellAt(1, 1);
    ASSERT_TRUE(cherry);
    EXPECT_EQ(cherry->getIngredient(), "cherry");
    EXPECT_TRUE(cherry->isUnripe());
    EXPECT_EQ(cherry->getMultiplier(), 3);
    EXPECT_TRUE(cherry->hasLanded());
    ASSERT_TRUE(tilesAt({{2, 0}}));
    EXPECT_TRUE(cells().cellAt(2, 0)->isBonus());
    // A damaged entry is skipped, the others stay.
    RefPointer<PropertyNode> damaged(new PropertyNode("gridwrapper", "GridWrapper"));
    RefPointer<PropertyVector> list(new PropertyVector("cells"));
    list->add(new PropertyNode(std::string(), "NoSuchTile"));
    damaged->addChild(list.get());
    cells().load(damaged.get());
    EXPECT_EQ(cells().size(), 0);
    EXPECT_TRUE(log.contains("skipped"));
}

} // namespace
