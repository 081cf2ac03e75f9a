#include "framework/platform/HostFrameClock.h"

#include "host/HostPlatform.h"

uint32_t HostFrameClock::milliseconds()
{
    return HostPlatform::current().getMilliseconds();
}

void HostFrameClock::sleep(uint32_t ms)
{
    HostPlatform::current().sleepMilliseconds(ms);
}

void HostFrameClock::sleepUntil(uint32_t deadline)
{
    HostPlatform::current().sleepUntilMilliseconds(deadline);
}

HostFrameClock& HostFrameClock::shared()
{
    static HostFrameClock clock;
    return clock;
}
