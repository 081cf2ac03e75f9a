#include "game/production/Countertop.h"

#include <cmath>

#include "framework/gui/Panel.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/effects/ModifierEmitterBling.h"
#include "game/data/TuningTable.h"
#include "game/production/CountertopController.h"
#include "game/production/GameScreen.h"
#include "game/production/PastryWrapper.h"
#include "game/production/PlateStack.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

bool isComplete(const Pastry& pastry)
{
    return pastry.isFinished();
}

} // namespace

Countertop::Countertop(PastryWrapper* pastries, CustomerView* customerView, PlateStack* plateStack)
    : pastries(pastries), controller(new CountertopController(this)), customerView(customerView),
      plateStack(plateStack)
{
    if (SceneGame* scene = SceneGame::getInstance())
        scene->getInputHandler()->addListener(controller.get());
    if (TimedTaskManager::instance)
        TimedTaskManager::instance->addTask(controller.get());
    for (int spot = 0; spot < getSize(); ++spot) {
        show(getSpotChild(spot, "PASTRY_SPRITE"), false);
        if (GameNode* frozen = getSpotChild(spot, "COUNTER_FROZEN")) {
            frozen->setVisible(false);
            GameNode::cancelModifiers(frozen);
            releaseChildren(frozen);
        }
        if (GameNode* active = getSpotChild(spot, "COUNTER_PARTACTIVE")) {
            active->setVisible(false);
            GameNode::cancelModifiers(active);
            setAlpha(active, tuning().ACTIVE_BLINK_SA);
        }
        show(getSpotChild(spot, "COUNTER_PARTHOVER"), false);
        show(getSpotNode(spot), false);
        GameNode* frost = getSpotChild(spot, "COUNTER_FROZEN");
        if (frost && getAnimationRoot()) {
            const TuningTable& t = tuning();
            auto* twinkles = new ModifierEmitterBling(2, t.TWINKLEMOD_IN_DURATION, t.TWINKLEMOD_OUT_DURATION,
                                                      t.TWINKLEMOD_DELAY_MIN, t.TWINKLEMOD_DELAY_MAX);
            twinkles->setTarget(frost);
            Modifier::addChild(getAnimationRoot(), twinkles);
        }
    }
    show(node("COUNTERTOP"), true);
}

Countertop::~Countertop()
{
    if (SceneGame* scene = SceneGame::getInstance())
        scene->getInputHandler()->removeListener(controller.get());
    controller->detach();
    controller->setFinished(true);
}

Modifier* Countertop::getAnimationRoot()
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? scene->getPhaseContainer() : nullptr;
}

int Countertop::getSize() const
{
    return pastries ? pastries->getSize() : 0;
}

RefPointer<Pastry> Countertop::getPastry(int spot) const
{
    return RefPointer<Pastry>(pastries ? pastries->get(spot) : nullptr);
}

RefPointer<Pastry> Countertop::findPastryBySerial(int serial) const
{
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (pastry && pastry->serial == serial)
            return RefPointer<Pastry>(pastry);
    }
    return {};
}

int Countertop::countCompletePastries() const
{
    int count = 0;
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (pastry && isComplete(*pastry))
            ++count;
    }
    return count;
}

bool Countertop::hasEmptySpot() const
{
    for (int spot = 0; spot < getSize(); ++spot)
        if (!pastries->get(spot))
            return true;
    return false;
}

bool Countertop::hasFinishedPastry() const
{
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (pastry && isComplete(*pastry) && !pastry->isPackaged)
            return true;
    }
    return false;
}

bool Countertop::hasMovingPastry() const
{
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (pastry && pastry->isMoving)
            return true;
    }
    return false;
}

bool Countertop::isFull() const
{
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (!pastry || !isComplete(*pastry))
            return false;
    }
    return getSize() > 0;
}

bool Countertop::hasGap() const
{
    bool emptySeen = false;
    for (int spot = 0; spot < getSize(); ++spot) {
        if (!pastries->get(spot))
            emptySeen = true;
        else if (emptySeen)
            return true;
    }
    return false;
}

