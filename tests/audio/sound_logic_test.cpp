// The sound system's own rules, over a fake backend that records what it is told: channel
// handles, the four-playback limit, gains from the two volumes, pans, effect loading and the music
// stream's feeding and looping. The recorder of calls is exercised by every sim test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "audio/pcm.h"
#include "audio/sound.h"
#include "audio/sound_backend.h"
#include "audio/test_sounds.h"
#include "platform/log.h"

namespace kel {
namespace {

struct FakeVoice {
    uint32_t sample = 0;
    float gain = -1.0f, pan = 0.0f, pitch = 1.0f;
    bool loop = false, playing = false;
    int starts = 0;
};

// Records what the sound system tells it; the tests read and change its fields directly.
struct FakeBackend : SoundBackend {
    std::vector<FakeVoice> voices = std::vector<FakeVoice>(8);
    std::vector<PcmSound> samples;
    std::vector<int16_t> streamed;
    std::vector<size_t> queuedChunks;
    int streamChannels = 0, freeBuffers = 0, streamStops = 0;
    float streamGain = -1.0f;

    int VoiceCount() const override { return int(voices.size()); }
    uint32_t CreateSample(const PcmSound& sound) override {
        samples.push_back(sound);
        return uint32_t(samples.size());
    }
    void StartVoice(int voice, uint32_t sample, float gain, float pan, float pitch, bool loop) override {
        voices.at(size_t(voice)) = FakeVoice{sample, gain, pan, pitch, loop, true, voices.at(size_t(voice)).starts + 1};
    }
    void StopVoice(int voice) override { voices.at(size_t(voice)).playing = false; }
    bool VoicePlaying(int voice) override { return voices.at(size_t(voice)).playing; }
    void SetVoiceGain(int voice, float gain) override { voices.at(size_t(voice)).gain = gain; }
    void SetVoicePitch(int voice, float pitch) override { voices.at(size_t(voice)).pitch = pitch; }
    void SetVoicePan(int voice, float pan) override { voices.at(size_t(voice)).pan = pan; }
    bool StartStream(int channels, int, float gain) override {
        streamChannels = channels;
        streamGain = gain;
        streamed.clear();
        freeBuffers = 4;
        return true;
    }
    int FreeStreamBuffers() override { return freeBuffers; }
    void QueueStream(const int16_t* frames, size_t frameCount) override {
        freeBuffers--;
        queuedChunks.push_back(frameCount);
        streamed.insert(streamed.end(), frames, frames + frameCount * size_t(streamChannels));
    }
    void StopStream() override { streamStops++; }
    void SetStreamGain(float gain) override { streamGain = gain; }
};

constexpr int kTone = 0, kOther = 1, kMp3Effect = 2, kBroken = 3;
const EffectRow kTestTable[] = {
    {kTone, "tone"}, {kOther, "other"}, {kMp3Effect, "mp3tone"}, {kBroken, "broken"}};

class SoundLogic : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLogSink(&log);
        auto tone = test::SineFrames(440.0, 22050, 0.05, 1, 0.5);
        folder.WriteSound("tone.wav", test::MakeWav16(tone, 1, 22050));
        folder.WriteSound("other.wav", test::MakeWav16(tone, 2, 22050));
        StartSoundWith(std::unique_ptr<SoundBackend>(world = new FakeBackend));
        SetEffectsVolume(100);
        SetMusicVolume(100);
    }
    void TearDown() override {
        ShutDownSound();
        SetLogSink(nullptr);
    }
    void LoadTestEffects() { LoadEffects(kTestTable, 4); }
    long Playing() const {
        return std::count_if(world->voices.begin(), world->voices.end(), [](const FakeVoice& v) { return v.playing; });
    }
    FakeVoice& Of(uint32_t handle) { return world->voices.at(handle % 256); }
    bool Logged(const std::string& text) const {
        const auto& lines = log.Lines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != l.npos; });
    }

    CaptureLogSink log;
    test::ScratchFolder folder;
    FakeBackend* world = nullptr; // owned by the sound system
};

