// The countertop on the real layout and tuning: deliveries, quality, new
// pastries, gaps, packaging, the work-done bonus and tear-down.
#include <cmath>

#include "ProductionFixture.h"
#include "framework/gui/Panel.h"
#include "framework/scenegraph/Label.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/Countertop.h"
#include "game/production/CountertopController.h"
#include "game/production/CustomerView.h"
#include "game/production/GoalPanel.h"
#include "game/production/Phase.h"
#include "game/production/PlateStack.h"
#include "support/GameDataFixtures.h"

namespace {

class CountertopTest : public ProductionTest {
protected:
    void SetUp() override
    {
        ProductionTest::SetUp();
        // The level stays in play while a test empties the countertop.
        setTuningInt("WIN_DELAY", 600000);
        startCareerLevel(0);
        // Only what a test puts on the countertop: no pastry arrives by itself.
        state().order.clear();
        for (int spot = 0; spot < countertop()->getSize(); ++spot)
            state().pastryWrapper.set(spot, RefPointer<Pastry>());
    }

    Pastry* pastry(int spot) const { return state().pastryWrapper.get(spot); }
    // What a wait asks of a pastry, false when the pastry is gone: a fault
    // fails the wait instead of ending the program.
    bool landed(int spot) const { return pastry(spot) && pastry(spot)->pendingDeliveries == 0; }
    bool deliver(const std::string& ingredient, int runLength = 3, bool unripe = false, int index = 0)
    {
        return countertop()->deliverIngredients({ingredient, 0, 0}, unripe, 500, 100, index, runLength);
    }
    // Every unit of every ingredient, one run of three at a time, landed.
    void complete(int spot)
    {
        ASSERT_NE(pastry(spot), nullptr);
        for (const Pastry::Ingredient& ingredient : std::vector<Pastry::Ingredient>(pastry(spot)->ingredients))
            for (int unit = 0; unit < ingredient.amount; ++unit)
                ASSERT_TRUE(deliver(ingredient.name));
        ASSERT_TRUE(runUntil([&] { return landed(spot); }));
    }
    bool visible(int spot, const std::string& name) const
    {
        GameNode* found = spotChild(spot, name);
        return found && found->isVisible();
    }
};

TEST_F(CountertopTest, DeliveryGoesToTheLowestSpotThatNeedsItAndRaisesQualityByRunLength)
{
    placePastry(0, "creampuff");     // cream 4, egg 3
    placePastry(1, "strawberrycake"); // strawberry 3, cream 3, egg 2
    const ScoreTable& scores = state().scoreTable;
    struct Case {
        const char* ingredient;
        int runLength;
        bool unripe;
        int spot;
        float gain;
    };
    const Case cases[] = {
        {"cream", 3, false, 0, scores.qualityMatch[3]},
        {"cream", 5, false, 0, scores.qualityMatch[5]},
        {"cream", 9, false, 0, scores.qualityMatch[7]},                               // longer runs use 7
        {"strawberry", 4, true, 1, tuning().UNRIPE_MULTIPLIER * scores.qualityMatch[4]}, // unripe run
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ingredient + std::to_string(c.runLength));
        const float before = pastry(c.spot)->quality;
        const int pending = pastry(c.spot)->pendingDeliveries;
        ASSERT_TRUE(deliver(c.ingredient, c.runLength, c.unripe));
        EXPECT_FLOAT_EQ(std::fmin(before + c.gain, pastry(c.spot)->maxQuality), pastry(c.spot)->quality);
        EXPECT_EQ(pending + 1, pastry(c.spot)->pendingDeliveries);
    }
    EXPECT_EQ(1, pastry(0)->ingredients[0].amount);
    EXPECT_EQ(2, pastry(1)->ingredients[0].amount);
    EXPECT_FALSE(deliver("banana"));
    // The counters change when the flights land, not before.
    auto* number = dynamic_cast<Label*>(spotChild(0, "NUMBER0"));
    ASSERT_NE(nullptr, number);
    ASSERT_TRUE(runUntil([&] { return landed(0); }));
    frame();
    EXPECT_EQ(u"1", number->getText());
}

