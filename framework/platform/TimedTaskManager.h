#pragma once

#include <cstdint>

#include "framework/platform/FrameClock.h"
#include "framework/platform/TaskManager.h"

// The program's frame timer: paces frames to a target rate by sleeping away
// the rest of each frame and hands every task the milliseconds since the
// previous frame began, never more than 100.
class TimedTaskManager : public TaskManager {
    TT_CLASS_RECORD(TimedTaskManager)
public:
    static constexpr int MaxElapsedMs = 100;

    // The clock is borrowed and must outlive the timer.
    explicit TimedTaskManager(iFrameClock* clock);

    // The global frame timer; create stores it and takes one reference.
    static TimedTaskManager* instance;
    // Without a clock it paces itself by the host's clock.
    static TimedTaskManager* create(iFrameClock* clock = nullptr);
    // Drops the global reference (and destroys the timer, stopping every task).
    static void destroyInstance();

    // Frames per second; 0 removes the limiter, 1000 and above mean 1000.
    void setRate(int framesPerSecond);
    // Runs one frame.
    void tick();

    int getTargetRate() const { return targetRate; }
    int getMinFrameTime() const { return minFrameTime; }
    uint32_t getFrameCount() const { return frameCount; }
    int getFps() const { return fps; }
    // How often fps is measured, in ms; 0 (the default) never.
    void setFpsInterval(uint32_t ms) { fpsInterval = ms; }
    // The elapsed time handed to the tasks by the last tick.
    int getLastElapsed() const { return lastElapsed; }
    // Borrowed; null (the default) for none.
    void setFrameObserver(iFrameObserver* value) { observer = value; }

private:
    iFrameClock* clock;
    iFrameObserver* observer = nullptr;
    int fps = 0;
    int targetRate = 50;
    uint32_t frameCount = 0;
    uint32_t frameStart = 0;
    uint32_t lastFrameStart = 0;
    uint32_t fpsInterval = 0;
    uint32_t fpsIntervalStart = 0;
    uint32_t framesAtIntervalStart = 0;
    int minFrameTime = 20;
    int lastElapsed = 0;
};