TEST_F(SoundLogic, HandlesAreNonZeroAndNeverReused) {
    LoadTestEffects();
    std::set<uint32_t> seen;
    for (int i = 0; i < 40; ++i) {
        const uint32_t h = PlayEffect(i % 2 ? kTone : kOther, 100, 0, 1.0f, false);
        EXPECT_TRUE(h != 0 && seen.insert(h).second) << "handle " << h << " is zero or given twice";
    }
}

TEST_F(SoundLogic, FifthPlaybackTakesTheOldestOfThatEffect) {
    LoadTestEffects();
    const uint32_t other = PlayEffect(kOther, 100, 0, 1.0f, true);
    uint32_t first[4];
    for (uint32_t& h : first)
        h = PlayEffect(kTone, 100, 0, 1.0f, true);
    EXPECT_EQ(Playing(), 5);
    const uint32_t fifth = PlayEffect(kTone, 60, 0, 1.0f, true);
    EXPECT_EQ(fifth % 256, first[0] % 256);
    EXPECT_EQ(Of(fifth).starts, 2);
    EXPECT_EQ(Playing(), 5) << "still four of the tone and the other effect";
    // The replaced playback's handle no longer reaches the voice.
    SetChannelVolume(first[0], 10.0f);
    StopChannel(first[0]);
    EXPECT_TRUE(Of(fifth).playing);
    EXPECT_FLOAT_EQ(Of(fifth).gain, 0.6f);
    EXPECT_TRUE(Of(other).playing && Of(other).starts == 1) << "the other effect was not touched";
}

// A silent voice that last played the effect plays it again (it keeps its buffer); another effect
// takes the voice silent longest; when every voice sounds, the oldest playback goes.
TEST_F(SoundLogic, FinishedVoicesAreReusedByTheirEffectFirstThenTheOldestGoes) {
    folder.WriteSound("mp3tone.wav", test::MakeWav16(test::SineFrames(440.0, 22050, 0.05, 1, 0.5), 1, 22050));
    LoadTestEffects();
    uint32_t a = PlayEffect(kTone, 100, 0, 1.0f, false);
    uint32_t b = PlayEffect(kOther, 100, 0, 1.0f, false);
    Of(a).playing = false; // it ran out
    const uint32_t c = PlayEffect(kOther, 100, 0, 1.0f, false);
    EXPECT_NE(c % 256, a % 256) << "a voice never used before";
    EXPECT_EQ(PlayEffect(kTone, 100, 0, 1.0f, false) % 256, a % 256);
    EXPECT_TRUE(Of(b).playing);
    for (int i = 0; i < 5; ++i)
        PlayEffect(i < 3 ? kTone : kOther, 100, 0, 1.0f, true);
    // All eight voices sound: the ninth playback takes the oldest voice, the tenth the next.
    EXPECT_EQ(PlayEffect(kMp3Effect, 100, 0, 1.0f, true) % 256, b % 256);
    EXPECT_EQ(PlayEffect(kMp3Effect, 100, 0, 1.0f, true) % 256, c % 256);
}

