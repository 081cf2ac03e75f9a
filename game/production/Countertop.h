#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "game/production/Pastry.h"
#include "game/production/PastryStation.h"

class CountertopController;
class CustomerView;
class GameNode;
class Image;
class PastryWrapper;
class PlateStack;
class Sprite;

// The countertop of the career levels: a row of spots, each holding one pastry
// of the game state's table. Pastries come from the order, take the board's
// ingredients, show their quality, are packaged on a click and slide forward
// to close gaps. Its controller ticks every frame and takes the clicks.
class Countertop : public PastryStation {
public:
    // The recipe's ingredients are drawn small, two by two on the plate:
    // above it they would cover the board's lowest row.
    static constexpr float kRecipeIconScale = 0.56f;

    // `pastries` is the game state's table, which outlives the countertop.
    Countertop(PastryWrapper* pastries, CustomerView* customerView, PlateStack* plateStack);
    ~Countertop() override;

    // PastryStation
    Modifier* getAnimationRoot() override;
    bool deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y, int indexInRun,
                            int runLength) override;
    // Hides every spot and drops the nodes the animations put there; later
    // deliveries are refused.
    void tearDown() override;
    bool isTornDown() const { return tornDown; }

    // A resumed level: the spots' look rebuilt from the restored table.
    void restoreSpots();

    int getSize() const;
    RefPointer<Pastry> getPastry(int spot) const;
    RefPointer<Pastry> findPastryBySerial(int serial) const;
    int countCompletePastries() const;
    bool hasEmptySpot() const;
    // A finished pastry that is not packaged yet.
    bool hasFinishedPastry() const;
    bool hasMovingPastry() const;
    bool isFull() const;
    // An empty spot before an occupied one.
    bool hasGap() const;

    // The frame's work the controller asks for.
    void closeGaps();
    void placeNextPastry();
    void dropQuality();
    void refreshIngredientCounters();
    // Redraws a spot's meter and stars; the index of the highest lit star.
    int updateQualityDisplay(int spot);
    // -1 when the pastry stands on no spot.
    int updateQualityDisplayFor(const RefPointer<Pastry>& pastry);

    // A click: every ready pastry is packaged for points and stars.
    void packageFinishedPastries();
    // The waiting finished pastries hop.
    void bounceFinishedPastries();
    // The work-done bonus: every pastry completes at once.
    void finishPastryNow();

    // Spot nodes, found by name at each use (null, logged, when missing).
    GameNode* getSpotNode(int spot) const;
    GameNode* getShiftNode(int spot) const;
    GameNode* getSpotNodeOf(const RefPointer<Pastry>& pastry) const;
    GameNode* getSpotChild(int spot, const std::string& name) const;
    GameNode* getSpotChild(int spot, const std::string& name, int number) const;

    CountertopController* getController() const { return controller.get(); }

    static Image* getIngredientImage(const std::string& ingredient);
    static Image* getPastryImage(const Pastry& pastry);

    // A pastry on `spot` has just become complete: its finishing chain (cloud,
    // picture, highlight) runs after `after` and its plate goes. Every path
    // that completes a pastry but the work-done bonus runs it. Returns the
    // cloud's shrink, after which the pastry counts as landed.
    Modifier* runCompletion(int spot, Modifier* after);

private:
    void finishPackaging(int spot);
    // Closes "DIALOG_HINT" while it shows a hint that asks for a click on the counter.
    void closeCountertopHint();
    bool hasTool(int toolId) const;
    bool qualityToolHelps(const std::string& ingredient, int* toolId) const;
    void glide(int from, int to, Sprite* source, GameNode* target, int durationMs, Modifier** last);

    static int onIngredientLanded(void* context, BaseObject* argument);
    static int onMoveFinished(void* context, BaseObject* argument);
    static int onPackaged(void* context, BaseObject* argument);
    static int onPastryShown(void* context, BaseObject* argument);

    PastryWrapper* pastries;
    RefPointer<CountertopController> controller;
    CustomerView* customerView;
    PlateStack* plateStack;
    bool tornDown = false;
};
