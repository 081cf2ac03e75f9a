#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/FileModes.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// A profile that keeps a number in the players file and a note in its own file.
class NotePlayer : public AbstractPlayer {
    TT_CLASS_RECORD(NotePlayer)
public:
    explicit NotePlayer(const std::string& name) : AbstractPlayer(name) {}
    explicit NotePlayer(AbstractProperty* node) : AbstractPlayer(node)
    {
        if (PropertyNode* saved = node ? node->asNode() : nullptr)
            level = saved->getInt("level");
    }
    void writeTo(PropertyNode* node) override
    {
        AbstractPlayer::writeTo(node);
        node->setTypeName("NotePlayer");
        node->setInt("level", level, true);
    }
    void writePlayerFile(PropertyNode* node) override
    {
        if (!note.empty())
            node->setString("note", note, true);
    }
    void readPlayerFile(PropertyNode* node) override { note = node->getString("note"); }
    void onDeselected() override { ++deselections; }

    int level = 0;
    std::string note;
    int deselections = 0;
};

TT_DEFINE_RECORD(NotePlayer, &AbstractPlayer::classRecord);
TT_REGISTER_CLASS(NotePlayer);

class PlayersTest : public ::testing::Test {
protected:
    PlayersTest() : folder(makeTestFolder("files")) {}

    RefPointer<PlayerManager> makeManager(bool encrypted = true, const std::string& version = "2.0")
    {
        RefPointer<PlayerManager> manager(new PlayerManager(encrypted, version));
        manager->setBaseFolder(folder);
        return manager;
    }

    void writeSavedGame(PlayerManager& manager, const std::string& mode, const std::string& player)
    {
        RefPointer<PropertyStore> store(new PropertyStore());
        store->addChild(new PropertyValue("marker", mode + player));
        ASSERT_TRUE(manager.saveGameState(mode, player, *store));
    }

    LogCapture log;
    std::string folder;
};

TEST_F(PlayersTest, FirstPlayerBecomesCurrentAndNamesCompareByFileSafeForm)
{
    RefPointer<PlayerManager> manager = makeManager();
    EXPECT_TRUE(manager->addPlayer(new NotePlayer("a b")));
    EXPECT_TRUE(manager->addPlayer(new NotePlayer("Ann")));
    EXPECT_EQ(manager->getCurrentPlayer()->getName(), "a b");
    EXPECT_TRUE(manager->playerExists("a b"));
    EXPECT_FALSE(manager->playerExists("ann"));
    EXPECT_EQ(manager->findPlayer("Ann"), 1);
    EXPECT_EQ(manager->findPlayer("nobody"), -1);

    EXPECT_FALSE(manager->addPlayer(new NotePlayer("")));
    EXPECT_EQ(manager->getPlayers().size(), 2u);
}

TEST_F(PlayersTest, PlayersFileRoundTripWithCurrentPlayerAndPlayerFiles)
{
    {
        RefPointer<PlayerManager> manager = makeManager();
        RefPointer<NotePlayer> ann(new NotePlayer("Ann"));
        ann->level = 12;
        ann->note = "likes pie";
        manager->addPlayer(ann.get());
        manager->addPlayer(new NotePlayer("bo"));
        manager->selectPlayer("bo");
        EXPECT_EQ(ann->deselections, 1);
        ASSERT_TRUE(manager->savePlayerList());
        EXPECT_TRUE(testFileExists(folder + "/players/players.plrs.!"));
        EXPECT_TRUE(testFileExists(folder + "/players/-41-nn.plr.!"));
        EXPECT_FALSE(testFileExists(folder + "/players/bo.plr.!")); // an empty player node writes no file
    }
    RefPointer<PlayerManager> reread = makeManager();
    reread->loadPlayerList();
    ASSERT_EQ(reread->getPlayers().size(), 2u);
    EXPECT_EQ(reread->getCurrentPlayer()->getName(), "bo");
    NotePlayer* ann = objectCast<NotePlayer>(reread->getPlayers()[0].get());
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->level, 12);
    EXPECT_EQ(ann->note, ""); // the player file is read when the player is loaded
    reread->selectPlayer("Ann");
    EXPECT_EQ(ann->note, "likes pie");
}

