#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a sound or music file in the given file mode (0 = the archive's
// default). "\" in the path counts as "/". False when it cannot be read.
bool readSoundFile(int fileMode, const std::string& path, std::vector<uint8_t>& bytes);
