// Instrument voices over the synthesizer core. Sections: building blocks (sine, sweepable filter);
// pitched instruments; drums.
#include "instruments.h"

#include <algorithm>
#include <cmath>

#include "synth/synth.h"

namespace kel::music {

namespace {

using synth::Adsr;
using Noise = synth::Rng;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDt = 1.0 / kSampleRate; // seconds per sample

// ---- building blocks -------------------------------------------------------------------------

// sin(2 pi x) from a table with linear interpolation; per-sample std::sin dominated the render time.
constexpr int kSineTableSize = 4096;
const std::vector<double> kSineTable = [] {
    std::vector<double> t(kSineTableSize + 1);
    for (int i = 0; i <= kSineTableSize; ++i)
        t[size_t(i)] = std::sin(2.0 * kPi * i / kSineTableSize);
    return t;
}();

double SinCycles(double x) {
    double f = (x - std::floor(x)) * kSineTableSize;
    size_t i = size_t(f);
    double frac = f - double(i);
    return kSineTable[i] + (kSineTable[i + 1] - kSineTable[i]) * frac;
}

struct Sine {
    double phase = 0.0;
    double Next(double hz) {
        double v = SinCycles(phase);
        phase += hz * kDt;
        if (phase >= 1.0) phase -= std::floor(phase);
        return v;
    }
};

// Trapezoidal state-variable filter: stable for any cutoff below Nyquist.
struct Svf {
    double ic1 = 0.0, ic2 = 0.0;
    double a1 = 0.0, a2 = 0.0, a3 = 0.0, k = 1.0;
    void Set(double hz, double q) {
        hz = std::clamp(hz, 20.0, kSampleRate * 0.45);
        double g = std::tan(kPi * hz / kSampleRate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    // Returns the low-pass output; band and high are stored.
    double band = 0.0, high = 0.0;
    double Next(double v0) {
        double v3 = v0 - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        band = v1;
        high = v0 - k * v1 - v2;
        return v2;
    }
};

// Cutoff changes are applied every this many samples; tan() per sample is needlessly slow.
constexpr int kFilterUpdate = 16;

size_t Frames(double seconds) {
    return size_t(std::max(0.0, seconds) * kSampleRate) + 1;
}

double Vibrato(double t, double delay, double rateHz, double depthSemitones) {
    if (t < delay) return 1.0;
    double ramp = std::min(1.0, (t - delay) / 0.3);
    // 2^(x/12) ~ 1 + x ln2 / 12 for the fraction of a semitone a vibrato swings.
    return 1.0 + ramp * depthSemitones * SinCycles(rateHz * (t - delay)) * (0.69314718 / 12.0);
}

// ---- pitched instruments ---------------------------------------------------------------------

void Lead(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.008, 0.12, 0.7, 0.08};
    out.assign(Frames(gate + env.release), 0.0f);
    synth::Oscillator osc{synth::Wave::kPulse, 0.0f, 0.3f};
    synth::Oscillator saw{synth::Wave::kSaw};
    Svf lp;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        if (i % kFilterUpdate == 0) lp.Set(std::min(hz * 5.0 + 2500.0 * std::exp(-t / 0.2), 7000.0), 0.9);
        double f = hz * Vibrato(t, 0.25, 5.5, 0.18);
        // A 30 % pulse sits 0.4 below zero on average; lift it so notes carry no offset.
        double v = 0.6 * (osc.Next(float(f)) + 0.4) + 0.4 * saw.Next(f);
        out[i] = float(lp.Next(v) * env.Level(t, gate) * vel * 0.55);
    }
}

void Brass(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.03, 0.2, 0.75, 0.12};
    out.assign(Frames(gate + env.release), 0.0f);
    synth::Oscillator a{synth::Wave::kSaw}, b{synth::Wave::kSaw};
    Svf lp;
    double bright = 4.0 + 4.0 * vel;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double e = env.Level(t, gate);
        if (i % kFilterUpdate == 0)
            lp.Set(hz * (1.2 + bright * std::min(1.0, t / 0.05) * (0.6 + 0.4 * e)), 1.1);
        double scoop = 1.0 - 0.4 * std::exp(-t / 0.03) * (0.69314718 / 12.0);
        double f = hz * scoop * Vibrato(t, 0.35, 5.0, 0.12);
        double v = 0.5 * a.Next(f) + 0.5 * b.Next(f * 1.003);
        out[i] = float(lp.Next(v) * e * vel * 0.6);
    }
}