TEST_F(CountertopTest, FlightTimeGrowsWithThePlaceInTheRun)
{
    placePastry(0, "creampuff");
    ASSERT_TRUE(deliver("cream", 5, false, 4));
    const int flight = 4 * tuning().INGREDIENT_FLY_DELAY + tuning().INGREDIENT_FLY_DURATION;
    frames(flight / 20 - 1);
    ASSERT_NE(pastry(0), nullptr);
    EXPECT_EQ(1, pastry(0)->pendingDeliveries);
    frames(3);
    EXPECT_TRUE(landed(0));
}

TEST_F(CountertopTest, LastIngredientCompletesThePastryTakesAPlateAndLandsAfterTheCloud)
{
    placePastry(0, "creampuff");
    PlateStack* plates = phase()->getPieces()->plateStack.get();
    const int platesBefore = plates->getCount();
    for (int unit = 0; unit < 4; ++unit)
        ASSERT_TRUE(deliver("cream"));
    for (int unit = 0; unit < 2; ++unit)
        ASSERT_TRUE(deliver("egg"));
    ASSERT_TRUE(runUntil([&] { return landed(0); }));
    ASSERT_TRUE(deliver("egg"));
    ASSERT_NE(pastry(0), nullptr);
    EXPECT_TRUE(pastry(0)->isFinished());
    // Its cloud waits for the last ingredient to land.
    EXPECT_FALSE(visible(0, "CLOUD"));
    EXPECT_EQ(platesBefore - 1, plates->getCount());
    // Landed only once the cloud has shrunk: the flight, then the delay, then the shrink.
    const int landing = tuning().INGREDIENT_FLY_DURATION + tuning().FINISH_PASTRY_DELAY;
    frames(landing / 20);
    ASSERT_NE(pastry(0), nullptr);
    EXPECT_EQ(1, pastry(0)->pendingDeliveries);
    // Nothing ready to package: the customer has nothing to react to.
    CustomerView* customer = phase()->getPieces()->customerView.get();
    ASSERT_NE(customer, nullptr);
    const std::string said = customer->getLastText();
    const int repeats = customer->getRepeatCount();
    // Nor a click sound: nothing joins the countertop's animations.
    auto steps = [this] {
        int count = 0;
        for (Modifier* m = countertop()->getAnimationRoot()->getFirstChild(); m; m = m->getNextSibling())
            ++count;
        return count;
    };
    const int stepsBefore = steps();
    countertop()->packageFinishedPastries();
    EXPECT_FALSE(pastry(0)->isPackaged);
    EXPECT_EQ(said, customer->getLastText());
    EXPECT_EQ(repeats, customer->getRepeatCount());
    EXPECT_EQ(stepsBefore, steps());
    ASSERT_TRUE(runUntil([&] { return landed(0); }));
    EXPECT_TRUE(visible(0, "PASTRY_SPRITE"));
    EXPECT_TRUE(visible(0, "COUNTER_PARTACTIVE"));
    EXPECT_FALSE(visible(0, "INGREDIENT0"));
}

// A resumed countertop shows each pastry as it was left: a finished one as
// its picture on the active counter, one in the making by its recipe.
TEST_F(CountertopTest, RestoredSpotsShowFinishedAndUnfinishedPastriesApart)
{
    placePastry(0, "creampuff");
    placePastry(1, "creampuff");
    for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
        ingredient.amount = 0;
    // A slot the recipe does not use is hidden, whatever it showed before.
    const std::string unused = std::to_string(pastry(1)->ingredients.size());
    spotChild(1, "NUMBER" + unused)->setVisible(true);
    spotChild(1, "INGREDIENT" + unused)->setVisible(true);
    countertop()->restoreSpots();
    EXPECT_FALSE(visible(1, "NUMBER" + unused));
    EXPECT_FALSE(visible(1, "INGREDIENT" + unused));
    EXPECT_TRUE(visible(0, "PASTRY_SPRITE"));
    EXPECT_TRUE(visible(0, "COUNTER_PARTACTIVE"));
    EXPECT_FALSE(visible(0, "INGREDIENT0"));
    EXPECT_FALSE(visible(1, "COUNTER_PARTACTIVE"));
    EXPECT_TRUE(visible(1, "INGREDIENT0"));
}

