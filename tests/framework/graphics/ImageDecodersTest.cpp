#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/EncodedImages.h"
#include "support/TestFolders.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/graphics/PixelMath.h"

using testimages::PngSpec;

namespace {

struct ScreenDepth {
    explicit ScreenDepth(int bytes) { Image::setScreenBytesPerPixel(bytes); }
    ~ScreenDepth() { Image::setScreenBytesPerPixel(4); }
};

uint32_t pixelAt(Image* image, int x, int y)
{
    image->lock();
    const uint32_t value = image->row32(y)[x];
    image->unlock();
    return value;
}

RefPointer<Image> decode(const PngSpec& layout, const std::vector<uint16_t>& samples, uint8_t flags = 0)
{
    const std::vector<uint8_t> bytes = testimages::encodePng(layout, samples);
    return loadPngMemory(bytes.data(), bytes.size(), flags);
}

}  // namespace

TEST(PngDecoderTest, RgbAndRgbaAtEightAndSixteenBits)
{
    PngSpec rgb;
    rgb.width = 2;
    rgb.height = 1;
    RefPointer<Image> image = decode(rgb, {0x12, 0x34, 0x56, 0xFF, 0x00, 0x80});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getBytesPerPixel(), 4);
    EXPECT_TRUE(image->getFollowsDisplayFormat());
    EXPECT_TRUE(image->hasAlphaChannel());
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0xFF123456u);
    EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFFFF0080u);

    PngSpec rgba = rgb;
    rgba.colourType = 6;
    rgba.bitDepth = 16;
    image = decode(rgba, {0x1200, 0x3400, 0x56FF, 0x8000, 0xFFFF, 0, 0, 0});
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x80123456u);
    EXPECT_EQ(pixelAt(image.get(), 1, 0), 0x00FF0000u);

    PngSpec wideRgb = rgb;
    wideRgb.bitDepth = 16;
    image = decode(wideRgb, {0xAB00, 0x01FF, 0xFFFF, 0, 0x8080, 0x7F7F});
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0xFFAB01FFu);
    EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFF00807Fu);

    PngSpec interlaced = rgb;
    interlaced.width = 9;
    interlaced.height = 9;
    interlaced.interlaced = true;
    std::vector<uint16_t> samples(9 * 9 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = uint16_t(i & 0xFF);
    image = decode(interlaced, samples);
    ASSERT_TRUE(image);
    const size_t last = (8 * 9 + 8) * 3;
    EXPECT_EQ(pixelAt(image.get(), 8, 8), 0xFF000000u | (samples[last] << 16) | (samples[last + 1] << 8) | samples[last + 2]);
}

TEST(PngDecoderTest, GreyAtEveryDepth)
{
    for (int depth : {1, 2, 4, 8, 16}) {
        PngSpec grey;
        grey.colourType = 0;
        grey.bitDepth = depth;
        grey.width = 3;
        grey.height = 1;
        const uint16_t top = uint16_t((1u << depth) - 1);
        RefPointer<Image> image = decode(grey, {0, top, 0});
        ASSERT_TRUE(image) << depth;
        EXPECT_EQ(pixelAt(image.get(), 0, 0), 0xFF000000u) << depth;
        EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFFFFFFFFu) << depth;
    }
}

TEST(PngDecoderTest, GreyAsAlphaGivesBlackWithThatAlpha)
{
    PngSpec grey;
    grey.colourType = 0;
    grey.width = 2;
    grey.height = 1;
    RefPointer<Image> image = decode(grey, {0, 255}, DecodeGreyAsAlpha);
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x00000000u);
    EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFF000000u);
}

TEST(PngDecoderTest, GreyWithAlphaAndTransparentGrey)
{
    PngSpec greyAlpha;
    greyAlpha.colourType = 4;
    greyAlpha.width = 1;
    greyAlpha.height = 1;
    RefPointer<Image> image = decode(greyAlpha, {0x40, 0x90});
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x90404040u);

    greyAlpha.bitDepth = 16;
    image = decode(greyAlpha, {0x4000, 0x9000});
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x90404040u);

    PngSpec keyed;
    keyed.colourType = 0;
    keyed.width = 2;
    keyed.height = 1;
    keyed.transparentGrey = 7;
    image = decode(keyed, {7, 8});
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0) >> 24, 0u);
    EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFF080808u);
}

TEST(PngDecoderTest, PalettesWithAndWithoutTransparency)
{
    for (int depth : {1, 2, 4, 8}) {
        PngSpec palette;
        palette.colourType = 3;
        palette.bitDepth = depth;
        palette.width = 2;
        palette.height = 1;
        palette.paletteRgb = {10, 20, 30, 200, 100, 50};
        palette.paletteAlpha = {0x33};
        RefPointer<Image> image = decode(palette, {0, 1});
        ASSERT_TRUE(image) << depth;
        EXPECT_EQ(pixelAt(image.get(), 0, 0), 0x330A141Eu) << depth;
        EXPECT_EQ(pixelAt(image.get(), 1, 0), 0xFFC86432u) << depth;
    }
}

