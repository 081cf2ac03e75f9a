#pragma once

#include <vector>

#include "framework/core/BaseObject.h"

// A polyline of float points used as a motion path. When its last point
// coincides with its first it is closed, and walks along it wrap around
// without visiting the duplicated closing point.
class Polygon : public BaseObject {
    TT_CLASS_RECORD(Polygon)
public:
    struct Point {
        float x;
        float y;
    };
    struct Bounds {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    Polygon() = default;

    // Resizes the point array, keeping the existing points (new ones are 0, 0).
    // False when memory runs out; the polygon is then empty.
    bool setPointCount(int count);
    int getPointCount() const { return static_cast<int>(points.size()); }
    const Point& getPoint(int index) const { return points[static_cast<size_t>(index)]; }
    void setPoint(int index, float x, float y);
    // Appends a point and recomputes the bounds.
    bool addPoint(float x, float y);
    const std::vector<Point>& getPoints() const { return points; }

    bool isClosed() const;
    // The index after `index` along the path; wraps to 0.
    int nextIndex(int index) const;
    // Rounded bounding box of the points (all 0 without points).
    void updateBounds();
    const Bounds& getBounds() const { return bounds; }
    double getLength() const;

    // Appends the values of the cubic Hermite curve from p0 to p1 with
    // tangents m0 and m1 at t = 0, 1/steps, ... while t <= 1 (steps < 1 counts as 1).
    static void sampleHermite(float p0, float p1, float m0, float m1, int steps, std::vector<float>& out);
    // Replaces the points by a Hermite curve through points from..to with
    // steps - 1 samples between neighbours; clampEnds gives the ends zero tangents.
    void smoothPath(int from, int to, int steps, bool clampEnds);

private:
    int previousForTangent(int index) const;
    int nextForTangent(int index) const;

    Bounds bounds;
    std::vector<Point> points;
};
