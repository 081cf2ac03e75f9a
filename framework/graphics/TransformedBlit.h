#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "framework/graphics/Geometry.h"
#include "framework/graphics/PixelMath.h"

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

// Bilinear mix of four quads, each byte on its own, with 12-bit weights (0..4095
// for the right and lower neighbours): the row pairs are mixed first and kept
// with 7 fraction bits, then mixed vertically and rounded down. Within one of
// the exact real-valued mix, so within 1 of any truncated float evaluation.
inline uint32_t bilinearScalar(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t top = (((p00 >> shift) & 0xFF) * (4096 - wx) + ((p10 >> shift) & 0xFF) * wx) >> 5;
        const uint32_t bottom = (((p01 >> shift) & 0xFF) * (4096 - wx) + ((p11 >> shift) & 0xFF) * wx) >> 5;
        result |= ((top * (4096 - wy) + bottom * wy) >> 19) << shift;
    }
    return result;
}

#if defined(__SSE2__)
// The same mix with two multiply-adds per stage; bit for bit the scalar result.
inline uint32_t bilinearSse2(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i upper = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p00)), zero),
                                             _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p10)), zero));
    const __m128i lower = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p01)), zero),
                                             _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p11)), zero));
    const __m128i weightsX = _mm_set1_epi32(int((wx << 16) | (4096 - wx)));
    const __m128i top = _mm_srai_epi32(_mm_madd_epi16(upper, weightsX), 5);
    const __m128i bottom = _mm_srai_epi32(_mm_madd_epi16(lower, weightsX), 5);
    const __m128i pairs = _mm_unpacklo_epi16(_mm_packs_epi32(top, top), _mm_packs_epi32(bottom, bottom));
    const __m128i weightsY = _mm_set1_epi32(int((wy << 16) | (4096 - wy)));
    __m128i mixed = _mm_srli_epi32(_mm_madd_epi16(pairs, weightsY), 19);
    mixed = _mm_packs_epi32(mixed, mixed);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, mixed)));
}
#endif

inline uint32_t bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t wx, uint32_t wy)
{
#if defined(__SSE2__)
    return bilinearSse2(p00, p10, p01, p11, wx, wy);
#else
    return bilinearScalar(p00, p10, p01, p11, wx, wy);
#endif
}

// The 12-bit weight of a 20-bit fraction.
inline uint32_t weightOf(int64_t position)
{
    return uint32_t((position & ((1 << fractionBits) - 1)) >> (fractionBits - 12));
}

inline int64_t toInt64Clamped(double value)
{
    if (!(value == value))
        return 0;
    return int64_t(std::clamp(value, -4.0e18, 4.0e18));
}

// One destination row of a scaled blit: `count` pixels from target column
// `x`; pixel i samples source column columns[i] of source row `sourceRow`
// with horizontal weight weights[i]. The first `smoothCount` pixels (0 when
// not smoothing) have a right and a lower neighbour and are mixed bilinearly
// with vertical weight `weightY`; the rest take the nearest pixel.
struct ScaledRow {
    int32_t y;
    int32_t x;
    int32_t count;
    int32_t smoothCount;
    int32_t sourceRow;
    uint32_t weightY;
    const int32_t* columns;
    const uint32_t* weights;
};

// Scaled blit: steps and start positions in 64-bit fixed point, so no source
// coordinate can overflow; only columns and rows whose sample lies inside the
// source rectangle cut to the image are drawn. `writeRow(const ScaledRow&)`
// draws each row.
template <class WriteRow>
void scaled(int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t imageWidth,
            int32_t imageHeight, int64_t x, int64_t y, int64_t width, int64_t height, const Rect& clip,
            bool smoothing, std::vector<int32_t>& columns, std::vector<uint32_t>& weights, WriteRow writeRow)
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

    // Source columns grow with the target column, so the drawable columns are
    // one run; the smoothed ones are the part of it left of the last column.
    columns.clear();
    weights.clear();
    int64_t runStart = -1;
    int32_t smoothColumns = 0;
    for (int64_t i = 0; i < right - left; ++i) {
        const int64_t fx = startX + i * stepX;
        // The rounded step may overshoot the rectangle's last column by a hair.
        const int64_t sx = std::min(fx >> fractionBits, rectLastColumn);
        if (sx < firstColumn)
            continue;
        if (sx > lastColumn)
            break;
        if (runStart < 0)
            runStart = i;
        columns.push_back(int32_t(sx));
        weights.push_back(weightOf(fx));
        smoothColumns += sx < lastColumn;
    }
    if (columns.empty())
        return;
    ScaledRow row {};
    row.x = int32_t(left + runStart);
    row.count = int32_t(columns.size());
    row.columns = columns.data();
    row.weights = weights.data();
    for (int64_t target = top; target < bottom; ++target) {
        const int64_t fy = startY + (target - top) * stepY;
        const int64_t sy = std::min(fy >> fractionBits, rectLastRow);
        if (sy < firstRow)
            continue;
        if (sy > lastRow)
            break;
        row.y = int32_t(target);
        row.sourceRow = int32_t(sy);
        row.weightY = weightOf(fy);
        row.smoothCount = smoothing && sy < lastRow ? smoothColumns : 0;
        writeRow(row);
    }
}

