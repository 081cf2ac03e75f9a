#pragma once

#include <cstdint>

#include "framework/scenegraph/Modifier.h"

// Blinks its target sprite's alpha between a low and a high value with fades
// that shrink (down to 50 ms) over the total duration, so the blink speeds up
// towards the end; it ends at the low value.
class ModifierBlinkFaster : public Modifier {
    TT_CLASS_RECORD(ModifierBlinkFaster)
public:
    ModifierBlinkFaster(int lowValue, int highValue, int fadeUpMs, int fadeDownMs, int highHoldMs, int lowHoldMs,
                        int totalMs);
    // Reads "low", "high", "fadeup", "fadedown", "highhold", "lowhold" and "total".
    explicit ModifierBlinkFaster(AbstractProperty* configuration);

    void step(int deltaMs) override;

    int getValue() const { return value; }
    int getPhase() const { return phase; }
    int getFadeUp() const { return fadeUp; }
    int getFadeDown() const { return fadeDown; }

private:
    void advancePhase();
    void applyValue();

    uint32_t phaseElapsed = 0;
    uint32_t phaseDuration = 0;
    int phase = 0;
    int lowValue;
    int value;
    int highValue;
    int fadeUpStart;
    int fadeDownStart;
    int fadeUp;
    int fadeDown;
    int highHold;
    int lowHold;
    int totalDuration;
    int totalElapsed = 0;
};
