// The pole vault: the rope and the pole as built, the runner's scripts (a good vault and one per
// foul, each seen ending by its own rule), the measuring plane's rules with the bodies set by hand,
// the idle cap in flight and a pinned hash.
#include "events/polevault/polevault.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class PoleVaultTest : public EventTest {
  protected:
    // Plays a kept script to 60 frames past `finished`; returns the frame the attempt ended.
    int Play(PoleVaultEvent& s, const char* name) {
        InputScript script;
        std::string error;
        EXPECT_TRUE(ParseInputScript(EventScriptText(name), &script, &error)) << name << ": " << error;
        ScriptPlayer input(script);
        int ended = -1;
        int finishedFrame = -1;
        for (int frame = 0; frame < 3600; ++frame) {
            input.Apply(frame);
            const int32_t before = s.phase;
            Step(s);
            if (ended < 0 && s.phase == PoleVaultEvent::kEnded) {
                ended = frame;
                endedFrom = before;
                ropeAtEnd = s.handRope != nullptr;
                budgetAtEnd = s.grabBudget;
            }
            if (s.finished && finishedFrame < 0) finishedFrame = frame;
            if (finishedFrame >= 0 && frame == finishedFrame + 60) break;
        }
        EXPECT_EQ(finishedFrame, ended + 60) << name;
        return ended;
    }

    // Grabs the pole where it lies, then lets go at once: the vault begins, the vaulter stands.
    void Begin(PoleVaultEvent& s) {
        const b2Vec2 at = s.pole->GetWorldPoint(b2Vec2(-4.0f, 0.0f));
        MouseAt(PxX(s, at.x), PxY(s, at.y));
        Press();
        Step(s);
        Release();
        Step(s);
        ASSERT_EQ(s.phase, PoleVaultEvent::kVaulting);
    }

    int32_t endedFrom = -1;
    bool ropeAtEnd = false;
    int32_t budgetAtEnd = 0;
};

// ---- Building --------------------------------------------------------------------------------

TEST_F(PoleVaultTest, OnlyThePoleCanBeTakenAndTheRopeHoldsTheVaulterToIt) {
    PoleVaultEvent s;
    // A click on the vaulter takes nothing.
    MouseAt(PxX(s, 0.35f), PxY(s, -1.5f));
    Press();
    Step(s);
    EXPECT_EQ(s.mouseJoint, nullptr);
    EXPECT_EQ(s.phase, PoleVaultEvent::kWaiting);
    Release();
    Step(s);
    // Dragging the pole forward 6 m brings the vaulter along, no further than the rope allows.
    const b2Vec2 at = s.pole->GetWorldPoint(b2Vec2(0.0f, 0.0f));
    MouseAt(PxX(s, at.x), PxY(s, at.y));
    Press();
    Step(s);
    ASSERT_EQ(s.grabbedBody, s.pole);
    EXPECT_EQ(s.phase, PoleVaultEvent::kVaulting);
    EXPECT_NE(FindCall(SoundCall::kMusic), -1);
    for (int i = 0; i < 120; ++i) {
        const b2Vec2 now = s.pole->GetWorldPoint(b2Vec2(0.0f, 0.0f));
        MouseAt(PxX(s, now.x) + 300, PxY(s, now.y));
        gApp.mouseHeld = 1;
        Step(s);
    }
    EXPECT_GT(s.vaulter->GetPosition().x, 3.0f) << "the vaulter slides along behind the pole";
    const b2Vec2 hand = s.vaulter->GetWorldPoint(b2Vec2(0.0f, -0.5f));
    const b2Vec2 grip = s.pole->GetWorldPoint(b2Vec2(-4.7f, 0.0f));
    EXPECT_LE((hand - grip).Length(), 2.31f);
    EXPECT_EQ(s.phase, PoleVaultEvent::kVaulting);
}

// ---- Scripted attempts -----------------------------------------------------------------------

