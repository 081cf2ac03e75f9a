#include "framework/sound/SoundFiles.h"

#include <fstream>
#include <iterator>

#include "framework/core/StringUtils.h"

bool readSoundFile(int /*fileMode*/, const std::string& path, std::vector<uint8_t>& bytes)
{
    std::string normalised = path;
    replaceInString(normalised, "\\", "/", true);
    std::ifstream in(normalised, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !bytes.empty();
}
