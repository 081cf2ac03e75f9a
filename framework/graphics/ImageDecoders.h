#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

// PNG and JPEG decoding into images of the display's pixel size (marked to
// follow the display format) or into 1-byte masks. Every failure (missing
// file, wrong signature, damaged or oversized data) gives null; the decoders
// never end the process and never read outside the given bytes.
enum DecodeFlags : uint8_t {
    // Decode into a 1-byte-per-pixel mask: grey, or the red channel of colour.
    DecodeOnlyMask = 0x01,
    // An 8-bit grey PNG becomes black whose alpha is the grey value.
    DecodeGreyAsAlpha = 0x02,
};

RefPointer<Image> loadPngFile(const std::string& path, uint8_t flags);
RefPointer<Image> loadPngMemory(const uint8_t* data, size_t size, uint8_t flags);

// Grey, colour and CMYK JPEG become opaque colour images.
RefPointer<Image> loadJpegFile(const std::string& path);
RefPointer<Image> loadJpegMemory(const uint8_t* data, size_t size);
