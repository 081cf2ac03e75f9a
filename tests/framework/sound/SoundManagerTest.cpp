#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "framework/core/RefPointer.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

class FailingOutput final : public host::AudioOutput {
public:
    bool open(host::AudioMixer&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
};

void writeWav(const std::string& path, int16_t value, int frames)
{
    std::ofstream out(path, std::ios::binary);
    auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    put32(36 + frames * 2);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(44100);
    put32(88200);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(frames * 2);
    for (int i = 0; i < frames; ++i)
        put16(static_cast<uint16_t>(value));
}

// Every test gets a fresh manager on a recording device and two music files.
class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<host::RecordingAudioOutput>();
        output = recording.get();
        SoundManager::createInstance(std::move(recording));
        manager = SoundManager::instance;
        ASSERT_TRUE(SoundManager::isSoundOn());
        const std::string folder = makeTestFolder("music");
        musicA = folder + "/a.wav";
        musicB = folder + "/b.wav";
        writeWav(musicA, 1000, 44100);
        writeWav(musicB, 2000, 44100);
    }
    void TearDown() override
    {
        SoundManager::releaseInstance();
        std::remove(musicA.c_str());
        std::remove(musicB.c_str());
    }

    RefPointer<Sound> makeSound(int frames = 4410)
    {
        RefPointer<Sound> sound(new Sound);
        auto pcm = std::make_shared<host::PcmBuffer>();
        pcm->channels = 1;
        pcm->samples.assign(frames, 1000);
        sound->sample = pcm;
        return sound;
    }

    host::RecordingAudioOutput* output = nullptr;
    SoundManager* manager = nullptr;
    std::string musicA, musicB;
};

} // namespace

TEST_F(SoundManagerTest, PlayClampsVolumeAndPan)
{
    RefPointer<Sound> sound = makeSound();
    const int channel = Sound::play(sound.get(), -5, 300, false);
    ASSERT_GE(channel, 0);
    EXPECT_EQ(manager->getMixer().getVolume(channel), 255);
    EXPECT_EQ(manager->getMixer().getPan(channel), 0);
    // Started paused to set volume and pan, it then plays: hard left is heard on the left.
    output->recording.clear();
    output->render(8);
    EXPECT_GT(std::abs(output->recording[0]), 500);
    EXPECT_EQ(output->recording[1], 0);
    EXPECT_EQ(manager->getMixer().getPan(Sound::play(sound.get(), 300, 128, false)), 255);

    sound->volumeFactor = 0.5f;
    const int quieter = Sound::play(sound.get(), 128, 255, false);
    EXPECT_EQ(manager->getMixer().getVolume(quieter), 127); // trunc(255 x 0.5)
    EXPECT_EQ(Sound::getLength(sound.get()), 100);
    EXPECT_EQ(Sound::play(nullptr, 128, 255, false), -1);
    RefPointer<Sound> empty(new Sound);
    EXPECT_EQ(Sound::play(empty.get(), 128, 255, false), -1);
}

