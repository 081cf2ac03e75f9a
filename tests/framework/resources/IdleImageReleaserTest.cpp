#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "framework/gui/TransitionScene.h"
#include "framework/resources/IdleImageReleaser.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// A picture loaded while compress-on-load is on stays compressed until drawn;
// drawn, it is raw until the frame task finds it idle for the idle time, and
// then compressed again; a small one, or one marked not to be, is left as it is.
TEST(IdleImageReleaserTest, PicturesLoadCompressedAndGoBackWhenIdle)
{
    LogCapture log;
    ResourceManager::create();
    const std::string folder = makeRelativeTestFolder("idlepictures");
    testimages::PngSpec big;
    big.width = 200;
    big.height = 100;
    std::vector<uint16_t> samples(200 * 100 * 3, 90);
    samples[3 * 7] = 250; // red of pixel (7, 0)
    const std::vector<uint8_t> png = testimages::encodePng(big, samples);
    writeTestFile(folder + "/big.png", std::string(png.begin(), png.end()));
    writeTestFile(folder + "/often.png", std::string(png.begin(), png.end()));
    testimages::PngSpec small;
    const std::vector<uint8_t> smallPng = testimages::encodePng(small, std::vector<uint16_t>(4 * 3 * 3, 90));
    writeTestFile(folder + "/small.png", std::string(smallPng.begin(), smallPng.end()));
    const std::string xml = "<root><Vector id=\"Sections\"><Section name=\"s\">"
                            "<Image id=\"BIG\" file=\"" + folder + "/big.png\"/>"
                            "<Image id=\"SMALL\" file=\"" + folder + "/small.png\"/>"
                            "<Image id=\"OFTEN\" file=\"" + folder + "/often.png\" compress=\"false\"/>"
                            "</Section></Vector></root>";
    writeTestFile(folder + "/resources.xml", xml);
    ResourceManager::instance->addResourceFile(folder + "/resources.xml");
    ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());

    ImageResource::setCompressOnLoad(true);
    RefPointer<IdleImageReleaser> releaser(new IdleImageReleaser(10000));
    releaser->run(0);
    RefPointer<Image> image = ResourceManager::instance->getLoadedResourceAs<Image>("BIG", "s");
    RefPointer<Image> smallImage = ResourceManager::instance->getLoadedResourceAs<Image>("SMALL", "s");
    RefPointer<Image> often = ResourceManager::instance->getLoadedResourceAs<Image>("OFTEN", "s");
    ImageResource::setCompressOnLoad(false);
    ASSERT_TRUE(image && smallImage && often);
    EXPECT_FALSE(often->isCompressed());
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

// A plain grey picture of the given size, written as a PNG file.
void writeGreyPicture(const std::string& path, int width, int height)
{
    testimages::PngSpec spec;
    spec.width = width;
    spec.height = height;
    const std::vector<uint8_t> png =
        testimages::encodePng(spec, std::vector<uint16_t>(size_t(width) * height * 3, 120));
    writeTestFile(path, std::string(png.begin(), png.end()));
}

// The pictures of the sections the current scene uses are unpacked ahead of
// their first draw, a frame's share at a time, and stay unpacked however long
// they go undrawn, also where another section shares them; once the scene
// uses other sections they are let go like any idle picture.
TEST(IdleImageReleaserTest, PicturesOfTheSectionsInUseAreUnpackedAheadAndKept)
{
    LogCapture log;
    ResourceManager::create();
    const std::string folder = makeRelativeTestFolder("inusepictures");
    // Each of the scene's two pictures fills a frame's unpacking share.
    const int side = 1024;  // 4 MB
    static_assert(int64_t(side) * side * 4 >= TransitionScene::kUnpackBytesPerFrame, "a picture per frame");
    writeGreyPicture(folder + "/one.png", side, side);
    writeGreyPicture(folder + "/two.png", side, side);
    writeGreyPicture(folder + "/other.png", 200, 100);
    const std::string xml = "<root><Vector id=\"Sections\">"
                            "<Section name=\"scene\">"
                            "<Image id=\"ONE\" file=\"" + folder + "/one.png\"/>"
                            "<Image id=\"TWO\" file=\"" + folder + "/two.png\"/>"
                            "</Section><Section name=\"other\">"
                            "<Image id=\"OTHER\" file=\"" + folder + "/other.png\"/>"
                            "<Image id=\"SHARED\" file=\"" + folder + "/two.png\"/>"
                            "</Section></Vector></root>";
    writeTestFile(folder + "/resources.xml", xml);
    ResourceManager* resources = ResourceManager::instance;
    resources->addResourceFile(folder + "/resources.xml");
    ASSERT_TRUE(resources->loadResourceFiles());

    ImageResource::setCompressOnLoad(true);
    RefPointer<IdleImageReleaser> releaser(new IdleImageReleaser(10000));
    releaser->run(0);
    RefPointer<Image> one = resources->getLoadedResourceAs<Image>("ONE", "scene");
    RefPointer<Image> two = resources->getLoadedResourceAs<Image>("TWO", "scene");
    RefPointer<Image> other = resources->getLoadedResourceAs<Image>("OTHER", "other");
    RefPointer<Image> shared = resources->getLoadedResourceAs<Image>("SHARED", "other");
    ImageResource::setCompressOnLoad(false);
    ASSERT_TRUE(one && two && other);
    ASSERT_EQ(two, shared);
    EXPECT_TRUE(one->isPacked() && two->isPacked() && other->isPacked());

    resources->setSectionsInUse({"scene"});
    EXPECT_TRUE(resources->isSectionInUse("scene"));
    EXPECT_FALSE(resources->isSectionInUse("other"));
    EXPECT_FALSE(TransitionScene::isLoaderIdle()) << "one picture unpacked, one left";
    EXPECT_NE(one->isPacked(), two->isPacked());
    EXPECT_FALSE(TransitionScene::isLoaderIdle()) << "the frame that unpacked the last one";
    EXPECT_FALSE(one->isPacked() || two->isPacked());
    EXPECT_TRUE(TransitionScene::isLoaderIdle());
    EXPECT_TRUE(other->isPacked()) << "not used by the scene";

    // Drawn once, the other section's picture goes after 10 idle seconds;
    // the scene's stay, never drawn for a minute.
    ASSERT_TRUE(other->lock());
    other->unlock();
    for (int second = 0; second < 60; ++second)
        releaser->run(1000);
    EXPECT_TRUE(other->isPacked());
    EXPECT_FALSE(one->isPacked() || two->isPacked());

    resources->setSectionsInUse({"other"});
    releaser->run(1000);
    EXPECT_TRUE(one->isPacked()) << "no longer in use";
    EXPECT_FALSE(two->isPacked()) << "shared with the section now in use";
    EXPECT_FALSE(resources->unpackSectionsInUse(1));
    EXPECT_TRUE(resources->unpackSectionsInUse(1));
    EXPECT_FALSE(other->isPacked());
    EXPECT_TRUE(one->isPacked());

    Image::setUseClock(0);
    ResourceManager::destroyInstance();
}

} // namespace
