// The synthesizer core: oscillators, envelopes, filters, formants, mixing helpers and WAV files.
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace kel::synth {
namespace {

Buffer Tone(Wave wave, float hz, float seconds) {
    Oscillator osc;
    osc.wave = wave;
    Buffer out(SamplesFor(seconds));
    for (float& s : out)
        s = osc.Next(hz);
    return out;
}

// Energy of `buffer` at one frequency (Goertzel), normalised by length.
float EnergyAt(const Buffer& buffer, float hz) {
    const float k = 2.0f * std::cos(kTwoPi * hz / kSampleRate);
    double s1 = 0.0, s2 = 0.0;
    for (float x : buffer) {
        const double s = x + k * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return float((s1 * s1 + s2 * s2 - k * s1 * s2) / double(buffer.size()));
}

Buffer Filtered(const Buffer& in, Biquad filter) {
    Buffer out(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        out[i] = filter.Process(in[i]);
    return out;
}

// Sequences are checked for repeating in every shipped effect; here only their range and seed.
TEST(SynthRandom, ValuesStayInRangeAndAZeroSeedIsNotStuck) {
    Rng rng(42);
    for (int i = 0; i < 1000; ++i) {
        const float x = rng.Unit();
        const int n = rng.Int(7);
        ASSERT_TRUE(x >= 0.0f && x < 1.0f && n >= 0 && n < 7) << x << " " << n;
    }
    EXPECT_NE(Rng(0).NextU32(), 0u) << "a zero seed must not lock xorshift at zero";
}

TEST(SynthOscillators, EveryWaveStaysInRangeAndHasItsPitch) {
    for (Wave w : {Wave::kSine, Wave::kSquare, Wave::kPulse, Wave::kSaw, Wave::kTriangle}) {
        const Buffer tone = Tone(w, 441.0f, 0.5f);
        EXPECT_LE(Peak(tone), 1.2f) << int(w);
        EXPECT_GT(Rms(tone), 0.3f) << int(w);
        // Most of the energy of the fundamental sits at 441 Hz rather than a semitone away.
        EXPECT_GT(EnergyAt(tone, 441.0f), 20.0f * EnergyAt(tone, 467.0f)) << int(w);
    }
}

TEST(SynthOscillators, BandLimitedSawKeepsLittleEnergyNearNyquist) {
    Oscillator osc;
    osc.wave = Wave::kSaw;
    Buffer raw(SamplesFor(0.5f)), limited(raw.size());
    float phase = 0.0f;
    for (size_t i = 0; i < raw.size(); ++i) {
        raw[i] = SawAt(phase);
        phase += 3150.0f / kSampleRate;
        limited[i] = osc.Next(3150.0f);
    }
    // Aliases of a 3150 Hz saw fold back to non-harmonic places such as 20950 Hz's mirror.
    const float aliasHz = float(kSampleRate) - 7.0f * 3150.0f; // 22050 fold of the 7th harmonic
    EXPECT_LT(EnergyAt(limited, aliasHz), 0.5f * EnergyAt(raw, aliasHz));
}

TEST(SynthOscillators, BrownNoiseTiltsTowardsTheBassAndWhiteDoesNot) {
    for (const auto& [colour, least, most] : {std::tuple{NoiseColour::kWhite, 0.0f, 0.25f},
                                              std::tuple{NoiseColour::kBrown, 0.6f, 1.0f}}) {
        NoiseSource noise;
        noise.colour = colour;
        OnePole lp;
        lp.SetCutoff(300.0f);
        Buffer b(SamplesFor(1.0f)), low(b.size());
        for (size_t i = 0; i < b.size(); ++i)
            low[i] = lp.LowPass(b[i] = noise.Next());
        EXPECT_LE(Peak(b), 1.0f);
        const float share = Rms(low) / Rms(b);
        EXPECT_TRUE(share >= least && share <= most) << int(colour) << ": " << share;
    }
}

// Only the points where a likely slip shows: the attack's top, the sustain, a release from
// part-way up an attack, the end, and which mean a sweep passes.
TEST(SynthEnvelopes, AdsrSweepsAndBreakpointsAtTheirTurningPoints) {
    const Adsr env{0.01f, 0.1f, 0.5f, 0.2f};
    EXPECT_FLOAT_EQ(env.Level(0.0f, 1.0f), 0.0f);
    EXPECT_NEAR(env.Level(0.01f, 1.0f), 1.0f, 1e-4f);
    EXPECT_NEAR(env.Level(0.5f, 1.0f), 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(env.Level(env.EndTime(1.0f), 1.0f), 0.0f);
    EXPECT_NEAR(env.Level(0.005f + 0.1f, 0.005f), 0.125f, 1e-3f) << "released from half-way up the attack";
    EXPECT_FLOAT_EQ((ExpEnvelope{0.0f, 0.1f, 0.5f, 0.01f}.Level(0.5f)), 0.0f) << "a decay ends at silence";
    // An exponential sweep passes the geometric mean, a linear one the arithmetic mean.
    EXPECT_NEAR((Sweep{100.0f, 400.0f, 2.0f, Curve::kExponential}.At(1.0f)), 200.0f, 0.01f);
    EXPECT_NEAR((Sweep{100.0f, 400.0f, 2.0f, Curve::kLinear}.At(1.0f)), 250.0f, 0.01f);
    Breakpoints bp;
    bp.Add(0.0f, 1.0f);
    bp.Add(1.0f, 3.0f);
    EXPECT_FLOAT_EQ(bp.At(-1.0f), 1.0f);
    EXPECT_FLOAT_EQ(bp.At(0.5f), 2.0f);
    EXPECT_FLOAT_EQ(bp.At(2.0f), 3.0f);
}

TEST(SynthFilters, LowHighAndBandPassKeepTheirBandAndCutTheOther) {
    const Buffer low = Tone(Wave::kSine, 200.0f, 0.5f);
    const Buffer high = Tone(Wave::kSine, 8000.0f, 0.5f);
    Biquad lp;
    lp.SetLowPass(1000.0f);
    Biquad hp;
    hp.SetHighPass(1000.0f);
    EXPECT_GT(Rms(Filtered(low, lp)), 0.65f);
    EXPECT_LT(Rms(Filtered(high, lp)), 0.02f);
    EXPECT_GT(Rms(Filtered(high, hp)), 0.65f);
    EXPECT_LT(Rms(Filtered(low, hp)), 0.05f);
    Biquad bp;
    bp.SetBandPass(1500.0f, 4.0f);
    EXPECT_NEAR(Rms(Filtered(Tone(Wave::kSine, 1500.0f, 0.5f), bp)), std::sqrt(0.5f), 0.03f) << "unit gain at the centre";
    bp.Reset();
    EXPECT_LT(Rms(Filtered(low, bp)), 0.1f);
}

TEST(SynthFormants, VowelBankBoostsItsFirstFormant) {
    FormantBank bank;
    bank.Set(VowelFormants(Vowel::kA));
    Buffer voiced = Tone(Wave::kSaw, 110.0f, 0.5f);
    for (float& s : voiced)
        s = bank.Process(s);
    // 770 Hz (7th harmonic, near F1 of "a" at 730) against 1650 Hz (between F2 and F3).
    EXPECT_GT(EnergyAt(voiced, 770.0f), 10.0f * EnergyAt(voiced, 1650.0f));
}

TEST(SynthMixing, NormaliseTrimAndFadeLeaveCleanEnds) {
    Buffer b(1000, 0.0f);
    for (size_t i = 300; i < 600; ++i)
        b[i] = 0.5f * std::sin(float(i));
    NormalizeTo(b, -6.0f);
    EXPECT_NEAR(PeakDb(b), -6.0f, 0.01f);
    TrimSilence(b, -60.0f, 0.0f);
    EXPECT_LE(b.size(), 300u);
    EXPECT_GE(b.size(), 298u);
    FadeOut(b, 0.001f);
    EXPECT_FLOAT_EQ(b.back(), 0.0f);
    Buffer quiet(50, 0.0f);
    TrimSilence(quiet, -60.0f);
    EXPECT_TRUE(quiet.empty());
    NormalizeTo(quiet, -1.0f); // silence must not divide by zero
    Buffer mix;
    MixInto(mix, Buffer(10, 1.0f), 0.5f, 5);
    ASSERT_EQ(mix.size(), 15u);
    EXPECT_FLOAT_EQ(mix[4], 0.0f);
    EXPECT_FLOAT_EQ(mix[5], 0.5f);
}

TEST(SynthMixing, LoopedToneRunsOnAcrossItsSeam) {
    // 2 s of a 110 Hz tone: 220 whole cycles, so a good loop is a continuous wave.
    Buffer b = Tone(Wave::kSine, 110.0f, 2.3f);
    ASSERT_TRUE(MakeLoop(b, 2.0f, 0.25f));
    ASSERT_EQ(b.size(), SamplesFor(2.0f));
    const float step = std::fabs(b.front() - b.back());
    EXPECT_LT(step, 2.0f * kTwoPi * 110.0f / kSampleRate);
    // The cross-fade neither dips nor swells a correlated tone.
    Buffer head(b.begin(), b.begin() + std::ptrdiff_t(SamplesFor(0.25f)));
    EXPECT_NEAR(Rms(head), std::sqrt(0.5f), 0.03f);
    Buffer shortBuffer(100, 0.0f);
    EXPECT_FALSE(MakeLoop(shortBuffer, 1.0f, 0.1f));
}

TEST(SynthWav, EncodedFileDecodesToTheSameSamplesAndMalformedOnesAreRejected) {
    const Buffer tone = Tone(Wave::kTriangle, 300.0f, 0.1f);
    const std::vector<uint8_t> bytes = EncodeWav(tone.data(), tone.size(), 1, kSampleRate);
    ASSERT_EQ(bytes.size(), 44u + 2u * tone.size());
    WavInfo info;
    ASSERT_TRUE(DecodeWav(bytes, &info));
    ASSERT_EQ(info.samples.size(), tone.size());
    for (size_t i = 0; i < tone.size(); ++i)
        EXPECT_NEAR(info.samples[i], tone[i], 1.0f / 32000.0f);
    // Out-of-range input clamps instead of wrapping round.
    const float loud[2] = {3.0f, -3.0f};
    WavInfo clamped;
    ASSERT_TRUE(DecodeWav(EncodeWav(loud, 2, 1, kSampleRate), &clamped));
    EXPECT_FLOAT_EQ(clamped.samples[0], 1.0f);
    EXPECT_FLOAT_EQ(clamped.samples[1], -1.0f);
    // Malformed files are rejected.
    EXPECT_FALSE(DecodeWav(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 60), &info))
        << "data chunk longer than the file";
    for (const auto& [at, value] : {std::pair{0, 'X'}, {34, '\x08'}}) {
        std::vector<uint8_t> damaged = bytes;
        damaged[size_t(at)] = uint8_t(value);
        EXPECT_FALSE(DecodeWav(damaged, &info)) << "byte " << at;
    }
    EXPECT_FALSE(DecodeWav({}, &info));
    EXPECT_FALSE(ReadWav("/nonexistent/kelvaro.wav", &info));
}

} // namespace
} // namespace kel::synth
