#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class GameNode;
class Modifier;

// The stack of empty plates beside the countertop: one plate per pastry still
// to make. It drops in at a level's start and gives up a plate, with a short
// animation and a shine, for each pastry the countertop completes.
class PlateStack : public BaseObject {
public:
    // `layer` is the scene node that holds the plates; the count is the
    // number of pastries still to make: waiting in the order or unfinished
    // on the spots.
    explicit PlateStack(GameNode* layer);
    ~PlateStack() override;

    // Rebuilds the plate sprites from the count.
    void build();
    // The plates appear one by one after `after`; returns the last step.
    Modifier* dropIn(Modifier* after);
    // One plate fewer; its animation starts after `after`. The count stops at
    // 0: a resumed level's stack holds only the pastries still to come.
    void takePlate(Modifier* after);

    int getCount() const { return count; }

private:
    GameNode* layer;
    RefPointer<GameNode> effects;
    int count = 0;
};
