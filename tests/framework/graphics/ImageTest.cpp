#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "framework/graphics/BufferCompression.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageContainer.h"

TEST(ImageTest, CreateGivesZeroFilledBuffersOfTheRequestedKind)
{
    RefPointer<Image> wide = Image::create(5, 3, 4);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->getPitch(), 20);
    EXPECT_NE(wide->getPixels(), nullptr);
    EXPECT_EQ(wide->getAlphaPlane(), nullptr);
    ASSERT_TRUE(wide->lock());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(wide->row32(y)[x], 0u);
    wide->unlock();

    RefPointer<Image> packed = Image::create(5, 3, 2);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->getPitch(), 10);
    EXPECT_NE(packed->getAlphaPlane(), nullptr);

    RefPointer<Image> mask = Image::create(5, 3, 1);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->getPixels(), nullptr);
    EXPECT_NE(mask->getAlphaPlane(), nullptr);
    EXPECT_FALSE(mask->getGraphics());
    EXPECT_TRUE(wide->getGraphics());
    EXPECT_TRUE(packed->getGraphics());
}

TEST(ImageTest, SizesAreCheckedBeforeAllocation)
{
    EXPECT_FALSE(Image::create(0, 10, 4));
    EXPECT_FALSE(Image::create(10, -1, 4));
    EXPECT_FALSE(Image::create(16385, 1, 4));
    EXPECT_FALSE(Image::create(16384, 16384, 4));  // 1 GiB of pixels
    EXPECT_FALSE(Image::create(10, 10, 3));
    EXPECT_TRUE(Image::isValidSize(16384, 4096, 4));
    EXPECT_FALSE(Image::isValidSize(16384, 4097, 4));
    EXPECT_TRUE(Image::isValidSize(16384, 16384, 1));
}

TEST(ImageTest, AllocateReplacesOldBuffersWithZeroedOnes)
{
    RefPointer<Image> image = Image::create(4, 4, 4);
    ASSERT_TRUE(image->lock());
    image->row32(1)[1] = 0xDEADBEEF;
    image->unlock();
    ASSERT_TRUE(image->allocate(2));
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->row16(1)[1], 0);
    EXPECT_EQ(image->alphaRow(1)[1], 0);
    image->unlock();
    image->setWidth(20000);
    EXPECT_FALSE(image->allocate(4));
    EXPECT_EQ(image->getPixels(), nullptr);
    EXPECT_FALSE(image->lock());
}

TEST(ImageTest, ConversionPacksAndWidensTheDisplayFormat)
{
    RefPointer<Image> image = Image::create(2, 1, 4);
    image->setFollowsDisplayFormat(true);
    ASSERT_TRUE(image->lock());
    image->row32(0)[0] = 0x80FFFFFF;
    image->row32(0)[1] = 0xFF123456;
    image->unlock();

    image->convertTo(2);
    ASSERT_EQ(image->getBytesPerPixel(), 2);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->row16(0)[0], 0xFFFF);
    EXPECT_EQ(image->alphaRow(0)[0], 128);
    EXPECT_EQ(image->row16(0)[1], ((0x12 & 0xF8) << 8) | ((0x34 & 0xFC) << 3) | (0x56 >> 3));
    image->unlock();

    image->convertTo(4);
    ASSERT_EQ(image->getBytesPerPixel(), 4);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->row32(0)[0], 0x80F8FCF8u);
    image->unlock();
}

TEST(ImageTest, ConversionNeedsTheFollowFlag)
{
    RefPointer<Image> image = Image::create(2, 2, 4);
    image->convertTo(2);
    EXPECT_EQ(image->getBytesPerPixel(), 4);
}

TEST(ImageTest, CloneCopiesPixelsAndFlags)
{
    RefPointer<Image> image = Image::create(3, 2, 2);
    image->setHasAlphaChannel(false);
    image->setFrameCount(3);
    ASSERT_TRUE(image->lock());
    image->row16(1)[2] = 0x1234;
    image->alphaRow(1)[2] = 77;
    image->unlock();
    RefPointer<Image> copy = Image::clone(image.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->getReferenceCount(), 1);
    EXPECT_FALSE(copy->hasAlphaChannel());
    EXPECT_EQ(copy->getFrameCount(), 3);
    ASSERT_TRUE(copy->lock());
    EXPECT_EQ(copy->row16(1)[2], 0x1234);
    EXPECT_EQ(copy->alphaRow(1)[2], 77);
    EXPECT_FALSE(Image::clone(nullptr));
}

TEST(ImageTest, CompressionRoundTripsAndLockRestores)
{
    RefPointer<Image> image = Image::create(64, 32, 2);
    ASSERT_TRUE(image->lock());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            image->row16(y)[x] = uint16_t(x * 3 + y);
            image->alphaRow(y)[x] = uint8_t(x);
        }
    image->unlock();
    ASSERT_TRUE(image->compress());
    EXPECT_TRUE(image->isCompressed());
    EXPECT_EQ(image->getPixels(), nullptr);
    ASSERT_TRUE(image->lock());
    EXPECT_FALSE(image->isCompressed());
    EXPECT_EQ(image->row16(31)[63], uint16_t(63 * 3 + 31));
    EXPECT_EQ(image->alphaRow(5)[40], 40);
    image->unlock();
}

