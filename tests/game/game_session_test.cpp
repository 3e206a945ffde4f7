// The game flow: practice, competitions with their standings and medals, records.rec, the keys.
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

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace kel::test {
namespace {

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
        std::filesystem::remove_all(dir);
        gApp.quitRequested = 0;
        EventTest::TearDown();
    }
    GameSession& Open() {
        session.reset(); // the last session goes before the next one takes the scene host
        session = std::make_unique<GameSession>(path.c_str());
        return *session;
    }
    // Competitions of the dash alone, whose times and marks the checks read.
    GameSession& OpenDashOnly() {
        Open();
        for (int e = 0; e < kEventCount; ++e)
            session->events[e].included = e == kEventDash;
        for (int k = 0; k < kPlayerCount; ++k)
            own[k] = session->players[k].nation;
        return *session;
    }
    // `humans` players (one alone meets three computers without a specialty) over `events` dashes.
    GameSession& Compete(int humans = 1, int events = 1) {
        GameSession& s = OpenDashOnly();
        for (int k = 1; k < kPlayerCount; ++k)
            s.players[k].active = k < humans;
        s.StartCompetition();
        s.scheduleCount = events;
        std::fill_n(s.schedule, events, kEventDash);
        for (int k = humans; k < kPlayerCount; ++k)
            s.players[k].opponentIndex = 0;
        s.NextEvent(true);
        return s;
    }
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
    void Click(int32_t& clicked, int id) {
        clicked = id;
        session->Update();
    }
    // The current scene decides its attempt and its continue button is clicked.
    void FinishAttempt(float result, bool fault = false) {
        SportEvent* scene = session->scene;
        ASSERT_NE(scene, nullptr);
        scene->result = result;
        scene->fault = fault;
        scene->finished = true;
        Click(scene->clickedButton, session->competition ? kContinueButtonCompetition : kContinueButton);
    }
    std::vector<std::string> Analytics() const {
        std::vector<std::string> out;
        for (const std::string& line : log.Lines())
            if (line.rfind("Flurry:", 0) == 0) out.push_back(line);
        return out;
    }
    // The slots of the computers are given back to the players' own nations, inactive.
    void ExpectOwnSlots(const PlayerRecord* p) const {
        for (int k = 1; k < kPlayerCount; ++k) {
            EXPECT_EQ(p[k].active, 0) << k;
            EXPECT_STREQ(p[k].nation.name, own[k].name) << k;
        }
    }
    int Medals(int k) const {
        return session->players[k].gold + session->players[k].silver + session->players[k].bronze;
    }
    std::string dir, path;
    CaptureLogSink log;
    std::unique_ptr<GameSession> session;
    Nation own[kPlayerCount]; // the slots' nations before a competition
};

TEST(Standings, SortOrderTiesFaultsAndSharedMedals) {
    struct {
        int eventId;
        RankedResult rows[4];
        int wantSlots[4];
    } cases[] = {
        {kEventDash, {{0, 500.0f}, {1, 400.0f}, {2, 600.0f}, {3, 450.0f}}, {1, 3, 0, 2}},
        {kEventJavelin, {{0, 50.0f}, {1, 40.0f}, {2, 60.0f}, {3, 45.0f}}, {2, 0, 3, 1}},
        // Equal results rank the lower slot first; faults go last in entry order.
        {kEventDash, {{3, 10.0f, true}, {2, 400.0f}, {1, 5.0f, true}, {0, 400.0f}}, {0, 2, 3, 1}},
    };
    for (auto& c : cases) {
        SortStandings(c.rows, 4, c.eventId);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.rows[i].slot, c.wantSlots[i]) << "event " << c.eventId << " rank " << i;
    }
    // Equal results share a medal at every place; faults get none.
    const struct {
        RankedResult rows[4];
        int count;
        int want[4];
    } medalCases[] = {
        {{{0, 400.0f}, {1, 400.0f}, {2, 500.0f}, {3, 600.0f}}, 4, {0, 0, 1, -1}},
        {{{0, 300.0f}, {1, 400.0f}, {2, 400.0f}}, 3, {0, 1, 1, -1}},
        {{{0, 300.0f}, {1, 400.0f}, {2, 500.0f}}, 3, {0, 1, 2, -1}},
        {{{0, 300.0f}, {1, 0.0f, true}, {2, 0.0f, true}}, 3, {0, -1, -1, -1}},
        {{{0, 300.0f, true}}, 1, {-1, -1, -1, -1}},
        // A fourth equal to the third shares its bronze; one just behind gets nothing.
        {{{0, 300.0f}, {1, 400.0f}, {2, 500.0f}, {3, 500.0f}}, 4, {0, 1, 2, 2}},
        {{{0, 300.0f}, {1, 400.0f}, {2, 500.0f}, {3, 500.01f}}, 4, {0, 1, 2, -1}},
    };
    for (const auto& c : medalCases) {
        int medals[kPlayerCount] = {-1, -1, -1, -1};
        MedalsByRank(c.rows, c.count, medals);
        for (int i = 0; i < c.count; ++i)
            EXPECT_EQ(medals[i], c.want[i]) << "case " << (&c - medalCases) << " rank " << i;
    }
}

