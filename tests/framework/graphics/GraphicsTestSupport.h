#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

// Small images filled with one value, and pixel access for assertions.
inline RefPointer<Image> filled32(int width, int height, uint32_t value, bool alphaChannel = true)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->setHasAlphaChannel(alphaChannel);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->row32(y)[x] = value;
    image->unlock();
    return image;
}

inline RefPointer<Image> filled16(int width, int height, uint16_t value, uint8_t plane, bool alphaChannel = true)
{
    RefPointer<Image> image = Image::create(width, height, 2);
    image->setHasAlphaChannel(alphaChannel);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            image->row16(y)[x] = value;
            image->alphaRow(y)[x] = plane;
        }
    image->unlock();
    return image;
}

inline RefPointer<Image> filledMask(int width, int height, uint8_t value)
{
    RefPointer<Image> image = Image::create(width, height, 1);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->alphaRow(y)[x] = value;
    image->unlock();
    return image;
}

inline uint32_t at32(Image* image, int x, int y)
{
    return image->row32(y)[x];
}

inline uint16_t at16(Image* image, int x, int y)
{
    return image->row16(y)[x];
}

inline int countDifferent32(Image* image, uint32_t background)
{
    int count = 0;
    for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x)
            count += image->row32(y)[x] != background;
    return count;
}
