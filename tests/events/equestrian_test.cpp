// Show jumping driven with scripted mouse input: the horse and its tied rider, dropped blocks and
// their penalties, the budget that refills only on the ground, the ways a ride ends as DNQ, the
// runner's scripts and a pinned world hash.
#include "events/equestrian/equestrian.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "base/random.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class EquestrianTest : public EventTest {
  protected:
    // Grabs the horse where it stands and lets go: the ride is on, nobody holds the horse.
    void StartAndLetGo(EquestrianEvent& s) {
        const b2Vec2 p = s.horse->GetPosition();
        MouseAt(PxX(s, p.x), PxY(s, p.y));
        Press();
        Step(s);
        Release();
        Step(s);
    }
};

TEST_F(EquestrianTest, TheRiderIsTiedOnByTwoRopesAsLongAsTheBodiesAreApart) {
    EquestrianEvent s;
    int ropes = 0;
    for (b2Joint* j = s.world->GetJointList(); j != nullptr; j = j->GetNext()) {
        ASSERT_EQ(j->GetType(), e_distanceJoint);
        const auto* rope = static_cast<b2DistanceJoint*>(j);
        // The origins are 3.287 m apart; the anchors of the rein only 2.75 m.
        EXPECT_NEAR(rope->GetMaxLength(), 3.287f, 1e-4f);
        EXPECT_TRUE(rope->GetCollideConnected());
        ++ropes;
    }
    EXPECT_EQ(ropes, 2);
    EXPECT_NEAR(s.horse->GetLocalCenter().y, 1.0f, 0.01f) << "the keel a metre below the body";
    EXPECT_TRUE(s.IsTrackedBody(s.horse));
    EXPECT_FALSE(s.IsTrackedBody(s.rider));
    EXPECT_FALSE(s.IsTrackedBody(s.fenceBlocks[0][0]));
    EXPECT_EQ(FixtureTag(s.backStacks[1][2]->GetFixtureList()), kTagWood) << "back stacks knock like wood";
    for (int i = 0; i < 120; ++i)
        Step(s);
    EXPECT_NEAR(s.horse->GetPosition().y, -0.713f, 0.02f) << "the horse stands on the ground";
    EXPECT_NEAR(s.horse->GetAngle(), 0.0f, 0.02f);
    EXPECT_LT(s.rider->GetPosition().y, -1.5f) << "the rider sits on the horse";
    EXPECT_EQ(s.phase, EquestrianEvent::kWaiting);
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
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    // A top block put on the ground has dropped 1.2 m.
    s.fenceBlocks[4][2]->SetTransform(b2Vec2(80.0f, -0.3f), 0.0f);
    for (int i = 0; i < 10; ++i)
        Step(s);
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
    EXPECT_EQ(s.stallFrames, 1);
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
    MouseAt(20, 20);
    while (s.timer < 30) {
        Press();
        Step(s);
        Release();
        Step(s);
    }
    EXPECT_EQ(s.result, ride) << "clicks up to frame 30 change nothing";
    Press();
    Step(s);
    EXPECT_EQ(s.result, ride + 12.0f * 60.0f);
    EXPECT_EQ(s.penalty, 0);
    EXPECT_TRUE(s.finished);
}

TEST_F(EquestrianTest, ScriptedFoulsEndInDnq) {
    struct Case {
        const char* script;
        bool fault;
    };
    const Case cases[] = {
        {"equestrian_fall_dnq.txt", true},
        {"equestrian_stall_dnq.txt", true},
        {"equestrian_idle_dnq.txt", true},
    };
    for (const Case& c : cases) {
        sounds.clear();
        EquestrianEvent s;
        PlayFile(s, c.script, 30);
        EXPECT_TRUE(s.finished) << c.script;
        EXPECT_EQ(s.fault, c.fault) << c.script;
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 1) << c.script;
        EXPECT_EQ(CountEffect(kSfxClapping), 0) << c.script;
    }
}

TEST_F(EquestrianTest, ADroppedBlockShowsInTheResultOfARound) {
    EquestrianEvent s;
    PlayFile(s, "equestrian_knockdown.txt", 30);
    ASSERT_TRUE(s.finished);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.knockdowns, 1);
    EXPECT_EQ(s.result, static_cast<float>(s.raceFrames + 6 * 60)) << "counted on 60 frames a second";
    EXPECT_GT(CountEffect(kSfxBlip), 0);
}

TEST_F(EquestrianTest, TheClearRoundBeatsTheMiddleMark) {
    EquestrianEvent s;
    PlayFile(s, "equestrian_clear_round.txt", 30);
    ASSERT_TRUE(s.finished);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.knockdowns, 0);
    EXPECT_GT(s.result, 1000.0f);
    EXPECT_LE(s.result, kEventTable[kEventEquestrian].marks[1]);
    EXPECT_GE(AchievementLevel(kEventEquestrian, s.result, s.fault), 3);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "Equestrian.mp3");
    // Pinned: re-pin only for an intended change of the physics or the rules.
    EXPECT_EQ(s.result, 1629.0f);
    EXPECT_EQ(WorldHashText(s.world), "fadb49ae4d660597");
}

} // namespace
} // namespace kel::test
