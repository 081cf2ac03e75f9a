#pragma once

#include <cstddef>

// The cipher of the enciphered file modes: each byte is XORed with the low
// seven bits of a fixed permutation (the RC4 key schedule over a key built at
// run time), so applying it twice gives the original bytes back.
void applyFileCipher(void* data, size_t size);
