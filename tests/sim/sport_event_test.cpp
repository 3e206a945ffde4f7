// The scene base: grabbing with the mouse, zoom keys, stereo pan, impact sounds, HUD buttons and
// the frame drawing order that depends on the competition state.
#include "sim/sport_event.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

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
    int hudDraws = 0;
    int impacts = 0;
};

// Window pixel of a world point with the default camera (0, 0) and zoom 40.
int PxX(float x) {
    return static_cast<int>(512.0f + x * 40.0f);
}
int PxY(float y) {
    return static_cast<int>(384.0f + y * 40.0f);
}

class GrabTest : public SimTest {};

TEST_F(GrabTest, PressOverADynamicBodyGrabsItAndPlaysThePluck) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 0.5f, 30);
    scene.hintBody = scene.box;
    MouseAt(PxX(1.25f), PxY(-1.0f));
    Press();
    scene.Update();
    ASSERT_NE(scene.mouseJoint, nullptr);
    EXPECT_EQ(scene.grabbedBody, scene.box);
    EXPECT_EQ(scene.hintBody, nullptr);
    EXPECT_NEAR(scene.grabLocalX, 0.25f, 1e-5f);
    EXPECT_NEAR(scene.grabLocalY, 0.0f, 1e-5f);
    EXPECT_EQ(scene.grabBudget, 29) << "the press frame already uses one frame";
    const SoundCall* pluck = LastEffect(kSfxTap2);
    ASSERT_NE(pluck, nullptr);
    EXPECT_EQ(pluck->volume, 100);
    EXPECT_EQ(pluck->pan, 9); // 1.25 m * 40 px / 1024 * 200 = 9.8, truncated
}

TEST_F(GrabTest, HoldingSpendsTheBudgetAndEndsOnTheThirtiethFrame) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 0.5f, 30);
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    for (int frame = 2; frame < 30; ++frame) {
        Frame();
        scene.Update();
        scene.StepWorld();
        ASSERT_NE(scene.mouseJoint, nullptr) << "frame " << frame;
    }
    EXPECT_EQ(CountEffect(kSfxUntap1), 0);
    Frame();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr);
    EXPECT_EQ(scene.grabbedBody, nullptr);
    EXPECT_EQ(scene.grabBudget, 0);
    EXPECT_EQ(CountEffect(kSfxUntap1), 1);
    // A new press cannot grab with the budget spent.
    Frame();
    Release();
    scene.Update();
    Frame();
    Press();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr);
}

TEST_F(GrabTest, ReleasingKeepsTheRestOfTheBudget) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 0.5f, 30);
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    for (int frame = 2; frame <= 10; ++frame) {
        Frame();
        scene.Update();
    }
    Frame();
    Release();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr);
    EXPECT_EQ(scene.grabBudget, 20);
    const SoundCall* release = LastEffect(kSfxUntap1);
    ASSERT_NE(release, nullptr);
    EXPECT_FLOAT_EQ(release->pitch, 1.33f);
}

TEST_F(GrabTest, TheJointPullsTheBodyTowardsTheCursor) {
    BoxScene scene;
    scene.SetGrabParams(0.5f, 2.0f, 0);
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    MouseAt(PxX(4.0f), PxY(-1.0f));
    for (int i = 0; i < 60; ++i) {
        Frame();
        scene.Update();
        scene.StepWorld();
    }
    EXPECT_GT(scene.box->GetPosition().x, 2.0f);
}

TEST_F(GrabTest, NoGrabWithoutBudgetOrOverRefusedStaticOrEmptyPlaces) {
    BoxScene scene;
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr) << "budget 0";

    scene.SetGrabParams(0.5f, 0.5f, 30);
    scene.trackAll = false;
    Frame();
    Release();
    scene.Update();
    Frame();
    Press();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr) << "refused by IsTrackedBody";

    scene.trackAll = true;
    MouseAt(PxX(-5.0f), PxY(0.5f)); // inside the static floor
    Frame();
    Release();
    scene.Update();
    Frame();
    Press();
    scene.Update();
    EXPECT_EQ(scene.mouseJoint, nullptr) << "static body";
    EXPECT_EQ(scene.grabBudget, 30);
    EXPECT_EQ(CountEffect(kSfxTap2), 0);
}

