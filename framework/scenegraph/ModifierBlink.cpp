#include "framework/scenegraph/ModifierBlink.h"

#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierBlink, &Modifier::classRecord);

ModifierBlink::ModifierBlink(int low, int high, int fadeUpMs, int fadeDownMs, int highHoldMs, int lowHoldMs,
                             int blinkCount)
    : low(low), high(high), fadeUp(fadeUpMs), fadeDown(fadeDownMs), highHold(highHoldMs), lowHold(lowHoldMs),
      blinkCount(blinkCount), value(low)
{
}

void ModifierBlink::addNode(GameNode* node)
{
    if (node)
        nodes.emplace_back(node->getLink());
}

void ModifierBlink::apply()
{
    if (nodes.empty()) {
        if (Sprite* sprite = objectCast<Sprite>(getTarget()))
            sprite->setAlpha(value);
        return;
    }
    for (const RefPointer<NodeLink>& link : nodes) {
        if (Sprite* sprite = objectCast<Sprite>(link->node))
            sprite->setAlpha(value);
    }
}

void ModifierBlink::step(int deltaMs)
{
    // With no time in any phase the phases would turn forever. An endless
    // blink rests at high, so that a caret blinking with zero times stays
    // visible; a counted one ends at low, as its last blink would.
    if (fadeUp <= 0 && fadeDown <= 0 && highHold <= 0 && lowHold <= 0) {
        value = blinkCount >= 1 ? low : high;
        apply();
        finish();
        return;
    }
    // Each turn uses up a phase of at least 1 ms; the cap only matters for absurd deltas.
    for (int turns = 0; timeInPhase >= phaseLength && turns < 100000; ++turns) {
        const uint32_t oldLength = phaseLength;
        phase = (phase + 1) % 4;
        timeInPhase -= oldLength;
        switch (phase) {
        case 0:
            phaseLength = static_cast<uint32_t>(lowHold);
            ++blinkCounter;
            break;
        case 1:
            phaseLength = static_cast<uint32_t>(fadeUp);
            break;
        case 2:
            phaseLength = static_cast<uint32_t>(highHold);
            break;
        default:
            phaseLength = static_cast<uint32_t>(fadeDown);
            break;
        }
        if (blinkCount >= 1 && blinkCounter >= blinkCount)
            break;
    }
    if (blinkCount >= 1 && blinkCounter >= blinkCount) {
        value = low;
        apply();
        finish();
        return;
    }
    switch (phase) {
    case 0:
        value = low;
        break;
    case 1:
        value = rounding::truncate(low + static_cast<double>(high - low) * timeInPhase / phaseLength);
        break;
    case 2:
        value = high;
        break;
    default:
        value = rounding::truncate(high + static_cast<double>(low - high) * timeInPhase / phaseLength);
        break;
    }
    apply();
    timeInPhase += static_cast<uint32_t>(deltaMs);
}
