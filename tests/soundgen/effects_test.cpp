// The effect patches and their renderer: the format's rules, and what every shipped effect must be
// (produced, valid, deterministic, below -1 dBFS, ending in silence; the jet a seamless loop).
#include "effect_names.h"
#include "patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace kel::synth {
namespace {

std::string PatchText(const std::string& name) {
    std::ifstream in(std::string(KELVARO_EFFECT_PATCH_DIR) + "/" + name + ".sfx", std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

Buffer RenderText(const std::string& text) {
    Patch patch;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParsePatch(text, &patch, &errors)) << (errors.empty() ? "" : errors[0]);
    return RenderPatch(patch);
}

TEST(EffectPatches, ParseLayersWithTheirSettings) {
    Patch patch;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParsePatch("peak -3 # quiet\n"
                      "layer noise\n  at 0.1\n  length 0.5\n  bandpass 800 2\n  lowpass 3000 500\n"
                      "  repeat 4 0.2\n  vary 0.1 3\n"
                      "layer voice\n  pitch 200 100 lin\n  vowel a o\n  env adsr 0.01 0.05 0.5 0.1\n",
                      &patch, &errors));
    EXPECT_FLOAT_EQ(patch.peakDb, -3.0f);
    ASSERT_EQ(patch.layers.size(), 2u);
    const Layer& noise = patch.layers[0];
    ASSERT_EQ(noise.filters.size(), 2u);
    EXPECT_FLOAT_EQ(noise.filters[0].q, 2.0f) << "a lone value under 10 is the Q";
    EXPECT_FLOAT_EQ(noise.filters[0].toHz, 800.0f);
    EXPECT_FLOAT_EQ(noise.filters[1].toHz, 500.0f);
    EXPECT_EQ(noise.copies, 4);
    const Layer& voice = patch.layers[1];
    EXPECT_FLOAT_EQ(voice.pitch.At(voice.length), 100.0f) << "the sweep ends with the layer";
    // Windows line endings and a byte order mark are accepted.
    Patch windows;
    EXPECT_TRUE(ParsePatch("\xEF\xBB\xBFpeak -2\r\nlayer sine\r\n  length 0.2\r\n  pitch 300\r\n", &windows, &errors))
        << (errors.empty() ? "" : errors[0]);
    ASSERT_EQ(windows.layers.size(), 1u);
    EXPECT_FLOAT_EQ(windows.layers[0].length, 0.2f);
}

TEST(EffectPatches, MistakesAreReportedWithTheirLine) {
    const char* bad[] = {
        "layer sine\n  lenght 0.2\n",                             // unknown keyword
        "layer sine\n  length -1\n",                              // out of range
        "layer sine\n  pitch abc\n",                              // not a number
        "layer kazoo\n",                                          // unknown source
        "peak -3\n",                                              // no layer
        "layer sine\n  vowel a q\n",                              // unknown vowel
        "layer sine\n  length 0.1\n  env adsr 0.1 0.1 0.5 0.1\n", // envelope longer than the layer
        "loop 2 0.5\nlayer sine\n  length 1\n",                   // loop longer than the material
        "layer sine\n  pitchpoints 0 100 0.5\n",                  // unpaired
        "layer sine\n  length 1e30\n",
    };
    for (const char* text : bad) {
        Patch patch;
        std::vector<std::string> errors;
        EXPECT_FALSE(ParsePatch(text, &patch, &errors)) << text;
        EXPECT_FALSE(errors.empty()) << text;
    }
    Patch patch;
    std::vector<std::string> errors;
    ParsePatch("# comment\n\nlayer sine\n  gain 99\n", &patch, &errors);
    EXPECT_EQ(errors.empty() ? "" : errors[0].substr(0, 7), "line 4:");
}

TEST(EffectPatches, PeakNeverAboveMinusOneDb) {
    const Buffer loud = RenderText("peak 0\nlayer square\n  length 0.2\n  pitch 100\n  gain 20\n");
    WavInfo info;
    ASSERT_TRUE(DecodeWav(EncodeWav(loud.data(), loud.size(), 1, kSampleRate), &info));
    EXPECT_LE(PeakDb(info.samples), -1.0f);
}

TEST(EffectPatches, SilenceIsTrimmedAndTheEndIsZero) {
    const Buffer b = RenderText("layer sine\n  at 0.5\n  length 0.3\n  pitch 300\n  env perc 0.001 0.02\n");
    ASSERT_FALSE(b.empty());
    // The half second of silence before the layer is gone, and so is the tail below -60 dBFS.
    EXPECT_LT(b.size(), SamplesFor(0.25f));
    EXPECT_FLOAT_EQ(b.back(), 0.0f);
    EXPECT_FLOAT_EQ(b.front(), 0.0f);
}

TEST(EffectPatches, CopiesMakeADenserLongerSound) {
    const std::string one = "layer noise\n  length 0.03\n  env perc 0.0005 0.005\n";
    const Buffer single = RenderText(one);
    const Buffer crowd = RenderText(one + "  repeat 50 1.0\n  vary 0.3 4\n");
    EXPECT_GT(crowd.size(), single.size() + SamplesFor(0.8f));
    // Spread out over a second, many claps make a steady texture, not one burst.
    const size_t quarter = crowd.size() / 4;
    for (int q = 0; q < 4; ++q) {
        Buffer part(crowd.begin() + std::ptrdiff_t(q * quarter),
                    crowd.begin() + std::ptrdiff_t((q + 1) * quarter));
        EXPECT_GT(Rms(part), 0.01f) << "quarter " << q;
    }
}

class ShippedEffect : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedEffect, RendersAValidQuietEndingWav) {
    const std::string name = GetParam();
    const std::string text = PatchText(name);
    ASSERT_FALSE(text.empty()) << "missing patch for " << name;
    Patch patch;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParsePatch(text, &patch, &errors)) << name << ": " << (errors.empty() ? "" : errors[0]);
    const Buffer sound = RenderPatch(patch);
    const std::vector<uint8_t> bytes = EncodeWav(sound.data(), sound.size(), 1, kSampleRate);
    const Buffer again = RenderPatch(patch);
    EXPECT_EQ(EncodeWav(again.data(), again.size(), 1, kSampleRate), bytes) << name << " differs between runs";
    WavInfo info;
    ASSERT_TRUE(DecodeWav(bytes, &info)) << name;
    const float seconds = float(info.samples.size()) / float(kSampleRate);
    EXPECT_GT(seconds, 0.01f) << name;
    EXPECT_LT(seconds, 3.0f) << name << " is too long for an effect";
    EXPECT_LE(PeakDb(info.samples), -1.0f) << name;
    EXPECT_GT(PeakDb(info.samples), -12.0f) << name << " is nearly silent";
    if (name == kLoopingEffect) return;
    // The envelope ends in silence: the last 2 ms are below -30 dBFS and the last sample is zero.
    Buffer tail(info.samples.end() - std::ptrdiff_t(SamplesFor(0.002f)), info.samples.end());
    EXPECT_LT(PeakDb(tail), -30.0f) << name;
    EXPECT_EQ(info.samples.back(), 0.0f) << name;
    EXPECT_LT(std::fabs(info.samples.front()), 0.01f) << name << " starts with a click";
}