void Strings(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.14, 0.25, 0.85, 0.4};
    out.assign(Frames(gate + env.release), 0.0f);
    synth::Oscillator s[3] = {{synth::Wave::kSaw}, {synth::Wave::kSaw}, {synth::Wave::kSaw}};
    s[1].phase = 0.33;
    s[2].phase = 0.71;
    Svf lp;
    lp.Set(std::min(hz * 6.0, 4200.0), 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double f = hz * Vibrato(t, 0.2, 5.2, 0.1);
        double v = (s[0].Next(f) + s[1].Next(f * 1.0041) + s[2].Next(f * 0.9962)) / 3.0;
        out[i] = float(lp.Next(v) * env.Level(t, gate) * vel * 0.6);
    }
}

void Pad(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.3, 0.4, 0.8, 0.7};
    out.assign(Frames(gate + env.release), 0.0f);
    synth::Oscillator a{synth::Wave::kSaw}, b{synth::Wave::kSaw};
    Sine c;
    Svf lp;
    lp.Set(std::min(hz * 3.0, 2200.0), 0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double v = 0.35 * a.Next(hz * 1.003) + 0.35 * b.Next(hz * 0.997) + 0.5 * c.Next(hz);
        out[i] = float(lp.Next(v) * env.Level(t, gate) * vel * 0.55);
    }
}

void Bell(double hz, double gate, float vel, std::vector<float>& out) {
    double ring = std::min(gate + 1.2, 3.0);
    out.assign(Frames(ring), 0.0f);
    Sine carrier, modulator, partial;
    double decay = std::clamp(1.6 * 440.0 / hz, 0.35, 1.6); // seconds; high bells die sooner
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double index = 2.5 * std::exp(-t / 0.25) + 0.3;
        double m = modulator.Next(hz * 3.5) * index;
        double c = SinCycles(carrier.phase + m / (2.0 * kPi));
        carrier.Next(hz);
        double v = c + 0.25 * partial.Next(hz * 2.01);
        double amp = std::exp(-t / decay) * std::min(1.0, t / 0.002);
        double fade = t > ring - 0.1 ? (ring - t) / 0.1 : 1.0;
        out[i] = float(v * amp * std::max(0.0, fade) * vel * 0.45);
    }
}

void Pluck(double hz, double gate, float vel, uint32_t seed, std::vector<float>& out) {
    double ring = gate + 0.25;
    out.assign(Frames(ring), 0.0f);
    double period = kSampleRate / hz; // samples
    size_t size = size_t(period) + 2;
    std::vector<double> line(size, 0.0);
    Noise noise(seed);
    Svf shape;
    shape.Set(std::min(hz * 8.0, 9000.0), 0.7);
    for (size_t i = 0; i < size; ++i)
        line[i] = shape.Next(noise.Bipolar());
    double blocked = 0.0, lastIn = 0.0;
    double frac = period - std::floor(period);
    size_t delay = size_t(std::floor(period));
    size_t write = 0;
    double previous = 0.0;
    double feedback = 0.996;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        if (t > gate) feedback = 0.94;
        // Read `period` samples back with linear interpolation, then average (the string's loss).
        size_t r0 = (write + size - delay) % size;
        size_t r1 = (r0 + size - 1) % size;
        double delayed = line[r0] * (1.0 - frac) + line[r1] * frac;
        double v = 0.5 * (delayed + previous) * feedback;
        previous = delayed;
        line[write] = v;
        write = (write + 1) % size;
        double fade = t > ring - 0.02 ? (ring - t) / 0.02 : 1.0;
        // DC blocker: the string's averaging keeps whatever offset the burst had.
        blocked = v - lastIn + 0.995 * blocked;
        lastIn = v;
        out[i] = float(blocked * std::max(0.0, fade) * vel * 1.5);
    }
}

void Piano(double hz, double gate, float vel, std::vector<float>& out) {
    double release = 0.15;
    out.assign(Frames(gate + release), 0.0f);
    Sine carrier, modulator, second;
    double decay = std::clamp(2.0 * 261.6 / hz, 0.4, 2.5); // seconds
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double index = (1.2 + vel) * std::exp(-t / 0.15) + 0.2;
        double m = modulator.Next(hz) * index;
        double c = SinCycles(carrier.phase + m / (2.0 * kPi));
        carrier.Next(hz);
        double v = c + 0.3 * second.Next(hz * 2.0) * std::exp(-t / 0.3);
        double amp = std::exp(-t / decay) * std::min(1.0, t / 0.003);
        if (t > gate) amp *= std::max(0.0, 1.0 - (t - gate) / release);
        out[i] = float(v * amp * vel * 0.45);
    }
}

