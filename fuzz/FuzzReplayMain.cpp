// Runs a fuzz target without libFuzzer, so that the ordinary test run covers
// it: each file named on the command line is fed as it is, truncated at many
// lengths and with single bits flipped at seeded positions.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/core/Random.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void feed(const std::vector<uint8_t>& bytes)
{
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    constexpr int kFlipsPerFile = 400;
    Random random(20261206);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const std::vector<uint8_t> original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        feed(original);
        ++inputs;
        const size_t step = original.size() / 64 + 1;
        for (size_t length = 0; length < original.size(); length += step, ++inputs)
            feed(std::vector<uint8_t>(original.begin(), original.begin() + length));
        for (int flip = 0; flip < kFlipsPerFile && !original.empty(); ++flip, ++inputs) {
            std::vector<uint8_t> mutated = original;
            const int position = random.nextInt(0, static_cast<int>(mutated.size()));
            mutated[position] ^= static_cast<uint8_t>(1u << random.nextInt(0, 8));
            feed(mutated);
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return 0;
}
