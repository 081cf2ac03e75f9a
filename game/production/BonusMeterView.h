#pragma once

#include "framework/core/BaseObject.h"

// The bonus meter beside the board.
// TODO(issue 20): a seam; the meter's display and the frenzy effects arrive
// with the bonus meter display.
class BonusMeterView : public BaseObject {
};
