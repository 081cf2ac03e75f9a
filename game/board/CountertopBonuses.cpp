#include "game/board/CountertopBonuses.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierLocationWave.h"
#include "game/board/BoardHost.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierEmitter.h"
#include "game/production/Countertop.h"

TT_DEFINE_RECORD(CountertopBonus, &BonusSprite::classRecord);
TT_DEFINE_RECORD(SecretStarsBonus, &CountertopBonus::classRecord);
TT_DEFINE_RECORD(SecretBonus, &SecretStarsBonus::classRecord);
TT_DEFINE_RECORD(SuperSecretBonus, &SecretStarsBonus::classRecord);
TT_DEFINE_RECORD(WorkDoneBonus, &CountertopBonus::classRecord);
TT_REGISTER_CLASS(SecretBonus);
TT_REGISTER_CLASS(SuperSecretBonus);
TT_REGISTER_CLASS(WorkDoneBonus);

namespace {

constexpr float kPi = 3.14159265358979f;

bool isUnfinished(const Pastry& pastry)
{
    return !pastry.isFinished();
}

} // namespace

// ---------------------------------------------------------------- CountertopBonus

Countertop* CountertopBonus::countertop()
{
    BoardHost* host = BoardHost::current();
    return host ? dynamic_cast<Countertop*>(host->getPastryStation()) : nullptr;
}

void CountertopBonus::showSpotHover(Countertop* counter, int spot, bool show)
{
    if (GameNode* mark = counter ? counter->getSpotChild(spot, "COUNTER_PARTHOVER") : nullptr)
        mark->setVisible(show);
}

void CountertopBonus::hideHover()
{
    BonusSprite::hideHover();
    if (Countertop* counter = countertop()) {
        for (int spot = 0; spot < counter->getSize(); ++spot)
            showSpotHover(counter, spot, false);
    }
}

// ---------------------------------------------------------------- SecretStarsBonus

int SecretStarsBonus::starsPerPastry()
{
    return std::max(1, tuning().MAX_STARS_PER_PASTRY);
}

int SecretStarsBonus::spotOfStar(int star) const
{
    return star >= 0 && star < getStarCount() ? stars[static_cast<size_t>(star)].spot : -1;
}

void SecretStarsBonus::launch(int count, int circleAmplitude, int angleMs)
{
    const TuningTable& t = tuning();
    planned = std::min(count, kMaxStars);
    amplitude = circleAmplitude;
    angleTime = angleMs;
    centreX = getAbsoluteX() + 25;
    centreY = getAbsoluteY() - getHeight() / 2;
    BoardHost* host = BoardHost::current();
    GameNode* layer = host ? host->getFloaterLayer() : nullptr;
    const int layerX = layer ? layer->getAbsoluteX() : 0;
    const int layerY = layer ? layer->getAbsoluteY() : 0;
    const int cx = centreX - layerX;
    const int cy = centreY - layerY;
    RefPointer<Image> picture = ResourceLookup::findAs<Image>("QUALITY_STAR_BLUE", "scenegame");
    stars.clear();
    for (int i = 0; i < planned; ++i) {
        Flight flight;
        flight.star = new Sprite(cx, cy, picture.get());
        flight.star->setAnchorPoint(Sprite::Center);
        flight.star->setTag(i);
        if (layer)
            GameNode::addChild(layer, flight.star.get());
        stars.push_back(flight);
        const float f = phaseOf(i);
        Modifier* open = chain(nullptr,
                               new ModifierLocationWave(cx, cy, static_cast<float>(t.SECRET_SRC_AMP),
                                                        static_cast<float>(amplitude), -f * kPi, (2.0f - f) * kPi,
                                                        t.SECRET_DUR_AMP, angleTime),
                               flight.star.get());
        if (!open) {
            // Without an animation tree the stars arrive at once.
            arrive(flight.star.get());
            continue;
        }
        Modifier* turn = chain(open,
                               new ModifierLocationWave(cx, cy, static_cast<float>(amplitude),
                                                        static_cast<float>(amplitude), (2.0f - f) * kPi,
                                                        (4.0f - f) * kPi, angleTime, angleTime),
                               flight.star.get());
        chain(turn, new ModifierFunction(GuiMethod(this, &SecretStarsBonus::arrivedCallback), this),
              flight.star.get());
    }
}

int SecretStarsBonus::arrivedCallback(void* context, BaseObject* step)
{
    Modifier* modifier = objectCast<Modifier>(step);
    Sprite* star = modifier ? objectCast<Sprite>(modifier->getTarget()) : nullptr;
    if (star)
        static_cast<SecretStarsBonus*>(context)->arrive(star);
    return 0;
}

