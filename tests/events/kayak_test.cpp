// Kayak slalom driven frame by frame: still water until the grab, the water's birth and
// recycling, the gates in order with their penalties, the penalty count and its skip, the
// scripted clean run and the run with a missed gate, and a pinned world hash.
#include "events/kayak/kayak.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class KayakTest : public EventTest {
  protected:
    // Grabs the kayak's centre and lets go at once: the race is under way, the boat left to the water.
    void Start(WhitewaterEvent& s) {
        Step(s);
        MouseAt(PxX(s, s.kayak->GetPosition().x), PxY(s, s.kayak->GetPosition().y));
        Press();
        Step(s);
        Release();
        Step(s);
    }

    // Carries the kayak's centre (and its paddle) from `from` to `to` over two frames, standing
    // still; the jump to `from` crosses no gate line.
    static void Cross(WhitewaterEvent& s, b2Vec2 from, b2Vec2 to) {
        s.prevX = from.x;
        for (const b2Vec2& p : {from, to}) {
            s.kayak->SetTransform(p, 0.0f);
            s.kayak->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            s.paddle->SetTransform(p + b2Vec2(0.3f, 0.0f), 0.0f);
            s.paddle->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            Step(s);
        }
    }

    static b2Vec2 GateCentre(const WhitewaterEvent& s, int k) {
        return 0.5f * (s.gatePoles[k][0]->GetPosition() + s.gatePoles[k][1]->GetPosition());
    }

    int PlayKept(WhitewaterEvent& s, const char* name) {
        const std::string text = EventScriptText(name);
        EXPECT_FALSE(text.empty()) << name;
        std::string error;
        EXPECT_TRUE(ParseInputScript(text, &script, &error)) << error;
        return PlayScript(s, script, 60);
    }

    InputScript script;
};

TEST_F(KayakTest, TheWaterFlowsOnlyAfterTheGrabAndNeverHoldsMoreThan170Balls) {
    SeedRandom(1u);
    WhitewaterEvent s;
    for (int i = 0; i < 90; ++i)
        Step(s);
    EXPECT_TRUE(s.waterBalls.empty());
    EXPECT_NEAR(s.kayak->GetPosition().x, 2.1f, 1e-4f) << "the kayak lies still";
    EXPECT_EQ(s.phase, WhitewaterEvent::kWaiting);

    // The gates: poles 4.35 m apart, alternately above and below the middle, 62/9 m apart plus a stagger.
    EXPECT_NEAR(GateCentre(s, 0).x, 15.0f, 1e-4f);
    EXPECT_NEAR(GateCentre(s, 0).y, -3.0f, 1e-4f);
    EXPECT_NEAR(GateCentre(s, 5).y, 3.0f, 1e-4f);
    EXPECT_NEAR(GateCentre(s, 9).x, 15.0f + 9.0f * 62.0f / 9.0f, 1e-3f);
    EXPECT_NEAR(GateCentre(s, 5).x, 15.0f + 5.0f * 62.0f / 9.0f + 1.52f, 1e-3f);
    EXPECT_NEAR(s.gatePoles[3][1]->GetPosition().y - s.gatePoles[3][0]->GetPosition().y, 4.35f, 1e-4f);

    Start(s);
    ASSERT_EQ(s.phase, WhitewaterEvent::kPaddling);
    ASSERT_NE(FindCall(SoundCall::kMusic), -1);
    const size_t early = s.waterBalls.size();
    EXPECT_GE(early, 1u);
    EXPECT_LE(early, 2u);
    Step(s);
    Step(s);
    EXPECT_EQ(s.waterBalls.size(), early + 1) << "one ball every second frame";
    for (int i = 0; i < 400; ++i)
        Step(s);
    EXPECT_EQ(s.waterBalls.size(), 170u);
    EXPECT_GT(s.kayak->GetPosition().x, 4.0f) << "the current carries the kayak";

    // A ball past the view is sent 26 m back upstream at 5 m/s.
    b2Body* ball = s.waterBalls[7];
    const float lastX = std::min(91.7f, s.cameraX + 13.0f);
    ball->SetTransform(b2Vec2(lastX + 0.5f, 0.0f), 0.0f);
    Step(s);
    EXPECT_LT(ball->GetPosition().x, lastX - 20.0f);
    EXPECT_NEAR(ball->GetLinearVelocity().x, 5.0f, 0.3f);
}

