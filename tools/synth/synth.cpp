// The synthesizer core (see synth.h for the contracts).
//
// Sections: units | random | oscillators | envelopes | sweeps | filters | formants |
// shaping and mixing | measuring | WAV files
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kel::synth {

// ---- units ------------------------------------------------------------------------------------

size_t SamplesFor(float seconds) {
    if (!(seconds > 0.0f)) return 0;
    return size_t(std::lround(double(seconds) * kSampleRate));
}

float DbToGain(float db) {
    return std::pow(10.0f, db / 20.0f);
}

float GainToDb(float gain) {
    if (!(gain > 1e-10f)) return -200.0f;
    return 20.0f * std::log10(gain);
}

float SemitoneRatio(float semitones) {
    return std::pow(2.0f, semitones / 12.0f);
}

float MidiToHz(float note) {
    return 440.0f * SemitoneRatio(note - 69.0f);
}

// ---- random -----------------------------------------------------------------------------------

Rng::Rng(uint32_t seed) : state(seed != 0u ? seed : 0x6D2B79F5u) {}

uint32_t Rng::NextU32() {
    uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return x;
}

float Rng::Unit() {
    return float(NextU32() >> 8) * (1.0f / 16777216.0f);
}

float Rng::Range(float lo, float hi) {
    return lo + (hi - lo) * Unit();
}

float Rng::Bipolar() {
    return Unit() * 2.0f - 1.0f;
}

int Rng::Int(int n) {
    if (n <= 1) return 0;
    return int(NextU32() % uint32_t(n));
}

// ---- oscillators ------------------------------------------------------------------------------

namespace {

float Fraction(float phase) {
    return phase - std::floor(phase);
}

// Correction of a unit step at phase 0 for a wave advancing `dt` cycles per sample.
float PolyBlep(float t, float dt) {
    if (dt <= 0.0f) return 0.0f;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

} // namespace

float SineAt(float phase) {
    return std::sin(kTwoPi * Fraction(phase));
}
float SquareAt(float phase) {
    return Fraction(phase) < 0.5f ? 1.0f : -1.0f;
}
float PulseAt(float phase, float duty) {
    return Fraction(phase) < duty ? 1.0f : -1.0f;
}
float SawAt(float phase) {
    return 2.0f * Fraction(phase) - 1.0f;
}
float TriangleAt(float phase) {
    const float f = Fraction(phase);
    return f < 0.5f ? 4.0f * f - 1.0f : 3.0f - 4.0f * f;
}

float Oscillator::Next(float frequencyHz) {
    const float dt = std::clamp(frequencyHz / float(kSampleRate), 0.0f, 0.5f);
    const float t = phase;
    float out = 0.0f;
    switch (wave) {
    case Wave::kSine:
        out = std::sin(kTwoPi * t);
        break;
    case Wave::kTriangle:
        out = TriangleAt(t);
        break;
    case Wave::kSaw:
        out = SawAt(t) - PolyBlep(t, dt);
        break;
    case Wave::kSquare:
    case Wave::kPulse: {
        const float d = wave == Wave::kSquare ? 0.5f : std::clamp(duty, 0.02f, 0.98f);
        out = PulseAt(t, d) + PolyBlep(t, dt) - PolyBlep(Fraction(t + 1.0f - d), dt);
        break;
    }
    case Wave::kNoise:
        out = noise.Bipolar();
        break;
    }
    phase = Fraction(phase + dt);
    return out;
}

float NoiseSource::Next() {
    const float white = rng.Bipolar();
    switch (colour) {
    case NoiseColour::kWhite:
        return white;
    case NoiseColour::kPink:
        // Paul Kellet's economy filter: within 0.5 dB of -3 dB/octave above 40 Hz.
        b0 = 0.99765f * b0 + white * 0.0990460f;
        b1 = 0.96300f * b1 + white * 0.2965164f;
        b2 = 0.57000f * b2 + white * 1.0526913f;
        return std::clamp((b0 + b1 + b2 + white * 0.1848f) * 0.2f, -1.0f, 1.0f);
    case NoiseColour::kBrown:
        brown = (brown + 0.02f * white) * 0.998f;
        return std::clamp(brown * 2.5f, -1.0f, 1.0f);
    }
    return white;
}

// ---- envelopes --------------------------------------------------------------------------------

float Adsr::Level(float t, float gateSeconds) const {
    if (t < 0.0f) return 0.0f;
    auto held = [this](float u) {
        if (u < attack) return attack > 0.0f ? u / attack : 1.0f;
        u -= attack;
        if (u < decay) return 1.0f + (sustain - 1.0f) * (decay > 0.0f ? u / decay : 1.0f);
        return sustain;
    };
    if (t < gateSeconds) return held(t);
    if (release <= 0.0f) return 0.0f;
    const float u = t - gateSeconds;
    if (u >= release) return 0.0f;
    // A squared fall sounds like a natural decay and is near silence well before its end.
    const float left = 1.0f - u / release;
    return held(gateSeconds) * left * left;
}

float ExpEnvelope::Level(float t) const {
    if (t < 0.0f) return 0.0f;
    if (length > 0.0f && t >= length) return 0.0f;
    float level = 1.0f;
    if (t < attack) {
        level = attack > 0.0f ? t / attack : 1.0f;
    } else if (decay > 0.0f) {
        level = std::exp(-(t - attack) / decay);
    }
    if (length > 0.0f && tail > 0.0f && t > length - tail) level *= std::max(0.0f, (length - t) / tail);
    return level;
}

// ---- sweeps -----------------------------------------------------------------------------------

float Sweep::At(float t) const {
    if (seconds <= 0.0f || t >= seconds) return to;
    const float u = std::max(0.0f, t / seconds);
    if (curve == Curve::kExponential && from > 0.0f && to > 0.0f) return from * std::pow(to / from, u);
    return from + (to - from) * u;
}

void Breakpoints::Add(float time, float value) {
    times.push_back(time);
    values.push_back(value);
}

float Breakpoints::At(float t) const {
    if (times.empty()) return 0.0f;
    if (t <= times.front()) return values.front();
    for (size_t i = 1; i < times.size(); ++i) {
        if (t < times[i]) {
            const float span = times[i] - times[i - 1];
            const float u = span > 0.0f ? (t - times[i - 1]) / span : 1.0f;
            return values[i - 1] + (values[i] - values[i - 1]) * u;
        }
    }
    return values.back();
}

// ---- filters ----------------------------------------------------------------------------------

void OnePole::SetCutoff(float hz) {
    const float limited = std::clamp(hz, 1.0f, 0.45f * kSampleRate);
    a = 1.0f - std::exp(-kTwoPi * limited / float(kSampleRate));
}

float OnePole::LowPass(float x) {
    z += a * (x - z);
    return z;
}

float OnePole::HighPass(float x) {
    return x - LowPass(x);
}

void Biquad::Set(FilterKind kind, float hz, float q, float gainDb) {
    const float f = std::clamp(hz, 10.0f, 0.45f * kSampleRate);
    const float w = kTwoPi * f / float(kSampleRate);
    const float cw = std::cos(w);
    const float alpha = std::sin(w) / (2.0f * std::max(q, 0.05f));
    float nb0 = 1.0f, nb1 = 0.0f, nb2 = 0.0f, na0 = 1.0f, na1 = 0.0f, na2 = 0.0f;
    switch (kind) {
    case FilterKind::kLowPass:
        nb0 = (1.0f - cw) * 0.5f, nb1 = 1.0f - cw, nb2 = (1.0f - cw) * 0.5f;
        na0 = 1.0f + alpha, na1 = -2.0f * cw, na2 = 1.0f - alpha;
        break;
    case FilterKind::kHighPass:
        nb0 = (1.0f + cw) * 0.5f, nb1 = -(1.0f + cw), nb2 = (1.0f + cw) * 0.5f;
        na0 = 1.0f + alpha, na1 = -2.0f * cw, na2 = 1.0f - alpha;
        break;
    case FilterKind::kBandPass:
        nb0 = alpha, nb1 = 0.0f, nb2 = -alpha;
        na0 = 1.0f + alpha, na1 = -2.0f * cw, na2 = 1.0f - alpha;
        break;
    case FilterKind::kPeak: {
        const float A = std::pow(10.0f, gainDb / 40.0f);
        nb0 = 1.0f + alpha * A, nb1 = -2.0f * cw, nb2 = 1.0f - alpha * A;
        na0 = 1.0f + alpha / A, na1 = -2.0f * cw, na2 = 1.0f - alpha / A;
        break;
    }
    }
    b0 = nb0 / na0, b1 = nb1 / na0, b2 = nb2 / na0, a1 = na1 / na0, a2 = na2 / na0;
}

void Biquad::Reset() {
    x1 = x2 = y1 = y2 = 0.0f;
}

float Biquad::Process(float x) {
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    if (std::fabs(y) < 1e-20f) y = 0.0f; // keep denormals out of long decays
    x2 = x1, x1 = x;
    y2 = y1, y1 = y;
    return y;
}

// ---- formants ---------------------------------------------------------------------------------

FormantSet VowelFormants(Vowel vowel) {
    // Average adult male values; levels fall with the formant number as in speech.
    switch (vowel) {
    case Vowel::kA:
        return {{730, 1090, 2440, 3400}, {90, 110, 160, 250}, {1.0f, 0.50f, 0.25f, 0.10f}};
    case Vowel::kE:
        return {{530, 1840, 2480, 3500}, {70, 100, 160, 250}, {1.0f, 0.40f, 0.30f, 0.10f}};
    case Vowel::kI:
        return {{270, 2290, 3010, 3600}, {50, 110, 170, 250}, {1.0f, 0.25f, 0.20f, 0.08f}};
    case Vowel::kO:
        return {{570, 840, 2410, 3300}, {80, 90, 160, 250}, {1.0f, 0.60f, 0.12f, 0.06f}};
    case Vowel::kU:
        return {{300, 870, 2240, 3300}, {60, 90, 160, 250}, {1.0f, 0.35f, 0.08f, 0.04f}};
    case Vowel::kUh:
        return {{640, 1190, 2390, 3400}, {80, 100, 160, 250}, {1.0f, 0.50f, 0.20f, 0.08f}};
    case Vowel::kEr:
        return {{490, 1350, 1690, 3300}, {70, 100, 120, 250}, {1.0f, 0.50f, 0.40f, 0.08f}};
    }
    return {};
}

FormantSet BlendFormants(const FormantSet& a, const FormantSet& b, float t) {
    FormantSet out;
    for (int i = 0; i < 4; ++i) {
        out.hz[i] = a.hz[i] + (b.hz[i] - a.hz[i]) * t;
        out.bandwidthHz[i] = a.bandwidthHz[i] + (b.bandwidthHz[i] - a.bandwidthHz[i]) * t;
        out.gain[i] = a.gain[i] + (b.gain[i] - a.gain[i]) * t;
    }
    return out;
}

bool ParseVowel(const std::string& name, Vowel* vowel) {
    static const struct {
        const char* name;
        Vowel vowel;
    } kNames[] = {{"a", Vowel::kA}, {"e", Vowel::kE},   {"i", Vowel::kI},  {"o", Vowel::kO},
                  {"u", Vowel::kU}, {"uh", Vowel::kUh}, {"er", Vowel::kEr}};
    for (const auto& n : kNames) {
        if (name == n.name) {
            *vowel = n.vowel;
            return true;
        }
    }
    return false;
}

void FormantBank::Set(const FormantSet& set, float scale) {
    for (int i = 0; i < 4; ++i) {
        const float hz = set.hz[i] * scale;
        const float q = hz / std::max(set.bandwidthHz[i] * scale, 20.0f);
        bands[i].SetBandPass(hz, q);
        gain[i] = set.gain[i];
    }
}

float FormantBank::Process(float x) {
    float out = 0.0f;
    for (int i = 0; i < 4; ++i)
        out += gain[i] * bands[i].Process(x);
    return out;
}

// ---- shaping and mixing -----------------------------------------------------------------------

float SoftClip(float x) {
    return std::tanh(x);
}

void MixInto(Buffer& dst, const Buffer& src, float gain, size_t offset) {
    if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i)
        dst[offset + i] += gain * src[i];
}

void Scale(Buffer& buffer, float gain) {
    for (float& s : buffer)
        s *= gain;
}

void NormalizeTo(Buffer& buffer, float peakDb) {
    const float peak = Peak(buffer);
    if (peak <= 0.0f) return;
    Scale(buffer, DbToGain(peakDb) / peak);
}

void FadeIn(Buffer& buffer, float seconds) {
    const size_t n = std::min(buffer.size(), SamplesFor(seconds));
    for (size_t i = 0; i < n; ++i)
        buffer[i] *= float(i) / float(n);
}

void FadeOut(Buffer& buffer, float seconds) {
    const size_t n = std::min(buffer.size(), SamplesFor(seconds));
    const size_t start = buffer.size() - n;
    // The last sample reaches exactly zero.
    for (size_t i = 0; i < n; ++i)
        buffer[start + i] *= float(n - 1 - i) / float(std::max<size_t>(n - 1, 1));
}

void TrimSilence(Buffer& buffer, float thresholdDb, float padSeconds) {
    const float threshold = DbToGain(thresholdDb);
    size_t first = 0;
    while (first < buffer.size() && std::fabs(buffer[first]) < threshold)
        ++first;
    if (first == buffer.size()) {
        buffer.clear();
        return;
    }
    size_t last = buffer.size() - 1;
    while (last > first && std::fabs(buffer[last]) < threshold)
        --last;
    const size_t pad = SamplesFor(padSeconds);
    first = first > pad ? first - pad : 0;
    last = std::min(buffer.size() - 1, last + pad);
    buffer = Buffer(buffer.begin() + std::ptrdiff_t(first), buffer.begin() + std::ptrdiff_t(last) + 1);
}

bool MakeLoop(Buffer& buffer, float loopSeconds, float fadeSeconds) {
    const size_t loop = SamplesFor(loopSeconds);
    const size_t fade = std::min(SamplesFor(fadeSeconds), loop);
    if (loop == 0 || buffer.size() < loop + fade) return false;
    // Correlation of the two overlapping parts: noise is uncorrelated (equal-power weights keep its
    // loudness), a steady tone in phase is correlated (weights summing to one keep its loudness).
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < fade; ++i) {
        ab += double(buffer[i]) * buffer[loop + i];
        aa += double(buffer[i]) * buffer[i];
        bb += double(buffer[loop + i]) * buffer[loop + i];
    }
    const float r = aa > 0.0 && bb > 0.0 ? std::clamp(float(ab / std::sqrt(aa * bb)), 0.0f, 1.0f) : 0.0f;
    for (size_t i = 0; i < fade; ++i) {
        const float u = (float(i) + 0.5f) / float(fade);
        float in = std::sin(0.5f * kPi * u);
        float out = std::cos(0.5f * kPi * u);
        const float norm = 1.0f / std::sqrt(in * in + out * out + 2.0f * r * in * out);
        in *= norm, out *= norm;
        buffer[i] = buffer[i] * in + buffer[loop + i] * out;
    }
    buffer.resize(loop);
    return true;
}

