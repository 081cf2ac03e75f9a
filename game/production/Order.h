#pragma once

#include <vector>

#include "framework/core/RefPointer.h"
#include "game/production/Pastry.h"

class AbstractProperty;
class CRuntimeRandom;
class PropertyNode;

// The pastries still to serve in the level. The oldest is first; the next
// one to serve is the last.
class Order {
public:
    void addPastry(Recipe* recipe);
    void addPastries(const std::vector<Recipe*>& recipes);
    void clear() { pastries.clear(); }
    // Permutes the whole order with the C-runtime generator's shuffle.
    void shuffle(CRuntimeRandom& generator);
    // Takes the last pastry; null when the order is empty.
    RefPointer<Pastry> takeNext();
    size_t size() const { return pastries.size(); }
    bool isEmpty() const { return pastries.empty(); }
    const std::vector<RefPointer<Pastry>>& getPastries() const { return pastries; }

    // Writes the "pastries" vector, first to last.
    void save(PropertyNode* node) const;
    // Rebuilds the order; saved pastries that cannot be restored are skipped.
    void load(AbstractProperty* node, const Cookbook& cookbook);

private:
    std::vector<RefPointer<Pastry>> pastries;
};
