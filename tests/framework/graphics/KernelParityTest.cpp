#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "GraphicsTestSupport.h"
#include "framework/graphics/PixelKernels.h"
#include "framework/graphics/TransformedBlit.h"

// Every vector kernel set must give exactly the scalar set's bytes, and none
// may write past the span it was given.
namespace {

enum class AlphaMix { Clear, Opaque, SpriteLike, Random };

uint8_t coverageFor(AlphaMix mix, std::mt19937& random, int index)
{
    switch (mix) {
    case AlphaMix::Clear:
        return 0;
    case AlphaMix::Opaque:
        return 255;
    case AlphaMix::SpriteLike: {
        // Long clear and opaque runs with soft edges between them.
        const int phase = (index / 11) % 4;
        return phase == 0 ? 0 : phase == 2 ? 255 : uint8_t(random());
    }
    case AlphaMix::Random:
        break;
    }
    const uint32_t r = random() % 8;
    return r == 0 ? 0 : r == 1 ? 255 : r == 2 ? 254 : r == 3 ? 1 : uint8_t(random());
}

std::vector<const PixelKernels*> vectorSets()
{
    std::vector<const PixelKernels*> sets;
    for (KernelSet set : {KernelSet::Sse2, KernelSet::Avx2, KernelSet::Avx512})
        if (const PixelKernels* kernels = kernelsFor(set))
            sets.push_back(kernels);
    return sets;
}

const uint32_t alphas[] = {1, 2, 5, 127, 128, 129, 200, 253, 254, 255};

}  // namespace

