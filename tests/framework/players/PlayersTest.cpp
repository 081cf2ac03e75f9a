#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
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
    PlayersTest() : folder(makeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name())) {}

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
    EXPECT_TRUE(manager->getPlayers().empty());
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

} // namespace