TEST(PngDecoderTest, MaskAndSixteenBitDisplay)
{
    PngSpec rgba;
    rgba.colourType = 6;
    rgba.width = 1;
    rgba.height = 1;
    RefPointer<Image> mask = decode(rgba, {0x7A, 1, 2, 3}, DecodeOnlyMask);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->getBytesPerPixel(), 1);
    mask->lock();
    EXPECT_EQ(mask->alphaRow(0)[0], 0x7A);
    mask->unlock();

    ScreenDepth depth(2);
    PngSpec rgb;
    rgb.width = 1;
    rgb.height = 1;
    RefPointer<Image> packed = decode(rgb, {0xFF, 0x80, 0x08});
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->getBytesPerPixel(), 2);
    packed->lock();
    EXPECT_EQ(packed->row16(0)[0], (0xF8 << 8) | (0x80 << 3) | 1);
    EXPECT_EQ(packed->alphaRow(0)[0], 255);
    packed->unlock();
}

TEST(PngDecoderTest, MalformedDataGivesNull)
{
    PngSpec rgb;
    rgb.width = 16;
    rgb.height = 16;
    const std::vector<uint8_t> good = testimages::encodePng(rgb, std::vector<uint16_t>(16 * 16 * 3, 9));
    ASSERT_TRUE(loadPngMemory(good.data(), good.size(), 0));
    EXPECT_FALSE(loadPngMemory(nullptr, 0, 0));
    EXPECT_FALSE(loadPngMemory(good.data(), 7, 0));
    for (size_t cut : {size_t(20), size_t(40), good.size() / 2, good.size() - 13})
        EXPECT_FALSE(loadPngMemory(good.data(), cut, 0)) << cut;
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    EXPECT_FALSE(loadPngMemory(bad.data(), bad.size(), 0));
    bad = good;
    bad[bad.size() - 30] ^= 0xFF;  // inside the image data: checksum or inflate error
    EXPECT_FALSE(loadPngMemory(bad.data(), bad.size(), 0));
    // A header claiming 100000 x 100000 is refused before anything is allocated.
    bad = good;
    bad[16] = 0x00; bad[17] = 0x01; bad[18] = 0x86; bad[19] = 0xA0;
    bad[20] = 0x00; bad[21] = 0x01; bad[22] = 0x86; bad[23] = 0xA0;
    EXPECT_FALSE(loadPngMemory(bad.data(), bad.size(), 0));
}

TEST(PngDecoderTest, FilesAreReadFromDisk)
{
    PngSpec rgb;
    rgb.width = 1;
    rgb.height = 1;
    const std::vector<uint8_t> bytes = testimages::encodePng(rgb, {1, 2, 3});
    const std::string path = makeTestFolder("decoders") + "/decoder-test.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    RefPointer<Image> image = loadPngFile(path, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 0, 0), 0xFF010203u);
    EXPECT_FALSE(loadPngFile(path + ".missing", 0));
    EXPECT_FALSE(loadJpegFile(path));
    std::remove(path.c_str());

    const std::vector<uint8_t> jpeg = testimages::encodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 90));
    const std::string jpegPath = makeTestFolder("decoders") + "/decoder-test.jpg";
    std::ofstream(jpegPath, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    RefPointer<Image> grey = loadJpegFile(jpegPath);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->getWidth(), 8);
    EXPECT_FALSE(loadJpegFile(jpegPath + ".missing"));
    std::remove(jpegPath.c_str());
}

TEST(JpegDecoderTest, ColourGreyAndCmyk)
{
    std::vector<uint8_t> colour(8 * 8 * 3);
    for (size_t i = 0; i < colour.size(); i += 3) {
        colour[i] = 200;
        colour[i + 1] = 100;
        colour[i + 2] = 50;
    }
    std::vector<uint8_t> bytes = testimages::encodeJpeg(8, 8, 3, colour);
    RefPointer<Image> image = loadJpegMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    const uint32_t p = pixelAt(image.get(), 3, 3);
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 200, 3);
    EXPECT_NEAR(int((p >> 8) & 0xFF), 100, 3);
    EXPECT_NEAR(int(p & 0xFF), 50, 3);

    bytes = testimages::encodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 90));
    image = loadJpegMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(image.get(), 4, 4), 0xFF5A5A5Au);

    // Each ink gives its own colour channel.
    std::vector<uint8_t> inks(8 * 8 * 4);
    for (size_t i = 0; i < inks.size(); i += 4) {
        inks[i] = 255;
        inks[i + 1] = 128;
        inks[i + 2] = 0;
        inks[i + 3] = 255;
    }
    bytes = testimages::encodeJpeg(8, 8, 4, inks);
    image = loadJpegMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    const uint32_t inked = pixelAt(image.get(), 4, 4);
    EXPECT_NEAR(int((inked >> 16) & 0xFF), 255, 3);
    EXPECT_NEAR(int((inked >> 8) & 0xFF), 128, 3);
    EXPECT_NEAR(int(inked & 0xFF), 0, 3);

    // Inverted CMYK as such files store it: c = m = y = 255 - 0, k = 128 -> mid grey.
    std::vector<uint8_t> cmyk(8 * 8 * 4);
    for (size_t i = 0; i < cmyk.size(); i += 4) {
        cmyk[i] = cmyk[i + 1] = cmyk[i + 2] = 255;
        cmyk[i + 3] = 128;
    }
    bytes = testimages::encodeJpeg(8, 8, 4, cmyk);
    image = loadJpegMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    const uint32_t g = pixelAt(image.get(), 2, 2);
    EXPECT_NEAR(int((g >> 16) & 0xFF), 128, 3);
    EXPECT_NEAR(int(g & 0xFF), 128, 3);
}

