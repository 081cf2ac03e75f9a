#pragma once

#include <cstdint>

// Per-pixel arithmetic shared by the scalar row kernels and the scaled and
// rotated routines. Weights are 0..256: 256 stands for a fully covered pixel,
// which is written exactly instead of at 254/256.
namespace pixel {

// Weight of a pixel with coverage `value` at overall alpha `alpha`:
// w = value * alpha / 256, rounded down; 255 at 255 is full coverage (256).
inline uint32_t coverageWeight(uint32_t value, uint32_t alpha)
{
    const uint32_t weight = (value * alpha) >> 8;
    return weight == 254 ? 256 : weight;
}

// d' = d + (s - d) * w / 256, rounded down; the same as (d * (256 - w) + s * w) / 256.
inline uint32_t blendChannel(uint32_t d, uint32_t s, uint32_t w)
{
    return (d * (256 - w) + s * w) >> 8;
}

// Blends the three colour bytes of s over d with weight w; d's top byte is kept.
inline uint32_t blendRgb(uint32_t d, uint32_t s, uint32_t w)
{
    const uint32_t r = blendChannel((d >> 16) & 0xFF, (s >> 16) & 0xFF, w);
    const uint32_t g = blendChannel((d >> 8) & 0xFF, (s >> 8) & 0xFF, w);
    const uint32_t b = blendChannel(d & 0xFF, s & 0xFF, w);
    return (d & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// d' = min(255, d + s * w / 256) for each colour byte; d's top byte is kept.
inline uint32_t addRgb(uint32_t d, uint32_t s, uint32_t w)
{
    uint32_t result = d & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t sum = ((d >> shift) & 0xFF) + ((((s >> shift) & 0xFF) * w) >> 8);
        result |= (sum > 255 ? 255 : sum) << shift;
    }
    return result;
}

// Overall alpha of a source without its own alpha, all four bytes:
// d' = d + s * a / 256 - d * a / 256 (each quotient rounded down), saturated.
inline uint32_t blendOverall(uint32_t d, uint32_t s, uint32_t a)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t db = (d >> shift) & 0xFF;
        const int32_t sb = (s >> shift) & 0xFF;
        int32_t value = db + ((sb * int32_t(a)) >> 8) - ((db * int32_t(a)) >> 8);
        value = value < 0 ? 0 : (value > 255 ? 255 : value);
        result |= uint32_t(value) << shift;
    }
    return result;
}

// RGB565 fields blended separately: f' = f + (s - f) * w / 256, rounded down.
inline uint16_t blend565(uint32_t d, uint32_t s, uint32_t w)
{
    const uint32_t r = blendChannel(d >> 11, s >> 11, w);
    const uint32_t g = blendChannel((d >> 5) & 0x3F, (s >> 5) & 0x3F, w);
    const uint32_t b = blendChannel(d & 0x1F, s & 0x1F, w);
    return uint16_t((r << 11) | (g << 5) | b);
}

// f' = min(max, f + s * w / 256) per RGB565 field.
inline uint16_t add565(uint32_t d, uint32_t s, uint32_t w)
{
    uint32_t r = (d >> 11) + (((s >> 11) * w) >> 8);
    uint32_t g = ((d >> 5) & 0x3F) + ((((s >> 5) & 0x3F) * w) >> 8);
    uint32_t b = (d & 0x1F) + (((s & 0x1F) * w) >> 8);
    r = r > 31 ? 31 : r;
    g = g > 63 ? 63 : g;
    b = b > 31 ? 31 : b;
    return uint16_t((r << 11) | (g << 5) | b);
}

// 0xAARRGGBB to RGB565: the low bits of each channel are dropped.
inline uint16_t pack565(uint32_t c)
{
    return uint16_t(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
}

// RGB565 and an alpha byte to 0xAARRGGBB; the low bits of each channel stay 0.
inline uint32_t widen565(uint32_t p, uint32_t a)
{
    return (a << 24) | ((p & 0xF800) << 8) | ((p & 0x07E0) << 5) | ((p & 0x001F) << 3);
}

}  // namespace pixel
