// Feeds arbitrary bytes to the media archive reader.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzArchive(data, size);
}