TEST_F(SoundManagerTest, LoadSampleReadsFilesAndReportsFailure)
{
    RefPointer<Sound> sound(new Sound);
    EXPECT_EQ(Sound::loadSample(1, sound.get(), musicA), 0);
    EXPECT_TRUE(sound->hasSample());
    EXPECT_EQ(Sound::getLength(sound.get()), 1000);
    RefPointer<Sound> missing(new Sound);
    EXPECT_EQ(Sound::loadSample(1, missing.get(), "no/such/file.wav"), -1);

    std::ifstream in(musicA, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RefPointer<Sound> fromMemory(new Sound);
    EXPECT_TRUE(fromMemory->loadFromMemory(bytes.data(), bytes.size()));
    const uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(fromMemory->loadFromMemory(garbage, sizeof garbage));
}

TEST_F(SoundManagerTest, FadeWithZeroDurationCompletesNextUpdate)
{
    RefPointer<SoundStream> stream(new SoundStream(musicA, 1));
    SoundStream::fade(stream.get(), 0.0f, 0.7f, 0);
    stream->advanceFade(1);
    EXPECT_FLOAT_EQ(stream->fadeCurrent, 0.7f);
    SoundStream::fade(stream.get(), 0.7f, 0.2f, 100);
    stream->advanceFade(50);
    EXPECT_NEAR(stream->fadeCurrent, 0.45f, 1e-5);
    stream->advanceFade(500);
    EXPECT_FLOAT_EQ(stream->fadeCurrent, 0.2f);
}

TEST_F(SoundManagerTest, CrossFadeEndsWithTheIncomingMusicCurrent)
{
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    RefPointer<SoundStream> b(new SoundStream(musicB, 1));
    manager->setMusicVolume(255);
    manager->playMusic(1000, 0.7f, 100, a.get(), 0, 0x132);
    EXPECT_TRUE(a->isOpen());
    EXPECT_TRUE(manager->isCrossFading());
    for (int i = 0; i < 10; ++i)
        manager->run(20);
    EXPECT_FALSE(manager->isCrossFading());
    EXPECT_EQ(manager->getCurrentMusic(), a.get());
    EXPECT_NEAR(a->fadeCurrent, 0.7f, 1e-5);
    // round(128 x 1.0 x 255 / 255 x 0.7)
    EXPECT_EQ(manager->getMixer().getVolume(a->channel), 90);

    manager->playMusic(100, 0.7f, 100, b.get(), 60, 0x132);
    EXPECT_EQ(manager->getIncomingMusic(), b.get());
    EXPECT_EQ(manager->getIncomingDelay(), 60);
    manager->run(40); // waiting: the incoming fade does not move
    EXPECT_FLOAT_EQ(b->fadeCurrent, 0.0f);
    manager->run(40); // the delay runs out; b restarts from its beginning
    EXPECT_EQ(manager->getIncomingDelay(), 0);
    for (int i = 0; i < 10; ++i)
        manager->run(20);
    EXPECT_FALSE(manager->isCrossFading());
    EXPECT_EQ(manager->getCurrentMusic(), b.get());
    EXPECT_FALSE(a->isOpen());
    EXPECT_TRUE(b->isOpen());

    // A delay that runs out exactly at the end of a frame also restarts the incoming music.
    RefPointer<SoundStream> c(new SoundStream(musicA, 1));
    manager->playMusic(100, 0.7f, 100, c.get(), 60, 0x132);
    output->render(2646);
    manager->run(30);
    manager->run(30);
    EXPECT_EQ(manager->getIncomingDelay(), 0);
    EXPECT_EQ(manager->getMixer().streamPosition(c->stream), 0);
}

TEST_F(SoundManagerTest, SameMusicAgainIsNotReopened)
{
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    manager->playMusic(100, 0.7f, 100, a.get(), 0, 0x132);
    for (int i = 0; i < 20; ++i)
        manager->run(20);
    auto source = a->stream;
    manager->playMusic(200, 0.3f, 100, a.get(), 0, 0x132);
    EXPECT_EQ(a->stream, source);
    EXPECT_FALSE(manager->isCrossFading());
    EXPECT_FLOAT_EQ(a->fadeTarget, 0.3f);
    // Only one channel plays the stream.
    EXPECT_EQ(manager->getMixer().countPlayingStreams(), 1);
}

TEST_F(SoundManagerTest, SecondPlayDuringCrossFadeStartsFromTheFormerIncoming)
{
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    RefPointer<SoundStream> b(new SoundStream(musicB, 1));
    RefPointer<SoundStream> c(new SoundStream(musicA, 1));
    c->fileName = musicA + "-copy";
    {
        std::ifstream in(musicA, std::ios::binary);
        std::ofstream out(c->fileName, std::ios::binary);
        out << in.rdbuf();
    }
    manager->playMusic(100, 0.7f, 100, a.get(), 0, 0x132);
    for (int i = 0; i < 20; ++i)
        manager->run(20);
    manager->playMusic(1000, 0.7f, 1000, b.get(), 0, 0x132);
    manager->run(20);
    ASSERT_TRUE(manager->isCrossFading());
    manager->playMusic(1000, 0.7f, 1000, c.get(), 0, 0x132);
    // The first cross-fade ended at once: a is closed, b is now the outgoing music.
    EXPECT_FALSE(a->isOpen());
    EXPECT_EQ(manager->getCurrentMusic(), b.get());
    EXPECT_EQ(manager->getIncomingMusic(), c.get());
    EXPECT_FLOAT_EQ(b->fadeTarget, 0.0f);

    // Asking again for the incoming music ends the cross-fade on it.
    manager->playMusic(1000, 0.7f, 1000, c.get(), 0, 0x132);
    EXPECT_EQ(manager->getCurrentMusic(), c.get());
    EXPECT_FALSE(manager->isCrossFading());
    for (int i = 0; i < 60; ++i)
        manager->run(20);
    EXPECT_EQ(manager->getCurrentMusic(), c.get());
    std::remove(c->fileName.c_str());
}

TEST_F(SoundManagerTest, PauseRemembersThePositionAndResumes)
{
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    manager->playMusic(100, 0.7f, 100, a.get(), 0, 0x132);
    for (int i = 0; i < 10; ++i)
        manager->run(20);
    output->render(4410);
    EXPECT_FALSE(manager->pauseMusic(200)); // fading first
    EXPECT_FALSE(manager->pauseMusic(200)); // already fading: ignored
    EXPECT_FALSE(manager->pauseMusic(0));   // nor cut short
    EXPECT_FALSE(manager->isPaused());
    for (int i = 0; i < 20; ++i)
        manager->run(20);
    EXPECT_TRUE(manager->isPaused());
    EXPECT_EQ(a->channel, -1);
    EXPECT_NEAR(static_cast<double>(a->resumePosition), 4410.0, 2.0);
    EXPECT_FALSE(manager->pauseMusic(0)); // paused already
    EXPECT_TRUE(manager->startStream(a.get(), nullptr, 0x132));
    EXPECT_FALSE(manager->isPaused());
    EXPECT_TRUE(manager->startStream(a.get(), a.get(), 0x132));  // already the one playing
    EXPECT_EQ(a->resumePosition, 0);
    EXPECT_NEAR(static_cast<double>(manager->getMixer().streamPosition(a->stream)), 4410.0, 2.0);
    EXPECT_TRUE(manager->stopStream(a.get()));
    EXPECT_FALSE(a->isOpen());
    EXPECT_FALSE(manager->stopStream(a.get()));
}

TEST_F(SoundManagerTest, MuteHoldsBackVolumesUntilUnmuted)
{
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    manager->playMusic(100, 1.0f, 1, a.get(), 0, 0x132);
    manager->run(20);
    manager->run(20);
    manager->setMuted(true);
    EXPECT_EQ(manager->getMixer().getVolume(a->channel), 0);
    EXPECT_EQ(manager->getMixer().getEffectsMasterVolume(), 0);
    manager->setMusicVolume(100);
    manager->run(20);
    EXPECT_EQ(manager->getMixer().getVolume(a->channel), 0);
    manager->setEffectsVolume(90);
    EXPECT_EQ(manager->getMixer().getEffectsMasterVolume(), 0);
    manager->setMuted(false);
    EXPECT_EQ(manager->getMixer().getVolume(a->channel), 50); // round(128 x 100 / 255)
    EXPECT_EQ(manager->getMixer().getEffectsMasterVolume(), 90);
}

TEST_F(SoundManagerTest, UnreadableMusicLeavesNoChannel)
{
    LogCapture log;
    RefPointer<SoundStream> broken(new SoundStream("missing-music.ogg", 1));
    EXPECT_FALSE(manager->startStream(broken.get(), nullptr, 0x132));
    EXPECT_TRUE(log.contains("Cannot read music file missing-music.ogg"));
    EXPECT_FALSE(broken->isOpen());
    EXPECT_EQ(broken->channel, -1);
    EXPECT_FALSE(manager->stopStream(broken.get()));

    // Pausing while fading over to it pauses nothing: the music that could be paused is gone.
    RefPointer<SoundStream> a(new SoundStream(musicA, 1));
    manager->playMusic(100, 0.7f, 100, a.get(), 0, 0x132);
    for (int i = 0; i < 10; ++i)
        manager->run(20);
    manager->playMusic(100, 0.7f, 100, broken.get(), 0, 0x132);
    EXPECT_FALSE(manager->pauseMusic(0));
    EXPECT_FALSE(manager->isPaused());
}

TEST(SoundOff, EveryCallDoesNothing)
{
    SoundManager::createInstance(std::make_unique<FailingOutput>());
    EXPECT_FALSE(SoundManager::isSoundOn());
    RefPointer<Sound> sound(new Sound);
    EXPECT_EQ(Sound::loadSample(1, sound.get(), "anything.wav"), 0);
    EXPECT_FALSE(sound->hasSample());
    auto pcm = std::make_shared<host::PcmBuffer>();
    pcm->channels = 1;
    pcm->samples.assign(100, 1);
    sound->sample = pcm;
    EXPECT_EQ(Sound::play(sound.get(), 128, 255, false), -1);
    EXPECT_EQ(Sound::getLength(sound.get()), 0);
    RefPointer<SoundStream> stream(new SoundStream("x.ogg", 1));
    SoundManager::instance->playMusic(100, 1.0f, 100, stream.get(), 0, 0x132);
    EXPECT_EQ(SoundManager::instance->getCurrentMusic(), nullptr);
    EXPECT_FALSE(SoundManager::instance->pauseMusic(0));
    SoundManager::instance->run(20);
    SoundManager::releaseInstance();
}

// A stream's panning (from its resource) holds whenever it plays: hard
// left leaves the right side silent, hard right the left.
TEST_F(SoundManagerTest, StreamPanningIsApplied)
{
    for (int panning : {0, 255}) {
        RefPointer<SoundStream> music(new SoundStream(panning == 0 ? musicA : musicB, 1));
        music->panning = static_cast<uint8_t>(panning);
        manager->playMusic(0, 1.0f, 0, music.get(), 0, 0x132);
        for (int i = 0; i < 5; ++i)
            manager->run(20);
        ASSERT_TRUE(manager->getMixer().isPlaying(music->channel));
        EXPECT_EQ(manager->getMixer().getPan(music->channel), panning);
        output->recording.clear();
        output->render(8);
        const size_t loud = panning == 0 ? 0 : 1;
        EXPECT_GT(std::abs(output->recording[loud]), 500) << panning;
        EXPECT_EQ(output->recording[1 - loud], 0) << panning;
        manager->stopMusic();
    }
}