// ---- measuring --------------------------------------------------------------------------------

float Peak(const Buffer& buffer) {
    float peak = 0.0f;
    for (float s : buffer)
        peak = std::max(peak, std::fabs(s));
    return peak;
}

float PeakDb(const Buffer& buffer) {
    return GainToDb(Peak(buffer));
}

float Rms(const Buffer& buffer) {
    if (buffer.empty()) return 0.0f;
    double sum = 0.0;
    for (float s : buffer)
        sum += double(s) * s;
    return float(std::sqrt(sum / double(buffer.size())));
}

float RmsDb(const Buffer& buffer) {
    return GainToDb(Rms(buffer));
}

KWeighting::KWeighting() {
    const double fs = kSampleRate;
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double A = std::pow(10.0, gainDb / 40.0), w = 2.0 * 3.14159265358979 * f0 / fs;
        const double cw = std::cos(w), alpha = std::sin(w) / (2.0 * q), sa = 2.0 * std::sqrt(A) * alpha;
        const double a0 = (A + 1.0) - (A - 1.0) * cw + sa;
        shelf.b0 = float(A * ((A + 1.0) + (A - 1.0) * cw + sa) / a0);
        shelf.b1 = float(-2.0 * A * ((A - 1.0) + (A + 1.0) * cw) / a0);
        shelf.b2 = float(A * ((A + 1.0) + (A - 1.0) * cw - sa) / a0);
        shelf.a1 = float(2.0 * ((A - 1.0) - (A + 1.0) * cw) / a0);
        shelf.a2 = float(((A + 1.0) - (A - 1.0) * cw - sa) / a0);
    }
    highPass.SetHighPass(38.13547087602444f, 0.5003270373238773f);
}

