// The hammer throw with the ball landed by hand: the sector and its lines, and the distance.
#include "events/hammer/hammer.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

using HammerTest = EventTest;

TEST_F(HammerTest, TheSectorIncludesItsLinesAndTheDistanceRunsAlongX) {
    const struct {
        float x, y;
        bool valid;
        float result;
    } cases[] = {
        {30.0f, 25.0f, true, 24.4f},
        {30.0f, -30.0f, true, 24.4f},
        {30.0f, 30.01f, false, 0.0f},
        {5.6f, 0.0f, true, 0.0f},
        {5.59f, 0.0f, false, 0.0f},
        {2.0f, 18.0f, false, 0.0f}, // beside the sector and past the cage line: one buzz only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        sounds.clear();
        HammerThrowEvent s;
        // The rope cut and the ball landing at (x, y) on the next frame.
        s.world->DestroyJoint(s.rope);
        s.rope = nullptr;
        s.phase = HammerThrowEvent::kFlight;
        s.phaseFrames = 0;
        s.flightFrames = 1;
        s.ball->SetTransform(b2Vec2(c.x, c.y), 0.0f);
        s.ball->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        Step(s);
        ASSERT_EQ(s.phase, HammerThrowEvent::kEnded);
        EXPECT_EQ(s.fault, !c.valid);
        EXPECT_NEAR(s.result, c.result, 1e-4f);
        Steps(s, 5);
        EXPECT_EQ(CountEffect(kSfxShortbuzz), c.valid ? 0 : 1);
        EXPECT_EQ(CountEffect(kSfxHammerimpact), 1);
    }
}

} // namespace
} // namespace kel::test
