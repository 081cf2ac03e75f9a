#include <gtest/gtest.h>

#include <algorithm>

#include "GraphicsTestSupport.h"
#include "framework/graphics/Graphics32.h"
#include "framework/scenegraph/Polygon.h"

namespace {

struct Target32 {
    RefPointer<Image> image;
    RefPointer<Graphics> g;
    explicit Target32(uint32_t background, int width = 8, int height = 8)
        : image(filled32(width, height, background)), g(image->getGraphics())
    {
    }
    uint32_t at(int x, int y) const { return at32(image.get(), x, y); }
};

}  // namespace

TEST(Graphics32Test, SinglePixelBlendRoundsDownAndKeepsTheTopByte)
{
    Target32 t(0x80000000);
    t.g->setColour(0xFFFF0000);
    t.g->setAlpha(128);
    t.g->setPixel(1, 1);
    EXPECT_EQ(t.at(1, 1), 0x807F0000u);

    Target32 white(0x12FFFFFF);
    white.g->setColour(0xFF000000);
    white.g->setAlpha(200);
    white.g->setPixel(0, 0);
    EXPECT_EQ(white.at(0, 0), 0x12373737u);  // 255 - 200 = 55

    white.g->setAlpha(255);
    white.g->setColour(0x00ABCDEF);
    white.g->setPixel(2, 0);
    EXPECT_EQ(white.at(2, 0), 0x12ABCDEFu);
}

TEST(Graphics32Test, AlphaIsClampedAndZeroDrawsNothing)
{
    Target32 t(0xFF000000);
    t.g->setAlpha(300);
    EXPECT_EQ(t.g->getAlpha(), 255);
    t.g->setAlpha(1);
    EXPECT_EQ(t.g->getAlpha(), 1);
    t.g->setAlpha(-5);
    EXPECT_EQ(t.g->getAlpha(), 0);
    t.g->setColour(0xFFFFFFFF);
    t.g->setPixel(0, 0);
    t.g->fillRect(0, 0, 8, 8);
    t.g->drawLine(0, 0, 7, 7);
    t.g->blit(filled32(2, 2, 0xFFFFFFFF).get(), 0, 0);
    EXPECT_EQ(countDifferent32(t.image.get(), 0xFF000000), 0);
}

TEST(Graphics32Test, FillIsClippedAndOffset)
{
    Target32 t(0, 20, 20);
    t.g->setColour(0xFF0000FF);
    t.g->setClip(5, 5, 100, 100);
    t.g->fillRect(0, 0, 10, 10);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 25);
    EXPECT_EQ(t.at(5, 5), 0x000000FFu);
    EXPECT_EQ(t.at(9, 9), 0x000000FFu);
    EXPECT_EQ(t.at(10, 10), 0u);

    Target32 shifted(0, 20, 20);
    shifted.g->setColour(0xFFFFFFFF);
    shifted.g->moveOffset(3, 4);
    shifted.g->fillRect(0, 0, 1, 1);
    EXPECT_EQ(shifted.at(3, 4), 0x00FFFFFFu);
    EXPECT_EQ(countDifferent32(shifted.image.get(), 0), 1);
}

TEST(Graphics32Test, ClipEdgesAreInclusiveLeftExclusiveRight)
{
    Target32 t(0, 20, 20);
    t.g->setColour(0xFFFFFFFF);
    t.g->setClip(4, 4, 6, 6);
    t.g->setPixel(10, 5);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 0);
    t.g->setPixel(4, 5);
    EXPECT_EQ(t.at(4, 5), 0x00FFFFFFu);
    // Lines lying on the first row or column past the clip draw nothing.
    t.g->drawLine(4, 10, 9, 10);
    t.g->drawLine(10, 4, 10, 9);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 1);
}

TEST(Graphics32Test, DisjointClipDrawsNothingUntilReset)
{
    Target32 t(0);
    t.g->setColour(0xFFFFFFFF);
    t.g->intersectClip(100, 100, 5, 5);
    EXPECT_LT(t.g->getClipRect().width, 0);
    t.g->clear();
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 0);
    t.g->resetClip();
    t.g->clear();
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 64);
}

