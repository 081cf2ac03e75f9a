#include "game/board/ModifierReplaceCellSprite.h"

#include "game/board/CellSprite.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"

TT_DEFINE_RECORD(ModifierReplaceCellSprite, &Modifier::classRecord);

ModifierReplaceCellSprite::ModifierReplaceCellSprite(GridLink* grid, int column, int row,
                                                     const std::string& ingredient)
    : grid(grid), column(column), row(row), ingredient(ingredient)
{
}

void ModifierReplaceCellSprite::step(int)
{
    finish();
    Grid* board = grid ? grid->grid : nullptr;
    if (!board)
        return;
    GridWrapper* cells = board->getCells();
    if (GameNode* old = getTarget()) {
        RefPointer<GameNode> hold(old);
        old->setRemoved(true);
        if (CellSprite* tile = objectCast<CellSprite>(old)) {
            tile->clearOverlays();
            cells->removeCell(tile);
        }
    }
    // Whatever else stands in the cell now makes way too.
    if (const RefPointer<CellSprite>& other = cells->cellAt(column, row)) {
        other->setRemoved(true);
        cells->eraseCell(column, row);
    }
    RefPointer<CellSprite> fresh(new CellSprite(column, row, ingredient, false, 1));
    cells->insertCell(column, row, fresh);
    GameNode::addChild(board->getCellNode(column, row), fresh.get());
}
