#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Image.h"
#include "framework/players/PlayerManager.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TorteluneScoreEntry.h"
#include "game/dialogs/Trophies.h"
#include "support/GameDataFixtures.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

const char* const kTrophies = R"(<root>
    <String id="TROPHY_SECTION" value="trophies"/>
    <Vector id="TROPHIES">
        <Trophy><Vector id="trophyinfos">
            <Info image="T0_ON" x="10" y="20" headerId="H0" textId="X0"/>
            <Info image="T0_BIG" section="bigtrophies"/>
            <Info image="T0_OFF"/>
        </Vector></Trophy>
        <Trophy><Vector id="trophyinfos"><Info image="T1"/><String value="not a node"/><Info/></Vector></Trophy>
        <Trophy/>
        <Trophy/>
    </Vector>
</root>)";

const char* const kTools = R"(<root><Vector id="tools">
    <Tool name="TEXT_TOOL0" icon="ICON_ZAP" button="BUTTON_ZAP" price="30" slot="A" level="1"/>
    <Tool name="TEXT_TOOL1" icon="ICON_METER" button="BUTTON_METER" price="50" slot="B" level="2"/>
    <Gizmo name="UNKNOWN_KIND"/>
    <Tool name="TEXT_TOOL3" description="long" descriptionshort="short" slot="C" level="3"/>
</Vector></root>)";

const char* const kRanks = R"(<root><Vector id="ranks">
    <Rank name="TEXT_RANK0" score="0" reward="TEXT_REWARD_PLAIN"/>
    <Rank name="TEXT_RANK1" score="1000" reward="TEXT_REWARD_PLAIN"/>
    <Rank name="TEXT_RANK2" score="5000" reward="TEXT_REWARD_BONUS"/>
    <Rank name="TEXT_RANK3" score="9000" reward="TEXT_REWARD_ARCADE"/>
    <Rank name="TEXT_RANK4" score="12000" reward="TEXT_REWARD_BONUS"/>
    <Rank name="TEXT_RANK5" score="20000" reward="TEXT_REWARD_TWO"/>
    <Rank name="TEXT_RANK6" score="30000" reward="TEXT_REWARD_BONUS"/>
    <Rank name="TEXT_RANK7" score="40000" reward="TEXT_REWARD_BONUS"/>
    <Rank name="TEXT_RANK8" score="50000" reward="TEXT_REWARD_BONUS"/>
</Vector></root>)";

class ProfileTest : public ::testing::Test {
protected:
    ProfileTest() : folder(makeTestFolder("files"))
    {
        Trophies::setDefinitionFile(folder + "/trophies.xml");
        writeTestFile(folder + "/trophies.xml", kTrophies);
        ToolCatalog::create()->parse(parseXml(kTools).get());
    }
    ~ProfileTest() override
    {
        ToolCatalog::destroyInstance();
        Trophies::setDefinitionFile(Trophies::kDefaultFile);
    }

    // The profile written into a players-file element, printed to XML and read back.
    RefPointer<TortelunePlayer> throughXml(TortelunePlayer& player)
    {
        RefPointer<PropertyStore> store(new PropertyStore());
        RefPointer<PropertyNode> node(new PropertyNode("profile"));
        player.writeTo(node.get());
        store->addChild(node.get());
        RefPointer<PropertyStore> read = parseXml(store->toXmlText());
        return RefPointer<TortelunePlayer>(new TortelunePlayer(read->getChild("profile")));
    }

    ScopedGameTuning tuningScope;
    LogCapture log;
    std::string folder;
};

