#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "framework/platform/FrameScaler.h"

namespace {

// A window surface in memory, filled with a colour that is not black so that
// undrawn bars show.
struct TestSurface {
    TestSurface(int width, int height, int bytesPerPixel)
        : pixels(size_t(width) * height * bytesPerPixel + 64, 0xA5)
    {
        surface.pixels = pixels.data();
        surface.width = width;
        surface.height = height;
        surface.bytesPerPixel = bytesPerPixel;
        // Rows padded, as a display's may be.
        surface.pitch = width * bytesPerPixel;
        surface.fresh = true;
    }
    uint32_t at32(int x, int y) const
    {
        uint32_t value;
        std::memcpy(&value, &pixels[size_t(y) * surface.pitch + size_t(x) * 4], 4);
        return value & 0x00FFFFFFu;
    }
    uint16_t at16(int x, int y) const
    {
        uint16_t value;
        std::memcpy(&value, &pixels[size_t(y) * surface.pitch + size_t(x) * 2], 2);
        return value;
    }
    std::vector<uint8_t> pixels;
    WindowSurface surface;
};

// An 800 x 600 frame of seeded noise in blocks, so that bilinear and nearest
// samples both see edges.
RefPointer<Image> noiseFrame(int bytesPerPixel, uint32_t seed)
{
    RefPointer<Image> frame = Image::create(800, 600, bytesPerPixel);
    std::mt19937 random(seed);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint32_t block = (uint32_t(x / 7) * 2654435761u) ^ (uint32_t(y / 5) * 40503u) ^ seed;
            const uint32_t colour = (x + y) % 11 == 0 ? random() : block * 2246822519u;
            if (bytesPerPixel == 4)
                frame->row32(y)[x] = colour | 0xFF000000u;
            else
                frame->row16(y)[x] = uint16_t(colour);
        }
    return frame;
}

std::vector<FrameScaler::RowSpan> allRows()
{
    return {{0, 599}};
}

bool barsAreBlack(const TestSurface& target, const SurfaceRect& area)
{
    for (int y = 0; y < target.surface.height; ++y)
        for (int x = 0; x < target.surface.width; ++x) {
            const bool inside = x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
            const uint32_t pixel = target.surface.bytesPerPixel == 4 ? target.at32(x, y) : target.at16(x, y);
            if (!inside && pixel != 0)
                return false;
        }
    return true;
}

TEST(FrameScaler, PlacesTheFrameBetweenBlackBarsWithItsAspect)
{
    struct Case {
        int width, height;
        SurfaceRect area;
    };
    const Case cases[] = {
        {800, 600, {0, 0, 800, 600}},       {1024, 768, {0, 0, 1024, 768}},    {1280, 720, {160, 0, 960, 720}},
        {1366, 768, {171, 0, 1024, 768}},   {1280, 1024, {0, 32, 1280, 960}},  {1600, 1200, {0, 0, 1600, 1200}},
        {640, 480, {0, 0, 640, 480}},       {1920, 1080, {240, 0, 1440, 1080}}, {801, 600, {0, 0, 800, 600}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.width) + " x " + std::to_string(test.height));
        TestSurface target(test.width, test.height, 4);
        RefPointer<Image> frame = noiseFrame(4, 1);
        FrameScaler scaler;
        const std::vector<SurfaceRect>& drawn = scaler.draw(target.surface, frame.get(), allRows(), false);
        EXPECT_EQ(scaler.getFrameArea(), test.area);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0], (SurfaceRect{0, 0, test.width, test.height})) << "a fresh surface is shown whole";
        EXPECT_TRUE(barsAreBlack(target, test.area));
        // The frame's corners land in the area's corners (shrunk, the last
        // sample lies between the last two pixels).
        const SurfaceRect& a = test.area;
        EXPECT_EQ(target.at32(a.x, a.y), frame->row32(0)[0] & 0xFFFFFFu);
        if (a.width >= 800) {
            EXPECT_EQ(target.at32(a.x + a.width - 1, a.y + a.height - 1), frame->row32(599)[799] & 0xFFFFFFu);
        }
    }
}

