#include "game/effects/ModifierLocationLineSwitch.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Rounding.h"
#include "game/effects/ModifierSettings.h"

TT_DEFINE_RECORD(ModifierLocationLineSwitch, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierLocationLineSwitch);

ModifierLocationLineSwitch::ModifierLocationLineSwitch(int x1, int y1, int x2, int y2, int moveMs, int waitMs,
                                                       bool eased, int count)
    : x1(x1), y1(y1), x2(x2), y2(y2), x(x2), y(y2), count(count), moveDuration(moveMs), waitDuration(waitMs),
      eased(eased)
{
}

ModifierLocationLineSwitch::ModifierLocationLineSwitch(AbstractProperty* configuration)
    : ModifierLocationLineSwitch(modifierSettings(configuration)->getInt("x1", 0),
                                 modifierSettings(configuration)->getInt("y1", 0),
                                 modifierSettings(configuration)->getInt("x2", 0),
                                 modifierSettings(configuration)->getInt("y2", 0),
                                 modifierSettings(configuration)->getInt("movetime", 0),
                                 modifierSettings(configuration)->getInt("waittime", 0),
                                 modifierSettings(configuration)->getBool("eased", false),
                                 modifierSettings(configuration)->getInt("count", -1))
{
}

void ModifierLocationLineSwitch::step(int deltaMs)
{
    GameNode* node = getTarget();
    if (!node) {
        finish();
        return;
    }
    if (moveDuration <= 0)
        resting = true;
    if (resting) {
        x = towardA ? x1 : x2;
        y = towardA ? y1 : y2;
        node->setPosition(x, y);
        if (--count == 0) {
            finish();
            return;
        }
        if (towardA) {
            towardA = false;
            resting = false;
        } else {
            elapsed += deltaMs;
            if (elapsed >= waitDuration) {
                resting = false;
                elapsed = 0;
                towardA = true;
            }
        }
        return;
    }
    const float f = static_cast<float>(elapsed) / static_cast<float>(moveDuration);
    // g = f, or f^2 (3 - 2f) eased
    const float g = eased ? f * f * (3.0f - 2.0f * f) : f;
    if (towardA) {
        x = rounding::truncate(x2 + (x1 - x2) * g);
        y = rounding::truncate(y2 + (y1 - y2) * g);
    } else {
        x = rounding::truncate(x1 + (x2 - x1) * g);
        y = rounding::truncate(y1 + (y2 - y1) * g);
    }
    node->setPosition(x, y);
    elapsed += deltaMs;
    if (elapsed >= moveDuration) {
        resting = true;
        elapsed = 0;
    }
}
