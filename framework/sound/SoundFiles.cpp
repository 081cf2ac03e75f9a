#include "framework/sound/SoundFiles.h"

#include "framework/resources/FileModes.h"
#include "framework/resources/MemoryBuffer.h"

bool readSoundFile(int fileMode, const std::string& path, std::vector<uint8_t>& bytes)
{
    MemoryBuffer buffer;
    if (!loadFileToBuffer(fileMode, path, buffer))
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(buffer.getData());
    bytes.assign(data, data + buffer.getByteCount());
    return !bytes.empty();
}
