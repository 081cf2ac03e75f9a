#include <gtest/gtest.h>

#include "support/MissingTool.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "host/AudioDecoder.h"
#include "host/AudioMixer.h"
#include "host/AudioOutput.h"

using namespace host;

namespace {

std::vector<uint8_t> makeWav(const std::vector<int16_t>& samples, int channels, int rate, int bits = 16)
{
    std::vector<uint8_t> data;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(v >> 8));
    };
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * bits / 8);
    data.insert(data.end(), {'R', 'I', 'F', 'F'});
    put32(36 + bytes);
    data.insert(data.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);
    put16(static_cast<uint16_t>(channels));
    put32(static_cast<uint32_t>(rate));
    put32(static_cast<uint32_t>(rate * channels * bits / 8));
    put16(static_cast<uint16_t>(channels * bits / 8));
    put16(static_cast<uint16_t>(bits));
    data.insert(data.end(), {'d', 'a', 't', 'a'});
    put32(bytes);
    for (int16_t s : samples) {
        if (bits == 8)
            data.push_back(static_cast<uint8_t>((s >> 8) + 128));
        else
            put16(static_cast<uint16_t>(s));
    }
    return data;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string audioData(const char* name)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/tests/data/audio/" + name;
}

std::shared_ptr<PcmBuffer> constantPcm(int16_t value, size_t frames, int channels = 1)
{
    auto pcm = std::make_shared<PcmBuffer>();
    pcm->channels = channels;
    pcm->samples.assign(frames * channels, value);
    return pcm;
}

// Frequency from the count of rising zero crossings of one channel.
double estimatePitch(const std::vector<int16_t>& stereo, int channel, int rate)
{
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t f = 1; f < stereo.size() / 2; ++f) {
        if (stereo[(f - 1) * 2 + channel] < 0 && stereo[f * 2 + channel] >= 0) {
            if (crossings == 0)
                first = f;
            last = f;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

} // namespace

TEST(AudioDecoder, WavFormatsDecodeAndResample)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i)
        ramp.push_back(static_cast<int16_t>(i * 300));
    auto bytes = makeWav(ramp, 1, kAudioRate);
    auto pcm = decodeAudio(bytes.data(), bytes.size());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->samples, ramp);

    // 22050 Hz doubles in length at 44100 Hz; the length in ms follows the frames.
    auto half = makeWav(std::vector<int16_t>(22050, 1000), 1, 22050);
    auto resampled = decodeWav(half.data(), half.size());
    ASSERT_TRUE(resampled);
    EXPECT_EQ(resampled->frames(), 44100u);
    EXPECT_EQ(resampled->lengthMs(), 1000);

    // 8-bit unsigned samples widen to 16-bit signed.
    auto eight = makeWav({-32768, 0, 32512}, 1, kAudioRate, 8);
    auto wide = decodeWav(eight.data(), eight.size());
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->samples, (std::vector<int16_t>{-32768, 0, 32512}));
}

TEST(AudioDecoder, BrokenWavFilesAreRejected)
{
    std::string error;
    EXPECT_FALSE(decodeAudio(nullptr, 0, &error));
    EXPECT_FALSE(error.empty());
    auto bytes = makeWav(std::vector<int16_t>(64, 5), 2, kAudioRate);
    // Every truncation either decodes what is there or fails cleanly.
    for (size_t cut = 0; cut < bytes.size(); cut += 3) {
        auto pcm = decodeWav(bytes.data(), cut);
        if (pcm) {
            EXPECT_LE(pcm->samples.size(), 64u);
        }
    }
    // Unsupported sample format and a huge declared chunk.
    auto odd = bytes;
    odd[20] = 2; // ADPCM
    EXPECT_FALSE(decodeWav(odd.data(), odd.size(), &error));
    auto huge = bytes;
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;
    auto clipped = decodeWav(huge.data(), huge.size());
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->samples.size(), 64u);
}

