#include "framework/scenegraph/ModifierAlpha.h"

#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierAlpha, &ModifierFraction::classRecord);

ModifierAlpha::ModifierAlpha(int durationMs, int from, int to, easing::Function easing)
    : ModifierFraction(durationMs, easing), from(from), to(to), current(static_cast<float>(from))
{
}

void ModifierAlpha::applyFraction()
{
    current = static_cast<float>(from + (to - from) * static_cast<double>(fraction));
    if (Sprite* sprite = objectCast<Sprite>(getTarget()))
        sprite->setAlpha(rounding::truncate(from + (to - from) * static_cast<double>(fraction)));
}
