// The shell folds window events into the input state, one a frame; screenshots are upright.
#include "base/app_state.h"
#include "app/shell.h"
#include "gfx/renderer.h"
#include "gfx/gl_recording.h"
#include "gfx/image.h"
#include "sim/scene_host.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

namespace kel {
namespace {

InputEvent Make(InputEvent::Type type, int key = 0, int mods = 0, int x = 0, int y = 0) {
    InputEvent e;
    e.type = type;
    e.key = e.button = key;
    e.modifiers = mods;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Motion(int x, int y) {
    return Make(InputEvent::kMotion, 0, 0, x, y);
}

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
        ClearFrameInput();
        gApp.mouseHeld = gApp.mouseX = gApp.mouseY = 0;
        gApp.quitRequested = gApp.fullscreen = gApp.fullscreenToggleRequested = gApp.fastMode = 0;
        gApp.screenshotCounter = 0;
        SetScreenSize(1024, 768);
    }
    NullWindow window;
};

// A quick click queues down and up together: the press shows in one frame, the release in the next.
TEST_F(ShellTest, OneEventPerFrameInOrderAndKeysPressedForOneFrameHeldUntilUp) {
    window.Push(Make(InputEvent::kButtonDown, 1));
    window.Push(Make(InputEvent::kButtonUp, 1));
    PumpOneEvent(&window);
    EXPECT_EQ(gApp.mousePressed, 1u);
    EXPECT_EQ(gApp.mouseReleased, 0u);
    EXPECT_EQ(gApp.mouseHeld, 1u);
    ClearFrameInput();
    PumpOneEvent(&window);
    EXPECT_EQ(gApp.mousePressed, 0u);
    EXPECT_EQ(gApp.mouseReleased, 1u);
    EXPECT_EQ(gApp.mouseHeld, 0u);
    // A whole displayed frame takes one event too: the motion waits its turn behind the key.
    window.Push(Make(InputEvent::kKeyDown, 'x'));
    window.Push(Motion(10, 20));
    DisplayFrame(&window);
    EXPECT_EQ(gApp.keyHeld['x'], 1);
    EXPECT_NE(gApp.mouseX, 10);
    DisplayFrame(&window);
    EXPECT_EQ(gApp.mouseX, 10);
    window.Push(Make(InputEvent::kKeyDown, 'r'));
    PumpOneEvent(&window);
    EXPECT_EQ(gApp.keyPressed['r'], 1);
    EXPECT_EQ(gApp.keyHeld['r'], 1);
    DisplayFrame(&window); // ends the frame: pressed cleared, held kept
    EXPECT_EQ(gApp.keyPressed['r'], 0);
    EXPECT_EQ(gApp.keyHeld['r'], 1);
    FoldEvent(Make(InputEvent::kKeyUp, 'r'));
    EXPECT_EQ(gApp.keyHeld['r'], 0);
    for (const int key : {511, -3, 510})
        FoldEvent(Make(InputEvent::kKeyDown, key));
    EXPECT_EQ(gApp.keyHeld[510], 1);
}

TEST_F(ShellTest, AltF4QuitsAltReturnGoesFullScreenTheMouseIsClampedAndTheWheelGivesPageKeys) {
    constexpr int kNumLock = 0x1000;
    for (const int mods : {kModLeftAlt | kNumLock, kModAlt, kModRightAlt}) { // exactly one Alt
        FoldEvent(Make(InputEvent::kKeyDown, kKeyF4, mods));
        EXPECT_EQ(gApp.quitRequested, mods == kModRightAlt ? 1 : 0) << mods;
    }
    gApp.quitRequested = 0;
    FoldEvent(Make(InputEvent::kQuit)); // the window's close box
    EXPECT_EQ(gApp.quitRequested, 1);
    gApp.quitRequested = 0;
    FoldEvent(Make(InputEvent::kKeyDown, kKeyReturn));
    EXPECT_EQ(gApp.fullscreenToggleRequested, 0);
    EXPECT_EQ(gApp.keyPressed[kKeyReturn], 1);
    FoldEvent(Make(InputEvent::kKeyDown, kKeyReturn, kModLeftAlt | kNumLock));
    EXPECT_EQ(gApp.fullscreenToggleRequested, 1);
    DisplayFrame(&window);
    EXPECT_EQ(gApp.fullscreen, 1);
    EXPECT_EQ(gApp.fullscreenToggleRequested, 0);
    EXPECT_EQ(gApp.quitRequested, 0);
    FoldEvent(Motion(-5, 900));
    EXPECT_EQ(gApp.mouseX, 0);
    EXPECT_EQ(gApp.mouseY, 768);
    FoldEvent(Motion(2000, -1));
    EXPECT_EQ(gApp.mouseX, 1024);
    EXPECT_EQ(gApp.mouseY, 0);
    FoldEvent(Make(InputEvent::kButtonDown, 1));
    EXPECT_EQ(gApp.mouseX, 1024) << "buttons do not move the mouse";
    FoldEvent(Make(InputEvent::kButtonDown, 4));
    EXPECT_EQ(gApp.keyPressed[kKeyPageUp], 1);
    FoldEvent(Make(InputEvent::kButtonDown, 5));
    EXPECT_EQ(gApp.keyHeld[kKeyPageDown], 1);
    FoldEvent(Make(InputEvent::kButtonUp, 5));
    EXPECT_EQ(gApp.keyHeld[kKeyPageDown], 0);
    FoldEvent(Make(InputEvent::kButtonUp, 1));
    FoldEvent(Make(InputEvent::kButtonDown, 3));
    EXPECT_EQ(gApp.mouseHeld, 0u);
}

// A GL backend whose screen is a known picture: pixel (x, y) counted from the bottom row.
struct PictureGl : NullGlBackend {
    bool ReadPixels(int w, int h, uint8_t* rgba) override {
        for (int i = 0; i < w * h; ++i) {
            const uint8_t p[4] = {static_cast<uint8_t>(i % w), static_cast<uint8_t>(i / w), 200, 255};
            std::memcpy(rgba + static_cast<size_t>(i) * 4, p, 4);
        }
        return true;
    }
};

TEST_F(ShellTest, ScreenshotsAreNumberedUprightAndMakeTheirFolder) {
    const auto dir = std::filesystem::temp_directory_path() / ("kelvaro_shots_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    SetScreenSize(64, 32);
    gScreenshotImage.Allocate(64, 32);
    PictureGl gl;
    GlBackend* previous = std::exchange(gRenderer.gl, &gl);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(TakeScreenshot());
    gRenderer.gl = previous;
    EXPECT_TRUE(std::filesystem::exists("screenshots/0003.png"));
    EXPECT_FALSE(std::filesystem::exists("screenshots/0004.png"));
    Image* shot = LoadImage("screenshots/0000.png");
    ASSERT_NE(shot, nullptr);
    // GL's bottom row (y = 0) is the picture's last row; colours arrive as B,G,R,A.
    const uint32_t bottomLeft = shot->pixels[31 * 64 + 0];
    EXPECT_EQ(bottomLeft & 0xFFu, 200u);            // blue byte
    EXPECT_EQ((bottomLeft >> 8) & 0xFFu, 0u);       // green = GL row 0
    EXPECT_EQ((shot->pixels[0] >> 8) & 0xFFu, 31u); // top row is GL row 31
    EXPECT_EQ((shot->pixels[5] >> 16) & 0xFFu, 5u); // red = x
    delete shot;
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    SetScreenSize(1024, 768);
    gScreenshotImage.Allocate(1024, 768);
}

// On a software rasteriser a running ceremony reaches GL on every second frame only; events,
// a GPU and a frame being saved as a screenshot get every frame.
TEST_F(ShellTest, ASoftwareRasteriserIsSentEverySecondFrameOfACeremonyOnly) {
    struct Host : SceneHost {
        bool DebugDraw() const override { return false; }
        void DrawPhysicsDebug(b2World*) override {}
        bool Paused() const override { return false; }
        bool PanelOpen() const override { return false; }
        bool InScene() const override { return true; }
        bool CompetitionRunning() const override { return false; }
        bool CeremonyShowing() const override { return ceremony; }
        bool ceremony = true;
    } host;
    struct Gl : RecordingGlBackend {
        bool IsSoftware() const override { return software; }
        bool software = true;
    } real;
    FrameCacheGlBackend cache(&real);
    SceneHost* previousHost = CurrentSceneHost();
    GlBackend* previousGl = std::exchange(gRenderer.gl, &cache);
    SetSceneHost(&host);
    SetFrameCache(&cache);
    const auto held = [&](int frames) {
        const int before = cache.framesDropped;
        for (int i = 0; i < frames; ++i)
            DisplayFrame(&window);
        return cache.framesDropped - before;
    };
    EXPECT_EQ(held(10), 5);
    const int sent = cache.framesSent + cache.framesSkipped;
    EXPECT_EQ(sent, 5);
    real.software = false;
    EXPECT_EQ(held(4), 0) << "a GPU";
    real.software = true;
    host.ceremony = false;
    EXPECT_EQ(held(4), 0) << "an event";
    host.ceremony = true;
    char dir[] = "/tmp/kelvaro_shell_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    for (int i = 0; i < 2; ++i) {
        gApp.keyPressed['p'] = 1;
        EXPECT_EQ(held(1), 0) << "the screenshot's frame " << i;
    }
    std::filesystem::current_path(cwd);
    std::filesystem::remove_all(dir);
    SetFrameCache(nullptr);
    SetSceneHost(previousHost);
    gRenderer.gl = previousGl;
}

} // namespace
} // namespace kel
