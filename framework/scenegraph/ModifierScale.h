#pragma once

#include "framework/scenegraph/ModifierFraction.h"

// Scales its target sprite from one factor to another.
class ModifierScale : public ModifierFraction {
    TT_CLASS_RECORD(ModifierScale)
public:
    ModifierScale(int durationMs, float from, float to, easing::Function easing = nullptr)
        : ModifierFraction(durationMs, easing), from(from), to(to)
    {
    }

protected:
    void applyFraction() override;

private:
    float from;
    float to;
};
