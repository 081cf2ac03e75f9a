#pragma once

#include <climits>

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/platform/iInputListener.h"

class Grid;
class GridLink;

// The board's driver: a frame-timer task that removes runs, lets tiles fall,
// ends combo chains, times hints and refills the columns, and the listener
// that turns the player's clicks and drags into selections and swaps.
class GridController : public Task, public iInputListener {
    TT_CLASS_RECORD(GridController)
public:
    static constexpr int kNone = INT32_MIN;

    explicit GridController(GridLink* link);

    // Task
    void run(int elapsedMs) override;
    // iInputListener
    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    bool onRightDown(int x, int y, int keys, bool doubleClick) override;
    void resetInput() override {}
    Interface* getInterface(const ClassRecord* record) override;

    bool hasSelection() const { return selectedColumn >= 0 && selectedRow >= 0; }
    int getSelectedColumn() const { return selectedColumn; }
    int getSelectedRow() const { return selectedRow; }
    void dropSelection()
    {
        selectedColumn = kNone;
        selectedRow = kNone;
    }
    int getHoveredColumn() const { return hoveredColumn; }
    int getHoveredRow() const { return hoveredRow; }
    bool acceptsInput() const { return accepting; }
    int getHintRemaining() const { return hintRemaining; }
    int getRestRemaining() const { return restRemaining; }
    // Restarts the hint countdown (a bonus was fired).
    void restartHintTimer();
    void clearSelection(int column, int row);
    void clearHover();

private:
    Grid* grid() const;
    bool isNeighbourOfSelection(int column, int row) const;
    // Shared by the press and the drag onto a neighbour of the selection.
    enum class SwapResult { None, Valid, Invalid };
    SwapResult trySwapWithSelection(int column, int row);

    RefPointer<GridLink> link;
    int selectedColumn = kNone;
    int selectedRow = kNone;
    int hoveredColumn = kNone;
    int hoveredRow = kNone;
    bool accepting = false;
    bool boardWasIdle = false;
    bool hoverRefresh = false;
    int restInterval;
    int restRemaining;
    bool restElapsed = false;
    int hintInterval;
    int hintRemaining;
    bool hintDue = false;
};
