#include "framework/scenegraph/ModifierStretch.h"

#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierStretch, &ModifierFraction::classRecord);

void ModifierStretch::applyFraction()
{
    currentWidth = fromWidth + (toWidth - fromWidth) * fraction;
    currentHeight = fromHeight + (toHeight - fromHeight) * fraction;
    Sprite* sprite = objectCast<Sprite>(getTarget());
    if (!sprite)
        return;
    if (stretchWidth)
        sprite->setStretchWidth(rounding::halfEven(currentWidth));
    if (stretchHeight)
        sprite->setStretchHeight(rounding::halfEven(currentHeight));
}
