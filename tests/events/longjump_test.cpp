// The long jump with the athlete set down by hand: the settled pit, the take-off line, the
// landing mark's rules, the pit-edge and end-of-world mends.
#include "events/longjump/longjump.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class LongJumpTest : public EventTest {
  protected:
    // Starts the run-up and takes off at once, in the air over the pit.
    static void TakeOff(LongJumpEvent& s) {
        Grab(s, s.jumper->GetPosition());
        Hold(s, 1);
        ASSERT_EQ(s.phase, LongJumpEvent::kJump);
        Release();
        s.jumper->SetTransform(b2Vec2(20.0f, -10.0f), 0.0f);
        Step(s);
    }
    // Sets the athlete down still at (x, y), angle a, for one frame.
    static void Place(LongJumpEvent& s, float x, float y, float a) {
        s.jumper->SetTransform(b2Vec2(x, y), a);
        s.jumper->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        s.jumper->SetAngularVelocity(0.0f);
        Step(s);
    }
};

TEST_F(LongJumpTest, TheSandSettlesAsleepBelowTheRayLine) {
    LongJumpEvent s;
    Steps(s, 300);
    int asleep = 0;
    for (const b2Body* grain : s.sandGrains) {
        ASSERT_GT(grain->GetPosition().y - 0.15f, -0.02f) << "no grain reaches up to the landing ray";
        asleep += !grain->IsAwake();
    }
    EXPECT_EQ(asleep, static_cast<int>(s.sandGrains.size()))
        << "a settled pit sleeps until a landing wakes it";
}

TEST_F(LongJumpTest, AGrabInTheFrameTheEdgePassesTheLineIsStillAFoul) {
    for (const float frontEdge : {-0.2f, 0.05f}) {
        LongJumpEvent s;
        ClickPx(s);
        // Moving slowly, so the step barely moves it across.
        s.jumper->SetTransform(b2Vec2(frontEdge - 0.35f, -1.25f), 0.0f);
        s.jumper->SetLinearVelocity(b2Vec2(0.1f, 0.0f));
        MouseAt(PxX(s, frontEdge - 0.35f), PxY(s, -1.25f));
        Press();
        Step(s);
        EXPECT_EQ(s.fault, frontEdge > 0.0f) << frontEdge;
        EXPECT_EQ(s.phase, frontEdge > 0.0f ? LongJumpEvent::kEnded : LongJumpEvent::kJump) << frontEdge;
    }
}

TEST_F(LongJumpTest, TheMarkOnlyMovesBackTowardTheLine) {
    LongJumpEvent s;
    TakeOff(s);
    ASSERT_FALSE(s.hasMark);
    Place(s, 12.0f, -1.0f, 0.0f);
    ASSERT_TRUE(s.hasMark);
    EXPECT_NEAR(s.markX, 11.65f, 0.02f) << "the ray meets the athlete's back face";
    const float camera = s.cameraX;
    Place(s, 15.0f, -1.0f, 0.0f);
    EXPECT_NEAR(s.markX, 11.65f, 0.02f) << "forward never";
    EXPECT_EQ(s.cameraX, camera) << "the camera stays at the first mark";
    Place(s, 8.0f, -1.0f, 0.0f);
    EXPECT_NEAR(s.markX, 7.65f, 0.02f) << "back always";
}

TEST_F(LongJumpTest, AnAthleteLyingAcrossThePitEdgeMarksTheEdge) {
    // Lying flat on the runway with its feet over the pit, the athlete covers the ray's start,
    // where Box2D reports no hit at all.
    LongJumpEvent s;
    TakeOff(s);
    Place(s, 2.5f, -0.35f, 1.5707964f);
    EXPECT_FLOAT_EQ(s.markX, 3.0f);
    StepWhile(s, 200, [&] { return !s.finished; });
    EXPECT_FALSE(s.fault) << "a mark, so no short landing";
    EXPECT_FLOAT_EQ(s.result, 3.0f);
}

TEST_F(LongJumpTest, RestingBelowTheRayLineWithoutAMarkIsAFoulAfterSixtyStillFrames) {
    LongJumpEvent s;
    TakeOff(s);
    // Clear a bed in the sand and lay the athlete flat on the pit floor, under the ray line.
    for (b2Body* grain : s.sandGrains) {
        if (std::fabs(grain->GetPosition().x - 20.0f) < 2.5f)
            grain->SetTransform(b2Vec2(grain->GetPosition().x, 50.0f), 0.0f);
    }
    Place(s, 20.0f, 0.64f, 1.5707964f);
    ASSERT_FALSE(s.hasMark);
    const int frames = 1 + StepWhile(s, 199, [&] { return s.phase == LongJumpEvent::kJump; });
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(s.restFrames, 60);
    EXPECT_LE(frames, 61);
}

TEST_F(LongJumpTest, AnAthleteFlungPastTheEndOfTheGroundEndsTheAttempt) {
    LongJumpEvent s;
    TakeOff(s);
    Place(s, 86.0f, -1.0f, 0.0f);
    EXPECT_EQ(s.phase, LongJumpEvent::kEnded);
    EXPECT_TRUE(s.fault);
}

} // namespace
} // namespace kel::test
