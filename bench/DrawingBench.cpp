// Drawing throughput against pixman on the same 800 x 600 buffers and the same
// seeded content, plus a whole frame of typical game drawing. Every case
// checks its output once before it is timed. After the runs a table gives,
// per case, our throughput, pixman's, the ratio and our share of the memcpy
// bandwidth of one frame, then the paired ratio: the median of frame-by-frame
// ratios with the two sides drawn in turn, which a load that comes and goes
// on a shared machine moves far less than the ratio of separate runs.
//
// Build in a separate Release tree:
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORTELUNE_BENCH=ON -DTORTELUNE_TESTS=OFF
//   cmake --build build-bench --target bench_DrawingBench && build-bench/bench/bench_DrawingBench

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/PixelKernels.h"

namespace {

constexpr int frameWidth = 800;
constexpr int frameHeight = 600;
constexpr double framePixels = double(frameWidth) * frameHeight;

enum class AlphaMix { Opaque, Clear, SpriteLike, Random };

// Sprite-like coverage: 64 x 64 tiles each holding a soft-edged disc, so that
// most blocks are wholly clear or wholly opaque and the rest are edges.
uint8_t spriteCoverage(int x, int y)
{
    const double dx = (x % 64) - 31.5, dy = (y % 64) - 31.5;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance < 24.0)
        return 255;
    if (distance > 28.0)
        return 0;
    return uint8_t(255.0 * (28.0 - distance) / 4.0);
}

uint8_t coverageFor(AlphaMix mix, int x, int y, std::mt19937& random)
{
    switch (mix) {
    case AlphaMix::Opaque:
        return 255;
    case AlphaMix::Clear:
        return 0;
    case AlphaMix::SpriteLike:
        return spriteCoverage(x, y);
    case AlphaMix::Random:
        break;
    }
    return uint8_t(random());
}

// A smooth colour field, so that scaled and rotated samples taken at slightly
// different positions stay close in value.
uint32_t smoothColour(int x, int y)
{
    const uint32_t r = uint32_t(128 + 127 * std::sin(x * 0.031));
    const uint32_t g = uint32_t(128 + 127 * std::sin(y * 0.027 + 1.0));
    const uint32_t b = uint32_t(128 + 127 * std::sin((x + y) * 0.019 + 2.0));
    return (r << 16) | (g << 8) | b;
}

RefPointer<Image> makeImage32(int width, int height, AlphaMix mix, bool alphaChannel, uint32_t seed,
                              bool smooth = false)
{
    std::mt19937 random(seed);
    RefPointer<Image> image = Image::create(width, height, 4);
    image->setHasAlphaChannel(alphaChannel);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = smooth ? smoothColour(x, y) : (random() & 0x00FFFFFF);
            image->row32(y)[x] = colour | uint32_t(coverageFor(mix, x, y, random)) << 24;
        }
    image->unlock();
    return image;
}

RefPointer<Image> makeImage16(int width, int height, AlphaMix mix, uint32_t seed)
{
    std::mt19937 random(seed);
    RefPointer<Image> image = Image::create(width, height, 2);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            image->row16(y)[x] = uint16_t(random());
            image->alphaRow(y)[x] = coverageFor(mix, x, y, random);
        }
    image->unlock();
    return image;
}

// Glyph-like coverage: rows of 9 x 13 cells with strokes and soft edges.
RefPointer<Image> makeGlyphMask(int width, int height, uint32_t seed)
{
    std::mt19937 random(seed);
    RefPointer<Image> image = Image::create(width, height, 1);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int cx = x % 10, cy = y % 16;
            uint8_t value = 0;
            if (cx < 9 && cy < 13) {
                const bool stroke = cx == 1 || cx == 2 || cy == 6 || (cx + cy) % 7 == 0;
                value = stroke ? uint8_t(200 + random() % 56) : (random() % 5 == 0 ? uint8_t(random() % 120) : 0);
            }
            image->alphaRow(y)[x] = value;
        }
    image->unlock();
    return image;
}

// pixman wants premultiplied sources; this makes a premultiplied copy.
std::vector<uint32_t> premultiplied(Image* image)
{
    image->lock();
    std::vector<uint32_t> out(size_t(image->getWidth()) * image->getHeight());
    for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint32_t p = image->row32(y)[x], a = p >> 24;
            auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
            out[size_t(y) * image->getWidth() + x] =
                (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
        }
    image->unlock();
    return out;
}

