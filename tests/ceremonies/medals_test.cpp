// The medal presentation frame by frame: podium, ties, faults, the board, the record, the host.
#include "ceremonies/medals.h"
#include "ceremonies/ceremony_test_support.h"
#include "app/scene_registry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace kel::test {
namespace {

struct FinishedEventHost : FakeHost {
    const PlayerRecord* records = nullptr;
    int count = 0;
    int slotOf[kPlayerCount] = {0, 1, 2, 3};
    RankedResult ranked[kPlayerCount];
    int CompetitorCount() const override { return count; }
    const PlayerRecord* Competitor(int k) const override { return &records[slotOf[k]]; }
    int CompetitorSlot(int k) const override { return slotOf[k]; }
    bool WithComputers() const override { return true; }
    int FinishedEvent() const override { return kEventSwimming; }
    bool EventStanding(int rank, RankedResult* out) const override {
        if (rank < 0 || rank >= count) return false;
        *out = ranked[rank];
        return true;
    }
    bool NewWorldRecord() const override { return true; }
};

class MedalsTest : public CeremonyTest {
  protected:
    void SetUp() override {
        CeremonyTest::SetUp();
        // Figure sprites of the opponent table: 20 px wide, 22 + (id - 128) px tall.
        for (int id = 128; id <= 150; ++id)
            SetSprite(id, 20.0f, 22.0f + static_cast<float>(id - 128), 10.0f, 11.0f);
        SetSprite(3, 60.0f, 30.0f, 0.0f, 0.0f);
        for (int id = 5; id <= 7; ++id)
            SetSprite(id, 8.0f, 8.0f, 4.0f, 4.0f);
        setup.players = players;
        setup.eventId = kEventJavelin; // higher is better
        setup.competitorCount = kPlayerCount;
        for (int i = 0; i < kPlayerCount; ++i) // 80, 70, 60, 50 for slots 0..3
            setup.standings[i] = RankedResult{i, 80.0f - 10.0f * static_cast<float>(i), false};
    }
    // Left and right edges of the HUD text (block font, scale 3) at y and left of toX, if any.
    bool HudText(MedalPresentation& s, float y, float* left = nullptr, float* right = nullptr,
                 float toX = 1e9f) {
        float lo = 1e9f, hi = -1e9f;
        for (const DrawnQuad& q : Drawn(s, true)) {
            if (q.top != y || q.bottom != y + 24.0f || q.right > toX) continue;
            lo = std::min(lo, q.left);
            hi = std::max(hi, q.right);
        }
        if (left != nullptr) *left = lo;
        if (right != nullptr) *right = hi;
        return lo <= hi;
    }
    static float RowY(int i) { return 96.0f + 72.0f * static_cast<float>(i) + 16.0f; }
    int RowsShown(MedalPresentation& s) {
        int rows = 0;
        for (int i = 0; i < 4; ++i)
            rows += HudText(s, RowY(i));
        return rows;
    }
    bool ContinueShown(MedalPresentation& s) {
        MarkSprites({78});
        return Drew(s, 78, true);
    }
    MedalPresentation* FromHost(FinishedEventHost& host) {
        host.records = players;
        SetSceneHost(&host);
        scene.reset(CreateSceneById(kSceneMedals));
        return static_cast<MedalPresentation*>(scene.get());
    }
    MedalSetup setup;
    std::unique_ptr<SportEvent> scene;
};

// A figure whose sprite has no size still gets a body, 2.5 m tall.
TEST_F(MedalsTest, TheCameraSinksIn34FramesAndTheWinnersStandOnTheirSteps) {
    players[0].opponentIndex = 5;  // sprite 136: 30 px tall
    players[1].opponentIndex = 0;  // sprite 128, here without a size
    players[2].opponentIndex = 13; // sprite 149: 43 px
    SetSprite(128, 0.0f, 0.0f, 0.0f, 0.0f);
    MedalPresentation s(setup);
    ExpectLoopingMusic("MedalPresentation.mp3");
    EXPECT_FLOAT_EQ(s.cameraY, -8.0f);
    Steps(s, 33);
    EXPECT_FLOAT_EQ(s.cameraY, 0.25f);
    Step(s);
    EXPECT_FLOAT_EQ(s.cameraY, 0.4f);
    RunUntilTimer(s, 60);
    EXPECT_FLOAT_EQ(s.cameraY, 0.4f);
    const float heights[3] = {3.0f, 2.5f, 4.3f}, stepTops[3] = {4.0f, 4.4f, 4.8f};
    for (int k = 0; k < 3; ++k) {
        ASSERT_NE(s.figures[k], nullptr);
        EXPECT_NEAR(s.figures[k]->GetPosition().y + heights[k] / 2.0f, stepTops[k], 0.03f) << k;
        EXPECT_NEAR(s.figures[k]->GetPosition().x, k == 0 ? 0.0f : k == 1 ? -2.3f : 2.3f, 0.01f) << k;
    }
}

TEST_F(MedalsTest, OnlyTheTintableFiguresWearThePlayersColour) {
    const int rows[3] = {9, 2, 13}, sprites[3] = {142, 132, 149}; // 132 is drawn as it is
    for (int i = 0; i < 3; ++i) {
        players[i].opponentIndex = rows[i];
        players[i].colour = 0xFF3366CCu; // R 0xCC, G 0x66, B 0x33
    }
    MarkSprites({142, 132, 149});
    MedalPresentation s(setup);
    gApp.frameCounter = 20; // the winner shows its first frame
    const std::vector<DrawnQuad> quads = Drawn(s);
    for (int i = 0; i < 3; ++i) {
        const auto q = std::find_if(quads.begin(), quads.end(), [&](const DrawnQuad& d) {
            return d.u == static_cast<float>(sprites[i]) / 1000.0f;
        });
        ASSERT_NE(q, quads.end()) << sprites[i];
        const float want[3] = {0.8f, 0.4f, 0.2f};
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(q->colour[c], i == 1 ? 1.0f : want[c], 1e-3f) << sprites[i];
    }
}

TEST_F(MedalsTest, EqualResultsShareTheBetterMedal) {
    const struct {
        float r[3];
        int32_t want[3];
    } cases[] = {{{80.0f, 70.0f, 60.0f}, {0, 1, 2}},
                 {{80.0f, 80.0f, 60.0f}, {0, 0, 1}},
                 {{80.0f, 70.0f, 70.0f}, {0, 1, 1}},
                 {{80.0f, 80.0f, 80.0f}, {0, 0, 0}}};
    MarkSprites({5, 6, 7});
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        for (int k = 0; k < 3; ++k)
            setup.standings[k].result = c.r[k];
        MedalPresentation s(setup);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(s.medals[k], c.want[k]) << "place " << k + 1;
            // Each figure wears its medal's sprite (gold 5, silver 6, bronze 7).
            EXPECT_EQ(Drew(s, 5 + k), std::count(c.want, c.want + 3, k) > 0) << "medal " << k;
        }
    }
}