TEST(Graphics32Test, RectangleOutlineDrawsEachBorderPixelOnce)
{
    Target32 t(0);
    t.g->setColour(0xFF202020);
    t.g->setAlpha(128);  // a pixel drawn twice would come out brighter
    t.g->drawRect(0, 0, 4, 3);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 10);
    t.g->drawRect(5, 5, 0, 2);  // no width or no height: nothing
    t.g->drawRect(5, 5, 2, 0);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 10);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool border = y == 0 || y == 2 || x == 0 || x == 3;
            EXPECT_EQ(t.at(x, y), border ? 0x00101010u : 0u) << x << "," << y;
        }
}

TEST(Graphics32Test, ThinOutlinesDrawEachPixelOnce)
{
    for (const Rect& rect : {Rect {1, 1, 1, 4}, Rect {1, 1, 4, 1}, Rect {1, 1, 4, 2}, Rect {1, 1, 1, 1}}) {
        Target32 t(0);
        t.g->setColour(0xFF202020);
        t.g->setAlpha(128);
        t.g->drawRect(rect);
        EXPECT_EQ(countDifferent32(t.image.get(), 0), rect.width * rect.height);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_TRUE(t.at(x, y) == 0 || t.at(x, y) == 0x00101010u);
    }
}

TEST(Graphics32Test, AxisLinesAreClippedTheSameAtEveryAlpha)
{
    for (int alpha : {255, 254}) {
        Target32 t(0, 10, 10);
        t.g->setColour(0xFFFFFFFF);
        t.g->setAlpha(alpha);
        t.g->setClip(2, 2, 5, 5);
        t.g->drawLine(0, 1, 9, 1);
        EXPECT_EQ(countDifferent32(t.image.get(), 0), 0) << alpha;
        t.g->drawLine(9, 3, 0, 3);
        EXPECT_EQ(countDifferent32(t.image.get(), 0), 5) << alpha;
    }
}

TEST(Graphics32Test, BresenhamDrawsBothEnds)
{
    Target32 t(0);
    t.g->setColour(0xFFFFFFFF);
    t.g->drawLine(1, 1, 6, 3);
    EXPECT_EQ(t.at(1, 1), 0x00FFFFFFu);
    EXPECT_EQ(t.at(6, 3), 0x00FFFFFFu);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 6);
}

TEST(Graphics32Test, PolylineSkipsTheClosingSegment)
{
    Target32 t(0, 10, 10);
    t.g->setColour(0xFFFFFFFF);
    const PointF points[] = {{1, 1}, {5, 1}, {5, 5}};
    t.g->drawPolyline(points, 3, false);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 9);
    EXPECT_EQ(t.at(3, 3), 0u);
}

TEST(Graphics32Test, PolygonFillCoversPixelCentresInside)
{
    Target32 t(0, 12, 12);
    t.g->setColour(0xFFFFFFFF);
    const PointF square[] = {{2, 2}, {8, 2}, {8, 6}, {2, 6}};
    t.g->fillPolygon(square, 4, false);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 24);
    EXPECT_EQ(t.at(2, 2), 0x00FFFFFFu);
    EXPECT_EQ(t.at(7, 5), 0x00FFFFFFu);
    EXPECT_EQ(t.at(8, 5), 0u);

    // The same shape drawn far off the target touches nothing and allocates
    // only its cut-down box.
    Target32 off(0, 12, 12);
    const PointF far[] = {{-1e6f, -1e6f}, {-1e6f + 5, -1e6f}, {-1e6f + 5, -1e6f + 5}};
    off.g->fillPolygon(far, 3, true);
    EXPECT_EQ(countDifferent32(off.image.get(), 0), 0);

    Target32 channel(0, 12, 12);
    channel.g->fillPolygonChannel(0, 200, square, 4, false);
    EXPECT_EQ(channel.at(3, 3), 0xC8000000u);

}

