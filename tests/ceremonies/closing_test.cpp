// The closing ceremonies played frame by frame: the ranking and the medal table, the best medal
// haul and the analytics line, the rocket and its fireworks, the clapping, the falling balls,
// the parade, the end button, odd competitor lists and a pinned world hash.
#include "ceremonies/closing.h"
#include "events/event_test_support.h"

#include "base/random.h"
#include "platform/log.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace kel::test {
namespace {

class ClosingTest : public EventTest {
  protected:
    void SetUp() override {
        EventTest::SetUp();
        for (int i = 0; i < kPlayerCount; ++i) {
            players[i] = PlayerRecord{};
            players[i].active = 1;
            std::snprintf(players[i].nation.name, sizeof players[i].nation.name, "SLOT%d", i);
        }
        setup = ClosingSetup{};
        setup.players = players;
        setup.competitorCount = kPlayerCount;
    }
    void TearDown() override {
        SetLogSink(nullptr);
        EventTest::TearDown();
    }

    void Medals(int slot, int gold, int silver, int bronze) {
        players[slot].gold = gold;
        players[slot].silver = silver;
        players[slot].bronze = bronze;
    }

    static void RunUntilTimer(ClosingCeremonies& s, int timer) {
        while (s.timer < timer)
            Step(s);
    }

    static int BallCount(const ClosingCeremonies& s) {
        int n = 0;
        for (const b2Body* b : s.fallingBalls)
            n += b != nullptr;
        return n;
    }

    // The colour in which the world drawing printed the medal-table name of row r (block font:
    // the name's quads end left of the name column's right edge, on the row's line).
    bool NameColour(ClosingCeremonies& s, int r, float out[4]) {
        SetGlBackend(&gl);
        gl.Reset();
        s.Draw();
        FlushBatch();
        SetGlBackend(&nullGl);
        const float y = 11.0f + 1.1f * static_cast<float>(r);
        for (const RecordingGlBackend::Draw& d : gl.draws) {
            for (const Vertex& v : d.vertices) {
                // A long name shrinks and sits a little lower, centred on the row's text line; a
                // light name's shadow is translucent.
                if ((v.colour >> 24) < 255u) continue;
                if (v.y > y - 1e-4f && v.y < y + 0.5f && v.x > 0.5f && v.x <= 16.7f + 1e-4f) {
                    for (int i = 0; i < 4; ++i) out[i] = static_cast<float>((v.colour >> (8 * i)) & 0xFFu) / 255.0f;
                    return true;
                }
            }
        }
        return false;
    }

    // Whether the world drawing fills a rectangle (x0, y0)-(x1, y1), world metres.
    bool DrewRect(ClosingCeremonies& s, float x0, float y0, float x1, float y1) {
        SetGlBackend(&gl);
        gl.Reset();
        s.Draw();
        FlushBatch();
        SetGlBackend(&nullGl);
        for (const RecordingGlBackend::Draw& d : gl.draws) {
            for (size_t i = 0; i + 6 <= d.vertices.size(); i += 6) {
                float lo[2] = {1e9f, 1e9f};
                float hi[2] = {-1e9f, -1e9f};
                for (size_t j = i; j < i + 6; ++j) {
                    lo[0] = std::min(lo[0], d.vertices[j].x);
                    hi[0] = std::max(hi[0], d.vertices[j].x);
                    lo[1] = std::min(lo[1], d.vertices[j].y);
                    hi[1] = std::max(hi[1], d.vertices[j].y);
                }
                if (std::fabs(lo[0] - x0) < 1e-3f && std::fabs(lo[1] - y0) < 1e-3f &&
                    std::fabs(hi[0] - x1) < 1e-3f && std::fabs(hi[1] - y1) < 1e-3f)
                    return true;
            }
        }
        return false;
    }

