// The countertop's packaging of finished pastries, their hops and the gliding
// of pastries forward into empty spots.
#include <cmath>

#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierClipRect.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/effects/Effects.h"
#include "game/effects/OneShotModifiers.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/Trophies.h"
#include "game/production/Countertop.h"
#include "game/production/CustomerView.h"
#include "game/production/GameScreen.h"
#include "game/production/GoalPanel.h"
#include "game/production/PastryWrapper.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr int kTrophyFullStars = 3;
constexpr int kTrophyFourAtOnce = 9;
constexpr int kTrophyPerseverance = 11;

GoalPanel* currentGoalPanel()
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? scene->getGoalPanel() : nullptr;
}

bool isReady(const Pastry& pastry)
{
    return pastry.isFinished() && pastry.pendingDeliveries <= 0 && !pastry.isMoving && !pastry.isPackaged;
}

} // namespace

void Countertop::packageFinishedPastries()
{
    GameDataState* s = state();
    if (!s || tornDown)
        return;
    Modifier* root = getAnimationRoot();
    TortelunePlayer* player = currentPlayer();
    GoalPanel* goal = currentGoalPanel();
    const TuningTable& t = tuning();
    int packaged = 0;
    int gradeSum = 0;
    int fullStars = 0;
    int starDelay = 0;
    for (int spot = 0; spot < getSize(); ++spot) {
        RefPointer<Pastry> pastry = getPastry(spot);
        if (!pastry || !isReady(*pastry))
            continue;
        const int grade = pastry->getQualityLevel();
        gradeSum += grade;
        ++packaged;
        if (grade == 4)
            ++fullStars;
        if (player)
            player->numPastries += 1;
        pastry->isPackaged = true;
        const int points = static_cast<int>(static_cast<float>(s->scoreTable.pointsPastry[grade - 1]) *
                                            s->playSessionInfo.getScoreMultiplier());
        s->playSessionInfo.score = std::max(0, s->playSessionInfo.score + points);
        s->playSessionInfo.allFullQuality = s->playSessionInfo.allFullQuality && grade == 4;

        int starNumber = 1;
        for (int k = grade - 1; k >= 0; --k, ++starNumber) {
            Sprite* star = sprite(getSpotChild(spot, "QUALITY_STAR", k));
            if (!star)
                continue;
            if (goal)
                goal->flyStarToGoal(star->getAbsoluteX() + star->getWidth() / 2,
                                    star->getAbsoluteY() + star->getHeight() / 2, starDelay, starNumber, 1.0f);
            if (root) {
                Modifier* wait = Modifier::addChild(root, new ModifierDelay(starDelay));
                visibleStep(wait, star, false);
            }
            starDelay += t.STAR_FLY_DELAY;
        }

        Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"));
        Sprite* box = sprite(getSpotChild(spot, "PACKAGE"));
        if (!picture || !box || !root) {
            finishPackaging(spot);
            continue;
        }
        picture->setTag(spot);
        const int x = picture->getX() + t.PACKAGE_X;
        const int bottom = t.PACKAGE_BOTTOM_Y + 49;
        const int top = t.PACKAGE_TOP_Y - picture->getHeight() + 49;
        GameNode* parent = box->getParent();
        const int originX = parent ? parent->getAbsoluteX() : 0;
        const int originY = parent ? parent->getAbsoluteY() : 0;
        box->setPosition(x, bottom);
        box->setPivotPointKind(Sprite::Bottom);
        box->setClipRect(-originX, -originY, 800, t.PACKAGE_CLIP_Y);
        box->setVisible(true);
        if (picture->getParent() == parent)
            GameNode::insertBefore(box, picture);
        auto* cloud = new Sprite(t.PACKAGE_CLOUD_X, t.PACKAGE_CLOUD_Y, image("PACKAGE_ANIMATION"));
        cloud->setFrameCount(7, false);
        cloud->setAnchorPoint(Sprite::BottomLeft);
        cloud->setVisible(false);
        if (parent)
            GameNode::addChild(parent, cloud);
        else
            RefPointer<Sprite> drop(cloud);

        const int upTime = scaled(t.PACKAGE_APPEAR_UP_DURATION);
        const int noScale = scaled(t.PACKAGE_NO_SCALE_TIME);
        const int downTime = scaled(t.PACKAGE_APPEAR_DOWN_DURATION);
        attach(root, box, new ModifierScale(upTime - noScale, t.PACKAGE_SMALL, t.PACKAGE_MEDIUM));
        Modifier* rise = attach(root, box, new ModifierLocationLine(upTime, x, bottom, x, top, easing::smooth));
        attach(rise, box, new ModifierClipRect(0, -originX, -originY, 800, t.PACKAGE_CLIP_Y, -originX, -originY, 800, 600));
        attach(rise, box, new ModifierMoveAfter(picture));
        attach(rise, box, new ModifierScale(downTime, t.PACKAGE_MEDIUM, t.PACKAGE_NORMAL));
        Modifier* drop = attach(rise, box, new ModifierLocationLine(downTime, x, top, x, 49, easing::linear));
        visibleStep(drop, picture, false);
        visibleStep(drop, cloud, true);
        auto* puff = new ModifierFrame(1, t.PACKAGE_CLOUD_FRAME_TIME);
        puff->setEndFlags(Modifier::EndRemoveTarget);
        attach(drop, cloud, puff);
        const float w = static_cast<float>(box->getWidth());
        const float h = static_cast<float>(box->getHeight());
        const int stretchTime = scaled(t.PACKAGE_STRETCH_DURATION);
        Modifier* squash = attach(drop, box,
                                  new ModifierStretch(stretchTime, w, h, std::trunc(w * t.PACKAGE_STRETCH_WIDTH),
                                                      std::trunc(h * t.PACKAGE_STRETCH_HEIGHT), easing::smooth));
        Modifier* back = attach(squash, box,
                                new ModifierStretch(stretchTime, std::trunc(w * t.PACKAGE_STRETCH_WIDTH),
                                                    std::trunc(h * t.PACKAGE_STRETCH_HEIGHT), w, h, easing::smooth));
        for (const char* name : {"COUNTER_FROZEN", "COUNTER_PARTACTIVE", "COUNTER_PARTHOVER"})
            visibleStep(back, getSpotChild(spot, name), false);
        const int leaveUpTime = scaled(t.PACKAGE_DISAPPEAR_UP_DURATION);
        Modifier* hold = Modifier::addChild(back, new ModifierDelay(noScale));
        attach(hold, box, new ModifierScale(leaveUpTime - noScale, t.PACKAGE_NORMAL, t.PACKAGE_MEDIUM));
        Modifier* leaveUp = attach(back, box, new ModifierLocationLine(leaveUpTime, x, 49, x, top, &easeOut));
        attach(leaveUp, box, new ModifierClipRect(0, -originX, -originY, 800, 600, -originX, -originY, 800, t.PACKAGE_CLIP_Y));
        const int leaveDownTime = scaled(t.PACKAGE_DISAPPEAR_DOWN_DURATION);
        attach(leaveUp, box, new ModifierScale(leaveDownTime, t.PACKAGE_MEDIUM, t.PACKAGE_SMALL));
        Modifier* leaveDown =
            attach(leaveUp, box, new ModifierLocationLine(leaveDownTime, x, top, x, bottom, easing::smooth));
        visibleStep(leaveDown, box, false);
        attach(leaveDown, picture, new ModifierFunction(GuiMethod(this, &Countertop::onPackaged), this));
    }
    if (gradeSum > 0 && customerView)
        customerView->reactToDelivery(gradeSum);
    if (packaged > 0)
        playSound(root, "SOUND_CLICKTOFINISHPASTRY");

    if (packaged > 1 && root) {
        GameNode* counterLayer = node("NODE_FLOATERCOUNTER");
        GameNode* starLayer = node("NODE_FLOATERGOAL");
        if (counterLayer) {
            auto* ribbon = new Sprite(0, 0, image(numbered("CHAIN_RIBBON", packaged)));
            ribbon->setAnchorPoint(Sprite::Center);
            GameNode::addChild(counterLayer, ribbon);
            Modifier* popped = addPopEffect(ribbon, root, true, false, 0.5f);
            attach(popped, ribbon, new ModifierLocationLine(t.FLOATERCOUNTER_DURATION, 0, 0, 0,
                                                            -t.FLOATERCOUNTER_TRAVEL, easing::smooth));
            Modifier* wait = attach(popped, ribbon, new ModifierDelay(t.FLOATERCOUNTER_DURATION - 200));
            auto* fade = new ModifierAlpha(200, 255, 0);
            fade->setEndFlags(Modifier::EndRemoveTarget);
            attach(wait, ribbon, fade);
        }
        const int bonusStars = packaged - 1;
        Image* starImage = image("STAR_PRICE");
        const int w = starImage ? starImage->getWidth() : 0;
        const int dy = bonusStars == 1 ? -17 : bonusStars == 2 ? -18 : bonusStars == 3 ? -20 : 0;
        for (int i = 0; i < bonusStars && counterLayer && starLayer; ++i) {
            int dx = 0;
            if (bonusStars == 2)
                dx = i == 0 ? -w / 2 : w / 2;
            else if (bonusStars == 3)
                dx = (i - 1) * w;
            const int sx = counterLayer->getX() + dx;
            const int sy = counterLayer->getY() + dy;
            auto* star = new Sprite(sx, sy, starImage);
            star->setAnchorPoint(Sprite::Center);
            GameNode::addChild(starLayer, star);
            Modifier* popped = addPopEffect(star, root, true, false, 0.5f);
            Modifier* rise = attach(popped, star, new ModifierLocationLine(t.FLOATERCOUNTER_DURATION, sx, sy, sx,
                                                                           sy - t.FLOATERCOUNTER_TRAVEL, easing::smooth));
            Modifier* wait = attach(rise, star, new ModifierDelay(i * 50));
            if (goal) {
                Modifier* last = goal->flyNodeToGoal(wait, star, 1, 1.0f);
                last->addEndFlags(Modifier::EndRemoveTarget);
            }
        }
    }
    closeCountertopHint();
    if (player && player->numPastries >= t.TROPHYVALUE_PERSEVERANCE)
        earnTrophy(kTrophyPerseverance);
    if (packaged == 4)
        earnTrophy(kTrophyFourAtOnce);
    if (fullStars > 0)
        earnTrophy(kTrophyFullStars);
}

