#pragma once

#include <climits>

#include "framework/scenegraph/Modifier.h"

// Shakes its target at random around the position it had at its first step,
// within the offsets, for a duration, and puts it back there at the end.
class ModifierShake : public Modifier {
    TT_CLASS_RECORD(ModifierShake)
public:
    // An offset of 0 (or less) leaves that axis still.
    ModifierShake(int offsetX, int offsetY, int durationMs);

    void step(int deltaMs) override;

private:
    int offsetX;
    int offsetY;
    int remaining;
    int startX = INT_MIN;
    int startY = INT_MIN;
};
