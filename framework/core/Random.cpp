#include "framework/core/Random.h"

#include <algorithm>

Random* Random::instance = nullptr;

Random::Random(uint32_t seedLow, uint32_t seedHigh)
{
    setSeed(seedLow, seedHigh);
}

void Random::setSeed(uint32_t seedLow, uint32_t seedHigh)
{
    const uint64_t seed = (static_cast<uint64_t>(seedHigh) << 32) | seedLow;
    state = (seed ^ kMultiplier) & kMask;
}

int32_t Random::next()
{
    // state = (state * 0x5DEECE66D + 11) mod 2^48; the draw is bits 16..47.
    state = (state * kMultiplier + kAddend) & kMask;
    return static_cast<int32_t>(static_cast<uint32_t>(state >> 16));
}

int Random::nextInt(int lower, int upper)
{
    const int32_t draw = next();
    // Callers also pass the bounds the other way round (a "..._MAX" before its
    // "..._MIN"): the draw then comes from the same range as if given in order.
    const int64_t low = std::min(lower, upper);
    const int64_t range = static_cast<int64_t>(std::max(lower, upper)) - low;
    if (range == 0)
        return lower;
    int64_t m = draw % range;
    if (m < 0)
        m += range;
    return static_cast<int>(low + m);
}

void Random::nextBytes(uint8_t* buffer, int count)
{
    int32_t draw = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 4 == 0)
            draw = next();
        buffer[i] = static_cast<uint8_t>(draw & 0xFF);
        draw >>= 8;
    }
}

int Random::pickWeighted(const std::vector<int>& weights)
{
    if (weights.empty())
        return -1;
    int64_t total = 0;
    for (int weight : weights)
        total += weight > 0 ? weight : 0;
    const int32_t draw = next();
    if (total <= 0)
        return -1;
    int64_t r = draw % total;
    if (r < 0)
        r += total;
    int64_t running = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        running += weights[i] > 0 ? weights[i] : 0;
        if (running > r)
            return static_cast<int>(i);
    }
    return -1;
}

int pickWeightedRandom(const std::vector<int>& weights)
{
    if (Random::instance)
        return Random::instance->pickWeighted(weights);
    Random fallback(0);
    return fallback.pickWeighted(weights);
}

int CRuntimeRandom::rand()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & kRandMax);
}

unsigned long CRuntimeRandom::pickBelow(unsigned long bound)
{
    constexpr int kBits = 15;
    unsigned long rangeMax = kRandMax;
    unsigned long value = static_cast<unsigned long>(rand()) & kRandMax;
    while (rangeMax < bound && rangeMax != ~0UL) {
        value = (value << kBits) | (static_cast<unsigned long>(rand()) & kRandMax);
        rangeMax = (rangeMax << kBits) | kRandMax;
    }
    return value % bound;
}

CRuntimeRandom& CRuntimeRandom::global()
{
    static CRuntimeRandom generator;
    return generator;
}
