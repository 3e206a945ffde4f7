// Sections: options; script files; reports; frame loops; bench summary.
#include "runner/runner.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "app/game_session.h"
#include "app/scene_registry.h"
#include "app/shell.h"
#include "audio/sound.h"
#include "gfx/renderer.h"
#include "platform/alloc_count.h"
#include "sim/records.h"
#include "sim/sport_event.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace kel {

// ---- Options ---------------------------------------------------------------------------------

namespace {

bool ParseWhole(const char* text, long long lo, long long hi, long long* out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
}

} // namespace

bool RunnableSceneId(int id) {
    return (id >= 0 && id < kEventCount) || id == kSceneMedals || id == kSceneOpening ||
           id == kSceneClosing;
}

const char* RunnerUsage() {
    return "usage:\n"
           "  kelvaro-sim --scene ID [options]   one scene (0..16 events, 19 medals, 20, 21 ceremonies), player slot 0\n"
           "  kelvaro-sim --session [options]    the whole game from its first frame\n"
           "options:\n"
           "  --input FILE          input script; without it no input at all\n"
           "  --seed N              seed of the shared random generator (default 1)\n"
           "  --frames N            frames to run at most (default 3600)\n"
           "  --after-finish N      stop N frames after the scene sets finished (default: run on)\n"
           "  --screenshot F:PATH   after frame F, write the screen as a PNG (repeatable)\n"
           "  --bench               time every frame's update and draw; summary on stderr\n"
           "  --outlines            scenes: draw the physics outlines over the world (the D key)\n"
           "  --attempt E:FILE      sessions: play event E's attempts with FILE, then click continue;\n"
           "                        the --input script waits meanwhile (repeatable)\n"
           "  kelvaro-sim --atlas                  the built sprite atlas as TSV\n"
           "  kelvaro-sim --load-image PATH OUT    load PATH by the game's image rules, write OUT as PNG\n";
}

bool ParseRunnerArgs(int argc, const char* const* argv, RunnerOptions* options, std::string* error) {
    *options = RunnerOptions{};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            options->mode = RunMode::kHelp;
            return true;
        }
    }
    bool framesGiven = false;
    bool seedGiven = false;
    auto fail = [&](const std::string& what) {
        *error = what;
        return false;
    };
    auto setMode = [&](RunMode mode, const char* name) {
        if (options->mode != RunMode::kNone)
            return fail(std::string(name) + " cannot be combined with another mode");
        options->mode = mode;
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (!value) return fail(arg + " needs a value");
            ++i;
            return true;
        };
        long long n = 0;
        if (arg == "--scene") {
            if (!setMode(RunMode::kScene, "--scene") || !needValue()) return false;
            if (!ParseWhole(value, -1000000, 1000000, &n))
                return fail("--scene needs a scene id, not '" + std::string(value) + "'");
            options->scene = static_cast<int>(n);
            if (!RunnableSceneId(options->scene))
                return fail("scene " + std::to_string(n) +
                            " is not a scene the runner plays (0..16, 19, 20, 21)");
        } else if (arg == "--session") {
            if (!setMode(RunMode::kSession, "--session")) return false;
        } else if (arg == "--atlas") {
            if (!setMode(RunMode::kAtlas, "--atlas")) return false;
        } else if (arg == "--load-image") {
            if (!setMode(RunMode::kLoadImage, "--load-image")) return false;
            if (i + 2 >= argc) return fail("--load-image needs PATH and OUT");
            options->imagePath = argv[i + 1];
            options->imageOut = argv[i + 2];
            i += 2;
        } else if (arg == "--attempt") {
            if (!needValue()) return false;
            const std::string pair = value;
            const size_t colon = pair.find(':');
            if (colon == std::string::npos || colon + 1 >= pair.size() ||
                !ParseWhole(pair.substr(0, colon).c_str(), 0, kEventCount - 1, &n))
                return fail("--attempt needs EVENT:FILE with an event id 0..16, not '" + pair + "'");
            options->attempts.push_back({static_cast<int>(n), pair.substr(colon + 1)});
        } else if (arg == "--input") {
            if (!needValue()) return false;
            options->inputPath = value;
        } else if (arg == "--seed") {
            if (!needValue()) return false;
            if (!ParseWhole(value, 0, 0xFFFFFFFFLL, &n))
                return fail("--seed needs a number 0..4294967295, not '" + std::string(value) + "'");
            options->seed = static_cast<uint32_t>(n);
            seedGiven = true;
        } else if (arg == "--frames") {
            if (!needValue()) return false;
            if (!ParseWhole(value, 1, 100000000, &n))
                return fail("--frames needs a number 1..100000000, not '" + std::string(value) + "'");
            options->frames = static_cast<int>(n);
            framesGiven = true;
        } else if (arg == "--after-finish") {
            if (!needValue()) return false;
            if (!ParseWhole(value, 0, 100000000, &n))
                return fail("--after-finish needs a number 0..100000000, not '" + std::string(value) + "'");
            options->afterFinish = static_cast<int>(n);
        } else if (arg == "--screenshot") {
            if (!needValue()) return false;
            const std::string shot = value;
            const size_t colon = shot.find(':');
            if (colon == std::string::npos || colon + 1 >= shot.size() ||
                !ParseWhole(shot.substr(0, colon).c_str(), 0, 100000000, &n))
                return fail("--screenshot needs FRAME:PATH, not '" + shot + "'");
            options->screenshots.push_back({static_cast<int>(n), shot.substr(colon + 1)});
        } else if (arg == "--bench") {
            options->bench = true;
        } else if (arg == "--outlines") {
            options->outlines = true;

        } else {
            return fail("unknown argument '" + arg + "'");
        }
    }
    const bool playing = options->mode == RunMode::kScene || options->mode == RunMode::kSession;
    if (options->mode == RunMode::kNone)
        return fail("say what to run: --scene ID, --session, --atlas or --load-image");
    if (!playing && (!options->inputPath.empty() || framesGiven || options->afterFinish >= 0 ||
                     !options->screenshots.empty() || options->bench || seedGiven))
        return fail("--input, --seed, --frames, --after-finish, --screenshot and --bench go with --scene or "
                    "--session");
    if (options->mode == RunMode::kSession && options->afterFinish >= 0)
        return fail("--after-finish goes with --scene (a session has no single finish)");
    if (options->mode != RunMode::kSession && !options->attempts.empty())
        return fail("--attempt goes with --session");
    if (options->mode != RunMode::kScene && options->outlines)
        return fail("--outlines goes with --scene (in a session the D key shows them)");
    return true;
}

