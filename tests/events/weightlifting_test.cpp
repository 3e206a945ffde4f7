// Weightlifting driven frame by frame: the podium settles, the clock starts with the barbell, a
// held bar is never a lift, the good lift and every foul from their runner scripts, the kit
// colour of the current competitor, and a pinned world hash.
#include "events/weightlifting/weightlifting.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class WeightliftingTest : public EventTest {
  protected:
    // Grabs the barbell at its origin; the clock starts in this frame.
    void GrabBarbell(WeightliftingEvent& s) {
        const b2Vec2 at = s.barbell->GetPosition();
        MouseAt(PxX(s, at.x), PxY(s, at.y));
        Press();
        Step(s);
    }

    void Hold(WeightliftingEvent& s, int frames) {
        for (int i = 0; i < frames && !s.finished; ++i) {
            gApp.mouseHeld = 1;
            Step(s);
        }
    }
};

TEST_F(WeightliftingTest, TheLifterStandsOnTheTopStepAndWaitsForTheBarbell) {
    WeightliftingEvent s;
    for (int i = 0; i < 1200; ++i)
        Step(s);
    EXPECT_NEAR(s.lifter->GetPosition().y, -4.35f, 0.06f) << "a 2.7 m box on the step whose top is y = -3";
    EXPECT_NEAR(s.barbell->GetPosition().y, -0.65f, 0.02f) << "the plates rest on the floor";
    EXPECT_FALSE(s.lifter->IsAwake());
    // Before the barbell is touched nothing runs: waiting is the player's choice.
    EXPECT_EQ(s.phase, WeightliftingEvent::kWaiting);
    EXPECT_FALSE(s.finished);
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
}

TEST_F(WeightliftingTest, TheBarbellStartsTheClockWhichBeepsEverySecond) {
    WeightliftingEvent s;
    Step(s);
    GrabBarbell(s);
    ASSERT_EQ(s.phase, WeightliftingEvent::kLifting);
    EXPECT_EQ(CountEffect(kSfxHarrp), 1);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "Weightlifting.mp3");
    EXPECT_TRUE(sounds[static_cast<size_t>(music)].loop);
    EXPECT_EQ(s.liftFrames, 0) << "the clock's first frame is the one after the grab";
    Step(s);
    EXPECT_EQ(CountEffect(kSfxBeep), 1) << "beep on lift frame 0";
    EXPECT_EQ(s.liftFrames, 1);
    Hold(s, 59);
    EXPECT_EQ(CountEffect(kSfxBeep), 1);
    Hold(s, 1);
    EXPECT_EQ(CountEffect(kSfxBeep), 2) << "and on lift frame 60";
    EXPECT_EQ(LastEffect(kSfxBeep)->volume, 20);
}

TEST_F(WeightliftingTest, ABarHeldStillOverheadIsNoLiftUntilItIsLetGo) {
    WeightliftingEvent s;
    for (int i = 0; i < 60; ++i)
        Step(s);
    GrabBarbell(s);
    ASSERT_NE(s.mouseJoint, nullptr);
    // Set the bar down on the lifter's head with the hand right at the grab point, so the band
    // pulls nothing: bar and lifter sit perfectly still while the bar is held.
    const float headY = s.lifter->GetPosition().y - 1.35f - 0.15f;
    s.barbell->SetTransform(b2Vec2(s.lifter->GetPosition().x, headY), 0.0f);
    s.barbell->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    MouseAt(PxX(s, s.barbell->GetPosition().x), PxY(s, headY));
    Hold(s, 600);
    EXPECT_EQ(s.phase, WeightliftingEvent::kLifting);
    EXPECT_TRUE(s.barbell->IsAwake());
    EXPECT_NEAR(s.barbell->GetPosition().y, headY, 0.05f);
    EXPECT_LT(s.barbell->GetLinearVelocity().Length(), 0.01f);

    Release();
    int frames = 0;
    while (s.phase == WeightliftingEvent::kLifting && frames < 200) {
        Step(s);
        ++frames;
    }
    ASSERT_EQ(s.phase, WeightliftingEvent::kEnded);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(frames, 30) << "Box2D needs half a second of rest before both sleep";
    EXPECT_EQ(s.result, static_cast<float>(s.liftFrames));
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxHurrrr), 1);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
}

