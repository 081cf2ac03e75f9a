#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class Graphics;

// A rectangle of pixels in memory: 4 bytes per pixel (0xAARRGGBB words),
// 2 bytes per pixel (RGB565 words plus a separate alpha plane) or 1 byte per
// pixel (a bare alpha plane, used as a mask). Pixels may be touched only
// between lock() and unlock(); an idle image can be compressed and is restored
// by the next lock().
class Image : public BaseObject {
    TT_CLASS_RECORD(Image)
public:
    // Largest side and largest buffer an image may have; sizes are checked
    // before anything is allocated.
    static constexpr int32_t maxSide = 16384;
    static constexpr int64_t maxBufferBytes = int64_t(1) << 28;

    Image();
    ~Image() override;

    // A new memory image with zero-filled buffers, or null when the size or the
    // pixel size is not allowed (see isValidSize).
    static RefPointer<Image> create(int32_t width, int32_t height, int32_t bytesPerPixel);
    // An image over pixels it does not own (4 or 2 bytes per pixel, no alpha
    // plane, drawn as opaque); the pixels must outlive it. Null when the size
    // or the pitch is not allowed.
    static RefPointer<Image> wrap(uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                                  int32_t bytesPerPixel);
    // create() in the display's pixel size, marked to follow the display format.
    static RefPointer<Image> createForScreen(int32_t width, int32_t height);
    // A copy of the pixels and flags of `image` (which must not be compressed),
    // or null when `image` is null or has no buffers.
    static RefPointer<Image> clone(Image* image);

    // The display's bytes per pixel (2 or 4; 4 until the window says otherwise).
    // The window sets it; decoders and createForScreen read it.
    static int32_t getScreenBytesPerPixel();
    static void setScreenBytesPerPixel(int32_t bytesPerPixel);

    // Each side 1..maxSide, bytes per pixel 1, 2 or 4, every buffer at most maxBufferBytes.
    static bool isValidSize(int64_t width, int64_t height, int32_t bytesPerPixel);

    virtual int32_t getWidth() const { return width; }
    virtual int32_t getHeight() const { return height; }
    virtual int32_t getPitch() const { return pitch; }
    virtual void setWidth(int32_t value) { width = value; }
    virtual void setHeight(int32_t value) { height = value; }
    virtual void setPitch(int32_t value) { pitch = value; }

    // Restores a compressed image first. False when the image has no buffers.
    virtual bool lock();
    virtual bool unlock();

    // Borrowed buffers: the image does not free what it did not allocate unless
    // ownsBuffers is set.
    virtual void setPixels(uint8_t* buffer)
    {
        pixels = buffer;
        markChanged();
    }
    virtual void setAlphaPlane(uint8_t* buffer) { alphaPlane = buffer; }

    // Keeps zlib copies and frees the raw buffers. False (and nothing changed,
    // lastUse set to the largest value) when a buffer does not compress.
    virtual bool compress();
    // Compresses at zlib `level` and keeps the copy when lock() restores the
    // raw buffers, so that they can be let go again cheaply once the image is
    // idle (releaseIdleBuffers): for pictures that are rarely drawn. Drawing
    // into the image (getGraphics) drops the copy. False when a buffer does
    // not compress (nothing changed).
    bool compressKeepingCopy(int level);
    bool hasKeptCopy() const { return keepsCopy; }
    // Frees the raw buffers of an unlocked image that keeps a compressed copy
    // and has not been locked for idleMs at `now`; true when it did.
    bool releaseIdleBuffers(int64_t now, int64_t idleMs);
    // The time that lock() records as the last use of an image that keeps a
    // compressed copy; the idle-picture task advances it.
    static void setUseClock(int64_t now);
    static int64_t getUseClock();
    // Restores the raw buffers. False when a copy was damaged; the image then
    // holds zero-filled buffers so that drawing stays safe.
    virtual bool uncompress();
    bool isCompressed() const { return !compressedPixels.empty() || !compressedAlpha.empty(); }
    // Compressed without raw buffers: the next lock() unpacks it.
    bool isPacked() const { return isCompressed() && !pixels && !alphaPlane; }
    // Raw bytes that uncompress() has restored in this run, in all images: a
    // timing run tells by it which frames unpacked a picture.
    static uint64_t getUnpackedBytes();
    size_t getCompressedBytes() const { return compressedPixels.size() + compressedAlpha.size(); }

