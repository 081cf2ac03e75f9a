#pragma once

#include "framework/core/BaseObject.h"

// The sparkles over the belt modes' screen.
// TODO(issue 20): a seam; the twinkles arrive with the game screen's decorations.
class Twinkles : public BaseObject {
};
