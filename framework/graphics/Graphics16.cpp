#include "framework/graphics/Graphics16.h"

#include <cstring>

#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/PixelMath.h"
#include "framework/graphics/TransformedBlit.h"

TT_DEFINE_RECORD(Graphics16, &Graphics::classRecord);

namespace {

// RGB565 with a coverage byte as a quad: coverage on top, then the red,
// green and blue fields shifted down to 0..31, 0..63, 0..31.
inline uint32_t toQuad(uint16_t p, uint32_t coverage)
{
    return (coverage << 24) | (uint32_t(p >> 11) << 16) | (uint32_t((p >> 5) & 0x3F) << 8) | (p & 0x1F);
}

inline uint16_t fromQuad(uint32_t quad)
{
    return uint16_t((((quad >> 16) & 0x1F) << 11) | (((quad >> 8) & 0x3F) << 5) | (quad & 0x1F));
}

// The RGB565 pixel writes of the scaled and rotated blits.
struct Rgb565 {
    using Pixel = uint16_t;
    static uint16_t fromQuad(uint32_t quad) { return ::fromQuad(quad); }
    static uint16_t copy(uint16_t, uint16_t s) { return s; }
    static uint16_t blend(uint16_t d, uint16_t s, uint32_t weight) { return pixel::blend565(d, s, weight); }
};

using transformed::WriteMode;

}  // namespace

Graphics16::Graphics16(Image* targetImage) : Graphics(targetImage)
{
    setColour(colour);
}

void Graphics16::setColour(uint32_t value)
{
    Graphics::setColour(value);
    nativeColour = pixel::pack565(value);
}

void Graphics16::setPixel(int32_t x, int32_t y)
{
    if (alpha <= 0)
        return;
    writePixel(x, y, 2, [this](int32_t px, int32_t py) {
        uint16_t& d = target->row16(py)[px];
        d = alpha >= 255 ? nativeColour : pixel::blend565(d, nativeColour, uint32_t(alpha));
    });
}

void Graphics16::writeChannel(uint16_t& p, uint8_t* planeByte, int32_t channel, int32_t value) const
{
    const uint32_t v = uint32_t(value);
    switch (channel) {
    case 0:
        if (planeByte)
            *planeByte = uint8_t(v);
        break;
    case 1:
        p = uint16_t((p & 0x07FF) | ((v & 0x1F) << 11));
        break;
    case 2:
        p = uint16_t((p & 0xF81F) | ((v & 0x3F) << 5));
        break;
    case 3:
        p = uint16_t((p & 0xFFE0) | (v & 0x1F));
        break;
    default:
        break;
    }
}

void Graphics16::setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y)
{
    writePixel(x, y, 2, [this, channel, value](int32_t px, int32_t py) {
        uint8_t* plane = target->getAlphaPlane() ? target->alphaRow(py) + px : nullptr;
        writeChannel(target->row16(py)[px], plane, channel, value);
    });
}

void Graphics16::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    drawAxisLine(x1, y1, x2, y2, 2, [this](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        if (top == bottom) {
            uint16_t* d = target->row16(top);
            for (int32_t x = left; x <= right; ++x)
                d[x] = nativeColour;
            return;
        }
        for (int32_t y = top; y <= bottom; ++y)
            target->row16(y)[left] = nativeColour;
    });
}

void Graphics16::drawLineF(float x1, float y1, float x2, float y2)
{
    drawSmoothLine(x1, y1, x2, y2, 2, [this](int32_t x, int32_t y, int32_t w) {
        uint16_t& d = target->row16(y)[x];
        d = w >= 255 ? nativeColour : pixel::blend565(d, nativeColour, uint32_t(w));
    });
}

void Graphics16::fillRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (alpha <= 0)
        return;
    const PixelKernels& kernels = activeKernels();
    fillRows(x, y, width, height, 2, [this, &kernels](int32_t row, int32_t left, int32_t count) {
        uint16_t* d = target->row16(row) + left;
        if (alpha >= 255) {
            for (int32_t i = 0; i < count; ++i)
                d[i] = nativeColour;
        } else {
            kernels.fillBlend16(d, count, nativeColour, uint32_t(alpha));
        }
    });
}

