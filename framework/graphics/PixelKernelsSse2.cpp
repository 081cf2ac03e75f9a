#include <cstdint>
#include <cstring>

#include "framework/graphics/PixelKernels.h"

#if defined(__SSE2__)

#include <emmintrin.h>

namespace {

#define SIMD_TARGET

// SSE2: four 32-bit or eight 16-bit pixels per register.
struct Sse2 {
    using T = __m128i;
    static constexpr int32_t pixels32 = 4;
    static constexpr int32_t pixels16 = 8;

    static T load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void store(void* p, T v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
    // Four coverage bytes, each at the top of its pixel's 32-bit lane.
    static T loadBytesHigh32(const uint8_t* p)
    {
        int32_t word;
        std::memcpy(&word, p, 4);
        const T zero = _mm_setzero_si128();
        return _mm_unpacklo_epi16(zero, _mm_unpacklo_epi8(zero, _mm_cvtsi32_si128(word)));
    }
    static T loadBytesAs16(const uint8_t* p)
    {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    }
    static T gather32(const uint32_t* base, const int32_t* index)
    {
        return _mm_set_epi32(int32_t(base[index[3]]), int32_t(base[index[2]]), int32_t(base[index[1]]),
                             int32_t(base[index[0]]));
    }
    static T gatherNear32(const uint32_t* base, int32_t /*count*/, const int32_t* index) { return gather32(base, index); }
    static T zero() { return _mm_setzero_si128(); }
    static T set1_16(int16_t v) { return _mm_set1_epi16(v); }
    static T set1_32(int32_t v) { return _mm_set1_epi32(v); }
    static T bitAnd(T a, T b) { return _mm_and_si128(a, b); }
    static T bitOr(T a, T b) { return _mm_or_si128(a, b); }
    // ~a & b
    static T bitAndNot(T a, T b) { return _mm_andnot_si128(a, b); }
    static T bitXor(T a, T b) { return _mm_xor_si128(a, b); }
    static T add16(T a, T b) { return _mm_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm_sub_epi16(a, b); }
    static T add32(T a, T b) { return _mm_add_epi32(a, b); }
    static T mullo16(T a, T b) { return _mm_mullo_epi16(a, b); }
    static T srli16(T a, int n) { return _mm_srli_epi16(a, n); }
    static T slli16(T a, int n) { return _mm_slli_epi16(a, n); }
    static T srli32(T a, int n) { return _mm_srli_epi32(a, n); }
    static T cmpeq16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
    static T cmpeq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
    static T unpacklo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
    static T unpackhi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
    static T unpacklo16(T a, T b) { return _mm_unpacklo_epi16(a, b); }
    static T unpackhi16(T a, T b) { return _mm_unpackhi_epi16(a, b); }
    static T packus16(T a, T b) { return _mm_packus_epi16(a, b); }
    static T addsu8(T a, T b) { return _mm_adds_epu8(a, b); }
    static T min16(T a, T b) { return _mm_min_epi16(a, b); }
    static bool allTrue(T mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    static T cmpeq8(T a, T b) { return _mm_cmpeq_epi8(a, b); }
    static uint32_t moveMask8(T mask) { return uint32_t(_mm_movemask_epi8(mask)); }
    // The bits of moveMask8 over a step's packed coverage bytes that belong
    // to its block k: the bytes lie in block order.
    static constexpr uint32_t stepBlockBits(int k) { return 0xFu << (4 * k); }
    static T madd16(T a, T b) { return _mm_madd_epi16(a, b); }
    static T mulhiu16(T a, T b) { return _mm_mulhi_epu16(a, b); }
    static T mulhi16(T a, T b) { return _mm_mulhi_epi16(a, b); }
    static T packs32(T a, T b) { return _mm_packs_epi32(a, b); }
    static T packus16InOrder(T a, T b) { return _mm_packus_epi16(a, b); }
    // The neighbours source[c] and source[c + 1] of two columns, their bytes
    // paired and widened: the first column's in `first`, the second's in `second`.
    static void columnPairs(const uint32_t* source, const int32_t* columns, T& first, T& second)
    {
        const T pairs = _mm_set_epi64x(loadPair(source + columns[1]), loadPair(source + columns[0]));
        const T right = _mm_srli_epi64(pairs, 32);
        first = _mm_unpacklo_epi8(_mm_unpacklo_epi8(pairs, right), _mm_setzero_si128());
        second = _mm_unpacklo_epi8(_mm_unpackhi_epi8(pairs, right), _mm_setzero_si128());
    }
    // The weight pairs of the two columns of columnPairs, each in every 32-bit lane.
    static void columnWeights(const uint32_t* weightPairs, T& first, T& second)
    {
        const T pairs = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weightPairs));
        first = _mm_shuffle_epi32(pairs, 0x00);
        second = _mm_shuffle_epi32(pairs, 0x55);
    }
    static int64_t loadPair(const uint32_t* p)
    {
        int64_t pair;
        std::memcpy(&pair, p, 8);
        return pair;
    }
};

#include "framework/graphics/SimdKernelBodies.h"

#undef SIMD_TARGET

}  // namespace

const PixelKernels* sse2KernelsIfAvailable()
{
    return &kernelSet<Sse2>("sse2");
}

#else

const PixelKernels* sse2KernelsIfAvailable()
{
    return nullptr;
}

#endif
