#pragma once

#include "framework/core/BaseObject.h"

class Modifier;

// The goal display of the arcade and the exam levels: pastries boxed.
// TODO(issue 22): a seam; the display arrives with the conveyor's issue.
class PastryGoalPanel : public BaseObject {
public:
    virtual Modifier* addIntroBlink(Modifier* after) { return after; }
};
