// The synthesizer's building blocks that the effects and the music stand on: the band-limited
// oscillator, the filters, the DC blocker and the envelopes.
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace kel::synth {
namespace {

Buffer Sine(float hz, float seconds, float offset = 0.0f) {
    Buffer out(SamplesFor(seconds));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = offset + std::sin(kTwoPi * hz * float(i) / kSampleRate);
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
    // A naive 3150 Hz saw's harmonics fold back around 22050 Hz, where a band-limited one has none.
    const float aliasHz = float(kSampleRate) - 7.0f * 3150.0f;
    EXPECT_LT(EnergyAt(limited, aliasHz), 0.5f * EnergyAt(raw, aliasHz));
    EXPECT_GT(EnergyAt(limited, 3150.0f), 20.0f * EnergyAt(limited, 3337.0f)) << "the pitch is 3150 Hz";
}

TEST(SynthFilters, LowHighAndBandPassKeepTheirBandAndCutTheOther) {
    Biquad lp, hp, bp;
    lp.SetLowPass(1000.0f);
    hp.SetHighPass(1000.0f);
    bp.SetBandPass(1500.0f, 4.0f);
    const struct {
        Biquad* filter;
        float hz, least, most;
    } cases[] = {{&lp, 200.0f, 0.65f, 0.72f}, {&lp, 8000.0f, 0.0f, 0.02f}, {&hp, 8000.0f, 0.65f, 0.72f},
                 {&hp, 200.0f, 0.0f, 0.05f},  {&bp, 1500.0f, 0.68f, 0.74f}, {&bp, 200.0f, 0.0f, 0.1f}};
    for (const auto& c : cases) {
        c.filter->Reset();
        Buffer out = Sine(c.hz, 0.5f);
        for (float& s : out)
            s = c.filter->Process(s);
        const float rms = Rms(out);
        EXPECT_TRUE(rms >= c.least && rms <= c.most) << (c.filter == &lp ? "low" : c.filter == &hp ? "high" : "band")
                                                     << " pass at " << c.hz << " Hz: " << rms;
    }
}

TEST(SynthDcBlocker, RemovesAnOffsetAndLeavesATone) {
    DcBlocker blocker;
    Buffer b = Sine(440.0f, 1.0f, 0.5f);
    for (float& s : b)
        s = blocker.Process(s);
    const Buffer last(b.end() - std::ptrdiff_t(SamplesFor(0.5f)), b.end());
    EXPECT_NEAR(std::accumulate(last.begin(), last.end(), 0.0) / double(last.size()), 0.0, 0.001);
    EXPECT_NEAR(Rms(last), std::sqrt(0.5f), 0.01f);
}

// The points where a likely slip shows: the attack's top, the sustain, a release from part-way up
// an attack, the end, and which mean a sweep passes.
TEST(SynthEnvelopes, AdsrAndSweepsAtTheirTurningPoints) {
    const Adsr env{0.01f, 0.1f, 0.5f, 0.2f};
    EXPECT_FLOAT_EQ(env.Level(0.0f, 1.0f), 0.0f);
    EXPECT_NEAR(env.Level(0.01f, 1.0f), 1.0f, 1e-4f);
    EXPECT_NEAR(env.Level(0.5f, 1.0f), 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(env.Level(env.EndTime(1.0f), 1.0f), 0.0f);
    EXPECT_NEAR(env.Level(0.005f + 0.1f, 0.005f), 0.125f, 1e-3f) << "released from half-way up the attack";
    EXPECT_NEAR((Sweep{100.0f, 400.0f, 2.0f, Curve::kExponential}.At(1.0f)), 200.0f, 0.01f) << "geometric mean";
    EXPECT_NEAR((Sweep{100.0f, 400.0f, 2.0f, Curve::kLinear}.At(1.0f)), 250.0f, 0.01f);
}

} // namespace
} // namespace kel::synth
