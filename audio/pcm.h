// Decoded sound in memory and the two decoders that make it: WAV (PCM 8/16-bit) and MP3 (libmpg123).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct mpg123_handle_struct;

namespace kel {

// Interleaved signed 16-bit frames.
struct PcmSound {
    std::vector<int16_t> samples;
    int channels = 0; // 1 or 2
    int rate = 0;     // frames per second
    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Limits that keep a damaged or hostile file from asking for absurd work.
constexpr int kMinSampleRate = 1000;                       // Hz
constexpr int kMaxSampleRate = 192000;                     // Hz
constexpr size_t kMaxDecodedSamples = 32u * 1024u * 1024u; // 64 MiB of 16-bit samples

// Parses a RIFF/WAVE file of PCM 8 or 16 bit, mono or stereo. Chunks may come in any order and are
// padded to even sizes; a data chunk cut short by the end of the file keeps its whole frames.
// Never reads outside [data, data + size). On failure returns false and sets *why.
bool ParseWav(const uint8_t* data, size_t size, PcmSound* out, std::string* why);

// True when the bytes start like a RIFF/WAVE file (then they are never tried as anything else).
bool LooksLikeWav(const uint8_t* data, size_t size);

// Decodes a whole MP3 held in memory through libmpg123. False when nothing decodes.
bool DecodeMp3(const uint8_t* data, size_t size, PcmSound* out);

// An MP3 held in memory, decoded piece by piece to 16-bit frames for the music stream. Gapless
// decoding stays on, so a piece encoded with its LAME tag loops without silence at the seam.
class Mp3Stream {
  public:
    Mp3Stream() = default;
    ~Mp3Stream();
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    // Takes the bytes (from malloc) in every case; they are freed by Close.
    bool Open(void* bytes, size_t size);
    void Close();
    bool IsOpen() const { return handle != nullptr; }
    // Back to the first frame; false when closed or the decoder cannot seek.
    bool Rewind();
    int Channels() const { return channels; }
    int Rate() const { return rate; }

    // Writes up to maxFrames frames of Channels() samples; with loop it seeks back to the start at
    // the end and carries on in the same call. Returns the frames written, 0 once the piece is over.
    size_t Read(int16_t* out, size_t maxFrames, bool loop);

    // For the memory reader callbacks.
    struct Memory {
        uint8_t* bytes = nullptr;
        size_t size = 0;
        size_t position = 0;
    };

  private:
    ::mpg123_handle_struct* handle = nullptr;
    Memory memory;
    int channels = 0;
    int rate = 0;
};

} // namespace kel
