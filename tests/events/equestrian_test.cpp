// Show jumping: the horse and its tied rider, dropped blocks and their penalties, the budget
// that refills only on the ground, and the penalty count a click skips.
#include "events/equestrian/equestrian.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class EquestrianTest : public EventTest {
  protected:
    // Grabs the horse where it stands and lets go: the ride is on, nobody holds the horse.
    static void StartAndLetGo(EquestrianEvent& s) { Click(s, s.horse->GetPosition()); }
};

TEST_F(EquestrianTest, TheRiderSitsTiedOnTheStandingHorse) {
    EquestrianEvent s;
    Steps(s, 120);
    EXPECT_NEAR(s.horse->GetPosition().y, -0.713f, 0.02f) << "the horse stands on the ground";
    EXPECT_NEAR(s.horse->GetAngle(), 0.0f, 0.02f);
    EXPECT_LT(s.rider->GetPosition().y, -1.5f) << "the rider sits on the horse";
    EXPECT_FALSE(s.finished) << "waiting for the first grab is the player's choice";
}

TEST_F(EquestrianTest, OnlyDroppedFrontBlocksCostSixSecondsEach) {
    EquestrianEvent s;
    StartAndLetGo(s);
    // Fence 3 pushed 10 cm sideways as a whole: no block has dropped.
    for (b2Body* block : s.fenceBlocks[3])
        block->SetTransform(block->GetPosition() + b2Vec2(0.1f, 0.0f), 0.0f);
    // A back stack's top block put on the ground costs nothing either.
    s.backStacks[0][2]->SetTransform(b2Vec2(60.0f, -0.3f), 0.0f);
    Step(s);
    EXPECT_EQ(s.knockdowns, 0);
    // A top block put on the ground has dropped 1.2 m.
    s.fenceBlocks[4][2]->SetTransform(b2Vec2(80.0f, -0.3f), 0.0f);
    Steps(s, 10);
    EXPECT_EQ(s.knockdowns, 1);
    EXPECT_EQ(s.penalty, 6);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1) << "once per block";
}

TEST_F(EquestrianTest, TheBudgetRefillsOnlyOnTheGroundWithTheButtonUp) {
    EquestrianEvent s;
    StartAndLetGo(s);
    s.grabBudget = 10;
    Step(s);
    EXPECT_EQ(s.grabBudget, 12);
    s.horse->SetTransform(b2Vec2(8.0f, -4.0f), 0.0f); // high in a jump
    Step(s);
    EXPECT_EQ(s.grabBudget, 12);
}

TEST_F(EquestrianTest, AClickAfterHalfASecondAddsThePenaltyAtOnce) {
    EquestrianEvent s;
    StartAndLetGo(s);
    s.fenceBlocks[1][2]->SetTransform(b2Vec2(30.0f, -0.3f), 0.0f);
    s.fenceBlocks[2][2]->SetTransform(b2Vec2(40.0f, -0.3f), 0.0f);
    Step(s);
    ASSERT_EQ(s.penalty, 12);
    // The rider comes along, or the ropes would pull the horse back.
    s.horse->SetTransform(b2Vec2(161.5f, -0.713f), 0.0f);
    s.rider->SetTransform(b2Vec2(161.5f, -3.0f), 0.0f);
    Step(s);
    ASSERT_EQ(s.phase, EquestrianEvent::kPenalties);
    const float ride = s.result;
    EXPECT_EQ(ride, static_cast<float>(s.raceFrames));
    while (s.timer < 30)
        ClickPx(s, 20, 20);
    EXPECT_EQ(s.result, ride) << "clicks up to frame 30 change nothing";
    Press();
    Step(s);
    EXPECT_EQ(s.result, ride + 12.0f * 60.0f);
    EXPECT_TRUE(s.finished);
}

TEST_F(EquestrianTest, ADroppedBlockShowsInTheResultOfARound) {
    EquestrianEvent s;
    ASSERT_GE(PlayFile(s, "equestrian_knockdown.txt", 30), 0);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.knockdowns, 1);
    EXPECT_EQ(s.result, static_cast<float>(s.raceFrames + 6 * 60)) << "counted on 60 frames a second";
}

} // namespace
} // namespace kel::test