void Graphics16::fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                                 int32_t height)
{
    if (channel < 0 || channel > 3)
        return;
    fillRows(x, y, width, height, 2, [this, channel, value](int32_t row, int32_t left, int32_t count) {
        if (channel == 0) {
            if (target->getAlphaPlane())
                std::memset(target->alphaRow(row) + left, value & 0xFF, size_t(count));
            return;
        }
        uint16_t* d = target->row16(row) + left;
        for (int32_t i = 0; i < count; ++i)
            writeChannel(d[i], nullptr, channel, value);
    });
}

void Graphics16::blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                      int32_t height)
{
    BlitArea area;
    if (!image || alpha <= 0 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    const int32_t sourceBytes = image->getBytesPerPixel();
    if (sourceBytes != 1 && sourceBytes != 2)
        return;
    DrawLock lock(target.get(), 2, image);
    if (!lock)
        return;
    const bool usePlane = image->hasAlphaChannel() && image->getAlphaPlane();
    if (sourceBytes == 1 && !image->getAlphaPlane())
        return;
    if (sourceBytes == 2 && usePlane && blendMode != BlendNormal && blendMode != BlendAdditive)
        return;
    const PixelKernels& kernels = activeKernels();
    const uint32_t a = uint32_t(alpha);
    for (int32_t row = 0; row < area.height; ++row) {
        uint16_t* d = target->row16(area.y + row) + area.x;
        if (sourceBytes == 1) {
            kernels.mask16(d, image->alphaRow(area.srcY + row) + area.srcX, area.width, nativeColour, a);
            continue;
        }
        const uint16_t* s = image->row16(area.srcY + row) + area.srcX;
        if (!usePlane) {
            if (a >= 255)
                std::memmove(d, s, size_t(area.width) * 2);
            else
                kernels.blendOverall16(d, s, area.width, a);
            continue;
        }
        const uint8_t* plane = image->alphaRow(area.srcY + row) + area.srcX;
        if (blendMode == BlendNormal)
            kernels.blendPlane16(d, s, plane, area.width, a);
        else
            kernels.addPlane16(d, s, plane, area.width, a);
    }
}

void Graphics16::blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX,
                             int32_t srcY, int32_t width, int32_t height, int32_t pivotX, int32_t pivotY)
{
    transformedBlit(image, 2, [&](Image* source, Image* destination, uint32_t a) {
        const bool usePlane = source->hasAlphaChannel() && source->getAlphaPlane();
        const WriteMode mode = transformed::writeModeFor(usePlane, alpha);
        transformed::rotated(
            angle, scale, int64_t(x) + offsetX, int64_t(y) + offsetY, srcX, srcY, width, height, pivotX, pivotY,
            source->getWidth(), source->getHeight(), drawableArea(), smoothing,
            [source, usePlane](int32_t sx, int32_t sy) {
                return toQuad(source->row16(sy)[sx], usePlane ? source->alphaRow(sy)[sx] : 255u);
            },
            [destination, mode, a](int32_t dx, int32_t dy, uint32_t quad, bool bilinear) {
                transformed::writeSample<Rgb565>(destination->row16(dy)[dx], quad, mode, a, bilinear, true);
            });
    });
}

