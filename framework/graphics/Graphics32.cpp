#include "framework/graphics/Graphics32.h"

#include <cstring>

#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/PixelMath.h"
#include "framework/graphics/TransformedBlit.h"

TT_DEFINE_RECORD(Graphics32, &Graphics::classRecord);

namespace {

// Bit position of a channel's byte in 0xAARRGGBB; -1 for numbers outside 0..3.
int channelShift(int32_t channel)
{
    switch (channel) {
    case 0:
        return 24;
    case 1:
        return 16;
    case 2:
        return 8;
    case 3:
        return 0;
    default:
        return -1;
    }
}

}  // namespace

Graphics32::Graphics32(Image* targetImage) : Graphics(targetImage) {}

void Graphics32::setPixel(int32_t x, int32_t y)
{
    if (alpha <= 0)
        return;
    writePixel(x, y, 4, [this](int32_t px, int32_t py) {
        uint32_t& d = target->row32(py)[px];
        d = alpha >= 255 ? (d & 0xFF000000u) | (colour & 0x00FFFFFFu) : pixel::blendRgb(d, colour, uint32_t(alpha));
    });
}

void Graphics32::setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y)
{
    if (alpha <= 0)
        return;
    writePixel(x, y, 4, [this, channel, value](int32_t px, int32_t py) {
        const int shift = channel >= 0 && channel <= 2 ? channelShift(channel) : 0;
        uint32_t& d = target->row32(py)[px];
        d = (d & ~(0xFFu << shift)) | ((uint32_t(value) & 0xFF) << shift);
    });
}

void Graphics32::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    drawAxisLine(x1, y1, x2, y2, 4, [this](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        if (top == bottom) {
            activeKernels().fillOpaque32(target->row32(top) + left, right - left + 1, colour);
            return;
        }
        for (int32_t y = top; y <= bottom; ++y) {
            uint32_t& d = target->row32(y)[left];
            d = (d & 0xFF000000u) | (colour & 0x00FFFFFFu);
        }
    });
}

void Graphics32::drawLineF(float x1, float y1, float x2, float y2)
{
    drawSmoothLine(x1, y1, x2, y2, 4, [this](int32_t x, int32_t y, int32_t w) {
        uint32_t& d = target->row32(y)[x];
        d = w >= 255 ? (d & 0xFF000000u) | (colour & 0x00FFFFFFu) : pixel::blendRgb(d, colour, uint32_t(w));
    });
}

void Graphics32::fillRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (alpha <= 0)
        return;
    const PixelKernels& kernels = activeKernels();
    fillRows(x, y, width, height, 4, [this, &kernels](int32_t row, int32_t left, int32_t count) {
        uint32_t* d = target->row32(row) + left;
        if (alpha >= 255)
            kernels.fillOpaque32(d, count, colour);
        else
            kernels.fillBlend32(d, count, colour, uint32_t(alpha));
    });
}

void Graphics32::fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                                 int32_t height)
{
    const int shift = channelShift(channel);
    if (shift < 0)
        return;
    const uint32_t keep = ~(0xFFu << shift), set = (uint32_t(value) & 0xFF) << shift;
    fillRows(x, y, width, height, 4, [this, keep, set](int32_t row, int32_t left, int32_t count) {
        uint32_t* d = target->row32(row) + left;
        for (int32_t i = 0; i < count; ++i)
            d[i] = (d[i] & keep) | set;
    });
}

