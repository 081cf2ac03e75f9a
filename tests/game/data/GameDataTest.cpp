#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/Random.h"
#include "framework/platform/DataFolders.h"
#include "framework/players/PlayerManager.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "support/GameDataFixtures.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

const char* const kCookbook = R"(<root><Vector id="recipes">
    <Recipe id="TART"><Vector id="ingredients"><Entry name="APPLE" amount="3"/><Entry name="FLOUR" amount="2"/>
        <Entry name="SUGAR" amount="1"/></Vector><Quality id="quality" value="0.5"/></Recipe>
    <Recipe id="PIE"><Vector id="ingredients"><Entry name="CHERRY" amount="2"/></Vector></Recipe>
    <Recipe id="CAKE"/>
    <Recipe id="PIE"><Quality id="quality" value="9"/></Recipe>
    <Gadget id="NOT_A_RECIPE"/>
    <Recipe id="ONLYQUALITY"><Quality id="quality" value="2"/></Recipe>
</Vector></root>)";

const char* const kCustomers = R"(<root><Vector id="customers">
    <Customer id="CUSTOMER_HENRI" happy="5" ecstatic="9"><Eyes id="casualEyes" x="1" y="2"/>
        <Eyes id="happyEyes" x="3" y="4"/><Eyes id="ecstaticEyes" x="5" y="6"/><Hint id="hint" x="70" y="80"/></Customer>
    <Customer id="CUSTOMER_ANNE" happy="1" ecstatic="2"><Eyes id="casualEyes" x="0" y="0"/>
        <Eyes id="happyEyes" x="0" y="0"/><Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
    <Customer id="CUSTOMER_ANNE" happy="100" ecstatic="200"><Eyes id="casualEyes" x="0" y="0"/>
        <Eyes id="happyEyes" x="0" y="0"/><Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
    <Customer id="CUSTOMER_BROKEN" happy="1"/>
    <Customer id="CUSTOMER_NO_Y" happy="1" ecstatic="2"><Eyes id="casualEyes" x="0"/>
        <Eyes id="happyEyes" x="0" y="0"/><Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
    <Customer id="CUSTOMER_NO_X" happy="1" ecstatic="2"><Eyes id="casualEyes" x="0" y="0"/>
        <Eyes id="happyEyes" y="0"/><Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
    <Customer id="CUSTOMER_NO_HAPPY_EYES" happy="1" ecstatic="2"><Eyes id="casualEyes" x="0" y="0"/>
        <Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
    <Customer id="CUSTOMER_NO_ECSTATIC" happy="1"><Eyes id="casualEyes" x="0" y="0"/>
        <Eyes id="happyEyes" x="0" y="0"/><Eyes id="ecstaticEyes" x="0" y="0"/></Customer>
</Vector></root>)";

const char* const kIngredients = R"(<root><Vector id="ingredients">
    <Ingredient id="ING_APPLE" name="APPLE" canBeUnripe="true" isFruit="true"/>
    <Ingredient id="ING_FLOUR" name="FLOUR" matching="false" isPastry="0"/>
    <Ingredient id="ING_SUGAR" name="SUGAR" matching=""/>
    <Ingredient id="ING_CHERRY" name="CHERRY" isFruit="true"/>
    <Ingredient id="ING_APPLE2" name="APPLE" isChocolate="true"/>
    <Ingredient id="ING_CHOCOCHERRY" name="CHOCOCHERRY" isChocolate="true" isFruit="true"/>
    <Ingredient id="ING_COCOA" name="COCOA" isPastry="true" isChocolate="true"/>
    <Ingredient id="ING_CREAM" name="CREAM" hasSound="true" isCream="true"/>
</Vector></root>)";

const char* const kCareerLevel = R"(<root>
    <Vector id="recipes"><R type="TART"/><R type="UNKNOWN"/><R type="PIE"/><R type="CAKE"/></Vector>
    <Vector id="ingredients">
        <I name="APPLE" distribution="10" unripeChance="25"/>
        <I name="FLOUR" distribution="#14" unripeChance="25"/>
        <I name="MYSTERY" distribution="3"/>
    </Vector>
    <Theme id="theme" name="birthday" number="1"/>
    <Customer id="customer" name="CUSTOMER_NOBODY"/>
    <Stars id="stars" goal="12"/>
</root>)";

const char* const kExamLevel = R"(<root>
    <Vector id="recipes"><R type="TART"/><R type="PIE"/><R type="CAKE"/></Vector>
    <Theme id="theme" name="exam2" number="7"/>
    <Customer id="customer" name="CUSTOMER_ANNE"/>
    <Stars id="stars" goal="4" reward="3"/>
    <Percentage id="percentage" x3="0.25" x5="0.5"/>
    <Duration id="duration" time="5000" delta="-100"/>
    <Pastries id="pastries" start="5" delta="2"/>
    <Distance id="distance" start="300" delta="20" deviation="5"/>