TEST_F(PlayersTest, UnknownKindsAndAnUnknownCurrentPlayerAreSkipped)
{
    RefPointer<PlayerManager> manager = makeManager(false, "2.0");
    RefPointer<PropertyStore> file(new PropertyStore());
    const std::string xml = R"(<root><Players id="players" version="2.0" currentplayer="zed">
        <Vector id="playernames"><NotePlayer name="Ann" level="3"/><AlienPlayer name="Xi"/>
        <HighScoreEntry playername="Row"/><NotePlayer level="4"/><NotePlayer name="Cy"/></Vector></Players></root>)";
    ASSERT_TRUE(file->loadFromBuffer(xml.data(), xml.size()));
    manager->loadFromNode(file->getNode("players"));
    ASSERT_EQ(manager->getPlayers().size(), 2u);
    EXPECT_EQ(manager->getPlayers()[1]->getName(), "Cy");
    EXPECT_EQ(manager->getCurrentPlayer(), nullptr);
}

// Numbers of the players file: whole decimal text only, inside the caller's bounds.
TEST(PlayersNumberTest, WholeNumbersInsideTheBoundsAreReadAndAllElseRefused)
{
    struct Case {
        const char* text;
        long long low, high;
        bool accepted;
        int value;
    };
    const Case cases[] = {
        {"42", 0, 100, true, 42},
        {" -5\t", -10, 10, true, -5},
        {"+7", 0, 10, true, 7},
        {"-3", -3, 10, true, -3},
        {"-4", -3, 10, false, 0},
        {"0", 0, 10, true, 0},
        {"10", 0, 10, true, 10},
        {"11", 0, 10, false, 0},
        {"", 0, 10, false, 0},
        {"  ", 0, 10, false, 0},
        {"-", -10, 10, false, 0},
        {"12abc", 0, 100, false, 0},
        {"1 2", 0, 100, false, 0},
        {"2147483647", INT_MIN, INT_MAX, true, INT_MAX},
        {"-2147483648", INT_MIN, INT_MAX, true, INT_MIN},
        {"2147483648", 0, 1LL << 40, false, 0},
        {"99999999999999999999", INT_MIN, INT_MAX, false, 0},
    };
    for (const Case& c : cases) {
        int value = 0;
        EXPECT_EQ(parseIntInRange(c.text, c.low, c.high, value), c.accepted) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

TEST_F(PlayersTest, DeletingAPlayerRemovesOnlyTheirSavedGames)
{
    RefPointer<PlayerManager> manager = makeManager();
    manager->addPlayer(new NotePlayer("Ann"));
    manager->addPlayer(new NotePlayer("Bo"));
    writeSavedGame(*manager, "ARCADE", "Ann");
    writeSavedGame(*manager, "LEVEL", "Ann");
    writeSavedGame(*manager, "LEVEL", "Bo");
    EXPECT_TRUE(testFileExists(folder + "/savegames/-41-nn/ARCADE.sav.!"));

    RefPointer<PropertyStore> loaded(new PropertyStore());
    ASSERT_TRUE(manager->loadGameState("ARCADE", "Ann", *loaded));
    EXPECT_EQ(loaded->getString("marker"), "ARCADEAnn");
    RefPointer<PropertyStore> missing(new PropertyStore());
    EXPECT_FALSE(manager->loadGameState("ARCADE", "Bo", *missing));

    EXPECT_FALSE(manager->deletePlayer(""));
    EXPECT_TRUE(manager->savedGameExists("LEVEL", "Bo"));
    // Deleting someone else, or no one known, leaves the current player selected.
    manager->addPlayer(new NotePlayer("Cy"));
    ASSERT_TRUE(manager->deletePlayer("Cy"));
    ASSERT_TRUE(manager->deletePlayer("Nobody"));
    ASSERT_NE(manager->getCurrentPlayer(), nullptr);
    EXPECT_EQ(manager->getCurrentPlayer()->getName(), "Ann");
    EXPECT_EQ(objectCast<NotePlayer>(manager->getCurrentPlayer())->deselections, 0);

    ASSERT_TRUE(manager->deletePlayer("Ann"));
    EXPECT_EQ(manager->getCurrentPlayer(), nullptr);
    EXPECT_FALSE(manager->savedGameExists("ARCADE", "Ann"));
    EXPECT_FALSE(manager->savedGameExists("LEVEL", "Ann"));
    EXPECT_TRUE(manager->savedGameExists("LEVEL", "Bo"));
    ASSERT_EQ(manager->getPlayers().size(), 1u);

    RefPointer<PlayerManager> reread = makeManager();
    reread->loadPlayerList();
    ASSERT_EQ(reread->getPlayers().size(), 1u);
    EXPECT_EQ(reread->getPlayers()[0]->getName(), "Bo");
    EXPECT_EQ(reread->getCurrentPlayer(), nullptr);
}

TEST_F(PlayersTest, LoadingThePlayersSweepsWhatAKilledSaveLeftInEveryPlayersSavedGames)
{
    RefPointer<PlayerManager> manager = makeManager();
    manager->addPlayer(new NotePlayer("Ann"));
    manager->addPlayer(new NotePlayer("Bo"));
    writeSavedGame(*manager, "LEVEL", "Ann");
    writeSavedGame(*manager, "LEVEL", "Bo");
    // The id of a writer that is surely gone: a child that has ended and been reaped.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string leftover = "/.LEVEL.sav.!.tmp-" + std::to_string(child) + "-q1w2e3";
    const std::string annsFolder = manager->getSavedGamesFolder("Ann");
    const std::string bosFolder = manager->getSavedGamesFolder("Bo");
    for (const std::string& savedGames : {annsFolder, bosFolder})
        std::ofstream(savedGames + leftover) << "half";

    // Ann plays on; Bo's folder is not written until Bo plays again.
    writeSavedGame(*manager, "LEVEL", "Ann");
    EXPECT_FALSE(testFileExists(annsFolder + leftover));
    ASSERT_TRUE(testFileExists(bosFolder + leftover));

    ASSERT_TRUE(manager->savePlayerList());
    makeManager()->loadPlayerList();
    EXPECT_FALSE(testFileExists(bosFolder + leftover));
    EXPECT_TRUE(manager->savedGameExists("LEVEL", "Bo"));
}

TEST_F(PlayersTest, CorruptPlayersFileIsKeptAsideAndNotOverwritten)
{
    {
        RefPointer<PlayerManager> manager = makeManager();
        manager->addPlayer(new NotePlayer("Ann"));
        ASSERT_TRUE(manager->savePlayerList());
    }
    const std::string stored = folder + "/players/players.plrs.!";
    std::string damaged = readTestFile(stored);
    ASSERT_GT(damaged.size(), 20u);
    damaged.resize(damaged.size() / 2);
    writeTestFile(stored, damaged);

    RefPointer<PlayerManager> manager = makeManager();
    manager->loadPlayerList();
    // Ann comes back from the last good copy written beside the file.
    ASSERT_EQ(manager->getPlayers().size(), 1u);
    EXPECT_EQ(manager->getPlayers()[0]->getName(), "Ann");
    EXPECT_TRUE(log.contains("kept aside"));
    manager->addPlayer(new NotePlayer("Bo"));
    ASSERT_TRUE(manager->savePlayerList());

    int asideCount = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/players")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("players.plrs.!.bak-", 0) == 0) {
            ++asideCount;
            EXPECT_EQ(readTestFile(entry.path().string()), damaged);
        }
    }
    EXPECT_EQ(asideCount, 1);
}

