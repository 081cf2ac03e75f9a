#pragma once

#include <cstdint>

// The row routines behind the hot drawing operations. Every set computes the
// same bytes as the scalar set; the vector sets only go faster. Lengths are
// pixel counts (0 allowed); alphas are the overall alpha 1..255 unless noted.
struct PixelKernels {
    const char* name;

    // RGB = colour, top byte kept.
    void (*fillOpaque32)(uint32_t* d, int32_t n, uint32_t colour);
    // Single-pixel blend of the colour at alpha 1..254, top byte kept.
    void (*fillBlend32)(uint32_t* d, int32_t n, uint32_t colour, uint32_t alpha);
    // RGB = source RGB, top byte kept.
    void (*copyRgb32)(uint32_t* d, const uint32_t* s, int32_t n);
    // Source without alpha at alpha 1..254, all four bytes.
    void (*blendOverall32)(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha);
    // Source alpha times overall alpha, top byte kept.
    void (*blendPerPixel32)(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha);
    // Additive with the source's alpha times overall alpha, saturated, top byte kept.
    void (*addPerPixel32)(uint32_t* d, const uint32_t* s, int32_t n, uint32_t alpha);
    // The colour through a mask of coverage bytes.
    void (*mask32)(uint32_t* d, const uint8_t* m, int32_t n, uint32_t colour, uint32_t alpha);

    // Nearest-sample row of a scaled opaque blit: RGB = source[columns[i]] RGB,
    // top byte kept. source[0 .. sourceCount) may be read.
    void (*scaleRowOpaque32)(uint32_t* d, const uint32_t* source, int32_t sourceCount, const int32_t* columns,
                             int32_t n);

    // RGB565: the packed colour at alpha 1..254.
    void (*fillBlend16)(uint16_t* d, int32_t n, uint16_t colour, uint32_t alpha);
    // Source without plane at alpha 1..254.
    void (*blendOverall16)(uint16_t* d, const uint16_t* s, int32_t n, uint32_t alpha);
    // Source with its alpha plane: at alpha 255 the plane byte is the weight,
    // below that plane * alpha / 256.
    void (*blendPlane16)(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha);
    // Additive with plane * alpha / 256, fields saturated.
    void (*addPlane16)(uint16_t* d, const uint16_t* s, const uint8_t* plane, int32_t n, uint32_t alpha);
    // The packed colour through a mask of coverage bytes.
    void (*mask16)(uint16_t* d, const uint8_t* m, int32_t n, uint16_t colour, uint32_t alpha);

    // The two halves of the bilinear mix of 4-byte quads, kept apart so that
    // a scaled blit mixes each source row across once and reuses it for every
    // target row that needs it. Together they give the mix of
    // transformed::bilinearScalar, bit for bit.
    // Across: each byte of source[columns[i]] and source[columns[i] + 1] with
    // the 12-bit weight w of weightPairs[i] (bilinearWeightPair), kept with 7
    // fraction bits, four 16-bit lanes per pixel: mixed = (a * (4096 - w) + b * w) >> 5.
    void (*bilinearAcross32)(uint16_t* mixed, const uint32_t* source, const int32_t* columns,
                             const uint32_t* weightPairs, int32_t n);
    // Down: two rows of the above with the 12-bit weight w, rounded down to
    // bytes: quad = (upper * (4096 - w) + lower * w) >> 19.
    void (*bilinearDown32)(uint32_t* quads, const uint16_t* upper, const uint16_t* lower, uint32_t weight, int32_t n);
    // The same mix down written straight onto a target row: RGB = the mixed
    // quad's RGB, top byte kept.
    void (*bilinearDownRgb32)(uint32_t* d, const uint16_t* upper, const uint16_t* lower, uint32_t weight, int32_t n);
};

// The two weights of a column mixed across, 4096 - w and w, in the halves of
// one word: made once per scaled blit, read by every source row it mixes.
inline uint32_t bilinearWeightPair(uint32_t w)
{
    return w << 16 | (4096 - w);
}

// Avx512 adds byte-masked stores for the opaque fill and copy to the AVX2 set.
enum class KernelSet { Scalar, Sse2, Avx2, Avx512 };

// The plain reference set.
const PixelKernels& scalarKernels();
// A vector set, or null when this processor or build does not have it.
const PixelKernels* kernelsFor(KernelSet set);
// The set the drawing routines use: the fastest available unless chosen.
const PixelKernels& activeKernels();
// Chooses the set used from now on; false (nothing changed) when unavailable.
bool selectKernels(KernelSet set);
