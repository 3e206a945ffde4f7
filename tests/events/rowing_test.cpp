// Rowing: what the mouse may take, the oar's spin-up and stroke sound, the finish kept within the
// hull's reach, and the HUD.
#include "events/rowing/rowing.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class RowingTest : public EventTest {
  protected:
    // Grabs the hull's middle and holds it there; returns with the race under way.
    static void GrabHull(RowingEvent& s) { Grab(s, s.hull->GetWorldPoint(b2Vec2(3.9f, 0.35f))); }
};

TEST_F(RowingTest, OnlyTheHullCanBeTakenAndItStartsTheRace) {
    RowingEvent s;
    Steps(s, 120);
    const b2Vec2 rower = s.rower->GetWorldPoint(b2Vec2(0.4f, 0.6f));
    Click(s, rower);
    EXPECT_EQ(s.phase, RowingEvent::kWaiting) << "the rower is not for the mouse";
    GrabHull(s);
    ASSERT_EQ(s.grabbedBody, s.hull);
    EXPECT_EQ(s.phase, RowingEvent::kRacing);
}

TEST_F(RowingTest, TheOarSpinsUpOverOneHundredSixtyFramesAndSoundsEachStroke) {
    RowingEvent s;
    GrabHull(s);
    EXPECT_EQ(s.oarPivot->GetMotorSpeed(), 0.0f) << "the clock and the oar start in the next frame";
    Hold(s, 1);
    EXPECT_NEAR(s.oarPivot->GetMotorSpeed(), 0.05f, 1e-5f);
    Hold(s, 158);
    EXPECT_LT(s.oarSpeed, 8.0f);
    Hold(s, 5);
    EXPECT_NEAR(s.oarSpeed, 8.0f, 0.03f);
    EXPECT_LT(s.oarSpeed, 8.05f) << "no step beyond the top speed";
    Hold(s, 120);
    EXPECT_GE(CountEffect(kSfxRow1), 3) << "the oar has turned past straight up a few times";
    EXPECT_GE(CountEffect(kSfxSplash), 3) << "and dipped its blade each time";
}

TEST_F(RowingTest, AFinishBuoyKnockedAgainstTheWallStaysWithinReach) {
    RowingEvent s;
    GrabHull(s);
    Release();
    s.finishBuoy->SetTransform(b2Vec2(108.5f, -3.2f), 0.0f);
    // The hull's origin stops at 102.2 against the right wall; 0.8 m short of it the buoy is not
    // yet reached, at the wall it is.
    const b2Vec2 rowerOnDeck = s.rower->GetPosition() - s.hull->GetPosition();
    for (const float hullX : {100.9f, 101.4f}) {
        s.hull->SetTransform(b2Vec2(hullX, -3.7f), 0.0f);
        s.rower->SetTransform(b2Vec2(hullX, -3.7f) + rowerOnDeck, 0.0f);
        Step(s);
        EXPECT_EQ(s.phase, hullX > 101.0f ? RowingEvent::kDone : RowingEvent::kRacing) << hullX;
    }
    EXPECT_FALSE(s.fault);
}

TEST_F(RowingTest, TheHudShowsDnqOrTheTimeSlidingDown) {
    UseBlockFont();
    RowingEvent s;
    EXPECT_TRUE(HudLineAt(s, 20.0f));
    GrabHull(s);
    Release();
    s.rower->SetTransform(b2Vec2(-100.0f, -2.0f), 0.0f);
    Step(s);
    ASSERT_TRUE(s.fault);
    EXPECT_TRUE(HudLineAt(s, 240.0f));
    EXPECT_FALSE(HudLineAt(s, 20.0f));

    RowingEvent won;
    GrabHull(won);
    won.finishBuoy->SetTransform(won.hull->GetPosition(), 0.0f);
    Step(won);
    ASSERT_EQ(won.phase, RowingEvent::kDone);
    Steps(won, 50);
    EXPECT_TRUE(HudLineAt(won, 120.0f)) << "2 px per frame";
    Steps(won, 100);
    EXPECT_TRUE(HudLineAt(won, 240.0f)) << "and no further";
}

} // namespace
} // namespace kel::test
