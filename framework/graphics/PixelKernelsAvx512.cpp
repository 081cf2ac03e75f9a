#include <cstdint>
#include <cstring>

#include "framework/graphics/PixelKernels.h"

const PixelKernels* avx2KernelsIfAvailable();

#if defined(__x86_64__)

#include <immintrin.h>

namespace {

#define SIMD_TARGET __attribute__((target("avx512f,avx512bw")))

// Byte-masked stores write the three colour bytes of sixteen pixels without
// reading the destination, so keeping the top byte costs nothing.
constexpr uint64_t colourBytes = 0x7777777777777777ull;

SIMD_TARGET void fillOpaque32(uint32_t* d, int32_t n, uint32_t colour)
{
    const __m512i value = _mm512_set1_epi32(int32_t(colour));
    int32_t i = 0;
    for (; i + 16 <= n; i += 16)
        _mm512_mask_storeu_epi8(d + i, colourBytes, value);
    if (i < n) {
        const __mmask64 tail = colourBytes & ((uint64_t(1) << ((n - i) * 4)) - 1);
        _mm512_mask_storeu_epi8(d + i, tail, value);
    }
}

SIMD_TARGET void copyRgb32(uint32_t* d, const uint32_t* s, int32_t n)
{
    int32_t i = 0;
    const __m512i top = _mm512_set1_epi32(int32_t(0xFF000000u));
    for (; i + 16 <= n; i += 16) {
        // (d & top) | (s & ~top) in one ternary-logic step.
        const __m512i merged = _mm512_ternarylogic_epi32(top, _mm512_loadu_si512(d + i), _mm512_loadu_si512(s + i), 0xCA);
        _mm512_storeu_si512(d + i, merged);
    }
    if (i < n) {
        const __mmask64 tail = colourBytes & ((uint64_t(1) << ((n - i) * 4)) - 1);
        _mm512_mask_storeu_epi8(d + i, tail, _mm512_maskz_loadu_epi8(tail, s + i));
    }
}

#undef SIMD_TARGET

}  // namespace

const PixelKernels* avx512KernelsIfAvailable()
{
    static const PixelKernels* set = []() -> const PixelKernels* {
        const PixelKernels* base = avx2KernelsIfAvailable();
        if (!base || !__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512bw"))
            return nullptr;
        static PixelKernels extended = *base;
        extended.name = "avx512";
        extended.fillOpaque32 = fillOpaque32;
        extended.copyRgb32 = copyRgb32;
        return &extended;
    }();
    return set;
}

#else

const PixelKernels* avx512KernelsIfAvailable()
{
    return nullptr;
}

#endif
