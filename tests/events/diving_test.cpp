// Diving driven frame by frame: the diver waiting on the platform, the scripted good dive and
// fouls, the entry rules, the judges, the steps after the dive under pauses and fast mode, and
// a pinned world hash.
#include "events/diving/diving.h"
#include "event_test_support.h"

#include "app/game_session.h"
#include "app/input_script.h"
#include "app/pause_screen.h"
#include "base/helpers.h"
#include "base/random.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace kel::test {
namespace {

class DivingTest : public EventTest {
  protected:
    // Puts the diver just above the surface over the pool, moving down at `speed` m/s, at
    // `angle` (0 head up, pi head down).
    static void Drop(DivingEvent& s, float x, float angle, float speed) {
        s.diver->SetTransform(b2Vec2(x, -0.6f), angle);
        s.diver->SetLinearVelocity(b2Vec2(0.0f, speed));
        s.diver->SetAngularVelocity(0.0f);
    }

    static void StepUntilOver(DivingEvent& s, int limit = 600) {
        for (int i = 0; i < limit && !s.diveOver; ++i)
            Step(s);
    }
};

// ---- Construction ----------------------------------------------------------------------------

TEST_F(DivingTest, TheDiverWaitsOnThePlatformEdgeAndTheJudgesKeepTheirColours) {
    DivingEvent s;
    const uint32_t* colours = DivingJudgeColours();
    uint32_t kept[DivingEvent::kJudgeCount];
    for (int i = 0; i < DivingEvent::kJudgeCount; ++i) {
        kept[i] = colours[i];
        EXPECT_GE(Min(ColourR(colours[i]), Min(ColourG(colours[i]), ColourB(colours[i]))), 165u) << "light";
    }
    for (int i = 0; i < 900; ++i)
        Step(s);
    EXPECT_NEAR(s.diver->GetPosition().x, 0.5f, 1e-3f);
    EXPECT_NEAR(s.diver->GetPosition().y, -11.0f, 0.03f) << "the 2 m box stands on the platform top, y = -10";
    EXPECT_FALSE(s.diver->IsAwake());
    EXPECT_FALSE(s.diveOver) << "a diver resting on the platform with budget left is not fouled";
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);

    const uint32_t state = RandomState();
    DivingEvent second;
    EXPECT_EQ(RandomState(), state) << "a later dive draws no colours";
    for (int i = 0; i < DivingEvent::kJudgeCount; ++i)
        EXPECT_EQ(colours[i], kept[i]);
}

// ---- Scripted dives --------------------------------------------------------------------------

TEST_F(DivingTest, TheScriptedGoodDiveIsMarkedAboveTheMiddleMark) {
    UseBlockFont();
    DivingEvent s;
    s.SetPlayer(&player);
    SeedRandom(1u);
    const int finishedFrame = PlayFile(s, "diving_good_run.txt", 200);
    ASSERT_GE(finishedFrame, 0);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.result, s.averageMark);
    EXPECT_GE(s.result, kEventTable[kEventDiving].marks[1]);
    EXPECT_LE(s.result, 10.0f);
    EXPECT_EQ(s.waterFrames, 10);
    // Raw score = spin x mean entry quality: 439 for this dive, so marks of 8 to 10.
    EXPECT_NEAR(s.spinTotal * s.entrySum / 10.0f, 439.0f, 5.0f);
    // The same as kelvaro-sim --scene 0 --input diving_good_run.txt --after-finish 200 reports.
    EXPECT_EQ(WorldHashText(s.world), "173012f7f8821a1a");
    EXPECT_EQ(CountEffect(kSfxDiveboing), 1);
    EXPECT_EQ(CountEffect(kSfxSplash), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxScorelift), 5);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
    ExpectMusicStartedAndStopped("Diving.mp3");

    // The busiest frame, with every card, the total and a whole splash (this clean entry made
    // none), stays within 30 draw calls.
    EXPECT_EQ(s.splashCount, 0);
    s.splashCount = DivingEvent::kMaxDroplets;
    SetGlBackend(&gl);
    gl.Reset();
    s.DrawFrame();
    FlushBatch();
    SetGlBackend(&nullGl);
    EXPECT_LE(gl.draws.size(), 30u);
}

