// The synthesizer core shared by the sound-effect generator and the music renderer: a deterministic
// random source, oscillators, envelopes, filters, a formant bank, sweeps, mixing helpers and a WAV
// writer. Everything works on float samples in -1..1 at 44.1 kHz; times are in seconds, frequencies
// in Hz, gains in linear amplitude unless a name says dB.
//
// Sections: constants and units | random | oscillators | envelopes | sweeps | filters |
// formants | shaping and mixing | measuring | DC blocker | WAV files
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kel::synth {

// ---- constants and units ----------------------------------------------------------------------

constexpr int kSampleRate = 44100;
constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;

using Buffer = std::vector<float>;

// Number of samples in `seconds` (rounded, never negative).
size_t SamplesFor(float seconds);
float DbToGain(float db);
// dB of a linear amplitude; -200 for silence.
float GainToDb(float gain);
// Frequency ratio of a number of semitones (12 per octave).
float SemitoneRatio(float semitones);
// Frequency of a MIDI note number (69 = A4 = 440 Hz).
float MidiToHz(float note);

// ---- random -----------------------------------------------------------------------------------

// Deterministic generator (xorshift32): the same seed always gives the same sound, on every machine.
class Rng {
  public:
    explicit Rng(uint32_t seed = 1u);
    uint32_t NextU32();
    // Uniform in [0, 1).
    float Unit();
    // Uniform in [lo, hi).
    float Range(float lo, float hi);
    // Uniform in [-1, 1).
    float Bipolar();
    // 0..n-1 (n >= 1).
    int Int(int n);

  private:
    uint32_t state = 1u;
};

// ---- oscillators ------------------------------------------------------------------------------

enum class Wave { kSine, kSquare, kPulse, kSaw, kTriangle, kNoise };

// Pure wave shapes of a phase in cycles (any real; only the fraction counts). `duty` is the part of
// the cycle spent high for kPulse (0.5 gives a square).
float SineAt(float phase);
float SquareAt(float phase);
float PulseAt(float phase, float duty);
float SawAt(float phase);
float TriangleAt(float phase);

// A running oscillator: call Next once per sample with the current frequency. Square, pulse and saw
// are band-limited with polyBLEP so high notes do not alias into hiss.
struct Oscillator {
    Wave wave = Wave::kSine;
    float phase = 0.0f; // cycles, 0..1
    float duty = 0.5f;  // kPulse only
    Rng noise{0x9E3779B9u};

    float Next(float frequencyHz);
};

// Noise colours, all within -1..1. White is flat; pink falls 3 dB per octave; brown 6 dB per octave.
enum class NoiseColour { kWhite, kPink, kBrown };

struct NoiseSource {
    NoiseColour colour = NoiseColour::kWhite;
    Rng rng{12345u};
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f; // pink filter state
    float brown = 0.0f;

    float Next();
};

// ---- envelopes --------------------------------------------------------------------------------

// Attack, decay to sustain (both linear), then a squared fall to zero over `release` after the gate
// closes. Times in seconds, sustain 0..1.
struct Adsr {
    float attack = 0.005f;
    float decay = 0.1f;
    float sustain = 0.7f;
    float release = 0.1f;

    // Level at time `t` after note-on for a note held for `gateSeconds`; 0 after the release ends.
    float Level(float t, float gateSeconds) const;
    // Time after note-on at which the envelope has reached silence.
    float EndTime(float gateSeconds) const { return gateSeconds + release; }
};

// A linear attack, then an exponential fall with time constant `decay` (level 1/e after `decay`
// seconds). `length` (when > 0) ends the sound: the last `tail` seconds fade linearly to exactly zero,
// so a cut never clicks.
struct ExpEnvelope {
    float attack = 0.001f;
    float decay = 0.1f;
    float length = 0.0f;
    float tail = 0.005f;

    float Level(float t) const;
};

// ---- sweeps -----------------------------------------------------------------------------------

enum class Curve { kLinear, kExponential };

// A value moving from `from` to `to` over `seconds` and then staying at `to`. Exponential sweeps
// move evenly in ratio (right for pitch and cut-off); they need both ends positive.
struct Sweep {
    float from = 0.0f;
    float to = 0.0f;
    float seconds = 1.0f;
    Curve curve = Curve::kLinear;

    float At(float t) const;
};

// Piecewise-linear curve through (time, value) points, held flat before the first and after the last.
struct Breakpoints {
    std::vector<float> times;
    std::vector<float> values;

    void Add(float time, float value);
    float At(float t) const;
    bool Empty() const { return times.empty(); }
};

// ---- filters ----------------------------------------------------------------------------------

// One-pole low-pass (and high-pass as the input minus the low-pass).
struct OnePole {
    float a = 1.0f; // smoothing coefficient for the current cut-off
    float z = 0.0f;

    void SetCutoff(float hz);
    float LowPass(float x);
    float HighPass(float x);
};

enum class FilterKind { kLowPass, kHighPass, kBandPass, kPeak };

// Direct-form I biquad after the RBJ cookbook. `q` near 0.707 gives a flat low/high-pass; band-pass
// has unit gain at its centre. kPeak boosts or cuts by `gainDb` around the centre.
struct Biquad {
    float b0 = 1.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;

    void Set(FilterKind kind, float hz, float q, float gainDb = 0.0f);
    void SetLowPass(float hz, float q = 0.7071f) { Set(FilterKind::kLowPass, hz, q); }
    void SetHighPass(float hz, float q = 0.7071f) { Set(FilterKind::kHighPass, hz, q); }
    void SetBandPass(float hz, float q) { Set(FilterKind::kBandPass, hz, q); }
    void Reset();
    float Process(float x);
};

// ---- formants ---------------------------------------------------------------------------------

// Vowels of an adult voice (formant frequencies F1..F4 in Hz, bandwidths and levels).
enum class Vowel { kA, kE, kI, kO, kU, kUh, kEr };

struct FormantSet {
    float hz[4] = {};
    float bandwidthHz[4] = {};
    float gain[4] = {};
};

FormantSet VowelFormants(Vowel vowel);
// Linear blend of two formant sets, t in 0..1.
FormantSet BlendFormants(const FormantSet& a, const FormantSet& b, float t);
// Parses "a", "e", "i", "o", "u", "uh", "er"; false for anything else.
bool ParseVowel(const std::string& name, Vowel* vowel);

// Four parallel band-passes tuned to a vowel. `scale` shifts every formant (1.2 sounds smaller, 0.85
// bigger). Feed it a buzzy source (a pulse or saw at the voice's pitch) to get a vowel.
struct FormantBank {
    Biquad bands[4];
    float gain[4] = {1.0f, 0.5f, 0.25f, 0.12f};

    void Set(const FormantSet& set, float scale = 1.0f);
    float Process(float x);
};

// ---- shaping and mixing -----------------------------------------------------------------------

// Smooth saturation: about x for small x, approaching +-1, never above.
float SoftClip(float x);

// Adds `src` × gain into `dst` starting at sample `offset`, growing `dst` when needed.
void MixInto(Buffer& dst, const Buffer& src, float gain, size_t offset = 0);
void Scale(Buffer& buffer, float gain);
// Scales so the largest absolute sample is `peakDb` dBFS; silence stays silence.
void NormalizeTo(Buffer& buffer, float peakDb);
// Linear fades over the first and last given seconds.
void FadeIn(Buffer& buffer, float seconds);
void FadeOut(Buffer& buffer, float seconds);
// Removes leading and trailing samples quieter than `thresholdDb` dBFS, keeping `padSeconds` of
// the quiet lead-in and tail so that attacks and fade-outs stay whole.
void TrimSilence(Buffer& buffer, float thresholdDb, float padSeconds = 0.002f);
// Makes a seamless loop of `loopSeconds` from a buffer at least loopSeconds + fadeSeconds long:
// the part past the loop is cross-faded into the start (weights chosen by how alike the two parts
// are, so neither noise nor steady tones dip or swell), and the last sample leads into the first
// as smoothly as any two neighbours. The result is exactly the loop length.
bool MakeLoop(Buffer& buffer, float loopSeconds, float fadeSeconds);

// ---- measuring --------------------------------------------------------------------------------

float Peak(const Buffer& buffer);
float PeakDb(const Buffer& buffer);
float Rms(const Buffer& buffer);
float RmsDb(const Buffer& buffer);

// The K-weighting of loudness meters (ITU-R BS.1770): a +4 dB shelf above about 1.7 kHz and a
// high-pass at 38 Hz, designed for 44.1 kHz.
struct KWeighting {
    Biquad shelf;
    Biquad highPass;

    KWeighting();
    float Process(float x);
};

// Loudness (LUFS of a single channel: K-weighted mean square in dB, -0.691) of the loudest
// `windowSeconds` of a mono buffer, in 10 ms steps. A sound shorter than the window counts as if
// padded with silence, so a 30 ms click measures softer than a 100 ms one of the same level.
// -200 for silence.
float LoudestWindowLufs(const Buffer& mono, float windowSeconds = 0.1f);
// Integrated loudness of a stereo pair: 400 ms blocks overlapping by 75 %, an absolute gate at
// -70 LUFS and a relative gate 10 dB under the ungated mean.
float IntegratedLufs(const Buffer& left, const Buffer& right);
// Pearson correlation of two equally long channels: 1 identical, 0 unrelated, -1 opposite.
float Correlation(const Buffer& a, const Buffer& b);
// A copy of `buffer` through a 12 dB/octave high-pass at `hz` (what a small speaker leaves).
Buffer HighPassed(const Buffer& buffer, float hz);

// ---- DC blocker -------------------------------------------------------------------------------

// Removes a constant offset and drift below about 5 Hz (y = x - x1 + r*y1) while leaving everything
// audible alone; an offset only costs headroom and thumps when a sound starts or stops.
struct DcBlocker {
    float x1 = 0.0f;
    float y1 = 0.0f;

    float Process(float x);
};

// ---- WAV files --------------------------------------------------------------------------------

// 16-bit PCM WAV bytes for interleaved float samples (clamped to -1..1, rounded to nearest).
std::vector<uint8_t> EncodeWav(const float* samples, size_t frameCount, int channels, int sampleRate);
// Mono 16-bit 44.1 kHz file; false (with nothing left behind) when it cannot be written.
bool WriteWav(const std::string& path, const Buffer& mono);
// Interleaved stereo (left, right, left, ...) 16-bit 44.1 kHz file.
bool WriteWavStereo(const std::string& path, const Buffer& interleaved);

struct WavInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    Buffer samples; // interleaved, -1..1
};
// Reads a 16-bit PCM WAV; false for anything malformed or of another format.
bool DecodeWav(const std::vector<uint8_t>& bytes, WavInfo* info);
bool ReadWav(const std::string& path, WavInfo* info);

} // namespace kel::synth