TEST_F(GrabTest, JavelinAndWalkAreHeldOnTheBodysCentreLine) {
    for (int id : {kEventJavelin, kEventWalk}) {
        BoxScene scene(id);
        scene.SetGrabParams(0.5f, 0.5f, 30);
        MouseAt(PxX(1.3f), PxY(-0.8f));
        Frame();
        Press();
        scene.Update();
        ASSERT_NE(scene.mouseJoint, nullptr);
        EXPECT_EQ(scene.grabLocalX, 0.0f);
        EXPECT_NEAR(scene.grabLocalY, 0.2f, 1e-5f);
        EXPECT_NEAR(scene.cursorX, 1.0f, 1e-5f);
        EXPECT_NEAR(scene.mouseJoint->GetTarget().x, 1.0f, 1e-5f);
        Frame();
        Release();
        scene.Update();
    }
}

TEST_F(GrabTest, ReleaseGrabEndsTheGrabAndTheBudgetAndIsSafeWithoutOne) {
    BoxScene scene;
    scene.ReleaseGrab();
    EXPECT_EQ(CountEffect(kSfxUntap1), 0);
    scene.SetGrabParams(0.5f, 0.5f, 100);
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    scene.ReleaseGrab();
    EXPECT_EQ(scene.mouseJoint, nullptr);
    EXPECT_EQ(scene.grabBudget, 0);
    EXPECT_EQ(CountEffect(kSfxUntap1), 1);
    Frame();
    Release();
    scene.Update();
    EXPECT_EQ(CountEffect(kSfxUntap1), 1) << "the release after ReleaseGrab plays nothing";
}

TEST_F(GrabTest, ZeroBudgetMeansAMillionFrames) {
    BoxScene scene;
    scene.SetGrabParams(0.2f, 3.0f, 0);
    EXPECT_EQ(scene.grabBudget, 1000000);
}

TEST_F(GrabTest, StartFramesCountFromTheFirstClick) {
    BoxScene scene;
    scene.Update();
    EXPECT_EQ(scene.startFrames, 0);
    Press();
    scene.Update();
    Frame();
    scene.Update();
    EXPECT_EQ(scene.startFrames, 2);
}

class CameraTest : public SimTest {};

TEST_F(CameraTest, ZoomKeysStepByFourAndStopAboveZero) {
    BoxScene scene;
    gApp.keyPressed['q'] = 1;
    scene.Update();
    EXPECT_EQ(scene.zoom, 36.0f);
    Frame();
    gApp.keyPressed['w'] = 1;
    scene.Update();
    EXPECT_EQ(scene.zoom, 40.0f);
    for (int i = 0; i < 20; ++i) {
        Frame();
        gApp.keyPressed['q'] = 1;
        scene.Update();
    }
    EXPECT_EQ(scene.zoom, kMinZoom);
    EXPECT_GT(kMinZoom, 0.0f);
}

TEST_F(CameraTest, CursorIsTheMouseInWorldMetres) {
    BoxScene scene;
    scene.SetCamera(10.0f, -2.0f);
    MouseAt(512 + 80, 384 - 40);
    scene.Update();
    EXPECT_FLOAT_EQ(scene.cursorX, 12.0f);
    EXPECT_FLOAT_EQ(scene.cursorY, -3.0f);
}

