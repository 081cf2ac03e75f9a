#pragma once

#include "framework/graphics/Geometry.h"
#include "framework/scenegraph/ModifierFraction.h"

// Moves its target sprite's clip rectangle from one rectangle to another;
// each side is rounded to nearest (ties to even).
class ModifierClipRect : public ModifierFraction {
    TT_CLASS_RECORD(ModifierClipRect)
public:
    ModifierClipRect(int durationMs, const Rect& from, const Rect& to, easing::Function easing = nullptr)
        : ModifierFraction(durationMs, easing), from(from), to(to)
    {
    }
    ModifierClipRect(int durationMs, int fromX, int fromY, int fromW, int fromH, int toX, int toY, int toW, int toH)
        : ModifierClipRect(durationMs, Rect {fromX, fromY, fromW, fromH}, Rect {toX, toY, toW, toH})
    {
    }

protected:
    void applyFraction() override;

private:
    Rect from;
    Rect to;
};
