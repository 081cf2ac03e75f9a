#pragma once

#include <cstdint>

#include "framework/core/BaseObject.h"

class Modifier;

// The goal display of the arcade and the exam levels: it counts packaged
// pastries (down to 0 in an arcade round, up towards the goal in an exam),
// shows the exam's goal, and in the arcade the set and the round reached.
// The session's star count is the value kept; the panel mirrors it.
class PastryGoalPanel : public BaseObject {
public:
    PastryGoalPanel();

    // Rewrites goal, count, title, level picture and round from the game state.
    void refresh();
    // One pastry packaged.
    void addEarnedPackage();
    int32_t getCount() const { return count; }

    // The round number, flipping its icon when `animate`.
    static void refreshLevelValue(bool animate);
    // The intro pulse of the display, hung under `after`; returns it.
    static Modifier* addIntroBlink(Modifier* after);
    // The goal shown on an exam level: the one the results test.
    static int examGoal();

private:
    int32_t count = 0;
};

// The pastry goal display of the current phase, not counted; null when none.
PastryGoalPanel* getPastryGoalPanel();
