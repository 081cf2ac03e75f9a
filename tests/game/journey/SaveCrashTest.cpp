// The game's saves killed at random moments: a child process saves the
// players file, both saved games, the scores and the settings in a loop with
// changing content and is killed with SIGKILL after a random short delay.
// Afterwards every file must load and hold one complete version, never older
// than the one seen before, and every player must still be there.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/SetupStore.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TorteluneScoreEntry.h"
#include "game/data/TuningTable.h"
#include "host/SettingsStore.h"
#include "support/TestFolders.h"
#include "support/GameProperties.h"

namespace {

const char* const kPlayerNames[] = {"Ann", "Bo Baker", "Chlo\xC3\xA9"};
constexpr int kPlayerCount = 3;
// A thousand kills in four shards that ctest runs side by side.
constexpr int kShards = 4;
constexpr int kKills = 1000 / kShards;

// The settings text of a generation; its length changes with it.
std::string settingsText(int generation)
{
    return "player " + std::to_string(generation) + std::string(static_cast<size_t>(generation % 13) * 7, 'x');
}

class SaveCrashTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        // Memory-backed when the system has it: a kill (unlike a power cut)
        // loses nothing the kernel has taken, so the disk's flushes would only
        // make the thousand rounds slow.
        if (std::filesystem::is_directory("/dev/shm")) {
            folder = "/dev/shm/tortelune-save-crash-" + std::to_string(::getpid()) + "-" + std::to_string(GetParam());
            std::filesystem::remove_all(folder);
            std::filesystem::create_directories(folder);
            memoryFolder = true;
        } else {
            folder = makeTestFolder("SaveCrashTest" + std::to_string(GetParam()));
        }
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
        previousObserver = setLogObserver([](LogLevel, const std::string&) {});
        ASSERT_TRUE(loadGameProperties());
        GameData::create();
    }
    void TearDown() override
    {
        if (memoryFolder)
            std::filesystem::remove_all(folder);
        GameData::destroyInstance();
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
        resetTuning();
        setLogObserver(previousObserver);
        std::filesystem::current_path(previousFolder);
    }

    RefPointer<PlayerManager> makePlayers() const
    {
        RefPointer<PlayerManager> players(new PlayerManager(true, "1.0"));
        players->setBaseFolder(folder);
        return players;
    }
    RefPointer<HighScoreManager> makeScores() const
    {
        RefPointer<HighScoreManager> scores(new HighScoreManager(true, "1.0"));
        scores->setBaseFolder(folder);
        return scores;
    }
    std::string settingsFile() const { return folder + "/config/settings.xml"; }

    // Writes every file once with the content of `generation`, in the order
    // the game writes them at the end of a level and at a quit.
    void saveEverything(int generation, PlayerManager& players, HighScoreManager& scores, FileSettingsStore& settings)
    {
        for (int i = 0; i < kPlayerCount; ++i) {
            auto* player = static_cast<TortelunePlayer*>(players.getPlayers()[static_cast<size_t>(i)].get());
            player->score = generation;
            player->highestLevelReached = generation % 40;
            player->levelStars.clear();
            for (int level = 0; level < generation % 9; ++level)
                player->levelStars[level] = 1 + (level + generation) % 3;
        }
        players.selectPlayer(kPlayerNames[generation % kPlayerCount]);
        players.savePlayerList();

        GameDataState& state = *GameData::instance->state;
        for (const char* mode : {"LEVEL", "ARCADE"}) {
            state.mode = mode[0] == 'L' ? 0 : 1;
            state.playSessionInfo.score = generation;
            state.playSessionInfo.matches.clear();
            for (int run = 0; run < generation % 6; ++run)
                state.playSessionInfo.matches[run + 3] = generation;
            RefPointer<PropertyStore> store(new PropertyStore());
            RefPointer<PropertyNode> saved(new PropertyNode("savegame", "SaveGame"));
            GameData::instance->saveGame(saved.get());
            store->addChild(saved.get());
            players.saveGameState(mode, kPlayerNames[generation % kPlayerCount], *store);
        }

        RefPointer<HighScoreTable> table(new HighScoreTable());
        table->maxEntries = 10;
        for (int row = 0; row <= generation % 10; ++row)
            table->entries.emplace_back(new TorteluneScoreEntry(kPlayerNames[row % kPlayerCount], generation - row,
                                                                WString(u"extra")));
        scores.setTable("career", table.get());
        scores.saveHighScores();

        settings.writeString("Game", "text", settingsText(generation));
        settings.writeNumber("Game", "generation", static_cast<uint32_t>(generation));
    }

    // The generation each file holds now; every file must load whole.
    struct Seen {
        int players = 0;
        int level[kPlayerCount] = {};
        int arcade[kPlayerCount] = {};
        int scores = 0;
        int settings = 0;
        int settingsText = 0;
    };

    void readEverything(Seen& seen)
    {
        RefPointer<PlayerManager> players = makePlayers();
        players->loadPlayerList();
        ASSERT_EQ(players->getPlayers().size(), static_cast<size_t>(kPlayerCount)) << "a player was lost";
        auto* first = static_cast<TortelunePlayer*>(players->getPlayers()[0].get());
        const int generation = first->score;
        for (int i = 0; i < kPlayerCount; ++i) {
            auto* player = static_cast<TortelunePlayer*>(players->getPlayers()[static_cast<size_t>(i)].get());
            ASSERT_EQ(player->getName(), kPlayerNames[i]);
            ASSERT_EQ(player->score, generation);
            ASSERT_EQ(player->highestLevelReached, generation % 40);
            ASSERT_EQ(player->levelStars.size(), static_cast<size_t>(generation % 9));
        }
        ASSERT_NE(players->getCurrentPlayer(), nullptr);
        ASSERT_EQ(players->getCurrentPlayer()->getName(), kPlayerNames[generation % kPlayerCount]);
        ASSERT_GE(generation, seen.players);
        seen.players = generation;

        for (int i = 0; i < kPlayerCount; ++i) {
            for (const char* mode : {"LEVEL", "ARCADE"}) {
                int& last = mode[0] == 'L' ? seen.level[i] : seen.arcade[i];
                if (!players->savedGameExists(mode, kPlayerNames[i])) {
                    ASSERT_EQ(last, 0) << "a saved game vanished";
                    continue;
                }
                // A saved game the last check loaded need not be loaded again.
                std::string& known = knownSavedGames[mode + std::to_string(i)];
                std::string bytes = readTestFile(players->storedName(players->getSavedGamePath(mode, kPlayerNames[i])));
                if (!bytes.empty() && bytes == known)
                    continue;
                known = std::move(bytes);
                RefPointer<PropertyStore> store(new PropertyStore());
                ASSERT_TRUE(players->loadGameState(mode, kPlayerNames[i], *store));
                PropertyNode* node = store->getNode("savegame");
                ASSERT_TRUE(hasChild(node, "playsessioninfo")) << mode;
                GameData::instance->loadGame(node);
                const PlaySessionInfo& info = GameData::instance->state->playSessionInfo;
                ASSERT_EQ(info.matches.size(), static_cast<size_t>(info.score % 6));
                ASSERT_EQ(info.score % kPlayerCount, i);
                ASSERT_GE(info.score, last);
                last = info.score;
            }
        }

        RefPointer<HighScoreManager> scores = makeScores();
        scores->loadHighScores();
        HighScoreTable* table = scores->getTable("career");
        ASSERT_NE(table, nullptr);
        ASSERT_FALSE(table->entries.empty());
        const int scoreGeneration = table->entries[0]->scoreValue;
        ASSERT_EQ(table->entries.size(), static_cast<size_t>(scoreGeneration % 10 + 1));
        ASSERT_EQ(table->entries.back()->scoreValue, scoreGeneration - scoreGeneration % 10);
        ASSERT_GE(scoreGeneration, seen.scores);
        seen.scores = scoreGeneration;

        FileSettingsStore settings(settingsFile());
        const int settingsGeneration = static_cast<int>(settings.readNumber("Game", "generation", 0));
        const std::string text = settings.readString("Game", "text", "");
        const int textGeneration = std::atoi(text.c_str() + std::min<size_t>(text.size(), 7));
        ASSERT_EQ(text, settingsText(textGeneration));
        // The text is written just before the number: it may be ahead.
        ASSERT_GE(textGeneration, settingsGeneration);
        ASSERT_GE(settingsGeneration, seen.settings);
        ASSERT_GE(textGeneration, seen.settingsText);
        seen.settings = settingsGeneration;
        seen.settingsText = textGeneration;
    }

    // Files of the game folder whose names mark them as set aside or half written.
    // `deadWritersOnly`: temporaries of a process that still lives (its id
    // may have been given to another process since) are not counted.
    void countStrayFiles(int& asideFiles, int& temporaryFiles, bool deadWritersOnly = false) const
    {
        asideFiles = temporaryFiles = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find(".bak-") != std::string::npos)
                ++asideFiles;
            const size_t tmp = name.find(".tmp-");
            if (tmp == std::string::npos)
                continue;
            const pid_t writer = static_cast<pid_t>(std::atol(name.c_str() + tmp + 5));
            if (deadWritersOnly && writer > 0 && ::kill(writer, 0) == 0)
                continue;
            ++temporaryFiles;
        }
    }

    std::map<std::string, std::string> knownSavedGames;
    std::string folder;
    bool memoryFolder = false;
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
};

