#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "framework/core/RefPointer.h"
#include "host/WindowSurface.h"

class Graphics;
class Image;

// Draws finished frames into the window's own surface: a plain copy where the
// surface has the frame's size, otherwise scaled as fitFrame places it
// (nearest samples at whole multiples, bilinear between them) with black bars
// around. Frames in the other pixel format are converted on the way. Only the
// parts that changed are drawn again, and only they are reported for showing.
class FrameScaler {
public:
    // Frame rows first..last and, in them, columns left..right, all included
    // (columns are cut to the frame).
    struct RowSpan {
        int first = 0;
        int last = 0;
        int left = 0;
        int right = std::numeric_limits<int>::max();
    };

    FrameScaler();
    ~FrameScaler();
    FrameScaler(const FrameScaler&) = delete;
    FrameScaler& operator=(const FrameScaler&) = delete;

    // Draws the changed rows of `frame` (4 or 2 bytes per pixel), in
    // ascending order, into the surface; `everything` (or a surface that is
    // fresh or new to the scaler) draws the whole frame and the bars. Returns
    // the surface areas drawn, empty when nothing could be drawn.
    const std::vector<SurfaceRect>& draw(const WindowSurface& surface, Image* frame,
                                         const std::vector<RowSpan>& changedRows, bool everything);
    // Forgets the surface (the window that had it is gone).
    void reset();
    // Where the frame was last placed in the surface.
    const SurfaceRect& getFrameArea() const { return area; }

private:
    bool adoptSurface(const WindowSurface& surface, Image* frame);
    Image* sourceFor(Image* frame, const std::vector<RowSpan>& rows);
    void fillBars(const WindowSurface& surface);
    void copyRows(const WindowSurface& surface, Image* source, const RowSpan& rows);
    void scaleRows(Image* source, const RowSpan& rows);

    // What the surface was when last drawn into.
    uint8_t* surfacePixels = nullptr;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    int surfacePitch = 0;
    int surfaceBytesPerPixel = 0;
    SurfaceRect area;
    bool smooth = false;
    RefPointer<Image> target;
    RefPointer<Graphics> graphics;
    // The frame drawn as opaque (its top bytes are not a coverage), and the
    // frame converted to the surface's format when the two differ.
    RefPointer<Image> frameView;
    RefPointer<Image> converted;
    std::vector<RowSpan> allRows;
    std::vector<SurfaceRect> drawn;
};