TEST(FrameScaler, WholeMultiplesRepeatPixelsAndOtherSizesKeepFlatAreasExact)
{
    RefPointer<Image> frame = noiseFrame(4, 2);
    {
        TestSurface target(1600, 1200, 4);
        FrameScaler scaler;
        scaler.draw(target.surface, frame.get(), allRows(), false);
        for (int y = 0; y < 600; y += 37)
            for (int x = 0; x < 800; x += 29)
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        ASSERT_EQ(target.at32(2 * x + dx, 2 * y + dy), frame->row32(y)[x] & 0xFFFFFFu);
    }
    // A flat square stays its exact colour inside, and its edge is a mix.
    for (int y = 200; y < 300; ++y)
        for (int x = 300; x < 400; ++x)
            frame->row32(y)[x] = 0xFF336699u;
    TestSurface target(1280, 720, 4);
    FrameScaler scaler;
    scaler.draw(target.surface, frame.get(), allRows(), false);
    // Frame (350, 250) at scale 1.2 beside a bar of 160.
    EXPECT_EQ(target.at32(160 + 420, 300), 0x336699u);
    EXPECT_EQ(target.at32(160 + 365, 245), 0x336699u);
}

TEST(FrameScaler, FramesOfTheOtherDepthAreConverted)
{
    RefPointer<Image> frame16 = Image::create(800, 600, 2);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            frame16->row16(y)[x] = 0xF81F; // magenta: 31, 0, 31
    frame16->row16(10)[20] = 0x07E0;       // green: 0, 63, 0
    TestSurface wide(800, 600, 4);
    FrameScaler scaler;
    scaler.draw(wide.surface, frame16.get(), allRows(), false);
    EXPECT_EQ(wide.at32(0, 0), 0xFF00FFu) << "fields widened by repeating their top bits";
    EXPECT_EQ(wide.at32(20, 10), 0x00FF00u);

    RefPointer<Image> frame32 = Image::create(800, 600, 4);
    frame32->row32(0)[0] = 0xFFFF8040u;
    TestSurface narrow(1024, 768, 2);
    FrameScaler narrowScaler;
    narrowScaler.draw(narrow.surface, frame32.get(), allRows(), false);
    EXPECT_EQ(narrow.at16(0, 0), uint16_t((31 << 11) | (32 << 5) | 8));
}

// A frame of another size over the same pixels (a back buffer reused) is
// read at its own size, as a scaler meeting it first would read it.
TEST(FrameScaler, AFrameOfAnotherSizeOverTheSamePixelsIsReadAtItsOwnSize)
{
    RefPointer<Image> whole = noiseFrame(4, 5);
    struct Size {
        int width, height;
    };
    for (const Size size : {Size {800, 300}, Size {400, 600}}) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        RefPointer<Image> part = Image::wrap(whole->getPixels(), size.width, size.height, whole->getPitch(), 4);
        const std::vector<FrameScaler::RowSpan> rows = {{0, size.height - 1}};
        FrameScaler reused;
        TestSurface first(1024, 768, 4);
        reused.draw(first.surface, whole.get(), allRows(), true);
        TestSurface again(1024, 768, 4);
        reused.draw(again.surface, part.get(), rows, true);
        FrameScaler fresh;
        TestSurface expected(1024, 768, 4);
        fresh.draw(expected.surface, part.get(), rows, true);
        EXPECT_TRUE(again.pixels == expected.pixels);
    }
}