TEST_F(GameSessionTest, ATileOpensTheCardWhosePlayStartsAPracticeAttemptWhichLogsItsLevel) {
    GameSession& s = Open();
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(CurrentSceneHost(), &s);
    Click(s.menu->clickedButton, kButtonFirstTile + kEventDash);
    ASSERT_EQ(s.state, kStateEventCardOpen);
    EXPECT_EQ(s.eventCard.eventId, kEventDash);
    EXPECT_TRUE(s.PanelOpen());
    Click(s.eventCard.clickedId, kCardPlayButton);
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kEventDash);
    ASSERT_NE(s.scene, nullptr);
    EXPECT_EQ(s.scene->player, &s.players[0]);
    EXPECT_FALSE(s.scene->competition);
    FinishAttempt(400.0f);
    FinishAttempt(1000.0f);
    FinishAttempt(300.0f, true);
    EXPECT_EQ(Analytics(), std::vector<std::string>(
                               {"Flurry:  100m Dash  3", "Flurry:  100m Dash  1", "Flurry:  100m Dash  0"}));
    // Continue starts the practice attempt again and leaves medals and records alone.
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_FALSE(s.scene->finished);
    EXPECT_EQ(Medals(0), 0);
    EXPECT_EQ(s.events[kEventDash].hasRecord, 0);
}

TEST_F(GameSessionTest, EscapeMidAttemptWritesNoLineAfterTheFinishOneOnceAndPauseResumesOrQuits) {
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
    log.Clear();
    s.CreateScene(kEventDash);
    for (const int button : {kPauseResumeButton, kPauseQuitButton}) {
        Click(s.scene->clickedButton, kPauseButton);
        ASSERT_TRUE(s.Paused());
        Click(s.pauseScreen->clickedButton, button);
        EXPECT_FALSE(s.Paused());
        EXPECT_EQ(s.state, button == kPauseResumeButton ? kStateInScene : kStateMenu);
    }
    EXPECT_TRUE(Analytics().empty());
}

TEST_F(GameSessionTest, SlotButtonsAndTheNationPickerSetThePlayersAndEscapeClosesPanelsWithoutQuitting) {
    GameSession& s = Open();
    Click(s.menu->clickedButton, kButtonFirstSlot + 2);
    EXPECT_EQ(s.selectedPlayer, 2);
    EXPECT_GT(s.menu->popupFrames, 200);
    EXPECT_EQ(s.players[2].active, 0) << "a click only selects the slot";
    const Nation old = s.players[2].nation;
    Click(s.menu->clickedButton, kButtonRandomNation);
    EXPECT_EQ(s.players[2].active, 1);
    EXPECT_STRNE(s.players[2].nation.name, old.name);
    Click(s.menu->clickedButton, kButtonRemovePlayer);
    EXPECT_EQ(s.players[2].active, 0);
    EXPECT_LE(s.menu->popupFrames, 0);
    // Holding an active slot's button for 30 frames removes that player.
    s.menu->pressFrames = 30;
    Click(s.menu->clickedButton, kButtonFirstSlot);
    EXPECT_EQ(s.players[0].active, 0);
    EXPECT_EQ(s.selectedPlayer, 0);
    Click(s.menu->clickedButton, kButtonFirstSlot + 1);
    Click(s.menu->clickedButton, kButtonPickNation);
    ASSERT_EQ(s.state, kStateNationPicking);
    EXPECT_TRUE(s.PanelOpen());
    s.nationPicker.selected = 29;
    Click(s.nationPicker.clickedId, kPickerOkButton);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(s.players[1].active, 1);
    EXPECT_STREQ(s.players[1].nation.name, kCountries[29].name);
    // Escape with no row chosen leaves the slot as it was.
    Click(s.menu->clickedButton, kButtonPickNation);
    s.nationPicker.selected = -1;
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_STREQ(s.players[1].nation.name, kCountries[29].name);
    Click(s.menu->clickedButton, kButtonCredits);
    ASSERT_EQ(s.state, kStateCreditsOpen);
    Click(s.creditsPanel->clicked, kButtonNextPage);
    EXPECT_EQ(s.creditsPanel->page, 1);
    Step();
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(gApp.quitRequested, 0);
}

