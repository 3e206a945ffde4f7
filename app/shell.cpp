#include "app/shell.h"

#include "base/app_state.h"
#include "app/frame_meter.h"
#include "app/game_host.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/atlas_table.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/files.h"
#include "platform/log.h"
#include "sim/scene_host.h"

#include <cstdio>
#include <cstring>

namespace kel {

Image gScreenshotImage;

namespace {

FrameCacheGlBackend* gFrameCache = nullptr;

// Start-up phases are logged once, each with its own span and the time since launch.
void LogPhase(Clock* clock, uint32_t* since, const char* phase) {
    if (!clock) return;
    const uint32_t now = clock->Milliseconds();
    LogDebug("Start-up: %s %u ms (%u ms after launch)", phase, now - *since, now);
    *since = now;
}

} // namespace

void SetFrameCache(FrameCacheGlBackend* cache) { gFrameCache = cache; }

void FoldEvent(const InputEvent& e) {
    switch (e.type) {
    case InputEvent::kKeyDown:
        if (e.key == kKeyF4 && (e.modifiers == kModLeftAlt || e.modifiers == kModRightAlt)) gApp.quitRequested = 1;
        if (e.key >= 0 && e.key < kKeyCount) {
            gApp.keyHeld[e.key] = 1;
            gApp.keyPressed[e.key] = 1;
        }
        if (e.key == kKeyReturn && (e.modifiers & kModAlt)) gApp.fullscreenToggleRequested = 1;
        break;
    case InputEvent::kKeyUp:
        if (e.key >= 0 && e.key < kKeyCount) {
            gApp.keyHeld[e.key] = 0;
            gApp.keyPressed[e.key] = 0;
        }
        break;
    case InputEvent::kMotion:
        gApp.mouseX = e.x < 0 ? 0 : (e.x > gApp.screenWidth ? gApp.screenWidth : e.x);
        gApp.mouseY = e.y < 0 ? 0 : (e.y > gApp.screenHeight ? gApp.screenHeight : e.y);
        break;
    case InputEvent::kButtonDown:
    case InputEvent::kButtonUp: {
        const uint8_t down = e.type == InputEvent::kButtonDown ? 1 : 0;
        if (e.button == 1) {
            gApp.mouseHeld = down;
            if (down)
                gApp.mousePressed = 1;
            else
                gApp.mouseReleased = 1;
        } else if (e.button == 4 || e.button == 5) {
            const int key = e.button == 4 ? kKeyPageUp : kKeyPageDown;
            gApp.keyHeld[key] = down;
            gApp.keyPressed[key] = down;
        }
        break;
    }
    case InputEvent::kQuit:
        gApp.quitRequested = 1;
        break;
    case InputEvent::kNone:
        break;
    }
}

void PumpOneEvent(Window* window) {
    InputEvent e;
    if (window && window->PollEvent(&e)) FoldEvent(e);
}

void UpdateGameFrame() {
    if (gApp.gameHost) gApp.gameHost->Update();
}

void DrawGameFrame() {
    if (!gApp.gameHost) return;
    BeginBatch();
    const uint64_t callsBefore = gRenderer.drawCalls;
    gApp.gameHost->Draw();
    FlushBatch();
    if (gFrameMeter.shown) {
        gFrameMeter.drawCalls = gRenderer.drawCalls - callsBefore;
        DrawFrameMeter();
        FlushBatch();
    }
}

void RunFrame() {
    if (!gFrameMeter.shown) {
        UpdateGameFrame();
        DrawGameFrame();
        return;
    }
    MeterFrameStart();
    const uint64_t t0 = MeterMicros();
    UpdateGameFrame();
    const uint64_t t1 = MeterMicros();
    DrawGameFrame();
    gFrameMeter.updateMicros = t1 - t0;
    gFrameMeter.drawMicros = MeterMicros() - t1;
}

void RequestQuit() { gApp.quitRequested = 1; }

bool TakeScreenshot() {
    char name[64];
    std::snprintf(name, sizeof name, "screenshots/%04d.png", gApp.screenshotCounter);
    ++gApp.screenshotCounter;
    Image& shot = gScreenshotImage;
    // The game allocates the frame's 3 MiB on the first P rather than holding it from start-up.
    if (!shot.pixels || shot.width != gApp.screenWidth || shot.height != gApp.screenHeight)
        shot.Allocate(gApp.screenWidth, gApp.screenHeight);
    GlBackend* gl = gRenderer.gl;
    if (!shot.pixels || !gl || !gl->ReadPixels(shot.width, shot.height, reinterpret_cast<uint8_t*>(shot.pixels))) {
        LogDebug("Can't read the screen for %s", name);
        return false;
    }
    auto* bytes = reinterpret_cast<uint8_t*>(shot.pixels);
    const size_t count = static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t r = bytes[i * 4];
        bytes[i * 4] = bytes[i * 4 + 2];
        bytes[i * 4 + 2] = r;
    }
    // A key that silently does nothing is worse than a folder made for it.
    if (!EnsureDirectory("screenshots") || !WritePng(name, shot)) {
        LogDebug("Can't write %s", name);
        return false;
    }
    LogDebug("Screenshot %s", name);
    return true;
}

