// The 100 m dash driven frame by frame: the gun, false starts, the backward limit, the grab
// budget, the finish line, the drag, the steps, the HUD and the poses.
#include "events/sprint/sprint.h"
#include "event_test_support.h"

#include <utility>

namespace kel::test {
namespace {

class SprintTest : public EventTest {
  protected:
    static void WaitForGun(SprintEvent& s) {
        StepWhile(s, 800, [&] { return s.phase == SprintEvent::kReady; });
    }
    static void StartRace(SprintEvent& s) {
        ClickPx(s);
        WaitForGun(s);
        ASSERT_EQ(s.phase, SprintEvent::kRunning);
    }
    // Grabs the runner half a metre above its origin.
    static void GrabRunner(SprintEvent& s) { Grab(s, s.runner->GetWorldPoint(b2Vec2(0.0f, -0.5f))); }
    // A pull: grab the runner, hold the mouse `reachPx` ahead for 10 frames, let go, wait 3.
    static void Pull(SprintEvent& s, int reachPx) {
        GrabRunner(s);
        for (int i = 0; i < 10 && !s.finished; ++i) {
            const b2Vec2 now = s.runner->GetWorldPoint(b2Vec2(0.0f, -0.5f));
            MouseAt(PxX(s, now.x) + reachPx, PxY(s, now.y));
            Hold(s, 1);
        }
        Release();
        Steps(s, 4);
    }
    static void Place(SprintEvent& s, float x) {
        s.runner->SetTransform(b2Vec2(x, -1.0f), 0.0f);
        s.runner->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        Step(s);
    }
};

// The gun waits 60 + Int(240) frames from the click, and in one start of fifty (seed 57) 400
// more; it fires in the frame the wait is reached, not one sooner.
TEST_F(SprintTest, TheGunFiresTheFrameTheDrawnDelayIsReached) {
    for (const auto& [seed, delay] : {std::pair{12345u, 100}, std::pair{57u, 661}}) {
        SCOPED_TRACE(seed);
        sounds.clear();
        SeedRandom(seed);
        SprintEvent s;
        Steps(s, 120);
        EXPECT_EQ(s.phase, SprintEvent::kOnYourMark) << "waiting for the first click is the player's choice";
        ClickPx(s);
        ASSERT_EQ(s.phase, SprintEvent::kReady);
        EXPECT_EQ(s.mouseJoint, nullptr) << "a click on the sky grabs nothing";
        ASSERT_EQ(s.startDelay, delay);
        for (int frame = 2; frame < delay; ++frame) {
            Step(s);
            ASSERT_EQ(s.phase, SprintEvent::kReady) << "frame " << frame;
        }
        EXPECT_EQ(CountEffect(kSfxGunshot), 0);
        Step(s);
        EXPECT_EQ(s.phase, SprintEvent::kRunning);
        EXPECT_EQ(CountEffect(kSfxGunshot), 1);
    }
}

// Every way a dash ends in "DNQ": the runner's origin past the start line before the gun (judged
// one frame before it, not in its frame), dragged there through physics, or dragged back past
// -20 m after it. The decision is handed over 30 frames later.
TEST_F(SprintTest, EachFoulEndsInDnqAndIsHandedOverThirtyFramesLater) {
    struct Case {
        const char* what;
        int gunIn;    // frames to the gun after the click, 0 to wait for it
        float placeX; // the runner set here, or NaN to pull it
        int pullPx;   // mouse reach ahead of the grab while pulling
        bool fouled;
    };
    const float pull = std::nanf("");
    const Case cases[] = {
        {"past the line one frame before the gun", 2, 0.3f, 0, true},
        {"past the line in the gun's frame", 1, 0.3f, 0, false},
        {"dragged over the line before the gun", 600, pull, 300, true},
        {"dragged back past -20 m", 0, pull, -400, true},
    };
    UseBlockFont();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sounds.clear();
        SprintEvent s;
        ClickPx(s);
        if (c.gunIn > 0) {
            s.startDelay = s.timer + c.gunIn;
        } else {
            WaitForGun(s);
        }
        const bool placed = !std::isnan(c.placeX); // pulled runners are judged mid-pull
        if (placed) {
            Place(s, c.placeX);
        } else {
            for (int frames = 0; s.phase != SprintEvent::kDisqualified && frames < 3000; frames += 15)
                Pull(s, c.pullPx);
        }
        if (!c.fouled) {
            EXPECT_EQ(s.phase, SprintEvent::kRunning);
            EXPECT_FALSE(s.fault);
            continue;
        }
        ASSERT_EQ(s.phase, SprintEvent::kDisqualified);
        EXPECT_TRUE(HudLineAt(s, 240.0f)) << "DNQ instead of the time";
        EXPECT_FALSE(HudLineAt(s, 90.0f));
        for (int frame = 1; frame < 30 && placed; ++frame) {
            Step(s);
            ASSERT_FALSE(s.finished) << "frame " << frame;
        }
        Steps(s, 100);
        EXPECT_TRUE(s.finished);
        EXPECT_TRUE(s.fault);
        EXPECT_EQ(s.result, 0.0f);
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
        EXPECT_EQ(CountEffect(kSfxGunshot), c.gunIn > 0 ? 0 : 1);
        EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
        if (c.gunIn == 0) {
            EXPECT_LT(s.runner->GetPosition().x, -19.0f);
        }
    }
}

// Before the gun a held grab costs nothing; after it the budget of 20 frames runs out while
// held and refills by four a frame only with the button up.
TEST_F(SprintTest, TheGrabBudgetRunsOutOnlyAfterTheGunAndRefillsByFour) {
    SprintEvent waiting;
    ClickPx(waiting);
    waiting.startDelay = 600;
    GrabRunner(waiting);
    ASSERT_NE(waiting.mouseJoint, nullptr);
    Hold(waiting, 200);
    EXPECT_NE(waiting.mouseJoint, nullptr);
    EXPECT_EQ(waiting.grabBudget, waiting.grabBudgetMax);

    SprintEvent s;
    StartRace(s);
    EXPECT_EQ(s.grabBudget, 20);
    GrabRunner(s);
    ASSERT_NE(s.mouseJoint, nullptr);
    int heldFrames = 1;
    for (; s.mouseJoint != nullptr && heldFrames < 100; ++heldFrames)
        Hold(s, 1);
    EXPECT_EQ(heldFrames, 20) << "a held grab ends after 20 frames";
    Hold(s, 10);
    EXPECT_EQ(s.grabBudget, 0) << "no refill while the button is down";
    Release();
    for (const int budget : {4, 8, 12, 16, 20, 20}) {
        Step(s);
        EXPECT_EQ(s.grabBudget, budget);
    }
}

TEST_F(SprintTest, AirDragSlowsASlidingRunnerAndTheClockHasNoLimit) {
    SprintEvent s;
    StartRace(s);
    // Lifted clear of the ground, so only gravity and the drag act on it.
    s.runner->SetTransform(b2Vec2(0.0f, -50.0f), 0.0f);
    s.runner->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    Step(s);
    const float v0 = s.runner->GetLinearVelocity().x;
    Steps(s, 30);
    // dv/dt = -1.8 v for the 1 kg box: half a second leaves exp(-0.9) of the speed.
    EXPECT_NEAR(s.runner->GetLinearVelocity().x / v0, std::exp(-0.9f), 0.02f);
    Steps(s, 1969);
    EXPECT_EQ(s.phase, SprintEvent::kRunning) << "no time limit but the -20 rule";
    EXPECT_EQ(s.timer, 2000);
}

TEST_F(SprintTest, TheRunnerStepsAudiblyEveryTwoMetres) {
    SprintEvent s;
    StartRace(s);
    for (int i = 1; i <= 40; ++i) { // 0.5 m a frame
        s.runner->SetTransform(b2Vec2(0.5f * static_cast<float>(i), -1.0f), 0.0f);
        s.Draw();
        FlushBatch();
    }
    EXPECT_EQ(CountEffect(kSfxFootstep3), 10); // x = 2, 4, ..., 20
}

// The call moves below the competition banner; GO blinks two frames on, two off for a second;
// the finish is judged on the body's origin, not its front edge; the final time slides down
// 3 px per frame and stops 160 px lower.
TEST_F(SprintTest, TheHudsCallBlinkingGoTheFinishAndTheSlidingFinalTime) {
    UseBlockFont();
    SprintEvent s;
    Step(s);
    EXPECT_TRUE(HudLineAt(s, 250.0f));
    s.competition = true;
    EXPECT_FALSE(HudLineAt(s, 250.0f));
    EXPECT_TRUE(HudLineAt(s, 300.0f));
    s.competition = false;
    StartRace(s);
    for (int t = 0; t < 70; ++t) {
        ASSERT_EQ(s.timer, t);
        EXPECT_EQ(HudLineAt(s, 250.0f, 8.0f), t < 60 && t % 4 < 2) << "timer " << t;
        Step(s);
    }
    Place(s, s.finishX - 0.1f); // front edge 0.25 m past the line, origin short of it
    EXPECT_EQ(s.phase, SprintEvent::kRunning);
    Place(s, s.finishX + 0.01f);
    ASSERT_EQ(s.phase, SprintEvent::kFinished);
    EXPECT_EQ(s.result, 72.0f) << "judged on the body's origin, 72 frames after the gun";
    EXPECT_TRUE(HudLineAt(s, 90.0f));
    Steps(s, 10);
    EXPECT_TRUE(HudLineAt(s, 120.0f));
    Steps(s, 100);
    EXPECT_TRUE(HudLineAt(s, 250.0f));
}

TEST_F(SprintTest, TheStarterAndTheRunnerTakeThePoseOfEachPhase) {
    MarkSprites({168, 169, 170, 179, 180, 181, 182});
    SprintEvent s;
    s.SetPlayer(&player);
    Step(s);
    EXPECT_TRUE(Drew(s, 179));
    EXPECT_TRUE(Drew(s, 168));
    ClickPx(s);
    EXPECT_TRUE(Drew(s, 180));
    EXPECT_TRUE(Drew(s, 170)) << "the runner crouches for READY";
    WaitForGun(s);
    for (int t = 0; t < 25; ++t) {
        EXPECT_EQ(Drew(s, 182), t < 20) << "the starter fires for 20 frames, timer " << t;
        EXPECT_EQ(Drew(s, 181), t >= 20) << "timer " << t;
        Step(s);
    }
    s.runner->SetTransform(b2Vec2(3.0f, -1.0f), 0.0f);
    EXPECT_TRUE(Drew(s, 169)) << "the second stride between 2 and 4 m";
}

} // namespace
} // namespace kel::test
