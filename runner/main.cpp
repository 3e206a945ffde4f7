// kelvaro-sim: plays a scene or the whole game headless from an input script and reports what
// happened as one JSON object on stdout; also prints the built sprite atlas and converts images
// by the game's loading rules. See RunnerUsage() in runner/runner.cpp for the command line.
//
// Sections: helpers; --atlas; --load-image; scene and session runs; entry.
#include "base/app_state.h"
#include "app/game_host.h"
#include "base/random.h"
#include "app/scene_registry.h"
#include "app/shell.h"
#include "audio/sound.h"
#include "gfx/atlas_table.h"
#include "gfx/gl_frame_cache.h"
#include "gfx/gl_recording.h"
#include "gfx/image.h"
#include "gfx/renderer.h"
#include "platform/data_root.h"
#include "platform/log.h"
#include "platform/window.h"
#include "platform/alloc_count.h"
#include "runner/runner.h"
#include "sim/records.h"
#include "sim/scene_host.h"
#include "sim/sport_event.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kel {
namespace {

// ---- Helpers ---------------------------------------------------------------------------------

int UsageError(const std::string& what) {
    std::fprintf(stderr, "kelvaro-sim: %s\n%s", what.c_str(), RunnerUsage());
    return kExitUsage;
}

// A bad script or a scene that does not exist yet: the command line was fine, so no usage text.
int InputError(const std::string& what) {
    std::fprintf(stderr, "kelvaro-sim: %s\n", what.c_str());
    return kExitUsage;
}

int Failure(const std::string& what) {
    std::fprintf(stderr, "kelvaro-sim: %s\n", what.c_str());
    return kExitFailed;
}

// Reads the frame just drawn and writes it upright as PNG.
bool WriteScreen(const std::string& path) {
    Image& shot = gScreenshotImage;
    GlBackend* gl = gRenderer.gl;
    if (!shot.pixels || !gl ||
        !gl->ReadPixels(shot.width, shot.height, reinterpret_cast<uint8_t*>(shot.pixels)))
        return false;
    auto* bytes = reinterpret_cast<uint8_t*>(shot.pixels);
    const size_t count = static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height);
    for (size_t i = 0; i < count; ++i)
        std::swap(bytes[i * 4], bytes[i * 4 + 2]);
    return WritePng(path.c_str(), shot);
}

// ---- --atlas ---------------------------------------------------------------------------------

int PrintAtlas() {
    NullGlBackend gl;
    SetGlBackend(&gl);
    const int missing = LoadAllTextureSlots();
    if (missing > 0) std::fprintf(stderr, "kelvaro-sim: %d texture slots could not be loaded\n", missing);
    BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
    std::printf("sprite\tslot\tx\ty\tw\th\tanchorX\tanchorY\n");
    for (int sprite = 0; sprite < kSpriteCount; ++sprite) {
        const SpriteDef& d = gRenderer.sprites[sprite];
        if (d.width == 0.0f && d.height == 0.0f) continue;
        const int slot = static_cast<int>(d.slot);
        // The atlas keeps texture coordinates; a slot that never loaded was built against size 1.
        const float w = TextureWidth(slot) > 0 ? static_cast<float>(TextureWidth(slot)) : 1.0f;
        const float h = TextureHeight(slot) > 0 ? static_cast<float>(TextureHeight(slot)) : 1.0f;
        std::printf("%d\t%d\t%ld\t%ld\t%g\t%g\t%g\t%g\n", sprite, slot, std::lround(d.uLeft * w),
                    std::lround(d.vTop * h), static_cast<double>(d.width), static_cast<double>(d.height),
                    static_cast<double>(d.anchorX), static_cast<double>(d.anchorY));
    }
    SetGlBackend(nullptr);
    return kExitOk;
}

// ---- --load-image ----------------------------------------------------------------------------

