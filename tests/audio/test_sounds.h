// Test sounds made in the test (sine tones as WAV bytes and as MP3 bytes), a scratch folder to
// hold them as "sound/<name>", and a reader for the wave writer's output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kel::test {

// A sine tone of 16-bit samples at amplitude (0..1), the same in every channel.
std::vector<int16_t> SineFrames(double hz, int rate, double seconds, int channels, double amplitude);

// A RIFF/WAVE file around 16-bit PCM frames.
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

// What the OpenAL wave writer recorded: stereo or mono 16-bit frames.
struct Recording {
    std::vector<int16_t> samples;
    int channels = 0;
    int rate = 0;
    bool ok = false;

    // Added to every time asked about below: the recording starts when the mixer does, which the
    // caller can only find from the sound itself (see Onset).
    double offset = 0.0;

    double Seconds() const;
    // Time of the first sample louder than threshold (0..1) in any channel; -1 when none is.
    double Onset(double threshold) const;
    // Root mean square over [from, to) seconds of one channel (0 left, 1 right), 0..1.
    double Rms(int channel, double from, double to) const;
    // Frequency from upward zero crossings of one channel over [from, to) seconds.
    double Frequency(int channel, double from, double to) const;
    // The quietest window of `window` seconds inside [from, to), as RMS.
    double QuietestWindow(int channel, double from, double to, double window) const;
};

Recording ReadRecording(const std::string& path);

} // namespace kel::test