GameNode* Countertop::getSpotNode(int spot) const
{
    return node(numbered("SPOT", spot));
}

GameNode* Countertop::getShiftNode(int spot) const
{
    return node(numbered("NODE_SHIFT", spot));
}

GameNode* Countertop::getSpotNodeOf(const RefPointer<Pastry>& pastry) const
{
    for (int spot = 0; spot < getSize(); ++spot)
        if (pastry && pastries->get(spot) == pastry.get())
            return getSpotNode(spot);
    return nullptr;
}

GameNode* Countertop::getSpotChild(int spot, const std::string& name) const
{
    return child(getSpotNode(spot), name);
}

GameNode* Countertop::getSpotChild(int spot, const std::string& name, int number) const
{
    return child(getSpotNode(spot), numbered(name, number));
}

Image* Countertop::getIngredientImage(const std::string& ingredient)
{
    return image(ingredient);
}

Image* Countertop::getPastryImage(const Pastry& pastry)
{
    return pastry.recipe ? image(pastry.recipe->getName()) : nullptr;
}

bool Countertop::hasTool(int toolId) const
{
    GameDataState* s = state();
    return s && s->playSessionInfo.hasTool(toolId);
}

void Countertop::finishPastryNow()
{
    if (tornDown)
        return;
    Modifier* root = getAnimationRoot();
    for (int spot = 0; spot < getSize(); ++spot) {
        Pastry* pastry = pastries->get(spot);
        if (pastry && !isComplete(*pastry)) {
            for (Pastry::Ingredient& ingredient : pastry->ingredients)
                ingredient.amount = 0;
            pastry->quality = pastry->maxQuality;
            updateQualityDisplay(spot);
            for (int k = 0; k < tuning().MAX_INGREDIENT_COUNT; ++k) {
                show(getSpotChild(spot, "INGREDIENT", k), false);
                show(getSpotChild(spot, "NUMBER", k), false);
            }
            Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"));
            if (picture) {
                picture->setImage(getPastryImage(*pastry));
                picture->setPivotPointKind(Sprite::Bottom);
            }
            if (plateStack)
                plateStack->takePlate(root);
            if (picture && root) {
                const float w = static_cast<float>(picture->getWidth());
                const float h = static_cast<float>(picture->getHeight());
                auto* visible = new ModifierVisible(true);
                visible->setTarget(picture);
                Modifier::addChild(root, visible);
                auto* squish = new ModifierStretch(tuning().PASTRY_SQUISH_DURATION, std::trunc(0.8f * w),
                                                   std::trunc(1.2f * h), std::trunc(1.2f * w), std::trunc(0.5f * h));
                squish->setTarget(picture);
                Modifier::addChild(root, squish);
                auto* stretch = new ModifierStretch(tuning().PASTRY_STRETCH_DURATION, std::trunc(1.2f * w),
                                                    std::trunc(0.5f * h), w, h);
                stretch->setTarget(picture);
                Modifier::addChild(squish, stretch);
            }
        } else if (pastry && !pastry->isPackaged) {
            pastry->addQuality(pastry->maxQuality);
            updateQualityDisplay(spot);
        }
        // The glides of gaps being closed end here: their pastries stop moving
        // and show at their new spot, or the countertop would wait for good.
        releaseChildren(getShiftNode(spot));
        if (pastry && pastry->isMoving) {
            pastry->isMoving = false;
            if (!pastry->isPackaged)
                show(getSpotChild(spot, "PASTRY_SPRITE"), true);
        }
    }
}

