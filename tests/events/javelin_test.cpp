// The javelin with the javelin placed by hand: the stick rules (lower tip, tumbling), a thrower
// over the line after a stick, the attempts nobody finishes and the zoom's limit.
#include "events/javelin/javelin.h"
#include "event_test_support.h"

#include "base/helpers.h"

namespace kel::test {
namespace {

class JavelinTest : public EventTest {
  protected:
    // Puts the javelin just above the ground at `angle`, falling gently, far from the thrower.
    static void DropJavelin(JavelinEvent& s, float x, float angle, float airSpin = 0.0f) {
        const float lift = 1.3f * std::fabs(std::sin(angle)) + 0.1f;
        s.javelin->SetTransform(b2Vec2(x, -lift), angle);
        s.javelin->SetLinearVelocity(b2Vec2(0.0f, 2.0f));
        s.javelin->SetAngularVelocity(0.0f);
        s.airSpin = airSpin;
    }
    // Steps until the javelin sticks (30 frames at most); returns the frames stepped.
    static int StepUntilStuck(JavelinEvent& s) {
        const int frames = StepWhile(s, 30, [&] { return s.stickJoint == nullptr; });
        return frames;
    }
};

TEST_F(JavelinTest, TheLowerTipIsMeasuredWhicheverEndItIs) {
    // Nose down and tail down by the same slant put the lower tip at the same point.
    for (const float angle : {0.8f, 0.8f + kPi}) {
        JavelinEvent s;
        DropJavelin(s, 40.0f, angle);
        StepUntilStuck(s);
        ASSERT_NE(s.stickJoint, nullptr) << angle;
        EXPECT_NEAR(s.distance, 40.0f + 1.3f * std::cos(0.8f) - 20.0f, 0.1f) << angle;
        EXPECT_FALSE(s.fouled);
    }
}

TEST_F(JavelinTest, ATumblingJavelinBouncesOnceInsteadOfSticking) {
    JavelinEvent calm;
    DropJavelin(calm, 40.0f, 0.8f, 6.99f);
    const int touch = StepUntilStuck(calm);
    ASSERT_LT(touch, 30);

    JavelinEvent tumbling;
    DropJavelin(tumbling, 40.0f, 0.8f, 7.0f);
    Steps(tumbling, touch);
    EXPECT_EQ(tumbling.stickJoint, nullptr);
    EXPECT_LT(std::fabs(tumbling.airSpin), 7.0f) << "the spin is taken again at the touch";
    StepWhile(tumbling, 60, [&] { return tumbling.stickJoint == nullptr; });
    EXPECT_NE(tumbling.stickJoint, nullptr) << "a later touch judges the slower spin";
}

TEST_F(JavelinTest, AThrowerSlidingOverTheLineAfterAValidStickKeepsTheResult) {
    JavelinEvent s;
    DropJavelin(s, 30.0f, 0.8f);
    StepUntilStuck(s);
    ASSERT_NE(s.stickJoint, nullptr);
    s.thrower->SetTransform(b2Vec2(21.0f, -1.0f), 0.0f);
    Steps(s, 70);
    EXPECT_TRUE(s.finished);
    EXPECT_FALSE(s.fault);
    EXPECT_NEAR(s.result, 30.0f + 1.3f * std::cos(0.8f) - 20.0f, 0.1f);
}

// Waiting before the first grab is the player's choice; a javelin beyond the ground's end would
// fall for ever.
TEST_F(JavelinTest, AnAttemptWaitsForTheGrabButNotForALostJavelin) {
    JavelinEvent waiting;
    Steps(waiting, 900);
    EXPECT_FALSE(waiting.ended);
    JavelinEvent lost;
    Click(lost, b2Vec2(6.0f, -1.5f));
    lost.javelin->SetTransform(b2Vec2(-21.0f, 1.0f), 0.0f);
    Step(lost);
    EXPECT_TRUE(lost.fouled);
}

TEST_F(JavelinTest, TheViewZoomsOutToTwoPixelsPerMetreAtMost) {
    JavelinEvent s;
    s.javelin->SetTransform(b2Vec2(60.0f, -400.0f), 0.0f);
    Step(s);
    EXPECT_EQ(s.zoom, 2.0f);
    s.javelin->SetTransform(b2Vec2(60.0f, -18.0f), 0.0f);
    Step(s);
    EXPECT_NEAR(s.zoom, 24.0f, 0.01f) << "48 / (1 + 12/12)";
}

} // namespace
} // namespace kel::test