void Graphics32::blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                      int32_t height)
{
    BlitArea area;
    if (!image || alpha <= 0 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    const int32_t sourceBytes = image->getBytesPerPixel();
    if (sourceBytes != 1 && sourceBytes != 4)
        return;
    const bool alphaChannel = image->hasAlphaChannel();
    if (sourceBytes == 4 && alphaChannel && blendMode != BlendNormal && blendMode != BlendAdditive)
        return;
    DrawLock lock(target.get(), 4, image);
    if (!lock)
        return;
    if (sourceBytes == 1 && !image->getAlphaPlane())
        return;
    const PixelKernels& kernels = activeKernels();
    const uint32_t a = uint32_t(alpha);
    for (int32_t row = 0; row < area.height; ++row) {
        uint32_t* d = target->row32(area.y + row) + area.x;
        if (sourceBytes == 1) {
            kernels.mask32(d, image->alphaRow(area.srcY + row) + area.srcX, area.width, colour, a);
            continue;
        }
        const uint32_t* s = image->row32(area.srcY + row) + area.srcX;
        if (!alphaChannel) {
            if (a >= 255)
                kernels.copyRgb32(d, s, area.width);
            else
                kernels.blendOverall32(d, s, area.width, a);
        } else if (blendMode == BlendNormal) {
            kernels.blendPerPixel32(d, s, area.width, a);
        } else {
            kernels.addPerPixel32(d, s, area.width, a);
        }
    }
}

namespace {

// The 4-byte pixel writes of the scaled and rotated blits; the destination's
// top byte stays.
struct Rgb32 {
    using Pixel = uint32_t;
    static uint32_t fromQuad(uint32_t quad) { return quad; }
    static uint32_t copy(uint32_t d, uint32_t s) { return (d & 0xFF000000u) | (s & 0x00FFFFFFu); }
    static uint32_t blend(uint32_t d, uint32_t s, uint32_t weight) { return pixel::blendRgb(d, s, weight); }
};

using transformed::WriteMode;

}  // namespace

namespace {

// One run of nearest samples of a rotated blit. The run lies in the source
// window, so every sample is read without a test.
template <WriteMode mode>
void writeRotatedNearest(uint32_t* d, const transformed::RotatedSpan& run, const uint8_t* pixels, int64_t corner,
                         int64_t pitch, uint32_t alpha)
{
    int64_t u = run.u, v = run.v;
    for (int32_t i = 0; i < run.count; ++i, u += run.stepU, v += run.stepV) {
        const int64_t offset = corner + (v >> transformed::fractionBits) * pitch + (u >> transformed::fractionBits) * 4;
        const uint32_t quad = *reinterpret_cast<const uint32_t*>(pixels + offset);
        if (mode == WriteMode::Opaque)
            d[i] = Rgb32::copy(d[i], quad);
        else
            transformed::writeSample<Rgb32>(d[i], quad, mode, alpha, false, true);
    }
}

}  // namespace

void Graphics32::blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX,
                             int32_t srcY, int32_t width, int32_t height, int32_t pivotX, int32_t pivotY)
{
    transformedBlit(image, 4, [&](Image* source, Image* destination, uint32_t a) {
        const WriteMode mode = transformed::writeModeFor(source->hasAlphaChannel(), alpha);
        const bool smooth = smoothing;
        transformed::rotatedSpans(
            angle, scale, int64_t(x) + offsetX, int64_t(y) + offsetY, srcX, srcY, width, height, pivotX, pivotY,
            source->getWidth(), source->getHeight(), drawableArea(), smooth,
            [&](const transformed::RotatedSpan& run, const transformed::SourceWindow& window) {
                uint32_t* d = destination->row32(run.y) + run.x;
                if (!smooth) {
                    // Byte offset of the rectangle's corner; the samples' offsets
                    // from it stay inside the image.
                    const int64_t corner = int64_t(srcY) * source->getPitch() + int64_t(srcX) * 4;
                    transformed::withMode(mode, [&](auto fixedMode) {
                        writeRotatedNearest<decltype(fixedMode)::value>(d, run, source->getPixels(), corner,
                                                                        source->getPitch(), a);
                    });
                    return;
                }
                int64_t u = run.u, v = run.v;
                for (int32_t i = 0; i < run.count; ++i, u += run.stepU, v += run.stepV) {
                    const int64_t su = u >> transformed::fractionBits, sv = v >> transformed::fractionBits;
                    // Neighbours outside the window repeat the nearest pixel inside it.
                    const int64_t x0 = srcX + std::max(su, window.lowX), x1 = srcX + std::min(su + 1, window.highX - 1);
                    const uint32_t* upper = source->row32(int32_t(srcY + std::max(sv, window.lowY)));
                    const uint32_t* lower = source->row32(int32_t(srcY + std::min(sv + 1, window.highY - 1)));
                    const uint32_t quad = transformed::bilinear(upper[x0], upper[x1], lower[x0], lower[x1],
                                                                transformed::weightOf(u), transformed::weightOf(v));
                    transformed::writeSample<Rgb32>(d[i], quad, mode, a, true, true);
                }
            });
    });
}

void Graphics32::blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                            int32_t x, int32_t y, int32_t width, int32_t height)
{
    transformedBlit(image, 4, [&](Image* source, Image* destination, uint32_t a) {
        const WriteMode mode = transformed::writeModeFor(source->hasAlphaChannel(), alpha);
        mixedRows[0].index = mixedRows[1].index = -1;
        previousRow = PreviousRow {};
        weightPairs.clear();
        transformed::scaled(
            srcX, srcY, srcWidth, srcHeight, source->getWidth(), source->getHeight(), int64_t(x) + offsetX,
            int64_t(y) + offsetY, width, height, drawableArea(), smoothing, scaledColumns, scaledWeights,
            [&](const transformed::ScaledRow& row) {
                // Drawn onto itself, the source changes under the blit: nothing is reused.
                if (source == destination) {
                    mixedRows[0].index = mixedRows[1].index = -1;
                    previousRow = PreviousRow {};
                }
                transformed::withMode(mode, [&](auto fixedMode) {
                    writeScaledRow<decltype(fixedMode)::value>(source, destination, row, a);
                });
            });
    });
}

