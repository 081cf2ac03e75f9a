#pragma once

#include <cstdint>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

class AbstractProperty;

// One glyph sheet of a bitmap font with its padding and default colour; a
// font draws its layers from the last to the first (shadow under outline
// under face). A sheet of 1 byte per pixel is a mask drawn in the colour.
class FontLayer : public BaseObject {
    TT_CLASS_RECORD(FontLayer)
public:
    // Reads "padding" and "color"; the image is set by the font resource.
    explicit FontLayer(AbstractProperty* configuration);
    FontLayer(int32_t padding, uint32_t colour, Image* image);

    // Pixels added on every side of every glyph in this layer's sheet.
    int32_t getPadding() const { return padding; }
    void setPadding(int32_t value) { padding = value; }
    uint32_t getColour() const { return colour; }
    void setColour(uint32_t value) { colour = value; }
    Image* getImage() const { return image.get(); }
    void setImage(Image* value) { image = value; }

private:
    int32_t padding = 0;
    uint32_t colour = 0;
    RefPointer<Image> image;
};
