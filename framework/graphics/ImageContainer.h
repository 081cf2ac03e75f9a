#pragma once

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

// Holds one counted image; sprites and image resources keep their picture in it.
class ImageContainer {
public:
    ImageContainer() = default;
    virtual ~ImageContainer() = default;

    // The new image gains its reference before the old one is released, so
    // setting the image already held keeps it alive. Null empties the holder.
    virtual void setImage(Image* newImage) { image = newImage; }
    Image* getImage() const { return image.get(); }

private:
    RefPointer<Image> image;
};
