// WAV parsing: the formats the game's effects use, and damaged or hostile files that must be
// refused (or trimmed) without reading outside the bytes given.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/pcm.h"
#include "audio/test_sounds.h"

namespace kel {
namespace {

using namespace test;

// Offsets in the canonical 44-byte header made by MakeWav16.
constexpr size_t kFmtChannels = 22, kFmtRate = 24, kFmtBits = 34, kDataSize = 40, kHeader = 44;

// Parses from a heap copy of exactly the file's size, so an over-read trips the sanitizers.
bool Parse(const std::vector<uint8_t>& bytes, PcmSound* out, std::string* why) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    return ParseWav(copy.get(), bytes.size(), out, why);
}

TEST(WavAccepts, EveryFormTheEffectsUse) {
    std::vector<uint8_t> extensible = FmtBody(0xFFFE, 1, 44100, 16);
    extensible.resize(40, 0);
    Set16(extensible, 16, 22);
    Set16(extensible, 24, 1); // sub-format GUID starts with the PCM tag
    const std::vector<uint8_t> odd = {'x', 'y', 'z'};
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int channels, rate;
        std::vector<int16_t> samples;
    } cases[] = {
        {"16-bit mono", MakeWav16({0, 1000, -1000, 32767, -32768}, 1, 22050), 1, 22050,
         {0, 1000, -1000, 32767, -32768}},
        // 8-bit samples are unsigned around 128.
        {"8-bit", Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8)), Chunk("data", {128, 255, 0, 64})}), 1, 8000,
         {0, 127 * 256, -128 * 256, -64 * 256}},
        {"chunks in any order with odd padding",
         Riff({Chunk("LIST", odd), Chunk("data", {1, 0, 2, 0, 3, 0, 4, 0}), Chunk("junk", odd),
               Chunk("fmt ", FmtBody(1, 2, 44100, 16))}),
         2, 44100, {1, 2, 3, 4}},
        {"extensible PCM", Riff({Chunk("fmt ", extensible), Chunk("data", {5, 0, 6, 0})}), 1, 44100, {5, 6}},
    };
    for (const auto& c : cases) {
        PcmSound sound;
        std::string why;
        ASSERT_TRUE(Parse(c.bytes, &sound, &why)) << c.what << ": " << why;
        EXPECT_EQ(sound.channels, c.channels) << c.what;
        EXPECT_EQ(sound.rate, c.rate) << c.what;
        EXPECT_EQ(sound.samples, c.samples) << c.what;
    }
}