</root>)";

const char* const kEmptyLevel = R"(<root><Theme id="theme" name="cake" number="0"/>
    <Customer id="customer" name="CUSTOMER_HENRI"/><Stars id="stars" goal="1"/></root>)";

// A media folder with the three books, a career list of eleven entries
// (career, exam, empty, then eight more careers) and an arcade list.
class GameDataTest : public ::testing::Test {
protected:
    GameDataTest() : folder(makeTestFolder("files"))
    {
        const std::string levels = folder + "/media/levels/";
        createDirectoryTree(levels);
        writeTestFile(levels + "cookbook.xml", kCookbook);
        writeTestFile(levels + "customerbook.xml", kCustomers);
        writeTestFile(levels + "ingredientbook.xml", kIngredients);
        writeTestFile(levels + "career.xml", kCareerLevel);
        writeTestFile(levels + "exam.xml", kExamLevel);
        writeTestFile(levels + "empty.xml", kEmptyLevel);
        std::string list = "<root><Vector id=\"levels\">";
        for (const char* name : {"career", "exam", "empty", "career", "career", "career", "career", "career",
                                 "career", "career", "exam"})
            list += "<Level fileName=\"" + levels + name + ".xml\"/>";
        list += "<Level/></Vector></root>";
        writeTestFile(levels + "levels.xml", list);
        writeTestFile(levels + "arcade_levels.xml",
                      "<root><Vector id=\"levels\"><Level fileName=\"" + levels + "exam.xml\"/></Vector></root>");
        BasicProperties::instance->setInt("POINTS_COMBO3", 300);
        BasicProperties::instance->setInt("POINTS_MATCH2", 99);
        BasicProperties::instance->setInt("POINTS_MATCH5", 50);
        BasicProperties::instance->setInt("POINTS_MATCH3", 30);
        BasicProperties::instance->setInt("POINTS_MATCH7", 70);
        BasicProperties::instance->setInt("POINTS_COMBO1", 100);
        BasicProperties::instance->setInt("POINTS_COMBO10", 1000);
        BasicProperties::instance->setFloat("QUALITY_MATCH7", 0.5f);
        BasicProperties::instance->setInt("POINTS_PASTRY1", 10);
        BasicProperties::instance->setInt("POINTS_PASTRY3", 30);
        BasicProperties::instance->setFloat("QUALITY_MATCH4", 0.75f);
        data = new GameData();
        data->loadMedia(folder);
        data->setShuffleGenerator(&generator);
        GameData::instance = data.get();
    }
    ~GameDataTest() override { GameData::instance = nullptr; }

    GameDataState& state() { return *data->state; }

    std::map<std::string, int> countRecipes() const
    {
        std::map<std::string, int> counts;
        for (const RefPointer<Pastry>& pastry : data->state->order.getPastries())
            ++counts[pastry->recipe->getName()];
        return counts;
    }

    ScopedGameTuning tuningScope;
    LogCapture log;
    std::string folder;
    CRuntimeRandom generator{12345};
    RefPointer<GameData> data;
};

TEST_F(GameDataTest, CookbookKeepsFirstOfANameAndComputesQuality)
{
    const Cookbook& book = state().cookbook;
    EXPECT_EQ(book.getRecipes().size(), 5u); // the entry of an unknown kind is skipped
    Recipe* tart = book.findRecipe("TART");
    ASSERT_NE(tart, nullptr);
    EXPECT_FLOAT_EQ(tart->getQuality(), 3.0f);
    EXPECT_EQ(tart->getIngredients().size(), 3u);
    EXPECT_FLOAT_EQ(book.findRecipe("PIE")->getQuality(), 1.0f);
    EXPECT_EQ(book.findRecipe("PIE")->getIngredients().size(), 1u);
    EXPECT_FLOAT_EQ(book.findRecipe("CAKE")->getQuality(), 1.0f);
    EXPECT_FLOAT_EQ(book.findRecipe("ONLYQUALITY")->getQuality(), 0.0f);
    EXPECT_EQ(book.findRecipe("NOT_A_RECIPE"), nullptr);
}