namespace {

template <WriteMode mode>
void writeScaledRow16(Image* source, Image* target, const transformed::ScaledRow& row, uint32_t alpha, bool usePlane)
{
    uint16_t* d = target->row16(row.y) + row.x;
    const uint16_t* upper = source->row16(row.sourceRow);
    const uint8_t* upperPlane = usePlane ? source->alphaRow(row.sourceRow) : nullptr;
    auto quadAt = [usePlane](const uint16_t* pixels, const uint8_t* plane, int32_t sx) {
        return toQuad(pixels[sx], usePlane ? plane[sx] : 255u);
    };
    int32_t i = 0;
    if (row.smoothCount > 0) {
        const uint16_t* lower = source->row16(row.sourceRow + 1);
        const uint8_t* lowerPlane = usePlane ? source->alphaRow(row.sourceRow + 1) : nullptr;
        for (; i < row.smoothCount; ++i) {
            const int32_t sx = row.columns[i];
            const uint32_t quad = transformed::bilinear(quadAt(upper, upperPlane, sx), quadAt(upper, upperPlane, sx + 1),
                                                        quadAt(lower, lowerPlane, sx), quadAt(lower, lowerPlane, sx + 1),
                                                        row.weights[i], row.weightY);
            transformed::writeSample<Rgb565>(d[i], quad, mode, alpha, true, false);
        }
    }
    for (; i < row.count; ++i)
        transformed::writeSample<Rgb565>(d[i], quadAt(upper, upperPlane, row.columns[i]), mode, alpha, false, false);
}

}  // namespace

void Graphics16::blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                            int32_t x, int32_t y, int32_t width, int32_t height)
{
    transformedBlit(image, 2, [&](Image* source, Image* destination, uint32_t a) {
        const bool usePlane = source->hasAlphaChannel() && source->getAlphaPlane();
        const WriteMode mode = transformed::writeModeFor(usePlane, alpha);
        transformed::scaled(
            srcX, srcY, srcWidth, srcHeight, source->getWidth(), source->getHeight(), int64_t(x) + offsetX,
            int64_t(y) + offsetY, width, height, drawableArea(), smoothing, scaledColumns, scaledWeights,
            [source, destination, mode, a, usePlane](const transformed::ScaledRow& row) {
                transformed::withMode(mode, [&](auto fixedMode) {
                    writeScaledRow16<decltype(fixedMode)::value>(source, destination, row, a, usePlane);
                });
            });
    });
}

void Graphics16::blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                          int32_t height)
{
    BlitArea area;
    if (!image || image->getBytesPerPixel() != 2 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    DrawLock lock(target.get(), 2, image);
    if (!lock)
        return;
    const bool copyPlane = image->getAlphaPlane() && target->getAlphaPlane();
    for (int32_t row = 0; row < area.height; ++row) {
        std::memmove(target->row16(area.y + row) + area.x, image->row16(area.srcY + row) + area.srcX,
                     size_t(area.width) * 2);
        if (copyPlane)
            std::memmove(target->alphaRow(area.y + row) + area.x, image->alphaRow(area.srcY + row) + area.srcX,
                         size_t(area.width));
    }
}

void Graphics16::channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                             int32_t width, int32_t height, ChannelRule rule)
{
    BlitArea area;
    if (!image || channel < 0 || channel > 3 || !clipBlit(*image, x, y, srcX, srcY, width, height, area))
        return;
    const int32_t sourceBytes = image->getBytesPerPixel();
    // A plane source gives its plane only for the alpha channel.
    if (sourceBytes != 4 && (channel != 0 || (sourceBytes != 1 && sourceBytes != 2)))
        return;
    DrawLock lock(target.get(), 2, image);
    if (!lock || !target->getAlphaPlane())
        return;
    if (sourceBytes != 4 && !image->getAlphaPlane())
        return;
    for (int32_t row = 0; row < area.height; ++row) {
        uint8_t* d = target->alphaRow(area.y + row) + area.x;
        const uint32_t* s32 = sourceBytes == 4 ? image->row32(area.srcY + row) + area.srcX : nullptr;
        const uint8_t* s8 = sourceBytes == 4 ? nullptr : image->alphaRow(area.srcY + row) + area.srcX;
        for (int32_t i = 0; i < area.width; ++i) {
            const uint8_t value = s32 ? uint8_t(s32[i] >> 24) : s8[i];
            if (keepsDestination(rule, value, d[i]))
                continue;
            d[i] = value;
        }
    }
}
