#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/production/Pastry.h"

class AbstractProperty;
class Cookbook;
class PropertyNode;

// One plate on the conveyor belt with its pastry. The belt's view keeps the
// plate's x and the ingredient icons' x here, so a saved level can rebuild it.
class Spot : public BaseObject {
public:
    enum State { Filling = 0, Complete = 2, Ready = 3, Packaging = 4, Packaged = 5 };

    explicit Spot(Pastry* pastry);

    // Null for a saved spot whose pastry cannot be restored or that holds
    // more ingredient positions than "MAX_INGREDIENT_COUNT".
    static RefPointer<Spot> restore(AbstractProperty* node, const Cookbook& cookbook);
    // Writes "state", "hasArrived", "spriteX", "pastry" and "ingredients".
    void save(PropertyNode* node) const;

    Pastry* getPastry() const { return pastry.get(); }
    void setArrived() { hasArrived = true; }
    void setState(int value) { state = value; }

    int32_t state = Filling;
    RefPointer<Pastry> pastry;
    bool hasArrived = false;
    // The plate's x and the icons' x by ingredient index; the view keeps
    // them current while it shows the spot.
    int32_t spriteX = 0;
    std::vector<int32_t> savedIngredientX;
};
