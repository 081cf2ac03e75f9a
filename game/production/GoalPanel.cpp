#include "game/production/GoalPanel.h"

#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "game/data/GameData.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierEmitter.h"
#include "game/data/RankTable.h"
#include "game/data/TuningTable.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

int goalStars()
{
    return GameData::instance ? GameData::instance->getCurrentLevel().starsGoal : 0;
}

int32_t& sessionStars()
{
    static int32_t none = 0;
    GameDataState* s = state();
    return s ? s->playSessionInfo.starCount : none;
}

void place(const char* name, bool visible, int x, int y)
{
    GameNode* n = node(name);
    if (!n)
        return;
    n->setVisible(visible);
    n->setPosition(x, y);
}

} // namespace

GoalPanel::GoalPanel()
{
    earned = sessionStars();
    goalReached = earned >= goalStars();
    if (Sprite* blue = sprite(node("SPRITE_SPACESTARS_BLUE")))
        blue->setImage(image("STAR_SPACE_BLUE"));
    if (Sprite* space = sprite(node("SPRITE_SPACEGOAL"))) {
        space->setImage(image("STAR_SPACE_BLUE"));
        GameNode::cancelModifiers(space);
        space->setAlpha(255);
    }
    if (Sprite* level = sprite(node("LEVEL"))) {
        const int perTheme = tuning().LEVEL_PER_THEME > 0 ? tuning().LEVEL_PER_THEME : 1;
        const int index = GameData::instance ? GameData::instance->getCurrentLevel().levelIndex : 0;
        level->setImage(image(numbered("LEVELINFO_LEVEL", index % perTheme), "dialogs"));
        level->setFrameCount(4, false);
        level->setVisible(true);
        level->setPosition(31, 160);
    }
    refresh();
    place("LEVEL_SMOKE", true, 18, 49);
    place("LEVEL_FINISHED", true, 39, 159);
    place("LEVEL_SHINE", true, 28, 150);
    for (const char* shown : {"GOAL_STAR", "EARNED_STAR"})
        show(node(shown), true);
    for (const char* hidden : {"SPRITE_SPACELEVEL", "LABEL_LEVEL", "LABEL_LEVEL_VALUE", "LEVEL_ICON"})
        show(node(hidden), false);
    for (const char* shown : {"SPRITE_SPACEGOAL", "LABEL_GOAL", "LABEL_GOAL_VALUE"})
        show(node(shown), true);
    for (const char* hidden : {"GOAL_PACKAGE", "EARNED_PACKAGE", "LADDER"})
        show(node(hidden), false);
    setLabelText(node("LABEL_STARS"), textByKey("TEXT_STARS_EARNED"));
    setLabelText(node("LABEL_GOAL"), textByKey("TEXT_STARS_GOAL"));
}

void GoalPanel::refresh()
{
    setLabelText(node("LABEL_EARNED_VALUE"), formatGroupedNumber(earned, getDigitGroupingSymbol()));
    if (goalReached) {
        hideBorderWarning();
        return;
    }
    if (earned >= goalStars()) {
        celebrate();
        goalReached = true;
    }
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !scene->saveOnLeave || !s || !GameData::instance)
        return;
    const int queued = static_cast<int>(s->order.size());
    auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation());
    const int complete = countertop ? countertop->countCompletePastries() : 0;
    const int recipes = static_cast<int>(GameData::instance->getCurrentLevel().recipes.size());
    const bool near = queued + complete <= static_cast<int>((1.0f - tuning().GOALWARNING_FRACTION) * recipes);
    const bool shortOfGoal = static_cast<float>(queued) * tuning().GOALWARNING_QUALITY <
                             static_cast<float>(goalStars() - s->playSessionInfo.starCount);
    if (near && shortOfGoal)
        showBorderWarning();
}

void GoalPanel::celebrate()
{
    Modifier* root = phaseContainer();
    GameNode* layer = node("NODE_FLOATERSTARS");
    RefPointer<BitmapFont> font;
    if (ResourceManager::instance) {
        ResourceLock lock;
        font = ResourceManager::instance->getResourceAs<BitmapFont>("FONT_GAMEEND_3", "default");
    }
    auto* label = new Label(font.get(), 0, 0, 0, 0);
    label->setAlpha(0);
    label->setAnchorStyle(Sprite::Center);
    label->setPosition(400, 245);
    label->setText(textByKey("TEXT_GOALREACHED"));
    label->updateLayout();
    label->setVisible(false);
    if (layer)
        GameNode::addChild(layer, label);
    else
        RefPointer<Label> drop(label);
    Sprite* finished = sprite(node("LEVEL_FINISHED"));
    Sprite* shine = sprite(node("LEVEL_SHINE"));
    if (finished)
        finished->setAlpha(0);
    if (shine) {
        shine->setAlpha(0);
        shine->setCurrentFrame(0);
    }
    if (!root || !layer)
        return;
    auto* sound = new ModifierSound("SOUND_GOALREACHED", "sounds", true);
    sound->setTarget(label);
    Modifier* step = Modifier::addChild(root, sound);
    auto* visible = new ModifierVisible(true);
    visible->setTarget(label);
    step = Modifier::addChild(step, visible);
    auto* fadeIn = new ModifierAlpha(tuning().GOALREACHED_DURATION, 0, 255);
    fadeIn->setTarget(label);
    step = Modifier::addChild(step, fadeIn);
    step = Modifier::addChild(step, new ModifierDelay(tuning().GOALREACHED_DELAY));
    auto* fadeOut = new ModifierAlpha(tuning().GOALREACHED_DURATION, 255, 0);
    fadeOut->setTarget(label);
    Modifier* end = Modifier::addChild(step, fadeOut);
    if (finished) {
        auto* showFinished = new ModifierVisible(true);
        showFinished->setTarget(finished);
        Modifier::addChild(end, showFinished);
        auto* fade = new ModifierAlpha(200, 0, 255);
        fade->setTarget(finished);
        Modifier::addChild(showFinished, fade);
    }
    if (shine) {
        auto* showShine = new ModifierVisible(true);
        showShine->setTarget(shine);
        Modifier::addChild(end, showShine);
        auto* fade = new ModifierAlpha(200, 0, 255);
        fade->setTarget(shine);
        Modifier::addChild(showShine, fade);
        auto* frames = new ModifierFrame(24, 50);
        frames->setTarget(shine);
        Modifier::addChild(fade, frames);
        auto* hide = new ModifierVisible(false);
        hide->setTarget(shine);
        Modifier::addChild(frames, hide);
    }
}

