#include "game/board/TotalRefreshBonus.h"

#include <vector>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/data/TuningTable.h"

TT_DEFINE_RECORD(TotalRefreshBonus, &BonusSprite::classRecord);
TT_REGISTER_CLASS(TotalRefreshBonus);

void TotalRefreshBonus::highlightTargets()
{
    const BoardKeys& keys = boardKeys();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c)
            markCell(c, r);
    }
}

void TotalRefreshBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    Grid* board = grid();
    if (!board) {
        popOut(callback, keepAlive, nullptr);
        return;
    }
    playSound("SOUND_BONUS_TOTALREFRESHSUCK");
    board->setBusy(true);
    board->clearMatchHint();
    // Drawn above every tile that flies into it.
    moveToLayer(board->getCellNode(0, -1));
    const BoardKeys& keys = boardKeys();
    GridWrapper* cells = board->getCells();
    std::vector<RefPointer<CellSprite>> sucked;
    for (int c = 0; c < keys.gridWidth; ++c) {
        for (int r = -1; r < keys.gridHeight; ++r) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (tile && tile.get() != this)
                sucked.push_back(tile);
        }
    }
    for (const RefPointer<CellSprite>& tile : sucked) {
        tile->clearOverlays();
        tile->suckTo(getColumn(), getRow(), callback, keepAlive);
    }
    const TuningTable& t = tuning();
    Modifier* wait = chain(nullptr, new ModifierDelay(t.BLOW_DELAY), this);
    if (!wait) {
        blow();
        finishWith(callback, keepAlive, nullptr);
        return;
    }
    Modifier* blowStep = chain(wait, new ModifierFunction(GuiMethod(this, &TotalRefreshBonus::blowCallback), this), this);
    Modifier* rest = chain(blowStep, new ModifierDelay(t.REMOVE_TOTAL_REFRESH_DELAY), this);
    finishWith(callback, keepAlive, rest);
}

int TotalRefreshBonus::blowCallback(void* context, BaseObject*)
{
    static_cast<TotalRefreshBonus*>(context)->blow();
    return 0;
}

void TotalRefreshBonus::blow()
{
    Grid* board = grid();
    if (!board)
        return;
    playSound("SOUND_BONUS_TOTALREFRESHBLOW");
    const BoardKeys& keys = boardKeys();
    GridWrapper* cells = board->getCells();
    // Tiles still on their way into the bonus give up their cells first, so
    // that the new choice never looks at them; their own callbacks later find
    // them gone from the model.
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const RefPointer<CellSprite>& old = cells->cellAt(c, r);
            if (!old || old.get() == this)
                continue;
            old->setRemoved(true);
            cells->eraseCell(c, r);
        }
    }
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            if (c == getColumn() && r == getRow())
                continue;
            CellSprite* tile = cells->createCell(c, r, std::string(), true);
            if (!tile)
                continue;
            GameNode::addChild(board->getCellNode(c, r), tile);
            tile->setVisible(true);
            tile->blowTo(getColumn(), getRow());
        }
    }
    board->setBusy(false);
}