TEST_F(SoundLogic, GainIsEffectsVolumeTimesChannelVolumeAndOutOfRangeValuesAreClamped) {
    LoadTestEffects();
    SetEffectsVolume(50);
    uint32_t h = PlayEffect(kTone, 80, 0, 1.0f, true);
    FakeVoice& v = Of(h);
    EXPECT_FLOAT_EQ(v.gain, 0.4f);
    SetChannelVolume(h, 25.9f); // truncated to 25
    EXPECT_FLOAT_EQ(v.gain, 0.125f);
    SetEffectsVolume(100);
    EXPECT_FLOAT_EQ(v.gain, 0.25f) << "the global volume applies to what already plays";
    SetEffectsVolume(0);
    EXPECT_FLOAT_EQ(v.gain, 0.0f);
    EXPECT_EQ(EffectsVolume(), 0);
    uint32_t p = PlayEffect(kTone, 100, 0, 1.33f, true);
    EXPECT_TRUE(Of(p).pitch == 1.33f && Of(p).loop);
    SetChannelPitch(p, 0.5f);
    EXPECT_FLOAT_EQ(Of(p).pitch, 0.5f);
    // Out-of-range values are clamped.
    SetEffectsVolume(250);
    EXPECT_EQ(EffectsVolume(), 100);
    uint32_t c = PlayEffect(kTone, 400, -300, 1.0f, false);
    EXPECT_FLOAT_EQ(Of(c).gain, 1.0f);
    EXPECT_FLOAT_EQ(Of(c).pan, -1.0f);
    SetChannelPan(c, 35);
    EXPECT_FLOAT_EQ(Of(c).pan, 0.35f);
    for (float bad : {std::nanf(""), -1e30f}) {
        SetChannelVolume(c, bad);
        EXPECT_FLOAT_EQ(Of(c).gain, 0.0f) << bad;
    }
    SetMusicVolume(-5);
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(PlayEffect(-1, 100, 0, 1.0f, false), 0u);
    EXPECT_EQ(PlayEffect(kEffectSlotCount, 100, 0, 1.0f, false), 0u);
}

TEST_F(SoundLogic, BadEffectFilesLeaveTheirSlotEmptyAndSayWhy) {
    auto wav = test::MakeWav16(test::SineFrames(440.0, 22050, 0.05, 1, 0.5), 1, 22050);
    wav[34] = 24; // 24-bit samples
    folder.WriteSound("broken.wav", wav);
    const EffectRow rows[] = {
        {kBroken, "broken"}, {-4, "tone"}, {kEffectSlotCount, "tone"}, {5, nullptr}, {6, "missing"}};
    LoadEffects(rows, 5);
    EXPECT_TRUE(world->samples.empty());
    EXPECT_EQ(PlayEffect(kBroken, 100, 0, 1.0f, false), 0u);
    EXPECT_TRUE(Logged("broken")) << "a line names the file";
    EXPECT_TRUE(Logged("missing"));
    LoadEffects(kTestTable, 1);
    ASSERT_EQ(world->samples.size(), 1u) << "loading stops at the row count given";
    EXPECT_EQ(PlayEffect(kOther, 100, 0, 1.0f, false), 0u);
}

TEST_F(SoundLogic, NonWavEffectIsDecodedAsMp3) {
    auto tone = test::SineFrames(440.0, 44100, 0.3, 1, 0.5);
    folder.WriteSound("mp3tone.wav", test::MakeMp3(tone, 44100));
    LoadTestEffects();
    ASSERT_EQ(world->samples.size(), 3u);
    EXPECT_EQ(world->samples[2].channels, 1);
    // The LAME tag lets the decoder trim the encoder's delay and padding exactly.
    EXPECT_EQ(world->samples[2].Frames(), tone.size());
}

TEST_F(SoundLogic, MusicStreamsInChunksAndLoopsSeamlessly) {
    auto tone = test::SineFrames(440.0, 44100, 0.25, 1, 0.5);
    auto mp3 = test::MakeMp3(tone, 44100);
    folder.WriteSound("Loop.mp3", mp3);
    PcmSound piece;
    ASSERT_TRUE(DecodeMp3(mp3.data(), mp3.size(), &piece));
    ASSERT_LT(piece.Frames(), 4 * 4096u) << "the piece must be shorter than the queue for this test";

    PlayMusic("Loop.mp3", true);
    EXPECT_STREQ(CurrentMusic(), "Loop.mp3");
    ASSERT_EQ(world->queuedChunks.size(), 4u) << "four buffers queued at once";
    for (size_t frames : world->queuedChunks)
        EXPECT_EQ(frames, 4096u);
    // Played buffers come back and are refilled on update.
    world->freeBuffers = 2;
    UpdateSound();
    ASSERT_EQ(world->queuedChunks.size(), 6u);
    // The stream is the piece over and over, with no sample missing or added at the seams. The
    // decoder's filter history differs slightly after a seek, hence a few steps of tolerance; one
    // sample shifted at 440 Hz would differ by hundreds.
    ASSERT_EQ(world->streamed.size(), 6 * 4096u);
    for (size_t i = 0; i < world->streamed.size(); ++i) {
        ASSERT_NEAR(world->streamed[i], piece.samples[i % piece.samples.size()], 16) << "at sample " << i;
    }
}

