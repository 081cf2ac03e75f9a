// The countertop's deliveries, its quality display and its new pastries.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/core/Random.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierClipRect.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/effects/OneShotModifiers.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/ToolSlots.h"
#include "game/production/PlateStack.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

ToolSlots* currentToolSlots()
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? scene->getToolSlots() : nullptr;
}

} // namespace

bool Countertop::qualityToolHelps(const std::string& ingredient, int* toolId) const
{
    GameDataState* s = state();
    const IngredientBook::Entry* entry = s ? s->ingredientBook.find(ingredient) : nullptr;
    if (hasTool(4)) {
        *toolId = 4;
        return entry && entry->isFruit;
    }
    if (hasTool(5)) {
        *toolId = 5;
        return entry && entry->isChocolate;
    }
    return false;
}

bool Countertop::deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y, int indexInRun,
                                    int runLength)
{
    GameDataState* s = state();
    if (tornDown || !s)
        return false;
    const std::string& name = cell.ingredient;
    int spot = -1;
    int slot = -1;
    for (int n = 0; n < getSize() && spot < 0; ++n) {
        Pastry* candidate = pastries->get(n);
        if (!candidate)
            continue;
        for (size_t j = 0; j < candidate->ingredients.size(); ++j) {
            if (candidate->ingredients[j].name == name && candidate->ingredients[j].amount > 0) {
                spot = n;
                slot = static_cast<int>(j);
                break;
            }
        }
    }
    if (spot < 0)
        return false;
    RefPointer<Pastry> pastry(pastries->get(spot));
    const int before = pastry->ingredients[slot].amount;

    const int lengthKey = std::clamp(runLength, 0, 7);
    float gain = s->playSessionInfo.getQualityMultiplier(name) * s->scoreTable.qualityMatch[lengthKey];
    if (runHasUnripe)
        gain = tuning().UNRIPE_MULTIPLIER * gain;
    pastry->pendingDeliveries += 1;
    pastry->deliverIngredient(name);
    pastry->addQuality(gain);
    const int topStar = updateQualityDisplay(spot);

    Modifier* root = getAnimationRoot();
    GameNode* number = getSpotChild(spot, "NUMBER", slot);
    GameNode* icon = getSpotChild(spot, "INGREDIENT", slot);
    Sprite* sparkle = sprite(getSpotChild(spot, "ANIMATION", slot));
    if (number)
        number->setTag(pastry->serial);
    if (!root || !icon || !number) {
        // Without its nodes the delivery is booked and lands at once.
        pastry->pendingDeliveries -= 1;
        if (pastry->isFinished() && plateStack)
            plateStack->takePlate(root);
        return true;
    }

    auto* flying = new Sprite(x - icon->getAbsoluteX(), y - icon->getAbsoluteY(), getIngredientImage(name));
    flying->setAnchorPoint(Sprite::BottomLeft);
    flying->setAlpha(tuning().INGREDIENT_FLY_ALPHA);
    flying->setVisible(!pastry->isMoving);
    int toolId = 0;
    const bool toolHelps = qualityToolHelps(name, &toolId);
    if (sparkle) {
        const char* key = runHasUnripe ? "DECREASE_COUNTER_UNRIPE"
                                       : (toolHelps ? "DECREASE_COUNTER_QUALITYTOOL" : "DECREASE_COUNTER");
        const int frames = sparkle->getFrameCount();
        sparkle->setImage(image(key));
        sparkle->setFrameCount(frames, false);
        if (Sprite* label = sprite(number))
            sparkle->setPosition(number->getX() + label->getWidth() / 2 - 3,
                                 number->getY() + label->getHeight() / 2 - 3);
    }
    GameNode::addChild(icon, flying);

    const int flight = tuning().INGREDIENT_FLY_DELAY * indexInRun + tuning().INGREDIENT_FLY_DURATION;
    const int half = flight / 2;
    Modifier* grow = attach(root, flying, new ModifierScale(half, 1.0f, tuning().INGREDIENT_FLY_SCALE));
    if (sparkle) {
        visibleStep(grow, sparkle, !pastry->isMoving);
        Modifier* frames = attach(grow, sparkle, new ModifierFrame(2, tuning().COUNTERTOP_STARS_FRAME_TIME));
        visibleStep(frames, sparkle, false);
    }
    attach(grow, flying, new ModifierScale(half, tuning().INGREDIENT_FLY_SCALE, 1.0f));
    auto* line = new ModifierLocationLine(flight, flying->getX(), flying->getY(), 0, 0, easing::smooth);
    line->setEndFlags(Modifier::EndRemoveTarget);
    Modifier* landed = attach(root, flying, line);
    attach(landed, number, new ModifierSound("SOUND_ADDINGREDIENTSTORECIPE", "sounds", true));
    attach(landed, number, new ModifierSetText(toWideString(std::to_string(before - 1))));
    if (before - 1 <= 0) {
        visibleStep(landed, number, false);
        visibleStep(landed, icon, false);
        visibleStep(landed, sparkle, false);
    }

    if (toolHelps) {
        if (ToolSlots* slots = currentToolSlots()) {
            slots->pulseToolById(toolId, root);
            const int star = std::clamp(topStar + 1, 0, 3);
            slots->emitParticlesById(toolId, landed, getSpotChild(spot, "QUALITY_STAR", star), 50, false);
        }
    }

    Modifier* landingParent = landed;
    if (pastry->isFinished())
        landingParent = runCompletion(spot, landed);
    auto* landing = new ModifierFunction(GuiMethod(this, &Countertop::onIngredientLanded), this);
    attach(landingParent, number, landing);
    return true;
}

