// The conveyor on the real layout and tuning: belt speed and gaps, new plates,
// arrival, grace and trap, deliveries, packaging, level-up, the exam's end,
// the pastry goal panel and tear-down.
#include <algorithm>
#include <vector>

#include "ProductionFixture.h"
#include "framework/core/BasicProperties.h"
#include "framework/scenegraph/Label.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/ConveyorController.h"
#include "game/production/ConveyorView.h"
#include "game/production/CustomerView.h"
#include "game/production/PastryGoalPanel.h"
#include "game/production/Phase.h"
#include "support/GameDataFixtures.h"

namespace {

// The customer behind the phases' interface, counting the conveyor's calls.
class CountingCustomer : public CustomerView {
public:
    void showArcadeGrip() override { ++grips; }
    Modifier* playHandlePull(Sprite* handle, Modifier* parent) override
    {
        ++pulls;
        return CustomerView::playHandlePull(handle, parent);
    }
    void resetToCasual() override { ++casual; }
    int grips = 0;
    int pulls = 0;
    int casual = 0;
};

std::string labelText(GameNode* node)
{
    auto* label = dynamic_cast<Label*>(node);
    return label ? toNarrowString(label->getText()) : std::string("<none>");
}

class ConveyorTest : public ProductionTest {
protected:
    // Arcade set 0 (or, with exam, the first exam level) with the given
    // recipes in the order; the last one rides first.
    void start(bool exam, const std::vector<std::string>& recipes)
    {
        if (exam) {
            const int index = selectFirstExam();
            ASSERT_GE(index, 0);
            GameData::instance->startLevel(index);
        } else {
            state().mode = 1;
            GameData::instance->startLevel(0);
        }
        state().order.clear();
        for (const std::string& name : recipes) {
            Recipe* recipe = state().cookbook.findRecipe(name);
            ASSERT_NE(nullptr, recipe) << name;
            state().order.addPastry(recipe);
        }
        if (!exam)
            state().playSessionInfo.starCount = static_cast<int32_t>(recipes.size());
        scene->startLevel();
        ASSERT_TRUE(runUntil([this] { return scene->saveOnLeave; }));
        customer = new CountingCustomer();
        phase()->getPieces()->customerView = customer;
    }
    ConveyorView* view() const { return dynamic_cast<ConveyorView*>(scene->getPastryStation()); }
    ConveyorBelt& belt() const { return state().conveyorBelt; }
    bool deliver(const std::string& ingredient, int index = 0)
    {
        return view()->deliverIngredients({ingredient, 0, 0}, false, 500, 100, index, 3);
    }
    void complete(Spot* spot)
    {
        for (const Pastry::Ingredient& ingredient : std::vector<Pastry::Ingredient>(spot->getPastry()->ingredients))
            for (int unit = 0; unit < ingredient.amount; ++unit)
                ASSERT_TRUE(deliver(ingredient.name));
    }
    void click(int y) { view()->getController()->onLeftDown(400, y, 0, false); }
    // Plates cross the belt in a few frames.
    void fastBelt() { setTuningInt("CONVEYOR_LENGTH", 200000); }

