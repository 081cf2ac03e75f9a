#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Geometry.h"
#include "framework/graphics/RecordingGraphics.h"

class GameNode;
class Graphics;

// Draws a scene's frames into the same buffer again only where they differ
// from the frame drawn before, so that a still screen costs next to nothing.
// A first pass writes down what the frame would draw (RecordingGraphics);
// operations that differ from the last frame's at the same place in the list
// (or, when nodes came or went, all between the operations both lists begin
// and end with) mark their old and new areas, and the frame is drawn clipped
// to those. Pixels are decided each on its own, so a clipped frame matches
// the whole one inside the clip. The frame is drawn whole when anything else
// drew into the buffer meanwhile, or when most of it changed anyway.
class ChangedAreaRenderer {
public:
    // Draws what RenderTask::renderFrame(scene, graphics, root) would draw.
    void render(GameNode* scene, Graphics* graphics, GameNode* root);
    // The target areas the last render drew (one covering the target when it
    // drew the whole frame; none when nothing had changed).
    const std::vector<Rect>& getDrawnAreas() const { return areas; }
    // Lets go of the last frame and of its buffer: the next frame is drawn whole.
    void forget();

private:
    void addArea(const Rect& area);
    // Joins areas that overlap or nearly touch; many areas become one.
    void mergeAreas();

    RefPointer<RecordingGraphics> recorder;
    std::vector<RecordingGraphics::Record> previous;
    bool havePrevious = false;
    uint64_t targetSerial = 0;
    uint32_t targetVersion = 0;
    std::vector<Rect> areas;
};