TEST(JpegDecoderTest, MalformedDataGivesNullAndTruncationIsSurvived)
{
    std::vector<uint8_t> bytes = testimages::encodeJpeg(16, 16, 3, std::vector<uint8_t>(16 * 16 * 3, 128));
    EXPECT_FALSE(loadJpegMemory(nullptr, 0));
    EXPECT_FALSE(loadJpegMemory(bytes.data(), 3));
    std::vector<uint8_t> garbage(500, 0x42);
    EXPECT_FALSE(loadJpegMemory(garbage.data(), garbage.size()));
    // A stream cut short ends with a supplied end marker; whatever comes back,
    // nothing is read past the buffer (the sanitizers watch that).
    for (size_t cut = 10; cut < bytes.size(); cut += 37)
        loadJpegMemory(bytes.data(), cut);
    std::vector<uint8_t> huge = bytes;
    // The start-of-frame height and width fields claim 60000 x 60000.
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xEA; huge[i + 6] = 0x60; huge[i + 7] = 0xEA; huge[i + 8] = 0x60;
            break;
        }
    EXPECT_FALSE(loadJpegMemory(huge.data(), huge.size()));
}

// Each decode goes one of three ways: rows written in place (32-bit colour),
// converted one row at a time, or (interlaced into a converting target)
// through a whole-picture buffer. All of them must give the same pixels.
TEST(PngDecoderTest, EveryRowRouteGivesTheSamePixels)
{
    PngSpec layout;
    layout.colourType = 6;
    layout.width = 37;
    layout.height = 11;
    std::vector<uint16_t> samples(size_t(layout.width) * layout.height * 4);
    uint32_t seed = 12345;
    for (uint16_t& sample : samples) {
        seed = seed * 1103515245u + 12345u;
        sample = uint16_t((seed >> 16) & 0xFF);
    }
    auto expected = [&](int x, int y) {
        const uint16_t* s = &samples[(size_t(y) * layout.width + x) * 4];
        return (uint32_t(s[3]) << 24) | (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
    };
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "plain");
        layout.interlaced = interlaced;
        RefPointer<Image> wide = decode(layout, samples);
        RefPointer<Image> mask = decode(layout, samples, DecodeOnlyMask);
        RefPointer<Image> packed;
        {
            ScreenDepth depth(2);
            packed = decode(layout, samples);
        }
        ASSERT_TRUE(wide && mask && packed);
        wide->lock();
        mask->lock();
        packed->lock();
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < layout.width; ++x) {
                const uint32_t argb = expected(x, y);
                ASSERT_EQ(wide->row32(y)[x], argb) << x << "," << y;
                ASSERT_EQ(mask->alphaRow(y)[x], uint8_t(argb >> 16)) << x << "," << y;
                ASSERT_EQ(packed->row16(y)[x], pixel::pack565(argb)) << x << "," << y;
                ASSERT_EQ(packed->alphaRow(y)[x], uint8_t(argb >> 24)) << x << "," << y;
            }
        wide->unlock();
        mask->unlock();
        packed->unlock();
    }
}

TEST(JpegDecoderTest, InPlaceAndConvertedRowsAgree)
{
    std::vector<uint8_t> samples(29 * 13 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = uint8_t((i * 37) ^ (i >> 3));
    const std::vector<uint8_t> bytes = testimages::encodeJpeg(29, 13, 3, samples);
    RefPointer<Image> wide = loadJpegMemory(bytes.data(), bytes.size());
    RefPointer<Image> packed;
    {
        ScreenDepth depth(2);
        packed = loadJpegMemory(bytes.data(), bytes.size());
    }
    ASSERT_TRUE(wide && packed);
    ASSERT_EQ(wide->getBytesPerPixel(), 4);
    ASSERT_EQ(packed->getBytesPerPixel(), 2);
    wide->lock();
    packed->lock();
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 29; ++x) {
            ASSERT_EQ(wide->row32(y)[x] >> 24, 0xFFu);
            ASSERT_EQ(packed->row16(y)[x], pixel::pack565(wide->row32(y)[x])) << x << "," << y;
            ASSERT_EQ(packed->alphaRow(y)[x], 0xFF);
        }
    wide->unlock();
    packed->unlock();
}
