// The headless runner's building blocks: its command line, the frame loops that play a scene or
// the whole game from an input script, and the JSON report. main.cpp wires them to the process
// (data folder, start-up, GL context for screenshots); the tests drive them directly.
//
// Sections: options; reports; frame loops; bench summary.
#pragma once

#include "app/input_script.h"
#include "platform/log.h"
#include "sim/world_hash.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class b2World;

namespace kel {

class SportEvent;
struct SoundCall;

// ---- Options ---------------------------------------------------------------------------------

enum class RunMode { kNone, kScene, kSession, kAtlas, kLoadImage, kHelp };

struct ScreenshotRequest {
    int frame = 0; // written after this frame is drawn (0 is the first frame)
    std::string path;
};

// An event's attempt played by its own script whenever a session enters that event's scene.
struct AttemptScriptPath {
    int scene = -1;
    std::string path;
};

struct RunnerOptions {
    RunMode mode = RunMode::kNone;
    int scene = -1;
    std::string inputPath; // empty: no input at all
    std::vector<AttemptScriptPath> attempts; // --attempt, sessions only
    uint32_t seed = 1;
    int frames = 3600;    // at most
    int afterFinish = -1; // frames to run on after `finished`; -1 runs on to `frames`
    std::vector<ScreenshotRequest> screenshots;
    bool bench = false;
    bool outlines = false; // scenes: draw the physics outline overlay (the game's D key)
    std::string imagePath; // --load-image source and destination
    std::string imageOut;
};

// Exit codes: 0 after a run, 1 when the run could not do what was asked (no data, no GL context,
// an image that does not load or a file that cannot be written), 2 for bad arguments or scripts.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Scene ids the runner plays: the events 0..16 and the ceremonies 20 and 21.
bool RunnableSceneId(int id);

// False with *error saying which argument is wrong and why.
bool ParseRunnerArgs(int argc, const char* const* argv, RunnerOptions* options, std::string* error);
const char* RunnerUsage();

// Reads and parses the script file; false with *error naming the file and the line.
bool LoadInputScript(const std::string& path, InputScript* script, std::string* error);

// ---- Reports ---------------------------------------------------------------------------------


// Appends `text` as a quoted JSON string.
void AppendJsonString(std::string* out, const std::string& text);
// Appends a float as JSON: the fewest decimals that read back to the same float, never with an
// exponent (380 is 380), null if not finite.
void AppendJsonFloat(std::string* out, float value);

// The effect names of the effect calls among `calls`, in order, and the music names started.
std::vector<std::string> EffectNames(const std::vector<SoundCall>& calls);
std::vector<std::string> MusicNames(const std::vector<SoundCall>& calls);

struct SceneReport {
    int scene = -1;
    uint32_t seed = 1;
    int frames = 0; // frames run
    bool finished = false;
    int finishedFrame = -1; // the frame in which `finished` was first seen set
    float result = 0.0f;
    bool fault = false;
    std::string worldHash;
    std::vector<std::string> sounds;
    std::vector<std::string> music;
};

// One attempt a session played through an attempt script.
struct AttemptReport {
    int scene = -1;
    int frames = 0; // frames from the scene's first update to its continue click
    bool finished = false;
    float result = 0.0f;
    bool fault = false;
};

struct SessionReport {
    uint32_t seed = 1;
    int frames = 0;
    bool quit = false;                  // the game asked to quit
    int state = -1;                     // the game session's state after the last frame, -1 none
    int scene = -1;                     // id of its current scene, -1 none
    std::vector<std::string> analytics; // log lines starting "Flurry:"
    std::vector<AttemptReport> attempts;
};

// Echoes every diagnostic line to stderr and keeps the analytics lines ("Flurry:" first). Only
// those are captured, so a game that logs every frame does not seem to allocate because of it.
class AnalyticsLogSink : public LogSink {
  public:
    void Write(const char* text) override;
    const std::vector<std::string>& Lines() const { return capture.Lines(); }

  private:
    CaptureLogSink capture;
    bool atLineStart = true;
    bool keeping = false;
};

std::string SceneReportJson(const SceneReport& report);
std::string SessionReportJson(const SessionReport& report);

// ---- Frame loops -----------------------------------------------------------------------------

// Per-frame measurements for --bench; the vectors are reserved before the loop.
struct FrameTiming {
    std::vector<uint64_t> updateMicros;
    std::vector<uint64_t> drawMicros;
    std::vector<uint64_t> allocations; // heap allocations made during the frame
    std::vector<uint64_t> drawCalls;   // GL draw calls the frame sent
    void Reserve(int frames);
};

struct AttemptScript {
    int scene = -1;
    InputScript script;
};

struct LoopControl {
    const InputScript* script = nullptr; // null: no input at all
    // Sessions: each time the game enters the scene of one of these events, that script plays
    // the attempt (frame 0 is the scene's first update) and the runner clicks the continue button
    // once the event has finished and the script has run out. The session script waits meanwhile:
    // its frames count only the frames played outside those attempts.
    const std::vector<AttemptScript>* attempts = nullptr;
    int maxFrames = 3600;
    int afterFinish = -1;
    FrameTiming* timing = nullptr;             // null: not timed
    std::function<void(int frame)> afterFrame; // after the frame is drawn and swapped
};

// Plays a scene: per frame the script's input, the animation clock, Update, then DrawFrame inside
// one batch, the sound update and the end of the frame's one-shot input. Stops after maxFrames,
// or afterFinish frames after the frame in which the scene set `finished`. Fills the frame
// counts and the scene's outcome fields of *report (not the sounds).
void RunSceneFrames(SportEvent* scene, const LoopControl& control, SceneReport* report);

// Plays the whole game through the shell's frame (the game host's update, then its drawing in
// one batch), until the game asks to quit or maxFrames have run. Attempts played by attempt
// scripts are listed in report->attempts.
void RunSessionFrames(const LoopControl& control, SessionReport* report);

// ---- Bench summary ---------------------------------------------------------------------------

// The value at quantile q (0..1) by the nearest-rank rule; 0 for no values.
uint64_t NearestRankPercentile(std::vector<uint64_t> values, double q);

constexpr int kBenchWarmupFrames = 60; // allocations of the first second are not counted

// One line per measure: median and 95th percentile of update and draw in microseconds, draw
// calls per frame (median and most), and the heap allocations of the frames after the first second.
std::string BenchSummary(const FrameTiming& timing, bool allocationsCounted);

} // namespace kel
