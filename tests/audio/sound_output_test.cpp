// What the game really plays: OpenAL Soft's wave writer mixes everything into a WAV file in real
// time, which the tests read back and measure (level, frequency by zero crossings, balance).
// Times are seconds on the test's clock, tied to the recording by the first sound heard; checks
// keep a margin of a few mixer blocks.
//
// Sections: wave writer set-up; test sounds; fixture; effects; music; other drivers (no device,
// null driver) in fresh processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "audio/sound.h"
#include "audio/test_sounds.h"
#include "platform/log.h"

namespace kel {
namespace {

constexpr const char* kNoDeviceChild = "KELVARO_AUDIO_NO_DEVICE_CHILD";

// OpenAL Soft reads its drivers and configuration once per process, at its first use, so the
// wave writer is chosen before any test runs.
struct WaveWriter {
    std::string config;
    std::string output;
    WaveWriter() {
        if (std::getenv(kNoDeviceChild)) return;
        std::string stem = "/tmp/kelvaro-audio-wave-" + std::to_string(getpid());
        config = stem + ".conf";
        output = stem + ".wav";
        std::ofstream file(config);
        file << "[general]\nsample-type = int16\nfrequency = 44100\nchannels = stereo\nhrtf = false\n"
             << "[wave]\nfile = " << output << "\n";
        file.close();
        setenv("ALSOFT_CONF", config.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
    }
    ~WaveWriter() {
        if (!config.empty()) std::remove(config.c_str());
        if (!output.empty()) std::remove(output.c_str());
    }
};
const WaveWriter gWaveWriter;

constexpr int kTone = 0;       // 440 Hz, mono 16-bit at 22050 Hz, 0.5 s
constexpr int kStereoTone = 1; // 440 Hz, stereo 16-bit at 44100 Hz, 0.25 s
constexpr int kByteTone = 2;   // 330 Hz, mono 8-bit at 11025 Hz, 0.25 s
constexpr int kMp3Tone = 3;    // 550 Hz, an MP3 under a .wav name, 0.25 s
constexpr int kHostile = 4;
const EffectRow kTable[] = {{kTone, "tone"},
                            {kStereoTone, "stereotone"},
                            {kByteTone, "bytetone"},
                            {kMp3Tone, "mp3tone"},
                            {kHostile, "hostile"}};

constexpr double kToneHz = 440.0;
constexpr double kAmplitude = 0.5;
constexpr double kTolerance = 0.015; // relative, for frequencies

std::vector<uint8_t> EightBitWav(double hz, int rate, double seconds) {
    auto samples = test::SineFrames(hz, rate, seconds, 1, kAmplitude);
    auto wav = test::MakeWav16(samples, 1, rate);
    // Rewrite as 8-bit: same header with halved sizes, unsigned bytes.
    std::vector<uint8_t> out(wav.begin(), wav.begin() + 44);
    uint32_t bytes = static_cast<uint32_t>(samples.size());
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(4, 36 + bytes);
    put32(28, static_cast<uint32_t>(rate));
    out[32] = 1;
    out[34] = 8;
    put32(40, bytes);
    for (int16_t s : samples)
        out.push_back(static_cast<uint8_t>((s >> 8) + 128));
    return out;
}

constexpr double kSettle = 0.05; // seconds
constexpr double kGuard = 0.04;  // seconds
constexpr double kOnsetLevel = 0.01;

struct Segment {
    double from = 0.0;
    double to = 0.0;
};

class SoundOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.WriteSound("tone.wav",
                          test::MakeWav16(test::SineFrames(kToneHz, 22050, 0.5, 1, kAmplitude), 1, 22050));
        folder.WriteSound("stereotone.wav",
                          test::MakeWav16(test::SineFrames(kToneHz, 44100, 0.25, 2, kAmplitude), 2, 44100));
        folder.WriteSound("bytetone.wav", EightBitWav(330.0, 11025, 0.25));
        folder.WriteSound("mp3tone.wav",
                          test::MakeMp3(test::SineFrames(550.0, 44100, 0.25, 1, kAmplitude), 44100));
        std::vector<uint8_t> hostile = {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0xFF, 'W',  'A', 'V',
                                        'E', 'f', 'm', 't', ' ',  0xF0, 0xFF, 0xFF, 0xFF, 1,   0};
        folder.WriteSound("hostile.wav", hostile);
        SetLogSink(&log);
        ASSERT_TRUE(StartSound()) << "the wave writer device did not open";
        start = std::chrono::steady_clock::now();
        SetEffectsVolume(100);
        SetMusicVolume(100);
        LoadEffects(kTable, 5);
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