void Flute(double hz, double gate, float vel, uint32_t seed, std::vector<float>& out) {
    Adsr env{0.06, 0.1, 0.9, 0.1};
    out.assign(Frames(gate + env.release), 0.0f);
    Sine s;
    Noise noise(seed);
    Svf breath;
    breath.Set(std::min(hz * 2.0, 8000.0), 2.0);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double f = hz * Vibrato(t, 0.18, 4.8, 0.15);
        double ph = s.phase;
        double v = s.Next(f) + 0.18 * SinCycles(2.0 * ph) + 0.06 * SinCycles(3.0 * ph);
        breath.Next(noise.Bipolar());
        double e = env.Level(t, gate);
        out[i] = float((v + breath.band * 0.5 * (0.4 + std::exp(-t / 0.08))) * e * vel * 0.5);
    }
}

void Organ(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.01, 0.05, 1.0, 0.06};
    out.assign(Frames(gate + env.release), 0.0f);
    static constexpr double kHarmonics[] = {0.5, 1.0, 2.0, 3.0, 4.0};
    static constexpr double kWeights[] = {0.4, 1.0, 0.55, 0.3, 0.2};
    Sine s[5];
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double v = 0.0;
        for (int h = 0; h < 5; ++h)
            v += kWeights[h] * s[h].Next(hz * kHarmonics[h]);
        double tremolo = 1.0 + 0.08 * SinCycles(6.0 * t);
        out[i] = float(v * tremolo * env.Level(t, gate) * vel * 0.25);
    }
}

void Bass(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.005, 0.25, 0.7, 0.06};
    out.assign(Frames(gate + env.release), 0.0f);
    synth::Oscillator saw{synth::Wave::kSaw};
    synth::Oscillator sub{synth::Wave::kSquare};
    Svf lp;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        if (i % kFilterUpdate == 0) lp.Set(hz * (2.5 + 6.0 * vel * std::exp(-t / 0.12)), 1.3);
        double v = 0.7 * saw.Next(hz) + 0.5 * sub.Next(float(hz * 0.5));
        out[i] = float(lp.Next(v) * env.Level(t, gate) * vel * 0.5);
    }
}

void SynthBass(double hz, double gate, float vel, std::vector<float>& out) {
    Adsr env{0.004, 0.3, 0.8, 0.08};
    out.assign(Frames(gate + env.release), 0.0f);
    Sine s;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double drive = 1.0 + 2.0 * std::exp(-t / 0.1);
        double v = std::tanh(drive * s.Next(hz)) / std::tanh(drive);
        out[i] = float(v * env.Level(t, gate) * vel * 0.55);
    }
}

void Timpani(double hz, double gate, float vel, uint32_t seed, std::vector<float>& out) {
    double ring = std::max(gate, 0.3) + 0.9;
    out.assign(Frames(ring), 0.0f);
    Sine a, b, c;
    Noise noise(seed);
    Svf lp;
    lp.Set(900.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double bend = 1.0 + 0.04 * std::exp(-t / 0.05);
        double v = a.Next(hz * bend) + 0.5 * b.Next(hz * 1.5 * bend) * std::exp(-t / 0.3) +
                   0.3 * c.Next(hz * 1.98 * bend) * std::exp(-t / 0.2);
        double hit = lp.Next(noise.Bipolar()) * std::exp(-t / 0.02) * 2.0;
        double amp = std::exp(-t / 0.7);
        double fade = t > ring - 0.05 ? (ring - t) / 0.05 : 1.0;
        out[i] = float((v * amp + hit) * std::max(0.0, fade) * vel * 0.5);
    }
}

// ---- drums -----------------------------------------------------------------------------------

// Six square waves at inharmonic ratios: the metal of hats and cymbals.
struct Metal {
    double phases[6] = {};
    double Next() {
        static constexpr double kHz[] = {410.6, 608.8, 739.2, 1045.4, 1080.0, 1600.0};
        double v = 0.0;
        for (int i = 0; i < 6; ++i) {
            v += phases[i] < 0.5 ? 1.0 : -1.0;
            phases[i] += kHz[i] * kDt;
            if (phases[i] >= 1.0) phases[i] -= 1.0;
        }
        return v / 6.0;
    }
};

void Cymbal(double seconds, double decay, double highpassHz, float vel, double gain, uint32_t seed,
            std::vector<float>& out) {
    out.assign(Frames(seconds), 0.0f);
    Noise noise(seed);
    Svf hp;
    hp.Set(highpassHz, 0.8);
    Metal metal;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        hp.Next(0.6 * noise.Bipolar() + 0.5 * metal.Next());
        double amp = std::exp(-t / decay) * std::min(1.0, t / 0.0015);
        double fade = t > seconds - 0.01 ? (seconds - t) / 0.01 : 1.0;
        out[i] = float(hp.high * amp * std::max(0.0, fade) * vel * gain);
    }
}

