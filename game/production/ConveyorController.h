#pragma once

#include "framework/platform/Task.h"
#include "framework/platform/iInputListener.h"
#include "game/production/CountertopController.h"

class ConveyorView;

// The conveyor's per-frame tick and its click: counts the belt travel down to
// the next plate, raises the level when belt and order are empty, runs the
// grace period of a plate waiting at the end, and packages on a click under
// the belt's line.
class ConveyorController : public Task, public iInputListener {
public:
    explicit ConveyorController(ConveyorView* view);

    void run(int elapsedMs) override;
    // Never takes the press: it goes on to the other listeners.
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    Interface* getInterface(const ClassRecord* record) override;
    void resetInput() override {}

    // The view is going: the tick and the clicks stop.
    void detach() { view = nullptr; }

    bool isTrapped() const { return trapped; }

private:
    ConveyorView* view;
    Countdown hintCountdown;
    bool trapped = false;
};
