#include "framework/graphics/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/scenegraph/Polygon.h"

TT_DEFINE_RECORD(Graphics, &BaseObject::classRecord);

Rect Rect::intersected(const Rect& other) const
{
    const int64_t left = std::max<int64_t>(x, other.x);
    const int64_t top = std::max<int64_t>(y, other.y);
    const int64_t right = std::min<int64_t>(int64_t(x) + width, int64_t(other.x) + other.width);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + height, int64_t(other.y) + other.height);
    auto clampInt = [](int64_t v) {
        return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return Rect {clampInt(left), clampInt(top), clampInt(right - left), clampInt(bottom - top)};
}

namespace {

// Nearest integer, ties to even (the default rounding mode), saturated.
int32_t roundToInt(float value)
{
    if (!(value == value))
        return 0;
    const float r = std::nearbyint(value);
    if (r >= 2147483520.0f)
        return INT32_MAX;
    if (r <= -2147483648.0f)
        return INT32_MIN;
    return int32_t(r);
}

// Bresenham from (x1, y1) to (x2, y2), both ends plotted.
template <class Plot>
void bresenham(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Plot plot)
{
    const int64_t dx = std::llabs(int64_t(x2) - x1);
    const int64_t dy = std::llabs(int64_t(y2) - y1);
    const int32_t sx = x2 < x1 ? -1 : 1;
    const int32_t sy = y2 < y1 ? -1 : 1;
    int64_t x = x1;
    int64_t y = y1;
    // Steps along the major axis; the minor one moves whenever the error
    // turns non-negative. Ends before the last point.
    auto walk = [&](int64_t& major, int64_t& minor, int64_t majorEnd, int32_t majorStep, int32_t minorStep,
                    int64_t dMajor, int64_t dMinor) {
        int64_t err = -dMajor;
        while (major != majorEnd) {
            err += 2 * dMinor;
            plot(int32_t(x), int32_t(y));
            if (err >= 0) {
                minor += minorStep;
                err -= 2 * dMajor;
            }
            major += majorStep;
        }
    };
    if (dx < dy)
        walk(y, x, y2, sy, sx, dy, dx);
    else
        walk(x, y, x2, sx, sy, dx, dy);
    plot(int32_t(x), int32_t(y));
}

}  // namespace

Graphics::Graphics(Image* targetImage) : target(targetImage)
{
    resetClip();
}

Graphics::~Graphics()
{
    target.reset();
    font.reset();
}

void Graphics::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    bresenham(x1, y1, x2, y2, [this](int32_t x, int32_t y) { setPixel(x, y); });
}

void Graphics::drawLine(const PointF& from, const PointF& to)
{
    drawLine(roundToInt(from.x), roundToInt(from.y), roundToInt(to.x), roundToInt(to.y));
}

void Graphics::drawLineChannel(int32_t channel, int32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    bresenham(x1, y1, x2, y2, [&](int32_t x, int32_t y) { setPixelChannel(channel, value, x, y); });
}

void Graphics::drawLineChannel(int32_t channel, int32_t value, const PointF& from, const PointF& to)
{
    drawLineChannel(channel, value, roundToInt(from.x), roundToInt(from.y), roundToInt(to.x), roundToInt(to.y));
}

void Graphics::drawLineF(const PointF& from, const PointF& to)
{
    drawLineF(from.x, from.y, to.x, to.y);
}

void Graphics::drawRect(const Rect& rect)
{
    drawRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::drawRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return;
    const int32_t right = x + width - 1;
    const int32_t bottom = y + height - 1;
    // Each border pixel is drawn once, also for outlines one pixel thin, so
    // that a translucent outline has no brighter corners.
    drawLine(x, y, right, y);
    if (height > 1)
        drawLine(x, bottom, right, bottom);
    if (height > 2) {
        drawLine(x, y + 1, x, bottom - 1);
        if (width > 1)
            drawLine(right, y + 1, right, bottom - 1);
    }
}

void Graphics::clear()
{
    if (target)
        fillRect(0, 0, target->getWidth(), target->getHeight());
}