int ConvertImage(const RunnerOptions& options) {
    std::unique_ptr<Image> image(LoadImage(options.imagePath.c_str()));
    if (!image || !image->pixels) return Failure("can't load the image " + options.imagePath);
    // WritePng writes the last row first (for GL's bottom-up screens); turn the rows over so the
    // file comes out upright.
    const size_t rowPixels = static_cast<size_t>(image->width);
    std::vector<uint32_t> row(rowPixels);
    for (int top = 0, bottom = image->height - 1; top < bottom; ++top, --bottom) {
        uint32_t* a = image->pixels + static_cast<size_t>(top) * rowPixels;
        uint32_t* b = image->pixels + static_cast<size_t>(bottom) * rowPixels;
        std::memcpy(row.data(), a, rowPixels * 4);
        std::memcpy(a, b, rowPixels * 4);
        std::memcpy(b, row.data(), rowPixels * 4);
    }
    if (!WritePng(options.imageOut.c_str(), *image)) return Failure("can't write " + options.imageOut);
    return kExitOk;
}

// ---- Scene and session runs ------------------------------------------------------------------

// A scene played alone is a practice attempt on screen; this host only adds the outline overlay.
class OutlineHost : public SceneHost {
  public:
    bool DebugDraw() const override { return true; }
    void DrawPhysicsDebug(b2World* world) override { DrawWorldOutlines(world); }
    bool Paused() const override { return false; }
    bool PanelOpen() const override { return false; }
    bool InScene() const override { return true; }
    bool CompetitionRunning() const override { return false; }
};

