// kelvaro-musicgen: renders score files into looping MP3s.
//   kelvaro-musicgen [--levels] <output folder> <score.kms>...
// Each score "<Name>.kms" becomes "<output folder>/<Name>.mp3". Pieces are rendered on all cores;
// any parse error, a piece outside 30..90 s, or an MP3 that does not decode back to the rendered
// length fails the run (exit status 1) without leaving a partial file behind.
#include "mp3.h"
#include "render.h"
#include "score.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kShortestSeconds = 30.0;
constexpr double kLongestSeconds = 90.0;

std::mutex printLock;
bool showLevels = false; // --levels: print each voice's loudness, for balancing a score

void Say(const std::string& line) {
    std::lock_guard<std::mutex> lock(printLock);
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::filesystem::path temp = path;
    temp += ".part";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    std::error_code code;
    if (ok) std::filesystem::rename(temp, path, code);
    if (!ok || code) {
        std::filesystem::remove(temp, code);
        return false;
    }
    return true;
}

bool MakePiece(const std::filesystem::path& scorePath, const std::filesystem::path& outDir) {
    using namespace kel::music;
    auto started = std::chrono::steady_clock::now();
    ParseResult parsed = LoadScore(scorePath.string());
    for (const std::string& error : parsed.errors)
        Say(error);
    if (!parsed.Ok()) return false;
    const Score& score = parsed.score;
    double seconds = score.LoopSeconds();
    if (seconds < kShortestSeconds || seconds > kLongestSeconds) {
        Say(scorePath.string() + ":0: the loop lasts " + std::to_string(seconds) +
            " s; it must last 30..90 s");
        return false;
    }
    std::vector<double> voiceRms;
    StereoLoop loop = RenderScore(score, &voiceRms);
    if (showLevels) {
        std::string levels = scorePath.stem().string() + " voice levels (dBFS):";
        for (size_t v = 0; v < score.voices.size(); ++v) {
            char text[64];
            std::snprintf(text, sizeof text, " %s %.1f", score.voices[v].name.c_str(),
                          20.0 * std::log10(std::max(voiceRms[v], 1e-9)));
            levels += text;
        }
        Say(levels);
    }
    std::vector<unsigned char> mp3;
    std::string error;
    if (!EncodeMp3(loop, mp3, error)) {
        Say(scorePath.string() + ": " + error);
        return false;
    }
    StereoLoop decoded;
    if (!DecodeMp3(mp3, decoded, error) || decoded.Frames() != loop.Frames()) {
        Say(scorePath.string() + ": the MP3 decodes to " + std::to_string(decoded.Frames()) +
            " frames, not " + std::to_string(loop.Frames()) + " " + error);
        return false;
    }
    std::filesystem::path out = outDir / (scorePath.stem().string() + ".mp3");
    if (!WriteFile(out, mp3)) {
        Say("cannot write " + out.string());
        return false;
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    float peak = 0.0f;
    for (size_t i = 0; i < loop.Frames(); ++i)
        peak = std::max({peak, std::fabs(loop.left[i]), std::fabs(loop.right[i])});
    char line[256];
    std::snprintf(line, sizeof line, "%s: %.1f s at %.0f bpm, rms %.3f, peak %.3f, %zu bytes, %.0f ms",
                  out.filename().c_str(), seconds, score.tempo, Rms(loop), peak, mp3.size(), ms);
    Say(line);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s [--levels] <output folder> <score.kms>...\n", argv[0]);
        return 2;
    }
    int first = 1;
    if (std::string(argv[1]) == "--levels") {
        showLevels = true;
        ++first;
    }
    if (argc - first < 2) {
        std::fprintf(stderr, "usage: %s [--levels] <output folder> <score.kms>...\n", argv[0]);
        return 2;
    }
    std::filesystem::path outDir = argv[first];
    std::error_code code;
    std::filesystem::create_directories(outDir, code);
    std::vector<std::filesystem::path> scores(argv + first + 1, argv + argc);

    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&] {
        for (size_t i = next++; i < scores.size(); i = next++) {
            if (!MakePiece(scores[i], outDir)) failed = true;
        }
    };
    unsigned threads = std::max(1u, std::min(std::thread::hardware_concurrency(), unsigned(scores.size())));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();
    return failed ? 1 : 0;
}
