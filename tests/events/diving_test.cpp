// Diving driven frame by frame: the diver waiting on the platform, the entry rules, the judges,
// the busiest frame, and the steps after the dive under pauses and fast mode.
#include "events/diving/diving.h"
#include "event_test_support.h"

#include "app/game_session.h"
#include "app/pause_screen.h"
#include "base/helpers.h"

#include <cstdio>
#include <memory>

namespace kel::test {
namespace {

class DivingTest : public EventTest {
  protected:
    // Puts the diver just above the surface at x, moving down at `speed` m/s, at `angle` (0 head
    // up, pi head down), and plays until the dive is over.
    static void Dive(DivingEvent& s, float x, float angle, float speed) {
        s.diver->SetTransform(b2Vec2(x, -0.6f), angle);
        s.diver->SetLinearVelocity(b2Vec2(0.0f, speed));
        s.diver->SetAngularVelocity(0.0f);
        StepWhile(s, 600, [&] { return !s.diveOver; });
    }
};

TEST_F(DivingTest, TheDiverWaitsOnThePlatformAndTheJudgesKeepTheirColours) {
    DivingEvent s;
    Steps(s, 900);
    EXPECT_NEAR(s.diver->GetPosition().y, -11.0f, 0.03f) << "the 2 m box stands on the platform top, y = -10";
    EXPECT_FALSE(s.diveOver) << "a diver resting on the platform with budget left is not fouled";
    const uint32_t state = RandomState();
    DivingEvent second;
    EXPECT_EQ(RandomState(), state) << "a later dive draws no colours";
}

TEST_F(DivingTest, TheEntryRules) {
    DivingEvent feet;
    Dive(feet, 6.0f, 0.0f, 10.0f);
    EXPECT_TRUE(feet.fouled) << "a feet-first entry";
    EXPECT_EQ(feet.entrySum, 0.0f);

    // A perfect entry with too much spin: capped at 550, base mark 11, so each judge's mark
    // clamps to 10 unless the offset pulls it below.
    SeedRandom(7u);
    DivingEvent perfect;
    perfect.spinTotal = 2000.0f;
    Dive(perfect, 6.0f, kPi, 12.0f);
    ASSERT_FALSE(perfect.fouled);
    EXPECT_EQ(perfect.spinTotal, 550.0f);
    EXPECT_GT(perfect.entrySum / static_cast<float>(perfect.waterFrames), 0.97f);
    for (const int mark : perfect.judgeMarks) {
        EXPECT_GE(mark, 9);
        EXPECT_LE(mark, 10);
    }

    // Fully under the surface beyond x = 16 in one frame: out of the pool, fouled unjudged.
    DivingEvent outside;
    outside.spinTotal = 500.0f;
    outside.diver->SetTransform(b2Vec2(22.0f, 3.0f), kPi);
    outside.diver->SetLinearVelocity(b2Vec2(0.0f, 5.0f));
    Step(outside);
    EXPECT_TRUE(outside.diveOver);
    EXPECT_TRUE(outside.fouled);
    EXPECT_EQ(outside.judgeMarks[0], 0);

    // Upright on a deck with budget left: only the deck-level rule can end this.
    DivingEvent deck;
    deck.diver->SetTransform(b2Vec2(16.0f, -2.05f), 0.0f);
    StepWhile(deck, 200, [&] { return !deck.diveOver; });
    EXPECT_LT(deck.diver->GetPosition().y, -2.0f) << "the box rests with its origin above y = -2";
    EXPECT_TRUE(deck.fouled);
}

// The splash stops at 400 droplets, and the busiest frame, with every card, the total and a
// whole splash, stays within 30 draw calls.
TEST_F(DivingTest, TheSplashIsCappedAndTheBusiestFrameStaysWithin30DrawCalls) {
    DivingEvent s;
    s.splashCount = 395;
    s.diver->SetTransform(b2Vec2(6.0f, -0.6f), kPi / 2.0f); // flat: about 12 droplets a frame
    s.diver->SetLinearVelocity(b2Vec2(0.0f, 12.0f));
    StepWhile(s, 20, [&] { return s.waterFrames == 0; });
    ASSERT_GE(s.waterFrames, 1);
    EXPECT_EQ(s.splashCount, DivingEvent::kMaxDroplets);

    DivingEvent judged;
    judged.SetPlayer(&player);
    ASSERT_GE(PlayFile(judged, "diving_good_run.txt", 200), 0);
    judged.splashCount = DivingEvent::kMaxDroplets;
    Record(judged, kWholeFrame);
    EXPECT_LE(gl.draws.size(), 30u);
}

// The cards, the score lifts and the hand-over count game frames, so a pause (the scene drawn
// but not updated) and fast mode (two whole game frames per displayed frame) keep them in step.
TEST_F(DivingTest, EachStepAfterTheDiveFiresOnceAtItsGameFrame) {
    MarkSprites({155});
    const std::string file = testing::TempDir() + "kelvaro_diving_records.rec";
    auto session = std::make_unique<GameSession>(file.c_str());
    auto frame = [&] {
        gApp.frameCounter += 1;
        session->Update();
        session->Draw();
        FlushBatch();
        Frame();
    };
    int quadsPerCard = 1;
    auto cardsUp = [&](DivingEvent& d) { // judges holding up a card (sprite 155)
        int quads = 0;
        for (const DrawnQuad& q : Drawn(d))
            quads += q.u == 0.155f;
        return quads / quadsPerCard;
    };

    session->CreateScene(kEventDiving);
    auto* s = static_cast<DivingEvent*>(session->scene);
    ASSERT_NE(s, nullptr);
    const InputScript script = LoadScript("diving_good_run.txt");
    ScriptPlayer input(script);
    for (int f = 0; f < 600 && !s->diveOver; ++f) {
        input.Apply(f);
        frame();
    }
    ASSERT_TRUE(s->diveOver);
    ASSERT_FALSE(s->fouled);
    ASSERT_EQ(cardsUp(*s), 0);

    // 40 game frames at normal pace, a pause of 70 drawn frames, then fast mode to the end.
    int gameFrames = 0;
    int lifts = CountEffect(kSfxScorelift);
    ASSERT_EQ(lifts, 0);
    int finishedAt = -1;
    for (int displayed = 0; gameFrames < 240; ++displayed) {
        if (displayed == 40) {
            s->clickedButton = kPauseButton;
            frame();
            ++gameFrames; // the scene updates before the session reads the click
            ASSERT_TRUE(session->Paused());
            EXPECT_EQ(cardsUp(*s), 1);
            for (int i = 0; i < 70; ++i) {
                frame();
                ASSERT_EQ(cardsUp(*s), 1) << "paused";
                ASSERT_EQ(CountEffect(kSfxScorelift), lifts) << "paused";
                ASSERT_EQ(s->afterFrames, gameFrames);
            }
            session->pauseScreen->clickedButton = kPauseResumeButton;
            gApp.fastMode = 1;
            continue;
        }
        for (int k = 0; k < (gApp.fastMode ? 2 : 1); ++k) {
            frame();
            ++gameFrames;
            const int now = CountEffect(kSfxScorelift);
            const bool due = gameFrames % 30 == 0 && gameFrames <= 150;
            ASSERT_EQ(now - lifts, due ? 1 : 0) << "game frame " << gameFrames;
            lifts = now;
            if (s->finished && finishedAt < 0) finishedAt = gameFrames;
            if (gameFrames == 30) quadsPerCard = Max(1, cardsUp(*s));
            ASSERT_EQ(cardsUp(*s), Min(5, gameFrames / 30)) << "game frame " << gameFrames;
        }
    }
    EXPECT_EQ(lifts, 5);
    EXPECT_EQ(finishedAt, 30);
    session.reset();
    gApp.fastMode = 0;
    std::remove(file.c_str());
}

} // namespace
} // namespace kel::test
