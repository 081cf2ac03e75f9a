#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/platform/FrameClock.h"
#include "framework/platform/TimedTaskManager.h"
#include "host/FakeHostPlatform.h"

namespace {

using Log = std::vector<std::string>;

// Writes every call into a shared log; finishes after `runsBeforeFinish` runs.
class LoggingTask : public Task {
public:
    LoggingTask(const std::string& name, Log& log, int runsBeforeFinish = -1)
        : name(name), log(log), runsLeft(runsBeforeFinish)
    {
    }
    void onStart() override { log.push_back(name + ":start"); }
    void run(int elapsedMs) override
    {
        log.push_back(name + ":run" + std::to_string(elapsedMs));
        elapsed.push_back(elapsedMs);
        if (runsLeft > 0 && --runsLeft == 0)
            setFinished();
        if (onRun)
            onRun();
    }
    void onStop() override { log.push_back(name + ":stop"); }

    std::string name;
    Log& log;
    int runsLeft;
    std::vector<int> elapsed;
    std::function<void()> onRun;
};

} // namespace

TEST(TaskManager, StartsOnceThenRunsEveryPass)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    manager->addTask(task.get());
    EXPECT_TRUE(task->isRegistered());
    manager->run(10);
    manager->run(20);
    EXPECT_EQ(log, (Log {"a:start", "a:run10", "a:run20"}));
}

TEST(TaskManager, FinishedTaskIsRemovedNextPassAndFollowUpRunsInThatPass)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> first(new LoggingTask("a", log, 1));
    RefPointer<LoggingTask> followUp(new LoggingTask("b", log));
    first->setFollowUp(followUp.get());
    manager->addTask(first.get());
    manager->run(5);
    manager->run(6);
    EXPECT_EQ(log, (Log {"a:start", "a:run5", "a:stop", "b:start", "b:run6"}));
    EXPECT_FALSE(first->isRegistered());
    EXPECT_EQ(first->getFollowUp(), nullptr);
    EXPECT_EQ(manager->getTaskCount(), 1);
}

TEST(TaskManager, TaskAddedTwiceRunsTwiceAndIsStoppedOnce)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    manager->addTask(task.get());
    manager->addTask(task.get());
    manager->run(1);
    EXPECT_EQ(task->elapsed.size(), 2u);
    manager->removeTask(task.get());
    EXPECT_EQ(std::count(log.begin(), log.end(), "a:stop"), 1);
    EXPECT_EQ(manager->getTaskCount(), 0);
    EXPECT_EQ(task->getReferenceCount(), 1);
}

TEST(TaskManager, FinishedTaskNeverRunsAgainEvenFromASecondEntry)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> task(new LoggingTask("a", log, 1));
    manager->addTask(task.get());
    manager->addTask(task.get());
    manager->run(1);
    manager->run(1);
    EXPECT_EQ(task->elapsed.size(), 1u);
}

TEST(TaskManager, InactiveTaskIsNeitherStartedNorRunNorRemoved)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    task->setActive(false);
    manager->addTask(task.get());
    manager->run(1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(manager->getTaskCount(), 1);
    task->setActive(true);
    manager->run(2);
    EXPECT_EQ(log, (Log {"a:start", "a:run2"}));
}

TEST(TaskManager, TaskAddedDuringAPassRunsInThatPass)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    RefPointer<LoggingTask> adder(new LoggingTask("a", log));
    RefPointer<LoggingTask> added(new LoggingTask("b", log));
    adder->onRun = [&] {
        if (!added->isRegistered())
            manager->addTask(added.get());
    };
    manager->addTask(adder.get());
    manager->run(3);
    EXPECT_EQ(log, (Log {"a:start", "a:run3", "b:start", "b:run3"}));
}

TEST(TaskManager, TaskRemovedDuringAPassIsNotReached)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    LoggingTask* remover = new LoggingTask("a", log);
    LoggingTask* victim = new LoggingTask("b", log);
    remover->onRun = [&] { manager->removeTask(victim); };
    manager->addTask(remover);
    manager->addTask(victim);
    manager->run(4);
    EXPECT_EQ(log, (Log {"a:start", "a:run4", "b:stop"}));
    EXPECT_EQ(manager->getTaskCount(), 1);
}

