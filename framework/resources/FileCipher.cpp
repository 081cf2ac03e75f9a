#include "framework/resources/FileCipher.h"

#include <array>
#include <cstdint>

namespace {

// The one recipe for the 256-byte key. It must never change: every
// enciphered file ever saved (players, saved games, scores) depends on it.
std::array<uint8_t, 256> buildCipherKey()
{
    static const char seedText[] = "Tortelune: flour, butter, sugar, eggs and patience.";
    std::array<uint8_t, 256> key {};
    uint32_t state = 0x2F6B1D3Bu;
    for (size_t i = 0; i < key.size(); ++i) {
        // A small linear congruential step mixed with the seed text.
        state = state * 1103515245u + 12345u;
        const uint8_t seed = static_cast<uint8_t>(seedText[i % (sizeof seedText - 1)]);
        key[i] = static_cast<uint8_t>((state >> 16) ^ seed ^ (i * 7));
    }
    return key;
}

// The RC4 key-scheduling permutation over the key; built once.
const std::array<uint8_t, 256>& cipherPermutation()
{
    static const std::array<uint8_t, 256> permutation = [] {
        const std::array<uint8_t, 256> key = buildCipherKey();
        std::array<uint8_t, 256> s {};
        for (size_t i = 0; i < 256; ++i)
            s[i] = static_cast<uint8_t>(i);
        uint8_t j = 0;
        for (size_t i = 0; i < 256; ++i) {
            j = static_cast<uint8_t>(j + key[i] + s[i]);
            const uint8_t swap = s[i];
            s[i] = s[j];
            s[j] = swap;
        }
        return s;
    }();
    return permutation;
}

} // namespace

void applyFileCipher(void* data, size_t size)
{
    if (!data)
        return;
    const std::array<uint8_t, 256>& s = cipherPermutation();
    auto* bytes = static_cast<uint8_t*>(data);
    // byte[i] ^= S[i mod 256] & 0x7F: the top bit of every byte is kept.
    for (size_t i = 0; i < size; ++i)
        bytes[i] ^= static_cast<uint8_t>(s[i & 0xFF] & 0x7F);
}