TEST(KernelParityTest, EveryVectorKernelMatchesTheScalarTwin)
{
    const PixelKernels& scalar = scalarKernels();
    const std::vector<const PixelKernels*> sets = vectorSets();
    ASSERT_FALSE(sets.empty());
    std::mt19937 random(20261206);
    for (const PixelKernels* set : sets) {
        for (int round = 0; round < 400; ++round) {
            const int32_t n = int32_t(random() % 70);
            const AlphaMix mix = AlphaMix(round % 4);
            const uint32_t alpha = round % 3 == 0 ? 1 + random() % 255 : alphas[random() % 10];
            const uint32_t blendAlpha = alpha == 255 ? 254 : alpha;
            const uint32_t colour = random();
            std::vector<uint32_t> d32(size_t(n) + 1), s32(size_t(n) + 1);
            std::vector<uint16_t> d16(size_t(n) + 1), s16(size_t(n) + 1);
            std::vector<uint8_t> cover(size_t(n) + 16);
            for (int32_t i = 0; i < n; ++i) {
                d32[size_t(i)] = random();
                s32[size_t(i)] = (random() & 0x00FFFFFF) | uint32_t(coverageFor(mix, random, i)) << 24;
                d16[size_t(i)] = uint16_t(random());
                s16[size_t(i)] = uint16_t(random());
                cover[size_t(i)] = coverageFor(mix, random, i);
            }
            // The element after the span: a kernel that reached it would change it.
            d32[size_t(n)] = random();
            s32[size_t(n)] = random() | 0xFF000000u;
            d16[size_t(n)] = uint16_t(random());
            s16[size_t(n)] = uint16_t(random());
            auto check32 = [&](const char* what, auto run) {
                std::vector<uint32_t> expected = d32, actual = d32;
                run(scalar, expected.data());
                run(*set, actual.data());
                ASSERT_EQ(expected, actual) << set->name << " " << what << " n=" << n << " alpha=" << alpha;
                ASSERT_EQ(expected.back(), d32.back()) << what << " wrote past n=" << n;
            };
            auto check16 = [&](const char* what, auto run) {
                std::vector<uint16_t> expected = d16, actual = d16;
                run(scalar, expected.data());
                run(*set, actual.data());
                ASSERT_EQ(expected, actual) << set->name << " " << what << " n=" << n << " alpha=" << alpha;
                ASSERT_EQ(expected.back(), d16.back()) << what << " wrote past n=" << n;
            };
            check32("fillOpaque32", [&](const PixelKernels& k, uint32_t* d) { k.fillOpaque32(d, n, colour); });
            check32("fillBlend32", [&](const PixelKernels& k, uint32_t* d) { k.fillBlend32(d, n, colour, blendAlpha); });
            check32("copyRgb32", [&](const PixelKernels& k, uint32_t* d) { k.copyRgb32(d, s32.data(), n); });
            check32("blendOverall32",
                    [&](const PixelKernels& k, uint32_t* d) { k.blendOverall32(d, s32.data(), n, blendAlpha); });
            check32("blendPerPixel32",
                    [&](const PixelKernels& k, uint32_t* d) { k.blendPerPixel32(d, s32.data(), n, alpha); });
            check32("addPerPixel32", [&](const PixelKernels& k, uint32_t* d) { k.addPerPixel32(d, s32.data(), n, alpha); });
            check32("mask32", [&](const PixelKernels& k, uint32_t* d) { k.mask32(d, cover.data(), n, colour, alpha); });
            // Columns at random, or rising as an enlarging or shrinking scale gives them.
            std::vector<int32_t> columns(size_t(n) + 1);
            const uint32_t stepNumerator = 1 + random() % 24;
            for (int32_t i = 0; i < n; ++i)
                columns[size_t(i)] = round % 2 == 0 ? int32_t(random() % uint32_t(n))
                                                    : std::min<int32_t>(n - 1, int32_t(uint32_t(i) * stepNumerator / 16));
            std::vector<uint32_t> weights(size_t(n) + 1), weightPairs(size_t(n) + 1);
            for (int32_t i = 0; i < n; ++i) {
                weights[size_t(i)] = random() % 4096;
                weightPairs[size_t(i)] = bilinearWeightPair(weights[size_t(i)]);
            }
            check32("scaleRowOpaque32", [&](const PixelKernels& k, uint32_t* d) {
                k.scaleRowOpaque32(d, s32.data(), n, columns.data(), n);
            });
            // Rows mixed across hold 0 .. 255 * 128.
            std::vector<uint16_t> upper(size_t(n) * 4), lower(size_t(n) * 4);
            for (size_t i = 0; i < upper.size(); ++i) {
                upper[i] = uint16_t(random() % 32641);
                lower[i] = uint16_t(random() % 32641);
            }
            check32("bilinearDown32", [&](const PixelKernels& k, uint32_t* d) {
                k.bilinearDown32(d, upper.data(), lower.data(), weights[0], n);
            });
            check32("bilinearDownRgb32", [&](const PixelKernels& k, uint32_t* d) {
                k.bilinearDownRgb32(d, upper.data(), lower.data(), weights[0], n);
            });
            auto checkAcross = [&](const char* what, auto run) {
                std::vector<uint16_t> expected(size_t(n) * 4 + 1), actual = expected;
                run(scalar, expected.data());
                run(*set, actual.data());
                ASSERT_EQ(expected, actual) << set->name << " " << what << " n=" << n;
            };
            checkAcross("bilinearAcross32", [&](const PixelKernels& k, uint16_t* mixed) {
                k.bilinearAcross32(mixed, s32.data(), columns.data(), weightPairs.data(), n);
            });
            const uint16_t colour16 = uint16_t(colour);
            check16("fillBlend16", [&](const PixelKernels& k, uint16_t* d) { k.fillBlend16(d, n, colour16, blendAlpha); });
            check16("blendOverall16",
                    [&](const PixelKernels& k, uint16_t* d) { k.blendOverall16(d, s16.data(), n, blendAlpha); });
            check16("blendPlane16",
                    [&](const PixelKernels& k, uint16_t* d) { k.blendPlane16(d, s16.data(), cover.data(), n, alpha); });
            check16("addPlane16",
                    [&](const PixelKernels& k, uint16_t* d) { k.addPlane16(d, s16.data(), cover.data(), n, alpha); });
            check16("mask16", [&](const PixelKernels& k, uint16_t* d) { k.mask16(d, cover.data(), n, colour16, alpha); });
        }
    }
}

