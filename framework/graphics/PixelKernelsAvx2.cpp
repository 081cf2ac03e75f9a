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
    SIMD_TARGET static T loadBytesAs32(const uint8_t* p)
    {
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
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
    SIMD_TARGET static T zero() { return _mm256_setzero_si256(); }
    SIMD_TARGET static T set1_16(int16_t v) { return _mm256_set1_epi16(v); }
    SIMD_TARGET static T set1_32(int32_t v) { return _mm256_set1_epi32(v); }
    SIMD_TARGET static T set1_64(uint64_t v) { return _mm256_set1_epi64x(int64_t(v)); }
    SIMD_TARGET static T bitAnd(T a, T b) { return _mm256_and_si256(a, b); }
    SIMD_TARGET static T bitOr(T a, T b) { return _mm256_or_si256(a, b); }
    SIMD_TARGET static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
    SIMD_TARGET static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
    SIMD_TARGET static T add32(T a, T b) { return _mm256_add_epi32(a, b); }
    SIMD_TARGET static T mullo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
    SIMD_TARGET static T srli16(T a, int n) { return _mm256_srli_epi16(a, n); }
    SIMD_TARGET static T slli16(T a, int n) { return _mm256_slli_epi16(a, n); }
    SIMD_TARGET static T srli32(T a, int n) { return _mm256_srli_epi32(a, n); }
    SIMD_TARGET static T slli32(T a, int n) { return _mm256_slli_epi32(a, n); }
    SIMD_TARGET static T cmpeq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
    SIMD_TARGET static T cmpeq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
    SIMD_TARGET static T unpacklo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    SIMD_TARGET static T unpackhi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    SIMD_TARGET static T unpacklo32(T a, T b) { return _mm256_unpacklo_epi32(a, b); }
    SIMD_TARGET static T unpackhi32(T a, T b) { return _mm256_unpackhi_epi32(a, b); }
    SIMD_TARGET static T packus16(T a, T b) { return _mm256_packus_epi16(a, b); }
    SIMD_TARGET static T addsu8(T a, T b) { return _mm256_adds_epu8(a, b); }
    SIMD_TARGET static T min16(T a, T b) { return _mm256_min_epi16(a, b); }
    SIMD_TARGET static bool allTrue(T mask) { return _mm256_movemask_epi8(mask) == -1; }
    // One byte shuffle per half: the weight's two low bytes into the blue,
    // green and red lanes of its pixel, zero into the alpha lane.
    SIMD_TARGET static void spreadWeights(T w32, T& low, T& high)
    {
        const T lowOrder = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, -1, -1, 4, 5, 4, 5, 4, 5, -1, -1,  //
                                            0, 1, 0, 1, 0, 1, -1, -1, 4, 5, 4, 5, 4, 5, -1, -1);
        const T highOrder = _mm256_setr_epi8(8, 9, 8, 9, 8, 9, -1, -1, 12, 13, 12, 13, 12, 13, -1, -1,  //
                                             8, 9, 8, 9, 8, 9, -1, -1, 12, 13, 12, 13, 12, 13, -1, -1);
        low = _mm256_shuffle_epi8(w32, lowOrder);
        high = _mm256_shuffle_epi8(w32, highOrder);
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
