#include "framework/scenegraph/ModifierClipRect.h"

#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierClipRect, &ModifierFraction::classRecord);

void ModifierClipRect::applyFraction()
{
    Sprite* sprite = objectCast<Sprite>(getTarget());
    if (!sprite)
        return;
    const double f = fraction;
    auto between = [f](int a, int b) { return rounding::halfEven(a + (b - a) * f); };
    sprite->setClipRect(between(from.x, to.x), between(from.y, to.y), between(from.width, to.width),
                        between(from.height, to.height));
}