TEST(WavRejects, UnsupportedFormatsAndDamagedChunksSayWhy) {
    auto patched = [](size_t at, uint32_t value, bool wide) {
        auto bytes = MakeWav16(std::vector<int16_t>(8, 1), 1, 44100);
        wide ? Set32(bytes, at, value) : Set16(bytes, at, uint16_t(value));
        return bytes;
    };
    const auto fmt = Chunk("fmt ", FmtBody(1, 1, 44100, 16));
    // A chunk claiming 4 GiB must not wrap the offset round to an earlier chunk.
    auto runaway = Chunk("junk", {0, 0});
    Set32(runaway, 4, 0xFFFFFFFEu);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"24-bit", patched(kFmtBits, 24, false)},
        {"zero channels", patched(kFmtChannels, 0, false)},
        {"six channels", patched(kFmtChannels, 6, false)},
        {"zero rate", patched(kFmtRate, 0, true)},
        {"ADPCM", Riff({Chunk("fmt ", FmtBody(2, 1, 44100, 4)), Chunk("data", {1, 2, 3, 4})})},
        {"no fmt", Riff({Chunk("data", {1, 0})})},
        {"no data", Riff({fmt})},
        {"empty data", Riff({fmt, Chunk("data", {})})},
        {"half a stereo frame", Riff({Chunk("fmt ", FmtBody(1, 2, 44100, 16)), Chunk("data", {1, 0})})},
        {"short fmt", Riff({Chunk("fmt ", {1, 0, 1, 0})})},
        {"runaway chunk", Riff({runaway, fmt, Chunk("data", {1, 0})})},
        {"empty", {}},
        {"AVI", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}},
    };
    for (const auto& [what, bytes] : cases) {
        PcmSound sound;
        std::string why;
        EXPECT_FALSE(Parse(bytes, &sound, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
    }
    PcmSound sound;
    std::string why;
    Parse(cases[4].second, &sound, &why);
    EXPECT_NE(why.find("not PCM"), std::string::npos) << why;
    EXPECT_FALSE(LooksLikeWav(nullptr, 0));
    EXPECT_FALSE(ParseWav(nullptr, 100, &sound, &why));
}

// Cut anywhere, a stereo file keeps its whole frames; a data size past the end reads only what is there.
TEST(WavTrims, TruncationsKeepWholeFramesAndAnAbsurdSizeReadsOnlyWhatIsThere) {
    auto bytes = MakeWav16(std::vector<int16_t>(16, 3), 2, 44100);
    for (size_t n = 0; n < bytes.size(); ++n) {
        PcmSound sound;
        std::string why;
        const bool ok = Parse(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)), &sound, &why);
        EXPECT_EQ(ok, n >= kHeader + 4) << n << " bytes";
        EXPECT_TRUE(!ok || sound.Frames() == (n - kHeader) / 4) << n << " bytes";
    }
    auto absurd = MakeWav16(std::vector<int16_t>(6, 9), 1, 44100);
    Set32(absurd, kDataSize, 0xFFFFFFFFu);
    PcmSound sound;
    std::string why;
    ASSERT_TRUE(Parse(absurd, &sound, &why)) << why;
    EXPECT_EQ(sound.samples, std::vector<int16_t>(6, 9));
}

// Deterministic damage: bytes overwritten, the file cut anywhere. In the sanitizer build any read
// outside the copy fails the test; in every build what is accepted must fit inside the file.
TEST(WavRejects, RandomDamageStaysInsideTheFile) {
    auto original = Riff({Chunk("LIST", {'a', 'b', 'c'}), Chunk("fmt ", FmtBody(1, 2, 22050, 16)),
                          Chunk("data", std::vector<uint8_t>(64, 0x11))});
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = original;
        int hits = 1 + static_cast<int>(next() % 4);
        for (int i = 0; i < hits; ++i) {
            size_t at = next() % bytes.size();
            bytes[at] = static_cast<uint8_t>(next() % 3 == 0 ? 0xFF : next());
        }
        bytes.resize(next() % (bytes.size() + 1));
        PcmSound sound;
        std::string why;
        if (Parse(bytes, &sound, &why)) {
            ++accepted;
            // Every sample comes from at least one byte of the file.
            ASSERT_LE(sound.samples.size(), bytes.size()) << "round " << round;
            ASSERT_EQ(sound.samples.size() % static_cast<size_t>(sound.channels), 0u) << "round " << round;
            ASSERT_GE(sound.rate, kMinSampleRate);
        } else {
            ASSERT_FALSE(why.empty()) << "round " << round;
        }
    }
    EXPECT_GT(accepted, 0) << "some damage (inside the samples) leaves a playable file";
}

TEST(Mp3Decode, GarbageNeverCrashesAndSilenceIsRefused) {
    PcmSound sound;
    EXPECT_FALSE(DecodeMp3(nullptr, 0, &sound));
    std::vector<uint8_t> zeros(4096, 0);
    EXPECT_FALSE(DecodeMp3(zeros.data(), zeros.size(), &sound));
    uint32_t seed = 99;
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> noise(2048);
        for (uint8_t& b : noise) {
            seed = seed * 1664525u + 1013904223u;
            b = static_cast<uint8_t>(seed >> 24);
        }
        PcmSound decoded;
        if (DecodeMp3(noise.data(), noise.size(), &decoded)) {
            EXPECT_TRUE(decoded.channels == 1 || decoded.channels == 2);
            EXPECT_EQ(decoded.samples.size() % static_cast<size_t>(decoded.channels), 0u);
        }
    }
}

} // namespace
} // namespace kel