TEST_F(PlayersTest, PlayersFileOfAnotherVersionLoadsNoPlayerAndIsKeptAside)
{
    {
        RefPointer<PlayerManager> old = makeManager(true, "1.0");
        old->addPlayer(new NotePlayer("Ann"));
        ASSERT_TRUE(old->savePlayerList());
    }
    RefPointer<PlayerManager> manager = makeManager(true, "2.0");
    manager->loadPlayerList();
    EXPECT_TRUE(manager->getPlayers().empty());
    EXPECT_FALSE(testFileExists(folder + "/players/players.plrs.!"));

    RefPointer<PlayerManager> plain = makeManager(false, "2.0");
    plain->addPlayer(new NotePlayer("Cy"));
    ASSERT_TRUE(plain->savePlayerList());
    EXPECT_TRUE(testFileExists(folder + "/players/players.plrs"));
}

TEST_F(PlayersTest, HighScoreTablesRoundTrip)
{
    {
        RefPointer<HighScoreManager> scores(new HighScoreManager(true, "3.1"));
        scores->setBaseFolder(folder);
        RefPointer<HighScoreTable> arcade(new HighScoreTable());
        arcade->descending = false;
        arcade->maxEntries = 10;
        arcade->lastScore = 5;
        arcade->entries.emplace_back(new HighScoreEntry("Ann", 500));
        arcade->entries.emplace_back(new HighScoreEntry("Bo", 300, false));
        scores->setTable("arcade", arcade.get());
        scores->setTable("empty", new HighScoreTable());
        ASSERT_TRUE(scores->saveHighScores());
    }
    EXPECT_TRUE(testFileExists(folder + "/players/scores.xml.!"));
    RefPointer<HighScoreManager> scores(new HighScoreManager(true, "3.1"));
    scores->setBaseFolder(folder);
    scores->loadHighScores();
    ASSERT_EQ(scores->getTables().size(), 2u);
    HighScoreTable* arcade = scores->getTable("arcade");
    ASSERT_NE(arcade, nullptr);
    EXPECT_FALSE(arcade->descending);
    EXPECT_EQ(arcade->maxEntries, 10);
    EXPECT_EQ(arcade->lastScore, -1);
    ASSERT_EQ(arcade->entries.size(), 2u);
    EXPECT_EQ(arcade->entries[0]->playerName, "Ann");
    EXPECT_EQ(arcade->entries[0]->scoreValue, 500);
    EXPECT_TRUE(arcade->entries[0]->isPlayerScore);
    EXPECT_FALSE(arcade->entries[1]->isPlayerScore);
    EXPECT_TRUE(arcade->entries[1]->isNotAbove(*arcade->entries[0]));
    EXPECT_TRUE(arcade->entries[0]->isNotAbove(*arcade->entries[0]));
    EXPECT_TRUE(scores->getTable("empty")->entries.empty());
}

