#include <gtest/gtest.h>

#include <string>

#include "framework/core/PropertyStore.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/Cookbook.h"
#include "game/data/TuningTable.h"
#include "game/production/AlarmClock.h"
#include "game/production/BonusMeter.h"
#include "game/production/ConveyorBelt.h"
#include "game/production/Order.h"
#include "game/production/PastryWrapper.h"
#include "game/production/PlaySessionInfo.h"
#include "support/GameDataFixtures.h"
#include "support/LogCapture.h"

namespace {

// Saves with `save` into a store, writes it to XML text and reads it back,
// so that every round trip below also goes through the file format.
template <class SaveFunction>
RefPointer<PropertyStore> throughXml(const char* tag, SaveFunction save)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("record", tag));
    store->addChild(node.get());
    save(node.get());
    return parseXml(store->toXmlText());
}

class ProductionRecordsTest : public ::testing::Test {
protected:
    ProductionRecordsTest()
    {
        cookbook.addRecipe(new Recipe("TART", {{"APPLE", 3}, {"FLOUR", 2}}, 5.0f));
        cookbook.addRecipe(new Recipe("PIE", {{"CHERRY", 1}}, 2.0f));
        cookbook.addRecipe(new Recipe("CAKE", {{"EGG", 1}, {"FLOUR", 1}, {"SUGAR", 1}}, 3.0f));
    }

    ScopedGameTuning tuningScope;
    Cookbook cookbook;
};

TEST_F(ProductionRecordsTest, AlarmClockRingsOnlyWhenStartedWithAPositiveTime)
{
    AlarmClock clock;
    clock.start(1);
    clock.advance(1);
    EXPECT_TRUE(clock.isRinging());

    clock.start(0);
    clock.advance(5);
    EXPECT_FALSE(clock.isRinging());

    clock.start(1000);
    clock.advance(1200);
    EXPECT_TRUE(clock.isRinging());
    clock.restart();
    EXPECT_EQ(clock.getTime(), 1000);
    EXPECT_FALSE(clock.isRinging());
}

TEST_F(ProductionRecordsTest, AlarmClockSavesTimeAndFlagExactly)
{
    AlarmClock clock;
    clock.start(1000);
    clock.advance(1300);
    RefPointer<PropertyStore> read = throughXml("AlarmClock", [&](PropertyNode* node) { clock.save(node); });
    AlarmClock restored;
    restored.load(read->getChild("record"));
    EXPECT_EQ(restored.getOriginalTime(), 1000);
    EXPECT_EQ(restored.getTime(), -300);
    EXPECT_TRUE(restored.isRinging());

    AlarmClock fromNothing;
    fromNothing.load(nullptr);
    EXPECT_EQ(fromNothing.getOriginalTime(), 0);
    EXPECT_FALSE(fromNothing.isRinging());
}

TEST_F(ProductionRecordsTest, PastryDeliveryAndQuality)
{
    Recipe twice("TWICE", {{"APPLE", 1}, {"APPLE", 2}}, 4.0f);
    RefPointer<Pastry> pastry(new Pastry(&twice));
    pastry->deliverIngredient("APPLE");
    EXPECT_EQ(pastry->ingredients[0].amount, 0);
    EXPECT_EQ(pastry->ingredients[1].amount, 1);
    pastry->deliverIngredient("APPLE");
    EXPECT_EQ(pastry->ingredients[0].amount, 0);
    EXPECT_TRUE(pastry->isFinished());

    pastry->addQuality(10.0f);
    EXPECT_EQ(pastry->quality, 4.0f);
    pastry->addQuality(-20.0f);
    EXPECT_EQ(pastry->quality, 0.0f);
    pastry->addQuality(1.0f);
    EXPECT_EQ(pastry->getQualityLevel(), 2);
    pastry->addQuality(1.0f);
    EXPECT_EQ(pastry->getQualityLevel(), 3);
    pastry->addQuality(1.0f);
    EXPECT_EQ(pastry->getQualityLevel(), 4);

    Recipe worthless("NONE", {}, 0.0f);
    EXPECT_EQ(Pastry(&worthless).getQualityLevel(), 4);
}

TEST_F(ProductionRecordsTest, PastrySerialsAreFreshAfterRestore)
{
    RefPointer<Pastry> first(new Pastry(cookbook.findRecipe("PIE")));
    RefPointer<Pastry> second(new Pastry(cookbook.findRecipe("PIE")));
    EXPECT_EQ(second->serial, first->serial + 1);
}

