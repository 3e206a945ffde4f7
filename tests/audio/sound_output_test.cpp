// What only the OpenAL backend can get wrong: its wave writer mixes into a WAV file in real time,
// which is read back and measured. The rules themselves are in sound_logic_test. Times are seconds
// on the test's clock, tied to the recording by the first sound heard, with a margin of a few
// mixer blocks (about 23 ms each, with gain ramps) at each end of a stretch.
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

// OpenAL Soft reads its drivers and configuration once per process, so the wave writer is chosen
// before any test runs.
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

struct Segment {
    double from, to;
};

TEST(SoundOutput, PanVolumeStopAndMusicLoopComeOutAsTold) {
    CaptureLogSink log;
    SetLogSink(&log);
    test::ScratchFolder folder;
    folder.WriteSound("tone.wav", test::MakeWav16(test::SineFrames(440.0, 22050, 0.5, 1, 0.5), 1, 22050));
    folder.WriteSound("Loop.mp3", test::MakeMp3(test::SineFrames(440.0, 44100, 0.2, 1, 0.5), 44100));
    const EffectRow table[] = {{0, "tone"}};
    ASSERT_TRUE(StartSound()) << "the wave writer device did not open";
    const auto start = std::chrono::steady_clock::now();
    auto now = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    LoadEffects(table, 1);
    // Keeps the music fed as the frame loop would; a busy machine may wake late, so the stretch
    // runs from when the hold really began.
    auto hold = [&](double seconds) {
        const double begin = now();
        while (now() < begin + seconds) {
            UpdateSound();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return Segment{begin + 0.05, now() - 0.04};
    };
    const uint32_t h = PlayEffect(0, 100, -100, 1.0f, true);
    ASSERT_NE(h, 0u);
    const Segment left = hold(0.25);
    SetChannelPan(h, 100);
    const Segment right = hold(0.25);
    SetEffectsVolume(50);
    SetChannelVolume(h, 50.0f);
    const Segment quarter = hold(0.2);
    StopChannel(h);
    const Segment stopped = hold(0.2);
    PlayMusic("Loop.mp3", true);
    const Segment music = hold(1.0);
    SetMusicVolume(50);
    const Segment half = hold(0.2);
    StopMusic();
    const Segment silent = hold(0.2);
    ShutDownSound();
    SetEffectsVolume(100);
    SetMusicVolume(100);
    SetLogSink(nullptr);

    std::ifstream file(gWaveWriter.output, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    PcmSound pcm;
    std::string why;
    ASSERT_TRUE(ParseWav(bytes.data(), bytes.size(), &pcm, &why)) << why;
    const auto loud = std::find_if(pcm.samples.begin(), pcm.samples.end(), [](int16_t v) { return std::abs(v) > 327; });
    ASSERT_NE(loud, pcm.samples.end()) << "nothing was heard";
    // The effect was started just before the first stretch began.
    const double offset = double(size_t(loud - pcm.samples.begin()) / 2) / pcm.rate - (left.from - 0.05);
    ASSERT_GE(double(pcm.Frames()) / pcm.rate, silent.to + offset);
    auto rms = [&](int channel, double from, double to) {
        const size_t a = size_t((from + offset) * pcm.rate), b = size_t((to + offset) * pcm.rate);
        double sum = 0.0;
        for (size_t i = a; i < b; ++i)
            sum += std::pow(pcm.samples[2 * i + size_t(channel)] / 32768.0, 2);
        return std::sqrt(sum / double(b - a));
    };
    EXPECT_GT(rms(0, left.from, left.to), 4.0 * rms(1, left.from, left.to)) << "pan -100 is left";
    const double level = rms(1, right.from, right.to);
    ASSERT_GT(level, 0.1);
    EXPECT_GT(level, 4.0 * rms(0, right.from, right.to)) << "pan 100 is right";
    EXPECT_NEAR(rms(1, quarter.from, quarter.to) / level, 0.25, 0.03) << "effects volume times channel volume";
    EXPECT_LT(rms(1, stopped.from, stopped.to), 0.002) << "still sounding after StopChannel";
    const double musicLevel = rms(0, music.from, music.to);
    ASSERT_GT(musicLevel, 0.1);
    // A 10 ms window anywhere over four seams of the loop keeps most of the level.
    for (double t = music.from; t + 0.01 <= music.to; t += 0.005)
        ASSERT_GT(rms(0, t, t + 0.01), 0.7 * musicLevel) << "a gap in the loop at " << t;
    EXPECT_NEAR(rms(0, half.from, half.to) / musicLevel, 0.5, 0.05);
    EXPECT_LT(rms(0, silent.from, silent.to), 0.002);
}

} // namespace
} // namespace kel
