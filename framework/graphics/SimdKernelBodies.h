#pragma once

// Row kernels written once over a small vector-operations type `V` and
// instantiated per instruction set. Included only by the vector translation
// units, each inside its own anonymous namespace with SIMD_TARGET set to the
// instruction set's function attribute, so the instances never mix.
//
// The arithmetic is the scalar set's, lane for lane:
//   blend:    d' = (d * (256 - w) + s * w) >> 8   (w = 256 writes s exactly)
//   additive: d' = min(255, d + (s * w) >> 8)
// Every product fits in an unsigned 16-bit lane (255 * 256 = 65280).

// The including file provides <cstdint>, <cstring> and PixelKernels.h
// before opening its namespace.

// Coverage weights in 16-bit lanes: (c * alpha) >> 8, 254 raised to 256.
template <class V>
SIMD_TARGET inline typename V::T coverageWeights16(typename V::T coverage16, typename V::T alpha16)
{
    const typename V::T w = V::srli16(V::mullo16(coverage16, alpha16), 8);
    return V::add16(w, V::bitAnd(V::cmpeq16(w, V::set1_16(254)), V::set1_16(2)));
}

// (d * (256 - w) + s * w) >> 8 on widened lanes.
template <class V>
SIMD_TARGET inline typename V::T blendLanes(typename V::T d, typename V::T s, typename V::T w)
{
    const typename V::T inverse = V::sub16(V::set1_16(256), w);
    return V::srli16(V::add16(V::mullo16(d, inverse), V::mullo16(s, w)), 8);
}

// Pixels to take one by one before the destination reaches a register
// boundary, so that the blocks after them never split a cache line on the
// side that is both read and written.
template <class V>
inline int32_t leadIn(const void* d, int32_t n)
{
    constexpr uintptr_t bytes = sizeof(typename V::T);
    const int32_t lead = int32_t(((bytes - reinterpret_cast<uintptr_t>(d) % bytes) % bytes) / 4);
    return n >= 4 * V::pixels32 ? lead : 0;
}

// Registers a step of the plain streaming kernels: four independent blocks
// keep enough reads in flight for a row to go at the pace of memory rather
// than of one load's latency.
template <class V>
constexpr int32_t streamRegisters = 4;

template <class V>
SIMD_TARGET void fillOpaque32(uint32_t* d, int32_t n, uint32_t colour)
{
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    const typename V::T rgb = V::set1_32(int32_t(colour & 0x00FFFFFFu));
    int32_t i = leadIn<V>(d, n);
    scalarKernels().fillOpaque32(d, i, colour);
    constexpr int32_t p = V::pixels32, r = streamRegisters<V>;
    for (; i + r * p <= n; i += r * p) {
        typename V::T v[r];
#pragma GCC unroll 4
        for (int32_t k = 0; k < r; ++k)
            v[k] = V::load(d + i + k * p);
#pragma GCC unroll 4
        for (int32_t k = 0; k < r; ++k)
            V::store(d + i + k * p, V::bitOr(V::bitAnd(v[k], top), rgb));
    }
    for (; i + p <= n; i += p)
        V::store(d + i, V::bitOr(V::bitAnd(V::load(d + i), top), rgb));
    scalarKernels().fillOpaque32(d + i, n - i, colour);
}

