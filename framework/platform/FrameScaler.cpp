#include "framework/platform/FrameScaler.h"

#include <algorithm>
#include <cstring>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

FrameScaler::FrameScaler() = default;
FrameScaler::~FrameScaler() = default;

void FrameScaler::reset()
{
    graphics = nullptr;
    target = nullptr;
    surfacePixels = nullptr;
    surfaceWidth = surfaceHeight = surfacePitch = surfaceBytesPerPixel = 0;
    area = SurfaceRect{};
}

bool FrameScaler::adoptSurface(const WindowSurface& surface, Image* frame)
{
    reset();
    target = Image::wrap(surface.pixels, surface.width, surface.height, surface.pitch, surface.bytesPerPixel);
    if (!target)
        return false;
    graphics = target->getGraphics();
    if (!graphics) {
        target = nullptr;
        return false;
    }
    surfacePixels = surface.pixels;
    surfaceWidth = surface.width;
    surfaceHeight = surface.height;
    surfacePitch = surface.pitch;
    surfaceBytesPerPixel = surface.bytesPerPixel;
    area = fitFrame(surface.width, surface.height, frame->getWidth(), frame->getHeight());
    // Whole multiples stay sharp; between them bilinear keeps thin lines even.
    smooth = area.width % frame->getWidth() != 0 || area.height % frame->getHeight() != 0;
    graphics->setSmoothing(smooth);
    return true;
}

Image* FrameScaler::sourceFor(Image* frame, const std::vector<RowSpan>& rows)
{
    const int width = frame->getWidth(), height = frame->getHeight();
    if (!frameView || frameView->getPixels() != frame->getPixels() || frameView->getWidth() != width ||
        frameView->getHeight() != height || frameView->getBytesPerPixel() != frame->getBytesPerPixel())
        frameView = Image::wrap(frame->getPixels(), width, height, frame->getPitch(), frame->getBytesPerPixel());
    if (!frameView || frame->getBytesPerPixel() == surfaceBytesPerPixel)
        return frameView.get();

    if (!converted || converted->getWidth() != width || converted->getHeight() != height ||
        converted->getBytesPerPixel() != surfaceBytesPerPixel) {
        converted = Image::create(width, height, surfaceBytesPerPixel);
        if (!converted)
            return nullptr;
        converted->setHasAlphaChannel(false);
    }
    for (const RowSpan& span : rows) {
        for (int y = span.first; y <= span.last; ++y) {
            if (surfaceBytesPerPixel == 4) {
                // RGB565 widened by repeating each field's top bits.
                const uint16_t* s = frame->row16(y);
                uint32_t* d = converted->row32(y);
                for (int x = 0; x < width; ++x) {
                    const uint32_t p = s[x], r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
                    d[x] = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
                           ((b << 3) | (b >> 2));
                }
            } else {
                // Each channel's top bits.
                const uint32_t* s = frame->row32(y);
                uint16_t* d = converted->row16(y);
                for (int x = 0; x < width; ++x)
                    d[x] = uint16_t(((s[x] >> 8) & 0xF800u) | ((s[x] >> 5) & 0x07E0u) | ((s[x] >> 3) & 0x001Fu));
            }
        }
    }
    return converted.get();
}

void FrameScaler::fillBars(const WindowSurface& surface)
{
    const size_t bytes = size_t(surface.bytesPerPixel);
    for (int y = 0; y < surface.height; ++y) {
        uint8_t* row = surface.pixels + std::ptrdiff_t(y) * surface.pitch;
        if (y < area.y || y >= area.y + area.height) {
            std::memset(row, 0, size_t(surface.width) * bytes);
            continue;
        }
        std::memset(row, 0, size_t(area.x) * bytes);
        const int right = area.x + area.width;
        std::memset(row + size_t(right) * bytes, 0, size_t(surface.width - right) * bytes);
    }
}