    RefPointer<CountingCustomer> customer;
};

TEST_F(ConveyorTest, NormalSpeedShrinksTheCrossingTimeUntilItsLastPositiveStep)
{
    setTuningInt("CONVEYOR_LENGTH", 600);
    Level level;
    struct Case {
        int time;
        int delta;
        int arcadeLevel;
        float divisor;
    };
    const Case cases[] = {
        {1000, 300, 0, 1000}, {1000, 300, 1, 700}, {1000, 300, 3, 100},
        {1000, 300, 4, 100},  // would be -200: stays at the last positive step
        {1000, 300, 50, 100}, {900, 300, 3, 300}, // 900 - 3 x 300 = 0
        {0, 0, 0, 1},         // no crossing time at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.time) + "/" + std::to_string(c.delta) + "@" + std::to_string(c.arcadeLevel));
        level.durationTime = c.time;
        level.durationDelta = c.delta;
        EXPECT_FLOAT_EQ(600.0f / c.divisor, ConveyorView::normalSpeed(level, c.arcadeLevel));
    }
}

TEST_F(ConveyorTest, GapIsStartLessLevelDeltaWithinTheDeviationAndNeverBelowTheMinimum)
{
    setTuningInt("CONVEYOR_MIN_DISTANCE", 90);
    Level level;
    level.distanceStart = 130;
    level.distanceDelta = 5;
    level.distanceDeviation = 0;
    EXPECT_EQ(120, ConveyorView::nextGap(level, 2, [](int) { return 0; }));
    EXPECT_EQ(90, ConveyorView::nextGap(level, 20, nullptr));
    level.distanceDeviation = 15;
    EXPECT_EQ(130 - 15, ConveyorView::nextGap(level, 0, [](int) { return 0; }));
    EXPECT_EQ(130 + 14, ConveyorView::nextGap(level, 0, [](int bound) { return bound - 1; }));
}

TEST_F(ConveyorTest, FirstPlayFramePutsThePlateOfTheLastOrderedPastryOnTheBeltAtTheLevelsSpeed)
{
    start(false, {"creampuff", "strawberrycake"});
    ASSERT_EQ(1u, belt().spots.size());
    EXPECT_EQ("strawberrycake", belt().spots[0]->getPastry()->recipe->getName());
    EXPECT_EQ(1u, state().order.size());
    const float normal = ConveyorView::normalSpeed(GameData::instance->getCurrentLevel(), 0);
    EXPECT_FLOAT_EQ(normal, view()->getSpeed());
    EXPECT_FLOAT_EQ(normal, belt().speed);
    Spot* spot = belt().spots[0].get();
    ASSERT_EQ(static_cast<size_t>(tuning().MAX_INGREDIENT_COUNT), spot->icons.size());
    EXPECT_NE(nullptr, spot->icons[2]);  // three ingredients
    EXPECT_EQ(nullptr, spot->icons[3]);
    EXPECT_EQ("3", labelText(spot->counters[0]));
    // Not made yet: a faint picture under its recipe.
    EXPECT_TRUE(spot->getPlate()->isVisible());
    EXPECT_EQ(ConveyorView::kUnfinishedPlateAlpha, spot->getPlate()->getAlpha());
    // The distance falls only while the belt moves.
    const float before = belt().distance;
    frame();
    EXPECT_FLOAT_EQ(before - normal * 20.0f, belt().distance);
}

TEST_F(ConveyorTest, DeliveriesGoToTheFrontMostPlateThatStillNeedsTheIngredient)
{
    start(false, {"creampuff", "strawberrycake"});
    view()->addNewPlate();
    ASSERT_EQ(2u, belt().spots.size());
    Pastry* front = belt().spots[0]->getPastry(); // strawberry 3, cream 3, egg 2
    Pastry* back = belt().spots[1]->getPastry();  // cream 4, egg 3
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(deliver("cream", i));
    EXPECT_EQ(0, front->getAmount(1));
    EXPECT_EQ(4, back->getAmount(0));
    ASSERT_TRUE(deliver("cream"));
    EXPECT_EQ(3, back->getAmount(0));
    EXPECT_FALSE(deliver("lemon"));
    frames(40);
    EXPECT_EQ("0", labelText(belt().spots[0]->counters[1]));
    EXPECT_FALSE(belt().spots[0]->icons[1]->isVisible());
    EXPECT_EQ("3", labelText(belt().spots[1]->counters[0]));
}

TEST_F(ConveyorTest, CompletePastryIsReadyAfterItsCloudAndAClickUnderTheLinePackagesIt)
{
    start(false, {"creampuff", "strawberrycake"});
    Spot* spot = belt().spots[0].get();
    complete(spot);
    EXPECT_EQ(Spot::Complete, spot->state);
    EXPECT_FALSE(deliver("strawberry"));
    ASSERT_TRUE(runUntil([&] { return spot->state == Spot::Ready; }, 200));
    EXPECT_TRUE(spot->getPlate()->isVisible());
    EXPECT_EQ(255, spot->getPlate()->getAlpha());

    const int pastriesBefore = player->numPastries;
    const int scoreBefore = state().playSessionInfo.score;
    click(tuning().CONVEYOR_LINE); // on the line: nothing
    EXPECT_EQ(Spot::Ready, spot->state);
    click(tuning().CONVEYOR_LINE + 1);
    EXPECT_EQ(Spot::Packaging, spot->state);
    EXPECT_EQ(pastriesBefore + 1, player->numPastries);
    const int points = static_cast<int>(state().playSessionInfo.getScoreMultiplier() *
                                        static_cast<float>(state().scoreTable.pointsPastry[3]));
    EXPECT_EQ(scoreBefore + points, state().playSessionInfo.score);
    // Arcade: the count of the round runs down.
    EXPECT_EQ(1, state().playSessionInfo.starCount);
    EXPECT_EQ("1", labelText(node("LABEL_EARNED_VALUE")));
    RefPointer<Spot> held(spot);
    ASSERT_TRUE(runUntil([&] { return belt().spots.empty() || belt().spots[0].get() != spot; }, 400));
    EXPECT_EQ(Spot::Packaged, held->state);
    EXPECT_EQ(nullptr, held->getPlate()->getParent()); // purged from the belt
}

TEST_F(ConveyorTest, ArrivalStopsTheBeltAndAfterTheGraceThePlateIsFlushedOnceAndTheLevelEnds)
{
    fastBelt();
    setTuningInt("CONVEYOR_GRACE_PERIOD", 40);
    start(false, {"creampuff"});
    Spot* spot = belt().spots[0].get();
    ASSERT_TRUE(runUntil([&] { return spot->hasArrived; }, 100));
    EXPECT_FLOAT_EQ(0.0f, view()->getSpeed());
    EXPECT_EQ(tuning().CONVEYOR_PASTRY_STOP_X, spot->getPlate()->getX());
    EXPECT_EQ(1, customer->grips);
    EXPECT_EQ(2, dynamic_cast<Sprite*>(node("CONVEYOR_LIGHT"))->getCurrentFrame());
    const float distance = belt().distance;
    frames(4);
    EXPECT_TRUE(view()->isFlushing());
    EXPECT_TRUE(view()->getController()->isTrapped());
    EXPECT_FLOAT_EQ(distance, belt().distance);
    EXPECT_FALSE(deliver("cream"));
    // The grace timer rings again and again while the trap works: one flush only.
    ASSERT_TRUE(runUntil([&] { return state().levelOver; }, 200));
    EXPECT_EQ(1, customer->pulls);
    Sprite* lamp = dynamic_cast<Sprite*>(node("CONVEYOR_LIGHT"));
    EXPECT_EQ(2, lamp->getCurrentFrame());
    EXPECT_EQ(255, lamp->getAlpha());
}

TEST_F(ConveyorTest, TheCustomerPullsTheHandleOnceThereAndBackAndTheTrapOpensAfterThePull)
{
    fastBelt();
    setTuningInt("CONVEYOR_GRACE_PERIOD", 40);
    start(false, {"creampuff"});
    auto* handle = dynamic_cast<Sprite*>(node("CONVEYOR_HANDLE"));
    auto* trap = dynamic_cast<Sprite*>(node("CONVEYOR_TRAP"));
    ASSERT_NE(nullptr, handle);
    ASSERT_NE(nullptr, trap);
    ASSERT_TRUE(runUntil([&] { return view()->isFlushing(); }, 200));
    EXPECT_EQ(1, customer->pulls);
    // Every frame of the handle once forward, then back: one pull, at its own pace.
    std::vector<int> handleFrames = {handle->getCurrentFrame()};
    int handleFramesWhenTrapMoved = -1;
    const int trapClosed = trap->getCurrentFrame();
    for (int i = 0; i < 400 && !state().levelOver; ++i) {
        frame();
        if (handle->getCurrentFrame() != handleFrames.back())
            handleFrames.push_back(handle->getCurrentFrame());
        if (handleFramesWhenTrapMoved < 0 && trap->getCurrentFrame() != trapClosed)
            handleFramesWhenTrapMoved = static_cast<int>(handleFrames.size());
    }
    EXPECT_TRUE(state().levelOver);
    std::vector<int> expected;
    const int last = handle->getFrameCount() - 1;
    for (int f = 0; f <= last; ++f)
        expected.push_back(f);
    for (int f = last - 1; f >= 0; --f)
        expected.push_back(f);
    EXPECT_EQ(expected, handleFrames);
    // The trap opens once the lever is down.
    EXPECT_GE(handleFramesWhenTrapMoved, last + 1);
}

TEST_F(ConveyorTest, ClicksWhileTrappedDoNotPackage)
{
    fastBelt();
    setTuningInt("CONVEYOR_GRACE_PERIOD", 20);
    start(false, {"creampuff", "strawberrycake"});
    Spot* spot = belt().spots[0].get();
    ASSERT_TRUE(runUntil([&] { return view()->getController()->isTrapped(); }, 100));
    spot->state = Spot::Ready;
    click(599);
    EXPECT_EQ(Spot::Ready, spot->state);
}

TEST_F(ConveyorTest, PackagingTheWaitingFrontPlateStopsItsAlertAndRestartsTheBelt)
{
    fastBelt();
    start(false, {"creampuff", "strawberrycake"});
    Spot* spot = belt().spots[0].get();
    ASSERT_TRUE(runUntil([&] { return spot->hasArrived; }, 100));
    complete(spot);
    ASSERT_TRUE(runUntil([&] { return spot->state == Spot::Ready; }, 200));
    click(599);
    EXPECT_FALSE(spot->hasArrived);
    EXPECT_EQ(-1, view()->getAlertChannel());
    ASSERT_TRUE(runUntil([&] { return view()->getSpeed() > 0.0f; }, 400));
    EXPECT_FALSE(view()->isFlushing());
}

TEST_F(ConveyorTest, ArrivalOfAPlateAlreadyBeingPackagedIsIgnored)
{
    start(false, {"creampuff"});
    RefPointer<Spot> spot = belt().spots[0];
    spot->state = Spot::Packaging;
    const float speed = view()->getSpeed();
    view()->onPlateArrived(spot);
    EXPECT_FLOAT_EQ(speed, view()->getSpeed());
    EXPECT_EQ(0, customer->grips);
    EXPECT_EQ(0, belt().graceTimer.getOriginalTime());
}

TEST_F(ConveyorTest, EmptyBeltAndOrderRaiseTheArcadeLevelOnceWithItsTitleAndARefilledOrder)
{
    start(false, {"creampuff"});
    RefPointer<Spot> spot = belt().spots[0];
    view()->removeSpot(spot);
    frame();
    EXPECT_EQ(1, state().playSessionInfo.arcadeLevel);
    const Level& level = GameData::instance->getCurrentLevel();
    EXPECT_EQ(static_cast<size_t>(level.pastriesStart + level.pastriesDelta), state().order.size());
    EXPECT_EQ(static_cast<int>(state().order.size()), state().playSessionInfo.starCount);
    EXPECT_EQ("2", labelText(node("LABEL_LEVEL_VALUE")));
    GameNode* layer = node("NODE_FLOATERBONUS");
    ASSERT_NE(nullptr, layer->getFirstChild());
    EXPECT_EQ(toNarrowString(BasicProperties::instance->getText("TEXT_LEVEL")) + " 2",
              labelText(layer->getFirstChild()));
    frames(3);
    EXPECT_EQ(1, state().playSessionInfo.arcadeLevel);
    EXPECT_FALSE(state().levelOver);
}

TEST_F(ConveyorTest, ARoundThatOrdersNothingEndsTheRunInsteadOfLevellingUpEveryFrame)
{
    start(false, {"creampuff"});
    GameData::instance->getCurrentLevel().recipes.clear();
    view()->removeSpot(belt().spots[0]);
    frames(5);
    EXPECT_TRUE(state().levelOver);
    EXPECT_EQ(1, state().playSessionInfo.arcadeLevel);
}

TEST_F(ConveyorTest, ExamEndsAtItsFirstLevelUpAsPassedWithoutTitle)
{
    start(true, {"creampuff"});
    ASSERT_EQ(1u, belt().spots.size());
    view()->removeSpot(belt().spots[0]);
    frame();
    EXPECT_TRUE(state().levelOver);
    EXPECT_EQ(GameData::instance->getCurrentLevel().starsGoal, state().playSessionInfo.starCount);
    EXPECT_EQ(nullptr, node("NODE_FLOATERBONUS")->getFirstChild());
}

TEST_F(ConveyorTest, ExamPanelCountsUpTowardsTheGoalTheResultsTest)
{
    start(true, {"creampuff", "strawberrycake"});
    Level& level = GameData::instance->getCurrentLevel();
    level.starsGoal = level.pastriesStart - 1;
    PastryGoalPanel* panel = getPastryGoalPanel();
    ASSERT_NE(nullptr, panel);
    panel->refresh();
    EXPECT_EQ(std::to_string(level.starsGoal), labelText(node("LABEL_GOAL_VALUE")));
    EXPECT_TRUE(node("LABEL_GOAL_VALUE")->isVisible());
    EXPECT_FALSE(node("LABEL_LEVEL_VALUE")->isVisible());
    panel->addEarnedPackage();
    panel->addEarnedPackage();
    EXPECT_EQ(2, state().playSessionInfo.starCount);
    EXPECT_EQ("2", labelText(node("LABEL_EARNED_VALUE")));
}

TEST_F(ConveyorTest, ArcadePanelShowsTheRoundAndHidesTheGoal)
{
    start(false, {"creampuff", "strawberrycake", "creampuff"});
    EXPECT_EQ("1", labelText(node("LABEL_LEVEL_VALUE")));
    EXPECT_TRUE(node("LABEL_LEVEL_VALUE")->isVisible());
    EXPECT_FALSE(node("LABEL_GOAL_VALUE")->isVisible());
    EXPECT_EQ("3", labelText(node("LABEL_EARNED_VALUE")));
    EXPECT_EQ(toNarrowString(BasicProperties::instance->getText("TEXT_ARCADENAME0")), labelText(node("LABEL_THEME")));
}

TEST_F(ConveyorTest, TheSignBlinksDownToHalfAndBackAndItsPiecesStandInTheirPlaces)
{
    struct Case {
        bool exam;
        const char* blinking;
        int levelX, levelY;
    };
    const Case cases[] = {{false, "SPRITE_SPACELEVEL", 83, 198}, {true, "SPRITE_SPACEGOAL", 43, 172}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blinking);
        start(c.exam, {"creampuff"});
        auto* sign = dynamic_cast<Sprite*>(node(c.blinking));
        ASSERT_NE(nullptr, sign);
        GameNode::cancelModifiers(sign);
        ASSERT_NE(nullptr, PastryGoalPanel::addIntroBlink(scene->getPhaseContainer()));
        int lowest = 255;
        int first = -1;
        const int blinkMs = 2 * tuning().GOALSTART_SPEED * tuning().GOALSTART_COUNT;
        for (int ms = 0; ms <= blinkMs + 200; ms += 20) {
            frame();
            if (first < 0)
                first = sign->getAlpha();
            lowest = std::min(lowest, sign->getAlpha());
        }
        EXPECT_GT(first, 200); // it starts opaque and fades down
        EXPECT_LE(lowest, 140);
        EXPECT_GE(lowest, 128);
        EXPECT_EQ(255, sign->getAlpha()); // and rests opaque
        struct Place {
            const char* name;
            int x, y;
        };
        const Place places[] = {{"LEVEL", c.levelX, c.levelY},
                                {"LEVEL_SMOKE", 34, 60},
                                {"LEVEL_FINISHED", 52, 171},
                                {"LEVEL_SHINE", 41, 162}};
        for (const Place& p : places) {
            EXPECT_EQ(p.x, node(p.name)->getX()) << p.name;
            EXPECT_EQ(p.y, node(p.name)->getY()) << p.name;
        }
        scene->leavePhase();
    }
}

