#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "host/AtomicFile.h"
#include "host/Folders.h"
#include "host/SettingsStore.h"
#include "support/FinishesPromptly.h"
#include "support/TempFolder.h"
#include "support/TestFolders.h"

namespace {

enum class Kind { Missing, Regular, Folder, Pipe, LinkToRegular, TooLarge };

std::string makeEntry(const std::string& folder, Kind kind)
{
    const std::string path = folder + "/stored.xml";
    switch (kind) {
    case Kind::Missing: break;
    case Kind::Regular: writeTestFile(path, "<a/>"); break;
    case Kind::Folder: mkdir(path.c_str(), 0755); break;
    case Kind::Pipe: mkfifo(path.c_str(), 0644); break;
    case Kind::LinkToRegular:
        writeTestFile(folder + "/elsewhere.xml", "<a/>");
        symlink("elsewhere.xml", path.c_str());
        break;
    case Kind::TooLarge: writeTestFile(path, std::string(101, 'x')); break;
    }
    return path;
}

TEST(StoredFileReading, OnlyRegularFilesWithinTheCapAreReadAndNothingBlocks)
{
    const struct {
        Kind kind;
        FileReadResult expected;
    } cases[] = {
        {Kind::Missing, FileReadResult::Missing},   {Kind::Regular, FileReadResult::Read},
        {Kind::Folder, FileReadResult::NotRegular}, {Kind::Pipe, FileReadResult::NotRegular},
        {Kind::LinkToRegular, FileReadResult::Read}, {Kind::TooLarge, FileReadResult::TooLarge},
    };
    for (const auto& item : cases) {
        TempFolder folder;
        const std::string path = makeEntry(folder.path(), item.kind);
        auto result = std::make_shared<FileReadResult>(FileReadResult::Failed);
        auto contents = std::make_shared<std::string>("old");
        ASSERT_TRUE(finishesPromptly([=] { *result = readRegularFile(path, 100, *contents, nullptr); }))
            << "kind " << int(item.kind) << " blocked the read";
        EXPECT_EQ(item.expected, *result) << "kind " << int(item.kind);
        EXPECT_EQ(item.expected == FileReadResult::Read ? "<a/>" : "", *contents) << "kind " << int(item.kind);
    }
}

TEST(StoredFileReading, ReasonNamesTheFileAndWhy)
{
    TempFolder folder;
    const std::string path = makeEntry(folder.path(), Kind::TooLarge);
    std::string contents, reason;
    EXPECT_EQ(FileReadResult::TooLarge, readRegularFile(path, 100, contents, &reason));
    EXPECT_EQ(path + ": larger than 100 bytes", reason);
    EXPECT_EQ(FileReadResult::Read, readRegularFile(path, 101, contents, &reason));
    EXPECT_EQ(101u, contents.size());
}

TEST(StoredFileReading, SettingsFileThatIsAPipeLoadsEmptyAtOnceAndIsLeftAlone)
{
    TempFolder folder;
    const std::string path = folder.path() + "/settings.xml";
    ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
    ASSERT_TRUE(finishesPromptly([path] {
        FileSettingsStore store(path);
        EXPECT_TRUE(store.listValues("").empty());
    }));
    struct stat status;
    ASSERT_EQ(0, lstat(path.c_str(), &status));
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

// A player who links a stored file elsewhere keeps the link; the save lands
// in the target, with its temporary beside the target.
TEST(StoredFileWriting, SymbolicLinksAreWrittenThroughToTheirTargets)
{
    for (const char* fileName : {"players.plrs", "settings.xml"}) {
        for (bool relative : {true, false}) {
            TempFolder folder;
            const std::string synced = folder.path() + "/synced";
            const std::string saves = folder.path() + "/saves";
            ASSERT_EQ(0, mkdir(synced.c_str(), 0755));
            ASSERT_EQ(0, mkdir(saves.c_str(), 0755));
            const std::string target = synced + "/" + fileName;
            writeTestFile(target, "old");
            // A link to a link: the whole chain is followed.
            const std::string middle = saves + "/middle";
            ASSERT_EQ(0, symlink(relative ? (std::string("../synced/") + fileName).c_str() : target.c_str(),
                                 middle.c_str()));
            const std::string link = saves + "/" + fileName;
            ASSERT_EQ(0, symlink("middle", link.c_str()));

            std::string error;
            ASSERT_TRUE(writeFileAtomically(link, std::string("new"), &error)) << error;
            struct stat status;
            ASSERT_EQ(0, lstat(link.c_str(), &status));
            EXPECT_TRUE(S_ISLNK(status.st_mode)) << fileName << " relative " << relative;
            EXPECT_EQ("new", readTestFile(target)) << fileName;
            EXPECT_EQ("new", readTestFile(link)) << fileName;
        }
    }
}

TEST(StoredFileWriting, SettingsStoreSavesThroughALink)
{
    TempFolder folder;
    const std::string target = folder.path() + "/real-settings.xml";
    const std::string link = folder.path() + "/settings.xml";
    ASSERT_EQ(0, symlink("real-settings.xml", link.c_str()));
    {
        FileSettingsStore store(link);
        ASSERT_TRUE(store.writeNumber("", "volume", 7));
    }
    struct stat status;
    ASSERT_EQ(0, lstat(link.c_str(), &status));
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    FileSettingsStore again(target);
    EXPECT_EQ(7u, again.readNumber("", "volume", 0));
}

// A dangling link is written through too: its target is created.
TEST(StoredFileWriting, DanglingLinkGetsItsTargetCreated)
{
    TempFolder folder;
    const std::string link = folder.path() + "/scores.xml";
    ASSERT_EQ(0, symlink("kept-scores.xml", link.c_str()));
    ASSERT_TRUE(writeFileAtomically(link, std::string("scores"), nullptr));
    EXPECT_EQ("scores", readTestFile(folder.path() + "/kept-scores.xml"));
    struct stat status;
    ASSERT_EQ(0, lstat(link.c_str(), &status));
    EXPECT_TRUE(S_ISLNK(status.st_mode));
}

TEST(StoredFileWriting, NewFilesAreClaimedOnce)
{
    TempFolder folder;
    const std::string path = folder.path() + "/claimed.log";
    EXPECT_TRUE(createNewFile(path));
    EXPECT_FALSE(createNewFile(path));
    EXPECT_FALSE(createNewFile(folder.path() + "/missing/claimed.log"));
}

} // namespace