TEST(Graphics32Test, SmoothPolygonOnlyAddsPartialEdgePixels)
{
    Target32 plain(0, 16, 16), smooth(0, 16, 16);
    const PointF triangle[] = {{2.3f, 2.2f}, {13.7f, 4.1f}, {6.2f, 13.6f}};
    plain.g->setColour(0xFFFFFFFF);
    smooth.g->setColour(0xFFFFFFFF);
    plain.g->fillPolygon(triangle, 3, false);
    smooth.g->fillPolygon(triangle, 3, true);
    int extra = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (plain.at(x, y) != 0)
                EXPECT_EQ(smooth.at(x, y), plain.at(x, y));
            else
                extra += smooth.at(x, y) != 0;
        }
    EXPECT_GT(extra, 0);
    // A smoothed channel fill touches the same pixels as the smoothed colour fill.
    Target32 channel(0, 16, 16);
    channel.g->fillPolygonChannel(0, 200, triangle, 3, true);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(channel.at(x, y) != 0, smooth.at(x, y) != 0) << x << "," << y;
}

TEST(Graphics32Test, SmoothPolygonCutByTheLeftEdgeKeepsOneRunPerRow)
{
    // A convex shape covers one run of pixels in each row, also where its
    // shallow smoothed edges leave the target on the left.
    const PointF shape[] = {{-6.3f, 3.2f}, {13.7f, 1.1f}, {9.2f, 14.6f}};
    Target32 t(0, 24, 16);
    t.g->setColour(0xFFFFFFFF);
    t.g->fillPolygon(shape, 3, true);
    for (int y = 0; y < 16; ++y) {
        int runs = 0;
        for (int x = 0; x < 24; ++x)
            runs += t.at(x, y) != 0 && (x == 0 || t.at(x - 1, y) == 0);
        EXPECT_LE(runs, 1) << "row " << y;
    }
    EXPECT_NE(t.at(0, 4), 0u);
}

TEST(Graphics32Test, OverallAlphaBlitUsesAllFourBytes)
{
    Target32 t(0x40102030);
    RefPointer<Image> source = filled32(2, 1, 0xFFFFFFFF, false);
    t.g->setAlpha(128);
    t.g->blit(source.get(), 0, 0);
    // d + s*128/256 - d*128/256 per byte
    EXPECT_EQ(t.at(0, 0), uint32_t(((0x40 + 127 - 32) << 24) | ((0x10 + 127 - 8) << 16) |
                                   ((0x20 + 127 - 16) << 8) | (0x30 + 127 - 24)));
    t.g->setAlpha(255);
    RefPointer<Image> opaque = filled32(1, 1, 0x11223344, false);
    t.g->blit(opaque.get(), 3, 0);
    EXPECT_EQ(t.at(3, 0), 0x40223344u);
}

TEST(Graphics32Test, PerPixelAlphaDecidesEachPixelOnItsOwn)
{
    Target32 t(0x7F000000);
    RefPointer<Image> source = Image::create(2, 1, 4);
    source->lock();
    source->row32(0)[0] = 0xFFC8C8C8;
    source->row32(0)[1] = 0x00C8C8C8;
    source->unlock();
    t.g->blit(source.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0x7FC8C8C8u);  // fully covered: exact
    EXPECT_EQ(t.at(1, 0), 0x7F000000u);  // coverage 0: untouched

    // Clipping the partner away changes nothing.
    Target32 clipped(0x7F000000);
    clipped.g->setClip(0, 0, 1, 1);
    clipped.g->blit(source.get(), 0, 0);
    EXPECT_EQ(clipped.at(0, 0), 0x7FC8C8C8u);
}