TEST_F(PlayersTest, HighScoreNodesWithoutTablesDuplicatesAndUnknownRows)
{
    HighScoreManager scores(false, "1");
    RefPointer<PropertyNode> node(new PropertyNode("highscoretables", "HighScoreTables"));
    scores.saveToNode(node.get());
    EXPECT_EQ(node->getString("version"), "1");
    // A table's figures are plain attributes of its element.
    RefPointer<PropertyNode> tableNode(new PropertyNode("t", "ScoreTable"));
    HighScoreTable().writeTo(tableNode.get());
    for (const char* key : {"descending", "maxentries", "lastscore"})
        EXPECT_TRUE(tableNode->getChild(key) && tableNode->getChild(key)->isUntypedValue()) << key;
    EXPECT_EQ(node->getVector("scoretables")->getCount(), 0);

    RefPointer<PropertyStore> file(new PropertyStore());
    const std::string xml = R"(<root><HighScoreTables id="h" version="1"><Vector id="scoretables">
        <ScoreTable id="t" maxentries="1"/>
        <ScoreTable id="t" maxentries="2"><Vector id="entries"><HighScoreEntry playername="A" scorevalue="1"/>
            <Nonsense playername="B"/><Integer value="4"/></Vector></ScoreTable>
    </Vector></HighScoreTables></root>)";
    ASSERT_TRUE(file->loadFromBuffer(xml.data(), xml.size()));
    scores.loadFromNode(file->getNode("h"));
    ASSERT_EQ(scores.getTables().size(), 1u);
    EXPECT_EQ(scores.getTable("t")->maxEntries, 2);
    EXPECT_EQ(scores.getTable("t")->entries.size(), 1u);
    EXPECT_FALSE(scores.getTable("t")->entries[0]->isPlayerScore);
}

TEST_F(PlayersTest, CorruptScoresFileIsKeptAside)
{
    {
        RefPointer<HighScoreManager> scores(new HighScoreManager(false, "1"));
        scores->setBaseFolder(folder);
        scores->setTable("t", new HighScoreTable());
        ASSERT_TRUE(scores->saveHighScores());
    }
    writeTestFile(folder + "/players/scores.xml", "<root><HighScoreTables");
    RefPointer<HighScoreManager> scores(new HighScoreManager(false, "1"));
    scores->setBaseFolder(folder);
    scores->loadHighScores();
    EXPECT_TRUE(scores->getTables().empty());
    EXPECT_FALSE(testFileExists(folder + "/players/scores.xml"));
    ASSERT_TRUE(scores->saveHighScores());
    EXPECT_TRUE(testFileExists(folder + "/players/scores.xml"));
}

