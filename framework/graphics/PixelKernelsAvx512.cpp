#include <cstdint>
#include <cstring>

#include "framework/graphics/PixelKernels.h"

const PixelKernels* avx2KernelsIfAvailable();

#if defined(__x86_64__)

#include <immintrin.h>

namespace {

#define SIMD_TARGET __attribute__((target("avx512f,avx512bw")))

// The AVX-512 set: the AVX2 set with the opaque fill, the opaque copy, the
// per-pixel alpha blend and the additive blend done sixteen pixels at a time.
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

// Coverage weights of sixteen pixels in both 16-bit lanes of each:
// (c * alpha) >> 8, with 254 raised to 256; `alpha` in every 16-bit lane.
SIMD_TARGET inline __m512i coverageWeights(__m512i sv, __m512i alpha)
{
    // Each pixel's coverage byte into both of its 16-bit lanes (byte order
    // 3, none, 3, none for the first pixel of each 128-bit lane, and so on).
    const __m512i coverageOrder = _mm512_set4_epi32(int32_t(0xFF0FFF0Fu), int32_t(0xFF0BFF0Bu), int32_t(0xFF07FF07u),
                                                    int32_t(0xFF03FF03u));
    const __m512i w = _mm512_srli_epi16(_mm512_mullo_epi16(_mm512_shuffle_epi8(sv, coverageOrder), alpha), 8);
    return _mm512_mask_add_epi16(w, _mm512_cmpeq_epi16_mask(w, _mm512_set1_epi16(254)), w, _mm512_set1_epi16(2));
}

// (s * w) >> 8 for the colour bytes of sixteen pixels, w their coverage
// weights; `alpha` holds the overall alpha in every 16-bit lane.
SIMD_TARGET inline __m512i additiveTerms(__m512i sv, __m512i alpha)
{
    const __m512i w = coverageWeights(sv, alpha);
    // Blue and red: the byte moved to the top of its lane, so the high half
    // of the product is (x * w) >> 8.
    const __m512i even = _mm512_mulhi_epu16(_mm512_slli_epi16(sv, 8), w);
    // Green (and the top byte, dropped below): (x * w) >> 8 is the product's high byte.
    const __m512i odd = _mm512_mullo_epi16(_mm512_srli_epi16(sv, 8), w);
    // even | (odd & 0x0000FF00)
    return _mm512_ternarylogic_epi32(even, odd, _mm512_set1_epi32(0x0000FF00), 0xF8);
}

// Per-pixel alpha blend, sixteen pixels per block, bytes scaled in place:
// blue and red (the even bytes) and green and the top byte (the odd bytes)
// each take d' = (d * (256 - w) + s * w) >> 8 in a 16-bit lane; the top
// byte's weight is 0, which keeps it. Clear blocks are skipped and, at full
// alpha, opaque blocks copied.
SIMD_TARGET void blendPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    const __m512i a = _mm512_set1_epi16(int16_t(alpha));
    const __m512i top = _mm512_set1_epi32(int32_t(0xFF000000u));
    const __m512i evenBytes = _mm512_set1_epi32(0x00FF00FF);
    const __m512i full = _mm512_set1_epi16(256);
    const bool opaqueRunsCopy = alpha == 255;
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        const __mmask16 covered = _mm512_test_epi32_mask(sv, top);
        if (covered == 0)
            continue;
        const __m512i dv = _mm512_loadu_si512(d + i);
        if (opaqueRunsCopy && _mm512_cmpeq_epi32_mask(_mm512_and_si512(sv, top), top) == 0xFFFF) {
            // (d & top) | (s & ~top)
            _mm512_storeu_si512(d + i, _mm512_ternarylogic_epi32(top, dv, sv, 0xCA));
            continue;
        }
        const __m512i w = coverageWeights(sv, a);
        // The odd lanes' weight: green's, 0 for the top byte.
        const __m512i wOdd = _mm512_maskz_mov_epi16(0x55555555u, w);
        const __m512i even = _mm512_srli_epi16(
            _mm512_add_epi16(_mm512_mullo_epi16(_mm512_and_si512(dv, evenBytes), _mm512_sub_epi16(full, w)),
                             _mm512_mullo_epi16(_mm512_and_si512(sv, evenBytes), w)),
            8);
        const __m512i odd =
            _mm512_add_epi16(_mm512_mullo_epi16(_mm512_srli_epi16(dv, 8), _mm512_sub_epi16(full, wOdd)),
                             _mm512_mullo_epi16(_mm512_srli_epi16(sv, 8), wOdd));
        // even | (odd & ~evenBytes)
        _mm512_storeu_si512(d + i, _mm512_ternarylogic_epi32(even, odd, evenBytes, 0xF4));
    }
    scalarKernels().blendPerPixel32(d + i, s + i, n - i, alpha);
}

// Additive blend, sixteen pixels per block; a block without coverage is
// skipped.
SIMD_TARGET void addPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    const __m512i a = _mm512_set1_epi16(int16_t(alpha));
    const __m512i top = _mm512_set1_epi32(int32_t(0xFF000000u));
    int32_t i = 0;
    // Two blocks per step keep more loads in flight.
    for (; i + 32 <= n; i += 32) {
        const __m512i first = _mm512_loadu_si512(s + i), second = _mm512_loadu_si512(s + i + 16);
        if (_mm512_test_epi32_mask(first, top) != 0)
            _mm512_storeu_si512(d + i, _mm512_adds_epu8(_mm512_loadu_si512(d + i), additiveTerms(first, a)));
        if (_mm512_test_epi32_mask(second, top) != 0)
            _mm512_storeu_si512(d + i + 16, _mm512_adds_epu8(_mm512_loadu_si512(d + i + 16), additiveTerms(second, a)));
    }
    for (; i + 16 <= n; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        if (_mm512_test_epi32_mask(sv, top) != 0)
            _mm512_storeu_si512(d + i, _mm512_adds_epu8(_mm512_loadu_si512(d + i), additiveTerms(sv, a)));
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
        extended.blendPerPixel32 = blendPerPixel32;
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
