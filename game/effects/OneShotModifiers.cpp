#include "game/effects/OneShotModifiers.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/gui/Button.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/ModifierSettings.h"
#include "game/production/PastryStation.h"

TT_DEFINE_RECORD(ModifierCurrentFrame, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierFrameDirection, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierEnabled, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierPivotPoint, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierVisibleIfPositive, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierMoveAfter, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierMoveBefore, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierReparent, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierSetText, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierInvoke, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierCurrentFrame);
TT_REGISTER_CLASS(ModifierFrameDirection);
TT_REGISTER_CLASS(ModifierEnabled);
TT_REGISTER_CLASS(ModifierPivotPoint);

ModifierCurrentFrame::ModifierCurrentFrame(AbstractProperty* configuration)
    : ModifierCurrentFrame(modifierSettings(configuration)->getInt("frame", 0))
{
}

void ModifierCurrentFrame::step(int)
{
    finish();
    if (Sprite* sprite = objectCast<Sprite>(getTarget()))
        sprite->setCurrentFrame(frame);
}

ModifierFrameDirection::ModifierFrameDirection(AbstractProperty* configuration)
    : ModifierFrameDirection(modifierSettings(configuration)->getBool("reverse", false))
{
}

void ModifierFrameDirection::step(int)
{
    finish();
    if (Sprite* sprite = objectCast<Sprite>(getTarget()))
        sprite->setReverseFrames(reverse);
}

ModifierEnabled::ModifierEnabled(AbstractProperty* configuration)
    : ModifierEnabled(modifierSettings(configuration)->getInt("action", Enable))
{
}

void ModifierEnabled::step(int)
{
    finish();
    GameNode* node = getTarget();
    if (Button* button = objectCast<Button>(node))
        button->setEnabled(action == Toggle ? !button->isEnabled() : action == Enable);
    else if (Switch* toggle = objectCast<Switch>(node))
        toggle->setEnabled(action == Toggle ? !toggle->isEnabled() : action == Enable);
    else if (Slider* slider = objectCast<Slider>(node))
        slider->setEnabled(action == Enable);
}

ModifierPivotPoint::ModifierPivotPoint(AbstractProperty* configuration)
    : ModifierPivotPoint(modifierSettings(configuration)->getInt("pivot", Sprite::Center))
{
}

void ModifierPivotPoint::step(int)
{
    finish();
    Sprite* sprite = objectCast<Sprite>(getTarget());
    if (sprite && sprite->getPivotKind() != pivotKind) {
        sprite->setPivotPointKind(pivotKind);
        sprite->setDirty(true);
    }
}

void ModifierVisibleIfPositive::step(int)
{
    finish();
    if (GameNode* node = getTarget())
        node->setVisible(counter && counter() > 0);
}

void ModifierMoveAfter::step(int)
{
    finish();
    GameNode* node = getTarget();
    GameNode* sibling = other ? other->node : nullptr;
    if (node && sibling && GameNode::insertAfter(node, sibling))
        node->setRemoved(false);
}

void ModifierMoveBefore::step(int)
{
    finish();
    GameNode* node = getTarget();
    GameNode* sibling = other ? other->node : nullptr;
    if (node && sibling && GameNode::insertBefore(node, sibling))
        node->setRemoved(false);
}

void ModifierReparent::step(int)
{
    finish();
    GameNode* node = getTarget();
    GameNode* newParent = other ? other->node : nullptr;
    if (node && newParent && GameNode::addChild(newParent, node))
        node->setRemoved(false);
}

void ModifierSetText::step(int)
{
    finish();
    if (Label* label = objectCast<Label>(getTarget()))
        label->setText(text);
}

ModifierInvoke::ModifierInvoke(PastryStation* station, const MatchedCell& cell, int a, int b, int c, int d)
    : station(station), cell(cell), a(a), b(b), c(c), d(d)
{
}

ModifierInvoke::~ModifierInvoke() = default;

void ModifierInvoke::step(int)
{
    finish();
    if (station)
        station->deliverIngredients(cell, false, a, b, c, d);
}
