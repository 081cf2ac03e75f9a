// The bonuses that act beyond the board, fired on the real board of a career
// level with the real countertop and goal panel: the secret bonuses' stars
// fill pastries, the work-done bonus finishes them, the star bonuses feed the
// star goal, and a fired bonus closes its own hint.
#include "ProductionFixture.h"

#include <sys/stat.h>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Dialog.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/gui/SceneManager.h"
#include "game/board/BonusSprite.h"
#include "game/board/CountertopBonuses.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/production/Countertop.h"
#include "game/production/Phase.h"
#include "game/scenes/HintManager.h"
#include "support/FontFixtures.h"
#include "support/GameDataFixtures.h"

namespace {

class CountertopBonusTest : public ProductionTest {
protected:
    void SetUp() override
    {
        ProductionTest::SetUp();
        if (HasFatalFailure())
            return;
        // The scene is the current one, so that hints can show in it.
        SceneManager::create();
        SceneManager::instance->setNextScene(scene.get());
        SceneManager::instance->run(0);
        scene->realBoard = true;
        setTuningInt("WIN_DELAY", 600000);
        player->showHints = false;
        startCareerLevel(0);
        state().order.clear();
        for (int spot = 0; spot < countertop()->getSize(); ++spot)
            state().pastryWrapper.set(spot, RefPointer<Pastry>());
    }

    void TearDown() override
    {
        SceneManager::destroyInstance();
        ProductionTest::TearDown();
    }

    Grid* grid() const
    {
        GamePieces* pieces = phase() ? phase()->getPieces() : nullptr;
        return pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
    }

    Pastry* pastry(int spot) const { return state().pastryWrapper.get(spot); }
    // False when the pastry is gone, so that a fault fails the wait instead
    // of ending the program.
    bool full(int spot) const { return pastry(spot) && pastry(spot)->quality >= pastry(spot)->maxQuality; }

    // Puts the bonus on the board at rest and fires it; returns it, held.
    RefPointer<BonusSprite> fire(const std::string& name, int column = 3, int row = 3)
    {
        RefPointer<BonusSprite> bonus = place(name, column, row);
        if (bonus)
            grid()->activateBonusAt(column, row);
        return bonus;
    }

    RefPointer<BonusSprite> place(const std::string& name, int column, int row)
    {
        Grid* board = grid();
        EXPECT_NE(board, nullptr);
        if (!board)
            return RefPointer<BonusSprite>();
        EXPECT_TRUE(runUntil([&] { return board->allCellsIdle() && board->isFull(); }));
        GridWrapper& cells = state().gridWrapper;
        if (const RefPointer<CellSprite>& old = cells.cellAt(column, row))
            old->setRemoved(true);
        cells.eraseCell(column, row);
        RefPointer<BonusSprite> bonus = BonusSprite::create(column, row, name);
        cells.putCell(bonus.get(), column, row);
        board->attachCells();
        return bonus;
    }