template <class V>
SIMD_TARGET void fillBlend32(uint32_t* d, int32_t n, uint32_t colour, uint32_t alpha)
{
    // Bytes blended in place: blue and red (the even bytes) and green and the
    // top byte (the odd bytes) each in a 16-bit lane, as d * (256 - alpha) +
    // c * alpha; the top byte's lane gets 256 and 0, which keeps it.
    const uint32_t inverse = 256 - alpha;
    const typename V::T evenInverse = V::set1_16(int16_t(inverse));
    const typename V::T oddInverse = V::set1_32(int32_t(256u << 16 | inverse));
    const typename V::T evenColour =
        V::set1_32(int32_t(((colour >> 16) & 0xFF) * alpha << 16 | (colour & 0xFF) * alpha));
    const typename V::T oddColour = V::set1_32(int32_t(((colour >> 8) & 0xFF) * alpha));
    const typename V::T evenBytes = V::set1_32(0x00FF00FF);
    const typename V::T oddBytes = V::set1_32(int32_t(0xFF00FF00u));
    auto blend = [&](typename V::T v) SIMD_TARGET {
        const typename V::T even = V::srli16(V::add16(V::mullo16(V::bitAnd(v, evenBytes), evenInverse), evenColour), 8);
        const typename V::T odd = V::bitAnd(V::add16(V::mullo16(V::srli16(v, 8), oddInverse), oddColour), oddBytes);
        return V::bitOr(even, odd);
    };
    int32_t i = leadIn<V>(d, n);
    scalarKernels().fillBlend32(d, i, colour, alpha);
    constexpr int32_t p = V::pixels32;
    for (; i + 4 * p <= n; i += 4 * p) {
        const typename V::T a = V::load(d + i), b = V::load(d + i + p);
        const typename V::T c = V::load(d + i + 2 * p), e = V::load(d + i + 3 * p);
        V::store(d + i, blend(a));
        V::store(d + i + p, blend(b));
        V::store(d + i + 2 * p, blend(c));
        V::store(d + i + 3 * p, blend(e));
    }
    for (; i + p <= n; i += p)
        V::store(d + i, blend(V::load(d + i)));
    scalarKernels().fillBlend32(d + i, n - i, colour, alpha);
}

// (d & top) | (s & ~top)
template <class V>
SIMD_TARGET inline typename V::T keepTop(typename V::T d, typename V::T s, typename V::T top)
{
    return V::bitOr(V::bitAnd(d, top), V::bitAndNot(top, s));
}

// keepTop for a source whose top byte is 255, in two operations: there
// s ^ (~d & top) turns 255 into d's top byte and leaves the rest of s.
template <class V>
SIMD_TARGET inline typename V::T keepTopOverOpaque(typename V::T d, typename V::T s, typename V::T top)
{
    return V::bitXor(s, V::bitAndNot(d, top));
}

template <class V>
SIMD_TARGET void copyRgb32(uint32_t* d, const uint32_t* s, int32_t n)
{
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    int32_t i = leadIn<V>(d, n);
    scalarKernels().copyRgb32(d, s, i);
    constexpr int32_t p = V::pixels32, r = streamRegisters<V>;
    for (; i + r * p <= n; i += r * p) {
        typename V::T sv[r], dv[r];
#pragma GCC unroll 4
        for (int32_t k = 0; k < r; ++k) {
            sv[k] = V::load(s + i + k * p);
            dv[k] = V::load(d + i + k * p);
        }
#pragma GCC unroll 4
        for (int32_t k = 0; k < r; ++k)
            V::store(d + i + k * p, keepTop<V>(dv[k], sv[k], top));
    }
    for (; i + p <= n; i += p)
        V::store(d + i, keepTop<V>(V::load(d + i), V::load(s + i), top));
    scalarKernels().copyRgb32(d + i, s + i, n - i);
}

template <class V>
SIMD_TARGET void blendOverall32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    // d + (s * a >> 8) - (d * a >> 8) per byte; never leaves 0..255.
    const typename V::T a = V::set1_16(int16_t(alpha));
    const typename V::T zero = V::zero();
    int32_t i = 0;
    for (; i + V::pixels32 <= n; i += V::pixels32) {
        const typename V::T dv = V::load(d + i), sv = V::load(s + i);
        const typename V::T dl = V::unpacklo8(dv, zero), dh = V::unpackhi8(dv, zero);
        const typename V::T sl = V::unpacklo8(sv, zero), sh = V::unpackhi8(sv, zero);
        const typename V::T low = V::add16(V::sub16(dl, V::srli16(V::mullo16(dl, a), 8)), V::srli16(V::mullo16(sl, a), 8));
        const typename V::T high = V::add16(V::sub16(dh, V::srli16(V::mullo16(dh, a), 8)), V::srli16(V::mullo16(sh, a), 8));
        V::store(d + i, V::packus16(low, high));
    }
    scalarKernels().blendOverall32(d + i, s + i, n - i, alpha);
}

