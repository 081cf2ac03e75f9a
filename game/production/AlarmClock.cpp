#include "game/production/AlarmClock.h"

#include "framework/players/PropertyAccess.h"

void AlarmClock::start(int32_t intervalMs)
{
    originalTime = intervalMs;
    time = intervalMs;
    ringing = false;
}

void AlarmClock::advance(int32_t elapsedMs)
{
    time -= elapsedMs;
    ringing = time <= 0;
}

void AlarmClock::restart()
{
    time = originalTime;
    ringing = false;
}

void AlarmClock::save(PropertyNode* node) const
{
    addUntypedInt(node, "originalTime", originalTime);
    addUntypedInt(node, "time", time);
    addUntypedBool(node, "isRinging", ringing);
}

void AlarmClock::load(AbstractProperty* node)
{
    originalTime = childInt(node, "originalTime");
    time = childInt(node, "time");
    ringing = childBool(node, "isRinging");
}
