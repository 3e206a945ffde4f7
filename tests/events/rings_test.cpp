// Still rings: the routine's start, the fall and idle routines, turns, the unwinding of the
// angles when the hands let go, the latest dismount and the score.
#include "events/rings/rings.h"
#include "event_test_support.h"

#include "base/helpers.h"

namespace kel::test {
namespace {

class RingsTest : public EventTest {
  protected:
    static void Turn(RingsEvent& s, float angle) {
        s.torso->SetTransform(s.torso->GetPosition(), angle);
        s.torso->SetAngularVelocity(0.0f);
        Step(s);
    }
};

TEST_F(RingsTest, TheStrapsStartTautAndTheRingsAreNotTheGymnast) {
    RingsEvent s;
    const b2Vec2 ring = s.rightRing->GetPosition();
    Step(s);
    EXPECT_LT((s.rightRing->GetPosition() - ring).Length(), 0.02f) << "no snap on the first step";
    Steps(s, 200);
    EXPECT_EQ(s.phase, RingsEvent::kHanging) << "the routine waits for the first click";
    Grab(s, s.leftRing->GetPosition());
    EXPECT_EQ(s.mouseJoint, nullptr);
    EXPECT_EQ(s.phase, RingsEvent::kRoutine);
}

TEST_F(RingsTest, AFallHalvesTheScoreAndAnIdleRoutineStillEnds) {
    RingsEvent fall;
    ASSERT_GE(PlayFile(fall, "rings_fall.txt"), 0);
    EXPECT_NEAR(fall.result, 2.0f, 0.01f) << "six turns and no landing";
    EXPECT_EQ(CountEffect(kSfxAww), 1);

    RingsEvent idle;
    ASSERT_GE(PlayFile(idle, "rings_hang_still.txt"), 0);
    EXPECT_EQ(idle.result, 0.0f);
    EXPECT_FALSE(idle.fault);
}

TEST_F(RingsTest, ATurnNeedsAllFourQuadrantsInAnyOrder) {
    RingsEvent s;
    ClickPx(s);
    for (const float a : {0.0f, 1.5f, 3.0f, 1.5f, 0.0f, 1.5f, 3.0f})
        Turn(s, a);
    EXPECT_EQ(s.turns, 0) << "back and forth over three quadrants";
    Turn(s, -1.5f);
    EXPECT_EQ(s.turns, 1);
    for (const float a : {-1.5f, -3.0f, 1.5f, 0.0f})
        Turn(s, a);
    EXPECT_EQ(s.turns, 2) << "the other way round";
    EXPECT_EQ(CountEffect(kSfxHup2), 2);
}

TEST_F(RingsTest, LettingGoUnwindsTheTorsoAndKeepsEachArmBesideIt) {
    RingsEvent s;
    Steps(s, 200);
    ClickPx(s);
    // Turn the hanging figure upside down (torso at 3.0 rad, two turns wound up) with the straps
    // cut, so nothing pulls it back. The arms sit about 1.8 rad either side of the torso, across
    // the +-pi seam from it: wrapped on their own, each would be 2 pi away from its shoulder.
    s.world->DestroyJoint(s.leftStrap);
    s.world->DestroyJoint(s.rightStrap);
    const b2Vec2 c = s.torso->GetPosition();
    const float turn = 3.0f - s.torso->GetAngle();
    const b2Rot r(turn);
    for (b2Body* body : {s.torso, s.leftArm, s.rightArm, s.leftRing, s.rightRing}) {
        const float winding = body == s.torso ? 4.0f * kPi : 0.0f;
        body->SetTransform(c + b2Mul(r, body->GetPosition() - c), body->GetAngle() + turn + winding);
    }
    const float leftBend = s.leftArm->GetAngle() - s.torso->GetAngle() + 4.0f * kPi;
    const float rightBend = s.rightArm->GetAngle() - s.torso->GetAngle() + 4.0f * kPi;
    ASSERT_GT(std::fabs(leftBend), 1.0f);
    s.timer = s.routineFrames - 1;
    s.Update(); // no drawing: the straps are gone
    ASSERT_EQ(s.phase, RingsEvent::kDismount);
    EXPECT_EQ(s.leftGrip, nullptr);
    EXPECT_NEAR(s.torso->GetAngle(), 3.0f, 0.05f);
    EXPECT_NEAR(s.leftArm->GetAngle() - s.torso->GetAngle(), leftBend, 0.05f);
    EXPECT_NEAR(s.rightArm->GetAngle() - s.torso->GetAngle(), rightBend, 0.05f);
}

TEST_F(RingsTest, TheLandingIsJudgedByThreeHundredFramesWhenTheBodyNeverSleeps) {
    RingsEvent s;
    ClickPx(s);
    s.timer = s.routineFrames - 1;
    Step(s);
    ASSERT_EQ(s.phase, RingsEvent::kDismount);
    for (int t = 1; t < 300; ++t) {
        s.torso->SetAngularVelocity(1.0f); // keeps it awake
        Step(s);
        ASSERT_EQ(s.phase, RingsEvent::kDismount) << "dismount frame " << t;
    }
    Step(s);
    EXPECT_EQ(s.phase, RingsEvent::kScored);
}

TEST_F(RingsTest, TheScoreCountsTurnsFromTheSecondAndCapsAtTen) {
    const struct {
        int turns;
        bool holds, landed;
        float score;
    } cases[] = {
        {1, false, true, 0.0f},  {2, false, true, 0.8f},  {6, false, true, 4.0f},  {7, false, true, 4.2f},
        {10, true, true, 10.0f}, {10, true, false, 5.0f}, {12, false, true, 4.8f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RingsScore(c.turns, c.holds, c.holds, c.holds, c.landed), c.score, 1e-4f) << c.turns;
}

} // namespace
} // namespace kel::test