void Graphics::fillRect(const Rect& rect)
{
    fillRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::fillRectChannel(int32_t channel, int32_t value, const Rect& rect)
{
    fillRectChannel(channel, value, rect.x, rect.y, rect.width, rect.height);
}

void Graphics::fillChannel(int32_t channel, int32_t value, int32_t x, int32_t y)
{
    if (target)
        fillRectChannel(channel, value, x, y, target->getWidth(), target->getHeight());
}

void Graphics::drawPolyline(const PointF* points, int32_t count, bool smooth)
{
    if (!points)
        return;
    for (int32_t i = 0; i + 1 < count; ++i) {
        const PointF& a = points[i];
        const PointF& b = points[i + 1];
        const bool axisAligned = (a.x == b.x) != (a.y == b.y);
        if (smooth && !axisAligned)
            drawLineF(a, b);
        else
            drawLine(a, b);
    }
}

void Graphics::fillPolygon(const PointF* points, int32_t count, bool smooth)
{
    if (alpha <= 0)
        return;
    Rect box;
    if (!rasterisePolygon(points, count, smooth, box))
        return;
    const int32_t savedAlpha = alpha;
    for (int32_t row = 0; row < box.height; ++row) {
        const uint8_t* cover = coverage.data() + int64_t(row) * box.width;
        const int32_t y = box.y + row;
        int32_t column = 0;
        while (column < box.width) {
            const uint8_t value = cover[column];
            if (value == 255) {
                // Whole runs go through fillRect: the same offset, clip and pixel rule.
                int32_t end = column + 1;
                while (end < box.width && cover[end] == 255)
                    ++end;
                fillRect(box.x + column, y, end - column, 1);
                column = end;
                continue;
            }
            if (value != 0) {
                alpha = (int32_t(value) * savedAlpha) >> 8;
                if (alpha > 0)
                    setPixel(box.x + column, y);
                alpha = savedAlpha;
            }
            ++column;
        }
    }
}

void Graphics::fillPolygonChannel(int32_t channel, int32_t value, const PointF* points, int32_t count, bool smooth)
{
    Rect box;
    if (!rasterisePolygon(points, count, smooth, box))
        return;
    for (int32_t row = 0; row < box.height; ++row) {
        const uint8_t* cover = coverage.data() + int64_t(row) * box.width;
        for (int32_t column = 0; column < box.width; ++column) {
            const int32_t c = cover[column];
            if (c == 255)
                setPixelChannel(channel, value, box.x + column, box.y + row);
            else if (c != 0)
                setPixelChannel(channel, (value * c) >> 8, box.x + column, box.y + row);
        }
    }
}

const std::vector<PointF>& Graphics::pointsOf(const Polygon& polygon)
{
    polygonPoints.clear();
    for (const Polygon::Point& point : polygon.getPoints())
        polygonPoints.push_back(PointF {point.x, point.y});
    return polygonPoints;
}

void Graphics::drawPolyline(const Polygon& polygon, bool smooth)
{
    const std::vector<PointF>& points = pointsOf(polygon);
    drawPolyline(points.data(), int32_t(points.size()), smooth);
}

void Graphics::fillPolygon(const Polygon& polygon, bool smooth)
{
    const std::vector<PointF>& points = pointsOf(polygon);
    fillPolygon(points.data(), int32_t(points.size()), smooth);
}

void Graphics::fillPolygonChannel(int32_t channel, int32_t value, const Polygon& polygon, bool smooth)
{
    const std::vector<PointF>& points = pointsOf(polygon);
    fillPolygonChannel(channel, value, points.data(), int32_t(points.size()), smooth);
}

bool Graphics::rasterisePolygon(const PointF* points, int32_t count, bool smooth, Rect& box)
{
    if (!points || count < 3 || !target)
        return false;
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (int32_t i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y))
            return false;
        minX = std::min<double>(minX, points[i].x);
        maxX = std::max<double>(maxX, points[i].x);
        minY = std::min<double>(minY, points[i].y);
        maxY = std::max<double>(maxY, points[i].y);
    }
    const int64_t targetWidth = target->getWidth();
    const int64_t targetHeight = target->getHeight();
    // Rows are sampled at their centres; the smoothed edge pass may touch one
    // pixel beyond the filled columns on each side.
    const int64_t firstRow = std::max<int64_t>(0, int64_t(std::ceil(minY - 0.5)));
    const int64_t lastRow = std::min<int64_t>(targetHeight - 1, int64_t(std::floor(maxY - 0.5)));
    const int64_t firstColumn = std::max<int64_t>(0, int64_t(std::floor(minX)) - 1);
    const int64_t lastColumn = std::min<int64_t>(targetWidth - 1, int64_t(std::ceil(maxX)) + 1);
    if (firstRow > lastRow || firstColumn > lastColumn)
        return false;
    box = Rect {int32_t(firstColumn), int32_t(firstRow), int32_t(lastColumn - firstColumn + 1),
                int32_t(lastRow - firstRow + 1)};
    coverage.assign(size_t(int64_t(box.width) * box.height), 0);

    vertexOrder.resize(size_t(count));
    for (int32_t i = 0; i < count; ++i)
        vertexOrder[size_t(i)] = i;
    std::stable_sort(vertexOrder.begin(), vertexOrder.end(),
                     [points](int32_t a, int32_t b) { return points[a].y < points[b].y; });

    activeEdges.clear();
    size_t nextVertex = 0;
    auto raise = [&](int64_t column, int64_t row, int32_t value) {
        if (value <= 0 || column < box.x || column >= int64_t(box.x) + box.width)
            return;
        uint8_t& cell = coverage[size_t((row - box.y) * box.width + (column - box.x))];
        cell = uint8_t(std::max<int32_t>(cell, std::min(value, 255)));
    };
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        const double centre = double(row) + 0.5;
        // Edges from vertices the row centre has passed start here if they span it.
        while (nextVertex < vertexOrder.size() && points[vertexOrder[nextVertex]].y <= centre) {
            const int32_t v = vertexOrder[nextVertex++];
            for (int32_t neighbour : {(v + 1) % count, (v + count - 1) % count}) {
                const PointF& p = points[v];
                const PointF& q = points[neighbour];
                if (q.y > centre && q.y > p.y) {
                    const double dxdy = (double(q.x) - p.x) / (double(q.y) - p.y);
                    activeEdges.push_back(Edge {p.x + dxdy * (centre - p.y), dxdy, q.y});
                }
            }
        }
        activeEdges.erase(std::remove_if(activeEdges.begin(), activeEdges.end(),
                                         [centre](const Edge& e) { return e.yEnd <= centre; }),
                          activeEdges.end());
        std::sort(activeEdges.begin(), activeEdges.end(), [](const Edge& a, const Edge& b) { return a.x < b.x; });
        uint8_t* cover = coverage.data() + (row - box.y) * box.width;
        for (size_t i = 0; i + 1 < activeEdges.size(); i += 2) {
            const int64_t from = std::max<int64_t>(box.x, int64_t(std::ceil(activeEdges[i].x - 0.5)));
            const int64_t to =
                std::min<int64_t>(int64_t(box.x) + box.width - 1, int64_t(std::floor(activeEdges[i + 1].x - 0.5)));
            for (int64_t column = from; column <= to; ++column)
                cover[column - box.x] = 255;
        }
        if (smooth) {
            for (size_t i = 0; i + 1 < activeEdges.size(); i += 2) {
                for (int side = 0; side < 2; ++side) {
                    const Edge& edge = activeEdges[i + size_t(side)];
                    const double slope = std::fabs(edge.dxdy);
                    const double x = edge.x;
                    if (slope <= 1.0) {
                        if (side == 0) {
                            const double column = std::trunc(x);
                            raise(int64_t(column), row, int32_t(255.0 * (1.0 - (x - column) - slope / 2)));
                        } else {
                            const double column = std::trunc(x - 0.000001);
                            raise(int64_t(column), row, int32_t(255.0 * (x - column + slope / 2)));
                        }
                    } else {
                        // A shallow edge crosses several pixels of the row:
                        // coverage ramps up towards the inside of the span.
                        const int64_t left = int64_t(std::floor(x - slope / 2));
                        const int64_t right = int64_t(std::floor(x + slope / 2));
                        const int64_t steps = right - left + 1;
                        if (steps > 4096)
                            continue;
                        for (int64_t k = 0; k < steps; ++k) {
                            const int64_t rank = side == 0 ? k + 1 : steps - k;
                            raise(left + k, row, int32_t(255 * rank / (steps + 1)));
                        }
                    }
                }
            }
        }
        for (Edge& edge : activeEdges)
            edge.x += edge.dxdy;
    }
    return true;
}