TEST(Graphics32Test, PerPixelAlphaEdgeValues)
{
    struct Case {
        uint32_t sourceAlpha;
        int overall;
        uint32_t expected;  // over a black pixel, source colour 200
    };
    const Case cases[] = {
        {0, 255, 0},       {1, 255, 0},          {254, 255, (200 * 253) >> 8}, {255, 255, 200},
        {255, 128, (200 * 127) >> 8}, {128, 128, (200 * 64) >> 8}, {255, 1, 0}, {254, 254, (200 * 252) >> 8},
    };
    for (const Case& c : cases) {
        Target32 t(0xFF000000, 1, 1);
        RefPointer<Image> source = filled32(1, 1, (c.sourceAlpha << 24) | 0xC8C8C8);
        t.g->setAlpha(c.overall);
        t.g->blit(source.get(), 0, 0);
        const uint32_t e = c.expected;
        EXPECT_EQ(t.at(0, 0), 0xFF000000u | (e << 16) | (e << 8) | e) << c.sourceAlpha << " at " << c.overall;
    }
}

TEST(Graphics32Test, AdditiveSaturatesAndKeepsTheTopByte)
{
    Target32 t(0x33808080);
    RefPointer<Image> source = filled32(2, 1, 0xFFC0C0C0);
    t.g->setBlendMode(Graphics::BlendAdditive);
    t.g->blit(source.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0x33FFFFFFu);
    EXPECT_EQ(t.at(1, 0), 0x33FFFFFFu);

    Target32 half(0x33101010);
    RefPointer<Image> faint = filled32(1, 1, 0x80404040);
    half.g->setBlendMode(Graphics::BlendAdditive);
    half.g->setAlpha(128);
    half.g->blit(faint.get(), 0, 0);
    const uint32_t add = (0x40 * ((128 * 128) >> 8)) >> 8;
    EXPECT_EQ(half.at(0, 0), 0x33000000u | ((0x10 + add) * 0x010101u));

    Target32 other(0x33101010);
    other.g->setBlendMode(7);
    other.g->blit(faint.get(), 0, 0);
    EXPECT_EQ(other.at(0, 0), 0x33101010u);
}

TEST(Graphics32Test, MaskDrawsTheColourExactlyWhereFullyCovered)
{
    Target32 t(0x00FFFFFF);
    RefPointer<Image> mask = Image::create(3, 1, 1);
    mask->lock();
    mask->alphaRow(0)[0] = 255;
    mask->alphaRow(0)[1] = 128;
    mask->alphaRow(0)[2] = 0;
    mask->unlock();
    t.g->setColour(0xFF000000);
    t.g->blit(mask.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0x00000000u);
    EXPECT_EQ(t.at(1, 0), 0x00808080u);  // 255 - 255*127/256
    EXPECT_EQ(t.at(2, 0), 0x00FFFFFFu);
}

TEST(Graphics32Test, BlitClipsNegativeSourceAndTargetEdges)
{
    Target32 t(0, 10, 10);
    RefPointer<Image> source = filled32(6, 2, 0xFF0000FF, false);
    t.g->blit(source.get(), 2, 0, -3, 0, 6, 2);
    // Three columns narrower, starting three to the right.
    EXPECT_EQ(t.at(4, 0), 0u);
    EXPECT_EQ(t.at(5, 0), 0x000000FFu);
    EXPECT_EQ(t.at(7, 0), 0x000000FFu);
    EXPECT_EQ(t.at(8, 0), 0u);
    Target32 edge(0, 10, 10);
    edge.g->blit(source.get(), -4, 9);
    EXPECT_EQ(countDifferent32(edge.image.get(), 0), 2);
    edge.g->blit(source.get(), 10, 0);
    edge.g->blit(source.get(), 0, 0, 6, 0, 2, 2);
    edge.g->blit(source.get(), 0, 0, 0, 0, 0, 2);
    EXPECT_EQ(countDifferent32(edge.image.get(), 0), 2);
}