TEST_F(WeightliftingTest, JerkStartsOnlyOnceTheLifterIsAwakeAfterThreeSeconds) {
    WeightliftingEvent s;
    for (int i = 0; i < 60; ++i)
        Step(s);
    ASSERT_FALSE(s.lifter->IsAwake());
    GrabBarbell(s);
    Hold(s, 240);
    EXPECT_EQ(s.jerkFrames, 0) << "the lifter sleeps while the bar swings far from it";
    s.lifter->SetAwake(true);
    Step(s);
    EXPECT_EQ(s.jerkFrames, 1);
    Step(s);
    EXPECT_EQ(s.jerkFrames, 2);
}

TEST_F(WeightliftingTest, TheGoodLiftScriptBeatsTheMiddleMark) {
    WeightliftingEvent s;
    const int finishedFrame = PlayFile(s, "weightlifting_good_lift.txt");
    ASSERT_GE(finishedFrame, 0);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(s.result, 420.0f);
    EXPECT_LE(s.result, 520.0f);
    EXPECT_GE(AchievementLevel(kEventWeightlifting, s.result, s.fault), 3);
    EXPECT_LT(s.barbell->GetPosition().y, s.lifter->GetPosition().y - 1.3f) << "the bar rests on the head";
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    EXPECT_EQ(WorldHashText(s.world), "acf59e0ec6afe7ca") << "pinned: change only on purpose";
}

struct FoulCase {
    const char* script;
    bool musicStarted;
    int decidedFrame; // the frame whose update fouls, 30 frames before `finished`
};

class WeightliftingFoulTest : public WeightliftingTest, public ::testing::WithParamInterface<FoulCase> {};

TEST_P(WeightliftingFoulTest, EndsAsDnqWithTheBuzzer) {
    WeightliftingEvent s;
    const int finishedFrame = PlayFile(s, GetParam().script, 0);
    ASSERT_GE(finishedFrame, 0);
    ExpectFoul(s, GetParam().script);
    EXPECT_EQ(FindCall(SoundCall::kMusic) != -1, GetParam().musicStarted);
    if (GetParam().decidedFrame >= 0) {
        EXPECT_EQ(finishedFrame, GetParam().decidedFrame + 30);
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, WeightliftingFoulTest,
                         ::testing::Values(
                             // Before the lift: grabbing only the lifter starts no clock.
                             FoulCase{"weightlifting_lifter_falls.txt", false, -1},
                             FoulCase{"weightlifting_dropped_bar.txt", true, -1},
                             // Released in frame 20; 600 idle frames counted from there.
                             FoulCase{"weightlifting_bar_left_lying.txt", true, 620}));

TEST_F(WeightliftingTest, TheKitWearsTheCurrentCompetitorsColour) {
    struct SlotHost : FakeHost {
        int CurrentCompetitorSlot() const override { return 1; }
    } host;
    SetSceneHost(&host);
    MarkSprites({201});
    WeightliftingEvent s;
    s.SetPlayer(&player);
    Step(s);
    SetGlBackend(&gl);
    gl.Reset();
    s.Draw();
    FlushBatch();
    SetGlBackend(&nullGl);
    bool found = false;
    for (const RecordingGlBackend::Draw& d : gl.draws) {
        for (const Vertex& v : d.vertices) {
            if (v.u != 0.201f) continue;
            found = true;
            EXPECT_EQ(v.colour, PackColour(0, 255, 255, 255)) << "slot 1's cyan";
        }
    }
    EXPECT_TRUE(found);
}

} // namespace
} // namespace kel::test