// The players file of three NotePlayers, written by a plain save; the last
// good copy is removed so that only what the file itself holds can come back.
class DamagedPlayersTest : public PlayersTest {
protected:
    std::string savedThree()
    {
        RefPointer<PlayerManager> manager = makeManager(false);
        const char* names[] = {"Ann", "Bo", "Cy"};
        for (int i = 0; i < 3; ++i) {
            RefPointer<NotePlayer> player(new NotePlayer(names[i]));
            player->level = 10 + i;
            manager->addPlayer(player.get());
        }
        manager->selectPlayer("Cy");
        EXPECT_TRUE(manager->savePlayerList());
        std::remove((folder + "/players/players-last-good.plrs").c_str());
        return readTestFile(mainFile());
    }
    std::string mainFile() const { return folder + "/players/players.plrs"; }

    // Loads, checks the players, saves, and checks them again after a reload.
    void expectPlayers(const std::vector<std::string>& wanted, const std::string& what)
    {
        for (int round = 0; round < 2; ++round) {
            RefPointer<PlayerManager> manager = makeManager(false);
            manager->loadPlayerList();
            std::vector<std::string> names;
            for (const RefPointer<AbstractPlayer>& player : manager->getPlayers()) {
                names.push_back(player->getName());
                auto* note = objectCast<NotePlayer>(player.get());
                ASSERT_NE(note, nullptr);
                EXPECT_EQ(note->level, 10 + (player->getName()[0] - 'A')) << what;
            }
            EXPECT_EQ(names, wanted) << what << " round " << round;
            ASSERT_TRUE(manager->savePlayerList());
        }
    }

    int filesAside() const
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder + "/players"))
            count += entry.path().filename().string().find(".bak-") != std::string::npos;
        return count;
    }
};

