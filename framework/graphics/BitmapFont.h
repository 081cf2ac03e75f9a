#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/graphics/LabelLine.h"

class Graphics;

// Draws and measures text from glyph images. This is the drawing seam that
// Graphics calls; the glyph tables and layers come with the font resources.
class BitmapFont : public BaseObject {
    TT_CLASS_RECORD(BitmapFont)
public:
    // Draws each line at its x and y, layers from the last to the first, layer
    // k in colours[k] when the list has such an entry.
    virtual void drawText(Graphics* graphics, const std::vector<LabelLine>& lines,
                          const std::vector<uint32_t>& colours);
};
