#include "host/MemoryPolicy.h"

#include <malloc.h>

void useOwnPagesForLargeBlocks()
{
    // Setting the threshold also turns off its rise after frees.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kOwnPagesThresholdBytes));
}
