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
    return index;
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
    return index;
}

void AudioMixer::setVolume(int channel, int volume)
{
    if (!validChannel(channel))
        return;
    std::lock_guard<std::mutex> lock(mutex);
    channels[channel].volume = std::clamp(volume, 0, 255);
}

void AudioMixer::setPan(int channel, int pan)
{
    if (!validChannel(channel))
        return;
    std::lock_guard<std::mutex> lock(mutex);
    channels[channel].pan = std::clamp(pan, 0, 255);
}

void AudioMixer::setPaused(int channel, bool paused)
{
    if (!validChannel(channel))
        return;
    std::lock_guard<std::mutex> lock(mutex);
    channels[channel].paused = paused;
}

bool AudioMixer::stop(int channel)
{
    if (!validChannel(channel))
        return false;
    Channel released;
    std::lock_guard<std::mutex> lock(mutex);
    const bool wasActive = channels[channel].active;
    released = std::move(channels[channel]);
    channels[channel] = Channel{};
    return wasActive;
}

bool AudioMixer::isPlaying(int channel) const
{
    if (!validChannel(channel))
        return false;
    std::lock_guard<std::mutex> lock(mutex);
    return channels[channel].active;
}

int AudioMixer::getVolume(int channel) const
{
    if (!validChannel(channel))
        return 0;
    std::lock_guard<std::mutex> lock(mutex);
    return channels[channel].volume;
}

int AudioMixer::getPan(int channel) const
{
    if (!validChannel(channel))
        return 128;
    std::lock_guard<std::mutex> lock(mutex);
    return channels[channel].pan;
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
    for (int i = kFirstStreamChannel; i < kChannelCount; ++i) {
        bool plays;
        {
            std::lock_guard<std::mutex> lock(mutex);
            plays = channels[i].stream == stream;
        }
        if (plays)
            stop(i);
    }
}

void AudioMixer::stopAll()
{
    for (int i = 0; i < kChannelCount; ++i)
        stop(i);
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
                // Music: volume only; a stereo track is passed through at full width.
                const float gain = channel.volume / 255.0f;
                const int got = channel.stream->read(streamScratch.data(), count);
                for (int f = 0; f < got; ++f) {
                    accumulator[f * 2] += streamScratch[f * 2] * gain;
                    accumulator[f * 2 + 1] += streamScratch[f * 2 + 1] * gain;
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
