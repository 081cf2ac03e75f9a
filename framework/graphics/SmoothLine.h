#pragma once

#include <cmath>
#include <cstdint>

#include "framework/graphics/Geometry.h"

namespace smoothline {

// Walks an antialiased line (already offset) one pixel at a time along its
// major axis and hands each touched pixel with a weight 0..255 to `plot`.
// Drawn only when both rounded end points lie inside `clip`; pixels outside
// `bounds` (the clip within the target, less row 0 and column 0) are skipped.
template <class Plot>
void draw(float x1, float y1, float x2, float y2, const Rect& clip, const Rect& bounds, Plot plot)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    const float limit = 1.0e8f;
    if (std::fabs(x1) > limit || std::fabs(y1) > limit || std::fabs(x2) > limit || std::fabs(y2) > limit)
        return;
    const int64_t rx1 = int64_t(std::nearbyint(x1)), ry1 = int64_t(std::nearbyint(y1));
    const int64_t rx2 = int64_t(std::nearbyint(x2)), ry2 = int64_t(std::nearbyint(y2));
    auto inClip = [&clip](int64_t x, int64_t y) {
        return x >= clip.x && y >= clip.y && x < int64_t(clip.x) + clip.width && y < int64_t(clip.y) + clip.height;
    };
    if (!inClip(rx1, ry1) || !inClip(rx2, ry2))
        return;
    auto put = [&](int64_t x, int64_t y, double weight) {
        if (x < 1 || y < 1 || x < bounds.x || y < bounds.y || x >= int64_t(bounds.x) + bounds.width ||
            y >= int64_t(bounds.y) + bounds.height)
            return;
        const int32_t value = int32_t(255.0 * weight);
        if (value > 0)
            plot(int32_t(x), int32_t(y), value > 255 ? 255 : value);
    };
    // Steps along the major axis from the end with the smaller coordinate;
    // `plotAt(major, minor, weight)` puts the pixel back in x and y order.
    auto walk = [](double dMajor, double dMinor, int64_t roundedMajor1, int64_t roundedMajor2, double major1,
                   double minor1, double major2, double minor2, auto plotAt) {
        const double gradient = dMinor / dMajor;
        const int64_t from = dMajor > 0 ? roundedMajor1 : roundedMajor2, to = dMajor > 0 ? roundedMajor2 : roundedMajor1;
        const double originMajor = dMajor > 0 ? major1 : major2, originMinor = dMajor > 0 ? minor1 : minor2;
        for (int64_t major = from; major <= to; ++major) {
            // The exact minor coordinate at the pixel centre, split over the two pixels around it.
            const double minor = originMinor + gradient * (double(major) - originMajor) - 0.5;
            const double cell = std::floor(minor);
            const double fraction = minor - cell;
            plotAt(major, int64_t(cell), 1.0 - fraction);
            plotAt(major, int64_t(cell) + 1, fraction);
        }
    };
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    if (std::fabs(dx) >= std::fabs(dy)) {
        if (dx == 0.0) {
            put(rx1, ry1, 1.0);
            return;
        }
        walk(dx, dy, rx1, rx2, x1, y1, x2, y2, [&put](int64_t x, int64_t y, double weight) { put(x, y, weight); });
    } else {
        walk(dy, dx, ry1, ry2, y1, x1, y2, x2, [&put](int64_t y, int64_t x, double weight) { put(x, y, weight); });
    }
}

}  // namespace smoothline