    // Every test's first action starts a sound; where it begins in the recording ties the
    // recording's clock to ours.
    test::Recording Finish() {
        ShutDownSound();
        test::Recording r = test::ReadRecording(gWaveWriter.output);
        EXPECT_TRUE(r.ok) << "no recording in " << gWaveWriter.output;
        double onset = r.Onset(kOnsetLevel);
        EXPECT_GE(onset, 0.0) << "nothing was heard";
        if (onset >= 0.0 && firstAction >= 0.0) r.offset = onset - firstAction;
        return r;
    }

    CaptureLogSink log;
    test::ScratchFolder folder;
    std::chrono::steady_clock::time_point start;
    double firstAction = -1.0; // seconds
};

TEST_F(SoundOutput, EffectComesOutAtItsFrequencyAndPitchAndStops) {
    uint32_t h = PlayEffect(kTone, 100, 0, 1.33f, true);
    ASSERT_NE(h, 0u);
    Segment raised = HoldFor(0.3);
    SetChannelPitch(h, 1.0f);
    Segment playing = HoldFor(0.3);
    StopChannel(h);
    Segment stopped = HoldFor(0.2);
    test::Recording r = Finish();
    ASSERT_GE(r.Seconds(), stopped.to);
    EXPECT_NEAR(r.Frequency(0, raised.from, raised.to), kToneHz * 1.33, kToneHz * 1.33 * kTolerance);
    EXPECT_NEAR(r.Frequency(0, playing.from, playing.to), kToneHz, kToneHz * kTolerance);
    EXPECT_GT(r.Rms(0, playing.from, playing.to), 0.15);
    EXPECT_GT(r.Rms(1, playing.from, playing.to), 0.15);
    EXPECT_LT(r.Rms(0, stopped.from, stopped.to), 0.002) << "still sounding after StopChannel";
}

TEST_F(SoundOutput, PanMovesEnergyBetweenChannelsAndVolumesScaleTheLevel) {
    uint32_t h = PlayEffect(kTone, 100, -100, 1.0f, true);
    Segment left = HoldFor(0.25);
    SetChannelPan(h, 100);
    Segment right = HoldFor(0.25);
    SetChannelPan(h, 0);
    Segment full = HoldFor(0.25);
    SetEffectsVolume(50);
    Segment half = HoldFor(0.2);
    SetChannelVolume(h, 50.0f);
    Segment quarter = HoldFor(0.2);
    SetEffectsVolume(0);
    Segment silent = HoldFor(0.2);
    test::Recording r = Finish();
    EXPECT_GT(r.Rms(0, left.from, left.to), 4.0 * r.Rms(1, left.from, left.to));
    EXPECT_GT(r.Rms(1, right.from, right.to), 4.0 * r.Rms(0, right.from, right.to));
    const double level = r.Rms(0, full.from, full.to);
    EXPECT_NEAR(level / r.Rms(1, full.from, full.to), 1.0, 0.05) << "centred";
    ASSERT_GT(level, 0.1);
    EXPECT_NEAR(r.Rms(0, half.from, half.to) / level, 0.5, 0.05);
    EXPECT_NEAR(r.Rms(0, quarter.from, quarter.to) / level, 0.25, 0.03);
    EXPECT_LT(r.Rms(0, silent.from, silent.to), 0.002);
}

TEST_F(SoundOutput, EveryKindOfEffectFilePlays) {
    EXPECT_EQ(PlayEffect(kHostile, 100, 0, 1.0f, false), 0u);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_NE(log.Lines().back().find("hostile"), std::string::npos);
    // Each sound lasts 0.25 s; the next starts 0.3 s later.
    PlayEffect(kStereoTone, 100, 0, 1.0f, false);
    Segment stereo = HoldFor(0.3);
    PlayEffect(kByteTone, 100, 0, 1.0f, false);
    Segment bytes = HoldFor(0.3);
    PlayEffect(kMp3Tone, 100, 0, 1.0f, false);
    Segment mp3 = HoldFor(0.3);
    test::Recording r = Finish();
    constexpr double kTail = 0.05; // the sound ends 0.05 s before the segment
    EXPECT_NEAR(r.Frequency(0, stereo.from, stereo.to - kTail), kToneHz, kToneHz * kTolerance);
    EXPECT_NEAR(r.Frequency(1, stereo.from, stereo.to - kTail), kToneHz, kToneHz * kTolerance);
    EXPECT_NEAR(r.Frequency(0, bytes.from, bytes.to - kTail), 330.0, 330.0 * kTolerance);
    EXPECT_NEAR(r.Frequency(0, mp3.from, mp3.to - kTail), 550.0, 550.0 * kTolerance);
    EXPECT_GT(r.Rms(0, mp3.from, mp3.to - kTail), 0.1);
}

TEST_F(SoundOutput, MusicLoopsWithoutAGapAndFollowsVolumeMuteAndStop) {
    folder.WriteSound("Loop.mp3", test::MakeMp3(test::SineFrames(kToneHz, 44100, 0.2, 1, kAmplitude), 44100));
    PlayMusic("Loop.mp3", true);
    Segment full = HoldFor(1.0);
    SetMusicVolume(50);
    Segment half = HoldFor(0.2);
    SetMusicVolume(0);
    PlayMusic("Other.mp3", true); // muted: ignored, the loop keeps running silently
    Segment muted = HoldFor(0.2);
    SetMusicVolume(100);
    Segment back = HoldFor(0.2);
    StopMusic();
    Segment stopped = HoldFor(0.2);
    test::Recording r = Finish();
    double level = r.Rms(0, full.from, full.to);
    ASSERT_GT(level, 0.1);
    // A 10 ms window anywhere over four seams keeps most of the level.
    EXPECT_GT(r.QuietestWindow(0, full.from, full.to, 0.01), 0.7 * level);
    EXPECT_NEAR(r.Frequency(0, full.from, full.to), kToneHz, kToneHz * kTolerance);
    EXPECT_NEAR(r.Rms(0, half.from, half.to) / level, 0.5, 0.05);
    EXPECT_LT(r.Rms(0, muted.from, muted.to), 0.002);
    EXPECT_NEAR(r.Rms(0, back.from, back.to) / level, 1.0, 0.05) << "the old piece came back on unmuting";
    EXPECT_LT(r.Rms(0, stopped.from, stopped.to), 0.002);
}

// OpenAL picks its drivers once per process, so runs under other drivers happen in a fresh copy
// of the test program. The child exits with a bit set for every expectation it found broken.
template <typename Body> void InFreshProcessWithDrivers(const char* drivers, Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* previous = std::getenv("ALSOFT_DRIVERS");
    std::string saved = previous ? previous : "";
    setenv(kNoDeviceChild, "1", 1);
    setenv("ALSOFT_DRIVERS", drivers, 1);
    EXPECT_EXIT(std::exit(body()), ::testing::ExitedWithCode(0), "");
    unsetenv(kNoDeviceChild);
    setenv("ALSOFT_DRIVERS", saved.c_str(), 1);
}

// Plays a bit of everything and reports which handles came back (bit 2: some effect got a
// channel, bit 3: the music name was kept).
int PlayABitOfEverything() {
    test::ScratchFolder folder;
    folder.WriteSound("tone.wav", test::MakeWav16(test::SineFrames(kToneHz, 22050, 0.1, 1, 0.5), 1, 22050));
    folder.WriteSound("Loop.mp3", test::MakeMp3(test::SineFrames(kToneHz, 44100, 0.1, 1, 0.5), 44100));
    int seen = StartSound() ? 1 : 0;
    LoadEffects(kTable, 5);
    uint32_t h = PlayEffect(kTone, 100, 0, 1.0f, true);
    if (h != 0) seen |= 2;
    SetChannelVolume(h, 50.0f);
    SetChannelPitch(h, 2.0f);
    SetChannelPan(h, -50);
    StopChannel(h);
    PlayMusic("Loop.mp3", true);
    if (std::string(CurrentMusic()) == "Loop.mp3") seen |= 4;
    for (int frame = 0; frame < 10; ++frame)
        UpdateSound();
    SetEffectsVolume(10);
    SetMusicVolume(10);
    StopMusic();
    ShutDownSound();
    return seen;
}

TEST(SoundNoDevice, StartsSilentAndEveryCallIsHarmless) {
    InFreshProcessWithDrivers("kelvaro-no-such-driver", [] { return PlayABitOfEverything() ^ 4; });
}

TEST(SoundNullDriver, PlaysIntoNothingWithoutHarm) {
    InFreshProcessWithDrivers("null", [] { return PlayABitOfEverything() ^ 7; });
}

} // namespace
} // namespace kel
