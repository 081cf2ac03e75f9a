// Picture decoding against the floor: libpng's and libjpeg-turbo's own decode
// of the same bytes into one plain buffer of 32-bit pixels. The game's
// decoders write rows straight into the picture, so they should cost about
// the floor in time, and one picture in memory.
//
// peak_mb is the growth of the process's peak resident size during one
// decode, measured in a child process (the kernel's peak counter is reset
// there first), next to picture_mb, the size of the decoded picture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include "EncodedImages.h"
#include "framework/graphics/ImageDecoders.h"

namespace {

constexpr int kSide = 4096;

// A picture that compresses like painted art: smooth gradients with shapes
// and a little noise.
std::vector<uint8_t> makePicture(int components)
{
    std::vector<uint8_t> pixels(size_t(kSide) * kSide * components);
    uint32_t seed = 2026;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 29);
            const bool inBlob = ((x / 256) + (y / 256)) % 3 == 0;
            uint8_t* p = &pixels[(size_t(y) * kSide + x) * components];
            p[0] = uint8_t((x >> 4) + noise);
            p[1] = uint8_t((y >> 4) + (inBlob ? 80 : 0));
            p[2] = uint8_t(((x + y) >> 5) + noise);
            if (components == 4)
                p[3] = inBlob ? uint8_t(128 + (x & 127)) : 255;
        }
    return pixels;
}

const std::vector<uint8_t>& pngBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        const std::vector<uint8_t> rgba = makePicture(4);
        testimages::PngSpec layout;
        layout.width = kSide;
        layout.height = kSide;
        layout.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        return testimages::encodePng(layout, std::vector<uint16_t>(rgba.begin(), rgba.end()));
    }();
    return bytes;
}

const std::vector<uint8_t>& jpegBytes()
{
    static const std::vector<uint8_t> bytes = testimages::encodeJpeg(kSide, kSide, 3, makePicture(3), 90);
    return bytes;
}

// The floor: libpng's simplified reader straight into one BGRA buffer.
void decodePngPlain(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& target)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, bytes.data(), bytes.size());
    image.format = PNG_FORMAT_BGRA;
    target.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, target.data(), 0, nullptr);
}

// The floor: libjpeg-turbo's scanlines straight into one BGRA buffer.
void decodeJpegPlain(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& target)
{
    jpeg_decompress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    target.resize(size_t(info.output_width) * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &target[size_t(info.output_scanline) * info.output_width * 4];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

long statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return -1;
}

// Runs `decode` once in a child and returns how far the peak resident size
// rose above the resident size before it, in MB; -1 when not measurable.
template <class Decode>
double peakGrowthMb(Decode decode)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKilobytes("VmRSS:");
        decode();
        const long grown = statusKilobytes("VmHWM:") - before;
        const ssize_t written = write(pipeEnds[1], &grown, sizeof grown);
        _exit(written == sizeof grown ? 0 : 1);
    }
    close(pipeEnds[1]);
    long grown = -1;
    const ssize_t got = read(pipeEnds[0], &grown, sizeof grown);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == sizeof grown && grown >= 0 ? grown / 1024.0 : -1;
}

constexpr double kPictureMb = double(kSide) * kSide * 4 / (1024.0 * 1024.0);

// Times one decode per iteration, then measures its peak once.
template <class Decode>
void measure(benchmark::State& state, Decode decode)
{
    for (auto _ : state)
        decode();
    state.counters["peak_mb"] = peakGrowthMb(decode);
    state.counters["picture_mb"] = kPictureMb;
}

void BM_PngGame(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = pngBytes();
    measure(state, [&] { benchmark::DoNotOptimize(loadPngMemory(bytes.data(), bytes.size(), 0)); });
}
BENCHMARK(BM_PngGame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngFloor(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = pngBytes();
    measure(state, [&] {
        std::vector<uint8_t> target;
        decodePngPlain(bytes, target);
        benchmark::DoNotOptimize(target.data());
    });
}
BENCHMARK(BM_PngFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegGame(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = jpegBytes();
    measure(state, [&] { benchmark::DoNotOptimize(loadJpegMemory(bytes.data(), bytes.size())); });
}
BENCHMARK(BM_JpegGame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegFloor(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = jpegBytes();
    measure(state, [&] {
        std::vector<uint8_t> target;
        decodeJpegPlain(bytes, target);
        benchmark::DoNotOptimize(target.data());
    });
}
BENCHMARK(BM_JpegFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
