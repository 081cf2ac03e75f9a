#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Geometry.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageLock.h"
#include "framework/graphics/LabelLine.h"
#include "framework/graphics/SmoothLine.h"

// The software drawing context over one target image. It carries the drawing
// state (colour, overall alpha, clip, offset, smoothing, blend mode, font) and
// implements everything expressible through other operations; the pixel
// routines live in Graphics32 (4 bytes per pixel) and Graphics16 (RGB565).
//
// Colours are 0xAARRGGBB; channels are numbered 0 alpha, 1 red, 2 green,
// 3 blue. Every destination coordinate is shifted by the offset and clipped;
// drawing never reports errors, whatever falls outside is simply not drawn.
class Polygon;

class Graphics : public BaseObject {
    TT_CLASS_RECORD(Graphics)
public:
    enum BlendMode : int32_t { BlendNormal = 0, BlendAdditive = 1 };
    enum Channel : int32_t { ChannelAlpha = 0, ChannelRed = 1, ChannelGreen = 2, ChannelBlue = 3 };

    explicit Graphics(Image* target);
    ~Graphics() override;

    virtual void setPixel(int32_t x, int32_t y) = 0;
    virtual void setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y) = 0;

    // Bresenham line through setPixel, both end points drawn.
    virtual void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Rounds to the nearest integer (ties to even).
    virtual void drawLine(const PointF& from, const PointF& to);
    virtual void drawLineChannel(int32_t channel, int32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void drawLineChannel(int32_t channel, int32_t value, const PointF& from, const PointF& to);
    // Antialiased line; drawn only when both rounded end points lie in the clip.
    virtual void drawLineF(float x1, float y1, float x2, float y2) = 0;
    virtual void drawLineF(const PointF& from, const PointF& to);

    virtual void drawRect(const Rect& rect);
    virtual void drawRect(int32_t x, int32_t y, int32_t width, int32_t height);
    // fillRect over the whole target (the offset applies as for fillRect).
    virtual void clear();
    virtual void fillRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void fillRect(const Rect& rect);
    virtual void fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                                 int32_t height) = 0;
    virtual void fillRectChannel(int32_t channel, int32_t value, const Rect& rect);
    virtual void fillChannel(int32_t channel, int32_t value, int32_t x, int32_t y);

    // Polylines and polygons of `count` points. The polyline never draws the
    // closing segment; the fill treats the points as a closed outline.
    virtual void drawPolyline(const PointF* points, int32_t count, bool smooth);
    virtual void fillPolygon(const PointF* points, int32_t count, bool smooth);
    virtual void fillPolygonChannel(int32_t channel, int32_t value, const PointF* points, int32_t count,
                                    bool smooth);
    // The same over a polygon's points.
    virtual void drawPolyline(const Polygon& polygon, bool smooth);
    virtual void fillPolygon(const Polygon& polygon, bool smooth);
    virtual void fillPolygonChannel(int32_t channel, int32_t value, const Polygon& polygon, bool smooth);

    // The source rectangle is in the image's own coordinates and is not offset.
    virtual void blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                      int32_t height) = 0;
    virtual void blit(Image* image, int32_t x, int32_t y, const Rect& source);
    virtual void blit(Image* image, int32_t x, int32_t y);
    // Turned by `angle` (radians, clockwise on screen) and scaled about the
    // pivot, given relative to the source rectangle's corner; the pivot lands
    // on (x + pivotX, y + pivotY).
    virtual void blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX,
                             int32_t srcY, int32_t width, int32_t height, int32_t pivotX, int32_t pivotY) = 0;
    virtual void blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                            int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // Raw copy of whole pixels; alpha, blend mode and has-alpha are ignored.
    virtual void blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                          int32_t height) = 0;
    virtual void blitCopy(Image* image, int32_t x, int32_t y, const Rect& source);
    virtual void blitCopy(Image* image, int32_t x, int32_t y);
    virtual void blitChannel(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                             int32_t width, int32_t height);
    virtual void blitChannel(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source);
    virtual void blitChannel(Image* image, int32_t channel, int32_t x, int32_t y);
    virtual void blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX,
                                int32_t srcY, int32_t width, int32_t height);
    virtual void blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source);
    virtual void blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y);
    virtual void blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX,
                                int32_t srcY, int32_t width, int32_t height);
    virtual void blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source);
    virtual void blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y);

    // Text goes through the current font; with no font set nothing is drawn.
    // One line at (x + offsetX, y + offsetY), layer k in colours[k] when present.
    virtual void drawText(const WString& text, int32_t x, int32_t y, const std::vector<uint32_t>& colours);
    // drawText with the current colour for the first layer.
    virtual void drawText(const WString& text, int32_t x, int32_t y);
    // Lines are passed unchanged: their positions are not offset.
    virtual void drawTextLines(const std::vector<LabelLine>& lines, const std::vector<uint32_t>& colours);

    virtual void setColour(uint32_t value) { colour = value; }
    virtual uint32_t getColour() const { return colour; }
    // The current colour in the target's pixel format.
    virtual uint32_t getNativeColour() const = 0;
    // Values below 1 store 0, above 255 store 255.
    virtual void setAlpha(int32_t value);
    virtual int32_t getAlpha() const { return alpha; }
    virtual void setSmoothing(bool value) { smoothing = value; }
    virtual bool isSmoothing() const { return smoothing; }
    virtual void setBlendMode(int32_t mode) { blendMode = mode; }
    virtual int32_t getBlendMode() const { return blendMode; }
    virtual void setOffsetX(int32_t value) { offsetX = value; }
    virtual int32_t getOffsetX() const { return offsetX; }
    virtual void setOffsetY(int32_t value) { offsetY = value; }
    virtual int32_t getOffsetY() const { return offsetY; }
    virtual void setOffset(int32_t x, int32_t y);
    virtual void moveOffsetX(int32_t dx);
    virtual void moveOffsetY(int32_t dy);
    virtual void moveOffset(int32_t dx, int32_t dy);
    virtual void resetClip();
    // resetClip, then intersectClip.
    virtual void setClip(const Rect& rect);
    virtual void setClip(int32_t x, int32_t y, int32_t width, int32_t height);
    virtual void intersectClip(const Rect& rect);
    virtual void intersectClip(int32_t x, int32_t y, int32_t width, int32_t height);
    virtual const Rect& getClipRect() const { return clip; }
    // Keeps every clip inside `rect`, setClip and resetClip included, until
    // clearClipLimit: a frame drawn again in part stays inside the part.
    void setClipLimit(const Rect& rect);
    void clearClipLimit();
    virtual void setFont(BitmapFont* newFont);
    virtual BitmapFont* getFont() const { return font.get(); }
    virtual Image* getTarget() const { return target.get(); }