// ---- Script files ----------------------------------------------------------------------------

bool LoadInputScript(const std::string& path, InputScript* script, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "can't read the input script " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        *error = "can't read the input script " + path;
        return false;
    }
    std::string why;
    if (!ParseInputScript(text.str(), script, &why)) {
        *error = path + ": " + why;
        return false;
    }
    return true;
}

// ---- Reports ---------------------------------------------------------------------------------

namespace {

void AppendStringArray(std::string* out, const std::vector<std::string>& items) {
    *out += '[';
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) *out += ',';
        AppendJsonString(out, items[i]);
    }
    *out += ']';
}

} // namespace

void AppendJsonString(std::string* out, const std::string& text) {
    *out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            *out += '\\';
            *out += c;
        } else if (c == '\n') {
            *out += "\\n";
        } else if (c == '\t') {
            *out += "\\t";
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            *out += escape;
        } else {
            *out += c;
        }
    }
    *out += '"';
}

void AppendJsonFloat(std::string* out, float value) {
    if (!std::isfinite(value)) {
        *out += "null";
        return;
    }
    // The fewest decimals that read back to the same float, never with an exponent: 380 is "380".
    char text[96];
    for (int decimals = 0; decimals <= 48; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    *out += text;
}

std::vector<std::string> EffectNames(const std::vector<SoundCall>& calls) {
    std::vector<std::string> names;
    for (const SoundCall& call : calls) {
        if (call.kind != SoundCall::kEffect) continue;
        if (call.effect >= 0 && call.effect < kSfxCount)
            names.emplace_back(kEffectTable[call.effect].name);
        else
            names.push_back("effect " + std::to_string(call.effect));
    }
    return names;
}

std::vector<std::string> MusicNames(const std::vector<SoundCall>& calls) {
    std::vector<std::string> names;
    for (const SoundCall& call : calls)
        if (call.kind == SoundCall::kMusic) names.push_back(call.music);
    return names;
}

void AnalyticsLogSink::Write(const char* text) {
    static constexpr char kPrefix[] = "Flurry:";
    std::fputs(text, stderr);
    // LogDebug writes a line's text in one call and its line break in a second.
    if (atLineStart) keeping = std::strncmp(text, kPrefix, sizeof kPrefix - 1) == 0;
    if (keeping) capture.Write(text);
    const size_t length = std::strlen(text);
    atLineStart = length > 0 && text[length - 1] == '\n';
}

std::string SceneReportJson(const SceneReport& r) {
    std::string out = "{\"scene\":" + std::to_string(r.scene) + ",\"seed\":" + std::to_string(r.seed) +
                      ",\"frames\":" + std::to_string(r.frames) +
                      ",\"finished\":" + (r.finished ? "true" : "false") +
                      ",\"finishedFrame\":" + std::to_string(r.finishedFrame) + ",\"result\":";
    AppendJsonFloat(&out, r.result);
    out += std::string(",\"fault\":") + (r.fault ? "true" : "false") + ",\"worldHash\":";
    AppendJsonString(&out, r.worldHash);
    out += ",\"sounds\":";
    AppendStringArray(&out, r.sounds);
    out += ",\"music\":";
    AppendStringArray(&out, r.music);
    out += '}';
    return out;
}

std::string SessionReportJson(const SessionReport& r) {
    // The game session's state and current scene; null when there is no session or no scene.
    std::string out = "{\"session\":true,\"seed\":" + std::to_string(r.seed) +
                      ",\"frames\":" + std::to_string(r.frames) + ",\"quit\":" + (r.quit ? "true" : "false") +
                      ",\"state\":" + (r.state < 0 ? std::string("null") : std::to_string(r.state)) +
                      ",\"scene\":" + (r.scene < 0 ? std::string("null") : std::to_string(r.scene)) +
                      ",\"analytics\":";
    AppendStringArray(&out, r.analytics);
    if (!r.attempts.empty()) {
        out += ",\"attempts\":[";
        for (size_t i = 0; i < r.attempts.size(); ++i) {
            const AttemptReport& a = r.attempts[i];
            if (i) out += ',';
            out += "{\"scene\":" + std::to_string(a.scene) + ",\"frames\":" + std::to_string(a.frames) +
                   ",\"finished\":" + (a.finished ? "true" : "false") + ",\"result\":";
            AppendJsonFloat(&out, a.result);
            out += std::string(",\"fault\":") + (a.fault ? "true" : "false") + '}';
        }
        out += ']';
    }
    out += '}';
    return out;
}

// ---- Frame loops -----------------------------------------------------------------------------

void FrameTiming::Reserve(int frames) {
    // Longer runs grow the vectors between frames, outside the measured spans.
    constexpr int kMostReserved = 1 << 20;
    const size_t n = static_cast<size_t>(frames < 0 ? 0 : (frames > kMostReserved ? kMostReserved : frames));
    updateMicros.reserve(n);
    drawMicros.reserve(n);
    allocations.reserve(n);
    drawCalls.reserve(n);
}

namespace {

const InputScript kNoInput;

using BenchClock = std::chrono::steady_clock;

uint64_t MicrosBetween(BenchClock::time_point a, BenchClock::time_point b) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(b - a).count());
}

