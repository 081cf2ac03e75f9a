#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/Graphics.h"

// A drawing context that draws nothing: every pixel operation is written down
// as a signature of all that decides its pixels (the operation, its
// arguments, the drawing state, the source picture and its content version)
// and the target area it may touch. Two frames whose lists agree at an index
// drew the same pixels there, so comparing the lists tells where a frame
// differs from the one before.
class RecordingGraphics final : public Graphics {
public:
    struct Record {
        uint64_t signature = 0;
        // Offset and clipped; empty when the operation touches nothing.
        Rect area;
    };

    // `target` gives the bounds; its pixels are never touched.
    explicit RecordingGraphics(Image* target);

    // Forgets the records and takes the drawing state of `graphics`.
    void begin(const Graphics& graphics);
    std::vector<Record>& getRecords() { return records; }

    void setPixel(int32_t x, int32_t y) override;
    void setPixelChannel(int32_t channel, int32_t value, int32_t x, int32_t y) override;
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void drawLineF(float x1, float y1, float x2, float y2) override;
    void fillRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void fillRectChannel(int32_t channel, int32_t value, int32_t x, int32_t y, int32_t width,
                         int32_t height) override;
    void blit(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
              int32_t height) override;
    void blitRotated(Image* image, double angle, double scale, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, int32_t pivotX, int32_t pivotY) override;
    void blitScaled(Image* image, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t x,
                    int32_t y, int32_t width, int32_t height) override;
    void blitCopy(Image* image, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height) override;
    uint32_t getNativeColour() const override { return getColour(); }

protected:
    void channelBlit(Image* image, int32_t channel, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                     int32_t width, int32_t height, ChannelRule rule) override;

private:
    // Starts a signature with the operation and the drawing state.
    uint64_t start(uint32_t operation) const;
    static uint64_t mix(uint64_t hash, uint64_t value);
    static uint64_t mixImage(uint64_t hash, const Image* image);
    // Records the operation touching the offset rectangle (clipped here).
    void add(uint64_t signature, int64_t x, int64_t y, int64_t width, int64_t height);

    std::vector<Record> records;
};