TEST_F(CountertopTest, TornDownStationRefusesDeliveriesAndHidesItsSpots)
{
    placePastry(0, "creampuff");
    ASSERT_TRUE(deliver("cream"));
    countertop()->tearDown();
    EXPECT_FALSE(deliver("cream"));
    EXPECT_EQ(3, pastry(0)->ingredients[0].amount);
    for (int spot = 0; spot < countertop()->getSize(); ++spot) {
        EXPECT_FALSE(countertop()->getSpotNode(spot)->isVisible());
        EXPECT_TRUE(visible(spot, "QUALITY_STAR0"));
        EXPECT_FALSE(visible(spot, "QUALITY_STAR1"));
        EXPECT_EQ(nullptr, spotChild(spot, "INGREDIENT0")->getFirstChild());
    }
    frames(50);
}

TEST_F(CountertopTest, QualityDisplayLightsStarsByQuartersAndWarnsNearAThreshold)
{
    placePastry(0, "creampuff");
    Pastry* p = pastry(0);
    struct Case {
        float ratio;
        int topStar;
        int warning; // the blinking warning star, -1 for none
    };
    const float margin = tuning().COUNTERTOP_STAR_BLINK_MARGIN;
    ASSERT_GT(margin, 0.0f);
    const Case cases[] = {{0.0f, 0, -1}, {0.3f, 1, -1}, {0.5f, 2, 2}, {0.5f + margin, 2, -1}, {1.0f, 3, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        p->quality = c.ratio * p->maxQuality;
        EXPECT_EQ(c.topStar, countertop()->updateQualityDisplay(0));
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(k <= c.topStar, visible(0, "QUALITY_STAR" + std::to_string(k))) << k;
            const bool blinking = !spotChild(0, "WARNING_STAR" + std::to_string(k))->getOwnModifiers().empty();
            EXPECT_EQ(k == c.warning, blinking) << k;
            // A warning that stops blinking is gone, not left lit.
            if (k != c.warning) {
                EXPECT_FALSE(visible(0, "WARNING_STAR" + std::to_string(k))) << k;
            }
        }
    }
    // By pastry: the display of the spot that holds it (the last case left the first full).
    placePastry(1, "creampuff");
    pastry(1)->quality = 0.3f * pastry(1)->maxQuality;
    EXPECT_EQ(1, countertop()->updateQualityDisplayFor(RefPointer<Pastry>(pastry(1))));
    EXPECT_EQ(3, countertop()->updateQualityDisplayFor(RefPointer<Pastry>(p)));
    EXPECT_EQ(-1, countertop()->updateQualityDisplayFor(RefPointer<Pastry>()));
    // A recipe without quality shows a full pastry instead of dividing by zero.
    p->maxQuality = 0.0f;
    p->quality = 0.0f;
    EXPECT_EQ(3, countertop()->updateQualityDisplay(0));
}

TEST_F(CountertopTest, QualityDropsEachStepUnlessTheIceBoxKeepsAFinishedPastry)
{
    placePastry(0, "creampuff");
    placePastry(1, "creampuff");
    for (Pastry::Ingredient& ingredient : pastry(1)->ingredients)
        ingredient.amount = 0;
    pastry(0)->quality = 0.02f;
    pastry(1)->quality = 1.0f;
    countertop()->dropQuality();
    EXPECT_FLOAT_EQ(0.0f, pastry(0)->quality);
    EXPECT_FLOAT_EQ(1.0f - tuning().QUALITY_DROP_AMOUNT, pastry(1)->quality);
    state().playSessionInfo.applyTools(10, -1);
    countertop()->dropQuality();
    EXPECT_FLOAT_EQ(1.0f - tuning().QUALITY_DROP_AMOUNT, pastry(1)->quality);
}