TEST_F(ProfileTest, NewProfileStartValues)
{
    TortelunePlayer player("Ann");
    EXPECT_EQ(player.rank, 0);
    EXPECT_EQ(player.highestLevelReached, -1);
    EXPECT_TRUE(player.showHints);
    EXPECT_EQ(player.toolSlots, (std::vector<int>{-1, -1}));
    EXPECT_EQ(player.getTotalStars(), 0);
    ASSERT_NE(player.getTrophies(), nullptr);
    EXPECT_EQ(player.getTrophies()->getCount(), 4);

    using P = TortelunePlayer;
    bool P::*const notices[] = {&P::newLevelNotice,   &P::toolLevel0Notice, &P::starBonus0Notice,
                                &P::arcadeSet0Notice, &P::arcadeSet1Notice, &P::starBonus1Notice,
                                &P::arcadeSets2And3Notice, &P::starBonus2Notice, &P::toolLevel1Notice,
                                &P::starBonus3Notice, &P::arcadeSets4And5Notice};
    for (bool P::*notice : notices)
        player.*notice = true;
    player.clearNotices();
    for (bool P::*notice : notices)
        EXPECT_FALSE(player.*notice);
}

TEST_F(ProfileTest, RoundTripKeepsMapsListsAndTrophies)
{
    TortelunePlayer player("Ann Lee");
    player.arcadeUnlocked = true;
    player.showHints = false;
    player.highestLevelReached = 7;
    player.setHintSeen("HINT_SWAP");
    player.setHintSeen("HINT_ALPHA");
    player.setBonusSeen("BONUS_ZAP", 4);
    player.updateLevelScore(9, 900);
    player.updateLevelScore(2, 200);
    player.updateLevelStars(2, 3);
    player.levelTries[2] = 5;
    player.updateArcadeScore(1, 12345);
    player.updateArcadeLevel(1, 6);
    player.arcadeState[0] = 2;
    player.starsOffset = -40;
    player.buyTool(3);
    player.buyTool(1);
    player.toolSlots = {3, -1};
    player.addToolLevel(1);
    player.addToolLevel(0);
    player.rank = 4;
    player.score = 98765;
    player.numMatches = 11;
    player.numPastries = 12;
    player.numShopVisits = 13;
    player.numArcadeVisits = 14;
    player.newLevelNotice = true;
    player.getTrophies()->setState(0, Trophy::Earned);
    player.getTrophies()->setState(1, Trophy::Announced);
    player.getTrophies()->setState(2, Trophy::Seen);

    RefPointer<TortelunePlayer> read = throughXml(player);
    EXPECT_EQ(read->getName(), "Ann Lee");
    EXPECT_TRUE(read->arcadeUnlocked);
    EXPECT_FALSE(read->showHints);
    EXPECT_EQ(read->highestLevelReached, 7);
    EXPECT_EQ(read->seenHints, (std::vector<std::string>{"HINT_SWAP", "HINT_ALPHA"}));
    EXPECT_EQ(read->seenBonus, player.seenBonus);
    EXPECT_EQ(read->levelScore, player.levelScore);
    EXPECT_EQ(read->levelScore.begin()->first, 2);
    EXPECT_EQ(read->levelStars, player.levelStars);
    EXPECT_EQ(read->levelTries, player.levelTries);
    EXPECT_EQ(read->arcadeScore, player.arcadeScore);
    EXPECT_EQ(read->arcadeLevel, player.arcadeLevel);
    EXPECT_EQ(read->arcadeState, player.arcadeState);
    EXPECT_EQ(read->starsOffset, -40);
    EXPECT_EQ(read->tools, (std::vector<int>{3, 1}));
    EXPECT_EQ(read->toolSlots, (std::vector<int>{3, -1}));
    EXPECT_EQ(read->toolLevels, (std::vector<int>{1, 0}));
    EXPECT_EQ(read->toolBought, player.toolBought);
    EXPECT_EQ(read->rank, 4);
    EXPECT_EQ(read->score, 98765);
    EXPECT_EQ(read->numMatches, 11);
    EXPECT_EQ(read->numArcadeVisits, 14);
    EXPECT_FALSE(read->newLevelNotice); // notices are never saved
    // An earned trophy not yet announced is saved as announced.
    EXPECT_EQ(read->getTrophies()->getState(0), Trophy::Announced);
    EXPECT_EQ(read->getTrophies()->getState(1), Trophy::Announced);
    EXPECT_EQ(read->getTrophies()->getState(2), Trophy::Seen);
    EXPECT_EQ(read->getTrophies()->getState(3), Trophy::NotEarned);
}

