// kelvaro-soundreview SOUND_DIR: a listening aid for people who cannot listen. For every WAV and
// MP3 in SOUND_DIR it writes one line of measurements to SOUND_DIR/review/report.txt and, through
// sox, a spectrogram SOUND_DIR/review/<file>.png. MP3s are decoded here with libmpg123 (sox may lack
// MP3 support) into a temporary WAV for sox.
//
// Columns: duration, peak and RMS in dBFS, the first and last sample in dBFS (a loud end clicks),
// the largest jump between neighbouring samples and across the loop seam (last to first), and a
// rough brightness (zero crossings per second / 2, in Hz). Then the mix: `lufs` is the loudness of
// the loudest 100 ms (K-weighted; what the ear takes from a short effect), `hp200` the same after a
// 200 Hz high-pass (what a laptop speaker leaves), `int_lufs` the integrated loudness of a whole
// piece and `corr` the left/right correlation (near 0 or below: the piece thins out in mono). The
// summary at the end gives each effect's distance from the effects' median and where the music sits.
#include "synth.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using kel::synth::Buffer;
namespace fs = std::filesystem;

struct Decoded {
    int channels = 0;
    int sampleRate = 0;
    Buffer samples; // interleaved
};

bool DecodeMp3(const std::string& path, Decoded* out) {
    int status = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &status);
    if (!handle) return false;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    bool ok = mpg123_open(handle, path.c_str()) == MPG123_OK;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (ok) ok = mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK;
    if (ok) {
        mpg123_format_none(handle);
        ok = mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    if (ok) {
        out->channels = channels;
        out->sampleRate = int(rate);
        std::vector<unsigned char> block(65536);
        for (;;) {
            size_t got = 0;
            const int r = mpg123_read(handle, block.data(), block.size(), &got);
            for (size_t i = 0; i + 1 < got; i += 2) {
                const auto v = int16_t(uint16_t(block[i] | block[i + 1] << 8));
                out->samples.push_back(float(v) / 32767.0f);
            }
            if (r == MPG123_DONE) break;
            if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
                ok = !out->samples.empty();
                break;
            }
        }
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return ok && out->channels > 0 && !out->samples.empty();
}

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct Level {
    std::string name;
    float loudest = 0.0f;     // LUFS of the loudest 100 ms
    float highPassed = 0.0f;  // the same after a 200 Hz high-pass
    float integrated = 0.0f;  // LUFS over the whole piece (stereo files)
    float correlation = 1.0f; // left/right (stereo files)
};

float Median(std::vector<float> values) {
    if (values.empty()) return 0.0f;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5f * (values[n / 2 - 1] + values[n / 2]);
}

// The mix at a glance: every effect against the effects' median (loudness within 4 dB, high-passed
// level within 6 dB), and the music's integrated loudness against the median effect.
void WriteMixSummary(FILE* report, const std::vector<Level>& effects, const std::vector<Level>& music) {
    std::vector<float> loud, passed, pieces;
    for (const Level& e : effects)
        loud.push_back(e.loudest), passed.push_back(e.highPassed);
    for (const Level& m : music)
        pieces.push_back(m.integrated);
    const float loudMedian = Median(loud), passedMedian = Median(passed), musicMedian = Median(pieces);
    std::fprintf(report, "\n# mix: %zu effects, median loudest 100 ms %.1f LUFS, median after 200 Hz high-pass %.1f\n",
                 effects.size(), loudMedian, passedMedian);
    std::fprintf(report, "%-22s %8s %8s\n", "effect", "d_lufs", "d_hp200");
    int outside = 0, thin = 0;
    for (const Level& e : effects) {
        const float d = e.loudest - loudMedian, h = e.highPassed - passedMedian;
        const bool loudOff = std::fabs(d) > 4.0f, thinOff = h < -6.0f || h > 6.0f;
        outside += loudOff, thin += thinOff;
        std::fprintf(report, "%-22s %+8.1f %+8.1f%s%s\n", e.name.c_str(), d, h, loudOff ? "  loudness" : "",
                     thinOff ? "  small-speaker" : "");
    }
    std::fprintf(report, "# %d effects outside +-4 dB of the median loudness, %d outside +-6 dB after the high-pass\n",
                 outside, thin);
    float lowestCorrelation = 1.0f;
    std::string lowestName;
    for (const Level& m : music)
        if (m.correlation < lowestCorrelation) lowestCorrelation = m.correlation, lowestName = m.name;
    std::fprintf(report, "# music: median %.1f LUFS, from %.1f to %.1f; median effect stands %.1f dB above it\n",
                 musicMedian, pieces.empty() ? 0.0f : *std::min_element(pieces.begin(), pieces.end()),
                 pieces.empty() ? 0.0f : *std::max_element(pieces.begin(), pieces.end()), loudMedian - musicMedian);
    if (!lowestName.empty())
        std::fprintf(report, "# lowest left/right correlation: %s %.2f\n", lowestName.c_str(), lowestCorrelation);
}

} // namespace

