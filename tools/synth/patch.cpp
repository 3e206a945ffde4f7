// Sound-effect patches: parsing and rendering (see patch.h).
//
// Sections: parsing helpers | keywords | ParsePatch | layer rendering | RenderPatch
#include "patch.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kel::synth {

// ---- parsing helpers --------------------------------------------------------------------------

namespace {

struct LineReader {
    std::vector<std::string> words;
    int lineNumber = 0;
    std::vector<std::string>* errors = nullptr;
    bool failed = false;

    void Error(const std::string& message) {
        errors->push_back("line " + std::to_string(lineNumber) + ": " + message);
        failed = true;
    }

    // Number of values after the keyword.
    size_t Count() const { return words.size() - 1; }

    bool Number(size_t index, float* value) {
        if (index >= words.size()) {
            Error("'" + words[0] + "' needs more values");
            return false;
        }
        const std::string& w = words[index];
        char* end = nullptr;
        const float v = std::strtof(w.c_str(), &end);
        if (end == w.c_str() || *end != '\0' || !std::isfinite(v)) {
            Error("'" + w + "' is not a number");
            return false;
        }
        *value = v;
        return true;
    }

    // A number that must lie in [lo, hi].
    bool Bounded(size_t index, float lo, float hi, float* value) {
        float v = 0.0f;
        if (!Number(index, &v)) return false;
        if (v < lo || v > hi) {
            Error("'" + words[0] + "' value " + words[index] + " is outside " + std::to_string(lo) + ".." +
                  std::to_string(hi));
            return false;
        }
        *value = v;
        return true;
    }

    bool ExactCount(size_t lo, size_t hi) {
        if (Count() < lo || Count() > hi) {
            Error("'" + words[0] + "' takes " + std::to_string(lo) +
                  (lo == hi ? "" : ".." + std::to_string(hi)) + " values");
            return false;
        }
        return true;
    }
};

// Longest effect we make; protects the generator from a typo such as "length 300".
constexpr float kMaxSeconds = 20.0f;
constexpr float kMaxHz = 20000.0f;
constexpr int kMaxCopies = 400;

bool ParseSource(const std::string& word, Source* source) {
    static const struct {
        const char* name;
        Source source;
    } kNames[] = {{"sine", Source::kSine}, {"square", Source::kSquare},     {"pulse", Source::kPulse},
                  {"saw", Source::kSaw},   {"triangle", Source::kTriangle}, {"noise", Source::kNoise},
                  {"pink", Source::kPink}, {"brown", Source::kBrown},       {"voice", Source::kVoice}};
    for (const auto& n : kNames) {
        if (word == n.name) {
            *source = n.source;
            return true;
        }
    }
    return false;
}

// ---- keywords ---------------------------------------------------------------------------------

void ParsePatchKeyword(LineReader& in, Patch* patch) {
    const std::string& key = in.words[0];
    if (key == "peak") {
        if (in.ExactCount(1, 1) && in.Bounded(1, -40.0f, 0.0f, &patch->peakDb))
            patch->peakDb = std::min(patch->peakDb, kMaxPeakDb);
    } else if (key == "level") {
        if (in.ExactCount(1, 1)) in.Bounded(1, -24.0f, 6.0f, &patch->levelDb);
    } else if (key == "drive") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.0f, 20.0f, &patch->drive);
    } else if (key == "fadeout") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.0f, kMaxSeconds, &patch->fadeOut);
    } else if (key == "loop") {
        if (in.ExactCount(1, 2) && in.Bounded(1, 0.05f, kMaxSeconds, &patch->loopSeconds) && in.Count() == 2)
            in.Bounded(2, 0.001f, kMaxSeconds, &patch->loopFade);
    } else {
        in.Error("unknown keyword '" + key + "' (outside a layer)");
    }
}

