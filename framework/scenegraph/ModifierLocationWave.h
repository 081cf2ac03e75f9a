#pragma once

#include "framework/scenegraph/ModifierFraction.h"

// Circles its target around a centre while the radius and the angle move
// between their start and end values, each over its own time.
class ModifierLocationWave : public ModifierLocation {
    TT_CLASS_RECORD(ModifierLocationWave)
public:
    ModifierLocationWave(int centreX, int centreY, float radiusFrom, float radiusTo, float angleFrom,
                         float angleTo, int radiusTimeMs, int angleTimeMs);

    void step(int deltaMs) override;

private:
    float radiusFrom;
    float radiusTo;
    float angleFrom;
    float angleTo;
    int radiusTime;
    int angleTime;
};
