#include "framework/scenegraph/ModifierRotation.h"

#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierRotation, &Modifier::classRecord);

void ModifierRotation::step(int deltaMs)
{
    Sprite* sprite = objectCast<Sprite>(getTarget());
    // Without a duration there is no fraction to take: go straight to the end.
    if (duration <= 0 && !spin)
        done = true;
    if (done) {
        current = to;
        if (sprite)
            sprite->setRotation(to);
        finish();
        return;
    }
    const float t = duration > 0 ? static_cast<float>(static_cast<double>(elapsed) / duration) : 0.0f;
    if (spin)
        current = from + t * 6.2831855f;
    else if (smooth)
        current = from + (to - from) * (3.0f - 2.0f * t) * t * t;
    else
        current = from + (to - from) * t;
    if (sprite)
        sprite->setRotation(current);
    elapsed += deltaMs;
    if (!spin && elapsed >= duration) {
        done = true;
        elapsed = duration;
    }
}