void ParseFilter(LineReader& in, FilterKind kind, Layer* layer) {
    if (!in.ExactCount(1, 3)) return;
    FilterStage stage;
    stage.kind = kind;
    stage.q = kind == FilterKind::kBandPass ? 2.0f : 0.7071f;
    // FILTER HZ [TO] [Q]: no cut-off is below 10 Hz, so a lone second value under 10 is the Q.
    if (!in.Bounded(1, 10.0f, kMaxHz, &stage.fromHz)) return;
    stage.toHz = stage.fromHz;
    float second = 0.0f;
    if (in.Count() >= 2 && !in.Number(2, &second)) return;
    if (in.Count() == 2 && second < 10.0f) {
        if (!in.Bounded(2, 0.1f, 9.99f, &stage.q)) return;
    } else {
        if (in.Count() >= 2 && !in.Bounded(2, 10.0f, kMaxHz, &stage.toHz)) return;
        if (in.Count() >= 3 && !in.Bounded(3, 0.1f, 100.0f, &stage.q)) return;
    }
    layer->filters.push_back(stage);
}

void ParseLayerKeyword(LineReader& in, Layer* layer) {
    const std::string& key = in.words[0];
    if (key == "at") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.0f, kMaxSeconds, &layer->at);
    } else if (key == "length") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.001f, kMaxSeconds, &layer->length);
    } else if (key == "gain") {
        if (in.ExactCount(1, 1)) in.Bounded(1, -90.0f, 24.0f, &layer->gainDb);
    } else if (key == "pitch") {
        // pitch FROM [TO] [lin|exp]: a sweep over the whole layer.
        if (!in.ExactCount(1, 3)) return;
        float from = 0.0f, to = 0.0f;
        if (!in.Bounded(1, 1.0f, kMaxHz, &from)) return;
        to = from;
        size_t next = 2;
        if (in.Count() >= 2 && in.words[2] != "lin" && in.words[2] != "exp") {
            if (!in.Bounded(2, 1.0f, kMaxHz, &to)) return;
            next = 3;
        }
        if (next <= in.Count()) {
            if (in.words[next] == "lin")
                layer->pitchCurve = Curve::kLinear;
            else if (in.words[next] == "exp")
                layer->pitchCurve = Curve::kExponential;
            else
                return in.Error("pitch curve must be 'lin' or 'exp'");
        }
        layer->pitch = Breakpoints{};
        layer->pitch.Add(0.0f, from);
        layer->pitch.Add(-1.0f, to); // end time filled in once the length is known
    } else if (key == "pitchpoints") {
        // pitchpoints T1 HZ1 T2 HZ2 ...: a pitch contour through these points (seconds, Hz).
        if (in.Count() < 2 || in.Count() % 2 != 0)
            return in.Error("'pitchpoints' takes pairs of time and Hz");
        Breakpoints points;
        for (size_t i = 1; i + 1 < in.words.size(); i += 2) {
            float t = 0.0f, hz = 0.0f;
            if (!in.Bounded(i, 0.0f, kMaxSeconds, &t) || !in.Bounded(i + 1, 1.0f, kMaxHz, &hz)) return;
            if (!points.Empty() && t < points.times.back())
                return in.Error("pitchpoints times must not go back");
            points.Add(t, hz);
        }
        layer->pitch = points;
        layer->pitchCurve = Curve::kLinear;
    } else if (key == "vibrato") {
        if (in.ExactCount(2, 2) && in.Bounded(1, 0.0f, 200.0f, &layer->vibratoHz))
            in.Bounded(2, 0.0f, 24.0f, &layer->vibratoSemitones);
    } else if (key == "wander") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.0f, 1.0f, &layer->wander);
    } else if (key == "duty") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.02f, 0.98f, &layer->duty);
    } else if (key == "partials") {
        // partials RATIO[:GAIN] ...: extra sine/wave partials at these multiples of the pitch.
        if (in.Count() < 1) return in.Error("'partials' needs at least one ratio");
        layer->partials.clear();
        for (size_t i = 1; i < in.words.size(); ++i) {
            std::string word = in.words[i];
            Partial partial;
            const size_t colon = word.find(':');
            std::string gain = colon == std::string::npos ? "1" : word.substr(colon + 1);
            word = word.substr(0, colon);
            LineReader parts{{in.words[0], word, gain}, in.lineNumber, in.errors, false};
            if (!parts.Bounded(1, 0.01f, 64.0f, &partial.ratio) ||
                !parts.Bounded(2, 0.0f, 4.0f, &partial.gain)) {
                in.failed = true;
                return;
            }
            layer->partials.push_back(partial);
        }
    } else if (key == "env") {
        if (in.Count() < 1) return in.Error("'env' needs a shape: perc, adsr or flat");
        const std::string& shape = in.words[1];
        if (shape == "perc") {
            // env perc ATTACK DECAY: linear rise, exponential fall with time constant DECAY.
            if (in.ExactCount(3, 3) && in.Bounded(2, 0.0f, kMaxSeconds, &layer->attack) &&
                in.Bounded(3, 0.0005f, kMaxSeconds, &layer->decay))
                layer->envShape = EnvShape::kPerc;
        } else if (shape == "adsr") {
            if (in.ExactCount(5, 5) && in.Bounded(2, 0.0f, kMaxSeconds, &layer->attack) &&
                in.Bounded(3, 0.0f, kMaxSeconds, &layer->decay) &&
                in.Bounded(4, 0.0f, 1.0f, &layer->sustain) &&
                in.Bounded(5, 0.001f, kMaxSeconds, &layer->release))
                layer->envShape = EnvShape::kAdsr;
        } else if (shape == "flat") {
            if (in.ExactCount(1, 1)) layer->envShape = EnvShape::kFlat;
        } else {
            in.Error("unknown envelope '" + shape + "'");
        }
    } else if (key == "tremolo") {
        if (in.ExactCount(2, 2) && in.Bounded(1, 0.0f, 500.0f, &layer->tremoloHz))
            in.Bounded(2, 0.0f, 1.0f, &layer->tremoloDepth);
    } else if (key == "lowpass") {
        ParseFilter(in, FilterKind::kLowPass, layer);
    } else if (key == "highpass") {
        ParseFilter(in, FilterKind::kHighPass, layer);
    } else if (key == "bandpass") {
        ParseFilter(in, FilterKind::kBandPass, layer);
    } else if (key == "vowel") {
        if (in.Count() < 1) return in.Error("'vowel' needs at least one vowel");
        layer->vowels.clear();
        for (size_t i = 1; i < in.words.size(); ++i) {
            Vowel v = Vowel::kA;
            if (!ParseVowel(in.words[i], &v)) return in.Error("unknown vowel '" + in.words[i] + "'");
            layer->vowels.push_back(v);
        }
    } else if (key == "formantscale") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.3f, 3.0f, &layer->formantScale);
    } else if (key == "breath") {
        if (in.ExactCount(1, 1)) in.Bounded(1, 0.0f, 1.0f, &layer->breath);
    } else if (key == "repeat") {
        // repeat COPIES SPREAD: COPIES copies starting at random within SPREAD seconds.
        float copies = 1.0f;
        if (in.ExactCount(2, 2) && in.Bounded(1, 1.0f, float(kMaxCopies), &copies) &&
            in.Bounded(2, 0.0f, kMaxSeconds, &layer->spread))
            layer->copies = int(copies);
    } else if (key == "vary") {
        // vary SPEED DB: each copy at 1 +- SPEED playback ratio and +- DB level.
        if (in.ExactCount(2, 2) && in.Bounded(1, 0.0f, 0.9f, &layer->varyPitch))
            in.Bounded(2, 0.0f, 40.0f, &layer->varyGainDb);
    } else if (key == "seed") {
        float seed = 1.0f;
        if (in.ExactCount(1, 1) && in.Bounded(1, 0.0f, 1e6f, &seed)) layer->seed = uint32_t(seed);
    } else {
        in.Error("unknown keyword '" + key + "' in a layer");
    }
}

} // namespace

