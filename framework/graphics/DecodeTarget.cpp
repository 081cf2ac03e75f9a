#include "framework/graphics/DecodeTarget.h"

#include "framework/graphics/ImageDecoders.h"
#include "framework/graphics/PixelMath.h"

bool DecodeTarget::begin(int32_t width, int32_t height, uint8_t flags, bool plainGrey)
{
    onlyMask = (flags & DecodeOnlyMask) != 0;
    greyAsAlpha = (flags & DecodeGreyAsAlpha) != 0 && plainGrey;
    image = onlyMask ? Image::create(width, height, 1) : Image::createForScreen(width, height);
    if (!image || !image->lock()) {
        image = nullptr;
        return false;
    }
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    bgraInPlace = !onlyMask && !greyAsAlpha && image->getBytesPerPixel() == 4;
#else
    bgraInPlace = false;
#endif
    return true;
}

void DecodeTarget::storeRgbaRow(int32_t y, const uint8_t* source)
{
    const int32_t width = image->getWidth();
    if (onlyMask) {
        // A mask takes the grey value, which is the red byte once expanded.
        uint8_t* target = image->alphaRow(y);
        for (int32_t x = 0; x < width; ++x, source += 4)
            target[x] = source[0];
        return;
    }
    const bool wide = image->getBytesPerPixel() == 4;
    for (int32_t x = 0; x < width; ++x, source += 4) {
        const uint32_t r = source[0], g = source[1], b = source[2], a = source[3];
        const uint32_t argb = greyAsAlpha ? (r << 24) : ((a << 24) | (r << 16) | (g << 8) | b);
        if (wide) {
            image->row32(y)[x] = argb;
        } else {
            image->row16(y)[x] = pixel::pack565(argb);
            image->alphaRow(y)[x] = uint8_t(argb >> 24);
        }
    }
}

RefPointer<Image> DecodeTarget::finish()
{
    if (!image)
        return nullptr;
    image->unlock();
    RefPointer<Image> done = image;
    image = nullptr;
    return done;
}