Modifier* Countertop::runCompletion(int spot, Modifier* after)
{
    RefPointer<Pastry> pastry = getPastry(spot);
    if (!pastry || !after)
        return after;
    for (int k = 0; k < tuning().MAX_INGREDIENT_COUNT; ++k) {
        visibleStep(after, getSpotChild(spot, "INGREDIENT", k), false);
        visibleStep(after, getSpotChild(spot, "NUMBER", k), false);
    }
    Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"));
    Sprite* cloud = sprite(getSpotChild(spot, "CLOUD"));
    Sprite* flash = sprite(getSpotChild(spot, "FLASH"));
    if (picture) {
        picture->setImage(getPastryImage(*pastry));
        picture->setPivotPointKind(Sprite::Center);
    }
    if (cloud) {
        cloud->setVisible(false);
        cloud->setScale(1.0f);
        cloud->setPivotPointKind(Sprite::Center);
        cloud->setCurrentFrame(0);
        GameNode::cancelModifiers(cloud);
    }
    if (flash && picture) {
        flash->setPosition(picture->getX() + tuning().PASTRY_FLASH_OFFSET_X,
                           picture->getY() + tuning().PASTRY_FLASH_OFFSET_Y);
        flash->setAnchorPoint(Sprite::BottomLeft);
        flash->setPivotPointKind(Sprite::Center);
        flash->setVisible(false);
    }
    show(getSpotChild(spot, "COUNTER_PARTACTIVE"), false);
    show(getSpotChild(spot, "COUNTER_FROZEN"), false);
    const bool fresh = hasTool(10);
    if (plateStack)
        plateStack->takePlate(after);

    visibleStep(after, cloud, true);
    const int variant = 1 + (Random::instance ? Random::instance->nextInt(0, 3) : 0);
    attach(after, picture, new ModifierSound(numbered("SOUND_PASTRYCREATING", variant), "sounds", true));
    if (cloud)
        attach(after, cloud, new ModifierFrame(-1, scaled(tuning().FINISH_PASTRY_FRAME_TIME)));
    Modifier* delay = Modifier::addChild(after, new ModifierDelay(scaled(tuning().FINISH_PASTRY_DELAY)));
    const int grow = scaled(tuning().FINISH_PASTRY_SCALE_DURATION);
    if (picture) {
        attach(delay, picture, new ModifierScale(grow, 0.0f, 1.0f));
        visibleStep(delay, picture, true);
    }
    if (flash) {
        Modifier* flashGrow = attach(delay, flash, new ModifierScale(grow, 0.0f, 1.0f));
        visibleStep(delay, flash, true);
        Modifier* fade = attach(flashGrow, flash, new ModifierAlpha(scaled(tuning().PASTRY_FLASH_DELAY), 255, 0));
        visibleStep(fade, flash, false);
    }
    Modifier* shrink = cloud ? attach(delay, cloud, new ModifierScale(grow, 1.0f, 0.0f)) : delay;
    Modifier* hidden = cloud ? visibleStep(shrink, cloud, false) : shrink;
    attach(hidden, picture, new ModifierSound(numbered("SOUND_PASTRYFINISHED", pastry->getQualityLevel()), "sounds", true));
    visibleStep(hidden, getSpotChild(spot, "COUNTER_PARTACTIVE"), true);
    visibleStep(hidden, getSpotChild(spot, "COUNTER_FROZEN"), fresh);
    if (picture)
        attach(hidden, picture, new ModifierFunction(GuiMethod(this, &Countertop::onPastryShown), this));
    return shrink;
}