// Long rows starting at every offset from a register boundary, so that the
// lead-in pixels, the unrolled blocks and the tail all run; coverage comes in
// runs of whole blocks as well, which take the clear and opaque shortcuts.
TEST(KernelParityTest, LongRowsMatchAtEveryAlignment)
{
    const PixelKernels& scalar = scalarKernels();
    std::mt19937 random(4242);
    for (const PixelKernels* set : vectorSets()) {
        for (int round = 0; round < 240; ++round) {
            const int32_t start = round % 17;
            const int32_t n = int32_t(64 + random() % 260);
            const size_t size = size_t(start + n) + 8;
            const uint32_t alpha = round % 2 == 0 ? 255 : alphas[random() % 10];
            const uint32_t colour = random();
            const int32_t run = 4 << (random() % 4);
            std::vector<uint32_t> d32(size), s32(size);
            std::vector<uint8_t> cover(size + 16);
            for (size_t i = 0; i < size; ++i) {
                // Runs of clear, opaque and mixed blocks.
                const uint32_t kind = uint32_t(i / size_t(run) * 2654435761u >> 7) % 3;
                const uint8_t c = kind == 0 ? 0 : kind == 1 ? 255 : uint8_t(random());
                d32[i] = random();
                s32[i] = (random() & 0x00FFFFFF) | uint32_t(c) << 24;
                cover[i] = c;
            }
            auto check32 = [&](const char* what, auto draw) {
                std::vector<uint32_t> expected = d32, actual = d32;
                draw(scalar, expected.data() + start);
                draw(*set, actual.data() + start);
                ASSERT_EQ(expected, actual) << set->name << " " << what << " start=" << start << " n=" << n
                                            << " alpha=" << alpha;
            };
            const uint32_t* s = s32.data() + start;
            const uint8_t* m = cover.data() + start;
            const uint32_t blendAlpha = alpha == 255 ? 254 : alpha;
            check32("fillOpaque32", [&](const PixelKernels& k, uint32_t* d) { k.fillOpaque32(d, n, colour); });
            check32("fillBlend32", [&](const PixelKernels& k, uint32_t* d) { k.fillBlend32(d, n, colour, blendAlpha); });
            check32("copyRgb32", [&](const PixelKernels& k, uint32_t* d) { k.copyRgb32(d, s, n); });
            check32("blendOverall32", [&](const PixelKernels& k, uint32_t* d) { k.blendOverall32(d, s, n, blendAlpha); });
            check32("blendPerPixel32", [&](const PixelKernels& k, uint32_t* d) { k.blendPerPixel32(d, s, n, alpha); });
            check32("addPerPixel32", [&](const PixelKernels& k, uint32_t* d) { k.addPerPixel32(d, s, n, alpha); });
            check32("mask32", [&](const PixelKernels& k, uint32_t* d) { k.mask32(d, m, n, colour, alpha); });
            // Mixed rows hold 0 .. 255 * 128 in four lanes a pixel.
            std::vector<uint16_t> upper(size * 4), lower(size * 4);
            for (size_t i = 0; i < upper.size(); ++i) {
                upper[i] = uint16_t(random() % 32641);
                lower[i] = uint16_t(random() % 32641);
            }
            const uint32_t weight = random() % 4096;
            check32("bilinearDownRgb32", [&](const PixelKernels& k, uint32_t* d) {
                k.bilinearDownRgb32(d, upper.data() + 4 * start, lower.data() + 4 * start, weight, n);
            });
        }
    }
}

