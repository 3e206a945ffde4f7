// Archery: the stack stands clear of the ground, only the next arrows may be grabbed, arrows
// stick only head-on and score by the tip's offset, and the clock with its beeps.
#include "events/archery/archery.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class ArcheryTest : public EventTest {
  protected:
    // Starts the clock with a click on the top arrow, then sends `arrow` flying from 2 m before
    // the board's centre at `angle`, level at 15 m/s, and lets it fly for half a second.
    static void Shoot(ArcheryEvent& s, b2Body* arrow, float angle) {
        if (s.phase == ArcheryEvent::kWaiting) Click(s, s.arrows[0]->GetPosition());
        const b2Vec2 centre = s.target->GetPosition();
        arrow->SetTransform(b2Vec2(centre.x - 2.0f, centre.y), angle);
        arrow->SetLinearVelocity(b2Vec2(15.0f, 0.0f));
        arrow->SetAngularVelocity(0.0f);
        Steps(s, 30);
    }
};

TEST_F(ArcheryTest, TheLowestArrowLiesOnTheGroundFromTheStart) {
    ArcheryEvent s;
    Step(s);
    EXPECT_NEAR(s.arrows[kArrowCount - 1]->GetPosition().y, -0.15f, 0.03f);
    EXPECT_LT(s.arrows[kArrowCount - 1]->GetLinearVelocity().Length(), 0.2f) << "not thrown out of it";
}

TEST_F(ArcheryTest, OnlyTheTopArrowsMayBeGrabbedAndTheBowTwangsAfterTheGrab) {
    ArcheryEvent s;
    Step(s);
    Click(s, s.archer->GetPosition());
    // Low on the second arrow, so the query box (with Box2D's 0.1 m margin) misses the first.
    Click(s, s.arrows[1]->GetPosition() + b2Vec2(0.0f, 0.15f));
    EXPECT_EQ(s.phase, ArcheryEvent::kWaiting) << "neither the archer nor the second arrow";

    Grab(s, s.arrows[0]->GetPosition());
    ASSERT_EQ(s.grabbedBody, s.arrows[0]);
    EXPECT_EQ(s.phase, ArcheryEvent::kShooting);
    Hold(s, 27);
    EXPECT_EQ(CountEffect(kSfxBow), 0);
    Hold(s, 1);
    EXPECT_EQ(CountEffect(kSfxBow), 1) << "28 frames after the grab frame";

    // Lift the top arrow clear of the stack: the next one becomes grabbable.
    MouseAt(PxX(s, 6.0f), PxY(s, -6.0f));
    Hold(s, 60);
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
        sounds.clear();
        ArcheryEvent s;
        Shoot(s, s.arrows[5], c.angle);
        EXPECT_EQ(s.arrows[5]->GetJointList() != nullptr, c.sticks) << c.angle;
        EXPECT_EQ(s.result > 0.0f, c.sticks) << c.angle;
        EXPECT_EQ(CountEffect(kSfxSpeared), c.sticks ? 1 : 0) << c.angle;
    }
}

TEST_F(ArcheryTest, AStuckArrowScoresOnceAndLetsTheNextOnePass) {
    ArcheryEvent s;
    Shoot(s, s.arrows[7], 0.0f);
    ASSERT_NE(s.arrows[7]->GetJointList(), nullptr) << "welded to the board";
    EXPECT_GE(s.lastPoints, 9) << "struck level with the centre";
    EXPECT_EQ(s.result, static_cast<float>(s.lastPoints));
    const b2Vec2 stuck = s.arrows[7]->GetPosition();
    const int first = s.lastPoints;

    // The next arrow on the same line passes through the stuck one and sticks as well.
    Shoot(s, s.arrows[8], 0.0f);
    EXPECT_NE(s.arrows[8]->GetJointList(), nullptr);
    EXPECT_EQ(s.result, static_cast<float>(first + s.lastPoints)) << "the first arrow is not counted again";
    EXPECT_NEAR((s.arrows[7]->GetPosition() - stuck).Length(), 0.0f, 1e-4f);
}

TEST_F(ArcheryTest, TheClockRunsSevenEighthsAndBeepsOncePerSecond) {
    ArcheryEvent s;
    const int finishedFrame = PlayFile(s, "archery_out_of_time.txt", 0);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.result, 0.0f);
    // The grab in frame 10 starts the clock; its 600 units take frames 10 to 694 (every 8th frame
    // of the game's counter stands still), and `finished` follows 60 frames later.
    EXPECT_EQ(finishedFrame, 694 + 60);
    EXPECT_EQ(CountEffect(kSfxBeep), 10) << "at 9:00, 8:00 ... 0:00, never twice on a standing clock";
    EXPECT_EQ(CountEffect(kSfxAww), 1);
}

} // namespace
} // namespace kel::test
