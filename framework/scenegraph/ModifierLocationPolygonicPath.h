#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/ModifierFraction.h"
#include "framework/scenegraph/Polygon.h"

// Moves its target along a polygon at constant speed measured along the
// path's length (optionally eased); with the loop switch it starts again
// from the start point each time the duration has passed.
class ModifierLocationPolygonicPath : public ModifierLocation {
    TT_CLASS_RECORD(ModifierLocationPolygonicPath)
public:
    ModifierLocationPolygonicPath(Polygon* path, int durationMs, bool loop, bool eased, int startIndex = 0);

    void step(int deltaMs) override;

    int getCurrentIndex() const { return currentIndex; }

private:
    void placeOnLastPoint();
    void walkTo(double distance);

    RefPointer<Polygon> path;
    double pathLength = 0.0;
    double travelled = 0.0;
    double edgeStart = 0.0;
    int currentIndex = 0;
    int startIndex = 0;
    bool loop;
};