float KWeighting::Process(float x) {
    return highPass.Process(shelf.Process(x));
}

namespace {

constexpr double kLufsOffset = -0.691;

double MeanSquareToLufs(double meanSquare) {
    return meanSquare > 1e-20 ? kLufsOffset + 10.0 * std::log10(meanSquare) : -200.0;
}

std::vector<double> KWeightedSquares(const Buffer& samples) {
    KWeighting k;
    std::vector<double> squares(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double y = k.Process(samples[i]);
        squares[i] = y * y;
    }
    return squares;
}

} // namespace

float LoudestWindowLufs(const Buffer& mono, float windowSeconds) {
    const size_t window = std::max<size_t>(1, SamplesFor(windowSeconds));
    const size_t hop = SamplesFor(0.01f);
    const std::vector<double> squares = KWeightedSquares(mono);
    std::vector<double> prefix(squares.size() + 1, 0.0);
    for (size_t i = 0; i < squares.size(); ++i)
        prefix[i + 1] = prefix[i] + squares[i];
    double loudest = 0.0;
    for (size_t start = 0; start == 0 || start < squares.size(); start += hop) {
        const size_t end = std::min(squares.size(), start + window);
        loudest = std::max(loudest, (prefix[end] - prefix[start]) / double(window));
    }
    return float(MeanSquareToLufs(loudest));
}

