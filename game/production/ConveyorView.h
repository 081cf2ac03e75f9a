#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"
#include "game/production/PastryStation.h"
#include "game/production/Spot.h"

class ConveyorBelt;
class ConveyorController;
class CustomerView;
class GameNode;
class Level;
class Sprite;

// The conveyor belt of the arcade and the exam levels as a pastry station:
// plates carrying the order's pastries ride from the port to the belt's end,
// take the board's ingredients front-most first, are packaged by a click
// under the belt, and a plate left waiting at the end past its grace period
// falls through the trap, which ends the level. Its controller ticks every
// frame; the belt's state lives in the game state's ConveyorBelt, so a saved
// level rebuilds the same picture.
class ConveyorView : public PastryStation {
public:
    // A pastry still to be made rides the belt as a faint picture of itself
    // under its recipe; it shows in full once it is baked.
    static constexpr int kUnfinishedPlateAlpha = 110;

    // Hangs its own animation container under `phaseContainer` and rebuilds
    // the belt's picture from the game state's belt.
    explicit ConveyorView(Modifier* phaseContainer);
    ~ConveyorView() override;

    // PastryStation
    Modifier* getAnimationRoot() override { return animationRoot.get(); }
    bool deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y, int indexInRun,
                            int runLength) override;
    // Stops every conveyor animation and takes the plates and icons off the
    // belt; later deliveries are refused.
    void tearDown() override;
    bool isTornDown() const { return tornDown; }

    // The normal speed of the current level at `arcadeLevel` (px/ms): the belt
    // length over the crossing time, which shrinks by the level's delta per
    // level-up but never below its last positive step.
    static float normalSpeed(const Level& level, int arcadeLevel);
    // The gap to the next plate (px of belt travel); `random` draws in [0, n).
    static int nextGap(const Level& level, int arcadeLevel, int (*random)(int));

    void addNewPlate();
    void applySpeed();
    void resumeSpeed();
    void speedUpWhenComplete();
    void packageFinishedPastries();
    void removeSpot(RefPointer<Spot> spot);
    void onPlateArrived(RefPointer<Spot> spot);
    void flushFrontPlate();
    void startWarningLight();
    void resetWarningLight();
    void levelUp(int newArcadeLevel);

    float getSpeed() const { return speed; }
    void setSpeed(float value) { speed = value; }
    bool isFlushing() const { return flushing; }
    int getAlertChannel() const { return alertChannel; }
    ConveyorController* getController() const { return controller.get(); }
    GameNode* getBeltNode() const { return beltNode; }

private:
    ConveyorBelt* belt() const;
    CustomerView* customer() const;
    void rebuildSpot(Spot* spot);
    // Icons and counters of one ingredient slot, placed at `x` (or the slot's start).
    void buildIcon(Spot* spot, int slot, int x, bool moving, Modifier* entry);
    void stopAlert();
    Modifier* buildPackage(Spot* spot, bool front);

    RefPointer<ConveyorController> controller;
    GameNode* beltNode = nullptr;
    GameNode* packageNode = nullptr;
    RefPointer<ModifierContainer> animationRoot;
    float speed = 0.0f;
    GameNode* light = nullptr;
    bool flushing = false;
    bool tornDown = false;
    int alertChannel = -1;
};
