// The game flow: practice attempts and their analytics lines, competitions from the opening to
// the closing ceremonies with computer opponents, standings, ties and medals, world records kept
// in records.rec, leaving with Escape, saving on quit and the developer keys.
//
// Sections: fixture; standings and medals; practice; competitions; records and saving; keys.
#include "app/game_session.h"

#include "app/input_script.h"
#include "base/random.h"
#include "app/menu_screen.h"
#include "app/pause_screen.h"
#include "ceremonies/credits.h"
#include "app/scene_registry.h"
#include "events/event_test_support.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/records.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace kel::test {
namespace {

// ---- Fixture ---------------------------------------------------------------------------------

class GameSessionTest : public EventTest {
  protected:
    void SetUp() override {
        EventTest::SetUp();
        char pattern[] = "/tmp/kelvaro_session_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        path = dir + "/records.rec";
        gApp.quitRequested = 0;
        SetLogSink(&log);
    }
    void TearDown() override {
        session.reset();
        SetLogSink(nullptr);
        std::remove(path.c_str());
        rmdir(dir.c_str());
        gApp.quitRequested = 0;
        gApp.showButtons = gApp.showText = gApp.showBars = 1;
        EventTest::TearDown();
    }

    GameSession& Open() {
        session = std::make_unique<GameSession>(path.c_str());
        return *session;
    }
    // A competition of the dash alone, whose results the checks are written for, however many
    // other events are built.
    GameSession& OpenDashOnly() {
        Open();
        for (int e = 0; e < kEventCount; ++e)
            session->events[e].included = e == kEventDash;
        return *session;
    }

    // One game frame as the shell runs it: update, draw, then the one-frame input is cleared.
    void Step() {
        session->Update();
        session->Draw();
        FlushBatch();
        ClearFrameInput();
    }
    void PressKey(int key) {
        gApp.keyPressed[key] = 1;
        session->Update();
        ClearFrameInput();
    }

    // These competitions are about the game flow, whichever events are built: the dash alone
    // takes part (the opening ceremonies come first, so the schedule is still unplayed).
    static void DashOnly(GameSession& s) {
        s.scheduleCount = 1;
        s.schedule[0] = kEventDash;
    }

    // The current event scene decides its attempt and its continue button is clicked.
    void FinishAttempt(float result, bool fault = false) {
        SportEvent* scene = session->scene;
        ASSERT_NE(scene, nullptr);
        scene->result = result;
        scene->fault = fault;
        scene->finished = true;
        scene->clickedButton = session->competition ? kContinueButtonCompetition : kContinueButton;
        session->Update();
    }

    std::vector<std::string> Analytics() const {
        std::vector<std::string> out;
        for (const std::string& line : log.Lines())
            if (line.rfind("Flurry:", 0) == 0) out.push_back(line);
        return out;
    }

    std::string dir;
    std::string path;
    CaptureLogSink log;
    std::unique_ptr<GameSession> session;
};

RankedResult Row(int slot, float result, bool fault = false) {
    RankedResult r;
    r.slot = slot;
    r.result = result;
    r.fault = fault;
    return r;
}

// ---- Standings and medals --------------------------------------------------------------------

TEST(Standings, SortOrderTiesAndFaults) {
    struct Case {
        int eventId;
        RankedResult rows[4];
        int wantSlots[4];
    };
    const Case cases[] = {
        {kEventDash, {Row(0, 500.0f), Row(1, 400.0f), Row(2, 600.0f), Row(3, 450.0f)}, {1, 3, 0, 2}},
        {kEventJavelin, {Row(0, 50.0f), Row(1, 40.0f), Row(2, 60.0f), Row(3, 45.0f)}, {2, 0, 3, 1}},
        // Equal results rank the lower slot first; faults go last in entry order.
        {kEventDash, {Row(3, 10.0f, true), Row(2, 400.0f), Row(1, 5.0f, true), Row(0, 400.0f)}, {0, 2, 3, 1}},
    };
    for (Case c : cases) {
        SortStandings(c.rows, 4, c.eventId);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.rows[i].slot, c.wantSlots[i]) << "event " << c.eventId << " rank " << i;
    }
}