TEST_F(CountertopTest, NewPastriesComeAfterTheirDelaysAndGapsCloseFirst)
{
    GameData::instance->startLevel(0);
    for (int spot = 0; spot < countertop()->getSize(); ++spot)
        state().pastryWrapper.set(spot, RefPointer<Pastry>());
    scene->setPhase(scene->getPhase(), false); // a fresh play phase keeps the pieces
    CountertopController* controller = countertop()->getController();
    // The first pastry waits the first delay, every later one the pastry delay.
    auto framesUntilPlaced = [&](int spot) {
        int count = 0;
        while (!pastry(spot) && count < 1000) {
            frame();
            ++count;
        }
        return count;
    };
    const int firstDelay = controller->getPastryCountdown().remaining;
    EXPECT_EQ(firstDelay / 20, framesUntilPlaced(0));
    EXPECT_EQ(tuning().COUNTERTOP_PASTRY_DELAY / 20, framesUntilPlaced(1));

    // [A, B, -, -] with A gone: B slides to spot 0 before anything new comes.
    state().pastryWrapper.set(0, RefPointer<Pastry>());
    frame();
    ASSERT_TRUE(pastry(0));
    EXPECT_TRUE(pastry(0)->isMoving);
    EXPECT_FALSE(pastry(1));
    // A pastry behind the new gap waits for the glide to end, then follows.
    placePastry(2, "creampuff");
    Pastry* behind = pastry(2);
    frame();
    EXPECT_EQ(behind, pastry(2));
    ASSERT_TRUE(runUntil([&] { return pastry(0) && !pastry(0)->isMoving; }, tuning().COUNTERTOP_SHIFT_DURATION / 20 + 3));
    EXPECT_TRUE(runUntil([&] { return pastry(1) == behind; }, 3));
}

TEST_F(CountertopTest, ClosingGapsMovesEveryPastryForwardInOneCall)
{
    placePastry(1, "creampuff");
    placePastry(3, "cherrytart");
    Pastry* a = pastry(1);
    Pastry* b = pastry(3);
    countertop()->closeGaps();
    EXPECT_EQ(a, pastry(0));
    EXPECT_EQ(b, pastry(1));
    EXPECT_FALSE(pastry(2));
    EXPECT_FALSE(pastry(3));
    const int step = tuning().COUNTERTOP_SHIFT_DURATION;
    frames(step / 20 + 2);
    EXPECT_FALSE(a->isMoving);
    EXPECT_TRUE(b->isMoving);
    frames(step / 20 + 2);
    EXPECT_FALSE(b->isMoving);
    EXPECT_TRUE(visible(0, "INGREDIENT0"));

    // A pastry with an ingredient in the air waits.
    state().pastryWrapper.set(0, RefPointer<Pastry>());
    ASSERT_TRUE(deliver("cherry"));
    countertop()->closeGaps();
    EXPECT_FALSE(pastry(0));
}

TEST_F(CountertopTest, WorkDoneCompletesEveryPastryAndEndsGlidesInProgress)
{
    placePastry(0, "creampuff");
    placePastry(2, "cherrytart");
    for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
        ingredient.amount = 0;
    pastry(0)->quality = 0.5f;
    countertop()->closeGaps();
    ASSERT_TRUE(pastry(0) && pastry(1));
    ASSERT_TRUE(pastry(1)->isMoving);
    PlateStack* plates = phase()->getPieces()->plateStack.get();
    const int platesBefore = plates->getCount();
    countertop()->finishPastryNow();
    ASSERT_TRUE(pastry(0) && pastry(1));
    EXPECT_FLOAT_EQ(pastry(0)->maxQuality, pastry(0)->quality);
    EXPECT_TRUE(pastry(1)->isFinished());
    EXPECT_FLOAT_EQ(pastry(1)->maxQuality, pastry(1)->quality);
    EXPECT_EQ(platesBefore - 1, plates->getCount());
    // The glide was cut short: the pastry no longer counts as moving, so the
    // countertop does not stall, and it shows at its new spot.
    EXPECT_FALSE(pastry(1)->isMoving);
    EXPECT_TRUE(visible(1, "PASTRY_SPRITE"));
    frames(10);
    countertop()->packageFinishedPastries();
    ASSERT_TRUE(pastry(0) && pastry(1));
    EXPECT_TRUE(pastry(0)->isPackaged);
    EXPECT_TRUE(pastry(1)->isPackaged);
}