// Drawing only the rows that changed must leave the surface exactly as
// drawing the whole frame again would, and report only their part.
TEST(FrameScaler, ChangedRowsAloneGiveTheSamePictureAsAWholeFrame)
{
    struct Case {
        int width, height, bytesPerPixel, frameBytesPerPixel;
    };
    const Case cases[] = {{800, 600, 4, 4},  {1024, 768, 4, 4}, {1280, 720, 4, 4}, {1366, 768, 4, 4},
                          {1600, 1200, 4, 4}, {640, 480, 4, 4},  {1024, 768, 4, 2}, {1280, 1024, 2, 2}};
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.width) + " x " + std::to_string(test.height) + " at " +
                     std::to_string(test.bytesPerPixel) + " from " + std::to_string(test.frameBytesPerPixel));
        RefPointer<Image> frame = noiseFrame(test.frameBytesPerPixel, 3);
        TestSurface incremental(test.width, test.height, test.bytesPerPixel);
        FrameScaler scaler;
        scaler.draw(incremental.surface, frame.get(), allRows(), false);
        incremental.surface.fresh = false;

        std::mt19937 random(7);
        for (int round = 0; round < 6; ++round) {
            // A few runs of changed rows, the frame's first and last among them.
            std::vector<FrameScaler::RowSpan> changed;
            int row = round == 0 ? 0 : int(random() % 50);
            while (row < 600) {
                const int last = std::min(599, round == 5 ? 599 : row + int(random() % 12));
                // Changes between two columns, the frame's edges among them.
                const int left = round % 2 ? 0 : int(random() % 700);
                const int right = round % 3 ? 799 : std::min(799, left + int(random() % 100));
                for (int y = row; y <= last; ++y)
                    for (int x = left + int(random() % 20); x <= right; x += 1 + int(random() % 90)) {
                        if (test.frameBytesPerPixel == 4)
                            frame->row32(y)[x] = random() | 0xFF000000u;
                        else
                            frame->row16(y)[x] = uint16_t(random());
                    }
                changed.push_back({row, last, left, right});
                row = last + 20 + int(random() % 200);
            }
            const std::vector<SurfaceRect> drawn = scaler.draw(incremental.surface, frame.get(), changed, false);
            int64_t drawnPixels = 0;
            for (const SurfaceRect& rect : drawn)
                drawnPixels += int64_t(rect.width) * rect.height;
            if (round < 5) {
                EXPECT_LT(drawnPixels, int64_t(test.width) * test.height) << "only the changed part is shown";
            }

            TestSurface whole(test.width, test.height, test.bytesPerPixel);
            FrameScaler reference;
            reference.draw(whole.surface, frame.get(), allRows(), false);
            ASSERT_EQ(incremental.pixels, whole.pixels) << "round " << round;
        }
    }
}

TEST(FrameScaler, AFreshOrNewSurfaceIsDrawnWholeAndNothingDrawsIntoNothing)
{
    RefPointer<Image> frame = noiseFrame(4, 4);
    FrameScaler scaler;
    TestSurface first(1280, 720, 4);
    scaler.draw(first.surface, frame.get(), allRows(), false);
    first.surface.fresh = false;

    // The same memory handed out fresh again (a resize to the same size):
    // the bars are drawn again too.
    std::fill(first.pixels.begin(), first.pixels.end(), 0xA5);
    first.surface.fresh = true;
    const std::vector<FrameScaler::RowSpan> oneRow{{300, 300}};
    EXPECT_EQ(scaler.draw(first.surface, frame.get(), oneRow, false).at(0), (SurfaceRect{0, 0, 1280, 720}));
    EXPECT_TRUE(barsAreBlack(first, scaler.getFrameArea()));

    // Another surface, not marked fresh, is still new to the scaler.
    TestSurface second(1024, 768, 4);
    second.surface.fresh = false;
    EXPECT_EQ(scaler.draw(second.surface, frame.get(), oneRow, false).at(0), (SurfaceRect{0, 0, 1024, 768}));
    EXPECT_EQ(scaler.getFrameArea(), (SurfaceRect{0, 0, 1024, 768}));

    WindowSurface none;
    EXPECT_TRUE(scaler.draw(none, frame.get(), oneRow, false).empty());
    EXPECT_TRUE(scaler.draw(second.surface, nullptr, oneRow, false).empty());
}

} // namespace