const uint16_t* Graphics32::mixedRow(Image* source, const transformed::ScaledRow& row, int32_t sourceRow,
                                     int32_t keptSlot)
{
    for (int32_t slot = 0; slot < 2; ++slot)
        if (mixedRows[slot].index == sourceRow)
            return mixedRows[slot].lanes.data();
    MixedRow& fresh = mixedRows[keptSlot >= 0 ? 1 - keptSlot : (mixedRows[0].index == sourceRow + 1 ? 1 : 0)];
    fresh.index = sourceRow;
    fresh.lanes.resize(size_t(row.smoothCount) * 4);
    if (weightPairs.size() < size_t(row.smoothCount)) {
        weightPairs.resize(size_t(row.smoothCount));
        for (int32_t i = 0; i < row.smoothCount; ++i)
            weightPairs[size_t(i)] = bilinearWeightPair(row.weights[i]);
    }
    activeKernels().bilinearAcross32(fresh.lanes.data(), source->row32(sourceRow), row.columns,
                                     weightPairs.data(), row.smoothCount);
    return fresh.lanes.data();
}

template <WriteMode mode>
void Graphics32::writeScaledRow(Image* source, Image* target, const transformed::ScaledRow& row, uint32_t alpha)
{
    const PixelKernels& kernels = activeKernels();
    uint32_t* d = target->row32(row.y) + row.x;
    const uint32_t* upper = source->row32(row.sourceRow);
    int32_t i = 0;
    if (row.smoothCount > 0) {
        // Each source row is mixed across once; the target row mixes the
        // two it lies between down.
        const uint16_t* top = mixedRow(source, row, row.sourceRow, -1);
        const int32_t topSlot = mixedRows[0].index == row.sourceRow ? 0 : 1;
        const uint16_t* bottom = mixedRow(source, row, row.sourceRow + 1, topSlot);
        if (mode == WriteMode::Opaque) {
            kernels.bilinearDownRgb32(d, top, bottom, row.weightY, row.smoothCount);
        } else {
            mixedQuads.resize(size_t(row.smoothCount));
            kernels.bilinearDown32(mixedQuads.data(), top, bottom, row.weightY, row.smoothCount);
            for (; i < row.smoothCount; ++i)
                transformed::writeSample<Rgb32>(d[i], mixedQuads[size_t(i)], mode, alpha, true, false);
        }
        i = row.smoothCount;
    }
    if (mode == WriteMode::Opaque) {
        // A row that samples the same source row as the one just drawn above
        // it repeats its colours.
        const bool repeated = i == 0 && previousRow.nearestOnly && previousRow.y == row.y - 1 &&
                              previousRow.sourceRow == row.sourceRow;
        if (repeated)
            kernels.copyRgb32(d, target->row32(row.y - 1) + row.x, row.count);
        else
            kernels.scaleRowOpaque32(d + i, upper, source->getWidth(), row.columns + i, row.count - i);
        previousRow = PreviousRow {row.y, row.sourceRow, i == 0};
        return;
    }
    for (; i < row.count; ++i)
        transformed::writeSample<Rgb32>(d[i], upper[row.columns[i]], mode, alpha, false, false);
}

void Graphics32::blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                          int32_t height)
{
    BlitArea area;
    if (!image || image->getBytesPerPixel() != 4 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    DrawLock lock(target.get(), 4, image);
    if (!lock)
        return;
    for (int32_t row = 0; row < area.height; ++row)
        std::memmove(target->row32(area.y + row) + area.x, image->row32(area.srcY + row) + area.srcX,
                     size_t(area.width) * 4);
}

void Graphics32::channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                             int32_t width, int32_t height, ChannelRule rule)
{
    const int shift = channelShift(channel);
    BlitArea area;
    if (!image || shift < 0 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    const int32_t sourceBytes = image->getBytesPerPixel();
    DrawLock lock(target.get(), 4, image);
    if (!lock)
        return;
    if (sourceBytes != 4 && (sourceBytes < 1 || sourceBytes > 2 || !image->getAlphaPlane()))
        return;
    const uint32_t mask = 0xFFu << shift;
    for (int32_t row = 0; row < area.height; ++row) {
        uint32_t* d = target->row32(area.y + row) + area.x;
        const uint32_t* s32 = sourceBytes == 4 ? image->row32(area.srcY + row) + area.srcX : nullptr;
        const uint8_t* s8 = sourceBytes == 4 ? nullptr : image->alphaRow(area.srcY + row) + area.srcX;
        for (int32_t i = 0; i < area.width; ++i) {
            const uint32_t value = s32 ? (s32[i] >> shift) & 0xFF : s8[i];
            const uint32_t current = (d[i] >> shift) & 0xFF;
            if (keepsDestination(rule, value, current))
                continue;
            d[i] = (d[i] & ~mask) | (value << shift);
        }
    }
}
