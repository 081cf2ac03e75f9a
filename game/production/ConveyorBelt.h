#pragma once

#include <vector>

#include "framework/core/RefPointer.h"
#include "game/production/AlarmClock.h"
#include "game/production/Spot.h"

class AbstractProperty;
class Cookbook;
class PropertyNode;

// The persistent model of the conveyor belt: speed, distance to the next
// plate, the plates front first, and the grace timer at the belt's end.
class ConveyorBelt {
public:
    void addSpot(Spot* spot) { spots.emplace_back(spot); }
    // Removes that very spot (by identity); nothing when it is not on the belt.
    void removeSpot(Spot* spot);
    // Level start: no spots, speed and distance 0.
    void reset();

    void save(PropertyNode* node) const;
    // Saved spots that cannot be restored are skipped. A speed that is not a
    // finite number of 0 or more, or a distance not within maxDistance() of
    // 0, is logged and starts at 0.
    void load(AbstractProperty* node, const Cookbook& cookbook);
    // The longest distance a running belt can save, in pixels.
    static float maxDistance();

    float speed = 0.0f;
    float distance = 0.0f;
    std::vector<RefPointer<Spot>> spots;
    AlarmClock graceTimer;
};