TEST_F(ProfileTest, SavedElementHasTheProfileLayout)
{
    TortelunePlayer player("Bo");
    RefPointer<PropertyNode> node(new PropertyNode());
    player.writeTo(node.get());
    EXPECT_EQ(node->getTypeName(), "TortelunePlayer");
    EXPECT_EQ(node->getString("name"), "Bo");
    EXPECT_TRUE(node->getChild("name")->isUntypedValue());
    EXPECT_EQ(node->getString("is_arcade_unlocked"), "false");
    PropertyNode* trophies = node->getNode("trophies");
    EXPECT_EQ(trophies->getTypeName(), "Trophies");
    EXPECT_EQ(trophies->getVector("trophyVector")->getCount(), 4);
    EXPECT_EQ(trophies->getVector("trophyVector")->getAt(0)->getTypeName(), "Integer");
    EXPECT_EQ(node->getVector("toolslots")->getNodeAt(1)->getTypeName(), "ToolSlot");
    EXPECT_EQ(node->getVector("toolslots")->getNodeAt(1)->getInt("val"), -1);
    // Trophies are the last entry of the element.
    EXPECT_EQ(node->getAt(node->getCount() - 1), node->getChild("trophies"));
}

TEST_F(ProfileTest, ProfileWithOnlyANameAndOddToolSlots)
{
    RefPointer<PropertyStore> bare = parseXml(R"(<root><TortelunePlayer id="p" name="Cy"/>
        <TortelunePlayer id="q" name="Di"><Vector id="toolslots"><ToolSlot val="4"/><ToolSlot val="5"/>
        <ToolSlot val="6"/></Vector><Integer id="trophies" value="3"/></TortelunePlayer></root>)");
    RefPointer<TortelunePlayer> plain(new TortelunePlayer(bare->getChild("p")));
    EXPECT_EQ(plain->getName(), "Cy");
    EXPECT_EQ(plain->highestLevelReached, -1);
    EXPECT_EQ(plain->toolSlots, (std::vector<int>{-1, -1}));
    EXPECT_EQ(plain->getTrophies()->getCount(), 4);

    RefPointer<TortelunePlayer> odd(new TortelunePlayer(bare->getChild("q")));
    EXPECT_EQ(odd->toolSlots, (std::vector<int>{4, 5}));
    EXPECT_EQ(odd->getTrophies()->getState(0), 0);
}

TEST_F(ProfileTest, ToolSlotsReadAsExactlyTwoKnownTools)
{
    // One slot, or ids outside the fourteen tools: the slots read as two, unknown ids empty.
    RefPointer<PropertyStore> saved = parseXml(R"(<root>
        <TortelunePlayer id="a" name="A"><Vector id="toolslots"><ToolSlot val="13"/></Vector></TortelunePlayer>
        <TortelunePlayer id="b" name="B"><Vector id="toolslots"><ToolSlot val="14"/><ToolSlot val="-7"/></Vector></TortelunePlayer>
        <TortelunePlayer id="c" name="C"><Vector id="toolslots"><ToolSlot val="99999"/><ToolSlot val="0"/>
        <ToolSlot val="1"/></Vector></TortelunePlayer></root>)");
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"a", {13, -1}}, {"b", {-1, -1}}, {"c", {-1, 0}}};
    for (const auto& [id, slots] : cases) {
        RefPointer<TortelunePlayer> read(new TortelunePlayer(saved->getChild(id)));
        EXPECT_EQ(read->toolSlots, slots) << id;
    }
}

TEST_F(ProfileTest, UpdateRulesKeepTheBestAndTheSmallestSeenBonus)
{
    TortelunePlayer player("Ed");
    player.updateLevelScore(3, 500);
    player.updateLevelScore(3, 200);
    EXPECT_EQ(player.levelScore[3], 500);
    player.updateLevelStars(4, -3);
    EXPECT_EQ(player.levelStars[4], 0);
    player.updateArcadeLevel(1, -1);
    EXPECT_EQ(player.arcadeLevel[1], 0);
    player.setBonusSeen("B", 5);
    player.setBonusSeen("B", 7);
    EXPECT_EQ(player.seenBonus["B"], 5);
    player.setBonusSeen("B", 2);
    EXPECT_EQ(player.seenBonus["B"], 2);
    player.setHintSeen("H");
    player.setHintSeen("H");
    EXPECT_EQ(player.seenHints.size(), 1u);
    EXPECT_TRUE(player.hasSeenHint("H"));
    player.updateLevelStars(1, 3);
    player.updateLevelStars(2, 2);
    player.starsOffset = 10;
    EXPECT_EQ(player.getTotalStars(), 5);
    EXPECT_EQ(player.getSpendableStars(), 15);
}