    bool gone(const RefPointer<BonusSprite>& bonus) const
    {
        return state().gridWrapper.cellAt(bonus->getColumn(), bonus->getRow()).get() != bonus.get();
    }
};

TEST_F(CountertopBonusTest, TheSecretBonusFillsTheFirstPastryBelowTheTopLevel)
{
    struct Case {
        float first, second; // quality as a share of the maximum
        int filled;
    };
    const Case cases[] = {{1.0f, 0.3f, 1}, {1.0f, 1.0f, 0}, {0.5f, 0.3f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " " + std::to_string(c.second));
        placePastry(0, "creampuff");
        placePastry(1, "creampuff");
        ASSERT_TRUE(pastry(0) && pastry(1));
        pastry(0)->quality = c.first * pastry(0)->maxQuality;
        pastry(1)->quality = c.second * pastry(1)->maxQuality;
        // Needing nothing more, they take no deliveries: the matches the
        // bonus sets off on the board leave their quality as set.
        for (int spot : {0, 1})
            for (Pastry::Ingredient& ingredient : pastry(spot)->ingredients)
                ingredient.amount = 0;
        const int expected = c.filled;
        EXPECT_EQ(SecretBonus::targetSpot(), expected);
        RefPointer<BonusSprite> bonus = fire("secret bonus");
        auto* secret = objectCast<SecretBonus>(bonus.get());
        ASSERT_NE(secret, nullptr);
        EXPECT_EQ(secret->getStarCount(), 4);
        ASSERT_TRUE(runUntil([&] { return gone(bonus); }));
        // The stars outlive the bonus's cell: the last one picks its pastry
        // when its circle ends, and a pastry already full gives no sign of it.
        ASSERT_TRUE(runUntil([&] { return secret->spotOfStar(3) >= 0; }));
        ASSERT_TRUE(runUntil([&] { return full(expected); }));
        EXPECT_EQ(secret->spotOfStar(3), expected);
        // The stars fly on and fade; the next case starts once they are done,
        // or they would fill its pastries.
        frames(200);
        // The other pastry is not filled.
        const int other = 1 - expected;
        ASSERT_NE(pastry(other), nullptr);
        if ((other == 0 ? c.first : c.second) < 1.0f) {
            EXPECT_LT(pastry(other)->quality, pastry(other)->maxQuality);
        }
    }
}

TEST_F(CountertopBonusTest, TheSuperSecretBonusFillsEveryPastryAndSkipsEmptySpots)
{
    RefPointer<BonusSprite> bonus = place("super secret bonus", 3, 3);
    // Two pastries behind empty spots: they glide forward while the stars fly.
    placePastry(1, "creampuff");
    placePastry(3, "strawberrycake");
    RefPointer<Pastry> first(pastry(1));
    RefPointer<Pastry> second(pastry(3));
    grid()->activateBonusAt(3, 3);
    auto* secret = objectCast<SuperSecretBonus>(bonus.get());
    ASSERT_NE(secret, nullptr);
    const int perPastry = SecretStarsBonus::starsPerPastry();
    EXPECT_EQ(secret->getStarCount(), 2 * perPastry);
    ASSERT_TRUE(runUntil([&] {
        return first->quality >= first->maxQuality && second->quality >= second->maxQuality;
    }));
    // Each batch found its pastry on the spot it had glided to.
    EXPECT_EQ(pastry(secret->spotOfStar(0)), first.get());
    EXPECT_EQ(pastry(secret->spotOfStar(perPastry)), second.get());
    EXPECT_TRUE(runUntil([&] { return gone(bonus); }));
}

TEST_F(CountertopBonusTest, TheSuperSecretBonusBoundsItsStarsAndCountsNoStarsPerPastryAsOne)
{
    struct Case {
        int starsPerPastry;
        int expectedStars;
    };
    // Three pastries: 3 x 8 would overrun the sixteen stars; 0 would divide by zero.
    const Case cases[] = {{8, SecretStarsBonus::kMaxStars}, {0, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.starsPerPastry);
        setTuningInt("MAX_STARS_PER_PASTRY", c.starsPerPastry);
        for (int spot = 0; spot < 3; ++spot) {
            placePastry(spot, "creampuff");
            ASSERT_NE(pastry(spot), nullptr);
            pastry(spot)->quality = 0.0f;
        }
        RefPointer<BonusSprite> bonus = fire("super secret bonus", 5, 5);
        auto* secret = objectCast<SuperSecretBonus>(bonus.get());
        ASSERT_NE(secret, nullptr);
        EXPECT_EQ(secret->getStarCount(), c.expectedStars);
        ASSERT_TRUE(runUntil([&] { return gone(bonus); }));
        ASSERT_TRUE(runUntil([&] { return full(0); }));
        frames(200);
    }
}

TEST_F(CountertopBonusTest, AnEmptyCountertopMakesTheSuperSecretBonusOnlyLeave)
{
    RefPointer<BonusSprite> bonus = fire("super secret bonus");
    ASSERT_NE(objectCast<SuperSecretBonus>(bonus.get()), nullptr);
    EXPECT_EQ(objectCast<SuperSecretBonus>(bonus.get())->getStarCount(), 0);
    EXPECT_TRUE(runUntil([&] { return gone(bonus); }));
}

TEST_F(CountertopBonusTest, TheWorkDoneBonusFinishesEveryPastry)
{
    placePastry(0, "creampuff");
    placePastry(1, "strawberrycake");
    ASSERT_TRUE(pastry(0) && pastry(1));
    for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
        ingredient.amount = 0;
    RefPointer<BonusSprite> bonus = fire("work done bonus");
    ASSERT_TRUE(pastry(0) && pastry(1));
    EXPECT_TRUE(pastry(0)->isFinished());
    EXPECT_TRUE(pastry(1)->isFinished());
    EXPECT_FLOAT_EQ(pastry(1)->quality, pastry(1)->maxQuality);
    EXPECT_TRUE(runUntil([&] { return gone(bonus); }));
}

TEST_F(CountertopBonusTest, StarBonusesAddTheirStarsToTheGoal)
{
    const int before = state().playSessionInfo.starCount;
    RefPointer<BonusSprite> one = place("star +1 bonus", 2, 2);
    RefPointer<BonusSprite> five = place("star +5 bonus", 6, 6);
    grid()->activateBonusAt(2, 2);
    grid()->activateBonusAt(6, 6);
    ASSERT_TRUE(runUntil([&] { return gone(one) && gone(five); }));
    EXPECT_TRUE(runUntil([&] { return state().playSessionInfo.starCount == before + 6; }))
        << state().playSessionInfo.starCount - before;
}

TEST_F(CountertopBonusTest, FiringABonusClosesItsOwnHint)
{
    RefPointer<BonusSprite> other = place("column zap bonus", 1, 1);
    RefPointer<BonusSprite> row = place("row zap bonus", 4, 4);
    player->showHints = true;
    HintManager::instance->showHint("HINT_BONUS_ROWZAP");
    ASSERT_TRUE(scene->isDialogShown("DIALOG_HINT"));
    grid()->activateBonusAt(1, 1);
    frames(50);
    EXPECT_TRUE(scene->isDialogShown("DIALOG_HINT")) << "another bonus's hint stays";
    grid()->activateBonusAt(4, 4);
    frames(50);
    EXPECT_FALSE(scene->isDialogShown("DIALOG_HINT"));
}

// The real game screen while a super secret bonus's blue stars circle it on
// their way into three pastries, written to the build folder for a person to
// look at.
class CountertopBonusPictureTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
        scene->realBoard = true;
        setTuningInt("WIN_DELAY", 600000);
        player->showHints = false;
    }
};