TEST(AudioDecoder, OggEffectsDecodeAtTheMixerRate)
{
    auto mono = readFile(audioData("tone440_mono_22050.ogg"));
    ASSERT_FALSE(mono.empty());
    auto pcm = decodeAudio(mono.data(), mono.size());
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_NEAR(pcm->lengthMs(), 500, 5);

    std::vector<int16_t> asStereo;
    for (int16_t s : pcm->samples) {
        asStereo.push_back(s);
        asStereo.push_back(s);
    }
    EXPECT_NEAR(estimatePitch(asStereo, 0, kAudioRate), 440.0, 4.0);

    auto stereo = readFile(audioData("tone330_stereo_44100.ogg"));
    auto both = decodeAudio(stereo.data(), stereo.size());
    ASSERT_TRUE(both);
    EXPECT_EQ(both->channels, 2);
    EXPECT_NEAR(both->lengthMs(), 1000, 5);

    // A damaged file fails cleanly.
    std::vector<uint8_t> broken(mono.begin(), mono.begin() + 40);
    EXPECT_FALSE(decodeAudio(broken.data(), broken.size()));
}

TEST(AudioDecoder, OggStreamLoopsAndSeeks)
{
    auto bytes = readFile(audioData("tone440_mono_22050.ogg"));
    auto stream = openStream(bytes);
    ASSERT_TRUE(stream);
    EXPECT_NEAR(static_cast<double>(stream->lengthFrames()), 22050.0, 50.0);
    std::vector<int16_t> out(2 * 30000);
    // Reading past the end wraps around to the start.
    EXPECT_EQ(stream->read(out.data(), 30000), 30000);
    EXPECT_LT(stream->position(), 10000);
    stream->seek(11025);
    EXPECT_NEAR(static_cast<double>(stream->position()), 11025.0, 2.0);
    EXPECT_FALSE(openStream(std::vector<uint8_t>(10, 0)));
}

TEST(AudioMixer, VolumeAndConstantPowerPan)
{
    AudioMixer mixer;
    RecordingAudioOutput output;
    ASSERT_TRUE(output.open(mixer));
    auto pcm = constantPcm(10000, 100);

    const int channel = mixer.playSample(pcm, false, false);
    ASSERT_GE(channel, 0);
    output.render(10);
    // Centre: cos(pi/4) on both sides.
    EXPECT_NEAR(output.recording[0], 10000 * 0.7071, 2);
    EXPECT_NEAR(output.recording[1], 10000 * 0.7071, 2);

    mixer.setPan(channel, 0);
    mixer.setVolume(channel, 128);
    output.recording.clear();
    output.render(1);
    EXPECT_NEAR(output.recording[0], 10000 * 128 / 255.0, 2);
    EXPECT_EQ(output.recording[1], 0);

    mixer.setPan(channel, 300); // clamped to full right
    EXPECT_EQ(mixer.getPan(channel), 255);
    float left, right;
    for (int pan : {0, 64, 128, 200, 255}) {
        AudioMixer::panGains(pan, left, right);
        EXPECT_NEAR(left * left + right * right, 1.0, 1e-5);
    }
}

TEST(AudioMixer, EffectsMasterVolumeLeavesMusicAlone)
{
    AudioMixer mixer;
    RecordingAudioOutput output;
    output.open(mixer);
    auto music = openPcmStream(constantPcm(8000, 1000, 2));
    AudioMixer::Stream stream(std::move(music));
    const int musicChannel = mixer.playStream(stream);
    ASSERT_GE(musicChannel, AudioMixer::kFirstStreamChannel);
    mixer.setVolume(musicChannel, 255);
    mixer.setEffectsMasterVolume(0);
    const int effect = mixer.playSample(constantPcm(10000, 1000), false, false);
    ASSERT_GE(effect, 0);
    output.render(4);
    EXPECT_EQ(output.recording[0], 8000);
    EXPECT_EQ(output.recording[1], 8000);

    // Mute of music is its own channel volume.
    mixer.setVolume(musicChannel, 0);
    mixer.setEffectsMasterVolume(255);
    output.recording.clear();
    output.render(1);
    EXPECT_NEAR(output.recording[0], 7071, 2);
}

