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

} // namespace