TEST_F(GameDataTest, CustomerAndIngredientBooks)
{
    const CustomerBook& customers = state().customerBook;
    EXPECT_EQ(customers.size(), 2u);
    EXPECT_EQ(customers.find("CUSTOMER_HENRI")->hint.x, 70);
    EXPECT_EQ(customers.find("CUSTOMER_ANNE")->hint.x, 30); // tuning default
    EXPECT_EQ(customers.find("CUSTOMER_ANNE")->hint.y, 40);
    EXPECT_EQ(customers.find("CUSTOMER_ANNE")->happy, 1);
    const Customer& henri = *customers.find("CUSTOMER_HENRI");
    EXPECT_EQ(henri.ecstatic, 9);
    EXPECT_EQ(henri.hint.y, 80);
    EXPECT_EQ((std::vector<int> {henri.casualEyes.x, henri.casualEyes.y, henri.happyEyes.x, henri.happyEyes.y,
                                 henri.ecstaticEyes.x, henri.ecstaticEyes.y}),
              (std::vector<int> {1, 2, 3, 4, 5, 6}));
    // An entry lacking any required key, or one coordinate of a point, is left out.
    for (const char* broken : {"CUSTOMER_BROKEN", "CUSTOMER_NO_Y", "CUSTOMER_NO_X", "CUSTOMER_NO_HAPPY_EYES",
                               "CUSTOMER_NO_ECSTATIC"})
        EXPECT_EQ(customers.find(broken), nullptr) << broken;

    const IngredientBook& ingredients = state().ingredientBook;
    EXPECT_EQ(ingredients.find("APPLE")->id, "ING_APPLE");
    EXPECT_FALSE(ingredients.find("APPLE")->isChocolate);
    EXPECT_TRUE(ingredients.find("APPLE")->matching);
    EXPECT_FALSE(ingredients.find("FLOUR")->matching);
    EXPECT_TRUE(ingredients.find("FLOUR")->isPastry); // "0" is true
    EXPECT_FALSE(ingredients.find("SUGAR")->matching);
    EXPECT_EQ(ingredients.find("BANANA"), nullptr);
    const IngredientBook::Entry& cream = *ingredients.find("CREAM");
    EXPECT_TRUE(cream.hasSound);
    EXPECT_TRUE(cream.isCream);
    EXPECT_FALSE(cream.canBeUnripe);
    EXPECT_TRUE(ingredients.find("APPLE")->canBeUnripe);
    EXPECT_FALSE(ingredients.find("APPLE")->hasSound);
    EXPECT_FALSE(ingredients.find("APPLE")->isCream);
    EXPECT_TRUE(ingredients.find("CHOCOCHERRY")->isChocolate);
}

TEST_F(GameDataTest, ScoreTableAndBonusMeterGain)
{
    const ScoreTable& table = state().scoreTable;
    EXPECT_EQ(table.pointsCombo[3], 300);
    EXPECT_EQ(table.pointsMatch[2], 0);
    EXPECT_EQ(table.pointsMatch[5], 50);
    EXPECT_EQ(table.pointsPastry[2], 0);
    EXPECT_EQ(table.pointsPastry[3], 30);
    EXPECT_FLOAT_EQ(table.qualityMatch[4], 0.75f);
    // Both ends of each range of keys are read.
    EXPECT_EQ(table.pointsMatch[3], 30);
    EXPECT_EQ(table.pointsMatch[7], 70);
    EXPECT_FLOAT_EQ(table.qualityMatch[7], 0.5f);
    EXPECT_EQ(table.pointsCombo[1], 100);
    EXPECT_EQ(table.pointsCombo[10], 1000);
    EXPECT_EQ(table.pointsPastry[1], 10);
    EXPECT_EQ(table.qualityMatch[0], 0.0f);

    EXPECT_EQ(getBonusMeterGain(3, 0, 1.0f), 0);
    EXPECT_EQ(getBonusMeterGain(9, 0, 1.0f), 7);
    EXPECT_EQ(getBonusMeterGain(3, 12, 1.0f), 20);
    EXPECT_EQ(getBonusMeterGain(3, 9, 1.0f), 19);
    EXPECT_EQ(getBonusMeterGain(7, 0, 0.5f), 3);
}