int Countertop::onIngredientLanded(void* context, BaseObject* argument)
{
    auto* countertop = static_cast<Countertop*>(context);
    auto* step = objectCast<Modifier>(argument);
    GameNode* target = step ? step->getTarget() : nullptr;
    if (!target)
        return 0;
    if (RefPointer<Pastry> pastry = countertop->findPastryBySerial(target->getTag()))
        pastry->pendingDeliveries -= 1;
    return 0;
}

int Countertop::onPastryShown(void* context, BaseObject* argument)
{
    auto* countertop = static_cast<Countertop*>(context);
    auto* step = objectCast<Modifier>(argument);
    GameNode* target = step ? step->getTarget() : nullptr;
    TortelunePlayer* player = currentPlayer();
    if (!target || (player && player->hasSeenHint("HINT_PASTRY1")))
        return 0;
    for (int spot = 0; spot < countertop->getSize(); ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        if (pastry && pastry->isFinished() && countertop->getSpotChild(spot, "PASTRY_SPRITE") == target) {
            if (HintManager::instance)
                HintManager::instance->showHintAt("HINT_PASTRY1", target->getAbsoluteX() + 80,
                                                  target->getAbsoluteY() - 50);
            break;
        }
    }
    return 0;
}

int Countertop::updateQualityDisplay(int spot)
{
    RefPointer<Pastry> pastry = getPastry(spot);
    if (!pastry)
        return 0;
    // A recipe without quality counts as full, not as a division by zero.
    const float ratio = pastry->maxQuality > 0.0f ? pastry->quality / pastry->maxQuality : 1.0f;
    if (Sprite* filling = sprite(getSpotChild(spot, "QUALITY_FILLING"))) {
        Image* picture = filling->getImage();
        const int imageWidth = picture ? picture->getWidth() : filling->getWidth();
        const int imageHeight = picture ? picture->getHeight() : filling->getHeight();
        const int target = static_cast<int>(static_cast<float>(imageWidth) * (ratio + 0.25f));
        const int current = filling->getClipRect() ? filling->getClipRect()->width : filling->getWidth();
        const int duration = std::abs(current - target) * tuning().COUNTERTOP_QUALITY_CHANGE_SPEED;
        filling->setVisible(!pastry->isPackaged);
        GameNode::clearModifiers(filling);
        GameNode::addModifier(filling, new ModifierClipRect(duration, filling->getX(), filling->getY(), current,
                                                            imageHeight, filling->getX(), filling->getY(), target,
                                                            imageHeight));
    }
    int result = 0;
    const int level = pastry->getQualityLevel();
    const float margin = tuning().COUNTERTOP_STAR_BLINK_MARGIN;
    for (int k = 0; k < tuning().MAX_STARS_PER_PASTRY; ++k) {
        GameNode* star = getSpotChild(spot, "QUALITY_STAR", k);
        GameNode* warning = getSpotChild(spot, "WARNING_STAR", k);
        bool blink = false;
        if (!pastry->isPackaged) {
            show(star, k < level);
            if (k < level)
                result = k;
            const float threshold = static_cast<float>(k) * 0.25f;
            blink = k == level - 1 && k > 0 && ratio < threshold + margin / 2.0f && ratio > threshold - margin / 2.0f;
        }
        if (!warning)
            continue;
        if (blink) {
            if (warning->getOwnModifiers().empty()) {
                GameNode::addModifier(warning, new ModifierVisible(true));
                const int half = tuning().COUNTERTOP_STAR_BLINK_DURATION / 2;
                GameNode::addModifier(warning,
                                      new ModifierBlink(255, tuning().COUNTERTOP_STAR_BLINK_ALPHA, half, half, 0, 0, -1));
            }
        } else {
            warning->setVisible(false);
            GameNode::clearModifiers(warning);
            setAlpha(warning, 255);
        }
    }
    return result;
}