void SecretStarsBonus::arrive(Sprite* star)
{
    const int index = star->getTag();
    BoardHost* host = BoardHost::current();
    if (index < 0 || index >= getStarCount() || !host || !host->isPlaying())
        return;
    Flight& flight = stars[static_cast<size_t>(index)];
    flight.spot = chooseSpot(index);
    Countertop* counter = countertop();
    if (flight.spot < 0 || !counter) {
        star->setRemoved(true);
        return;
    }
    const TuningTable& t = tuning();
    const int perPastry = starsPerPastry();
    GameNode* layer = star->getParent();
    const int layerX = layer ? layer->getAbsoluteX() : 0;
    const int layerY = layer ? layer->getAbsoluteY() : 0;
    const int cx = centreX - layerX;
    const int cy = centreY - layerY;
    int tx = cx;
    int ty = cy;
    if (GameNode* target = counter->getSpotChild(flight.spot, "QUALITY_STAR", perPastry - 1)) {
        const Sprite* targetSprite = objectCast<Sprite>(target);
        tx = target->getAbsoluteX() - layerX + (targetSprite ? targetSprite->getWidth() / 2 : 0);
        ty = target->getAbsoluteY() - layerY - (targetSprite ? targetSprite->getHeight() / 2 : 0);
    }
    const float f = phaseOf(index);
    const float from = (4.0f - f) * kPi;
    const float leave = cx <= tx ? 5.75f * kPi : 6.25f * kPi;
    const int circleMs = static_cast<int>(std::trunc(static_cast<float>(angleTime) * (leave - from) / (2.0f * kPi)));
    const int leaveX = cx + static_cast<int>(std::trunc(std::cos(leave) * static_cast<float>(amplitude)));
    const int leaveY = cy + static_cast<int>(std::trunc(std::sin(leave) * static_cast<float>(amplitude)));
    Modifier* circle = chain(nullptr,
                             new ModifierLocationWave(cx, cy, static_cast<float>(amplitude),
                                                      static_cast<float>(amplitude), from, leave, circleMs, circleMs),
                             star);
    if (!circle)
        return;
    auto* sparkles = new ModifierEmitter(t.STAR_PARTICLE_DENSITY, 0xFFF58A);
    // The star's own layer, whoever runs the scene.
    sparkles->setLayer(star->getParent());
    flight.sparkles = chain(circle, sparkles, star);
    Modifier* fly = chain(circle, new ModifierLocationLine(t.SECRET_DUR_FLY, leaveX, leaveY, tx, ty, &easeOut), star);
    if (index % perPastry == 0) {
        struct Sound : public Modifier {
            void step(int) override
            {
                finish();
                if (BoardHost* host = BoardHost::current())
                    host->playSound("SOUND_BONUS_SECRETINCREASE");
            }
        };
        chain(fly, new Sound(), star);
    }
    // The last star of its batch fills the pastry.
    if (index % perPastry == perPastry - 1 || index == planned - 1)
        chain(fly, new ModifierFunction(GuiMethod(this, &SecretStarsBonus::filledCallback), this), star);
}

int SecretStarsBonus::filledCallback(void* context, BaseObject* step)
{
    Modifier* modifier = objectCast<Modifier>(step);
    GameNode* star = modifier ? modifier->getTarget() : nullptr;
    if (star)
        static_cast<SecretStarsBonus*>(context)->fill(star->getTag());
    return 0;
}

void SecretStarsBonus::fill(int index)
{
    if (index < 0 || index >= getStarCount())
        return;
    const int spot = stars[static_cast<size_t>(index)].spot;
    BoardHost* host = BoardHost::current();
    Countertop* counter = countertop();
    if (counter && host && host->isPlaying() && spot >= 0) {
        if (RefPointer<Pastry> pastry = counter->getPastry(spot)) {
            pastry->addQuality(pastry->maxQuality);
            counter->updateQualityDisplay(spot);
        }
    }
    // The batch fades out: every star up to this one that went to the same spot.
    const int perPastry = starsPerPastry();
    const int first = index - index % perPastry;
    for (int k = first; k <= index; ++k) {
        Flight& flight = stars[static_cast<size_t>(k)];
        if (flight.sparkles)
            flight.sparkles->finish();
        if (!flight.star)
            continue;
        Modifier* fade = chain(nullptr, new ModifierAlpha(200, 255, 0), flight.star.get());
        if (fade)
            fade->addEndFlags(Modifier::EndRemoveTarget);
        else
            flight.star->setRemoved(true);
    }
}

