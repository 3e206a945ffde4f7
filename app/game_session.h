// GameSession: the game flow. It owns the player slots, the event records, the current scene and
// the screens over the menu, and moves the player between the menu, practice attempts and whole
// competitions (opening ceremonies, every scheduled event with one attempt per competitor, a
// medal presentation after each, closing ceremonies). It is the scene host the scenes ask.
#pragma once

#include "app/input_script.h"
#include "sim/nations.h"
#include "sim/records.h"
#include "sim/scene_host.h"

#include <cstdint>

namespace kel {

class CreditsPanel;
class MenuScreen;
class PauseScreen;
class SportEvent;

enum SessionState : int32_t {
    kStateMenu = 1,
    kStateEventCardOpen = 2,
    kStateCreditsOpen = 3,
    kStateNationPicking = 4,
    kStateInScene = 7,
    kStateMedalCeremony = 8,
};

// Button ids (sprite ids) the session acts on.
constexpr int kButtonContinue = 78;
constexpr int kButtonContinueCompetition = 94;
constexpr int kButtonSkip = 79;
constexpr int kButtonClose = 81;
constexpr int kButtonLeave = 84;
constexpr int kButtonPause = 85;
constexpr int kButtonCredits = 86;
constexpr int kButtonQuit = 87;
constexpr int kButtonConfirm = 88;
constexpr int kButtonNextPage = 89;
constexpr int kButtonQuitToMenu = 90;
constexpr int kButtonPlay = 76;
constexpr int kButtonFirstSlot = 67;
constexpr int kButtonRemovePlayer = 97;
constexpr int kButtonPickNation = 98;
constexpr int kButtonRandomNation = 99;
constexpr int kButtonFirstTile = 14;

constexpr const char* kMainTheme = "KelvaroMainTheme.mp3";

class GameSession : public SceneHost {
  public:
    // Loads the records from `recordsPath` (first-start values when it is missing or bad),
    // creates the screens, registers as the scene host and starts the main theme.
    explicit GameSession(const char* recordsPath = kRecordsFileName);
    ~GameSession() override;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    void Update();
    void Draw();

    // Writes records.rec atomically. Computer opponents' slots are written as their players'
    // own (inactive) slots, so a save in mid-competition keeps nothing of the opponents.
    bool Save();

    // ---- Flow operations ----------------------------------------------------------------------
    void CreateScene(int id);
    void RestartScene();
    void StartCompetition();
    void NextEvent(bool first);
    void ReturnToMenu();
    // Writes the analytics line once per event scene; an abandoned, unfinished attempt writes none.
    void LogResult(bool abandoned);

    // F5: writes the input of the last attempt to replays/NNNN.txt (the first free number), with
    // the scene and seed that play it back in the headless runner. False when there is none.
    bool SaveReplay();

    const PlayerRecord* CompetitorRecord(int k) const;

    // ---- Scene host ---------------------------------------------------------------------------
    bool DebugDraw() const override { return debugDraw != 0; }
    void DrawPhysicsDebug(b2World* world) override;
    bool Paused() const override { return paused != 0; }
    bool PanelOpen() const override;
    bool InScene() const override { return state == kStateInScene; }
    bool CompetitionRunning() const override { return competition != 0; }
    int CompetitorCount() const override { return competition ? competitorCount : 0; }
    const PlayerRecord* Competitor(int k) const override { return CompetitorRecord(k); }
    int CompetitorSlot(int k) const override;
    bool WithComputers() const override { return competition != 0 && withComputers != 0; }
    int ScheduleCount() const override { return scheduleCount; }
    int32_t* BestMedalHaul() override { return bestMedalHaul; }
    int FinishedEvent() const override;
    bool EventStanding(int rank, RankedResult* entry) const override;
    bool NewWorldRecord() const override { return newRecord != 0; }
    int CurrentCompetitorSlot() const override;
    bool MedalPresentationShowing() const override { return state == kStateMedalCeremony; }
    bool CeremonyShowing() const override;

    // ---- Fields -------------------------------------------------------------------------------
    int32_t state = kStateMenu;
    int32_t framesInScene = 0;
    uint8_t paused = 0;
    int32_t selectedPlayer = -1;
    EventRecord events[kEventCount];
    SportEvent* scene = nullptr; // owned; kept after returning to the menu
    int32_t sceneEventId = -1;
    uint8_t competition = 0;
    PlayerRecord players[kPlayerCount];
    int32_t order[kPlayerCount] = {0, 1, 2, 3};
    int32_t resultsIn = 0;
    int32_t currentCompetitor = 0;
    int32_t competitorCount = 0;
    RankedResult standings[kPlayerCount];
    uint8_t newRecord = 0;
    uint8_t withComputers = 0;
    int32_t schedule[kEventCount] = {};
    int32_t scheduleIndex = 0;
    int32_t currentEvent = 0;
    int32_t scheduleCount = 0;
    Nation savedNations[kPlayerCount];
    MenuScreen* menu = nullptr;        // owned
    SportEvent* medalScreen = nullptr; // owned; null when the medal presentation is not built
    EventCard eventCard;
    PauseScreen* pauseScreen = nullptr;   // owned
    CreditsPanel* creditsPanel = nullptr; // owned
    NationPicker nationPicker;
    uint8_t debugDraw = 0;
    uint8_t resultLogged = 0;
    int32_t bestMedalHaul[3] = {};
    char recordsPath[256] = {};

    // The input of the current (or last) attempt, frame by frame from the scene's first update,
    // and what the headless runner needs to play it back: the scene and the generator's state
    // just before the scene was built.
    InputRecorder replayInput;
    int32_t replaySceneId = -1;
    uint32_t replaySeed = 0;
    int32_t replayFrames = 0;
    int32_t replayCounter = 0;

  private:
    void UpdateMenu();
    void UpdateInScene();
    void TakeResult();
    void CompleteEvent();
    void SaveAndQuit();
    void ResetMenu();
    void DrawMenu();
};

// Sorts standings best first: faultless entries by result (lower first for times), equal results
// by ascending slot, faulted entries last in the order they were entered.
void SortStandings(RankedResult* entries, int count, int eventId);

// Medal of each sorted entry: 0 gold, 1 silver, 2 bronze, -1 none. Ties share a medal.
void MedalsByRank(const RankedResult* entries, int count, int medals[kPlayerCount]);

} // namespace kel
