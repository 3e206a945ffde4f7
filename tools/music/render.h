// Renders a score into one seamless stereo loop: every note's tail and the room's echo wrap from
// the end of the loop into its start, so playing the loop over and over has no seam.
#pragma once

#include "instruments.h"
#include "score.h"

#include <cstdint>
#include <vector>

namespace kel::music {

// Integrated loudness every piece is brought to: 4 dB or more under the effects (whose loudest
// 100 ms sit near -11.5 LUFS), so a soft effect is never masked by the music.
constexpr float kTargetLufs = -20.0f;
// Samples are kept at or below this magnitude.
constexpr float kPeakLimit = 0.97f;

struct StereoLoop {
    std::vector<float> left;
    std::vector<float> right;
    size_t Frames() const { return left.size(); }
};

// Frames in one pass of the loop at 44.1 kHz.
size_t LoopFrames(const Score& score);

// Renders a parsed, error-free score; the same score always gives the same samples. When
// `voiceRms` is given it receives each voice's RMS before the final level is set, to balance a mix.
StereoLoop RenderScore(const Score& score, std::vector<double>* voiceRms = nullptr);

// RMS over both channels.
double Rms(const StereoLoop& loop);
// Integrated loudness of both channels, in LUFS.
float Loudness(const StereoLoop& loop);

} // namespace kel::music
