// The scene base: grabbing with the mouse, zoom keys, stereo pan, impact sounds, HUD buttons, the
// frame drawing order that depends on the competition state, and the stall rule.
#include "sim/sport_event.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kel::test {
namespace {

// A scene with a floor and one 1 x 1 m box whose centre is at (1, -1).
class BoxScene : public SportEvent {
  public:
    explicit BoxScene(int id = kEventDiving, float gravity = 0.0f) : SportEvent(id) {
        CreateWorld(gravity);
        AddGroundBox(-10.0f, 0.0f, 20.0f, 1.0f, 0.5f, 0.0f);
        box = CreateBox(0.5f, -1.5f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    }
    bool IsTrackedBody(b2Body* body) override { return trackAll || body != box; }
    void DrawHud() override { ++hudDraws; }
    void OnImpact() override { ++impacts; }

    b2Body* box = nullptr;
    bool trackAll = true;
    int hudDraws = 0, impacts = 0;
};

class SceneBaseTest : public SimTest {
  protected:
    // The mouse over a world point with the default camera (0, 0) and zoom 40.
    static void MouseAtWorld(float x, float y) {
        MouseAt(static_cast<int>(512.0f + x * 40.0f), static_cast<int>(384.0f + y * 40.0f));
    }
    static void PressAt(BoxScene& scene, float x, float y) {
        Frame();
        MouseAtWorld(x, y);
        Press();
        scene.Update();
    }
    static void ReleaseNow(BoxScene& scene) {
        Frame();
        Release();
        scene.Update();
    }
    static void Hold(BoxScene& scene, int frames, bool step = true) {
        for (int i = 0; i < frames; ++i) {
            Frame();
            scene.Update();
            if (step) scene.StepWorld();
        }
    }
};

// The press frame already spends one frame of the budget; the pan is 1.25 m * 40 px / 1024 * 200
// = 9.8, truncated.
TEST_F(SceneBaseTest, PressOverADynamicBodyGrabsItAndPlaysThePluckJavelinAndWalkOnTheCentreLine) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 0.5f, 30);
    scene.hintBody = scene.box;
    PressAt(scene, 1.25f, -1.0f);
    ASSERT_NE(scene.mouseJoint, nullptr);
    EXPECT_EQ(std::tuple(scene.grabbedBody, scene.hintBody, scene.grabBudget, scene.startFrames),
              std::tuple(scene.box, nullptr, 29, 1));
    EXPECT_NEAR(scene.grabLocalX, 0.25f, 1e-5f);
    EXPECT_NEAR(scene.grabLocalY, 0.0f, 1e-5f);
    const SoundCall* pluck = LastEffect(kSfxTap2);
    ASSERT_TRUE(pluck);
    EXPECT_EQ(std::tuple(pluck->volume, pluck->pan), std::tuple(100, 9));
    for (int id : {kEventJavelin, kEventWalk}) { // held on the body's centre line
        BoxScene held(id);
        held.SetGrabParams(0.5f, 0.5f, 30);
        PressAt(held, 1.3f, -0.8f);
        ASSERT_NE(held.mouseJoint, nullptr);
        EXPECT_EQ(held.grabLocalX, 0.0f);
        EXPECT_NEAR(held.grabLocalY, 0.2f, 1e-5f);
        EXPECT_NEAR(held.cursorX, 1.0f, 1e-5f);
        EXPECT_NEAR(held.mouseJoint->GetTarget().x, 1.0f, 1e-5f);
    }
}

// The budget of 30 frames: 10 used by the first grab, the second ends on its 20th frame.
TEST_F(SceneBaseTest, HoldingSpendsTheGrabBudgetAndReleasingKeepsTheRest) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 0.5f, 30);
    PressAt(scene, 1.0f, -1.0f);
    Hold(scene, 9, false);
    ReleaseNow(scene);
    EXPECT_EQ(std::tuple(scene.mouseJoint, scene.grabBudget, scene.startFrames), std::tuple(nullptr, 20, 11))
        << "start frames count on without presses";
    ASSERT_EQ(CountEffect(kSfxUntap1), 1);
    EXPECT_FLOAT_EQ(LastEffect(kSfxUntap1)->pitch, 1.33f);
    PressAt(scene, 1.0f, -1.0f);
    Hold(scene, 18);
    ASSERT_NE(scene.mouseJoint, nullptr) << "frame 19 of 20";
    Hold(scene, 1, false);
    EXPECT_EQ(std::tuple(scene.mouseJoint, scene.grabbedBody, scene.grabBudget),
              std::tuple(nullptr, nullptr, 0));
    EXPECT_EQ(CountEffect(kSfxUntap1), 2);
    ReleaseNow(scene);
    PressAt(scene, 1.0f, -1.0f);
    EXPECT_EQ(scene.mouseJoint, nullptr) << "the budget is spent";
}