TEST_F(CountertopBonusPictureTest, SuperSecretStarsOnTheirWay)
{
    startCareerLevel(0);
    ASSERT_NE(phase(), nullptr);
    GamePieces* pieces = phase()->getPieces();
    auto* grid = pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(runUntil([&] { return grid->allCellsIdle() && countertop()->getPastry(2); }));
    GridWrapper& cells = state().gridWrapper;
    ASSERT_TRUE(cells.cellAt(2, 5));
    cells.cellAt(2, 5)->setRemoved(true);
    cells.eraseCell(2, 5);
    RefPointer<BonusSprite> bonus = BonusSprite::create(2, 5, "super secret bonus");
    cells.putCell(bonus.get(), 2, 5);
    grid->attachCells();
    grid->activateBonusAt(2, 5);
    frames((tuning().SECRET_DUR_ANGLE + 2 * tuning().SECRET_INC_ANGLE) * 3 / 2 / 20);
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    RenderTask::renderFrame(scene.get(), graphics.get(), scene->getTree());
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    EXPECT_TRUE(writePng(canvas.get(), folder + "/super_secret_stars.png"));
    ASSERT_NE(objectCast<SuperSecretBonus>(bonus.get()), nullptr);
    EXPECT_EQ(objectCast<SuperSecretBonus>(bonus.get())->getStarCount(), 3 * SecretStarsBonus::starsPerPastry());
}

} // namespace
