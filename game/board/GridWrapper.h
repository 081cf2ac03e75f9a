#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/RefPointer.h"
#include "game/board/CellSprite.h"

class AbstractProperty;
class PropertyNode;
class Random;
struct LevelIngredient;

// A candidate move: the tile at (c1, r1) goes to its neighbour (c2, r2).
struct SwapMove {
    int c1, r1, c2, r2;
    bool operator==(const SwapMove& other) const
    {
        return c1 == other.c1 && r1 == other.r1 && c2 == other.c2 && r2 == other.r2;
    }
};

// The board's cell model: which tile stands in which cell, keyed by (column,
// row) with the spawn row -1 above the board. Every board operation reads and
// changes the board through it; the scene nodes only show what it holds.
class GridWrapper {
public:
    GridWrapper() = default;
    virtual ~GridWrapper() = default;
    GridWrapper(const GridWrapper&) = delete;
    GridWrapper& operator=(const GridWrapper&) = delete;

    void clear();
    bool isEmpty(int column, int row) const;
    // The stored reference, or an empty one for a key without entry.
    const RefPointer<CellSprite>& cellAt(int column, int row) const;
    RefPointer<CellSprite> getCell(int column, int row) const { return cellAt(column, row); }
    // Keeps an existing entry (the new tile is dropped).
    void insertCell(int column, int row, const RefPointer<CellSprite>& tile);
    void eraseCell(int column, int row);
    // Sets the tile's own cell, then inserts it.
    void putCell(CellSprite* tile, int column, int row);
    // Erases the first entry, in (column, row) order, that holds this very tile.
    void removeCell(CellSprite* tile);
    // Exchanges two entries and the tiles' cells; nothing when either is empty.
    void exchangeCells(int c1, int r1, int c2, int r2);
    bool holdsPlainIngredient(int column, int row, const std::string& name) const;
    // The tile at (column, row) is the middle or an end of a straight run of
    // three equal ingredients with its neighbours.
    bool formsRun(int column, int row) const;
    // Moving the tile at (c1, r1) to (c2, r2) gives a plus-shaped group of at
    // least three (more than three) equal tiles there.
    bool swapMakesRun(int c1, int r1, int c2, int r2);
    bool swapMakesLongRun(int c1, int r1, int c2, int r2);
    // The move search: a swap that completes a run of three (of four or
    // more), picked at random among all candidates in scan order; the out
    // values are set only when the answer is true.
    bool findSwap(int& c1, int& r1, int& c2, int& r2) const;
    bool findLongRunSwap(int& c1, int& r1, int& c2, int& r2) const;
    // Every candidate of the two searches, in scan order (a swap found from
    // two windows is listed twice).
    std::vector<SwapMove> collectSwaps() const;
    std::vector<SwapMove> collectLongRunSwaps() const;
    // A random bonus tile of the board.
    bool pickBonusCell(int& column, int& row) const;
    // A full board without a bonus on which no swap makes a run.
    bool isBoardStuck() const;
    // Every entry in (column, row) order.
    void forEach(const std::function<void(int column, int row, CellSprite* tile)>& visit) const;
    int size() const;

    // Makes the content of a new cell and enters it at (column, row): the
    // requested name, or a weighted choice over the level's contents that
    // never leaves a ready-made run behind.
    CellSprite* createCell(int column, int row, const std::string& requested, bool bonusesAllowed);
    static void filterContentWeights(const std::vector<LevelIngredient>& entries, std::vector<int>& weights,
                                     bool bonusesAllowed);
    // The ingredient the first two pastries of the station (the countertop,
    // or the belt's plates on conveyor levels) need most, or an empty name
    // (before play, or without pastries).
    std::string mostNeededIngredient() const;
    // A fresh board for a level start: with hints on in the career, a bonus
    // the player has not met yet stands where its hint can point at it, or
    // else an unripe cherry or banana for the unripe-fruit hints.
    void fill();
    // The first column a staged tile may land in.
    int hintMargin() const;
    // The bonus the level start shows off, or an empty name.
    std::string featuredBonus() const;
    void save(PropertyNode* node) const;
    void load(AbstractProperty* node);

    // The generator of the content choice (the game's by default).
    void setRandom(Random* generator) { randomOverride = generator; }
    Random& random() const;

    // Bounded retries of one content choice before it settles for a tile
    // that forms no run.
    static constexpr int kMaxChoiceAttempts = 64;

private:
    using Key = std::pair<int, int>;
    void layout() const;
    int slot(int column, int row) const;
    RefPointer<CellSprite>* find(int column, int row);
    const RefPointer<CellSprite>* find(int column, int row) const;
    void stageUnripeFruit(int margin);
    CellSprite* chooseCell(int column, int row, const std::string& requested, bool bonusesAllowed, int attempt);

    // Cells of columns 0..width-1 and rows -1..height-1 live in a flat array
    // (column-major, so its order is the key order); any other key in a map.
    mutable std::vector<RefPointer<CellSprite>> flat;
    mutable int width = 0;
    mutable int height = 0;
    mutable std::map<Key, RefPointer<CellSprite>> others;
    RefPointer<CellSprite> nullCell;
    Random* randomOverride = nullptr;
};
