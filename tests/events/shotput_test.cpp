// The shot put with the shot placed by hand: the front line's boundary, and the mark that only a put
// shot moves.
#include "events/shotput/shotput.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class ShotPutTest : public EventTest {
  protected:
    // A click on the thrower's arms that starts the attempt without moving anything.
    static void GrabAndLetGo(ShotPutEvent& s) { ClickPx(s, 432, 560); }
};

TEST_F(ShotPutTest, AShotAtRestOnTheFrontLineIsAFoul) {
    for (const float x : {4.6f, 4.62f}) {
        ShotPutEvent s;
        GrabAndLetGo(s);
        s.ball->SetTransform(b2Vec2(x, -0.25f), 0.0f);
        s.ball->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        Steps(s, 10);
        ASSERT_EQ(s.phase, ShotPutEvent::kEnded) << x;
        EXPECT_EQ(s.fault, x <= 4.6f) << x;
        EXPECT_NEAR(s.result, x <= 4.6f ? 0.0f : 0.02f, 1e-4f) << x;
    }
}

TEST_F(ShotPutTest, OnlyAPutShotMovesTheMark) {
    ShotPutEvent s;
    s.ball->SetTransform(b2Vec2(-2.0f, -0.25f), 0.0f);
    Steps(s, 60);
    EXPECT_EQ(s.markX, 0.0f) << "a shot off the cradle before the attempt leaves no mark";
    EXPECT_EQ(s.phase, ShotPutEvent::kWaiting);
}

} // namespace
} // namespace kel::test