// The blend of whole pixels with their bytes left in place: blue and red
// (the even bytes) and green and the top byte (the odd bytes) each sit in
// a 16-bit lane. With t = s - d (-255..255) and twice the weight (0..512),
//   d + ((t << 7) * 2w) >> 16 = d + floor(t * w / 256)
// which is (d * (256 - w) + s * w) >> 8 with a single signed multiply.
// Every byte's result lies between its d and s, so both bytes' changes are
// added onto d's whole lane without a carry or borrow crossing bytes.
// `twice` holds 2w in both lanes of a pixel, `twiceOdd` 2w in the green lane
// and 0 in the top byte's lane, which keeps it.
template <class V>
SIMD_TARGET inline typename V::T blendInPlace(typename V::T d, typename V::T s, typename V::T twice,
                                              typename V::T twiceOdd)
{
    const typename V::T evenBytes = V::set1_32(0x00FF00FF);
    const typename V::T de = V::bitAnd(d, evenBytes), se = V::bitAnd(s, evenBytes);
    const typename V::T even = V::mulhi16(V::slli16(V::sub16(se, de), 7), twice);
    const typename V::T dodd = V::srli16(d, 8), sodd = V::srli16(s, 8);
    const typename V::T odd = V::mulhi16(V::slli16(V::sub16(sodd, dodd), 7), twiceOdd);
    return V::add16(V::add16(d, even), V::slli16(odd, 8));
}

// Twice the coverage weight of each pixel, 2 * ((c * alpha) >> 8) with 254
// (255 at 255) raised to 256, from `coverage` holding c << 8 in the upper
// 16-bit lane of each pixel and 0 in the lower one; `alpha` is in every
// 16-bit lane. `twice` gets it in both lanes, `twiceOdd` in the lower lane
// only (the lanes of green and of the top byte).
template <class V, bool fullAlpha>
SIMD_TARGET inline void twiceWeights(typename V::T coverage, typename V::T alpha, typename V::T& twice,
                                     typename V::T& twiceOdd)
{
    typename V::T w = V::mulhiu16(coverage, alpha);
    // Only 255 at 255 gives 254.
    if (fullAlpha)
        w = V::add16(w, V::bitAnd(V::cmpeq16(w, V::set1_16(254)), V::set1_16(2)));
    twiceOdd = V::srli32(w, 15);
    twice = V::bitOr(twiceOdd, V::add16(w, w));
}

// Weights of two blocks: their coverage bytes (16-bit lanes) times the
// overall alpha, twice that spread into both lanes of each pixel (`twice`)
// and into the green lane only (`twiceOdd`), block by block. `alphaHigh`
// holds alpha << 8. Packs and unpacks pair up within 128-bit halves.
template <class V, bool fullAlpha>
SIMD_TARGET inline void pairWeights(typename V::T coverage16, typename V::T alphaHigh, typename V::T twice[2],
                                    typename V::T twiceOdd[2])
{
    typename V::T w = V::mulhiu16(coverage16, alphaHigh);
    // Only 255 at 255 gives 254.
    if (fullAlpha)
        w = V::add16(w, V::bitAnd(V::cmpeq16(w, V::set1_16(254)), V::set1_16(2)));
    const typename V::T doubled = V::add16(w, w), zero = V::zero();
    twice[0] = V::unpacklo16(doubled, doubled);
    twice[1] = V::unpackhi16(doubled, doubled);
    twiceOdd[0] = V::unpacklo16(doubled, zero);
    twiceOdd[1] = V::unpackhi16(doubled, zero);
}

