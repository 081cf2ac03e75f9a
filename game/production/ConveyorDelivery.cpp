// The conveyor's deliveries, the finishing of a complete pastry, and packaging.
#include <cmath>

#include "framework/core/Random.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierClipRect.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/ModifierFollowNode.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/ConveyorView.h"
#include "game/production/Countertop.h"
#include "game/production/CustomerView.h"
#include "game/production/GameScreen.h"
#include "game/production/PastryGoalPanel.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

// A line that moves only the y: the package follows the plate's x meanwhile.
ModifierLocationLine* vertical(ModifierLocationLine* line)
{
    line->setMoveX(false);
    return line;
}

void originOf(const GameNode* node, int* x, int* y)
{
    *x = 0;
    *y = 0;
    for (const GameNode* up = node ? node->getParent() : nullptr; up; up = up->getParent()) {
        *x += up->getX();
        *y += up->getY();
    }
}

} // namespace

bool ConveyorView::deliverIngredients(const MatchedCell& cell, bool /*runHasUnripe*/, int x, int y, int indexInRun,
                                      int /*runLength*/)
{
    ConveyorBelt* b = belt();
    if (tornDown || flushing || !b || b->spots.empty() || !animationRoot)
        return false;
    const std::string& name = cell.ingredient;
    RefPointer<Spot> chosen;
    int slot = -1;
    for (const RefPointer<Spot>& spot : b->spots) {
        Pastry* pastry = spot->getPastry();
        for (size_t j = 0; pastry && j < pastry->ingredients.size(); ++j) {
            if (pastry->ingredients[j].name == name && pastry->ingredients[j].amount > 0) {
                chosen = spot;
                slot = static_cast<int>(j);
                break;
            }
        }
        if (chosen)
            break;
    }
    if (!chosen)
        return false;
    Pastry* pastry = chosen->getPastry();
    const int before = pastry->ingredients[static_cast<size_t>(slot)].amount;
    const size_t index = static_cast<size_t>(slot);
    Sprite* icon = index < chosen->icons.size() ? chosen->icons[index] : nullptr;
    GameNode* counter = index < chosen->counters.size() ? chosen->counters[index] : nullptr;
    const TuningTable& t = tuning();
    Modifier* root = animationRoot.get();

    pastry->deliverIngredient(name);
    if (icon) {
        const int dx = x - icon->getAbsoluteX();
        const int dy = y - icon->getAbsoluteY();
        const int flight = t.INGREDIENT_FLY_DELAY * indexInRun + t.INGREDIENT_FLY_DURATION;
        auto* flying = new Sprite(dx, dy, Countertop::getIngredientImage(name));
        flying->setAnchorPoint(Sprite::BottomLeft);
        flying->setAlpha(t.INGREDIENT_FLY_ALPHA);
        GameNode::addChild(icon, flying);
        if (GameNode* first = icon->getFirstChild(); first && first != flying)
            GameNode::insertBefore(flying, first);
        flying->setRemoved(false);
        Modifier* grow = attach(root, flying, new ModifierScale(flight / 2, 1.0f, t.INGREDIENT_FLY_SCALE));
        attach(grow, flying, new ModifierScale(flight / 2, t.INGREDIENT_FLY_SCALE, 1.0f));
        auto* line = new ModifierLocationLine(flight, dx, dy, 0, 0, easeSmoothstep);
        line->setEndFlags(Modifier::EndRemoveTarget);
        Modifier* landed = attach(root, flying, line);
        attach(landed, counter, new ModifierSound("SOUND_ADDINGREDIENTSTORECIPE", "sounds", true));
        if (counter)
            attach(landed, counter, new ModifierSetText(toWideString(std::to_string(before - 1))));
        if (pastry->ingredients[index].amount <= 0) {
            visibleStep(landed, counter, false);
            visibleStep(landed, icon, false);
        }
    }
    if (!pastry->isFinished())
        return true;

    // The pastry is complete: a cloud, the pastry grows on its plate, a flash.
    Sprite* plate = chosen->getPlate();
    if (plate) {
        const float m = state() ? state()->playSessionInfo.getAnimationSpeedMultiplier() : 1.0f;
        const float k = 2.0f - m;
        auto scaledBy = [k](int ms) { return static_cast<int>(static_cast<float>(ms) * k); };
        plate->setPivotPointKind(Sprite::Center);
        plate->setScale(0.0f);
        plate->setAlpha(255);
        plate->setVisible(true);
        auto* cloud = new Sprite(0, 0, image("CLOUD_FINISH_PASTRY"));
        cloud->setFrameCount(std::max(1, t.PACKAGE_CLOUD_FRAME_COUNT), false);
        cloud->setVisible(false);
        cloud->setScale(1.0f);
        cloud->setAnchorPoint(Sprite::BottomRight);
        cloud->setPivotPointKind(Sprite::Center);
        cloud->setCurrentFrame(0);
        GameNode::addChild(plate, cloud);
        auto* flash = new Sprite(0, 0, image("PASTRY_FLASH"));
        flash->setAnchorPoint(Sprite::BottomRight);
        flash->setPivotPointKind(Sprite::Center);
        flash->setVisible(false);
        GameNode::addChild(plate, flash);

        Modifier* shown = visibleStep(root, cloud, true);
        const int variant = 1 + (Random::instance ? Random::instance->nextInt(0, 3) : 0);
        attach(root, plate, new ModifierSound(numbered("SOUND_PASTRYCREATING", variant), "sounds", true));
        attach(shown, cloud, new ModifierFrame(-1, scaledBy(t.FINISH_PASTRY_FRAME_TIME)));
        Modifier* delay = Modifier::addChild(root, new ModifierDelay(scaledBy(t.FINISH_PASTRY_DELAY_ARCADE)));
        const int grow = scaledBy(t.FINISH_PASTRY_SCALE_DURATION);
        Modifier* grown = attach(delay, plate, new ModifierScale(grow, 0.0f, 1.0f));
        visibleStep(delay, plate, true);
        // The flash is shown while it grows and fades.
        visibleStep(delay, flash, true);
        attach(delay, flash, new ModifierScale(grow, 0.0f, 1.0f));
        Modifier* faded = attach(delay, flash, new ModifierAlpha(scaledBy(t.PASTRY_FLASH_DELAY), 255, 0));
        visibleStep(faded, flash, false);
        Modifier* shrink = attach(delay, cloud, new ModifierScale(grow, 1.0f, 0.0f));
        Modifier::addChild(shrink, new ModifierCallback(cloud, &GameNode::setRemoved, true));
        Modifier* done = attach(grown, plate, new ModifierSound("SOUND_ARCADE_PASTRYDONE", "sounds", true));
        Modifier::addChild(faded, new ModifierCallback(flash, &GameNode::setRemoved, true));
        Modifier::addChild(done, createModifierCallback(this, &ConveyorView::speedUpWhenComplete));
        Modifier::addChild(done, createModifierCallback(chosen.get(), &Spot::setState, static_cast<int>(Spot::Ready)));
        chosen->state = Spot::Complete;
    } else {
        // Without a plate to show there is nothing to wait for.
        chosen->state = Spot::Ready;
    }
    return true;
}