TEST_F(GameSessionTest, OnePlayerCompetesWithThreeComputersFromOpeningToClosing) {
    GameSession& s = OpenDashOnly();
    s.StartCompetition();
    ASSERT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kSceneOpening);
    EXPECT_TRUE(s.CeremonyShowing());
    EXPECT_TRUE(s.CompetitionRunning());
    EXPECT_TRUE(s.WithComputers());
    ASSERT_EQ(s.CompetitorCount(), 4);
    EXPECT_EQ(s.CompetitorRecord(0), &s.players[0]);
    for (int k = 1; k < kPlayerCount; ++k) {
        EXPECT_EQ(s.players[k].active, 1);
        EXPECT_EQ(s.players[k].computer, 1);
        s.players[k].opponentIndex = 0; // no specialty: the computers post the event's marks
    }
    EXPECT_EQ(s.ScheduleCount(), 1) << "the included events alone";
    Click(s.scene->clickedButton, kButtonSkip);
    ASSERT_EQ(s.sceneEventId, kEventDash);
    EXPECT_FALSE(s.CeremonyShowing());
    EXPECT_EQ(s.order[0], 0) << "the human keeps the first turn";
    EXPECT_EQ(s.currentCompetitor, 0);
    EXPECT_EQ(s.scene->player, &s.players[0]);
    FinishAttempt(400.006f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_TRUE(s.CeremonyShowing());
    EXPECT_EQ(s.resultsIn, 4);
    EXPECT_EQ(s.FinishedEvent(), kEventDash);
    EXPECT_EQ(s.scene->player, nullptr);
    ASSERT_NE(s.medalScreen, nullptr);
    // 360 (third mark), 400.01 (the human, rounded to 0.01, not cut), 510, 900.
    const float want[4] = {360.0f, 400.01f, 510.0f, 900.0f};
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(s.standings[i].result, want[i]) << i;
    RankedResult entry;
    ASSERT_TRUE(s.EventStanding(1, &entry));
    EXPECT_EQ(entry.slot, 0);
    EXPECT_FALSE(s.EventStanding(4, &entry));
    EXPECT_EQ(s.players[0].silver, 1);
    EXPECT_EQ(s.players[s.standings[0].slot].gold, 1);
    EXPECT_EQ(s.players[s.standings[2].slot].bronze, 1);
    EXPECT_EQ(s.newRecord, 0) << "a computer's result sets no world record";
    Step();
    Click(s.medalScreen->clickedButton, kButtonContinue);
    ASSERT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kSceneClosing);
    EXPECT_TRUE(s.CeremonyShowing());
    s.paused = 1;
    EXPECT_FALSE(s.CeremonyShowing()) << "the pause screen stands still";
    s.paused = 0;
    Step();
    Click(s.scene->clickedButton, kButtonConfirm);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_FALSE(s.CeremonyShowing());
    EXPECT_FALSE(s.CompetitionRunning());
    EXPECT_EQ(s.players[0].active, 1);
    ExpectOwnSlots(s.players);
    EXPECT_EQ(s.players[0].silver, 1) << "medals stay counted after the competition";
    EXPECT_EQ(Analytics().size(), 1u);
}

// R does not replay an event whose medals are given; Escape on the medals ends the competition.
TEST_F(GameSessionTest, AComputerWithTheEventAsItsSpecialtyPostsItsOwnResultAndTheRestartKeyDoesNotReplayIt) {
    GameSession& s = Compete();
    s.players[s.order[3]].opponentIndex = 5; // the sprinter
    ASSERT_EQ(kOpponents[5].specialty, kEventDash);
    FinishAttempt(400.0f);
    ASSERT_EQ(s.state, kStateMedalCeremony);
    EXPECT_FLOAT_EQ(s.standings[0].result, kOpponents[5].result);
    EXPECT_EQ(s.standings[0].slot, s.order[3]);
    PressKey('r');
    EXPECT_EQ(s.state, kStateMedalCeremony);
    EXPECT_EQ(s.resultsIn, s.competitorCount) << "the decided event is not played again";
    EXPECT_EQ(Medals(0) + Medals(1) + Medals(2) + Medals(3), 3);
    PressKey(kKeyEscape);
    EXPECT_EQ(s.state, kStateMenu);
    EXPECT_EQ(s.players[1].active + s.players[2].active + s.players[3].active, 0);
    EXPECT_EQ(gApp.quitRequested, 0);
}

