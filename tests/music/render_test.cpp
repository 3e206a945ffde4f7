// The loop renderer: deterministic samples, exact loop length, tails that wrap into the start,
// matched loudness without clipping.
#include "music/render.h"
#include "music/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace kel::music {
namespace {

Score MustParse(const std::string& text) {
    ParseResult r = ParseScore(text, "test.kms");
    for (const std::string& e : r.errors)
        ADD_FAILURE() << e;
    return r.score;
}

// Two bars at 120 bpm (4 s) with every kind of voice.
const char* kBusyScore = R"(
tempo 120
bars 2
voice lead lead vol 0.9
voice pad strings octave 3
voice bass bass
voice drums kit
lead: | c5:e d5 e5 g5 c6:q. b5:e | a5:q f5:q [c5 e5]:h |
pad: | C:w | F:h G:h |
bass: | c2:q g2:q c2:q g2:q | f2:q c2:q g2:q d2:q |
drums x2: | K.h.s.h.k.kos.hC |
)";

TEST(MusicRender, SameScoreGivesTheSameSamplesAndTheLoopLastsExactlyItsBars) {
    Score score = MustParse(kBusyScore);
    StereoLoop a = RenderScore(score);
    StereoLoop b = RenderScore(score);
    EXPECT_TRUE(a.left == b.left && a.right == b.right);
    EXPECT_EQ(LoopFrames(score), size_t(4 * kSampleRate));
    EXPECT_EQ(a.Frames(), size_t(4 * kSampleRate));
    Score waltz = MustParse("tempo 90\nmeter 3/4\nbars 3\nvoice v piano\nv x3: c4:h.\n");
    EXPECT_EQ(RenderScore(waltz).Frames(), size_t(std::llround(6.0 * kSampleRate)));
}

// Energy of the first `seconds` of the left channel.
double EnergyAtStart(const StereoLoop& loop, double seconds) {
    double energy = 0.0;
    for (size_t i = 0; i < size_t(seconds * kSampleRate); ++i)
        energy += double(loop.left[i]) * loop.left[i];
    return energy;
}

TEST(MusicRender, RoomEchoAndADrumOnTheLastStepWrapIntoTheStart) {
    // A short wood block on the last step dies before the loop ends; only its echo can reach the start.
    auto start = [](const std::string& reverb) {
        return EnergyAtStart(RenderScore(MustParse("tempo 120\nbars 2\nreverb " + reverb +
                                                   "\nvoice d kit\nd: ................|...............w\n")),
                             0.3);
    };
    // Dry, only the DC blocker's settling reaches the start, far below hearing.
    EXPECT_LT(start("0"), 1e-4);
    EXPECT_GT(start("1"), 1.0);
    // A crash on the last step starts 1/16 bar before the end and lasts two seconds: most of it
    // rings at the start.
    EXPECT_GT(EnergyAtStart(RenderScore(MustParse("tempo 120\nbars 1\nreverb 0\nvoice d kit\nd: ...............c\n")), 0.5),
              1.0);
}

// Loud hits over silence: the gate leaves the silence out of the loudness, so the hits are not
// pushed up to fill it, and the peaks stay under the limit.
TEST(MusicRender, LoudnessIsMatchedAndNothingClips) {
    const std::pair<std::string, double> scores[] = {
        {kBusyScore, 0.3},
        {"tempo 70\nbars 2\nvoice f flute vol 0.1\nf: !pp c5:w e5:w\n", 0.3},
        {"tempo 60\nbars 2\nreverb 0\nvoice d kit\nd: K...............|K...............\n", 0.5}};
    for (const auto& [text, tolerance] : scores) {
        StereoLoop loop = RenderScore(MustParse(text));
        EXPECT_NEAR(Loudness(loop), kTargetLufs, tolerance) << text;
        for (size_t i = 0; i < loop.Frames(); ++i)
            ASSERT_LE(std::max(std::fabs(loop.left[i]), std::fabs(loop.right[i])), kPeakLimit) << text;
    }
}

// Encoding and gapless decoding are checked on every built piece in built_music_test; the
// decoder only ever reads the build's own files.

} // namespace
} // namespace kel::music
