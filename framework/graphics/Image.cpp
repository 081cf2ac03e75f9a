#include "framework/graphics/Image.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "framework/core/Log.h"
#include "framework/graphics/BufferCompression.h"
#include "framework/graphics/Graphics16.h"
#include "framework/graphics/Graphics32.h"
#include "framework/graphics/PixelMath.h"

TT_DEFINE_RECORD(Image, &BaseObject::classRecord);

namespace {

std::atomic<int32_t> screenBytesPerPixel {4};
std::atomic<int64_t> useClock {0};
std::atomic<uint64_t> unpackedBytes {0};

// Buffers start on a cache line, so that rows of widths that are multiples
// of 16 pixels never split a wide vector store across two lines.
uint8_t* allocateZeroed(int64_t bytes)
{
    const size_t rounded = (size_t(bytes) + 63) & ~size_t(63);
    void* buffer = std::aligned_alloc(64, rounded);
    if (buffer)
        std::memset(buffer, 0, rounded);
    return static_cast<uint8_t*>(buffer);
}

}  // namespace

uint64_t Image::nextSerial()
{
    static std::atomic<uint64_t> last {0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

Image::Image() = default;

Image::~Image()
{
    freePixels();
    freeCompressed();
}

int32_t Image::getScreenBytesPerPixel()
{
    return screenBytesPerPixel.load();
}

void Image::setScreenBytesPerPixel(int32_t bytesPerPixel)
{
    screenBytesPerPixel.store(bytesPerPixel == 2 ? 2 : 4);
}

bool Image::isValidSize(int64_t width, int64_t height, int32_t bytesPerPixel)
{
    if (bytesPerPixel != 1 && bytesPerPixel != 2 && bytesPerPixel != 4)
        return false;
    if (width < 1 || height < 1 || width > maxSide || height > maxSide)
        return false;
    return width * height * bytesPerPixel <= maxBufferBytes;
}

RefPointer<Image> Image::create(int32_t width, int32_t height, int32_t bytesPerPixel)
{
    if (!isValidSize(width, height, bytesPerPixel))
        return nullptr;
    RefPointer<Image> image(new Image());
    image->setWidth(width);
    image->setHeight(height);
    if (!image->allocate(bytesPerPixel))
        return nullptr;
    return image;
}

RefPointer<Image> Image::wrap(uint8_t* buffer, int32_t newWidth, int32_t newHeight, int32_t newPitch,
                              int32_t newBytesPerPixel)
{
    if (!buffer || (newBytesPerPixel != 2 && newBytesPerPixel != 4) ||
        !isValidSize(newWidth, newHeight, newBytesPerPixel) || newPitch < newWidth * newBytesPerPixel)
        return nullptr;
    RefPointer<Image> image(new Image());
    image->width = newWidth;
    image->height = newHeight;
    image->pitch = newPitch;
    image->bytesPerPixel = newBytesPerPixel;
    image->pixels = buffer;
    image->ownsBuffers = false;
    image->hasAlpha = false;
    return image;
}

RefPointer<Image> Image::createForScreen(int32_t width, int32_t height)
{
    RefPointer<Image> image = create(width, height, getScreenBytesPerPixel());
    if (image)
        image->followsDisplayFormat = true;
    return image;
}

RefPointer<Image> Image::clone(Image* source)
{
    if (!source || !source->lock())
        return nullptr;
    RefPointer<Image> copy = create(source->width, source->height, source->bytesPerPixel);
    if (copy) {
        copy->followsDisplayFormat = source->followsDisplayFormat;
        copy->hasAlpha = source->hasAlpha;
        copy->frameCount = source->frameCount;
        const int32_t rowBytes = source->width * source->bytesPerPixel;
        if (copy->pixels && source->pixels && source->pitch >= rowBytes) {
            for (int32_t y = 0; y < source->height; ++y)
                std::memcpy(copy->pixels + int64_t(y) * copy->pitch, source->pixels + int64_t(y) * source->pitch,
                            size_t(rowBytes));
        }
        if (copy->alphaPlane && source->alphaPlane)
            std::memcpy(copy->alphaPlane, source->alphaPlane, size_t(int64_t(source->width) * source->height));
    }
    source->unlock();
    return copy;
}

bool Image::lock()
{
    // An image that keeps its compressed copy may hold its raw buffers too.
    if (isCompressed() && !pixels && !alphaPlane)
        uncompress();
    if (!pixels && !alphaPlane)
        return false;
    if (keepsCopy)
        lastUse = getUseClock();
    lockCount.fetch_add(1, std::memory_order_relaxed);
    locked = true;
    return true;
}

bool Image::unlock()
{
    locked = false;
    return true;
}

bool Image::compress()
{
    return compressAt(9);
}

bool Image::compressAt(int level)
{
    // Borrowed buffers or padded rows are left alone: only what this image
    // allocated itself is squeezed.
    if (!ownsBuffers || isCompressed() || pitch != width * bytesPerPixel)
        return false;
    const size_t pixelBytes = size_t(int64_t(width) * height * bytesPerPixel);
    const size_t planeBytes = size_t(int64_t(width) * height);
    bool succeeded = true;
    if (pixels)
        succeeded = compressBuffer(pixels, pixelBytes, compressedPixels, level);
    if (succeeded && alphaPlane)
        succeeded = compressBuffer(alphaPlane, planeBytes, compressedAlpha, level);
    if (!succeeded) {
        lastUse = std::numeric_limits<int64_t>::max();
        freeCompressed();
        return false;
    }
    freePixels();
    return true;
}

bool Image::compressKeepingCopy(int level)
{
    const int64_t before = lastUse;
    if (!compressAt(level)) {
        lastUse = before;
        return false;
    }
    keepsCopy = true;
    lastUse = getUseClock();
    return true;
}

bool Image::releaseIdleBuffers(int64_t now, int64_t idleMs)
{
    if (!keepsCopy || locked || (!pixels && !alphaPlane) || idleTime(now) < idleMs)
        return false;
    freePixels();
    return true;
}

void Image::setUseClock(int64_t now)
{
    useClock.store(now, std::memory_order_relaxed);
}

int64_t Image::getUseClock()
{
    return useClock.load(std::memory_order_relaxed);
}

uint64_t Image::getUnpackedBytes()
{
    return unpackedBytes.load(std::memory_order_relaxed);
}

bool Image::uncompress()
{
    if (!isCompressed() || (keepsCopy && (pixels || alphaPlane)))
        return true;
    bool intact = true;
    int64_t restored = 0;
    if (!compressedPixels.empty()) {
        const int64_t bytes = int64_t(width) * height * bytesPerPixel;
        restored += bytes;
        uint8_t* buffer = allocateZeroed(bytes);
        if (buffer)
            intact = uncompressBuffer(compressedPixels.data(), compressedPixels.size(), buffer, size_t(bytes));
        else
            intact = false;
        pixels = buffer;
    }
    if (!compressedAlpha.empty()) {
        const int64_t bytes = int64_t(width) * height;
        restored += bytes;
        uint8_t* buffer = allocateZeroed(bytes);
        if (buffer)
            intact = uncompressBuffer(compressedAlpha.data(), compressedAlpha.size(), buffer, size_t(bytes)) && intact;
        else
            intact = false;
        alphaPlane = buffer;
    }
    ownsBuffers = true;
    unpackedBytes.fetch_add(uint64_t(restored), std::memory_order_relaxed);
    if (!keepsCopy || !intact)
        freeCompressed();
    if (!intact) {
        markChanged();
        LOG_ERROR("An image's compressed copy was damaged; it is drawn blank");
    }
    return intact;
}

RefPointer<Graphics> Image::getGraphics()
{
    // Drawn into, the raw buffers are the picture from now on.
    if (keepsCopy && lock()) {
        unlock();
        freeCompressed();
    }
    if (bytesPerPixel == 4)
        return RefPointer<Graphics>(new Graphics32(this));
    if (bytesPerPixel == 2)
        return RefPointer<Graphics>(new Graphics16(this));
    return nullptr;
}

int64_t Image::idleTime(int64_t now) const
{
    if (locked)
        return 0;
    int64_t idle = 0;
    if (__builtin_sub_overflow(now, lastUse, &idle))
        return now < lastUse ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return idle;
}

bool Image::allocate(int32_t newBytesPerPixel)
{
    freePixels();
    freeCompressed();
    ownsBuffers = true;
    markChanged();
    if (!isValidSize(width, height, newBytesPerPixel)) {
        bytesPerPixel = 0;
        pitch = 0;
        return false;
    }
    bytesPerPixel = newBytesPerPixel;
    pitch = width * bytesPerPixel;
    const int64_t area = int64_t(width) * height;
    if (bytesPerPixel != 1)
        pixels = allocateZeroed(area * bytesPerPixel);
    if (bytesPerPixel != 4)
        alphaPlane = allocateZeroed(area);
    if ((bytesPerPixel != 1 && !pixels) || (bytesPerPixel != 4 && !alphaPlane)) {
        freePixels();
        bytesPerPixel = 0;
        pitch = 0;
        return false;
    }
    return true;
}

void Image::convertTo(int32_t newBytesPerPixel)
{
    if (!followsDisplayFormat || newBytesPerPixel == bytesPerPixel)
        return;
    if ((newBytesPerPixel != 2 && newBytesPerPixel != 4) || (bytesPerPixel != 2 && bytesPerPixel != 4))
        return;
    markChanged();
    if (!lock())
        return;
    uint8_t* oldPixels = pixels;
    uint8_t* oldPlane = alphaPlane;
    const int32_t oldPitch = pitch;
    const bool ownedBefore = ownsBuffers;
    // Detach the old buffers so that allocate does not free them yet.
    pixels = nullptr;
    alphaPlane = nullptr;
    if (allocate(newBytesPerPixel)) {
        for (int32_t y = 0; y < height; ++y) {
            if (newBytesPerPixel == 2) {
                const uint32_t* source = reinterpret_cast<const uint32_t*>(oldPixels + int64_t(y) * oldPitch);
                uint16_t* target = row16(y);
                uint8_t* plane = alphaRow(y);
                for (int32_t x = 0; x < width; ++x) {
                    target[x] = pixel::pack565(source[x]);
                    plane[x] = uint8_t(source[x] >> 24);
                }
            } else {
                const uint16_t* source = reinterpret_cast<const uint16_t*>(oldPixels + int64_t(y) * oldPitch);
                const uint8_t* plane = oldPlane ? oldPlane + int64_t(y) * width : nullptr;
                uint32_t* target = row32(y);
                for (int32_t x = 0; x < width; ++x)
                    target[x] = pixel::widen565(source[x], plane ? plane[x] : 255u);
            }
        }
    }
    if (ownedBefore) {
        std::free(oldPixels);
        std::free(oldPlane);
    }
    unlock();
}

void Image::freePixels()
{
    if (ownsBuffers) {
        std::free(pixels);
        std::free(alphaPlane);
    }
    pixels = nullptr;
    alphaPlane = nullptr;
}

void Image::freeCompressed()
{
    keepsCopy = false;
    compressedPixels.clear();
    compressedPixels.shrink_to_fit();
    compressedAlpha.clear();
    compressedAlpha.shrink_to_fit();
}
