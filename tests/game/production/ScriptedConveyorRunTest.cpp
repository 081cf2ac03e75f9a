// An arcade set and an exam played on the real board by a scripted player:
// valid swaps (those feeding a plate first), finished plates packaged with a
// click under the belt, until the run ends; pictures of the belt in motion
// and of the results go to the build folder.
#include <map>
#include <sys/stat.h>

#include "ProductionFixture.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Dialog.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/board/CellSprite.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/production/ConveyorController.h"
#include "game/production/ConveyorView.h"
#include "game/production/Phase.h"
#include "game/production/PhaseEnd.h"
#include "support/FontFixtures.h"
#include "support/GameDataFixtures.h"

namespace {

class ScriptedConveyorRunTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
        scene->realBoard = true;
        // A quicker belt keeps the run short.
        setTuningInt("CONVEYOR_LENGTH", 4 * tuning().CONVEYOR_LENGTH);
    }

    Grid* grid() const
    {
        GamePieces* pieces = phase() ? phase()->getPieces() : nullptr;
        return pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
    }
    ConveyorView* belt() const { return dynamic_cast<ConveyorView*>(scene->getPastryStation()); }

    // A screen point of each cell, found through the board's own hit test.
    bool cellPoint(int column, int row, int* x, int* y)
    {
        if (points.empty()) {
            for (int py = 0; py < 600; py += 5)
                for (int px = 0; px < 800; px += 5) {
                    int c = 0;
                    int r = 0;
                    if (grid()->screenToCell(px, py, c, r) && !points.count({c, r}))
                        points[{c, r}] = {px + 10, py + 10};
                }
        }
        auto found = points.find({column, row});
        if (found == points.end())
            return false;
        *x = found->second.first;
        *y = found->second.second;
        return true;
    }

    bool needed(const std::string& ingredient) const
    {
        for (const RefPointer<Spot>& spot : state().conveyorBelt.spots)
            for (const Pastry::Ingredient& entry : spot->getPastry()->ingredients)
                if (entry.name == ingredient && entry.amount > 0)
                    return true;
        return false;
    }

    // One move of the player when the board waits for one; true when it swapped.
    bool playOneSwap()
    {
        Grid* board = grid();
        GridController* controller = board ? board->getController() : nullptr;
        if (!controller || !controller->acceptsInput() || board->isBusy() || !board->allCellsIdle())
            return false;
        int best[4] = {-1, -1, -1, -1};
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                for (const auto& [dc, dr] : {std::pair<int, int>{1, 0}, {0, 1}}) {
                    if (!board->isValidSwap(c, r, c + dc, r + dr))
                        continue;
                    const CellSprite* a = board->getCells()->cellAt(c, r).get();
                    const CellSprite* b = board->getCells()->cellAt(c + dc, r + dr).get();
                    const bool feeds = (a && needed(a->getIngredient())) || (b && needed(b->getIngredient()));
                    if (best[0] < 0 || feeds) {
                        best[0] = c;
                        best[1] = r;
                        best[2] = c + dc;
                        best[3] = r + dr;
                        if (feeds)
                            goto chosen;
                    }
                }
    chosen:
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
        if (best[0] < 0 || !cellPoint(best[0], best[1], &x1, &y1) || !cellPoint(best[2], best[3], &x2, &y2))
            return false;
        controller->onLeftDown(x1, y1, 0, false);
        controller->onLeftUp(x1, y1, 0);
        controller->onLeftDown(x2, y2, 0, false);
        controller->onLeftUp(x2, y2, 0);
        return true;
    }

    // Plays until the level is over; `keepGoing` says whether the player still plays.
    template <class KeepGoing>
    int play(KeepGoing keepGoing, const std::string& motionPicture)
    {
        int swaps = 0;
        bool pictured = false;
        for (int i = 0; i < 40000 && !state().levelOver; ++i) {
            if (keepGoing()) {
                bool ready = false;
                for (const RefPointer<Spot>& spot : state().conveyorBelt.spots)
                    ready = ready || spot->state == Spot::Ready;
                if (ready && belt())
                    belt()->getController()->onLeftDown(400, 590, 0, false);
                if (i % 3 == 0 && playOneSwap())
                    ++swaps;
            }
            frame();
            if (!pictured && state().conveyorBelt.spots.size() >= 3 && belt() && belt()->getSpeed() > 0.0f) {
                render(motionPicture);
                pictured = true;
            }
        }
        return swaps;
    }

    void render(const std::string& fileName)
    {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene.get(), graphics.get(), scene->getTree());
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        ASSERT_TRUE(writePng(canvas.get(), folder + "/" + fileName));
    }

    std::map<std::pair<int, int>, std::pair<int, int>> points;
};

TEST_F(ScriptedConveyorRunTest, ArcadeSetRunsRoundsUntilAPlateFallsIntoTheTrap)
{
    state().mode = 1;
    GameData::instance->startLevel(0);
    scene->startLevel();
    ASSERT_TRUE(runUntil([&] { return scene->saveOnLeave; }, 3000));
    ASSERT_NE(nullptr, grid());
    // The player serves the first round, then lets the belt win.
    const int swaps = play([&] { return state().playSessionInfo.arcadeLevel < 1; }, "arcade_run_belt.png");
    EXPECT_GT(swaps, 0);
    ASSERT_TRUE(state().levelOver);
    EXPECT_EQ(1, state().playSessionInfo.arcadeLevel);
    EXPECT_GT(state().playSessionInfo.score, 0);
    EXPECT_GT(player->numPastries, 0);
    // The results come: the arcade's own dialog.
    ASSERT_TRUE(runUntil([&] { return scene->isDialogShown("DIALOG_ARCADE_END"); }, 2000));
    frames(400);
    render("arcade_run_results.png");
    EXPECT_EQ(1, player->arcadeLevel[0]);
}

TEST_F(ScriptedConveyorRunTest, ExamIsPassedWhenItsWholeOrderIsPackaged)
{
    const int index = selectFirstExam();
    ASSERT_GE(index, 0);
    GameData::instance->startLevel(index);
    scene->startLevel();
    ASSERT_TRUE(runUntil([&] { return scene->saveOnLeave; }, 3000));
    play([] { return true; }, "exam_run_belt.png");
    ASSERT_TRUE(state().levelOver);
    EXPECT_TRUE(PhaseEnd::isLevelWon());
    EXPECT_EQ(GameData::instance->getCurrentLevel().starsGoal, state().playSessionInfo.starCount);
}

} // namespace
