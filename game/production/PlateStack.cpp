#include "game/production/PlateStack.h"

#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/production/GameScreen.h"
#include "game/production/Pastry.h"
#include "game/production/PastryWrapper.h"

namespace {

// Plates zigzag left and right as the stack grows upwards.
int plateX(int index)
{
    return index % 2 == 0 ? tuning().PLATE_OFFSET_X : -tuning().PLATE_OFFSET_X;
}

int plateY(int index)
{
    return -index * tuning().PLATE_OFFSET_Y;
}

} // namespace

PlateStack::PlateStack(GameNode* layer) : layer(layer), effects(new GameNode(std::string()))
{
    // The pastries still to make: those waiting in the order and, in a
    // resumed level, the unfinished ones already on the spots.
    GameDataState* s = gamescreen::state();
    count = s ? static_cast<int>(s->order.size()) : 0;
    for (int spot = 0; s && spot < s->pastryWrapper.getSize(); ++spot) {
        Pastry* pastry = s->pastryWrapper.get(spot);
        if (pastry && !pastry->isFinished())
            ++count;
    }
    if (layer) {
        layer->setVisible(true);
        effects->setPosition(layer->getX(), layer->getY());
        if (layer->getParent())
            GameNode::insertAfter(effects.get(), layer);
    }
    build();
}

PlateStack::~PlateStack()
{
    if (effects)
        effects->setRemoved(true);
}

void PlateStack::build()
{
    if (!layer)
        return;
    gamescreen::releaseChildren(layer);
    Image* plate = gamescreen::image("PLATE");
    for (int i = 0; i < count; ++i)
        GameNode::addChild(layer, new Sprite(plateX(i), plateY(i), plate));
}

Modifier* PlateStack::dropIn(Modifier* after)
{
    if (!after)
        return after;
    Modifier* end = after;
    int i = 0;
    for (GameNode* plate = layer ? layer->getFirstChild() : nullptr; plate; plate = plate->getNextSibling(), ++i) {
        plate->setVisible(false);
        auto* delay = new ModifierDelay(tuning().PLATE_DELAY);
        delay->setTarget(plate);
        Modifier* parent = Modifier::addChild(end, delay);
        if (i == 0) {
            auto* sound = new ModifierSound("SOUND_PLATESTACK", "sounds", true);
            parent = Modifier::addChild(parent, sound);
        }
        auto* visible = new ModifierVisible(true);
        visible->setTarget(plate);
        end = Modifier::addChild(parent, visible);
    }
    return end;
}

void PlateStack::takePlate(Modifier* after)
{
    if (count <= 0)
        return;
    --count;
    build();
    const int x = plateX(count);
    const int y = plateY(count);

    auto* shine = new Sprite(x + tuning().PLATE_DELTASHINE_X, y + tuning().PLATE_DELTASHINE_Y,
                             gamescreen::image("PLATE_SHINE"));
    shine->setFrameCount(4, false);
    shine->setAnchorPoint(Sprite::Bottom);
    shine->setVisible(false);
    GameNode::addChild(effects.get(), shine);

    auto* animation = new Sprite(x + tuning().PLATE_DELTA_X, y + tuning().PLATE_DELTA_Y,
                                 gamescreen::image("PLATE_ANIMATION"));
    animation->setFrameCount(6, false);
    animation->setAnchorPoint(Sprite::Bottom);
    GameNode::addChild(effects.get(), animation);

    if (!after)
        return;
    auto* frames = new ModifierFrame(1, tuning().PLATE_FRAME_SPEED);
    frames->setTarget(animation);
    Modifier::addChild(after, frames);
    auto* hold = new ModifierDelay(500);
    hold->setTarget(animation);
    Modifier::addChild(frames, hold);
    auto* fade = new ModifierAlpha(250, 255, 0);
    fade->setTarget(animation);
    Modifier::addChild(hold, fade);
    auto* hide = new ModifierVisible(false);
    hide->setTarget(animation);
    hide->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(fade, hide);

    auto* showShine = new ModifierVisible(true);
    showShine->setTarget(shine);
    Modifier::addChild(after, showShine);
    auto* loop = new ModifierFrame(-1, tuning().PLATE_FRAME_SPEED);
    loop->setTarget(shine);
    Modifier::addChild(showShine, loop);
    auto* wait = new ModifierDelay(hold);
    Modifier::addChild(showShine, wait);
    auto* fadeShine = new ModifierAlpha(250, 255, 0);
    fadeShine->setTarget(shine);
    Modifier::addChild(wait, fadeShine);
    auto* hideShine = new ModifierVisible(false);
    hideShine->setTarget(shine);
    hideShine->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(fadeShine, hideShine);
}
