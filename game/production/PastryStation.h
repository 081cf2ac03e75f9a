#pragma once

#include "framework/core/BaseObject.h"
#include "game/board/MatchedCell.h"

class Modifier;

// Where pastries are made: the countertop of the career levels or the
// conveyor of the arcade and exam levels. The board hands every removed
// ingredient to the current station; the play phase tears it down when it ends.
class PastryStation : public BaseObject {
public:
    // The modifier under which the station hangs its animations.
    virtual Modifier* getAnimationRoot() = 0;

    // One removed ingredient. `x`, `y` are the tile's pixel position,
    // `indexInRun` counts ingredients (a tile of multiplier m takes m values)
    // and `runLength` counts tiles. False when no pastry took it, and always
    // false once the station is torn down.
    virtual bool deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y,
                                    int indexInRun, int runLength) = 0;

    // Takes the station's nodes and animations down; later deliveries are refused.
    virtual void tearDown() = 0;
};