TEST_P(SaveCrashTest, EverySaveKilledMidwayLeavesTheOldOrTheNewFile)
{
    RefPointer<PlayerManager> players = makePlayers();
    for (const char* name : kPlayerNames)
        players->addPlayer(new TortelunePlayer(name));
    RefPointer<HighScoreManager> scores = makeScores();
    FileSettingsStore settings(settingsFile());
    GameData::instance->state->mode = 0;
    GameData::instance->startLevel(0);

    // One generation's time, measured here, sets the range of the delays.
    auto started = std::chrono::steady_clock::now();
    for (int generation = 1; generation <= 3; ++generation)
        saveEverything(generation, *players, *scores, settings);
    const long generationMicros = std::max<long>(
        50, static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                                    started)
                                  .count() /
                              3));
    Seen seen;
    readEverything(seen);
    ASSERT_EQ(seen.players, 3);

    std::mt19937 random(2026u + static_cast<unsigned>(GetParam()));
    std::uniform_int_distribution<long> delay(0, 2 * generationMicros);
    int generation = 4;
    int killedMidWrite = 0;
    int killedMidRound = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        std::fflush(nullptr);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A restarted game reads its settings before it changes one.
            settings.reload();
            for (int g = generation;; ++g)
                saveEverything(g, *players, *scores, settings);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";

        readEverything(seen);
        if (HasFatalFailure())
            FAIL() << "after kill " << kill;
        int asideFiles = 0;
        int temporaryFiles = 0;
        countStrayFiles(asideFiles, temporaryFiles);
        ASSERT_EQ(asideFiles, 0) << "a file was set aside as unreadable after kill " << kill;
        killedMidWrite += temporaryFiles > 0 ? 1 : 0;
        // Files of different rounds: the kill came between two saves of one round.
        killedMidRound += seen.players != seen.scores || seen.scores != seen.settingsText ? 1 : 0;
        generation = std::max({seen.players, seen.scores, seen.settingsText}) + 1;
    }
    // The delays must really land inside the rounds of saves, or nothing was
    // tested; on a memory-backed folder a single file's write is over within
    // microseconds, so only a few kills find a half-written temporary.
    EXPECT_GE(killedMidRound, kKills / 10);
    std::printf("%d of %d kills fell between two saves of a round, %d inside a file's write\n", killedMidRound,
                kKills, killedMidWrite);

    // The next save clears what the killed writers left in the folders it
    // writes, and the next start the other players' saved games.
    saveEverything(generation, *players, *scores, settings);
    readEverything(seen);
    EXPECT_EQ(seen.players, generation);
    int asideFiles = 0;
    int temporaryFiles = 0;
    countStrayFiles(asideFiles, temporaryFiles, true);
    EXPECT_EQ(temporaryFiles, 0) << "temporaries of dead writers outlived the next start and round of saves";
}

INSTANTIATE_TEST_SUITE_P(Shards, SaveCrashTest, ::testing::Range(0, kShards));

} // namespace
