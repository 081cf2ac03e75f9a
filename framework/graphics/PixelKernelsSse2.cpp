#include "framework/graphics/PixelKernels.h"

const PixelKernels* sse2KernelsIfAvailable()
{
    return nullptr;
}