// Rows cut into groups of one block's pixels (4, 8 or 16 by set), each group
// wholly clear, wholly opaque, random, or clear or opaque but for one pixel:
// the shortcuts taken for whole steps, pairs of blocks or single blocks must
// look at exactly the pixels they cover.
TEST(KernelParityTest, CoverageGroupsOfEveryKindMatch)
{
    const PixelKernels& scalar = scalarKernels();
    std::mt19937 random(1207);
    for (const PixelKernels* set : vectorSets()) {
        for (int round = 0; round < 600; ++round) {
            const int32_t group = 4 << (round % 3);
            const int32_t n = int32_t(random() % 200);
            const uint32_t alpha = round % 4 == 3 ? alphas[random() % 10] : 255;
            std::vector<uint32_t> d32(size_t(n) + 1), s32(size_t(n) + 1);
            std::vector<uint8_t> cover(size_t(n) + 16);
            for (int32_t start = 0; start < n; start += group) {
                const uint32_t kind = random() % 5;
                const int32_t odd = start + int32_t(random() % uint32_t(group));
                const uint8_t oddValue = kind == 3 ? uint8_t(254 - random() % 2 * 254) : uint8_t(1 + random() % 2 * 254);
                for (int32_t i = start; i < std::min(n, start + group); ++i) {
                    uint8_t c = kind == 0 || kind == 4 ? 0 : kind == 1 || kind == 3 ? 255 : uint8_t(random());
                    if (kind >= 3 && i == odd)
                        c = oddValue;
                    d32[size_t(i)] = random();
                    s32[size_t(i)] = (random() & 0x00FFFFFF) | uint32_t(c) << 24;
                    cover[size_t(i)] = c;
                }
            }
            auto check32 = [&](const char* what, auto run) {
                std::vector<uint32_t> expected = d32, actual = d32;
                run(scalar, expected.data());
                run(*set, actual.data());
                ASSERT_EQ(expected, actual) << set->name << " " << what << " group=" << group << " n=" << n
                                            << " alpha=" << alpha;
            };
            const uint32_t colour = random();
            check32("blendPerPixel32", [&](const PixelKernels& k, uint32_t* d) { k.blendPerPixel32(d, s32.data(), n, alpha); });
            check32("addPerPixel32", [&](const PixelKernels& k, uint32_t* d) { k.addPerPixel32(d, s32.data(), n, alpha); });
            check32("mask32", [&](const PixelKernels& k, uint32_t* d) { k.mask32(d, cover.data(), n, colour, alpha); });
        }
    }
}

namespace {

// Runs `draw` on a copy of `background` with the given kernel set and returns
// the result's bytes.
template <class Draw>
std::vector<uint8_t> drawWith(KernelSet set, Image* background, Draw draw)
{
    EXPECT_TRUE(selectKernels(set));
    RefPointer<Image> target = Image::clone(background);
    RefPointer<Graphics> g = target->getGraphics();
    draw(*g);
    selectKernels(KernelSet::Scalar);
    target->lock();
    const size_t pixelBytes = size_t(target->getPitch()) * target->getHeight();
    std::vector<uint8_t> bytes(target->getPixels(), target->getPixels() + pixelBytes);
    if (target->getAlphaPlane())
        bytes.insert(bytes.end(), target->getAlphaPlane(),
                     target->getAlphaPlane() + size_t(target->getWidth()) * target->getHeight());
    target->unlock();
    return bytes;
}

RefPointer<Image> randomImage(std::mt19937& random, int width, int height, int bytesPerPixel, AlphaMix mix)
{
    RefPointer<Image> image = Image::create(width, height, bytesPerPixel);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t coverage = coverageFor(mix, random, x + y * 3);
            if (bytesPerPixel == 4)
                image->row32(y)[x] = (random() & 0x00FFFFFF) | uint32_t(coverage) << 24;
            if (bytesPerPixel == 2)
                image->row16(y)[x] = uint16_t(random());
            if (bytesPerPixel != 4)
                image->alphaRow(y)[x] = coverage;
        }
    image->unlock();
    return image;
}

}  // namespace