// Results are rounded to 0.01 before they are compared: 12.344 and 12.336 tie at 12.34 (cut off,
// they would not). A fault is listed last without a medal. Without computers the order reverses.
TEST_F(GameSessionTest, PlayersTakeTurnsInAnOrderThatReversesAndTheirRoundedResultsDecideTheMedals) {
    const struct {
        int humans;
        float result[3];
        bool fault[3];
        int want[3]; // medal of each slot, -1 none
    } cases[] = {
        {3, {12.344f, 12.336f, 12.5f}, {}, {0, 0, 1}},
        {2, {300.0f, 800.0f}, {true, false}, {-1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.humans);
        GameSession& s = Compete(c.humans, 2);
        EXPECT_FALSE(s.WithComputers());
        ASSERT_EQ(s.competitorCount, c.humans);
        for (int k = 0; k < c.humans; ++k) {
            ASSERT_EQ(s.state, kStateInScene);
            EXPECT_EQ(s.currentCompetitor, k);
            EXPECT_EQ(s.scene->player, &s.players[k]);
            FinishAttempt(c.result[k], c.fault[k]);
        }
        ASSERT_EQ(s.state, kStateMedalCeremony);
        for (int k = 0; k < c.humans; ++k) {
            const PlayerRecord& p = s.players[k];
            const int medal = p.gold ? 0 : p.silver ? 1 : p.bronze ? 2 : -1;
            EXPECT_EQ(medal, c.want[k]) << "slot " << k;
            EXPECT_EQ(Medals(k), c.want[k] >= 0 ? 1 : 0) << "slot " << k;
        }
        EXPECT_EQ(s.standings[c.humans - 1].fault, c.fault[0]);
        EXPECT_EQ(Analytics().size(), static_cast<size_t>(c.humans));
        Click(s.medalScreen->clickedButton, kButtonContinue);
        EXPECT_EQ(s.sceneEventId, kEventDash);
        EXPECT_EQ(s.order[0], c.humans - 1);
        EXPECT_EQ(s.currentCompetitor, c.humans - 1);
        EXPECT_EQ(s.resultsIn, 0);
        session.reset();
        log.Clear();
    }
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

TEST_F(GameSessionTest, ARecordsFileThatCannotBeReadIsKeptAsideBeforeTheFirstSave) {
    // Version 3: refused, yet it holds somebody's records.
    const std::string old("\x03\x00\x00\x00 older records", 19);
    std::ofstream(path, std::ios::binary) << old;
    Open().Save();
    std::stringstream kept;
    kept << std::ifstream(path + ".bad", std::ios::binary).rdbuf();
    EXPECT_EQ(kept.str(), old);
    RecordsData fresh;
    EXPECT_TRUE(LoadRecords(&fresh, path.c_str())) << "the save still writes a good file";
    bool logged = false;
    for (const std::string& line : log.Lines())
        logged |= line.find("records.rec.bad") != std::string::npos;
    EXPECT_TRUE(logged);
}

// The volumes live in the sound system alone, from the load to the save.
TEST_F(GameSessionTest, EscapeOnTheMenuSavesThePlayersAndTheVolumesAndQuits) {
    GameSession& s = Open();
    s.players[2].active = 1;
    SetEffectsVolume(40);
    PressKey('m');
    PressKey(kKeyEscape);
    EXPECT_EQ(gApp.quitRequested, 1);
    session.reset();
    RecordsData saved;
    ASSERT_TRUE(LoadRecords(&saved, path.c_str()));
    EXPECT_EQ(saved.players[2].active, 1);
    EXPECT_EQ(saved.musicVolume, 0);
    EXPECT_EQ(saved.effectsVolume, 40);
    SetEffectsVolume(100);
    SetMusicVolume(100);
    Open();
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(EffectsVolume(), 40);
}

TEST_F(GameSessionTest, AWorldRecordIsSavedAtOnceAndSurvivesARestart) {
    GameSession& s = Compete();
    FinishAttempt(330.0f);
    ASSERT_EQ(s.newRecord, 1);
    EXPECT_TRUE(s.NewWorldRecord());
    EXPECT_EQ(s.players[0].gold, 1);
    EXPECT_EQ(s.players[3].active, 1) << "the running competition keeps its opponent";
    session.reset(); // the game dies without its orderly quit: the record must already be on disk
    RecordsData kept;
    ASSERT_TRUE(LoadRecords(&kept, path.c_str()));
    EXPECT_EQ(kept.events[kEventDash].hasRecord, 1);
    EXPECT_FLOAT_EQ(kept.events[kEventDash].recordValue, 330.0f);
    EXPECT_STREQ(kept.events[kEventDash].recordHolder.name, own[0].name);
    ExpectOwnSlots(kept.players); // the players' own slots are kept, not the opponents
    GameSession& again = Open();
    EXPECT_EQ(again.events[kEventDash].hasRecord, 1);
    EXPECT_FLOAT_EQ(again.events[kEventDash].recordValue, 330.0f);
    EXPECT_EQ(again.players[0].gold, 1);
}

TEST_F(GameSessionTest, DevelopersKeysShowThePhysicsMuteTheMusicAndRestart) {
    GameSession& s = Open();
    SetMusicVolume(60);
    PressKey('m');
    EXPECT_EQ(MusicVolume(), 0);
    PressKey('m');
    EXPECT_EQ(MusicVolume(), 100);
    PressKey('r');
    EXPECT_EQ(s.state, kStateMenu) << "R on the menu with no last scene yet";
    s.CreateScene(kEventDash);
    PressKey(kKeyEscape);
    ASSERT_EQ(s.state, kStateMenu);
    PressKey('r');
    EXPECT_EQ(s.state, kStateInScene);
    EXPECT_EQ(s.sceneEventId, kEventDash);
    PressKey('d');
    EXPECT_TRUE(s.DebugDraw()) << "D turns on the physics overlay, which draws each body with fixtures";
    SetGlBackend(&gl);
    size_t draws[2] = {};
    for (const int overlay : {1, 0}) {
        gl.Reset();
        s.debugDraw = overlay;
        s.Draw();
        FlushBatch();
        draws[overlay] = gl.draws.size();
    }
    EXPECT_GT(draws[1], draws[0]);
}

TEST_F(GameSessionTest, TheClosingKeyJumpsToTheClosingCeremoniesAndKeepsThePlayersOwnNations) {
    Open();
    PressKey('c');
    EXPECT_EQ(session->sceneEventId, kSceneClosing) << "from the menu";
    EXPECT_TRUE(session->CompetitionRunning());
    Step();
    GameSession& s = OpenDashOnly();
    s.StartCompetition();
    PressKey('c');
    ASSERT_EQ(s.sceneEventId, kSceneClosing);
    EXPECT_EQ(s.competitorCount, 4);
    Click(s.scene->clickedButton, kButtonConfirm);
    ExpectOwnSlots(s.players);
}

TEST_F(GameSessionTest, F5SavesTheAttemptAsAReplayThatPlaysBackTheSameRun) {
    const std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    SeedRandom(4242);
    const uint32_t seed = RandomState();
    float played[2] = {};
    std::string replay;
    for (int run = 0; run < 2; ++run) {
        // The first run plays the kept script and saves it with F5; the second plays the replay
        // as the runner does: the same seed, a fresh scene, the recorded input.
        GameSession& s = Open();
        SeedRandom(seed);
        s.CreateScene(kEventDash);
        InputScript script;
        std::string why;
        ASSERT_TRUE(
            ParseInputScript(run == 0 ? EventScriptText("sprint_good_run.txt") : replay, &script, &why))
            << why;
        ScriptPlayer player(script);
        for (int frame = 0; frame < 3000 && !s.scene->finished; ++frame) {
            player.Apply(frame);
            Step();
        }
        ASSERT_TRUE(s.scene->finished);
        played[run] = s.scene->fault ? -1.0f : s.scene->result;
        if (run > 0) break;
        PressKey(kKeyF5);
        PressKey(kKeyF5);
        std::stringstream text;
        text << std::ifstream("replays/0000.txt").rdbuf();
        replay = text.str();
        EXPECT_TRUE(std::filesystem::exists("replays/0001.txt")) << "a second save takes the next number";
        EXPECT_NE(replay.find("--scene 3 --seed " + std::to_string(seed)), std::string::npos) << replay;
    }
    std::filesystem::current_path(oldDir);
    EXPECT_EQ(played[1], played[0]);
}

} // namespace
} // namespace kel::test