TEST_F(MedalsTest, AFaultedEntryGetsNoFigureButABoardRowSayingDnqAndWithoutQualifiersNoPodiumNorMusic) {
    setup.standings[2].fault = setup.standings[3].fault = true;
    UseBlockFont();
    MedalPresentation s(setup);
    EXPECT_NE(s.figures[1], nullptr);
    EXPECT_EQ(s.figures[2], nullptr);
    EXPECT_EQ(s.medals[2], -1);
    RunUntilTimer(s, 150);
    ASSERT_EQ(RowsShown(s), 4);
    float left = 0.0f, right = 0.0f;
    ASSERT_TRUE(HudText(s, RowY(2), &left, &right, 470.0f));
    EXPECT_FLOAT_EQ(right, 408.0f) << "results are right-aligned";
    EXPECT_FLOAT_EQ(left, 408.0f - 3.0f * 24.0f) << "three letters: DNQ";
    setup.standings[0].fault = setup.standings[1].fault = true;
    setup.standings[3].fault = false; // one qualified, even if last
    MarkSprites({3});
    MedalPresentation last(setup);
    EXPECT_FALSE(last.nobodyQualified);
    EXPECT_TRUE(Drew(last, 3));
    setup.standings[3].fault = true;
    sounds.clear();
    MedalPresentation t(setup);
    EXPECT_TRUE(t.nobodyQualified);
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
    EXPECT_FALSE(Drew(t, 3));
    for (const b2Body* f : t.figures)
        EXPECT_EQ(f, nullptr);
    setup.competitorCount = 0;
    sounds.clear();
    MedalPresentation none(setup);
    EXPECT_TRUE(none.nobodyQualified) << "no competitors";
    EXPECT_EQ(FindCall(SoundCall::kMusic), -1);
    RunUntilTimer(none, 40);
    EXPECT_TRUE(ContinueShown(none));
}