TEST_F(ProductionRecordsTest, OrderRoundTripKeepsRecipesQualitiesAndAmounts)
{
    Order order;
    order.addPastries({cookbook.findRecipe("TART"), cookbook.findRecipe("PIE"), cookbook.findRecipe("CAKE"),
                       cookbook.findRecipe("PIE"), cookbook.findRecipe("TART")});
    order.getPastries()[0]->addQuality(1.5f);
    order.getPastries()[0]->deliverIngredient("APPLE");
    const std::string nextRecipe = order.getPastries().back()->recipe->getName();

    RefPointer<PropertyStore> read = throughXml("Order", [&](PropertyNode* node) { order.save(node); });
    Order restored;
    restored.load(read->getChild("record"), cookbook);
    ASSERT_EQ(restored.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const Pastry& before = *order.getPastries()[i];
        const Pastry& after = *restored.getPastries()[i];
        EXPECT_EQ(after.recipe, before.recipe);
        EXPECT_FLOAT_EQ(after.quality, before.quality);
        EXPECT_EQ(after.ingredients, before.ingredients);
        EXPECT_EQ(after.maxQuality, before.recipe->getQuality());
    }
    EXPECT_EQ(restored.takeNext()->recipe->getName(), nextRecipe);
}

TEST_F(ProductionRecordsTest, EmptyOrderSavesAnEmptyVector)
{
    Order order;
    RefPointer<PropertyStore> read = throughXml("Order", [&](PropertyNode* node) { order.save(node); });
    PropertyNode* node = read->getNode("record");
    ASSERT_NE(node->getChild("pastries"), nullptr);
    EXPECT_EQ(node->getVector("pastries")->getCount(), 0);
    Order restored;
    restored.addPastry(cookbook.findRecipe("PIE"));
    restored.load(node, cookbook);
    EXPECT_TRUE(restored.isEmpty());
    EXPECT_EQ(restored.takeNext(), nullptr);
}

TEST_F(ProductionRecordsTest, SavedPastriesThatCannotExistAreSkipped)
{
    RefPointer<PropertyStore> saved = parseXml(R"(<root><Order id="order"><Vector id="pastries">
        <Pastry quality="1.000000" recipe="PIE" index="0"><Vector id="ingredients"/></Pastry>
        <Pastry quality="1.000000" recipe="UNKNOWN" index="0"><Vector id="ingredients"/></Pastry>
        <Pastry quality="1.000000" recipe="TART" index="0"><Vector id="ingredients">
            <Ingredient name="A" amount="1"/><Ingredient name="B" amount="1"/><Ingredient name="C" amount="1"/>
            <Ingredient name="D" amount="1"/><Ingredient name="E" amount="1"/></Vector></Pastry>
        <Pastry quality="oops" recipe="CAKE" index="#zz"/>
    </Vector></Order></root>)");
    Order order;
    order.load(saved->getChild("order"), cookbook);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order.getPastries()[0]->recipe->getName(), "PIE");
    EXPECT_EQ(order.getPastries()[1]->recipe->getName(), "CAKE");
    EXPECT_EQ(order.getPastries()[1]->quality, 0.0f);
    EXPECT_TRUE(order.getPastries()[1]->isFinished());
}

TEST_F(ProductionRecordsTest, PastryWrapperRestoresPlacesAndSkipsIndexesOutsideTheCountertop)
{
    PastryWrapper countertop;
    ASSERT_EQ(countertop.getSize(), 5);
    countertop.set(0, new Pastry(cookbook.findRecipe("TART")));
    countertop.set(3, new Pastry(cookbook.findRecipe("PIE")));
    countertop.set(7, new Pastry(cookbook.findRecipe("PIE"))); // ignored: no such place
    RefPointer<PropertyStore> read = throughXml("PastryWrapper", [&](PropertyNode* node) { countertop.save(node); });
    PropertyVector* list = read->getNode("record")->getVector("pastries");
    ASSERT_EQ(list->getCount(), 2);
    EXPECT_EQ(list->getNodeAt(0)->getInt("index"), 0);
    EXPECT_EQ(list->getNodeAt(1)->getInt("index"), 3);

    PastryWrapper restored;
    restored.load(read->getChild("record"), cookbook);
    EXPECT_EQ(restored.get(0)->recipe->getName(), "TART");
    EXPECT_EQ(restored.get(3)->recipe->getName(), "PIE");
    EXPECT_EQ(restored.get(1), nullptr);

    RefPointer<PropertyStore> foreign = parseXml(R"(<root><PastryWrapper id="w"><Vector id="pastries">
        <Pastry recipe="PIE" index="5"/><Pastry recipe="PIE" index="-1"/><Pastry recipe="PIE" index="4"/>
    </Vector></PastryWrapper></root>)");
    PastryWrapper guarded;
    guarded.load(foreign->getChild("w"), cookbook);
    EXPECT_NE(guarded.get(4), nullptr);
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(guarded.get(place), nullptr);
}

