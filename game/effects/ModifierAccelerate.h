#pragma once

#include "framework/scenegraph/Modifier.h"

// A vertical fall with gravity onto a line: the speed grows by the
// acceleration up to a top speed, the node bounces off the line (reflected,
// keeping its speed) a number of times and then rests on it.
class ModifierAccelerate : public Modifier {
    TT_CLASS_RECORD(ModifierAccelerate)
public:
    // Speeds in pixels per second, the acceleration in pixels per second per millisecond.
    ModifierAccelerate(int targetY, float speedPerSecond, float acceleration, float maxSpeedPerSecond, int maxBounces);

    void step(int deltaMs) override;

    // Retargets a running fall; a node already below the new line is put on it.
    void setTargetY(int value);

    int getTargetY() const { return targetY; }
    int getBounces() const { return bounces; }
    float getSpeed() const { return speed; }

private:
    bool firstStep = true;
    float speed;
    float acceleration;
    int targetY;
    float maxSpeed;
    float y = 0.0f;
    int bounces = 0;
    int maxBounces;
};