int Play(const RunnerOptions& options) {
    InputScript script;
    if (!options.inputPath.empty()) {
        std::string error;
        if (!LoadInputScript(options.inputPath, &script, &error)) return InputError(error);
    }
    std::vector<AttemptScript> attempts;
    for (const AttemptScriptPath& a : options.attempts) {
        attempts.push_back({a.scene, {}});
        std::string error;
        if (!LoadInputScript(a.path, &attempts.back().script, &error)) return InputError(error);
    }
    if (options.mode == RunMode::kScene && !SceneBuilt(options.scene))
        return InputError("scene " + std::to_string(options.scene) + " is not built yet");

    // No sound device: the sound system runs silent and still records every call.
    setenv("ALSOFT_DRIVERS", "null", 1);

    std::unique_ptr<Window> window;
    std::unique_ptr<GlBackend> gl;
    if (!options.screenshots.empty()) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        window.reset(CreateSdlWindow());
        if (!window || !window->SetVideoMode(gApp.screenWidth, gApp.screenHeight, false))
            return Failure("--screenshot needs an OpenGL context and none could be made (SDL's offscreen "
                           "video driver through EGL; install libegl1 and libegl-mesa0)");
        gl.reset(CreateOpenGlBackend());
    } else {
        gl = std::make_unique<NullGlBackend>();
    }
    SetScreenSize(gApp.screenWidth, gApp.screenHeight);
    gScreenshotImage.Allocate(gApp.screenWidth, gApp.screenHeight);
    // --bench without pictures puts the game's frame cache in front of the null GL, to count the
    // frames the game would not send again because nothing changed.
    std::unique_ptr<FrameCacheGlBackend> cache;
    if (options.bench && !window) cache = std::make_unique<FrameCacheGlBackend>(gl.get());
    SetGlBackend(cache ? static_cast<GlBackend*>(cache.get()) : gl.get());

    AnalyticsLogSink log;
    SetLogSink(&log);
    SeedRandom(options.seed);
    StartUp(nullptr);

    std::vector<SoundCall> sounds;
    sounds.reserve(4096);
    FrameTiming timing;
    LoopControl control;
    control.script = options.inputPath.empty() ? nullptr : &script;
    control.attempts = &attempts;
    control.maxFrames = options.frames;
    control.afterFinish = options.afterFinish;
    if (options.bench) {
        timing.Reserve(options.frames);
        control.timing = &timing;
    }
    std::vector<bool> shotWritten(options.screenshots.size(), false);
    bool shotFailed = false;
    if (cache) control.afterFrame = [&](int) { cache->EndFrame(); };
    if (window) {
        control.afterFrame = [&](int frame) {
            window->SwapBuffers();
            for (size_t i = 0; i < options.screenshots.size(); ++i) {
                if (options.screenshots[i].frame != frame) continue;
                shotWritten[i] = WriteScreen(options.screenshots[i].path);
                if (!shotWritten[i]) {
                    std::fprintf(stderr, "kelvaro-sim: can't write the screenshot %s\n",
                                 options.screenshots[i].path.c_str());
                    shotFailed = true;
                }
            }
        };
    }

    std::string json;
    if (options.mode == RunMode::kScene) {
        // The scene plays alone: the host the game would show is not needed, and not saving it
        // keeps records.rec untouched.
        delete gApp.gameHost;
        gApp.gameHost = nullptr;
        static RecordsData records;
        SetSoundRecorder(&sounds);
        // Seeded again here, so what start-up draws from the generator cannot change the scene.
        SeedRandom(options.seed);
        SportEvent* scene = CreateSceneById(options.scene);
        if (!scene) {
            SetSoundRecorder(nullptr);
            ShutDown();
            SetLogSink(nullptr);
            SetGlBackend(nullptr);
            return Failure("scene " + std::to_string(options.scene) + " could not be created");
        }
        scene->SetPlayer(&records.players[0]);
        OutlineHost outlineHost;
        if (options.outlines) SetSceneHost(&outlineHost);
        SceneReport report;
        report.scene = options.scene;
        report.seed = options.seed;
        if (options.bench) StartCountingAllocations();
        RunSceneFrames(scene, control, &report);
        if (options.outlines) SetSceneHost(nullptr);
        StopCountingAllocations();
        SetSoundRecorder(nullptr);
        report.sounds = EffectNames(sounds);
        report.music = MusicNames(sounds);
        json = SceneReportJson(report);
        delete scene;
    } else {
        SessionReport report;
        report.seed = options.seed;
        if (options.bench) StartCountingAllocations();
        RunSessionFrames(control, &report);
        StopCountingAllocations();
        report.analytics = log.Lines();
        json = SessionReportJson(report);
    }
    ShutDown();
    SetLogSink(nullptr);
    SetGlBackend(nullptr);
    gl.reset();
    std::printf("%s\n", json.c_str());
    std::fflush(stdout);

    if (options.bench) std::fputs(BenchSummary(timing, AllocationCountingAvailable()).c_str(), stderr);
    if (cache)
        std::fprintf(stderr, "bench: frames drawn again unchanged (not sent by the game) %d of %d\n",
                     cache->framesSkipped, cache->framesSent + cache->framesSkipped);
    for (size_t i = 0; i < options.screenshots.size(); ++i) {
        if (shotWritten[i]) continue;
        if (!shotFailed)
            std::fprintf(stderr, "kelvaro-sim: no screenshot %s: the run ended before frame %d\n",
                         options.screenshots[i].path.c_str(), options.screenshots[i].frame);
        shotFailed = true;
    }
    return shotFailed ? kExitFailed : kExitOk;
}

} // namespace
} // namespace kel

// ---- Entry -----------------------------------------------------------------------------------

int main(int argc, char** argv) {
    using namespace kel;
    RunnerOptions options;
    std::string error;
    if (!ParseRunnerArgs(argc, argv, &options, &error)) return UsageError(error);
    if (options.mode == RunMode::kHelp) {
        std::fputs(RunnerUsage(), stdout);
        return kExitOk;
    }
    if (options.mode == RunMode::kLoadImage) return ConvertImage(options);
    if (!FindDataRoot(argv[0])) return kExitFailed;
    if (options.mode == RunMode::kAtlas) return PrintAtlas();
    return Play(options);
}