std::vector<uint32_t> rgbaFromPlane(Image* image)
{
    // A 2-byte image's colour and plane as premultiplied a8r8g8b8 for pixman.
    RefPointer<Image> wide = Image::create(image->getWidth(), image->getHeight(), 4);
    image->lock();
    wide->lock();
    for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint32_t p = image->row16(y)[x];
            wide->row32(y)[x] = (uint32_t(image->alphaRow(y)[x]) << 24) | ((p & 0xF800) << 8) | ((p & 0x07E0) << 5) |
                                ((p & 0x001F) << 3);
        }
    image->unlock();
    wide->unlock();
    return premultiplied(wide.get());
}

struct PixmanImage {
    pixman_image_t* image = nullptr;
    PixmanImage() = default;
    PixmanImage(pixman_format_code_t format, int width, int height, void* bits, int stride)
        : image(pixman_image_create_bits(format, width, height, static_cast<uint32_t*>(bits), stride))
    {
    }
    ~PixmanImage()
    {
        if (image)
            pixman_image_unref(image);
    }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
};

// The largest difference of any colour byte between two 32-bit frames, and
// the share of pixels that differ by more than `bound` in some byte.
struct Difference {
    int largest = 0;
    double shareAbove = 0.0;
};

Difference compare32(const uint32_t* a, const uint32_t* b, size_t count, int bound)
{
    Difference result;
    size_t above = 0;
    for (size_t i = 0; i < count; ++i) {
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
        result.largest = std::max(result.largest, worst);
        above += worst > bound;
    }
    result.shareAbove = double(above) / double(count);
    return result;
}

Difference compare16(const uint16_t* a, const uint16_t* b, size_t count, int bound)
{
    Difference result;
    size_t above = 0;
    for (size_t i = 0; i < count; ++i) {
        const int dr = std::abs(int(a[i] >> 11) - int(b[i] >> 11));
        const int dg = std::abs(int((a[i] >> 5) & 0x3F) - int((b[i] >> 5) & 0x3F));
        const int db = std::abs(int(a[i] & 0x1F) - int(b[i] & 0x1F));
        const int worst = std::max({dr, dg, db});
        result.largest = std::max(result.largest, worst);
        above += worst > bound;
    }
    result.shareAbove = double(above) / double(count);
    return result;
}

bool failed = false;

void check(const std::string& name, bool ok, const std::string& detail)
{
    if (!ok) {
        std::fprintf(stderr, "CHECK FAILED: %s: %s\n", name.c_str(), detail.c_str());
        failed = true;
    }
}

// One comparison: how we draw it and how pixman draws it, on the same inputs.
struct Case {
    std::string name;
    std::function<void()> ours;
    std::function<void()> theirs;
};

std::vector<Case>& cases()
{
    static std::vector<Case> all;
    return all;
}

// Buffers shared by all cases: one 32-bit and one 16-bit frame for us, and
// the same-sized frames for pixman, refreshed from the same background.
struct Frames {
    RefPointer<Image> background32 = makeImage32(frameWidth, frameHeight, AlphaMix::Opaque, false, 1, true);
    RefPointer<Image> background16 = makeImage16(frameWidth, frameHeight, AlphaMix::Opaque, 2);
    RefPointer<Image> ours32 = Image::clone(background32.get());
    RefPointer<Image> ours16 = Image::clone(background16.get());
    RefPointer<Graphics> g32 = ours32->getGraphics();
    RefPointer<Graphics> g16 = ours16->getGraphics();
    std::vector<uint32_t> theirs32 = std::vector<uint32_t>(size_t(framePixels));
    std::vector<uint16_t> theirs16 = std::vector<uint16_t>(size_t(framePixels));
    PixmanImage pixman32 {PIXMAN_x8r8g8b8, frameWidth, frameHeight, theirs32.data(), frameWidth * 4};
    PixmanImage pixman16 {PIXMAN_r5g6b5, frameWidth, frameHeight, theirs16.data(), frameWidth * 2};

