#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class BonusMeter;
class FrenzyTask;
class GameNode;
class Label;
class Modifier;
class Sprite;

// The bonus meter beside the board: a tube whose syrup rises with the meter,
// a wheel that turns with every floater taken in, and the frenzy look (candy
// cane, fountain, score shine, the frenzy font of the score). It owns the
// frenzy task, which tells it what to show.
class BonusMeterView : public BaseObject {
public:
    BonusMeterView();
    ~BonusMeterView() override;

    // Shows the meter at `value` (of "BONUS_MAX"): the syrup is clipped from
    // its fill line down, the top and the candy cane ride on that line.
    void setDisplayedValue(int value);
    int getDisplayedValue() const { return displayedValue; }

    // Throws the frenzy banner; `done` runs when it has gone.
    void playFrenzyAnnouncement(Modifier* done);
    void showFrenzyScoreLabel();
    void startCandyCane();
    void startFountain();
    void turnWheelForward();
    void turnWheelForFrenzy();
    void emitConfetti();
    void endFrenzyVisuals();

    // A combo floater of `matchSize` cells at `comboLevel` reached the meter.
    void onMatchDelivered(int matchSize, int comboLevel);

    BonusMeter* getMeter() const { return meter; }
    FrenzyTask* getTask() const { return task.get(); }

private:
    BonusMeter* meter = nullptr;
    RefPointer<FrenzyTask> task;
    GameNode* scoreShine = nullptr;
    Sprite* body = nullptr;
    Sprite* filling = nullptr;
    Sprite* fillingTop = nullptr;
    Sprite* candyCane = nullptr;
    Sprite* fountain = nullptr;
    Sprite* wheel = nullptr;
    Label* scoreLabel = nullptr;
    int displayedValue = 0;
    int scoreY = 0;
};