int Countertop::updateQualityDisplayFor(const RefPointer<Pastry>& pastry)
{
    for (int spot = 0; spot < getSize(); ++spot)
        if (pastry && pastries->get(spot) == pastry.get())
            return updateQualityDisplay(spot);
    return -1;
}

void Countertop::dropQuality()
{
    for (int spot = 0; spot < getSize(); ++spot) {
        RefPointer<Pastry> pastry = getPastry(spot);
        if (!pastry)
            continue;
        if (hasTool(10) && pastry->isFinished()) {
            if (ToolSlots* slots = currentToolSlots())
                slots->pulseToolById(10, getAnimationRoot());
        } else {
            pastry->addQuality(-tuning().QUALITY_DROP_AMOUNT);
        }
        updateQualityDisplay(spot);
    }
}

void Countertop::placeNextPastry()
{
    GameDataState* s = state();
    int spot = 0;
    while (spot < getSize() && pastries->get(spot))
        ++spot;
    if (!s || spot >= getSize() || s->order.isEmpty())
        return;
    RefPointer<Pastry> pastry = s->order.takeNext();
    pastries->set(spot, pastry);
    show(getSpotNode(spot), true);
    for (const char* name : {"PASTRY_SPRITE", "COUNTER_FROZEN", "COUNTER_PARTACTIVE", "COUNTER_PARTHOVER"})
        show(getSpotChild(spot, name), false);
    Modifier* root = getAnimationRoot();
    for (const char* name : {"COUNTER_PART", "QUALITY_METER"}) {
        GameNode* part = getSpotChild(spot, name);
        setAlpha(part, 0);
        if (part && root)
            attach(root, part, new ModifierAlpha(tuning().SPOT_FADE_DURATION, 0, 255));
    }
    for (int k = 0; k < tuning().MAX_INGREDIENT_COUNT; ++k) {
        GameNode* icon = getSpotChild(spot, "INGREDIENT", k);
        GameNode* number = getSpotChild(spot, "NUMBER", k);
        if (k >= static_cast<int>(pastry->ingredients.size())) {
            show(icon, false);
            show(number, false);
            continue;
        }
        if (Sprite* iconSprite = sprite(icon)) {
            iconSprite->setImage(getIngredientImage(pastry->ingredients[k].name));
            iconSprite->setVisible(true);
            iconSprite->setPivotPointKind(Sprite::Center);
            iconSprite->setScale(0.0f);
        }
        if (number) {
            setLabelNumber(number, pastry->ingredients[k].amount);
            number->setTag(pastry->serial);
            number->setVisible(false);
        }
        if (!root || !icon)
            continue;
        Modifier* sound = attach(root, icon, new ModifierSound("SOUND_ADDNEWPLATE", "sounds", true));
        Modifier* scale = attach(sound, icon, new ModifierScale(tuning().SPOT_SCALE_DURATION, 0.0f, kRecipeIconScale));
        Modifier* shown = visibleStep(scale, number, true);
        if (hasTool(11) && number) {
            if (ToolSlots* slots = currentToolSlots())
                slots->giveIngredient(shown, number);
        }
    }
    if (Sprite* filling = sprite(getSpotChild(spot, "QUALITY_FILLING")))
        filling->setClipRect(filling->getX(), filling->getY(), filling->getWidth() / 4, filling->getHeight());
}

void Countertop::refreshIngredientCounters()
{
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (!pastry || pastry->pendingDeliveries > 0)
            continue;
        // A pastry has no more counters than the layout's slots.
        const size_t slots = std::min(pastry->ingredients.size(), static_cast<size_t>(std::max(0, tuning().MAX_INGREDIENT_COUNT)));
        for (size_t j = 0; j < slots; ++j) {
            const int amount = pastry->ingredients[j].amount;
            GameNode* number = getSpotChild(spot, "NUMBER", static_cast<int>(j));
            setLabelNumber(number, amount);
            if (amount <= 0) {
                show(number, false);
                show(getSpotChild(spot, "INGREDIENT", static_cast<int>(j)), false);
            }
        }
    }
}