TEST(Standings, EqualResultsShareAMedalAtEveryPlaceAndFaultsGetNone) {
    struct Case {
        RankedResult rows[4];
        int count;
        int want[4];
    };
    const Case cases[] = {
        {{Row(0, 400.0f), Row(1, 400.0f), Row(2, 500.0f), Row(3, 600.0f)}, 4, {0, 0, 1, -1}},
        {{Row(0, 300.0f), Row(1, 400.0f), Row(2, 400.0f)}, 3, {0, 1, 1, -1}},
        {{Row(0, 300.0f), Row(1, 400.0f), Row(2, 500.0f)}, 3, {0, 1, 2, -1}},
        {{Row(0, 300.0f), Row(1, 0.0f, true), Row(2, 0.0f, true)}, 3, {0, -1, -1, -1}},
        {{Row(0, 300.0f, true)}, 1, {-1, -1, -1, -1}},
        // A fourth equal to the third shares its bronze; one just behind gets nothing.
        {{Row(0, 300.0f), Row(1, 400.0f), Row(2, 500.0f), Row(3, 500.0f)}, 4, {0, 1, 2, 2}},
        {{Row(0, 300.0f), Row(1, 400.0f), Row(2, 500.0f), Row(3, 500.01f)}, 4, {0, 1, 2, -1}},
    };
    for (const Case& c : cases) {
        int medals[kPlayerCount] = {-1, -1, -1, -1};
        MedalsByRank(c.rows, c.count, medals);
        for (int i = 0; i < c.count; ++i)
            EXPECT_EQ(medals[i], c.want[i]) << "case " << (&c - cases) << " rank " << i;
    }
}

// ---- Practice --------------------------------------------------------------------------------

TEST_F(GameSessionTest, StartsOnTheMenuWithSlotZeroActiveAndShotPutAndLongJumpLeftOut) {
    GameSession& s = Open();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(CurrentSceneHost(), &s);
    EXPECT_EQ(s.players[0].active, 1);
    EXPECT_EQ(s.players[1].active + s.players[2].active + s.players[3].active, 0);
    for (int e = 0; e < kEventCount; ++e)
        EXPECT_EQ(s.events[e].included, e != kEventShotPut && e != kEventLongJump) << e;
}

TEST_F(GameSessionTest, ATileOpensTheCardAndPlayStartsAPracticeAttempt) {
    GameSession& s = Open();
    s.menu->clickedButton = kButtonFirstTile + kEventDash;
    s.Update();
    ASSERT_EQ(s.state, kStateEventCardOpen);
    EXPECT_EQ(s.eventCard.eventId, kEventDash);
    EXPECT_TRUE(s.PanelOpen());

    s.eventCard.clickedId = kCardPlayButton;
    s.Update();
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kEventDash);
    ASSERT_NE(s.scene, nullptr);
    EXPECT_EQ(s.scene->player, &s.players[0]);
    EXPECT_FALSE(s.scene->competition);
}

TEST_F(GameSessionTest, AnUnbuiltEventsTileKeepsItsCardClosed) {
    GameSession& s = Open();
    int unbuilt = 0;
    while (unbuilt < kEventCount && SceneBuilt(unbuilt))
        ++unbuilt;
    if (unbuilt == kEventCount) GTEST_SKIP() << "every event is built";
    s.menu->clickedButton = kButtonFirstTile + unbuilt;
    s.Update();
    EXPECT_EQ(s.state, kStateMenu);
}

TEST_F(GameSessionTest, TheLevelInTheAnalyticsLineFollowsTheMarks) {
    GameSession& s = Open();
    s.CreateScene(kEventDash);
    FinishAttempt(400.0f);
    FinishAttempt(1000.0f);
    FinishAttempt(300.0f, true);
    const std::vector<std::string> lines = Analytics();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Flurry:  100m Dash  3");
    EXPECT_EQ(lines[1], "Flurry:  100m Dash  1");
    EXPECT_EQ(lines[2], "Flurry:  100m Dash  0");
    // Continue starts the practice attempt again and leaves medals and records alone.
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_FALSE(s.scene->finished);
    EXPECT_EQ(s.players[0].gold + s.players[0].silver + s.players[0].bronze, 0);
    EXPECT_EQ(s.events[kEventDash].hasRecord, 0);
}

