// The tool slots and the twinkles on the real layout, art and tuning: what
// each tool does on a countertop, the slots' pulses and particles, and the
// twinkles' three live sparkles.
#include <algorithm>
#include <set>

#include "ProductionFixture.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/Recipe.h"
#include "game/data/TuningTable.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/GoalPanel.h"
#include "game/production/Phase.h"
#include "game/production/ToolSlots.h"
#include "game/production/Twinkles.h"
#include "support/GameDataFixtures.h"

namespace {

class ToolSlotsTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
        setTuningInt("WIN_DELAY", 600000);
        random.setSeed(7);
        previousRandom = Random::instance;
        Random::instance = &random;
    }
    void TearDown() override
    {
        ProductionTest::TearDown();
        Random::instance = previousRandom;
    }

    void playWith(int tool1, int tool2)
    {
        state().playSessionInfo.applyTools(tool1, tool2);
        startCareerLevel(0);
    }
    ToolSlots* slots() const { return scene->getToolSlots(); }
    int nodesIn(GameNode* layer) const
    {
        int count = 0;
        for (GameNode* n = layer->getFirstChild(); n; n = n->getNextSibling())
            count += n->isRemoved() ? 0 : 1;
        return count;
    }
    int nodesIn(const char* layer) const { return nodesIn(node(layer)); }
    // Empties the countertop and the order, then puts one pastry on spot 0.
    RefPointer<Pastry> onlyPastry(const std::string& recipe)
    {
        state().order.clear();
        for (int spot = 0; spot < countertop()->getSize(); ++spot)
            state().pastryWrapper.set(spot, RefPointer<Pastry>());
        placePastry(0, recipe);
        return countertop()->getPastry(0);
    }

    Random random;
    Random* previousRandom = nullptr;
};

TEST_F(ToolSlotsTest, ChosenToolsShowInTheirCatalogueSlots)
{
    struct Case {
        int tools[2];
        bool quality;
        bool bonus;
        bool bonusPlus;
    };
    const Case cases[] = {
        {{-1, -1}, false, false, false},
        {{7, 3}, true, true, true},
        {{3, 14}, false, true, true},
        // Two tools of one slot: the higher id stays there, the other slot is empty.
        {{4, 10}, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tools[0] * 100 + c.tools[1]);
        playWith(c.tools[0], c.tools[1]);
        ASSERT_NE(nullptr, slots());
        EXPECT_EQ(c.quality, slots()->getSlotFrame(0)->isVisible());
        EXPECT_EQ(c.bonus, slots()->getSlotFrame(1)->isVisible());
        EXPECT_EQ(c.bonusPlus, node("LABEL_BONUSPLUS")->isVisible());
        EXPECT_TRUE(node("TOOLS")->isVisible());
        if (c.quality) {
            EXPECT_EQ(std::max(c.tools[0], c.tools[1]), slots()->getIcon(0)->getTag());
        }
        scene->leavePhase();
    }
}

TEST_F(ToolSlotsTest, APulseLightsTheSlotUntilItsAlarmAndThrowsJarParticles)
{
    playWith(7, 3);
    const TuningTable& t = tuning();
    Modifier* container = scene->getPhaseContainer();
    Modifier* end = slots()->pulseToolById(3, container);
    EXPECT_NE(container, end);
    EXPECT_TRUE(slots()->isActive(1));
    EXPECT_FALSE(slots()->isActive(0));
    // The bonus plus shows its counter as the board uses it up.
    state().playSessionInfo.bonusPlusCounter = 1234;
    frame();
    EXPECT_EQ(u"1" + getDigitGroupingSymbol() + u"234", slots()->getBonusPlusLabel()->getText());
    // A second pulse only re-arms the alarm.
    EXPECT_EQ(container, slots()->pulseToolById(3, container));
    frames(t.TOOL_SCALE_TIME / 20 + 1);
    EXPECT_FLOAT_EQ(t.TOOL_SCALE_ACTIVE, slots()->getIcon(1)->getScale());
    frames(t.TOOL_PARTICLE_TIME / 20);
    EXPECT_GT(nodesIn("NODE_TOOLJARS"), 0);
    ASSERT_TRUE(runUntil([&] { return !slots()->isActive(1); }, t.TOOL_ALARM_TIME / 20 + 5));
    frames(t.TOOL_SCALE_TIME / 20 + 1);
    EXPECT_FLOAT_EQ(t.TOOL_SCALE_DEACTIVE, slots()->getIcon(1)->getScale());
    // Equal scales in the data: the slot lights at once instead of dividing by zero.
    setTuningFloat("TOOL_SCALE_ACTIVE", t.TOOL_SCALE_DEACTIVE);
    slots()->pulseTool(0, container);
    frame();
    EXPECT_TRUE(slots()->isActive(0));
}