void FrameScaler::copyRows(const WindowSurface& surface, Image* source, const RowSpan& rows)
{
    const int bytes = surface.bytesPerPixel;
    const size_t rowBytes = size_t(rows.right - rows.left + 1) * size_t(bytes);
    for (int y = rows.first; y <= rows.last; ++y)
        std::memcpy(surface.pixels + std::ptrdiff_t(area.y + y) * surface.pitch +
                        std::ptrdiff_t(area.x + rows.left) * bytes,
                    source->getPixels() + std::ptrdiff_t(y) * source->getPitch() + std::ptrdiff_t(rows.left) * bytes,
                    rowBytes);
    drawn.push_back({area.x + rows.left, area.y + rows.first, rows.right - rows.left + 1, rows.last - rows.first + 1});
}

void FrameScaler::scaleRows(Image* source, const RowSpan& rows)
{
    // The target pixels whose samples may touch the changed source pixels: a
    // bilinear sample reads its pixel and the next one across and down, so
    // one source pixel before the span counts, with a margin of whole target
    // pixels for the rounding of the sample positions. Drawing a few
    // unchanged pixels again is harmless.
    auto reach = [](int first, int last, int sourceSize, int targetSize, int& from, int& to) {
        const int64_t low = int64_t(first - 1) * targetSize / sourceSize - 2;
        const int64_t high = (int64_t(last + 2) * targetSize + sourceSize - 1) / sourceSize + 2;
        from = int(std::max<int64_t>(low, 0));
        to = int(std::min<int64_t>(high, targetSize - 1));
    };
    int top = 0, bottom = 0, left = 0, right = 0;
    reach(rows.first, rows.last, source->getHeight(), area.height, top, bottom);
    reach(rows.left, rows.right, source->getWidth(), area.width, left, right);
    if (top > bottom || left > right)
        return;
    SurfaceRect band{area.x + left, area.y + top, right - left + 1, bottom - top + 1};
    // A band overlapping the one before is drawn together with it.
    if (!drawn.empty() && drawn.back().y + drawn.back().height > band.y) {
        const SurfaceRect before = drawn.back();
        const int x0 = std::min(before.x, band.x), y0 = std::min(before.y, band.y);
        const int x1 = std::max(before.x + before.width, band.x + band.width);
        const int y1 = std::max(before.y + before.height, band.y + band.height);
        band = SurfaceRect{x0, y0, x1 - x0, y1 - y0};
        drawn.back() = band;
    } else {
        drawn.push_back(band);
    }
    graphics->setClip(band.x, band.y, band.width, band.height);
    graphics->blitScaled(source, 0, 0, source->getWidth(), source->getHeight(), area.x, area.y, area.width,
                         area.height);
}

const std::vector<SurfaceRect>& FrameScaler::draw(const WindowSurface& surface, Image* frame,
                                                  const std::vector<RowSpan>& changedRows, bool everything)
{
    drawn.clear();
    if (!surface.pixels || surface.width <= 0 || surface.height <= 0 || !frame || !frame->getPixels() ||
        (frame->getBytesPerPixel() != 2 && frame->getBytesPerPixel() != 4))
        return drawn;
    const bool known = target && surface.pixels == surfacePixels && surface.width == surfaceWidth &&
                       surface.height == surfaceHeight && surface.pitch == surfacePitch &&
                       surface.bytesPerPixel == surfaceBytesPerPixel;
    if (!known || surface.fresh) {
        if (!adoptSurface(surface, frame))
            return drawn;
        everything = true;
    }
    if (area.isEmpty())
        return drawn;
    allRows.assign(1, RowSpan{0, frame->getHeight() - 1});
    const std::vector<RowSpan>& rows = everything ? allRows : changedRows;
    Image* source = sourceFor(frame, rows);
    if (!source)
        return drawn;
    const bool copied = area.width == frame->getWidth() && area.height == frame->getHeight();
    for (const RowSpan& span : rows) {
        const RowSpan clipped{std::max(span.first, 0), std::min(span.last, frame->getHeight() - 1),
                              std::max(span.left, 0), std::min(span.right, frame->getWidth() - 1)};
        if (clipped.first > clipped.last || clipped.left > clipped.right)
            continue;
        if (copied)
            copyRows(surface, source, clipped);
        else
            scaleRows(source, clipped);
    }
    if (everything) {
        fillBars(surface);
        drawn.assign(1, SurfaceRect{0, 0, surface.width, surface.height});
    }
    return drawn;
}