TEST(TaskManager, TaskMayRemoveItselfDuringItsRun)
{
    Log log;
    RefPointer<TaskManager> manager(new TaskManager());
    LoggingTask* task = new LoggingTask("a", log);
    LoggingTask* after = new LoggingTask("b", log);
    task->onRun = [&] { manager->removeTask(task); };
    manager->addTask(task);
    manager->addTask(after);
    manager->run(1);
    EXPECT_EQ(log, (Log {"a:start", "a:run1", "a:stop", "b:start", "b:run1"}));
}

TEST(TaskManager, DestructionStopsEveryTaskInOrder)
{
    Log log;
    {
        RefPointer<TaskManager> manager(new TaskManager());
        manager->addTask(new LoggingTask("a", log));
        manager->addTask(new LoggingTask("b", log));
    }
    EXPECT_EQ(log, (Log {"a:stop", "b:stop"}));
}

TEST(TimedTaskManager, RateSetsTheMinimumFrameTime)
{
    ManualFrameClock clock;
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(50);
    EXPECT_EQ(timer->getMinFrameTime(), 20);
    timer->setRate(60);
    EXPECT_EQ(timer->getMinFrameTime(), 16);
    timer->setRate(5000);
    EXPECT_EQ(timer->getTargetRate(), 1000);
    EXPECT_EQ(timer->getMinFrameTime(), 1);
    timer->setRate(0);
    EXPECT_EQ(timer->getMinFrameTime(), 0);
}

TEST(TimedTaskManager, SleepsAwayTheRestOfTheFrame)
{
    Log log;
    ManualFrameClock clock(1000);
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(50);
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    timer->addTask(task.get());
    clock.advance(5);
    timer->tick();
    EXPECT_EQ(clock.totalSlept(), 15u);
    // The previous frame's own work counts: 30 ms later gives 30.
    clock.advance(30);
    timer->tick();
    EXPECT_EQ(task->elapsed, (std::vector<int> {20, 30}));
    EXPECT_EQ(timer->getFrameCount(), 2u);
}

TEST(TimedTaskManager, ElapsedTimeIsClampedTo100Ms)
{
    Log log;
    ManualFrameClock clock;
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(0);
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    timer->addTask(task.get());
    clock.advance(5000);
    timer->tick();
    clock.advance(7);
    timer->tick();
    timer->tick();
    EXPECT_EQ(task->elapsed, (std::vector<int> {100, 7, 0}));
    EXPECT_EQ(clock.totalSlept(), 0u);
}

TEST(TimedTaskManager, WrappingClockGivesTheTrueElapsedTime)
{
    Log log;
    ManualFrameClock clock(0xFFFFFFF0u);
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(50);
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    timer->addTask(task.get());
    clock.advance(40); // wraps past zero
    timer->tick();
    EXPECT_EQ(task->elapsed, (std::vector<int> {40}));
    EXPECT_EQ(clock.totalSlept(), 0u);
}

TEST(TimedTaskManager, MeasuresFpsOnlyWhenAnIntervalIsSet)
{
    ManualFrameClock clock;
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(50);
    for (int i = 0; i < 60; ++i)
        timer->tick();
    EXPECT_EQ(timer->getFps(), 0);
    timer->setFpsInterval(1000);
    for (int i = 0; i < 60; ++i)
        timer->tick();
    EXPECT_EQ(timer->getFps(), 50);
}

TEST(TimedTaskManager, GlobalInstanceIsCreatedAndDropped)
{
    ManualFrameClock clock;
    TimedTaskManager* timer = TimedTaskManager::create(&clock);
    EXPECT_EQ(TimedTaskManager::instance, timer);
    EXPECT_EQ(timer->getReferenceCount(), 1);
    TimedTaskManager::destroyInstance();
    EXPECT_EQ(TimedTaskManager::instance, nullptr);
}

TEST(TimedTaskManager, WithoutAClockItPacesItselfByTheHost)
{
    ScopedFakeHostPlatform host;
    host.clock = 0xFFFFFFF8u;
    TimedTaskManager* timer = TimedTaskManager::create();
    timer->setRate(50);
    Log log;
    RefPointer<LoggingTask> task(new LoggingTask("a", log));
    timer->addTask(task.get());
    host.advanceClock(8);
    timer->tick();
    // 8 ms since the last frame: the rest of the 20 ms is slept on the host.
    EXPECT_EQ(host.clock, 12u);
    EXPECT_EQ(task->elapsed, (std::vector<int> {20}));
    TimedTaskManager::destroyInstance();
}
