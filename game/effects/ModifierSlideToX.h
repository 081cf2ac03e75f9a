#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"

// Slides its target horizontally towards an x at a shared speed read every
// step (the conveyor's belt speed), so a change of the speed acts at once; it
// finishes on reaching or passing the target x, where it puts the node.
class ModifierSlideToX : public Modifier {
    TT_CLASS_RECORD(ModifierSlideToX)
public:
    // `speed` is in pixels per millisecond; `speedOwner`, when given, is held
    // so that the speed outlives the modifier (otherwise the creator's must).
    ModifierSlideToX(const float* speed, int targetX, float factor = 1.0f, BaseObject* speedOwner = nullptr);

    void step(int deltaMs) override;

    int getTargetX() const { return targetX; }

private:
    const float* speed;
    RefPointer<BaseObject> speedOwner;
    int targetX;
    int x = 0;
    int y = 0;
    float xf = 0.0f;
    bool firstStep = true;
    float factor;
};
