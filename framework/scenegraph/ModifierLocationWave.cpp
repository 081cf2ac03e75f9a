#include "framework/scenegraph/ModifierLocationWave.h"

#include <algorithm>
#include <cmath>

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(ModifierLocationWave, &ModifierLocation::classRecord);

ModifierLocationWave::ModifierLocationWave(int centreX, int centreY, float radiusFrom, float radiusTo,
                                           float angleFrom, float angleTo, int radiusTimeMs, int angleTimeMs)
    : ModifierLocation(std::max(radiusTimeMs, angleTimeMs), centreX, centreY), radiusFrom(radiusFrom),
      radiusTo(radiusTo), angleFrom(angleFrom), angleTo(angleTo), radiusTime(radiusTimeMs), angleTime(angleTimeMs)
{
}

void ModifierLocationWave::step(int deltaMs)
{
    const double radius = elapsed >= radiusTime
                              ? radiusTo
                              : radiusFrom + static_cast<double>(elapsed) / radiusTime * (radiusTo - radiusFrom);
    const double angle = elapsed >= angleTime
                             ? angleTo
                             : angleFrom + static_cast<double>(elapsed) / angleTime * (angleTo - angleFrom);
    currentX = static_cast<float>(std::cos(angle) * radius) + startX;
    currentY = static_cast<float>(std::sin(angle) * radius) + startY;
    if (GameNode* node = getTarget()) {
        if (moveX)
            node->setX(rounding::truncate(std::cos(angle) * radius) + startX);
        if (moveY)
            node->setY(rounding::truncate(std::sin(angle) * radius) + startY);
    }
    if (done) {
        finish();
        return;
    }
    elapsed += deltaMs;
    // The final position is applied once more before finishing.
    done = elapsed >= radiusTime && elapsed >= angleTime;
}