TEST_F(GameSessionTest, EscapeMidAttemptWritesNoLineAndAfterTheFinishWritesOneOnce) {
    GameSession& s = Open();
    s.CreateScene(kEventDash);
    Step();
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_TRUE(Analytics().empty());
    EXPECT_EQ(gApp.quitRequested, 0);

    s.CreateScene(kEventDash);
    s.scene->result = 500.0f;
    s.scene->finished = true;
    s.LogResult(true);
    s.LogResult(true);
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(Analytics().size(), 1u);
}

TEST_F(GameSessionTest, ThePauseScreenResumesOrQuitsToTheMenu) {
    GameSession& s = Open();
    s.CreateScene(kEventDash);
    s.scene->clickedButton = kPauseButton;
    s.Update();
    ASSERT_TRUE(s.Paused());
    s.pauseScreen->clickedButton = kPauseResumeButton;
    s.Update();
    EXPECT_FALSE(s.Paused());
    EXPECT_EQ(s.state, kStateInScene);

    s.scene->clickedButton = kPauseButton;
    s.Update();
    ASSERT_TRUE(s.Paused());
    s.pauseScreen->clickedButton = kPauseQuitButton;
    s.Update();
    EXPECT_FALSE(s.Paused());
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_TRUE(Analytics().empty());
}

TEST_F(GameSessionTest, SlotButtonsSelectAddAndRemovePlayers) {
    GameSession& s = Open();
    s.menu->clickedButton = kButtonFirstSlot + 2;
    s.Update();
    EXPECT_EQ(s.selectedPlayer, 2);
    EXPECT_GT(s.menu->popupFrames, 200);
    EXPECT_EQ(s.players[2].active, 0) << "a click only selects the slot";

    const Nation old = s.players[2].nation;
    s.menu->clickedButton = kButtonRandomNation;
    s.Update();
    EXPECT_EQ(s.players[2].active, 1);
    EXPECT_STRNE(s.players[2].nation.name, old.name);

    s.menu->clickedButton = kButtonRemovePlayer;
    s.Update();
    EXPECT_EQ(s.players[2].active, 0);
    EXPECT_LE(s.menu->popupFrames, 0);

    // Holding an active slot's button for 30 frames removes that player.
    s.menu->clickedButton = kButtonFirstSlot;
    s.menu->pressFrames = 30;
    s.Update();
    EXPECT_EQ(s.players[0].active, 0);
    EXPECT_EQ(s.selectedPlayer, 0);
}

TEST_F(GameSessionTest, TheNationPickerGivesTheSelectedSlotItsCountry) {
    GameSession& s = Open();
    s.menu->clickedButton = kButtonFirstSlot + 1;
    s.Update();
    s.menu->clickedButton = kButtonPickNation;
    s.Update();
    ASSERT_EQ(s.state, kStateNationPicking);
    EXPECT_TRUE(s.PanelOpen());
    s.nationPicker.selected = 29;
    s.nationPicker.clickedId = kPickerOkButton;
    s.Update();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(s.players[1].active, 1);
    EXPECT_STREQ(s.players[1].nation.name, kCountries[29].name);

    // Escape with no row chosen leaves the slot as it was.
    s.menu->clickedButton = kButtonPickNation;
    s.Update();
    s.nationPicker.selected = -1;
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_STREQ(s.players[1].nation.name, kCountries[29].name);
    EXPECT_EQ(gApp.quitRequested, 0);
}

TEST_F(GameSessionTest, TheCreditsPanelTurnsItsPageAndClosesOnEscape) {
    GameSession& s = Open();
    s.menu->clickedButton = kButtonCredits;
    s.Update();
    ASSERT_EQ(s.state, kStateCreditsOpen);
    s.creditsPanel->clicked = kButtonNextPage;
    s.Update();
    EXPECT_EQ(s.creditsPanel->page, 1);
    Step();
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(gApp.quitRequested, 0) << "Escape on a panel closes it and does not quit";
}

// ---- Competitions ----------------------------------------------------------------------------