TEST_F(ProductionRecordsTest, BonusMeterClampsAndIgnoresAddsDuringFrenzy)
{
    BonusMeter meter;
    meter.setFill(99.0f);
    meter.add(10.0f);
    EXPECT_EQ(meter.getFill(), 100.0f);
    meter.subtract(-30.0f);
    EXPECT_EQ(meter.getFill(), 70.0f);
    meter.add(-5.0f);
    EXPECT_EQ(meter.getFill(), 75.0f);
    meter.setFrenzy(true);
    meter.add(5.0f);
    EXPECT_EQ(meter.getFill(), 75.0f);
    meter.drain(500);
    EXPECT_EQ(meter.getFill(), 0.0f);
}

TEST_F(ProductionRecordsTest, BonusMeterRoundTrip)
{
    BonusMeter meter;
    meter.setFrenzy(true);
    meter.setFill(42.25f);
    meter.setFrenzyCount(3);
    RefPointer<PropertyStore> read = throughXml("BonusMeter", [&](PropertyNode* node) { meter.save(node); });
    EXPECT_EQ(read->getNode("record")->getString("quality"), "42.250000");
    BonusMeter restored;
    restored.load(read->getChild("record"));
    EXPECT_TRUE(restored.isFrenzy());
    EXPECT_FLOAT_EQ(restored.getFill(), 42.25f);
    EXPECT_EQ(restored.getFrenzyCount(), 3);
}

// What a damaged or hand-edited save may hold where a number belongs.
struct SavedNumberCase {
    const char* text;
    bool kept;
};

TEST_F(ProductionRecordsTest, BonusMeterFillThatIsNotAFiniteNumberInItsRangeStartsEmptyAndIsLogged)
{
    const float maximum = static_cast<float>(tuning().BONUS_MAX);
    const SavedNumberCase cases[] = {
        {"42.5", true}, {"0", true}, {"nan", false}, {"inf", false}, {"-inf", false}, {"1e30", false}, {"-1", false},
    };
    for (const SavedNumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        RefPointer<PropertyStore> saved = parseXml(std::string(R"(<root><BonusMeter id="meter" frenzy="false" quality=")") +
                                                   c.text + R"(" frenzycount="2"/></root>)");
        LogCapture log;
        BonusMeter meter;
        meter.load(saved->getChild("meter"));
        if (c.kept) {
            EXPECT_FLOAT_EQ(std::stof(c.text), meter.getFill());
            EXPECT_TRUE(log.lines().empty());
        } else {
            EXPECT_EQ(0.0f, meter.getFill());
            EXPECT_TRUE(log.contains("bonus meter"));
        }
        EXPECT_EQ(2, meter.getFrenzyCount());
        // The meter goes on working from there.
        meter.add(maximum * 2);
        EXPECT_EQ(maximum, meter.getFill());
    }
}