TEST(Graphics32Test, CopyAndChannelBlits)
{
    Target32 t(0x50505050, 4, 2);
    RefPointer<Image> source = filled32(2, 1, 0x64112233);
    t.g->setAlpha(0);  // copies and channel operations ignore the alpha
    t.g->blitCopy(source.get(), 0, 0);
    EXPECT_EQ(t.at(0, 0), 0x64112233u);
    EXPECT_EQ(t.at(1, 0), 0x64112233u);
    EXPECT_EQ(t.at(2, 0), 0x50505050u);
    EXPECT_EQ(t.at(0, 1), 0x50505050u);
    // A channel blit also stops at the source's last column.
    t.g->blitChannel(source.get(), 3, 0, 1);
    EXPECT_EQ(t.at(1, 1), 0x50505033u);
    EXPECT_EQ(t.at(2, 1), 0x50505050u);
    // A 16-bit source gives its alpha plane.
    RefPointer<Image> planed = filled16(1, 1, 0x1234, 0x77);
    t.g->blitChannel(planed.get(), 0, 3, 1);
    EXPECT_EQ(t.at(3, 1), 0x77505050u);

    RefPointer<Image> plane = Image::create(2, 1, 1);
    plane->lock();
    plane->alphaRow(0)[0] = 100;
    plane->alphaRow(0)[1] = 100;
    plane->unlock();
    Target32 max(0x50000000, 2, 1);
    max.image->lock();
    max.image->row32(0)[1] = 0x70000000;
    max.image->unlock();
    max.g->blitChannelMax(plane.get(), 0, 0, 0);
    EXPECT_EQ(max.at(0, 0), 0x64000000u);
    EXPECT_EQ(max.at(1, 0), 0x70000000u);
    max.g->blitChannelMax(plane.get(), 2, 0, 0);
    EXPECT_EQ(max.at(0, 0), 0x64006400u);
    max.g->blitChannelMin(plane.get(), 0, 0, 0);
    EXPECT_EQ(max.at(1, 0) >> 24, 0x64u);
    max.g->blitChannel(source.get(), 3, 0, 0);
    EXPECT_EQ(max.at(0, 0) & 0xFF, 0x33u);
    max.g->blitChannel(source.get(), 4, 0, 0);
    EXPECT_EQ(max.at(0, 0) & 0xFF, 0x33u);
}

TEST(Graphics32Test, ChannelWrites)
{
    Target32 t(0x11223344, 3, 1);
    t.g->setPixelChannel(1, 0x1FF, 0, 0);
    EXPECT_EQ(t.at(0, 0), 0x11FF3344u);
    t.g->setPixelChannel(9, 0xAB, 1, 0);  // any other channel writes blue
    EXPECT_EQ(t.at(1, 0), 0x112233ABu);
    t.g->setPixelChannel(2, 0x55, 1, 0);
    EXPECT_EQ(t.at(1, 0), 0x112255ABu);
    t.g->fillRectChannel(0, 0xEE, 0, 0, 3, 1);
    EXPECT_EQ(t.at(2, 0), 0xEE223344u);
    t.g->fillRectChannel(4, 0x00, 0, 0, 3, 1);
    EXPECT_EQ(t.at(2, 0), 0xEE223344u);
    t.g->fillChannel(2, 0x99, 0, 0);
    EXPECT_EQ(t.at(2, 0), 0xEE229944u);
    t.g->setAlpha(0);
    t.g->setPixelChannel(3, 0, 2, 0);
    EXPECT_EQ(t.at(2, 0), 0xEE229944u);
}