TEST_F(CameraTest, SoundPanIsCentredAtTheCameraAndFullHalfAScreenAway) {
    BoxScene scene;
    EXPECT_EQ(scene.SoundPan(12.8f), 100);
    EXPECT_EQ(scene.SoundPan(-12.8f), -100);
    EXPECT_EQ(scene.SoundPan(12.7f), 99);
    scene.SetCamera(5.0f, 0.0f);
    EXPECT_EQ(scene.SoundPan(5.0f), 0);
    EXPECT_EQ(scene.SoundPan(5.0f + 40.0f), 100);
    EXPECT_EQ(scene.SoundPan(5.0f - 40.0f), -100);
    EXPECT_EQ(scene.SoundPan(6.0f), 7); // 7.8 truncated toward zero
    EXPECT_EQ(scene.SoundPan(4.0f), -7);
}

// ---- Impact sounds -------------------------------------------------------------------------

class ImpactTest : public SimTest {
  protected:
    // Drops a box with tag `tagFalling` onto the floor tagged `tagFloor` at `speed` m/s (no
    // gravity, so the approach speed is exactly that) and steps until it has landed.
    void Drop(BoxScene* scene, int tagFloor, int tagFalling, float speed) {
        scene->SetBodyTag(scene->groundBody, tagFloor);
        scene->SetBodyTag(scene->box, tagFalling);
        scene->box->SetTransform(b2Vec2(1.0f, -0.55f), 0.0f);
        scene->box->SetLinearVelocity(b2Vec2(0.0f, speed));
        for (int i = 0; i < 10; ++i)
            scene->StepWorld();
    }
};

TEST_F(ImpactTest, TagPairsAndApproachSpeedsChooseTheirSounds) {
    struct Case {
        int floor;
        int falling;
        float speed;
        int effect;
        int volume;
        float pitch;
    };
    const Case cases[] = {
        {kTagAthlete, kTagNone, 4.0f, -1, 0, 0.0f}, // exactly four is silent
        {kTagAthlete, kTagAthlete, 5.0f, -1, 0, 0.0f},
        {kTagAthlete, kTagAthlete, 7.0f, kSfxOof1, 100, 1.0f},
        {kTagMat, kTagAthlete, 5.0f, kSfxMat1, 100, 1.0f},
        {kTagAthlete, kTagWoodFloor, 5.0f, kSfxWood3, 100, 1.0f},
        {kTagAthlete, kTagNone, 5.0f, -1, 0, 0.0f},
        {kTagAthlete, 2, 5.0f, kSfxContact5, 100, 1.0f},
        {kTagMetalImpact, 7, 5.0f, kSfxMetal3, 80, 0.75f},
        {kTagWood, 9, 5.0f, kSfxWood3, 100, 1.0f},
        {kTagMetal, kTagMat, 5.0f, kSfxMetal3, 66, 1.0f},
        {kTagMedal, 8, 5.0f, kSfxMedal4, 50, 1.0f},
        {kTagNone, kTagNone, 5.0f, -1, 0, 0.0f},
        {2, kTagMat, 5.0f, -1, 0, 0.0f},
    };
    for (const Case& c : cases) {
        sounds.clear();
        BoxScene scene;
        scene.SetCamera(1.0f, 0.0f);
        Drop(&scene, c.floor, c.falling, c.speed);
        SCOPED_TRACE(testing::Message() << "tags " << c.floor << ", " << c.falling << " at " << c.speed);
        if (c.effect < 0) {
            EXPECT_TRUE(sounds.empty());
            continue;
        }
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_EQ(sounds[0].effect, c.effect);
        EXPECT_EQ(sounds[0].volume, c.volume);
        EXPECT_FLOAT_EQ(sounds[0].pitch, c.pitch);
        EXPECT_EQ(scene.impacts, c.floor == kTagMetalImpact ? 1 : 0);
        EXPECT_NEAR(scene.impactY, 0.0f, 0.05f);
        EXPECT_NEAR(scene.impactX, 1.0f, 0.6f);
    }
}

TEST_F(ImpactTest, RestingContactsStaySilent) {
    BoxScene scene;
    Drop(&scene, 2, kTagAthlete, 5.0f);
    EXPECT_EQ(CountEffect(kSfxContact5), 1);
    for (int i = 0; i < 60; ++i)
        scene.StepWorld();
    EXPECT_EQ(sounds.size(), 1u);
}