float IntegratedLufs(const Buffer& left, const Buffer& right) {
    const size_t frames = std::min(left.size(), right.size());
    const size_t block = SamplesFor(0.4f), hop = SamplesFor(0.1f);
    const std::vector<double> l = KWeightedSquares(left), r = KWeightedSquares(right);
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= frames; start += hop) {
        double sum = 0.0;
        for (size_t i = start; i < start + block; ++i)
            sum += l[i] + r[i];
        blocks.push_back(sum / double(block));
    }
    auto gatedMean = [&](double floor) {
        double sum = 0.0;
        size_t n = 0;
        for (double b : blocks)
            if (MeanSquareToLufs(b) > floor) sum += b, ++n;
        return n > 0 ? sum / double(n) : 0.0;
    };
    const double relativeGate = MeanSquareToLufs(gatedMean(-70.0)) - 10.0;
    return float(MeanSquareToLufs(gatedMean(std::max(-70.0, relativeGate))));
}

float Correlation(const Buffer& a, const Buffer& b) {
    const size_t n = std::min(a.size(), b.size());
    double ma = 0.0, mb = 0.0;
    for (size_t i = 0; i < n; ++i)
        ma += a[i], mb += b[i];
    if (n == 0) return 0.0f;
    ma /= double(n), mb /= double(n);
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double da = a[i] - ma, db = b[i] - mb;
        ab += da * db, aa += da * da, bb += db * db;
    }
    return aa > 0.0 && bb > 0.0 ? float(ab / std::sqrt(aa * bb)) : 0.0f;
}

