// The javelin driven by the runner's scripts and by placing the javelin by hand: the good throw,
// each foul, the stick rules (tumbling, lower tip), the attempts nobody finishes and a pinned
// world hash.
#include "events/javelin/javelin.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "base/helpers.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kel::test {
namespace {

class JavelinTest : public EventTest {
  protected:
    // Puts the javelin just above the ground at `angle`, falling gently, far from the thrower.
    static void DropJavelin(JavelinEvent& s, float x, float angle) {
        const float lift = 1.3f * std::fabs(std::sin(angle)) + 0.1f;
        s.javelin->SetTransform(b2Vec2(x, -lift), angle);
        s.javelin->SetLinearVelocity(b2Vec2(0.0f, 2.0f));
        s.javelin->SetAngularVelocity(0.0f);
    }
};

TEST_F(JavelinTest, WaitsOnTheRunwayUntilTheFirstGrab) {
    JavelinEvent s;
    for (int i = 0; i < 900; ++i)
        Step(s);
    EXPECT_NEAR(s.thrower->GetPosition().y, -1.0f, 0.02f);
    EXPECT_NEAR(s.javelin->GetPosition().y, -2.1f, 0.02f) << "lying across the thrower's top";
    EXPECT_NEAR(s.javelin->GetAngle(), 0.0f, 1e-3f);
    EXPECT_FALSE(s.ended) << "waiting before the first grab is the player's choice";
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
}

TEST_F(JavelinTest, AGoodThrowSticksBeyondTheMiddleMarkWithItsPinnedHash) {
    SeedRandom(1u);
    JavelinEvent s;
    const int finishedFrame = PlayFile(s, "javelin_good_run.txt");
    ASSERT_GE(finishedFrame, 0);
    EXPECT_FALSE(s.fault);
    ASSERT_NE(s.stickJoint, nullptr);
    EXPECT_GE(s.result, kEventTable[kEventJavelin].marks[1]);
    EXPECT_LT(s.result, 160.0f);
    EXPECT_EQ(s.result, s.distance);
    EXPECT_EQ(CountEffect(kSfxSpeared), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    ExpectMusicStartedAndStopped("Javelin.mp3");
    // The same as kelvaro-sim --scene 1 --input javelin_good_run.txt --after-finish 60 reports.
    EXPECT_EQ(WorldHashText(s.world), "ee9042725c9ceb5b");
}

TEST_F(JavelinTest, EachFoulScriptEndsInItsOwnFoul) {
    struct Case {
        const char* script;
        bool ghost;  // the stepping-over ghost
        bool impale; // the javelin welded to the thrower
        bool stuck;  // stuck, but at or behind the line
        bool skid;   // lying unstuck on the ground past the line
    };
    const Case cases[] = {
        {"javelin_step_over.txt", true, false, false, false},
        {"javelin_back_off_runway.txt", false, false, false, false},
        {"javelin_skid.txt", false, false, false, true},
        {"javelin_impale.txt", false, true, false, false},
        {"javelin_behind_line.txt", false, false, true, false},
    };
    for (const Case& c : cases) {
        sounds.clear();
        JavelinEvent s;
        ASSERT_GE(PlayFile(s, c.script), 0) << c.script;
        ExpectFoul(s, c.script);
        EXPECT_EQ(s.showFoulGhost, c.ghost) << c.script;
        EXPECT_EQ(s.impaleJoint != nullptr, c.impale) << c.script;
        EXPECT_EQ(CountEffect(kSfxImpale), c.impale ? 1 : 0) << c.script;
        if (c.stuck) {
            EXPECT_NE(s.stickJoint, nullptr) << c.script;
            EXPECT_LE(s.distance, 0.0f) << c.script;
        }
        if (c.skid) {
            EXPECT_EQ(s.stickJoint, nullptr) << c.script;
            EXPECT_GT(s.javelin->GetPosition().x, s.foulLineX) << c.script;
            EXPECT_GT(s.javelin->GetPosition().y, -1.0f) << c.script;
        }
    }
}

TEST_F(JavelinTest, TheLowerTipIsMeasuredWhicheverEndItIs) {
    // Nose down and tail down by the same slant put the lower tip at the same point.
    for (const float angle : {0.8f, 0.8f + kPi}) {
        JavelinEvent s;
        DropJavelin(s, 40.0f, angle);
        for (int i = 0; i < 30 && s.stickJoint == nullptr; ++i)
            Step(s);
        ASSERT_NE(s.stickJoint, nullptr) << angle;
        EXPECT_NEAR(s.distance, 40.0f + 1.3f * std::cos(0.8f) - 20.0f, 0.1f) << angle;
        EXPECT_FALSE(s.fouled);
    }
}

TEST_F(JavelinTest, ATumblingJavelinBouncesOnceInsteadOfSticking) {
    JavelinEvent calm;
    DropJavelin(calm, 40.0f, 0.8f);
    calm.airSpin = 6.99f;
    int touch = 0;
    while (calm.stickJoint == nullptr && touch < 30) {
        Step(calm);
        ++touch;
    }
    ASSERT_LT(touch, 30);

    JavelinEvent tumbling;
    DropJavelin(tumbling, 40.0f, 0.8f);
    tumbling.airSpin = 7.0f;
    for (int i = 0; i < touch; ++i)
        Step(tumbling);
    EXPECT_EQ(tumbling.stickJoint, nullptr);
    EXPECT_LT(std::fabs(tumbling.airSpin), 7.0f) << "the spin is taken again at the touch";
    for (int i = 0; i < 60 && tumbling.stickJoint == nullptr; ++i)
        Step(tumbling);
    EXPECT_NE(tumbling.stickJoint, nullptr) << "a later touch judges the slower spin";
}

TEST_F(JavelinTest, AThrowerSlidingOverTheLineAfterAValidStickKeepsTheResult) {
    JavelinEvent s;
    DropJavelin(s, 30.0f, 0.8f);
    for (int i = 0; i < 30 && s.stickJoint == nullptr; ++i)
        Step(s);
    ASSERT_NE(s.stickJoint, nullptr);
    s.thrower->SetTransform(b2Vec2(21.0f, -1.0f), 0.0f);
    for (int i = 0; i < 70; ++i)
        Step(s);
    EXPECT_TRUE(s.finished);
    EXPECT_FALSE(s.fault);
    EXPECT_FALSE(s.showFoulGhost);
    EXPECT_NEAR(s.result, 30.0f + 1.3f * std::cos(0.8f) - 20.0f, 0.1f);
}

TEST_F(JavelinTest, AnAttemptNobodyFinishesEndsAsAFoul) {
    // A grab and release leaves the javelin resting on the thrower, where it never lies low enough
    // to count as lying on the ground.
    JavelinEvent idle;
    MouseAt(PxX(idle, 6.0f), PxY(idle, -1.5f));
    Press();
    Step(idle);
    Release();
    int frames = 0;
    while (!idle.finished && frames < 2000) {
        Step(idle);
        ++frames;
    }
    EXPECT_TRUE(idle.fault);
    EXPECT_GT(frames, 600) << "ten seconds of stillness, then the usual 60 frames";
    EXPECT_LT(frames, 700);
    EXPECT_LT(idle.javelin->GetPosition().y, -1.5f);

    // A javelin beyond the ground's end would fall for ever.
    JavelinEvent lost;
    MouseAt(PxX(lost, 6.0f), PxY(lost, -1.5f));
    Press();
    Step(lost);
    Release();
    lost.javelin->SetTransform(b2Vec2(-21.0f, 1.0f), 0.0f);
    Step(lost);
    EXPECT_TRUE(lost.fouled);
}

TEST_F(JavelinTest, TheViewZoomsOutToTwoPixelsPerMetreAtMost) {
    JavelinEvent s;
    s.javelin->SetTransform(b2Vec2(60.0f, -400.0f), 0.0f);
    Step(s);
    EXPECT_EQ(s.zoom, 2.0f);
    EXPECT_EQ(s.cameraX, s.javelin->GetPosition().x - 7.0f);
    s.javelin->SetTransform(b2Vec2(60.0f, -18.0f), 0.0f);
    Step(s);
    EXPECT_NEAR(s.zoom, 24.0f, 0.01f) << "48 / (1 + 12/12)";
    EXPECT_NEAR(s.cameraY, -236.0f / s.zoom, 1e-4f);
}

} // namespace
} // namespace kel::test
