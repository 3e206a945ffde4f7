// The pole vault with the bodies set by hand: the rope and the pole, the idle cap on a sliding
// vaulter, the measuring plane's rules and a vaulter resting high after the release.
#include "events/polevault/polevault.h"
#include "event_test_support.h"

namespace kel::test {
namespace {

class PoleVaultTest : public EventTest {
  protected:
    // Grabs the pole, then lets go at once: the vault begins, the vaulter stands.
    static void Begin(PoleVaultEvent& s) {
        const b2Vec2 at = s.pole->GetWorldPoint(b2Vec2(-4.0f, 0.0f));
        Click(s, at);
        ASSERT_EQ(s.phase, PoleVaultEvent::kVaulting);
    }
    static void Place(PoleVaultEvent& s, float x, float y) {
        s.vaulter->SetTransform(b2Vec2(x, y), 0.0f);
        s.vaulter->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        Step(s);
    }
};

TEST_F(PoleVaultTest, OnlyThePoleCanBeTakenAndTheRopeHoldsTheVaulterToIt) {
    PoleVaultEvent s;
    Click(s, b2Vec2(0.35f, -1.5f));
    EXPECT_EQ(s.phase, PoleVaultEvent::kWaiting) << "a click on the vaulter takes nothing";
    // Dragging the pole forward 6 m brings the vaulter along, no further than the rope allows.
    Grab(s, s.pole->GetPosition());
    ASSERT_EQ(s.grabbedBody, s.pole);
    for (int i = 0; i < 120; ++i) {
        const b2Vec2 now = s.pole->GetPosition();
        MouseAt(PxX(s, now.x) + 300, PxY(s, now.y));
        Hold(s, 1);
    }
    EXPECT_GT(s.vaulter->GetPosition().x, 3.0f) << "the vaulter slides along behind the pole";
    const b2Vec2 hand = s.vaulter->GetWorldPoint(b2Vec2(0.0f, -0.5f));
    const b2Vec2 grip = s.pole->GetWorldPoint(b2Vec2(-4.7f, 0.0f));
    EXPECT_LE((hand - grip).Length(), 2.31f);
    EXPECT_EQ(s.phase, PoleVaultEvent::kVaulting);
}

TEST_F(PoleVaultTest, AVaulterSlidingOnTheFrictionlessRunwayStillEndsWhenNobodyPlays) {
    PoleVaultEvent s;
    Begin(s);
    s.vaulter->SetLinearVelocity(b2Vec2(0.3f, 0.0f));
    Steps(s, 299);
    EXPECT_EQ(s.phase, PoleVaultEvent::kVaulting);
    EXPECT_GT(s.vaulter->GetLinearVelocity().x, 0.2f) << "still sliding, never still";
    Step(s);
    EXPECT_EQ(s.phase, PoleVaultEvent::kEnded) << "the 300th frame without input";
    EXPECT_TRUE(s.fault);
}

TEST_F(PoleVaultTest, OnlyTheLowestCrossingAfterTheReleaseCounts) {
    PoleVaultEvent s;
    Begin(s);
    s.vaulter->SetTransform(b2Vec2(31.0f, -9.0f), 0.0f);
    Hold(s, 1);
    EXPECT_FALSE(s.hasClearance) << "held over the plane: nothing is measured";
    gApp.mouseHeld = 0;
    ASSERT_EQ(s.phase, PoleVaultEvent::kFlight);
    EXPECT_EQ(s.handRope, nullptr) << "let go in the air, the rope is cut";
    Place(s, 31.0f, -12.0f);
    ASSERT_TRUE(s.hasClearance);
    const float high = s.clearance;
    EXPECT_NEAR(high, 12.0f - 1.25f, 0.1f) << "the body's lowest point, not its centre";
    Place(s, 31.0f, -11.0f);
    EXPECT_NEAR(s.clearance, high - 1.0f, 0.1f) << "sagging lowers it";
    Place(s, 31.0f, -14.0f);
    EXPECT_NEAR(s.clearance, high - 1.0f, 0.1f) << "rising again does not";
}

TEST_F(PoleVaultTest, AVaulterRestingHighAfterTheReleaseEndsAsALanding) {
    for (const bool crossed : {false, true}) {
        SCOPED_TRACE(crossed);
        sounds.clear();
        PoleVaultEvent s;
        Begin(s);
        s.hasClearance = crossed;
        s.clearance = crossed ? 11.0f : 1000.0f;
        // Up on a ledge of its own left of the plane, centre 4.26 m up, the pole beside it: with
        // the button up, the vaulter in the air lets go of the pole.
        s.CreateBox(20.0f, -3.0f, 2.0f, 0.2f, 0.0f, 1.0f, 0.0f);
        s.vaulter->SetTransform(b2Vec2(21.0f, -4.26f), 0.0f);
        s.pole->SetTransform(b2Vec2(24.2f, -4.6f), 0.0f);
        Step(s);
        ASSERT_EQ(s.phase, PoleVaultEvent::kFlight);
        const int frames = StepWhile(s, 1000, [&] { return s.phase == PoleVaultEvent::kFlight; });
        EXPECT_EQ(s.phase, PoleVaultEvent::kEnded);
        EXPECT_GE(frames, 300);
        EXPECT_EQ(s.idleFrames, 300) << "five still seconds";
        EXPECT_LT(s.vaulter->GetPosition().y, -2.6f) << "still up on the ledge";
        EXPECT_EQ(s.fault, !crossed);
        EXPECT_EQ(s.result, crossed ? 11.0f : 0.0f);
        EXPECT_EQ(CountEffect(crossed ? kSfxClapping : kSfxShortbuzz), 1);
    }
}

} // namespace
} // namespace kel::test