// Runs one frame's update and draw, timing them when asked.
template <typename Update, typename Draw> void TimedFrame(FrameTiming* timing, Update update, Draw draw) {
    if (!timing) {
        update();
        draw();
        return;
    }
    const uint64_t allocationsBefore = AllocationCount();
    const uint64_t drawCallsBefore = gRenderer.drawCalls;
    const BenchClock::time_point t0 = BenchClock::now();
    update();
    const BenchClock::time_point t1 = BenchClock::now();
    draw();
    const BenchClock::time_point t2 = BenchClock::now();
    const uint64_t allocationsAfter = AllocationCount();
    timing->updateMicros.push_back(MicrosBetween(t0, t1));
    timing->drawMicros.push_back(MicrosBetween(t1, t2));
    timing->allocations.push_back(allocationsAfter - allocationsBefore);
    timing->drawCalls.push_back(gRenderer.drawCalls - drawCallsBefore);
}

} // namespace

void RunSceneFrames(SportEvent* scene, const LoopControl& control, SceneReport* report) {
    report->frames = 0;
    report->finished = false;
    report->finishedFrame = -1;
    if (!scene) return;
    ScriptPlayer player(control.script ? *control.script : kNoInput);
    int stopAfter = control.maxFrames;
    for (int frame = 0; frame < stopAfter; ++frame) {
        if (control.script) player.Apply(frame);
        ++gApp.frameCounter;
        TimedFrame(
            control.timing, [scene] { scene->Update(); },
            [scene] {
                BeginBatch();
                scene->DrawFrame();
                FlushBatch();
            });
        UpdateSound();
        report->frames = frame + 1;
        if (scene->finished && report->finishedFrame < 0) {
            report->finishedFrame = frame;
            if (control.afterFinish >= 0) stopAfter = std::min(stopAfter, frame + 1 + control.afterFinish);
        }
        if (control.afterFrame) control.afterFrame(frame);
        ClearFrameInput();
    }
    report->finished = scene->finished;
    report->result = scene->result;
    report->fault = scene->fault;
    report->worldHash = WorldHash(scene->world);
}