template <class V, bool fullAlpha>
SIMD_TARGET void blendPerPixelRow(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    const typename V::T alphaHigh = V::set1_16(int16_t(alpha << 8));
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    const typename V::T zero = V::zero();
    const typename V::T ones = V::set1_32(-1);
    constexpr int32_t p = V::pixels32;
    int32_t i = 0;
    // Four blocks a step, their coverage bytes packed into one register:
    // wholly clear steps and, at full alpha, wholly opaque ones skip the
    // arithmetic; the other steps take the same shortcuts by pairs of
    // blocks, whose weights are worked out only when a pair is blended.
    // On a sprite's edges pairs go faster than single blocks (fewer tests
    // and branches); on scattered coverage their tests are all but never
    // taken, so they stay well predicted.
    for (; i + 4 * p <= n; i += 4 * p) {
        typename V::T sv[4];
#pragma GCC unroll 4
        for (int32_t k = 0; k < 4; ++k)
            sv[k] = V::load(s + i + k * p);
        const typename V::T low = V::packs32(V::srli32(sv[0], 24), V::srli32(sv[1], 24));
        const typename V::T high = V::packs32(V::srli32(sv[2], 24), V::srli32(sv[3], 24));
        const typename V::T coverage = V::packus16(low, high);
        const typename V::T clearBytes = V::cmpeq8(coverage, zero);
        if (V::allTrue(clearBytes))
            continue;
        const typename V::T opaqueBytes = fullAlpha ? V::cmpeq8(coverage, ones) : zero;
        if (fullAlpha && V::allTrue(opaqueBytes)) {
#pragma GCC unroll 4
            for (int32_t k = 0; k < 4; ++k)
                V::store(d + i + k * p, keepTopOverOpaque<V>(V::load(d + i + k * p), sv[k], top));
            continue;
        }
        const uint32_t clear = V::moveMask8(clearBytes), opaque = V::moveMask8(opaqueBytes);
#pragma GCC unroll 2
        for (int32_t j = 0; j < 2; ++j) {
            const uint32_t bits = V::stepBlockBits(2 * j) | V::stepBlockBits(2 * j + 1);
            uint32_t* pair = d + i + 2 * j * p;
            if ((clear & bits) == bits)
                continue;
            if (fullAlpha && (opaque & bits) == bits) {
                V::store(pair, keepTopOverOpaque<V>(V::load(pair), sv[2 * j], top));
                V::store(pair + p, keepTopOverOpaque<V>(V::load(pair + p), sv[2 * j + 1], top));
                continue;
            }
            typename V::T twice[2], twiceOdd[2];
            pairWeights<V, fullAlpha>(j == 0 ? low : high, alphaHigh, twice, twiceOdd);
            V::store(pair, blendInPlace<V>(V::load(pair), sv[2 * j], twice[0], twiceOdd[0]));
            V::store(pair + p, blendInPlace<V>(V::load(pair + p), sv[2 * j + 1], twice[1], twiceOdd[1]));
        }
    }
    for (; i + 2 * p <= n; i += 2 * p) {
        const typename V::T s0 = V::load(s + i), s1 = V::load(s + i + p);
        typename V::T twice[2], twiceOdd[2];
        pairWeights<V, fullAlpha>(V::packs32(V::srli32(s0, 24), V::srli32(s1, 24)), alphaHigh, twice, twiceOdd);
        V::store(d + i, blendInPlace<V>(V::load(d + i), s0, twice[0], twiceOdd[0]));
        V::store(d + i + p, blendInPlace<V>(V::load(d + i + p), s1, twice[1], twiceOdd[1]));
    }
    scalarKernels().blendPerPixel32(d + i, s + i, n - i, alpha);
}

template <class V>
SIMD_TARGET void blendPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    if (alpha == 255)
        blendPerPixelRow<V, true>(d, s, n, alpha);
    else
        blendPerPixelRow<V, false>(d, s, n, alpha);
}

