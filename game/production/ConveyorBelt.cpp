#include "game/production/ConveyorBelt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

void ConveyorBelt::removeSpot(Spot* spot)
{
    for (auto it = spots.begin(); it != spots.end(); ++it) {
        if (it->get() == spot) {
            spots.erase(it);
            return;
        }
    }
}

void ConveyorBelt::reset()
{
    spots.clear();
    speed = 0.0f;
    distance = 0.0f;
}

void ConveyorBelt::save(PropertyNode* node) const
{
    addUntypedFloat(node, "speed", speed);
    addUntypedFloat(node, "distance", distance);
    addNodeVector(node, "spots", "Spot", spots,
                  [](PropertyNode* item, const RefPointer<Spot>& spot) { spot->save(item); });
    RefPointer<PropertyNode> timer(new PropertyNode("graceTimer", "AlarmClock"));
    graceTimer.save(timer.get());
    node->addChild(timer.get());
}

void ConveyorBelt::load(AbstractProperty* node, const Cookbook& cookbook)
{
    spots.clear();
    speed = 0.0f;
    distance = 0.0f;
    forEachElement(node, "spots", [&](AbstractProperty* entry) {
        if (RefPointer<Spot> spot = Spot::restore(entry, cookbook))
            spots.push_back(spot);
    });
    speed = childFloatScanned(node, "speed");
    distance = childFloatScanned(node, "distance");
    graceTimer.load(childNode(node, "graceTimer"));
    // A damaged value would stop the belt for good (a NaN never counts down,
    // a huge gap never runs out): such a belt starts afresh instead.
    if (!std::isfinite(speed) || speed < 0.0f) {
        LOG_WARNING("conveyor: saved speed " + std::to_string(speed) + " is not valid; the belt starts still");
        speed = 0.0f;
    }
    // Within one frame the distance may run a little below 0.
    const float longest = maxDistance();
    if (!std::isfinite(distance) || distance < -longest || distance > longest) {
        LOG_WARNING("conveyor: saved distance " + std::to_string(distance) + " is not within " +
                    std::to_string(longest) + " of 0; the next plate comes at once");
        distance = 0.0f;
    }
}

float ConveyorBelt::maxDistance()
{
    // The longest wait between two plates: a level-up's pause at full belt
    // speed, or a whole belt's length, whichever is longer.
    const TuningTable& t = tuning();
    return std::max(static_cast<float>(t.CONVEYOR_LENGTH),
                    static_cast<float>(t.LEVELUP_DELAY) * t.CONVEYOR_HIGH_SPEED);
}
