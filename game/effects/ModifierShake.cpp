#include "game/effects/ModifierShake.h"

#include "framework/scenegraph/GameNode.h"
#include "game/effects/EffectRandom.h"

TT_DEFINE_RECORD(ModifierShake, &Modifier::classRecord);

ModifierShake::ModifierShake(int offsetX, int offsetY, int durationMs)
    : offsetX(offsetX), offsetY(offsetY), remaining(durationMs)
{
}

void ModifierShake::step(int deltaMs)
{
    GameNode* node = getTarget();
    if (!node) {
        finish();
        return;
    }
    if (startX == INT_MIN) {
        startX = node->getX();
        startY = node->getY();
    }
    // x = start - offset + a draw in [0, 2 * offset)
    const int x = offsetX > 0 ? startX - offsetX + drawBelow(2 * offsetX) : startX;
    const int y = offsetY > 0 ? startY - offsetY + drawBelow(2 * offsetY) : startY;
    remaining -= deltaMs;
    if (remaining <= 0) {
        node->setPosition(startX, startY);
        finish();
        return;
    }
    node->setPosition(x, y);
}