struct GradeCase {
    float ratio;
    int grade;
};

TEST_F(CountertopTest, PackagingBooksPointsStarsAndTheChainBonus)
{
    const GradeCase grades[] = {{0.1f, 1}, {0.3f, 2}, {0.6f, 3}, {0.9f, 4}};
    int spot = 0;
    for (const GradeCase& g : grades) {
        placePastry(spot, "creampuff");
        for (Pastry::Ingredient& ingredient : pastry(spot)->ingredients)
            ingredient.amount = 0;
        pastry(spot)->quality = g.ratio * pastry(spot)->maxQuality;
        ++spot;
    }
    state().playSessionInfo.applyTools(2, -1);
    state().playSessionInfo.multiplierScore = 2.0f;
    const auto& points = state().scoreTable.pointsPastry;
    const int expectedPoints = 2 * (points[0] + points[1] + points[2] + points[3]);
    player->numPastries = 0;
    countertop()->packageFinishedPastries();
    EXPECT_EQ(expectedPoints, state().playSessionInfo.score);
    // 1 + 2 + 3 + 4 quality stars and three chain stars for four pastries.
    EXPECT_EQ(10 + 3, state().playSessionInfo.starCount);
    EXPECT_EQ(4, player->numPastries);
    EXPECT_FALSE(state().playSessionInfo.allFullQuality);
    EXPECT_EQ(1, player->getTrophies()->getState(9));
    EXPECT_EQ(1, player->getTrophies()->getState(3));
    // The stars land one by one on the goal display.
    RefPointer<GoalPanel> goal = phase()->getPieces()->goalPanel;
    EXPECT_EQ(0, goal->getEarned());
    // A pastry still to come keeps the level going while the stars fly.
    state().order.addPastry(state().cookbook.findRecipe("creampuff"));
    ASSERT_TRUE(runUntil([&] { return goal->getEarned() == 13; })) << goal->getEarned();
    // The boxes leave and empty the spots.
    ASSERT_TRUE(runUntil([&] { return !pastry(1) && !pastry(3); }));
    EXPECT_FALSE(state().levelOver);
}

// Trophies 11 (pastries made in all), 9 (four boxed at once) and 3 (a pastry
// of full quality) come at their exact value and not one step below.
TEST_F(CountertopTest, PackagingTrophiesComeAtTheirValueAndNotOneBelow)
{
    const int goal = tuning().TROPHYVALUE_PERSEVERANCE;
    struct Case {
        int madeBefore;
        int boxed;
        float ratio;
        bool persevered, fourAtOnce, fullStars;
    };
    const Case cases[] = {
        {goal - 2, 1, 0.74f, false, false, false},
        {goal - 1, 1, 0.75f, true, false, true},
        {0, 3, 0.5f, false, false, false},
        {0, 4, 0.5f, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.madeBefore) + " " + std::to_string(c.boxed) + " " + std::to_string(c.ratio));
        Trophies* trophies = player->getTrophies();
        for (int trophy : {3, 9, 11})
            trophies->setState(trophy, 0);
        for (int spot = 0; spot < countertop()->getSize(); ++spot)
            state().pastryWrapper.set(spot, RefPointer<Pastry>());
        for (int spot = 0; spot < c.boxed; ++spot) {
            placePastry(spot, "creampuff");
            for (Pastry::Ingredient& ingredient : pastry(spot)->ingredients)
                ingredient.amount = 0;
            pastry(spot)->quality = c.ratio * pastry(spot)->maxQuality;
        }
        player->numPastries = c.madeBefore;
        countertop()->packageFinishedPastries();
        EXPECT_EQ(c.madeBefore + c.boxed, player->numPastries);
        EXPECT_EQ(c.persevered ? 1 : 0, trophies->getState(11));
        EXPECT_EQ(c.fourAtOnce ? 1 : 0, trophies->getState(9));
        EXPECT_EQ(c.fullStars ? 1 : 0, trophies->getState(3));
    }
}