// The additive terms (s * w) >> 8 of one block, saturated onto d, with `w`
// each pixel's weight in both of its 16-bit lanes. Blue and red (the even
// bytes) and green (an odd byte) are scaled in place in 16-bit lanes; the
// top byte's term is dropped, which adds nothing to it.
template <class V>
SIMD_TARGET inline void addPerPixelBlock(uint32_t* d, typename V::T sv, typename V::T w)
{
    // A byte at the top of its lane: the high half of the product is (x * w) >> 8.
    const typename V::T even = V::mulhiu16(V::slli16(sv, 8), w);
    const typename V::T green = V::bitAnd(V::mullo16(V::srli16(sv, 8), w), V::set1_32(0x0000FF00));
    V::store(d, V::addsu8(V::load(d), V::bitOr(even, green)));
}

// Two blocks share the weight arithmetic: their coverage bytes packed into
// one register of 16-bit lanes take one multiply (and, at full alpha, one
// correction), then each pixel's weight is spread into both of its lanes.
// `alpha` holds alpha << 8. Packs and unpacks pair up within 128-bit halves.
template <class V, bool fullAlpha>
SIMD_TARGET inline void addPerPixelPair(uint32_t* d, typename V::T s0, typename V::T s1, typename V::T alpha)
{
    const typename V::T coverage = V::packs32(V::srli32(s0, 24), V::srli32(s1, 24));
    typename V::T w = V::mulhiu16(coverage, alpha);
    if (fullAlpha)
        w = V::add16(w, V::bitAnd(V::cmpeq16(w, V::set1_16(254)), V::set1_16(2)));
    addPerPixelBlock<V>(d, s0, V::unpacklo16(w, w));
    addPerPixelBlock<V>(d + V::pixels32, s1, V::unpackhi16(w, w));
}

template <class V, bool fullAlpha>
SIMD_TARGET void addPerPixelRow(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    const typename V::T alphaLanes = V::set1_16(int16_t(alpha << 8));
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    const typename V::T zero = V::zero();
    constexpr int32_t p = V::pixels32;
    int32_t i = 0;
    // Four blocks a step; a step without coverage is skipped.
    for (; i + 4 * p <= n; i += 4 * p) {
        const typename V::T s0 = V::load(s + i), s1 = V::load(s + i + p);
        const typename V::T s2 = V::load(s + i + 2 * p), s3 = V::load(s + i + 3 * p);
        const typename V::T any = V::bitOr(V::bitOr(s0, s1), V::bitOr(s2, s3));
        if (V::allTrue(V::cmpeq32(V::bitAnd(any, top), zero)))
            continue;
        addPerPixelPair<V, fullAlpha>(d + i, s0, s1, alphaLanes);
        addPerPixelPair<V, fullAlpha>(d + i + 2 * p, s2, s3, alphaLanes);
    }
    for (; i + 2 * p <= n; i += 2 * p)
        addPerPixelPair<V, fullAlpha>(d + i, V::load(s + i), V::load(s + i + p), alphaLanes);
    scalarKernels().addPerPixel32(d + i, s + i, n - i, alpha);
}

template <class V>
SIMD_TARGET void addPerPixel32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha)
{
    if (alpha == 255)
        addPerPixelRow<V, true>(d, s, n, alpha);
    else
        addPerPixelRow<V, false>(d, s, n, alpha);
}

template <class V, bool fullAlpha>
SIMD_TARGET inline void maskBlock(uint32_t* d, const uint8_t* m, typename V::T colour, typename V::T alpha)
{
    typename V::T twice, twiceOdd;
    twiceWeights<V, fullAlpha>(V::loadBytesHigh32(m), alpha, twice, twiceOdd);
    V::store(d, blendInPlace<V>(V::load(d), colour, twice, twiceOdd));
}

