#include "EncodedImages.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace testimages {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

}  // namespace

std::vector<uint8_t> encodePng(const PngSpec& layout, const std::vector<uint16_t>& samples)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::abort();
    }
    png_set_write_fn(png, &out, appendToVector, flushNothing);
    png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (layout.colourType == PNG_COLOR_TYPE_PALETTE) {
        for (size_t i = 0; i + 2 < layout.paletteRgb.size(); i += 3)
            palette.push_back(png_color {layout.paletteRgb[i], layout.paletteRgb[i + 1], layout.paletteRgb[i + 2]});
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
        if (!layout.paletteAlpha.empty())
            png_set_tRNS(png, info, layout.paletteAlpha.data(), int(layout.paletteAlpha.size()), nullptr);
    } else if (layout.transparentGrey >= 0) {
        png_color_16 colour {};
        colour.gray = png_uint_16(layout.transparentGrey);
        colour.red = colour.green = colour.blue = png_uint_16(layout.transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    int channels = 1;
    if (layout.colourType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (layout.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    else if (layout.colourType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    // Pack each row at the bit depth, big-endian as PNG stores it.
    const size_t rowBytes = (size_t(layout.width) * channels * layout.bitDepth + 7) / 8;
    std::vector<std::vector<uint8_t>> rows(size_t(layout.height), std::vector<uint8_t>(rowBytes, 0));
    for (int y = 0; y < layout.height; ++y) {
        for (int i = 0; i < layout.width * channels; ++i) {
            const uint16_t value = samples[size_t(y) * layout.width * channels + i];
            uint8_t* row = rows[size_t(y)].data();
            if (layout.bitDepth == 16) {
                row[i * 2] = uint8_t(value >> 8);
                row[i * 2 + 1] = uint8_t(value);
            } else if (layout.bitDepth == 8) {
                row[i] = uint8_t(value);
            } else {
                const int bitPosition = i * layout.bitDepth;
                const int shift = 8 - layout.bitDepth - (bitPosition % 8);
                row[bitPosition / 8] |= uint8_t(value << shift);
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> encodeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
                                int quality)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : (components == 3 ? JCS_RGB : JCS_CMYK);
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (components == 4) {
        // Store as Adobe-marked CMYK so that readers see the inverted convention.
        jpeg_set_colorspace(&info, JCS_CMYK);
        info.write_Adobe_marker = TRUE;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * components);
    while (info.next_scanline < info.image_height) {
        const size_t offset = size_t(info.next_scanline) * width * components;
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = samples[offset + i];
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace testimages