TEST(KernelParityTest, WholeOperationsMatchUnderRandomClips)
{
    std::mt19937 random(77);
    const std::vector<KernelSet> sets = {KernelSet::Sse2, KernelSet::Avx2, KernelSet::Avx512};
    for (int round = 0; round < 300; ++round) {
        const int bytes = round % 2 == 0 ? 4 : 2;
        const AlphaMix mix = AlphaMix(random() % 4);
        RefPointer<Image> background = randomImage(random, 53, 37, bytes, AlphaMix::Random);
        RefPointer<Image> sprite = randomImage(random, 1 + int(random() % 40), 1 + int(random() % 30), bytes, mix);
        RefPointer<Image> mask = randomImage(random, 1 + int(random() % 40), 1 + int(random() % 30), 1, mix);
        sprite->setHasAlphaChannel(random() % 4 != 0);
        const int alpha = round % 3 == 0 ? 255 : int(alphas[random() % 10]);
        const int blendMode = int(random() % 2);
        const Rect clip {int(random() % 60) - 5, int(random() % 40) - 5, int(random() % 60), int(random() % 40)};
        const int x = int(random() % 70) - 15, y = int(random() % 50) - 10;
        const int srcX = int(random() % 10) - 3, srcY = int(random() % 10) - 3;
        const uint32_t colour = random();
        const bool smooth = random() % 2 == 0;
        const int scaledWidth = int(random() % 90), scaledHeight = int(random() % 60);
        const double angle = double(random() % 628) / 100.0;
        auto draw = [&](Graphics& g) {
            g.setClip(clip);
            g.setAlpha(alpha);
            g.setColour(colour);
            g.setBlendMode(blendMode);
            g.blit(sprite.get(), x, y, srcX, srcY, 45, 33);
            g.blit(mask.get(), y, x);
            g.fillRect(x, y, 31, 17);
            g.setAlpha(255);
            g.fillRect(y, x, 9, 5);
            g.drawLine(x, y, x + 20, y);
            g.setSmoothing(smooth);
            g.blitScaled(sprite.get(), srcX, srcY, 30, 20, y, x, scaledWidth, scaledHeight);
            g.blitRotated(sprite.get(), angle, 1.25, x, y, srcX, srcY, 30, 20, 7, 5);
        };
        const std::vector<uint8_t> expected = drawWith(KernelSet::Scalar, background.get(), draw);
        for (KernelSet set : sets) {
            if (!kernelsFor(set))
                continue;
            EXPECT_EQ(drawWith(set, background.get(), draw), expected) << "round " << round;
        }
    }
    selectKernels(KernelSet::Avx512) || selectKernels(KernelSet::Avx2) || selectKernels(KernelSet::Sse2);
}

TEST(KernelParityTest, BilinearMixMatchesItsTwinAndTheFloatFormula)
{
    std::mt19937 random(5150);
    for (int round = 0; round < 200000; ++round) {
        const uint32_t p[4] = {uint32_t(random()), uint32_t(random()), uint32_t(random()), uint32_t(random())};
        const uint32_t fx = uint32_t(random() & 0xFFFFF), fy = uint32_t(random() & 0xFFFFF);
        const uint32_t wx = fx >> 8, wy = fy >> 8;
        const uint32_t scalar = transformed::bilinearScalar(p[0], p[1], p[2], p[3], wx, wy);
        // The row kernels' two halves give the same mix.
        const int32_t column = 0;
        uint16_t upper[4], lower[4];
        uint32_t halves = 0;
        const uint32_t pair = bilinearWeightPair(wx);
        scalarKernels().bilinearAcross32(upper, p, &column, &pair, 1);
        scalarKernels().bilinearAcross32(lower, p + 2, &column, &pair, 1);
        scalarKernels().bilinearDown32(&halves, upper, lower, wy, 1);
        ASSERT_EQ(halves, scalar) << round;
        // Mixed straight onto a target pixel, whose top byte stays.
        uint32_t onto = uint32_t(random());
        const uint32_t before = onto;
        scalarKernels().bilinearDownRgb32(&onto, upper, lower, wy, 1);
        ASSERT_EQ(onto, (before & 0xFF000000u) | (scalar & 0x00FFFFFFu)) << round;
#if defined(__SSE2__)
        ASSERT_EQ(transformed::bilinearSse2(p[0], p[1], p[2], p[3], wx, wy), scalar) << round;
#endif
        // The float formula on the full 20-bit fractions, each channel truncated.
        const float ax = float(fx) / 1048576.0f, ay = float(fy) / 1048576.0f;
        for (int shift = 0; shift < 32; shift += 8) {
            const float mixed = float((p[0] >> shift) & 0xFF) * (1 - ax) * (1 - ay) +
                                float((p[1] >> shift) & 0xFF) * ax * (1 - ay) +
                                float((p[2] >> shift) & 0xFF) * (1 - ax) * ay + float((p[3] >> shift) & 0xFF) * ax * ay;
            ASSERT_LE(std::abs(int((scalar >> shift) & 0xFF) - int(mixed)), 1) << round;
        }
    }
}
