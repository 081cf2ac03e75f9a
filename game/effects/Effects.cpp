#include "game/effects/Effects.h"

#include <algorithm>
#include <string>
#include <utility>

#include "framework/core/Log.h"
#include "framework/core/Random.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierLocationWave.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/EffectRandom.h"
#include "game/effects/OneShotModifiers.h"

namespace {

struct Size {
    float width = 0.0f;
    float height = 0.0f;
};

Size sizeOf(GameNode* node)
{
    if (const Sprite* sprite = objectCast<Sprite>(node))
        return {static_cast<float>(sprite->getWidth()), static_cast<float>(sprite->getHeight())};
    return {};
}

// Sizes of stretched steps are whole pixels, truncated.
float whole(float value)
{
    return static_cast<float>(rounding::truncate(value));
}

// The modifier the chain hangs under: the caller's, else the current scene's tree.
Modifier* chainParent(Modifier* parent, const char* effect)
{
    if (parent)
        return parent;
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (scene && scene->getAnimTree())
        return scene->getAnimTree();
    logLine(LogLevel::Warning, std::string(effect) + ": no modifier tree to run in; effect skipped");
    return nullptr;
}

// Links `step` (acting on `node`) as the next child of `parent` and returns it.
Modifier* then(Modifier* parent, GameNode* node, Modifier* step, easing::Function easing = nullptr)
{
    step->setTarget(node);
    if (easing) {
        if (ModifierFraction* timed = objectCast<ModifierFraction>(step))
            timed->setEasing(easing);
    }
    return Modifier::addChild(parent, step);
}

Modifier* stretch(Modifier* parent, GameNode* node, int durationMs, Size from, Size to,
                  easing::Function easing = nullptr)
{
    return then(parent, node, new ModifierStretch(durationMs, from.width, from.height, to.width, to.height), easing);
}

enum class ConfettiKind { Numbered, Second, Stars };

Modifier* addBurst(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX, bool small,
                   ConfettiKind kind, const char* effect)
{
    if (count <= 0 || !parentNode)
        return nullptr;
    parent = chainParent(parent, effect);
    if (!parent)
        return nullptr;
    if (minX > maxX)
        std::swap(minX, maxX);
    Modifier* lastFall = nullptr;
    for (int i = 0; i < count; ++i) {
        std::string name;
        int frames = 27;
        if (kind == ConfettiKind::Numbered)
            name = std::string(small ? "CONFETTISMALL" : "CONFETTI") + std::to_string(drawBelow(3));
        else if (kind == ConfettiKind::Second)
            name = small ? "CONFETTISMALL2" : "CONFETTI2";
        else {
            name = drawBelow(2) == 0 ? "CONFETTISTARSSMALL" : "CONFETTISTARS";
            name += std::to_string(drawBelow(2));
            frames = 4;
        }
        RefPointer<Image> image = ResourceLookup::findAs<Image>(name, "dialogs");
        if (!image)
            logLine(LogLevel::Warning, std::string(effect) + ": no image \"" + name + "\" in \"dialogs\"");
        RefPointer<Sprite> piece(new Sprite(0, -20, image.get()));
        piece->setAlpha(255);
        piece->setFrameCount(frames, false);
        if (kind == ConfettiKind::Stars)
            piece->setClipRect(0, 0, 800, 500);
        else
            piece->setCurrentFrame(drawBelow(27));
        piece->setAnchorPoint(Sprite::Center);
        if (piece->getPivotFollowsAnchor())
            piece->setPivotPointKind(Sprite::Center);
        GameNode::addChild(parentNode, piece.get());

        Modifier* wait = then(parent, piece.get(), new ModifierDelay(drawBelow(maxDelayMs)));
        then(wait, piece.get(), new ModifierFrame(-1, kind == ConfettiKind::Stars ? 50 : 30));
        // Equal ends leave no range to draw from: every piece falls at minX.
        const int x = minX + drawBelow(maxX - minX);
        const int y = -drawBelow(200);
        const float radius = static_cast<float>(drawBelow(20));
        const float turn = static_cast<float>(drawBelow(6)) + 6.2831855f;
        auto* sway = new ModifierLocationWave(x, y, radius, radius, 0.0f, turn, 3000, 3000);
        sway->setMoveY(false);
        then(wait, piece.get(), sway);
        auto* fall = new ModifierLocationLine(5000 - drawBelow(2000), x, y, x, 600);
        fall->setMoveX(false);
        fall->addEndFlags(Modifier::EndRemoveTarget);
        lastFall = then(wait, piece.get(), fall);
    }
    return lastFall;
}

} // namespace

Modifier* addPopEffect(GameNode* node, Modifier* parent, bool fromZero, bool toZero, float factor)
{
    parent = chainParent(parent, "addPopEffect");
    if (!parent || !node)
        return nullptr;
    const Size size = sizeOf(node);
    const Size full = {size.width, size.height};
    const Size wide = {whole(size.width * (1 + factor)), whole(size.height * (1 - factor))};
    const Size tall = {whole(size.width * (1 - factor)), whole(size.height * (1 + factor))};
    Modifier* step = stretch(parent, node, 150, fromZero ? Size {} : full, wide);
    step = stretch(step, node, 100, wide, tall);
    return stretch(step, node, 100, tall, toZero ? Size {} : full);
}

