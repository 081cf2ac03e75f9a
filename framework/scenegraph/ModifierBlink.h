#pragma once

#include <cstdint>
#include <vector>

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// Blinks its target's alpha (or that of a list of nodes) between a low and a
// high value: low hold, fade up, high hold, fade down, a given number of
// times (0 or less: until ended from outside).
class ModifierBlink : public Modifier {
    TT_CLASS_RECORD(ModifierBlink)
public:
    ModifierBlink(int low, int high, int fadeUpMs, int fadeDownMs, int highHoldMs, int lowHoldMs, int blinkCount);

    void step(int deltaMs) override;

    // Blinks these nodes instead of the target (the modifier keeps alive records, not the nodes).
    void addNode(GameNode* node);
    int getValue() const { return value; }
    int getPhase() const { return phase; }
    int getBlinkCounter() const { return blinkCounter; }

private:
    void apply();

    int low;
    int high;
    int fadeUp;
    int fadeDown;
    int highHold;
    int lowHold;
    int blinkCount;
    int phase = 0;
    uint32_t timeInPhase = 0;
    uint32_t phaseLength = 0;
    int value;
    int blinkCounter = 0;
    std::vector<RefPointer<NodeLink>> nodes;
};