// A player new to the arcade gets its hint once the belt has run its time, not at once.
TEST_F(ConveyorTest, TheArcadeHintWaitsForTheBeltsTime)
{
    SceneManager::create();
    SceneManager::instance->setNextScene(scene.get());
    SceneManager::instance->run(0);
    player->showHints = true;
    start(false, {"creampuff", "strawberrycake"});
    ASSERT_FALSE(player->hasSeenHint("HINT_ARCADE"));
    frame();
    EXPECT_FALSE(scene->isDialogShown("DIALOG_HINT"));
    EXPECT_TRUE(runUntil([&] { return scene->isDialogShown("DIALOG_HINT"); }, tuning().HINT_BELT_TIME / 20 + 5));
    SceneManager::destroyInstance();
}

// Trophy 7 comes with the run's score at its value, not one point below.
TEST_F(ConveyorTest, TheGiantScoreTrophyComesAtItsScoreAndNotOneBelow)
{
    start(false, {"creampuff", "strawberrycake"});
    Trophies* trophies = player->getTrophies();
    trophies->setState(7, 0);
    state().playSessionInfo.score = tuning().TROPHYVALUE_GIANTSCORE - 1;
    frame();
    EXPECT_EQ(0, trophies->getState(7));
    state().playSessionInfo.score = tuning().TROPHYVALUE_GIANTSCORE;
    frame();
    EXPECT_EQ(1, trophies->getState(7));
}

TEST_F(ConveyorTest, TearDownEmptiesTheBeltNodeForgetsTheSpotsNodesAndRefusesDeliveries)
{
    start(false, {"creampuff", "strawberrycake"});
    view()->addNewPlate();
    ConveyorView* conveyor = view();
    conveyor->tearDown();
    EXPECT_EQ(nullptr, node("CONVEYOR")->getFirstChild());
    for (const RefPointer<Spot>& spot : belt().spots) {
        for (Sprite* icon : spot->icons)
            EXPECT_EQ(nullptr, icon);
        for (GameNode* counter : spot->counters)
            EXPECT_EQ(nullptr, counter);
    }
    EXPECT_FALSE(deliver("cream"));
    EXPECT_EQ(nullptr, conveyor->getAnimationRoot());
}

} // namespace