    PlayerRecord players[kPlayerCount];
    ClosingSetup setup;
};

// ---- Ranking and the medal table -------------------------------------------------------------

TEST_F(ClosingTest, RanksByGoldThenSilverThenBronzeThenLowerSlot) {
    Medals(0, 1, 0, 5);
    Medals(1, 2, 0, 0);
    Medals(2, 1, 1, 0);
    Medals(3, 1, 0, 5);
    ClosingCeremonies s(setup);
    ASSERT_EQ(s.competitorCount, 4);
    EXPECT_EQ(s.ranking[0], 1);
    EXPECT_EQ(s.ranking[1], 2);
    EXPECT_EQ(s.ranking[2], 0) << "equal tallies keep the lower slot first";
    EXPECT_EQ(s.ranking[3], 3);

    // Only the competitors count, in turn order: slot 1 did not compete.
    setup.order[0] = 2;
    setup.order[1] = 0;
    setup.competitorCount = 2;
    Medals(1, 9, 9, 9);
    ClosingCeremonies two(setup);
    ASSERT_EQ(two.competitorCount, 2);
    EXPECT_EQ(two.ranking[0], 2);
    EXPECT_EQ(two.ranking[1], 0);
    EXPECT_EQ(two.paraders[2], nullptr);
}

TEST_F(ClosingTest, EqualTalliesShareANameColourAndTheNextTallyMovesOn) {
    Medals(0, 2, 0, 0);
    Medals(1, 1, 0, 0);
    Medals(2, 1, 0, 0);
    Medals(3, 0, 0, 0);
    UseBlockFont();
    ClosingCeremonies s(setup);
    float c[4][4] = {};
    for (int r = 0; r < 4; ++r)
        ASSERT_TRUE(NameColour(s, r, c[r])) << "row " << r;
    auto is = [](const float* got, Colour want) {
        return std::fabs(got[0] - static_cast<float>(ColourR(want)) / 255.0f) < 1e-3f &&
               std::fabs(got[1] - static_cast<float>(ColourG(want)) / 255.0f) < 1e-3f &&
               std::fabs(got[2] - static_cast<float>(ColourB(want)) / 255.0f) < 1e-3f;
    };
    EXPECT_TRUE(is(c[0], 0xFF18FFFFu));
    EXPECT_TRUE(is(c[1], 0xFFFFFFE2u));
    EXPECT_TRUE(is(c[2], 0xFFFFFFE2u)) << "the same tally as the row above";
    EXPECT_TRUE(is(c[3], 0xFF0EB3EDu));
}

TEST_F(ClosingTest, AHumanNameHopsOnlyInACompetitionWithComputers) {
    for (int i = 1; i < kPlayerCount; ++i)
        players[i].computer = 1;
    Medals(0, 3, 0, 0);
    setup.withComputers = true;
    UseBlockFont();
    ClosingCeremonies s(setup);
    float c[4] = {};
    gApp.frameCounter = 25; // second half of the 40-frame hop: on the line
    EXPECT_TRUE(NameColour(s, 0, c));
    gApp.frameCounter = 5; // first half: 0.1 m up
    EXPECT_FALSE(NameColour(s, 0, c));
    EXPECT_TRUE(NameColour(s, 1, c)) << "a computer's name stays on its line";
}

TEST_F(ClosingTest, FlagPolesStandOnTheFiguresAsTallAsTheirRankAndEachTableRowIsABand) {
    Medals(3, 1, 0, 0);
    ClosingCeremonies s(setup);
    for (int i = 0; i < 120; ++i)
        Step(s);
    const float heights[4] = {10.2f, 7.8f, 5.4f, 3.0f};
    for (int k = 0; k < 4; ++k) {
        const b2Vec2 foot = s.paraders[k]->GetWorldPoint(b2Vec2(0.95f, -0.6f));
        EXPECT_TRUE(DrewRect(s, foot.x, foot.y - heights[k], foot.x + 0.2f, foot.y))
            << "rank " << k << ", slot " << s.ranking[k];
    }
    // Each of the five table rows is its own band.
    for (int r = 0; r < 5; ++r) {
        const float y = 11.0f + 1.1f * static_cast<float>(r);
        EXPECT_TRUE(DrewRect(s, 0.0f, y - 0.2f, 25.6f, y + 1.0f)) << "row " << r;
    }
}

// ---- Best medal haul and the analytics line -----------------------------------------------------

// The best haul {3, 1, 0} is raised only by a human winning against computers with more.
TEST_F(ClosingTest, TheBestHaulRisesOnlyForAHigherHaulOfAHumanWinnerAgainstComputers) {
    const struct {
        int human[3], rival[3];
        bool computers;
        int32_t want[3];
    } cases[] = {
        {{3, 1, 1}, {2, 5, 5}, true, {3, 1, 1}},
        {{3, 2, 0}, {2, 5, 5}, true, {3, 2, 0}}, // silver decides before bronze
        {{3, 0, 9}, {2, 5, 5}, true, {3, 1, 0}}, // lower
        {{1, 0, 0}, {9, 0, 0}, true, {3, 1, 0}}, // a computer won
        {{9, 9, 9}, {0, 0, 0}, false, {3, 1, 0}}, // players alone
    };
    for (const auto& c : cases) {
        int32_t best[3] = {3, 1, 0};
        Medals(0, c.human[0], c.human[1], c.human[2]);
        Medals(2, c.rival[0], c.rival[1], c.rival[2]);
        for (int i = 1; i < kPlayerCount; ++i)
            players[i].computer = c.computers;
        setup.withComputers = c.computers;
        setup.bestMedalHaul = best;
        { ClosingCeremonies s(setup); }
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(best[k], c.want[k]) << "case " << (&c - cases) << " medal " << k;
    }
}

TEST_F(ClosingTest, TheOlympicPlaceLineFollowsTheBestHumanAfterFifteenEvents) {
    CaptureLogSink sink;
    SetLogSink(&sink);
    for (int i = 0; i < kPlayerCount; ++i)
        players[i].computer = i == 3 ? 0 : 1;
    Medals(0, 3, 0, 0);
    Medals(3, 2, 0, 0); // the human comes second
    setup.withComputers = true;
    setup.scheduleCount = 14;
    { ClosingCeremonies shortCompetition(setup); }
    for (const std::string& line : sink.Lines())
        EXPECT_EQ(line.find("olympic place"), std::string::npos) << line;

    setup.scheduleCount = 15;
    { ClosingCeremonies full(setup); }
    ASSERT_FALSE(sink.Lines().empty());
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 2");

    Medals(3, 0, 0, 0); // now last of four
    { ClosingCeremonies last(setup); }
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 0");
}

// ---- Building and music ----------------------------------------------------------------------

TEST_F(ClosingTest, FiguresStandOnTheGroundLeaderRightmostAndTheMusicLoops) {
    ClosingCeremonies s(setup);
    const int music = FindCall(SoundCall::kMusic);
    ASSERT_NE(music, -1);
    EXPECT_EQ(sounds[static_cast<size_t>(music)].music, "ClosingCeremonies.mp3");
    EXPECT_TRUE(sounds[static_cast<size_t>(music)].loop);
    for (int i = 0; i < 60; ++i)
        Step(s);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(s.paraders[k]->GetPosition().y + 1.25f, 15.2f, 0.03f) << "figure " << k;
        EXPECT_NEAR(s.paraders[k]->GetPosition().x, -1.15f - 2.0f * static_cast<float>(k), 0.01f);
    }
}

