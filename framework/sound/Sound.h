#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "host/AudioMixer.h"

// A loaded sound effect, decoded to 44100 Hz when loaded, played on a free
// effect channel with a volume and a pan.
class Sound : public BaseObject {
    TT_CLASS_RECORD(Sound)
public:
    Sound() = default;
    ~Sound() override = default;

    // Plays the sample: volume x volume factor truncated and clamped to
    // 0..255, pan clamped to 0..255. Returns the channel, or -1 when sound is
    // off or there is no sample.
    static int play(Sound* sound, int pan, int volume, bool loop);
    // Length in ms (frames x 1000 / 44100); 0 while sound is off.
    static int getLength(const Sound* sound);
    // Reads the file in the given file mode and decodes it. Returns 0 when
    // the sound now has a sample, -1 otherwise; with sound off it returns 0
    // without loading.
    static int loadSample(int fileMode, Sound* sound, const std::string& path);
    // Decodes WAV or Ogg bytes; false (and no sample) when they cannot be read.
    bool loadFromMemory(const uint8_t* data, size_t size);

    bool hasSample() const { return sample != nullptr; }

    host::AudioMixer::Sample sample;
    float volumeFactor = 1.0f;
};
