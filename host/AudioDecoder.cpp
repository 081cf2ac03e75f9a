#include "host/AudioDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace host {
namespace {

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

uint32_t readLe32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int16_t clamp16(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

// Keeps the front left and right channels of anything wider than stereo.
std::vector<int16_t> toAtMostStereo(std::vector<int16_t>&& input, int channels, int& outChannels)
{
    if (channels <= 2) {
        outChannels = channels;
        return std::move(input);
    }
    outChannels = 2;
    const size_t frames = input.size() / channels;
    std::vector<int16_t> out(frames * 2);
    for (size_t f = 0; f < frames; ++f) {
        out[f * 2] = input[f * channels];
        out[f * 2 + 1] = input[f * channels + 1];
    }
    return out;
}

std::shared_ptr<PcmBuffer> finish(std::vector<int16_t>&& samples, int channels, int rate)
{
    auto pcm = std::make_shared<PcmBuffer>();
    int outChannels = channels;
    std::vector<int16_t> narrowed = toAtMostStereo(std::move(samples), channels, outChannels);
    pcm->channels = outChannels;
    pcm->samples = rate == kAudioRate ? std::move(narrowed) : resampleLinear(narrowed, outChannels, rate, kAudioRate);
    return pcm;
}

// Bounds-checked memory reader for libvorbisfile.
struct MemoryReader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;

    static size_t read(void* out, size_t itemSize, size_t count, void* source)
    {
        auto* self = static_cast<MemoryReader*>(source);
        if (itemSize == 0)
            return 0;
        const size_t available = self->size - self->position;
        const size_t items = std::min(count, available / itemSize);
        if (items)
            std::memcpy(out, self->data + self->position, items * itemSize);
        self->position += items * itemSize;
        return items;
    }
    static int seek(void* source, ogg_int64_t offset, int whence)
    {
        auto* self = static_cast<MemoryReader*>(source);
        const int64_t base = whence == SEEK_SET ? 0
                           : whence == SEEK_CUR ? static_cast<int64_t>(self->position)
                                                : static_cast<int64_t>(self->size);
        const int64_t target = base + offset;
        if (target < 0 || target > static_cast<int64_t>(self->size))
            return -1;
        self->position = static_cast<size_t>(target);
        return 0;
    }
    static long tell(void* source) { return static_cast<long>(static_cast<MemoryReader*>(source)->position); }
    static ov_callbacks callbacks() { return {&MemoryReader::read, &MemoryReader::seek, nullptr, &MemoryReader::tell}; }
};

// Ogg Vorbis music: decodes chunk by chunk, resamples to kAudioRate by linear
// interpolation and loops at the end of the track.
class OggStream final : public StreamSource {
public:
    ~OggStream() override
    {
        if (opened)
            ov_clear(&file);
    }

    bool open(std::vector<uint8_t>&& bytes, std::string* error)
    {
        data = std::move(bytes);
        reader = MemoryReader{data.data(), data.size(), 0};
        if (ov_open_callbacks(&reader, &file, nullptr, 0, MemoryReader::callbacks()) != 0) {
            setError(error, "not an Ogg Vorbis stream");
            return false;
        }
        opened = true;
        vorbis_info* info = ov_info(&file, -1);
        if (!info || info->channels < 1 || info->channels > 8 || info->rate < 1000 || info->rate > 384000) {
            setError(error, "unsupported Ogg Vorbis format");
            return false;
        }
        channels = info->channels;
        rate = static_cast<int>(info->rate);
        const ogg_int64_t total = ov_pcm_total(&file, -1);
        sourceFrames = total > 0 ? total : 0;
        if (sourceFrames == 0)
            setError(error, "Ogg Vorbis stream without audio");
        return sourceFrames > 0;
    }

    int read(int16_t* out, int frames) override
    {
        int written = 0;
        int restarts = 0;
        const double step = static_cast<double>(rate) / kAudioRate;
        while (written < frames) {
            if (!ensureAhead()) {
                // End of the track: loop; a track that yields nothing twice is broken.
                if (++restarts > 2)
                    break;
                seek(0);
                continue;
            }
            const double local = sourcePosition - static_cast<double>(bufferStart);
            const size_t index = static_cast<size_t>(local);
            const double fraction = local - static_cast<double>(index);
            for (int c = 0; c < 2; ++c) {
                const int channel = std::min(c, channels - 1);
                const int a = buffer[index * channels + channel];
                const int b = buffer[(index + 1) * channels + channel];
                out[written * 2 + c] = roundToSample(a + (b - a) * fraction);
            }
            ++written;
            sourcePosition += step;
            restarts = 0;
        }
        return written;
    }

