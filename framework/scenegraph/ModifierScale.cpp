#include "framework/scenegraph/ModifierScale.h"

#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierScale, &ModifierFraction::classRecord);

void ModifierScale::applyFraction()
{
    if (Sprite* sprite = objectCast<Sprite>(getTarget()))
        sprite->setScale(from + (to - from) * fraction);
}