Modifier* ConveyorView::buildPackage(Spot* spot, bool front)
{
    Sprite* plate = spot->getPlate();
    Modifier* root = animationRoot.get();
    const TuningTable& t = tuning();
    if (!plate || !root || !packageNode || !beltNode)
        return nullptr;
    const float m = state() ? state()->playSessionInfo.getAnimationSpeedMultiplier() : 1.0f;
    const float k = 2.0f - m;
    auto scaledBy = [k](int ms) { return static_cast<int>(static_cast<float>(ms) * k); };
    const int x = plate->getX() + t.PACKAGE_ARCADE_X;
    const int bottom = t.PACKAGE_ARCADE_Y + t.PACKAGE_ARCADE_BOTTOM_Y;
    const int top = t.PACKAGE_ARCADE_Y + t.PACKAGE_ARCADE_TOP_Y - plate->getHeight();
    const int rest = t.PACKAGE_ARCADE_Y;
    int sx = 0;
    int sy = 0;
    originOf(plate, &sx, &sy);
    const Rect band{-sx, t.PACKAGE_CLIP_EXTRA - sy, 800, t.PACKAGE_CLIP_Y};
    const Rect open{-sx, t.PACKAGE_CLIP_EXTRA - sy, 800, 600};

    auto* box = new Sprite(x, bottom, image("PACKAGE3"));
    box->setAnchorPoint(Sprite::BottomLeft);
    box->setPivotPointKind(Sprite::Bottom);
    box->setClipRect(band.x, band.y, band.width, band.height);
    box->setVisible(true);
    GameNode::addChild(packageNode, box);
    auto* cloud = new Sprite(t.PACKAGE_CLOUD_X, t.PACKAGE_CLOUD_Y, image("PACKAGE_ANIMATION"));
    cloud->setVisible(false);
    cloud->setFrameCount(7, false);
    cloud->setAnchorPoint(Sprite::BottomLeft);
    GameNode::addChild(box, cloud);

    const int noScale = scaledBy(t.PACKAGE_NO_SCALE_TIME);
    attach(root, box, new ModifierFollowNode(plate, -1));
    attach(root, box, new ModifierScale(scaledBy(t.PACKAGE_APPEAR_UP_DURATION) - noScale, t.PACKAGE_SMALL,
                                        t.PACKAGE_MEDIUM));
    Modifier* rise = attach(root, box,
                            vertical(new ModifierLocationLine(scaledBy(t.PACKAGE_APPEAR_UP_DURATION), x, bottom, x, top, easeSmoothstep)));
    attach(rise, box, new ModifierMoveAfter(plate));
    attach(rise, box, new ModifierClipRect(0, band, open));
    const int downTime = scaledBy(t.PACKAGE_APPEAR_DOWN_DURATION);
    attach(rise, box, new ModifierScale(downTime, t.PACKAGE_MEDIUM, t.PACKAGE_NORMAL));
    Modifier* drop = attach(rise, box,
                            vertical(new ModifierLocationLine(downTime, x, top, x, rest, easeLinear)));
    visibleStep(drop, plate, false);
    visibleStep(drop, cloud, true);
    auto* puff = new ModifierFrame(1, t.PACKAGE_CLOUD_FRAME_TIME);
    puff->setEndFlags(Modifier::EndRemoveTarget);
    attach(drop, cloud, puff);
    const float w = static_cast<float>(box->getWidth());
    const float h = static_cast<float>(box->getHeight());
    const float sw = std::trunc(w * t.PACKAGE_STRETCH_WIDTH);
    const float shh = std::trunc(h * t.PACKAGE_STRETCH_HEIGHT);
    const int stretchTime = scaledBy(t.PACKAGE_STRETCH_DURATION);
    Modifier* squash = attach(drop, box, new ModifierStretch(stretchTime, w, h, sw, shh, easeSmoothstep));
    Modifier* back = attach(squash, box, new ModifierStretch(stretchTime, sw, shh, w, h, easeSmoothstep));
    const int upTime = scaledBy(t.PACKAGE_DISAPPEAR_UP_DURATION);
    Modifier* hold = Modifier::addChild(back, new ModifierDelay(noScale));
    attach(hold, box, new ModifierScale(upTime - noScale, t.PACKAGE_NORMAL, t.PACKAGE_MEDIUM));
    Modifier* leave = attach(back, box,
                             vertical(new ModifierLocationLine(upTime, x, rest, x, top, &easeOut)));
    attach(leave, box, new ModifierReparent(packageNode));
    attach(leave, box, new ModifierClipRect(0, open, band));
    const int sinkTime = scaledBy(t.PACKAGE_DISAPPEAR_DOWN_DURATION);
    attach(leave, box, new ModifierScale(sinkTime, t.PACKAGE_MEDIUM, t.PACKAGE_SMALL));
    Modifier* sink = attach(leave, box,
                            vertical(new ModifierLocationLine(sinkTime, x, top, x, bottom, easeSmoothstep)));
    Modifier::addChild(sink, new ModifierCallback(box, &GameNode::setRemoved, true));
    Modifier::addChild(sink, new ModifierCallback(plate, &GameNode::setRemoved, true));
    attach(sink, plate, createModifierCallback(this, &ConveyorView::resumeSpeed));
    Modifier::addChild(sink, createModifierCallback(spot, &Spot::setState, static_cast<int>(Spot::Packaged)));
    Modifier::addChild(sink, createModifierCallback(this, &ConveyorView::removeSpot, RefPointer<Spot>(spot)));
    if (front) {
        if (CustomerView* view = customer())
            Modifier::addChild(sink, createModifierCallback(view, &CustomerView::resetToCasual));
        Modifier::addChild(sink, createModifierCallback(this, &ConveyorView::resetWarningLight));
    }
    return sink;
}

