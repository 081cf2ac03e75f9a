#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class GameNode;
class PastryStation;

// What the game's phases need of the match-three board. The real board is the
// grid; tests of the phases put a fake behind this interface.
class GameBoard : public BaseObject {
public:
    // Builds the real board on the scene's grid node from the game state's cell
    // model. Null (and logged) when the board cannot be built.
    static RefPointer<GameBoard> create(GameNode* gridNode);

    // Every present cell is idle (an empty board is).
    virtual bool allCellsIdle() const = 0;
    // Some present cell is still the target of an animation.
    virtual bool anyCellAnimating() const = 0;
    // Level start: every present cell falls into place, with "SOUND_FILLGRID".
    virtual void showCells() = 0;
    // Resumed level: every present cell is put back on its node at once.
    virtual void attachCells() = 0;
    // Walks every cell once and raises the hints a cell's content asks for.
    virtual void runPlacementPass() = 0;
    // Ends the current combo chain (its floater may fly to the bonus meter).
    virtual void finishCombo() = 0;
    virtual void clearMatchHint() = 0;
    // End of a level: every present cell falls off the board.
    virtual void dropAllCells() = 0;
    // Arcade level-up: busy while every tile plays its level-up animation.
    virtual void playLevelUp() = 0;
    virtual void setBusy(bool busy) = 0;
    // The station that takes the removed ingredients (null: none; the
    // removal then only plays its effects).
    virtual void setPastryStation(PastryStation* /*station*/) {}
};