TEST(Graphics32Test, ScaledBlitRepeatsSourcePixels)
{
    RefPointer<Image> source = Image::create(2, 2, 4);
    source->setHasAlphaChannel(false);
    source->lock();
    source->row32(0)[0] = 1;
    source->row32(0)[1] = 2;
    source->row32(1)[0] = 3;
    source->row32(1)[1] = 4;
    source->unlock();
    Target32 t(0, 4, 4);
    t.g->blitScaled(source.get(), 0, 0, 2, 2, 0, 0, 4, 4);
    const uint32_t expected[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(t.at(x, y), expected[y][x]);
    Target32 none(0, 4, 4);
    none.g->blitScaled(source.get(), 0, 0, 2, 2, 0, 0, 0, 4);
    EXPECT_EQ(countDifferent32(none.image.get(), 0), 0);
}

TEST(Graphics32Test, ScaledBlitReadsOnlyInsideTheImage)
{
    // A source rectangle reaching past the image draws only what exists, and
    // far source coordinates do not wrap around.
    RefPointer<Image> source = filled32(4, 4, 0xFF00FF00, false);
    Target32 t(0, 8, 8);
    t.g->blitScaled(source.get(), 2, 2, 4, 4, 0, 0, 8, 8);
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 16);
    Target32 far(0, 8, 8);
    far.g->blitScaled(source.get(), 3000, 0, 4, 4, 0, 0, 8, 8);
    EXPECT_EQ(countDifferent32(far.image.get(), 0), 0);
    far.g->setSmoothing(true);
    far.g->blitScaled(source.get(), -2, -2, 4, 4, 0, 0, 8, 8);
    EXPECT_EQ(countDifferent32(far.image.get(), 0), 16);
}

