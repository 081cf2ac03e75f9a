#include "game/effects/ModifierAccelerate.h"

#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(ModifierAccelerate, &Modifier::classRecord);

ModifierAccelerate::ModifierAccelerate(int targetY, float speedPerSecond, float acceleration, float maxSpeedPerSecond,
                                       int maxBounces)
    : speed(speedPerSecond * 0.001f), acceleration(acceleration * 0.001f), targetY(targetY),
      maxSpeed(maxSpeedPerSecond * 0.001f), maxBounces(maxBounces)
{
}

void ModifierAccelerate::setTargetY(int value)
{
    targetY = value;
    if (firstStep || y <= static_cast<float>(targetY))
        return;
    y = static_cast<float>(targetY);
    if (GameNode* node = getTarget())
        node->setY(targetY);
}

void ModifierAccelerate::step(int deltaMs)
{
    GameNode* node = getTarget();
    if (!node) {
        finish();
        return;
    }
    if (firstStep) {
        firstStep = false;
        y = static_cast<float>(node->getY());
        // Starting below the line would reflect far above it.
        if (y > static_cast<float>(targetY))
            y = static_cast<float>(targetY);
    }
    speed += static_cast<float>(deltaMs) * acceleration;
    if (speed > maxSpeed)
        speed = maxSpeed;
    y += static_cast<float>(deltaMs) * speed;
    if (y > static_cast<float>(targetY)) {
        // y' = 2 * target - y: the part below the line comes back up.
        y = 2.0f * static_cast<float>(targetY) - y;
        ++bounces;
        speed = -speed;
        if (bounces > maxBounces) {
            node->setY(targetY);
            finish();
            return;
        }
    }
    node->setY(rounding::truncate(y));
}
