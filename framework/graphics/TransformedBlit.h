#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "framework/graphics/Geometry.h"

// Geometry and sampling shared by the scaled and rotated blits of both pixel
// formats. Source pixels are handled as "quads": four bytes, the top one the
// coverage (alpha byte or plane byte), the low three the colour channels (or
// the RGB565 fields shifted down). Positions are 64-bit fixed point with 20
// fraction bits, so no source coordinate can overflow.
namespace transformed {

constexpr int fractionBits = 20;
constexpr double one = 1048576.0;

// The part of the source rectangle that lies inside the image, relative to
// the rectangle's corner: [lowX, highX) x [lowY, highY).
struct SourceWindow {
    int64_t lowX, highX, lowY, highY;
};

inline bool sourceWindow(int32_t srcX, int32_t srcY, int32_t width, int32_t height, int32_t imageWidth,
                         int32_t imageHeight, SourceWindow& window)
{
    window.lowX = std::max<int64_t>(0, -int64_t(srcX));
    window.highX = std::min<int64_t>(width, int64_t(imageWidth) - srcX);
    window.lowY = std::max<int64_t>(0, -int64_t(srcY));
    window.highY = std::min<int64_t>(height, int64_t(imageHeight) - srcY);
    return window.lowX < window.highX && window.lowY < window.highY;
}

// Bilinear mix of four quads with 16-bit weights (0..65535 for the right and
// lower neighbours); each byte is mixed on its own and rounded down.
inline uint32_t bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy)
{
    const uint64_t ix = 65536 - wx, iy = 65536 - wy;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint64_t top = ((p00 >> shift) & 0xFF) * ix + ((p10 >> shift) & 0xFF) * wx;
        const uint64_t bottom = ((p01 >> shift) & 0xFF) * ix + ((p11 >> shift) & 0xFF) * wx;
        result |= uint32_t((top * iy + bottom * wy) >> 32) << shift;
    }
    return result;
}

inline int64_t toInt64Clamped(double value)
{
    if (!(value == value))
        return 0;
    return int64_t(std::clamp(value, -4.0e18, 4.0e18));
}

// Scaled blit. `fetch(x, y)` returns the quad of an absolute source pixel;
// `write(x, y, quad, bilinear)` stores into the target at absolute target
// coordinates. Columns and rows whose sample falls outside the source (the
// rectangle cut to the image) are not drawn.
template <class Fetch, class Write>
void scaled(int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t imageWidth,
            int32_t imageHeight, int64_t x, int64_t y, int64_t width, int64_t height, const Rect& clip,
            bool smoothing, std::vector<int64_t>& columnTable, Fetch fetch, Write write)
{
    if (width <= 0 || height <= 0 || x + width < 0 || y + height < 0 || srcWidth <= 0 || srcHeight <= 0)
        return;
    SourceWindow window;
    if (!sourceWindow(srcX, srcY, srcWidth, srcHeight, imageWidth, imageHeight, window))
        return;
    const int64_t left = std::max<int64_t>(x, clip.x);
    const int64_t top = std::max<int64_t>(y, clip.y);
    const int64_t right = std::min<int64_t>(x + width, int64_t(clip.x) + clip.width);
    const int64_t bottom = std::min<int64_t>(y + height, int64_t(clip.y) + clip.height);
    if (left >= right || top >= bottom)
        return;
    const int64_t stepX = int64_t(std::nearbyint(float(srcWidth) / float(width) * 1048576.0f));
    const int64_t stepY = int64_t(std::nearbyint(float(srcHeight) / float(height) * 1048576.0f));
    const int64_t startX = toInt64Clamped(double(left - x) * double(stepX) + double(srcX) * one);
    const int64_t startY = toInt64Clamped(double(top - y) * double(stepY) + double(srcY) * one);
    // Absolute source bounds of the readable window.
    const int64_t firstColumn = srcX + window.lowX, lastColumn = srcX + window.highX - 1;
    const int64_t firstRow = srcY + window.lowY, lastRow = srcY + window.highY - 1;
    const int64_t rectLastColumn = int64_t(srcX) + srcWidth - 1, rectLastRow = int64_t(srcY) + srcHeight - 1;

    // Per column: the source column (or -1 when outside) and its weight.
    const int64_t columns = right - left;
    columnTable.resize(size_t(columns) * 2);
    for (int64_t i = 0; i < columns; ++i) {
        const int64_t fx = startX + i * stepX;
        // The rounded step may overshoot the rectangle's last column by a hair.
        const int64_t sx = std::min(fx >> fractionBits, rectLastColumn);
        const bool inside = sx >= firstColumn && sx <= lastColumn;
        columnTable[size_t(i) * 2] = inside ? sx : -1;
        columnTable[size_t(i) * 2 + 1] = (fx & ((1 << fractionBits) - 1)) >> 4;
    }
    for (int64_t row = top; row < bottom; ++row) {
        const int64_t fy = startY + (row - top) * stepY;
        const int64_t sy = std::min(fy >> fractionBits, rectLastRow);
        if (sy < firstRow || sy > lastRow)
            continue;
        const uint32_t wy = uint32_t((fy & ((1 << fractionBits) - 1)) >> 4);
        const bool rowSmooth = smoothing && sy < lastRow;
        for (int64_t i = 0; i < columns; ++i) {
            const int64_t sx = columnTable[size_t(i) * 2];
            if (sx < 0)
                continue;
            if (rowSmooth && sx < lastColumn) {
                const uint32_t wx = uint32_t(columnTable[size_t(i) * 2 + 1]);
                const uint32_t quad =
                    bilinear(fetch(int32_t(sx), int32_t(sy)), fetch(int32_t(sx + 1), int32_t(sy)),
                             fetch(int32_t(sx), int32_t(sy + 1)), fetch(int32_t(sx + 1), int32_t(sy + 1)), wx, wy);
                write(int32_t(left + i), int32_t(row), quad, true);
            } else {
                write(int32_t(left + i), int32_t(row), fetch(int32_t(sx), int32_t(sy)), false);
            }
        }
    }
}

