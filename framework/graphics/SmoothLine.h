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
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    if (std::fabs(dx) >= std::fabs(dy)) {
        if (dx == 0.0) {
            put(rx1, ry1, 1.0);
            return;
        }
        const double gradient = dy / dx;
        const int64_t from = dx > 0 ? rx1 : rx2, to = dx > 0 ? rx2 : rx1;
        const double originX = dx > 0 ? x1 : x2, originY = dx > 0 ? y1 : y2;
        for (int64_t x = from; x <= to; ++x) {
            // The exact y at the pixel centre's column, split over the two rows around it.
            const double y = originY + gradient * (double(x) - originX) - 0.5;
            const double row = std::floor(y);
            const double fraction = y - row;
            put(x, int64_t(row), 1.0 - fraction);
            put(x, int64_t(row) + 1, fraction);
        }
    } else {
        const double gradient = dx / dy;
        const int64_t from = dy > 0 ? ry1 : ry2, to = dy > 0 ? ry2 : ry1;
        const double originX = dy > 0 ? x1 : x2, originY = dy > 0 ? y1 : y2;
        for (int64_t y = from; y <= to; ++y) {
            const double x = originX + gradient * (double(y) - originY) - 0.5;
            const double column = std::floor(x);
            const double fraction = x - column;
            put(int64_t(column), y, 1.0 - fraction);
            put(int64_t(column) + 1, y, fraction);
        }
    }
}

}  // namespace smoothline
