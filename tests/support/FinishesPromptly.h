#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <thread>

// Runs `work` on another thread and waits a bounded time: a read that blocks
// fails the test instead of hanging it. The thread is left behind then (the
// test program ends soon after), so that the failure is reported.
template <typename Work>
bool finishesPromptly(Work work)
{
    auto task = std::make_shared<std::packaged_task<void()>>(work);
    std::future<void> done = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    return done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
}