// Every way a dive ends in "DNQ", each played by its script; the judges never clap.
TEST_F(DivingTest, EachFoulScriptEndsInDnq) {
    UseBlockFont();
    struct Case {
        const char* script;
        int latestFrame; // the foul is handed over by then
    };
    const Case cases[] = {
        {"diving_flat_entry.txt", 300},  {"diving_deck_rest.txt", 300},     {"diving_budget_spent.txt", 300},
        {"diving_out_of_pool.txt", 300}, {"diving_left_standing.txt", 800},
    };
    for (const Case& c : cases) {
        sounds.clear();
        DivingEvent s;
        const int finishedFrame = PlayFile(s, c.script, 0);
        ASSERT_GE(finishedFrame, 0) << c.script;
        EXPECT_LE(finishedFrame, c.latestFrame) << c.script;
        ExpectFoul(s, c.script);
        EXPECT_EQ(CountEffect(kSfxScorelift), 0) << c.script;
        EXPECT_TRUE(HudLineAt(s, 280.0f)) << c.script << ": DNQ";
    }
}

// ---- Entry rules -----------------------------------------------------------------------------

TEST_F(DivingTest, AFeetFirstEntryEarnsNothingAndIsADnq) {
    DivingEvent s;
    Drop(s, 6.0f, 0.0f, 10.0f);
    Step(s);
    EXPECT_EQ(s.waterFrames, 1) << "one entry sample per frame";
    StepUntilOver(s);
    EXPECT_TRUE(s.fouled);
    EXPECT_EQ(s.entrySum, 0.0f);
}

TEST_F(DivingTest, APerfectEntryWithTooMuchSpinIsCappedAndMarkedHigh) {
    DivingEvent s;
    SeedRandom(7u);
    s.spinTotal = 2000.0f;
    Drop(s, 6.0f, kPi, 12.0f);
    StepUntilOver(s);
    ASSERT_FALSE(s.fouled);
    EXPECT_EQ(s.spinTotal, 550.0f);
    EXPECT_GT(s.entrySum / static_cast<float>(s.waterFrames), 0.97f);
    // Base mark 11: each judge's mark clamps to 10 unless the offset pulls it below.
    for (const int mark : s.judgeMarks) {
        EXPECT_GE(mark, 9);
        EXPECT_LE(mark, 10);
    }
    EXPECT_GE(s.averageMark, 9.0f);
}

TEST_F(DivingTest, TheSplashStopsAtFourHundredDroplets) {
    DivingEvent s;
    s.splashCount = 395;
    Drop(s, 6.0f, kPi / 2.0f, 12.0f); // flat: about 12 droplets a frame
    for (int i = 0; i < 20 && s.waterFrames == 0; ++i)
        Step(s);
    ASSERT_GE(s.waterFrames, 1);
    EXPECT_EQ(s.splashCount, DivingEvent::kMaxDroplets);
}

TEST_F(DivingTest, DiverSurfacingOutsideThePoolAreaIsFouledWithoutJudging) {
    DivingEvent s;
    // Fully under the surface beyond x = 16 in one frame: out of the pool and judgeable at once.
    s.spinTotal = 500.0f;
    s.diver->SetTransform(b2Vec2(22.0f, 3.0f), kPi);
    s.diver->SetLinearVelocity(b2Vec2(0.0f, 5.0f));
    Step(s);
    EXPECT_TRUE(s.diveOver);
    EXPECT_TRUE(s.fouled);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);
    EXPECT_EQ(CountEffect(kSfxClapping), 0);
    EXPECT_EQ(s.judgeMarks[0], 0);
}

TEST_F(DivingTest, ADiverStandingUprightOnADeckIsAtDeckLevel) {
    DivingEvent s;
    // Grab budget left: only the deck-level rule can end this.
    s.diver->SetTransform(b2Vec2(16.0f, -2.05f), 0.0f);
    s.diver->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    for (int i = 0; i < 200 && !s.diveOver; ++i)
        Step(s);
    EXPECT_LT(s.diver->GetPosition().y, -2.0f) << "the box rests with its origin above y = -2";
    EXPECT_NEAR(s.diver->GetAngle(), 0.0f, 0.01f);
    EXPECT_TRUE(s.fouled);
}