// ---- HUD buttons ---------------------------------------------------------------------------

class ButtonTest : public SimTest {
  protected:
    // Button 94 at (512, 700), scale 4: the rectangle 396..628 x 660..744.
    bool Hit(BoxScene* scene) {
        scene->clickedButton = -1;
        return scene->HitButton(94, 512.0f, 700.0f, 4.0f);
    }
};

TEST_F(ButtonTest, FiresOnReleaseOverIt) {
    BoxScene scene;
    MouseAt(512, 700);
    Press();
    EXPECT_TRUE(Hit(&scene));
    EXPECT_EQ(scene.hoverButton, 94);
    EXPECT_EQ(scene.pressedButton, 94);
    EXPECT_EQ(scene.clickedButton, -1);
    Frame();
    Release();
    Hit(&scene);
    EXPECT_EQ(scene.clickedButton, 94);
    EXPECT_EQ(CountEffect(kSfxTap1), 2);
    EXPECT_FLOAT_EQ(LastEffect(kSfxTap1)->pitch, 1.33f);

    // Pressed outside, released over it: no click.
    Frame();
    MouseAt(100, 100);
    Press();
    EXPECT_FALSE(Hit(&scene));
    Frame();
    MouseAt(512, 700);
    Hit(&scene);
    Frame();
    Release();
    EXPECT_TRUE(Hit(&scene));
    EXPECT_EQ(scene.clickedButton, -1);
}

TEST_F(ButtonTest, HeldButtonFiresOnceAfterThirtyFrames) {
    BoxScene scene;
    MouseAt(512, 700);
    Press();
    int clicks = 0;
    for (int frame = 1; frame <= 60; ++frame) {
        Hit(&scene);
        if (scene.clickedButton == 94) {
            ++clicks;
            EXPECT_EQ(frame, 30);
        }
        Frame();
    }
    Release();
    Hit(&scene);
    clicks += scene.clickedButton == 94;
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, EdgesOfTheRectangle) {
    BoxScene scene;
    MouseAt(396, 660);
    EXPECT_TRUE(Hit(&scene));
    MouseAt(627, 743);
    EXPECT_TRUE(Hit(&scene));
    MouseAt(628, 700);
    EXPECT_FALSE(Hit(&scene));
    MouseAt(512, 744);
    EXPECT_FALSE(Hit(&scene));
}

TEST_F(ButtonTest, NothingHitsWhilePausedOrAPanelIsOpen) {
    BoxScene scene;
    FakeHost host;
    SetSceneHost(&host);
    MouseAt(512, 700);
    Press();
    host.paused = true;
    EXPECT_FALSE(Hit(&scene));
    host.paused = false;
    host.panelOpen = true;
    EXPECT_FALSE(Hit(&scene));
    EXPECT_EQ(scene.pressedButton, -1);
}

// ---- Frame drawing -------------------------------------------------------------------------

class FrameTest : public SimTest {};

TEST_F(FrameTest, CompetitionHidesTheHudAndPauseButtonForTwentyFramesAfterTheFirstClick) {
    BoxScene scene;
    FakeHost host;
    SetSceneHost(&host);
    scene.competition = true;
    MouseAt(1024 - 200 + 8, 12); // over the pause button 85
    scene.startFrames = 19;
    scene.DrawFrame();
    EXPECT_EQ(scene.hudDraws, 0);
    EXPECT_EQ(scene.hoverButton, -1);
    scene.startFrames = 20;
    scene.DrawFrame();
    EXPECT_EQ(scene.hudDraws, 1);
    EXPECT_EQ(scene.hoverButton, 85);
}

TEST_F(FrameTest, PracticeShowsTheHudAndTheLeaveButtonAtOnce) {
    BoxScene scene;
    FakeHost host;
    SetSceneHost(&host);
    MouseAt(1024 - 72 + 8, 12);
    scene.DrawFrame();
    EXPECT_EQ(scene.hudDraws, 1);
    EXPECT_EQ(scene.hoverButton, 84);
    host.inScene = false;
    scene.DrawFrame();
    EXPECT_EQ(scene.hoverButton, -1);
}

