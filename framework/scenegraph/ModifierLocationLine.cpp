#include "framework/scenegraph/ModifierLocationLine.h"

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(ModifierLocationLine, &ModifierLocation::classRecord);

ModifierLocationLine::ModifierLocationLine(int durationMs, int fromX, int fromY, int toX, int toY,
                                           easing::Function easing)
    : ModifierLocation(durationMs, fromX, fromY), endX(toX), endY(toY)
{
    setEasing(easing);
}

void ModifierLocationLine::applyFraction()
{
    currentX = static_cast<float>(startX + (endX - startX) * static_cast<double>(fraction));
    currentY = static_cast<float>(startY + (endY - startY) * static_cast<double>(fraction));
    GameNode* node = getTarget();
    if (!node)
        return;
    if (moveX)
        node->setX(rounding::truncate(currentX));
    if (moveY)
        node->setY(rounding::truncate(currentY));
}