TEST_F(MedalsTest, TheBoardRevealsOneRowEvery30FramesOrAllOnAReleaseThenTheContinueButtonReportsItsClick) {
    UseBlockFont();
    MedalPresentation s(setup);
    int shownAt[5] = {-1, -1, -1, -1, -1};
    int buttonAt = -1;
    for (int f = 0; f < 200; ++f) {
        Step(s);
        const int rows = RowsShown(s);
        if (shownAt[rows] < 0) shownAt[rows] = s.timer;
        if (buttonAt < 0 && ContinueShown(s)) buttonAt = s.timer;
    }
    const int want[5] = {1, 30, 60, 90, 120};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(shownAt[r], want[r]) << r << " rows";
    EXPECT_EQ(buttonAt, 151) << "after the timer exceeds 30 (n + 1)";
    MedalPresentation t(setup);
    RunUntilTimer(t, 40);
    EXPECT_EQ(RowsShown(t), 1);
    EXPECT_FALSE(ContinueShown(t));
    MouseAt(900, 700);
    Release();
    Step(t);
    EXPECT_EQ(t.timer, 41 + 150);
    EXPECT_EQ(RowsShown(t), 4);
    EXPECT_TRUE(ContinueShown(t));
    Release(); // a later release changes nothing
    Step(t);
    EXPECT_EQ(t.timer, 192);
    EXPECT_EQ(t.clickedButton, -1);
    ClickBottomButton(t);
    EXPECT_EQ(CountEffect(kSfxTap1), 2) << "a tap on the press and one on the release";
    EXPECT_EQ(t.clickedButton, kContinueButtonCompetition);
}

// The twinkle comes at frame 30, not when the board was revealed earlier.
TEST_F(MedalsTest, ARecordTwinklesAtFrame30AndBlinksOnTheWinnersRow) {
    UseBlockFont();
    MedalPresentation none(setup);
    RunUntilTimer(none, 200);
    gApp.frameCounter = 0;
    EXPECT_FALSE(HudText(none, 96.0f + 3.0f)) << "no record line";
    setup.newRecord = true;
    MedalPresentation revealed(setup);
    RunUntilTimer(revealed, 10);
    Release();
    Step(revealed);
    RunUntilTimer(revealed, 400);
    EXPECT_EQ(CountEffect(kSfxTwinkle), 0);
    MedalPresentation s(setup);
    RunUntilTimer(s, 29);
    EXPECT_EQ(CountEffect(kSfxTwinkle), 0);
    Step(s);
    ASSERT_EQ(CountEffect(kSfxTwinkle), 1);
    EXPECT_EQ(LastEffect(kSfxTwinkle)->volume, 100);
    EXPECT_EQ(LastEffect(kSfxTwinkle)->pan, -30);
    RunUntilTimer(s, 300);
    EXPECT_EQ(CountEffect(kSfxTwinkle), 1);
    float left = 0.0f;
    gApp.frameCounter = 17;
    ASSERT_TRUE(HudText(s, 96.0f + 3.0f, &left));
    EXPECT_FLOAT_EQ(left, 16.0f);
    EXPECT_TRUE(HudText(s, 96.0f + 3.0f + 24.0f)) << "RECORD on the second line";
    gApp.frameCounter = 18;
    EXPECT_FALSE(HudText(s, 96.0f + 3.0f));
}