void Graphics::blit(Image* image, int32_t x, int32_t y, const Rect& source)
{
    blit(image, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::blit(Image* image, int32_t x, int32_t y)
{
    if (image)
        blit(image, x, y, 0, 0, image->getWidth(), image->getHeight());
}

void Graphics::blitCopy(Image* image, int32_t x, int32_t y, const Rect& source)
{
    blitCopy(image, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::blitCopy(Image* image, int32_t x, int32_t y)
{
    if (image)
        blitCopy(image, x, y, 0, 0, image->getWidth(), image->getHeight());
}

void Graphics::blitChannel(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                           int32_t width, int32_t height)
{
    channelBlit(image, channel, x, y, srcX, srcY, width, height, ChannelRule::Replace);
}

void Graphics::blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                              int32_t width, int32_t height)
{
    channelBlit(image, channel, x, y, srcX, srcY, width, height, ChannelRule::Min);
}

void Graphics::blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                              int32_t width, int32_t height)
{
    channelBlit(image, channel, x, y, srcX, srcY, width, height, ChannelRule::Max);
}

void Graphics::blitChannel(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source)
{
    blitChannel(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::blitChannel(Image* image, int32_t channel, int32_t x, int32_t y)
{
    if (image)
        blitChannel(image, channel, x, y, 0, 0, image->getWidth(), image->getHeight());
}

void Graphics::blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source)
{
    blitChannelMin(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::blitChannelMin(Image* image, int32_t channel, int32_t x, int32_t y)
{
    if (image)
        blitChannelMin(image, channel, x, y, 0, 0, image->getWidth(), image->getHeight());
}

void Graphics::blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y, const Rect& source)
{
    blitChannelMax(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::blitChannelMax(Image* image, int32_t channel, int32_t x, int32_t y)
{
    if (image)
        blitChannelMax(image, channel, x, y, 0, 0, image->getWidth(), image->getHeight());
}

void Graphics::drawText(const WString& text, int32_t x, int32_t y, const std::vector<uint32_t>& colours)
{
    if (!font)
        return;
    std::vector<LabelLine> lines(1);
    lines[0].text = text;
    lines[0].x = x + offsetX;
    lines[0].y = y + offsetY;
    drawTextLines(lines, colours);
}

void Graphics::drawText(const WString& text, int32_t x, int32_t y)
{
    drawText(text, x, y, std::vector<uint32_t> {getColour()});
}

void Graphics::drawTextLines(const std::vector<LabelLine>& lines, const std::vector<uint32_t>& colours)
{
    // Without a font there is nothing to draw text with.
    if (font)
        font->drawText(this, lines, colours);
}

void Graphics::setAlpha(int32_t value)
{
    alpha = value < 1 ? 0 : (value > 255 ? 255 : value);
}

void Graphics::setOffset(int32_t x, int32_t y)
{
    setOffsetX(x);
    setOffsetY(y);
}

void Graphics::moveOffsetX(int32_t dx)
{
    setOffsetX(getOffsetX() + dx);
}

void Graphics::moveOffsetY(int32_t dy)
{
    setOffsetY(getOffsetY() + dy);
}

void Graphics::moveOffset(int32_t dx, int32_t dy)
{
    moveOffsetX(dx);
    moveOffsetY(dy);
}

void Graphics::resetClip()
{
    clip = target ? Rect {0, 0, target->getWidth(), target->getHeight()} : Rect {};
    if (clipLimited)
        clip = clip.intersected(clipLimit);
}

void Graphics::setClipLimit(const Rect& rect)
{
    clipLimited = true;
    clipLimit = rect;
    clip = clip.intersected(rect);
}

void Graphics::clearClipLimit()
{
    clipLimited = false;
}

void Graphics::setClip(const Rect& rect)
{
    resetClip();
    intersectClip(rect);
}

void Graphics::setClip(int32_t x, int32_t y, int32_t width, int32_t height)
{
    setClip(Rect {x, y, width, height});
}

void Graphics::intersectClip(const Rect& rect)
{
    clip = clip.intersected(rect);
}

void Graphics::intersectClip(int32_t x, int32_t y, int32_t width, int32_t height)
{
    intersectClip(Rect {x, y, width, height});
}

void Graphics::setFont(BitmapFont* newFont)
{
    font = newFont;
}

bool Graphics::insideClip(int32_t x, int32_t y) const
{
    return clip.contains(x, y) && target && x >= 0 && y >= 0 && x < target->getWidth() && y < target->getHeight();
}

bool Graphics::clipFill(int32_t x, int32_t y, int32_t width, int32_t height, Rect& area) const
{
    if (!target)
        return false;
    const Rect shifted {int32_t(std::clamp<int64_t>(int64_t(x) + offsetX, INT32_MIN, INT32_MAX)),
                        int32_t(std::clamp<int64_t>(int64_t(y) + offsetY, INT32_MIN, INT32_MAX)), width, height};
    area = shifted.intersected(clip).intersected(Rect {0, 0, target->getWidth(), target->getHeight()});
    return !area.isEmpty();
}

namespace {

// One axis of the blit clipping: the source run [src, src + size) drawn at
// dest, cut to the source length, the target length and the clip span.
bool clipAxis(int64_t sourceLength, int64_t targetLength, int64_t clipStart, int64_t clipLength, int64_t& dest,
              int64_t& src, int64_t& size)
{
    if (dest >= targetLength)
        return false;
    if (src + size > sourceLength)
        size = sourceLength - src;
    if (src < 0) {
        dest -= src;
        size += src;
        src = 0;
    }
    const int64_t left = std::max<int64_t>({dest, 0, clipStart});
    const int64_t right = std::min<int64_t>({dest + size, clipStart + clipLength, targetLength});
    if (left >= right)
        return false;
    src += left - dest;
    if (src >= sourceLength)
        return false;
    dest = left;
    size = right - left;
    return true;
}

}  // namespace

bool Graphics::clipBlit(const Image& source, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                        int32_t height, BlitArea& area) const
{
    if (!target)
        return false;
    int64_t dx = int64_t(x) + offsetX, dy = int64_t(y) + offsetY;
    int64_t sx = srcX, sy = srcY, w = width, h = height;
    if (!clipAxis(source.getWidth(), target->getWidth(), clip.x, clip.width, dx, sx, w))
        return false;
    if (!clipAxis(source.getHeight(), target->getHeight(), clip.y, clip.height, dy, sy, h))
        return false;
    area = BlitArea {int32_t(dx), int32_t(dy), int32_t(sx), int32_t(sy), int32_t(w), int32_t(h)};
    return true;
}

Rect Graphics::drawableArea() const
{
    return clip.intersected(Rect {0, 0, target ? target->getWidth() : 0, target ? target->getHeight() : 0});
}

namespace {

// Cuts the run [first, last] along one axis, lying at `across` on the other,
// to `bounds` given as start and length on both axes, and orders its ends.
bool clipRun(int32_t& first, int32_t& last, int32_t across, int32_t alongStart, int32_t alongLength,
             int32_t acrossStart, int32_t acrossLength)
{
    if (alongLength <= 0 || acrossLength <= 0 || across < acrossStart || across >= acrossStart + acrossLength)
        return false;
    if (first > last)
        std::swap(first, last);
    const int32_t lowest = alongStart, highest = alongStart + alongLength - 1;
    if (last < lowest || first > highest)
        return false;
    first = std::max(first, lowest);
    last = std::min(last, highest);
    return true;
}

}  // namespace

bool Graphics::clipHorizontalRun(int32_t& x1, int32_t& x2, int32_t y) const
{
    const Rect bounds = drawableArea();
    return clipRun(x1, x2, y, bounds.x, bounds.width, bounds.y, bounds.height);
}

bool Graphics::clipVerticalRun(int32_t x, int32_t& y1, int32_t& y2) const
{
    const Rect bounds = drawableArea();
    return clipRun(y1, y2, x, bounds.y, bounds.height, bounds.x, bounds.width);
}
