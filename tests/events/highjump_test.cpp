// The high jump driven by the runner's scripts: setting the bar, the clean jump, every foul (each
// judged by the rule that fired, seen in the frame it fired), the low-bar stall and a pinned hash.
#include "events/highjump/highjump.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

// The scene as it stood in the frame the attempt was decided (the phase left the jump).
struct Decision {
    int frame = -1;
    int32_t phase = -1;
    b2Vec2 jumper{0.0f, 0.0f};
    float barY = 0.0f;
    int32_t releasedFrames = 0;
    bool topCleared = false;
    bool bottomCleared = false;
    int32_t grabBudget = 0;
};

class HighJumpTest : public EventTest {
  protected:
    // Plays a kept script to the end (60 frames past `finished`), noting the decision frame.
    Decision Play(HighJumpEvent& s, const char* name) {
        const std::string text = EventScriptText(name);
        InputScript script;
        std::string error;
        EXPECT_TRUE(ParseInputScript(text, &script, &error)) << name << ": " << error;
        ScriptPlayer input(script);
        Decision d;
        int finishedFrame = -1;
        for (int frame = 0; frame < 3600; ++frame) {
            input.Apply(frame);
            const int32_t before = s.phase;
            Step(s);
            if (d.frame < 0 && before <= HighJumpEvent::kJump && s.phase >= HighJumpEvent::kLanded) {
                d = Decision{frame, s.phase, s.jumper->GetPosition(), s.bar->GetPosition().y, s.releasedFrames,
                             s.topCleared, s.bottomCleared, s.grabBudget};
            }
            if (s.finished && finishedFrame < 0) finishedFrame = frame;
            if (finishedFrame >= 0 && frame == finishedFrame + 60) break;
        }
        EXPECT_TRUE(s.finished) << name;
        return d;
    }
};

// ---- Setting the bar -------------------------------------------------------------------------

TEST_F(HighJumpTest, TheBarFollowsTheDragWithinItsLimitsAndFallsFreeOnRelease) {
    HighJumpEvent s;
    Step(s);
    // A click 0.625 m beside the bar (px 592 + 25) does not take it.
    MouseAt(617, 380);
    Press();
    Step(s);
    Release();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kWaiting);
    MouseAt(615, 380);
    Press();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kSettingBar);
    // Above the top of the standard and below its foot, the bar stops at 12.5 and 3.0 m.
    for (const int py : {0, 767, 340}) {
        MouseAt(592, py);
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_FLOAT_EQ(s.barHeight, 8.1f);
    EXPECT_NEAR(s.bar->GetPosition().y, -8.1f, 1e-5f);
    EXPECT_NEAR(s.barRest->GetPosition().y, 0.55f - 8.1f, 1e-5f) << "the rest's top meets the bar's bottom";
    EXPECT_EQ(CountEffect(kSfxBarset), 3) << "12.5, 3.0 and 8.1 are each 0.5 m from the last click";
    EXPECT_EQ(s.bar->GetType(), b2_staticBody);
    Release();
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kRunUp);
    EXPECT_EQ(s.bar->GetType(), b2_dynamicBody);
    EXPECT_NE(FindCall(SoundCall::kMusic), -1);
    for (int i = 0; i < 60; ++i)
        Step(s);
    EXPECT_NEAR(s.bar->GetPosition().y, -8.1f, 0.02f) << "the bar, 1 kg now, rests on its block";
    EXPECT_FLOAT_EQ(s.bar->GetMass(), 1.0f);
    EXPECT_FLOAT_EQ(s.bar->GetInertia(), 0.0f);
}

TEST_F(HighJumpTest, TenSecondsOfWaitingStartTheRunUpUnderAFixedDefaultBar) {
    HighJumpEvent s;
    for (int i = 0; i < 599; ++i)
        Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kWaiting);
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
    Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kRunUp);
    EXPECT_EQ(s.bar->GetType(), b2_staticBody);
    EXPECT_FLOAT_EQ(s.barHeight, 5.0f);
}

// ---- The good jump ---------------------------------------------------------------------------