// ---- ParsePatch -------------------------------------------------------------------------------

bool ParsePatch(const std::string& text, Patch* patch, std::vector<std::string>* errors) {
    const size_t errorsBefore = errors->size();
    std::istringstream lines(text);
    std::string line;
    Layer* layer = nullptr;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        // Files saved on Windows end their lines with "\r\n" and may start with a byte-order mark.
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::replace(line.begin(), line.end(), '\r', ' ');
        std::istringstream wordStream(line);
        LineReader in;
        in.lineNumber = lineNumber;
        in.errors = errors;
        for (std::string w; wordStream >> w;)
            in.words.push_back(w);
        if (in.words.empty()) continue;
        if (in.words[0] == "layer") {
            Layer fresh;
            if (!in.ExactCount(1, 1)) continue;
            if (!ParseSource(in.words[1], &fresh.source)) {
                in.Error("unknown source '" + in.words[1] + "'");
                continue;
            }
            // Every layer gets its own noise unless it names a seed.
            fresh.seed = uint32_t(patch->layers.size() + 1) * 7919u;
            patch->layers.push_back(fresh);
            layer = &patch->layers.back();
        } else if (layer) {
            ParseLayerKeyword(in, layer);
        } else {
            ParsePatchKeyword(in, patch);
        }
    }
    for (Layer& l : patch->layers) {
        if (l.pitch.Empty()) l.pitch.Add(0.0f, 440.0f);
        // A sweep given by "pitch FROM TO" ends with the layer.
        if (l.pitch.times.size() == 2 && l.pitch.times[1] < 0.0f) l.pitch.times[1] = l.length;
        if (l.envShape == EnvShape::kAdsr && l.attack + l.decay + l.release > l.length + 1e-6f)
            errors->push_back("a layer's adsr times exceed its length");
    }
    if (patch->layers.empty()) errors->push_back("the patch has no layer");
    if (patch->loopSeconds > 0.0f) {
        float longest = 0.0f;
        for (const Layer& l : patch->layers)
            longest = std::max(longest, l.at + l.spread + l.length);
        if (longest < patch->loopSeconds + patch->loopFade)
            errors->push_back("a loop needs layers lasting at least its length plus its cross-fade");
    }
    return errors->size() == errorsBefore;
}

