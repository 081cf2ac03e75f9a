#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "host/Folders.h"
#include "support/FinishesPromptly.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// What stands where a stored file should be.
enum class Occupant { Pipe, Folder, Oversized };

const char* describe(Occupant occupant)
{
    switch (occupant) {
    case Occupant::Pipe: return "a pipe";
    case Occupant::Folder: return "a folder";
    case Occupant::Oversized: return "an oversized file";
    }
    return "?";
}

// Well-formed XML a little over `bytes`: only its size is wrong.
std::string oversizedXml(size_t bytes)
{
    return "<root><!--" + std::string(bytes, 'x') + "--></root>";
}

void place(Occupant occupant, const std::string& path, size_t cap)
{
    switch (occupant) {
    case Occupant::Pipe: ASSERT_EQ(0, mkfifo(path.c_str(), 0644)); break;
    case Occupant::Folder: ASSERT_EQ(0, mkdir(path.c_str(), 0755)); break;
    case Occupant::Oversized: writeTestFile(path, oversizedXml(cap)); break;
    }
}

// Whether a file named "<path>.bak-..." lies beside `path`.
bool keptAside(const std::string& path)
{
    const std::string folder = path.substr(0, path.find_last_of('/'));
    const std::string prefix = path.substr(path.find_last_of('/') + 1) + ".bak-";
    std::vector<DirectoryEntry> entries;
    listDirectory(folder, entries);
    for (const DirectoryEntry& entry : entries)
        if (entry.name.compare(0, prefix.size(), prefix) == 0)
            return true;
    return false;
}

class StoredGameFilesTest : public ::testing::Test {
protected:
    std::string freshFolder(Occupant occupant)
    {
        return makeTestFolder("occupant-" + std::to_string(int(occupant)));
    }
    LogCapture log;
};

TEST_F(StoredGameFilesTest, ScoresFileOtherThanASmallRegularFileIsTreatedAsAbsent)
{
    for (Occupant occupant : {Occupant::Pipe, Occupant::Folder, Occupant::Oversized}) {
        const std::string folder = freshFolder(occupant);
        RefPointer<HighScoreManager> scores(new HighScoreManager(false, "1"));
        scores->setBaseFolder(folder);
        const std::string path = scores->getScoresFilePath();
        place(occupant, path, HighScoreManager::kMaxScoresFileSize);
        ASSERT_TRUE(finishesPromptly([scores] { scores->loadHighScores(); })) << describe(occupant);
        EXPECT_TRUE(scores->getTables().empty()) << describe(occupant);
        if (occupant == Occupant::Oversized) {
            EXPECT_FALSE(testFileExists(path));
            EXPECT_TRUE(keptAside(path));
            EXPECT_TRUE(log.contains("larger than")) << "the log tells why";
        }
    }
}

TEST_F(StoredGameFilesTest, SavedGameOtherThanASmallRegularFileIsNotLoadedAndNeverBlocks)
{
    for (Occupant occupant : {Occupant::Pipe, Occupant::Folder, Occupant::Oversized}) {
        const std::string folder = freshFolder(occupant);
        RefPointer<PlayerManager> players(new PlayerManager(false, "2.0"));
        players->setBaseFolder(folder);
        const std::string path = players->getSavedGamePath("LEVEL", "Ann");
        place(occupant, path, PlayerManager::kMaxSavedGameFileSize);
        EXPECT_EQ(occupant == Occupant::Oversized, players->savedGameExists("LEVEL", "Ann")) << describe(occupant);
        auto loaded = std::make_shared<bool>(true);
        ASSERT_TRUE(finishesPromptly([players, loaded] {
            PropertyStore store;
            *loaded = players->loadGameState("LEVEL", "Ann", store);
        })) << describe(occupant);
        EXPECT_FALSE(*loaded) << describe(occupant);
        if (occupant == Occupant::Oversized) {
            EXPECT_FALSE(players->savedGameExists("LEVEL", "Ann")) << "set aside, not offered again";
            EXPECT_TRUE(keptAside(path));
            EXPECT_TRUE(log.contains("larger than")) << "the log tells why";
        }
    }
}

// Just under the cap still loads: the cap refuses only what cannot be a saved game.
TEST_F(StoredGameFilesTest, SavedGameWithinTheCapLoads)
{
    const std::string folder = freshFolder(Occupant::Oversized);
    RefPointer<PlayerManager> players(new PlayerManager(false, "2.0"));
    players->setBaseFolder(folder);
    const std::string path = players->getSavedGamePath("LEVEL", "Ann");
    writeTestFile(path, oversizedXml(PlayerManager::kMaxSavedGameFileSize - 64));
    PropertyStore store;
    EXPECT_TRUE(players->loadGameState("LEVEL", "Ann", store));
    EXPECT_TRUE(testFileExists(path));
}

} // namespace