void ConveyorView::packageFinishedPastries()
{
    ConveyorBelt* b = belt();
    GameDataState* s = state();
    if (tornDown || !b || !s)
        return;
    TortelunePlayer* player = currentPlayer();
    PastryGoalPanel* goalPanel = getPastryGoalPanel();
    int count = 0;
    Modifier* last = nullptr;
    const std::vector<RefPointer<Spot>> spots(b->spots);
    for (size_t i = 0; i < spots.size(); ++i) {
        Spot* spot = spots[i].get();
        if (spot->state != Spot::Ready)
            continue;
        if (player)
            player->numPastries += 1;
        ++count;
        if (goalPanel)
            goalPanel->addEarnedPackage();
        s->playSessionInfo.addScore(s->playSessionInfo.getScoreMultiplier() *
                                    static_cast<float>(s->scoreTable.pointsPastry[3]));
        spot->state = Spot::Packaging;
        spot->hasArrived = false;
        if (Modifier* end = buildPackage(spot, i == 0))
            last = end;
        resetWarningLight();
        if (!b->spots.empty() && !b->spots.front()->hasArrived) {
            if (CustomerView* view = customer())
                view->resetToCasual();
            resetWarningLight();
            stopAlert();
        }
    }
    if (count == 0)
        return;
    if (RefPointer<Sound> click = ResourceLookup::findAs<Sound>("SOUND_CLICKTOFINISHPASTRY", "sounds"))
        Sound::play(click.get(), 128, 255, false);
    if (last)
        Modifier::addChild(last, createModifierCallback(this, &ConveyorView::speedUpWhenComplete));
}

void ConveyorView::removeSpot(RefPointer<Spot> spot)
{
    if (!spot)
        return;
    if (spot->moveModifier) {
        spot->moveModifier->kill();
        spot->moveModifier = nullptr;
    }
    if (Sprite* plate = spot->getPlate())
        plate->setRemoved(true);
    for (Sprite* icon : spot->icons)
        if (icon)
            icon->setRemoved(true);
    for (GameNode* counter : spot->counters)
        if (counter)
            counter->setRemoved(true);
    if (ConveyorBelt* b = belt())
        b->removeSpot(spot.get());
}
