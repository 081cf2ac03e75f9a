#include <cstdint>
#include <cstring>

#include "framework/graphics/PixelKernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace {

#define SIMD_TARGET __attribute__((target("avx2")))

// AVX2: eight 32-bit or sixteen 16-bit pixels per register. Unpacks and packs
// work within 128-bit halves, which the kernels pair up consistently.
struct Avx2 {
    using T = __m256i;
    static constexpr int32_t pixels32 = 8;
    static constexpr int32_t pixels16 = 16;

    SIMD_TARGET static T load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    SIMD_TARGET static void store(void* p, T v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    // Eight coverage bytes, each at the top of its pixel's 32-bit lane.
    SIMD_TARGET static T loadBytesHigh32(const uint8_t* p)
    {
        return _mm256_slli_epi32(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))), 24);
    }
    SIMD_TARGET static T loadBytesAs16(const uint8_t* p)
    {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    SIMD_TARGET static T gather32(const uint32_t* base, const int32_t* index)
    {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base),
                                      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index)), 4);
    }
    // base[index[0..7]]; when all eight lie within eight pixels of the first
    // (an enlarging scale), one load and a permute instead of a gather.
    SIMD_TARGET static T gatherNear32(const uint32_t* base, int32_t count, const int32_t* index)
    {
        const T columns = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index));
        const int32_t first = index[0];
        const T offsets = _mm256_sub_epi32(columns, _mm256_set1_epi32(first));
        const T seven = _mm256_set1_epi32(7);
        // Unsigned: an offset below 0 counts as large.
        const bool near = allTrue(_mm256_cmpeq_epi32(_mm256_max_epu32(offsets, seven), seven));
        if (near && first >= 0 && first <= count - 8)
            return _mm256_permutevar8x32_epi32(load(base + first), offsets);
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), columns, 4);
    }
    SIMD_TARGET static T zero() { return _mm256_setzero_si256(); }
    SIMD_TARGET static T set1_16(int16_t v) { return _mm256_set1_epi16(v); }
    SIMD_TARGET static T set1_32(int32_t v) { return _mm256_set1_epi32(v); }
    SIMD_TARGET static T bitAnd(T a, T b) { return _mm256_and_si256(a, b); }
    SIMD_TARGET static T bitOr(T a, T b) { return _mm256_or_si256(a, b); }
    // ~a & b
    SIMD_TARGET static T bitAndNot(T a, T b) { return _mm256_andnot_si256(a, b); }
    SIMD_TARGET static T bitXor(T a, T b) { return _mm256_xor_si256(a, b); }
    SIMD_TARGET static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
    SIMD_TARGET static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
    SIMD_TARGET static T add32(T a, T b) { return _mm256_add_epi32(a, b); }
    SIMD_TARGET static T mullo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
    SIMD_TARGET static T srli16(T a, int n) { return _mm256_srli_epi16(a, n); }
    SIMD_TARGET static T slli16(T a, int n) { return _mm256_slli_epi16(a, n); }
    SIMD_TARGET static T srli32(T a, int n) { return _mm256_srli_epi32(a, n); }
    SIMD_TARGET static T cmpeq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
    SIMD_TARGET static T cmpeq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
    SIMD_TARGET static T unpacklo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    SIMD_TARGET static T unpackhi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    SIMD_TARGET static T unpacklo16(T a, T b) { return _mm256_unpacklo_epi16(a, b); }
    SIMD_TARGET static T unpackhi16(T a, T b) { return _mm256_unpackhi_epi16(a, b); }
    SIMD_TARGET static T packus16(T a, T b) { return _mm256_packus_epi16(a, b); }
    SIMD_TARGET static T addsu8(T a, T b) { return _mm256_adds_epu8(a, b); }
    SIMD_TARGET static T min16(T a, T b) { return _mm256_min_epi16(a, b); }
    SIMD_TARGET static bool allTrue(T mask) { return _mm256_movemask_epi8(mask) == -1; }
    SIMD_TARGET static T cmpeq8(T a, T b) { return _mm256_cmpeq_epi8(a, b); }
    SIMD_TARGET static uint32_t moveMask8(T mask) { return uint32_t(_mm256_movemask_epi8(mask)); }
    // The bits of moveMask8 over a step's packed coverage bytes that belong
    // to its block k: packs within halves put each block's first four bytes
    // in the lower half and its last four in the upper half.
    static constexpr uint32_t stepBlockBits(int k) { return 0xFu << (4 * k) | 0xFu << (16 + 4 * k); }
    SIMD_TARGET static T madd16(T a, T b) { return _mm256_madd_epi16(a, b); }
    SIMD_TARGET static T mulhiu16(T a, T b) { return _mm256_mulhi_epu16(a, b); }
    SIMD_TARGET static T mulhi16(T a, T b) { return _mm256_mulhi_epi16(a, b); }
    SIMD_TARGET static T packs32(T a, T b) { return _mm256_packs_epi32(a, b); }
    // The pack works per half (0 1 4 5 | 2 3 6 7 in 64-bit pairs); the
    // permute puts the pixels back in order.
    SIMD_TARGET static T packus16InOrder(T a, T b)
    {
        return _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
    }
    // The neighbours source[c] and source[c + 1] of four columns, their bytes
    // paired and widened: columns 0 and 2 in `first`, 1 and 3 in `second`,
    // which the per-half pack puts back in order.
    SIMD_TARGET static void columnPairs(const uint32_t* source, const int32_t* columns, T& first, T& second)
    {
        // Four plain loads beat a gather here.
        const T pairs = _mm256_set_epi64x(loadPair(source + columns[3]), loadPair(source + columns[2]),
                                          loadPair(source + columns[1]), loadPair(source + columns[0]));
        const T order = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,  //
                                         0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
        const T paired = _mm256_shuffle_epi8(pairs, order);
        first = _mm256_unpacklo_epi8(paired, _mm256_setzero_si256());
        second = _mm256_unpackhi_epi8(paired, _mm256_setzero_si256());
    }
    static int64_t loadPair(const uint32_t* p)
    {
        int64_t pair;
        std::memcpy(&pair, p, 8);
        return pair;
    }
    // The weight pairs of the four columns, each in every 32-bit lane, laid
    // out like columnPairs.
    SIMD_TARGET static void columnWeights(const uint32_t* weightPairs, T& first, T& second)
    {
        const T pairs = _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(weightPairs)));
        first = _mm256_permutevar8x32_epi32(pairs, _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 2));
        second = _mm256_permutevar8x32_epi32(pairs, _mm256_setr_epi32(1, 1, 1, 1, 3, 3, 3, 3));
    }
};

#include "framework/graphics/SimdKernelBodies.h"

#undef SIMD_TARGET

}  // namespace

const PixelKernels* avx2KernelsIfAvailable()
{
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &kernelSet<Avx2>("avx2") : nullptr;
}

#else

const PixelKernels* avx2KernelsIfAvailable()
{
    return nullptr;
}

#endif
