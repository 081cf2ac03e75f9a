#pragma once

#include <cstdint>
#include <vector>

#include "host/AudioMixer.h"

namespace host {

// Where the mixer's output goes: the sound card, or a recording for tests.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts pulling audio from `mixer`; false when no device can be opened
    // (the game then runs without sound).
    virtual bool open(AudioMixer& mixer) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Samples per second of the output (44100 once open).
    virtual int outputRate() const { return kAudioRate; }
};

// The SDL audio device at 44100 Hz, 16-bit stereo; mixing runs in SDL's audio callback.
class SdlAudioOutput final : public AudioOutput {
public:
    ~SdlAudioOutput() override { close(); }
    bool open(AudioMixer& mixer) override;
    void close() override;
    bool isOpen() const override { return device != 0; }

private:
    static void callback(void* userData, uint8_t* stream, int length);

    uint32_t device = 0;
    AudioMixer* mixer = nullptr;
    bool subsystemStarted = false;
};

// A device that plays nothing by itself: tests pull frames with render() and
// read what was mixed.
class RecordingAudioOutput final : public AudioOutput {
public:
    bool open(AudioMixer& target) override
    {
        mixer = &target;
        return true;
    }
    void close() override { mixer = nullptr; }
    bool isOpen() const override { return mixer != nullptr; }

    // Mixes `frames` stereo frames and appends them to the recording.
    void render(int frames)
    {
        if (!mixer || frames <= 0)
            return;
        const size_t start = recording.size();
        recording.resize(start + static_cast<size_t>(frames) * 2);
        mixer->mix(recording.data() + start, frames);
    }

    std::vector<int16_t> recording;

private:
    AudioMixer* mixer = nullptr;
};

} // namespace host