TEST_F(KayakTest, GatesCountInOrderDownstreamBetweenThePoles) {
    WhitewaterEvent s;
    Start(s);
    const b2Vec2 g0 = GateCentre(s, 0);
    Cross(s, g0 + b2Vec2(0.1f, 0.0f), g0 + b2Vec2(-0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 0) << "upstream does not count";
    Cross(s, g0 + b2Vec2(-0.1f, 2.3f), g0 + b2Vec2(0.1f, 2.3f));
    EXPECT_EQ(s.nextGate, 0) << "outside the poles does not count";
    Cross(s, g0 + b2Vec2(-0.1f, 2.0f), g0 + b2Vec2(0.1f, 2.0f));
    EXPECT_EQ(s.nextGate, 1);
    EXPECT_EQ(s.penalty, 0);

    // Gate 3 passed while 1 and 2 are open: 20 s, and gate 4 is next.
    const b2Vec2 g3 = GateCentre(s, 3);
    Cross(s, g3 + b2Vec2(-0.1f, 0.0f), g3 + b2Vec2(0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 4);
    EXPECT_EQ(s.penalty, 20);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    const b2Vec2 g1 = GateCentre(s, 1);
    Cross(s, g1 + b2Vec2(-0.1f, 0.0f), g1 + b2Vec2(0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 4) << "a skipped gate cannot be made up";

    // Past x = 87 with gates 4..9 open: 60 s more, and the clock stops.
    const int frames = s.timer;
    Cross(s, b2Vec2(86.9f, 0.0f), b2Vec2(87.1f, 0.0f));
    ASSERT_EQ(s.phase, WhitewaterEvent::kPenalties);
    EXPECT_EQ(s.penalty, 80);
    EXPECT_EQ(s.result, static_cast<float>(frames + 2));
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 2);
    EXPECT_EQ(CountEffect(kSfxClapping), 0);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
}

TEST_F(KayakTest, ThePenaltyCountsASecondEveryTwoFramesAndAClickAddsTheRest) {
    for (const bool click : {false, true}) {
        WhitewaterEvent s;
        Start(s);
        Cross(s, b2Vec2(86.9f, 0.0f), b2Vec2(87.1f, 0.0f));
        ASSERT_EQ(s.penalty, 100);
        const float time = s.result;
        for (int i = 0; i < 30; ++i)
            Step(s);
        EXPECT_EQ(s.penalty, 100) << "nothing is added in the first 30 frames";
        if (click) {
            Press();
            Step(s);
            EXPECT_EQ(s.penalty, 0);
            EXPECT_EQ(s.result, time + 6000.0f);
            EXPECT_EQ(s.phase, WhitewaterEvent::kDone);
            continue;
        }
        for (int i = 0; i < 20; ++i)
            Step(s);
        EXPECT_EQ(s.penalty, 90);
        EXPECT_EQ(s.result, time + 600.0f);
        for (int i = 0; i < 200 && s.phase == WhitewaterEvent::kPenalties; ++i)
            Step(s);
        EXPECT_EQ(s.result, time + 6000.0f);
        EXPECT_EQ(CountEffect(kSfxBlip), 50) << "every second second blips";
        for (int i = 0; i < 60; ++i)
            Step(s);
        EXPECT_TRUE(s.finished);
        EXPECT_FALSE(s.fault) << "the slalom has no disqualification";
    }
}

TEST_F(KayakTest, TheScriptedCleanRunBeatsTheMiddleMark) {
    SeedRandom(1u);
    WhitewaterEvent s;
    const int finishedFrame = PlayKept(s, "kayak_good_run.txt");
    ASSERT_NE(finishedFrame, -1);
    EXPECT_EQ(s.nextGate, 10);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_LE(s.result, kEventTable[kEventKayak].marks[1]);
    EXPECT_GE(AchievementLevel(kEventKayak, s.result, s.fault), 3);
    EXPECT_EQ(s.result, 930.0f);
    EXPECT_EQ(WorldHashText(s.world), "b88227d714d5bdd1");
}

TEST_F(KayakTest, TheScriptedRunThatMissesAGateShowsTenSecondsAdded) {
    UseBlockFont();
    SeedRandom(1u);
    WhitewaterEvent s;
    std::string error;
    ASSERT_TRUE(ParseInputScript(EventScriptText("kayak_missed_gate.txt"), &script, &error)) << error;
    ScriptPlayer player(script);
    bool shownPlusTen = false;
    float timeAtFinish = 0.0f;
    for (int frame = 0; frame < 3600 && !s.finished; ++frame) {
        player.Apply(frame);
        Step(s);
        if (s.phase == WhitewaterEvent::kPenalties && s.timer == 0) {
            timeAtFinish = s.result;
            shownPlusTen = s.penalty == 10 && HudLineAt(s, 90.0f);
        }
    }
    ASSERT_TRUE(s.finished);
    EXPECT_TRUE(shownPlusTen) << "+10 beside the time while the penalty waits";
    EXPECT_EQ(s.result, timeAtFinish + 600.0f);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    EXPECT_GE(AchievementLevel(kEventKayak, s.result, s.fault), 1);
}

} // namespace
} // namespace kel::test