// ---- After the dive --------------------------------------------------------------------------

// The cards, the score lifts and the hand-over count game frames, so a pause (the scene drawn
// but not updated) and fast mode (two whole game frames per displayed frame) keep them in step.
class DivingSessionTest : public DivingTest {
  protected:
    void SetUp() override {
        DivingTest::SetUp();
        MarkSprites({155});
        char pattern[] = "/tmp/kelvaro_diving_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        session = std::make_unique<GameSession>((dir + "/records.rec").c_str());
    }
    void TearDown() override {
        session.reset();
        std::remove((dir + "/records.rec").c_str());
        rmdir(dir.c_str());
        gApp.fastMode = 0;
        DivingTest::TearDown();
    }
    void SessionFrame() {
        gApp.frameCounter += 1;
        session->Update();
        session->Draw();
        FlushBatch();
        Frame();
    }
    // Judges holding up a card in the scene's world drawing (sprite 155 marked by MarkSprites).
    int CardsUp(DivingEvent& s) {
        int quads = 0;
        for (const DrawnQuad& q : Drawn(s))
            quads += q.u == 0.155f;
        return quads / quadsPerCard;
    }

    int quadsPerCard = 1;
    std::string dir;
    std::unique_ptr<GameSession> session;
};

TEST_F(DivingSessionTest, EachStepAfterTheDiveFiresOnceAtItsGameFrame) {
    session->CreateScene(kEventDiving);
    auto* s = static_cast<DivingEvent*>(session->scene);
    ASSERT_NE(s, nullptr);
    const InputScript script = LoadScript("diving_good_run.txt");
    ScriptPlayer input(script);
    for (int frame = 0; frame < 600 && !s->diveOver; ++frame) {
        input.Apply(frame);
        SessionFrame();
    }
    ASSERT_TRUE(s->diveOver);
    ASSERT_FALSE(s->fouled);
    ASSERT_EQ(CardsUp(*s), 0);

    // 40 game frames at normal pace, a pause of 70 drawn frames, then fast mode to the end.
    int gameFrames = 0;
    int lifts = CountEffect(kSfxScorelift);
    ASSERT_EQ(lifts, 0);
    int finishedAt = -1;
    for (int displayed = 0; gameFrames < 240; ++displayed) {
        if (displayed == 40) {
            s->clickedButton = kPauseButton;
            SessionFrame();
            ++gameFrames; // the scene updates before the session reads the click
            ASSERT_TRUE(session->Paused());
            const int cards = CardsUp(*s);
            EXPECT_EQ(cards, 1);
            for (int i = 0; i < 70; ++i) {
                SessionFrame();
                ASSERT_EQ(CardsUp(*s), cards) << "paused";
                ASSERT_EQ(CountEffect(kSfxScorelift), lifts) << "paused";
                ASSERT_EQ(s->afterFrames, gameFrames);
            }
            session->pauseScreen->clickedButton = kPauseResumeButton;
            gApp.fastMode = 1;
            continue;
        }
        const int runs = gApp.fastMode ? 2 : 1;
        for (int k = 0; k < runs; ++k) {
            SessionFrame();
            ++gameFrames;
            const int now = CountEffect(kSfxScorelift);
            const bool due = gameFrames % 30 == 0 && gameFrames <= 150;
            ASSERT_EQ(now - lifts, due ? 1 : 0) << "game frame " << gameFrames;
            lifts = now;
            if (s->finished && finishedAt < 0) finishedAt = gameFrames;
            if (gameFrames == 30) quadsPerCard = Max(1, CardsUp(*s));
            ASSERT_EQ(CardsUp(*s), Min(5, gameFrames / 30)) << "game frame " << gameFrames;
        }
    }
    EXPECT_EQ(lifts, 5);
    EXPECT_EQ(finishedAt, 30);
}

} // namespace
} // namespace kel::test
