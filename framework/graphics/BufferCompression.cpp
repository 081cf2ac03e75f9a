#include "framework/graphics/BufferCompression.h"

#include <cstring>

#include <zlib.h>

bool compressBuffer(const uint8_t* source, size_t size, std::vector<uint8_t>& out, int level)
{
    out.clear();
    if (!source || size == 0 || size > 0xFFFFFFFFu)
        return false;
    z_stream stream {};
    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    // Output no larger than the input: data that does not shrink stays raw.
    out.resize(size);
    stream.next_in = const_cast<Bytef*>(source);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(size);
    const int result = deflate(&stream, Z_FINISH);
    const size_t written = stream.total_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        out.clear();
        out.shrink_to_fit();
        return false;
    }
    out.resize(written);
    out.shrink_to_fit();
    return true;
}

bool uncompressBuffer(const uint8_t* source, size_t sourceSize, uint8_t* out, size_t rawSize)
{
    if (!out)
        return false;
    bool complete = false;
    if (source && sourceSize > 0 && sourceSize <= 0xFFFFFFFFu && rawSize <= 0xFFFFFFFFu) {
        z_stream stream {};
        if (inflateInit2(&stream, 15) == Z_OK) {
            stream.next_in = const_cast<Bytef*>(source);
            stream.avail_in = static_cast<uInt>(sourceSize);
            stream.next_out = out;
            stream.avail_out = static_cast<uInt>(rawSize);
            const int result = inflate(&stream, Z_FINISH);
            complete = result == Z_STREAM_END && stream.total_out == rawSize;
            inflateEnd(&stream);
        }
    }
    if (!complete)
        std::memset(out, 0, rawSize);
    return complete;
}
