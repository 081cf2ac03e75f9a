#include "game/production/Twinkles.h"

#include "framework/core/BasicProperties.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/effects/ModifierCallback.h"
#include "game/production/GameScreen.h"

using namespace gamescreen;

namespace {

constexpr int kLiveTwinkles = 3;
// pi / 2 and 5 pi / 4 radians.
constexpr float kQuarterTurn = 1.5707964f;
constexpr float kFiveQuarterTurn = 3.9269908f;

// A place the data do not define is the layer's origin.
int positionProperty(const std::string& key)
{
    if (!BasicProperties::instance)
        return 0;
    const auto& values = BasicProperties::instance->getIntegers();
    auto found = values.find(key);
    return found != values.end() ? found->second : 0;
}

} // namespace

void TwinkleSpawner::spawn()
{
    if (owner)
        owner->spawnTwinkle();
}

Twinkles::Twinkles() : layer(node("NODE_TWINKLES")), spawner(new TwinkleSpawner(this))
{
    for (int i = 0; i < kLiveTwinkles; ++i)
        spawnTwinkle();
}

Twinkles::~Twinkles()
{
    spawner->detach();
    if (!layer)
        return;
    for (GameNode* twinkle = layer->getFirstChild(); twinkle; twinkle = twinkle->getNextSibling())
        GameNode::cancelModifiers(twinkle);
    releaseChildren(layer);
}

void Twinkles::spawnTwinkle()
{
    Modifier* container = phaseContainer();
    if (!layer || !container)
        return;
    const TuningTable& t = tuning();
    const int large = t.TWINKLE_LARGE_COUNT > 0 ? t.TWINKLE_LARGE_COUNT : 0;
    const int small = t.TWINKLE_SMALL_COUNT > 0 ? t.TWINKLE_SMALL_COUNT : 0;
    // No places at all (from data): nothing to twinkle.
    if (large + small <= 0)
        return;
    const int r = randomBetween(0, large + small);
    const int pause = randomBetween(0, t.TWINKLE_DELAY_MAX - t.TWINKLE_DELAY_MIN) + t.TWINKLE_DELAY_MIN;
    const bool isLarge = r < large;
    const int index = isLarge ? r : r - large;
    const std::string size = isLarge ? "LARGE" : "SMALL";
    Image* picture = image("TWINKLE_" + size, "default");
    if (!picture)
        return;
    auto* twinkle = new Sprite(positionProperty(numbered("TWINKLE_" + size + "_X", index)),
                               positionProperty(numbered("TWINKLE_" + size + "_Y", index)), picture);
    twinkle->setAnchorPoint(Sprite::Center);
    twinkle->setPivotPointKind(Sprite::Center);
    twinkle->setVisible(false);
    GameNode::addChild(layer, twinkle);
    Modifier* delay = Modifier::addChild(container, new ModifierDelay(pause));
    attach(delay, twinkle, new ModifierScale(t.TWINKLE_IN_DURATION, 0.0f, 1.0f));
    attach(delay, twinkle, new ModifierRotation(0.0f, kQuarterTurn, t.TWINKLE_IN_DURATION));
    attach(delay, twinkle, new ModifierVisible(true));
    Modifier* fadeIn = attach(delay, twinkle, new ModifierAlpha(t.TWINKLE_IN_DURATION, 0, 255));
    attach(fadeIn, twinkle, new ModifierRotation(kQuarterTurn, kFiveQuarterTurn, t.TWINKLE_OUT_DURATION));
    Modifier* fadeOut = attach(fadeIn, twinkle, new ModifierAlpha(t.TWINKLE_OUT_DURATION, 255, 0));
    auto* next = new ModifierCallback(spawner.get(), &TwinkleSpawner::spawn);
    next->setEndFlags(Modifier::EndRemoveTarget);
    attach(fadeOut, twinkle, next);
}
