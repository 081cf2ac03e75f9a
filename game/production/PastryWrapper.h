#pragma once

#include <vector>

#include "framework/core/RefPointer.h"
#include "game/production/Pastry.h"

class AbstractProperty;
class PropertyNode;

// The countertop's places, one optional pastry each; "COUNTERTOP_SIZE"
// places, read when the table is made.
class PastryWrapper {
public:
    PastryWrapper();

    int getSize() const { return static_cast<int>(places.size()); }
    // Null for a free place or a place outside the table.
    Pastry* get(int place) const;
    // Ignored for a place outside the table.
    void set(int place, RefPointer<Pastry> pastry);
    void clear();

    // Writes the occupied places, in place order, each with its place index.
    void save(PropertyNode* node);
    // Puts each saved pastry back into its place; an index outside the
    // table or a pastry that cannot be restored is skipped.
    void load(AbstractProperty* node, const Cookbook& cookbook);

private:
    std::vector<RefPointer<Pastry>> places;
};