template <class V, bool fullAlpha>
SIMD_TARGET void maskRow(uint32_t* d, const uint8_t* m, int32_t n, uint32_t colour, uint32_t alpha)
{
    const typename V::T alphaLanes = V::set1_16(int16_t(alpha));
    const typename V::T c = V::set1_32(int32_t(colour));
    const typename V::T zero = V::zero();
    constexpr int32_t p = V::pixels32;
    static_assert(sizeof(typename V::T) == 4 * p, "four blocks of mask bytes fill one register");
    int32_t i = 0;
    // Four blocks a step, whose mask bytes fill one register: a step
    // without coverage is skipped.
    for (; i + 4 * p <= n; i += 4 * p) {
        if (V::allTrue(V::cmpeq32(V::load(m + i), zero)))
            continue;
        maskBlock<V, fullAlpha>(d + i, m + i, c, alphaLanes);
        maskBlock<V, fullAlpha>(d + i + p, m + i + p, c, alphaLanes);
        maskBlock<V, fullAlpha>(d + i + 2 * p, m + i + 2 * p, c, alphaLanes);
        maskBlock<V, fullAlpha>(d + i + 3 * p, m + i + 3 * p, c, alphaLanes);
    }
    for (; i + p <= n; i += p)
        maskBlock<V, fullAlpha>(d + i, m + i, c, alphaLanes);
    scalarKernels().mask32(d + i, m + i, n - i, colour, alpha);
}

template <class V>
SIMD_TARGET void mask32(uint32_t* d, const uint8_t* m, int32_t n, uint32_t colour, uint32_t alpha)
{
    if (alpha == 255)
        maskRow<V, true>(d, m, n, colour, alpha);
    else
        maskRow<V, false>(d, m, n, colour, alpha);
}

template <class V>
SIMD_TARGET void scaleRowOpaque32(uint32_t* d, const uint32_t* source, int32_t sourceCount, const int32_t* columns,
                                  int32_t n)
{
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    const typename V::T rgb = V::set1_32(0x00FFFFFF);
    int32_t i = 0;
    for (; i + V::pixels32 <= n; i += V::pixels32) {
        const typename V::T s = V::gatherNear32(source, sourceCount, columns + i);
        V::store(d + i, V::bitOr(V::bitAnd(V::load(d + i), top), V::bitAnd(s, rgb)));
    }
    scalarKernels().scaleRowOpaque32(d + i, source, sourceCount, columns + i, n - i);
}

// RGB565 fields of 16-bit lanes, shifted down.
template <class V>
struct Fields {
    typename V::T r, g, b;
};

template <class V>
SIMD_TARGET inline Fields<V> splitFields(typename V::T p)
{
    return Fields<V> {V::srli16(p, 11), V::bitAnd(V::srli16(p, 5), V::set1_16(0x3F)), V::bitAnd(p, V::set1_16(0x1F))};
}

template <class V>
SIMD_TARGET inline typename V::T joinFields(const Fields<V>& f)
{
    return V::bitOr(V::bitOr(V::slli16(f.r, 11), V::slli16(f.g, 5)), f.b);
}

template <class V>
SIMD_TARGET inline typename V::T blend565(typename V::T d, typename V::T s, typename V::T w)
{
    const Fields<V> df = splitFields<V>(d), sf = splitFields<V>(s);
    return joinFields<V>(Fields<V> {blendLanes<V>(df.r, sf.r, w), blendLanes<V>(df.g, sf.g, w), blendLanes<V>(df.b, sf.b, w)});
}

template <class V>
SIMD_TARGET void fillBlend16(uint16_t* d, int32_t n, uint16_t colour, uint32_t alpha)
{
    const typename V::T c = V::set1_16(int16_t(colour));
    const typename V::T w = V::set1_16(int16_t(alpha));
    int32_t i = 0;
    for (; i + V::pixels16 <= n; i += V::pixels16)
        V::store(d + i, blend565<V>(V::load(d + i), c, w));
    scalarKernels().fillBlend16(d + i, n - i, colour, alpha);
}