// Rotated and scaled blit about a pivot; the geometry places the source
// rectangle's corner, bounds the turned rectangle, cuts that box to the clip
// and walks it with the inverse rotation. An angle of 0 at scale 1 copies the
// rectangle pixel for pixel.
template <class Fetch, class Write>
void rotated(double angle, double scale, int64_t x, int64_t y, int32_t srcX, int32_t srcY, int32_t width,
             int32_t height, int32_t pivotX, int32_t pivotY, int32_t imageWidth, int32_t imageHeight,
             const Rect& clip, bool smoothing, Fetch fetch, Write write)
{
    const double bound = double(0.0001f);
    if (!(std::fabs(scale) > bound) || !std::isfinite(scale) || !std::isfinite(angle))
        return;
    if (width <= 0 || height <= 0)
        return;
    SourceWindow window;
    if (!sourceWindow(srcX, srcY, width, height, imageWidth, imageHeight, window))
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    // The source corner's place on the target, kept exact so that a quarter
    // turn does not lose a row to rounding.
    const double cornerX = double(x) + pivotX - scale * (pivotX * c - pivotY * s);
    const double cornerY = double(y) + pivotY - scale * (pivotY * c + pivotX * s);
    const double margin = smoothing ? 1.0 : 0.0;
    const double xs[4] = {-margin, width + margin, width + margin, -margin};
    const double ys[4] = {-margin, -margin, height + margin, height + margin};
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const double px = cornerX + scale * (xs[i] * c - ys[i] * s);
        const double py = cornerY + scale * (ys[i] * c + xs[i] * s);
        minX = i == 0 ? px : std::min(minX, px);
        maxX = i == 0 ? px : std::max(maxX, px);
        minY = i == 0 ? py : std::min(minY, py);
        maxY = i == 0 ? py : std::max(maxY, py);
    }
    if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY) || !std::isfinite(maxY))
        return;
    const int64_t left = std::max<int64_t>(toInt64Clamped(std::floor(minX)), clip.x);
    const int64_t top = std::max<int64_t>(toInt64Clamped(std::floor(minY)), clip.y);
    const int64_t right = std::min<int64_t>(toInt64Clamped(std::ceil(maxX)), int64_t(clip.x) + clip.width);
    const int64_t bottom = std::min<int64_t>(toInt64Clamped(std::ceil(maxY)), int64_t(clip.y) + clip.height);
    if (left >= right || top >= bottom)
        return;
    // Inverse mapping in 44.20 fixed point, sampled at pixel centres: along a
    // row u grows by cosK and v falls by sinK; each row starts sinK further in
    // u and cosK further in v.
    const int64_t cosK = toInt64Clamped(std::trunc(c * one / scale));
    const int64_t sinK = toInt64Clamped(std::trunc(s * one / scale));
    const double centreX = double(left) + 0.5 - cornerX, centreY = double(top) + 0.5 - cornerY;
    int64_t rowU = toInt64Clamped(std::floor((c * centreX + s * centreY) / scale * one));
    int64_t rowV = toInt64Clamped(std::floor((c * centreY - s * centreX) / scale * one));
    // Smoothed samples weigh the four pixel centres around the position.
    const int64_t half = smoothing ? (int64_t(1) << (fractionBits - 1)) : 0;
    rowU -= half;
    rowV -= half;
    for (int64_t row = top; row < bottom; ++row, rowU += sinK, rowV += cosK) {
        int64_t u = rowU, v = rowV;
        for (int64_t column = left; column < right; ++column, u += cosK, v -= sinK) {
            const int64_t su = u >> fractionBits, sv = v >> fractionBits;
            if (!smoothing) {
                if (su < window.lowX || su >= window.highX || sv < window.lowY || sv >= window.highY)
                    continue;
                write(int32_t(column), int32_t(row), fetch(int32_t(srcX + su), int32_t(srcY + sv)), false);
                continue;
            }
            if (su < window.lowX - 1 || su >= window.highX || sv < window.lowY - 1 || sv >= window.highY)
                continue;
            // Neighbours outside the window repeat the nearest pixel inside it.
            const int64_t x0 = std::max(su, window.lowX), x1 = std::min(su + 1, window.highX - 1);
            const int64_t y0 = std::max(sv, window.lowY), y1 = std::min(sv + 1, window.highY - 1);
            const uint32_t wx = uint32_t((u & ((1 << fractionBits) - 1)) >> 4);
            const uint32_t wy = uint32_t((v & ((1 << fractionBits) - 1)) >> 4);
            const uint32_t quad = bilinear(fetch(int32_t(srcX + x0), int32_t(srcY + y0)),
                                           fetch(int32_t(srcX + x1), int32_t(srcY + y0)),
                                           fetch(int32_t(srcX + x0), int32_t(srcY + y1)),
                                           fetch(int32_t(srcX + x1), int32_t(srcY + y1)), wx, wy);
            write(int32_t(column), int32_t(row), quad, true);
        }
    }
}

}  // namespace transformed
