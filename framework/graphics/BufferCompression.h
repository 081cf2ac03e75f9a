#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// zlib compression of idle image buffers (level 9 unless asked otherwise, zlib
// format with its header and checksum).

// Fills `out` and returns true when the data compresses below its own size;
// otherwise empties `out` and returns false (keep the raw data then).
bool compressBuffer(const uint8_t* source, size_t size, std::vector<uint8_t>& out, int level = 9);
// Restores exactly rawSize bytes into `out`. False when the data is damaged or
// does not hold exactly rawSize bytes; `out` is then zero-filled.
bool uncompressBuffer(const uint8_t* source, size_t sourceSize, uint8_t* out, size_t rawSize);