int main(int argc, char** argv) {
    using namespace kel::synth;
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvaro-soundreview SOUND_DIR\n");
        return 2;
    }
    const fs::path soundDir = argv[1];
    const fs::path reviewDir = soundDir / "review";
    std::error_code ec;
    fs::create_directories(reviewDir, ec);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(soundDir, ec)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".wav" || ext == ".mp3")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    mpg123_init();
    const bool haveSox = std::system("sox --version > /dev/null 2>&1") == 0;

    FILE* report = std::fopen((reviewDir / "report.txt").c_str(), "w");
    if (!report) {
        std::fprintf(stderr, "cannot write %s\n", (reviewDir / "report.txt").c_str());
        return 1;
    }
    std::fprintf(report, "# Generated by kelvaro-soundreview from %s\n", soundDir.c_str());
    std::fprintf(report, "%-22s %4s %6s %8s %8s %8s %8s %8s %8s %7s %7s %7s %8s %6s\n", "file", "ch", "rate",
                 "seconds", "peak_dB", "rms_dB", "first_dB", "last_dB", "seam", "bright", "lufs", "hp200",
                 "int_lufs", "corr");
    std::vector<Level> effects, music;
    int failures = 0;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        Decoded sound;
        bool ok = false;
        if (file.extension() == ".wav") {
            WavInfo info;
            ok = ReadWav(file.string(), &info);
            sound.channels = info.channels;
            sound.sampleRate = info.sampleRate;
            sound.samples = std::move(info.samples);
        } else {
            ok = DecodeMp3(file.string(), &sound);
        }
        if (!ok || sound.samples.empty()) {
            std::fprintf(report, "%-22s unreadable\n", name.c_str());
            ++failures;
            continue;
        }
        // Measurements on the first channel; the others follow the same shape in our files.
        Buffer mono(sound.samples.size() / size_t(sound.channels));
        for (size_t i = 0; i < mono.size(); ++i)
            mono[i] = sound.samples[i * size_t(sound.channels)];
        float largestStep = 0.0f;
        int crossings = 0;
        for (size_t i = 1; i < mono.size(); ++i) {
            largestStep = std::max(largestStep, std::fabs(mono[i] - mono[i - 1]));
            crossings += (mono[i - 1] < 0.0f) != (mono[i] < 0.0f);
        }
        const float seconds = float(mono.size()) / float(sound.sampleRate);
        const float seam = std::fabs(mono.back() - mono.front());
        // Loudness over all channels: a stereo piece is measured as the sum of both, as a meter would.
        Buffer second = mono;
        if (sound.channels > 1)
            for (size_t i = 0; i < second.size(); ++i)
                second[i] = sound.samples[i * size_t(sound.channels) + 1];
        Level level{name, LoudestWindowLufs(mono), LoudestWindowLufs(HighPassed(mono, 200.0f)), 0.0f, 1.0f};
        if (sound.channels > 1) {
            level.integrated = IntegratedLufs(mono, second);
            level.correlation = Correlation(mono, second);
        }
        (sound.channels > 1 ? music : effects).push_back(level);
        std::fprintf(report, "%-22s %4d %6d %8.3f %8.2f %8.2f %8.1f %8.1f %4.3f/%-4.3f %7.0f %7.1f %7.1f %8.1f %6.2f\n",
                     name.c_str(), sound.channels, sound.sampleRate, seconds, PeakDb(sound.samples),
                     RmsDb(sound.samples), GainToDb(std::fabs(mono.front())), GainToDb(std::fabs(mono.back())),
                     seam, largestStep, float(crossings) / seconds / 2.0f, level.loudest, level.highPassed,
                     level.integrated, level.correlation);
        if (!haveSox) continue;
        fs::path wav = file;
        const fs::path temporary = reviewDir / (file.stem().string() + ".decoded.wav");
        if (file.extension() == ".mp3") {
            const std::vector<uint8_t> bytes =
                EncodeWav(sound.samples.data(), mono.size(), sound.channels, sound.sampleRate);
            FILE* f = std::fopen(temporary.c_str(), "wb");
            if (!f) continue;
            const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
            std::fclose(f);
            if (!written) continue;
            wav = temporary;
        }
        const fs::path png = reviewDir / (name + ".png");
        const std::string command = "sox " + Quoted(wav.string()) + " -n spectrogram -t " + Quoted(name) +
                                    " -o " + Quoted(png.string()) + " > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            std::fprintf(report, "# no spectrogram for %s\n", name.c_str());
        if (wav == temporary) fs::remove(temporary, ec);
    }
    if (!haveSox) std::fprintf(report, "# sox not found: no spectrograms\n");
    WriteMixSummary(report, effects, music);
    std::fclose(report);
    std::printf("wrote %s (%zu files)\n", (reviewDir / "report.txt").c_str(), files.size());
    return failures > 0 ? 1 : 0;
}
