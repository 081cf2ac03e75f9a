#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "framework/core/Random.h"

// The effects draw their randomness from the game-wide generator; while this
// lives it starts from a fixed seed, so a test sees the same draws whatever
// ran before it.
class ScopedEffectRandom {
public:
    explicit ScopedEffectRandom(uint32_t seed = 7) : previous(Random::instance), random(new Random(seed))
    {
        Random::instance = random.get();
    }
    ~ScopedEffectRandom() { Random::instance = previous; }
    ScopedEffectRandom(const ScopedEffectRandom&) = delete;
    ScopedEffectRandom& operator=(const ScopedEffectRandom&) = delete;

private:
    Random* previous;
    RefPointer<Random> random;
};
