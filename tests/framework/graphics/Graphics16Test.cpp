#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "framework/graphics/Graphics16.h"
#include "framework/graphics/PixelMath.h"

namespace {

struct Target16 {
    RefPointer<Image> image;
    RefPointer<Graphics> g;
    explicit Target16(uint16_t background, int width = 8, int height = 8, uint8_t plane = 0)
        : image(filled16(width, height, background, plane)), g(image->getGraphics())
    {
    }
    uint16_t at(int x, int y) const { return at16(image.get(), x, y); }
    uint8_t planeAt(int x, int y) const { return image->alphaRow(y)[x]; }
    int changed(uint16_t background) const
    {
        int count = 0;
        for (int y = 0; y < image->getHeight(); ++y)
            for (int x = 0; x < image->getWidth(); ++x)
                count += at(x, y) != background;
        return count;
    }
};

uint16_t fields(int r, int g, int b)
{
    return uint16_t((r << 11) | (g << 5) | b);
}

}  // namespace

TEST(Graphics16Test, ColourIsPackedByTruncation)
{
    Target16 t(0);
    t.g->setColour(0xFF123456);
    EXPECT_EQ(t.g->getNativeColour(), pixel::pack565(0xFF123456));
    EXPECT_EQ(t.g->getColour(), 0xFF123456u);
    t.g->setPixel(0, 0);
    EXPECT_EQ(t.at(0, 0), fields(0x12 >> 3, 0x34 >> 2, 0x56 >> 3));
}

TEST(Graphics16Test, BlendedFillRoundsEachFieldDown)
{
    Target16 t(0);
    t.g->setColour(0xFFFFFFFF);
    t.g->setAlpha(128);
    t.g->fillRect(0, 0, 2, 2);
    EXPECT_EQ(t.at(1, 1), fields(15, 31, 15));
    EXPECT_EQ(t.changed(0), 4);
}

TEST(Graphics16Test, HorizontalLineEitherDirection)
{
    Target16 a(0), b(0);
    a.g->setColour(0xFFFFFFFF);
    b.g->setColour(0xFFFFFFFF);
    a.g->drawLine(1, 2, 6, 2);
    b.g->drawLine(6, 2, 1, 2);
    EXPECT_EQ(a.changed(0), 6);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(a.at(x, 2), b.at(x, 2));
}

TEST(Graphics16Test, AdditiveWhiteOverWhiteStaysWhite)
{
    Target16 t(0xFFFF);
    RefPointer<Image> source = filled16(2, 1, 0xFFFF, 255);
    t.g->setBlendMode(Graphics::BlendAdditive);
    t.g->blit(source.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0xFFFF);
    Target16 dark(fields(1, 2, 3));
    RefPointer<Image> faint = filled16(1, 1, fields(16, 32, 16), 128);
    dark.g->setBlendMode(Graphics::BlendAdditive);
    dark.g->blit(faint.get(), 0, 0);
    const int w = (128 * 255) >> 8;
    EXPECT_EQ(dark.at(0, 0), fields(1 + ((16 * w) >> 8), 2 + ((32 * w) >> 8), 3 + ((16 * w) >> 8)));
}

TEST(Graphics16Test, ChannelWritesAreModuloTheFieldSize)
{
    Target16 t(0);
    t.g->setPixelChannel(1, 255, 0, 0);
    EXPECT_EQ(t.at(0, 0), fields(31, 0, 0));
    t.g->setPixelChannel(1, 32, 0, 0);
    EXPECT_EQ(t.at(0, 0), 0);
    t.g->setPixelChannel(2, 65, 0, 0);
    EXPECT_EQ(t.at(0, 0), fields(0, 1, 0));
    t.g->setPixelChannel(0, 99, 1, 0);
    EXPECT_EQ(t.planeAt(1, 0), 99);
    t.g->setAlpha(0);  // channel writes do not consult the alpha here
    t.g->setPixelChannel(3, 7, 2, 0);
    EXPECT_EQ(t.at(2, 0), fields(0, 0, 7));
    t.g->fillRectChannel(0, 42, 0, 1, 3, 1);
    EXPECT_EQ(t.planeAt(2, 1), 42);
}

TEST(Graphics16Test, PlaneBlitDecidesEachPixelOnItsOwn)
{
    Target16 t(fields(2, 4, 2));
    RefPointer<Image> source = filled16(4, 1, fields(30, 60, 30), 0);
    source->lock();
    source->alphaRow(0)[0] = 255;
    source->alphaRow(0)[1] = 128;
    source->unlock();
    t.g->blit(source.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), fields(30, 60, 30));  // fully covered: exact
    // At overall alpha 255 the plane byte itself is the weight.
    EXPECT_EQ(t.at(1, 0), pixel::blend565(fields(2, 4, 2), fields(30, 60, 30), 128));
    EXPECT_EQ(t.at(2, 0), fields(2, 4, 2));
    EXPECT_EQ(t.at(3, 0), fields(2, 4, 2));

    Target16 half(0);
    half.g->setAlpha(128);
    half.g->blit(source.get(), 0, 0);
    EXPECT_EQ(half.at(0, 0), pixel::blend565(0, fields(30, 60, 30), 127));
}