TEST_F(SceneBaseTest, AnUnlimitedJointPullsTheBodyKeepsItAwakeAndReleaseGrabEndsIt) {
    BoxScene scene(kEventDiving, 10.0f);
    scene.ReleaseGrab();
    EXPECT_EQ(CountEffect(kSfxUntap1), 0) << "ReleaseGrab is safe without a grab";
    scene.SetGrabParams(0.5f, 2.0f, 0);
    EXPECT_EQ(scene.grabBudget, 1000000) << "budget 0 means no limit";
    PressAt(scene, 1.0f, -1.0f);
    MouseAtWorld(4.0f, -1.5f);
    Hold(scene, 60);
    EXPECT_GT(scene.box->GetPosition().x, 2.0f);
    Hold(scene, 300);
    ASSERT_NE(scene.mouseJoint, nullptr);
    EXPECT_TRUE(scene.box->IsAwake())
        << "asleep under a still cursor, it would hang frozen however the cursor moves";
    // The scene may end the grab itself: that ends the budget too, and the button's release later
    // plays nothing.
    scene.ReleaseGrab();
    EXPECT_EQ(std::tuple(scene.mouseJoint, scene.grabBudget, CountEffect(kSfxUntap1)),
              std::tuple(nullptr, 0, 1));
    ReleaseNow(scene);
    EXPECT_EQ(CountEffect(kSfxUntap1), 1);
}