TEST_F(FrameTest, ContinueButtonDependsOnTheCompetitionAndPause) {
    BoxScene scene;
    FakeHost host;
    SetSceneHost(&host);
    scene.finished = true;
    MouseAt(512, 768 - 44);
    scene.DrawFrame();
    EXPECT_EQ(scene.hoverButton, 94);
    host.competitionRunning = true;
    scene.DrawFrame();
    EXPECT_EQ(scene.hoverButton, 78);
    host.paused = true;
    scene.DrawFrame();
    EXPECT_EQ(scene.hoverButton, -1);
}

TEST_F(FrameTest, CameraTransformIsBalancedAndDebugDrawRunsOnRequest) {
    BoxScene scene;
    FakeHost host;
    SetSceneHost(&host);
    host.debugDraw = true;
    scene.DrawFrame();
    EXPECT_EQ(gl.matrixDepth, 0);
    EXPECT_EQ(host.debugDraws, 1);
}

// Top-left corners of the black fills drawn since the last reset (the nation tag's border).
std::vector<std::pair<float, float>> BlackFills(RecordingGlBackend& gl) {
    std::vector<std::pair<float, float>> out;
    for (const DrawnQuad& q : TakeQuads(gl)) {
        if (q.colour[0] == 0.0f && q.colour[1] == 0.0f && q.colour[3] == 1.0f) out.emplace_back(q.left, q.top);
    }
    return out;
}

TEST_F(FrameTest, CompetitionBannerStandsUntilTheFirstClickThenSlidesToTheCorner) {
    BoxScene scene;
    PlayerRecord record;
    SetNation(&record.nation, 29);
    scene.SetPlayer(&record);
    scene.competition = true;
    gl.Reset();
    scene.DrawFrame();
    // t = 0: tag at (1024 / 2 - 120, 140), scale 8, so its border starts 8 px up and left.
    EXPECT_EQ(BlackFills(gl), (std::vector<std::pair<float, float>>{{384.0f, 132.0f}}));
    scene.startFrames = 20;
    scene.DrawFrame();
    // t = 1: tag at (1024 - 128, 8), scale 4.
    EXPECT_EQ(BlackFills(gl), (std::vector<std::pair<float, float>>{{892.0f, 4.0f}}));
    scene.SetPlayer(nullptr);
    scene.DrawFrame();
    EXPECT_TRUE(BlackFills(gl).empty());
}

TEST_F(FrameTest, ProgressBarNeverLeavesItsFrame) {
    BoxScene scene;
    SetSprite(13, 104.0f, 10.0f, 0.0f, 0.0f);
    gl.Reset();
    scene.DrawProgressBar(150.0f, 100.0f);
    scene.DrawProgressBar(5.0f, 0.0f);
    FlushBatch();
    float widest = 0.0f;
    for (const auto& d : gl.draws) {
        for (const Vertex& v : d.vertices) {
            if (v.v >= 0.5f) widest = Max(widest, v.x); // the bar's texture region, not its frame
        }
    }
    EXPECT_GT(widest, 0.0f);
    // The bar starts at 512 - 208 + 4 and is at most 400 px long.
    EXPECT_LE(widest, 512.0f - 208.0f + 4.0f + 400.0f + 0.01f);
}

// The base's helpers for the events: one tracked body, a held body kept awake, and the stall rule
// that ends an attempt nobody finishes.
class BaseHelperTest : public SimTest {};

