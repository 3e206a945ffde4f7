// libFuzzer target: the sound-effect patch parser on arbitrary text. A patch it accepts must keep
// every value inside the range the format allows, so that rendering it is bounded in length, level
// and pitch; the pitch contour is sampled over each layer to make sure it stays audible and finite.
#include "fuzz/fuzz_support.h"
#include "synth/patch.h"

namespace {

using namespace kel::synth;
using kel::Within;

constexpr float kMaxSeconds = 20.0f;
constexpr float kMaxHz = 20000.0f;

void RequireLayerInRange(const Layer& l) {
    FUZZ_REQUIRE(Within(l.at, 0.0f, kMaxSeconds) && Within(l.length, 0.001f, kMaxSeconds));
    FUZZ_REQUIRE(Within(l.gainDb, -90.0f, 24.0f));
    FUZZ_REQUIRE(!l.pitch.Empty() && l.pitch.times.size() == l.pitch.values.size());
    for (size_t i = 0; i < l.pitch.times.size(); ++i) {
        FUZZ_REQUIRE(Within(l.pitch.times[i], 0.0f, kMaxSeconds) && Within(l.pitch.values[i], 1.0f, kMaxHz));
        FUZZ_REQUIRE(i == 0 || l.pitch.times[i] >= l.pitch.times[i - 1]);
    }
    for (int step = 0; step <= 16; ++step) {
        const float t = l.length * static_cast<float>(step) / 16.0f;
        FUZZ_REQUIRE(Within(l.pitch.At(t), 1.0f, kMaxHz));
    }
    FUZZ_REQUIRE(Within(l.vibratoHz, 0.0f, 200.0f) && Within(l.vibratoSemitones, 0.0f, 24.0f));
    FUZZ_REQUIRE(Within(l.wander, 0.0f, 1.0f) && Within(l.duty, 0.02f, 0.98f));
    for (const Partial& p : l.partials)
        FUZZ_REQUIRE(Within(p.ratio, 0.01f, 64.0f) && Within(p.gain, 0.0f, 4.0f));
    FUZZ_REQUIRE(Within(l.attack, 0.0f, kMaxSeconds) && Within(l.decay, 0.0f, kMaxSeconds));
    FUZZ_REQUIRE(Within(l.sustain, 0.0f, 1.0f) && Within(l.release, 0.001f, kMaxSeconds));
    if (l.envShape == EnvShape::kPerc) FUZZ_REQUIRE(l.decay >= 0.0005f);
    if (l.envShape == EnvShape::kAdsr) FUZZ_REQUIRE(l.attack + l.decay + l.release <= l.length + 1e-6f);
    FUZZ_REQUIRE(Within(l.tremoloHz, 0.0f, 500.0f) && Within(l.tremoloDepth, 0.0f, 1.0f));
    for (const FilterStage& f : l.filters) {
        FUZZ_REQUIRE(Within(f.fromHz, 10.0f, kMaxHz) && Within(f.toHz, 10.0f, kMaxHz));
        FUZZ_REQUIRE(Within(f.q, 0.1f, 100.0f));
    }
    FUZZ_REQUIRE(Within(l.formantScale, 0.3f, 3.0f) && Within(l.breath, 0.0f, 1.0f));
    FUZZ_REQUIRE(l.copies >= 1 && l.copies <= 400 && Within(l.spread, 0.0f, kMaxSeconds));
    FUZZ_REQUIRE(Within(l.varyPitch, 0.0f, 0.9f) && Within(l.varyGainDb, 0.0f, 40.0f));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Patch patch;
    std::vector<std::string> errors;
    const bool ok = ParsePatch(std::string(reinterpret_cast<const char*>(data), size), &patch, &errors);
    FUZZ_REQUIRE(ok == errors.empty());
    if (!ok) return 0;
    FUZZ_REQUIRE(Within(patch.peakDb, -40.0f, kMaxPeakDb) && !patch.layers.empty());
    FUZZ_REQUIRE(Within(patch.drive, 0.0f, 20.0f) && Within(patch.fadeOut, 0.0f, kMaxSeconds));
    FUZZ_REQUIRE(patch.loopSeconds == 0.0f || Within(patch.loopSeconds, 0.05f, kMaxSeconds));
    FUZZ_REQUIRE(Within(patch.loopFade, 0.001f, kMaxSeconds));
    float longest = 0.0f;
    for (const Layer& l : patch.layers) {
        RequireLayerInRange(l);
        longest = std::fmax(longest, l.at + l.spread + l.length);
    }
    // A loop is cut from material that lasts its length and its cross-fade.
    if (patch.loopSeconds > 0.0f) FUZZ_REQUIRE(longest >= patch.loopSeconds + patch.loopFade);
    return 0;
}