// The game flow as the scene host: competitors in turn order with their slots.
struct CompetitionHost : FakeHost {
    const PlayerRecord* records = nullptr;
    int count = 0;
    int slotOf[kPlayerCount] = {0, 1, 2, 3};
    bool computers = false;
    int events = 0;
    int32_t best[3] = {};
    int CompetitorCount() const override { return count; }
    int missing = -1; // the competitor whose record the host cannot give
    const PlayerRecord* Competitor(int k) const override {
        return k == missing || slotOf[k] < 0 || slotOf[k] >= kPlayerCount ? nullptr : &records[slotOf[k]];
    }
    int CompetitorSlot(int k) const override { return slotOf[k]; }
    bool WithComputers() const override { return computers; }
    int ScheduleCount() const override { return events; }
    int32_t* BestMedalHaul() override { return best; }
};

TEST_F(ClosingTest, TheFactoryTakesTheCompetitionFromTheSceneHost) {
    CaptureLogSink sink;
    SetLogSink(&sink);
    CompetitionHost host;
    host.records = players;
    host.count = 4;
    host.slotOf[0] = 2; // the human took slot 2; the computers hold the rest
    host.slotOf[1] = 0;
    host.slotOf[2] = 3;
    host.slotOf[3] = 1;
    host.computers = true;
    host.events = 15;
    for (int i = 0; i < kPlayerCount; ++i)
        players[i].computer = i == 2 ? 0 : 1;
    Medals(2, 4, 1, 0);
    Medals(0, 4, 1, 0);
    Medals(1, 1, 0, 0);
    SetSceneHost(&host);
    SportEvent* scene = CreateClosingCeremonies();
    auto* s = static_cast<ClosingCeremonies*>(scene);
    EXPECT_EQ(s->competitorCount, 4);
    EXPECT_EQ(s->ranking[0], 0) << "a tie with slot 0 puts slot 0 first";
    EXPECT_EQ(s->ranking[1], 2);
    EXPECT_EQ(s->ranking[2], 1);
    EXPECT_EQ(s->ranking[3], 3);
    EXPECT_STREQ(s->slots[2].nation.name, "SLOT2");
    EXPECT_EQ(host.best[0], 0) << "a computer won";
    ASSERT_FALSE(sink.Lines().empty());
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 2");
    delete scene;

    Medals(2, 5, 0, 0);
    scene = CreateClosingCeremonies();
    EXPECT_EQ(host.best[0], 5);
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 3");
    delete scene;
}

