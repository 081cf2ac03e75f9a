#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Label.h"

// One word of a styled text: a plain label that also remembers the vertical
// alignment it was set in, so that lines can align words of different fonts.
class StyleWord : public Label {
    TT_CLASS_RECORD(StyleWord)
public:
    StyleWord(BitmapFont* font, int32_t x, int32_t y) : Label(font, x, y, 0, 0, 0) {}
    int32_t getAlignV() const override { return alignV; }
    void setAlignV(int32_t value) override { alignV = value; }

protected:
    // The styled label draws every word itself.
    bool drawsOwnImage() const override { return false; }

private:
    int32_t alignV = 0;
};

// The words of one laid-out line of a styled text, in the order placed.
class StyleLine : public BaseObject {
    TT_CLASS_RECORD(StyleLine)
public:
    std::vector<RefPointer<Label>> words;
};
