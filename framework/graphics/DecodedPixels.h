#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

// Rows of 8-bit RGBA as the decoders deliver them, turned into an image of
// the requested kind.
struct DecodedPixels {
    int32_t width = 0;
    int32_t height = 0;
    // width * height * 4 bytes: red, green, blue, alpha.
    std::vector<uint8_t> rgba;
    // Set for an 8-bit grey source without alpha (grey-as-alpha applies to it).
    bool plainGrey = false;
};

// Builds a mask (only-mask) or a display-format image; null when the size is
// not allowed.
RefPointer<Image> imageFromDecoded(const DecodedPixels& decoded, uint8_t flags);
