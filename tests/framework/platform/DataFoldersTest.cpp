#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "framework/core/BasicProperties.h"
#include "framework/platform/DataFolders.h"
#include "support/TestFolders.h"

namespace {

class DataFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        resetGameIdentityCache();
        resetDataFolders();
    }
    void TearDown() override
    {
        BasicProperties::destroyInstance();
        resetGameIdentityCache();
        resetDataFolders();
    }
};

TEST_F(DataFoldersTest, FoldersFollowTheDataHomeAndTheGameName)
{
    const std::string dataHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ASSERT_FALSE(dataHome.empty());
    EXPECT_EQ(dataHome + "/Quillmark/Games", getDataRoot());
    // Before the name is known the game folder is the root, and is not cached.
    EXPECT_EQ(getDataRoot(), getGameFolder());
    BasicProperties::instance->setString("GAME_NAME", "Tortelune Test");
    EXPECT_EQ(dataHome + "/Quillmark/Games/Tortelune Test", getGameFolder());
    EXPECT_EQ(dataHome + "/Quillmark/Games/Tortelune Test/_temp", getScratchFolder());
    EXPECT_TRUE(std::filesystem::is_directory(getScratchFolder()));
}

TEST_F(DataFoldersTest, DeletingATreeNeverFollowsLinks)
{
    const std::string base = makeTestFolder("DeleteTree");
    const std::string outside = base + "/outside";
    createDirectoryTree(outside);
    writeTestFile(outside + "/precious.txt", "keep");
    const std::string tree = base + "/tree";
    createDirectoryTree(tree + "/a/b/c");
    writeTestFile(tree + "/a/file.txt", "x");
    writeTestFile(tree + "/a/b/c/deep.txt", "y");
    std::filesystem::create_directory_symlink(outside, tree + "/a/link");

    EXPECT_TRUE(deleteDirectoryTree(tree + "\\"));
    EXPECT_FALSE(testFileExists(tree));
    EXPECT_EQ("keep", readTestFile(outside + "/precious.txt"));
    EXPECT_FALSE(deleteDirectoryTree("/"));
    EXPECT_FALSE(deleteDirectoryTree(""));
    EXPECT_FALSE(deleteDirectoryTree(base + "/nothing"));
}

// The start-up check tries every folder the game writes: a file standing where
// one of them should be (which stops even root) is found and named.
TEST_F(DataFoldersTest, WriteCheckCoversEveryFolderTheGameWrites)
{
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string saved = previous ? previous : "";
    BasicProperties::instance->setString("GAME_NAME", "Write Check");
    int round = 0;
    for (const char* blocked : {"", "players", "savegames", "_temp/log"}) {
        const std::string home = makeTestFolder("write-check-" + std::to_string(++round));
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        resetDataFolders();
        const std::string game = home + "/Quillmark/Games/Write Check";
        if (blocked[0]) {
            std::filesystem::create_directories(game + "/_temp");
            writeTestFile(game + "/" + blocked, "in the way");
        }
        std::string reason;
        const bool writable = canWriteGameFolder(&reason);
        EXPECT_EQ(blocked[0] == '\0', writable) << blocked;
        if (blocked[0]) {
            EXPECT_NE(std::string::npos, reason.find(game + "/" + blocked)) << reason;
        }
    }
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

TEST_F(DataFoldersTest, WriteCheckCoversTheFoldersItIsGiven)
{
    const std::string outside = makeTestFolder("write-check-settings");
    writeTestFile(outside + "/settings", "in the way");
    BasicProperties::instance->setString("GAME_NAME", "Write Check Settings");
    std::string reason;
    EXPECT_FALSE(canWriteGameFolder(&reason, {outside + "/settings"}));
    EXPECT_NE(std::string::npos, reason.find(outside + "/settings")) << reason;
    EXPECT_TRUE(canWriteGameFolder(&reason, {outside + "/other"}));
}

} // namespace
