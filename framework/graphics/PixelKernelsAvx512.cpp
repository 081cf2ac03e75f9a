#include <cstdint>
#include <cstring>

#include "framework/graphics/PixelKernels.h"

const PixelKernels* avx2KernelsIfAvailable();

#if defined(__x86_64__)

#include <immintrin.h>

namespace {

#define SIMD_TARGET __attribute__((target("avx512f,avx512bw")))

// The AVX-512 set: the AVX2 set with the opaque fill, the opaque copy and the
// additive blend done sixteen pixels at a time.
//
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

// Additive blend of sixteen pixels per step; the weights and the in-place
// byte scaling are those of the other sets (see SimdKernelBodies.h), with
// mask registers for the block skip and the full-coverage weight.
SIMD_TARGET void addPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    const __m512i a = _mm512_set1_epi32(int32_t(alpha));
    const __m512i top = _mm512_set1_epi32(int32_t(0xFF000000u));
    const __m512i evenBytes = _mm512_set1_epi32(0x00FF00FF);
    const __m512i oddBytes = _mm512_set1_epi32(int32_t(0xFF00FF00u));
    const __m512i fullWeight = _mm512_set1_epi32(254);
    const __m512i two = _mm512_set1_epi32(2);
    // The zero-masked shift forms are the plain shifts; they keep GCC's
    // intrinsics from reading an undefined register.
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        if (_mm512_test_epi32_mask(sv, top) == 0)
            continue;
        __m512i w = _mm512_maskz_srli_epi32(0xFFFF, _mm512_mullo_epi16(_mm512_maskz_srli_epi32(0xFFFF, sv, 24), a), 8);
        w = _mm512_mask_add_epi32(w, _mm512_cmpeq_epi32_mask(w, fullWeight), w, two);
        const __m512i even =
            _mm512_srli_epi16(_mm512_mullo_epi16(_mm512_and_si512(sv, evenBytes), _mm512_or_si512(w, _mm512_maskz_slli_epi32(0xFFFF, w, 16))), 8);
        const __m512i odd = _mm512_mullo_epi16(_mm512_srli_epi16(sv, 8), w);
        // even | (odd & oddBytes)
        const __m512i added = _mm512_ternarylogic_epi32(even, odd, oddBytes, 0xF8);
        _mm512_storeu_si512(d + i, _mm512_adds_epu8(_mm512_loadu_si512(d + i), added));
    }
    scalarKernels().addPerPixel32(d + i, s + i, n - i, alpha);
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
        extended.addPerPixel32 = addPerPixel32;
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
