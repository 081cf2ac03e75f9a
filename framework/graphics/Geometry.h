#pragma once

#include <cstdint>

// An axis-aligned rectangle in pixels: left and top inclusive, right and bottom
// exclusive. A width or height of 0 or less is empty.
struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool contains(int32_t px, int32_t py) const
    {
        return px >= x && py >= y && int64_t(px) < int64_t(x) + width && int64_t(py) < int64_t(y) + height;
    }
    // Width and height are not clamped: disjoint rectangles give a negative size.
    Rect intersected(const Rect& other) const;

    friend bool operator==(const Rect& a, const Rect& b)
    {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

// A point of two single-precision floats, as polygons and smooth lines use.
struct PointF {
    float x = 0.0f;
    float y = 0.0f;
};