TEST(Graphics16Test, MaskAndOpaqueSources)
{
    Target16 t(0xFFFF);
    RefPointer<Image> mask = filledMask(2, 1, 255);
    t.g->setColour(0xFF000000);
    t.g->blit(mask.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0);
    RefPointer<Image> opaque = filled16(1, 1, 0x1234, 0, false);
    t.g->blit(opaque.get(), 3, 0);
    EXPECT_EQ(t.at(3, 0), 0x1234);
    t.g->setAlpha(128);
    t.g->blit(opaque.get(), 4, 0);
    EXPECT_EQ(t.at(4, 0), pixel::blend565(0xFFFF, 0x1234, 128));
    // 32-bit sources are not drawn into a 16-bit target.
    t.g->blit(filled32(1, 1, 0).get(), 5, 0);
    EXPECT_EQ(t.at(5, 0), 0xFFFF);
}

TEST(Graphics16Test, CopyTakesThePlaneToo)
{
    Target16 t(0, 4, 4, 0);
    RefPointer<Image> source = filled16(2, 2, 0xABCD, 77);
    t.g->blitCopy(source.get(), 1, 1);
    EXPECT_EQ(t.at(2, 2), 0xABCD);
    EXPECT_EQ(t.planeAt(2, 2), 77);
    EXPECT_EQ(t.planeAt(0, 0), 0);
}

TEST(Graphics16Test, ChannelBlitsWriteThePlane)
{
    Target16 t(0, 2, 1, 80);
    t.image->lock();
    t.image->alphaRow(0)[1] = 112;
    t.image->unlock();
    RefPointer<Image> source = filled16(2, 1, 0, 100);
    t.g->blitChannelMax(source.get(), 0, 0, 0);
    EXPECT_EQ(t.planeAt(0, 0), 100);
    EXPECT_EQ(t.planeAt(1, 0), 112);
    t.g->blitChannelMin(source.get(), 0, 0, 0);
    EXPECT_EQ(t.planeAt(1, 0), 100);
    t.g->blitChannel(filled32(2, 1, 0x05FFFFFF).get(), 2, 0, 0);
    EXPECT_EQ(t.planeAt(0, 0), 5);
    t.g->blitChannel(source.get(), 1, 0, 0);  // a plane source only for channel 0
    EXPECT_EQ(t.planeAt(0, 0), 5);

    // Nothing beyond the source's last column or row is written.
    Target16 wide(0, 3, 3, 80);
    wide.g->blitChannel(source.get(), 0, 0, 0);
    EXPECT_EQ(wide.planeAt(1, 0), 100);
    EXPECT_EQ(wide.planeAt(2, 0), 80);
    EXPECT_EQ(wide.planeAt(0, 1), 80);
    // Each row comes from its own source row.
    RefPointer<Image> rows = filled16(1, 2, 0, 10);
    rows->lock();
    rows->alphaRow(1)[0] = 20;
    rows->unlock();
    wide.g->blitChannel(rows.get(), 0, 2, 1);
    EXPECT_EQ(wide.planeAt(2, 1), 10);
    EXPECT_EQ(wide.planeAt(2, 2), 20);
}

TEST(Graphics16Test, ScaledAndRotatedEdgeCases)
{
    RefPointer<Image> source = filled16(2, 2, 0x0F0F, 255, false);
    Target16 t(0);
    t.g->blitScaled(source.get(), 0, 0, 2, 2, 0, 0, 0, 4);
    EXPECT_EQ(t.changed(0), 0);
    t.g->blitScaled(source.get(), 0, 0, 2, 2, 0, 0, 4, 4);
    EXPECT_EQ(t.changed(0), 16);
    for (double scale : {0.00009, -0.00005}) {
        Target16 none(0);
        none.g->blitRotated(source.get(), 0.7, scale, 4, 4, 0, 0, 2, 2, 1, 1);
        EXPECT_EQ(none.changed(0), 0) << scale;
    }
    Target16 drawn(0, 64, 64);
    drawn.g->blitRotated(source.get(), 0.7, 0.0001, 4, 4, 0, 0, 2, 2, 1, 1);
    Target16 big(0, 64, 64);
    big.g->blitRotated(source.get(), 0.7, 10.0, 30, 30, 0, 0, 2, 2, 1, 1);
    EXPECT_GT(big.changed(0), 100);
}

TEST(Graphics16Test, MaskAndAdditiveEdgeValues)
{
    struct Case {
        uint8_t coverage;
        int overall;
    };
    const Case cases[] = {{0, 255}, {1, 255}, {254, 255}, {255, 255}, {255, 128}, {128, 128}, {255, 1}};
    for (const Case& c : cases) {
        const uint32_t w = c.coverage == 255 && c.overall == 255 ? 256 : (c.coverage * uint32_t(c.overall)) >> 8;
        Target16 masked(fields(2, 4, 6), 1, 1);
        masked.g->setColour(0xFFFFFFFF);
        masked.g->setAlpha(c.overall);
        masked.g->blit(filledMask(1, 1, c.coverage).get(), 0, 0);
        EXPECT_EQ(masked.at(0, 0), pixel::blend565(fields(2, 4, 6), 0xFFFF, w)) << int(c.coverage) << " at " << c.overall;

        Target16 added(fields(20, 40, 20), 1, 1);
        added.g->setAlpha(c.overall);
        added.g->setBlendMode(Graphics::BlendAdditive);
        added.g->blit(filled16(1, 1, fields(16, 32, 16), c.coverage).get(), 0, 0);
        EXPECT_EQ(added.at(0, 0), pixel::add565(fields(20, 40, 20), fields(16, 32, 16), w))
            << int(c.coverage) << " at " << c.overall;
    }
    EXPECT_EQ(pixel::add565(fields(20, 40, 20), fields(16, 32, 16), 256), fields(31, 63, 31));
}
