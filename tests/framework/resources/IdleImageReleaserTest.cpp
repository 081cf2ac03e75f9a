#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "framework/resources/IdleImageReleaser.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// A picture loaded while compress-on-load is on stays compressed until drawn;
// drawn, it is raw until the frame task finds it idle for the idle time, and
// then compressed again; a small one is left as it is.
TEST(IdleImageReleaserTest, PicturesLoadCompressedAndGoBackWhenIdle)
{
    LogCapture log;
    ResourceManager::create();
    makeTestFolder("idlepictures");
    const std::string folder = "test-scratch/idlepictures";
    testimages::PngSpec big;
    big.width = 200;
    big.height = 100;
    std::vector<uint16_t> samples(200 * 100 * 3, 90);
    samples[3 * 7] = 250; // red of pixel (7, 0)
    const std::vector<uint8_t> png = testimages::encodePng(big, samples);
    writeTestFile(folder + "/big.png", std::string(png.begin(), png.end()));
    testimages::PngSpec small;
    const std::vector<uint8_t> smallPng = testimages::encodePng(small, std::vector<uint16_t>(4 * 3 * 3, 90));
    writeTestFile(folder + "/small.png", std::string(smallPng.begin(), smallPng.end()));
    const std::string xml = "<root><Vector id=\"Sections\"><Section name=\"s\">"
                            "<Image id=\"BIG\" file=\"" + folder + "/big.png\"/>"
                            "<Image id=\"SMALL\" file=\"" + folder + "/small.png\"/>"
                            "</Section></Vector></root>";
    writeTestFile(folder + "/resources.xml", xml);
    ResourceManager::instance->addResourceFile(folder + "/resources.xml");
    ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());

    ImageResource::setCompressOnLoad(true);
    RefPointer<IdleImageReleaser> releaser(new IdleImageReleaser(10000));
    releaser->run(0);
    RefPointer<Image> image = ResourceManager::instance->getLoadedResourceAs<Image>("BIG", "s");
    RefPointer<Image> smallImage = ResourceManager::instance->getLoadedResourceAs<Image>("SMALL", "s");
    ImageResource::setCompressOnLoad(false);
    ASSERT_TRUE(image && smallImage);
    EXPECT_TRUE(image->hasKeptCopy());
    EXPECT_EQ(nullptr, image->getPixels());
    EXPECT_FALSE(smallImage->isCompressed());

    ASSERT_TRUE(image->lock());
    EXPECT_EQ(250u, (image->row32(0)[7] >> 16) & 0xFF);
    image->unlock();
    for (int second = 1; second < 10; ++second)
        releaser->run(1000);
    EXPECT_NE(nullptr, image->getPixels()) << "idle 9 s";
    releaser->run(1000);
    EXPECT_EQ(nullptr, image->getPixels()) << "idle 10 s";
    EXPECT_NE(nullptr, smallImage->getPixels());
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(250u, (image->row32(0)[7] >> 16) & 0xFF);
    image->unlock();

    Image::setUseClock(0);
    ResourceManager::destroyInstance();
}

} // namespace