    void reset()
    {
        background32->lock();
        ours32->lock();
        std::memcpy(ours32->getPixels(), background32->getPixels(), size_t(framePixels) * 4);
        std::memcpy(theirs32.data(), background32->getPixels(), size_t(framePixels) * 4);
        background32->unlock();
        ours32->unlock();
        background16->lock();
        ours16->lock();
        std::memcpy(ours16->getPixels(), background16->getPixels(), size_t(framePixels) * 2);
        std::memcpy(theirs16.data(), background16->getPixels(), size_t(framePixels) * 2);
        background16->unlock();
        ours16->unlock();
        g32->resetClip();
        g32->setAlpha(255);
        g32->setBlendMode(Graphics::BlendNormal);
        g32->setSmoothing(false);
        g16->resetClip();
        g16->setAlpha(255);
        g16->setBlendMode(Graphics::BlendNormal);
    }
    const uint32_t* ourPixels32() const { return reinterpret_cast<const uint32_t*>(ours32->getPixels()); }
    const uint16_t* ourPixels16() const { return reinterpret_cast<const uint16_t*>(ours16->getPixels()); }
};

Frames& frames()
{
    static Frames shared;
    return shared;
}

// Keeps the inputs of every case alive for the whole run.
std::vector<RefPointer<Image>> keptImages;
std::vector<std::vector<uint32_t>> keptBuffers;
std::vector<std::unique_ptr<PixmanImage>> keptPixman;

pixman_image_t* pixmanOver(std::vector<uint32_t> pixels, int width, int height, pixman_format_code_t format)
{
    keptBuffers.push_back(std::move(pixels));
    keptPixman.push_back(
        std::make_unique<PixmanImage>(format, width, height, keptBuffers.back().data(), width * 4));
    return keptPixman.back()->image;
}

pixman_image_t* pixmanWrap(Image* image, pixman_format_code_t format)
{
    keptPixman.push_back(std::make_unique<PixmanImage>(format, image->getWidth(), image->getHeight(),
                                                       image->getPixels(), image->getPitch()));
    return keptPixman.back()->image;
}

// Runs both sides once from the same background and checks them against each other.
void verify(const Case& c, bool sixteen, int bound, double allowedShare)
{
    Frames& f = frames();
    f.reset();
    c.ours();
    c.theirs();
    f.ours32->lock();
    f.ours16->lock();
    const Difference d = sixteen ? compare16(f.ourPixels16(), f.theirs16.data(), size_t(framePixels), bound)
                                 : compare32(f.ourPixels32(), f.theirs32.data(), size_t(framePixels), bound);
    f.ours32->unlock();
    f.ours16->unlock();
    char detail[160];
    std::snprintf(detail, sizeof detail, "largest difference %d, %.3f%% of pixels beyond %d", d.largest,
                  d.shareAbove * 100.0, bound);
    check(c.name, d.shareAbove <= allowedShare, detail);
}

void addCase(const std::string& name, std::function<void()> ours, std::function<void()> theirs, bool sixteen,
             int bound, double allowedShare = 0.0)
{
    cases().push_back(Case {name, std::move(ours), std::move(theirs)});
    verify(cases().back(), sixteen, bound, allowedShare);
}

