// Test sounds made in the test (sine tones as WAV bytes and as MP3 bytes), and a scratch folder to
// hold them as "sound/<name>".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kel::test {

// A sine tone of 16-bit samples at amplitude (0..1), the same in every channel.
std::vector<int16_t> SineFrames(double hz, int rate, double seconds, int channels, double amplitude);

// Little-endian fields written into bytes, and the pieces of a RIFF/WAVE file: a chunk (padded to
// an even size), a "fmt " body for a format tag, and the file around its chunks.
void Set16(std::vector<uint8_t>& bytes, size_t at, uint16_t v);
void Set32(std::vector<uint8_t>& bytes, size_t at, uint32_t v);
std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body);
std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks);

// A RIFF/WAVE file around 16-bit PCM frames, with the canonical 44-byte header.
std::vector<uint8_t> MakeWav16(const std::vector<int16_t>& samples, int channels, int rate);

// A mono MP3 of the samples at 44100 Hz, with the LAME tag written over its first frame so that
// gapless decoding trims the encoder's delay and padding.
std::vector<uint8_t> MakeMp3(const std::vector<int16_t>& samples, int rate);

// A fresh folder under /tmp that becomes the working folder until destroyed; files go to
// "sound/<name>" inside it.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    void WriteSound(const std::string& name, const std::vector<uint8_t>& bytes) const;
    const std::string& Path() const { return path; }

  private:
    std::string path;
    std::string previous;
};

} // namespace kel::test