TEST_F(GameSessionTest, OnePlayerCompetesWithThreeComputersFromOpeningToClosing) {
    GameSession& s = OpenDashOnly();
    Nation before[kPlayerCount];
    for (int k = 0; k < kPlayerCount; ++k)
        before[k] = s.players[k].nation;
    // The walk below is the dash's alone; the other built events stay out of this competition.
    for (int e = 0; e < kEventCount; ++e)
        s.events[e].included = e == kEventDash ? 1 : 0;

    for (int e = 0; e < kEventCount; ++e)
        s.events[e].included = e == kEventDash; // the dash alone: the checks read its times
    s.StartCompetition();
    ASSERT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kSceneOpening);
    EXPECT_TRUE(s.CompetitionRunning());
    EXPECT_TRUE(s.WithComputers());
    ASSERT_EQ(s.CompetitorCount(), 4);
    EXPECT_EQ(s.order[0], 0);
    EXPECT_EQ(s.CompetitorRecord(0), &s.players[0]);
    for (int k = 1; k < kPlayerCount; ++k) {
        EXPECT_EQ(s.players[k].active, 1);
        EXPECT_EQ(s.players[k].computer, 1);
        s.players[k].opponentIndex = 0; // no specialty: the computers post the event's marks
    }
    // Only the built events are scheduled.
    int built = 0;
    for (int e = 0; e < kEventCount; ++e)
        built += SceneBuilt(e) && s.events[e].included;
    EXPECT_EQ(s.ScheduleCount(), built);
    DashOnly(s);

    s.scene->clickedButton = kButtonSkip;
    s.Update();
    ASSERT_EQ(s.sceneEventId, kEventDash);
    EXPECT_EQ(s.order[0], 0) << "the human keeps the first turn";
    EXPECT_EQ(s.currentCompetitor, 0);
    EXPECT_TRUE(s.scene->competition);
    EXPECT_EQ(s.scene->player, &s.players[0]);

    FinishAttempt(400.006f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_EQ(s.resultsIn, 4);
    EXPECT_EQ(s.FinishedEvent(), kEventDash);
    EXPECT_EQ(s.scene->player, nullptr);
    ASSERT_NE(s.medalScreen, nullptr);
    // 360 (third mark), 400.01 (the human, rounded to 0.01, not cut), 510, 900.
    EXPECT_FLOAT_EQ(s.standings[0].result, 360.0f);
    EXPECT_EQ(s.standings[1].slot, 0);
    EXPECT_FLOAT_EQ(s.standings[1].result, 400.01f);
    EXPECT_FLOAT_EQ(s.standings[2].result, 510.0f);
    EXPECT_FLOAT_EQ(s.standings[3].result, 900.0f);
    RankedResult entry;
    ASSERT_TRUE(s.EventStanding(1, &entry));
    EXPECT_EQ(entry.slot, 0);
    EXPECT_FALSE(s.EventStanding(4, &entry));
    EXPECT_EQ(s.players[0].silver, 1);
    EXPECT_EQ(s.players[s.standings[0].slot].gold, 1);
    EXPECT_EQ(s.players[s.standings[2].slot].bronze, 1);
    EXPECT_EQ(s.newRecord, 0) << "a computer's result sets no world record";
    Step();

    s.medalScreen->clickedButton = kButtonContinue;
    s.Update();
    ASSERT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kSceneClosing);
    Step();

    s.scene->clickedButton = kButtonConfirm;
    s.Update();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_FALSE(s.CompetitionRunning());
    EXPECT_EQ(s.players[0].active, 1);
    for (int k = 1; k < kPlayerCount; ++k) {
        EXPECT_EQ(s.players[k].active, 0);
        EXPECT_STREQ(s.players[k].nation.name, before[k].name);
    }
    EXPECT_EQ(s.players[0].silver, 1) << "medals stay counted after the competition";
    EXPECT_EQ(Analytics().size(), 1u);
}

TEST_F(GameSessionTest, AComputerWithTheEventAsItsSpecialtyPostsItsOwnResult) {
    GameSession& s = OpenDashOnly();
    s.StartCompetition();
    DashOnly(s);
    s.NextEvent(true);
    for (int k = 1; k < kPlayerCount; ++k)
        s.players[k].opponentIndex = 0;
    s.players[s.order[3]].opponentIndex = 5; // the sprinter
    ASSERT_EQ(kOpponents[5].specialty, kEventDash);
    FinishAttempt(400.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_FLOAT_EQ(s.standings[0].result, kOpponents[5].result);
    EXPECT_EQ(s.standings[0].slot, s.order[3]);
}

TEST_F(GameSessionTest, PlayersWithEqualResultsBothGetGoldAndTheThirdSilver) {
    GameSession& s = OpenDashOnly();
    s.players[1].active = 1;
    s.players[2].active = 1;
    for (int e = 0; e < kEventCount; ++e)
        s.events[e].included = e == kEventDash; // the dash alone: the checks read its times
    s.StartCompetition();
    DashOnly(s);
    ASSERT_EQ(s.competitorCount, 3);
    EXPECT_FALSE(s.WithComputers());
    s.NextEvent(true);
    FinishAttempt(450.0f); // slot 0
    ASSERT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.currentCompetitor, 1);
    EXPECT_EQ(s.scene->player, &s.players[1]);
    FinishAttempt(450.0f); // slot 1
    FinishAttempt(500.0f); // slot 2
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_EQ(s.players[0].gold, 1);
    EXPECT_EQ(s.players[1].gold, 1);
    EXPECT_EQ(s.players[2].silver, 1);
    EXPECT_EQ(Analytics().size(), 3u);
}