TEST_F(PoleVaultTest, TheGoodVaultClearsTheMiddleMark) {
    PoleVaultEvent s;
    s.SetPlayer(&player);
    Play(s, "polevault_good_run.txt");
    EXPECT_FALSE(s.fault);
    EXPECT_TRUE(s.hasClearance);
    EXPECT_EQ(s.result, s.clearance);
    EXPECT_GT(s.result, 12.0f);
    EXPECT_LT(s.result, 15.0f);
    EXPECT_GE(AchievementLevel(kEventPoleVault, s.result, s.fault), 3);
    EXPECT_EQ(s.handRope, nullptr);
    EXPECT_EQ(CountEffect(kSfxHoout1), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
    EXPECT_EQ(WorldHashText(s.world), "eafd26c97d8e6a4a");
}

TEST_F(PoleVaultTest, EachFoulScriptEndsByItsOwnRule) {
    const char* scripts[] = {
        "polevault_foul_pole_over.txt", "polevault_foul_no_crossing.txt", "polevault_foul_run_back.txt",
        "polevault_foul_budget_on_ground.txt", "polevault_foul_idle.txt",
    };
    for (const char* name : scripts) {
        SCOPED_TRACE(name);
        SetUp();
        sounds.clear();
        PoleVaultEvent s;
        const int ended = Play(s, name);
        EXPECT_TRUE(s.fault);
        EXPECT_EQ(s.result, 0.0f);
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
        EXPECT_NE(FindCall(SoundCall::kStopMusic), -1);
        const std::string n = name;
        EXPECT_EQ(s.showFoulGhost, n == "polevault_foul_pole_over.txt");
        if (n == "polevault_foul_pole_over.txt") {
            EXPECT_TRUE(s.hasClearance) << "the vaulter had crossed before the pole fell over";
            EXPECT_GT(s.clearance, 10.0f);
            EXPECT_EQ(endedFrom, PoleVaultEvent::kFlight);
        } else if (n == "polevault_foul_no_crossing.txt") {
            EXPECT_FALSE(s.hasClearance);
            EXPECT_FALSE(ropeAtEnd) << "let go in the air";
            EXPECT_GT(budgetAtEnd, 0);
        } else if (n == "polevault_foul_run_back.txt") {
            EXPECT_LT(s.vaulter->GetPosition().x, -5.5f);
            EXPECT_GT(budgetAtEnd, 0);
            EXPECT_LT(ended, 300);
        } else if (n == "polevault_foul_budget_on_ground.txt") {
            EXPECT_EQ(budgetAtEnd, 0);
            EXPECT_EQ(ended, 419) << "the frame the 420th held frame spent the budget";
        } else {
            EXPECT_TRUE(ropeAtEnd) << "still holding the pole, standing";
            EXPECT_EQ(s.groundWaitFrames, 300);
            EXPECT_EQ(ended, 310) << "frames 11 to 310 without input, after the release in frame 10";
        }
    }
}

TEST_F(PoleVaultTest, AVaulterSlidingOnTheFrictionlessRunwayStillEndsWhenNobodyPlays) {
    PoleVaultEvent s;
    Begin(s);
    s.vaulter->SetLinearVelocity(b2Vec2(0.3f, 0.0f));
    for (int i = 0; i < 290; ++i)
        Step(s);
    EXPECT_EQ(s.phase, PoleVaultEvent::kVaulting);
    EXPECT_GT(s.vaulter->GetLinearVelocity().x, 0.2f) << "still sliding, never still";
    for (int i = 0; i < 20 && s.phase == PoleVaultEvent::kVaulting; ++i)
        Step(s);
    EXPECT_EQ(s.phase, PoleVaultEvent::kEnded);
    EXPECT_TRUE(s.fault);
}

// ---- The measuring plane ---------------------------------------------------------------------

TEST_F(PoleVaultTest, OnlyTheLowestCrossingAfterTheReleaseCounts) {
    PoleVaultEvent s;
    Begin(s);
    // Held over the plane: nothing is measured.
    s.vaulter->SetTransform(b2Vec2(31.0f, -9.0f), 0.0f);
    gApp.mouseHeld = 1;
    Step(s);
    EXPECT_FALSE(s.hasClearance);
    // Let go in the air: the rope is cut and the lowest point of the body on the plane counts.
    gApp.mouseHeld = 0;
    ASSERT_EQ(s.phase, PoleVaultEvent::kFlight);
    EXPECT_EQ(s.handRope, nullptr);
    s.vaulter->SetTransform(b2Vec2(31.0f, -12.0f), 0.0f);
    s.vaulter->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    Step(s);
    ASSERT_TRUE(s.hasClearance);
    const float high = s.clearance;
    EXPECT_NEAR(high, 12.0f - 1.25f, 0.1f) << "the body's lowest point, not its centre";
    s.vaulter->SetTransform(b2Vec2(31.0f, -11.0f), 0.0f);
    Step(s);
    EXPECT_NEAR(s.clearance, high - 1.0f, 0.1f) << "sagging lowers it";
    s.vaulter->SetTransform(b2Vec2(31.0f, -14.0f), 0.0f);
    Step(s);
    EXPECT_NEAR(s.clearance, high - 1.0f, 0.1f) << "rising again does not";
}

TEST_F(PoleVaultTest, AVaulterRestingHighAfterTheReleaseEndsAsALanding) {
    for (const bool crossed : {false, true}) {
        SetUp();
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
        int frames = 0;
        while (s.phase == PoleVaultEvent::kFlight && frames < 1000) {
            Step(s);
            ++frames;
        }
        EXPECT_EQ(s.phase, PoleVaultEvent::kEnded);
        EXPECT_GE(frames, 300);
        EXPECT_LT(frames, 1000);
        EXPECT_EQ(s.idleFrames, 300) << "five still seconds";
        EXPECT_LT(s.vaulter->GetPosition().y, -2.6f) << "still up on the ledge";
        EXPECT_EQ(s.fault, !crossed);
        EXPECT_EQ(s.result, crossed ? 11.0f : 0.0f);
        EXPECT_EQ(CountEffect(crossed ? kSfxClapping : kSfxShortbuzz), 1);
    }
}

} // namespace
} // namespace kel::test
