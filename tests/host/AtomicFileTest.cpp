#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

std::string readWhole(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

TEST(AtomicFile, WritesNewFileAndReplacesOldOne)
{
    TempFolder folder;
    std::string path = folder.path() + "/scores.xml";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, std::string("first"), &error)) << error;
    EXPECT_EQ(readWhole(path), "first");
    ASSERT_TRUE(writeFileAtomically(path, std::string("second, longer"), &error)) << error;
    EXPECT_EQ(readWhole(path), "second, longer");
    ASSERT_TRUE(writeFileAtomically(path, std::string(), &error)) << error;
    EXPECT_EQ(readWhole(path), "");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"scores.xml"});
}

TEST(AtomicFile, NewFileIsNotWorldWritable)
{
    TempFolder folder;
    std::string path = folder.path() + "/players.plrs";
    ASSERT_TRUE(writeFileAtomically(path, std::string("x"), nullptr));
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0002, 0u);
    EXPECT_NE(status.st_mode & 0400, 0u);
}

TEST(AtomicFile, FailedWriteKeepsOldFileAndLeavesNoTemporary)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    ASSERT_TRUE(writeFileAtomically(path, std::string("old content"), nullptr));

    std::string error;
    {
        FileSizeLimit limit(16);
        std::string big(4096, 'n');
        EXPECT_FALSE(writeFileAtomically(path, big, &error));
    }
    EXPECT_NE(error.find("settings.xml"), std::string::npos) << error;
    EXPECT_EQ(readWhole(path), "old content");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"settings.xml"});
}

TEST(AtomicFile, MissingFolderOrBadPathFails)
{
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(writeFileAtomically(folder.path() + "/no/such/folder/file", std::string("x"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writeFileAtomically("", std::string("x"), &error));
    EXPECT_FALSE(writeFileAtomically(folder.path() + "/", std::string("x"), &error));
}

TEST(AtomicFile, TargetThatIsAFolderStaysAndFails)
{
    TempFolder folder;
    std::string path = folder.path() + "/occupied";
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    ASSERT_TRUE(std::ofstream(path + "/inside").good());
    EXPECT_FALSE(writeFileAtomically(path, std::string("x"), nullptr));
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"occupied"});
}


TEST(AtomicFile, NextWriteRemovesEveryTemporaryOfDeadWritersInItsFolderOnly)
{
    TempFolder folder;
    // A process id that is surely gone: a child that has ended and been reaped.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> leftovers = {
        ".scores.xml.tmp-" + dead + "-a1b2c3",   // a killed writer of this file: removed
        ".scores.xml.tmp-" + alive + "-d4e5f6",  // a live writer: kept
        ".players.plrs.tmp-" + dead + "-g7h8i9", // another file's killed writer: removed too
        ".scores.xml.tmp-Zq81xP",                // no writer named: kept
        ".notes.tmp-" + dead + "-abc",           // not a temporary of ours: kept
        "notes.tmp-" + dead + "-a1b2c3",         // not hidden, so not ours: kept
        ".settings.xml.tmp-" + alive + "-j1k2l3", // written long before its id's process started: removed
    };
    for (const std::string& name : leftovers)
        std::ofstream(folder.path() + "/" + name) << "half";
    // A writer that died before a restart of the machine: its id now belongs
    // to a process that started after the file was last written.
    const timespec longAgo[2] = {{946684800, 0}, {946684800, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (folder.path() + "/" + leftovers[6]).c_str(), longAgo, 0), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(folder.path() + "/scores.xml", std::string("whole"), &error)) << error;
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{leftovers[4], leftovers[1], leftovers[3], leftovers[5], "scores.xml"}));
}

} // namespace
