#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "host/Folders.h"
#include "host/SingleInstanceLock.h"
#include "support/TempFolder.h"

namespace {

TEST(SingleInstanceLock, SecondHolderIsToldAlreadyRunningUntilTheFirstLets)
{
    TempFolder folder;
    SingleInstanceLock first("Tortelune Test", folder.path());
    SingleInstanceLock second("Tortelune Test", folder.path());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    EXPECT_TRUE(first.isHeld());
    EXPECT_EQ(second.acquire(), SingleInstanceLock::Result::AlreadyRunning);
    EXPECT_FALSE(second.isHeld());

    first.release();
    EXPECT_EQ(second.acquire(), SingleInstanceLock::Result::Acquired);
}

TEST(SingleInstanceLock, AnotherProcessIsToldAlreadyRunning)
{
    TempFolder folder;
    SingleInstanceLock first("ProcessTest", folder.path());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceLock second("ProcessTest", folder.path());
        bool running = second.acquire() == SingleInstanceLock::Result::AlreadyRunning;
        bool raised = second.requestRaise();
        _exit(running && raised ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(first.takeRaiseRequest());
}

TEST(SingleInstanceLock, RaiseRequestReachesTheRunningCopyOnce)
{
    TempFolder folder;
    SingleInstanceLock first("Raise", folder.path());
    SingleInstanceLock second("Raise", folder.path());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    EXPECT_FALSE(first.takeRaiseRequest());
    ASSERT_EQ(second.acquire(), SingleInstanceLock::Result::AlreadyRunning);
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(first.takeRaiseRequest());
    EXPECT_FALSE(first.takeRaiseRequest());
    // Two requests before the next look count as one.
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(first.takeRaiseRequest());
    EXPECT_FALSE(first.takeRaiseRequest());
}

TEST(SingleInstanceLock, NoRunningCopyMeansNoOneToRaise)
{
    TempFolder folder;
    SingleInstanceLock lonely("Nobody", folder.path());
    EXPECT_FALSE(lonely.requestRaise());
    {
        SingleInstanceLock held("Nobody", folder.path());
        ASSERT_EQ(held.acquire(), SingleInstanceLock::Result::Acquired);
        EXPECT_TRUE(pathExists(held.getSocketPath()));
    }
    // The socket goes with its holder, and a later copy may take the lock.
    EXPECT_FALSE(lonely.requestRaise());
    EXPECT_EQ(lonely.acquire(), SingleInstanceLock::Result::Acquired);
}

TEST(SingleInstanceLock, StaleSocketFileFromACrashIsReplaced)
{
    TempFolder folder;
    SingleInstanceLock probe("Stale", folder.path());
    // A plain file where the socket would be, as a crashed copy could leave.
    ASSERT_TRUE(makeDirectoryTree(folder.path()));
    FILE* leftover = fopen(probe.getSocketPath().c_str(), "w");
    ASSERT_NE(leftover, nullptr);
    fclose(leftover);

    SingleInstanceLock first("Stale", folder.path());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    SingleInstanceLock second("Stale", folder.path());
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(first.takeRaiseRequest());
}

TEST(SingleInstanceLock, LivesInTheRuntimeFolderWithAFileSafeName)
{
    std::string runtime = getRuntimeFolder();
    ASSERT_FALSE(runtime.empty());
    SingleInstanceLock lock("My Game/1", "/unused");
    EXPECT_EQ(lock.getLockPath(), runtime + "/My_Game_1.lock");
    EXPECT_EQ(lock.getSocketPath(), runtime + "/My_Game_1.sock");
}

TEST(SingleInstanceLock, VeryLongFolderStillCarriesRaiseRequests)
{
    TempFolder folder;
    std::string deep = folder.path() + "/" + std::string(120, 'd');
    ASSERT_TRUE(makeDirectoryTree(deep));
    SingleInstanceLock first("LongPath", deep);
    SingleInstanceLock second("LongPath", deep);
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    EXPECT_EQ(second.acquire(), SingleInstanceLock::Result::AlreadyRunning);
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(first.takeRaiseRequest());
}

TEST(SingleInstanceLock, WithoutRuntimeFolderUsesTheFallbackOrTheDataFolder)
{
    std::string runtime = getRuntimeFolder();
    unsetenv("XDG_RUNTIME_DIR");
    SingleInstanceLock fallback("Game", "/some/fallback");
    SingleInstanceLock dataFolder("Game");
    SingleInstanceLock unusable("Game", "/proc/no-such-place");
    SingleInstanceLock::Result result = unusable.acquire();
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    EXPECT_EQ(fallback.getLockPath(), "/some/fallback/Game.lock");
    EXPECT_EQ(dataFolder.getLockPath(), makerFolderUnder(getDataHome()) + "/Game.lock");
    EXPECT_EQ(result, SingleInstanceLock::Result::Failed);
}

} // namespace