TEST_F(GameDataTest, LevelParseResolvesBooksAndFallsBack)
{
    const Level& level = state().levelManager.getLevel();
    ASSERT_EQ(level.recipes.size(), 3u);
    EXPECT_EQ(level.recipes[0]->getName(), "TART");
    EXPECT_EQ(level.recipes[1]->getName(), "PIE");
    EXPECT_EQ(level.recipes[2]->getName(), "CAKE");
    ASSERT_EQ(level.ingredients.size(), 3u);
    EXPECT_EQ(level.ingredients[0].unripeChance, 25);
    EXPECT_EQ(level.ingredients[0].id, "ING_APPLE");
    EXPECT_TRUE(level.ingredients[0].isFruit);
    EXPECT_EQ(level.ingredients[1].unripeChance, 0); // the book says it cannot be unripe
    EXPECT_EQ(level.ingredients[1].distribution, 20);
    EXPECT_FALSE(level.ingredients[1].matching);
    EXPECT_EQ(level.findIngredient("MYSTERY")->id, "");
    EXPECT_EQ(level.findIngredient("NONE"), nullptr);
    EXPECT_EQ(level.getIngredientWeights(), (std::vector<int>{10, 20, 3}));
    EXPECT_EQ(level.customerName, "CUSTOMER_HENRI");
    ASSERT_NE(level.customerRecord, nullptr);
    EXPECT_EQ(level.customerRecord->happy, 5);
    EXPECT_EQ(level.starsGoal, 12);
    EXPECT_EQ(level.starsReward, 0);
    EXPECT_EQ(level.durationTime, 1000);
    EXPECT_EQ(level.pastriesStart, 0);
    EXPECT_EQ(level.pastriesDelta, 1);
    EXPECT_EQ(level.distanceStart, 120);
    EXPECT_EQ(level.themeName, "birthday");
    EXPECT_EQ(level.themeNumber, 1);
    // Keys the level leaves out take their defaults.
    EXPECT_EQ(level.percentX3, 0.0f);
    EXPECT_EQ(level.percentX5, 0.0f);
    EXPECT_EQ(level.durationDelta, 0);
    EXPECT_EQ(level.distanceDelta, 0);
    EXPECT_EQ(level.distanceDeviation, 0);

    state().levelManager.selectLevel(1);
    const Level& exam = state().levelManager.getLevel();
    EXPECT_EQ(exam.levelIndex, 1);
    EXPECT_EQ(exam.starsReward, 3);
    EXPECT_FLOAT_EQ(exam.percentX5, 0.5f);
    EXPECT_FLOAT_EQ(exam.percentX3, 0.25f);
    EXPECT_EQ(exam.themeNumber, 7);
    EXPECT_EQ(exam.starsGoal, 4);
    EXPECT_EQ(exam.durationTime, 5000);
    EXPECT_EQ(exam.pastriesDelta, 2);
    EXPECT_EQ(exam.distanceStart, 300);
    EXPECT_EQ(exam.distanceDelta, 20);
    EXPECT_EQ(exam.durationDelta, -100);
    EXPECT_EQ(exam.pastriesStart, 5);
    EXPECT_EQ(exam.distanceDeviation, 5);
    EXPECT_EQ(exam.customerName, "CUSTOMER_ANNE");
}

