#include "host/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace host {

void AudioMixer::panGains(int pan, float& left, float& right)
{
    // 0 is hard left, 128 the exact centre and 255 hard right.
    constexpr float kQuarterPi = 0.785398163397f;
    pan = std::clamp(pan, 0, 255);
    const float angle = pan <= 128 ? pan / 128.0f * kQuarterPi : kQuarterPi + (pan - 128) / 127.0f * kQuarterPi;
    left = std::cos(angle);
    right = std::sin(angle);
}

int AudioMixer::resolve(int handle) const
{
    if (handle < 0)
        return -1;
    const int index = handle & ((1 << kIndexBits) - 1);
    const uint32_t generation = static_cast<uint32_t>(handle) >> kIndexBits;
    if (index >= kChannelCount || generation == 0 || channels[index].generation != generation)
        return -1;
    return index;
}

int AudioMixer::startPlay(int index)
{
    const uint32_t generation = nextGeneration;
    nextGeneration = nextGeneration + 1 < kGenerationLimit ? nextGeneration + 1 : 1;
    channels[index].generation = generation;
    return static_cast<int>(generation << kIndexBits) | index;
}

int AudioMixer::takeChannel(int first, int count)
{
    int oldest = first;
    for (int i = first; i < first + count; ++i) {
        if (!channels[i].active)
            return i;
        if (channels[i].startOrder < channels[oldest].startOrder)
            oldest = i;
    }
    return oldest;
}

int AudioMixer::playSample(const Sample& sample, bool loop, bool paused)
{
    if (!sample || sample->frames() == 0)
        return -1;
    // The old sample (if a channel is taken over) is released outside the lock.
    Channel replaced;
    std::lock_guard<std::mutex> lock(mutex);
    const int index = takeChannel(0, kEffectChannels);
    Channel& channel = channels[index];
    replaced = std::move(channel);
    channel = Channel{};
    channel.sample = sample;
    channel.loop = loop;
    channel.paused = paused;
    channel.active = true;
    channel.startOrder = nextOrder++;
    return startPlay(index);
}

int AudioMixer::playStream(const Stream& stream)
{
    if (!stream)
        return -1;
    Channel replaced;
    std::lock_guard<std::mutex> lock(mutex);
    const int index = takeChannel(kFirstStreamChannel, kStreamChannels);
    Channel& channel = channels[index];
    replaced = std::move(channel);
    channel = Channel{};
    channel.stream = stream;
    channel.active = true;
    channel.startOrder = nextOrder++;
    return startPlay(index);
}

void AudioMixer::setVolume(int channel, int volume)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    if (index < 0)
        return;
    channels[index].volume = std::clamp(volume, 0, 255);
}

void AudioMixer::setPan(int channel, int pan)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    if (index < 0)
        return;
    channels[index].pan = std::clamp(pan, 0, 255);
}

void AudioMixer::setPaused(int channel, bool paused)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    if (index < 0)
        return;
    channels[index].paused = paused;
}

bool AudioMixer::stop(int channel)
{
    Channel released;
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    if (index < 0)
        return false;
    const bool wasActive = channels[index].active;
    released = std::move(channels[index]);
    channels[index] = Channel{};
    return wasActive;
}

bool AudioMixer::isPlaying(int channel) const
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    return index >= 0 && channels[index].active;
}

int AudioMixer::countPlayingStreams() const
{
    std::lock_guard<std::mutex> lock(mutex);
    int count = 0;
    for (int i = kFirstStreamChannel; i < kChannelCount; ++i)
        count += channels[i].active ? 1 : 0;
    return count;
}

int AudioMixer::getVolume(int channel) const
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    return index < 0 ? 0 : channels[index].volume;
}

int AudioMixer::getPan(int channel) const
{
    std::lock_guard<std::mutex> lock(mutex);
    const int index = resolve(channel);
    return index < 0 ? 128 : channels[index].pan;
}

void AudioMixer::setEffectsMasterVolume(int volume)
{
    std::lock_guard<std::mutex> lock(mutex);
    effectsMasterVolume = std::clamp(volume, 0, 255);
}

int AudioMixer::getEffectsMasterVolume() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return effectsMasterVolume;
}

