// Kayak slalom: still water until the grab, the water's birth and recycling, the gates in order
// with their penalties, the penalty count and its skip, and the scripted run with a missed gate.
#include "events/kayak/kayak.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class KayakTest : public EventTest {
  protected:
    // Grabs the kayak's centre and lets go at once: the race is under way, the boat left to the water.
    static void Start(WhitewaterEvent& s) {
        Step(s);
        Click(s, s.kayak->GetPosition());
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
    static b2Vec2 Gate(const WhitewaterEvent& s, int k, float dx, float dy) {
        return 0.5f * (s.gatePoles[k][0]->GetPosition() + s.gatePoles[k][1]->GetPosition()) + b2Vec2(dx, dy);
    }
};

TEST_F(KayakTest, TheWaterFlowsOnlyAfterTheGrabAndNeverHoldsMoreThan170Balls) {
    WhitewaterEvent s;
    Steps(s, 90);
    EXPECT_TRUE(s.waterBalls.empty());
    Start(s);
    ASSERT_EQ(s.phase, WhitewaterEvent::kPaddling);
    const size_t early = s.waterBalls.size();
    Steps(s, 2);
    EXPECT_EQ(s.waterBalls.size(), early + 1) << "one ball every second frame";
    Steps(s, 400);
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
    Cross(s, Gate(s, 0, 0.1f, 0.0f), Gate(s, 0, -0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 0) << "upstream does not count";
    Cross(s, Gate(s, 0, -0.1f, 2.3f), Gate(s, 0, 0.1f, 2.3f));
    EXPECT_EQ(s.nextGate, 0) << "outside the poles does not count";
    Cross(s, Gate(s, 0, -0.1f, 2.0f), Gate(s, 0, 0.1f, 2.0f));
    EXPECT_EQ(s.nextGate, 1);
    EXPECT_EQ(s.penalty, 0);

    // Gate 3 passed while 1 and 2 are open: 20 s, and gate 4 is next.
    Cross(s, Gate(s, 3, -0.1f, 0.0f), Gate(s, 3, 0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 4);
    EXPECT_EQ(s.penalty, 20);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    Cross(s, Gate(s, 1, -0.1f, 0.0f), Gate(s, 1, 0.1f, 0.0f));
    EXPECT_EQ(s.nextGate, 4) << "a skipped gate cannot be made up";

    // Past x = 87 with gates 4..9 open: 60 s more, and the clock stops.
    const int frames = s.timer;
    Cross(s, b2Vec2(86.9f, 0.0f), b2Vec2(87.1f, 0.0f));
    ASSERT_EQ(s.phase, WhitewaterEvent::kPenalties);
    EXPECT_EQ(s.penalty, 80);
    EXPECT_EQ(s.result, static_cast<float>(frames + 2));
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 2);
}

TEST_F(KayakTest, ThePenaltyCountsASecondEveryTwoFramesAndAClickAddsTheRest) {
    for (const bool click : {false, true}) {
        SCOPED_TRACE(click);
        sounds.clear();
        WhitewaterEvent s;
        Start(s);
        Cross(s, b2Vec2(86.9f, 0.0f), b2Vec2(87.1f, 0.0f));
        ASSERT_EQ(s.penalty, 100);
        const float time = s.result;
        Steps(s, 30);
        EXPECT_EQ(s.penalty, 100) << "nothing is added in the first 30 frames";
        if (click) {
            Press();
            Step(s);
            EXPECT_EQ(s.penalty, 0);
            EXPECT_EQ(s.result, time + 6000.0f);
            EXPECT_EQ(s.phase, WhitewaterEvent::kDone);
            continue;
        }
        Steps(s, 20);
        EXPECT_EQ(s.penalty, 90);
        EXPECT_EQ(s.result, time + 600.0f);
        StepWhile(s, 200, [&] { return s.phase == WhitewaterEvent::kPenalties; });
        EXPECT_EQ(s.result, time + 6000.0f);
        EXPECT_EQ(CountEffect(kSfxBlip), 50) << "every second second blips";
        Steps(s, 60);
        EXPECT_TRUE(s.finished);
        EXPECT_FALSE(s.fault) << "the slalom has no disqualification";
    }
}

TEST_F(KayakTest, TheScriptedRunThatMissesAGateShowsTenSecondsAdded) {
    UseBlockFont();
    SeedRandom(1u);
    WhitewaterEvent s;
    bool shownPlusTen = false;
    float timeAtFinish = 0.0f;
    ASSERT_GE(PlayFile(s, "kayak_missed_gate.txt", 0,
                       [&](int) {
                           if (s.phase == WhitewaterEvent::kPenalties && s.timer == 0) {
                               timeAtFinish = s.result;
                               shownPlusTen = s.penalty == 10 && HudLineAt(s, 90.0f);
                           }
                       }),
              0);
    EXPECT_TRUE(shownPlusTen) << "+10 beside the time while the penalty waits";
    EXPECT_EQ(s.result, timeAtFinish + 600.0f);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
}

} // namespace
} // namespace kel::test
