#include "game/board/GridController.h"

#include <cstdlib>

#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/scenes/HintManager.h"

TT_DEFINE_RECORD(GridController, &Task::classRecord);

namespace {

bool isIdleTile(const RefPointer<CellSprite>& tile)
{
    return tile && tile->getState() == CellSprite::Idle;
}

bool sessionHoldsTool(const PlaySessionInfo& session, int toolId)
{
    return session.toolIds[0] == toolId || session.toolIds[1] == toolId;
}

} // namespace

GridController::GridController(GridLink* link)
    : link(link), restInterval(tuning().GRID_REST_TIME), restRemaining(tuning().GRID_REST_TIME)
{
    TortelunePlayer* player = boardPlayer();
    hintInterval = player && !player->hasSeenHint("HINT_SWAP") ? tuning().HINT_SWAP_TIME : tuning().GRID_HINT_TIME;
    hintRemaining = hintInterval;
}

Interface* GridController::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    return Task::getInterface(record);
}

Grid* GridController::grid() const
{
    return link ? link->grid : nullptr;
}

void GridController::restartHintTimer()
{
    hintDue = false;
    hintRemaining = hintInterval;
}

bool GridController::isNeighbourOfSelection(int column, int row) const
{
    if (!hasSelection())
        return false;
    return (column == selectedColumn && std::abs(row - selectedRow) == 1) ||
           (row == selectedRow && std::abs(column - selectedColumn) == 1);
}

void GridController::clearSelection(int column, int row)
{
    Grid* board = grid();
    if (column != selectedColumn || row != selectedRow)
        return;
    if (board && hasSelection())
        board->deselectCell(column, row);
    dropSelection();
}

void GridController::clearHover()
{
    if (hoveredColumn == kNone && hoveredRow == kNone)
        return;
    Grid* board = grid();
    if (board && !(hoveredColumn == selectedColumn && hoveredRow == selectedRow)) {
        if (const RefPointer<CellSprite>& tile = board->getCells()->cellAt(hoveredColumn, hoveredRow))
            tile->hideHover();
    }
    hoveredColumn = hoveredRow = kNone;
    hoverRefresh = false;
}

GridController::SwapResult GridController::trySwapWithSelection(int column, int row)
{
    Grid* board = grid();
    // A swap needs a selection: without one there is no neighbour to go to.
    if (!board || !hasSelection())
        return SwapResult::None;
    const int fromColumn = selectedColumn;
    const int fromRow = selectedRow;
    if (board->isValidSwap(fromColumn, fromRow, column, row)) {
        clearSelection(fromColumn, fromRow);
        board->swapCells(fromColumn, fromRow, column, row);
        clearHover();
        return SwapResult::Valid;
    }
    if (isNeighbourOfSelection(column, row)) {
        clearSelection(fromColumn, fromRow);
        board->invalidSwap(fromColumn, fromRow, column, row);
        return SwapResult::Invalid;
    }
    return SwapResult::None;
}

bool GridController::onLeftDown(int x, int y, int /*keys*/, bool /*doubleClick*/)
{
    Grid* board = grid();
    if (!accepting || !board)
        return false;
    int column, row;
    if (!board->screenToCell(x, y, column, row) || !isIdleTile(board->getCells()->cellAt(column, row)))
        return false;
    if (board->isBonusAt(column, row)) {
        if (hasSelection())
            clearSelection(selectedColumn, selectedRow);
        selectedColumn = column;
        selectedRow = row;
        board->selectCell(column, row);
        return true;
    }
    if (column == selectedColumn && row == selectedRow) {
        board->deselectCell(column, row);
        dropSelection();
        return true;
    }
    if (trySwapWithSelection(column, row) != SwapResult::None)
        return true;
    clearHover();
    board->selectCell(column, row);
    if (hasSelection())
        clearSelection(selectedColumn, selectedRow);
    selectedColumn = column;
    selectedRow = row;
    return true;
}