template <class V>
SIMD_TARGET void blendOverall16(uint16_t* d, const uint16_t* s, int32_t n, uint32_t alpha)
{
    const typename V::T w = V::set1_16(int16_t(alpha));
    int32_t i = 0;
    for (; i + V::pixels16 <= n; i += V::pixels16)
        V::store(d + i, blend565<V>(V::load(d + i), V::load(s + i), w));
    scalarKernels().blendOverall16(d + i, s + i, n - i, alpha);
}

template <class V>
SIMD_TARGET void blendPlane16(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha)
{
    const typename V::T a = V::set1_16(int16_t(alpha));
    const typename V::T zero = V::zero();
    const typename V::T full = V::set1_16(255);
    int32_t i = 0;
    for (; i + V::pixels16 <= n; i += V::pixels16) {
        const typename V::T p = V::loadBytesAs16(plane + i);
        if (V::allTrue(V::cmpeq16(p, zero)))
            continue;
        typename V::T w;
        if (alpha == 255) {
            // At full overall alpha the plane byte is the weight; 255 copies.
            const typename V::T opaque = V::cmpeq16(p, full);
            if (V::allTrue(opaque)) {
                V::store(d + i, V::load(s + i));
                continue;
            }
            w = V::sub16(p, opaque);
        } else {
            w = V::srli16(V::mullo16(p, a), 8);
        }
        V::store(d + i, blend565<V>(V::load(d + i), V::load(s + i), w));
    }
    scalarKernels().blendPlane16(d + i, s + i, plane + i, n - i, alpha);
}

template <class V>
SIMD_TARGET void addPlane16(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha)
{
    const typename V::T a = V::set1_16(int16_t(alpha));
    const typename V::T zero = V::zero();
    int32_t i = 0;
    for (; i + V::pixels16 <= n; i += V::pixels16) {
        const typename V::T p = V::loadBytesAs16(plane + i);
        if (V::allTrue(V::cmpeq16(p, zero)))
            continue;
        const typename V::T w = coverageWeights16<V>(p, a);
        const Fields<V> df = splitFields<V>(V::load(d + i)), sf = splitFields<V>(V::load(s + i));
        const Fields<V> sum {
            V::min16(V::add16(df.r, V::srli16(V::mullo16(sf.r, w), 8)), V::set1_16(31)),
            V::min16(V::add16(df.g, V::srli16(V::mullo16(sf.g, w), 8)), V::set1_16(63)),
            V::min16(V::add16(df.b, V::srli16(V::mullo16(sf.b, w), 8)), V::set1_16(31)),
        };
        V::store(d + i, joinFields<V>(sum));
    }
    scalarKernels().addPlane16(d + i, s + i, plane + i, n - i, alpha);
}

template <class V>
SIMD_TARGET void mask16(uint16_t* d, const uint8_t* m, int32_t n, uint16_t colour, uint32_t alpha)
{
    const typename V::T a = V::set1_16(int16_t(alpha));
    const typename V::T c = V::set1_16(int16_t(colour));
    const typename V::T zero = V::zero();
    int32_t i = 0;
    for (; i + V::pixels16 <= n; i += V::pixels16) {
        const typename V::T p = V::loadBytesAs16(m + i);
        if (V::allTrue(V::cmpeq16(p, zero)))
            continue;
        V::store(d + i, blend565<V>(V::load(d + i), c, coverageWeights16<V>(p, a)));
    }
    scalarKernels().mask16(d + i, m + i, n - i, colour, alpha);
}

template <class V>
SIMD_TARGET void bilinearAcross32(uint16_t* mixed, const uint32_t* source, const int32_t* columns,
                                  const uint32_t* weightPairs, int32_t n)
{
    // V::columnPairs widens each pixel's two neighbours to 16-bit lanes with
    // their bytes paired (a, b); one multiply-add per pair against
    // (4096 - w, w) gives the mix in a 32-bit lane.
    constexpr int32_t step = V::pixels32 / 2;
    int32_t i = 0;
    for (; i + step <= n; i += step) {
        typename V::T first, second, firstWeights, secondWeights;
        V::columnPairs(source, columns + i, first, second);
        V::columnWeights(weightPairs + i, firstWeights, secondWeights);
        V::store(mixed + 4 * i, V::packs32(V::srli32(V::madd16(first, firstWeights), 5),
                                           V::srli32(V::madd16(second, secondWeights), 5)));
    }
    scalarKernels().bilinearAcross32(mixed + 4 * i, source, columns + i, weightPairs + i, n - i);
}

