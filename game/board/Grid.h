#pragma once

#include <climits>
#include <string>
#include <vector>

#include "framework/core/GuiMethod.h"
#include "framework/core/RefPointer.h"
#include "game/board/BoardHost.h"
#include "game/board/CellSprite.h"
#include "game/board/GameBoard.h"
#include "game/board/MatchedCell.h"

class GameNode;
class Label;
class GridController;
class GridWrapper;
class Grid;

// The grid's alive token: callbacks and the controller reach the grid through
// it, and find null once the grid is gone.
class GridLink : public BaseObject {
public:
    explicit GridLink(Grid* grid) : grid(grid) {}
    Grid* grid;
};

// One connected group of matched tiles of one ingredient, as the match search
// returns it; the removal fills in the combo number.
struct MatchGroup {
    std::vector<MatchedCell> cells;
    int combo = -1;
};

// The board of one level in play: the cell nodes the tiles hang under, the
// per-frame controller, the hint cells and the column refill records. The
// tiles themselves live in the game state's cell model.
class Grid : public GameBoard {
public:
    static constexpr int kNoCell = INT32_MIN;

    // Builds the cell nodes under `gridNode` (its old children are released)
    // and registers the controller with the host's listeners and frame timer.
    Grid(GameNode* gridNode, BoardHost* host, GridWrapper* cells);
    ~Grid() override;
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    // GameBoard
    bool allCellsIdle() const override;
    bool anyCellAnimating() const override;
    void showCells() override;
    void attachCells() override;
    void runPlacementPass() override;
    void finishCombo() override;
    void clearMatchHint() override;
    void dropAllCells() override;
    void playLevelUp() override;
    void setBusy(bool value) override { busy = value; }
    void setPastryStation(PastryStation* station) override;

    // Queries.
    // False for a point outside the board (the spawn row included).
    bool screenToCell(int x, int y, int& column, int& row) const;
    bool isBonusAt(int column, int row) const;
    bool isFull() const;
    bool hasFallingGap() const;
    bool hasMatch() const;
    bool isValidSwap(int c1, int r1, int c2, int r2) const;
    bool isMatchableAt(int column, int row) const;
    bool isMatchableAs(int column, int row, const std::string& name) const;
    // Every matched tile grouped into connected runs; changes nothing.
    std::vector<MatchGroup> findMatches() const;

    // Changes.
    void hoverCell(int column, int row);
    void deselectCell(int column, int row);
    void selectCell(int column, int row);
    void dropCells();
    void swapCells(int c1, int r1, int c2, int r2);
    void invalidSwap(int c1, int r1, int c2, int r2);
    void removeMatches();
    void activateBonusAt(int column, int row);
    bool clearHintIfHighlighted(CellSprite* tile);
    void updateReplenishTimers(int elapsedMs);
    void replenishColumns();
    // Takes a tile whose removal has ended off the board and out of the model.
    void onCellRemoved(BaseObject* finishedStep);

    // The match hint and the stuck-board test.
    // Highlights the swap of the two places (both the same for a bonus);
    // true when something was shown or shown again.
    bool showMatchHint(int c1, int r1, int c2, int r2, bool particles);
    // No hint is shown, or the shown one no longer makes a run and was
    // cleared here. A hinted bonus stays until taken away.
    bool isHintStale();
    // The same for the hints of runs longer than three.
    bool isLongHintStale();
    // The idle hint: a swap that makes a run, else a random bonus.
    bool offerMatchHint();
    // The hint tool's hint: a swap that makes a run longer than three.
    bool offerLongRunHint();
    bool isBoardStuck() const;
    // No move is left: the message, and every tile shakes and leaves.
    void showNoMoreMatches();
    CellSprite* getHintCell(int index) const { return hintCells[index & 1].get(); }

    // The floaters of the removal and of the combo chain.
    void showComboFloater(const MatchGroup& run, int strength);
    void showMatchFloater(const MatchGroup& run, int x, int y);
    void showFrenzyFloater(int x, int y);
    // The floater's letters fly one by one into the bonus meter.
    void flyFloaterToBonusMeter(Label* floater);
    Label* getComboFloater() const { return comboFloater.get(); }

    bool isBusy() const { return busy; }
    int getComboCount() const { return comboCount; }
    GridController* getController() const { return controller.get(); }
    GridWrapper* getCells() const { return cells; }
    GameNode* getGridNode() const { return gridNode; }
    BoardHost* getHost() const { return host.get(); }
    GameNode* getCellNode(int column, int row) const;
    // The callback that a tile's removal calls when it is done.
    GuiMethod removalCallback() const;
    GridLink* getLink() const { return link.get(); }

private:
    struct ColumnRecord {
        int countdown;
        int reload;
        bool pending;
    };
    static int cellRemovedCallback(void* context, BaseObject* argument);
    static int floaterCallback(void* context, BaseObject* argument);
    static int letterArrivedCallback(void* context, BaseObject* argument);
    void deliverRun(const MatchGroup& group, bool runUnripe, int& deliveryIndex, bool& x3, bool& x5,
                    CellSprite* tile, const MatchedCell& cell);
    void startRemoveEffect(CellSprite* tile, const std::string& key);
    void zapIngredient(int minColumn, int maxColumn, int minRow, int maxRow);
    void takeSnapshot() const;
    const CellSprite* snapshotAt(int column, int row) const;

    std::vector<ColumnRecord> columns;
    int comboCount = 0;
    int comboFloaterCount = 0;
    bool busy = false;
    GameNode* gridNode;
    RefPointer<BoardHost> host;
    RefPointer<GridController> controller;
    GridWrapper* cells;
    int width;
    int height;
    std::vector<GameNode*> cellNodes;
    RefPointer<CellSprite> hintCells[2];
    RefPointer<GridLink> link;
    // The combo chain's floater while the chain lasts (the scene holds it too).
    RefPointer<Label> comboFloater;
    // The tiles of rows -1 to height - 1 as the searches last read them.
    mutable std::vector<const CellSprite*> snapshot;
};
