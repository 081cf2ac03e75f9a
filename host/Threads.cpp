#include "host/Threads.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <system_error>

#include "host/HostLog.h"

namespace {

// How much nicer a background thread is than the thread that starts it, and
// the nicest value there is.
constexpr int kBackgroundNiceStep = 10;
constexpr int kLowestPriority = 19;

}  // namespace

void WakeSignal::notify()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        ++pending;
    }
    condition.notify_all();
}

bool WakeSignal::wait()
{
    std::unique_lock<std::mutex> guard(lock);
    condition.wait(guard, [this] { return pending > 0 || stopped; });
    if (stopped)
        return false;
    pending = 0;
    return true;
}

bool WakeSignal::waitFor(uint32_t milliseconds)
{
    std::unique_lock<std::mutex> guard(lock);
    condition.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return pending > 0 || stopped; });
    if (stopped || pending == 0)
        return false;
    pending = 0;
    return true;
}

void WakeSignal::stop()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopped = true;
    }
    condition.notify_all();
}

bool WakeSignal::isStopped() const
{
    std::lock_guard<std::mutex> guard(lock);
    return stopped;
}

int WakeSignal::getPendingCount() const
{
    std::lock_guard<std::mutex> guard(lock);
    return pending;
}

void BoundedMutex::lock()
{
    std::thread::id me = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(state);
    if (depth > 0 && owner == me) {
        ++depth;
        return;
    }
    while (!released.wait_for(guard, std::chrono::milliseconds(waitMilliseconds), [this] { return depth == 0; })) {
        ++timedOutWaits;
        guard.unlock();
        hostLog("lock \"%s\": no access after %u ms; waiting again", name.c_str(), waitMilliseconds);
        guard.lock();
    }
    owner = me;
    depth = 1;
}

bool BoundedMutex::try_lock()
{
    std::thread::id me = std::this_thread::get_id();
    std::lock_guard<std::mutex> guard(state);
    if (depth > 0 && owner != me)
        return false;
    owner = me;
    ++depth;
    return true;
}

void BoundedMutex::unlock()
{
    {
        std::lock_guard<std::mutex> guard(state);
        bool holder = depth > 0 && owner == std::this_thread::get_id();
        assert(holder && "BoundedMutex unlocked by a thread that does not hold it");
        if (!holder)
            return;
        if (--depth > 0)
            return;
        owner = std::thread::id();
    }
    released.notify_one();
}

bool BoundedMutex::isHeldByCurrentThread() const
{
    std::lock_guard<std::mutex> guard(state);
    return depth > 0 && owner == std::this_thread::get_id();
}

bool HostThread::start(const std::string& name, std::function<void()> body, ThreadPriority priority)
{
    if (thread.joinable() || !body)
        return false;
    try {
        thread = std::thread([name, body = std::move(body), priority] {
            // Thread names are limited to 15 characters.
            pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
            // On Linux the nice value belongs to the thread; failing to raise
            // it only costs the game some frame time.
            if (priority == ThreadPriority::Background) {
                const id_t self = static_cast<id_t>(syscall(SYS_gettid));
                const int nice = std::min(kLowestPriority, getpriority(PRIO_PROCESS, self) + kBackgroundNiceStep);
                if (setpriority(PRIO_PROCESS, self, nice) != 0)
                    hostLog("thread \"%s\": cannot lower its priority", name.c_str());
            }
            body();
        });
    } catch (const std::system_error& error) {
        hostLog("thread \"%s\": cannot start: %s", name.c_str(), error.what());
        return false;
    }
    return true;
}

void HostThread::join()
{
    if (thread.joinable() && !isCurrentThread())
        thread.join();
}
