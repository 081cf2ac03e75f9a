#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "game/production/AlarmClock.h"

class BonusMeterView;
class LabelTicker;

// The bonus meter's state machine, run every frame: the display climbs
// towards the fill, the meter drains once a second, a full display announces
// a frenzy, and the frenzy adds score and confetti while the meter empties.
class FrenzyTask : public Task {
public:
    enum State : int { MeterFilling = 0, FrenzyActive = 1, FrenzyAnnounce = 2, FrenzyBegin = 3, FrenzyEnd = 4 };

    explicit FrenzyTask(BonusMeterView* view);

    void run(int elapsedMs) override;
    // The end of the announcement: the frenzy begins in the next frame.
    void onAnnounceDone();
    // The view is going: nothing more is shown or started.
    void detach() { view = nullptr; }

    int getState() const { return state; }
    const LabelTicker* getTicker() const { return ticker.get(); }

private:
    void runFilling(int elapsedMs);
    void runFrenzy(int elapsedMs);
    void begin();
    void end();

    BonusMeterView* view;
    AlarmClock stepClock;
    AlarmClock scoreClock;
    AlarmClock confettiClock;
    RefPointer<LabelTicker> ticker;
    int state = MeterFilling;
    bool announceStarted = false;
};

// Starts a music of the section "music" the way the game switches its tunes.
void playLevelMusic(const char* key);
