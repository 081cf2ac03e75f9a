#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// A wake-up call that is never lost: every notify counts, and a waiter that
// comes late still finds the pending wake-ups (a condition variable with a
// pending counter). `stop` wakes every waiter for good.
class WakeSignal {
public:
    void notify();
    // Waits until a wake-up is pending or the signal is stopped; takes every
    // pending wake-up. False when stopped.
    bool wait();
    // As wait, for at most `milliseconds`. True when a wake-up was taken.
    bool waitFor(uint32_t milliseconds);
    void stop();
    bool isStopped() const;
    int getPendingCount() const;

private:
    mutable std::mutex lock;
    std::condition_variable condition;
    int pending = 0;
    bool stopped = false;
};

// A recursive lock whose waits are bounded: a wait that times out is logged
// and waits again, so no one ever goes on without the lock. It meets the
// standard Lockable requirements, so std::lock_guard and std::unique_lock work.
// (Built on a plain mutex and a condition variable, which every thread
// checker understands.)
class BoundedMutex {
public:
    explicit BoundedMutex(std::string name, uint32_t waitMilliseconds = 10000)
        : name(std::move(name)), waitMilliseconds(waitMilliseconds)
    {
    }
    BoundedMutex(const BoundedMutex&) = delete;
    BoundedMutex& operator=(const BoundedMutex&) = delete;

    void lock();
    bool try_lock();
    // Only the holding thread may unlock; anything else is a bug (asserted, then ignored).
    void unlock();
    // How many bounded waits have timed out so far (each was logged).
    int getTimedOutWaits() const { return timedOutWaits; }
    const std::string& getName() const { return name; }
    bool isHeldByCurrentThread() const;

private:
    mutable std::mutex state;
    std::condition_variable released;
    std::thread::id owner;
    int depth = 0;
    std::string name;
    uint32_t waitMilliseconds;
    std::atomic<int> timedOutWaits{0};
};

// How a worker thread shares a busy processor: a background one yields to the
// game's own thread (a lower scheduling priority), so that frames keep their
// time while it works.
enum class ThreadPriority { Normal, Background };

// A named worker thread that is joined when it goes, never detached.
class HostThread {
public:
    HostThread() = default;
    ~HostThread() { join(); }
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    // False when a thread is already running or none could be started.
    bool start(const std::string& name, std::function<void()> body,
               ThreadPriority priority = ThreadPriority::Normal);
    void join();
    bool isRunning() const { return thread.joinable(); }
    bool isCurrentThread() const { return thread.get_id() == std::this_thread::get_id(); }

private:
    std::thread thread;
};
