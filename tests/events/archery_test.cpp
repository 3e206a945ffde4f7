// Archery driven frame by frame: the stack stands clear of the ground, only the next arrows may
// be grabbed, arrows stick only head-on and score by the tip's offset, the clock and its beeps,
// the good round, the round that runs out of time and the archer knocked over from their runner
// scripts, and a pinned world hash.
#include "events/archery/archery.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class ArcheryTest : public EventTest {
  protected:
    // A click on a world point: pressed in one frame, released in the next.
    void Click(ArcheryEvent& s, b2Vec2 at) {
        MouseAt(PxX(s, at.x), PxY(s, at.y));
        Press();
        Step(s);
        Release();
        Step(s);
    }

    // Starts the clock with a click on the top arrow, then sends `arrow` flying from 2 m before
    // the board's centre at `angle`, level at 15 m/s, and lets it fly for half a second.
    void Shoot(ArcheryEvent& s, b2Body* arrow, float angle) {
        if (s.phase == ArcheryEvent::kWaiting) Click(s, s.arrows[0]->GetPosition());
        const b2Vec2 centre = s.target->GetPosition();
        arrow->SetTransform(b2Vec2(centre.x - 2.0f, centre.y), angle);
        arrow->SetLinearVelocity(b2Vec2(15.0f, 0.0f));
        arrow->SetAngularVelocity(0.0f);
        for (int i = 0; i < 30; ++i)
            Step(s);
    }
};

TEST_F(ArcheryTest, TheStackStandsClearOfTheGroundAndTheClockWaits) {
    ArcheryEvent s;
    Step(s);
    // The lowest arrow lies on the ground from the start instead of being thrown out of it.
    EXPECT_NEAR(s.arrows[kArrowCount - 1]->GetPosition().y, -0.15f, 0.03f);
    EXPECT_LT(s.arrows[kArrowCount - 1]->GetLinearVelocity().Length(), 0.2f);
    for (int i = 0; i < 300; ++i)
        Step(s);
    for (b2Body* arrow : s.arrows) {
        EXPECT_GT(arrow->GetPosition().x, 2.3f);
        EXPECT_LT(arrow->GetPosition().x, 2.95f);
        EXPECT_NEAR(arrow->GetAngle(), 0.0f, 0.01f);
    }
    EXPECT_LT(s.arrows[0]->GetPosition().y, s.arrows[1]->GetPosition().y) << "index 0 is the top";
    EXPECT_EQ(s.phase, ArcheryEvent::kWaiting);
    EXPECT_EQ(s.clock, 600);
}

