// Shared set-up for the simulation tests: clean input, a recording GL backend, recorded sound
// calls, a fixed random seed and a few sprites of known size.
#pragma once

#include "base/app_state.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "sim/scene_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kel::test {

// The game's generator, stepped by hand, so tests can say which values the rules must draw.
struct Lcg {
    uint32_t s = 0;
    uint32_t Next() { return s = s * 214013u + 2531011u; }
    int Int(int n) {
        const uint32_t v = Next();
        return static_cast<int>(((v >> 15) ^ v) % static_cast<uint32_t>(n));
    }
    float Float(float a, float b) { return a + (b - a) * static_cast<float>(Next() >> 16) / 65535.0f; }
};

// A game-flow stand-in whose answers the test sets.
struct FakeHost : SceneHost {
    bool debugDraw = false, paused = false, panelOpen = false, inScene = true, competitionRunning = false;
    int debugDraws = 0;
    bool DebugDraw() const override { return debugDraw; }
    void DrawPhysicsDebug(b2World*) override { ++debugDraws; }
    bool Paused() const override { return paused; }
    bool PanelOpen() const override { return panelOpen; }
    bool InScene() const override { return inScene; }
    bool CompetitionRunning() const override { return competitionRunning; }
};

// One quad a frame drew (six vertices): its box in drawing units, the top-left of its texture
// region and the colour it was drawn in.
struct DrawnQuad {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    float u = 1e9f, v = 1e9f;
    float colour[4] = {};
};

// The quads recorded since the last reset, in drawing order; the recording starts again empty.
inline std::vector<DrawnQuad> TakeQuads(RecordingGlBackend& gl) {
    FlushBatch();
    std::vector<DrawnQuad> quads;
    for (const RecordingGlBackend::Draw& d : gl.draws) {
        for (size_t q = 0; q + 6 <= d.vertices.size(); q += 6) {
            DrawnQuad quad;
            for (size_t k = q; k < q + 6; ++k) {
                const Vertex& vx = d.vertices[k];
                quad.left = std::min(quad.left, vx.x), quad.right = std::max(quad.right, vx.x);
                quad.top = std::min(quad.top, vx.y), quad.bottom = std::max(quad.bottom, vx.y);
                quad.u = std::min(quad.u, vx.u), quad.v = std::min(quad.v, vx.v);
            }
            const uint32_t c = d.vertices[q].colour; // the first vertex's colour is the quad's
            for (int i = 0; i < 4; ++i)
                quad.colour[i] = static_cast<float>((c >> (8 * i)) & 0xFFu) / 255.0f;
            quads.push_back(quad);
        }
    }
    gl.Reset();
    return quads;
}

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearFrameInput();
        std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
        gApp.mouseX = gApp.mouseY = gApp.frameCounter = 0;
        gApp.mouseHeld = 0;
        gApp.showButtons = gApp.showBars = 1;
        gApp.font = nullptr;
        SetScreenSize(1024, 768);
        std::fill(std::begin(gRenderer.sprites), std::end(gRenderer.sprites), SpriteDef{});
        SetSprite(1, 32.0f, 8.0f, 0.0f, 4.0f);
        SetSprite(2, 16.0f, 16.0f, 8.0f, 8.0f);
        SetSprite(78, 83.0f, 21.0f, 41.0f, 10.0f);
        SetSprite(84, 17.0f, 16.0f, 0.0f, 0.0f);
        SetSprite(85, 15.0f, 16.0f, 0.0f, 0.0f);
        SetSprite(88, 48.0f, 21.0f, 24.0f, 10.0f);
        SetSprite(94, 58.0f, 21.0f, 29.0f, 10.0f);
        gl.Reset();
        SetGlBackend(&gl);
        BeginBatch();
        SetSoundRecorder(&sounds);
        SetSceneHost(nullptr);
        SeedRandom(12345u);
    }

    void TearDown() override {
        FlushBatch();
        SetSoundRecorder(nullptr);
        SetGlBackend(nullptr);
        SetSceneHost(nullptr);
        ClearFrameInput();
        gApp.mouseHeld = 0;
    }

    static void SetSprite(int id, float w, float h, float ax, float ay) {
        SpriteDef& s = gRenderer.sprites[id];
        s.width = w, s.height = h, s.anchorX = ax, s.anchorY = ay;
    }

    // One frame of input: the flags that hold for a single frame are cleared first.
    static void Frame() { ClearFrameInput(); }
    static void Press() { gApp.mousePressed = gApp.mouseHeld = 1; }
    static void Release() { gApp.mouseReleased = 1, gApp.mouseHeld = 0; }
    static void MouseAt(int x, int y) { gApp.mouseX = x, gApp.mouseY = y; }

    int CountEffect(int effect) const {
        return static_cast<int>(std::count_if(sounds.begin(), sounds.end(), [&](const SoundCall& c) {
            return c.kind == SoundCall::kEffect && c.effect == effect;
        }));
    }
    const SoundCall* LastEffect(int effect) const {
        const SoundCall* last = nullptr;
        for (const SoundCall& c : sounds)
            last = c.kind == SoundCall::kEffect && c.effect == effect ? &c : last;
        return last;
    }

    RecordingGlBackend gl;
    std::vector<SoundCall> sounds;
};

} // namespace kel::test