TEST_F(ProductionRecordsTest, ConveyorDistanceOrSpeedThatIsNotAFiniteNumberInItsRangeStartsAtZero)
{
    const std::string longest = std::to_string(ConveyorBelt::maxDistance());
    const SavedNumberCase distances[] = {
        {"37.5", true}, {"-3.5", true}, {longest.c_str(), true}, {"nan", false}, {"inf", false}, {"-inf", false},
        {"1e30", false}, {"-1e30", false},
    };
    for (const SavedNumberCase& c : distances) {
        SCOPED_TRACE(c.text);
        RefPointer<PropertyStore> saved = parseXml(std::string(R"(<root><ConveyorBelt id="belt" speed="0.25" distance=")") +
                                                   c.text + R"("/></root>)");
        LogCapture log;
        ConveyorBelt belt;
        belt.load(saved->getChild("belt"), cookbook);
        EXPECT_FLOAT_EQ(0.25f, belt.speed);
        if (c.kept) {
            EXPECT_FLOAT_EQ(std::stof(c.text), belt.distance);
            EXPECT_TRUE(log.lines().empty());
        } else {
            EXPECT_EQ(0.0f, belt.distance);
            EXPECT_TRUE(log.contains("conveyor: saved distance"));
        }
    }
    for (const char* speed : {"nan", "inf", "-0.5"}) {
        SCOPED_TRACE(speed);
        RefPointer<PropertyStore> saved = parseXml(std::string(R"(<root><ConveyorBelt id="belt" speed=")") + speed +
                                                   R"(" distance="10"/></root>)");
        LogCapture log;
        ConveyorBelt belt;
        belt.load(saved->getChild("belt"), cookbook);
        EXPECT_EQ(0.0f, belt.speed);
        EXPECT_FLOAT_EQ(10.0f, belt.distance);
        EXPECT_TRUE(log.contains("conveyor: saved speed"));
    }
}

TEST_F(ProductionRecordsTest, PlaySessionCarriesTheElapsedTimeOverAndKeepsMatchesOrdered)
{
    PlaySessionInfo session;
    session.score = 1234;
    session.starCount = 7;
    session.startTime = 1000;
    session.matches[4] = 2;
    session.matches[3] = 10;
    session.multiplierScore = 1.5f;
    session.allFullQuality = false;
    session.arcadeLevel = 2;
    RefPointer<PropertyStore> read =
        throughXml("PlaySessionInfo", [&](PropertyNode* node) { session.save(node, 1300); });
    PlaySessionInfo restored;
    restored.load(read->getChild("record"), 5000);
    EXPECT_EQ(restored.startTime, 5000 - 300);
    EXPECT_EQ(restored.endTime, 0);
    EXPECT_EQ(restored.score, 1234);
    EXPECT_EQ(restored.starCount, 7);
    EXPECT_FALSE(restored.allFullQuality);
    EXPECT_FLOAT_EQ(restored.multiplierScore, 1.5f);
    EXPECT_EQ(restored.arcadeLevel, 2);
    ASSERT_EQ(restored.matches.size(), 2u);
    EXPECT_EQ(restored.matches.begin()->first, 3);
    EXPECT_EQ(restored.matches.begin()->second, 10);
}

TEST_F(ProductionRecordsTest, PlaySessionResetAndToolRules)
{
    PlaySessionInfo session;
    session.applyTools(2, -1);
    session.score = 50;
    session.allFullQuality = false;
    session.reset();
    EXPECT_EQ(session.score, 0);
    EXPECT_TRUE(session.allFullQuality);
    EXPECT_EQ(session.bonusPlusCounter, 3);
    EXPECT_TRUE(session.hasTool(2));
    EXPECT_FALSE(session.hasTool(-1));
    EXPECT_FLOAT_EQ(session.getScoreMultiplier(), 1.2f);
    // Only the fast-game tool speeds the animations up.
    EXPECT_FLOAT_EQ(session.getAnimationSpeedMultiplier(), 1.0f);

    setTuningFloat("TOOL_HIGHERSCORE_MULTIPLIER", 0.5f);
    session.applyTools(2, 9);
    EXPECT_FLOAT_EQ(session.getScoreMultiplier(), 1.0f);
    EXPECT_FLOAT_EQ(session.getAnimationSpeedMultiplier(), 1.5f);

    session.addScore(-100.7f);
    EXPECT_EQ(session.score, 0);
    session.addScore(10.9f);
    EXPECT_EQ(session.score, 10);
}

