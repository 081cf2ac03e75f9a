#pragma once

#include <cstdint>

class PropertyNode;
class AbstractProperty;

// A countdown in milliseconds that frame-driven owners advance and restart
// inline; the conveyor's grace timer and the frenzy clocks embed it by value.
class AlarmClock {
public:
    void start(int32_t intervalMs);
    void advance(int32_t elapsedMs);
    // A clock started with 0 or less never rings, whatever its flag says.
    bool isRinging() const { return originalTime > 0 && ringing; }
    // Back to the full interval: the overshoot of a frame is not carried over.
    void restart();

    int32_t getOriginalTime() const { return originalTime; }
    int32_t getTime() const { return time; }

    // Writes "originalTime", "time" and "isRinging" as untyped values.
    void save(PropertyNode* node) const;
    // A missing or mistyped node gives 0, 0, false: a clock that never rings.
    void load(AbstractProperty* node);

private:
    int32_t originalTime = 0;
    int32_t time = 0;
    bool ringing = false;
};
