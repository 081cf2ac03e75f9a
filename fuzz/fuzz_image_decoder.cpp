// Feeds arbitrary bytes to the PNG and JPEG decoders (from memory, for both
// display depths and every decode flag) and draws whatever they return.
// An image that comes back must have an allowed size and usable buffers.
#include <cstddef>
#include <cstdint>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"

namespace {

// Declared sizes above this are skipped: decoding them is allowed but slow,
// and the fuzzer would only measure memory bandwidth.
constexpr uint64_t largestFuzzedPixels = uint64_t(1) << 18;

uint32_t bigEndian(const uint8_t* p, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}

bool declaresHugeImage(const uint8_t* data, size_t size)
{
    if (size >= 24 && data[0] == 0x89 && data[1] == 'P')
        return uint64_t(bigEndian(data + 16, 4)) * bigEndian(data + 20, 4) > largestFuzzedPixels;
    // JPEG: libjpeg skips stray bytes between segments, so any start-of-frame
    // marker anywhere may be the one it reads.
    for (size_t at = 0; at + 9 <= size; ++at) {
        const uint8_t marker = data[at + 1];
        if (data[at] == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC && uint64_t(bigEndian(data + at + 5, 2)) * bigEndian(data + at + 7, 2) > largestFuzzedPixels)
            return true;
    }
    return false;
}

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void exercise(Image* image, Graphics& target)
{
    if (!image)
        return;
    require(Image::isValidSize(image->getWidth(), image->getHeight(), image->getBytesPerPixel()));
    require(image->lock());
    require(image->getBytesPerPixel() == 1 ? image->getAlphaPlane() != nullptr : image->getPixels() != nullptr);
    image->unlock();
    target.setSmoothing(false);
    target.blit(image, -3, -2);
    target.blitScaled(image, 0, 0, image->getWidth(), image->getHeight(), 1, 1, 30, 20);
    target.setSmoothing(true);
    target.blitRotated(image, 0.7, 1.3, 10, 10, 0, 0, image->getWidth(), image->getHeight(), 2, 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (declaresHugeImage(data, size))
        return 0;
    for (int bytesPerPixel : {4, 2}) {
        Image::setScreenBytesPerPixel(bytesPerPixel);
        RefPointer<Image> canvas = Image::create(48, 40, bytesPerPixel);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        const uint8_t flags = size > 0 ? data[size - 1] & (DecodeOnlyMask | DecodeGreyAsAlpha) : 0;
        exercise(loadPngMemory(data, size, flags).get(), *graphics);
        exercise(loadJpegMemory(data, size).get(), *graphics);
    }
    Image::setScreenBytesPerPixel(4);
    return 0;
}
