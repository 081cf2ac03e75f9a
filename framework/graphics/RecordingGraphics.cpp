#include "framework/graphics/RecordingGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"

namespace {

enum Operation : uint32_t {
    OpSetPixel = 1,
    OpSetPixelChannel,
    OpLine,
    OpLineF,
    OpFill,
    OpFillChannel,
    OpBlit,
    OpRotated,
    OpScaled,
    OpCopy,
    OpChannelBlit,
};

uint64_t bitsOf(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Two coordinates (or a size) in one value to mix.
uint64_t pair(int32_t high, int32_t low)
{
    return uint64_t(uint32_t(high)) << 32 | uint32_t(low);
}

} // namespace

RecordingGraphics::RecordingGraphics(Image* target) : Graphics(target) {}

void RecordingGraphics::begin(const Graphics& graphics)
{
    records.clear();
    setColour(graphics.getColour());
    setAlpha(graphics.getAlpha());
    setSmoothing(graphics.isSmoothing());
    setBlendMode(graphics.getBlendMode());
    setOffset(graphics.getOffsetX(), graphics.getOffsetY());
    setFont(graphics.getFont());
    clearClipLimit();
    setClip(graphics.getClipRect());
}

uint64_t RecordingGraphics::mix(uint64_t hash, uint64_t value)
{
    // One word folded in: an FNV-style multiply, then the high bits spread down.
    hash ^= value;
    hash *= 0x100000001B3ull;
    return hash ^ (hash >> 29);
}

uint64_t RecordingGraphics::mixImage(uint64_t hash, const Image* image)
{
    if (!image)
        return mix(hash, 0);
    hash = mix(hash, image->getSerial());
    hash = mix(hash, image->getContentVersion());
    hash = mix(hash, uint64_t(image->getWidth()) << 32 | uint32_t(image->getHeight()));
    return mix(hash, uint64_t(image->getBytesPerPixel()) << 1 | (image->hasAlphaChannel() ? 1 : 0));
}

uint64_t RecordingGraphics::start(uint32_t operation) const
{
    uint64_t hash = 0xCBF29CE484222325ull;
    hash = mix(hash, operation);
    hash = mix(hash, uint64_t(colour) << 32 | uint32_t(alpha));
    hash = mix(hash, uint64_t(uint32_t(blendMode)) << 1 | (smoothing ? 1 : 0));
    hash = mix(hash, pair(offsetX, offsetY));
    hash = mix(hash, pair(clip.x, clip.y));
    return mix(hash, pair(clip.width, clip.height));
}

void RecordingGraphics::add(uint64_t signature, int64_t x, int64_t y, int64_t width, int64_t height)
{
    Record record;
    record.signature = signature;
    // Cut to the clip in 64 bits first, so that no far-off rectangle overflows.
    const Rect area = drawableArea();
    const int64_t left = std::max<int64_t>(x, area.x), top = std::max<int64_t>(y, area.y);
    const int64_t right = std::min<int64_t>(x + width, int64_t(area.x) + area.width);
    const int64_t bottom = std::min<int64_t>(y + height, int64_t(area.y) + area.height);
    if (right > left && bottom > top)
        record.area = Rect {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
    records.push_back(record);
}

void RecordingGraphics::setPixel(int32_t x, int32_t y)
{
    uint64_t hash = mix(start(OpSetPixel), pair(x, y));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, 1, 1);
}

void RecordingGraphics::setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y)
{
    uint64_t hash = mix(start(OpSetPixelChannel), pair(channel, value));
    hash = mix(hash, pair(x, y));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, 1, 1);
}

void RecordingGraphics::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    uint64_t hash = mix(start(OpLine), pair(x1, y1));
    hash = mix(hash, pair(x2, y2));
    const int64_t left = std::min(x1, x2), top = std::min(y1, y2);
    add(hash, left + offsetX, top + offsetY, std::abs(int64_t(x2) - x1) + 1, std::abs(int64_t(y2) - y1) + 1);
}

void RecordingGraphics::drawLineF(float x1, float y1, float x2, float y2)
{
    uint64_t hash = mix(start(OpLineF), bitsOf(x1));
    hash = mix(mix(mix(hash, bitsOf(y1)), bitsOf(x2)), bitsOf(y2));
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        add(hash, 0, 0, 0, 0);
        return;
    }
    // The smoothed edge reaches about a pixel beyond the rounded ends.
    const double left = std::floor(std::min(x1, x2)) - 2, top = std::floor(std::min(y1, y2)) - 2;
    const double right = std::ceil(std::max(x1, x2)) + 3, bottom = std::ceil(std::max(y1, y2)) + 3;
    const double limit = 1e9;
    add(hash, int64_t(std::clamp(left, -limit, limit)) + offsetX, int64_t(std::clamp(top, -limit, limit)) + offsetY,
        int64_t(std::clamp(right - left, 0.0, limit)), int64_t(std::clamp(bottom - top, 0.0, limit)));
}

void RecordingGraphics::fillRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    uint64_t hash = mix(start(OpFill), pair(x, y));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}

void RecordingGraphics::fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                                        int32_t height)
{
    uint64_t hash = mix(start(OpFillChannel), pair(channel, value));
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}

void RecordingGraphics::blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                             int32_t height)
{
    uint64_t hash = mixImage(start(OpBlit), image);
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(srcX, srcY));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}

void RecordingGraphics::blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX,
                                    int32_t srcY, int32_t width, int32_t height, int32_t pivotX, int32_t pivotY)
{
    uint64_t hash = mixImage(start(OpRotated), image);
    hash = mix(mix(hash, bitsOf(angle)), bitsOf(scale));
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(srcX, srcY));
    hash = mix(hash, pair(width, height));
    hash = mix(hash, pair(pivotX, pivotY));
    // Whatever the angle, the picture stays within its farthest corner's
    // distance from the pivot, scaled.
    const double reachX = std::max(std::abs(double(pivotX)), std::abs(double(width) - pivotX));
    const double reachY = std::max(std::abs(double(pivotY)), std::abs(double(height) - pivotY));
    const double reach = std::abs(scale) * std::sqrt(reachX * reachX + reachY * reachY);
    if (!std::isfinite(reach) || reach > 1e9) {
        add(hash, INT32_MIN, INT32_MIN, int64_t(UINT32_MAX), int64_t(UINT32_MAX));
        return;
    }
    const int64_t radius = int64_t(std::ceil(reach)) + 2;
    const int64_t centreX = int64_t(x) + pivotX + offsetX, centreY = int64_t(y) + pivotY + offsetY;
    add(hash, centreX - radius, centreY - radius, 2 * radius + 1, 2 * radius + 1);
}

void RecordingGraphics::blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                                   int32_t x, int32_t y, int32_t width, int32_t height)
{
    uint64_t hash = mixImage(start(OpScaled), image);
    hash = mix(hash, pair(srcX, srcY));
    hash = mix(hash, pair(srcWidth, srcHeight));
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}

void RecordingGraphics::blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                                 int32_t height)
{
    uint64_t hash = mixImage(start(OpCopy), image);
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(srcX, srcY));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}

void RecordingGraphics::channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                                    int32_t width, int32_t height, ChannelRule rule)
{
    uint64_t hash = mixImage(start(OpChannelBlit), image);
    hash = mix(hash, pair(channel, int32_t(rule)));
    hash = mix(hash, pair(x, y));
    hash = mix(hash, pair(srcX, srcY));
    hash = mix(hash, pair(width, height));
    add(hash, int64_t(x) + offsetX, int64_t(y) + offsetY, width, height);
}