TEST_F(SoundLogic, MusicWithoutLoopEndsAfterThePiece) {
    auto tone = test::SineFrames(440.0, 44100, 0.1, 1, 0.5);
    folder.WriteSound("Once.mp3", test::MakeMp3(tone, 44100));
    PlayMusic("Once.mp3", false);
    const size_t total = std::accumulate(world->queuedChunks.begin(), world->queuedChunks.end(), size_t{0});
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(tone.size()), 1152.0);
    EXPECT_LT(world->queuedChunks.size(), 4u);
    world->freeBuffers = 4;
    UpdateSound();
    EXPECT_EQ(std::accumulate(world->queuedChunks.begin(), world->queuedChunks.end(), size_t{0}), total)
        << "nothing more once the piece is over";
}

TEST_F(SoundLogic, MutedMusicKeepsTheOldPieceAndIgnoresNewOnes) {
    folder.WriteSound("A.mp3", test::MakeMp3(test::SineFrames(440.0, 44100, 0.2, 1, 0.5), 44100));
    folder.WriteSound("B.mp3", test::MakeMp3(test::SineFrames(660.0, 44100, 0.2, 1, 0.5), 44100));
    PlayMusic("A.mp3", true);
    int stops = world->streamStops;
    SetMusicVolume(0);
    EXPECT_FLOAT_EQ(world->streamGain, 0.0f);
    PlayMusic("B.mp3", true);
    EXPECT_STREQ(CurrentMusic(), "A.mp3");
    EXPECT_EQ(world->streamStops, stops) << "the old piece keeps running, silently";
    SetMusicVolume(100);
    EXPECT_FLOAT_EQ(world->streamGain, 1.0f);
    EXPECT_STREQ(CurrentMusic(), "A.mp3") << "unmuting does not start the ignored piece";
    StopMusic();
    EXPECT_STREQ(CurrentMusic(), "");
}

TEST_F(SoundLogic, MissingOrBrokenMusicIsLoggedAndSilent) {
    folder.WriteSound("Noise.mp3", std::vector<uint8_t>(64, 0));
    PlayMusic("Nothing.mp3", true);
    EXPECT_TRUE(Logged("Nothing.mp3"));
    PlayMusic("Noise.mp3", true);
    EXPECT_TRUE(Logged("Noise.mp3"));
    EXPECT_TRUE(world->streamed.empty());
    UpdateSound();
    PlayMusic(nullptr, true);
    EXPECT_STREQ(CurrentMusic(), "");
}

TEST(SoundSilent, EveryCallIsHarmlessWithoutADevice) {
    test::ScratchFolder folder;
    folder.WriteSound("tone.wav", test::MakeWav16(test::SineFrames(440.0, 22050, 0.05, 1, 0.5), 1, 22050));
    StartSoundWith(nullptr);
    std::vector<SoundCall> calls;
    SetSoundRecorder(&calls);
    LoadEffects(kTestTable, 4);
    EXPECT_EQ(PlayEffect(kTone, 100, 0, 1.0f, true), 0u);
    StopChannel(12345);
    SetChannelVolume(77, 5.0f);
    PlayMusic("KelvaroMainTheme.mp3", true);
    EXPECT_STREQ(CurrentMusic(), "KelvaroMainTheme.mp3") << "the name is kept even while silent";
    UpdateSound();
    SetEffectsVolume(40);
    SetMusicVolume(40);
    StopMusic();
    EXPECT_EQ(calls.size(), 5u) << "recorded whether or not a device exists";
    SetSoundRecorder(nullptr);
    ShutDownSound();
    ShutDownSound(); // twice is harmless
    SetEffectsVolume(100);
    SetMusicVolume(100);
}

} // namespace
} // namespace kel
