// The closing ceremonies frame by frame: ranking, medal table, best haul, cues, parade, end button.
#include "ceremonies/closing.h"
#include "ceremonies/ceremony_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace kel::test {
namespace {

struct CompetitionHost : FakeHost {
    const PlayerRecord* records = nullptr;
    int count = 4;
    int slotOf[kPlayerCount] = {0, 1, 2, 3};
    int missing = -1; // the competitor whose record the host cannot give
    bool computers = false;
    int events = 0;
    int32_t best[3] = {};
    int CompetitorCount() const override { return count; }
    const PlayerRecord* Competitor(int k) const override {
        return k == missing || slotOf[k] < 0 || slotOf[k] >= kPlayerCount ? nullptr : &records[slotOf[k]];
    }
    int CompetitorSlot(int k) const override { return slotOf[k]; }
    bool WithComputers() const override { return computers; }
    int ScheduleCount() const override { return events; }
    int32_t* BestMedalHaul() override { return best; }
};

class ClosingTest : public CeremonyTest {
  protected:
    void SetUp() override {
        CeremonyTest::SetUp();
        setup.players = players;
        setup.competitorCount = kPlayerCount;
        host.records = players;
        SetSceneHost(&host); // read by the factory alone
    }
    void Medals(int slot, int gold, int silver, int bronze) {
        players[slot].gold = gold;
        players[slot].silver = silver;
        players[slot].bronze = bronze;
    }
    void HumanInSlot(int human) {
        for (int i = 0; i < kPlayerCount; ++i)
            players[i].computer = i != human;
        setup.withComputers = true;
    }
    static int BallCount(const ClosingCeremonies& s) {
        return static_cast<int>(std::count_if(std::begin(s.fallingBalls), std::end(s.fallingBalls),
                                              [](const b2Body* b) { return b != nullptr; }));
    }
    // The colour of the medal-table name of row r (block font: opaque quads on the row's text
    // line, left of the name column's right edge; a light name's shadow is translucent).
    bool NameColour(ClosingCeremonies& s, int r, Colour* out) {
        const float y = 11.0f + 1.1f * static_cast<float>(r);
        for (const DrawnQuad& q : Drawn(s)) {
            if (q.colour[3] < 1.0f || q.top < y - 1e-4f || q.top >= y + 0.5f || q.left <= 0.5f ||
                q.right > 16.7f + 1e-4f)
                continue;
            *out = 0xFF000000u;
            for (int i = 0; i < 3; ++i)
                *out |= static_cast<Colour>(std::lround(q.colour[i] * 255.0f)) << (8 * i);
            return true;
        }
        return false;
    }
    // Whether the world drawing fills the rectangle (x0, y0)-(x1, y1), world metres.
    bool DrewRect(ClosingCeremonies& s, float x0, float y0, float x1, float y1) {
        const auto near = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
        for (const DrawnQuad& q : Drawn(s))
            if (near(q.left, x0) && near(q.top, y0) && near(q.right, x1) && near(q.bottom, y1)) return true;
        return false;
    }
    ClosingSetup setup;
    CompetitionHost host;
};

TEST_F(ClosingTest, RanksByGoldThenSilverThenBronzeThenLowerSlot) {
    Medals(0, 1, 0, 5);
    Medals(1, 2, 0, 0);
    Medals(2, 1, 1, 0);
    Medals(3, 1, 0, 5);
    ClosingCeremonies s(setup);
    ASSERT_EQ(s.competitorCount, 4);
    const int want[4] = {1, 2, 0, 3}; // slots 0 and 3 tie: the lower slot first
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(s.ranking[k], want[k]) << k;
    setup.order[0] = 2; // only the competitors count, in turn order: slot 1 did not compete
    setup.order[1] = 0;
    setup.competitorCount = 2;
    Medals(1, 9, 9, 9);
    ClosingCeremonies two(setup);
    ASSERT_EQ(two.competitorCount, 2);
    EXPECT_EQ(two.ranking[0], 2);
    EXPECT_EQ(two.ranking[1], 0);
    EXPECT_EQ(two.paraders[2], nullptr);
}

// Slot 1's name, without its terminator, is cut to the name field before it is printed.
TEST_F(ClosingTest, EqualTalliesShareANameColourTheNextTallyMovesOnAndAHumanNameHops) {
    Medals(0, 2, 0, 0);
    Medals(1, 1, 0, 0);
    Medals(2, 1, 0, 0);
    std::memset(players[1].nation.name, 'A', sizeof players[1].nation.name);
    UseBlockFont();
    ClosingCeremonies s(setup);
    EXPECT_EQ(std::strlen(s.slots[1].nation.name), static_cast<size_t>(kNationNameSize - 1));
    const Colour want[4] = {0xFF18FFFFu, 0xFFFFFFE2u, 0xFFFFFFE2u, 0xFF0EB3EDu}; // rows 1 and 2 tie
    for (int r = 0; r < 4; ++r) {
        Colour c = 0;
        ASSERT_TRUE(NameColour(s, r, &c)) << "row " << r;
        EXPECT_EQ(c, want[r]) << "row " << r;
    }
    HumanInSlot(0); // a human's name hops only in a competition with computers
    ClosingCeremonies h(setup);
    Colour c = 0;
    gApp.frameCounter = 25; // second half of the 40-frame hop: on the line
    EXPECT_TRUE(NameColour(h, 0, &c));
    gApp.frameCounter = 5; // first half: 0.1 m up
    EXPECT_FALSE(NameColour(h, 0, &c));
    EXPECT_TRUE(NameColour(h, 1, &c)) << "a computer's name stays on its line";
    EXPECT_TRUE(NameColour(s, 0, &c)) << "no hop among humans";
}

TEST_F(ClosingTest, FlagPolesStandOnTheFiguresAsTallAsTheirRankAndEachTableRowIsABand) {
    Medals(3, 1, 0, 0);
    ClosingCeremonies s(setup);
    Steps(s, 120);
    const float heights[4] = {10.2f, 7.8f, 5.4f, 3.0f};
    for (int k = 0; k < 4; ++k) {
        const b2Vec2 foot = s.paraders[k]->GetWorldPoint(b2Vec2(0.95f, -0.6f));
        EXPECT_TRUE(DrewRect(s, foot.x, foot.y - heights[k], foot.x + 0.2f, foot.y)) << "rank " << k;
    }
    for (float y = 11.0f; y < 16.0f; y += 1.1f) // five table rows, each a band
        EXPECT_TRUE(DrewRect(s, 0.0f, y - 0.2f, 25.6f, y + 1.0f)) << "row at " << y;
}

// The best haul {3, 1, 0} is raised only by a human winning against computers with more.
TEST_F(ClosingTest, TheBestHaulRisesOnlyForAHigherHaulOfAHumanWinnerAgainstComputers) {
    const struct {
        int human[3], rival[3];
        bool computers;
        int32_t want[3];
    } cases[] = {
        {{3, 1, 1}, {2, 5, 5}, true, {3, 1, 1}},
        {{3, 2, 0}, {2, 5, 5}, true, {3, 2, 0}},  // silver decides before bronze
        {{3, 0, 9}, {2, 5, 5}, true, {3, 1, 0}},  // lower
        {{1, 0, 0}, {9, 0, 0}, true, {3, 1, 0}},  // a computer won
        {{9, 9, 9}, {0, 0, 0}, false, {3, 1, 0}}, // players alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        int32_t best[3] = {3, 1, 0};
        Medals(0, c.human[0], c.human[1], c.human[2]);
        Medals(2, c.rival[0], c.rival[1], c.rival[2]);
        for (int i = 1; i < kPlayerCount; ++i)
            players[i].computer = c.computers;
        setup.withComputers = c.computers;
        setup.bestMedalHaul = best;
        { ClosingCeremonies s(setup); }
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(best[k], c.want[k]) << "medal " << k;
    }
}

// The analytics line names the best human's place (3 for gold, 0 off the podium) after 15 events.
TEST_F(ClosingTest, TheFactoryTakesTheCompetitionFromTheSceneHostAndLogsTheOlympicPlace) {
    const int slots[4] = {2, 0, 3, 1}; // the human took slot 2; the computers hold the rest
    std::copy(slots, slots + 4, host.slotOf);
    host.computers = true;
    host.events = 14;
    HumanInSlot(2);
    Medals(2, 4, 1, 0);
    Medals(0, 4, 1, 0);
    Medals(1, 1, 0, 0);
    std::unique_ptr<SportEvent> scene(CreateClosingCeremonies());
    for (const std::string& line : sink.Lines())
        EXPECT_EQ(line.find("olympic place"), std::string::npos) << line;
    host.events = 15;
    scene.reset(CreateClosingCeremonies());
    auto* s = static_cast<ClosingCeremonies*>(scene.get());
    EXPECT_EQ(s->competitorCount, 4);
    const int want[4] = {0, 2, 1, 3}; // a tie with slot 0 puts slot 0 first
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(s->ranking[k], want[k]) << k;
    EXPECT_STREQ(s->slots[2].nation.name, "SLOT2");
    EXPECT_EQ(host.best[0], 0) << "a computer won";
    ASSERT_FALSE(sink.Lines().empty());
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 2");
    Medals(2, 5, 0, 0);
    scene.reset(CreateClosingCeremonies());
    EXPECT_EQ(host.best[0], 5);
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 3");
    Medals(2, 0, 0, 0);
    Medals(3, 0, 0, 1);
    scene.reset(CreateClosingCeremonies());
    EXPECT_EQ(sink.Lines().back(), "Flurry:  olympic place 0");
}

// A slot named twice keeps its first record; slots out of range and missing records are skipped.
TEST_F(ClosingTest, BadCompetitorListsAreSkippedNotRead) {
    host.count = 6;
    const int slots[4] = {1, 1, 9, 0};
    std::copy(slots, slots + 4, host.slotOf);
    host.missing = 3;
    std::unique_ptr<SportEvent> scene(CreateClosingCeremonies());
    auto* s = static_cast<ClosingCeremonies*>(scene.get());
    ASSERT_EQ(s->competitorCount, 1);
    EXPECT_EQ(s->ranking[0], 1);
    EXPECT_STREQ(s->slots[1].nation.name, "SLOT1");
    Steps(*s, 100);
    setup.competitorCount = 9;
    const int order[4] = {3, 7, 3, -1};
    std::copy(order, order + 4, setup.order);
    ClosingCeremonies t(setup);
    ASSERT_EQ(t.competitorCount, 1);
    EXPECT_EQ(t.ranking[0], 3);
    Steps(t, 300);
    EXPECT_GT(t.paraders[0]->GetPosition().x, -1.0f);
    setup.competitorCount = 0;
    ClosingCeremonies empty(setup);
    Steps(empty, 300);
    EXPECT_EQ(empty.competitorCount, 0);
}

TEST_F(ClosingTest, EachCueComesOnItsFrameAndTheFirstRocketBurstsAsItFalls) {
    ClosingCeremonies s(setup);
    const std::function<int()> launches = [&] { return CountEffect(kSfxFwLaunch); };
    const std::function<int()> balls = [&] { return BallCount(s); };
    const struct {
        const char* what;
        int frame;
        std::function<int()> count;
        int before;
    } cues[] = {
        {"first rocket", 5, launches, 0},
        {"rockets every 240 frames", 245, launches, 1},
        {"clapping", 720, [&] { return CountEffect(kSfxClapping); }, 0},
        {"first ball", 1110, balls, 0},
        {"balls every 30 frames", 1140, balls, 1},
    };
    for (const auto& c : cues) {
        SCOPED_TRACE(c.what);
        RunUntilTimer(s, c.frame - 1);
        EXPECT_EQ(c.count(), c.before);
        Step(s);
        EXPECT_EQ(c.count(), c.before + 1);
        if (c.frame != 5) continue;
        // The first rocket flies in its launch frame and bursts as it begins to fall.
        EXPECT_EQ(s.rocketFrames, 179) << "it flies in the frame it is launched";
        EXPECT_LT(s.rocketPos.y, 7.8f);
        ASSERT_NE(LastEffect(kSfxFwLaunch), nullptr);
        EXPECT_EQ(LastEffect(kSfxFwLaunch)->volume, 40);
        int frames = 0;
        for (; s.rocketFrames > 0 && frames < 200; ++frames)
            Step(s);
        EXPECT_LT(frames, 179) << "it bursts as it begins to fall, before its time runs out";
        EXPECT_GT(s.rocketVel.y, 0.02f);
        ASSERT_NE(LastEffect(kSfxFwExplode), nullptr);
        EXPECT_EQ(LastEffect(kSfxFwExplode)->volume, 100);
        EXPECT_FLOAT_EQ(s.fireworks[0].emitX, s.rocketPos.x);
        EXPECT_EQ(s.nextFirework, 1);
        Step(s);
        EXPECT_GT(s.fireworks[0].alive, 0);
    }
    RunUntilTimer(s, 965 + 200);
    EXPECT_EQ(CountEffect(kSfxFwLaunch), 5);
    EXPECT_EQ(CountEffect(kSfxFwExplode), 5);
    EXPECT_EQ(s.nextFirework, 1) << "four emitters in turn";
    RunUntilTimer(s, 1500);
    EXPECT_EQ(CountEffect(kSfxClapping), 1) << "once";
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

TEST_F(ClosingTest, TheFiguresStandInLineUntilFrame241ThenParadeToCompetitorsPlusFourAndAHalf) {
    ClosingCeremonies s(setup);
    ExpectLoopingMusic("ClosingCeremonies.mp3");
    RunUntilTimer(s, 241);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(s.paraders[k]->GetPosition().y + 1.25f, 15.2f, 0.03f) << "figure " << k;
        EXPECT_NEAR(s.paraders[k]->GetPosition().x, -1.15f - 2.0f * static_cast<float>(k), 0.01f);
    }
    RunUntilTimer(s, 779);
    const float leader = s.paraders[0]->GetPosition().x;
    EXPECT_GT(leader, 8.5f);
    EXPECT_LT(leader, 11.0f);
    for (int k = 1; k < 4; ++k)
        EXPECT_LT(s.paraders[k]->GetPosition().x, s.paraders[k - 1]->GetPosition().x) << "figure " << k;
}

TEST_F(ClosingTest, TheParadeResumesWhenTheLeaderIsDraggedBackInTime) {
    ClosingCeremonies s(setup);
    const struct {
        int at, until;
        bool pushed;
    } drags[] = {{700, 760, true}, {800, 900, false}}; // after frame 780 nobody pushes
    for (const auto& d : drags) {
        RunUntilTimer(s, d.at);
        s.paraders[0]->SetTransform(b2Vec2(-12.0f, s.paraders[0]->GetPosition().y), 0.0f);
        s.paraders[0]->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        RunUntilTimer(s, d.until);
        const float x = s.paraders[0]->GetPosition().x;
        EXPECT_TRUE(d.pushed ? x > -11.8f : std::fabs(x + 12.0f) < 0.05f)
            << "dragged back at " << d.at << ": " << x;
    }
}

TEST_F(ClosingTest, TheButtonAtTheBottomReports88OnReleaseAndGrabsNothing) {
    ClosingCeremonies s(setup);
    Steps(s, 30);
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

TEST_F(ClosingTest, AFixedRunWithAGrabGivesThePinnedWorldHash) {
    Medals(1, 2, 1, 0);
    Medals(3, 1, 0, 0);
    ClosingCeremonies s(setup);
    RunUntilTimer(s, 400);
    EXPECT_TRUE(Fling(s, s.paraders[0], 60, -120, 40)) << "the leader lifted by its head";
    RunUntilTimer(s, 1500);
    EXPECT_EQ(WorldHashText(s.world), "8d9769e9a19a2b2a");
}

} // namespace
} // namespace kel::test
