// The racewalk: the fixed gun, the lean limit at 63 degrees and the lost walker.
#include "events/racewalk/racewalk.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class WalkTest : public EventTest {
  protected:
    static void StartRace(WalkEvent& s) {
        ClickPx(s);
        StepWhile(s, 200, [&] { return s.phase == WalkEvent::kReady; });
        ASSERT_EQ(s.phase, WalkEvent::kWalking);
    }
};

TEST_F(WalkTest, TheGunFiresExactlyOneHundredTwentyFramesAfterTheClick) {
    WalkEvent leaning;
    ClickPx(leaning);
    leaning.walker->SetTransform(leaning.walker->GetPosition(), 1.3f);
    Step(leaning);
    EXPECT_EQ(leaning.phase, WalkEvent::kReady) << "leaning is not judged before the gun";

    WalkEvent s;
    MouseAt(900, 100);
    Press();
    Step(s);
    Release();
    for (int frame = 1; frame < 120; ++frame) {
        Step(s);
        ASSERT_EQ(s.phase, WalkEvent::kReady) << "frame " << frame;
    }
    Step(s);
    EXPECT_EQ(s.phase, WalkEvent::kWalking);
    EXPECT_EQ(CountEffect(kSfxGunshot), 1);
}

TEST_F(WalkTest, LeaningSixtyThreeDegreesEitherWayDisqualifies) {
    // 63 degrees is 1.0995574 rad; a walker turned a full circle is upright again.
    const struct {
        float angle;
        bool disqualified;
    } cases[] = {{1.0990f, false}, {1.1000f, true}, {-1.0990f, false}, {-1.1000f, true}, {6.2832f, false}};
    for (const auto& c : cases) {
        WalkEvent s;
        StartRace(s);
        s.walker->SetTransform(b2Vec2(10.0f, -40.0f), c.angle); // clear of the ground
        s.walker->SetAngularVelocity(0.0f);
        s.world->SetGravity(b2Vec2(0.0f, 0.0f)); // hold the pose for the one frame judged
        Step(s);
        EXPECT_EQ(s.phase == WalkEvent::kDisqualified, c.disqualified) << "angle " << c.angle;
        EXPECT_EQ(s.fault, c.disqualified) << "angle " << c.angle;
    }
}

TEST_F(WalkTest, AWalkerDraggedOffTheLeftEndIsLostNotLeftFalling) {
    WalkEvent s;
    StartRace(s);
    // Past the ground's left end at x = -20 but short of the backward limit at -30.
    s.walker->SetTransform(b2Vec2(-21.0f, -1.0f), 0.0f);
    const int frames = StepWhile(s, 600, [&] { return s.phase == WalkEvent::kWalking; });
    ASSERT_EQ(s.phase, WalkEvent::kDisqualified);
    EXPECT_GT(s.walker->GetPosition().y, 5.0f) << "he fell below the ground's underside";
    EXPECT_LT(frames, 120);
}

} // namespace
} // namespace kel::test
