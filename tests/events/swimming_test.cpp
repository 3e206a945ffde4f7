// Swimming: the pool of water balls, who may be grabbed, the lengths and turns with their
// budget, and the HUD.
#include "events/swimming/swimming.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class SwimmingTest : public EventTest {
  protected:
    // A press and an immediate release on the body: the race clock starts and, on the release,
    // the swimming phase.
    static void Tap(SwimmingEvent& s, const b2Body* body) { Click(s, body->GetPosition()); }
};

TEST_F(SwimmingTest, TheWaterSettlesInThePoolAndOnlyTheSwimmerAndOfficialsMayBeGrabbed) {
    SwimmingEvent s;
    Steps(s, 180);
    for (const b2Body* ball : s.waterBalls) {
        const b2Vec2 p = ball->GetPosition();
        ASSERT_GT(p.x, -13.0f);
        ASSERT_LT(p.x, 13.0f);
        ASSERT_GT(p.y, -3.0f) << "the water stays below the deck tops";
        ASSERT_LT(p.y, 0.0f);
    }
    EXPECT_TRUE(sounds.empty()) << "no contact in the pool makes a sound";
    Tap(s, s.waterBalls[100]);
    EXPECT_EQ(s.phase, SwimmingEvent::kOnBlock);
    Tap(s, s.officialRight);
    EXPECT_EQ(s.phase, SwimmingEvent::kSwimming) << "an official starts the race as well as the swimmer";
    EXPECT_EQ(s.raceFrames, 1) << "the clock ran in the frame the grab ended";
}

TEST_F(SwimmingTest, ALengthCountsTwoMetresBeforeTheWallAndTurnsTheStroke) {
    SwimmingEvent s;
    Tap(s, s.swimmer);
    ASSERT_EQ(s.phase, SwimmingEvent::kSwimming);
    s.grabBudget = 10;
    const float stroke = s.shoulder->GetMotorSpeed();
    // Carried along the surface, shoulders and all: at 10.95 m no length yet, at 11.05 m one.
    for (const float x : {10.95f, 11.05f}) {
        s.swimmer->SetTransform(b2Vec2(x, -3.5f), 0.0f);
        s.arms->SetTransform(b2Vec2(x, -4.1f), 0.0f);
        for (b2Body* body : {s.swimmer, s.arms}) {
            body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            body->SetAngularVelocity(0.0f);
        }
        Step(s);
        EXPECT_EQ(s.lengths, x > 11.0f ? 1 : 0) << x;
    }
    EXPECT_EQ(s.shoulder->GetMotorSpeed(), -stroke);
    EXPECT_EQ(s.grabBudget, 60);
    EXPECT_TRUE(s.showPrompt) << "TORPEDO until the next release";
    EXPECT_EQ(CountEffect(kSfxWhistlelong), 2);

    // With the button up the budget comes back one frame in fifteen.
    s.grabBudget = 0;
    Steps(s, 60);
    EXPECT_EQ(s.grabBudget, 4);
}

TEST_F(SwimmingTest, TheHudCallsTheDiveThenTheLapAndShowsDnq) {
    UseBlockFont();
    SwimmingEvent s;
    Step(s);
    gApp.frameCounter = 8;
    EXPECT_TRUE(HudLineAt(s, 150.0f, 8.0f)) << "DIVE, blinking";
    gApp.frameCounter = 12;
    EXPECT_FALSE(HudLineAt(s, 150.0f, 8.0f));
    EXPECT_TRUE(HudLineAt(s, 90.0f));
    Tap(s, s.swimmer);
    EXPECT_TRUE(HudLineAt(s, 150.0f)) << "LAP 1";
    s.outFrames = 299;
    s.swimmer->SetTransform(b2Vec2(-15.0f, -4.2f), 0.0f);
    Step(s);
    ASSERT_TRUE(s.fault);
    EXPECT_TRUE(HudLineAt(s, 210.0f));
    EXPECT_FALSE(HudLineAt(s, 90.0f));
}

} // namespace
} // namespace kel::test
