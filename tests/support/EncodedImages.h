#pragma once

#include <cstdint>
#include <vector>

// PNG and JPEG files written in memory, for decoder tests, fuzz seeds and the
// decoding benchmark.
namespace testimages {

struct PngSpec {
    int width = 4;
    int height = 3;
    int colourType = 2;  // libpng colour type (0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA)
    int bitDepth = 8;
    bool interlaced = false;
    // Palette images: entries and transparency (empty: opaque palette).
    std::vector<uint8_t> paletteRgb;
    std::vector<uint8_t> paletteAlpha;
    // Grey or RGB images: a transparent colour (values at bit depth), -1 for none.
    int transparentGrey = -1;
};

// Samples are given at the image's bit depth, channel by channel, row by row.
std::vector<uint8_t> encodePng(const PngSpec& layout, const std::vector<uint16_t>& samples);

// components: 1 grey, 3 RGB, 4 CMYK (stored inverted, as such files are).
std::vector<uint8_t> encodeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
                                int quality = 100);

}  // namespace testimages