bool GridController::onLeftUp(int x, int y, int /*keys*/)
{
    Grid* board = grid();
    if (!accepting || !board || !hasSelection() || !board->isBonusAt(selectedColumn, selectedRow))
        return false;
    int column, row;
    if (!board->screenToCell(x, y, column, row) || column != selectedColumn || row != selectedRow)
        return false;
    board->activateBonusAt(column, row);
    clearSelection(column, row);
    return true;
}

bool GridController::onMouseMove(int x, int y, int keys)
{
    Grid* board = grid();
    if (!accepting || !board)
        return false;
    int column, row;
    if (!board->screenToCell(x, y, column, row) || !isIdleTile(board->getCells()->cellAt(column, row))) {
        clearHover();
        return false;
    }
    if (keys & 1) {
        // A drag from the selected cell onto a neighbour.
        return trySwapWithSelection(column, row) == SwapResult::Valid;
    }
    if ((column == hoveredColumn && row == hoveredRow) || (column == selectedColumn && row == selectedRow))
        return false;
    clearHover();
    board->hoverCell(column, row);
    hoveredColumn = column;
    hoveredRow = row;
    const std::string& name = board->getCells()->cellAt(column, row)->getIngredient();
    hoverRefresh = name == "fruit picker bonus" || name == "unripe zap bonus";
    return false;
}

bool GridController::onRightDown(int /*x*/, int /*y*/, int /*keys*/, bool /*doubleClick*/)
{
    if (!accepting || !hasSelection())
        return false;
    clearSelection(selectedColumn, selectedRow);
    return true;
}

void GridController::run(int elapsedMs)
{
    Grid* board = grid();
    if (!board)
        return;
    BoardHost* host = board->getHost();
    GameDataState* state = boardState();
    accepting = host && !host->isInputBlocked() && host->isPlaying() && !board->isBusy() &&
                !(state && state->levelOver);
    if (!accepting)
        return;
    const bool matchFound = board->hasMatch();
    const bool gapFound = board->hasFallingGap();
    const bool idle = board->allCellsIdle();
    if (matchFound)
        board->removeMatches();
    if (gapFound)
        board->dropCells();
    if (idle) {
        restRemaining -= elapsedMs;
        restElapsed = restRemaining <= 0;
    }
    if (!idle || (restInterval > 0 && restElapsed)) {
        if (idle) {
            board->finishCombo();
            if (state && sessionHoldsTool(state->playSessionInfo, 12) && isCareerPlay())
                board->offerLongRunHint();
        }
        restInterval = restRemaining = tuning().GRID_REST_TIME;
        restElapsed = false;
    }
    // The fast-game tool pulses while the board moves.
    if (!idle && state && isCareerPlay() && sessionHoldsTool(state->playSessionInfo, 9))
        host->pulseTool(9);
    if (!matchFound) {
        hintRemaining -= elapsedMs;
        hintDue = hintRemaining <= 0;
        if (hintInterval > 0 && hintDue) {
            TortelunePlayer* player = boardPlayer();
            if (player && !player->hasSeenHint("HINT_SWAP")) {
                if (HintManager::instance)
                    HintManager::instance->showHint("HINT_SWAP");
            } else if (board->isHintStale()) {
                board->offerMatchHint();
            }
            hintInterval = hintRemaining = tuning().GRID_HINT_TIME;
            hintDue = false;
        }
        if (!gapFound && idle && board->isBoardStuck())
            board->showNoMoreMatches();
    } else {
        restartHintTimer();
    }
    if (hoverRefresh) {
        const RefPointer<CellSprite>& hovered = board->getCells()->cellAt(hoveredColumn, hoveredRow);
        if (isIdleTile(hovered))
            hovered->showHover();
        else
            clearHover();
        if (!board->allCellsIdle()) {
            clearHover();
            hoverRefresh = true;
        }
    }
    board->replenishColumns();
    board->updateReplenishTimers(elapsedMs);
    boardWasIdle = idle;
}
