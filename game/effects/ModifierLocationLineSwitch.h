#pragma once

#include "framework/scenegraph/Modifier.h"

// Shuttles its target between two points (a pointing hand): from B to A, at
// once back to B, a rest at B, and again; optionally eased. The count goes
// down at each arrival and each step of the rest; it ends on reaching 0
// (a negative count never does).
class ModifierLocationLineSwitch : public Modifier {
    TT_CLASS_RECORD(ModifierLocationLineSwitch)
public:
    ModifierLocationLineSwitch(int x1, int y1, int x2, int y2, int moveMs, int waitMs, bool eased, int count);
    // Reads "x1", "y1", "x2", "y2", "movetime", "waittime", "eased" and "count" (default -1).
    explicit ModifierLocationLineSwitch(AbstractProperty* configuration);

    void step(int deltaMs) override;

private:
    int x1;
    int y1;
    int x2;
    int y2;
    int x;
    int y;
    int count;
    int elapsed = 0;
    int moveDuration;
    int waitDuration;
    bool eased;
    bool towardA = true;
    bool resting = false;
};
