#include "framework/scenegraph/Polygon.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(Polygon, &BaseObject::classRecord);

bool Polygon::setPointCount(int count)
{
    try {
        if (count <= 0) {
            std::vector<Point>().swap(points);
        } else {
            points.resize(static_cast<size_t>(count), Point {0.0f, 0.0f});
        }
    } catch (const std::bad_alloc&) {
        std::vector<Point>().swap(points);
        return false;
    }
    return true;
}

void Polygon::setPoint(int index, float x, float y)
{
    if (index < 0 || index >= getPointCount())
        return;
    points[static_cast<size_t>(index)] = Point {x, y};
}

bool Polygon::addPoint(float x, float y)
{
    const int count = getPointCount();
    if (!setPointCount(count + 1))
        return false;
    setPoint(count, x, y);
    updateBounds();
    return true;
}

bool Polygon::isClosed() const
{
    if (points.size() < 2)
        return false;
    const Point& first = points.front();
    const Point& last = points.back();
    return std::fabs(last.x - first.x) <= 0.001f && std::fabs(last.y - first.y) <= 0.001f;
}

int Polygon::nextIndex(int index) const
{
    const int count = getPointCount();
    const int lastUsable = isClosed() ? count - 2 : count - 1;
    return index < lastUsable ? index + 1 : 0;
}

void Polygon::updateBounds()
{
    if (points.empty()) {
        bounds = Bounds();
        return;
    }
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Point& point : points) {
        minX = std::min<double>(minX, point.x);
        maxX = std::max<double>(maxX, point.x);
        minY = std::min<double>(minY, point.y);
        maxY = std::max<double>(maxY, point.y);
    }
    bounds.x = rounding::halfEven(minX);
    bounds.y = rounding::halfEven(minY);
    bounds.width = rounding::halfEven(maxX) - bounds.x;
    bounds.height = rounding::halfEven(maxY) - bounds.y;
}

double Polygon::getLength() const
{
    const int count = getPointCount();
    if (count < 2)
        return 0.0;
    double length = 0.0;
    for (int i = 0; i <= count - 2; ++i) {
        const Point& a = points[static_cast<size_t>(i)];
        const Point& b = points[static_cast<size_t>(nextIndex(i))];
        length += std::hypot(double(b.x) - a.x, double(b.y) - a.y);
    }
    return length;
}

void Polygon::sampleHermite(float p0, float p1, float m0, float m1, int steps, std::vector<float>& out)
{
    if (steps < 1)
        steps = 1;
    // h(t) = a t^3 + b t^2 + c t + d
    const double a = 2.0 * p0 - 2.0 * p1 + m0 + m1;
    const double b = 3.0 * p1 - 3.0 * p0 - 2.0 * m0 - m1;
    const double c = m0;
    const double d = p0;
    const double increment = 1.0 / steps;
    for (double t = 0.0; t <= 1.0; t += increment)
        out.push_back(static_cast<float>(((a * t + b) * t + c) * t + d));
}

int Polygon::previousForTangent(int index) const
{
    if (index > 0)
        return index - 1;
    return isClosed() ? getPointCount() - 2 : getPointCount() - 1;
}

int Polygon::nextForTangent(int index) const
{
    if (isClosed() && index >= getPointCount() - 1)
        return 1;
    return nextIndex(index);
}

void Polygon::smoothPath(int from, int to, int steps, bool clampEnds)
{
    const int count = getPointCount();
    from = std::max(from, 0);
    to = std::min(to, count - 1);
    if (count < 2 || to <= from)
        return;
    if (steps < 1)
        steps = 1;

    std::vector<Point> result;
    result.reserve(static_cast<size_t>(to - from) * static_cast<size_t>(steps) + 1);
    result.push_back(points[static_cast<size_t>(from)]);
    std::vector<float> xs, ys;
    for (int i = from + 1; i <= to; ++i) {
        const Point& start = points[static_cast<size_t>(i - 1)];
        const Point& end = points[static_cast<size_t>(i)];
        Point m0 {0.0f, 0.0f};
        Point m1 {0.0f, 0.0f};
        if (!(clampEnds && i - 1 == from)) {
            const Point& before = points[static_cast<size_t>(previousForTangent(i - 1))];
            m0 = Point {end.x - before.x, end.y - before.y};
        }
        if (!(clampEnds && i == to)) {
            const Point& after = points[static_cast<size_t>(nextForTangent(i))];
            m1 = Point {after.x - start.x, after.y - start.y};
        }
        xs.clear();
        ys.clear();
        sampleHermite(start.x, end.x, m0.x, m1.x, steps, xs);
        sampleHermite(start.y, end.y, m0.y, m1.y, steps, ys);
        // The samples at t = 1/steps .. (steps-1)/steps; the first is the start
        // point, and the end point is taken exactly from the path.
        const size_t available = std::min(xs.size(), ys.size());
        for (size_t k = 1; k < static_cast<size_t>(steps) && k < available; ++k)
            result.push_back(Point {xs[k], ys[k]});
        result.push_back(end);
    }
    points.swap(result);
    updateBounds();
}
