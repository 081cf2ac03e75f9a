#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/ThemeNode.h"

#include <algorithm>
#include <string>

#include "framework/core/PropertyNode.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierCallback.h"

TT_DEFINE_RECORD(ThemeNode, &GameNode::classRecord);
TT_REGISTER_CLASS(ThemeNode);

namespace {

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

// Chains `step` after `parent`, or starts it on the current scene's animation tree.
Modifier* chain(Modifier* parent, Modifier* step)
{
    if (!parent) {
        Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
        parent = scene ? scene->getAnimTree() : nullptr;
    }
    if (!parent) {
        RefPointer<Modifier> dropped(step);
        return nullptr;
    }
    return Modifier::addChild(parent, step);
}

} // namespace

ThemeNode::ThemeNode(AbstractProperty* configuration) : GameNode(configuration)
{
    // The highlight's sparkles circle behind the pastry.
    pastryHighlight = objectCast<Sprite>(createPart(configuration, "pastryhighlight"));
    pastryButton = objectCast<Button>(createPart(configuration, "pastrybutton"));
    pastryFinish = objectCast<Sprite>(createPart(configuration, "pastryfinish"));
    pastryBoard = objectCast<Sprite>(createPart(configuration, "pastryboard"));
    pastryName = objectCast<Label>(createPart(configuration, "pastryname"));
    for (int j = 0; j < kLevelButtons; ++j)
        levelButtons[j] = objectCast<Button>(createPart(configuration, ("pastrylevel" + std::to_string(j)).c_str()));
}

ThemeNode::~ThemeNode() = default;

GameNode* ThemeNode::createPart(AbstractProperty* configuration, const char* key)
{
    PropertyNode* node = configuration ? configuration->asNode() : nullptr;
    AbstractProperty* part = node ? node->getChild(key) : nullptr;
    if (!part || !part->asNode())
        return nullptr;
    RefPointer<GameNode> created = ObjectFactoryContainer::createFrom<GameNode>(part);
    if (!created)
        return nullptr;
    GameNode::addChild(this, created.get());
    created->setRemoved(false);
    return created.get();
}

void ThemeNode::setUnlocked(bool open)
{
    if (pastryButton) {
        pastryButton->setEnabled(open);
        pastryButton->setVisible(open);
    }
    if (pastryFinish)
        pastryFinish->setVisible(open && completedCount >= kLevelButtons);
    if (pastryBoard)
        pastryBoard->setVisible(open);
    if (pastryName)
        pastryName->setVisible(open);
    for (int j = 1; j <= kLevelButtons; ++j) {
        Button* button = levelButtons[j - 1];
        if (!button)
            continue;
        button->setVisible(open && completedCount >= j);
        button->setEnabled(open && completedCount >= j);
        button->setAlpha(255);
        GameNode::clearModifiers(button);
    }
    if (open && completedCount < kLevelButtons && levelButtons[completedCount]) {
        // The next level to play fades in and pulses.
        Button* next = levelButtons[completedCount];
        next->setAlpha(0);
        next->setVisible(true);
        next->setEnabled(true);
        Modifier* fade = new ModifierAlpha(350, 0, 64);
        fade->addEndFlags(Modifier::EndWait);
        GameNode::addModifier(next, fade);
        GameNode::addModifier(next, new ModifierBlink(64, 196, 350, 350, 0, 0, -1));
    }
}

void ThemeNode::setSelected(bool value)
{
    if (value == selected)
        return;
    selected = value;
    if (!pastryHighlight)
        return;
    GameNode::clearModifiers(pastryHighlight);
    if (!value) {
        pastryHighlight->setVisible(false);
        return;
    }
    pastryHighlight->setVisible(true);
    pastryHighlight->setAlpha(0);
    Modifier* fade = new ModifierAlpha(50, 0, 255);
    fade->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(pastryHighlight, fade);
    GameNode::addModifier(pastryHighlight, new ModifierFrame(-1, 50));
}

void ThemeNode::setCompletedCount(int count)
{
    completedCount = count;
    for (int j = 0; j < kLevelButtons; ++j) {
        if (!levelButtons[j])
            continue;
        levelButtons[j]->setVisible(j < count);
        levelButtons[j]->setEnabled(j < count);
    }
}

void ThemeNode::incrementCompleted()
{
    setCompletedCount(completedCount + 1);
}

Modifier* ThemeNode::revealLevels(int from, int to, Modifier* parent)
{
    Modifier* step = parent;
    for (int j = std::max(from, 0); j < to && j < kLevelButtons; ++j) {
        Button* button = levelButtons[j];
        if (!button)
            continue;
        button->setAlpha(255);
        button->setVisible(false);
        GameNode::clearModifiers(button);
        step = chain(step, targeted(new ModifierVisible(true), button));
        step = chain(step, targeted(new ModifierBlink(0, 255, 200, 200, 0, 0, 2), button));
        step = chain(step, new ModifierSound("SOUND_NEWLINE", "sounds", true));
        step = chain(step, createModifierCallback(this, &ThemeNode::incrementCompleted));
        step = chain(step, new ModifierDelay(100));
    }
    return chain(step, new ModifierFunction([](void*, BaseObject*) { return 0; }, nullptr));
}

Modifier* ThemeNode::dropFinishMark(Modifier* parent)
{
    if (!pastryFinish)
        return parent;
    const int x = pastryFinish->getX();
    const int y = pastryFinish->getY();
    Modifier* step = chain(parent, targeted(new ModifierVisible(true), pastryFinish));
    return chain(step,
                 targeted(new ModifierLocationLine(300, x, -pastryFinish->getHeight(), x, y, easeOut), pastryFinish));
}

Modifier* ThemeNode::appear(Modifier* parent)
{
    if (!pastryButton)
        return parent;
    pastryButton->setEnabled(true);
    pastryButton->setPivotPointKind(Sprite::Bottom);
    pastryButton->setVisible(false);
    if (pastryBoard)
        pastryBoard->setVisible(false);
    if (pastryName) {
        pastryName->setVisible(false);
        pastryName->updateLayout();
    }
    const float w = static_cast<float>(pastryButton->getWidth());
    const float h = static_cast<float>(pastryButton->getHeight());
    const auto whole = [](float value) { return static_cast<float>(static_cast<int>(value)); };
    const TuningTable& values = tuning();
    Modifier* step = chain(parent, targeted(new ModifierVisible(true), pastryButton));
    step = chain(step, new ModifierSound("STING_THEMENEW", "sounds", true));
    step = chain(step, targeted(new ModifierStretch(values.PASTRY_SQUISH_DURATION, whole(0.8f * w), whole(1.2f * h),
                                                    whole(1.2f * w), whole(0.5f * h)),
                                pastryButton));
    step = chain(step, targeted(new ModifierStretch(values.PASTRY_STRETCH_DURATION, whole(1.2f * w), whole(0.5f * h),
                                                    w, h),
                                pastryButton));
    if (pastryBoard) {
        step = chain(step, targeted(new ModifierVisible(true), pastryBoard));
        step = addPopEffect(pastryBoard, step, true, false, 0.5f);
    }
    if (pastryName) {
        step = chain(step, targeted(new ModifierVisible(true), pastryName));
        step = addPopEffect(pastryName, step, true, false, 0.5f);
    }
    return step;
}