void Countertop::closeCountertopHint()
{
    // The hints that ask for a click on the counter have been answered by it.
    SceneGame* scene = SceneGame::getInstance();
    if (!scene || !scene->isDialogShown("DIALOG_HINT"))
        return;
    auto* hint = objectCast<DialogHint>(scene->getDialog("DIALOG_HINT"));
    if (hint && (hint->hintName == "HINT_PASTRY1" || hint->hintName == "HINT_COUNTERTOP_FULL"))
        hint->closeHint();
}

int Countertop::onPackaged(void* context, BaseObject* argument)
{
    auto* step = objectCast<Modifier>(argument);
    GameNode* picture = step ? step->getTarget() : nullptr;
    if (picture)
        static_cast<Countertop*>(context)->finishPackaging(picture->getTag());
    return 0;
}

void Countertop::finishPackaging(int spot)
{
    if (spot < 0 || spot >= getSize())
        return;
    if (Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"))) {
        picture->setVisible(false);
        picture->setAlpha(255);
    }
    pastries->set(spot, RefPointer<Pastry>());
    int before = 0;
    for (int n = 0; n < spot; ++n) {
        Pastry* pastry = pastries->get(n);
        if (!pastry || pastry->isPackaged)
            ++before;
    }
    int after = 0;
    for (int n = spot + 1; n < getSize(); ++n) {
        Pastry* pastry = pastries->get(n);
        if (pastry && !pastry->isPackaged)
            ++after;
    }
    if (after < before + 1)
        show(getSpotNode(spot), false);
}

