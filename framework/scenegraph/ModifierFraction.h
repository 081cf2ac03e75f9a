#pragma once

#include "framework/scenegraph/Modifier.h"

// Easing functions that bend the elapsed fraction t (0..1) of a timed modifier.
namespace easing {
using Function = float (*)(float t);
inline float linear(float t) { return t; }
// 3t^2 - 2t^3
inline float smooth(float t) { return (3.0f - 2.0f * t) * t * t; }
inline float quadratic(float t) { return t * t; }
} // namespace easing

// The timed modifier base: a duration, the time elapsed and the fraction of
// the duration passed (optionally eased). The step that reaches the duration
// finishes with fraction exactly 1.0, so the end value is applied in that step.
class ModifierFraction : public Modifier {
    TT_CLASS_RECORD(ModifierFraction)
public:
    explicit ModifierFraction(int durationMs, easing::Function easing = nullptr)
        : duration(durationMs), easingFunction(easing)
    {
    }

    // The fraction step, then applyFraction with the new fraction.
    void step(int deltaMs) override;
    void finish() override;

    int getDuration() const { return duration; }
    int getElapsed() const { return elapsed; }
    float getFraction() const { return fraction; }
    void setEasing(easing::Function function) { easingFunction = function; }

protected:
    // elapsed += delta; finish at the duration, else fraction = elapsed / duration.
    void advance(int deltaMs);
    // What the concrete modifier does with the fraction; nothing here.
    virtual void applyFraction() {}

    int duration;
    int elapsed = 0;
    float fraction = 0.0f;
    easing::Function easingFunction;
};

// Base of the modifiers that move their target: a start point and the
// current position, with switches for which axes move.
class ModifierLocation : public ModifierFraction {
    TT_CLASS_RECORD(ModifierLocation)
public:
    ModifierLocation(int durationMs, int x, int y);

    void setMoveX(bool value) { moveX = value; }
    void setMoveY(bool value) { moveY = value; }
    float getCurrentX() const { return currentX; }
    float getCurrentY() const { return currentY; }

protected:
    int startX;
    int startY;
    float currentX;
    float currentY;
    bool moveX = true;
    bool moveY = true;
    bool done = false;
};