TEST_F(ToolSlotsTest, TheChosenJarsSlideInFromTheRightAndNothingMovesWithoutAChain)
{
    playWith(7, 3);
    // Nothing to join: the slots stay as they are.
    EXPECT_EQ(nullptr, slots()->slideIn(nullptr));
    EXPECT_TRUE(node("TOOLS")->isVisible());
    slots()->slideIn(scene->getPhaseContainer());
    for (int slot = 0; slot < 2; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(slots()->getSlotFrame(slot)->isVisible());
        EXPECT_GT(slots()->getSlotFrame(slot)->getX(), 0);
    }
    // One jar after the other.
    EXPECT_TRUE(runUntil(
        [&] {
            GameNode* last = slots()->getSlotFrame(1);
            return last->isVisible() && last->getX() == 0;
        },
        2 * tuning().TOOL_JAR_TRAVEL_TIME / 20 + 50));
    EXPECT_TRUE(slots()->getSlotFrame(0)->isVisible());
    EXPECT_EQ(0, slots()->getSlotFrame(0)->getX());
}

TEST_F(ToolSlotsTest, ParticleBurstsUseTheAmountUpInSteps)
{
    playWith(7, 3);
    Modifier* container = scene->getPhaseContainer();
    GameNode* target = spotChild(0, "QUALITY_METER");
    struct Case {
        int amount;
        int interval;
        int particles;
    };
    // ceil(amount / interval); an interval of 0 or less makes one particle.
    const Case cases[] = {{50, 20, 3}, {75, 25, 3}, {1, 25, 1}, {0, 25, 0}, {50, 0, 1}, {50, -5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount * 100 + c.interval);
        setTuningInt("TOOL_PARTICLE_INTERVAL", c.interval);
        const int before = nodesIn("NODE_TOOLS");
        Modifier* end = slots()->emitParticles(container, target, 0, c.amount, false);
        EXPECT_EQ(c.particles, nodesIn("NODE_TOOLS") - before);
        EXPECT_EQ(c.particles == 0, end == container);
    }
    // A clipped target 5 pixels high or less gets none.
    auto* clipped = dynamic_cast<Sprite*>(node("BONUS_FILLING"));
    clipped->setClipRect(clipped->getX(), clipped->getY(), 20, 5);
    const int before = nodesIn("NODE_TOOLS");
    EXPECT_EQ(container, slots()->emitParticles(container, clipped, 1, 100, false));
    // Nor does no target at all.
    EXPECT_EQ(container, slots()->emitParticles(container, nullptr, 0, 100, false));
    EXPECT_EQ(before, nodesIn("NODE_TOOLS"));
    // The particles fall inside the central 80 % of the target's box.
    frames(40);
    EXPECT_EQ(0, nodesIn("NODE_TOOLS"));
}

TEST_F(ToolSlotsTest, SteadyHandGivesBackAShareOfTheDropAndWaitsForAGap)
{
    playWith(7, -1);
    const TuningTable& t = tuning();
    RefPointer<Pastry> pastry = onlyPastry("creampuff");
    pastry->quality = 0.25f * pastry->maxQuality;
    const float quality = pastry->quality;
    // interval / drop delay in integer division x drop amount x fraction
    const float gain = static_cast<float>(t.TOOL_STEADYHAND_INTERVAL / t.QUALITY_DROP_DELAY) * t.QUALITY_DROP_AMOUNT *
                       t.TOOL_STEADYHAND_FRACTION;
    ASSERT_TRUE(slots()->steadyHandTick(scene->getPhaseContainer()));
    EXPECT_FLOAT_EQ(quality + gain, pastry->quality);
    EXPECT_GT(nodesIn("NODE_TOOLS"), 0);
    // A full pastry stays full.
    pastry->quality = pastry->maxQuality;
    slots()->steadyHandTick(scene->getPhaseContainer());
    EXPECT_FLOAT_EQ(pastry->maxQuality, pastry->quality);
    // A gap on the countertop: the tick waits.
    state().pastryWrapper.set(2, pastry);
    state().pastryWrapper.set(0, RefPointer<Pastry>());
    ASSERT_TRUE(countertop()->hasGap());
    EXPECT_FALSE(slots()->steadyHandTick(scene->getPhaseContainer()));
    // A drop delay of 0 in the data gives nothing back rather than dividing by it.
    state().pastryWrapper.set(0, pastry);
    state().pastryWrapper.set(2, RefPointer<Pastry>());
    setTuningInt("QUALITY_DROP_DELAY", 0);
    pastry->quality = quality;
    EXPECT_TRUE(slots()->steadyHandTick(scene->getPhaseContainer()));
    EXPECT_FLOAT_EQ(quality, pastry->quality);
}

