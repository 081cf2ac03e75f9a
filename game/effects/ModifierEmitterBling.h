#pragma once

#include "framework/scenegraph/Modifier.h"

class Sprite;

// Keeps `count` twinkles going on the opaque pixels of its target sprite:
// each appears after a random delay at a random opaque point, turns and
// grows in, fades out, and a new one follows. The twinkles are children of
// the node (they move with it); their steps run in the emitter's own tree,
// directly after it. It never finishes by itself.
class ModifierEmitterBling : public Modifier {
    TT_CLASS_RECORD(ModifierEmitterBling)
public:
    static constexpr int MaxProbes = 50;

    ModifierEmitterBling(int count, int inMs, int outMs, int delayMinMs, int delayMaxMs);
    // Reads "count", then "induration", "outduration", "delaymin" and "delaymax",
    // which default to the tuning values of the twinkles.
    explicit ModifierEmitterBling(AbstractProperty* configuration);

    void step(int deltaMs) override;

    // Starts one twinkle; the point is looked for among the sprite's opaque pixels.
    void emitOne();

    bool isStarted() const { return started; }

private:
    // A point of the sprite's frame whose alpha is above 0 (the last probe after MaxProbes misses).
    void findOpaquePoint(Sprite* sprite, int& x, int& y) const;
    Modifier* findTreeFor();

    int count;
    bool started = false;
    int inDuration;
    int outDuration;
    int delayMin;
    int delayMax;
    bool imageMissingLogged = false;
};