void GoalPanel::showBorderWarning()
{
    GameNode* border = node("BORDER_WARNING");
    if (!border)
        return;
    Modifier* root = phaseContainer();
    if (!border->hasTreeModifiers() && root) {
        setAlpha(border, 0);
        auto* blink = new ModifierBlink(0, tuning().GOALWARNING_ALPHA, tuning().GOALWARNING_SPEED,
                                        tuning().GOALWARNING_SPEED, 0, 0, -1);
        blink->setTarget(border);
        Modifier::addChild(root, blink);
    }
    border->setVisible(true);
}

void GoalPanel::hideBorderWarning()
{
    GameNode* border = node("BORDER_WARNING");
    if (!border)
        return;
    border->setVisible(false);
    GameNode::cancelModifiers(border);
}

void GoalPanel::flyStarToGoal(int x, int y, int delayMs, int soundNumber, float popScale)
{
    Modifier* root = phaseContainer();
    GameNode* layer = node("NODE_FLOATERGOAL");
    if (!root || !layer)
        return;
    auto* star = new Sprite(x, y, image("STAR_PRICE"));
    star->setVisible(false);
    star->setAnchorPoint(Sprite::Center);
    GameNode::addChild(layer, star);
    auto* delay = new ModifierDelay(delayMs);
    delay->setTarget(star);
    Modifier::addChild(root, delay);
    Modifier* last = flyNodeToGoal(delay, star, soundNumber, popScale);
    last->addEndFlags(Modifier::EndRemoveTarget);
}

Modifier* GoalPanel::flyNodeToGoal(Modifier* after, Sprite* star, int soundNumber, float popScale)
{
    sessionStars() += 1;
    int targetX = 0;
    int targetY = 0;
    if (Sprite* earnedStar = sprite(node("EARNED_STAR"))) {
        targetX = earnedStar->getAbsoluteX() + earnedStar->getWidth() / 2;
        targetY = earnedStar->getAbsoluteY() + earnedStar->getHeight() / 2;
    }
    auto* visible = new ModifierVisible(true);
    visible->setTarget(star);
    Modifier* popped = Modifier::addChild(after, visible);
    if (popScale != 1.0f)
        popped = addBouncePopEffect(star, popped, true, false, popScale);
    auto* sparkles = new ModifierEmitter(tuning().STAR_PARTICLE_DENSITY, 0xFFF58A);
    // The star's own layer: the panel knows it, whoever runs the scene.
    sparkles->setLayer(star->getParent());
    sparkles->setTarget(star);
    Modifier::addChild(popped, sparkles);
    auto* flight = new ModifierLocationLine(tuning().STAR_FLY_DURATION, star->getAbsoluteX(),
                                            star->getAbsoluteY(), targetX, targetY, easing::smooth);
    flight->setTarget(star);
    Modifier::addChild(popped, flight);
    auto* sound = new ModifierSound(numbered("SOUND_ADDQUALITYSTAR", soundNumber), "sounds", true);
    sound->setTarget(star);
    Modifier::addChild(flight, sound);
    auto* arrived = new ModifierFunction(GuiMethod(this, &GoalPanel::onArrived), this);
    arrived->setTarget(star);
    return Modifier::addChild(sound, arrived);
}

int GoalPanel::onArrived(void* context, BaseObject* /*argument*/)
{
    static_cast<GoalPanel*>(context)->onStarArrived();
    return 0;
}

void GoalPanel::onStarArrived()
{
    doubleFlip(sprite(node("EARNED_STAR")));
    earned += 1;
    refresh();
}

void GoalPanel::addIntroFlash(Modifier* after)
{
    Sprite* space = sprite(node("SPRITE_SPACEGOAL"));
    if (!space || !after)
        return;
    auto* blink = new ModifierBlink(255, 128, tuning().GOALSTART_SPEED, tuning().GOALSTART_SPEED, 0, 0,
                                    tuning().GOALSTART_COUNT);
    blink->setTarget(space);
    Modifier::addChild(after, blink);
    auto* first = new ModifierSound("SOUND_FLASHGOAL", "sounds", false);
    Modifier::addChild(after, first);
    Modifier::addChild(first, new ModifierSound("SOUND_FLASHGOAL", "sounds", false));
}
