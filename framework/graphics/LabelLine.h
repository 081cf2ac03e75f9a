#pragma once

#include <cstdint>

#include "framework/core/StringUtils.h"

// One laid-out line of text: what a label hands to its font and what
// Graphics::drawText builds for a single line. Fonts read text, x and y.
struct LabelLine {
    WString text;
    int32_t width = 0;  // the font's width of the whole line
    int32_t x = 0;      // left edge in target pixels
    int32_t y = 0;      // top in target pixels
};
