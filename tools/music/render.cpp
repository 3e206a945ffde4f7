// Sequencer and mix. Sections: the circular room; placing notes; loudness and peaks.
#include "render.h"

#include "instruments.h"
#include "synth/synth.h"

#include <algorithm>
#include <cmath>

namespace kel::music {

namespace {

// ---- the circular room -----------------------------------------------------------------------

// A small Schroeder room: parallel damped combs into serial all-passes.
class Room {
  public:
    explicit Room(int spread) {
        static constexpr int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static constexpr int kAllpasses[] = {556, 441, 341, 225};
        for (int length : kCombs)
            combs.push_back(Line{std::vector<float>(size_t(length + spread), 0.0f), 0, 0.0f});
        for (int length : kAllpasses)
            allpasses.push_back(Line{std::vector<float>(size_t(length + spread), 0.0f), 0, 0.0f});
    }

    float Process(float input) {
        float sum = 0.0f;
        for (Line& c : combs) {
            float out = c.buffer[c.index];
            c.store = out * (1.0f - kDamp) + c.store * kDamp;
            c.buffer[c.index] = input + c.store * kFeedback;
            if (++c.index == c.buffer.size()) c.index = 0;
            sum += out;
        }
        for (Line& a : allpasses) {
            float delayed = a.buffer[a.index];
            float out = delayed - sum;
            a.buffer[a.index] = sum + delayed * 0.5f;
            if (++a.index == a.buffer.size()) a.index = 0;
            sum = out;
        }
        return sum;
    }

