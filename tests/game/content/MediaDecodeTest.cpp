// The generated pictures, sounds and music, read through the game's own
// decoders: every file must load, sounds must be audible and unclipped, music
// must loop without a click, and the splash series must be what the splash
// scene looks for.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/sound/Sound.h"
#include "host/AudioDecoder.h"

namespace {

namespace fs = std::filesystem;

std::string sourcePath(const std::string& relative)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/" + relative;
}

std::vector<std::string> filesWithExtension(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> found;
    const fs::path root = sourcePath(folder);
    if (!fs::exists(root))
        return found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int peakOf(const host::PcmBuffer& pcm)
{
    int peak = 0;
    for (int16_t s : pcm.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

TEST(MediaDecode, EveryPictureLoadsThroughTheGameDecoders)
{
    std::vector<std::string> pngs = filesWithExtension("media", ".png");
    const std::vector<std::string> splashPngs = filesWithExtension("splash", ".png");
    pngs.insert(pngs.end(), splashPngs.begin(), splashPngs.end());
    ASSERT_GT(pngs.size(), 100u) << "the generated art is missing";
    for (const std::string& path : pngs) {
        RefPointer<Image> image = loadPngFile(path, 0);
        ASSERT_TRUE(image) << path;
        EXPECT_GT(image->getWidth(), 0) << path;
        EXPECT_GT(image->getHeight(), 0) << path;
    }
    std::vector<std::string> jpegs = filesWithExtension("media", ".jpg");
    const std::vector<std::string> splashJpegs = filesWithExtension("splash", ".jpg");
    jpegs.insert(jpegs.end(), splashJpegs.begin(), splashJpegs.end());
    ASSERT_FALSE(jpegs.empty());
    for (const std::string& path : jpegs) {
        RefPointer<Image> image = loadJpegFile(path);
        ASSERT_TRUE(image) << path;
        // Backgrounds and the splash picture fill the 800 x 600 screen.
        EXPECT_EQ(image->getWidth(), 800) << path;
        EXPECT_EQ(image->getHeight(), 600) << path;
    }
}

// The white labels of the text buttons begin with a capital letter; its foot
// marks the label's baseline, which is the same on every button, descenders
// ("Stop", "Buy") or not.
TEST(MediaDecode, TextButtonLabelsShareOneBaseline)
{
    int lowest = 1000;
    int highest = -1;
    int labels = 0;
    for (const std::string& path : filesWithExtension("media/images/buttons", ".png")) {
        RefPointer<Image> image = loadPngFile(path, 0);
        ASSERT_TRUE(image) << path;
        // The wide buttons: four frames of 160 x 48.
        if (image->getWidth() != 160 || image->getHeight() != 4 * 48)
            continue;
        auto white = [&](int x, int y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image->getPixels() + y * image->getPitch());
            return row[x] == 0xFFFFFFFFu;
        };
        int first = -1;
        for (int x = 0; x < 160 && first < 0; ++x)
            for (int y = 0; y < 48 && first < 0; ++y)
                if (white(x, y))
                    first = x;
        if (first < 0)
            continue;  // a blank face
        int foot = -1;
        for (int x = first; x < first + 5; ++x)
            for (int y = 0; y < 48; ++y)
                if (white(x, y))
                    foot = std::max(foot, y);
        ++labels;
        lowest = std::min(lowest, foot);
        highest = std::max(highest, foot);
        SCOPED_TRACE(path);
        EXPECT_LE(highest - lowest, 1) << "baseline at " << foot;
    }
    EXPECT_GE(labels, 20);
}

TEST(MediaDecode, SplashSeriesEndsAfterAJpegAndAPng)
{
    EXPECT_TRUE(loadJpegFile(sourcePath("splash/splash0.jpg")));
    // Image 1 exists only as PNG: the scene's JPEG attempt fails and the PNG is used.
    EXPECT_FALSE(loadJpegFile(sourcePath("splash/splash1.jpg")));
    EXPECT_TRUE(loadPngFile(sourcePath("splash/splash1.png"), 0));
    EXPECT_FALSE(loadJpegFile(sourcePath("splash/splash2.jpg")));
    EXPECT_FALSE(loadPngFile(sourcePath("splash/splash2.png"), 0));

    PropertyStore branding(sourcePath("splash/branding.xml"));
    ASSERT_TRUE(branding.load());
    EXPECT_EQ(branding.getInt("SPLASH_FADE_TIME"), 500);
    EXPECT_EQ(branding.getInt("SPLASH_DISPLAY_TIME"), 1700);
    EXPECT_FALSE(branding.getBool("SHOW_LARKSPIRE_ANIMATION"));
}

TEST(MediaDecode, EverySoundDecodesAudibleAndUnclipped)
{
    std::vector<std::string> sounds = filesWithExtension("media/sounds", ".ogg");
    const std::vector<std::string> wavs = filesWithExtension("media/sounds", ".wav");
    sounds.insert(sounds.end(), wavs.begin(), wavs.end());
    ASSERT_GT(sounds.size(), 60u);
    for (const std::string& path : sounds) {
        const std::vector<uint8_t> bytes = readBytes(path);
        Sound sound;
        ASSERT_TRUE(sound.loadFromMemory(bytes.data(), bytes.size())) << path;
        const host::PcmBuffer& pcm = *sound.sample;
        EXPECT_GT(pcm.lengthMs(), 30) << path;
        EXPECT_LT(pcm.lengthMs(), 5000) << path << ": effects and stings stay short";
        const int peak = peakOf(pcm);
        EXPECT_GT(peak, 3000) << path << " is nearly silent";
        EXPECT_LT(peak, 32767) << path << " clips";
    }
}

TEST(MediaDecode, MusicLoopsWithoutAClick)
{
    const std::vector<std::string> tracks = filesWithExtension("media/music", ".ogg");
    ASSERT_GE(tracks.size(), 6u);
    for (const std::string& path : tracks) {
        const std::vector<uint8_t> bytes = readBytes(path);
        EXPECT_LT(bytes.size(), 500u * 1024u) << path << " is larger than a short loop should be";
        Sound sound;
        ASSERT_TRUE(sound.loadFromMemory(bytes.data(), bytes.size())) << path;
        const host::PcmBuffer& pcm = *sound.sample;
        ASSERT_EQ(pcm.channels, 2) << path;
        EXPECT_GT(pcm.lengthMs(), 10000) << path;
        EXPECT_LT(pcm.lengthMs(), 60000) << path;
        const int peak = peakOf(pcm);
        EXPECT_GT(peak, 8000) << path;
        EXPECT_LT(peak, 32767) << path;
        // The jump from the last frame back to the first is no bigger than an
        // ordinary step between neighbouring frames of loud music.
        const size_t last = pcm.samples.size() - 2;
        for (int ch = 0; ch < 2; ++ch) {
            const int jump = std::abs(pcm.samples[last + ch] - pcm.samples[ch]);
            EXPECT_LT(jump, 2500) << path << " clicks at the loop point";
        }
    }
}

} // namespace