void buildCases()
{
    Frames& f = frames();
    pixman_image_t* dst32 = f.pixman32.image;
    pixman_image_t* dst16 = f.pixman16.image;

    // Opaque fill (pixman SRC of a solid colour).
    const uint32_t fillColour = 0xFF3366CC;
    addCase(
        "fill opaque", [&f, fillColour] { f.g32->setColour(fillColour); f.g32->setAlpha(255); f.g32->fillRect(0, 0, frameWidth, frameHeight); },
        [dst32] {
            const pixman_color_t colour {0x3333, 0x6666, 0xCCCC, 0xFFFF};
            const pixman_rectangle16_t rect {0, 0, frameWidth, frameHeight};
            pixman_image_fill_rectangles(PIXMAN_OP_SRC, dst32, &colour, 1, &rect);
        },
        false, 0);

    // Blended fill: the colour at alpha 128 (pixman OVER of a premultiplied solid).
    addCase(
        "fill blended", [&f, fillColour] { f.g32->setColour(fillColour); f.g32->setAlpha(128); f.g32->fillRect(0, 0, frameWidth, frameHeight); },
        [dst32] {
            const pixman_color_t colour {0x3333 / 2, 0x6666 / 2, 0xCCCC / 2, 0x8080};
            const pixman_rectangle16_t rect {0, 0, frameWidth, frameHeight};
            pixman_image_fill_rectangles(PIXMAN_OP_OVER, dst32, &colour, 1, &rect);
        },
        false, 2);

    // Opaque copy (pixman SRC x8r8g8b8 -> x8r8g8b8).
    RefPointer<Image> opaque = makeImage32(frameWidth, frameHeight, AlphaMix::Opaque, false, 10);
    keptImages.push_back(opaque);
    pixman_image_t* opaqueSrc = pixmanWrap(opaque.get(), PIXMAN_x8r8g8b8);
    addCase(
        "copy opaque", [&f, img = opaque.get()] { f.g32->blit(img, 0, 0); },
        [opaqueSrc, dst32] {
            pixman_image_composite32(PIXMAN_OP_SRC, opaqueSrc, nullptr, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        false, 0);

    // Per-pixel alpha over an opaque target, four alpha mixes.
    const std::pair<AlphaMix, const char*> mixes[] = {{AlphaMix::Opaque, "all opaque"},
                                                      {AlphaMix::Clear, "all clear"},
                                                      {AlphaMix::SpriteLike, "sprite-like"},
                                                      {AlphaMix::Random, "random"}};
    uint32_t seed = 20;
    for (const auto& [mix, label] : mixes) {
        RefPointer<Image> sprite = makeImage32(frameWidth, frameHeight, mix, true, seed++);
        keptImages.push_back(sprite);
        pixman_image_t* src = pixmanOver(premultiplied(sprite.get()), frameWidth, frameHeight, PIXMAN_a8r8g8b8);
        addCase(
            std::string("alpha blit, ") + label, [&f, img = sprite.get()] { f.g32->blit(img, 0, 0); },
            [src, dst32] {
                pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
            },
            false, 3);
    }

    // Per-pixel alpha at overall alpha 128 (pixman OVER with a solid a8 mask).
    RefPointer<Image> randomSprite = makeImage32(frameWidth, frameHeight, AlphaMix::Random, true, 30);
    keptImages.push_back(randomSprite);
    pixman_image_t* randomSrc = pixmanOver(premultiplied(randomSprite.get()), frameWidth, frameHeight, PIXMAN_a8r8g8b8);
    const pixman_color_t half {0, 0, 0, 0x8080};
    pixman_image_t* halfMask = pixman_image_create_solid_fill(&half);
    addCase(
        "alpha blit at 128", [&f, img = randomSprite.get()] { f.g32->setAlpha(128); f.g32->blit(img, 0, 0); },
        [randomSrc, halfMask, dst32] {
            pixman_image_composite32(PIXMAN_OP_OVER, randomSrc, halfMask, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        false, 3);

    // Additive (pixman ADD of the premultiplied source).
    addCase(
        "additive", [&f, img = randomSprite.get()] { f.g32->setBlendMode(Graphics::BlendAdditive); f.g32->blit(img, 0, 0); },
        [randomSrc, dst32] {
            pixman_image_composite32(PIXMAN_OP_ADD, randomSrc, nullptr, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        false, 3);

    // The same additive draw with pixman doing our work too: the plain colour
    // (x8r8g8b8, its alpha ignored) weighted by the sprite's own alpha as the
    // mask, then added, instead of a source premultiplied before timing.
    pixman_image_t* randomColour = pixmanWrap(randomSprite.get(), PIXMAN_x8r8g8b8);
    pixman_image_t* randomAlpha = pixmanWrap(randomSprite.get(), PIXMAN_a8r8g8b8);
    addCase(
        "additive, pixman weighs", [&f, img = randomSprite.get()] { f.g32->setBlendMode(Graphics::BlendAdditive); f.g32->blit(img, 0, 0); },
        [randomColour, randomAlpha, dst32] {
            pixman_image_composite32(PIXMAN_OP_ADD, randomColour, randomAlpha, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        false, 3);

    // Glyph masks in a colour (pixman OVER of a solid through an a8 mask).
    RefPointer<Image> glyphs = makeGlyphMask(frameWidth, frameHeight, 40);
    keptImages.push_back(glyphs);
    glyphs->lock();
    keptPixman.push_back(std::make_unique<PixmanImage>(PIXMAN_a8, frameWidth, frameHeight, glyphs->getAlphaPlane(), frameWidth));
    glyphs->unlock();
    pixman_image_t* glyphMask = keptPixman.back()->image;
    const pixman_color_t ink {0xFFFF, 0xEEEE, 0x2222, 0xFFFF};
    pixman_image_t* inkFill = pixman_image_create_solid_fill(&ink);
    addCase(
        "glyph masks", [&f, img = glyphs.get()] { f.g32->setColour(0xFFFFEE22); f.g32->blit(img, 0, 0); },
        [inkFill, glyphMask, dst32] {
            pixman_image_composite32(PIXMAN_OP_OVER, inkFill, glyphMask, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        false, 3);

    // 16-bit per-pixel alpha (pixman OVER a8r8g8b8 -> r5g6b5).
    RefPointer<Image> sprite16 = makeImage16(frameWidth, frameHeight, AlphaMix::SpriteLike, 50);
    keptImages.push_back(sprite16);
    pixman_image_t* src16 = pixmanOver(rgbaFromPlane(sprite16.get()), frameWidth, frameHeight, PIXMAN_a8r8g8b8);
    addCase(
        "16-bit alpha blit", [&f, img = sprite16.get()] { f.g16->blit(img, 0, 0); },
        [src16, dst16] {
            pixman_image_composite32(PIXMAN_OP_OVER, src16, nullptr, dst16, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
        },
        true, 1);

    // Scaled 1.3x, nearest and bilinear (pixman SRC through a scaling transform).
    const int smallWidth = int(frameWidth / 1.3), smallHeight = int(frameHeight / 1.3);
    RefPointer<Image> small = makeImage32(smallWidth, smallHeight, AlphaMix::Opaque, false, 60, true);
    keptImages.push_back(small);
    for (bool smooth : {false, true}) {
        pixman_image_t* src = pixmanWrap(small.get(), PIXMAN_x8r8g8b8);
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(smallWidth) / frameWidth),
                                    pixman_double_to_fixed(double(smallHeight) / frameHeight));
        pixman_image_set_transform(src, &scale);
        pixman_image_set_filter(src, smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
        pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
        addCase(
            smooth ? "scaled 1.3x bilinear" : "scaled 1.3x nearest",
            [&f, img = small.get(), smallWidth, smallHeight, smooth] {
                f.g32->setSmoothing(smooth);
                f.g32->blitScaled(img, 0, 0, smallWidth, smallHeight, 0, 0, frameWidth, frameHeight);
            },
            [src, dst32] {
                pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
            },
            false, 12, 0.01);
    }

    // Rotated 30 degrees about the centre, nearest and bilinear (pixman OVER of
    // an opaque source through a rotation; outside the source nothing changes).
    RefPointer<Image> square = makeImage32(512, 512, AlphaMix::Opaque, false, 70, true);
    keptImages.push_back(square);
    const double angle = 30.0 * 3.14159265358979323846 / 180.0;
    for (bool smooth : {false, true}) {
        pixman_image_t* src = pixmanWrap(square.get(), PIXMAN_x8r8g8b8);
        const double c = std::cos(angle), s = std::sin(angle);
        pixman_transform_t rotation;
        // Target (x, y) -> source: rotate back about the frame centre, then
        // move to the square's centre.
        pixman_transform_init_identity(&rotation);
        rotation.matrix[0][0] = pixman_double_to_fixed(c);
        rotation.matrix[0][1] = pixman_double_to_fixed(s);
        rotation.matrix[0][2] = pixman_double_to_fixed(-c * 400 - s * 300 + 256);
        rotation.matrix[1][0] = pixman_double_to_fixed(-s);
        rotation.matrix[1][1] = pixman_double_to_fixed(c);
        rotation.matrix[1][2] = pixman_double_to_fixed(s * 400 - c * 300 + 256);
        pixman_image_set_transform(src, &rotation);
        pixman_image_set_filter(src, smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
        addCase(
            smooth ? "rotated 30 bilinear" : "rotated 30 nearest",
            [&f, img = square.get(), angle, smooth] {
                f.g32->setSmoothing(smooth);
                f.g32->blitRotated(img, angle, 1.0, 400 - 256, 300 - 256, 0, 0, 512, 512, 256, 256);
            },
            [src, dst32] {
                pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst32, 0, 0, 0, 0, 0, 0, frameWidth, frameHeight);
            },
            false, 24, 0.01);
    }
}

// The whole-frame case: what one busy frame of the game draws.
struct WholeFrame {
    RefPointer<Image> background = makeImage32(frameWidth, frameHeight, AlphaMix::Opaque, false, 80, true);
    RefPointer<Image> tile = makeImage32(64, 64, AlphaMix::SpriteLike, true, 81);
    RefPointer<Image> panel = Image::create(360, 240, 4);
    RefPointer<Image> glyph = makeGlyphMask(9, 13, 82);
    RefPointer<Image> particle = Image::create(32, 32, 4);
    RefPointer<Image> star = makeImage32(48, 48, AlphaMix::SpriteLike, true, 83);
    RefPointer<Image> target = Image::create(frameWidth, frameHeight, 4);
    RefPointer<Graphics> g = target->getGraphics();

    WholeFrame()
    {
        panel->lock();
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 360; ++x) {
                const int edge = std::min({x, y, 359 - x, 239 - y});
                const uint32_t a = edge < 8 ? uint32_t(edge * 22) : 176;
                panel->row32(y)[x] = (a << 24) | 0x203040;
            }
        panel->unlock();
        particle->lock();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const double d = std::hypot(x - 15.5, y - 15.5);
                const uint32_t a = d > 16 ? 0 : uint32_t(255 * (1 - d / 16));
                particle->row32(y)[x] = (a << 24) | 0xFFC060;
            }
        particle->unlock();
    }

    void draw()
    {
        g->setAlpha(255);
        g->setBlendMode(Graphics::BlendNormal);
        g->setSmoothing(false);
        g->blit(background.get(), 0, 0);
        for (int i = 0; i < 64; ++i)
            g->blit(tile.get(), 16 + (i % 8) * 70, 20 + (i / 8) * 70);
        for (int i = 0; i < 3; ++i)
            g->blit(panel.get(), 20 + i * 200, 40 + i * 140);
        for (int layer = 0; layer < 2; ++layer) {
            g->setColour(layer == 0 ? 0xFF000000 : 0xFFFFF0C0);
            g->setAlpha(layer == 0 ? 160 : 255);
            for (int i = 0; i < 300; ++i)
                g->blit(glyph.get(), 30 + (i % 60) * 12 + (layer == 0 ? 1 : 0), 380 + (i / 60) * 18 + (layer == 0 ? 1 : 0));
        }
        g->setAlpha(255);
        g->setBlendMode(Graphics::BlendAdditive);
        for (int i = 0; i < 40; ++i)
            g->blit(particle.get(), (i * 97) % 760, (i * 53) % 560);
        g->setBlendMode(Graphics::BlendNormal);
        g->setSmoothing(true);
        for (int i = 0; i < 20; ++i)
            g->blitRotated(star.get(), 0.31 * i, 1.0, 40 + i * 36, 300 + (i % 3) * 40, 0, 0, 48, 48, 24, 24);
        g->setSmoothing(false);
        g->setColour(0xFF000000);
        g->setAlpha(128);
        g->fillRect(0, 0, frameWidth, frameHeight);
    }
};

// The whole frame drawn with the vector kernels must equal the frame drawn
// with the scalar ones, byte for byte.
void verifyWholeFrame()
{
    const PixelKernels& chosen = activeKernels();
    auto render = [](KernelSet set) {
        selectKernels(set);
        WholeFrame frame;
        frame.draw();
        frame.target->lock();
        std::vector<uint8_t> bytes(frame.target->getPixels(), frame.target->getPixels() + size_t(framePixels) * 4);
        frame.target->unlock();
        return bytes;
    };
    const std::vector<uint8_t> reference = render(KernelSet::Scalar);
    for (KernelSet set : {KernelSet::Sse2, KernelSet::Avx2, KernelSet::Avx512})
        if (kernelsFor(set))
            check(std::string("whole frame with ") + kernelsFor(set)->name, render(set) == reference,
                  "differs from the scalar frame");
    for (KernelSet set : {KernelSet::Avx512, KernelSet::Avx2, KernelSet::Sse2, KernelSet::Scalar})
        if (kernelsFor(set) == &chosen)
            selectKernels(set);
}

// Median CPU time per iteration of each benchmark, by name: on a machine
// shared with other work, time spent switched out does not count.
std::map<std::string, double> medians;

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

void registerAll()
{
    auto configure = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMicrosecond)->MinTime(0.1)->Repetitions(7)->ReportAggregatesOnly(true);
    };
    configure(benchmark::RegisterBenchmark("memcpy frame", [](benchmark::State& state) {
        const size_t count = size_t(framePixels);
        std::vector<uint32_t> from(count, 1u);
        std::vector<uint32_t> to(count);
        for (auto _ : state) {
            std::memcpy(to.data(), from.data(), from.size() * 4);
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
    }));
    for (const Case& c : cases()) {
        const Case* pointer = &c;
        configure(benchmark::RegisterBenchmark(("ours: " + c.name).c_str(), [pointer](benchmark::State& state) {
            frames().reset();
            for (auto _ : state) {
                pointer->ours();
                benchmark::ClobberMemory();
            }
        }));
        configure(benchmark::RegisterBenchmark(("pixman: " + c.name).c_str(), [pointer](benchmark::State& state) {
            frames().reset();
            for (auto _ : state) {
                pointer->theirs();
                benchmark::ClobberMemory();
            }
        }));
    }
    configure(benchmark::RegisterBenchmark("ours: whole frame", [](benchmark::State& state) {
        static WholeFrame frame;
        for (auto _ : state) {
            frame.draw();
            benchmark::ClobberMemory();
        }
    }));
}

// The median ratio of pixman's time to ours over frames drawn in turn, one of
// each per round, for up to about a second of drawing.
double pairedRatio(const Case& c)
{
    using Clock = std::chrono::steady_clock;
    frames().reset();
    std::vector<double> ratios;
    const Clock::time_point end = Clock::now() + std::chrono::seconds(1);
    while (ratios.size() < 301 && (ratios.size() < 21 || Clock::now() < end)) {
        const Clock::time_point start = Clock::now();
        c.ours();
        benchmark::ClobberMemory();
        const Clock::time_point middle = Clock::now();
        c.theirs();
        benchmark::ClobberMemory();
        const std::chrono::duration<double> ours = middle - start, theirs = Clock::now() - middle;
        ratios.push_back(theirs.count() / ours.count());
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

void printTable()
{
    const double memcpyTime = medians["memcpy frame"];
    std::printf("\nKernel set: %s\n", activeKernels().name);
    std::printf("%-26s %12s %12s %8s %10s %8s\n", "case (800 x 600)", "ours Mpx/s", "pixman Mpx/s", "ratio", "of memcpy",
                "paired");
    for (const Case& c : cases()) {
        const double ours = medians["ours: " + c.name], theirs = medians["pixman: " + c.name];
        if (ours <= 0 || theirs <= 0)
            continue;
        // Times are in microseconds per frame.
        std::printf("%-26s %12.0f %12.0f %7.2fx %9.0f%% %7.2fx\n", c.name.c_str(), framePixels / ours,
                    framePixels / theirs, theirs / ours, 100.0 * memcpyTime / ours, pairedRatio(c));
    }
    if (memcpyTime > 0)
        std::printf("%-26s %12.0f\n", "memcpy frame", framePixels / memcpyTime);
    std::printf("whole frame: %.3f ms median\n", medians["ours: whole frame"] / 1000.0);
}

}  // namespace

// "--kernels=scalar|sse2|avx2|avx512" measures one kernel set instead of the
// fastest one; the remaining arguments go to Google Benchmark.
bool chooseKernels(int& argc, char** argv)
{
    const std::pair<const char*, KernelSet> names[] = {
        {"scalar", KernelSet::Scalar}, {"sse2", KernelSet::Sse2}, {"avx2", KernelSet::Avx2}, {"avx512", KernelSet::Avx512}};
    int kept = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--kernels=", 0) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        bool found = false;
        for (const auto& [name, set] : names)
            if (argument.substr(10) == name)
                found = selectKernels(set);
        if (!found) {
            std::fprintf(stderr, "kernel set %s is not available here\n", argument.c_str() + 10);
            ok = false;
        }
    }
    argc = kept;
    return ok;
}

int main(int argc, char** argv)
{
    if (!chooseKernels(argc, argv))
        return 1;
    buildCases();
    verifyWholeFrame();
    if (failed) {
        std::fprintf(stderr, "output checks failed; not timing\n");
        return 1;
    }
    registerAll();
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printTable();
    return 0;
}