TEST_F(ProductionRecordsTest, ConveyorBeltRoundTripKeepsSpotOrderAndPositions)
{
    ConveyorBelt belt;
    belt.speed = 0.125f;
    belt.distance = -3.5f;
    belt.graceTimer.start(2000);
    belt.graceTimer.advance(500);
    RefPointer<Spot> front(new Spot(new Pastry(cookbook.findRecipe("CAKE"))));
    front->state = Spot::Ready;
    front->hasArrived = true;
    front->spriteX = 612;
    front->savedIngredientX = {600, 630, 660};
    belt.addSpot(front.get());
    belt.addSpot(new Spot(new Pastry(cookbook.findRecipe("PIE"))));

    RefPointer<PropertyStore> read = throughXml("ConveyorBelt", [&](PropertyNode* node) { belt.save(node); });
    PropertyNode* saved = read->getNode("record");
    EXPECT_EQ(saved->getString("speed"), "0.125");
    PropertyVector* positions = saved->getVector("spots")->getNodeAt(0)->getVector("ingredients");
    ASSERT_EQ(positions->getCount(), 3);
    EXPECT_EQ(positions->getAt(0)->getTypeName(), "Integer");

    ConveyorBelt restored;
    restored.load(saved, cookbook);
    ASSERT_EQ(restored.spots.size(), 2u);
    EXPECT_EQ(restored.spots[0]->pastry->recipe->getName(), "CAKE");
    EXPECT_EQ(restored.spots[0]->state, Spot::Ready);
    EXPECT_TRUE(restored.spots[0]->hasArrived);
    EXPECT_EQ(restored.spots[0]->spriteX, 612);
    EXPECT_EQ(restored.spots[0]->savedIngredientX, (std::vector<int32_t>{600, 630, 660}));
    EXPECT_EQ(restored.spots[1]->pastry->recipe->getName(), "PIE");
    EXPECT_FLOAT_EQ(restored.speed, 0.125f);
    EXPECT_FLOAT_EQ(restored.distance, -3.5f);
    EXPECT_EQ(restored.graceTimer.getTime(), 1500);
    EXPECT_EQ(restored.graceTimer.getOriginalTime(), 2000);
}

TEST_F(ProductionRecordsTest, ShownSpotSavesWhereItsPlateAndIconsAreNow)
{
    RefPointer<Spot> spot(new Spot(new Pastry(cookbook.findRecipe("CAKE"))));
    spot->spriteX = 1;
    spot->savedIngredientX = {1, 1, 1};
    RefPointer<Sprite> plate(new Sprite(250, 300, 10, 10));
    RefPointer<Sprite> first(new Sprite(260, 300, 10, 10));
    RefPointer<Sprite> third(new Sprite(280, 300, 10, 10));
    spot->setPlate(plate.get());
    spot->icons = {first.get(), nullptr, third.get(), nullptr};
    plate->setX(255);

    RefPointer<PropertyStore> read = throughXml("Spot", [&](PropertyNode* node) { spot->save(node); });
    PropertyNode* saved = read->getNode("record");
    EXPECT_EQ(saved->getInt("spriteX"), 255);
    PropertyVector* positions = saved->getVector("ingredients");
    ASSERT_EQ(positions->getCount(), 2);
    EXPECT_EQ(positions->getAt(0)->getInt(), 260);
    EXPECT_EQ(positions->getAt(1)->getInt(), 280);
}

TEST_F(ProductionRecordsTest, ConveyorBeltLoadsDefaultsAndSkipsForeignSpots)
{
    RefPointer<PropertyStore> saved = parseXml(R"(<root><ConveyorBelt id="belt"><Vector id="spots">
        <Spot state="3" hasArrived="False"><Pastry id="pastry" recipe="PIE"/></Spot>
        <Spot state="0" hasArrived="false"><Pastry id="pastry" recipe="NOPE"/></Spot>
        <Spot><Pastry id="pastry" recipe="PIE"/><Vector id="ingredients">
            <Integer value="1"/><Integer value="2"/><Integer value="3"/><Integer value="4"/><Integer value="5"/>
        </Vector></Spot>
        <String value="not a spot"/>
    </Vector></ConveyorBelt></root>)");
    ConveyorBelt belt;
    belt.addSpot(new Spot(nullptr));
    belt.load(saved->getChild("belt"), cookbook);
    ASSERT_EQ(belt.spots.size(), 1u);
    EXPECT_TRUE(belt.spots[0]->hasArrived); // only "false" or empty text is false
    EXPECT_EQ(belt.speed, 0.0f);
    EXPECT_FALSE(belt.graceTimer.isRinging());

    RefPointer<Spot> stranger(new Spot(nullptr));
    belt.removeSpot(stranger.get());
    EXPECT_EQ(belt.spots.size(), 1u);
    belt.removeSpot(belt.spots[0].get());
    EXPECT_TRUE(belt.spots.empty());
}

} // namespace