namespace {

// Plays attempt scripts into the event scenes a session enters, then clicks their continue button.
class AttemptPilot {
  public:
    AttemptPilot(const std::vector<AttemptScript>* scripts, SessionReport* report)
        : scripts(scripts), report(report) {}

    // Before a frame's update: whether an attempt script owns this frame's input (it has then
    // applied it).
    bool Apply() {
        const GameSession* session = gApp.gameSession;
        const bool inScene = session != nullptr && session->state == kStateInScene && session->scene != nullptr;
        // A scene made this frame may sit where the last one was freed: the session's frame count
        // tells a fresh scene.
        const bool fresh = inScene && session->framesInScene == 0;
        if (active != nullptr && (!inScene || session->scene != scene || (fresh && frame > 0))) End();
        if (active == nullptr && fresh) Begin(session);
        if (active == nullptr) return false;
        const int lastLine = LastScriptFrame(*active);
        const int clickAt = Max(finishedAt + kContinueDelay, lastLine + 1);
        if (finishedAt >= 0 && frame >= clickAt) {
            // The continue button sits centred 44 px above the bottom; press, then release.
            gApp.mouseX = gApp.screenWidth / 2;
            gApp.mouseY = gApp.screenHeight - 44;
            const bool press = (frame - clickAt) % 2 == 0;
            gApp.mousePressed = press && !gApp.mouseHeld;
            gApp.mouseReleased = !press && gApp.mouseHeld;
            gApp.mouseHeld = press;
        } else {
            player->Apply(frame);
        }
        ++frame;
        return true;
    }

    void Finish() {
        if (active != nullptr) End();
    }

  private:
    static constexpr int kContinueDelay = 30; // frames after the finish before the click

    static int LastScriptFrame(const InputScript& s) {
        int last = -1;
        if (!s.mouse.empty()) last = s.mouse.back().frame;
        if (!s.keys.empty()) last = Max(last, s.keys.back().frame + 1);
        return last;
    }

    void Begin(const GameSession* session) {
        for (const AttemptScript& a : *scripts) {
            if (a.scene != session->sceneEventId) continue;
            active = &a.script;
            scene = session->scene;
            player = std::make_unique<ScriptPlayer>(a.script);
            frame = 0;
            finishedAt = -1;
            sceneId = a.scene;
            return;
        }
    }

    void End() {
        AttemptReport a;
        a.scene = sceneId;
        a.frames = frame;
        a.finished = finishedAt >= 0;
        // The scene may be gone already; its outcome was taken from the last frame it lived.
        a.result = lastResult;
        a.fault = lastFault;
        report->attempts.push_back(a);
        active = nullptr;
        scene = nullptr;
        player.reset();
    }

  public:
    // After a frame's update, while the scene still exists: keep its outcome.
    void Observe() {
        const GameSession* session = gApp.gameSession;
        if (active == nullptr || session == nullptr || session->scene != scene || scene == nullptr) return;
        if (session->framesInScene == 0 && frame > 1) return; // a new scene where the old one was
        lastResult = scene->result;
        lastFault = scene->fault;
        if (scene->finished && finishedAt < 0) finishedAt = frame - 1;
    }

  private:
    const std::vector<AttemptScript>* scripts;
    SessionReport* report;
    const InputScript* active = nullptr;
    const SportEvent* scene = nullptr;
    std::unique_ptr<ScriptPlayer> player;
    int frame = 0;
    int finishedAt = -1;
    int sceneId = -1;
    float lastResult = 0.0f;
    bool lastFault = false;
};

} // namespace