INSTANTIATE_TEST_SUITE_P(AllEffects, ShippedEffect, ::testing::ValuesIn(kEffectNames),
                         [](const auto& info) { return std::string(info.param); });

TEST(JetLoop, EndJoinsItsStart) {
    const Buffer jet = RenderText(PatchText(kLoopingEffect));
    ASSERT_GT(jet.size(), SamplesFor(0.5f));
    // The jump from the last sample back to the first is no bigger than the steps inside the file.
    float largestStep = 0.0f;
    for (size_t i = 1; i < jet.size(); ++i)
        largestStep = std::max(largestStep, std::fabs(jet[i] - jet[i - 1]));
    EXPECT_LE(std::fabs(jet.front() - jet.back()), largestStep);
    // And the loudness on both sides of the seam matches within 2 dB.
    const size_t w = SamplesFor(0.25f);
    const Buffer head(jet.begin(), jet.begin() + std::ptrdiff_t(w));
    const Buffer tail(jet.end() - std::ptrdiff_t(w), jet.end());
    EXPECT_NEAR(RmsDb(head), RmsDb(tail), 2.0f);
    EXPECT_NEAR(RmsDb(head), RmsDb(jet), 2.0f);
}

// Distinct names that fit the file pattern are enforced by the test names of ShippedEffect above.
TEST(EffectTable, PatchNamesAreTheGamesEffectNamesInOrder) {
    for (int id = 0; id < kSfxCount; ++id) {
        EXPECT_EQ(kEffectTable[id].id, id);
        EXPECT_STREQ(kEffectNames[id], kEffectTable[id].name) << "effect id " << id;
    }
}

} // namespace
} // namespace kel::synth
