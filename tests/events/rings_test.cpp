// Still rings driven frame by frame: the hanging gymnast, the scripted routine, fall and idle
// routine, turns, the unwinding of the angles when the hands let go, the latest dismount, the
// score table and a pinned world hash.
#include "events/rings/rings.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "base/helpers.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kel::test {
namespace {

class RingsTest : public EventTest {
  protected:
    // A click on the empty hall starts the routine without grabbing anything.
    static void Start(RingsEvent& s) {
        MouseAt(900, 100);
        Press();
        Step(s);
        Release();
        Step(s);
    }
    static void Turn(RingsEvent& s, float angle) {
        s.torso->SetTransform(s.torso->GetPosition(), angle);
        s.torso->SetAngularVelocity(0.0f);
        Step(s);
    }
};

TEST_F(RingsTest, TheStrapsStartTautAndOnlyTheTorsoCanBeTaken) {
    RingsEvent s;
    const b2Vec2 ring = s.rightRing->GetPosition();
    Step(s);
    EXPECT_LT((s.rightRing->GetPosition() - ring).Length(), 0.02f) << "no snap on the first step";
    const b2Vec2 strap = s.rightStrap->GetAnchorB() - s.rightStrap->GetAnchorA();
    EXPECT_NEAR(strap.Length(), 8.2f, 0.01f);

    for (int i = 0; i < 200; ++i)
        Step(s);
    EXPECT_EQ(s.phase, RingsEvent::kHanging) << "the routine waits for the first click";
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
    EXPECT_NEAR(s.torso->GetAngle(), 0.0f, 0.01f) << "he hangs upright under the rings";
    const b2Vec2 left = s.leftRing->GetPosition();
    MouseAt(PxX(s, left.x), PxY(s, left.y));
    Press();
    Step(s);
    EXPECT_EQ(s.mouseJoint, nullptr) << "the rings are not the gymnast";
    EXPECT_EQ(s.phase, RingsEvent::kRoutine);
    EXPECT_NE(FindCall(SoundCall::kMusic), -1);
}

TEST_F(RingsTest, TheScriptedRoutineScoresTurnsASideHoldAndALanding) {
    UseBlockFont();
    RingsEvent s;
    s.SetPlayer(&player);
    ASSERT_GE(PlayFile(s, "rings_good_run.txt"), 0);
    EXPECT_EQ(s.phase, RingsEvent::kScored);
    EXPECT_EQ(s.turns, 10);
    EXPECT_TRUE(s.heldSide);
    EXPECT_TRUE(s.landed);
    EXPECT_GE(s.result, kEventTable[kEventRings].marks[1]);
    EXPECT_NEAR(s.result, 6.8f, 0.01f);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(CountEffect(kSfxHup2), 10);
    EXPECT_EQ(CountEffect(kSfxHnnng1), 1);
    EXPECT_EQ(CountEffect(kSfxAww), 0);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "Rings.mp3");
    EXPECT_NE(FindCall(SoundCall::kStopMusic, -1, music), -1);
    // The same as kelvaro-sim --scene 4 --input rings_good_run.txt --after-finish 60 reports.
    EXPECT_EQ(WorldHashText(s.world), "c9e834854742f280");

    SetGlBackend(&gl);
    gl.Reset();
    s.DrawFrame();
    FlushBatch();
    SetGlBackend(&nullGl);
    EXPECT_LE(gl.draws.size(), 30u) << "draw calls of the result frame";
}

TEST_F(RingsTest, AFallHalvesTheScoreAndAnIdleRoutineStillEnds) {
    RingsEvent fall;
    ASSERT_GE(PlayFile(fall, "rings_fall.txt"), 0);
    EXPECT_FALSE(fall.landed);
    EXPECT_EQ(fall.turns, 6);
    EXPECT_NEAR(fall.result, 2.0f, 0.01f);
    EXPECT_EQ(CountEffect(kSfxAww), 1);

    RingsEvent idle;
    ASSERT_GE(PlayFile(idle, "rings_hang_still.txt"), 0);
    EXPECT_TRUE(idle.finished);
    EXPECT_EQ(idle.result, 0.0f);
    EXPECT_FALSE(idle.fault);
}

TEST_F(RingsTest, ATurnNeedsAllFourQuadrantsInAnyOrder) {
    RingsEvent s;
    Start(s);
    for (const float a : {0.0f, 1.5f, 3.0f, 1.5f, 0.0f, 1.5f, 3.0f})
        Turn(s, a);
    EXPECT_EQ(s.turns, 0) << "back and forth over three quadrants";
    Turn(s, -1.5f);
    EXPECT_EQ(s.turns, 1);
    EXPECT_EQ(s.turnQuadrants, 0);
    for (const float a : {-1.5f, -3.0f, 1.5f, 0.0f})
        Turn(s, a);
    EXPECT_EQ(s.turns, 2) << "the other way round";
    EXPECT_EQ(CountEffect(kSfxHup2), 2);
}

TEST_F(RingsTest, LettingGoUnwindsTheTorsoAndKeepsEachArmBesideIt) {
    RingsEvent s;
    for (int i = 0; i < 200; ++i)
        Step(s);
    Start(s);
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
    EXPECT_EQ(s.grabBudget, 0);
    EXPECT_NEAR(s.torso->GetAngle(), 3.0f, 0.05f);
    EXPECT_NEAR(s.leftArm->GetAngle() - s.torso->GetAngle(), leftBend, 0.05f);
    EXPECT_NEAR(s.rightArm->GetAngle() - s.torso->GetAngle(), rightBend, 0.05f);
}

TEST_F(RingsTest, TheLandingIsJudgedByThreeHundredFramesWhenTheBodyNeverSleeps) {
    RingsEvent s;
    Start(s);
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
    struct Case {
        int turns;
        bool holds;
        bool landed;
        float score;
    };
    const Case cases[] = {
        {1, false, true, 0.0f},  {2, false, true, 0.8f},  {6, false, true, 4.0f},  {7, false, true, 4.2f},
        {10, true, true, 10.0f}, {10, true, false, 5.0f}, {12, false, true, 4.8f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(RingsScore(c.turns, c.holds, c.holds, c.holds, c.landed), c.score, 1e-4f) << c.turns;
}

} // namespace
} // namespace kel::test