TEST_F(HighJumpTest, TheGoodRunClearsABarSetByDraggingTo860) {
    HighJumpEvent s;
    s.SetPlayer(&player);
    const Decision d = Play(s, "highjump_good_run.txt");
    EXPECT_EQ(d.phase, HighJumpEvent::kLanded);
    EXPECT_TRUE(d.topCleared && d.bottomCleared);
    EXPECT_FALSE(s.fault);
    EXPECT_NEAR(s.barHeight, 8.6f, 1e-4f);
    EXPECT_NEAR(s.result, 8.1f, 1e-4f);
    EXPECT_GE(AchievementLevel(kEventHighJump, s.result, s.fault), 3) << "at least the middle mark";
    EXPECT_GT(d.jumper.x, 0.5f) << "it came down beyond the bar";
    EXPECT_GT(s.bestHeight, 9.0f);
    EXPECT_EQ(CountEffect(kSfxHoout1), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
    EXPECT_EQ(WorldHashText(s.world), "cb4730bc9fe506d5");
}

// ---- Fouls -----------------------------------------------------------------------------------

TEST_F(HighJumpTest, EachFoulScriptEndsByItsOwnRule) {
    struct Case {
        const char* script;
        int32_t decidedPhase;
    };
    const Case cases[] = {
        {"highjump_foul_ran_past.txt", HighJumpEvent::kResult},
        {"highjump_foul_stalled_low_bar.txt", HighJumpEvent::kResult},
        {"highjump_foul_under.txt", HighJumpEvent::kResult},
        {"highjump_foul_bar_down.txt", HighJumpEvent::kResult},
        {"highjump_foul_let_go.txt", HighJumpEvent::kResult},
        {"highjump_foul_not_cleared.txt", HighJumpEvent::kLanded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        SetUp();
        sounds.clear();
        HighJumpEvent s;
        const Decision d = Play(s, c.script);
        EXPECT_TRUE(s.fault);
        EXPECT_EQ(s.result, 0.0f);
        EXPECT_EQ(d.phase, c.decidedPhase);
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
        EXPECT_EQ(CountEffect(kSfxClapping), 0);
        const std::string name = c.script;
        if (name == "highjump_foul_ran_past.txt") {
            EXPECT_GT(d.jumper.x, 0.5f);
            EXPECT_EQ(CountEffect(kSfxTap2), 0) << "never grabbed";
        } else if (name == "highjump_foul_stalled_low_bar.txt") {
            EXPECT_LT(d.jumper.x, 0.5f) << "stopped by the rest block, short of the line";
            EXPECT_LT(s.barHeight, 3.27f);
            EXPECT_EQ(s.idleFrames, 180);
        } else if (name == "highjump_foul_under.txt") {
            EXPECT_FALSE(d.topCleared || d.bottomCleared);
            EXPECT_GT(d.jumper.x, 0.5f);
            EXPECT_LT(d.barY, 0.1f - s.barHeight) << "the bar stayed up";
        } else if (name == "highjump_foul_bar_down.txt") {
            EXPECT_GT(d.barY, 0.1f - s.barHeight);
            EXPECT_LT(d.barY, 0.2f - s.barHeight) << "judged the frame it sank past 0.1 m";
        } else if (name == "highjump_foul_let_go.txt") {
            EXPECT_EQ(d.releasedFrames, 241);
            EXPECT_GT(d.grabBudget, 0);
        } else {
            EXPECT_EQ(d.grabBudget, 0) << "the jump ended when the budget ran out";
            EXPECT_FALSE(d.topCleared && d.bottomCleared);
        }
    }
}

TEST_F(HighJumpTest, HeadOverButFeetUnderIsFaultedAtTheEndOfTheJump) {
    HighJumpEvent s;
    for (int i = 0; i < 600; ++i)
        Step(s);
    ASSERT_EQ(s.phase, HighJumpEvent::kRunUp);
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
    for (int i = 0; i < 200 && s.phase == HighJumpEvent::kJump; ++i)
        Step(s);
    EXPECT_EQ(s.phase, HighJumpEvent::kLanded);
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0) << "the buzz waits 90 frames";
    for (int i = 0; i < 90; ++i)
        Step(s);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    EXPECT_EQ(FindCall(SoundCall::kStopMusic), -1) << "only a clean jump stops the music";
}

TEST_F(HighJumpTest, AnAthleteFlungOffTheGroundEndsTheAttempt) {
    HighJumpEvent s;
    for (int i = 0; i < 600; ++i)
        Step(s);
    s.phase = HighJumpEvent::kJump;
    s.jumper->SetTransform(b2Vec2(-20.5f, -1.3f), 0.0f);
    gApp.mouseHeld = 1;
    Step(s);
    EXPECT_TRUE(s.fault);
    EXPECT_EQ(s.phase, HighJumpEvent::kResult);
}

} // namespace
} // namespace kel::test
