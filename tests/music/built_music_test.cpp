// The twenty MP3s the build writes into sound/: each decodes through libmpg123 (gapless) to exactly
// the length of its score's loop and matches a fresh render of the score at both ends, lasts
// 30..90 s, is as loud as the others, never clips, and its end runs into its start without a jump.
#include "music/mp3.h"
#include "music/render.h"
#include "music/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kel::music {
namespace {

constexpr const char* kPieces[] = {
    "KelvaroMainTheme", "OpeningCeremonies", "MedalPresentation", "ClosingCeremonies", "100MDash",
    "Javelin",          "Equestrian",        "Diving",            "Rings",             "HighJump",
    "Weightlifting",    "ShotPut",           "PoleVault",         "Rowing",            "Swimming",
    "Racewalking",      "KayakSlalom",       "HammerThrow",       "Cycling",           "Archery"};

class BuiltMusic : public testing::TestWithParam<const char*> {};

// The 99.9th percentile of |x[i+1] - x[i]|: how far the music itself moves between samples.
float TypicalLargeStep(const std::vector<float>& x) {
    std::vector<float> steps(x.size() - 1);
    for (size_t i = 0; i + 1 < x.size(); ++i)
        steps[i] = std::fabs(x[i + 1] - x[i]);
    size_t k = steps.size() * 999 / 1000;
    std::nth_element(steps.begin(), steps.begin() + long(k), steps.end());
    return steps[k];
}

// MP3 coding keeps the waveform below about 1.5 kHz to within 18..26 dB here, while the hiss of
// hats and cymbals comes back as different noise; so ends are compared below that frequency. A
// shift of a few samples, or tails that failed to wrap into the start (2..8 dB), fall far below.
constexpr double kMinSnrDb = 14.0;
constexpr double kCompareBelowHz = 1500.0;

std::vector<float> LowPass(const std::vector<float>& x) {
    std::vector<float> y(x.size());
    double a = 1.0 - std::exp(-2.0 * 3.14159265358979 * kCompareBelowHz / kSampleRate);
    double z = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        z += a * (x[i] - z);
        y[i] = float(z);
    }
    return y;
}

double SnrDb(const std::vector<float>& reference, const std::vector<float>& test, size_t from, size_t to) {
    double signal = 0.0, noise = 0.0;
    for (size_t i = from; i < to; ++i) {
        signal += double(reference[i]) * reference[i];
        double d = double(test[i]) - reference[i];
        noise += d * d;
    }
    return 10.0 * std::log10(signal / std::max(noise, 1e-12));
}

TEST_P(BuiltMusic, DecodesGaplesslyToTheScoreLengthAndLoopsCleanly) {
    const std::string name = GetParam();
    ParseResult parsed = LoadScore(std::string(KELVARO_MUSIC_SCORE_DIR) + "/" + name + ".kms");
    ASSERT_TRUE(parsed.Ok()) << (parsed.errors.empty() ? "" : parsed.errors[0]);
    EXPECT_TRUE(parsed.score.LoopSeconds() >= 30.0 && parsed.score.LoopSeconds() <= 90.0) << parsed.score.LoopSeconds();

    std::ifstream file(std::string(KELVARO_MUSIC_BUILD_DIR) + "/" + name + ".mp3", std::ios::binary);
    ASSERT_TRUE(file) << name << ".mp3 was not built";
    std::vector<unsigned char> mp3((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    StereoLoop decoded;
    std::string error;
    ASSERT_TRUE(DecodeMp3(mp3, decoded, error)) << error;
    ASSERT_EQ(decoded.Frames(), LoopFrames(parsed.score));

    EXPECT_NEAR(Loudness(decoded), kTargetLufs, 1.0) << "loudness differs from the other pieces";
    float peak = 0.0f;
    for (size_t i = 0; i < decoded.Frames(); ++i)
        peak = std::max({peak, std::fabs(decoded.left[i]), std::fabs(decoded.right[i])});
    EXPECT_LT(peak, 1.0f);

    // The file holds this score's loop, sample-aligned at both ends: nothing cut, padded or shifted.
    // The first tenth of a second is where the wrapped tails of the last bar sound.
    StereoLoop rendered = RenderScore(parsed.score);
    size_t window = size_t(kSampleRate / 10);
    size_t frames = decoded.Frames();
    for (auto channel : {&StereoLoop::left, &StereoLoop::right}) {
        std::vector<float> want = LowPass(rendered.*channel);
        std::vector<float> got = LowPass(decoded.*channel);
        EXPECT_GT(SnrDb(want, got, 0, window), kMinSnrDb) << "start";
        EXPECT_GT(SnrDb(want, got, frames - window, frames), kMinSnrDb) << "end";
    }

    for (const std::vector<float>* channel : {&decoded.left, &decoded.right}) {
        float seam = std::fabs(channel->front() - channel->back());
        EXPECT_LE(seam, TypicalLargeStep(*channel)) << "the loop jumps where it wraps";
    }
}

INSTANTIATE_TEST_SUITE_P(AllPieces, BuiltMusic, testing::ValuesIn(kPieces));

} // namespace
} // namespace kel::music
