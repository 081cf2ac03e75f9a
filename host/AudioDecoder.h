#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

// The nearest 16-bit sample to `value`, saturating at the sample range.
inline int16_t roundToSample(double value)
{
    return static_cast<int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

// The mixer's one output rate; every effect is resampled to it when loaded.
constexpr int kAudioRate = 44100;

// Decoded 16-bit PCM at kAudioRate, interleaved when stereo.
struct PcmBuffer {
    int channels = 0; // 1 or 2
    std::vector<int16_t> samples;

    size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
    // Length in milliseconds: frames * 1000 / 44100.
    int lengthMs() const { return static_cast<int>(frames() * 1000 / kAudioRate); }
};

// Decodes a WAV (PCM 8/16/24/32-bit or 32-bit float) or Ogg Vorbis file held
// in memory and resamples it to kAudioRate. Returns null and fills `error` for
// anything it cannot read; never reads outside [data, data + size).
std::shared_ptr<PcmBuffer> decodeAudio(const uint8_t* data, size_t size, std::string* error = nullptr);
std::shared_ptr<PcmBuffer> decodeWav(const uint8_t* data, size_t size, std::string* error = nullptr);
std::shared_ptr<PcmBuffer> decodeOgg(const uint8_t* data, size_t size, std::string* error = nullptr);

// Linear-interpolation resampling of interleaved 16-bit PCM.
std::vector<int16_t> resampleLinear(const std::vector<int16_t>& input, int channels, int fromRate, int toRate);

// A source of streamed music: decodes on demand and loops at its end.
class StreamSource {
public:
    virtual ~StreamSource() = default;
    // Writes up to `frames` stereo frames at kAudioRate; returns the frames
    // written (fewer only when the source is empty or broken).
    virtual int read(int16_t* stereoOut, int frames) = 0;
    // Position in frames at kAudioRate from the start of the track.
    virtual int64_t position() const = 0;
    virtual void seek(int64_t frame) = 0;
    virtual int64_t lengthFrames() const = 0;
};

// Opens an Ogg Vorbis stream over its own copy of the bytes; null when they are not Ogg Vorbis.
std::unique_ptr<StreamSource> openOggStream(std::vector<uint8_t> bytes, std::string* error = nullptr);
// A looping stream over decoded PCM (WAV music, tests).
std::unique_ptr<StreamSource> openPcmStream(std::shared_ptr<PcmBuffer> pcm);
// Ogg or WAV, chosen by the file's first bytes.
std::unique_ptr<StreamSource> openStream(std::vector<uint8_t> bytes, std::string* error = nullptr);

} // namespace host