Buffer HighPassed(const Buffer& buffer, float hz) {
    Biquad filter;
    filter.SetHighPass(hz);
    Buffer out(buffer.size());
    for (size_t i = 0; i < buffer.size(); ++i)
        out[i] = filter.Process(buffer[i]);
    return out;
}

// ---- DC blocker -------------------------------------------------------------------------------

float DcBlocker::Process(float x) {
    // Pole radius for a corner near 5 Hz at 44.1 kHz.
    constexpr float kPole = 0.9993f;
    const float y = x - x1 + kPole * y1;
    x1 = x;
    y1 = std::fabs(y) < 1e-20f ? 0.0f : y;
    return y1;
}

// ---- WAV files --------------------------------------------------------------------------------

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFFu);
    Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

uint32_t Get16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t Get32(const uint8_t* p) {
    return Get16(p) | Get16(p + 2) << 16;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) {
        std::remove(path.c_str());
        return false;
    }
    return true;
}

} // namespace

std::vector<uint8_t> EncodeWav(const float* samples, size_t frameCount, int channels, int sampleRate) {
    const uint32_t dataBytes = uint32_t(frameCount * size_t(channels) * 2u);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36u + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16u);
    Put16(out, 1u); // PCM
    Put16(out, uint32_t(channels));
    Put32(out, uint32_t(sampleRate));
    Put32(out, uint32_t(sampleRate * channels * 2));
    Put16(out, uint32_t(channels * 2));
    Put16(out, 16u);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (size_t i = 0; i < frameCount * size_t(channels); ++i) {
        const float s = std::clamp(samples[i], -1.0f, 1.0f);
        const auto v = int16_t(std::lround(s * 32767.0f));
        Put16(out, uint16_t(v));
    }
    return out;
}

