// The long jump: the sand pit as built, the runner's scripts (a good jump, overstepping, a short
// landing), the landing mark's rules seen with the athlete set down by hand, the pit-edge and
// end-of-world mends and a pinned hash.
#include "events/longjump/longjump.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kel::test {
namespace {

class LongJumpTest : public EventTest {
  protected:
    // Plays a kept script to 60 frames past `finished`; returns the frame the attempt was decided.
    int Play(LongJumpEvent& s, const char* name) {
        InputScript script;
        std::string error;
        EXPECT_TRUE(ParseInputScript(EventScriptText(name), &script, &error)) << name << ": " << error;
        ScriptPlayer input(script);
        int decided = -1;
        int finishedFrame = -1;
        for (int frame = 0; frame < 3600; ++frame) {
            input.Apply(frame);
            Step(s);
            if (decided < 0 && s.phase == LongJumpEvent::kEnded) decided = frame;
            if (s.finished && finishedFrame < 0) finishedFrame = frame;
            if (finishedFrame >= 0 && frame == finishedFrame + 60) break;
        }
        EXPECT_EQ(finishedFrame, decided + 30) << name;
        return decided;
    }

    // Starts the run-up and takes off at once: the athlete is grabbed where it stands and let go.
    void TakeOff(LongJumpEvent& s) {
        MouseAt(PxX(s, s.jumper->GetPosition().x), PxY(s, s.jumper->GetPosition().y));
        Press();
        Step(s);
        gApp.mouseHeld = 1;
        Step(s);
        ASSERT_EQ(s.phase, LongJumpEvent::kJump);
        Release();
        s.jumper->SetTransform(b2Vec2(20.0f, -10.0f), 0.0f); // in the air over the pit
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

// ---- The pit ---------------------------------------------------------------------------------

TEST_F(LongJumpTest, ThreeRowsOfSandSettleBelowTheRayLine) {
    LongJumpEvent s;
    ASSERT_EQ(s.sandGrains.size(), 308u) << "103 + 102 + 103: the last grain of each row sits short of 34.845";
    EXPECT_NEAR(s.sandGrains[102]->GetPosition().x, 34.775f, 1e-3f);
    EXPECT_NEAR(s.sandGrains[103]->GetPosition().x, 3.31f, 1e-3f) << "the middle row starts half a step on";
    for (int i = 0; i < 300; ++i)
        Step(s);
    int asleep = 0;
    for (const b2Body* grain : s.sandGrains) {
        const b2Vec2 p = grain->GetPosition();
        ASSERT_GT(p.x, 3.0f);
        ASSERT_LT(p.x, 35.0f);
        ASSERT_GT(p.y - 0.15f, -0.02f) << "no grain reaches up to the landing ray";
        asleep += !grain->IsAwake();
    }
    EXPECT_EQ(asleep, 308) << "a settled pit sleeps until a landing wakes it";
    EXPECT_NEAR(s.jumper->GetPosition().y, -1.25f, 0.02f);
    EXPECT_EQ(s.phase, LongJumpEvent::kWaiting) << "waiting for the first click is the player's choice";
}

// ---- The attempt -----------------------------------------------------------------------------

TEST_F(LongJumpTest, TheGoodRunLandsBeyondTheMiddleMark) {
    LongJumpEvent s;
    s.SetPlayer(&player);
    Play(s, "longjump_good_run.txt");
    EXPECT_FALSE(s.fault);
    EXPECT_TRUE(s.hasMark);
    EXPECT_EQ(s.result, s.markX);
    EXPECT_GT(s.result, 14.0f);
    EXPECT_LT(s.result, 19.0f);
    EXPECT_GE(AchievementLevel(kEventLongJump, s.result, s.fault), 3);
    EXPECT_LT(s.takeoffMarkX, 0.0f) << "took off behind the line";
    EXPECT_GT(s.jumper->GetPosition().x, s.markX) << "the mark is the landing point nearest the line";
    EXPECT_NEAR(s.cameraX, s.markX + 4.0f, 2.0f) << "the camera stopped at the first mark";
    EXPECT_EQ(CountEffect(kSfxHoout1), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "ShotPut.mp3");
    EXPECT_NE(FindCall(SoundCall::kStopMusic, -1, music), -1);
    EXPECT_EQ(WorldHashText(s.world), "f40b5d6cd465dbc6");
}

TEST_F(LongJumpTest, NeverGrabbingOverstepsAfter1895Metres) {
    LongJumpEvent s;
    const int decided = Play(s, "longjump_foul_overstep.txt");
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(s.result, 0.0f);
    EXPECT_GT(s.takeoffMarkX, 0.0f);
    EXPECT_LT(s.takeoffMarkX, 0.2f) << "judged the frame the front edge passed the line";
    // 7 N on 1.75 kg from rest: 18.95 m take sqrt(2 * 18.95 / 4) s.
    EXPECT_NEAR(decided, 60.0f * std::sqrt(2.0f * 18.95f / 4.0f), 2.0f);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
}

TEST_F(LongJumpTest, AGrabInTheFrameTheEdgePassesTheLineIsStillAFoul) {
    for (const float frontEdge : {-0.2f, 0.05f}) {
        LongJumpEvent s;
        MouseAt(900, 100);
        Press();
        Step(s);
        Release();
        Step(s);
        // Moving slowly, so the step barely moves it across.
        s.jumper->SetTransform(b2Vec2(frontEdge - 0.35f, -1.25f), 0.0f);
        s.jumper->SetLinearVelocity(b2Vec2(0.1f, 0.0f));
        MouseAt(PxX(s, frontEdge - 0.35f), PxY(s, -1.25f));
        Press();
        Step(s);
        EXPECT_EQ(s.fault, frontEdge > 0.0f) << frontEdge;
        EXPECT_EQ(s.phase, frontEdge > 0.0f ? LongJumpEvent::kEnded : LongJumpEvent::kJump);
    }
}

TEST_F(LongJumpTest, ComingDownOnTheRunwayIsAShortLanding) {
    LongJumpEvent s;
    Play(s, "longjump_foul_short.txt");
    EXPECT_TRUE(s.fault);
    EXPECT_FALSE(s.hasMark);
    EXPECT_EQ(s.result, 0.0f);
    EXPECT_EQ(CountEffect(kSfxTap2), 1);
}

// ---- The landing mark ------------------------------------------------------------------------

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
    EXPECT_TRUE(s.hasMark);
    EXPECT_FLOAT_EQ(s.markX, 3.0f);
    for (int i = 0; i < 200 && !s.finished; ++i)
        Step(s);
    EXPECT_FALSE(s.fault) << "a mark, so no short landing";
    EXPECT_FLOAT_EQ(s.result, 3.0f);
}

TEST_F(LongJumpTest, RestingBelowTheRayLineWithoutAMarkIsAFoulAfterSixtyStillFrames) {
    LongJumpEvent s;
    TakeOff(s);
    // Clear a bed in the sand and lay the athlete flat on the pit floor, under the ray line.
    for (b2Body* grain : s.sandGrains) {
        if (std::fabs(grain->GetPosition().x - 20.0f) < 2.5f) grain->SetTransform(b2Vec2(grain->GetPosition().x, 50.0f), 0.0f);
    }
    Place(s, 20.0f, 0.64f, 1.5707964f);
    ASSERT_FALSE(s.hasMark);
    int frames = 1;
    while (s.phase == LongJumpEvent::kJump && frames < 200) {
        Step(s);
        ++frames;
    }
    EXPECT_TRUE(s.fault);
    EXPECT_FALSE(s.hasMark);
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
