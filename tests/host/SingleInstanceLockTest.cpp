#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <vector>
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

// Connects to the running copy's socket as any local process could.
int connectSilently(const std::string& socketPath)
{
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (descriptor >= 0 && ::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// The main loop asks every frame; callers that connect and say nothing (or
// say it late) must never hold it up.
TEST(SingleInstanceLock, SilentCallersNeverBlockTheRunningCopy)
{
    TempFolder folder;
    SingleInstanceLock first("Silent", folder.path());
    ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
    std::vector<int> silent;
    // As many as the listener's backlog holds before anyone accepts.
    for (int i = 0; i < 4; ++i) {
        silent.push_back(connectSilently(first.getSocketPath()));
        ASSERT_GE(silent.back(), 0);
    }
    const auto started = std::chrono::steady_clock::now();
    for (int frame = 0; frame < 5; ++frame)
        EXPECT_FALSE(first.takeRaiseRequest());
    const auto spent = std::chrono::steady_clock::now() - started;
    // Waiting on a single silent caller took 200 ms before; these calls do not wait at all.
    EXPECT_LT(spent, std::chrono::milliseconds(150));

    // A caller that writes after it was accepted is still heard, once.
    ASSERT_EQ(::send(silent[3], "raise\n", 6, MSG_NOSIGNAL), 6);
    EXPECT_TRUE(first.takeRaiseRequest());
    EXPECT_FALSE(first.takeRaiseRequest());
    SingleInstanceLock second("Silent", folder.path());
    EXPECT_TRUE(second.requestRaise());
    EXPECT_TRUE(first.takeRaiseRequest());

    // Silent callers are dropped after a while: their end sees the close.
    for (int frame = 0; frame < 200; ++frame)
        first.takeRaiseRequest();
    char byte = 0;
    EXPECT_EQ(::recv(silent[0], &byte, 1, 0), 0);
    for (int descriptor : silent)
        ::close(descriptor);
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
