// The shot put driven by the runner's scripts and by placing the shot by hand: the cradle at rest,
// the good put, each foul, the front line's boundary, the mark that only a put shot moves, the
// waits that end an attempt and a pinned world hash.
#include "events/shotput/shotput.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kel::test {
namespace {

class ShotPutTest : public EventTest {
  protected:
    // A click on the thrower's arms that starts the attempt without moving anything.
    static void GrabAndLetGo(ShotPutEvent& s) {
        MouseAt(432, 560);
        Press();
        Step(s);
        Release();
        Step(s);
    }
};

TEST_F(ShotPutTest, TheShotRestsInTheCradleUntilTheFirstGrab) {
    ShotPutEvent s;
    for (int i = 0; i < 900; ++i)
        Step(s);
    EXPECT_NEAR(s.ball->GetPosition().x, 0.0f, 0.01f);
    EXPECT_NEAR(s.ball->GetPosition().y, -2.66f, 0.02f) << "on the trunk's top between the arms";
    EXPECT_NEAR(s.thrower->GetPosition().y, -1.2f, 0.02f);
    EXPECT_EQ(s.phase, ShotPutEvent::kWaiting) << "waiting before the first grab is the player's choice";
    EXPECT_EQ(s.markX, 0.0f);
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
}

TEST_F(ShotPutTest, AGoodPutRestsPastTheMiddleMarkWithItsPinnedHash) {
    ShotPutEvent s;
    ASSERT_GE(PlayFile(s, "shotput_good_run.txt"), 0);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(s.result, kEventTable[kEventShotPut].marks[1]);
    EXPECT_LT(s.result, 3.0f);
    EXPECT_FLOAT_EQ(s.result, s.markX - 4.6f);
    EXPECT_NEAR(s.ball->GetPosition().x, s.markX, 0.05f) << "the mark followed the rolling shot";
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    ExpectMusicStartedAndStopped("ShotPut.mp3");
    EXPECT_EQ(WorldHashText(s.world), "e6a4ccee4e41e545");
}

TEST_F(ShotPutTest, EachFoulScriptEndsInItsOwnFoul) {
    struct Case {
        const char* script;
        bool landed;       // the put shot lies on the ground and moved the mark
        int finishedFrame; // -1: whenever
    };
    const Case cases[] = {
        {"shotput_over_the_front.txt", false, -1}, // the thrower steps over first
        {"shotput_behind_front.txt", true, -1},
        {"shotput_no_throw.txt", false, 10 + 1800 + 60}, // 30 s from the grab, then 60 frames
    };
    for (const Case& c : cases) {
        sounds.clear();
        ShotPutEvent s;
        const int finishedFrame = PlayFile(s, c.script);
        ExpectFoul(s, c.script);
        if (c.finishedFrame >= 0) {
            EXPECT_EQ(finishedFrame, c.finishedFrame) << c.script;
        }
        if (c.landed) {
            EXPECT_LT(s.markX, 4.6f) << c.script;
            EXPECT_NE(s.markX, 0.0f) << c.script;
            EXPECT_NEAR(s.ball->GetPosition().y, -0.25f, 0.01f) << c.script;
        } else if (c.finishedFrame < 0) {
            EXPECT_GT(s.thrower->GetPosition().x, 4.6f) << c.script;
            EXPECT_NE(s.ball->GetPosition().y, -0.25f) << c.script << ": the shot never landed";
            EXPECT_EQ(s.markX, 0.0f) << c.script;
        }
    }
}

TEST_F(ShotPutTest, AShotAtRestOnTheFrontLineIsAFoul) {
    for (const float x : {4.6f, 4.62f}) {
        ShotPutEvent s;
        GrabAndLetGo(s);
        s.ball->SetTransform(b2Vec2(x, -0.25f), 0.0f);
        s.ball->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        for (int i = 0; i < 10; ++i)
            Step(s);
        ASSERT_EQ(s.phase, ShotPutEvent::kEnded) << x;
        EXPECT_EQ(s.fault, x <= 4.6f) << x;
        EXPECT_NEAR(s.result, x <= 4.6f ? 0.0f : 0.02f, 1e-4f) << x;
    }
}

TEST_F(ShotPutTest, OnlyAPutShotMovesTheMark) {
    ShotPutEvent s;
    s.ball->SetTransform(b2Vec2(-2.0f, -0.25f), 0.0f);
    for (int i = 0; i < 60; ++i)
        Step(s);
    EXPECT_EQ(s.markX, 0.0f) << "a shot off the cradle before the attempt leaves no mark";
    EXPECT_EQ(s.phase, ShotPutEvent::kWaiting);
}

TEST_F(ShotPutTest, AnAttemptLeftStillEndsAsAFoul) {
    ShotPutEvent s;
    GrabAndLetGo(s);
    ASSERT_EQ(s.phase, ShotPutEvent::kHolding);
    int frames = 0;
    while (!s.finished && frames < 2000) {
        Step(s);
        ++frames;
    }
    EXPECT_TRUE(s.fault);
    EXPECT_GT(frames, 600) << "ten seconds of stillness, then the usual 60 frames";
    EXPECT_LT(frames, 700);
}

} // namespace
} // namespace kel::test