TEST_F(BaseHelperTest, ATrackedBodyIsTheOnlyOneTheMouseTakes) {
    BoxScene scene;
    b2Body* other = scene.CreateBox(2.5f, -1.5f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    scene.trackedBody = scene.box;
    EXPECT_TRUE(scene.SportEvent::IsTrackedBody(scene.box));
    EXPECT_FALSE(scene.SportEvent::IsTrackedBody(other));
    scene.trackedBody = nullptr;
    EXPECT_TRUE(scene.SportEvent::IsTrackedBody(other));
}

TEST_F(BaseHelperTest, ABodyHeldUnderAStillCursorStaysAwake) {
    BoxScene scene(kEventDiving, 10.0f);
    scene.SetGrabParams(1.0f, 5.0f, 0);
    MouseAt(PxX(1.0f), PxY(-1.0f));
    Press();
    scene.Update();
    scene.StepWorld();
    for (int i = 0; i < 300; ++i) {
        Frame();
        scene.Update();
        scene.StepWorld();
    }
    ASSERT_NE(scene.mouseJoint, nullptr);
    EXPECT_TRUE(scene.box->IsAwake()) << "asleep, it would hang frozen however the cursor moves";
}

TEST_F(BaseHelperTest, IdleCapCountsOnlyFramesWithNoInputAndNothingMoving) {
    BoxScene scene(kEventDiving, 10.0f);
    scene.trackedBody = scene.box;
    scene.SetStallRule(5, -50.0f, -50.0f, 50.0f, 50.0f);
    // Falling onto the floor first: moving frames never count.
    int frames = 0;
    StallKind kind = kStallNone;
    while (kind == kStallNone && frames < 600) {
        scene.StepWorld();
        kind = scene.CheckStall();
        ++frames;
    }
    EXPECT_EQ(kind, kStallIdle);
    EXPECT_GT(frames, 5);
    // A held mouse button is input: the counter starts again.
    gApp.mouseHeld = 1;
    EXPECT_EQ(scene.CheckStall(), kStallNone);
    EXPECT_EQ(scene.idleFrames, 0);
    gApp.mouseHeld = 0;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(scene.CheckStall(), kStallNone) << i;
    EXPECT_EQ(scene.CheckStall(), kStallIdle) << "the fifth still frame ends it";
}

TEST_F(BaseHelperTest, AWatchedBodyLeavingTheWorldEndsTheAttempt) {
    BoxScene scene(kEventDiving, 10.0f);
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

TEST_F(BaseHelperTest, PolygonsRefuseBadPointsAndRopesMayCollide) {
    BoxScene scene(kEventDiving, 10.0f);
    const b2Vec2 hill[] = {{-5.0f, 0.0f}, {0.0f, -3.0f}, {5.0f, 0.0f}};
    EXPECT_NE(scene.AddGroundPolygon(hill, 3, 0.5f, 0.0f), nullptr);
    b2Body* hull = scene.CreatePolygon(10.0f, -2.0f, hill, 3, 1.0f, 0.5f, 0.0f);
    ASSERT_NE(hull, nullptr);
    EXPECT_EQ(hull->GetType(), b2_dynamicBody);
    EXPECT_NEAR(hull->GetWorldPoint(static_cast<b2PolygonShape*>(hull->GetFixtureList()->GetShape())->m_vertices[0]).x,
                5.0f, 1e-4f)
        << "the points are world metres, kept in place around the body";
    const b2Vec2 line[] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {2.0f, 0.0f}};
    EXPECT_EQ(scene.CreatePolygon(0.0f, 0.0f, line, 3, 1.0f, 0.5f, 0.0f), nullptr);
    EXPECT_EQ(scene.AddGroundPolygon(line, 3, 0.5f, 0.0f), nullptr);

    b2Body* rider = scene.CreateBox(0.5f, -4.0f, 0.5f, 0.5f, 1.0f, 0.5f, 0.0f);
    EXPECT_TRUE(scene.CreateRope(scene.box, rider, 0, 0, 0, 0, 3.287f, true)->GetCollideConnected());
    EXPECT_FALSE(scene.CreateRope(scene.box, rider, 0, 0, 0, 0, 3.287f)->GetCollideConnected());
    SetBodyValue(rider, 7);
    EXPECT_EQ(BodyValue(rider), 7u);
    EXPECT_EQ(BodyValue(scene.box), 0u);
}

} // namespace
} // namespace kel::test
