#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "framework/graphics/DecodedPixels.h"
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

// Decodes with a source already chosen by `attachSource`; grey and CMYK are
// turned into RGB.
template <class AttachSource>
bool decodeJpeg(AttachSource attachSource, DecodedPixels& out)
{
    jpeg_decompress_struct info {};
    RecoveringErrorManager errors {};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = onFatalError;
    errors.standard.output_message = onMessage;
    // The row buffer outlives the jump target.
    std::vector<uint8_t> row;
    if (setjmp(errors.recovery)) {
        jpeg_destroy_decompress(&info);
        out.rgba.clear();
        return false;
    }
    jpeg_create_decompress(&info);
    // Keeps a hostile file from asking for unbounded working memory.
    info.mem->max_memory_to_use = 64L << 20;
    attachSource(info);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !Image::isValidSize(info.image_width, info.image_height, 4)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    if ((cmyk && components != 4) || (!cmyk && components != 3) ||
        !Image::isValidSize(info.output_width, info.output_height, 4)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = int32_t(info.output_width);
    out.height = int32_t(info.output_height);
    out.rgba.assign(size_t(out.width) * out.height * 4, 0xFF);
    row.resize(size_t(out.width) * size_t(components));
    while (info.output_scanline < info.output_height) {
        const JDIMENSION y = info.output_scanline;
        JSAMPROW rowPointer = row.data();
        if (jpeg_read_scanlines(&info, &rowPointer, 1) != 1)
            break;
        uint8_t* target = out.rgba.data() + size_t(y) * out.width * 4;
        for (int32_t x = 0; x < out.width; ++x, target += 4) {
            const uint8_t* source = row.data() + size_t(x) * components;
            if (cmyk) {
                // Files of this kind store inverted ink values: colour = c * k / 255.
                const uint32_t k = source[3];
                target[0] = uint8_t(source[0] * k / 255);
                target[1] = uint8_t(source[1] * k / 255);
                target[2] = uint8_t(source[2] * k / 255);
            } else {
                target[0] = source[0];
                target[1] = source[1];
                target[2] = source[2];
            }
        }
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
    DecodedPixels decoded;
    // libjpeg's memory source is bounded and ends a truncated stream with an
    // end-of-image marker.
    const bool decodedOk = decodeJpeg(
        [data, size](jpeg_decompress_struct& info) {
            jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
        },
        decoded);
    if (!decodedOk)
        return nullptr;
    return imageFromDecoded(decoded, 0);
}

RefPointer<Image> loadJpegFile(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return nullptr;
    DecodedPixels decoded;
    std::FILE* handle = file.get();
    if (!decodeJpeg([handle](jpeg_decompress_struct& info) { jpeg_stdio_src(&info, handle); }, decoded))
        return nullptr;
    return imageFromDecoded(decoded, 0);
}
