#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// Folders of both kinds: a socket path that fits a socket address, and one
// past it (a deep checkout, a long home), whose socket is found by name only.
std::vector<std::string> shortAndDeepFolders(const TempFolder& folder)
{
    std::string deep = folder.path() + "/" + std::string(120, 'd');
    EXPECT_TRUE(makeDirectoryTree(deep));
    return {folder.path(), deep};
}

TEST(SingleInstanceLock, NoRunningCopyMeansNoOneToRaise)
{
    TempFolder folder;
    for (const std::string& place : shortAndDeepFolders(folder)) {
        SCOPED_TRACE(place);
        SingleInstanceLock lonely("Nobody", place);
        EXPECT_FALSE(lonely.requestRaise());
        EXPECT_LT(lonely.connectToRunningCopy(), 0);
        {
            SingleInstanceLock held("Nobody", place);
            ASSERT_EQ(held.acquire(), SingleInstanceLock::Result::Acquired);
            int connection = lonely.connectToRunningCopy();
            EXPECT_GE(connection, 0);
            if (connection >= 0)
                ::close(connection);
        }
        // The socket goes with its holder, and a later copy may take the lock.
        EXPECT_LT(lonely.connectToRunningCopy(), 0);
        EXPECT_FALSE(lonely.requestRaise());
        EXPECT_EQ(lonely.acquire(), SingleInstanceLock::Result::Acquired);
    }
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

// The main loop asks every frame; callers that connect and say nothing (or
// say it late) must never hold it up.
TEST(SingleInstanceLock, SilentCallersNeverBlockTheRunningCopy)
{
    TempFolder folder;
    for (const std::string& place : shortAndDeepFolders(folder)) {
        SCOPED_TRACE(place);
        SingleInstanceLock first("Silent", place);
        ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
        SingleInstanceLock second("Silent", place);
        std::vector<int> silent;
        // As many as the listener's backlog holds before anyone accepts.
        for (int i = 0; i < 4; ++i) {
            silent.push_back(second.connectToRunningCopy());
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
}

TEST(SingleInstanceLock, LivesInTheDataFolderWithAFileSafeNameWhateverTheRuntimeFolder)
{
    ASSERT_FALSE(getRuntimeFolder().empty());
    SingleInstanceLock lock("My Game/1");
    const std::string dataFolder = makerFolderUnder(getDataHome());
    EXPECT_EQ(lock.getLockPath(), dataFolder + "/My_Game_1.lock");
    EXPECT_EQ(lock.getSocketPath(), dataFolder + "/My_Game_1.sock");
    SingleInstanceLock given("Game", "/some/data/");
    EXPECT_EQ(given.getLockPath(), "/some/data/Game.lock");
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

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : variableName(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (old)
            oldValue = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (hadValue)
            setenv(variableName, oldValue.c_str(), 1);
        else
            unsetenv(variableName);
    }

private:
    const char* variableName;
    bool hadValue = false;
    std::string oldValue;
};

// Waits for a child process at most `seconds`; -1 when it had to be killed.
int exitCodeWithin(pid_t child, int seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        ::usleep(10000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two copies started with different runtime folders but one data folder
// would both save into it, and the last to quit would undo the other's
// progress: the second is refused and raises the first.
TEST(SingleInstanceLock, OneDataFolderIsOneCopyWhateverTheRuntimeFolder)
{
    TempFolder folder;
    const std::string runFirst = folder.path() + "/run-first";
    const std::string runSecond = folder.path() + "/run-second";
    ASSERT_TRUE(makeDirectoryTree(runFirst));
    ASSERT_TRUE(makeDirectoryTree(runSecond));
    ScopedVariable dataHome("XDG_DATA_HOME", folder.path() + "/data");

    // The data folder named by the game, and the one the data home gives.
    for (const std::string& dataFolder : {folder.path() + "/game-data", std::string()}) {
        SCOPED_TRACE(dataFolder);
        std::unique_ptr<SingleInstanceLock> first;
        {
            ScopedVariable runtime("XDG_RUNTIME_DIR", runFirst);
            first = std::make_unique<SingleInstanceLock>("Shared", dataFolder);
            ASSERT_EQ(first->acquire(), SingleInstanceLock::Result::Acquired);
        }
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setenv("XDG_RUNTIME_DIR", runSecond.c_str(), 1);
            SingleInstanceLock second("Shared", dataFolder);
            if (second.acquire() != SingleInstanceLock::Result::AlreadyRunning)
                _exit(2);
            _exit(second.requestRaise() ? 0 : 3);
        }
        EXPECT_EQ(exitCodeWithin(child, 30), 0) << "2: the second copy ran too, 3: it could not raise the first";
        EXPECT_TRUE(first->takeRaiseRequest());

        // Once the first has gone, a copy with the other runtime folder may run.
        first.reset();
        ScopedVariable runtime("XDG_RUNTIME_DIR", runSecond);
        SingleInstanceLock later("Shared", dataFolder);
        EXPECT_EQ(later.acquire(), SingleInstanceLock::Result::Acquired);
    }
}

// Copies may name one data folder differently: through a link, with a
// trailing slash, or by a path too long for a socket address. Each is the
// same copy, and each reaches the running one.
TEST(SingleInstanceLock, OneDataFolderSpelledDifferentlyIsOneCopy)
{
    TempFolder folder;
    const std::string real = folder.path() + "/data";
    ASSERT_TRUE(makeDirectoryTree(real));
    const std::string deepParent = folder.path() + "/" + std::string(120, 'l');
    ASSERT_TRUE(makeDirectoryTree(deepParent));
    const std::string deepLink = deepParent + "/data";
    const std::string shortLink = folder.path() + "/d";
    ASSERT_EQ(::symlink(real.c_str(), deepLink.c_str()), 0);
    ASSERT_EQ(::symlink(real.c_str(), shortLink.c_str()), 0);

    const std::vector<std::pair<std::string, std::string>> spellings = {
        {real, real + "/"},
        {real, shortLink},
        {real, deepLink},
        {deepLink, real},
        {deepLink, shortLink},
        {folder.path() + "/./data", deepLink + "/../data"},
    };
    for (const auto& [held, asking] : spellings) {
        SCOPED_TRACE(held + " and " + asking);
        SingleInstanceLock first("Spelled", held);
        ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
        SingleInstanceLock second("Spelled", asking);
        EXPECT_EQ(second.acquire(), SingleInstanceLock::Result::AlreadyRunning);
        EXPECT_TRUE(second.requestRaise());
        EXPECT_TRUE(first.takeRaiseRequest());
    }
}

// A running copy that stops taking requests (stuck in a dialog, or hung)
// fills its queue; a second copy asking then must give up, not wait for ever.
TEST(SingleInstanceLock, AFullQueueNeverHangsTheCopyThatAsks)
{
    TempFolder folder;
    for (const std::string& place : shortAndDeepFolders(folder)) {
        SCOPED_TRACE(place);
        SingleInstanceLock first("Busy", place);
        ASSERT_EQ(first.acquire(), SingleInstanceLock::Result::Acquired);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SingleInstanceLock second("Busy", place);
            int delivered = 0;
            for (int attempt = 0; attempt < 20; ++attempt)
                delivered += second.requestRaise() ? 1 : 0;
            // The first requests fit the queue; the rest are refused at once.
            _exit(delivered > 0 && delivered < 20 ? 0 : 2);
        }
        EXPECT_EQ(exitCodeWithin(child, 20), 0) << "-1: the asking copy hung";
        EXPECT_TRUE(first.takeRaiseRequest());
    }
}

} // namespace
