// The high jump: setting the bar, the default bar after ten seconds, head over but feet under,
// and an athlete flung off the ground.
#include "events/highjump/highjump.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

using HighJumpTest = EventTest;

TEST_F(HighJumpTest, TheBarFollowsTheDragWithinItsLimitsAndFallsFreeOnRelease) {
    HighJumpEvent s;
    Step(s);
    MouseAt(617, 380); // 0.625 m beside the bar (px 592 + 25)
    Press();
    Step(s);
    Release();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kWaiting) << "a click just beside the bar does not take it";
    MouseAt(615, 380);
    Press();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kSettingBar);
    // Above the top of the standard and below its foot, the bar stops at 12.5 and 3.0 m.
    for (const int py : {0, 767, 340}) {
        MouseAt(592, py);
        Hold(s, 1);
    }
    EXPECT_FLOAT_EQ(s.barHeight, 8.1f);
    EXPECT_NEAR(s.barRest->GetPosition().y, 0.55f - 8.1f, 1e-5f) << "the rest's top meets the bar's bottom";
    EXPECT_EQ(CountEffect(kSfxBarset), 3) << "12.5, 3.0 and 8.1 are each 0.5 m from the last click";
    Release();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kRunUp);
    EXPECT_EQ(s.bar->GetType(), b2_dynamicBody);
    Steps(s, 60);
    EXPECT_NEAR(s.bar->GetPosition().y, -8.1f, 0.02f) << "the bar rests on its block";
}

TEST_F(HighJumpTest, TenSecondsOfWaitingStartTheRunUpUnderAFixedDefaultBar) {
    HighJumpEvent s;
    Steps(s, 599);
    EXPECT_EQ(s.phase, HighJumpEvent::kWaiting);
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kRunUp);
    EXPECT_EQ(s.bar->GetType(), b2_staticBody);
    EXPECT_FLOAT_EQ(s.barHeight, 5.0f);
}

TEST_F(HighJumpTest, HeadOverButFeetUnderIsFaultedAtTheEndOfTheJump) {
    HighJumpEvent s;
    Steps(s, 600);
    s.phase = HighJumpEvent::kJump;
    // The head passes x = 0 above the 5 m bar, the feet below it.
    s.jumper->SetTransform(b2Vec2(-0.2f, -5.5f), 1.2f);
    s.jumper->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    Step(s);
    s.jumper->SetTransform(b2Vec2(0.6f, -4.0f), 1.2f);
    Step(s);
    EXPECT_TRUE(s.topCleared);
    EXPECT_FALSE(s.bottomCleared);
    s.grabBudget = 0;
    StepWhile(s, 200, [&] { return s.phase == HighJumpEvent::kJump; });
    EXPECT_EQ(s.phase, HighJumpEvent::kLanded);
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0) << "the buzz waits 90 frames";
    Steps(s, 90);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    EXPECT_EQ(FindCall(SoundCall::kStopMusic), -1) << "only a clean jump stops the music";
}

TEST_F(HighJumpTest, AnAthleteFlungOffTheGroundEndsTheAttempt) {
    HighJumpEvent s;
    Steps(s, 600);
    s.phase = HighJumpEvent::kJump;
    s.jumper->SetTransform(b2Vec2(-20.5f, -1.3f), 0.0f);
    gApp.mouseHeld = 1;
    Step(s);
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(s.phase, HighJumpEvent::kResult);
}

} // namespace
} // namespace kel::test