TEST_F(GameSessionTest, AFaultedAttemptIsListedLastWithoutAMedal) {
    GameSession& s = OpenDashOnly();
    s.players[1].active = 1;
    s.StartCompetition();
    DashOnly(s);
    s.NextEvent(true);
    FinishAttempt(300.0f, true);
    FinishAttempt(800.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_EQ(s.standings[0].slot, 1);
    EXPECT_TRUE(s.standings[1].fault);
    EXPECT_EQ(s.players[1].gold, 1);
    EXPECT_EQ(s.players[0].gold + s.players[0].silver + s.players[0].bronze, 0);
}

TEST_F(GameSessionTest, WithoutComputersTheTurnOrderReversesBetweenEvents) {
    GameSession& s = OpenDashOnly();
    s.players[1].active = 1;
    s.players[2].active = 1;
    s.StartCompetition();
    s.scheduleCount = 2;
    s.schedule[0] = kEventDash;
    s.schedule[1] = kEventDash;
    s.NextEvent(true);
    EXPECT_EQ(s.currentCompetitor, 0);
    FinishAttempt(400.0f);
    FinishAttempt(500.0f);
    FinishAttempt(600.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    s.medalScreen->clickedButton = kButtonContinue;
    s.Update();
    EXPECT_EQ(s.sceneEventId, kEventDash);
    EXPECT_EQ(s.order[0], 2);
    EXPECT_EQ(s.currentCompetitor, 2);
    EXPECT_EQ(s.resultsIn, 0);
}

TEST_F(GameSessionTest, NoActivePlayerOrNoIncludedEventBuzzesAndStaysOnTheMenu) {
    GameSession& s = Open();
    for (EventRecord& e : s.events)
        e.included = 0;
    const Nation before = s.players[2].nation;
    s.StartCompetition();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_FALSE(s.CompetitionRunning());
    EXPECT_EQ(s.players[2].active, 0);
    EXPECT_STREQ(s.players[2].nation.name, before.name);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 1);

    s.events[kEventDash].included = 1;
    s.players[0].active = 0;
    s.StartCompetition();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(CountEffect(kSfxShortbuzz), 2);
}

TEST_F(GameSessionTest, EscapeOnTheMedalPresentationEndsTheCompetition) {
    GameSession& s = OpenDashOnly();
    s.StartCompetition();
    DashOnly(s);
    s.NextEvent(true);
    FinishAttempt(400.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(s.players[1].active + s.players[2].active + s.players[3].active, 0);
    EXPECT_EQ(gApp.quitRequested, 0);
}

TEST_F(GameSessionTest, TheRestartKeyDoesNotReplayAnEventWhoseMedalsAreGiven) {
    GameSession& s = Open();
    s.StartCompetition();
    s.NextEvent(true);
    FinishAttempt(400.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    const int gold = s.players[0].gold + s.players[1].gold + s.players[2].gold + s.players[3].gold;
    PressKey('r');
    EXPECT_EQ(s.state, kStateMedalCeremony);
    EXPECT_EQ(s.resultsIn, s.competitorCount) << "the decided event is not played again";
    EXPECT_EQ(s.players[0].gold + s.players[1].gold + s.players[2].gold + s.players[3].gold, gold);
}

// ---- Records and saving ----------------------------------------------------------------------

TEST_F(GameSessionTest, ARecordsFileThatCannotBeReadIsKeptAsideBeforeTheFirstSave) {
    // Version 3: refused, yet it holds somebody's records.
    const std::string old("\x03\x00\x00\x00 older records", 19);
    {
        std::ofstream bad(path, std::ios::binary);
        bad << old;
    }
    GameSession& s = Open();
    s.Save();
    std::ifstream kept(path + ".bad", std::ios::binary);
    std::stringstream text;
    text << kept.rdbuf();
    EXPECT_EQ(text.str(), old);
    RecordsData fresh;
    EXPECT_TRUE(LoadRecords(&fresh, path.c_str())) << "the save still writes a good file";
    bool logged = false;
    for (const std::string& line : log.Lines())
        logged |= line.find("records.rec.bad") != std::string::npos;
    EXPECT_TRUE(logged);
    std::remove((path + ".bad").c_str());
}

TEST_F(GameSessionTest, TheVolumesAreKeptInOnePlaceFromLoadToSave) {
    GameSession& s = Open();
    SetEffectsVolume(40);
    PressKey('m');
    s.Save();
    session.reset();
    RecordsData saved;
    ASSERT_TRUE(LoadRecords(&saved, path.c_str()));
    EXPECT_EQ(saved.musicVolume, 0);
    EXPECT_EQ(saved.effectsVolume, 40);
    SetEffectsVolume(100);
    SetMusicVolume(100);
    Open();
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(EffectsVolume(), 40);
}

TEST_F(GameSessionTest, AWorldRecordIsSavedAtOnceAndSurvivesARestart) {
    GameSession& s = OpenDashOnly();
    s.StartCompetition();
    DashOnly(s);
    for (int k = 1; k < kPlayerCount; ++k)
        s.players[k].opponentIndex = 0;
    const Nation human = s.players[0].nation;
    s.NextEvent(true);
    FinishAttempt(330.0f);
    ASSERT_EQ(s.newRecord, 1);
    EXPECT_TRUE(s.NewWorldRecord());
    EXPECT_EQ(s.players[0].gold, 1);

    // The game dies now without its orderly quit: the record must already be on disk.
    session.reset();
    RecordsData kept;
    ASSERT_TRUE(LoadRecords(&kept, path.c_str()));
    EXPECT_EQ(kept.events[kEventDash].hasRecord, 1);
    EXPECT_FLOAT_EQ(kept.events[kEventDash].recordValue, 330.0f);
    EXPECT_STREQ(kept.events[kEventDash].recordHolder.name, human.name);
    for (int k = 1; k < kPlayerCount; ++k)
        EXPECT_EQ(kept.players[k].active, 0) << "opponents are not kept as players";

    GameSession& again = Open();
    EXPECT_EQ(again.events[kEventDash].hasRecord, 1);
    EXPECT_FLOAT_EQ(again.events[kEventDash].recordValue, 330.0f);
    EXPECT_EQ(again.players[0].gold, 1);
}

TEST_F(GameSessionTest, EscapeOnTheMenuSavesAndQuits) {
    GameSession& s = Open();
    s.players[2].active = 1;
    PressKey(kKeyEscape);
    EXPECT_EQ(gApp.quitRequested, 1);
    RecordsData kept;
    ASSERT_TRUE(LoadRecords(&kept, path.c_str()));
    EXPECT_EQ(kept.players[2].active, 1);
}

TEST_F(GameSessionTest, ASaveDuringACompetitionKeepsThePlayersOwnSlots) {
    GameSession& s = OpenDashOnly();
    const Nation own = s.players[3].nation;
    s.StartCompetition();
    ASSERT_TRUE(s.Save());
    RecordsData kept;
    ASSERT_TRUE(LoadRecords(&kept, path.c_str()));
    EXPECT_EQ(kept.players[3].active, 0);
    EXPECT_STREQ(kept.players[3].nation.name, own.name);
    EXPECT_EQ(s.players[3].active, 1) << "the running competition keeps its opponent";
}

// ---- Developer keys --------------------------------------------------------------------------

TEST_F(GameSessionTest, DevelopersKeysFlipTheOverlaysMuteTheMusicAndRestart) {
    GameSession& s = Open();
    PressKey('d');
    EXPECT_TRUE(s.DebugDraw());
    PressKey('d');
    EXPECT_FALSE(s.DebugDraw());
    PressKey('i');
    PressKey('t');
    PressKey('b');
    EXPECT_EQ(gApp.showButtons, 0);
    EXPECT_EQ(gApp.showText, 0);
    EXPECT_EQ(gApp.showBars, 0);
    PressKey('i');
    EXPECT_EQ(gApp.showButtons, 1);
    SetMusicVolume(60);
    PressKey('m');
    EXPECT_EQ(MusicVolume(), 0);
    PressKey('m');
    EXPECT_EQ(MusicVolume(), 100);
    // R on the menu brings the last scene back, once there is one.
    PressKey('r');
    EXPECT_EQ(s.state, kStateMenu) << "no scene yet";
    s.CreateScene(kEventDash);
    PressKey(kKeyEscape);
    ASSERT_EQ(s.state, kStateMenu);
    PressKey('r');
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kEventDash);
}

TEST_F(GameSessionTest, TheClosingKeyJumpsToTheClosingCeremoniesAndKeepsThePlayersOwnNations) {
    Open();
    PressKey('c');
    EXPECT_EQ(session->sceneEventId, kSceneClosing) << "from the menu";
    EXPECT_TRUE(session->CompetitionRunning());
    Step();

    session.reset();
    GameSession& s = OpenDashOnly();
    Nation before[kPlayerCount];
    for (int k = 0; k < kPlayerCount; ++k)
        before[k] = s.players[k].nation;
    s.StartCompetition();
    PressKey('c');
    ASSERT_EQ(s.sceneEventId, kSceneClosing);
    EXPECT_EQ(s.competitorCount, 4);
    s.scene->clickedButton = kButtonConfirm;
    s.Update();
    for (int k = 1; k < kPlayerCount; ++k) {
        EXPECT_EQ(s.players[k].active, 0);
        EXPECT_STREQ(s.players[k].nation.name, before[k].name);
    }
}

TEST_F(GameSessionTest, ThePhysicsOverlayDrawsEachBodyWithFixtures) {
    GameSession& s = Open();
    s.CreateScene(kEventDash);
    SetGlBackend(&gl);
    gl.Reset();
    s.debugDraw = 1;
    s.Draw();
    FlushBatch();
    const size_t withOverlay = gl.draws.size();
    gl.Reset();
    s.debugDraw = 0;
    s.Draw();
    FlushBatch();
    EXPECT_GT(withOverlay, gl.draws.size());
}

TEST_F(GameSessionTest, F5SavesTheAttemptAsAReplayThatPlaysBackTheSameRun) {
    const std::string oldDir = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
    GameSession& s = Open();
    SeedRandom(4242);
    const uint32_t seed = RandomState();
    s.CreateScene(kEventDash);
    InputScript script;
    std::string why;
    ASSERT_TRUE(ParseInputScript(EventScriptText("sprint_good_run.txt"), &script, &why)) << why;
    ScriptPlayer player(script);
    for (int frame = 0; frame < 3000 && !s.scene->finished; ++frame) {
        player.Apply(frame);
        Step();
    }
    ASSERT_TRUE(s.scene->finished);
    const float played = s.scene->result;
    const bool playedFault = s.scene->fault;
    PressKey(kKeyF5);
    PressKey(kKeyF5);
    std::ifstream in(dir + "/replays/0000.txt");
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string replay = buffer.str();
    EXPECT_TRUE(std::filesystem::exists(dir + "/replays/0001.txt")) << "a second save takes the next number";
    std::filesystem::current_path(oldDir);
    ASSERT_FALSE(replay.empty());
    EXPECT_NE(replay.find("--scene 3 --seed " + std::to_string(seed)), std::string::npos) << replay;

    // Played back as the runner does: the same seed, a fresh scene, the recorded input.
    InputScript recorded;
    ASSERT_TRUE(ParseInputScript(replay, &recorded, &why)) << why;
    session.reset();
    GameSession& again = Open();
    SeedRandom(seed);
    again.CreateScene(kEventDash);
    ScriptPlayer replayer(recorded);
    for (int frame = 0; frame < 3000 && !again.scene->finished; ++frame) {
        replayer.Apply(frame);
        Step();
    }
    ASSERT_TRUE(again.scene->finished);
    EXPECT_EQ(again.scene->result, played);
    EXPECT_EQ(again.scene->fault, playedFault);
    std::filesystem::remove_all(dir + "/replays");
}

} // namespace
} // namespace kel::test
