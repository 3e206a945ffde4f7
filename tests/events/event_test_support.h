// Shared set-up for the event tests: a scene played frame by frame as the game session plays it,
// the mouse at world points, the runner's input scripts, and what a frame drew.
#pragma once

#include "base/app_state.h"
#include "app/input_script.h"
#include "base/random.h"
#include "gfx/font.h"
#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "sim/records.h"
#include "sim/sim_test_support.h"
#include "sim/sport_event.h"
#include "sim/world_hash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

namespace kel::test {

// The world hash the headless runner reports as "worldHash".
inline std::string WorldHashText(const b2World* world) {
    return WorldHash(world);
}

// An input script kept in tests/events/ for the headless runner; empty when it cannot be read.
inline std::string EventScriptText(const char* name) {
    std::ifstream in(std::string(KELVARO_EVENT_SCRIPT_DIR "/") + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class EventTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        // Whole attempts draw thousands of frames; only the checks below record GL calls.
        SetGlBackend(&nullGl);
    }
    void TearDown() override {
        gApp.font = nullptr;
        SimTest::TearDown();
    }

    // Window pixel of a world point under the scene's current camera.
    static int PxX(const SportEvent& s, float x) {
        return static_cast<int>(std::lround(gApp.screenCentreX + (x - s.cameraX) * s.zoom));
    }
    static int PxY(const SportEvent& s, float y) {
        return static_cast<int>(std::lround(gApp.screenCentreY + (y - s.cameraY) * s.zoom));
    }

    // One game frame as the session runs it: the clock, the rules, the drawing, then the end of
    // the frame's one-shot input.
    static void Step(SportEvent& s) {
        gApp.frameCounter += 1;
        s.Update();
        s.DrawFrame();
        FlushBatch();
        Frame();
    }
    static void Steps(SportEvent& s, int frames) {
        for (int i = 0; i < frames; ++i)
            Step(s);
    }

    // A press at a window pixel (or a world point) in one frame and the release in the next;
    // (900, 100) is empty sky in every event that starts with a click anywhere.
    static void ClickPx(SportEvent& s, int x = 900, int y = 100) {
        MouseAt(x, y);
        Press();
        Step(s);
        Release();
        Step(s);
    }
    static void Click(SportEvent& s, b2Vec2 at) { ClickPx(s, PxX(s, at.x), PxY(s, at.y)); }
    // A press at a world point, held for this one frame.
    static void Grab(SportEvent& s, b2Vec2 at) {
        MouseAt(PxX(s, at.x), PxY(s, at.y));
        Press();
        Step(s);
    }
    // Frames with the mouse button held down, until the attempt is finished.
    static void Hold(SportEvent& s, int frames) {
        for (int i = 0; i < frames && !s.finished; ++i) {
            gApp.mouseHeld = 1;
            Step(s);
        }
    }
    // Steps while `more()` holds, `limit` frames at most; returns the frames stepped.
    template <typename More> static int StepWhile(SportEvent& s, int limit, More more) {
        int frames = 0;
        for (; frames < limit && more(); ++frames)
            Step(s);
        return frames;
    }

    // A script kept beside the tests, parsed.
    static InputScript LoadScript(const char* name) {
        InputScript script;
        std::string error;
        EXPECT_TRUE(ParseInputScript(EventScriptText(name), &script, &error)) << name << ": " << error;
        return script;
    }

    // Plays a kept script into the scene until `finished` has held for `afterFinish` frames (or
    // 9000 frames pass); returns the frame in which `finished` was first set, -1 if never.
    // `watch` runs after each frame.
    template <typename Watch = void (*)(int)>
    static int PlayFile(
        SportEvent& s, const char* name, int afterFinish = 60, Watch watch = [](int) {}) {
        const InputScript script = LoadScript(name);
        ScriptPlayer player(script);
        int finishedFrame = -1;
        for (int frame = 0; frame < 9000; ++frame) {
            player.Apply(frame);
            Step(s);
            watch(frame);
            if (s.finished && finishedFrame < 0) finishedFrame = frame;
            if (finishedFrame >= 0 && frame == finishedFrame + afterFinish) break;
        }
        return finishedFrame;
    }

    // The event's music started, looping, and was stopped again by the end of the attempt.
    void ExpectMusicStartedAndStopped() const {
        const int music = FindCall(SoundCall::kMusic);
        ASSERT_NE(music, -1);
        EXPECT_TRUE(sounds[static_cast<size_t>(music)].loop);
        EXPECT_NE(FindCall(SoundCall::kStopMusic, -1, music), -1);
    }

    // Index of the first recorded call of `kind` (and effect, for effects) at or after `from`,
    // -1 when there is none.
    int FindCall(SoundCall::Kind kind, int effect = -1, int from = 0) const {
        for (int i = from; i < static_cast<int>(sounds.size()); ++i) {
            const SoundCall& c = sounds[static_cast<size_t>(i)];
            if (c.kind == kind && (kind != SoundCall::kEffect || c.effect == effect)) return i;
        }
        return -1;
    }

    // A font of one 8 x 8 px glyph that stands in for every character, so each HUD text line
    // is a row of quads whose top edge is the line's y.
    void UseBlockFont() {
        font.glyphs[static_cast<unsigned char>('?')] = new Glyph{8.0f, 8.0f, 0.0f, 1.0f, 0.0f, 1.0f};
        font.height = 8.0f;
        gApp.font = &font;
        gApp.showText = 1;
    }

    // Records in `gl` what the scene's world drawing, its HUD or a whole frame sends to GL.
    enum Drawing { kWorld, kHud, kWholeFrame };
    void Record(SportEvent& s, Drawing what = kWorld) {
        SetGlBackend(&gl);
        gl.Reset();
        what == kWorld ? s.Draw() : what == kHud ? s.DrawHud() : s.DrawFrame();
        FlushBatch();
        SetGlBackend(&nullGl);
    }
    std::vector<DrawnQuad> Drawn(SportEvent& s, bool hud = false) {
        Record(s, hud ? kHud : kWorld);
        return TakeQuads(gl);
    }

    // Whether the scene's HUD draws a text line whose top is at `y` px at the given font scale.
    bool HudLineAt(SportEvent& s, float y, float scale = 4.0f) {
        for (const DrawnQuad& q : Drawn(s, true)) {
            if (q.top == y && q.bottom == y + 8.0f * scale) return true;
        }
        return false;
    }

    // Gives each sprite its own left texture coordinate, so a drawn frame tells which were used.
    static void MarkSprites(std::initializer_list<int> ids) {
        for (const int id : ids) {
            SetSprite(id, 10.0f, 20.0f, 5.0f, 10.0f);
            SpriteDef& def = gRenderer.sprites[id];
            def.uLeft = static_cast<float>(id) / 1000.0f;
            def.uRight = def.uLeft + 0.0005f;
        }
    }

    // Whether the scene's world drawing (or its HUD) uses the sprite (marked by MarkSprites).
    bool Drew(SportEvent& s, int sprite, bool hud = false) {
        for (const DrawnQuad& q : Drawn(s, hud)) {
            if (q.u == static_cast<float>(sprite) / 1000.0f) return true;
        }
        return false;
    }

    NullGlBackend nullGl;
    BitmapFont font;
    PlayerRecord player; // DrawBody draws nothing without a player
};

} // namespace kel::test
