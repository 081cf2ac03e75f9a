#pragma once

#include "framework/platform/Task.h"
#include "framework/platform/iInputListener.h"

class Countertop;

// A countdown of the frame-driven controllers: it fires once its remaining
// time is used up, and only when its period is positive.
struct Countdown {
    int period = 0;
    int remaining = 0;
    bool expired = false;

    explicit Countdown(int periodMs = 0) : period(periodMs), remaining(periodMs) {}
    void advance(int ms)
    {
        remaining -= ms;
        expired = remaining <= 0;
    }
    bool hasFired() const { return period > 0 && expired; }
    void reset()
    {
        expired = false;
        remaining = period;
    }
};

// The countertop's per-frame tick and its click: times new pastries, the
// quality drop, the hops of finished pastries and two hints, and sets the
// level-over flag once the order is served.
class CountertopController : public Task, public iInputListener {
public:
    explicit CountertopController(Countertop* countertop);

    void run(int elapsedMs) override;
    // A press inside the countertop's rectangle packages every ready pastry.
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    Interface* getInterface(const ClassRecord* record) override;
    void resetInput() override {}

    // The countertop is going: the tick and the clicks stop.
    void detach() { countertop = nullptr; }

    const Countdown& getPastryCountdown() const { return pastryCountdown; }
    bool isFullArmed() const { return fullArmed; }

private:
    Countertop* countertop;
    Countdown pastryCountdown;
    Countdown qualityCountdown;
    Countdown hintCountdown;
    Countdown fullCountdown;
    Countdown bounceCountdown;
    bool fullArmed = true;
};