void ResetGraphics() {
    if (gRenderer.gl) gRenderer.gl->SetupState(gApp.screenWidth, gApp.screenHeight);
    LoadStartTextureSlots();
}

namespace {

bool DrawsAtHalfRate() {
    const SceneHost* host = CurrentSceneHost();
    return gRenderer.gl != nullptr && gRenderer.gl->IsSoftware() && host != nullptr && host->CeremonyShowing();
}

} // namespace

void DisplayFrame(Window* window) {
    // A software rasteriser spends about a third of a core redrawing the whole screen 60 times a
    // second. A ceremony, which nobody plays against, is sent to GL on every second frame there;
    // it still runs, and is drawn into the frame cache, at the full rate.
    static unsigned displayCount = 0;
    ++displayCount;
    PumpOneEvent(window);
    if (gApp.keyPressed[kKeyF7]) ToggleFrameMeter();
    RunFrame();
    if (gApp.fastMode) {
        ClearFrameInput();
        RunFrame();
    }
    UpdateSound();
    bool changed = true;
    if (gFrameCache) {
        if (gApp.keyPressed['p']) gFrameCache->Invalidate();
        if (gApp.keyPressed['p'] || displayCount % 2 == 0 || !DrawsAtHalfRate()) {
            changed = gFrameCache->EndFrame();
        } else {
            gFrameCache->DropFrame();
            changed = false;
        }
    }
    if (window && changed) window->SwapBuffers();
    if (gApp.keyPressed['p']) TakeScreenshot();
    if (gApp.fullscreenToggleRequested) {
        gApp.fullscreen = !gApp.fullscreen;
        gApp.fullscreenToggleRequested = 0;
        if (!window || !window->SetVideoMode(gApp.screenWidth, gApp.screenHeight, gApp.fullscreen)) {
            gApp.quitRequested = 1;
            return;
        }
        ResetGraphics();
    }
    ClearFrameInput();
}

void StartUp(Clock* clock) {
    if (!RandomSeeded()) SeedRandom(clock ? clock->Milliseconds() : 0u);
    IgnoreFileSizeSignal();
    std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
    ClearFrameInput();
    gApp.mouseHeld = 0;
    gRenderer.colour = kWhite;
    uint32_t since = clock ? clock->Milliseconds() : 0u;
    StartSound();
    LogPhase(clock, &since, "sound device");
    if (gRenderer.gl) gRenderer.gl->SetupState(gApp.screenWidth, gApp.screenHeight);
    LoadEffects(kEffectTable, kSfxCount);
    LogPhase(clock, &since, "sound effects");
    const int missing = LoadStartTextureSlots();
    if (missing > 0) LogDebug("%d texture slots could not be loaded", missing);
    LogPhase(clock, &since, "textures");
    BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
    gApp.font = new BitmapFont;
    gApp.font->Load("art\\c64.fnt", 0);
    LogPhase(clock, &since, "atlas and font");
    gApp.gameHost = new GameHost;
    LogPhase(clock, &since, "game host");
}

void ShutDown() {
    if (gApp.gameHost) {
        gApp.gameHost->Save();
        delete gApp.gameHost;
        gApp.gameHost = nullptr;
    }
    delete gApp.font;
    gApp.font = nullptr;
    ShutDownSound();
}

void RunFrameLoop(Window* window, Clock* clock) {
    // The first frame is drawn at once; after it, one every kFrameMilliseconds.
    uint32_t lastFrame = clock->Milliseconds() - kFrameMilliseconds;
    bool first = true;
    while (!gApp.quitRequested) {
        const uint32_t elapsed = clock->Milliseconds() - lastFrame;
        if (elapsed >= kFrameMilliseconds) {
            lastFrame = clock->Milliseconds();
            DisplayFrame(window);
            if (first) {
                LogDebug("First frame shown %u ms after start", clock->Milliseconds());
                first = false;
            }
        } else {
            // Sleep for the rest of the frame instead of spinning on the clock.
            clock->Sleep(kFrameMilliseconds - elapsed);
        }
    }
}

} // namespace kel