int64_t AudioMixer::streamPosition(const Stream& stream) const
{
    if (!stream)
        return 0;
    std::lock_guard<std::mutex> lock(mutex);
    return stream->position();
}

void AudioMixer::seekStream(const Stream& stream, int64_t frame)
{
    if (!stream)
        return;
    std::lock_guard<std::mutex> lock(mutex);
    stream->seek(frame);
}

void AudioMixer::stopStream(const Stream& stream)
{
    if (!stream)
        return;
    // What the channels held is released after the lock, outside the audio thread's way.
    std::array<Channel, kStreamChannels> released;
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = kFirstStreamChannel; i < kChannelCount; ++i) {
        if (channels[i].stream == stream) {
            released[static_cast<size_t>(i - kFirstStreamChannel)] = std::move(channels[i]);
            channels[i] = Channel{};
        }
    }
}

void AudioMixer::stopAll()
{
    std::array<Channel, kChannelCount> released;
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < kChannelCount; ++i) {
        released[static_cast<size_t>(i)] = std::move(channels[i]);
        channels[i] = Channel{};
    }
}

void AudioMixer::stopEffects()
{
    // Released after the lock, so no sample is freed while the mixer waits.
    std::array<Channel, kEffectChannels> released;
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < kEffectChannels; ++i) {
        released[static_cast<size_t>(i)] = std::move(channels[i]);
        channels[i] = Channel{};
    }
}

void AudioMixer::mix(int16_t* out, int frames)
{
    if (frames <= 0)
        return;
    std::lock_guard<std::mutex> lock(mutex);
    // Mix in blocks so the accumulator stays on the stack.
    constexpr int kBlock = 512;
    float accumulator[kBlock * 2];
    int done = 0;
    while (done < frames) {
        const int count = std::min(kBlock, frames - done);
        std::fill(accumulator, accumulator + count * 2, 0.0f);
        for (int index = 0; index < kChannelCount; ++index) {
            Channel& channel = channels[index];
            if (!channel.active || channel.paused)
                continue;
            float left, right;
            panGains(channel.pan, left, right);
            if (channel.stream) {
                // Music is stereo: the pan is a balance that keeps full width at the centre.
                const float gain = channel.volume / 255.0f;
                const float gainLeft = gain * std::min(1.0f, left * 1.41421356f);
                const float gainRight = gain * std::min(1.0f, right * 1.41421356f);
                const int got = channel.stream->read(streamScratch.data(), count);
                for (int f = 0; f < got; ++f) {
                    accumulator[f * 2] += streamScratch[f * 2] * gainLeft;
                    accumulator[f * 2 + 1] += streamScratch[f * 2 + 1] * gainRight;
                }
                continue;
            }
            const PcmBuffer& pcm = *channel.sample;
            const size_t total = pcm.frames();
            // Effect: channel volume x effects master volume, then the pan law.
            const float gain = channel.volume / 255.0f * (effectsMasterVolume / 255.0f);
            if (pcm.channels == 2) {
                // A stereo effect keeps unity width at the centre.
                left = std::min(1.0f, left * 1.41421356f);
                right = std::min(1.0f, right * 1.41421356f);
            }
            const float gainLeft = gain * left;
            const float gainRight = gain * right;
            for (int f = 0; f < count; ++f) {
                if (channel.cursor >= total) {
                    if (!channel.loop) {
                        channel.active = false;
                        break;
                    }
                    channel.cursor = 0;
                }
                if (pcm.channels == 1) {
                    const float s = pcm.samples[channel.cursor];
                    accumulator[f * 2] += s * gainLeft;
                    accumulator[f * 2 + 1] += s * gainRight;
                } else {
                    accumulator[f * 2] += pcm.samples[channel.cursor * 2] * gainLeft;
                    accumulator[f * 2 + 1] += pcm.samples[channel.cursor * 2 + 1] * gainRight;
                }
                ++channel.cursor;
            }
            if (!channel.active) {
                // A finished effect frees its channel for the next play.
                channel = Channel{};
            }
        }
        for (int i = 0; i < count * 2; ++i)
            out[(done * 2) + i] = roundToSample(accumulator[i]);
        done += count;
    }
}

} // namespace host
