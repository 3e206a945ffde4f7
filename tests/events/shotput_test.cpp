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
    int PlayFile(ShotPutEvent& s, const char* name) {
        const std::string text = EventScriptText(name);
        EXPECT_FALSE(text.empty()) << name;
        std::string error;
        EXPECT_TRUE(ParseInputScript(text, &script, &error)) << name << ": " << error;
        return PlayScript(s, script, 60);
    }

    // A click on the thrower's arms that starts the attempt without moving anything.
    static void GrabAndLetGo(ShotPutEvent& s) {
        MouseAt(432, 560);
        Press();
        Step(s);
        Release();
        Step(s);
    }

    InputScript script;
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

TEST_F(ShotPutTest, AGoodPutRestsPastTheMiddleMark) {
    ShotPutEvent s;
    ASSERT_GE(PlayFile(s, "shotput_good_run.txt"), 0);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(s.result, kEventTable[kEventShotPut].marks[1]);
    EXPECT_LT(s.result, 3.0f);
    EXPECT_FLOAT_EQ(s.result, s.markX - 4.6f);
    EXPECT_NEAR(s.ball->GetPosition().x, s.markX, 0.05f) << "the mark followed the rolling shot";
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "ShotPut.mp3");
    EXPECT_NE(FindCall(SoundCall::kStopMusic, -1, music), -1);
}

TEST_F(ShotPutTest, EachFoulScriptEndsInItsOwnFoul) {
    {
        ShotPutEvent s;
        ASSERT_GE(PlayFile(s, "shotput_over_the_front.txt"), 0);
        EXPECT_TRUE(s.fault);
        EXPECT_GT(s.thrower->GetPosition().x, 4.6f);
        EXPECT_NE(s.ball->GetPosition().y, -0.25f) << "the shot never landed";
        EXPECT_EQ(s.markX, 0.0f);
    }
    {
        ShotPutEvent s;
        ASSERT_GE(PlayFile(s, "shotput_behind_front.txt"), 0);
        EXPECT_TRUE(s.fault);
        EXPECT_LT(s.markX, 4.6f);
        EXPECT_NE(s.markX, 0.0f) << "the put shot moved the mark";
        EXPECT_NEAR(s.ball->GetPosition().y, -0.25f, 0.01f);
    }
    {
        ShotPutEvent s;
        const int finishedFrame = PlayFile(s, "shotput_no_throw.txt");
        EXPECT_TRUE(s.fault);
        EXPECT_EQ(finishedFrame, 10 + 1800 + 60) << "30 s from the grab, then the usual 60 frames";
    }
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 3);
    EXPECT_EQ(CountEffect(kSfxClapping), 0);
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

TEST_F(ShotPutTest, TheGoodPutReproducesItsWorldHash) {
    ShotPutEvent first;
    PlayFile(first, "shotput_good_run.txt");
    ShotPutEvent second;
    PlayFile(second, "shotput_good_run.txt");
    EXPECT_EQ(WorldHashText(second.world), WorldHashText(first.world));
    EXPECT_EQ(WorldHashText(first.world), "e6a4ccee4e41e545");
}

} // namespace
} // namespace kel::test
