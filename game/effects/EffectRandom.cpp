#include "game/effects/EffectRandom.h"

#include "framework/core/Random.h"

Random& effectRandom()
{
    if (Random::instance)
        return *Random::instance;
    static Random fallback(12345);
    return fallback;
}

int drawBelow(int n)
{
    return effectRandom().nextInt(0, n);
}
