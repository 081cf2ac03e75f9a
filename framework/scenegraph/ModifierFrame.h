#pragma once

#include "framework/scenegraph/Modifier.h"

// Steps its target sprite's frames, one every frame time, a number of times
// round (-1: endless, unless the sprite's wrap style is "once").
class ModifierFrame : public Modifier {
    TT_CLASS_RECORD(ModifierFrame)
public:
    ModifierFrame(int loopCount, int frameTimeMs);
    // Reads "loopcount" (default -1) and "frametime" (ms, default 100).
    explicit ModifierFrame(AbstractProperty* configuration);

    void step(int deltaMs) override;

    int getLoopCount() const { return loopCount; }
    int getFrameTime() const { return frameTime; }

private:
    int loopCount;
    int frameTime;
    int accumulated = 0;
    bool atEnd = false;
};
