// Rowing driven frame by frame: what the mouse may take, the oar's spin-up and stroke sound, the
// scripted race and each way it fails, the finish kept within the hull's reach, the HUD and a
// pinned world hash.
#include "events/rowing/rowing.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class RowingTest : public EventTest {
  protected:
    // Grabs the hull's middle and holds it there; returns with the race under way.
    void GrabHull(RowingEvent& s) {
        const b2Vec2 at = s.hull->GetWorldPoint(b2Vec2(3.9f, 0.35f));
        MouseAt(PxX(s, at.x), PxY(s, at.y));
        Press();
        Step(s);
    }

    // Plays a script kept beside the tests, as the headless runner does.
    int PlayKept(RowingEvent& s, const char* name) {
        const std::string text = EventScriptText(name);
        EXPECT_FALSE(text.empty()) << name;
        std::string error;
        EXPECT_TRUE(ParseInputScript(text, &script, &error)) << error;
        return PlayScript(s, script, 60);
    }

    InputScript script;
};

TEST_F(RowingTest, TheCrewFloatsStillUntilTheHullIsGrabbed) {
    RowingEvent s;
    for (int i = 0; i < 120; ++i)
        Step(s);
    EXPECT_EQ(s.phase, RowingEvent::kWaiting);
    EXPECT_NEAR(s.hull->GetPosition().y, -3.7f, 0.02f) << "the hull's deck 0.7 m above the water's top";
    EXPECT_NEAR(s.rower->GetPosition().y, -5.2f, 0.04f) << "the rower sits on the deck";
    EXPECT_NEAR(s.finishBuoy->GetPosition().x - s.startBuoy->GetPosition().x, 194.0f, 1e-3f);
    EXPECT_NEAR(s.finishBuoy->GetPosition().y, -3.2f, 0.02f) << "the buoys float on the water";
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);

    // The rower, the oar and the buoys are not for the mouse.
    const b2Vec2 rower = s.rower->GetWorldPoint(b2Vec2(0.4f, 0.6f));
    MouseAt(PxX(s, rower.x), PxY(s, rower.y));
    Press();
    Step(s);
    EXPECT_EQ(s.mouseJoint, nullptr);
    Release();
    Step(s);
    EXPECT_EQ(s.phase, RowingEvent::kWaiting);

    GrabHull(s);
    ASSERT_EQ(s.grabbedBody, s.hull);
    EXPECT_EQ(s.phase, RowingEvent::kRacing);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "Rowing.mp3");
}

TEST_F(RowingTest, TheOarSpinsUpOverOneHundredSixtyFramesAndSoundsEachStroke) {
    RowingEvent s;
    GrabHull(s);
    EXPECT_EQ(s.oarPivot->GetMotorSpeed(), 0.0f) << "the clock and the oar start in the next frame";
    gApp.mouseHeld = 1;
    Step(s);
    EXPECT_NEAR(s.oarPivot->GetMotorSpeed(), 0.05f, 1e-5f);
    for (int i = 1; i < 159; ++i) {
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_LT(s.oarSpeed, 8.0f);
    for (int i = 0; i < 5; ++i) {
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_NEAR(s.oarSpeed, 8.0f, 0.03f);
    EXPECT_LT(s.oarSpeed, 8.05f) << "no step beyond the top speed";
    for (int i = 0; i < 120; ++i) {
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_GE(CountEffect(kSfxRow1), 3) << "the oar has turned past straight up a few times";
    EXPECT_GE(CountEffect(kSfxSplash), 3) << "and dipped its blade each time";
}

TEST_F(RowingTest, TheScriptedRaceFinishesWithinTheMiddleMark) {
    RowingEvent s;
    const int finishedFrame = PlayKept(s, "rowing_good_run.txt");
    ASSERT_NE(finishedFrame, -1);
    EXPECT_FALSE(s.fault);
    EXPECT_GT(s.result, 540.0f);
    EXPECT_LE(s.result, kEventTable[kEventRowing].marks[1]);
    EXPECT_EQ(AchievementLevel(kEventRowing, s.result, s.fault), 3);
    EXPECT_EQ(finishedFrame, static_cast<int>(s.result) + 1 + 60)
        << "clock from the grab, handed over 60 later";
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    EXPECT_NE(FindCall(SoundCall::kStopMusic, -1, FindCall(SoundCall::kMusic)), -1);
    EXPECT_EQ(s.result, 731.0f);
    EXPECT_EQ(WorldHashText(s.world), "4d47932d907e668f");
}

// Each way a race fails is a DNQ with the buzzer and no time.
TEST_F(RowingTest, EachFailureIsADnqWithTheBuzzer) {
    struct Case {
        const char* script;
        int decidedFrame;
    };
    const Case cases[] = {
        {"rowing_overboard.txt", 103},   // the rower's origin reaches the water line
        {"rowing_behind_wall.txt", 250}, // the rower passes x = -110
        {"rowing_idle.txt", 1206},       // 600 frames with no input and the hull still
    };
    for (const Case& c : cases) {
        sounds.clear();
        RowingEvent s;
        const int finishedFrame = PlayKept(s, c.script);
        EXPECT_EQ(finishedFrame, c.decidedFrame + 60) << c.script;
        EXPECT_TRUE(s.fault) << c.script;
        EXPECT_EQ(s.result, 0.0f) << c.script;
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 1) << c.script;
        EXPECT_EQ(CountEffect(kSfxClapping), 0) << c.script;
    }
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
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
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
    for (int i = 0; i < 50; ++i)
        Step(won);
    EXPECT_TRUE(HudLineAt(won, 120.0f)) << "2 px per frame";
    for (int i = 0; i < 100; ++i)
        Step(won);
    EXPECT_TRUE(HudLineAt(won, 240.0f)) << "and no further";
}

} // namespace
} // namespace kel::test
