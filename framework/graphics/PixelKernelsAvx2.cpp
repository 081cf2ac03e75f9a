#include "framework/graphics/PixelKernels.h"

const PixelKernels* avx2KernelsIfAvailable()
{
    return nullptr;
}