TEST_F(ClosingTest, AHostListWithARepeatedSlotOrAMissingRecordKeepsTheRest) {
    CompetitionHost host;
    host.records = players;
    host.count = 6;
    host.slotOf[0] = 1;
    host.slotOf[1] = 1;
    host.slotOf[2] = 9;
    host.slotOf[3] = 0;
    host.missing = 3;
    SetSceneHost(&host);
    SportEvent* scene = CreateClosingCeremonies();
    auto* s = static_cast<ClosingCeremonies*>(scene);
    ASSERT_EQ(s->competitorCount, 1);
    EXPECT_EQ(s->ranking[0], 1);
    EXPECT_STREQ(s->slots[1].nation.name, "SLOT1");
    for (int i = 0; i < 100; ++i)
        Step(*s);
    delete scene;
}

TEST_F(ClosingTest, BadCompetitorListsAreSkippedNotRead) {
    setup.competitorCount = 9;
    setup.order[0] = 3;
    setup.order[1] = 7;
    setup.order[2] = 3;
    setup.order[3] = -1;
    ClosingCeremonies s(setup);
    ASSERT_EQ(s.competitorCount, 1);
    EXPECT_EQ(s.ranking[0], 3);
    for (int i = 0; i < 300; ++i)
        Step(s);
    EXPECT_GT(s.paraders[0]->GetPosition().x, -1.0f);

    setup.competitorCount = 0;
    ClosingCeremonies empty(setup);
    for (int i = 0; i < 300; ++i)
        Step(empty);
    EXPECT_EQ(empty.competitorCount, 0);
}

TEST_F(ClosingTest, ANameWithoutItsTerminatorIsCutToTheNameField) {
    std::memset(players[1].nation.name, 'A', sizeof players[1].nation.name);
    ClosingCeremonies s(setup);
    EXPECT_EQ(std::strlen(s.slots[1].nation.name), static_cast<size_t>(kNationNameSize - 1));
    UseBlockFont();
    float c[4] = {};
    EXPECT_TRUE(NameColour(s, 1, c));
}

// ---- Rockets, fireworks and clapping ---------------------------------------------------------

