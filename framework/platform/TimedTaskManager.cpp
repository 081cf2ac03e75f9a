#include "framework/platform/TimedTaskManager.h"

#include "framework/platform/HostFrameClock.h"

TT_DEFINE_RECORD(TimedTaskManager, &TaskManager::classRecord);

TimedTaskManager* TimedTaskManager::instance = nullptr;

TimedTaskManager::TimedTaskManager(iFrameClock* clock) : clock(clock)
{
    const uint32_t now = clock ? clock->milliseconds() : 0;
    frameStart = now;
    lastFrameStart = now;
    fpsIntervalStart = now;
}

TimedTaskManager* TimedTaskManager::create(iFrameClock* clock)
{
    destroyInstance();
    instance = new TimedTaskManager(clock ? clock : &HostFrameClock::shared());
    instance->addRef();
    return instance;
}

void TimedTaskManager::destroyInstance()
{
    TimedTaskManager* old = instance;
    instance = nullptr;
    if (old)
        old->release();
}

void TimedTaskManager::setRate(int framesPerSecond)
{
    targetRate = framesPerSecond >= 1000 ? 1000 : framesPerSecond;
    minFrameTime = targetRate <= 0 ? 0 : 1000 / targetRate;
    frameCount = 0;
    framesAtIntervalStart = 0;
    fps = 0;
    const uint32_t now = clock ? clock->milliseconds() : 0;
    frameStart = now;
    lastFrameStart = now;
    fpsIntervalStart = now;
}

void TimedTaskManager::tick()
{
    if (!clock)
        return;
    clock->beginFrame();
    frameStart = clock->milliseconds();
    // Unsigned arithmetic: the clock's wrap-around is harmless.
    uint32_t elapsed = frameStart - lastFrameStart;
    if (minFrameTime > 0 && elapsed < static_cast<uint32_t>(minFrameTime)) {
        // To the frame's deadline itself: a count of whole milliseconds from a
        // truncated now would start the frame up to one late.
        clock->sleepUntil(lastFrameStart + static_cast<uint32_t>(minFrameTime));
        frameStart = clock->milliseconds();
        elapsed = frameStart - lastFrameStart;
    }
    if (elapsed > static_cast<uint32_t>(MaxElapsedMs))
        elapsed = MaxElapsedMs;
    ++frameCount;
    if (fpsInterval > 0 && frameStart - fpsIntervalStart >= fpsInterval) {
        // fps = frames in the interval * 1000 / interval length, truncated
        fps = static_cast<int>((frameCount - framesAtIntervalStart) * (1000.0 / (frameStart - fpsIntervalStart)));
        framesAtIntervalStart = frameCount;
        fpsIntervalStart = frameStart;
    }
    lastElapsed = static_cast<int>(elapsed);
    if (observer)
        observer->frameStarted();
    run(lastElapsed);
    if (observer)
        observer->frameEnded();
    lastFrameStart = frameStart;
    clock->endFrame();
}