TEST_F(GameDataTest, LevelListSelectionAndRestore)
{
    LevelManager& list = state().levelManager;
    EXPECT_EQ(list.getLevelCount(), 11); // the entry without a file name is ignored
    list.selectLevel(11);
    EXPECT_EQ(list.getCurrentIndex(), 0);
    list.selectLevel(-1);
    EXPECT_EQ(list.getCurrentIndex(), 0);

    RefPointer<PropertyStore> hex = parseXml(R"(<root><LevelManager id="m" currentLevel="#A"/></root>)");
    list.restore(hex->getChild("m"));
    EXPECT_EQ(list.getCurrentIndex(), 10);
    EXPECT_EQ(list.getLevel().themeName, "exam2");

    RefPointer<PropertyStore> none = parseXml(R"(<root><LevelManager id="m"/></root>)");
    list.restore(none->getChild("m"));
    EXPECT_EQ(list.getCurrentIndex(), 10);
    list.restore(nullptr);
    EXPECT_EQ(list.getCurrentIndex(), 10);

    list.selectLevel(0); // both ends of the list can be chosen
    EXPECT_EQ(list.getCurrentIndex(), 0);
    list.selectLevel(10);
    EXPECT_EQ(list.getCurrentIndex(), 10);

    LevelManager empty;
    RefPointer<PropertyStore> nothing = parseXml("<root><Vector id=\"levels\"/></root>");
    empty.parseList(nothing.get(), &state().cookbook, &state().ingredientBook, &state().customerBook);
    EXPECT_EQ(empty.getLevel().themeName, "Dummy");
    empty.selectLevel(0);
    EXPECT_EQ(empty.getLevel().themeName, "Dummy");
}

TEST_F(GameDataTest, ADamagedHighestLevelFallsBackToTheLastCareerLevelWonAndNoFurther)
{
    // Eleven career levels: 10 is the last; stars for 11 cannot open it.
    RefPointer<PropertyStore> read = parseXml(R"(<root><TortelunePlayer id="p" name="Cy" highest_level_reached="nan">
        <Vector id="level_stars"><Entry key="3" val="1"/><Entry key="10" val="2"/><Entry key="11" val="3"/></Vector>
        </TortelunePlayer></root>)");
    RefPointer<TortelunePlayer> player(new TortelunePlayer(read->getChild("p")));
    EXPECT_EQ(player->highestLevelReached, 10);
}

TEST_F(GameDataTest, AnotherGameDataEndingLeavesTheSharedOneInPlace)
{
    {
        RefPointer<GameData> other(new GameData());
    }
    EXPECT_EQ(GameData::instance, data.get());
}

TEST_F(GameDataTest, ExamLevelsAreCareerOnly)
{
    state().mode = 0;
    data->startLevel(1);
    EXPECT_TRUE(data->isExamLevel());
    state().mode = 1;
    data->startLevel(0);
    EXPECT_EQ(data->getCurrentLevel().themeName, "exam2");
    EXPECT_FALSE(data->isExamLevel());
}

TEST_F(GameDataTest, FillExamOrdersQueuesWholeRoundsThenTheFirstRecipes)
{
    state().mode = 0;
    data->startLevel(1);
    EXPECT_EQ(state().order.size(), 5u); // arcadeLevel 0: pastriesStart
    state().playSessionInfo.arcadeLevel = 1;
    data->fillExamOrders();
    EXPECT_EQ(state().order.size(), 7u);
    std::map<std::string, int> counts = countRecipes();
    EXPECT_EQ(counts["TART"], 3);
    EXPECT_EQ(counts["PIE"], 2);
    EXPECT_EQ(counts["CAKE"], 2);
}

TEST_F(GameDataTest, FillExamOrdersOnALevelWithoutRecipesQueuesNothing)
{
    state().mode = 0;
    data->startLevel(2);
    data->fillExamOrders();
    EXPECT_TRUE(state().order.isEmpty());
    state().playSessionInfo.arcadeLevel = 1000000000;
    data->startLevel(1);
    state().playSessionInfo.arcadeLevel = 1000000000;
    data->fillExamOrders();
    EXPECT_LE(state().order.size(), 10000u); // a damaged wave counter is capped
}

TEST_F(GameDataTest, CareerOrderIsEveryRecipeOnceShuffledWithTheCRuntimeGenerator)
{
    state().mode = 0;
    generator.seed(777);
    data->startLevel(0);
    std::vector<std::string> order;
    for (const RefPointer<Pastry>& pastry : state().order.getPastries())
        order.push_back(pastry->recipe->getName());

    std::vector<std::string> expected = {"TART", "PIE", "CAKE"};
    CRuntimeRandom reference(777);
    reference.shuffle(expected);
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(state().levelOver);
}

TEST_F(GameDataTest, ArcadeResetCountsTheQueuedPastriesAsStars)
{
    state().mode = 1;
    state().bonusMeter.setFrenzy(true);
    state().conveyorBelt.speed = 2.0f;
    state().levelOver = true;
    data->startLevel(0);
    EXPECT_EQ(state().playSessionInfo.starCount, 5);
    EXPECT_FALSE(state().bonusMeter.isFrenzy());
    EXPECT_EQ(state().conveyorBelt.speed, 0.0f);
    EXPECT_FALSE(state().levelOver);
}

TEST_F(GameDataTest, SaveGameOfAFinishedLevelWritesNothing)
{
    data->startLevel(0);
    state().levelOver = true;
    RefPointer<PropertyNode> node(new PropertyNode("save", "Save"));
    data->saveGame(node.get());
    EXPECT_EQ(node->getNamedCount(), 0);
}

// A level in progress saved into the player's enciphered saved-game file and
// restored into fresh game data gives back the same state.
TEST_F(GameDataTest, LevelInProgressRoundTripsThroughTheSavedGameFile)
{
    state().mode = 0;
    data->startLevel(1);
    GameDataState& s = state();
    s.playSessionInfo.score = 4321;
    s.playSessionInfo.arcadeLevel = 2;
    s.playSessionInfo.matches[3] = 8;
    s.playSessionInfo.startTime = PlaySessionInfo::currentCalendarTime() - 60;
    RefPointer<Pastry> onCounter = s.order.takeNext();
    onCounter->deliverIngredient("CHERRY");
    onCounter->addQuality(0.5f);
    s.pastryWrapper.set(2, onCounter);
    RefPointer<Spot> spot(new Spot(s.order.takeNext().get()));
    spot->state = Spot::Complete;
    spot->spriteX = 400;
    spot->savedIngredientX = {401, 402};
    s.conveyorBelt.addSpot(spot.get());
    s.conveyorBelt.distance = 77.5f;
    s.conveyorBelt.graceTimer.start(3000);
    s.conveyorBelt.graceTimer.advance(1000);
    s.bonusMeter.setFill(55.5f);
    s.bonusMeter.setFrenzyCount(2);
    std::vector<std::string> queued;
    for (const RefPointer<Pastry>& pastry : s.order.getPastries())
        queued.push_back(pastry->recipe->getName());

    RefPointer<PlayerManager> players(new PlayerManager(true, "1.0"));
    players->setBaseFolder(folder);
    {
        RefPointer<PropertyStore> store(new PropertyStore());
        RefPointer<PropertyNode> saved(new PropertyNode("savegame", "SaveGame"));
        data->saveGame(saved.get());
        EXPECT_EQ(saved->getCount(), 8);
        store->addChild(saved.get());
        ASSERT_TRUE(players->saveGameState("LEVEL", "Ann", *store));
    }
    EXPECT_TRUE(testFileExists(folder + "/savegames/-41-nn/LEVEL.sav.!"));
    EXPECT_TRUE(players->savedGameExists("LEVEL", "Ann"));

    RefPointer<GameData> fresh(new GameData());
    fresh->loadMedia(folder);
    fresh->state->levelOver = true;
    RefPointer<PropertyStore> loaded(new PropertyStore());
    ASSERT_TRUE(players->loadGameState("LEVEL", "Ann", *loaded));
    PropertyNode* node = loaded->getNode("savegame");
    ASSERT_TRUE(hasChild(node, "arcadelevelmanager"));
    ASSERT_TRUE(hasChild(node->getNode("levelmanager"), "currentLevel"));
    fresh->loadGame(node);

    GameDataState& r = *fresh->state;
    EXPECT_FALSE(r.levelOver);
    EXPECT_EQ(r.levelManager.getCurrentIndex(), 1);
    EXPECT_EQ(r.levelManager.getLevel().themeName, "exam2");
    EXPECT_EQ(r.playSessionInfo.score, 4321);
    EXPECT_EQ(r.playSessionInfo.arcadeLevel, 2);
    EXPECT_EQ(r.playSessionInfo.matches.at(3), 8);
    EXPECT_NEAR(PlaySessionInfo::currentCalendarTime() - r.playSessionInfo.startTime, 60, 2);
    std::vector<std::string> restoredQueue;
    for (const RefPointer<Pastry>& pastry : r.order.getPastries())
        restoredQueue.push_back(pastry->recipe->getName());
    EXPECT_EQ(restoredQueue, queued);
    ASSERT_NE(r.pastryWrapper.get(2), nullptr);
    EXPECT_EQ(r.pastryWrapper.get(2)->recipe->getName(), onCounter->recipe->getName());
    EXPECT_EQ(r.pastryWrapper.get(2)->ingredients, onCounter->ingredients);
    EXPECT_FLOAT_EQ(r.pastryWrapper.get(2)->quality, onCounter->quality);
    ASSERT_EQ(r.conveyorBelt.spots.size(), 1u);
    EXPECT_EQ(r.conveyorBelt.spots[0]->state, Spot::Complete);
    EXPECT_EQ(r.conveyorBelt.spots[0]->savedIngredientX, (std::vector<int32_t>{401, 402}));
    EXPECT_FLOAT_EQ(r.conveyorBelt.distance, 77.5f);
    EXPECT_EQ(r.conveyorBelt.graceTimer.getTime(), 2000);
    EXPECT_FLOAT_EQ(r.bonusMeter.getFill(), 55.5f);
    EXPECT_EQ(r.bonusMeter.getFrenzyCount(), 2);

    players->deleteSavedGame("LEVEL", "Ann");
    EXPECT_FALSE(players->savedGameExists("LEVEL", "Ann"));
}

TEST_F(GameDataTest, LoadingAGameWithMissingPartsKeepsTheOthers)
{
    data->startLevel(3);
    RefPointer<PropertyStore> partial =
        parseXml(R"(<root><SaveGame id="s"><BonusMeter id="bonusmeter" frenzy="true" quality="12.5" frenzycount="1"/>
        </SaveGame></root>)");
    state().pastryWrapper.set(1, new Pastry(state().cookbook.findRecipe("PIE")));
    data->loadGame(partial->getChild("s"));
    EXPECT_EQ(state().pastryWrapper.get(1), nullptr); // nothing of the earlier countertop stays
    EXPECT_EQ(state().levelManager.getCurrentIndex(), 3);
    EXPECT_TRUE(state().bonusMeter.isFrenzy());
    EXPECT_TRUE(state().order.isEmpty());
    data->loadGame(nullptr);
    EXPECT_FALSE(state().bonusMeter.isFrenzy());
}

// The play session's multipliers, with values worked out by hand from the
// rules: tools count only on career levels that are not exams; frenzy raises
// a factor to its frenzy value when that is larger; the arcade (only) takes
// the exam factor on top; quality picks fruit before chocolate before pastry.
class PlaySessionRulesTest : public GameDataTest {
protected:
    PlaySessionRulesTest()
    {
        setTuningFloat("EXAM_MULTIPLIER_SCORE", 1.25f);
        setTuningFloat("FRENZY_MULTIPLIER_SCORE", 1.75f);
        setTuningFloat("TOOL_HIGHERSCORE_MULTIPLIER", 2.0f);
        setTuningFloat("TOOL_QUALITYFRUIT_MULTIPLIER", 1.5f);
        setTuningFloat("TOOL_QUALITYCHOCOLATE_MULTIPLIER", 1.25f);
        setTuningFloat("FRENZY_MULTIPLIER_QUALITY", 1.375f);
        setTuningFloat("TOOL_FASTGAME_MULTIPLIER", 1.5f);
        setTuningFloat("FRENZY_MULTIPLIER_ANIMATIONS", 1.75f);
    }

    enum Where { Career, Exam, Arcade };
    // Starts the career level 0, the exam level 1 or the arcade set 0 with
    // the two tools, frenzy on or off.
    PlaySessionInfo& play(Where where, bool frenzy, int tool1, int tool2)
    {
        state().mode = where == Arcade ? 1 : 0;
        data->startLevel(where == Exam ? 1 : 0);
        state().playSessionInfo.applyTools(tool1, tool2);
        state().bonusMeter.setFrenzy(frenzy);
        return state().playSessionInfo;
    }
};

TEST_F(PlaySessionRulesTest, ScoreAndAnimationMultipliersAndToolsByPlace)
{
    struct Case {
        Where where;
        bool frenzy;
        float score;
        float animation;
        bool toolsCount;
    };
    // Tools 2 (score x2.0) and 9 (animations x1.5); frenzy 1.75 for both.
    const Case cases[] = {
        {Career, false, 2.0f, 1.5f, true},
        {Career, true, 2.0f, 1.75f, true},      // max(2.0, 1.75); max(1.5, 1.75)
        {Exam, false, 1.0f, 1.0f, false},       // tools ignored, no exam factor
        {Exam, true, 1.75f, 1.75f, false},
        {Arcade, false, 1.25f, 1.0f, false},    // 1.0 x 1.25
        {Arcade, true, 2.1875f, 1.75f, false},  // 1.75 x 1.25
    };
    for (const Case& c : cases) {
        PlaySessionInfo& session = play(c.where, c.frenzy, 2, 9);
        SCOPED_TRACE(testing::Message() << "place " << c.where << " frenzy " << c.frenzy);
        EXPECT_FLOAT_EQ(session.getScoreMultiplier(), c.score);
        EXPECT_FLOAT_EQ(session.getAnimationSpeedMultiplier(), c.animation);
        EXPECT_EQ(session.hasTool(2), c.toolsCount);
        EXPECT_EQ(session.hasTool(9), c.toolsCount);
        EXPECT_FALSE(session.hasTool(4));
    }
}

TEST_F(PlaySessionRulesTest, QualityFactorPicksFruitBeforeChocolateBeforePastry)
{
    // Tools 4 (fruit x1.5) and 5 (chocolate x1.25); frenzy quality 1.375.
    struct Case {
        const char* ingredient;
        float calm;
        float frenzy;
    };
    const Case cases[] = {
        {"CHOCOCHERRY", 1.5f, 1.5f},  // fruit and chocolate: fruit wins; max(1.5, 1.375)
        {"COCOA", 1.25f, 1.375f},     // chocolate before pastry
        {"APPLE", 1.5f, 1.5f},        // the first entry of a name counts
        {"FLOUR", 1.0f, 1.375f},      // pastry keeps 1.0 without a tool
        {"MYSTERY", 1.0f, 1.375f},    // not in the book
    };
    for (Where where : {Career, Arcade}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.ingredient << " place " << where);
            EXPECT_FLOAT_EQ(play(where, false, 4, 5).getQualityMultiplier(c.ingredient), c.calm);
            EXPECT_FLOAT_EQ(play(where, true, 4, 5).getQualityMultiplier(c.ingredient), c.frenzy);
        }
    }
}

