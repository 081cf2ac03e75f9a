#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"

class GridLink;

// At its turn puts a new plain tile of `ingredient` into the board cell
// (column, row): the old tile (the modifier's target) leaves the scene and
// the cell model, the new one takes its place on the cell's node.
class ModifierReplaceCellSprite : public Modifier {
    TT_CLASS_RECORD(ModifierReplaceCellSprite)
public:
    ModifierReplaceCellSprite(GridLink* grid, int column, int row, const std::string& ingredient);

    void step(int deltaMs) override;

private:
    RefPointer<GridLink> grid;
    int column;
    int row;
    std::string ingredient;
};
