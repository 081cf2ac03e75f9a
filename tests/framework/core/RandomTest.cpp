#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "framework/core/Random.h"

// Golden draws computed independently with the same 48-bit generator in
// another language's standard library (seed 42 and 1234567).
TEST(Random, GoldenDrawsFromKnownSeeds)
{
    Random random(42);
    const int32_t expected[] = {-1170105035, 234785527, -1360544799, 205897768, 1325939940};
    for (int32_t value : expected)
        EXPECT_EQ(random.next(), value);

    Random other(1234567);
    EXPECT_EQ(other.next(), 1042961893);
    EXPECT_EQ(other.next(), -1571432423);
    EXPECT_EQ(other.next(), -1065072994);
}

TEST(Random, SameSeedSameSequence)
{
    Random a(7, 3), b(7, 3), c(7, 4);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        int32_t value = a.next();
        EXPECT_EQ(value, b.next());
        differs |= value != c.next();
    }
    EXPECT_TRUE(differs);
}

TEST(Random, NextIntStaysInItsRange)
{
    Random random(99);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(random.nextInt(0, 1), 0);
    int seen[6] = {};
    for (int i = 0; i < 6000; ++i) {
        int value = random.nextInt(-3, 3);
        ASSERT_GE(value, -3);
        ASSERT_LT(value, 3);
        ++seen[value + 3];
    }
    for (int count : seen)
        EXPECT_GT(count, 700);
}

TEST(Random, EmptyRangeReturnsLowerAndStillDraws)
{
    Random a(5), b(5);
    EXPECT_EQ(a.nextInt(4, 4), 4);
    EXPECT_EQ(a.nextInt(9, 2), 9);
    b.next();
    b.next();
    EXPECT_EQ(a.getState(), b.getState());
}

TEST(Random, NextBytesTakesOneDrawPerFourBytes)
{
    Random a(11), b(11);
    uint8_t bytes[6];
    a.nextBytes(bytes, 6);
    const int32_t first = b.next();
    const int32_t second = b.next();
    EXPECT_EQ(bytes[0], static_cast<uint8_t>(first));
    EXPECT_EQ(bytes[3], static_cast<uint8_t>(first >> 24));
    EXPECT_EQ(bytes[4], static_cast<uint8_t>(second));
    EXPECT_EQ(bytes[5], static_cast<uint8_t>(second >> 8));
    EXPECT_EQ(a.getState(), b.getState());
}

TEST(Random, WeightedChoiceFollowsRunningSums)
{
    // Weights 5, 0, 3: draws 0..4 give 0, 5..7 give 2, never 1.
    Random random(3);
    int counts[3] = {};
    for (int i = 0; i < 8000; ++i) {
        int index = random.pickWeighted({5, 0, 3});
        ASSERT_GE(index, 0);
        ++counts[index];
    }
    EXPECT_EQ(counts[1], 0);
    EXPECT_NEAR(counts[0] / 8000.0, 5.0 / 8.0, 0.03);

    Random probe(21), mirror(21);
    int32_t draw = mirror.next();
    int r = ((draw % 8) + 8) % 8;
    EXPECT_EQ(probe.pickWeighted({5, 0, 3}), r < 5 ? 0 : 2);
}

TEST(Random, WeightedChoiceDegenerateLists)
{
    Random random(1);
    EXPECT_EQ(random.pickWeighted({}), -1);
    const uint64_t before = random.getState();
    EXPECT_EQ(random.pickWeighted({0, 0}), -1);
    EXPECT_NE(random.getState(), before);
    EXPECT_EQ(random.pickWeighted({0, 4}), 1);
}

TEST(CRuntimeRandom, GoldenSequenceAndShuffle)
{
    CRuntimeRandom generator(12345);
    const int expected[] = {7584, 19164, 25795, 22125, 5828};
    for (int value : expected)
        EXPECT_EQ(generator.rand(), value);

    // The shuffle is a permutation and depends only on the seed.
    std::vector<int> a(20), b(20);
    std::iota(a.begin(), a.end(), 0);
    std::iota(b.begin(), b.end(), 0);
    CRuntimeRandom first(77), second(77);
    first.shuffle(a);
    second.shuffle(b);
    EXPECT_EQ(a, b);
    std::vector<int> sorted = a;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(sorted[i], i);
    EXPECT_NE(a, sorted);
}

TEST(CRuntimeRandom, ShuffleOfTwoUsesOneDraw)
{
    // With two items the runtime's shuffle swaps when rand() % 2 == 0 picks index 0.
    CRuntimeRandom generator(1), mirror(1);
    std::vector<char> items{'a', 'b'};
    generator.shuffle(items);
    const int draw = mirror.rand();
    EXPECT_EQ(items[0], draw % 2 == 0 ? 'b' : 'a');
    EXPECT_EQ(generator.rand(), mirror.rand());
}
