#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/production/Pastry.h"

class AbstractProperty;
class Cookbook;
class GameNode;
class Modifier;
class PropertyNode;
class Sprite;

// One plate on the conveyor belt with its pastry and the nodes that show it.
// The plate's x and the icons' x are saved, so a restored level can rebuild
// the display where it was.
class Spot : public BaseObject {
public:
    enum State { Filling = 0, Complete = 2, Ready = 3, Packaging = 4, Packaged = 5 };

    explicit Spot(Pastry* pastry);

    // Null for a saved spot whose pastry cannot be restored or that holds
    // more ingredient positions than "MAX_INGREDIENT_COUNT".
    static RefPointer<Spot> restore(AbstractProperty* node, const Cookbook& cookbook);
    // Writes "state", "hasArrived", "spriteX", "pastry" and "ingredients".
    void save(PropertyNode* node) const;

    ~Spot() override;

    Pastry* getPastry() const { return pastry.get(); }
    Sprite* getPlate() const;
    void setPlate(Sprite* sprite);
    void setArrived() { hasArrived = true; }
    void setState(int value) { state = value; }

    int32_t state = Filling;
    RefPointer<Pastry> pastry;
    bool hasArrived = false;
    // By ingredient index: the number labels and the icons riding beside the
    // plate; empty slots are null. The scene graph owns these nodes.
    std::vector<GameNode*> counters;
    std::vector<Sprite*> icons;
    // The modifier moving the plate along the belt; null after arrival. Held,
    // so that stopping it is safe after the tree has retired it.
    RefPointer<Modifier> moveModifier;
    // Restored from a saved game; used when the display is rebuilt, and
    // saved again while no display is built.
    int32_t spriteX = 0;
    std::vector<int32_t> savedIngredientX;

private:
    // Held through the base so this header needs no scene-graph include.
    RefPointer<BaseObject> plate;
};
