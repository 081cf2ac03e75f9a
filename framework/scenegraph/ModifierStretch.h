#pragma once

#include "framework/scenegraph/ModifierFraction.h"

// Stretches its target sprite about its pivot from one size to another.
class ModifierStretch : public ModifierFraction {
    TT_CLASS_RECORD(ModifierStretch)
public:
    ModifierStretch(int durationMs, float fromWidth, float fromHeight, float toWidth, float toHeight,
                    easing::Function easing = nullptr)
        : ModifierFraction(durationMs, easing), fromWidth(fromWidth), fromHeight(fromHeight), toWidth(toWidth),
          toHeight(toHeight), currentWidth(fromWidth), currentHeight(fromHeight)
    {
    }

    void setStretchWidth(bool value) { stretchWidth = value; }
    void setStretchHeight(bool value) { stretchHeight = value; }

protected:
    void applyFraction() override;

private:
    float fromWidth;
    float fromHeight;
    float toWidth;
    float toHeight;
    float currentWidth;
    float currentHeight;
    bool stretchWidth = true;
    bool stretchHeight = true;
};