// ---- layer rendering --------------------------------------------------------------------------

namespace {

// Coefficients of swept filters and formants are refreshed this often (samples, ~0.7 ms).
constexpr size_t kControlInterval = 32;

float EnvelopeAt(const Layer& layer, float t) {
    switch (layer.envShape) {
    case EnvShape::kPerc: {
        // A ring cut off by the layer's end fades over up to 50 ms instead of stopping dead.
        ExpEnvelope env{layer.attack, layer.decay, layer.length,
                        std::clamp(layer.length * 0.2f, 0.001f, 0.05f)};
        return env.Level(t);
    }
    case EnvShape::kAdsr: {
        Adsr env{layer.attack, layer.decay, layer.sustain, layer.release};
        return env.Level(t, layer.length - layer.release);
    }
    case EnvShape::kFlat: {
        // Short ramps at both ends so even a flat layer starts and stops without a click.
        const float ramp = std::min(0.003f, layer.length * 0.25f);
        return std::clamp(std::min(t, layer.length - t) / ramp, 0.0f, 1.0f);
    }
    }
    return 0.0f;
}

Wave WaveOf(Source source) {
    switch (source) {
    case Source::kSquare:
        return Wave::kSquare;
    case Source::kPulse:
        return Wave::kPulse;
    case Source::kSaw:
    case Source::kVoice:
        return Wave::kSaw;
    case Source::kTriangle:
        return Wave::kTriangle;
    default:
        return Wave::kSine;
    }
}

bool IsNoise(Source source) {
    return source == Source::kNoise || source == Source::kPink || source == Source::kBrown;
}

FormantSet FormantsAt(const Layer& layer, float t) {
    const size_t n = layer.vowels.size();
    if (n == 1) return VowelFormants(layer.vowels[0]);
    const float u = std::clamp(t / layer.length, 0.0f, 1.0f) * float(n - 1);
    const size_t i = std::min(size_t(u), n - 2);
    return BlendFormants(VowelFormants(layer.vowels[i]), VowelFormants(layer.vowels[i + 1]), u - float(i));
}

} // namespace

