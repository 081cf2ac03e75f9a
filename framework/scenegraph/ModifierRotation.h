#pragma once

#include "framework/scenegraph/Modifier.h"

// Turns its target sprite from one angle (radians) to another over a
// duration, optionally eased; with the spin switch it turns a full circle
// per duration and never ends by itself.
class ModifierRotation : public Modifier {
    TT_CLASS_RECORD(ModifierRotation)
public:
    ModifierRotation(float from, float to, int durationMs) : from(from), to(to), duration(durationMs), current(from) {}

    void step(int deltaMs) override;

    void setSmooth(bool value) { smooth = value; }
    void setSpin(bool value) { spin = value; }
    float getCurrent() const { return current; }

private:
    float from;
    float to;
    int duration;
    float current;
    int elapsed = 0;
    bool done = false;
    bool smooth = false;
    bool spin = false;
};