TEST_F(DamagedPlayersTest, DamageToOneEntryOrACutOffEndCostsOnlyThoseEntries)
{
    struct Case {
        const char* what;
        std::function<std::string(const std::string&)> damage;
        std::vector<std::string> survivors;
    };
    auto replaceFirst = [](const std::string& text, const std::string& from, const std::string& to) {
        std::string damaged = text;
        const size_t at = damaged.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            damaged.replace(at, from.size(), to);
        return damaged;
    };
    auto cutAt = [](const std::string& text, const std::string& piece, size_t extra) {
        const size_t at = text.find(piece);
        EXPECT_NE(at, std::string::npos) << piece;
        return text.substr(0, at == std::string::npos ? text.size() : at + extra);
    };
    using Damage = std::function<std::string(const std::string&)>;
    auto replacing = [&](std::string from, std::string to) -> Damage {
        return [=](const std::string& text) { return replaceFirst(text, from, to); };
    };
    auto cutting = [&](std::string piece, size_t extra) -> Damage {
        return [=](const std::string& text) { return cutAt(text, piece, extra); };
    };
    const Case cases[] = {
        {"a removed quote after Bo's name", replacing("\"Bo\"", "\"Bo"), {"Ann", "Cy"}},
        {"a removed quote before Bo's level", replacing("level=\"11\"", "level=11\""), {"Ann", "Cy"}},
        {"a stray \"<\" in Ann's entry", replacing("\"Ann\"", "\"Ann\" <"), {"Bo", "Cy"}},
        {"Bo's element left open", replacing("level=\"11\" />", "level=\"11\">"), {"Ann", "Cy"}},
        {"cut inside Cy's entry", cutting("name=\"Cy\"", 4), {"Ann", "Bo"}},
        {"cut right before Cy's entry", cutting("<NotePlayer name=\"Cy\"", 0), {"Ann", "Bo"}},
        {"cut inside the list's end tag", cutting("</Vector>", 5), {"Ann", "Bo", "Cy"}},
        // Entries that hold elements, and elements before the list, are walked over whole.
        {"Ann's quote removed, Bo's entry holding an element",
         [=](const std::string& text) {
             return replaceFirst(replaceFirst(text, "\"Ann\"", "\"Ann"), "level=\"11\" />",
                                 "level=\"11\"><String id=\"memo\" value=\"m\"/></NotePlayer>");
         },
         {"Bo", "Cy"}},
        {"Ann's quote removed, an element before the list",
         [=](const std::string& text) {
             return replaceFirst(replaceFirst(text, "\"Ann\"", "\"Ann"), "<Vector id=\"playernames\">",
                                 "<Node id=\"extra\"><Integer id=\"n\" value=\"1\"/></Node>"
                                 "<Vector id=\"playernames\">");
         },
         {"Bo", "Cy"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder + "/players");
        const std::string damaged = c.damage(savedThree());
        writeTestFile(mainFile(), damaged);
        {
            RefPointer<PlayerManager> first = makeManager(false);
            first->loadPlayerList();
            EXPECT_EQ(first->getLoadReport().progressLost, c.survivors.size() < 3) << c.what;
        }
        writeTestFile(mainFile(), damaged);
        for (const auto& entry : std::filesystem::directory_iterator(folder + "/players")) {
            if (entry.path().filename().string().find(".bak-") != std::string::npos)
                std::filesystem::remove(entry.path());
        }
        expectPlayers(c.survivors, c.what);
        EXPECT_EQ(filesAside(), 1) << c.what;
        // The damaged bytes are kept as they were.
        for (const auto& entry : std::filesystem::directory_iterator(folder + "/players")) {
            if (entry.path().filename().string().find(".bak-") != std::string::npos) {
                EXPECT_EQ(readTestFile(entry.path().string()), damaged) << c.what;
            }
        }
    }
}

TEST_F(DamagedPlayersTest, AnEncipheredFileCutAnywhereKeepsEveryCompleteEntry)
{
    // Cut at every 7th byte: what comes back is always a prefix of the list,
    // and never a crash.
    RefPointer<PlayerManager> writer = makeManager(true);
    for (const char* name : {"Ann", "Bo", "Cy"})
        writer->addPlayer(new NotePlayer(name));
    ASSERT_TRUE(writer->savePlayerList());
    const std::string stored = folder + "/players/players.plrs.!";
    const std::string whole = readTestFile(stored);
    size_t lastCount = 0;
    for (size_t cut = 1; cut < whole.size(); cut += 7) {
        std::filesystem::remove_all(folder + "/players");
        std::filesystem::create_directories(folder + "/players");
        writeTestFile(stored, whole.substr(0, cut));
        RefPointer<PlayerManager> manager = makeManager(true);
        manager->loadPlayerList();
        const std::vector<RefPointer<AbstractPlayer>>& players = manager->getPlayers();
        ASSERT_LE(players.size(), 3u);
        EXPECT_GE(players.size(), lastCount) << "cut at " << cut;
        lastCount = players.size();
        const char* names[] = {"Ann", "Bo", "Cy"};
        for (size_t i = 0; i < players.size(); ++i)
            EXPECT_EQ(players[i]->getName(), names[i]);
    }
    EXPECT_EQ(lastCount, 3u);
}

TEST_F(PlayersTest, ADamagedPlayersFileFallsBackToTheLastGoodCopy)
{
    {
        RefPointer<PlayerManager> manager = makeManager();
        manager->addPlayer(new NotePlayer("Ann"));
        manager->addPlayer(new NotePlayer("Bo"));
        ASSERT_TRUE(manager->savePlayerList());
    }
    const std::string stored = folder + "/players/players.plrs.!";
    for (const std::string& damage : {std::string("<<<not a players file"), std::string(), std::string("\0\0\0", 3)}) {
        writeTestFile(stored, damage);
        RefPointer<PlayerManager> manager = makeManager();
        manager->loadPlayerList();
        ASSERT_EQ(manager->getPlayers().size(), 2u);
        EXPECT_EQ(manager->getPlayers()[1]->getName(), "Bo");
        EXPECT_TRUE(manager->getLoadReport().restoredFromLastGood);
        EXPECT_FALSE(manager->getLoadReport().progressLost);
        EXPECT_EQ(manager->getLoadReport().keptAside.size(), 1u);
        // Written again at once, whole.
        RefPointer<PlayerManager> reread = makeManager();
        reread->loadPlayerList();
        EXPECT_EQ(reread->getPlayers().size(), 2u);
    }
    EXPECT_TRUE(log.contains("The players come from the last good copy"));
    // A missing file, too (a damaged one kept aside by a start that was killed).
    std::remove(stored.c_str());
    RefPointer<PlayerManager> manager = makeManager();
    manager->loadPlayerList();
    EXPECT_EQ(manager->getPlayers().size(), 2u);
    EXPECT_FALSE(manager->getLoadReport().restoredFromLastGood);

    // Both gone bad or missing: nothing loads, and the loss is reported.
    std::remove((folder + "/players/players-last-good.plrs.!").c_str());
    writeTestFile(stored, "<<<not a players file");
    RefPointer<PlayerManager> bare = makeManager();
    bare->loadPlayerList();
    EXPECT_TRUE(bare->getPlayers().empty());
    EXPECT_TRUE(bare->getLoadReport().progressLost);
    EXPECT_FALSE(bare->getLoadReport().restoredFromLastGood);
}

TEST_F(PlayersTest, ASaveThatCannotBeWrittenIsReportedAsFailed)
{
    RefPointer<PlayerManager> manager = makeManager();
    RefPointer<NotePlayer> ann(new NotePlayer("Ann"));
    ann->note = "keeps a player file";
    manager->addPlayer(ann.get());
    ASSERT_TRUE(manager->savePlayerList()); // the player file of the current player is written too
    EXPECT_TRUE(testFileExists(folder + "/players/-41-nn.plr.!"));

    // A folder where the players file goes: that save fails even though the
    // player file is written.
    std::filesystem::remove(folder + "/players/players.plrs.!");
    std::filesystem::create_directories(folder + "/players/players.plrs.!/in-the-way");
    EXPECT_FALSE(manager->savePlayerList());

    RefPointer<HighScoreManager> scores(new HighScoreManager(true, "1"));
    scores->setBaseFolder(folder);
    scores->setTable("t", new HighScoreTable());
    std::filesystem::create_directories(folder + "/players/scores.xml.!/in-the-way");
    EXPECT_FALSE(scores->saveHighScores());

    // The same for the player file of the current player, and for a saved game.
    std::filesystem::remove_all(folder + "/players/players.plrs.!");
    std::filesystem::remove(folder + "/players/-41-nn.plr.!");
    std::filesystem::create_directories(folder + "/players/-41-nn.plr.!/in-the-way");
    EXPECT_FALSE(manager->savePlayerList());
    RefPointer<PropertyStore> game(new PropertyStore());
    game->addChild(new PropertyValue("marker", "m"));
    std::filesystem::create_directories(folder + "/savegames/-41-nn/LEVEL.sav.!/in-the-way");
    EXPECT_FALSE(manager->saveGameState("LEVEL", "Ann", *game));
}

TEST_F(PlayersTest, LoadingAGoodPlayersFileWritesNothing)
{
    {
        RefPointer<PlayerManager> manager = makeManager();
        manager->addPlayer(new NotePlayer("Ann"));
        ASSERT_TRUE(manager->savePlayerList());
    }
    const std::string copy = folder + "/players/players-last-good.plrs.!";
    ASSERT_TRUE(testFileExists(copy));
    std::filesystem::remove(copy);
    RefPointer<PlayerManager> manager = makeManager();
    manager->loadPlayerList();
    ASSERT_EQ(manager->getPlayers().size(), 1u);
    EXPECT_FALSE(testFileExists(copy));
}

TEST_F(PlayersTest, APlayerFileOfAnotherVersionIsNotRead)
{
    for (const char* version : {"1.0", "2.0"}) {
        RefPointer<PlayerManager> manager = makeManager(true, version);
        manager->setBaseFolder(folder + "/" + version);
        RefPointer<NotePlayer> ann(new NotePlayer("Ann"));
        ann->note = std::string("written by ") + version;
        manager->addPlayer(ann.get());
        ASSERT_TRUE(manager->savePlayerList());
    }
    const std::string playerFile = "/players/-41-nn.plr.!";
    writeTestFile(folder + "/2.0" + playerFile, readTestFile(folder + "/1.0" + playerFile));
    RefPointer<PlayerManager> reread = makeManager(true, "2.0");
    reread->setBaseFolder(folder + "/2.0");
    reread->loadPlayerList();
    ASSERT_EQ(reread->getPlayers().size(), 1u);
    EXPECT_EQ(objectCast<NotePlayer>(reread->getPlayers()[0].get())->note, "");
}

// A player file is read under the players file's cap; one over it is set
// aside before a save of the profile could write over it.
TEST_F(PlayersTest, APlayerFileOverTheCapIsKeptAsideUnread)
{
    struct Case {
        bool overCap;
        const char* noteRead;
    };
    for (const Case& c : {Case{false, "kept"}, Case{true, ""}}) {
        SCOPED_TRACE(c.overCap);
        const std::string base = folder + (c.overCap ? "/over" : "/within");
        RefPointer<PlayerManager> manager = makeManager(false);
        manager->setBaseFolder(base);
        RefPointer<NotePlayer> ann(new NotePlayer("Ann"));
        ann->note = "kept";
        manager->addPlayer(ann.get());
        ASSERT_TRUE(manager->savePlayerList());
        const std::string playerFile = base + "/players/-41-nn.plr";
        const std::string written = readTestFile(playerFile);
        ASSERT_FALSE(written.empty());
        // Padded with a comment after the profile: only the size differs.
        const size_t cap = PlayerManager::kMaxPlayersFileSize;
        const size_t padding = c.overCap ? cap : cap - written.size() - 64;
        writeTestFile(playerFile, written + "<!--" + std::string(padding, 'x') + "-->");

        RefPointer<PlayerManager> reread = makeManager(false);
        reread->setBaseFolder(base);
        reread->loadPlayerList();
        ASSERT_EQ(reread->getPlayers().size(), 1u);
        EXPECT_EQ(objectCast<NotePlayer>(reread->getPlayers()[0].get())->note, c.noteRead);
        EXPECT_EQ(testFileExists(playerFile), !c.overCap);
        bool aside = false;
        for (const auto& entry : std::filesystem::directory_iterator(base + "/players"))
            aside = aside || entry.path().filename().string().rfind("-41-nn.plr.bak-", 0) == 0;
        EXPECT_EQ(aside, c.overCap);
    }
    EXPECT_TRUE(log.contains("larger than"));
}

// A well-formed players file of `count` entries, `padding` bytes each at least.
std::string playersFileOf(int count, size_t padding = 0)
{
    std::string text = "<root><Players id=\"players\" version=\"2.0\"><Vector id=\"playernames\">";
    const std::string pad(padding, 'x');
    for (int i = 0; i < count; ++i)
        text += "<NotePlayer name=\"P" + std::to_string(i) + "\" level=\"" + std::to_string(i) + "\" pad=\"" + pad +
                "\"/>";
    return text + "</Vector></Players></root>";
}

TEST_F(PlayersTest, PlayersBeyondFiveAreNotLoadedAndTheFileIsKeptAside)
{
    const std::string eight = playersFileOf(8);
    std::filesystem::create_directories(folder + "/players");
    writeTestFile(folder + "/players/players.plrs", eight);
    RefPointer<PlayerManager> manager = makeManager(false);
    manager->loadPlayerList();
    ASSERT_EQ(manager->getPlayers().size(), 5u);
    EXPECT_EQ(manager->getPlayers()[4]->getName(), "P4");
    EXPECT_FALSE(manager->addPlayer(new NotePlayer("Six")));
    EXPECT_EQ(manager->getPlayers().size(), 5u);

    bool keptWhole = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/players"))
        keptWhole = keptWhole || readTestFile(entry.path().string()) == eight;
    EXPECT_TRUE(keptWhole);
    RefPointer<PlayerManager> reread = makeManager(false);
    reread->loadPlayerList();
    EXPECT_EQ(reread->getPlayers().size(), 5u);
}

TEST_F(PlayersTest, APlayersFileOverItsCapIsSetAsideUnread)
{
    const std::string big = playersFileOf(3, 600 * 1024);
    ASSERT_GT(big.size(), 1u << 20);
    std::filesystem::create_directories(folder + "/players");
    writeTestFile(folder + "/players/players.plrs", big);
    RefPointer<PlayerManager> manager = makeManager(false);
    manager->loadPlayerList();
    EXPECT_TRUE(manager->getPlayers().empty());
    EXPECT_TRUE(log.contains("larger than"));
    EXPECT_FALSE(testFileExists(folder + "/players/players.plrs"));
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/players"))
        aside += readTestFile(entry.path().string()) == big;
    EXPECT_EQ(aside, 1);
}

// Peak resident memory of the whole process, in bytes.
long long peakResidentBytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

TEST_F(PlayersTest, AFiftyMegabytePlayersFileCostsLittleMemory)
{
    // Written in pieces, so that the test itself holds little.
    std::filesystem::create_directories(folder + "/players");
    {
        std::ofstream out(folder + "/players/players.plrs.!", std::ios::binary);
        const std::string entries = playersFileOf(1000);
        out << entries.substr(0, entries.size() - 26);
        const std::string middle = entries.substr(80, entries.size() - 26 - 80);
        for (size_t written = entries.size(); written < 50u * 1024 * 1024; written += middle.size())
            out << middle;
        out << "</Vector></Players></root>";
    }
    RefPointer<PlayerManager> manager = makeManager();
    manager->loadPlayerList();
    EXPECT_LE(manager->getPlayers().size(), 5u);
    EXPECT_LT(peakResidentBytes(), 200LL * 1024 * 1024);
}

} // namespace
