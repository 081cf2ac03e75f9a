#include "game/effects/ModifierEmitter.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/EffectRandom.h"
#include "game/effects/ModifierSettings.h"

TT_DEFINE_RECORD(ModifierEmitter, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierEmitterSparkle, &Modifier::classRecord);
TT_DEFINE_RECORD(ModifierImage, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierEmitter);
TT_REGISTER_CLASS(ModifierEmitterSparkle);
TT_REGISTER_CLASS(ModifierImage);

ModifierEmitter::ModifierEmitter(int intervalMs, uint32_t colour) : interval(intervalMs), colour(colour) {}

ModifierEmitter::ModifierEmitter(AbstractProperty* configuration)
    : ModifierEmitter(modifierSettings(configuration)->getInt("interval", 100),
                      static_cast<uint32_t>(modifierSettings(configuration)->getInt("color", 0xFFFFFF)))
{
}

void ModifierEmitter::setLayer(GameNode* layer)
{
    layerLink = layer ? layer->getLink() : nullptr;
}

GameNode* ModifierEmitter::findLayer()
{
    if (layerLink)
        return layerLink->node;
    Scene* scene = SceneManager::instance ? SceneManager::instance->getScene("SCENE_GAME") : nullptr;
    GameNode* layer = scene ? scene->getComponent("NODE_FLOATERGOAL") : nullptr;
    if (!layer && !layerMissingLogged) {
        layerMissingLogged = true;
        LOG_WARNING("ModifierEmitter: no node \"NODE_FLOATERGOAL\" in \"SCENE_GAME\"; no sparkles");
    }
    return layer;
}

void ModifierEmitter::step(int deltaMs)
{
    GameNode* node = getTarget();
    if (!node)
        return;
    elapsed += deltaMs;
    if (interval <= 0) {
        // Without an interval the emission time would never move on: one per step.
        if (GameNode* layer = findLayer())
            emitSparkle(node, layer);
        nextEmission = elapsed;
        return;
    }
    GameNode* layer = nullptr;
    bool looked = false;
    while (nextEmission < elapsed) {
        if (!looked) {
            layer = findLayer();
            looked = true;
        }
        if (layer)
            emitSparkle(node, layer);
        nextEmission += interval;
    }
}

void ModifierEmitter::emitSparkle(GameNode* node, GameNode* layer)
{
    int left = node->getX();
    int top = node->getY();
    int width = 0;
    int height = 0;
    if (const Sprite* sprite = objectCast<Sprite>(node)) {
        left -= rounding::truncate(sprite->getAnchorPoint().x);
        top -= rounding::truncate(sprite->getAnchorPoint().y);
        width = sprite->getWidth();
        height = sprite->getHeight();
    }
    // A node without a size sparkles at its own point.
    const int offsetX = drawBelow(width);
    const int offsetY = drawBelow(height);
    RefPointer<Image> image = ResourceLookup::findAs<Image>("SPARKLE_MEDIUM", "scenegame");
    if (!image) {
        if (!imageMissingLogged)
            LOG_WARNING("ModifierEmitter: no image \"SPARKLE_MEDIUM\" in \"scenegame\"; no sparkles");
        imageMissingLogged = true;
        return;
    }
    RefPointer<Sprite> sparkle(new Sprite(left + offsetX, top + offsetY, image.get()));
    sparkle->setFrameCount(SparkleFrames, false);
    sparkle->setAnchorPoint(Sprite::Center);
    if (sparkle->getPivotFollowsAnchor())
        sparkle->setPivotPointKind(Sprite::Center);
    sparkle->setColor(colour);
    sparkle->setReverseFrames(drawBelow(2) != 0);
    Modifier* play = new ModifierFrame(1, SparkleFrameMs);
    play->addEndFlags(Modifier::EndRemoveTarget);
    GameNode::addModifier(sparkle.get(), play);
    GameNode::addChild(layer, sparkle.get());
    ++emitted;
}
