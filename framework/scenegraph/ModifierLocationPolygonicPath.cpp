#include "framework/scenegraph/ModifierLocationPolygonicPath.h"

#include <cmath>

#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(ModifierLocationPolygonicPath, &ModifierLocation::classRecord);

namespace {

int startCoordinate(Polygon* path, int index, bool x)
{
    if (!path || index < 0 || index >= path->getPointCount())
        return 0;
    const Polygon::Point& point = path->getPoint(index);
    return rounding::halfEven(x ? point.x : point.y);
}

} // namespace

ModifierLocationPolygonicPath::ModifierLocationPolygonicPath(Polygon* path, int durationMs, bool loop, bool eased,
                                                             int startIndex)
    : ModifierLocation(durationMs, startCoordinate(path, startIndex, true), startCoordinate(path, startIndex, false)),
      path(path), loop(loop)
{
    pathLength = path ? path->getLength() : 0.0;
    const int count = path ? path->getPointCount() : 0;
    this->startIndex = (startIndex >= 0 && startIndex < count) ? startIndex : 0;
    currentIndex = this->startIndex;
    setEasing(eased ? &easing::smooth : &easing::linear);
}

void ModifierLocationPolygonicPath::placeOnLastPoint()
{
    const int count = path ? path->getPointCount() : 0;
    if (count > 0) {
        const Polygon::Point& last = path->getPoint(count - 1);
        currentX = last.x;
        currentY = last.y;
        if (GameNode* node = getTarget()) {
            node->setX(rounding::halfEven(last.x));
            node->setY(rounding::halfEven(last.y));
        }
    }
    finish();
}

void ModifierLocationPolygonicPath::walkTo(double distance)
{
    const int count = path->getPointCount();
    const bool closed = path->isClosed();
    // Each step crosses at most every edge once; float error cannot make it spin.
    for (int guard = 0; guard <= count; ++guard) {
        const int next = path->nextIndex(currentIndex);
        const Polygon::Point& from = path->getPoint(currentIndex);
        const Polygon::Point& to = path->getPoint(next);
        const double length = std::hypot(double(to.x) - from.x, double(to.y) - from.y);
        const double along = distance - edgeStart;
        if (length > 0.0 && along <= length) {
            currentX = static_cast<float>(from.x + (double(to.x) - from.x) * along / length);
            currentY = static_cast<float>(from.y + (double(to.y) - from.y) * along / length);
            travelled = distance;
            return;
        }
        if (next == 0 && !closed) {
            // An open path ends at its last point; it never jumps back to the first.
            currentX = from.x;
            currentY = from.y;
            travelled = distance;
            return;
        }
        currentIndex = next;
        edgeStart += length;
        currentX = to.x;
        currentY = to.y;
    }
    travelled = distance;
}

void ModifierLocationPolygonicPath::step(int deltaMs)
{
    // Without a duration or a path length there is nothing to walk.
    if (duration <= 0 || pathLength <= 0.0 || !path || path->getPointCount() < 2)
        done = true;
    if (done) {
        placeOnLastPoint();
        return;
    }
    const float t = easingFunction(static_cast<float>(static_cast<double>(elapsed) / duration));
    walkTo(t * pathLength);
    if (GameNode* node = getTarget()) {
        if (moveX)
            node->setX(rounding::halfEven(currentX));
        if (moveY)
            node->setY(rounding::halfEven(currentY));
    }
    elapsed += deltaMs;
    if (elapsed >= duration) {
        if (!loop) {
            done = true;
            elapsed = duration;
        } else {
            travelled = 0.0;
            edgeStart = 0.0;
            elapsed = 0;
            done = false;
            currentIndex = startIndex;
        }
    }
}
