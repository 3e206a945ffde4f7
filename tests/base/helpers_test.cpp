#include "base/helpers.h"
#include "base/random.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(Random, KnownAnswersForFixedSeedsAZeroBoundIsSafeAndFloatsReachTheirStart) {
    SeedRandom(1);
    EXPECT_EQ(RandomInt(100), 79);
    EXPECT_NEAR(RandomFloat(0.0f, 10.0f), 7.81796f, 1e-4f);
    EXPECT_EQ(RandomState(), 3357800067u);
    SeedRandom(12345);
    for (int want : {600, 867, 740, 471})
        EXPECT_EQ(RandomInt(1000), want);
    EXPECT_EQ(RandomInt(0), 0);
    // The top 16 bits of the state select the float, so a state with 0x0000 there gives exactly a.
    SeedRandom(static_cast<uint32_t>((0u - 2531011u) * 0xB9B33155u)); // inverse step: next state 0
    EXPECT_FLOAT_EQ(RandomFloat(2.0f, 5.0f), 2.0f);
}

TEST(Helpers, ClampRemapPulseAndLerpColourTruncatingAndWrapping) {
    EXPECT_EQ(Clamp(5.0f, 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(Clamp(-5.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(ClampInt(7, 0, 5), 5);
    EXPECT_FLOAT_EQ(Remap(5.0f, 0.0f, 10.0f, 100.0f, 200.0f), 150.0f);
    EXPECT_FLOAT_EQ(Remap(20.0f, 0.0f, 10.0f, 100.0f, 200.0f), 300.0f);
    EXPECT_FLOAT_EQ(RemapClamped(20.0f, 0.0f, 10.0f, 200.0f, 100.0f), 100.0f);
    EXPECT_FLOAT_EQ(RemapClamped(-20.0f, 0.0f, 10.0f, 200.0f, 100.0f), 200.0f);
    EXPECT_FLOAT_EQ(SinePulse(0.25f, 1.0f, 3.0f), 3.0f);
    EXPECT_NEAR(SinePulse(0.75f, 1.0f, 3.0f), 1.0f, 1e-5f);
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
