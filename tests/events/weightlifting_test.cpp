// Weightlifting: the clock starts with the barbell and beeps each second, a held bar is never a
// lift, the jerk waits for the lifter to wake, and the kit wears the current competitor's colour.
#include "events/weightlifting/weightlifting.h"
#include "event_test_support.h"

#include "sim/scene_host.h"

namespace kel::test {
namespace {

class WeightliftingTest : public EventTest {
  protected:
    // Grabs the barbell at its origin; the clock starts in this frame.
    static void GrabBarbell(WeightliftingEvent& s) { Grab(s, s.barbell->GetPosition()); }
};

TEST_F(WeightliftingTest, TheBarbellStartsTheClockWhichBeepsEverySecond) {
    WeightliftingEvent s;
    Steps(s, 1200);
    EXPECT_EQ(s.phase, WeightliftingEvent::kWaiting) << "waiting for the barbell is the player's choice";
    GrabBarbell(s);
    ASSERT_EQ(s.phase, WeightliftingEvent::kLifting);
    EXPECT_EQ(s.liftFrames, 0) << "the clock's first frame is the one after the grab";
    Step(s);
    EXPECT_EQ(CountEffect(kSfxBeep), 1) << "beep on lift frame 0";
    Hold(s, 59);
    EXPECT_EQ(CountEffect(kSfxBeep), 1);
    Hold(s, 1);
    EXPECT_EQ(CountEffect(kSfxBeep), 2) << "and on lift frame 60";
}

TEST_F(WeightliftingTest, ABarHeldStillOverheadIsNoLiftUntilItIsLetGo) {
    WeightliftingEvent s;
    Steps(s, 60);
    GrabBarbell(s);
    ASSERT_NE(s.mouseJoint, nullptr);
    // Set the bar down on the lifter's head with the hand right at the grab point, so the band
    // pulls nothing: bar and lifter sit perfectly still while the bar is held.
    const float headY = s.lifter->GetPosition().y - 1.35f - 0.15f;
    s.barbell->SetTransform(b2Vec2(s.lifter->GetPosition().x, headY), 0.0f);
    s.barbell->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    MouseAt(PxX(s, s.barbell->GetPosition().x), PxY(s, headY));
    Hold(s, 600);
    EXPECT_EQ(s.phase, WeightliftingEvent::kLifting);
    EXPECT_NEAR(s.barbell->GetPosition().y, headY, 0.05f);
    EXPECT_LT(s.barbell->GetLinearVelocity().Length(), 0.01f);

    Release();
    const int frames = StepWhile(s, 200, [&] { return s.phase == WeightliftingEvent::kLifting; });
    ASSERT_EQ(s.phase, WeightliftingEvent::kEnded);
    EXPECT_FALSE(s.fault);
    EXPECT_GE(frames, 30) << "Box2D needs half a second of rest before both sleep";
    EXPECT_EQ(s.result, static_cast<float>(s.liftFrames));
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
}

TEST_F(WeightliftingTest, JerkStartsOnlyOnceTheLifterIsAwakeAfterThreeSeconds) {
    WeightliftingEvent s;
    Steps(s, 60);
    ASSERT_FALSE(s.lifter->IsAwake());
    GrabBarbell(s);
    Hold(s, 240);
    EXPECT_EQ(s.jerkFrames, 0) << "the lifter sleeps while the bar swings far from it";
    s.lifter->SetAwake(true);
    Step(s);
    EXPECT_EQ(s.jerkFrames, 1);
}

TEST_F(WeightliftingTest, TheKitWearsTheCurrentCompetitorsColour) {
    struct SlotHost : FakeHost {
        int CurrentCompetitorSlot() const override { return 1; }
    } host;
    SetSceneHost(&host);
    MarkSprites({201});
    WeightliftingEvent s;
    s.SetPlayer(&player);
    Step(s);
    Record(s);
    int found = 0;
    for (const RecordingGlBackend::Draw& d : gl.draws) {
        for (const Vertex& v : d.vertices) {
            if (v.u != 0.201f) continue;
            ++found;
            EXPECT_EQ(v.colour, PackColour(0, 255, 255, 255)) << "slot 1's cyan";
        }
    }
    EXPECT_GT(found, 0);
    SetSceneHost(nullptr);
}

} // namespace
} // namespace kel::test