    int64_t position() const override { return static_cast<int64_t>(sourcePosition * kAudioRate / rate); }

    void seek(int64_t frame) override
    {
        int64_t sourceFrame = frame * rate / kAudioRate;
        if (sourceFrame < 0 || sourceFrame >= sourceFrames)
            sourceFrame = 0;
        ov_pcm_seek(&file, sourceFrame);
        buffer.clear();
        bufferStart = sourceFrame;
        sourcePosition = static_cast<double>(sourceFrame);
        endReached = false;
    }

    int64_t lengthFrames() const override { return sourceFrames * kAudioRate / rate; }

private:
    int64_t bufferFrames() const { return static_cast<int64_t>(buffer.size()) / channels; }

    // Makes sure the two source frames around the read position are decoded;
    // false at the end of the track.
    bool ensureAhead()
    {
        for (;;) {
            const int64_t needed = static_cast<int64_t>(sourcePosition) - bufferStart;
            if (needed + 1 < bufferFrames())
                return true;
            if (endReached)
                return false;
            const int64_t drop = std::clamp<int64_t>(needed, 0, bufferFrames());
            buffer.erase(buffer.begin(), buffer.begin() + drop * channels);
            bufferStart += drop;
            char chunk[8192];
            int section = 0;
            const long got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &section);
            if (got == OV_HOLE)
                continue;
            if (got <= 0) {
                endReached = true;
                continue;
            }
            const auto* samples = reinterpret_cast<const int16_t*>(chunk);
            buffer.insert(buffer.end(), samples, samples + got / 2);
        }
    }

    std::vector<uint8_t> data;
    MemoryReader reader;
    OggVorbis_File file{};
    bool opened = false;
    int channels = 1;
    int rate = kAudioRate;
    int64_t sourceFrames = 0;
    std::vector<int16_t> buffer;
    int64_t bufferStart = 0;
    double sourcePosition = 0;
    bool endReached = false;
};

class PcmStream final : public StreamSource {
public:
    explicit PcmStream(std::shared_ptr<PcmBuffer> pcm) : pcm(std::move(pcm)) {}

    int read(int16_t* out, int frames) override
    {
        const int64_t total = lengthFrames();
        if (total <= 0)
            return 0;
        for (int i = 0; i < frames; ++i) {
            if (cursor >= total)
                cursor = 0;
            for (int c = 0; c < 2; ++c)
                out[i * 2 + c] = pcm->samples[cursor * pcm->channels + std::min(c, pcm->channels - 1)];
            ++cursor;
        }
        return frames;
    }
    int64_t position() const override { return cursor; }
    void seek(int64_t frame) override { cursor = (frame >= 0 && frame < lengthFrames()) ? frame : 0; }
    int64_t lengthFrames() const override { return static_cast<int64_t>(pcm->frames()); }

private:
    std::shared_ptr<PcmBuffer> pcm;
    int64_t cursor = 0;
};

} // namespace

std::vector<int16_t> resampleLinear(const std::vector<int16_t>& input, int channels, int fromRate, int toRate)
{
    if (channels <= 0 || fromRate <= 0 || toRate <= 0 || input.size() < static_cast<size_t>(channels))
        return {};
    const size_t inFrames = input.size() / channels;
    const size_t outFrames =
        static_cast<size_t>((static_cast<uint64_t>(inFrames) * toRate + fromRate - 1) / fromRate);
    std::vector<int16_t> out(outFrames * channels);
    const double step = static_cast<double>(fromRate) / toRate;
    for (size_t f = 0; f < outFrames; ++f) {
        const double position = static_cast<double>(f) * step;
        const size_t index = std::min(static_cast<size_t>(position), inFrames - 1);
        const size_t next = std::min(index + 1, inFrames - 1);
        const double fraction = position - static_cast<double>(index);
        for (int c = 0; c < channels; ++c) {
            const int a = input[index * channels + c];
            const int b = input[next * channels + c];
            out[f * channels + c] = roundToSample(a + (b - a) * fraction);
        }
    }
    return out;
}

