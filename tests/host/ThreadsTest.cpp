#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "host/HostLog.h"
#include "host/Threads.h"

namespace {

std::vector<std::string>* capturedLines = nullptr;
std::mutex capturedLock;

void captureLine(HostLogLevel, const std::string& line)
{
    std::lock_guard<std::mutex> guard(capturedLock);
    if (capturedLines)
        capturedLines->push_back(line);
}

TEST(WakeSignal, WakeUpBeforeTheWaitIsNotLost)
{
    WakeSignal signal;
    signal.notify();
    signal.notify();
    EXPECT_EQ(signal.getPendingCount(), 2);
    EXPECT_TRUE(signal.wait());
    EXPECT_EQ(signal.getPendingCount(), 0);
    EXPECT_FALSE(signal.waitFor(1));
}

TEST(WakeSignal, ManyRequestIdleCyclesLoseNoWakeUp)
{
    WakeSignal request;
    WakeSignal done;
    std::atomic<int> handled{0};
    HostThread worker;
    ASSERT_TRUE(worker.start("wake-test", [&] {
        while (request.wait()) {
            ++handled;
            done.notify();
        }
    }));
    for (int cycle = 0; cycle < 2000; ++cycle) {
        request.notify();
        ASSERT_TRUE(done.waitFor(5000)) << "cycle " << cycle;
    }
    request.stop();
    worker.join();
    EXPECT_EQ(handled.load(), 2000);
    EXPECT_FALSE(worker.isRunning());
}

TEST(WakeSignal, StopReleasesEveryWaiter)
{
    WakeSignal signal;
    std::atomic<int> ended{0};
    HostThread first, second;
    first.start("stop-1", [&] {
        signal.wait();
        ++ended;
    });
    second.start("stop-2", [&] {
        signal.waitFor(60000);
        ++ended;
    });
    signal.stop();
    first.join();
    second.join();
    EXPECT_EQ(ended.load(), 2);
    EXPECT_TRUE(signal.isStopped());
    EXPECT_FALSE(signal.wait());
}

TEST(BoundedMutex, TimedOutWaitIsLoggedAndWaitsAgainUntilTheLockIsFree)
{
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> guard(capturedLock);
        capturedLines = &lines;
    }
    setHostLogSink(captureLine);

    BoundedMutex mutex("resources", 10);
    WakeSignal holding;
    WakeSignal letGo;
    HostThread holder;
    holder.start("holder", [&] {
        std::lock_guard<BoundedMutex> guard(mutex);
        holding.notify();
        letGo.wait();
    });
    ASSERT_TRUE(holding.waitFor(5000));

    std::atomic<bool> entered{false};
    HostThread waiter;
    waiter.start("waiter", [&] {
        std::lock_guard<BoundedMutex> guard(mutex);
        entered = true;
    });
    // The waiter must not get in while the holder keeps the lock.
    while (mutex.getTimedOutWaits() < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_FALSE(entered.load());
    letGo.notify();
    waiter.join();
    holder.join();
    EXPECT_TRUE(entered.load());

    setHostLogSink(nullptr);
    std::lock_guard<std::mutex> guard(capturedLock);
    capturedLines = nullptr;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(lines[0].find("resources"), std::string::npos) << lines[0];
}

TEST(BoundedMutex, IsRecursiveAndTryLockFailsWhileAnotherThreadHoldsIt)
{
    BoundedMutex mutex("recursive", 10);
    {
        std::lock_guard<BoundedMutex> outer(mutex);
        std::lock_guard<BoundedMutex> inner(mutex);
        EXPECT_TRUE(mutex.try_lock());
        mutex.unlock();
        EXPECT_TRUE(mutex.isHeldByCurrentThread());

        bool othersGotIt = true;
        HostThread other;
        other.start("try", [&] { othersGotIt = mutex.try_lock(); });
        other.join();
        EXPECT_FALSE(othersGotIt);
    }
    EXPECT_FALSE(mutex.isHeldByCurrentThread());
    bool othersGotIt = false;
    HostThread other;
    other.start("try", [&] {
        othersGotIt = mutex.try_lock();
        if (othersGotIt)
            mutex.unlock();
    });
    other.join();
    EXPECT_TRUE(othersGotIt);
    EXPECT_EQ(mutex.getTimedOutWaits(), 0);
}

TEST(BoundedMutex, ManyThreadsCountingUnderTheLockLoseNothing)
{
    BoundedMutex mutex("counter", 1000);
    long counter = 0;
    std::vector<std::unique_ptr<HostThread>> threads;
    for (int t = 0; t < 4; ++t) {
        threads.push_back(std::make_unique<HostThread>());
        threads.back()->start("count", [&] {
            for (int i = 0; i < 5000; ++i) {
                std::lock_guard<BoundedMutex> guard(mutex);
                ++counter;
            }
        });
    }
    threads.clear();
    EXPECT_EQ(counter, 20000);
}

TEST(HostThread, StartsOnceAndJoinsOnDestruction)
{
    std::atomic<int> runs{0};
    {
        HostThread thread;
        EXPECT_FALSE(thread.start("empty", nullptr));
        EXPECT_TRUE(thread.start("once", [&] { ++runs; }));
        EXPECT_FALSE(thread.start("twice", [&] { ++runs; }));
    }
    EXPECT_EQ(runs.load(), 1);
}

// A background thread (the resource loader) runs below the game's own thread,
// so that frames keep their time on a busy processor; a normal one does not.
TEST(HostThread, BackgroundThreadRunsAtALowerPriority)
{
    auto niceOf = [](ThreadPriority priority) {
        int value = 0;
        HostThread thread;
        EXPECT_TRUE(thread.start(
            "priority", [&] { value = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); }, priority));
        thread.join();
        return value;
    };
    const int own = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    EXPECT_EQ(niceOf(ThreadPriority::Normal), own);
    EXPECT_EQ(niceOf(ThreadPriority::Background), std::min(own + 10, 19));
}

} // namespace