// A rarely drawn picture keeps its compressed copy: drawn, it is restored;
// idle long enough (by the use clock its locks record), its raw buffers go
// again; drawn into, the copy goes for good.
TEST(ImageTest, KeptCopyRestoresOnLockAndReleasesWhenIdle)
{
    Image::setUseClock(1000);
    RefPointer<Image> image = Image::create(64, 32, 4);
    ASSERT_TRUE(image->lock());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            image->row32(y)[x] = 0xFF000000u | uint32_t(x * 3 + y);
    image->unlock();
    ASSERT_TRUE(image->compressKeepingCopy(1));
    EXPECT_EQ(image->getPixels(), nullptr);
    EXPECT_FALSE(image->releaseIdleBuffers(1'000'000, 0)) << "nothing raw to release";

    Image::setUseClock(5000);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->row32(31)[63], 0xFF000000u | uint32_t(63 * 3 + 31));
    EXPECT_FALSE(image->releaseIdleBuffers(1'000'000, 0)) << "locked";
    image->unlock();
    EXPECT_TRUE(image->hasKeptCopy());
    EXPECT_FALSE(image->releaseIdleBuffers(5000 + 9999, 10000));
    EXPECT_TRUE(image->releaseIdleBuffers(5000 + 10000, 10000));
    EXPECT_EQ(image->getPixels(), nullptr);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->row32(0)[1], 0xFF000003u);
    image->unlock();

    RefPointer<Graphics> graphics = image->getGraphics();
    ASSERT_TRUE(graphics);
    EXPECT_FALSE(image->hasKeptCopy());
    EXPECT_FALSE(image->isCompressed());
    EXPECT_FALSE(image->releaseIdleBuffers(1'000'000, 0));
    EXPECT_NE(image->getPixels(), nullptr);
    Image::setUseClock(0);
}

TEST(ImageTest, IncompressibleImageStaysRawAndLooksBusy)
{
    RefPointer<Image> image = Image::create(64, 64, 4);
    std::mt19937 random(7);
    ASSERT_TRUE(image->lock());
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image->row32(y)[x] = random();
    image->unlock();
    EXPECT_FALSE(image->compress());
    EXPECT_NE(image->getPixels(), nullptr);
    EXPECT_EQ(image->getLastUse(), std::numeric_limits<int64_t>::max());
    EXPECT_LT(image->idleTime(1000), 0);
}

TEST(ImageTest, IdleTimeIsZeroWhileLocked)
{
    RefPointer<Image> image = Image::create(2, 2, 4);
    image->setLastUse(100);
    EXPECT_EQ(image->idleTime(250), 150);
    image->lock();
    EXPECT_EQ(image->idleTime(1'000'000), 0);
}

TEST(ImageTest, ContainerKeepsTheSameImageAlive)
{
    ImageContainer container;
    {
        RefPointer<Image> image = Image::create(2, 2, 4);
        container.setImage(image.get());
    }
    Image* held = container.getImage();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->getReferenceCount(), 1);
    container.setImage(held);
    EXPECT_EQ(container.getImage(), held);
    EXPECT_EQ(held->getReferenceCount(), 1);
    container.setImage(nullptr);
    EXPECT_EQ(container.getImage(), nullptr);
}

TEST(BufferCompressionTest, ZerosShrinkAndComeBack)
{
    std::vector<uint8_t> zeros(4096, 0), packed;
    ASSERT_TRUE(compressBuffer(zeros.data(), zeros.size(), packed));
    EXPECT_LT(packed.size(), 100u);
    EXPECT_EQ(packed[0], 0x78);
    std::vector<uint8_t> restored(4096, 0xAA);
    EXPECT_TRUE(uncompressBuffer(packed.data(), packed.size(), restored.data(), restored.size()));
    EXPECT_EQ(restored, zeros);
}

TEST(BufferCompressionTest, RandomBytesDoNotFit)
{
    std::vector<uint8_t> noise(4096), packed;
    std::mt19937 random(3);
    for (auto& b : noise)
        b = uint8_t(random());
    EXPECT_FALSE(compressBuffer(noise.data(), noise.size(), packed));
    EXPECT_TRUE(packed.empty());
    // Nor does anything at a level the compressor refuses.
    std::vector<uint8_t> zeros(4096, 0);
    EXPECT_FALSE(compressBuffer(zeros.data(), zeros.size(), packed, 42));
    EXPECT_TRUE(packed.empty());
}

TEST(BufferCompressionTest, DamagedOrShortDataIsReported)
{
    std::vector<uint8_t> data(4096, 5), packed;
    ASSERT_TRUE(compressBuffer(data.data(), data.size(), packed));
    std::vector<uint8_t> out(4096);
    EXPECT_FALSE(uncompressBuffer(packed.data(), packed.size(), nullptr, out.size()));
    EXPECT_FALSE(uncompressBuffer(packed.data(), packed.size() / 2, out.data(), out.size()));
    EXPECT_EQ(out[10], 0);
    std::vector<uint8_t> bigger(8192);
    EXPECT_FALSE(uncompressBuffer(packed.data(), packed.size(), bigger.data(), bigger.size()));
    std::vector<uint8_t> smaller(100);
    EXPECT_FALSE(uncompressBuffer(packed.data(), packed.size(), smaller.data(), smaller.size()));
    packed[packed.size() / 2] ^= 0x55;
    EXPECT_FALSE(uncompressBuffer(packed.data(), packed.size(), out.data(), out.size()));
}
