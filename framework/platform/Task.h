#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;

// A unit of per-frame work run by a TaskManager: started once before its first
// run, run with the elapsed milliseconds while active, stopped when removed,
// and optionally replaced by a follow-up task when it finishes.
class Task : public BaseObject {
    TT_CLASS_RECORD(Task)
public:
    Task() = default;
    explicit Task(AbstractProperty*) {}

    virtual void onStart() {}
    virtual void run(int /*elapsedMs*/) {}
    virtual void onStop() {}
    virtual void setActive(bool value) { active = value; }

    bool isActive() const { return active; }
    bool isFinished() const { return finished; }
    // A finished task is removed by its manager on the next pass and never runs again.
    void setFinished(bool value = true) { finished = value; }
    bool isRegistered() const { return registered; }
    bool isStarted() const { return started; }
    Task* getFollowUp() const { return followUp.get(); }
    void setFollowUp(Task* task) { followUp = task; }

private:
    friend class TaskManager;

    bool active = true;
    bool finished = false;
    bool registered = false;
    RefPointer<Task> followUp;
    bool started = false;
};
