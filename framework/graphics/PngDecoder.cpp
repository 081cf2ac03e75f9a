#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>

#include "framework/graphics/DecodeTarget.h"
#include "framework/graphics/ImageDecoders.h"

namespace {

// Bytes handed to libpng through the read callback; reading past the end is
// a decoding error, never an over-read.
struct MemoryCursor {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    if (!cursor || length > cursor->size - cursor->position)
        png_error(png, "read past the end of the data");
    std::memcpy(out, cursor->data + cursor->position, length);
    cursor->position += length;
}

void readFromFile(png_structp png, png_bytep out, png_size_t length)
{
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (!file || std::fread(out, 1, length, file) != length)
        png_error(png, "read past the end of the file");
}

[[noreturn]] void onError(png_structp png, png_const_charp /*message*/)
{
    png_longjmp(png, 1);
}

void onWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Decodes with a read function over `io` into `target`. Every format is
// normalised to 8-bit RGBA (palettes with their transparency, low and 16-bit
// depths, grey with or without alpha); a target that takes BGRA rows gets them
// written in place, any other gets one converted row at a time.
bool decodePng(png_rw_ptr reader, void* io, uint8_t flags, DecodeTarget& target)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    // Buffers outlive the jump target, so they live outside the setjmp frame:
    // the row pointers of an in-place decode, or the RGBA rows of a converted one.
    std::vector<png_bytep> rows;
    std::vector<uint8_t> rgba;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, Image::maxSide, Image::maxSide);
    png_set_chunk_malloc_max(png, 8u << 20);
    png_set_read_fn(png, io, reader);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!Image::isValidSize(width, height, 4))
        png_error(png, "image too large");
    const bool plainGrey = colourType == PNG_COLOR_TYPE_GRAY && !png_get_valid(png, info, PNG_INFO_tRNS);
    if (!target.begin(int32_t(width), int32_t(height), flags, plainGrey))
        png_error(png, "no image of that size");

    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    if (target.takesBgraRows())
        png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        png_error(png, "unexpected row layout");

    if (target.takesBgraRows()) {
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = target.bgraRow(int32_t(y));
        png_read_image(png, rows.data());
    } else if (passes > 1) {
        // Interlaced passes revisit every row, so converted rows need the whole picture.
        rgba.assign(size_t(width) * height * 4, 0);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = rgba.data() + size_t(y) * width * 4;
        png_read_image(png, rows.data());
        for (png_uint_32 y = 0; y < height; ++y)
            target.storeRgbaRow(int32_t(y), rows[y]);
    } else {
        rgba.assign(size_t(width) * 4, 0);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, rgba.data(), nullptr);
            target.storeRgbaRow(int32_t(y), rgba.data());
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool hasPngSignature(const uint8_t* bytes, size_t size)
{
    return size >= 8 && png_sig_cmp(bytes, 0, 8) == 0;
}

}  // namespace

RefPointer<Image> loadPngMemory(const uint8_t* data, size_t size, uint8_t flags)
{
    if (!data || !hasPngSignature(data, size))
        return nullptr;
    MemoryCursor cursor {data, size, 0};
    DecodeTarget target;
    if (!decodePng(readFromMemory, &cursor, flags, target))
        return nullptr;
    return target.finish();
}

RefPointer<Image> loadPngFile(const std::string& path, uint8_t flags)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return nullptr;
    uint8_t signature[8];
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        !hasPngSignature(signature, sizeof signature))
        return nullptr;
    std::rewind(file.get());
    DecodeTarget target;
    if (!decodePng(readFromFile, file.get(), flags, target))
        return nullptr;
    return target.finish();
}
