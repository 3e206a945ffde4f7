#include "base/helpers.h"
#include "base/random.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(Random, KnownAnswersForSeedOne) {
    SeedRandom(1);
    // s1 = 1 * 214013 + 2531011 = 2745024; ((s >> 15) ^ s) % 100.
    const uint32_t s1 = 2745024u;
    EXPECT_EQ(RandomInt(100), static_cast<int>(((s1 >> 15) ^ s1) % 100u));
    const uint32_t s2 = s1 * 214013u + 2531011u;
    EXPECT_FLOAT_EQ(RandomFloat(0.0f, 10.0f), 10.0f * static_cast<float>(s2 >> 16) / 65535.0f);
    EXPECT_EQ(RandomState(), s2);
}

TEST(Random, SequenceForSeedIsRepeatable) {
    SeedRandom(12345);
    int first[8];
    for (int& v : first) v = RandomInt(1000);
    SeedRandom(12345);
    for (int v : first) EXPECT_EQ(RandomInt(1000), v);
}

TEST(Random, IntIsInRangeAndZeroBoundIsSafe) {
    SeedRandom(7);
    for (int i = 0; i < 1000; ++i) {
        const int v = RandomInt(6);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 6);
    }
    EXPECT_EQ(RandomInt(0), 0);
}

TEST(Random, FloatReachesBothEnds) {
    // The top 16 bits of the state select the value, so states with 0x0000 and 0xFFFF there give
    // exactly a and b.
    SeedRandom(static_cast<uint32_t>((0u - 2531011u) * 0xB9B33155u));  // inverse step: next state 0
    EXPECT_FLOAT_EQ(RandomFloat(2.0f, 5.0f), 2.0f);
}

TEST(Helpers, ClampRemapAndPulse) {
    EXPECT_EQ(Clamp(5.0f, 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(Clamp(-5.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(ClampInt(7, 0, 5), 5);
    EXPECT_FLOAT_EQ(Remap(5.0f, 0.0f, 10.0f, 100.0f, 200.0f), 150.0f);
    EXPECT_FLOAT_EQ(Remap(20.0f, 0.0f, 10.0f, 100.0f, 200.0f), 300.0f);
    EXPECT_FLOAT_EQ(RemapClamped(20.0f, 0.0f, 10.0f, 200.0f, 100.0f), 100.0f);
    EXPECT_FLOAT_EQ(RemapClamped(-20.0f, 0.0f, 10.0f, 200.0f, 100.0f), 200.0f);
    EXPECT_FLOAT_EQ(SinePulse(0.25f, 1.0f, 3.0f), 3.0f);
    EXPECT_NEAR(SinePulse(0.75f, 1.0f, 3.0f), 1.0f, 1e-5f);
}

TEST(Helpers, LerpColourTruncatesAndWraps) {
    Colour out = 0;
    LerpColour(&out, 0x00000000u, 0xFFFFFFFFu, 0.5f);
    EXPECT_EQ(out, 0x7F7F7F7Fu);
    LerpColour(&out, PackColour(10, 20, 30, 40), PackColour(20, 40, 60, 80), 1.0f);
    EXPECT_EQ(out, PackColour(20, 40, 60, 80));
    LerpColour(&out, PackColour(200, 0, 0, 0), PackColour(250, 0, 0, 0), 2.0f);
    EXPECT_EQ(ColourR(out), (200u + 100u) & 0xFFu);
}

} // namespace
} // namespace kel
