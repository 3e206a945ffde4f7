// The music instruments: each renders one note, mono, at 44.1 kHz, including its release tail.
#pragma once

#include "score.h"

#include <cstdint>
#include <vector>

namespace kel::music {

constexpr int kSampleRate = 44100; // Hz

// Renders a pitched note of `hz` held for `seconds`, into `out` (resized to the note and its tail).
// `seed` feeds the noise of breathy or plucked sounds, so the same arguments give the same samples.
void RenderNote(Instrument instrument, double hz, double seconds, float velocity, uint32_t seed,
                std::vector<float>& out);

// Renders one drum hit into `out` (resized to the hit's length).
void RenderDrum(Drum drum, float velocity, uint32_t seed, std::vector<float>& out);

} // namespace kel::music