bool WriteWav(const std::string& path, const Buffer& mono) {
    return WriteBytes(path, EncodeWav(mono.data(), mono.size(), 1, kSampleRate));
}

bool WriteWavStereo(const std::string& path, const Buffer& interleaved) {
    return WriteBytes(path, EncodeWav(interleaved.data(), interleaved.size() / 2, 2, kSampleRate));
}

bool DecodeWav(const std::vector<uint8_t>& bytes, WavInfo* info) {
    const size_t n = bytes.size();
    const uint8_t* p = bytes.data();
    if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= n) {
        const uint8_t* chunk = p + pos;
        const size_t size = Get32(chunk + 4);
        const size_t body = pos + 8;
        if (size > n - body) return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || Get16(chunk + 8) != 1u) return false;
            info->channels = int(Get16(chunk + 10));
            info->sampleRate = int(Get32(chunk + 12));
            info->bitsPerSample = int(Get16(chunk + 22));
            if (info->channels < 1 || info->channels > 8 || info->bitsPerSample != 16 ||
                info->sampleRate <= 0)
                return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || size % size_t(2 * info->channels) != 0) return false;
            info->samples.resize(size / 2);
            for (size_t i = 0; i < size / 2; ++i)
                info->samples[i] = float(int16_t(uint16_t(Get16(p + body + 2 * i)))) / 32767.0f;
            return true;
        }
        pos = body + size + (size & 1u);
    }
    return false;
}

bool ReadWav(const std::string& path, WavInfo* info) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    std::fclose(f);
    return DecodeWav(bytes, info);
}

} // namespace kel::synth
