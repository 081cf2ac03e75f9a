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

TEST(Random, EqualBoundsReturnLowerAndStillDraw)
{
    Random a(5), b(5);
    EXPECT_EQ(a.nextInt(4, 4), 4);
    b.next();
    EXPECT_EQ(a.getState(), b.getState());
}

// Draws of seed 42 are -1170105035, 234785527, -1360544799, 205897768,
// 1325939940 (above). Worked by hand for the range 900..1499: the remainders
// by 600 are -35, 127, -399, 568, 540, moved into range 565, 127, 201, 568,
// 540, so 1465, 1027, 1101, 1468, 1440 — whichever bound comes first.
TEST(Random, ReversedBoundsDrawFromTheRangeBetweenThem)
{
    const int expected[] = {1465, 1027, 1101, 1468, 1440};
    Random reversed(42), ordered(42), mirror(42);
    for (int value : expected) {
        EXPECT_EQ(reversed.nextInt(1500, 900), value);
        EXPECT_EQ(ordered.nextInt(900, 1500), value);
        mirror.next();
    }
    EXPECT_EQ(reversed.getState(), mirror.getState()) << "one draw per call";

    // The board's (width, 0) form: remainders by 8 of the same draws.
    Random board(42);
    for (int value : {5, 7, 1, 0, 4})
        EXPECT_EQ(board.nextInt(8, 0), value);
}

TEST(Random, NextBytesTakesOneDrawPerFourBytes)
{
    Random a(11), b(11);
    // One byte past the asked count must stay as it was.
    uint8_t bytes[7];
    bytes[6] = 0xA5;
    a.nextBytes(bytes, 6);
    const int32_t first = b.next();
    const int32_t second = b.next();
    EXPECT_EQ(bytes[6], 0xA5);
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
    // Weights of 1 count as much as any other.
    for (int i = 0; i < 20; ++i)
        ASSERT_GE(random.pickWeighted({1, 1}), 0);

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

    // For i = 1 .. n - 1 the element at i swaps with the one at rand() % (i + 1);
    // seed 1 gives the draws 41, 18467, 6334, 26500, ... (the classic runtime's).
    std::vector<int> items(12);
    std::iota(items.begin(), items.end(), 0);
    CRuntimeRandom seeded(1);
    seeded.shuffle(items);
    EXPECT_EQ(items, (std::vector<int>{10, 1, 9, 2, 0, 11, 7, 3, 4, 6, 8, 5}));

    std::iota(items.begin(), items.end(), 0);
    CRuntimeRandom other(2026);
    other.shuffle(items);
    EXPECT_EQ(items, (std::vector<int>{8, 10, 0, 11, 9, 3, 2, 7, 1, 4, 5, 6}));
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

TEST(CRuntimeRandom, EachSwapTakesOneDrawUpToFifteenBitsAndTwoBeyond)
{
    // n items make n - 1 swaps; only a swap over more than 32767 places draws twice.
    for (const int count : {CRuntimeRandom::kRandMax, CRuntimeRandom::kRandMax + 1}) {
        std::vector<int> items(static_cast<size_t>(count));
        CRuntimeRandom generator(7), mirror(7);
        generator.shuffle(items);
        const int draws = count == CRuntimeRandom::kRandMax ? count - 1 : count;
        for (int i = 0; i < draws; ++i)
            mirror.rand();
        EXPECT_EQ(generator.rand(), mirror.rand()) << count;
    }
}