TEST_F(CountertopTest, PackagingSkipsMissingStarNodes)
{
    placePastry(0, "creampuff");
    for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
        ingredient.amount = 0;
    pastry(0)->quality = pastry(0)->maxQuality;
    // A layout with only three quality stars.
    spotChild(0, "QUALITY_STAR3")->setName("");
    // The box rises first: its cloud (the seven-frame puff beside it) shows
    // only once it lands.
    GameNode* box = spotChild(0, "PACKAGE");
    ASSERT_TRUE(box && box->getParent());
    auto cloudShown = [box] {
        for (GameNode* n = box->getParent()->getFirstChild(); n; n = n->getNextSibling()) {
            auto* shown = objectCast<Sprite>(n);
            if (shown && n != box && shown->getFrameCount() == 7 && shown->isVisible())
                return true;
        }
        return false;
    };
    countertop()->packageFinishedPastries();
    EXPECT_TRUE(pastry(0)->isPackaged);
    EXPECT_FALSE(cloudShown());
    EXPECT_TRUE(runUntil(cloudShown, 50));
    EXPECT_EQ(3, state().playSessionInfo.starCount);
    EXPECT_TRUE(runUntil([&] { return !pastry(0); }));
}

TEST_F(CountertopTest, ClicksCountInsideTheCountertopOnlyAndReArmTheForgottenCount)
{
    CountertopController* controller = countertop()->getController();
    const TuningTable& t = tuning();
    for (int spot = 0; spot < countertop()->getSize(); ++spot) {
        placePastry(spot, "creampuff");
        for (Pastry::Ingredient& ingredient : pastry(spot)->ingredients)
            ingredient.amount = 0;
        pastry(spot)->pendingDeliveries = 1; // not ready: the click packages nothing
    }
    frames(t.COUNTERTOP_FULL_DELAY / 20 + 1);
    EXPECT_EQ(1, state().playSessionInfo.forgotFullCounter);
    EXPECT_FALSE(controller->isFullArmed());
    frames(t.COUNTERTOP_FULL_DELAY / 20 + 1);
    EXPECT_EQ(1, state().playSessionInfo.forgotFullCounter);

    EXPECT_FALSE(controller->onLeftDown(t.COUNTERTOP_LEFT - 1, t.COUNTERTOP_TOP, 0, false));
    EXPECT_FALSE(controller->onLeftDown(t.COUNTERTOP_LEFT, t.COUNTERTOP_BOTTOM + 1, 0, false));
    EXPECT_FALSE(controller->isFullArmed());
    EXPECT_TRUE(controller->onLeftDown(t.COUNTERTOP_LEFT, t.COUNTERTOP_BOTTOM, 0, false));
    EXPECT_TRUE(controller->isFullArmed());
    frames(t.COUNTERTOP_FULL_DELAY / 20 + 1);
    EXPECT_EQ(2, state().playSessionInfo.forgotFullCounter);
}

TEST_F(CountertopTest, PlateStackZigzagsUpAndGivesUpItsTopPlate)
{
    GameNode* layer = node("NODE_PLATES");
    for (int i = 0; i < 3; ++i)
        state().order.addPastry(state().cookbook.findRecipe("creampuff"));
    RefPointer<PlateStack> stack(new PlateStack(layer));
    const int dx = tuning().PLATE_OFFSET_X;
    const int dy = tuning().PLATE_OFFSET_Y;
    const int expected[3][2] = {{dx, 0}, {-dx, -dy}, {dx, -2 * dy}};
    int i = 0;
    for (GameNode* plate = layer->getFirstChild(); plate; plate = plate->getNextSibling(), ++i) {
        ASSERT_LT(i, 3);
        EXPECT_EQ(expected[i][0], plate->getX());
        EXPECT_EQ(expected[i][1], plate->getY());
    }
    EXPECT_EQ(3, i);
    stack->takePlate(scene->getPhaseContainer());
    EXPECT_EQ(2, layer->getChildCount());
    state().order.clear();
    RefPointer<PlateStack> empty(new PlateStack(layer));
    Modifier* after = scene->getPhaseContainer();
    EXPECT_EQ(after, empty->dropIn(after));
    EXPECT_EQ(0, layer->getChildCount());
}

