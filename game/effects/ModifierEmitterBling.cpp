#include "game/effects/ModifierEmitterBling.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageLock.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/effects/EffectRandom.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/ModifierSettings.h"

TT_DEFINE_RECORD(ModifierEmitterBling, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierEmitterBling);

ModifierEmitterBling::ModifierEmitterBling(int count, int inMs, int outMs, int delayMinMs, int delayMaxMs)
    : count(count), inDuration(inMs), outDuration(outMs), delayMin(delayMinMs), delayMax(delayMaxMs)
{
}

ModifierEmitterBling::ModifierEmitterBling(AbstractProperty* configuration)
    : ModifierEmitterBling(modifierSettings(configuration)->getInt("count", 1),
                           modifierSettings(configuration)->getInt("induration", tuning().TWINKLEMOD_IN_DURATION),
                           modifierSettings(configuration)->getInt("outduration", tuning().TWINKLEMOD_OUT_DURATION),
                           modifierSettings(configuration)->getInt("delaymin", tuning().TWINKLEMOD_DELAY_MIN),
                           modifierSettings(configuration)->getInt("delaymax", tuning().TWINKLEMOD_DELAY_MAX))
{
}

void ModifierEmitterBling::step(int)
{
    if (started)
        return;
    started = true;
    for (int i = 0; i < count; ++i)
        emitOne();
}

void ModifierEmitterBling::findOpaquePoint(Sprite* sprite, int& x, int& y) const
{
    const int width = sprite->getWidth();
    const int height = sprite->getHeight();
    Image* image = sprite->getImage();
    const std::optional<Rect>& source = sprite->getSourceRect();
    const int originX = source ? source->x : 0;
    const int originY = source ? source->y : 0;
    ImageLock lock(image);
    for (int probe = 0; probe < MaxProbes; ++probe) {
        x = drawBelow(width);
        y = drawBelow(height);
        if (!lock)
            continue;
        const int px = originX + x;
        const int py = originY + y;
        if (px < 0 || py < 0 || px >= image->getWidth() || py >= image->getHeight())
            continue;
        int alpha = 0;
        if (image->getBytesPerPixel() == 4 && image->getPixels())
            alpha = Sprite::pixelAddress(image, px, py)[3];
        else if (image->getAlphaPlane())
            alpha = *Sprite::maskPixelAddress(image, px, py);
        if (alpha > 0)
            return;
    }
}

Modifier* ModifierEmitterBling::findTreeFor()
{
    if (getParent())
        return getParent();
    // In a node's own list there is no tree to follow: the scene's tree runs the twinkles.
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    return scene ? scene->getAnimTree() : nullptr;
}

void ModifierEmitterBling::emitOne()
{
    // A killed emitter or one whose node has gone starts no more twinkles.
    GameNode* node = getTarget();
    if (isDead() || !node || node->isRemoved())
        return;
    Modifier* tree = findTreeFor();
    if (!tree) {
        LOG_WARNING("ModifierEmitterBling: no modifier tree to run the twinkles in");
        return;
    }
    Random& random = effectRandom();
    const int delay = delayMin + (delayMax > delayMin ? random.nextInt(0, delayMax - delayMin) : 0);
    int x = 0;
    int y = 0;
    if (Sprite* sprite = objectCast<Sprite>(node)) {
        findOpaquePoint(sprite, x, y);
        x -= rounding::truncate(sprite->getAnchorPoint().x);
        y -= rounding::truncate(sprite->getAnchorPoint().y);
    }
    const char* imageName = random.nextInt(0, 3) == 0 ? "TWINKLE_LARGE" : "TWINKLE_SMALL";
    RefPointer<Image> image = ResourceLookup::findAs<Image>(imageName, "default");
    if (!image && !imageMissingLogged) {
        imageMissingLogged = true;
        logLine(LogLevel::Warning, std::string("ModifierEmitterBling: no image \"") + imageName + "\" in \"default\"");
    }
    RefPointer<Sprite> twinkle(new Sprite(x, y, image.get()));
    twinkle->setAnchorPoint(Sprite::Center);
    twinkle->setPivotPointKind(Sprite::Center);
    twinkle->setVisible(false);
    GameNode::addChild(node, twinkle.get());

    auto on = [&](Modifier* modifier) {
        modifier->setTarget(twinkle.get());
        return modifier;
    };
    const float quarterTurn = 1.5707964f;
    const float fiveEighthsTurn = 3.926991f;
    Modifier* wait = on(new ModifierDelay(delay));
    // Directly after the emitter (or first in the scene's tree): a twinkle
    // started by a callback of this frame's walk lies behind the walk and
    // waits for the next frame, so zero durations cannot loop in one frame.
    Modifier* before = tree == getParent() ? getNextSibling() : tree->getFirstChild();
    if (before)
        Modifier::insertBefore(wait, before);
    else
        Modifier::addChild(tree, wait);
    Modifier::addChild(wait, on(new ModifierScale(inDuration, 0.0f, 1.0f)));
    Modifier::addChild(wait, on(new ModifierRotation(0.0f, quarterTurn, inDuration)));
    Modifier::addChild(wait, on(new ModifierVisible(true)));
    Modifier* appear = Modifier::addChild(wait, on(new ModifierAlpha(inDuration, 0, 255)));
    Modifier::addChild(appear, on(new ModifierRotation(quarterTurn, fiveEighthsTurn, outDuration)));
    Modifier* vanish = Modifier::addChild(appear, on(new ModifierAlpha(outDuration, 255, 0)));
    Modifier* again = on(new ModifierCallback(this, &ModifierEmitterBling::emitOne));
    again->addEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(vanish, again);
}
