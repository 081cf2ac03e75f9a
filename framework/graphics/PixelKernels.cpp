#include "framework/graphics/PixelKernels.h"

// Provided by the vector translation units; null when the build or the
// processor lacks the instruction set.
const PixelKernels* sse2KernelsIfAvailable();
const PixelKernels* avx2KernelsIfAvailable();
const PixelKernels* avx512KernelsIfAvailable();

namespace {

const PixelKernels* bestAvailable()
{
    if (const PixelKernels* set = avx512KernelsIfAvailable())
        return set;
    if (const PixelKernels* set = avx2KernelsIfAvailable())
        return set;
    if (const PixelKernels* set = sse2KernelsIfAvailable())
        return set;
    return &scalarKernels();
}

const PixelKernels*& currentSet()
{
    static const PixelKernels* set = bestAvailable();
    return set;
}

}  // namespace

const PixelKernels* kernelsFor(KernelSet set)
{
    switch (set) {
    case KernelSet::Scalar:
        return &scalarKernels();
    case KernelSet::Sse2:
        return sse2KernelsIfAvailable();
    case KernelSet::Avx2:
        return avx2KernelsIfAvailable();
    case KernelSet::Avx512:
        return avx512KernelsIfAvailable();
    }
    return nullptr;
}

const PixelKernels& activeKernels()
{
    return *currentSet();
}

bool selectKernels(KernelSet set)
{
    const PixelKernels* chosen = kernelsFor(set);
    if (!chosen)
        return false;
    currentSet() = chosen;
    return true;
}
