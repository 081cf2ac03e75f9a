#pragma once

#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"

// An ordered list of tasks run one pass at a time. Tasks may add, remove or
// finish tasks during a pass: added ones run in the same pass, removed ones
// are never reached again.
class TaskManager : public BaseObject {
    TT_CLASS_RECORD(TaskManager)
public:
    TaskManager() = default;
    explicit TaskManager(AbstractProperty*) {}
    ~TaskManager() override;

    // Appends the task (the list takes a reference). A task added twice runs twice per pass.
    void addTask(Task* task);
    // Calls the task's onStop once and drops every entry that holds it.
    void removeTask(Task* task);
    // One pass over the tasks.
    void run(int elapsedMs);

    // Number of live entries (a task added twice counts twice).
    int getTaskCount() const;
    bool contains(const Task* task) const;

private:
    void compact();

    // Removed entries become null while a pass runs and are swept after it,
    // so a pass never follows a freed entry.
    std::vector<RefPointer<Task>> tasks;
    int passDepth = 0;
};
