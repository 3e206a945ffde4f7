// What the game really plays: OpenAL Soft's wave writer mixes everything into a WAV file in real
// time, which the tests read back and measure (level, frequency by zero crossings, balance). The
// rules themselves (gains, muting, queueing) are tested offline in sound_logic_test; these check
// that the OpenAL backend carries them out. Times are seconds on the test's clock, tied to the
// recording by the first sound heard; checks keep a margin of a few mixer blocks. Without a device
// every call is harmless (SoundSilent in sound_logic_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "audio/pcm.h"
#include "audio/sound.h"
#include "audio/test_sounds.h"
#include "platform/log.h"

namespace kel {
namespace {

// OpenAL Soft reads its drivers and configuration once per process, at its first use, so the
// wave writer is chosen before any test runs.
struct WaveWriter {
    const std::string stem = "/tmp/kelvaro-audio-wave-" + std::to_string(getpid());
    const std::string config = stem + ".conf", output = stem + ".wav";
    WaveWriter() {
        std::ofstream(config) << "[general]\nsample-type = int16\nfrequency = 44100\nchannels = stereo\nhrtf = false\n"
                              << "[wave]\nfile = " << output << "\n";
        setenv("ALSOFT_CONF", config.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
    }
    ~WaveWriter() {
        std::remove(config.c_str());
        std::remove(output.c_str());
    }
};
const WaveWriter gWaveWriter;

constexpr int kTone = 0;       // 440 Hz, mono 16-bit at 22050 Hz, 0.5 s
constexpr int kStereoTone = 1; // 440 Hz, stereo 16-bit at 44100 Hz, 0.25 s
const EffectRow kTable[] = {{kTone, "tone"}, {kStereoTone, "stereotone"}};

constexpr double kToneHz = 440.0, kAmplitude = 0.5;
constexpr double kTolerance = 0.015;              // relative, for frequencies
constexpr double kSettle = 0.05, kGuard = 0.04;   // seconds
constexpr double kOnsetLevel = 0.01;

struct Segment {
    double from, to;
};

// What the wave writer recorded, measured over stretches of seconds on the test's clock: offset
// ties the recording's clock to ours.
struct Recording {
    PcmSound pcm;
    double offset = 0.0;

    double Seconds() const { return pcm.rate > 0 ? double(pcm.Frames()) / pcm.rate : 0.0; }
    double At(size_t frame, int channel) const {
        return pcm.samples[frame * size_t(pcm.channels) + size_t(std::min(channel, pcm.channels - 1))] / 32768.0;
    }
    std::pair<size_t, size_t> Frames(double from, double to) const {
        auto at = [&](double t) { return std::min(pcm.Frames(), size_t(std::max(0.0, (t + offset) * pcm.rate))); };
        return {at(from), at(to)};
    }
    double Rms(int channel, double from, double to) const {
        const auto [a, b] = Frames(from, to);
        double sum = 0.0;
        for (size_t i = a; i < b; ++i)
            sum += At(i, channel) * At(i, channel);
        return b > a ? std::sqrt(sum / double(b - a)) : 0.0;
    }
    // From upward zero crossings.
    double Frequency(int channel, double from, double to) const {
        const auto [a, b] = Frames(from, to);
        size_t first = 0, last = 0;
        int crossings = 0;
        for (size_t i = a + 1; i < b; ++i) {
            if (At(i - 1, channel) >= 0.0 || At(i, channel) < 0.0) continue;
            if (crossings++ == 0) first = i;
            last = i;
        }
        return crossings < 2 ? 0.0 : (crossings - 1) * double(pcm.rate) / double(last - first);
    }
    // The quietest window of `window` seconds inside [from, to), as RMS.
    double QuietestWindow(int channel, double from, double to, double window) const {
        double quietest = 1.0;
        for (double t = from; t + window <= to; t += window / 2)
            quietest = std::min(quietest, Rms(channel, t, t + window));
        return quietest;
    }
};

class SoundOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.WriteSound("tone.wav",
                          test::MakeWav16(test::SineFrames(kToneHz, 22050, 0.5, 1, kAmplitude), 1, 22050));
        folder.WriteSound("stereotone.wav",
                          test::MakeWav16(test::SineFrames(kToneHz, 44100, 0.25, 2, kAmplitude), 2, 44100));
        SetLogSink(&log);
        ASSERT_TRUE(StartSound()) << "the wave writer device did not open";
        start = std::chrono::steady_clock::now();
        SetEffectsVolume(100);
        SetMusicVolume(100);
        LoadEffects(kTable, 2);
    }
    void TearDown() override {
        ShutDownSound();
        SetEffectsVolume(100);
        SetMusicVolume(100);
        SetLogSink(nullptr);
    }