TEST_F(CountertopTest, GoalPanelCelebratesOnceAndWarnsOnlyWhenTheGoalIsAtRisk)
{
    GoalPanel* goal = phase()->getPieces()->goalPanel.get();
    const int target = GameData::instance->getCurrentLevel().starsGoal;
    GameNode* border = node("BORDER_WARNING");
    GameNode* floaters = node("NODE_FLOATERSTARS");
    // Nothing queued, nothing complete, far from the goal: at risk.
    goal->refresh();
    EXPECT_TRUE(border->isVisible());
    const int blinks = static_cast<int>(border->getTreeModifiers().size());
    GoalPanel::showBorderWarning();
    EXPECT_EQ(blinks, static_cast<int>(border->getTreeModifiers().size()));
    GoalPanel::hideBorderWarning();
    // Enough pastries queued to reach the goal: no warning.
    for (size_t i = 0; i < GameData::instance->getCurrentLevel().recipes.size(); ++i)
        state().order.addPastry(state().cookbook.findRecipe("creampuff"));
    goal->refresh();
    EXPECT_FALSE(border->isVisible());

    const int labelsBefore = floaters->getChildCount();
    state().playSessionInfo.starCount = 0;
    for (int i = 0; i < target + 1; ++i)
        goal->flyStarToGoal(100, 100, 0, 1, 1.0f);
    EXPECT_EQ(target + 1, state().playSessionInfo.starCount);
    ASSERT_TRUE(runUntil([&] { return goal->getEarned() == target + 1; }));
    EXPECT_TRUE(goal->isGoalReached());
    EXPECT_EQ(labelsBefore + 1, floaters->getChildCount());
}

} // namespace

namespace {

TEST_F(CountertopTest, APastryCompletedOutsideADeliveryStillGetsItsChainAndPlate)
{
    // What a tool that hands over the last unit runs: the normal completion.
    placePastry(0, "creampuff");
    for (Pastry::Ingredient& ingredient : pastry(0)->ingredients)
        ingredient.amount = 0;
    PlateStack* plates = scene->getPhase()->getPieces()->plateStack.get();
    const int platesBefore = plates->getCount();
    countertop()->runCompletion(0, countertop()->getAnimationRoot());
    EXPECT_EQ(platesBefore - 1, plates->getCount());
    frames(60);
    EXPECT_TRUE(visible(0, "PASTRY_SPRITE"));
    EXPECT_TRUE(visible(0, "COUNTER_PARTACTIVE"));
    countertop()->packageFinishedPastries();
    ASSERT_NE(pastry(0), nullptr);
    EXPECT_TRUE(pastry(0)->isPackaged);
}

} // namespace

namespace {

TEST_F(CountertopTest, AStarPopsBeforeItsFlightOnlyWithAPopScale)
{
    GoalPanel* goal = phase()->getPieces()->goalPanel.get();
    auto framesToLand = [&](float popScale) {
        const int before = goal->getEarned();
        goal->flyStarToGoal(100, 300, 0, 1, popScale);
        int count = 0;
        while (goal->getEarned() == before && count < 500) {
            frame();
            ++count;
        }
        return count;
    };
    const int plain = framesToLand(1.0f);
    const int popped = framesToLand(1.5f);
    EXPECT_NEAR(tuning().STAR_FLY_DURATION / 20, plain, 2);
    EXPECT_GT(popped, plain + 10);
}

} // namespace
