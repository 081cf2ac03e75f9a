#pragma once

#include <cstdint>

// The millisecond clock the frame timer paces itself by: a 32-bit counter that
// wraps, and a sleep. The host supplies the real one; tests drive a manual one.
class iFrameClock {
public:
    virtual ~iFrameClock() = default;
    virtual uint32_t milliseconds() = 0;
    virtual void sleep(uint32_t ms) = 0;
    // Sleeps until milliseconds() reaches `deadline`; one already passed
    // (up to 2^31 ms behind) returns at once.
    virtual void sleepUntil(uint32_t deadline)
    {
        const int32_t left = static_cast<int32_t>(deadline - milliseconds());
        if (left > 0)
            sleep(static_cast<uint32_t>(left));
    }
    // Brackets one frame's work; the host raises the timer resolution here.
    virtual void beginFrame() {}
    virtual void endFrame() {}
};

// Told when a frame's work begins (after the pacing sleep) and when it has
// ended; the frame timer holds one, borrowed, for timing runs.
class iFrameObserver {
public:
    virtual ~iFrameObserver() = default;
    virtual void frameStarted() = 0;
    virtual void frameEnded() = 0;
};

// A clock made of two plain functions.
class FunctionFrameClock final : public iFrameClock {
public:
    using Now = uint32_t (*)();
    using Sleep = void (*)(uint32_t ms);

    FunctionFrameClock(Now now, Sleep sleeper) : now(now), sleeper(sleeper) {}
    uint32_t milliseconds() override { return now ? now() : 0; }
    void sleep(uint32_t ms) override
    {
        if (sleeper)
            sleeper(ms);
    }

private:
    Now now;
    Sleep sleeper;
};

// A clock that only moves when told to; sleeping advances it. For tests and tools.
class ManualFrameClock final : public iFrameClock {
public:
    explicit ManualFrameClock(uint32_t start = 0) : now(start) {}
    uint32_t milliseconds() override { return now; }
    void sleep(uint32_t ms) override
    {
        now += ms;
        slept += ms;
    }
    void advance(uint32_t ms) { now += ms; }
    void set(uint32_t value) { now = value; }
    uint32_t totalSlept() const { return slept; }

private:
    uint32_t now;
    uint32_t slept = 0;
};