std::shared_ptr<PcmBuffer> decodeWav(const uint8_t* data, size_t size, std::string* error)
{
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        setError(error, "not a WAV file");
        return nullptr;
    }
    int format = 0, channels = 0, rate = 0, bits = 0;
    const uint8_t* pcmData = nullptr;
    size_t pcmSize = 0;
    size_t offset = 12;
    while (offset + 8 <= size) {
        const uint8_t* chunk = data + offset;
        const uint32_t chunkSize = readLe32(chunk + 4);
        const size_t bodyAvailable = size - offset - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16 || bodyAvailable < 16) {
                setError(error, "truncated WAV format chunk");
                return nullptr;
            }
            format = readLe16(chunk + 8);
            channels = readLe16(chunk + 10);
            rate = static_cast<int>(readLe32(chunk + 12));
            bits = readLe16(chunk + 22);
            if (format == 0xFFFE && chunkSize >= 40 && bodyAvailable >= 40)
                format = readLe16(chunk + 32); // extensible format: the sub-format's code
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            pcmData = chunk + 8;
            pcmSize = std::min<size_t>(chunkSize, bodyAvailable); // a short last chunk is read as far as it goes
        }
        const uint64_t advance = 8 + static_cast<uint64_t>(chunkSize) + (chunkSize & 1);
        if (advance > size - offset)
            break;
        offset += static_cast<size_t>(advance);
    }
    if (!pcmData || channels < 1 || channels > 8 || rate < 1000 || rate > 384000) {
        setError(error, "WAV file without a usable format or data");
        return nullptr;
    }
    const bool isFloat = format == 3;
    if (!((format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) || (isFloat && bits == 32))) {
        setError(error, "unsupported WAV sample format");
        return nullptr;
    }
    const size_t bytesPerSample = bits / 8;
    const size_t count = pcmSize / bytesPerSample / channels * channels;
    if (count == 0) {
        setError(error, "WAV file without samples");
        return nullptr;
    }
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = pcmData + i * bytesPerSample;
        int32_t value = 0;
        if (isFloat) {
            float f;
            std::memcpy(&f, p, 4);
            if (!std::isfinite(f))
                f = 0;
            value = static_cast<int32_t>(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f));
        } else if (bits == 8) {
            value = (static_cast<int32_t>(p[0]) - 128) * 256;
        } else if (bits == 16) {
            value = static_cast<int16_t>(readLe16(p));
        } else if (bits == 24) {
            value = static_cast<int16_t>(readLe16(p + 1));
        } else {
            value = static_cast<int16_t>(readLe16(p + 2));
        }
        samples[i] = clamp16(value);
    }
    return finish(std::move(samples), channels, rate);
}

std::shared_ptr<PcmBuffer> decodeOgg(const uint8_t* data, size_t size, std::string* error)
{
    MemoryReader reader{data, size, 0};
    OggVorbis_File file;
    if (!data || ov_open_callbacks(&reader, &file, nullptr, 0, MemoryReader::callbacks()) != 0) {
        setError(error, "not an Ogg Vorbis file");
        return nullptr;
    }
    vorbis_info* info = ov_info(&file, -1);
    if (!info || info->channels < 1 || info->channels > 8 || info->rate < 1000 || info->rate > 384000) {
        ov_clear(&file);
        setError(error, "unsupported Ogg Vorbis format");
        return nullptr;
    }
    const int channels = info->channels;
    const int rate = static_cast<int>(info->rate);
    // Effects are short; ten minutes of audio is a hard cap against hostile files.
    const size_t limit = static_cast<size_t>(rate) * channels * 600;
    std::vector<int16_t> samples;
    char chunk[8192];
    int section = 0;
    int holes = 0;
    for (;;) {
        const long got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &section);
        if (got == OV_HOLE && ++holes < 64)
            continue;
        if (got <= 0)
            break;
        const auto* pcm = reinterpret_cast<const int16_t*>(chunk);
        samples.insert(samples.end(), pcm, pcm + got / 2);
        if (samples.size() > limit)
            break;
    }
    ov_clear(&file);
    samples.resize(samples.size() / channels * channels);
    if (samples.empty()) {
        setError(error, "Ogg Vorbis file without audio");
        return nullptr;
    }
    return finish(std::move(samples), channels, rate);
}

std::shared_ptr<PcmBuffer> decodeAudio(const uint8_t* data, size_t size, std::string* error)
{
    if (data && size >= 4 && std::memcmp(data, "OggS", 4) == 0)
        return decodeOgg(data, size, error);
    return decodeWav(data, size, error);
}

std::unique_ptr<StreamSource> openOggStream(std::vector<uint8_t> bytes, std::string* error)
{
    auto stream = std::make_unique<OggStream>();
    if (!stream->open(std::move(bytes), error))
        return nullptr;
    return stream;
}

std::unique_ptr<StreamSource> openPcmStream(std::shared_ptr<PcmBuffer> pcm)
{
    if (!pcm || pcm->frames() == 0)
        return nullptr;
    return std::make_unique<PcmStream>(std::move(pcm));
}

std::unique_ptr<StreamSource> openStream(std::vector<uint8_t> bytes, std::string* error)
{
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "OggS", 4) == 0)
        return openOggStream(std::move(bytes), error);
    return openPcmStream(decodeWav(bytes.data(), bytes.size(), error));
}

} // namespace host
