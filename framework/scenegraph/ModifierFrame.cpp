#include "framework/scenegraph/ModifierFrame.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/scenegraph/Sprite.h"

TT_DEFINE_RECORD(ModifierFrame, &Modifier::classRecord);

TT_REGISTER_CLASS(ModifierFrame);

// A frame time below 1 ms would never use up the accumulated time.
ModifierFrame::ModifierFrame(int loopCount, int frameTimeMs) : loopCount(loopCount), frameTime(std::max(frameTimeMs, 1))
{
}

ModifierFrame::ModifierFrame(AbstractProperty* configuration)
    : ModifierFrame(configuration ? configuration->asNode()->getInt("loopcount", -1) : -1,
                    configuration ? configuration->asNode()->getInt("frametime", 100) : 100)
{
}

void ModifierFrame::step(int deltaMs)
{
    Sprite* sprite = objectCast<Sprite>(getTarget());
    if (!sprite) {
        // Only sprites have frames.
        finish();
        return;
    }
    if (accumulated < frameTime) {
        accumulated += deltaMs;
        return;
    }
    while (accumulated >= frameTime) {
        if (isFinished()) {
            accumulated += deltaMs;
            return;
        }
        const bool once = sprite->getFrameWrapStyle() == Sprite::WrapOnce;
        if (atEnd && (loopCount == 0 || once)) {
            finish();
            continue;
        }
        accumulated -= frameTime;
        sprite->nextFrame();
        if (loopCount < 0 && !once)
            continue;
        const int frame = sprite->getCurrentFrame();
        atEnd = sprite->isReverseFrames() ? frame == 0 : frame == std::max(sprite->getFrameCount(), 1) - 1;
        if (atEnd && loopCount != 0)
            --loopCount;
    }
    accumulated += deltaMs;
}
