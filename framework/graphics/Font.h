#pragma once

#include "framework/core/BaseObject.h"

// The root of the font classes; it has no operations of its own, so that
// resources can hand out any kind of font under one type.
class Font : public BaseObject {
    TT_CLASS_RECORD(Font)
};
