#pragma once

#include <cstddef>
#include <cstdint>

// The bodies of the fuzz targets, shared by the libFuzzer programs and the
// unit test that replays every kept crash input. Each returns 0 and stops
// the program (a trap) when an invariant breaks.

// Reads the bytes as a property XML file, reads every entry the way callers
// do, merges and resolves templates, and checks that what the writer makes
// of the tree reads back.
int fuzzPropertyXml(const uint8_t* data, size_t size);
// Opens the bytes as the media archive and reads every entry.
int fuzzArchive(const uint8_t* data, size_t size);
