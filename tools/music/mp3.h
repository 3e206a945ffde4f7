// MP3 encoding of a loop (libmp3lame) with the LAME tag that lets decoders trim the encoder's delay
// and padding, so the decoded loop has exactly the rendered length and plays gaplessly.
#pragma once

#include "render.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel::music {

constexpr int kMp3Kbps = 128;

// Encodes the loop as 44.1 kHz joint stereo at kMp3Kbps. False, with `error` set, on failure.
bool EncodeMp3(const StereoLoop& loop, std::vector<unsigned char>& mp3, std::string& error);

// Decodes MP3 bytes with libmpg123 (gapless trimming on) into the loop. False, with `error` set,
// when the data cannot be decoded or is not 44.1 kHz stereo.
bool DecodeMp3(const std::vector<unsigned char>& mp3, StereoLoop& loop, std::string& error);

} // namespace kel::music