protected:
    // The rectangles of a blit after the offset has been added, clipped against
    // the source, the target and the clip rectangle. False when nothing is left;
    // otherwise width and height are at least 1.
    struct BlitArea {
        int32_t x, y, srcX, srcY, width, height;
    };
    bool clipBlit(const Image& source, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height, BlitArea& area) const;
    // The offset rectangle intersected with the clip (and the target). False when empty.
    bool clipFill(int32_t x, int32_t y, int32_t width, int32_t height, Rect& area) const;
    // Clips an axis-aligned run (already offset) to the clip rectangle and
    // orders its ends. False when nothing is left.
    bool clipHorizontalRun(int32_t& x1, int32_t& x2, int32_t y) const;
    bool clipVerticalRun(int32_t x, int32_t& y1, int32_t& y2) const;
    bool insideClip(int32_t x, int32_t y) const;
    // The clip cut to the target's bounds.
    Rect drawableArea() const;

    // Locks the target, and the source when one is given, for one drawing
    // call. True only when every lock was taken and the target has
    // `bytesPerPixel` bytes per pixel.
    class DrawLock {
    public:
        DrawLock(Image* target, int32_t bytesPerPixel, Image* source = nullptr)
            : targetLock(target), sourceLock(source),
              ready(targetLock && (!source || sourceLock) && target->getBytesPerPixel() == bytesPerPixel)
        {
            if (ready)
                target->markChanged();
        }
        explicit operator bool() const { return ready; }

    private:
        ImageLock targetLock;
        ImageLock sourceLock;
        bool ready;
    };

    // The skeletons the pixel formats share; the lambdas they take do the
    // format's own writes and are inlined into each caller.

    // Hands the offset pixel to `write(x, y)` when it lies in the clip, with
    // the target locked.
    template <class Write>
    void writePixel(int32_t x, int32_t y, int32_t bytesPerPixel, Write write)
    {
        x += offsetX;
        y += offsetY;
        if (!insideClip(x, y))
            return;
        DrawLock lock(target.get(), bytesPerPixel);
        if (lock)
            write(x, y);
    }
    // drawLine's fast path: an opaque horizontal or vertical line is offset,
    // clipped and handed to `run(x1, y1, x2, y2)`, ends ordered, with the
    // target locked; any other line goes through Graphics::drawLine.
    template <class Run>
    void drawAxisLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t bytesPerPixel, Run run)
    {
        if ((x1 != x2 && y1 != y2) || alpha < 255) {
            Graphics::drawLine(x1, y1, x2, y2);
            return;
        }
        x1 += offsetX;
        x2 += offsetX;
        y1 += offsetY;
        y2 += offsetY;
        if (y1 == y2) {
            if (!clipHorizontalRun(x1, x2, y1))
                return;
        } else if (!clipVerticalRun(x1, y1, y2)) {
            return;
        }
        DrawLock lock(target.get(), bytesPerPixel);
        if (lock)
            run(x1, y1, x2, y2);
    }
    // drawLineF: each pixel of the offset antialiased line goes to
    // `plot(x, y, weight)` with the target locked.
    template <class Plot>
    void drawSmoothLine(float x1, float y1, float x2, float y2, int32_t bytesPerPixel, Plot plot)
    {
        if (alpha <= 0)
            return;
        DrawLock lock(target.get(), bytesPerPixel);
        if (!lock)
            return;
        const float ox = float(offsetX), oy = float(offsetY);
        smoothline::draw(x1 + ox, y1 + oy, x2 + ox, y2 + oy, clip, drawableArea(), plot);
    }
    // The scaled and rotated blits draw only from images of the target's
    // format: with both locked, `draw(source, target, alpha)`.
    template <class Draw>
    void transformedBlit(Image* image, int32_t bytesPerPixel, Draw draw)
    {
        if (!image || alpha <= 0 || image->getBytesPerPixel() != bytesPerPixel)
            return;
        DrawLock lock(target.get(), bytesPerPixel, image);
        if (lock)
            draw(image, target.get(), uint32_t(alpha));
    }
    // Each row of the offset and clipped rectangle goes to
    // `row(y, left, width)` with the target locked.
    template <class Row>
    void fillRows(int32_t x, int32_t y, int32_t width, int32_t height, int32_t bytesPerPixel, Row row)
    {
        Rect area;
        if (!clipFill(x, y, width, height, area))
            return;
        DrawLock lock(target.get(), bytesPerPixel);
        if (!lock)
            return;
        for (int32_t line = area.y; line < area.y + area.height; ++line)
            row(line, area.x, area.width);
    }

    // How the channel blits store a source value: always, or only when it is
    // below (Min) or above (Max) the destination's.
    enum class ChannelRule { Replace, Min, Max };
    // The pixel routine behind blitChannel, blitChannelMin and blitChannelMax.
    virtual void channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                             int32_t width, int32_t height, ChannelRule rule) = 0;
    static bool keepsDestination(ChannelRule rule, uint32_t value, uint32_t current)
    {
        return (rule == ChannelRule::Min && value >= current) || (rule == ChannelRule::Max && value <= current);
    }

    // Coverage rows of a polygon fill, one byte per pixel of the bounding box
    // (0 outside, 255 inside, 1..254 on smoothed edges). False when empty.
    bool rasterisePolygon(const PointF* points, int32_t count, bool smooth, Rect& box);
    std::vector<uint8_t> coverage;

    uint32_t colour = 0;
    int32_t alpha = 255;
    Rect clip;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    RefPointer<BitmapFont> font;
    RefPointer<Image> target;
    bool clipLimited = false;
    Rect clipLimit;
    bool smoothing = false;
    int32_t blendMode = BlendNormal;

private:
    struct Edge {
        double x;
        double dxdy;
        double yEnd;
    };
    std::vector<Edge> activeEdges;
    std::vector<int32_t> vertexOrder;
    std::vector<PointF> polygonPoints;
    const std::vector<PointF>& pointsOf(const Polygon& polygon);
};