TEST_F(ClosingTest, TheFirstRocketFliesAtFrameFiveWithTheSharedGeneratorsDraws) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 4);
    EXPECT_EQ(s.rocketFrames, 0);
    EXPECT_EQ(CountEffect(kSfxFwLaunch), 0);
    Lcg lcg{RandomState()};
    const float angle = lcg.Float(0.25f, 0.75f) * kPi;
    const float speed = lcg.Float(0.08f, 0.12f);
    Step(s);
    EXPECT_EQ(s.rocketFrames, 179) << "it flies in the frame it is launched";
    EXPECT_NEAR(s.rocketPos.x, 14.0f + speed * std::cos(angle), 1e-5f);
    EXPECT_NEAR(s.rocketPos.y, 7.8f - speed * std::sin(angle), 1e-5f);
    EXPECT_NEAR(s.rocketVel.y, -speed * std::sin(angle) + 0.001f, 1e-6f);
    const SoundCall* launch = LastEffect(kSfxFwLaunch);
    ASSERT_NE(launch, nullptr);
    EXPECT_EQ(launch->volume, 40);
}

TEST_F(ClosingTest, ARocketBurstsWhenItFallsAndTheEmittersTakeTurns) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 5);
    int frames = 0;
    while (s.rocketFrames > 0 && frames < 200) {
        Step(s);
        ++frames;
    }
    EXPECT_LT(frames, 179) << "it bursts as it begins to fall, before its time runs out";
    EXPECT_GT(s.rocketVel.y, 0.02f);
    const SoundCall* burst = LastEffect(kSfxFwExplode);
    ASSERT_NE(burst, nullptr);
    EXPECT_EQ(burst->volume, 100);
    EXPECT_EQ(burst->pan, s.SoundPan(s.rocketPos.x));
    EXPECT_FLOAT_EQ(s.fireworks[0].emitX, s.rocketPos.x);
    EXPECT_EQ(s.nextFirework, 1);
    Step(s);
    EXPECT_GT(s.fireworks[0].alive, 0);

    RunUntilTimer(s, 244);
    EXPECT_EQ(CountEffect(kSfxFwLaunch), 1);
    Step(s);
    EXPECT_EQ(CountEffect(kSfxFwLaunch), 2) << "every 240 frames";
    RunUntilTimer(s, 965 + 200);
    EXPECT_EQ(CountEffect(kSfxFwLaunch), 5);
    EXPECT_EQ(CountEffect(kSfxFwExplode), 5);
    EXPECT_EQ(s.nextFirework, 1) << "four emitters in turn";
}

TEST_F(ClosingTest, TheCrowdClapsOnceAtFrameSevenHundredTwenty) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 719);
    EXPECT_EQ(CountEffect(kSfxClapping), 0);
    Step(s);
    ASSERT_EQ(CountEffect(kSfxClapping), 1);
    RunUntilTimer(s, 1500);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
}

// ---- Falling balls ---------------------------------------------------------------------------

TEST_F(ClosingTest, BallsBeginAtFrame1110AndFollowEveryThirtyFrames) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 1109);
    EXPECT_EQ(BallCount(s), 0);
    Lcg lcg{RandomState()};
    const float x = lcg.Float(1.0f, 24.6f);
    Step(s);
    ASSERT_EQ(BallCount(s), 1);
    ASSERT_NE(s.fallingBalls[0], nullptr);
    EXPECT_NEAR(s.fallingBalls[0]->GetPosition().x, x, 1e-4f);
    EXPECT_LT(s.fallingBalls[0]->GetPosition().y, -0.9f);
    EXPECT_FLOAT_EQ(s.fallingBalls[0]->GetFixtureList()->GetShape()->m_radius, 0.6f);
    RunUntilTimer(s, 1139);
    EXPECT_EQ(BallCount(s), 1);
    Step(s);
    EXPECT_EQ(BallCount(s), 2);
}