// The i in [0, count) with low <= start + i * step < high, as [first, last)
// (first >= last: none). Exact in integers, so the same set as testing each i.
inline void linearRange(int64_t start, int64_t step, int64_t low, int64_t high, int64_t count, int64_t& first,
                        int64_t& last)
{
    // Floor and ceiling of a / b for b > 0.
    auto floorDiv = [](int64_t a, int64_t b) { return a / b - (a % b != 0 && a < 0); };
    auto ceilDiv = [](int64_t a, int64_t b) { return a / b + (a % b != 0 && a > 0); };
    first = 0;
    last = count;
    if (step == 0) {
        if (start < low || start >= high)
            last = 0;
        return;
    }
    if (step > 0) {
        first = std::max<int64_t>(first, ceilDiv(low - start, step));
        last = std::min<int64_t>(last, ceilDiv(high - start, step));
    } else {
        first = std::max<int64_t>(first, floorDiv(start - high, -step) + 1);
        last = std::min<int64_t>(last, floorDiv(start - low, -step) + 1);
    }
}

// One target row of a rotated blit: `count` pixels from column `x` whose
// samples lie in the source window (nearest) or touch it (smoothed). The
// first pixel samples source position (u, v) in 44.20 fixed point relative
// to the source rectangle's corner; each next one (u + stepU, v + stepV).
struct RotatedSpan {
    int32_t y;
    int32_t x;
    int32_t count;
    int64_t u, v;
    int64_t stepU, stepV;
};

// Rotated and scaled blit about a pivot; the geometry places the source
// rectangle's corner, bounds the turned rectangle, cuts that box to the clip
// and walks it with the inverse rotation, handing each row's run of sampled
// pixels to `span(const RotatedSpan&, const SourceWindow&)`. An angle of 0 at
// scale 1 copies the rectangle pixel for pixel.
template <class Span>
void rotatedSpans(double angle, double scale, int64_t x, int64_t y, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height, int32_t pivotX, int32_t pivotY, int32_t imageWidth, int32_t imageHeight,
                  const Rect& clip, bool smoothing, Span span)
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
    // Smoothed samples weigh the four pixel centres around the position, and
    // draw where any of the four lies in the window.
    const int64_t half = smoothing ? (int64_t(1) << (fractionBits - 1)) : 0;
    const int64_t reach = smoothing ? 1 : 0;
    rowU -= half;
    rowV -= half;
    const int64_t unit = int64_t(1) << fractionBits;
    const int64_t lowU = (window.lowX - reach) * unit, highU = window.highX * unit;
    const int64_t lowV = (window.lowY - reach) * unit, highV = window.highY * unit;
    for (int64_t row = top; row < bottom; ++row, rowU += sinK, rowV += cosK) {
        int64_t firstU, lastU, firstV, lastV;
        linearRange(rowU, cosK, lowU, highU, right - left, firstU, lastU);
        linearRange(rowV, -sinK, lowV, highV, right - left, firstV, lastV);
        const int64_t first = std::max(firstU, firstV), last = std::min(lastU, lastV);
        if (first >= last)
            continue;
        RotatedSpan run {};
        run.y = int32_t(row);
        run.x = int32_t(left + first);
        run.count = int32_t(last - first);
        run.u = rowU + first * cosK;
        run.v = rowV - first * sinK;
        run.stepU = cosK;
        run.stepV = -sinK;
        span(run, window);
    }
}

