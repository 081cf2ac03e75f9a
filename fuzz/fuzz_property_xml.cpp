// Feeds arbitrary bytes to the property XML reader and writer.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzPropertyXml(data, size);
}
