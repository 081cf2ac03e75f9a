#pragma once

#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TransformedBlit.h"

// The drawing context of 4-byte images (0xAARRGGBB). Ordinary drawing writes
// the colour bytes and keeps the destination's top byte.
class Graphics32 : public Graphics {
    TT_CLASS_RECORD(Graphics32)
public:
    explicit Graphics32(Image* target);

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
    // Channels 0 alpha, 1 red, 2 green; any other number writes blue.
    void setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void drawLineF(float x1, float y1, float x2, float y2) override;
    void fillRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                         int32_t height) override;
    // Sources: 4-byte images and 1-byte masks.
    void blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
              int32_t height) override;
    void blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, int32_t pivotX, int32_t pivotY) override;
    void blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t x,
                    int32_t y, int32_t width, int32_t height) override;
    void blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height) override;
    uint32_t getNativeColour() const override { return getColour(); }

private:
    void channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, ChannelRule rule) override;

    template <transformed::WriteMode mode>
    void writeScaledRow(Image* source, Image* target, const transformed::ScaledRow& row, uint32_t alpha);
    // Source row `sourceRow` of a smoothed scaled blit mixed across, from
    // the two-row store; a row it has to make goes into the slot other than
    // `keptSlot` (-1: either).
    const uint16_t* mixedRow(Image* source, const transformed::ScaledRow& row, int32_t sourceRow, int32_t keptSlot);

    // Reused per call by the scaled blit.
    std::vector<int32_t> scaledColumns;
    std::vector<uint32_t> scaledWeights;
    // The source rows a smoothed scaled blit last mixed across (index -1:
    // none), and the row it mixed down.
    struct MixedRow {
        int32_t index = -1;
        std::vector<uint16_t> lanes;
    };
    MixedRow mixedRows[2];
    std::vector<uint32_t> mixedQuads;
    // The scaled blit's column weights as the pairs the mix across takes,
    // made once per blit.
    std::vector<uint32_t> weightPairs;
    // The last opaque row the scaled blit drew, and whether all of it was
    // nearest samples of that source row.
    struct PreviousRow {
        int32_t y = -1;
        int32_t sourceRow = -1;
        bool nearestOnly = false;
    };
    PreviousRow previousRow;
};
