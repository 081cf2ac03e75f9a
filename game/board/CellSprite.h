#pragma once

#include <string>

#include "framework/core/GuiMethod.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"

class PropertyNode;

// The tile in one cell of the board: an ingredient's picture (maybe unripe,
// maybe with a multiplier counter) that knows its cell and plays every
// animation a single tile needs. Each animation ends in the tile's landing
// callback, which returns it to idle.
class CellSprite : public Sprite {
    TT_CLASS_RECORD(CellSprite)
public:
    enum State : int {
        Idle = 0,
        FallingIn = 1,
        DroppingOut = 2,
        Swapping = 3,
        Leaving = 4,
        Falling = 5,
        Bouncing = 7,
        Sucked = 8,
        Blown = 9
    };
    enum Direction : int { Left = 0, Right = 1, Up = 2, Down = 3 };

    CellSprite(int column, int row, const std::string& ingredient, bool unripe, int multiplier);
    // A tile restored from its saved keys; it never shows first-time hints.
    explicit CellSprite(AbstractProperty* configuration);
    ~CellSprite() override;

    virtual bool isBonus() const { return false; }
    // Drops to `row`: starts a fall when idle, lengthens a running one.
    virtual void fallTo(int targetRow);
    virtual void showHover();
    virtual void hideHover();
    virtual void setSelected();
    virtual void clearSelected();
    virtual void setHighlighted();
    virtual void clearOverlays();
    // Flash and fade out; then `callback` (called with the step whose target
    // is this tile) and the landing callback. `parent` null: the animation tree.
    virtual void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent);
    // Shrinks to nothing, then the callbacks as onMatched.
    virtual void popOut(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent);
    // End of a level: falls off the screen.
    virtual void dropOut();
    virtual void saveState(PropertyNode* node) const;

    // Level start: falls in from above, fading in, delayed by row and column.
    // Returns the last step so the board can append its closing steps.
    Modifier* fallIn();
    // Travels to the neighbour in `direction` (scaling up when raised) and lands.
    void swapTo(int direction, bool raised);
    // Travels to the neighbour and back; `ownNode` and `neighbourNode` are the
    // cell nodes of both places (the tile hangs under the neighbour's while
    // it must draw above the other tile).
    void invalidSwap(int direction, bool raised, GameNode* ownNode, GameNode* neighbourNode);
    // Moves the tile under `newParent` now when idle, at the end of a running swap.
    void moveUnder(GameNode* newParent);
    // Closing steps under `parent`: the callback, then the landing.
    void finishWith(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent);
    // Board clearing: after 3 s the tile shakes, then finishes with the callback.
    void shakeAndFinish(const GuiMethod& callback, BaseObject* keepAlive);
    // Arcade level-up: fades out and back in, growing from nothing. Returns
    // the chain's last step, or null without an animation tree.
    Modifier* playLevelUp();
    // A total refresh: flies to the target cell and shrinks away (delayed by
    // its distance), then the callback and the landing.
    void suckTo(int targetColumn, int targetRow, const GuiMethod& callback, BaseObject* keepAlive);
    // The reverse: grows out of (fromColumn, fromRow) back to its own cell.
    void blowTo(int fromColumn, int fromRow);
    // A ripening tool in play: ripe at once, the picture after a pop.
    void ripenWithTool();
    void makeUnripe();
    void refreshRipeImage();
    // The landing callback: back to idle. A tile's first landing also
    // ripens it with the ripening tool, records a bonus as met, lets the
    // tools react and shows the first-time hints the tile asks for.
    void onLanded();
    // The first-time hint this tile stands for (an unripe cherry or banana,
    // or a bonus's own), or an empty name.
    std::string firstTimeHint() const;
    // Where the hint's hand points and from which corner (9: as the hint file says).
    void hintPoint(int& x, int& y, int& corner) const;
    // Asks for the tile's first-time hint when the level start staged it;
    // false when the tile asks for none or the player has seen it.
    bool showFirstTimeHint();

    const std::string& getIngredient() const { return ingredient; }
    int getMultiplier() const { return multiplier; }
    bool isUnripe() const { return unripe; }
    bool isSelected() const { return selected; }
    bool isHighlighted() const { return highlighted; }
    bool hasLanded() const { return landed; }
    // A tile rebuilt from a saved board landed before the save: its next
    // landing must not repeat the first-landing steps.
    void markLanded() { landed = true; }
    int getState() const { return state; }
    void setState(int value) { state = value; }
    int getColumn() const { return column; }
    int getRow() const { return row; }
    void setCell(int newColumn, int newRow)
    {
        column = newColumn;
        row = newRow;
    }
    Label* getCounter() const { return counter.get(); }
    Sprite* getHighlightBack() const { return highlightBack.get(); }
    Modifier* getEndStep() const { return endStep.get(); }

    bool swapped = false;
    bool showHints = false;
    bool toolPlaced = false;

protected:
    // The picture key of the tile (book word, "_UNRIPE", and "_ARCADE" for
    // bonuses in arcade-looking levels when asked).
    std::string pictureKey(bool withArcade) const;
    void setPicture(const std::string& key);
    void rebuildCounter(bool hovered);
    // The chain's closing steps: `callback` (when bound), then the landing step.
    Modifier* addClosingSteps(Modifier* after, const GuiMethod& callback, BaseObject* keepAlive);
    Modifier* addLandingStep(Modifier* after);
    // Hangs `modifier` (targeted at `target`) under `parent`, or under the
    // animation tree when parent is null. Null when there is no tree.
    static Modifier* chain(Modifier* parent, Modifier* modifier, GameNode* target);
    // The looping hint highlight at (x, y + dy), above the tile or below it.
    void addHighlight(int dy, bool above);
    void setSelectedFlag(bool value) { selected = value; }

private:
    void initialise(bool withArcade);
    static CellSprite* stepTarget(BaseObject* step);
    static int landCallback(void* context, BaseObject* argument);
    static int ripeCallback(void* context, BaseObject* argument);
    // Tool 0 ripens unripe tiles as they land (career levels only).
    bool ripeningToolInPlay() const;

    RefPointer<Label> counter;
    RefPointer<Sprite> selectionCopy;
    bool selected = false;
    bool landed = false;
    std::string ingredient;
    int multiplier = 1;
    bool unripe = false;
    RefPointer<Sprite> highlight;
    RefPointer<Sprite> highlightBack;
    bool highlighted = false;
    RefPointer<Modifier> endStep;
    // The running fall's move, so that a later fallTo can replace it.
    RefPointer<Modifier> fallStep;
    int state = Idle;
    int column = 0;
    int row = 0;
};

// The smoothstep easing 3t^2 - 2t^3 of the board's moves.
float boardSmoothstep(float t);