Buffer RenderLayer(const Layer& layer, uint32_t seed, float ratio, float gain) {
    const size_t n = SamplesFor(layer.length / ratio);
    Buffer out(n, 0.0f);
    Rng rng(seed);
    NoiseSource noise;
    noise.rng = Rng(rng.NextU32());
    noise.colour = layer.source == Source::kPink    ? NoiseColour::kPink
                   : layer.source == Source::kBrown ? NoiseColour::kBrown
                                                    : NoiseColour::kWhite;
    NoiseSource breathNoise;
    breathNoise.rng = Rng(rng.NextU32());

    std::vector<Partial> partials = layer.partials;
    if (partials.empty()) partials.push_back(Partial{});
    std::vector<Oscillator> oscillators(partials.size());
    for (Oscillator& osc : oscillators) {
        osc.wave = WaveOf(layer.source);
        osc.duty = layer.duty;
        osc.phase = layer.partials.empty() ? 0.0f : rng.Unit();
    }
    float partialNorm = 0.0f;
    for (const Partial& p : partials)
        partialNorm += p.gain;
    partialNorm = partialNorm > 0.0f ? 1.0f / partialNorm : 0.0f;

    std::vector<Biquad> filters(layer.filters.size());
    FormantBank formants;
    const bool useFormants = !layer.vowels.empty();
    const float formantScale = layer.formantScale * std::sqrt(ratio);
    OnePole glottalTilt;
    glottalTilt.SetCutoff(500.0f);
    OnePole wanderSmooth;
    wanderSmooth.SetCutoff(6.0f);
    NoiseSource wanderNoise;
    wanderNoise.rng = Rng(rng.NextU32());

    for (size_t i = 0; i < n; ++i) {
        // `t` runs in the layer's own time, so a faster copy is the same sound played faster.
        const float t = float(i) / float(kSampleRate) * ratio;
        if (i % kControlInterval == 0) {
            const float u = std::clamp(t / layer.length, 0.0f, 1.0f);
            for (size_t f = 0; f < filters.size(); ++f) {
                const FilterStage& s = layer.filters[f];
                const float hz = s.fromHz * std::pow(s.toHz / s.fromHz, u) * ratio;
                filters[f].Set(s.kind, hz, s.q);
            }
            if (useFormants) formants.Set(FormantsAt(layer, t), formantScale);
        }
        float hz = layer.pitch.At(t);
        if (layer.pitchCurve == Curve::kExponential && layer.pitch.times.size() == 2 &&
            layer.pitch.values[0] > 0.0f && layer.pitch.values[1] > 0.0f) {
            const float u = std::clamp(t / std::max(layer.pitch.times[1], 1e-4f), 0.0f, 1.0f);
            hz = layer.pitch.values[0] * std::pow(layer.pitch.values[1] / layer.pitch.values[0], u);
        }
        if (layer.vibratoHz > 0.0f)
            hz *= SemitoneRatio(layer.vibratoSemitones * std::sin(kTwoPi * layer.vibratoHz * t));
        if (layer.wander > 0.0f) hz *= 1.0f + layer.wander * 8.0f * wanderSmooth.LowPass(wanderNoise.Next());
        hz *= ratio;

        float x = 0.0f;
        if (IsNoise(layer.source)) {
            x = noise.Next();
        } else {
            for (size_t p = 0; p < partials.size(); ++p)
                x += partials[p].gain * oscillators[p].Next(hz * partials[p].ratio);
            x *= partialNorm;
            if (layer.source == Source::kVoice) {
                // Vocal folds give a spectrum falling about 12 dB per octave: the saw's 6 plus this pole.
                x = glottalTilt.LowPass(x) * 3.0f;
                x = x * (1.0f - layer.breath) + layer.breath * breathNoise.Next();
            }
        }
        if (useFormants) x = formants.Process(x) * 4.0f;
        for (Biquad& f : filters)
            x = f.Process(x);
        float level = EnvelopeAt(layer, t);
        if (layer.tremoloDepth > 0.0f)
            level *= 1.0f - layer.tremoloDepth * 0.5f * (1.0f - std::cos(kTwoPi * layer.tremoloHz * t));
        out[i] = x * level * gain;
    }
    return out;
}

