#include "game/production/PastryWrapper.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

PastryWrapper::PastryWrapper() : places(static_cast<size_t>(std::max(0, tuning().COUNTERTOP_SIZE))) {}

Pastry* PastryWrapper::get(int place) const
{
    if (place < 0 || place >= getSize())
        return nullptr;
    return places[place].get();
}

void PastryWrapper::set(int place, RefPointer<Pastry> pastry)
{
    if (place < 0 || place >= getSize())
        return;
    places[place] = pastry;
}

void PastryWrapper::clear()
{
    for (RefPointer<Pastry>& place : places)
        place.reset();
}

void PastryWrapper::save(PropertyNode* node)
{
    RefPointer<PropertyVector> list(new PropertyVector("pastries"));
    for (int place = 0; place < getSize(); ++place) {
        if (!places[place])
            continue;
        places[place]->index = place;
        RefPointer<PropertyNode> item(new PropertyNode("", "Pastry"));
        places[place]->save(item.get());
        list->add(item.get());
    }
    node->addChild(list.get());
}

void PastryWrapper::load(AbstractProperty* node, const Cookbook& cookbook)
{
    PropertyVector* list = childVector(node, "pastries");
    for (int i = 0; i < elementCount(list); ++i) {
        RefPointer<Pastry> pastry = Pastry::restore(elementAt(list, i), cookbook);
        if (!pastry)
            continue;
        if (pastry->index < 0 || pastry->index >= getSize()) {
            LOG_WARNING("Saved countertop pastry outside the countertop skipped");
            continue;
        }
        places[pastry->index] = pastry;
    }
}
