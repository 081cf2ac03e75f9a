#include "game/effects/ModifierSlideToX.h"

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(ModifierSlideToX, &Modifier::classRecord);

ModifierSlideToX::ModifierSlideToX(const float* speed, int targetX, float factor, BaseObject* speedOwner)
    : speed(speed), speedOwner(speedOwner), targetX(targetX), factor(factor)
{
}

void ModifierSlideToX::step(int deltaMs)
{
    GameNode* node = getTarget();
    if (!node) {
        finish();
        return;
    }
    if (firstStep) {
        firstStep = false;
        x = node->getX();
        y = node->getY();
        xf = static_cast<float>(x);
        if (x == targetX) {
            finish();
            return;
        }
    }
    const float distance = (speed ? *speed : 0.0f) * factor * static_cast<float>(deltaMs);
    if (targetX > x) {
        xf += distance;
        if (rounding::truncate(xf) >= targetX) {
            node->setX(targetX);
            finish();
            return;
        }
    } else {
        xf -= distance;
        if (rounding::truncate(xf) <= targetX) {
            node->setX(targetX);
            finish();
            return;
        }
    }
    node->setX(rounding::truncate(xf));
}
