#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Image.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "game/scenes/SceneSplash.h"
#include "host/FakeHostPlatform.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

const char kScenes[] = R"(<root>
  <Node id="scenes">
    <SceneSplash id="SCENE_SPLASH" width="800" height="600" color="0xFF204080"/>
    <SceneTortelune id="SCENE_LOAD" width="800" height="600"/>
  </Node>
</root>)";

constexpr uint32_t kCover = 0x204080;
constexpr uint32_t kJpegColour = 0xF0C040;
constexpr uint32_t kPngColour = 0x30D050;

// The splash scene through the scene manager and the window's back buffer,
// frame by frame, as a player sees it.
class SplashSequenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        SetupStore::createInstance();
        ASSERT_TRUE(SetupStore::instance->loadFromTexts({kScenes}));
        GameWindow::create("Tortelune", 800, 600, false, 4, 102);
        SceneManager::create();
    }
    void TearDown() override
    {
        SceneManager::destroyInstance();
        GameWindow::destroyInstance();
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
    }

    void writePictures(const std::string& folder)
    {
        // A 400 x 300 JPEG and a 200 x 100 PNG, each of one colour.
        std::vector<uint8_t> jpegSamples;
        for (int i = 0; i < 400 * 300; ++i)
            jpegSamples.insert(jpegSamples.end(), {0xF0, 0xC0, 0x40});
        std::vector<uint8_t> jpeg = testimages::encodeJpeg(400, 300, 3, jpegSamples);
        writeTestFile(folder + "/splash0.jpg", std::string(jpeg.begin(), jpeg.end()));
        testimages::PngSpec spec;
        spec.width = 200;
        spec.height = 100;
        spec.colourType = 6;
        std::vector<uint16_t> pngSamples;
        for (int i = 0; i < 200 * 100; ++i)
            pngSamples.insert(pngSamples.end(), {0x30, 0xD0, 0x50, 0xFF});
        std::vector<uint8_t> png = testimages::encodePng(spec, pngSamples);
        writeTestFile(folder + "/splash1.png", std::string(png.begin(), png.end()));
    }

    // Runs frames of 20 ms up to `ms` after the start.
    void runUntil(int ms)
    {
        for (; now < ms; now += 20)
            SceneManager::instance->run(20);
    }

    uint32_t pixel(int x, int y) const
    {
        Image* frame = GameWindow::instance->getBackImage();
        const uint8_t* row = static_cast<const uint8_t*>(frame->getPixels()) + y * frame->getPitch();
        uint32_t value = 0;
        std::memcpy(&value, row + x * 4, 4);
        return value & 0xFFFFFF;
    }

    // Each channel of `value` within `tolerance` of the mix a * colour + (1 - a) * under.
    static ::testing::AssertionResult mixes(uint32_t value, uint32_t colour, uint32_t under, double share,
                                            int tolerance)
    {
        for (int shift = 0; shift < 24; shift += 8) {
            double wanted = share * ((colour >> shift) & 0xFF) + (1.0 - share) * ((under >> shift) & 0xFF);
            if (std::abs(static_cast<int>((value >> shift) & 0xFF) - static_cast<int>(wanted + 0.5)) > tolerance)
                return ::testing::AssertionFailure() << std::hex << value << " is not " << share << " of " << colour
                                                     << " over " << under;
        }
        return ::testing::AssertionSuccess();
    }

    ScopedFakeHostPlatform host;
    LogCapture log;
    int now = 0;
};

TEST_F(SplashSequenceTest, PicturesFadeInStandAndFadeOutOverTheCover)
{
    std::string folder = makeTestFolder("splash-sequence");
    writePictures(folder);
    writeTestFile(folder + "/branding.xml",
                  "<root><Integer id=\"SPLASH_FADE_TIME\" value=\"400\"/>"
                  "<Integer id=\"SPLASH_DISPLAY_TIME\" value=\"1000\"/>"
                  "<Boolean id=\"SHOW_LARKSPIRE_ANIMATION\" value=\"false\"/></root>");
    auto* splash = static_cast<SceneSplash*>(SceneManager::instance->registerScene("SCENE_SPLASH"));
    ASSERT_NE(nullptr, splash);
    ASSERT_NE(nullptr, SceneManager::instance->registerScene("SCENE_LOAD"));
    splash->setFolder(folder);
    SceneManager::instance->setNextScene(splash);

    // The cover alone, then picture 0 (centred, 200..600 x 150..450) fading in from 200 ms.
    runUntil(100);
    EXPECT_TRUE(mixes(pixel(400, 300), kCover, kCover, 1.0, 0));
    EXPECT_TRUE(mixes(pixel(5, 5), kCover, kCover, 1.0, 0));
    runUntil(400);
    EXPECT_TRUE(mixes(pixel(400, 300), kJpegColour, kCover, 0.5, 40));
    runUntil(1000);
    EXPECT_TRUE(mixes(pixel(400, 300), kJpegColour, kCover, 1.0, 6));
    EXPECT_TRUE(mixes(pixel(150, 300), kCover, kCover, 1.0, 0));
    // Standing until about 1600, fading out until about 2000.
    runUntil(1800);
    EXPECT_TRUE(mixes(pixel(400, 300), kJpegColour, kCover, 0.5, 40));
    // Picture 1 (300..500 x 250..350) comes alone: picture 0 has gone.
    runUntil(2240);
    EXPECT_TRUE(mixes(pixel(250, 200), kCover, kCover, 1.0, 0));
    EXPECT_TRUE(mixes(pixel(400, 300), kPngColour, kCover, 0.5, 40));
    runUntil(3000);
    EXPECT_TRUE(mixes(pixel(400, 300), kPngColour, kCover, 1.0, 2));
    runUntil(3500);
    EXPECT_TRUE(mixes(pixel(400, 300), kPngColour, kCover, 0.5, 40));
    // After the last picture: the cover, and the switch to the loading scene.
    runUntil(3900);
    EXPECT_TRUE(mixes(pixel(400, 300), kCover, kCover, 1.0, 0));
    EXPECT_TRUE(splash->isSplashFinished());
    EXPECT_EQ(SceneManager::instance->getScene("SCENE_LOAD"), SceneManager::instance->getCurrentScene());
}

TEST_F(SplashSequenceTest, WithoutBrandingTheCoverFadesInAfterTheDisplayTime)
{
    std::string folder = makeTestFolder("splash-cover-fade");
    auto* splash = static_cast<SceneSplash*>(SceneManager::instance->registerScene("SCENE_SPLASH"));
    splash->setFolder(folder);
    SceneManager::instance->setNextScene(splash);
    // The layout's own picture (empty here: black) stands 1700 ms, then the
    // cover fades in over 500 ms.
    runUntil(1600);
    EXPECT_TRUE(mixes(pixel(400, 300), 0, 0, 1.0, 0));
    runUntil(1960);
    EXPECT_TRUE(mixes(pixel(400, 300), kCover, 0, 0.5, 40));
    runUntil(2300);
    EXPECT_TRUE(mixes(pixel(400, 300), kCover, 0, 1.0, 0));
    EXPECT_TRUE(splash->isCoverShown());
}

} // namespace