void Countertop::tearDown()
{
    tornDown = true;
    controller->detach();
    for (int spot = 0; spot < getSize(); ++spot) {
        releaseChildren(getSpotChild(spot, "PASTRY_SPRITE"));
        releaseChildren(getSpotChild(spot, "PACKAGE"));
        show(getSpotNode(spot), false);
        for (const char* name : {"PASTRY_SPRITE", "CLOUD", "COUNTER_FROZEN", "COUNTER_PARTACTIVE",
                                 "COUNTER_PARTHOVER", "FLASH", "PACKAGE"})
            show(getSpotChild(spot, name), false);
        for (int k = 0; k < tuning().MAX_INGREDIENT_COUNT; ++k) {
            releaseChildren(getSpotChild(spot, "INGREDIENT", k));
            show(getSpotChild(spot, "ANIMATION", k), false);
            show(getSpotChild(spot, "INGREDIENT", k), false);
            show(getSpotChild(spot, "NUMBER", k), false);
        }
        for (int k = 0; k < tuning().MAX_STARS_PER_PASTRY; ++k)
            show(getSpotChild(spot, "QUALITY_STAR", k), k == 0);
    }
}

void Countertop::restoreSpots()
{
    Modifier* root = getAnimationRoot();
    const bool frozenLook = hasTool(10) && isCareerLevel();
    for (int spot = 0; spot < getSize(); ++spot) {
        GameNode* active = getSpotChild(spot, "COUNTER_PARTACTIVE");
        if (active && root) {
            auto* blink = new ModifierBlink(tuning().ACTIVE_BLINK_SA, tuning().ACTIVE_BLINK_DA,
                                            tuning().ACTIVE_BLINK_TIME, tuning().ACTIVE_BLINK_TIME, 0, 0, -1);
            blink->setTarget(active);
            Modifier::addChild(root, blink);
        }
        Pastry* pastry = pastries->get(spot);
        if (!pastry) {
            show(getSpotNode(spot), false);
            continue;
        }
        show(getSpotNode(spot), true);
        setAlpha(getSpotChild(spot, "COUNTER_PART"), 255);
        setAlpha(getSpotChild(spot, "QUALITY_METER"), 255);
        const int slots = tuning().MAX_INGREDIENT_COUNT;
        if (!isComplete(*pastry)) {
            for (int j = 0; j < slots; ++j) {
                GameNode* icon = getSpotChild(spot, "INGREDIENT", j);
                GameNode* number = getSpotChild(spot, "NUMBER", j);
                if (j >= static_cast<int>(pastry->ingredients.size())) {
                    show(icon, false);
                    show(number, false);
                    continue;
                }
                const Pastry::Ingredient& ingredient = pastry->ingredients[j];
                if (Sprite* iconSprite = sprite(icon)) {
                    GameNode::cancelModifiers(iconSprite);
                    iconSprite->setVisible(true);
                    iconSprite->setImage(getIngredientImage(ingredient.name));
                    iconSprite->setPivotPointKind(Sprite::Center);
                    iconSprite->setScale(kRecipeIconScale);
                }
                if (number) {
                    setLabelNumber(number, ingredient.amount);
                    number->setTag(pastry->serial);
                    if (Sprite* label = sprite(number))
                        label->setScale(1.0f);
                    number->setVisible(true);
                }
            }
            show(getSpotChild(spot, "COUNTER_FROZEN"), false);
            show(active, false);
            show(getSpotChild(spot, "COUNTER_PARTHOVER"), false);
        } else {
            if (Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"))) {
                GameNode::cancelModifiers(picture);
                picture->setVisible(true);
                picture->setImage(getPastryImage(*pastry));
                picture->setPivotPointKind(Sprite::Bottom);
                picture->setStretchSize(picture->getWidth(), picture->getHeight());
                picture->setY(49);
            }
            for (int j = 0; j < slots; ++j) {
                show(getSpotChild(spot, "INGREDIENT", j), false);
                show(getSpotChild(spot, "NUMBER", j), false);
            }
            show(getSpotChild(spot, "COUNTER_FROZEN"), frozenLook);
            show(active, true);
            show(getSpotChild(spot, "COUNTER_PARTHOVER"), false);
        }
        if (Sprite* filling = sprite(getSpotChild(spot, "QUALITY_FILLING")))
            filling->setClipRect(filling->getX(), filling->getY(), filling->getWidth() / 4, filling->getHeight());
        updateQualityDisplay(spot);
    }
}
