#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "host/AudioMixer.h"

class SoundManager;

// One piece of streamed music: the open stream (none while closed), its
// channel, volume and fade state, its file and the sync points read for it.
// The sound manager opens, plays, fades and closes it.
class SoundStream : public BaseObject {
    TT_CLASS_RECORD(SoundStream)
public:
    SoundStream() = default;
    SoundStream(const std::string& fileName, int fileMode, const std::string& syncPointsFile = std::string());
    ~SoundStream() override;

    // fade current = from, target = to, step per ms = |to - from| / duration (a duration <= 0 counts as 1).
    static void fade(SoundStream* stream, float from, float to, int durationMs);
    // Stores the volume byte and, unless muted or closed, sets the channel to
    // round(byte x volume factor x music volume / 255 x fade current).
    static void applyVolume(SoundStream* stream, SoundManager* manager, int volumeByte);
    // Reads the sync points from `syncPointsFile`: a vector "SyncPoints" of
    // nodes with "value". False (logged, no points) when the file cannot be
    // read or parsed; true without a file name.
    bool loadSyncPoints();

    bool isOpen() const { return stream != nullptr; }
    // Advances the fade by `deltaMs` toward its target; true when it has arrived.
    void advanceFade(int deltaMs);
    bool fadeDone() const { return fadeCurrent == fadeTarget; }

    host::AudioMixer::Stream stream;
    int channel = -1;
    float volumeFactor = 1.0f;
    // 0 = left, 128 = centre, 255 = right; applied whenever the stream starts playing.
    uint8_t panning = 128;
    int volume = 128;
    float fadeTarget = 1.0f;
    float fadeCurrent = 1.0f;
    float fadeStep = 0.0f;
    // Frames at 44100 Hz from the start; 0 means "from the beginning".
    int64_t resumePosition = 0;
    std::string fileName;
    int fileMode = 0;
    std::string syncPointsFile;
    std::vector<uint32_t> syncPoints;
};
