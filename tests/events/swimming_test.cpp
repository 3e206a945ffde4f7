// Swimming driven frame by frame: the pool of water balls, who may be grabbed, the dive, the
// lengths and turns with their budget, the scripted race, both ways to a DNQ, the HUD and a
// pinned world hash.
#include "events/swimming/swimming.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class SwimmingTest : public EventTest {
  protected:
    // A press and an immediate release on the body: the race clock starts and, on the release,
    // the swimming phase.
    void Tap(SwimmingEvent& s, const b2Body* body) {
        MouseAt(PxX(s, body->GetPosition().x), PxY(s, body->GetPosition().y));
        Press();
        Step(s);
        Release();
        Step(s);
    }

    // Plays a script kept beside the tests for up to `frames` frames, or until `finished`.
    void PlayKept(SwimmingEvent& s, const char* name, int frames) {
        std::string error;
        ASSERT_TRUE(ParseInputScript(EventScriptText(name), &script, &error)) << name << error;
        ScriptPlayer scripted(script);
        for (int frame = 0; frame < frames && !s.finished; ++frame) {
            scripted.Apply(frame);
            Step(s);
        }
    }

    InputScript script;
};

TEST_F(SwimmingTest, TheWaterSettlesInThePoolAndOnlyTheSwimmerAndOfficialsMayBeGrabbed) {
    SwimmingEvent s;
    ASSERT_EQ(s.waterBalls.size(), 204u);
    for (int i = 0; i < 180; ++i)
        Step(s);
    for (const b2Body* ball : s.waterBalls) {
        const b2Vec2 p = ball->GetPosition();
        ASSERT_GT(p.x, -13.0f);
        ASSERT_LT(p.x, 13.0f);
        ASSERT_GT(p.y, -3.0f) << "the water stays below the deck tops";
        ASSERT_LT(p.y, 0.0f);
    }
    EXPECT_NEAR(s.swimmer->GetPosition().y, -4.2f, 0.05f) << "standing on the block";
    EXPECT_TRUE(sounds.empty()) << "no contact in the pool makes a sound";

    MouseAt(PxX(s, s.waterBalls[100]->GetPosition().x), PxY(s, s.waterBalls[100]->GetPosition().y));
    Press();
    Step(s);
    EXPECT_EQ(s.mouseJoint, nullptr);
    Release();
    Step(s);
    EXPECT_EQ(s.phase, SwimmingEvent::kOnBlock);

    // An official on the deck starts the race as well as the swimmer does.
    Tap(s, s.officialRight);
    EXPECT_EQ(s.phase, SwimmingEvent::kSwimming);
    EXPECT_TRUE(s.shoulder->IsMotorEnabled());
    EXPECT_EQ(s.raceFrames, 1) << "the clock ran in the frame the grab ended";
    EXPECT_EQ(CountEffect(kSfxWhistlelong), 1);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "Swimming.mp3");
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
    EXPECT_TRUE(s.turnSignal);
    EXPECT_EQ(CountEffect(kSfxWhistlelong), 2);

    // With the button up the budget comes back one frame in fifteen.
    s.grabBudget = 0;
    int refills = 0;
    for (int i = 0; i < 60; ++i) {
        const int before = s.grabBudget;
        Step(s);
        refills += s.grabBudget - before;
    }
    EXPECT_EQ(refills, 4);
}

TEST_F(SwimmingTest, TheScriptedRaceBeatsTheMiddleMark) {
    SwimmingEvent s;
    PlayKept(s, "swimming_good_run.txt", 3600);
    ASSERT_TRUE(s.finished);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.lengths, 4);
    EXPECT_LE(s.result, kEventTable[kEventSwimming].marks[1]);
    EXPECT_GE(AchievementLevel(kEventSwimming, s.result, s.fault), 3);
    EXPECT_EQ(CountEffect(kSfxWhistlelong), 5) << "the start and four walls";
    EXPECT_GT(CountEffect(kSfxSplash), 10);
    EXPECT_EQ(s.result, 1158.0f);
    EXPECT_EQ(WorldHashText(s.world), "f32621509a4d1ba2");
}

TEST_F(SwimmingTest, FiveSecondsOutOfThePoolOrTwoMinutesInItAreADnq) {
    struct Case {
        const char* script;
        int decidedFrame;
    };
    const Case cases[] = {
        {"swimming_out_of_pool.txt", 302}, // left on the block: 300 frames outside
        {"swimming_time_limit.txt", 7201}, // turning about in the pool: 7200 frames of racing
    };
    for (const Case& c : cases) {
        SwimmingEvent s;
        int decided = -1;
        std::string error;
        ASSERT_TRUE(ParseInputScript(EventScriptText(c.script), &script, &error)) << error;
        ScriptPlayer scripted(script);
        for (int frame = 0; frame < 8000 && !s.finished; ++frame) {
            scripted.Apply(frame);
            Step(s);
            if (decided < 0 && s.phase == SwimmingEvent::kDone) decided = frame;
        }
        EXPECT_EQ(decided, c.decidedFrame) << c.script;
        EXPECT_TRUE(s.finished) << c.script;
        EXPECT_TRUE(s.fault) << c.script;
        EXPECT_EQ(s.result, 0.0f) << c.script;
        EXPECT_LT(s.lengths, 4) << c.script;
        EXPECT_NE(FindCall(SoundCall::kStopMusic), -1) << c.script;
    }
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
