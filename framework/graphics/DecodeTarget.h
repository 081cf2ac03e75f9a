#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

// Where the decoders put their rows: straight into the pixels of the image
// they make, one row at a time, so that a picture costs its own buffer and a
// row, never a second full-size copy.
class DecodeTarget {
public:
    DecodeTarget() = default;
    DecodeTarget(const DecodeTarget&) = delete;
    DecodeTarget& operator=(const DecodeTarget&) = delete;

    // Makes the image: a mask (only-mask) or a display-format picture of
    // width x height. False when the size is not allowed. `plainGrey` marks an
    // 8-bit grey source without alpha (grey-as-alpha applies to it).
    bool begin(int32_t width, int32_t height, uint8_t flags, bool plainGrey);

    // Whether rows may be written in place as blue, green, red, alpha bytes,
    // which is how a 0xAARRGGBB word lies in memory on this machine.
    bool takesBgraRows() const { return bgraInPlace; }
    // Row y of the image's own pixels; only when takesBgraRows().
    uint8_t* bgraRow(int32_t y) const { return reinterpret_cast<uint8_t*>(image->row32(y)); }
    // Converts one row of width RGBA bytes into row y.
    void storeRgbaRow(int32_t y, const uint8_t* rgba);

    // The finished image, unlocked; null when begin() failed.
    RefPointer<Image> finish();

private:
    RefPointer<Image> image;
    bool onlyMask = false;
    bool greyAsAlpha = false;
    bool bgraInPlace = false;
};
