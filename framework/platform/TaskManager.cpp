#include "framework/platform/TaskManager.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_ROOT_RECORD(TaskManager);

TT_REGISTER_CLASS(TaskManager);

TaskManager::~TaskManager()
{
    ++passDepth;
    for (size_t i = 0; i < tasks.size(); ++i) {
        if (Task* task = tasks[i].get())
            removeTask(task);
    }
    tasks.clear();
}

void TaskManager::addTask(Task* task)
{
    if (!task)
        return;
    tasks.emplace_back(task);
    task->registered = true;
}

bool TaskManager::contains(const Task* task) const
{
    return std::find(tasks.begin(), tasks.end(), task) != tasks.end();
}

void TaskManager::removeTask(Task* task)
{
    if (!task || !contains(task))
        return;
    RefPointer<Task> hold(task);
    task->registered = false;
    task->onStop();
    for (RefPointer<Task>& entry : tasks) {
        if (entry == task)
            entry.reset();
    }
    if (passDepth == 0)
        compact();
}

void TaskManager::compact()
{
    tasks.erase(std::remove(tasks.begin(), tasks.end(), RefPointer<Task>()), tasks.end());
}

int TaskManager::getTaskCount() const
{
    return static_cast<int>(tasks.size() - std::count(tasks.begin(), tasks.end(), RefPointer<Task>()));
}

void TaskManager::run(int elapsedMs)
{
    ++passDepth;
    // Indexing (not iterators) reaches the tasks appended during the pass.
    for (size_t i = 0; i < tasks.size(); ++i) {
        RefPointer<Task> task = tasks[i];
        if (!task)
            continue;
        if (task->finished) {
            if (task->followUp) {
                RefPointer<Task> followUp = std::move(task->followUp);
                addTask(followUp.get());
            }
            removeTask(task.get());
            continue;
        }
        if (!task->active)
            continue;
        if (!task->started) {
            task->started = true;
            task->onStart();
        }
        // Whatever happened in onStart, a finished or removed task does not run.
        if (!task->finished && task->active && task->registered)
            task->run(elapsedMs);
    }
    --passDepth;
    if (passDepth == 0)
        compact();
}