// ---- RenderPatch ------------------------------------------------------------------------------

namespace {

// Bends samples above 3 dB under the ceiling smoothly towards it; quieter ones stay exact. It has no
// memory, so a loop keeps its seam.
float BendUnder(float x, float ceiling) {
    const float knee = ceiling * 0.708f;
    const float a = std::fabs(x);
    if (a <= knee) return x;
    const float room = ceiling - knee;
    const float bent = knee + room * std::tanh((a - knee) / room);
    return x < 0.0f ? -bent : bent;
}

// Brings the loudest 100 ms to `lufs`. A sharp click needs peaks above the ceiling to sound as loud
// as a long tone: those peaks are bent under it and the level measured again (bending costs a
// little loudness), a few rounds at most.
void NormalizeLoudness(Buffer& mix, float lufs, float peakDb) {
    const float ceiling = DbToGain(peakDb);
    for (int round = 0; round < 4; ++round) {
        const float now = LoudestWindowLufs(mix);
        if (now < -150.0f) return;
        if (std::fabs(now - lufs) < 0.05f && Peak(mix) <= ceiling) return;
        Scale(mix, DbToGain(lufs - now));
        for (float& s : mix)
            s = BendUnder(s, ceiling);
    }
}

} // namespace

Buffer RenderPatch(const Patch& patch) {
    Buffer mix;
    for (const Layer& layer : patch.layers) {
        Rng placement(layer.seed ^ 0xA5A5A5A5u);
        const float gain = DbToGain(layer.gainDb);
        for (int c = 0; c < layer.copies; ++c) {
            float start = layer.at;
            float ratio = 1.0f;
            float copyGain = gain;
            if (layer.copies > 1) {
                start += placement.Unit() * layer.spread;
                ratio = 1.0f + layer.varyPitch * placement.Bipolar();
                copyGain *= DbToGain(layer.varyGainDb * placement.Bipolar());
            }
            const Buffer one = RenderLayer(layer, layer.seed + uint32_t(c) * 104729u, ratio, copyGain);
            MixInto(mix, one, 1.0f, SamplesFor(start));
        }
    }
    // Brown noise and low sweeps leave a slow drift below hearing; it would only waste headroom.
    Biquad dcBlock;
    dcBlock.SetHighPass(25.0f);
    for (float& s : mix)
        s = dcBlock.Process(s);
    if (patch.drive > 0.0f) {
        NormalizeTo(mix, 0.0f);
        const float norm = 1.0f / SoftClip(patch.drive);
        for (float& s : mix)
            s = SoftClip(s * patch.drive) * norm;
    }
    const float peakDb = std::min(patch.peakDb, kMaxPeakDb);
    if (patch.loopSeconds > 0.0f) {
        const size_t loop = SamplesFor(patch.loopSeconds);
        if (mix.size() < loop + SamplesFor(patch.loopFade))
            mix.resize(loop + SamplesFor(patch.loopFade), 0.0f);
        MakeLoop(mix, patch.loopSeconds, patch.loopFade);
        NormalizeLoudness(mix, kEffectLoudnessLufs + patch.levelDb, peakDb);
        return mix;
    }
    NormalizeLoudness(mix, kEffectLoudnessLufs + patch.levelDb, peakDb);
    TrimSilence(mix, kSilenceDb, 0.002f);
    if (patch.fadeOut > 0.0f) FadeOut(mix, patch.fadeOut);
    // Both ends reach exact zero, so starting or stopping the sample never clicks.
    FadeIn(mix, 0.0005f);
    FadeOut(mix, 0.002f);
    return mix;
}

} // namespace kel::synth