TEST_F(ToolSlotsTest, TheIngredientToolGivesOneUnitAndCompletesThroughTheNormalFinish)
{
    playWith(11, -1);
    Countertop* counter = countertop();
    ASSERT_TRUE(runUntil([&] { return static_cast<bool>(counter->getPastry(0)); }));
    RefPointer<Pastry> first = counter->getPastry(0);
    const std::vector<RecipeIngredient> asked = first->recipe->getIngredients();
    frames(40);
    // One unit of every ingredient came with the pastry.
    for (size_t k = 0; k < first->ingredients.size(); ++k)
        EXPECT_EQ(asked[k].amount - 1, first->ingredients[k].amount) << k;
    // A pastry that needs one unit of each is finished by the tool, with its cloud and plate.
    const int plates = phase()->getPieces()->plateStack->getCount();
    for (Pastry::Ingredient& ingredient : first->ingredients)
        ingredient.amount = 1;
    for (int k = 0; k < static_cast<int>(first->ingredients.size()); ++k)
        slots()->giveIngredient(scene->getPhaseContainer(), spotChild(0, gamescreen::numbered("NUMBER", k)));
    frames(60);
    EXPECT_TRUE(first->isFinished());
    EXPECT_EQ(plates - 1, phase()->getPieces()->plateStack->getCount());
    EXPECT_TRUE(spotChild(0, "PASTRY_SPRITE")->isVisible());
}

TEST_F(ToolSlotsTest, TheStarMatchStarFliesToTheGoalAndCounts)
{
    playWith(-1, 13);
    const int stars = state().playSessionInfo.starCount;
    slots()->flyStarToTools(scene->getPhaseContainer(), 500, 200);
    EXPECT_EQ(1, nodesIn("NODE_TOOLS"));
    ASSERT_TRUE(runUntil([&] { return nodesIn("NODE_TOOLS") == 0; }, 300));
    EXPECT_EQ(stars + 1, state().playSessionInfo.starCount);
    // Without a goal panel the star has nowhere to fly: it does not stay behind.
    RefPointer<GoalPanel> goal = phase()->getPieces()->goalPanel;
    phase()->getPieces()->goalPanel = nullptr;
    slots()->flyStarToTools(scene->getPhaseContainer(), 500, 200);
    frames(5);
    EXPECT_EQ(0, nodesIn("NODE_TOOLS"));
    phase()->getPieces()->goalPanel = goal;
}

class TwinklesTest : public ToolSlotsTest {
protected:
    std::set<std::pair<int, int>> places(const char* size, int count) const
    {
        std::set<std::pair<int, int>> found;
        for (int i = 0; i < count; ++i)
            found.insert({BasicProperties::instance->getInt(gamescreen::numbered(std::string("TWINKLE_") + size + "_X", i)),
                          BasicProperties::instance->getInt(gamescreen::numbered(std::string("TWINKLE_") + size + "_Y", i))});
        return found;
    }
};

TEST_F(TwinklesTest, ThreeTwinklesLiveAtTheConfiguredPlacesAndStopWithTheirOwner)
{
    playWith(-1, -1);
    const TuningTable& t = tuning();
    std::set<std::pair<int, int>> allowed = places("LARGE", t.TWINKLE_LARGE_COUNT);
    const std::set<std::pair<int, int>> small = places("SMALL", t.TWINKLE_SMALL_COUNT);
    allowed.insert(small.begin(), small.end());
    RefPointer<Twinkles> twinkles(new Twinkles());
    GameNode* layer = twinkles->getLayer();
    std::set<GameNode*> seen;
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(3, nodesIn(layer)) << "frame " << i;
        for (GameNode* twinkle = layer->getFirstChild(); twinkle; twinkle = twinkle->getNextSibling()) {
            if (twinkle->isRemoved())
                continue;
            seen.insert(twinkle);
            EXPECT_TRUE(allowed.count({twinkle->getX(), twinkle->getY()}));
        }
        frame();
    }
    // They turn over: many more than three were made.
    EXPECT_GT(seen.size(), 6u);
    // Gone with their owner, even in the middle of their steps: none comes back.
    twinkles = nullptr;
    frames(200);
    EXPECT_EQ(0, nodesIn(layer));
}

TEST_F(TwinklesTest, EmptyRangesInTheDataGiveTheirLowerEnd)
{
    playWith(-1, -1);
    setTuningInt("TWINKLE_LARGE_COUNT", 0);
    setTuningInt("TWINKLE_DELAY_MIN", 500);
    setTuningInt("TWINKLE_DELAY_MAX", 300);
    RefPointer<Twinkles> twinkles(new Twinkles());
    GameNode* layer = twinkles->getLayer();
    const std::set<std::pair<int, int>> small = places("SMALL", tuning().TWINKLE_SMALL_COUNT);
    // The pause is the minimum: nothing shows before it.
    frames(24);
    for (GameNode* twinkle = layer->getFirstChild(); twinkle; twinkle = twinkle->getNextSibling()) {
        EXPECT_FALSE(twinkle->isVisible());
        EXPECT_TRUE(small.count({twinkle->getX(), twinkle->getY()}));
    }
    frames(2);
    EXPECT_TRUE(layer->getFirstChild()->isVisible());
    twinkles = nullptr;
    // No place at all: nothing twinkles, nothing breaks.
    setTuningInt("TWINKLE_SMALL_COUNT", 0);
    twinkles = new Twinkles();
    EXPECT_EQ(0, nodesIn(layer));
}

} // namespace
