// Sound-effect patches: a small text format describing an effect as layers of oscillators, noise or
// a formant voice, each with its own pitch, envelope, filters and timing, mixed and finished
// (normalised, trimmed or looped) into one mono buffer. The format is described in
// assets/sound/effects/README.md; every line is "keyword values...", '#' starts a comment.
#pragma once

#include "synth.h"

#include <string>
#include <vector>

namespace kel::synth {

enum class Source { kSine, kSquare, kPulse, kSaw, kTriangle, kNoise, kPink, kBrown, kVoice };

enum class EnvShape { kPerc, kAdsr, kFlat };

struct FilterStage {
    FilterKind kind = FilterKind::kLowPass;
    float fromHz = 1000.0f;
    float toHz = 1000.0f; // the cut-off moves exponentially from fromHz to toHz over the layer
    float q = 0.7071f;
};

struct Partial {
    float ratio = 1.0f; // of the layer's pitch
    float gain = 1.0f;  // linear
};

struct Layer {
    Source source = Source::kSine;
    float at = 0.0f;     // start, seconds
    float length = 0.2f; // seconds
    float gainDb = 0.0f;
    Breakpoints pitch; // Hz over the layer's own time
    Curve pitchCurve = Curve::kExponential;
    float vibratoHz = 0.0f;
    float vibratoSemitones = 0.0f;
    float wander = 0.0f; // slow random pitch drift, as a fraction of the pitch
    float duty = 0.5f;
    std::vector<Partial> partials; // empty: the single wave at the pitch
    EnvShape envShape = EnvShape::kPerc;
    float attack = 0.002f;
    float decay = 0.1f; // perc: time constant; adsr: decay time
    float sustain = 0.7f;
    float release = 0.05f;
    float tremoloHz = 0.0f;
    float tremoloDepth = 0.0f; // 0..1
    std::vector<FilterStage> filters;
    std::vector<Vowel> vowels; // formant path spread evenly over the layer
    float formantScale = 1.0f;
    float breath = 0.0f; // voice only: share of aspiration noise, 0..1
    int copies = 1;
    float spread = 0.0f;     // copies start at random within this many seconds after `at`
    float varyPitch = 0.0f;  // each copy plays at 1 +- this speed ratio
    float varyGainDb = 0.0f; // and +- this many dB
    uint32_t seed = 1u;
};

struct Patch {
    std::string name;
    float peakDb = -1.1f;      // ceiling for the highest peak
    float levelDb = 0.0f;      // loudness against the house level kEffectLoudnessLufs
    float drive = 0.0f;       // > 0: soft clip the mix with this drive before normalising
    float fadeOut = 0.0f;     // seconds of final fade (after trimming)
    float loopSeconds = 0.0f; // > 0: make a seamless loop of this length instead of trimming
    float loopFade = 0.25f;
    std::vector<Layer> layers;
};

// Parses the text of one patch. Errors ("line N: ...") are appended to `errors`; the result is
// usable only when no error was added.
bool ParsePatch(const std::string& text, Patch* patch, std::vector<std::string>* errors);

// Renders the layers, mixes them and finishes the effect: its loudest 100 ms brought to the house
// level plus `levelDb`, peaks bent smoothly under `peakDb` (never above -1 dBFS), leading and
// trailing silence trimmed and the end faded to exact zero, or cut to a seamless loop.
Buffer RenderPatch(const Patch& patch);

// Renders one copy of a layer (before its start offset), at a speed ratio and linear gain.
Buffer RenderLayer(const Layer& layer, uint32_t seed, float ratio, float gain);

// The loudest peak a patch may ask for; rounding to 16 bits stays below -1 dBFS.
constexpr float kMaxPeakDb = -1.05f;
// Every effect's loudest 100 ms (K-weighted) is brought to this, so effects of any shape sound
// equally loud in the game; the music sits at -20 LUFS, well under it.
constexpr float kEffectLoudnessLufs = -11.5f;
// Trailing and leading material below this level counts as silence.
constexpr float kSilenceDb = -60.0f;

} // namespace kel::synth