TEST_F(MedalsTest, TheFactoryReadsTheFinishedEventFromTheHostAndDropsAStandingOfAnUnknownSlot) {
    FinishedEventHost host;
    host.count = 3;
    const int slots[3] = {2, 0, 3};
    std::copy(slots, slots + 3, host.slotOf);
    host.ranked[0] = {3, 1200.0f, false};
    host.ranked[1] = {2, 1300.0f, false};
    host.ranked[2] = {0, 0.0f, true};
    players[3].opponentIndex = 6;
    MedalPresentation* s = FromHost(host);
    EXPECT_EQ(s->finishedEvent, kEventSwimming);
    EXPECT_EQ(s->competitorCount, 3);
    EXPECT_TRUE(s->newRecord);
    EXPECT_TRUE(s->withComputers);
    EXPECT_EQ(s->standings[0].slot, 3);
    EXPECT_STREQ(s->slots[3].nation.name, "SLOT3");
    EXPECT_EQ(s->slots[3].opponentIndex, 6);
    EXPECT_NE(s->figures[1], nullptr);
    EXPECT_EQ(s->figures[2], nullptr);
    EXPECT_EQ(s->medals[1], 1);
    host.count = 2;
    host.slotOf[0] = 0;
    host.slotOf[1] = 1;
    host.ranked[0] = {7, 10.0f, false};
    host.ranked[1] = {1, 20.0f, false};
    sink.Clear();
    s = FromHost(host);
    EXPECT_EQ(s->competitorCount, 1);
    EXPECT_EQ(s->standings[0].slot, 1);
    EXPECT_NE(s->figures[0], nullptr);
    ASSERT_FALSE(sink.Lines().empty());
    EXPECT_EQ(sink.Lines().front(), "Medals: standing 0 names slot 7, skipped");
    Steps(*s, 100);
}

TEST_F(MedalsTest, BadSetupValuesAreClampedAndLogged) {
    setup.eventId = 42;
    setup.competitorCount = 9;
    players[1].opponentIndex = 99;
    players[2].nation.name[kNationNameSize - 1] = 'X';
    setup.standings[1].result = std::numeric_limits<float>::quiet_NaN();
    setup.standings[3].slot = -2;
    MedalPresentation s(setup);
    EXPECT_EQ(s.finishedEvent, kEventDash);
    EXPECT_EQ(s.competitorCount, 4);
    EXPECT_EQ(s.slots[1].opponentIndex, 0);
    EXPECT_EQ(s.slots[2].nation.name[kNationNameSize - 1], '\0');
    EXPECT_TRUE(s.standings[1].fault);
    EXPECT_EQ(s.figures[1], nullptr);
    EXPECT_TRUE(s.standings[3].fault);
    EXPECT_EQ(s.standings[3].slot, 0);
    EXPECT_GE(sink.Lines().size(), 5u);
    UseBlockFont();
    RunUntilTimer(s, 200);
    EXPECT_EQ(RowsShown(s), 4);
}

// Lift the winner by its head and throw it onto the second step.
TEST_F(MedalsTest, AFixedRunWithAGrabGivesThePinnedWorldHash) {
    MedalPresentation s(setup);
    RunUntilTimer(s, 60);
    EXPECT_TRUE(Fling(s, s.figures[0], -80, -100, 40));
    RunUntilTimer(s, 600);
    EXPECT_GT(std::fabs(s.figures[0]->GetPosition().x), 0.5f) << "the throw moved the winner";
    EXPECT_EQ(WorldHashText(s.world), "cd8f7d5fc98465e2");
}

} // namespace
} // namespace kel::test
