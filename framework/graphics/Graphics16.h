#pragma once

#include <vector>

#include "framework/graphics/Graphics.h"

// The drawing context of 2-byte images: RGB565 words plus an alpha plane of
// one byte per pixel. Channel writes to red, green and blue store the value
// modulo the field's size; channel 0 writes the alpha plane.
class Graphics16 : public Graphics {
    TT_CLASS_RECORD(Graphics16)
public:
    explicit Graphics16(Image* target);

    using Graphics::blit;
    using Graphics::blitCopy;
    using Graphics::drawLine;
    using Graphics::drawLineF;
    using Graphics::fillRect;
    using Graphics::fillRectChannel;
    using Graphics::drawPolyline;
    using Graphics::fillPolygon;
    using Graphics::fillPolygonChannel;

    void setPixel(int32_t x, int32_t y) override;
    void setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void drawLineF(float x1, float y1, float x2, float y2) override;
    void fillRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                         int32_t height) override;
    // Sources: 2-byte images and 1-byte masks.
    void blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
              int32_t height) override;
    void blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, int32_t pivotX, int32_t pivotY) override;
    void blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t x,
                    int32_t y, int32_t width, int32_t height) override;
    // Copies the colour words and, when both images have one, the alpha plane.
    void blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height) override;
    void setColour(uint32_t value) override;
    // The colour packed to RGB565.
    uint32_t getNativeColour() const override { return nativeColour; }

private:
    // The channel blits write the target's alpha plane: from a 4-byte source
    // its alpha byte, from a 1- or 2-byte source its plane (channel 0 only).
    void channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, ChannelRule rule) override;
    void writeChannel(uint16_t& pixel, uint8_t* planeByte, int32_t channel, int32_t value) const;

    uint16_t nativeColour = 0;
    // Reused per call by the scaled blit.
    std::vector<int32_t> scaledColumns;
    std::vector<uint32_t> scaledWeights;
};