TEST_F(ProfileTest, BuyingToolsAndSelectingThem)
{
    TortelunePlayer player("Flo");
    player.buyTool(1);
    EXPECT_EQ(player.toolBought[1], 0);
    player.highestLevelReached = 5;
    player.buyTool(1);
    EXPECT_EQ(player.toolBought[1], 0);
    EXPECT_EQ(player.tools.size(), 1u);
    player.buyTool(0);
    EXPECT_EQ(player.toolBought[0], 6);

    player.toolSlots = {0, 1};
    EXPECT_FALSE(player.isToolSelectable(0));
    player.addToolLevel(0);
    player.addToolLevel(0);
    EXPECT_EQ(player.toolLevels.size(), 1u);
    EXPECT_TRUE(player.isToolSelectable(0));
    EXPECT_FALSE(player.isToolSelectable(1)); // tool 1 needs level 1
    player.addToolLevel(1);
    EXPECT_TRUE(player.isToolSelectable(1));
    EXPECT_FALSE(player.isToolSelectable(2)); // no such tool in the catalogue
    player.toolSlots = {-1, -1};
    EXPECT_FALSE(player.isToolSelectable(0));
}

TEST_F(ProfileTest, ToolCatalogMapsSlotsLevelsAndImageNames)
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    EXPECT_EQ(catalog->getToolCount(), 3);
    EXPECT_EQ(catalog->find(2), nullptr); // the entry of an unknown kind leaves its id empty
    EXPECT_EQ(catalog->find(99), nullptr);
    EXPECT_EQ(catalog->find(-1), nullptr);
    const Tool* meter = catalog->find(1);
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->slot, 1);
    EXPECT_EQ(meter->level, 1);
    EXPECT_EQ(meter->price, 50);
    EXPECT_EQ(meter->name, "TEXT_TOOL1");
    EXPECT_EQ(catalog->find(3)->description, "long");
    EXPECT_EQ(catalog->find(3)->price, 0);
    EXPECT_EQ(catalog->find(0)->slot, 0);
    EXPECT_EQ(catalog->find(0)->level, 0);
    EXPECT_EQ(catalog->find(3)->slot, 0);
    EXPECT_EQ(catalog->find(3)->level, 0);
    EXPECT_EQ(catalog->find(3)->descriptionShort, "short");
    EXPECT_EQ(catalog->getIconImageName(1), "ICON_METER");
    EXPECT_EQ(catalog->getBigIconImageName(1), "ICON_METER_BIG");
    EXPECT_EQ(catalog->getButtonImageName(1), "BUTTON_METER");
    EXPECT_EQ(catalog->getShopButtonImageName(1), "BUTTON_METER_SHOP");
    EXPECT_EQ(catalog->getShopButtonImageName(2), "");
    // No image loaded for a tool: none is returned, and the log names what is missing.
    EXPECT_EQ(catalog->getIconImage(1), nullptr);
    EXPECT_TRUE(log.contains("No image ICON_METER in section"));
    EXPECT_EQ(catalog->getButtonImage(2), nullptr);
    EXPECT_TRUE(log.contains("No tool 2 in the tool catalogue"));
}