    // A new drawing context over this image: Graphics32 for 4 bytes per pixel,
    // Graphics16 for 2, null otherwise.
    virtual RefPointer<Graphics> getGraphics();

    // 0 while locked, otherwise now - lastUse.
    virtual int64_t idleTime(int64_t now) const;

    // Frees the old buffers and makes zero-filled ones of width x height pixels.
    // False (and no buffers) when the size is not allowed.
    virtual bool allocate(int32_t bytesPerPixel);
    // Brings an image that follows the display format to 2 or 4 bytes per pixel.
    virtual void convertTo(int32_t bytesPerPixel);
    virtual void freePixels();
    virtual void freeCompressed();

    int32_t getBytesPerPixel() const { return bytesPerPixel; }
    uint8_t* getPixels() const { return pixels; }
    uint8_t* getAlphaPlane() const { return alphaPlane; }
    bool isLocked() const { return locked; }
    bool getOwnsBuffers() const { return ownsBuffers; }
    void setOwnsBuffers(bool value) { ownsBuffers = value; }
    bool getFollowsDisplayFormat() const { return followsDisplayFormat; }
    void setFollowsDisplayFormat(bool value) { followsDisplayFormat = value; }
    // Whether drawing uses the image's own alpha (the top byte, or the plane).
    bool hasAlphaChannel() const { return hasAlpha; }
    void setHasAlphaChannel(bool value) { hasAlpha = value; }
    int32_t getFrameCount() const { return frameCount; }
    void setFrameCount(int32_t value) { frameCount = value; }
    int64_t getLastUse() const { return lastUse; }
    void setLastUse(int64_t value) { lastUse = value; }

    // A number no other image of this run has, and a count that drawing into
    // the image (or giving it other pixels) raises: together they tell
    // whether a picture drawn before still looks the same.
    uint64_t getSerial() const { return serial; }
    uint32_t getContentVersion() const { return contentVersion.load(std::memory_order_relaxed); }
    void markChanged() { contentVersion.fetch_add(1, std::memory_order_relaxed); }
    // How often the image was locked: pixels are written only while locked,
    // so an image whose count and content version stand still kept its pixels.
    uint32_t getLockCount() const { return lockCount.load(std::memory_order_relaxed); }

    // Row access for the pixel routines; valid only while locked.
    uint32_t* row32(int32_t y) const { return reinterpret_cast<uint32_t*>(pixels + std::ptrdiff_t(y) * pitch); }
    uint16_t* row16(int32_t y) const { return reinterpret_cast<uint16_t*>(pixels + std::ptrdiff_t(y) * pitch); }
    // Alpha-plane rows are exactly `width` bytes apart.
    uint8_t* alphaRow(int32_t y) const { return alphaPlane + std::ptrdiff_t(y) * width; }

private:
    static uint64_t nextSerial();

    const uint64_t serial = nextSerial();
    std::atomic<uint32_t> contentVersion {0};
    std::atomic<uint32_t> lockCount {0};
    int32_t bytesPerPixel = 0;
    uint8_t* pixels = nullptr;
    uint8_t* alphaPlane = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    bool locked = false;
    bool followsDisplayFormat = false;
    std::vector<uint8_t> compressedPixels;
    std::vector<uint8_t> compressedAlpha;
    bool ownsBuffers = true;
    bool hasAlpha = true;
    int32_t frameCount = 1;
    int64_t lastUse = 0;
    bool keepsCopy = false;

    bool compressAt(int level);
};