// ---------------------------------------------------------------- SecretBonus

int SecretBonus::targetSpot()
{
    Countertop* counter = countertop();
    if (!counter)
        return -1;
    const int size = std::min(counter->getSize(), tuning().COUNTERTOP_SIZE);
    int firstHeld = -1;
    for (int spot = 0; spot < size; ++spot) {
        RefPointer<Pastry> pastry = counter->getPastry(spot);
        if (!pastry)
            continue;
        if (pastry->getQualityLevel() < tuning().MAX_STARS_PER_PASTRY)
            return spot;
        if (firstHeld < 0)
            firstHeld = spot;
    }
    return firstHeld;
}

int SecretBonus::chooseSpot(int /*index*/) const
{
    return targetSpot();
}

float SecretBonus::phaseOf(int index) const
{
    return static_cast<float>(index) * 0.5f;
}

void SecretBonus::update(int /*deltaMs*/)
{
    if (!hovered)
        return;
    Countertop* counter = countertop();
    if (!counter)
        return;
    const int target = targetSpot();
    for (int spot = 0; spot < counter->getSize(); ++spot)
        showSpotHover(counter, spot, spot == target);
}

void SecretBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    if (!countertop()) {
        removeAfter(0, callback, keepAlive);
        return;
    }
    playSound("SOUND_BONUS_SECRET");
    showBonusName();
    launch(4, tuning().SECRET_DST_AMP, tuning().SECRET_DUR_ANGLE);
    removeAfter(tuning().SECRET_DUR_ANGLE, callback, keepAlive);
}

// ---------------------------------------------------------------- SuperSecretBonus

int SuperSecretBonus::chooseSpot(int index) const
{
    // Batch k goes to the k-th pastry that was there when the bonus fired,
    // on the spot it stands on now; never to an empty spot.
    const size_t batch = static_cast<size_t>(index / starsPerPastry());
    Countertop* counter = countertop();
    if (batch >= occupied.size() || !counter)
        return -1;
    for (int spot = 0; spot < counter->getSize(); ++spot) {
        if (counter->getPastry(spot) == occupied[batch])
            return spot;
    }
    return -1;
}

float SuperSecretBonus::phaseOf(int index) const
{
    const int count = std::max(1, getPlannedStars());
    return static_cast<float>(index) * 2.0f / static_cast<float>(count);
}

void SuperSecretBonus::update(int /*deltaMs*/)
{
    if (!hovered)
        return;
    if (Countertop* counter = countertop()) {
        for (int spot = 0; spot < counter->getSize(); ++spot)
            showSpotHover(counter, spot, static_cast<bool>(counter->getPastry(spot)));
    }
}

void SuperSecretBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    Countertop* counter = countertop();
    if (!counter) {
        removeAfter(0, callback, keepAlive);
        return;
    }
    const TuningTable& t = tuning();
    playSound("SOUND_BONUS_SECRET");
    showBonusName();
    occupied.clear();
    const int size = std::min(counter->getSize(), t.COUNTERTOP_SIZE);
    for (int spot = 0; spot < size; ++spot) {
        if (RefPointer<Pastry> pastry = counter->getPastry(spot))
            occupied.push_back(pastry);
    }
    const int n = static_cast<int>(occupied.size());
    const int count = std::min(n * starsPerPastry(), kMaxStars);
    if (count <= 0) {
        removeAfter(t.BONUSNAME_DELAY, callback, keepAlive);
        return;
    }
    const int angleMs = t.SECRET_DUR_ANGLE + (n - 1) * t.SECRET_INC_ANGLE;
    // The phase spreads over the stars that really fly.
    launch(count, t.SECRET_DST_AMP + (n - 1) * t.SECRET_INC_AMP, angleMs);
    removeAfter(angleMs, callback, keepAlive);
}

// ---------------------------------------------------------------- WorkDoneBonus

void WorkDoneBonus::update(int /*deltaMs*/)
{
    if (!hovered)
        return;
    if (Countertop* counter = countertop()) {
        for (int spot = 0; spot < counter->getSize(); ++spot) {
            RefPointer<Pastry> pastry = counter->getPastry(spot);
            showSpotHover(counter, spot, pastry && isUnfinished(*pastry));
        }
    }
}

void WorkDoneBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    Countertop* counter = countertop();
    if (!counter) {
        removeAfter(0, callback, keepAlive);
        return;
    }
    playSound("SOUND_BONUS_WORKDONE");
    showBonusName();
    counter->finishPastryNow();
    removeAfter(tuning().BONUSNAME_DELAY, callback, keepAlive);
}
