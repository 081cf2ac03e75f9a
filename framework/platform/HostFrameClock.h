#pragma once

#include "framework/platform/FrameClock.h"

// The frame clock of the running program: the host's wrapping millisecond
// clock and its sleep.
class HostFrameClock final : public iFrameClock {
public:
    uint32_t milliseconds() override;
    void sleep(uint32_t ms) override;
    void sleepUntil(uint32_t deadline) override;

    // One shared instance for the program's frame timer.
    static HostFrameClock& shared();
};