void Countertop::bounceFinishedPastries()
{
    Modifier* root = getAnimationRoot();
    const TuningTable& t = tuning();
    bool hopped = false;
    for (int spot = 0; spot < getSize() && root; ++spot) {
        RefPointer<Pastry> pastry = getPastry(spot);
        Sprite* picture = sprite(getSpotChild(spot, "PASTRY_SPRITE"));
        if (!pastry || !isReady(*pastry) || !picture)
            continue;
        hopped = true;
        const float w = static_cast<float>(picture->getWidth());
        const float h = static_cast<float>(picture->getHeight());
        const int x = picture->getX();
        const int y = picture->getY();
        const int squash = t.FINISH_PASTRY_BOUNCE_STRETCH_TIME;
        const int travel = t.FINISH_PASTRY_BOUNCE_TRAVEL_TIME;
        Modifier* step = attach(root, picture, new ModifierPivotPoint(Sprite::Bottom));
        step = attach(step, picture, new ModifierStretch(squash, w, h, w, std::trunc(0.8f * h)));
        step = attach(step, picture, new ModifierStretch(squash, w, std::trunc(0.8f * h), w, h));
        step = attach(step, picture,
                      new ModifierLocationLine(travel, x, y, x, y - t.FINISH_PASTRY_BOUNCE_TRAVEL, &easeOut));
        step = attach(step, picture,
                      new ModifierLocationLine(travel, x, y - t.FINISH_PASTRY_BOUNCE_TRAVEL, x, y, easing::quadratic));
        step = attach(step, picture,
                      new ModifierStretch(squash, w, h, std::trunc(1.3f * w), std::trunc(0.7f * h)));
        step = attach(step, picture, new ModifierStretch(squash, std::trunc(1.3f * w), std::trunc(0.7f * h), w, h));
        attach(step, picture, new ModifierPivotPoint(Sprite::Center));
    }
    if (hopped)
        playSound(root, "SOUND_PASTRYHOP");
}

