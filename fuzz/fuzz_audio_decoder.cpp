// Feeds arbitrary bytes to the effect decoders and the music stream reader.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/AudioDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto pcm = host::decodeAudio(data, size);
    if (pcm && pcm->channels != 1 && pcm->channels != 2)
        __builtin_trap();
    auto stream = host::openStream(std::vector<uint8_t>(data, data + size));
    if (stream) {
        int16_t buffer[2 * 1024];
        stream->read(buffer, 1024);
        stream->seek(stream->lengthFrames() / 2);
        stream->read(buffer, 1024);
    }
    return 0;
}