TEST_F(ProfileTest, TrophyRecordsTakeDefaultsAndRefuseIndexesOutsideTheList)
{
    Trophies trophies;
    EXPECT_TRUE(trophies.getSaveNotShownAsNew());
    const Trophy* first = trophies.getTrophy(0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->getInfoCount(), 3);
    EXPECT_EQ(first->getInfo(0)->x, 10);
    EXPECT_EQ(first->getInfo(0)->headerId, "H0");
    EXPECT_EQ(first->getInfo(0)->section, "trophies");
    EXPECT_EQ(first->getInfo(1)->section, "bigtrophies");
    EXPECT_EQ(first->getInfo(3), nullptr);
    const Trophy* second = trophies.getTrophy(1);
    ASSERT_EQ(second->getInfoCount(), 3);
    EXPECT_EQ(second->getInfo(1)->image, "");
    EXPECT_EQ(second->getInfo(1)->section, "trophies");
    EXPECT_EQ(trophies.getTrophy(4), nullptr);
    EXPECT_EQ(trophies.getState(14), 0);
    trophies.setState(14, 1); // ignored
    trophies.setState(-1, 1);

    RefPointer<PropertyStore> saved = parseXml(R"(<root><Trophies id="t"><Vector id="trophyVector">
        <Integer value="3"/><String value="x"/><Integer value="1"/><Integer value="2"/><Integer value="3"/>
        <Integer value="3"/></Vector></Trophies></root>)");
    trophies.load(saved->getChild("t"));
    EXPECT_EQ(trophies.getState(0), 3);
    EXPECT_EQ(trophies.getState(1), 0);
    EXPECT_EQ(trophies.getState(2), 1);
    EXPECT_EQ(trophies.getState(3), 2);

    RefPointer<PropertyStore> keepNew = parseXml(R"(<root><Boolean id="SAVE_NOT_SHOWN_AS_NEW" value="false"/>
        <Vector id="TROPHIES"><Trophy/></Vector></root>)");
    Trophies literal(keepNew.get());
    literal.setState(0, Trophy::Earned);
    RefPointer<PropertyNode> node(new PropertyNode("trophies", "Trophies"));
    literal.save(node.get());
    EXPECT_EQ(node->getVector("trophyVector")->getAt(0)->getInt(), 1);
}

TEST_F(ProfileTest, MissingTrophyFileGivesNoTrophies)
{
    Trophies::setDefinitionFile(folder + "/none.xml");
    Trophies none;
    EXPECT_EQ(none.getCount(), 0);
    EXPECT_EQ(none.getTrophy(0), nullptr);
}

TEST_F(ProfileTest, ScoreEntryKeepsItsWideText)
{
    TorteluneScoreEntry entry("Gil", 4200, u"caf\u00e9 \u2605");
    RefPointer<PropertyStore> store(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("row"));
    entry.writeTo(node.get());
    store->addChild(node.get());
    RefPointer<PropertyStore> read = parseXml(store->toXmlText());
    EXPECT_EQ(read->getNode("row")->getTypeName(), "TorteluneScore");
    TorteluneScoreEntry back(read->getChild("row"));
    EXPECT_EQ(back.playerName, "Gil");
    EXPECT_EQ(back.scoreValue, 4200);
    EXPECT_TRUE(back.isPlayerScore);
    EXPECT_EQ(back.extra, entry.extra);
}

class RankTest : public ::testing::Test {
protected:
    RankTest()
    {
        table->setDefinitions(parseXml(kRanks).get());
        BasicProperties& texts = *BasicProperties::instance;
        texts.setText("TEXT_RANK1", u"Apprentice");
        texts.setText("TEXT_REWARD_PLAIN", u"Nothing new");
        texts.setText("TEXT_REWARD_BONUS", u"Bonus %");
        texts.setText("TEXT_REWARD_ARCADE", u"Open: %");
        texts.setText("TEXT_REWARD_TWO", u"% and %");
        texts.setText("TEXT_ARCADENAME1", u"Night bakery");
        texts.setText("TEXT_ARCADENAME2", u"Fair");
        texts.setText("TEXT_ARCADENAME3", u"Market");
        texts.setText("TEXT_THEME4", u"L'amour");
        texts.setText("CTEXT_DIGIT_GROUPING_SYMBOL", u",");
    }

    ScopedGameTuning tuningScope;
    RefPointer<RankTable> table{new RankTable()};
};