void RunSessionFrames(const LoopControl& control, SessionReport* report) {
    report->frames = 0;
    report->attempts.clear();
    ScriptPlayer player(control.script ? *control.script : kNoInput);
    static const std::vector<AttemptScript> kNoAttempts;
    AttemptPilot pilot(control.attempts ? control.attempts : &kNoAttempts, report);
    int sessionFrame = 0;
    for (int frame = 0; frame < control.maxFrames && !gApp.quitRequested; ++frame) {
        if (!pilot.Apply() && control.script) player.Apply(sessionFrame++);
        TimedFrame(
            control.timing, [] { UpdateGameFrame(); }, [] { DrawGameFrame(); });
        if (gApp.fastMode) {
            ClearFrameInput();
            RunFrame();
        }
        pilot.Observe();
        UpdateSound();
        report->frames = frame + 1;
        if (control.afterFrame) control.afterFrame(frame);
        if (gApp.keyPressed['p']) TakeScreenshot();
        // There is no window whose mode could change; the request is dropped.
        gApp.fullscreenToggleRequested = 0;
        ClearFrameInput();
    }
    pilot.Finish();
    report->quit = gApp.quitRequested != 0;
    const GameSession* session = gApp.gameSession;
    report->state = session != nullptr ? session->state : -1;
    report->scene = session != nullptr && session->scene != nullptr ? session->sceneEventId : -1;
}

// ---- Bench summary ---------------------------------------------------------------------------

uint64_t NearestRankPercentile(std::vector<uint64_t> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double clamped = q < 0.0 ? 0.0 : (q > 1.0 ? 1.0 : q);
    size_t rank = static_cast<size_t>(std::ceil(clamped * static_cast<double>(values.size())));
    if (rank < 1) rank = 1;
    return values[rank - 1];
}

std::string BenchSummary(const FrameTiming& timing, bool allocationsCounted) {
    char line[256];
    std::string out;
    std::snprintf(line, sizeof line, "bench: %zu frames\n", timing.updateMicros.size());
    out += line;
    std::snprintf(line, sizeof line, "bench: update median %llu us, p95 %llu us\n",
                  static_cast<unsigned long long>(NearestRankPercentile(timing.updateMicros, 0.5)),
                  static_cast<unsigned long long>(NearestRankPercentile(timing.updateMicros, 0.95)));
    out += line;
    std::snprintf(line, sizeof line, "bench: draw median %llu us, p95 %llu us (null GL unless screenshots)\n",
                  static_cast<unsigned long long>(NearestRankPercentile(timing.drawMicros, 0.5)),
                  static_cast<unsigned long long>(NearestRankPercentile(timing.drawMicros, 0.95)));
    out += line;
    if (!timing.drawCalls.empty()) {
        const auto most = std::max_element(timing.drawCalls.begin(), timing.drawCalls.end());
        std::snprintf(line, sizeof line, "bench: draw calls per frame median %llu, most %llu in frame %d\n",
                      static_cast<unsigned long long>(NearestRankPercentile(timing.drawCalls, 0.5)),
                      static_cast<unsigned long long>(*most), static_cast<int>(most - timing.drawCalls.begin()));
        out += line;
    }
    if (!allocationsCounted) {
        out += "bench: heap allocations not counted in this build\n";
        return out;
    }
    uint64_t total = 0;
    uint64_t worst = 0;
    int worstFrame = -1;
    size_t counted = 0;
    for (size_t f = kBenchWarmupFrames; f < timing.allocations.size(); ++f) {
        total += timing.allocations[f];
        ++counted;
        if (timing.allocations[f] > worst) {
            worst = timing.allocations[f];
            worstFrame = static_cast<int>(f);
        }
    }
    std::snprintf(line, sizeof line,
                  "bench: heap allocations after frame %d: %llu in %zu frames (%.2f per frame, most %llu in "
                  "frame %d)\n",
                  kBenchWarmupFrames, static_cast<unsigned long long>(total), counted,
                  counted ? static_cast<double>(total) / static_cast<double>(counted) : 0.0,
                  static_cast<unsigned long long>(worst), worstFrame);
    out += line;
    return out;
}

} // namespace kel