TEST_F(ArcheryTest, OnlyTheTopArrowsMayBeGrabbedAndTheBowTwangsAfterTheGrab) {
    ArcheryEvent s;
    Step(s);
    Click(s, s.archer->GetPosition());
    // Low on the second arrow, so the query box (with Box2D's 0.1 m margin) misses the first.
    Click(s, s.arrows[1]->GetPosition() + b2Vec2(0.0f, 0.15f));
    EXPECT_EQ(s.phase, ArcheryEvent::kWaiting) << "neither the archer nor the second arrow";
    EXPECT_EQ(CountEffect(kSfxTap2), 0);

    MouseAt(PxX(s, s.arrows[0]->GetPosition().x), PxY(s, s.arrows[0]->GetPosition().y - 1.0f));
    Press();
    MouseAt(PxX(s, s.arrows[0]->GetPosition().x), PxY(s, s.arrows[0]->GetPosition().y));
    Step(s);
    ASSERT_EQ(s.grabbedBody, s.arrows[0]);
    EXPECT_EQ(s.phase, ArcheryEvent::kShooting);
    EXPECT_NE(FindCall(SoundCall::kMusic), -1);
    for (int i = 1; i < 28; ++i) {
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_EQ(CountEffect(kSfxBow), 0);
    gApp.mouseHeld = 1;
    Step(s);
    EXPECT_EQ(CountEffect(kSfxBow), 1) << "28 frames after the grab frame";
    EXPECT_EQ(LastEffect(kSfxBow)->pan, -80);

    // Lift the top arrow clear of the stack: the next one becomes grabbable.
    MouseAt(PxX(s, 6.0f), PxY(s, -6.0f));
    for (int i = 0; i < 60; ++i) {
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_EQ(s.nextArrow, 1);
}

TEST_F(ArcheryTest, PointsFallWithTheTipsOffsetFromTheCentre) {
    const struct {
        float offset;
        int points;
    } cases[] = {{0.0f, 10}, {0.12f, 10}, {0.13f, 9}, {-0.13f, 9},
                 {1.0f, 6},  {1.92f, 2},  {1.93f, 1}, {5.0f, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(ArrowPoints(c.offset), c.points) << c.offset;
}

TEST_F(ArcheryTest, OnlyAnArrowWithin60DegreesOfHeadOnSticks) {
    const struct {
        float angle; // radians; the board's normal is at -0.314
        bool sticks;
    } cases[] = {{0.0f, true}, {0.6f, true}, {-0.9f, true}, {1.5707963f, false}, {3.1415927f, false}};
    for (const auto& c : cases) {
        ArcheryEvent s;
        Shoot(s, s.arrows[5], c.angle);
        EXPECT_EQ(s.arrows[5]->GetJointList() != nullptr, c.sticks) << c.angle;
        EXPECT_EQ(s.result > 0.0f, c.sticks) << c.angle;
        EXPECT_EQ(CountEffect(kSfxSpeared), c.sticks ? 1 : 0) << c.angle;
        sounds.clear();
    }
}

TEST_F(ArcheryTest, AStuckArrowScoresOnceAndLetsTheNextOnePass) {
    ArcheryEvent s;
    Shoot(s, s.arrows[7], 0.0f);
    ASSERT_NE(s.arrows[7]->GetJointList(), nullptr) << "welded to the board";
    EXPECT_EQ(s.arrows[7]->GetFixtureList()->GetFilterData().maskBits, 0);
    EXPECT_GE(s.lastPoints, 9) << "struck level with the centre";
    EXPECT_EQ(s.result, static_cast<float>(s.lastPoints));
    const b2Vec2 stuck = s.arrows[7]->GetPosition();
    const int first = s.lastPoints;

    // The next arrow on the same line passes through the stuck one and sticks as well.
    Shoot(s, s.arrows[8], 0.0f);
    EXPECT_NE(s.arrows[8]->GetJointList(), nullptr);
    EXPECT_EQ(CountEffect(kSfxSpeared), 2);
    EXPECT_EQ(s.result, static_cast<float>(first + s.lastPoints)) << "the first arrow is not counted again";
    EXPECT_NEAR(s.arrows[7]->GetPosition().x, stuck.x, 1e-4f);
    EXPECT_NEAR(s.arrows[7]->GetPosition().y, stuck.y, 1e-4f);
}

TEST_F(ArcheryTest, TheClockRunsSevenEighthsAndBeepsOncePerSecond) {
    ArcheryEvent s;
    const int finishedFrame = PlayFile(s, "archery_out_of_time.txt", 0);
    ASSERT_GE(finishedFrame, 0);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.result, 0.0f);
    EXPECT_EQ(s.clock, 0);
    // The grab in frame 10 starts the clock; its 600 units take frames 10 to 694 (every 8th frame
    // of the game's counter stands still), and `finished` follows 60 frames later.
    EXPECT_EQ(finishedFrame, 694 + 60);
    EXPECT_EQ(CountEffect(kSfxBeep), 10) << "at 9:00, 8:00 ... 0:00, never twice on a standing clock";
    EXPECT_EQ(CountEffect(kSfxAww), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 0);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
}

TEST_F(ArcheryTest, KnockingTheArcherOverIsDnq) {
    ArcheryEvent s;
    UseBlockFont();
    const int finishedFrame = PlayFile(s, "archery_archer_knocked_over.txt", 0);
    ASSERT_GE(finishedFrame, 0);
    ExpectFoul(s, "knocked over");
    EXPECT_EQ(CountEffect(kSfxAww), 0);
    EXPECT_GT(s.clock, 0);
    EXPECT_TRUE(HudLineAt(s, 240.0f)) << "DNQ";
    EXPECT_FALSE(HudLineAt(s, 40.0f, 8.0f)) << "no score";
}

TEST_F(ArcheryTest, TheGoodRoundScriptBeatsTheMiddleMark) {
    ArcheryEvent s;
    const int finishedFrame = PlayFile(s, "archery_good_round.txt", 60);
    ASSERT_GE(finishedFrame, 0);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(s.result, 65.0f);
    EXPECT_LE(s.result, 100.0f);
    EXPECT_GE(AchievementLevel(kEventArchery, s.result, s.fault), 3);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(WorldHashText(s.world), "8c5408c2605352e6") << "pinned: change only on purpose";
}

} // namespace
} // namespace kel::test