TEST_F(RankTest, RankForScoreAndBounds)
{
    EXPECT_EQ(table->getRankCount(), 9);
    EXPECT_EQ(table->getRankForScore(999), 0);
    EXPECT_EQ(table->getRankForScore(1000), 1);
    EXPECT_EQ(table->getRankForScore(7000), 2);
    EXPECT_EQ(table->getRankForScore(-1), -1);
    EXPECT_EQ(table->getRankForScore(1 << 30), 8);
    EXPECT_EQ(table->getRankMaxScore(0), 999);
    EXPECT_EQ(table->getRankName(1), u"Apprentice");
    EXPECT_EQ(table->getRankScore(40), 0);

    RankTable empty;
    empty.setDefinitions(parseXml("<root/>").get());
    EXPECT_EQ(empty.getRankCount(), 0);
    EXPECT_EQ(empty.getRankForScore(100), -1);
}

TEST_F(RankTest, RewardTextsInsertGroupedValuesAndNames)
{
    EXPECT_EQ(table->getRankRewardText(0), u"Nothing new");
    EXPECT_EQ(table->getRankRewardText(2), u"Bonus 12,345");
    EXPECT_EQ(table->getRankRewardText(3), u"Open: Night bakery");
    EXPECT_EQ(table->getRankRewardText(4), u"Bonus 999");
    EXPECT_EQ(table->getRankRewardText(5), u"Fair and Market");
    EXPECT_EQ(table->getRankRewardText(6), u"Bonus %"); // a star bonus of -1 leaves the text
    EXPECT_EQ(table->getRankRewardText(7), u"Bonus %"); // rank 7 inserts nothing
    EXPECT_EQ(table->getRankRewardText(8), u"Bonus 1,000,000");
    // The tenth rank opens the last two arcade games.
    RankTable ten;
    ten.setDefinitions(parseXml(R"(<root><Vector id="ranks"><Rank/><Rank/><Rank/><Rank/><Rank/><Rank/><Rank/>
        <Rank/><Rank/><Rank reward="TEXT_REWARD_TWO" score="60000"/></Vector></root>)").get());
    BasicProperties::instance->setText("TEXT_ARCADENAME4", u"Tea room");
    BasicProperties::instance->setText("TEXT_ARCADENAME5", u"Garden");
    EXPECT_EQ(ten.getRankRewardText(9), u"Tea room and Garden");
    EXPECT_EQ(ten.getRankMaxScore(8), 59999);
    // A value goes in at every mark.
    ten.setDefinitions(parseXml(R"(<root><Vector id="ranks"><Rank/><Rank/><Rank reward="TEXT_REWARD_TWO"/></Vector>
        </root>)").get());
    EXPECT_EQ(ten.getRankRewardText(2), u"12,345 and 12,345");
    BasicProperties::instance->setText("CTEXT_DIGIT_GROUPING_SYMBOL", u"_");
    EXPECT_EQ(table->getRankRewardText(2), u"Bonus 12 345");
    EXPECT_EQ(formatGroupedNumber(-1, u"."), u"-1");
    EXPECT_EQ(formatGroupedNumber(-1234, u"."), u"-1.234");
    EXPECT_EQ(formatGroupedNumber(-123456, u" "), u"-123 456");
    EXPECT_EQ(formatGroupedNumber(INT32_MIN, u","), u"-2,147,483,648");
    EXPECT_EQ(formatGroupedNumber(INT32_MAX, u","), u"2,147,483,647");
    EXPECT_EQ(formatGroupedNumber(0, u","), u"0");
}

TEST_F(RankTest, ThemeIndexesAndTitles)
{
    EXPECT_EQ(getThemeIndex("cake"), 0);
    EXPECT_EQ(getThemeIndex("exam1"), 3);
    EXPECT_EQ(getThemeIndex("lamour"), 4);
    EXPECT_EQ(getThemeIndex("exam3"), 11);
    EXPECT_EQ(getThemeIndex("wedding"), 14);
    EXPECT_EQ(getThemeIndex("Cake"), 15);
    EXPECT_EQ(getThemeIndex(""), 15);
    EXPECT_EQ(getThemeTitle(4), u"L'amour");
}

// The profile as the players file holds it: every key name and the order of
// everything (untyped values become attributes, in their order), written out
// by hand from the profile's saved form. A key renamed on both the writing
// and the reading side keeps round trips green but breaks every player's file.
TEST_F(ProfileTest, SavedProfileHasExactlyTheFileLayout)
{
    TortelunePlayer player("Bo");
    player.arcadeUnlocked = true;
    player.highestLevelReached = 4;
    player.setHintSeen("HINT_SWAP");
    player.setHintSeen("HINT_FRENZY");
    player.setBonusSeen("BONUS_BOMB", 3);
    player.updateLevelScore(2, 900);
    player.updateLevelScore(0, 1500);
    player.updateLevelStars(0, 3);
    player.starsOffset = -25;
    player.levelTries[0] = 2;
    player.arcadeState[1] = 1;
    player.updateArcadeScore(1, 7000);
    player.updateArcadeLevel(1, 3);
    player.buyTool(1);
    player.toolSlots[0] = 1;
    player.addToolLevel(0);
    player.rank = 2;
    player.score = 8400;
    player.numMatches = 120;
    player.numPastries = 14;
    player.numShopVisits = 3;
    player.numArcadeVisits = 1;
    RefPointer<PropertyStore> store(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("profile"));
    player.writeTo(node.get());
    store->addChild(node.get());
    EXPECT_EQ(store->toXmlText(), R"(<root>
    <TortelunePlayer id="profile" name="Bo" is_arcade_unlocked="true" show_hints="true" )"
                                  R"(highest_level_reached="4" stars_offset="-25" rank="2" score="8400" numMatches="120" numPastries="14" )"
                                  R"(numShopVisits="3" numArcadeVisits="1">
        <Vector id="seen_hints">
            <String value="HINT_SWAP" />
            <String value="HINT_FRENZY" />
        </Vector>
        <Vector id="seen_bonus">
            <Entry key="BONUS_BOMB" val="3" />
        </Vector>
        <Vector id="level_score">
            <Entry key="0" val="1500" />
            <Entry key="2" val="900" />
        </Vector>
        <Vector id="level_stars">
            <Entry key="0" val="3" />
        </Vector>
        <Vector id="level_tries">
            <Entry key="0" val="2" />
        </Vector>
        <Vector id="arcade_state">
            <Entry key="1" val="1" />
        </Vector>
        <Vector id="arcade_score">
            <Entry key="1" val="7000" />
        </Vector>
        <Vector id="arcade_level">
            <Entry key="1" val="3" />
        </Vector>
        <Vector id="tools">
            <Tool val="1" />
        </Vector>
        <Vector id="toolslots">
            <ToolSlot val="1" />
            <ToolSlot val="-1" />
        </Vector>
        <Vector id="toollevels">
            <ToolLevel val="0" />
        </Vector>
        <Vector id="toolbought">
            <Entry key="1" val="5" />
        </Vector>
        <Trophies id="trophies">
            <Vector id="trophyVector">
                <Integer value="0" />
                <Integer value="0" />
                <Integer value="0" />
                <Integer value="0" />
            </Vector>
        </Trophies>
    </TortelunePlayer>
</root>
)");
}


// A profile element with the given attributes and two won levels (0 and 4).
std::string profileWith(const std::string& attributes, const std::string& starsOfLevel4 = "2")
{
    return "<root><TortelunePlayer id=\"p\" name=\"Cy\" " + attributes +
           "><Vector id=\"level_stars\"><Entry key=\"0\" val=\"3\"/><Entry key=\"4\" val=\"" + starsOfLevel4 +
           "\"/></Vector></TortelunePlayer></root>";
}

TEST_F(ProfileTest, NumbersThatAreNotWholeOrOutOfRangeAreReplacedAndLogged)
{
    struct Case {
        std::string attributes;
        int TortelunePlayer::*field;
        int expected;
        bool repaired;
    };
    using P = TortelunePlayer;
    const Case cases[] = {
        // A damaged highest level falls back to the highest level won.
        {"highest_level_reached=\"nan\"", &P::highestLevelReached, 4, true},
        {"highest_level_reached=\"1e308\"", &P::highestLevelReached, 4, true},
        {"highest_level_reached=\"-7\"", &P::highestLevelReached, 4, true},
        {"highest_level_reached=\"inf\"", &P::highestLevelReached, 4, true},
        {"highest_level_reached=\"99999999999999999999\"", &P::highestLevelReached, 4, true},
        {"highest_level_reached=\"6 \"", &P::highestLevelReached, 6, false},
        {"highest_level_reached=\"-1\"", &P::highestLevelReached, -1, false},
        {"score=\"-5\"", &P::score, 0, true},
        {"score=\"12abc\"", &P::score, 0, true},
        {"score=\"1200\"", &P::score, 1200, false},
        {"rank=\"nan\"", &P::rank, 0, true},
        {"numMatches=\"1e308\"", &P::numMatches, 0, true},
        {"stars_offset=\"-20\"", &P::starsOffset, -20, false},
        {"stars_offset=\"nan\"", &P::starsOffset, 0, true},
    };
    for (const Case& c : cases) {
        RefPointer<PropertyStore> read = parseXml(profileWith(c.attributes));
        RefPointer<TortelunePlayer> player(new TortelunePlayer(read->getChild("p")));
        EXPECT_EQ((*player).*c.field, c.expected) << c.attributes;
        EXPECT_EQ(player->wasRepairedOnRead(), c.repaired) << c.attributes;
    }
    EXPECT_TRUE(log.contains("highest_level_reached=\"nan\" replaced by 4"));
}

TEST_F(ProfileTest, DamagedMapEntriesAreDroppedAndTheHighestLevelFallsBackToMinusOne)
{
    RefPointer<PropertyStore> read = parseXml(profileWith("highest_level_reached=\"nan\"", "nan"));
    RefPointer<TortelunePlayer> player(new TortelunePlayer(read->getChild("p")));
    EXPECT_EQ(player->levelStars, (std::map<int, int>{{0, 3}}));
    EXPECT_EQ(player->highestLevelReached, 0);
    EXPECT_TRUE(player->wasRepairedOnRead());

    RefPointer<PropertyStore> none = parseXml(R"(<root><TortelunePlayer id="p" name="Cy"
        highest_level_reached="nan"/></root>)");
    RefPointer<TortelunePlayer> fresh(new TortelunePlayer(none->getChild("p")));
    EXPECT_EQ(fresh->highestLevelReached, -1);

    // A level listed with no stars was not won.
    RefPointer<PropertyStore> noStars = parseXml(profileWith("highest_level_reached=\"nan\"", "0"));
    RefPointer<TortelunePlayer> unwon(new TortelunePlayer(noStars->getChild("p")));
    EXPECT_EQ(unwon->highestLevelReached, 0);
}

TEST_F(ProfileTest, APlayersFileWithADamagedNumberIsKeptAsideAndSavedRepaired)
{
    std::filesystem::create_directories(folder + "/players");
    const std::string original = "<root><Players id=\"players\" version=\"1\"><Vector id=\"playernames\">" +
                                 profileWith("highest_level_reached=\"nan\"").substr(6);
    const std::string file = original.substr(0, original.size() - 7) + "</Vector></Players></root>";
    writeTestFile(folder + "/players/players.plrs", file);
    RefPointer<PlayerManager> players(new PlayerManager(false, "1"));
    players->setBaseFolder(folder);
    players->loadPlayerList();
    ASSERT_EQ(players->getPlayers().size(), 1u);
    auto* player = objectCast<TortelunePlayer>(players->getPlayers()[0].get());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->highestLevelReached, 4);

    int keptWhole = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/players"))
        keptWhole += entry.path().filename().string().find(".bak-") != std::string::npos &&
                     readTestFile(entry.path().string()) == file;
    EXPECT_EQ(keptWhole, 1);
    EXPECT_NE(readTestFile(folder + "/players/players.plrs").find("highest_level_reached=\"4\""), std::string::npos);
}

} // namespace