    double Now() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    // Runs for the given time after an action, keeping the music fed as the shell's frame loop
    // would, and returns the stretch of the recording where that action's result must hold. The
    // mixer works in blocks of about 23 ms and ramps gains, and a busy machine may be late to
    // wake, so the stretch is measured from when it really began and keeps a margin at each end.
    Segment HoldFor(double seconds) {
        double begin = Now();
        if (firstAction < 0.0) firstAction = begin;
        while (Now() < begin + seconds) {
            UpdateSound();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return Segment{begin + kSettle, Now() - kGuard};
    }

    // The first action starts a sound; where it begins in the recording ties the recording's
    // clock to ours.
    Recording Finish() {
        ShutDownSound();
        std::ifstream file(gWaveWriter.output, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        Recording r;
        std::string why;
        EXPECT_TRUE(ParseWav(bytes.data(), bytes.size(), &r.pcm, &why)) << gWaveWriter.output << ": " << why;
        const auto loud = std::find_if(r.pcm.samples.begin(), r.pcm.samples.end(),
                                       [](int16_t v) { return std::abs(v) > kOnsetLevel * 32768.0; });
        EXPECT_NE(loud, r.pcm.samples.end()) << "nothing was heard";
        if (loud != r.pcm.samples.end() && firstAction >= 0.0)
            r.offset = double(size_t(loud - r.pcm.samples.begin()) / size_t(r.pcm.channels)) / r.pcm.rate - firstAction;
        return r;
    }

    CaptureLogSink log;
    test::ScratchFolder folder;
    std::chrono::steady_clock::time_point start;
    double firstAction = -1.0; // seconds
};

// One timeline through what the backend carries out: pitch, pan, the two volumes and a stop on
// one channel, a stereo effect (queued as stereo), then a music loop, its volume and its stop.
TEST_F(SoundOutput, EffectsAndMusicComeOutAsTold) {
    folder.WriteSound("Loop.mp3", test::MakeMp3(test::SineFrames(kToneHz, 44100, 0.2, 1, kAmplitude), 44100));
    uint32_t h = PlayEffect(kTone, 100, -100, 1.33f, true);
    ASSERT_NE(h, 0u);
    Segment raisedLeft = HoldFor(0.3);
    SetChannelPitch(h, 1.0f);
    SetChannelPan(h, 100);
    Segment right = HoldFor(0.25);
    SetChannelPan(h, 0);
    Segment full = HoldFor(0.25);
    SetEffectsVolume(50);
    SetChannelVolume(h, 50.0f);
    Segment quarter = HoldFor(0.2);
    StopChannel(h);
    SetEffectsVolume(100);
    Segment stopped = HoldFor(0.2);
    PlayEffect(kStereoTone, 100, 0, 1.0f, false);
    Segment stereo = HoldFor(0.3);
    stereo.to -= 0.05; // the sound ends 0.05 s before the segment
    PlayMusic("Loop.mp3", true);
    Segment music = HoldFor(1.0);
    SetMusicVolume(50);
    Segment half = HoldFor(0.2);
    StopMusic();
    Segment silent = HoldFor(0.2);
    Recording r = Finish();
    ASSERT_GE(r.Seconds(), silent.to);

    EXPECT_NEAR(r.Frequency(0, raisedLeft.from, raisedLeft.to), kToneHz * 1.33, kToneHz * 1.33 * kTolerance);
    EXPECT_GT(r.Rms(0, raisedLeft.from, raisedLeft.to), 4.0 * r.Rms(1, raisedLeft.from, raisedLeft.to));
    EXPECT_NEAR(r.Frequency(1, right.from, right.to), kToneHz, kToneHz * kTolerance);
    EXPECT_GT(r.Rms(1, right.from, right.to), 4.0 * r.Rms(0, right.from, right.to));
    const double level = r.Rms(0, full.from, full.to);
    ASSERT_GT(level, 0.1);
    EXPECT_NEAR(level / r.Rms(1, full.from, full.to), 1.0, 0.05) << "centred";
    EXPECT_NEAR(r.Rms(0, quarter.from, quarter.to) / level, 0.25, 0.03);
    EXPECT_LT(r.Rms(0, stopped.from, stopped.to), 0.002) << "still sounding after StopChannel";
    for (int channel : {0, 1})
        EXPECT_NEAR(r.Frequency(channel, stereo.from, stereo.to), kToneHz, kToneHz * kTolerance) << channel;

    const double musicLevel = r.Rms(0, music.from, music.to);
    ASSERT_GT(musicLevel, 0.1);
    // A 10 ms window anywhere over four seams keeps most of the level.
    EXPECT_GT(r.QuietestWindow(0, music.from, music.to, 0.01), 0.7 * musicLevel);
    EXPECT_NEAR(r.Frequency(0, music.from, music.to), kToneHz, kToneHz * kTolerance);
    EXPECT_NEAR(r.Rms(0, half.from, half.to) / musicLevel, 0.5, 0.05);
    EXPECT_LT(r.Rms(0, silent.from, silent.to), 0.002);
}

} // namespace
} // namespace kel
