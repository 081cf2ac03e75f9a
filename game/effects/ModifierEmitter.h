#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// Throws sparkles over its target node, one per interval, each a short
// 14-frame twinkle at a random point of the node that plays once and goes.
// The sparkles live in the game scene's "NODE_FLOATERGOAL" layer (which shares
// the node's coordinate frame), or in a layer set with setLayer. It never
// finishes by itself: its creator removes it with the node.
class ModifierEmitter : public Modifier {
    TT_CLASS_RECORD(ModifierEmitter)
public:
    static constexpr int SparkleFrames = 14;
    static constexpr int SparkleFrameMs = 50;

    // `colour` is 0xRRGGBB. An interval of 0 or less emits one sparkle per step.
    ModifierEmitter(int intervalMs, uint32_t colour);
    // Reads "interval" (ms) and "color".
    explicit ModifierEmitter(AbstractProperty* configuration);

    void step(int deltaMs) override;

    // Puts the sparkles into `layer` instead of the game scene's layer (kept by its alive record).
    void setLayer(GameNode* layer);
    int getEmitted() const { return emitted; }

private:
    GameNode* findLayer();
    void emitSparkle(GameNode* node, GameNode* layer);

    int interval;
    int elapsed = 0;
    int nextEmission = 0;
    uint32_t colour;
    int emitted = 0;
    RefPointer<NodeLink> layerLink;
    bool layerMissingLogged = false;
    bool imageMissingLogged = false;
};

// Registered names the property files may use; they do nothing themselves.
class ModifierEmitterSparkle : public Modifier {
    TT_CLASS_RECORD(ModifierEmitterSparkle)
public:
    ModifierEmitterSparkle() = default;
    explicit ModifierEmitterSparkle(AbstractProperty*) {}
    void step(int) override {}
};

class ModifierImage : public Modifier {
    TT_CLASS_RECORD(ModifierImage)
public:
    ModifierImage() = default;
    explicit ModifierImage(AbstractProperty*) {}
    void step(int) override {}
};
