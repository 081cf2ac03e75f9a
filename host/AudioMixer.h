#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "host/AudioDecoder.h"

namespace host {

// Software mixer for 32 effect channels and a few music channels, at 44100 Hz
// 16-bit stereo. The main thread changes channels; the audio thread calls mix().
// One mutex guards both, held only for short, allocation-free sections.
class AudioMixer {
public:
    static constexpr int kEffectChannels = 32;
    static constexpr int kStreamChannels = 4;
    static constexpr int kChannelCount = kEffectChannels + kStreamChannels;
    static constexpr int kFirstStreamChannel = kEffectChannels;

    using Sample = std::shared_ptr<const PcmBuffer>;
    using Stream = std::shared_ptr<StreamSource>;

    // Channels are named by handles that carry the play's generation: once
    // the play ends (finished, stopped or taken over) its handle goes stale,
    // and every call with a stale handle does nothing (or answers as for an
    // idle channel), so it never touches a later, unrelated sound.

    // Starts an effect on a free channel; when all 32 are busy the one started
    // longest ago is taken over. Returns the play's handle, or -1 for an empty sample.
    int playSample(const Sample& sample, bool loop, bool paused);
    // Starts a music stream at its current position on a free music channel.
    int playStream(const Stream& stream);

    // Channel volume 0..255 (effects are further scaled by the effects master volume).
    void setVolume(int channel, int volume);
    // 0 = left, 128 = centre, 255 = right; constant-power law.
    void setPan(int channel, int pan);
    void setPaused(int channel, bool paused);
    // True when the handle's play was still going.
    bool stop(int channel);
    bool isPlaying(int channel) const;
    // How many music channels play right now.
    int countPlayingStreams() const;
    int getVolume(int channel) const;
    int getPan(int channel) const;

    // Scales effect channels only; music keeps its own volume.
    void setEffectsMasterVolume(int volume);
    int getEffectsMasterVolume() const;

    // Stream position and seeking, in frames at 44100 Hz, synchronised with mixing.
    int64_t streamPosition(const Stream& stream) const;
    void seekStream(const Stream& stream, int64_t frame);
    // Stops every channel that plays this stream (before the stream is closed).
    void stopStream(const Stream& stream);
    void stopAll();
    // Stops every effect channel; music plays on.
    void stopEffects();

    // Mixes `frames` interleaved stereo frames into `out` (overwriting it).
    void mix(int16_t* out, int frames);

    // Constant-power gains: left = cos(t), right = sin(t), t from 0 (pan 0) over pi/4 (pan 128) to pi/2 (pan 255).
    static void panGains(int pan, float& left, float& right);

private:
    struct Channel {
        Sample sample;
        Stream stream;
        size_t cursor = 0;
        uint64_t startOrder = 0;
        int volume = 255;
        int pan = 128;
        bool loop = false;
        bool paused = false;
        bool active = false;
        // 0 while the channel is idle; the handle's upper bits otherwise.
        uint32_t generation = 0;
    };

    static constexpr int kIndexBits = 6;
    static_assert(kChannelCount <= (1 << kIndexBits), "channel index must fit its bits");
    static constexpr uint32_t kGenerationLimit = 1u << 24;

    // The channel index a handle names while its play goes on, else -1. Call with the lock held.
    int resolve(int handle) const;
    int takeChannel(int first, int count);
    // Gives a freshly taken channel its next generation and returns its handle.
    int startPlay(int index);

    mutable std::mutex mutex;
    std::array<Channel, kChannelCount> channels;
    uint64_t nextOrder = 1;
    uint32_t nextGeneration = 1;
    int effectsMasterVolume = 255;
    std::array<int16_t, 2048> streamScratch{};
};

} // namespace host