// (upper * (4096 - w) + lower * w) >> 19 for one register of lanes, as
// (u + floor((l - u) * w / 4096)) >> 7: the same value, since u is whole.
// l - u (within +-32640) moved by 32768 is an unsigned lane, so the floor
// is one unsigned high multiply by 16w less 8w. Every step stays exact in
// 16-bit lanes; the result, 0..255, stays in its lane.
template <class V>
SIMD_TARGET inline typename V::T mixDown(typename V::T u, typename V::T l, typename V::T sixteenW,
                                         typename V::T eightW)
{
    const typename V::T shifted = V::add16(V::sub16(l, u), V::set1_16(int16_t(-32768)));
    return V::srli16(V::add16(u, V::sub16(V::mulhiu16(shifted, sixteenW), eightW)), 7);
}

template <class V>
SIMD_TARGET void bilinearDown32(uint32_t* quads, const uint16_t* upper, const uint16_t* lower, uint32_t weight,
                                int32_t n)
{
    const typename V::T sixteenW = V::set1_16(int16_t(uint16_t(weight << 4)));
    const typename V::T eightW = V::set1_16(int16_t(weight << 3));
    // One register of lanes holds half a register of pixels.
    constexpr int32_t half = V::pixels32 / 2;
    int32_t i = 0;
    for (; i + V::pixels32 <= n; i += V::pixels32) {
        const typename V::T first = mixDown<V>(V::load(upper + 4 * i), V::load(lower + 4 * i), sixteenW, eightW);
        const typename V::T second =
            mixDown<V>(V::load(upper + 4 * (i + half)), V::load(lower + 4 * (i + half)), sixteenW, eightW);
        V::store(quads + i, V::packus16InOrder(first, second));
    }
    scalarKernels().bilinearDown32(quads + i, upper + 4 * i, lower + 4 * i, weight, n - i);
}

template <class V>
SIMD_TARGET void bilinearDownRgb32(uint32_t* d, const uint16_t* upper, const uint16_t* lower, uint32_t weight,
                                   int32_t n)
{
    const typename V::T sixteenW = V::set1_16(int16_t(uint16_t(weight << 4)));
    const typename V::T eightW = V::set1_16(int16_t(weight << 3));
    const typename V::T top = V::set1_32(int32_t(0xFF000000u));
    constexpr int32_t half = V::pixels32 / 2;
    int32_t i = 0;
    for (; i + V::pixels32 <= n; i += V::pixels32) {
        const typename V::T first = mixDown<V>(V::load(upper + 4 * i), V::load(lower + 4 * i), sixteenW, eightW);
        const typename V::T second =
            mixDown<V>(V::load(upper + 4 * (i + half)), V::load(lower + 4 * (i + half)), sixteenW, eightW);
        V::store(d + i, keepTop<V>(V::load(d + i), V::packus16InOrder(first, second), top));
    }
    scalarKernels().bilinearDownRgb32(d + i, upper + 4 * i, lower + 4 * i, weight, n - i);
}

template <class V>
const PixelKernels& kernelSet(const char* name)
{
    static const PixelKernels set = {
        name,           fillOpaque32<V>,   fillBlend32<V>, copyRgb32<V>,    blendOverall32<V>,
        blendPerPixel32<V>, addPerPixel32<V>, mask32<V>,   scaleRowOpaque32<V>, fillBlend16<V>,  blendOverall16<V>,
        blendPlane16<V>, addPlane16<V>,     mask16<V>,      bilinearAcross32<V>, bilinearDown32<V>,
        bilinearDownRgb32<V>,
    };
    return set;
}
