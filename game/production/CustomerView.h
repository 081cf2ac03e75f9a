#pragma once

#include "framework/core/BaseObject.h"

class Modifier;

// The customer beside the countertop: its moods, its speech at the start and
// end of a level and its reactions to packaged pastries.
// TODO(issue 20): a seam; the moods, the speech dialog and the hearts arrive
// with the customer display. Each chain step returns `after` unchanged.
class CustomerView : public BaseObject {
public:
    virtual Modifier* openHint(Modifier* after) { return after; }
    virtual Modifier* enableHintOk(Modifier* after) { return after; }
    virtual Modifier* closeHint(Modifier* after) { return after; }
    virtual void update(int /*ms*/) {}
    virtual void reactToDelivery(int /*gradeSum*/) {}
    virtual void resetToCasual() {}
};
