#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/Logger.h"
#include "host/Folders.h"
#include "support/TestFolders.h"

namespace {

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<DirectoryEntry> entries;
    listDirectory(folder, entries);
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LogFilesTest, LaterStartsInTheSameSecondGetANumberedName)
{
    EXPECT_EQ("2008-05-05 14-03-59.log", Logger::fileNameFor(1209996239, 1));
    EXPECT_EQ("2008-05-05 14-03-59_2.log", Logger::fileNameFor(1209996239, 2));
    EXPECT_EQ("2008-05-05 14-03-59_12.log", Logger::fileNameFor(1209996239, 12));
}

// Every start writes its own file, even when an earlier start of the same
// second (or a clock set back) has taken the name.
TEST(LogFilesTest, EachStartHasItsOwnFile)
{
    BasicProperties::createInstance();
    resetGameIdentityCache();
    resetDataFolders();
    BasicProperties::instance->setString("GAME_NAME", "Log Files Test");
    const std::string folder = getScratchFolder() + "/log";
    makeDirectoryTree(folder);
    const long long now = getUnixTime();
    // Starts that took the names of this second and the next few already.
    for (long long second = now; second < now + 3; ++second)
        writeTestFile(folder + "/" + Logger::fileNameFor(second), "an earlier start\n");

    std::vector<std::string> chosen;
    for (int start = 0; start < 3; ++start) {
        Logger logger(0, 2);
        logger.openLogFile();
        chosen.push_back(logger.getFileName());
        EXPECT_TRUE(testFileExists(logger.getFileName()));
        EXPECT_EQ("", readTestFile(logger.getFileName())) << "a taken name was reused: " << logger.getFileName();
    }
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen.end(), std::unique(chosen.begin(), chosen.end()));

    BasicProperties::destroyInstance();
    resetGameIdentityCache();
    resetDataFolders();
}

TEST(LogFilesTest, PruningKeepsTheNewestStartLogsAndNothingElseIsTouched)
{
    const std::string folder = makeTestFolder("log-pruning");
    const std::vector<std::string> logs = {
        "2008-05-05 14-03-59.log",    "2008-05-05 14-03-59_2.log", "2008-05-05 14-03-59_10.log",
        "2009-01-01 00-00-00.log",    "2010-12-31 23-59-59.log",   "2010-12-31 23-59-59_3.log",
    };
    const std::vector<std::string> others = {"notes.txt", "2008-05-05.log", "2008-05-05 14-03-59_x.log"};
    for (const std::string& name : logs)
        writeTestFile(folder + "/" + name, "x");
    for (const std::string& name : others)
        writeTestFile(folder + "/" + name, "x");

    const struct {
        size_t kept;
        size_t firstKept; // index into `logs`, oldest first
    } cases[] = {{10, 0}, {6, 0}, {4, 2}, {1, 5}};
    for (const auto& item : cases) {
        Logger::pruneLogFolder(folder, item.kept);
        std::vector<std::string> expected(logs.begin() + static_cast<long>(item.firstKept), logs.end());
        expected.insert(expected.end(), others.begin(), others.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, namesIn(folder)) << "keeping " << item.kept;
    }
}

TEST(LogFilesTest, OpeningALogPrunesTheFolder)
{
    BasicProperties::createInstance();
    resetGameIdentityCache();
    resetDataFolders();
    BasicProperties::instance->setString("GAME_NAME", "Log Pruning Test");
    const std::string folder = getScratchFolder() + "/log";
    makeDirectoryTree(folder);
    for (int day = 1; day <= 20; ++day)
        writeTestFile(folder + "/" + Logger::fileNameFor(86400LL * day), "old\n");
    Logger logger(0, 2);
    logger.openLogFile();
    const std::vector<std::string> names = namesIn(folder);
    EXPECT_EQ(Logger::kKeptLogFiles, names.size());
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(),
                                     logger.getFileName().substr(logger.getFileName().find_last_of('/') + 1)));

    BasicProperties::destroyInstance();
    resetGameIdentityCache();
    resetDataFolders();
}

} // namespace