void Countertop::glide(int from, int to, Sprite* source, GameNode* target, int durationMs, Modifier** last)
{
    GameNode* layer = getShiftNode(to);
    GameNode* fromSpot = getSpotNode(from);
    GameNode* toSpot = getSpotNode(to);
    Modifier* root = getAnimationRoot();
    if (!source || !target || !layer || !fromSpot || !toSpot || !root)
        return;
    const int startX = source->getX() + fromSpot->getX() - toSpot->getX();
    const int startY = source->getY() + fromSpot->getY() - toSpot->getY();
    auto* copy = new Sprite(source->getX(), source->getY(), source->getImage());
    copy->setAnchorPoint(Sprite::BottomLeft);
    copy->setPivotPointPt(source->getPivotPoint());
    copy->setScale(source->getScale());
    GameNode::addChild(layer, copy);
    auto* line = new ModifierLocationLine(durationMs, startX, startY, target->getX(), target->getY(), easing::smooth);
    line->setEndFlags(Modifier::EndRemoveTarget);
    *last = attach(root, copy, line);
}

void Countertop::closeGaps()
{
    const int slots = tuning().MAX_INGREDIENT_COUNT;
    for (int i = 0; i < getSize(); ++i) {
        if (pastries->get(i))
            continue;
        int from = i + 1;
        while (from < getSize() && !pastries->get(from))
            ++from;
        if (from >= getSize())
            continue;
        RefPointer<Pastry> pastry = getPastry(from);
        if (pastry->pendingDeliveries > 0 || pastry->isPackaged)
            return;
        pastries->set(i, pastry);
        pastries->set(from, RefPointer<Pastry>());
        pastry->isMoving = true;
        show(getSpotNode(from), false);
        show(getSpotNode(i), true);
        show(getShiftNode(i), true);
        const int duration = (from - i) * tuning().COUNTERTOP_SHIFT_DURATION;
        Modifier* last = nullptr;
        auto* finished = new ModifierFunction(GuiMethod(this, &Countertop::onMoveFinished), this);
        if (pastry->isFinished()) {
            Sprite* source = sprite(getSpotChild(from, "PASTRY_SPRITE"));
            Sprite* target = sprite(getSpotChild(i, "PASTRY_SPRITE"));
            GameNode* frozen = getSpotChild(from, "COUNTER_FROZEN");
            GameNode* active = getSpotChild(from, "COUNTER_PARTACTIVE");
            const bool wasFrozen = frozen && frozen->isVisible();
            const bool wasActive = active && active->isVisible();
            show(source, false);
            show(frozen, false);
            show(active, false);
            if (target) {
                target->setImage(source ? source->getImage() : nullptr);
                target->setVisible(false);
                target->setTag(pastry->serial);
            }
            for (int k = 0; k < slots; ++k) {
                show(getSpotChild(i, "INGREDIENT", k), false);
                show(getSpotChild(i, "NUMBER", k), false);
            }
            glide(from, i, source, target, duration, &last);
            if (last) {
                visibleStep(last, target, true);
                if (wasFrozen)
                    visibleStep(last, getSpotChild(i, "COUNTER_FROZEN"), true);
                if (wasActive)
                    visibleStep(last, getSpotChild(i, "COUNTER_PARTACTIVE"), true);
                attach(last, target, finished);
            }
        } else {
            for (int k = slots - 1; k >= 0; --k) {
                GameNode* icon = getSpotChild(i, "INGREDIENT", k);
                GameNode* number = getSpotChild(i, "NUMBER", k);
                const bool needed = k < static_cast<int>(pastry->ingredients.size()) &&
                                    pastry->ingredients[k].amount > 0;
                if (!needed) {
                    show(icon, false);
                    show(number, false);
                    continue;
                }
                if (Sprite* iconSprite = sprite(icon)) {
                    iconSprite->setImage(getIngredientImage(pastry->ingredients[k].name));
                    iconSprite->setPivotPointKind(Sprite::Center);
                }
                show(icon, false);
                setLabelNumber(number, pastry->ingredients[k].amount);
                show(number, false);
                Modifier* glided = nullptr;
                glide(from, i, sprite(getSpotChild(from, "INGREDIENT", k)), icon, duration, &glided);
                if (glided) {
                    // Shown on arrival only when still needed then.
                    attach(glided, icon, new ModifierVisibleIfPositive(pastry.get(), &Pastry::getAmount, k));
                    attach(glided, number, new ModifierVisibleIfPositive(pastry.get(), &Pastry::getAmount, k));
                    last = glided;
                }
            }
            GameNode* firstIcon = getSpotChild(i, "INGREDIENT", 0);
            if (firstIcon)
                firstIcon->setTag(pastry->serial);
            if (last && firstIcon)
                attach(last, firstIcon, finished);
        }
        if (!last || !finished->getParent()) {
            // Nothing could glide: the move ends at once.
            RefPointer<Modifier> drop(finished);
            pastry->isMoving = false;
            if (pastry->isFinished())
                show(getSpotChild(i, "PASTRY_SPRITE"), true);
            for (int k = 0; k < slots && !pastry->isFinished(); ++k) {
                const bool needed = k < static_cast<int>(pastry->ingredients.size()) && pastry->ingredients[k].amount > 0;
                show(getSpotChild(i, "INGREDIENT", k), needed);
                show(getSpotChild(i, "NUMBER", k), needed);
            }
        }
    }
}

int Countertop::onMoveFinished(void* context, BaseObject* argument)
{
    auto* step = objectCast<Modifier>(argument);
    GameNode* target = step ? step->getTarget() : nullptr;
    if (!target)
        return 0;
    if (RefPointer<Pastry> pastry = static_cast<Countertop*>(context)->findPastryBySerial(target->getTag()))
        pastry->isMoving = false;
    return 0;
}
