#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "framework/graphics/DecodeTarget.h"
#include "framework/graphics/ImageDecoders.h"

namespace {

// libjpeg's error manager with a recovery point: a fatal error jumps back to
// the decoder instead of ending the process.
struct RecoveringErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf recovery;
};

[[noreturn]] void onFatalError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<RecoveringErrorManager*>(info->err);
    std::longjmp(manager->recovery, 1);
}

void onMessage(j_common_ptr /*info*/) {}

// Decodes with a source already chosen by `attachSource` into `target`; grey
// and CMYK are turned into RGB. A target that takes BGRA rows gets colour rows
// decoded in place; any other gets one converted row at a time.
template <class AttachSource>
bool decodeJpeg(AttachSource attachSource, DecodeTarget& target)
{
    jpeg_decompress_struct info {};
    RecoveringErrorManager errors {};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = onFatalError;
    errors.standard.output_message = onMessage;
    // The row buffers outlive the jump target.
    std::vector<uint8_t> row;
    std::vector<uint8_t> rgba;
    if (setjmp(errors.recovery)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Keeps a hostile file from asking for unbounded working memory.
    info.mem->max_memory_to_use = 64L << 20;
    attachSource(info);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !Image::isValidSize(info.image_width, info.image_height, 4) ||
        !target.begin(int32_t(info.image_width), int32_t(info.image_height), 0, false)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool inPlace = !cmyk && target.takesBgraRows();
    info.out_color_space = cmyk ? JCS_CMYK : (inPlace ? JCS_EXT_BGRA : JCS_RGB);
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    if ((cmyk && components != 4) || (!cmyk && components != (inPlace ? 4 : 3)) ||
        info.output_width != info.image_width || info.output_height != info.image_height) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const int32_t width = int32_t(info.output_width);
    if (!inPlace) {
        row.resize(size_t(width) * size_t(components));
        rgba.assign(size_t(width) * 4, 0xFF);
    }
    while (info.output_scanline < info.output_height) {
        const int32_t y = int32_t(info.output_scanline);
        JSAMPROW rowPointer = inPlace ? target.bgraRow(y) : row.data();
        if (jpeg_read_scanlines(&info, &rowPointer, 1) != 1)
            break;
        if (inPlace)
            continue;
        uint8_t* out = rgba.data();
        for (int32_t x = 0; x < width; ++x, out += 4) {
            const uint8_t* source = row.data() + size_t(x) * components;
            if (cmyk) {
                // Files of this kind store inverted ink values: colour = c * k / 255.
                const uint32_t k = source[3];
                out[0] = uint8_t(source[0] * k / 255);
                out[1] = uint8_t(source[1] * k / 255);
                out[2] = uint8_t(source[2] * k / 255);
            } else {
                out[0] = source[0];
                out[1] = source[1];
                out[2] = source[2];
            }
        }
        target.storeRgbaRow(y, rgba.data());
    }
    // Rows a source could not deliver stay opaque white, as a plain decode leaves them.
    rgba.assign(size_t(width) * 4, 0xFF);
    for (int32_t y = int32_t(info.output_scanline); y < int32_t(info.output_height); ++y) {
        if (inPlace)
            std::memset(target.bgraRow(y), 0xFF, size_t(width) * 4);
        else
            target.storeRgbaRow(y, rgba.data());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

RefPointer<Image> loadJpegMemory(const uint8_t* data, size_t size)
{
    if (!data || size < 4 || size > 0xFFFFFFFFu)
        return nullptr;
    DecodeTarget target;
    // libjpeg's memory source is bounded and ends a truncated stream with an
    // end-of-image marker.
    const bool decodedOk = decodeJpeg(
        [data, size](jpeg_decompress_struct& info) {
            jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
        },
        target);
    return decodedOk ? target.finish() : nullptr;
}

RefPointer<Image> loadJpegFile(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return nullptr;
    DecodeTarget target;
    std::FILE* handle = file.get();
    if (!decodeJpeg([handle](jpeg_decompress_struct& info) { jpeg_stdio_src(&info, handle); }, target))
        return nullptr;
    return target.finish();
}