// The saved game as a file: every key name, type name and the order of
// everything, written out by hand from the saved formats. Round trips stay
// green when a key is renamed on both sides; this does not. (The end time is
// the saving moment and is blanked out.)
TEST_F(GameDataTest, SavedGameHasExactlyTheFileLayout)
{
    state().mode = 0;
    generator.seed(5);
    data->startLevel(1);
    GameDataState& s = state();
    s.playSessionInfo.score = 4321;
    s.playSessionInfo.starCount = 2;
    s.playSessionInfo.matches[5] = 1;
    s.playSessionInfo.matches[3] = 8;
    RefPointer<Pastry> onCounter = s.order.takeNext();
    onCounter->addQuality(0.5f);
    s.pastryWrapper.set(2, onCounter);
    RefPointer<Spot> spot(new Spot(s.order.takeNext().get()));
    spot->state = Spot::Complete;
    spot->spriteX = 400;
    s.conveyorBelt.addSpot(spot.get());
    s.conveyorBelt.speed = 1.5f;
    s.conveyorBelt.distance = 77.25f;
    s.conveyorBelt.graceTimer.start(3000);
    s.conveyorBelt.graceTimer.advance(1000);
    s.bonusMeter.setFill(12.5f);
    s.bonusMeter.setFrenzyCount(1);

    RefPointer<PropertyStore> store(new PropertyStore());
    RefPointer<PropertyNode> saved(new PropertyNode("savegame", "SaveGame"));
    data->saveGame(saved.get());
    store->addChild(saved.get());
    std::string text = store->toXmlText();
    const size_t end = text.find("endTime=\"");
    ASSERT_NE(std::string::npos, end);
    text.replace(end + 9, text.find('"', end + 9) - (end + 9), "T");
    EXPECT_EQ(text, R"(<root>
    <SaveGame id="savegame">
        <ConveyorBelt id="conveyorbelt" speed="1.5" distance="77.25">
            <Vector id="spots">
                <Spot state="2" hasArrived="false" spriteX="400">
                    <Pastry id="pastry" quality="0.000000" recipe="TART" index="0">
                        <Vector id="ingredients">
                            <Ingredient name="APPLE" amount="3" />
                            <Ingredient name="FLOUR" amount="2" />
                            <Ingredient name="SUGAR" amount="1" />
                        </Vector>
                    </Pastry>
                    <Vector id="ingredients" />
                </Spot>
            </Vector>
            <AlarmClock id="graceTimer" originalTime="3000" time="2000" isRinging="false" />
        </ConveyorBelt>
        <GridWrapper id="gridwrapper">
            <Vector id="cells" />
        </GridWrapper>
        <LevelManager id="levelmanager" currentLevel="1" />
        <ArcadeManager id="arcadelevelmanager" currentLevel="0" />
        <Order id="order">
            <Vector id="pastries">
                <Pastry quality="0.000000" recipe="PIE" index="0">
                    <Vector id="ingredients">
                        <Ingredient name="CHERRY" amount="2" />
                    </Vector>
                </Pastry>
                <Pastry quality="0.000000" recipe="CAKE" index="0">
                    <Vector id="ingredients" />
                </Pastry>
                <Pastry quality="0.000000" recipe="TART" index="0">
                    <Vector id="ingredients">
                        <Ingredient name="APPLE" amount="3" />
                        <Ingredient name="FLOUR" amount="2" />
                        <Ingredient name="SUGAR" amount="1" />
                    </Vector>
                </Pastry>
            </Vector>
        </Order>
        <PlaySessionInfo id="playsessioninfo" score="4321" starCount="2" startTime="0" endTime="T" pauseTime="0" )"
              R"(hasCheated="false" allFullQuality="true" multiplierScore="1.000000" multiplierScoreExam="2.000000" )"
              R"(multiplierScoreFrenzy="1.000000" multiplierQualityFruit="1.000000" multiplierQualityChocolate="1.000000" )"
              R"(multiplierQualityPastry="1.000000" multiplierQualityCream="1.000000" multiplierQualityFrenzy="1.000000" )"
              R"(multiplierBonusCollect="1.000000" multiplierBonusTime="1.000000" forgotFullCounter="0" bonusPlusCounter="3" )"
              R"(arcadeLevel="0">
            <Vector id="matches">
                <Entry key="3" val="8" />
                <Entry key="5" val="1" />
            </Vector>
        </PlaySessionInfo>
        <PastryWrapper id="pastrywrapper">
            <Vector id="pastries">
                <Pastry quality="0.500000" recipe="PIE" index="2">
                    <Vector id="ingredients">
                        <Ingredient name="CHERRY" amount="2" />
                    </Vector>
                </Pastry>
            </Vector>
        </PastryWrapper>
        <BonusMeter id="bonusmeter" frenzy="false" quality="12.500000" frenzycount="1" />
    </SaveGame>
</root>
)");
}

} // namespace
