#include "framework/scenegraph/ModifierFraction.h"

TT_DEFINE_RECORD(ModifierFraction, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierLocation, &ModifierFraction::classRecord);

void ModifierFraction::advance(int deltaMs)
{
    elapsed += deltaMs;
    if (elapsed >= duration) {
        finish();
        return;
    }
    fraction = static_cast<float>(static_cast<double>(elapsed) / duration);
    if (easingFunction)
        fraction = easingFunction(fraction);
}

void ModifierFraction::step(int deltaMs)
{
    advance(deltaMs);
    applyFraction();
}

void ModifierFraction::finish()
{
    Modifier::finish();
    elapsed = duration;
    fraction = 1.0f;
}

ModifierLocation::ModifierLocation(int durationMs, int x, int y)
    : ModifierFraction(durationMs), startX(x), startY(y), currentX(static_cast<float>(x)),
      currentY(static_cast<float>(y))
{
}
