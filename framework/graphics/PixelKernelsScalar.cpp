#include <cstring>

#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/PixelMath.h"

namespace {

void fillOpaque32(uint32_t* d, int32_t n, uint32_t colour)
{
    const uint32_t rgb = colour & 0x00FFFFFFu;
    for (int32_t i = 0; i < n; ++i)
        d[i] = (d[i] & 0xFF000000u) | rgb;
}

void fillBlend32(uint32_t* d, int32_t n, uint32_t colour, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = pixel::blendRgb(d[i], colour, alpha);
}

void copyRgb32(uint32_t* d, const uint32_t* s, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = (d[i] & 0xFF000000u) | (s[i] & 0x00FFFFFFu);
}

void blendOverall32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = pixel::blendOverall(d[i], s[i], alpha);
}

void blendPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = pixel::coverageWeight(s[i] >> 24, alpha);
        if (w != 0)
            d[i] = pixel::blendRgb(d[i], s[i], w);
    }
}

void addPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = pixel::coverageWeight(s[i] >> 24, alpha);
        if (w != 0)
            d[i] = pixel::addRgb(d[i], s[i], w);
    }
}

void mask32(uint32_t* d, const uint8_t* m, int32_t n, uint32_t colour, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = pixel::coverageWeight(m[i], alpha);
        if (w != 0)
            d[i] = pixel::blendRgb(d[i], colour, w);
    }
}

void scaleRowOpaque32(uint32_t* d, const uint32_t* source, int32_t /*sourceCount*/, const int32_t* columns,
                      int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = (d[i] & 0xFF000000u) | (source[columns[i]] & 0x00FFFFFFu);
}

void fillBlend16(uint16_t* d, int32_t n, uint16_t colour, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = pixel::blend565(d[i], colour, alpha);
}

void blendOverall16(uint16_t* d, const uint16_t* s, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = pixel::blend565(d[i], s[i], alpha);
}

void blendPlane16(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        uint32_t w;
        if (alpha == 255)
            w = plane[i] == 255 ? 256 : plane[i];
        else
            w = (plane[i] * alpha) >> 8;
        if (w != 0)
            d[i] = pixel::blend565(d[i], s[i], w);
    }
}

void addPlane16(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = pixel::coverageWeight(plane[i], alpha);
        if (w != 0)
            d[i] = pixel::add565(d[i], s[i], w);
    }
}

void mask16(uint16_t* d, const uint8_t* m, int32_t n, uint16_t colour, uint32_t alpha)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t w = pixel::coverageWeight(m[i], alpha);
        if (w != 0)
            d[i] = pixel::blend565(d[i], colour, w);
    }
}

void bilinearAcross32(uint16_t* mixed, const uint32_t* source, const int32_t* columns, const uint32_t* weightPairs,
                      int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t a = source[columns[i]], b = source[columns[i] + 1], w = weightPairs[i] >> 16;
        for (int shift = 0; shift < 32; shift += 8)
            *mixed++ = uint16_t((((a >> shift) & 0xFF) * (4096 - w) + ((b >> shift) & 0xFF) * w) >> 5);
    }
}

uint32_t mixDown(const uint16_t* upper, const uint16_t* lower, uint32_t weight)
{
    uint32_t quad = 0;
    for (int lane = 0; lane < 4; ++lane)
        quad |= ((uint32_t(upper[lane]) * (4096 - weight) + uint32_t(lower[lane]) * weight) >> 19) << (8 * lane);
    return quad;
}

void bilinearDown32(uint32_t* quads, const uint16_t* upper, const uint16_t* lower, uint32_t weight, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        quads[i] = mixDown(upper + 4 * i, lower + 4 * i, weight);
}

void bilinearDownRgb32(uint32_t* d, const uint16_t* upper, const uint16_t* lower, uint32_t weight, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = (d[i] & 0xFF000000u) | (mixDown(upper + 4 * i, lower + 4 * i, weight) & 0x00FFFFFFu);
}

const PixelKernels scalarSet = {
    "scalar",      fillOpaque32, fillBlend32,    copyRgb32,    blendOverall32, blendPerPixel32,
    addPerPixel32, mask32,       scaleRowOpaque32, fillBlend16,    blendOverall16, blendPlane16,  addPlane16,
    mask16,        bilinearAcross32, bilinearDown32, bilinearDownRgb32,
};

}  // namespace

const PixelKernels& scalarKernels()
{
    return scalarSet;
}