TEST(Graphics32Test, ScaledBlitSamplesFarSourceColumns)
{
    // Source columns beyond 2048 in 12.20 fixed point would overflow 32 bits.
    RefPointer<Image> source = filled32(4000, 1, 0, false);
    source->lock();
    source->row32(0)[3999] = 0x123456;
    source->row32(0)[2500] = 0x654321;
    source->unlock();
    Target32 t(0, 2, 1);
    t.g->blitScaled(source.get(), 2500, 0, 1500, 1, 0, 0, 2, 1);
    EXPECT_EQ(t.at(0, 0), 0x654321u);
    Target32 last(0, 1, 1);
    last.g->blitScaled(source.get(), 3999, 0, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(last.at(0, 0), 0x123456u);
}

TEST(Graphics32Test, RotatedBlitAboutThePivot)
{
    RefPointer<Image> source = Image::create(3, 2, 4);
    source->setHasAlphaChannel(false);
    source->lock();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source->row32(y)[x] = uint32_t(1 + x + 3 * y);
    source->unlock();

    Target32 plain(0, 10, 10);
    plain.g->blitRotated(source.get(), 0.0, 1.0, 4, 4, 0, 0, 3, 2, 1, 1);
    EXPECT_EQ(plain.at(4, 4), 1u);
    EXPECT_EQ(plain.at(6, 5), 6u);
    EXPECT_EQ(countDifferent32(plain.image.get(), 0), 6);

    // A quarter turn clockwise about the pivot (1, 1): the pivot pixel stays at (5, 5).
    Target32 turned(0, 10, 10);
    turned.g->blitRotated(source.get(), 1.5707963267948966, 1.0, 4, 4, 0, 0, 3, 2, 1, 1);
    EXPECT_EQ(countDifferent32(turned.image.get(), 0), 6);
    EXPECT_EQ(turned.at(4, 5), 5u);
    EXPECT_EQ(turned.at(4, 6), 6u);
    EXPECT_EQ(turned.at(5, 5), 2u);

    for (double scale : {0.00005, -0.00009, 0.0}) {
        Target32 tiny(0, 10, 10);
        tiny.g->blitRotated(source.get(), 0.3, scale, 4, 4, 0, 0, 3, 2, 1, 1);
        EXPECT_EQ(countDifferent32(tiny.image.get(), 0), 0) << scale;
    }
}

TEST(Graphics32Test, RotatedBlitReadsOnlyInsideTheImage)
{
    RefPointer<Image> source = filled32(4, 4, 0xFF808080, false);
    for (bool smooth : {false, true}) {
        Target32 t(0, 16, 16);
        t.g->setSmoothing(smooth);
        t.g->blitRotated(source.get(), 0.5, 1.5, 8, 8, -2, -2, 8, 8, 4, 4);
        t.g->blitRotated(source.get(), 0.5, 1.5, 8, 8, 100000, 0, 8, 8, 4, 4);
        EXPECT_GT(countDifferent32(t.image.get(), 0), 0);
    }
}

TEST(Graphics32Test, TextWithoutAFontDrawsNothing)
{
    Target32 t(0);
    t.g->drawText(u"hello", 1, 1);
    t.g->drawTextLines({LabelLine {u"x", 0, 0, 0}}, {0xFFFFFFFF});
    EXPECT_EQ(countDifferent32(t.image.get(), 0), 0);
}

TEST(Graphics32Test, SmoothLineStaysInsideTheClip)
{
    Target32 t(0, 16, 16);
    t.g->setColour(0xFFFFFFFF);
    t.g->drawLineF(2.0f, 3.0f, 13.0f, 9.0f);
    EXPECT_GT(countDifferent32(t.image.get(), 0), 10);
    Target32 clipped(0, 16, 16);
    clipped.g->setColour(0xFFFFFFFF);
    clipped.g->setClip(0, 0, 8, 16);
    clipped.g->drawLineF(2.0f, 3.0f, 13.0f, 9.0f);  // an end outside: nothing
    EXPECT_EQ(countDifferent32(clipped.image.get(), 0), 0);
}

TEST(Graphics32Test, PolygonObjectsDrawLikeTheirPoints)
{
    RefPointer<Polygon> polygon(new Polygon());
    polygon->addPoint(2, 2);
    polygon->addPoint(8, 2);
    polygon->addPoint(5, 7);
    Target32 byObject(0, 12, 12), byPoints(0, 12, 12);
    byObject.g->setColour(0xFFFFFFFF);
    byPoints.g->setColour(0xFFFFFFFF);
    byObject.g->fillPolygon(*polygon, true);
    byObject.g->drawPolyline(*polygon, false);
    const PointF points[] = {{2, 2}, {8, 2}, {5, 7}};
    byPoints.g->fillPolygon(points, 3, true);
    byPoints.g->drawPolyline(points, 3, false);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(byObject.at(x, y), byPoints.at(x, y));
    EXPECT_GT(countDifferent32(byObject.image.get(), 0), 10);
}

TEST(Graphics32Test, ScaledSamplingPositionsWhenShrinking)
{
    // Five source columns onto three: steps of 5/3 from the left edge give
    // columns 0, 1 and 3.
    RefPointer<Image> source = Image::create(5, 1, 4);
    source->setHasAlphaChannel(false);
    source->lock();
    for (int x = 0; x < 5; ++x)
        source->row32(0)[x] = uint32_t(10 + x);
    source->unlock();
    Target32 t(0, 3, 1);
    t.g->blitScaled(source.get(), 0, 0, 5, 1, 0, 0, 3, 1);
    EXPECT_EQ(t.at(0, 0), 10u);
    EXPECT_EQ(t.at(1, 0), 11u);
    EXPECT_EQ(t.at(2, 0), 13u);
    // Clipping the target's left pixel away keeps the others where they were.
    Target32 clipped(0, 3, 1);
    clipped.g->setClip(1, 0, 2, 1);
    clipped.g->blitScaled(source.get(), 0, 0, 5, 1, 0, 0, 3, 1);
    EXPECT_EQ(clipped.at(0, 0), 0u);
    EXPECT_EQ(clipped.at(1, 0), 11u);
    EXPECT_EQ(clipped.at(2, 0), 13u);
}

TEST(Graphics32Test, SmoothedScalingMixesNeighboursAndCopiesTheLastColumn)
{
    RefPointer<Image> source = Image::create(2, 2, 4);
    source->setHasAlphaChannel(false);
    source->lock();
    source->row32(0)[0] = 0x000000;
    source->row32(0)[1] = 0x0000FF;
    source->row32(1)[0] = 0x000000;
    source->row32(1)[1] = 0x0000FF;
    source->unlock();
    Target32 t(0, 4, 2);
    t.g->setSmoothing(true);
    t.g->blitScaled(source.get(), 0, 0, 2, 2, 0, 0, 4, 2);
    // Row 0 samples x = 0, 0.5, 1, 1.5: mixed, then the last column taken as it is.
    EXPECT_EQ(t.at(0, 0) & 0xFF, 0u);
    EXPECT_NEAR(int(t.at(1, 0) & 0xFF), 127, 1);
    EXPECT_EQ(t.at(2, 0) & 0xFF, 0xFFu);
    EXPECT_EQ(t.at(3, 0) & 0xFF, 0xFFu);
}

TEST(Graphics32Test, SmoothedScalingKeepsNothingFromTheBlitBefore)
{
    // Blits of different widths and steps one after the other through the
    // same graphics draw what each draws through a graphics of its own.
    RefPointer<Image> source = Image::create(7, 5, 4);
    source->setHasAlphaChannel(false);
    source->lock();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            source->row32(y)[x] = uint32_t(x * 37 + y * 51) * 0x010305u;
    source->unlock();
    struct Blit {
        int srcWidth, x, width, height;
    };
    const Blit blits[] = {{7, 0, 19, 9}, {5, 2, 23, 11}, {3, 9, 6, 4}};
    Target32 shared(0xFF102030, 32, 12);
    Target32 separate(0xFF102030, 32, 12);
    for (const Blit& b : blits) {
        shared.g->setSmoothing(true);
        shared.g->blitScaled(source.get(), 0, 0, b.srcWidth, 5, b.x, 0, b.width, b.height);
        RefPointer<Graphics> own = separate.image->getGraphics();
        own->setSmoothing(true);
        own->blitScaled(source.get(), 0, 0, b.srcWidth, 5, b.x, 0, b.width, b.height);
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(shared.at(x, y), separate.at(x, y)) << x << "," << y;
}

TEST(Graphics32Test, RotatedPerPixelAlphaUsesTheCutOffs)
{
    // Weights of 5 or less leave the pixel, above 250 copy it, between blend.
    for (uint32_t coverage : {5u, 6u, 128u, 251u, 252u}) {
        RefPointer<Image> source = filled32(1, 1, (coverage << 24) | 0xC8C8C8);
        Target32 t(0xFF000000, 3, 3);
        t.g->blitRotated(source.get(), 0.0, 1.0, 1, 1, 0, 0, 1, 1, 0, 0);
        const uint32_t e = (coverage * 255) >> 8;
        const uint32_t expected = e <= 5 ? 0 : e > 250 ? 0xC8 : (0xC8 * e) >> 8;
        EXPECT_EQ(t.at(1, 1), 0xFF000000u | expected * 0x010101u) << coverage;
    }
}

TEST(Graphics32Test, MaskAndAdditiveEdgeValues)
{
    const uint8_t coverages[] = {0, 1, 128, 254, 255};
    for (int overall : {1, 128, 255}) {
        for (uint8_t coverage : coverages) {
            const uint32_t e = (coverage * uint32_t(overall)) >> 8;
            const bool full = coverage == 255 && overall == 255;
            Target32 masked(0x40404040, 1, 1);
            masked.g->setColour(0xFFC0C0C0);
            masked.g->setAlpha(overall);
            masked.g->blit(filledMask(1, 1, coverage).get(), 0, 0);
            const uint32_t blended = full ? 0xC0 : 0x40 + ((0x80 * e) >> 8);
            EXPECT_EQ(masked.at(0, 0), 0x40000000u | blended * 0x010101u) << int(coverage) << " at " << overall;

            Target32 added(0x40404040, 1, 1);
            added.g->setAlpha(overall);
            added.g->setBlendMode(Graphics::BlendAdditive);
            added.g->blit(filled32(1, 1, uint32_t(coverage) << 24 | 0xD0D0D0).get(), 0, 0);
            const uint32_t sum = std::min<uint32_t>(255, 0x40 + (full ? 0xD0 : (0xD0 * e) >> 8));
            EXPECT_EQ(added.at(0, 0), 0x40000000u | sum * 0x010101u) << int(coverage) << " at " << overall;
        }
    }
}
