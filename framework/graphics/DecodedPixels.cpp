#include "framework/graphics/DecodedPixels.h"

#include "framework/graphics/ImageDecoders.h"
#include "framework/graphics/PixelMath.h"

RefPointer<Image> imageFromDecoded(const DecodedPixels& decoded, uint8_t flags)
{
    const bool onlyMask = (flags & DecodeOnlyMask) != 0;
    const bool greyAsAlpha = (flags & DecodeGreyAsAlpha) != 0 && decoded.plainGrey;
    RefPointer<Image> image =
        onlyMask ? Image::create(decoded.width, decoded.height, 1) : Image::createForScreen(decoded.width, decoded.height);
    if (!image || !image->lock())
        return nullptr;
    const int32_t bytesPerPixel = image->getBytesPerPixel();
    for (int32_t y = 0; y < decoded.height; ++y) {
        const uint8_t* source = decoded.rgba.data() + size_t(y) * size_t(decoded.width) * 4;
        for (int32_t x = 0; x < decoded.width; ++x, source += 4) {
            const uint32_t r = source[0], g = source[1], b = source[2], a = source[3];
            if (onlyMask) {
                // A mask takes the grey value, which is the red byte once expanded.
                image->alphaRow(y)[x] = uint8_t(r);
                continue;
            }
            const uint32_t argb = greyAsAlpha ? (r << 24) : ((a << 24) | (r << 16) | (g << 8) | b);
            if (bytesPerPixel == 4) {
                image->row32(y)[x] = argb;
            } else {
                image->row16(y)[x] = pixel::pack565(argb);
                image->alphaRow(y)[x] = uint8_t(argb >> 24);
            }
        }
    }
    image->unlock();
    return image;
}