TEST_F(ClosingTest, AFallenBallIsTakenBackBeforeANewOneIsMade) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 1140);
    ASSERT_EQ(BallCount(s), 2);
    b2Body* first = s.fallingBalls[0];
    // Knocked off the ground and below y = 20: the first slot that qualifies is reused.
    first->SetTransform(b2Vec2(30.0f, 30.0f), 1.0f);
    first->SetLinearVelocity(b2Vec2(3.0f, 9.0f));
    RunUntilTimer(s, 1169);
    Lcg lcg{RandomState()};
    const float x = lcg.Float(1.0f, 24.6f);
    Step(s);
    EXPECT_EQ(BallCount(s), 2);
    EXPECT_EQ(s.fallingBalls[0], first);
    EXPECT_NEAR(first->GetPosition().x, x, 1e-4f);
    EXPECT_LT(first->GetPosition().y, -0.9f);
    EXPECT_NEAR(first->GetAngle(), 0.0f, 1e-3f);
    EXPECT_LT(std::fabs(first->GetLinearVelocity().x), 1e-3f);
}

// ---- Parade ----------------------------------------------------------------------------------

TEST_F(ClosingTest, TheParadeWaitsUntilFrame241AndStopsNearCompetitorsPlusFourAndAHalf) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 241);
    EXPECT_NEAR(s.paraders[0]->GetPosition().x, -1.15f, 0.01f);
    EXPECT_NEAR(s.paraders[3]->GetPosition().x, -7.15f, 0.01f);
    RunUntilTimer(s, 779);
    const float leader = s.paraders[0]->GetPosition().x;
    EXPECT_GT(leader, 8.5f);
    EXPECT_LT(leader, 11.0f);
    for (int k = 1; k < 4; ++k)
        EXPECT_LT(s.paraders[k]->GetPosition().x, s.paraders[k - 1]->GetPosition().x) << "figure " << k;
}

TEST_F(ClosingTest, TheParadeResumesWhenTheLeaderIsDraggedBackInTime) {
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 700);
    s.paraders[0]->SetTransform(b2Vec2(-12.0f, s.paraders[0]->GetPosition().y), 0.0f);
    s.paraders[0]->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    RunUntilTimer(s, 760);
    EXPECT_GT(s.paraders[0]->GetPosition().x, -11.8f) << "pushed again";

    RunUntilTimer(s, 800);
    s.paraders[0]->SetTransform(b2Vec2(-12.0f, s.paraders[0]->GetPosition().y), 0.0f);
    s.paraders[0]->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    RunUntilTimer(s, 900);
    EXPECT_NEAR(s.paraders[0]->GetPosition().x, -12.0f, 0.05f) << "after frame 780 nobody pushes";
}

// ---- End button ------------------------------------------------------------------------------

TEST_F(ClosingTest, TheButtonAtTheBottomReports88AndGrabsNothing) {
    ClosingCeremonies s(setup);
    for (int i = 0; i < 30; ++i)
        Step(s);
    EXPECT_EQ(s.clickedButton, -1);
    MouseAt(512, 724);
    Press();
    Step(s);
    EXPECT_EQ(s.mouseJoint, nullptr);
    EXPECT_EQ(s.clickedButton, -1);
    Release();
    Step(s);
    EXPECT_EQ(s.clickedButton, kClosingEndButton);
    EXPECT_FALSE(s.finished) << "the scene never reports a result";
    EXPECT_EQ(CountEffect(kSfxTap1), 2);
}

// ---- Determinism -----------------------------------------------------------------------------

TEST_F(ClosingTest, AFixedRunWithAGrabGivesThePinnedWorldHash) {
    Medals(1, 2, 1, 0);
    Medals(3, 1, 0, 0);
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 400);
    // Lift the leader by its head and drop it.
    const b2Vec2 head = s.paraders[0]->GetWorldPoint(b2Vec2(0.0f, -1.0f));
    MouseAt(PxX(s, head.x), PxY(s, head.y));
    Press();
    Step(s);
    ASSERT_NE(s.mouseJoint, nullptr);
    for (int i = 0; i < 40; ++i) {
        MouseAt(PxX(s, head.x) + 60, PxY(s, head.y) - 120);
        gApp.mouseHeld = 1;
        Step(s);
    }
    Release();
    RunUntilTimer(s, 1500);
    EXPECT_EQ(WorldHashText(s.world), "8d9769e9a19a2b2a");
}

} // namespace
} // namespace kel::test
