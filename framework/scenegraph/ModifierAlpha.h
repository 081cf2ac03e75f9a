#pragma once

#include "framework/scenegraph/ModifierFraction.h"

// Fades its target sprite's alpha from one value to another (truncated).
class ModifierAlpha : public ModifierFraction {
    TT_CLASS_RECORD(ModifierAlpha)
public:
    ModifierAlpha(int durationMs, int from, int to, easing::Function easing = nullptr);

    float getCurrent() const { return current; }

protected:
    void applyFraction() override;

private:
    int from;
    int to;
    float current;
};