Modifier* addBouncePopEffect(GameNode* node, Modifier* parent, bool fromZero, bool toZero, float factor)
{
    parent = chainParent(parent, "addBouncePopEffect");
    if (!parent || !node)
        return nullptr;
    const Size full = sizeOf(node);
    const Size grown = {whole(full.width * (1 + factor)), whole(full.height * (1 + factor))};
    const Size squashed = {whole(full.width * 0.7f), whole(full.height * 1.3f)};
    Modifier* step = stretch(parent, node, 150, fromZero ? Size {} : full, grown);
    step = stretch(step, node, 150, grown, full);
    step = stretch(step, node, 100, full, squashed);
    return stretch(step, node, 100, squashed, toZero ? Size {} : full);
}

Modifier* addJellyEffect(GameNode* node, Modifier* parent, int delayMs, bool reverse, bool fromFull)
{
    parent = chainParent(parent, "addJellyEffect");
    if (!parent || !node)
        return nullptr;
    const Size full = sizeOf(node);
    if (!reverse && !fromFull) {
        // It starts invisible, at zero size.
        if (Sprite* sprite = objectCast<Sprite>(node))
            sprite->setStretchSize(0, 0);
    }
    if (delayMs > 0)
        parent = then(parent, node, new ModifierDelay(delayMs));
    const float start = fromFull ? 1.0f : 0.0f;
    float widths[4] = {start, 1.2f, 0.8f, 1.0f};
    float heights[4] = {start, 0.9f, 1.3f, 1.0f};
    const int durations[3] = {fromFull ? 180 : 360, 180, 180};
    if (reverse) {
        std::reverse(std::begin(widths), std::end(widths));
        std::reverse(std::begin(heights), std::end(heights));
    }
    Modifier* step = parent;
    for (int i = 1; i <= 3; ++i) {
        step = stretch(step, node, durations[i - 1],
                       {whole(full.width * widths[i - 1]), whole(full.height * heights[i - 1])},
                       {whole(full.width * widths[i]), whole(full.height * heights[i])});
    }
    return step;
}

Modifier* addFadeInEffect(GameNode* node, Modifier* parent, bool zoom, float scaleFrom, float scaleTo, int alphaFrom,
                          int alphaTo)
{
    parent = chainParent(parent, "addFadeInEffect");
    if (!parent || !node)
        return nullptr;
    Sprite* sprite = objectCast<Sprite>(node);
    node->setVisible(false);
    if (!zoom) {
        if (sprite)
            sprite->setAlpha(0);
        Modifier* show = then(parent, node, new ModifierVisible(true));
        return then(show, node, new ModifierAlpha(100, alphaFrom, alphaTo));
    }
    if (sprite) {
        sprite->setPivotPointKind(Sprite::Center);
        sprite->setScale(scaleFrom);
        sprite->setAlpha(alphaFrom);
    }
    Modifier* show = then(parent, node, new ModifierVisible(true));
    Modifier* grow = then(show, node, new ModifierScale(100, scaleFrom, scaleTo));
    then(show, node, new ModifierAlpha(100, alphaFrom, alphaTo));
    return grow;
}

Modifier* addConfettiBurst(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX,
                           bool small)
{
    return addBurst(parentNode, parent, count, maxDelayMs, minX, maxX, small, ConfettiKind::Numbered,
                    "addConfettiBurst");
}

Modifier* addConfettiBurst2(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX,
                            bool small)
{
    return addBurst(parentNode, parent, count, maxDelayMs, minX, maxX, small, ConfettiKind::Second,
                    "addConfettiBurst2");
}

Modifier* addStarConfettiBurst(GameNode* parentNode, Modifier* parent, int count, int maxDelayMs, int minX, int maxX)
{
    return addBurst(parentNode, parent, count, maxDelayMs, minX, maxX, false, ConfettiKind::Stars,
                    "addStarConfettiBurst");
}

Modifier* addSlideThroughEffect(GameNode* node, Modifier* parent, bool pop, Modifier* callback)
{
    RefPointer<Modifier> callbackHold(callback);
    parent = chainParent(parent, "addSlideThroughEffect");
    if (!parent || !node)
        return nullptr;
    const Size full = sizeOf(node);
    const int halfWidth = rounding::truncate(full.width) / 2;
    const int midY = 245;
    if (Sprite* sprite = objectCast<Sprite>(node)) {
        sprite->setAnchorPoint(Sprite::Center);
        if (sprite->getPivotFollowsAnchor())
            sprite->setPivotPointKind(Sprite::Center);
    }
    node->setPosition(800 + halfWidth, midY);
    node->setVisible(true);
    const Size narrow = {whole(full.width * 0.75f), full.height};

    Modifier* step = then(parent, node, new ModifierLocationLine(400, 800 + halfWidth, midY, 400, midY), easeIn);
    // Braking: the banner's front squashes against its left side, then springs back.
    step = then(step, node, new ModifierPivotPoint(Sprite::Left));
    step = stretch(step, node, 100, full, narrow, easeOut);
    step = stretch(step, node, 100, narrow, full, easeIn);
    if (pop) {
        step = then(step, node, new ModifierDelay(250));
        step = then(step, node, new ModifierPivotPoint(Sprite::Center));
        step = addPopEffect(node, step, false, false, 0.5f);
    }
    step = then(step, node, new ModifierDelay(650));
    step = then(step, node, new ModifierPivotPoint(Sprite::Right));
    step = stretch(step, node, 100, full, narrow, easeOut);
    step = stretch(step, node, 100, narrow, full, easeIn);
    step = then(step, node, new ModifierLocationLine(400, 400, midY, -halfWidth, midY), easeSmoothstep);
    if (callback)
        step = then(step, node, callback);
    step->addEndFlags(Modifier::EndRemoveTarget);
    return step;
}
