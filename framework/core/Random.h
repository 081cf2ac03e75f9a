#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"

// The 48-bit linear congruential generator (multiplier 0x5DEECE66D, addend 11).
// One seed always reproduces the same sequence; every call takes one draw
// (nextBytes one per four bytes).
class Random : public BaseObject {
public:
    // The game-wide instance, created at start-up from the millisecond clock.
    static Random* instance;

    explicit Random(uint32_t seedLow = 0, uint32_t seedHigh = 0);

    void setSeed(uint32_t seedLow, uint32_t seedHigh = 0);
    // Bits 16..47 of the next state, as a signed 32-bit value.
    int32_t next();
    // A value in [lower, upper); bounds given the other way round draw from
    // [upper, lower) alike. Equal bounds give lower. Always exactly one draw.
    int nextInt(int lower, int upper);
    // Four bytes per draw, lowest byte first.
    void nextBytes(uint8_t* buffer, int count);
    // An index chosen with probability weight/total; -1 for an empty list or
    // a total of 0 (a draw is still taken for a non-empty list).
    int pickWeighted(const std::vector<int>& weights);

    uint64_t getState() const { return state; }

private:
    static constexpr uint64_t kMultiplier = 0x5DEECE66DULL;
    static constexpr uint64_t kMask = (1ULL << 48) - 1;
    static constexpr uint64_t kAddend = 0xB;

    uint64_t state = 0;
};

// Weighted choice with the game-wide instance (a temporary one when none exists).
int pickWeightedRandom(const std::vector<int>& weights);

// The C runtime's classic generator (state * 214013 + 2531011, 15-bit
// results) and the shuffle built on it, so that pastry orders shuffle the same
// way for the same seed on every platform.
class CRuntimeRandom {
public:
    static constexpr int kRandMax = 0x7FFF;

    explicit CRuntimeRandom(uint32_t seed = 1) : state(seed) {}
    void seed(uint32_t value) { state = value; }
    int rand();

    template <class T>
    void shuffle(std::vector<T>& items)
    {
        if (items.size() < 2)
            return;
        for (unsigned long index = 2; index <= items.size(); ++index) {
            unsigned long chosen = pickBelow(index);
            std::swap(items[index - 1], items[chosen]);
        }
    }

    // The process-wide generator, seeded once at start-up.
    static CRuntimeRandom& global();

private:
    // Uniform-ish index in [0, bound) built from 15-bit pieces as the runtime's shuffle does.
    unsigned long pickBelow(unsigned long bound);

    uint32_t state;
};