  private:
    struct Line {
        std::vector<float> buffer;
        size_t index = 0;
        float store = 0.0f; // the comb's damping filter
    };
    static constexpr float kFeedback = 0.82f;
    static constexpr float kDamp = 0.3f;
    std::vector<Line> combs;
    std::vector<Line> allpasses;
};

// Seconds of warm-up: the combs lose 60 dB in about a second, so after this the rest is far below
// the 16-bit floor.
constexpr double kRoomWarmSeconds = 6.0;

// ---- placing notes ---------------------------------------------------------------------------

// Adds `sound` at `start` into `buffer`, wrapping past the end to the start.
void AddWrapped(std::vector<float>& buffer, size_t start, const std::vector<float>& sound, float gain) {
    size_t n = buffer.size();
    size_t at = start % n;
    for (float s : sound) {
        buffer[at] += s * gain;
        if (++at == n) at = 0;
    }
}

std::vector<float> RenderVoice(const Voice& voice, size_t voiceIndex, double framesPerBeat, size_t frames,
                               double secondsPerBeat) {
    std::vector<float> mono(frames, 0.0f);
    std::vector<float> sound;
    for (size_t n = 0; n < voice.notes.size(); ++n) {
        const NoteEvent& note = voice.notes[n];
        uint32_t seed = uint32_t(voiceIndex * 100003u + n);
        if (voice.instrument == Instrument::Kit) {
            RenderDrum(Drum(note.pitch), note.velocity, seed, sound);
        } else {
            // Notes are released a touch early so repeated notes keep their attacks apart.
            double seconds = std::max(0.02, note.lengthBeats * secondsPerBeat - 0.015);
            RenderNote(voice.instrument, PitchHz(note.pitch), seconds, note.velocity, seed, sound);
        }
        size_t start = size_t(std::llround(note.startBeats * framesPerBeat));
        AddWrapped(mono, start, sound, voice.volume);
    }
    // Instruments leave a small offset (up to about 0.008). The blocker runs over the loop twice,
    // keeping the second pass, so its state at the start already follows the end: no seam.
    synth::DcBlocker blocker;
    for (float s : mono)
        blocker.Process(s);
    for (float& s : mono)
        s = blocker.Process(s);
    return mono;
}

// ---- loudness and peaks ----------------------------------------------------------------------

// Leaves samples below the knee alone and bends louder ones smoothly towards kPeakLimit. It has no
// memory, so it cannot put a seam into the loop.
float SoftLimit(float x) {
    constexpr float kKnee = 0.8f;
    float a = std::fabs(x);
    if (a <= kKnee) return x;
    float room = kPeakLimit - kKnee;
    float bent = kKnee + room * std::tanh((a - kKnee) / room);
    return x < 0.0f ? -bent : bent;
}

} // namespace

size_t LoopFrames(const Score& score) {
    return size_t(std::llround(score.LoopSeconds() * kSampleRate));
}

double Rms(const StereoLoop& loop) {
    double sum = 0.0;
    for (size_t i = 0; i < loop.Frames(); ++i)
        sum += double(loop.left[i]) * loop.left[i] + double(loop.right[i]) * loop.right[i];
    return loop.Frames() == 0 ? 0.0 : std::sqrt(sum / (2.0 * double(loop.Frames())));
}

float Loudness(const StereoLoop& loop) {
    return synth::IntegratedLufs(loop.left, loop.right);
}

StereoLoop RenderScore(const Score& score, std::vector<double>* voiceRms) {
    StereoLoop loop;
    size_t frames = LoopFrames(score);
    loop.left.assign(frames, 0.0f);
    loop.right.assign(frames, 0.0f);
    if (frames == 0) return loop;
    double secondsPerBeat = 60.0 / score.tempo;
    double framesPerBeat = secondsPerBeat * kSampleRate;

    std::vector<float> send(frames, 0.0f);
    for (size_t v = 0; v < score.voices.size(); ++v) {
        const Voice& voice = score.voices[v];
        std::vector<float> mono = RenderVoice(voice, v, framesPerBeat, frames, secondsPerBeat);
        if (voiceRms) {
            double sum = 0.0;
            for (float s : mono)
                sum += double(s) * s;
            voiceRms->push_back(std::sqrt(sum / double(frames)));
        }
        // Constant-power pan.
        double angle = (double(voice.pan) + 1.0) * 0.25 * 3.14159265358979323846;
        float gl = float(std::cos(angle)), gr = float(std::sin(angle));
        // Bass and kick stay drier so the low end keeps its punch.
        float wet = voice.instrument == Instrument::Bass || voice.instrument == Instrument::SynthBass ||
                            voice.instrument == Instrument::Kit
                        ? 0.4f
                        : 1.0f;
        for (size_t i = 0; i < frames; ++i) {
            loop.left[i] += mono[i] * gl;
            loop.right[i] += mono[i] * gr;
            send[i] += mono[i] * wet;
        }
    }

    if (score.reverb > 0.0f) {
        Room roomL(0), roomR(23);
        float gain = score.reverb * 0.12f;
        // Warm the room on the last seconds of the loop, so its state at the start already holds
        // the echo of the end; anything older has died away long before.
        size_t warm = std::min(frames, size_t(kRoomWarmSeconds * kSampleRate));
        for (size_t i = frames - warm; i < frames; ++i) {
            roomL.Process(send[i]);
            roomR.Process(send[i]);
        }
        // Each side hears mostly its own room and some of the other, so a wet piece (Diving) keeps a
        // left/right correlation above 0.5 and does not thin out on a mono speaker.
        constexpr float kOwnRoom = 0.75f, kOtherRoom = 0.25f;
        for (size_t i = 0; i < frames; ++i) {
            const float l = roomL.Process(send[i]) * gain, r = roomR.Process(send[i]) * gain;
            loop.left[i] += l * kOwnRoom + r * kOtherRoom;
            loop.right[i] += r * kOwnRoom + l * kOtherRoom;
        }
    }

    const float lufs = Loudness(loop);
    float scale = lufs > -150.0f ? synth::DbToGain(kTargetLufs - lufs) : 1.0f;
    for (size_t i = 0; i < frames; ++i) {
        loop.left[i] = SoftLimit(loop.left[i] * scale);
        loop.right[i] = SoftLimit(loop.right[i] * scale);
    }
    return loop;
}

} // namespace kel::music