TEST(AudioMixer, ChannelsEndLoopPauseAndAreStolenWhenFull)
{
    AudioMixer mixer;
    RecordingAudioOutput output;
    output.open(mixer);
    auto shortSound = constantPcm(1000, 5);
    const int once = mixer.playSample(shortSound, false, false);
    const int looped = mixer.playSample(shortSound, true, false);
    const int paused = mixer.playSample(shortSound, false, true);
    output.render(20);
    EXPECT_FALSE(mixer.isPlaying(once));
    EXPECT_TRUE(mixer.isPlaying(looped));
    EXPECT_TRUE(mixer.isPlaying(paused));
    mixer.setPaused(paused, false);
    output.render(20);
    EXPECT_FALSE(mixer.isPlaying(paused));
    EXPECT_TRUE(mixer.stop(looped));
    EXPECT_FALSE(mixer.stop(looped));

    // With all 32 busy, the oldest play is taken over.
    auto longSound = constantPcm(1, 100000);
    std::vector<int> used;
    for (int i = 0; i < AudioMixer::kEffectChannels; ++i)
        used.push_back(mixer.playSample(longSound, true, false));
    const int stolen = mixer.playSample(longSound, false, false);
    EXPECT_TRUE(mixer.isPlaying(stolen));
    EXPECT_FALSE(mixer.isPlaying(used.front())) << "the taken-over play's handle is stale";
    EXPECT_TRUE(mixer.isPlaying(used[1]));
    EXPECT_EQ(mixer.playSample(nullptr, false, false), -1);
    EXPECT_FALSE(mixer.isPlaying(-1));
    EXPECT_FALSE(mixer.isPlaying(99));
    mixer.stopAll();
    for (int channel : used)
        EXPECT_FALSE(mixer.isPlaying(channel));
}

// A finished effect frees its channel and the next effect takes it: the old
// handle must not reach the new sound (a sound node stopping or panning its
// long-finished effect would otherwise cut off someone else's).
TEST(AudioMixer, StaleHandlesAreIgnored)
{
    AudioMixer mixer;
    RecordingAudioOutput output;
    output.open(mixer);
    const int finished = mixer.playSample(constantPcm(1000, 5), false, false);
    output.render(10);
    ASSERT_FALSE(mixer.isPlaying(finished));
    const int next = mixer.playSample(constantPcm(1000, 1000), true, false);
    ASSERT_TRUE(mixer.isPlaying(next));
    EXPECT_NE(next, finished);

    mixer.setPan(finished, 0);
    mixer.setVolume(finished, 0);
    mixer.setPaused(finished, true);
    EXPECT_FALSE(mixer.stop(finished));
    EXPECT_EQ(mixer.getPan(next), 128);
    EXPECT_EQ(mixer.getVolume(next), 255);
    EXPECT_EQ(mixer.getVolume(finished), 0);
    EXPECT_TRUE(mixer.isPlaying(next));
    output.recording.clear();
    output.render(1);
    EXPECT_NEAR(output.recording[0], 707, 2) << "still centred and at full volume";

    // A stopped play's handle goes stale too, also for the channel's next play.
    EXPECT_TRUE(mixer.stop(next));
    const int third = mixer.playSample(constantPcm(1000, 1000), true, false);
    EXPECT_FALSE(mixer.stop(next));
    EXPECT_TRUE(mixer.isPlaying(third));
}

TEST(AudioMixer, SumsClipInsteadOfWrapping)
{
    AudioMixer mixer;
    RecordingAudioOutput output;
    output.open(mixer);
    auto loud = constantPcm(30000, 10, 2);
    for (int i = 0; i < 4; ++i)
        mixer.playSample(loud, false, false);
    output.render(2);
    EXPECT_EQ(output.recording[0], 32767);
}

// Real sound through SDL's "disk" driver: a 440 Hz tone must reach the file.
TEST(SdlAudioOutput, ToneReachesTheDiskDriver)
{
    const std::string file = std::string(TORTELUNE_BINARY_DIR) + "/disk-audio-test.raw";
    std::remove(file.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);

    std::vector<int16_t> tone(kAudioRate / 2);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440.0 * i / kAudioRate));
    auto pcm = std::make_shared<PcmBuffer>();
    pcm->channels = 1;
    pcm->samples = tone;

    AudioMixer mixer;
    {
        SdlAudioOutput output;
        if (!output.open(mixer)) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            SKIP_FOR_MISSING_TOOL("SDL has no disk audio driver here");
        }
        mixer.playSample(pcm, true, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        output.close();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    auto bytes = readFile(file);
    ASSERT_GT(bytes.size(), 4096u);
    std::vector<int16_t> written(bytes.size() / 2);
    std::memcpy(written.data(), bytes.data(), written.size() * 2);
    int peak = 0;
    for (int16_t s : written)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 5000);
    EXPECT_NEAR(estimatePitch(written, 0, kAudioRate), 440.0, 5.0);
}