TEST_F(SceneBaseTest, NoGrabWithoutBudgetOrOverRefusedStaticOrUntrackedBodies) {
    BoxScene scene;
    PressAt(scene, 1.0f, -1.0f);
    EXPECT_EQ(scene.mouseJoint, nullptr) << "budget 0";
    scene.SetGrabParams(0.5f, 0.5f, 30);
    scene.trackAll = false;
    ReleaseNow(scene);
    PressAt(scene, 1.0f, -1.0f);
    EXPECT_EQ(scene.mouseJoint, nullptr) << "refused by IsTrackedBody";
    scene.trackAll = true;
    ReleaseNow(scene);
    PressAt(scene, -5.0f, 0.5f);
    EXPECT_EQ(scene.mouseJoint, nullptr) << "static floor";
    EXPECT_EQ(std::tuple(scene.grabBudget, CountEffect(kSfxTap2)), std::tuple(30, 0));
    // With a tracked body, that body is the only one the mouse takes.
    b2Body* other = scene.CreateBox(2.5f, -1.5f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    scene.trackedBody = scene.box;
    EXPECT_TRUE(scene.SportEvent::IsTrackedBody(scene.box));
    EXPECT_FALSE(scene.SportEvent::IsTrackedBody(other));
    scene.trackedBody = nullptr;
    EXPECT_TRUE(scene.SportEvent::IsTrackedBody(other));
}

TEST_F(SceneBaseTest, ZoomKeysCursorAndSoundPanFollowTheCamera) {
    BoxScene scene;
    const int zoomKeys[] = {'q', 'w', 'q', 'q', 'q', 'q', 'q', 'q', 'q', 'q', 'q', 'q', 'w'};
    const float zooms[] = {36, 40, 36, 32, 28, 24, 20, 16, 12, 8, 4, kMinZoom, kMinZoom + 4};
    for (int i = 0; i < 13; ++i) {
        Frame();
        gApp.keyPressed[zoomKeys[i]] = 1;
        scene.Update();
        EXPECT_EQ(scene.zoom, zooms[i]) << "key " << i;
    }
    EXPECT_EQ(scene.startFrames, 0) << "keys are no click";
    Frame();
    scene.SetCamera(10.0f, -2.0f);
    MouseAt(512 + 60, 384 - 30);
    scene.Update();
    EXPECT_EQ(std::tuple(scene.cursorX, scene.cursorY), std::tuple(20.0f, -7.0f)) << "at 6 px per metre";
    scene.zoom = 40.0f;
    // Camera x, sound x and pan: half a screen (12.8 m) away is full; 7.8 truncates toward zero.
    const std::tuple<float, float, int> pans[] = {
        {0.0f, 12.8f, 100}, {0.0f, -12.8f, -100}, {0.0f, 12.7f, 99}, {5.0f, 5.0f, 0},
        {5.0f, 45.0f, 100}, {5.0f, -35.0f, -100}, {5.0f, 6.0f, 7},   {5.0f, 4.0f, -7}};
    for (const auto& [camera, x, pan] : pans) {
        scene.SetCamera(camera, 0.0f);
        EXPECT_EQ(scene.SoundPan(x), pan) << camera << ", " << x;
    }
}

// Drops the box tagged `falling` onto the floor tagged `floor` at `speed` m/s (no gravity, so the
// approach speed is exactly that) and steps until it has landed.
void Drop(BoxScene* scene, int floor, int falling, float speed) {
    scene->SetBodyTag(scene->groundBody, floor);
    scene->SetBodyTag(scene->box, falling);
    scene->box->SetTransform(b2Vec2(1.0f, -0.55f), 0.0f);
    scene->box->SetLinearVelocity(b2Vec2(0.0f, speed));
    for (int i = 0; i < 10; ++i)
        scene->StepWorld();
}

// Exactly 4 m/s is silent; only the metal impact calls the scene's own hook.
TEST_F(SceneBaseTest, ImpactTagPairsAndApproachSpeedsChooseTheirSounds) {
    // Floor and falling tags, speed, and the effect (-1: silence), volume and pitch.
    const std::tuple<int, int, float, int, int, float> cases[] = {
        {kTagAthlete, kTagNone, 4.0f, -1, 0, 0.0f},        {kTagAthlete, kTagAthlete, 5.0f, -1, 0, 0.0f},
        {kTagAthlete, kTagAthlete, 7.0f, kSfxOof1, 100, 1}, {kTagMat, kTagAthlete, 5.0f, kSfxMat1, 100, 1.0f},
        {kTagAthlete, kTagNone, 5.0f, -1, 0, 0.0f},        {kTagAthlete, 2, 5.0f, kSfxContact5, 100, 1.0f},
        {kTagMetalImpact, 7, 5.0f, kSfxMetal3, 80, 0.75f}, {kTagMetal, kTagMat, 5.0f, kSfxMetal3, 66, 1.0f},
        {kTagMedal, 8, 5.0f, kSfxMedal4, 50, 1.0f},
        {2, kTagMat, 5.0f, -1, 0, 0.0f}};
    for (const auto& [floor, falling, speed, effect, volume, pitch] : cases) {
        sounds.clear();
        BoxScene scene;
        scene.SetCamera(1.0f, 0.0f);
        Drop(&scene, floor, falling, speed);
        SCOPED_TRACE(testing::Message() << "tags " << floor << ", " << falling << " at " << speed);
        if (effect < 0) {
            EXPECT_TRUE(sounds.empty());
            continue;
        }
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_EQ(std::tuple(sounds[0].effect, sounds[0].volume, sounds[0].pitch),
                  std::tuple(effect, volume, pitch));
        EXPECT_EQ(scene.impacts, floor == kTagMetalImpact ? 1 : 0);
        EXPECT_NEAR(scene.impactY, 0.0f, 0.05f);
        EXPECT_NEAR(scene.impactX, 1.0f, 0.6f);
    }
    // Once landed, the resting contact stays silent.
    BoxScene scene;
    Drop(&scene, 2, kTagAthlete, 5.0f);
    for (int i = 0; i < 60; ++i)
        scene.StepWorld();
    EXPECT_EQ(sounds.size(), 1u);
}

class ButtonTest : public SimTest {
  protected:
    // Button 94 at (512, 700), scale 4: the rectangle 396..628 x 660..744.
    bool Hit() {
        scene.clickedButton = -1;
        return scene.HitButton(94, 512.0f, 700.0f, 4.0f);
    }
    int HoverAfterFrame() {
        scene.DrawFrame();
        return scene.hoverButton;
    }
    BoxScene scene;
    FakeHost host;
};

TEST_F(ButtonTest, FiresOnReleaseOverItOnlyIfPressedOverItOrOnceWhenHeldThirtyFrames) {
    MouseAt(512, 700);
    Press();
    EXPECT_TRUE(Hit());
    EXPECT_EQ(std::tuple(scene.pressedButton, scene.clickedButton), std::tuple(94, -1));
    Frame();
    Release();
    Hit();
    EXPECT_EQ(scene.clickedButton, 94);
    EXPECT_EQ(CountEffect(kSfxTap1), 2);
    EXPECT_FLOAT_EQ(LastEffect(kSfxTap1)->pitch, 1.33f);
    Frame();
    MouseAt(100, 100);
    Press();
    EXPECT_FALSE(Hit());
    Frame();
    MouseAt(512, 700);
    Hit();
    Frame();
    Release();
    EXPECT_TRUE(Hit());
    EXPECT_EQ(scene.clickedButton, -1) << "pressed outside";
    Frame();
    Press();
    for (int frame = 1; frame <= 60; ++frame) {
        Hit();
        EXPECT_EQ(scene.clickedButton == 94, frame == 30) << frame;
        Frame();
    }
    Release();
    Hit();
    EXPECT_EQ(scene.clickedButton, -1);
}

TEST_F(ButtonTest, EdgesOfTheRectangleAndNothingWhilePausedOrAPanelIsOpen) {
    const std::tuple<int, int, bool> cases[] = {
        {396, 660, true}, {627, 743, true}, {628, 700, false}, {512, 744, false}};
    for (const auto& [x, y, hit] : cases) {
        MouseAt(x, y);
        EXPECT_EQ(Hit(), hit) << x << ", " << y;
    }
    SetSceneHost(&host);
    MouseAt(512, 700);
    Press();
    host.paused = true;
    EXPECT_FALSE(Hit());
    host.paused = false;
    host.panelOpen = true;
    EXPECT_FALSE(Hit());
    EXPECT_EQ(scene.pressedButton, -1);
}

// In a competition the HUD and the pause button wait 20 frames after the first click.
TEST_F(ButtonTest, FrameButtonsFollowPracticeCompetitionAndPause) {
    SetSceneHost(&host);
    scene.competition = true;
    MouseAt(1024 - 200 + 8, 12); // over the pause button 85
    scene.startFrames = 19;
    EXPECT_EQ(std::tuple(HoverAfterFrame(), scene.hudDraws), std::tuple(-1, 0));
    scene.startFrames = 20;
    EXPECT_EQ(std::tuple(HoverAfterFrame(), scene.hudDraws), std::tuple(85, 1));
    scene.competition = false;
    scene.startFrames = 0;
    scene.hudDraws = 0;
    host.debugDraw = true;
    MouseAt(1024 - 72 + 8, 12);
    scene.DrawFrame();
    EXPECT_EQ(std::tuple(scene.hudDraws, scene.hoverButton), std::tuple(1, 84))
        << "practice shows the HUD at once";
    EXPECT_EQ(std::tuple(gl.matrixDepth, host.debugDraws), std::tuple(0, 1));
    host.inScene = false;
    EXPECT_EQ(HoverAfterFrame(), -1);
    host.inScene = true;
    scene.finished = true;
    MouseAt(512, 768 - 44);
    EXPECT_EQ(HoverAfterFrame(), 94);
    host.competitionRunning = true;
    EXPECT_EQ(HoverAfterFrame(), 78);
    host.paused = true;
    EXPECT_EQ(HoverAfterFrame(), -1);
}

TEST_F(ButtonTest, ProgressBarNeverLeavesItsFrame) {
    SetSprite(13, 104.0f, 10.0f, 0.0f, 0.0f);
    scene.DrawProgressBar(150.0f, 100.0f);
    scene.DrawProgressBar(5.0f, 0.0f);
    float widest = 0.0f;
    for (const DrawnQuad& q : TakeQuads(gl))
        widest = q.v >= 0.5f ? Max(widest, q.right) : widest; // the bar's texture region, not its frame
    EXPECT_GT(widest, 0.0f);
    EXPECT_LE(widest, 512.0f - 208.0f + 4.0f + 400.0f + 0.01f)
        << "starts at 512 - 208 + 4, at most 400 px long";
}

TEST_F(SceneBaseTest, IdleCapCountsOnlyStillFramesWithNoInputAndAWatchedBodyLeavingTheWorldEndsIt) {
    BoxScene scene(kEventDiving, 10.0f);
    scene.trackedBody = scene.box;
    scene.SetStallRule(5, -50.0f, -50.0f, 50.0f, 50.0f);
    int frames = 0; // falling onto the floor first: moving frames never count
    StallKind kind = kStallNone;
    for (; kind == kStallNone && frames < 600; ++frames) {
        scene.StepWorld();
        kind = scene.CheckStall();
    }
    EXPECT_EQ(kind, kStallIdle);
    EXPECT_GT(frames, 5);
    gApp.mouseHeld = 1;
    EXPECT_EQ(scene.CheckStall(), kStallNone) << "a held button is input";
    EXPECT_EQ(scene.idleFrames, 0);
    gApp.mouseHeld = 0;
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(scene.CheckStall(), i == 5 ? kStallIdle : kStallNone) << "still frame " << i;
    b2Body* stray = scene.CreateBox(30.0f, -5.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    scene.WatchBody(scene.box);
    scene.WatchBody(stray);
    scene.SetStallRule(0, -20.0f, -20.0f, 20.0f, 20.0f);
    EXPECT_EQ(scene.CheckStall(), kStallOutOfWorld) << "x 30.5 is past the right edge at 20";
    stray->SetTransform(b2Vec2(0.0f, -5.0f), 0.0f);
    EXPECT_EQ(scene.CheckStall(), kStallNone);
    stray->SetTransform(b2Vec2(0.0f, 20.5f), 0.0f);
    EXPECT_EQ(scene.CheckStall(), kStallOutOfWorld) << "fell below the bottom";
    // Without a cap a still world never ends the attempt by itself.
    stray->SetTransform(b2Vec2(0.0f, -5.0f), 0.0f);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(scene.CheckStall(), kStallNone);
}

} // namespace
} // namespace kel::test
