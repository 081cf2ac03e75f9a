#pragma once

#include "framework/scenegraph/ModifierFraction.h"

// Moves its target along a straight line; positions are truncated toward zero.
class ModifierLocationLine : public ModifierLocation {
    TT_CLASS_RECORD(ModifierLocationLine)
public:
    ModifierLocationLine(int durationMs, int fromX, int fromY, int toX, int toY,
                         easing::Function easing = nullptr);

protected:
    void applyFraction() override;

private:
    int endX;
    int endY;
};
