// libFuzzer target: the music score parser on arbitrary text. A score it accepts must be one the
// renderer can play as a seamless loop: header values in their ranges, every voice exactly the
// loop long, every note a real pitch (or drum) that starts and ends inside the loop.
#include "fuzz/fuzz_support.h"
#include "music/score.h"

namespace {

using namespace kel::music;
using kel::Within;

constexpr double kEpsilonBeats = 1e-6;
constexpr int kDrumCount = 10;

void RequirePlayable(const Score& score) {
    FUZZ_REQUIRE(Within(score.tempo, 40.0, 240.0) && Within(score.meterBeats, 1, 16) &&
                 !score.voices.empty());
    FUZZ_REQUIRE(score.meterUnit == 2 || score.meterUnit == 4 || score.meterUnit == 8 ||
                 score.meterUnit == 16);
    FUZZ_REQUIRE(Within(score.bars, 1, 256) && Within(score.reverb, 0.0f, 1.0f));
    const double loop = score.LoopBeats();
    FUZZ_REQUIRE(std::isfinite(score.LoopSeconds()) && score.LoopSeconds() > 0.0);
    for (size_t v = 0; v < score.voices.size(); ++v) {
        const Voice& voice = score.voices[v];
        FUZZ_REQUIRE(!voice.name.empty());
        for (size_t other = 0; other < v; ++other)
            FUZZ_REQUIRE(score.voices[other].name != voice.name);
        FUZZ_REQUIRE(Within(voice.volume, 0.0f, 2.0f) && Within(voice.pan, -1.0f, 1.0f));
        FUZZ_REQUIRE(Within(voice.octave, 1, 7) && voice.stepBeats > 0.0);
        FUZZ_REQUIRE(std::fabs(voice.lengthBeats - loop) <= kEpsilonBeats);
        const int highest = voice.instrument == Instrument::Kit ? kDrumCount - 1 : 127;
        double lastStart = 0.0;
        for (const NoteEvent& note : voice.notes) {
            FUZZ_REQUIRE(Within(note.pitch, 0, highest) && note.velocity > 0.0f && note.velocity <= 1.0f);
            FUZZ_REQUIRE(note.startBeats >= lastStart && note.lengthBeats > 0.0); // in playing order
            FUZZ_REQUIRE(note.startBeats + note.lengthBeats <= loop + kEpsilonBeats);
            lastStart = note.startBeats;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = {reinterpret_cast<const char*>(data), size};
    const ParseResult result = ParseScore(text, "fuzz.kms");
    if (result.Ok()) RequirePlayable(result.score);
    for (const std::string& error : result.errors)
        kel::RequireErrorNamesALine(error, "fuzz.kms:", text);
    return 0;
}
