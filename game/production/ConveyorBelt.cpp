#include "game/production/ConveyorBelt.h"

#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

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
}