// The rotated blit one sample at a time: `fetch(sx, sy)` reads a source
// quad, `write(x, y, quad, bilinear)` stores it.
template <class Fetch, class Write>
void rotated(double angle, double scale, int64_t x, int64_t y, int32_t srcX, int32_t srcY, int32_t width,
             int32_t height, int32_t pivotX, int32_t pivotY, int32_t imageWidth, int32_t imageHeight,
             const Rect& clip, bool smoothing, Fetch fetch, Write write)
{
    rotatedSpans(angle, scale, x, y, srcX, srcY, width, height, pivotX, pivotY, imageWidth, imageHeight, clip,
                 smoothing, [&](const RotatedSpan& run, const SourceWindow& window) {
                     int64_t u = run.u, v = run.v;
                     for (int32_t i = 0; i < run.count; ++i, u += run.stepU, v += run.stepV) {
                         const int64_t su = u >> fractionBits, sv = v >> fractionBits;
                         if (!smoothing) {
                             write(run.x + i, run.y, fetch(int32_t(srcX + su), int32_t(srcY + sv)), false);
                             continue;
                         }
                         // Neighbours outside the window repeat the nearest pixel inside it.
                         const int64_t x0 = std::max(su, window.lowX), x1 = std::min(su + 1, window.highX - 1);
                         const int64_t y0 = std::max(sv, window.lowY), y1 = std::min(sv + 1, window.highY - 1);
                         const uint32_t quad = bilinear(fetch(int32_t(srcX + x0), int32_t(srcY + y0)),
                                                        fetch(int32_t(srcX + x1), int32_t(srcY + y0)),
                                                        fetch(int32_t(srcX + x0), int32_t(srcY + y1)),
                                                        fetch(int32_t(srcX + x1), int32_t(srcY + y1)),
                                                        weightOf(u), weightOf(v));
                         write(run.x + i, run.y, quad, true);
                     }
                 });
}

// How sampled pixels are stored: the colour alone (an opaque source at full
// alpha), mixed by the overall alpha, or weighted by each sample's coverage.
enum class WriteMode { Opaque, Overall, PerPixel };

inline WriteMode writeModeFor(bool perPixelCoverage, int32_t alpha)
{
    return perPixelCoverage ? WriteMode::PerPixel : (alpha >= 255 ? WriteMode::Opaque : WriteMode::Overall);
}

// Stores one sampled pixel of a scaled or rotated blit. `Format` gives the
// pixel type and its writes: Pixel, fromQuad(quad), copy(d, s) and
// blend(d, s, weight). `thresholds` applies the cut-offs of smoothed samples
// (weight 5 or less: untouched, above 250: copied) to nearest samples too.
template <class Format>
inline void writeSample(typename Format::Pixel& d, uint32_t quad, WriteMode mode, uint32_t alpha, bool bilinear,
                        bool thresholds)
{
    const typename Format::Pixel s = Format::fromQuad(quad);
    switch (mode) {
    case WriteMode::Opaque:
        d = Format::copy(d, s);
        return;
    case WriteMode::Overall:
        d = Format::blend(d, s, alpha);
        return;
    case WriteMode::PerPixel:
        break;
    }
    if (bilinear || thresholds) {
        const uint32_t e = ((quad >> 24) * alpha) >> 8;
        if (e <= 5)
            return;
        d = e > 250 ? Format::copy(d, s) : Format::blend(d, s, e);
        return;
    }
    const uint32_t w = pixel::coverageWeight(quad >> 24, alpha);
    if (w != 0)
        d = Format::blend(d, s, w);
}

// Calls `write` with the mode as a compile-time constant
// (std::integral_constant), so that a row loop is instantiated per mode and
// does not test it per pixel.
template <class Write>
inline void withMode(WriteMode mode, Write write)
{
    switch (mode) {
    case WriteMode::Opaque:
        write(std::integral_constant<WriteMode, WriteMode::Opaque>());
        break;
    case WriteMode::Overall:
        write(std::integral_constant<WriteMode, WriteMode::Overall>());
        break;
    case WriteMode::PerPixel:
        write(std::integral_constant<WriteMode, WriteMode::PerPixel>());
        break;
    }
}

}  // namespace transformed
