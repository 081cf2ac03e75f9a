#include "game/effects/ModifierBlinkFaster.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/ModifierSettings.h"

TT_DEFINE_RECORD(ModifierBlinkFaster, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierBlinkFaster);

namespace {

constexpr int kShortestFadeMs = 50;

} // namespace

ModifierBlinkFaster::ModifierBlinkFaster(int lowValue, int highValue, int fadeUpMs, int fadeDownMs, int highHoldMs,
                                         int lowHoldMs, int totalMs)
    : lowValue(lowValue), value(lowValue), highValue(highValue), fadeUpStart(std::max(fadeUpMs, 0)),
      fadeDownStart(std::max(fadeDownMs, 0)), fadeUp(fadeUpStart), fadeDown(fadeDownStart),
      highHold(std::max(highHoldMs, 0)), lowHold(std::max(lowHoldMs, 0)), totalDuration(totalMs)
{
}

ModifierBlinkFaster::ModifierBlinkFaster(AbstractProperty* configuration)
    : ModifierBlinkFaster(modifierSettings(configuration)->getInt("low", 0),
                          modifierSettings(configuration)->getInt("high", 255),
                          modifierSettings(configuration)->getInt("fadeup", 0),
                          modifierSettings(configuration)->getInt("fadedown", 0),
                          modifierSettings(configuration)->getInt("highhold", 0),
                          modifierSettings(configuration)->getInt("lowhold", 0),
                          modifierSettings(configuration)->getInt("total", 0))
{
}

void ModifierBlinkFaster::advancePhase()
{
    // A phase of length 0 is passed at once; four in a row would turn forever.
    for (int emptyPhases = 0; phaseElapsed >= phaseDuration && emptyPhases < 4;) {
        emptyPhases = phaseDuration == 0 ? emptyPhases + 1 : 0;
        phase = (phase + 1) % 4;
        phaseElapsed -= phaseDuration;
        switch (phase) {
        case 0:
            phaseDuration = static_cast<uint32_t>(lowHold);
            break;
        case 1:
            phaseDuration = static_cast<uint32_t>(fadeUp);
            break;
        case 2:
            phaseDuration = static_cast<uint32_t>(highHold);
            break;
        default:
            phaseDuration = static_cast<uint32_t>(fadeDown);
            break;
        }
    }
}

void ModifierBlinkFaster::applyValue()
{
    if (Sprite* sprite = objectCast<Sprite>(getTarget()))
        sprite->setAlpha(value);
}

void ModifierBlinkFaster::step(int deltaMs)
{
    advancePhase();
    // All phases empty: nothing to blink, rest at the low value.
    const bool stuck = phaseElapsed >= phaseDuration;
    if (stuck || totalElapsed >= totalDuration) {
        value = lowValue;
        applyValue();
        finish();
        return;
    }
    // value = low + (high - low) * elapsed / duration while fading up, the mirror while fading down
    switch (phase) {
    case 0:
        value = lowValue;
        break;
    case 1:
        value = rounding::truncate(lowValue +
                                   static_cast<double>(highValue - lowValue) * phaseElapsed / phaseDuration);
        break;
    case 2:
        value = highValue;
        break;
    default:
        value = rounding::truncate(highValue +
                                   static_cast<double>(lowValue - highValue) * phaseElapsed / phaseDuration);
        break;
    }
    applyValue();
    totalElapsed += deltaMs;
    phaseElapsed += static_cast<uint32_t>(std::max(deltaMs, 0));
    // f = cos(elapsed / total * pi) / 2 + 1/2 falls from 1 to 0 over the total duration.
    const float turn = static_cast<float>(totalElapsed) / static_cast<float>(totalDuration) * 3.1415927f;
    const float f = std::cos(turn) * 0.5f + 0.5f;
    fadeDown = std::max(kShortestFadeMs, rounding::truncate(fadeDownStart * f));
    fadeUp = std::max(kShortestFadeMs, rounding::truncate(fadeUpStart * f));
}