void Tom(double hz, float vel, std::vector<float>& out) {
    out.assign(Frames(0.4), 0.0f);
    Sine s;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) * kDt;
        double f = hz * (1.0 + 0.35 * std::exp(-t / 0.04));
        double fade = t > 0.38 ? (0.4 - t) / 0.02 : 1.0;
        out[i] = float(s.Next(f) * std::exp(-t / 0.14) * std::max(0.0, fade) * vel * 0.8);
    }
}

} // namespace

void RenderNote(Instrument instrument, double hz, double seconds, float velocity, uint32_t seed,
                std::vector<float>& out) {
    switch (instrument) {
    case Instrument::Lead:
        Lead(hz, seconds, velocity, out);
        break;
    case Instrument::Brass:
        Brass(hz, seconds, velocity, out);
        break;
    case Instrument::Strings:
        Strings(hz, seconds, velocity, out);
        break;
    case Instrument::Pad:
        Pad(hz, seconds, velocity, out);
        break;
    case Instrument::Bell:
        Bell(hz, seconds, velocity, out);
        break;
    case Instrument::Pluck:
        Pluck(hz, seconds, velocity, seed, out);
        break;
    case Instrument::Piano:
        Piano(hz, seconds, velocity, out);
        break;
    case Instrument::Flute:
        Flute(hz, seconds, velocity, seed, out);
        break;
    case Instrument::Organ:
        Organ(hz, seconds, velocity, out);
        break;
    case Instrument::Bass:
        Bass(hz, seconds, velocity, out);
        break;
    case Instrument::SynthBass:
        SynthBass(hz, seconds, velocity, out);
        break;
    case Instrument::Timpani:
        Timpani(hz, seconds, velocity, seed, out);
        break;
    case Instrument::Kit:
        out.clear();
        break;
    }
}

void RenderDrum(Drum drum, float vel, uint32_t seed, std::vector<float>& out) {
    switch (drum) {
    case Drum::Kick: {
        out.assign(Frames(0.45), 0.0f);
        Sine s;
        Noise noise(seed);
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) * kDt;
            double f = 48.0 + 120.0 * std::exp(-t / 0.03);
            double click = noise.Bipolar() * std::exp(-t / 0.002) * 0.3;
            double fade = t > 0.43 ? (0.45 - t) / 0.02 : 1.0;
            out[i] = float((s.Next(f) * std::exp(-t / 0.22) + click) * std::max(0.0, fade) * vel * 1.1);
        }
        break;
    }
    case Drum::Snare: {
        out.assign(Frames(0.3), 0.0f);
        Sine a, b;
        Noise noise(seed);
        Svf hp;
        hp.Set(1500.0, 0.7);
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) * kDt;
            double tone = (0.6 * a.Next(185.0) + 0.4 * b.Next(330.0)) * std::exp(-t / 0.05);
            hp.Next(noise.Bipolar());
            double fade = t > 0.28 ? (0.3 - t) / 0.02 : 1.0;
            out[i] = float((tone + hp.high * std::exp(-t / 0.09) * 0.9) * std::max(0.0, fade) * vel * 0.7);
        }
        break;
    }
    case Drum::ClosedHat:
        Cymbal(0.12, 0.035, 7000.0, vel, 1.0, seed, out);
        break;
    case Drum::OpenHat:
        Cymbal(0.5, 0.22, 6500.0, vel, 0.7, seed, out);
        break;
    case Drum::Crash:
        Cymbal(2.0, 0.8, 4000.0, vel, 0.7, seed, out);
        break;
    case Drum::Ride:
        Cymbal(1.0, 0.5, 8000.0, vel, 0.6, seed, out);
        break;
    case Drum::LowTom:
        Tom(95.0, vel, out);
        break;
    case Drum::HighTom:
        Tom(150.0, vel, out);
        break;
    case Drum::Clap: {
        out.assign(Frames(0.25), 0.0f);
        Noise noise(seed);
        Svf bp;
        bp.Set(1200.0, 1.5);
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) * kDt;
            double burst = std::fmod(t, 0.011) < 0.004 && t < 0.033 ? 1.0 : 0.0;
            double amp = t < 0.033 ? burst : std::exp(-(t - 0.033) / 0.06);
            bp.Next(noise.Bipolar());
            double fade = t > 0.23 ? (0.25 - t) / 0.02 : 1.0;
            out[i] = float(bp.band * amp * std::max(0.0, fade) * vel * 1.6);
        }
        break;
    }
    case Drum::WoodBlock: {
        out.assign(Frames(0.12), 0.0f);
        Sine a, b;
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) * kDt;
            double fade = t > 0.1 ? (0.12 - t) / 0.02 : 1.0;
            double v = 0.7 * a.Next(1050.0) + 0.3 * b.Next(1680.0);
            out[i] = float(v * std::exp(-t / 0.025) * std::max(0.0, fade) * vel * 0.9);
        }
        break;
    }
    }
}

} // namespace kel::music
