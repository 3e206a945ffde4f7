// Sections: standings and medals; life; saving; update; scene flow; competitions; drawing.
#include "app/game_session.h"

#include "base/app_state.h"
#include "app/menu_screen.h"
#include "app/pause_screen.h"
#include "base/random.h"
#include "app/scene_registry.h"
#include "app/shell.h"
#include "audio/sound.h"
#include "ceremonies/credits.h"
#include "gfx/renderer.h"
#include "platform/files.h"
#include "platform/heap.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/sport_event.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace kel {

namespace {

constexpr int kHoldToRemoveFrames = 30;

bool KeyPressed(int key) {
    return key >= 0 && key < kKeyCount && gApp.keyPressed[key] != 0;
}

bool LowerIsBetter(int eventId) {
    const ScoreKind kind = kEventTable[eventId].kind;
    return kind == kScoreTimeHundredths || kind == kScoreTimeThousandths;
}

} // namespace

// ---- Standings and medals --------------------------------------------------------------------

void SortStandings(RankedResult* entries, int count, int eventId) {
    if (!IsEventId(eventId) || count < 2) return;
    const bool lower = LowerIsBetter(eventId);
    std::stable_sort(entries, entries + count, [lower](const RankedResult& a, const RankedResult& b) {
        if (a.fault != b.fault) return !a.fault;
        if (a.fault) return false; // faulted rows keep the order they were entered in
        if (a.result != b.result) return lower ? a.result < b.result : a.result > b.result;
        return a.slot < b.slot;
    });
}

void MedalsByRank(const RankedResult* entries, int count, int medals[kPlayerCount]) {
    for (int k = 0; k < kPlayerCount; ++k)
        medals[k] = -1;
    if (count >= 1 && !entries[0].fault) medals[0] = 0;
    if (count >= 2 && !entries[1].fault) medals[1] = entries[1].result == entries[0].result ? 0 : 1;
    if (count >= 3 && !entries[2].fault) {
        // A faulted second row cannot precede a faultless third, so medals[1] is set here.
        const int second = medals[1] < 0 ? 1 : medals[1];
        medals[2] = entries[2].result != entries[1].result ? second + 1 : second;
    }
    // Only three places win medals, but a fourth result equal to the third shares its medal.
    if (count >= 4 && !entries[3].fault && medals[2] >= 0 && entries[3].result == entries[2].result)
        medals[3] = medals[2];
}

// ---- Life ------------------------------------------------------------------------------------

GameSession::GameSession(const char* path) {
    gApp.gameSession = this;
    gApp.frameCounter = 0;
    std::snprintf(recordsPath, sizeof recordsPath, "%s", path != nullptr ? path : kRecordsFileName);

    for (int e = 0; e < kEventCount; ++e) {
        events[e] = EventRecord{};
        events[e].recordValue = kEventTable[e].marks[2];
        MixNation(&events[e].recordHolder);
    }
    // No tile on the menu: these stay out of competitions unless the records file includes them.
    events[kEventShotPut].included = 0;
    events[kEventLongJump].included = 0;
    for (PlayerRecord& p : players) {
        p = PlayerRecord{};
        MixNation(&p.nation);
        p.colour = RandomPlayerColour();
    }
    players[0].active = 1;

    RecordsData data;
    std::copy(std::begin(events), std::end(events), data.events);
    std::copy(std::begin(players), std::end(players), data.players);
    if (LoadRecords(&data, recordsPath)) {
        std::copy(std::begin(data.events), std::end(data.events), events);
        std::copy(std::begin(data.players), std::end(data.players), players);
        std::copy(std::begin(data.bestTally), std::end(data.bestTally), bestMedalHaul);
    } else if (FileExists(recordsPath)) {
        // A file we could not read or had to refuse still holds the player's records: keep it
        // aside before the first save replaces it.
        KeepRefusedRecords(recordsPath);
    }

    menu = new MenuScreen(MenuSource{players, events, &selectedPlayer});
    pauseScreen = new PauseScreen();
    creditsPanel = new CreditsPanel();
    EventCardInit(&eventCard);
    NationPickerInit(&nationPicker);
    SetSceneHost(this);

    // The sound system keeps the volumes from here on; the pause slider and the M key change them
    // there, and saving reads them back.
    SetEffectsVolume(data.effectsVolume);
    SetMusicVolume(data.musicVolume);
    PlayMusic(kMainTheme, true);
}

GameSession::~GameSession() {
    if (CurrentSceneHost() == this) SetSceneHost(nullptr);
    delete scene;
    delete medalScreen;
    delete pauseScreen;
    delete creditsPanel;
    delete menu;
    if (gApp.gameSession == this) gApp.gameSession = nullptr;
}

int GameSession::CurrentCompetitorSlot() const {
    return competition != 0 && currentCompetitor >= 0 && currentCompetitor < kPlayerCount ? currentCompetitor : 0;
}

const PlayerRecord* GameSession::CompetitorRecord(int k) const {
    if (k < 0 || k >= competitorCount || k >= kPlayerCount) return nullptr;
    const int slot = order[k];
    return slot >= 0 && slot < kPlayerCount ? &players[slot] : nullptr;
}

int GameSession::CompetitorSlot(int k) const {
    return k >= 0 && k < competitorCount && k < kPlayerCount ? order[k] : k;
}

int GameSession::FinishedEvent() const {
    return competition != 0 && state == kStateMedalCeremony ? currentEvent : -1;
}

bool GameSession::EventStanding(int rank, RankedResult* entry) const {
    if (competition == 0 || rank < 0 || rank >= resultsIn || rank >= kPlayerCount || entry == nullptr)
        return false;
    *entry = standings[rank];
    return true;
}

bool GameSession::PanelOpen() const {
    return state == kStateEventCardOpen || state == kStateCreditsOpen || state == kStateNationPicking;
}

// ---- Saving ----------------------------------------------------------------------------------

bool GameSession::Save() {
    RecordsData data;
    std::copy(std::begin(events), std::end(events), data.events);
    std::copy(std::begin(players), std::end(players), data.players);
    if (competition != 0 && withComputers != 0) ReturnOpponentSlots(data.players, savedNations);
    data.musicVolume = MusicVolume();
    data.effectsVolume = EffectsVolume();
    std::copy(std::begin(bestMedalHaul), std::end(bestMedalHaul), data.bestTally);
    return SaveRecords(data, recordsPath);
}

void GameSession::SaveAndQuit() {
    Save();
    RequestQuit();
}

// ---- Update ----------------------------------------------------------------------------------

void GameSession::Update() {
    ++gApp.frameCounter;
    ++framesInScene;

    if (KeyPressed('r')) RestartScene();
    if (KeyPressed('d')) debugDraw = debugDraw != 0 ? 0 : 1;
    if (KeyPressed('i')) gApp.showButtons = gApp.showButtons != 0 ? 0 : 1;
    if (KeyPressed('t')) gApp.showText = gApp.showText != 0 ? 0 : 1;
    if (KeyPressed('b')) gApp.showBars = gApp.showBars != 0 ? 0 : 1;
    if (KeyPressed('m')) SetMusicVolume(MusicVolume() != 0 ? 0 : 100);
    if (KeyPressed(kKeyF5)) SaveReplay();
    if (KeyPressed('c')) {
        StartCompetition();
        CreateScene(kSceneClosing);
    }

    if (paused != 0) {
        const int clicked = pauseScreen->clickedButton;
        pauseScreen->clickedButton = -1;
        if (clicked == kPauseResumeButton || clicked == kButtonClose) {
            paused = 0;
        } else if (clicked == kButtonQuitToMenu) {
            LogResult(true);
            paused = 0;
            ReturnToMenu();
        }
    }

    const bool escape = KeyPressed(kKeyEscape);
    switch (state) {
    case kStateMenu:
        UpdateMenu();
        if (escape && state == kStateMenu) SaveAndQuit();
        break;
    case kStateEventCardOpen:
        EventCardClick(eventCard, events);
        if (eventCard.clickedId == kCardCloseButton || escape) {
            state = kStateMenu;
        } else if (eventCard.clickedId == kCardPlayButton) {
            eventCard.clickedId = -1;
            state = kStateMenu;
            CreateScene(eventCard.eventId);
        }
        break;
    case kStateCreditsOpen:
        creditsPanel->Update();
        if (creditsPanel->clicked == kButtonClose || escape) {
            state = kStateMenu;
        } else if (creditsPanel->clicked == kButtonNextPage) {
            creditsPanel->NextPage();
        }
        creditsPanel->clicked = -1;
        break;
    case kStateNationPicking:
        NationPickerUpdate(&nationPicker);
        if (nationPicker.clickedId == kPickerOkButton || escape) {
            if (nationPicker.selected >= 0 && selectedPlayer >= 0 && selectedPlayer < kPlayerCount) {
                PlayerRecord& p = players[selectedPlayer];
                p.active = 1;
                SetNation(&p.nation, nationPicker.selected);
                p.colour = RandomPlayerColour();
            }
            nationPicker.clickedId = -1;
            state = kStateMenu;
            ResetMenu();
        }
        break;
    case kStateInScene:
        UpdateInScene();
        break;
    case kStateMedalCeremony:
        if (medalScreen != nullptr) {
            medalScreen->Update();
            if (medalScreen->clickedButton == kButtonContinue) {
                medalScreen->clickedButton = -1;
                NextEvent(false);
            } else if (escape) {
                ReturnToMenu();
            }
        } else {
            NextEvent(false);
        }
        break;
    default:
        LogDebug("Game session in unknown state %d, back to the menu", state);
        ReturnToMenu();
        break;
    }
}

void GameSession::UpdateMenu() {
    menu->Update();
    const int clicked = menu->clickedButton;
    if (clicked < 0) return;
    menu->clickedButton = -1;
    if (clicked == kButtonCredits) {
        creditsPanel->Open(0);
        state = kStateCreditsOpen;
    } else if (clicked == kButtonQuit) {
        SaveAndQuit();
    } else if (clicked == kButtonPlay) {
        StartCompetition();
    } else if (clicked >= kButtonFirstSlot && clicked < kButtonFirstSlot + kPlayerCount) {
        const int k = clicked - kButtonFirstSlot;
        if (players[k].active != 0 && menu->pressFrames >= kHoldToRemoveFrames) players[k].active = 0;
        selectedPlayer = k;
        menu->popupFrames = kMenuPopupFrames;
    } else if (clicked == kButtonPickNation && selectedPlayer >= 0) {
        const Nation& n = players[selectedPlayer].nation;
        NationPickerReset(&nationPicker, n.pure != 0 ? n.countryA : -1);
        state = kStateNationPicking;
        menu->popupFrames = kMenuPopupFrames;
    } else if (clicked == kButtonRandomNation && selectedPlayer >= 0) {
        PlayerRecord& p = players[selectedPlayer];
        p.active = 1;
        MixNation(&p.nation);
        p.colour = RandomPlayerColour();
        menu->popupFrames = kMenuPopupFrames;
    } else if (clicked == kButtonRemovePlayer && selectedPlayer >= 0) {
        players[selectedPlayer].active = 0;
        menu->popupFrames = 0;
    } else if (clicked >= kButtonFirstTile && clicked < kButtonFirstTile + kEventCount) {
        const int e = clicked - kButtonFirstTile;
        if (SceneBuilt(e)) {
            EventCardInit(&eventCard);
            eventCard.eventId = e;
            state = kStateEventCardOpen;
        } else {
            LogDebug("Event %d is not built; its card stays closed", e);
        }
    }
}

void GameSession::UpdateInScene() {
    if (scene == nullptr) {
        ReturnToMenu();
        return;
    }
    if (paused == 0) {
        replayInput.Record(replayFrames++);
        scene->Update();
    }
    const int clicked = scene->clickedButton;
    if (sceneEventId == kSceneClosing && clicked == kButtonConfirm) {
        ReturnToMenu();
        return;
    }
    if (sceneEventId == kSceneOpening && (clicked == kButtonSkip || clicked == kButtonContinue)) {
        scene->clickedButton = -1;
        NextEvent(true);
        return;
    }
    if (IsEventId(sceneEventId) && scene->finished &&
        (clicked == kButtonContinue || clicked == kButtonContinueCompetition)) {
        scene->clickedButton = -1;
        TakeResult();
        return;
    }
    if (KeyPressed(kKeyEscape) || clicked == kButtonLeave) {
        LogResult(true);
        ReturnToMenu();
        return;
    }
    if (clicked == kButtonPause && paused == 0) {
        scene->clickedButton = -1;
        pauseScreen->Reset();
        paused = 1;
    }
}

// ---- Scene flow ------------------------------------------------------------------------------

void GameSession::TakeResult() {
    LogResult(false);
    if (competition == 0) {
        RestartScene();
        return;
    }
    if (resultsIn < 0 || resultsIn >= competitorCount) {
        LogDebug("Result taken with %d of %d results in; ignored", resultsIn, competitorCount);
        return;
    }
    standings[resultsIn].slot = currentCompetitor;
    standings[resultsIn].result = std::floor(scene->result * 100.0f + 0.5f) * 0.01f;
    standings[resultsIn].fault = scene->fault;
    ++resultsIn;
    if (withComputers != 0) {
        while (resultsIn < competitorCount) {
            const int c = order[resultsIn];
            currentCompetitor = c;
            float m = kEventTable[currentEvent].marks[std::min(resultsIn, 3) - 1];
            const int opponent = players[c].opponentIndex;
            if (opponent >= 0 && opponent < kOpponentCount && kOpponents[opponent].specialty == currentEvent)
                m = kOpponents[opponent].result;
            standings[resultsIn] = RankedResult{c, m, false};
            ++resultsIn;
        }
    }
    if (resultsIn < competitorCount) {
        currentCompetitor = order[resultsIn];
        RestartScene();
        return;
    }
    CompleteEvent();
}

void GameSession::CompleteEvent() {
    SortStandings(standings, competitorCount, currentEvent);
    const RankedResult& best = standings[0];
    const PlayerRecord& winner = players[best.slot];
    newRecord = ApplyWorldRecord(&events[currentEvent], currentEvent, best.result, best.fault,
                                 winner.computer != 0, winner.nation)
                    ? 1
                    : 0;
    int medals[kPlayerCount] = {};
    MedalsByRank(standings, competitorCount, medals);
    for (int k = 0; k < competitorCount; ++k) {
        PlayerRecord& p = players[standings[k].slot];
        if (medals[k] == 0) ++p.gold;
        if (medals[k] == 1) ++p.silver;
        if (medals[k] == 2) ++p.bronze;
    }
    // A new world record is kept at once: a crash or a killed game before the orderly quit (which
    // saves too) must not lose it.
    if (newRecord != 0) Save();
    scene->SetPlayer(nullptr);
    state = kStateMedalCeremony;
    delete medalScreen;
    medalScreen = CreateSceneById(kSceneMedals);
}

void GameSession::CreateScene(int id) {
    delete scene;
    scene = nullptr;
    StopMusic();
    const uint32_t seed = RandomState();
    scene = CreateSceneById(id);
    if (scene == nullptr) {
        LogDebug("Scene %d could not be created; back to the menu", id);
        sceneEventId = -1;
        ReturnToMenu();
        return;
    }
    state = kStateInScene;
    paused = 0;
    if (competition != 0 && IsEventId(id)) {
        scene->SetPlayer(&players[currentCompetitor]);
        scene->competition = true;
    } else {
        currentCompetitor = 0;
        scene->SetPlayer(&players[0]);
    }
    sceneEventId = id;
    framesInScene = 0;
    resultLogged = 0;
    replaySceneId = id;
    replaySeed = seed;
    replayFrames = 0;
    replayInput.Clear();
}

bool GameSession::SaveReplay() {
    if (replaySceneId < 0) {
        LogDebug("No attempt to save as a replay yet");
        return false;
    }
    if (!EnsureDirectory("replays")) {
        LogDebug("Can't make the replays folder");
        return false;
    }
    char name[64];
    do {
        std::snprintf(name, sizeof name, "replays/%04d.txt", replayCounter++);
    } while (FileExists(name) && replayCounter < 10000);
    std::string text = "# Kelvaro replay of scene " + std::to_string(replaySceneId) + ". Play it back with\n" +
                       "# kelvaro-sim --scene " + std::to_string(replaySceneId) + " --seed " +
                       std::to_string(replaySeed) + " --input " + name + "\n";
    text += replayInput.Text();
    if (!WriteFileAtomic(name, text.data(), text.size())) return false;
    LogDebug("Replay %s", name);
    return true;
}

void GameSession::RestartScene() {
    // The presentation's event is decided: its medals and record are given, and playing it again
    // would give them twice.
    if (state == kStateMedalCeremony) return;
    if (scene != nullptr) CreateScene(sceneEventId);
}

void GameSession::ReturnToMenu() {
    state = kStateMenu;
    paused = 0;
    PlayMusic(kMainTheme, true);
    if (competition != 0 && withComputers != 0) {
        for (int k = 0; k < kPlayerCount; ++k) {
            if (players[k].computer == 0) continue;
            players[k].nation = savedNations[k];
            players[k].active = 0;
        }
    }
    competition = 0;
    gApp.mousePressed = 0;
    gApp.mouseReleased = 0;
    ReleaseTextureSlotsExcept(nullptr, 0);
    ResetMenu();
    ReturnFreeHeapToSystem();
}

void GameSession::LogResult(bool abandoned) {
    if (resultLogged != 0 || scene == nullptr || !IsEventId(sceneEventId)) return;
    if (abandoned && !scene->finished) return;
    LogDebug("Flurry:  %s  %d", kEventTable[sceneEventId].displayName,
             AchievementLevel(sceneEventId, scene->result, scene->fault));
    resultLogged = 1;
}

void GameSession::ResetMenu() {
    menu->Reset();
}

// ---- Competitions ----------------------------------------------------------------------------

void GameSession::StartCompetition() {
    // A competition started over a running one (developer key C) first gives the opponents'
    // slots back, or their players' own nations would be lost.
    if (competition != 0 && withComputers != 0) ReturnOpponentSlots(players, savedNations);
    competition = 0;
    competitorCount = 0;
    for (int k = 0; k < kPlayerCount; ++k) {
        PlayerRecord& p = players[k];
        p.gold = p.silver = p.bronze = 0;
        if (p.active == 0) continue;
        p.computer = 0;
        p.opponentIndex = 0;
        order[competitorCount++] = k;
    }
    if (competitorCount == 0) {
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
        return;
    }
    withComputers = competitorCount == 1 ? 1 : 0;
    if (withComputers != 0) {
        for (int k = 0; k < kPlayerCount; ++k) {
            PlayerRecord& p = players[k];
            if (p.active != 0) continue;
            p.active = 1;
            p.computer = 1;
            p.opponentIndex = RandomInt(kOpponentCount);
            savedNations[k] = p.nation;
            if (RandomInt(3) != 0)
                RandomNation(&p.nation);
            else
                MixNation(&p.nation);
            order[competitorCount++] = k;
        }
    }
    scheduleCount = 0;
    for (int e = 0; e < kEventCount; ++e)
        if (events[e].included != 0 && SceneBuilt(e)) schedule[scheduleCount++] = e;
    if (scheduleCount == 0) {
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
        for (int k = 0; k < kPlayerCount; ++k) {
            if (players[k].computer == 0 || withComputers == 0) continue;
            players[k].nation = savedNations[k];
            players[k].active = 0;
        }
        return;
    }
    for (int k = scheduleCount - 1; k >= 1; --k)
        std::swap(schedule[k], schedule[RandomInt(k + 1)]);
    scheduleIndex = 0;
    competition = 1;
    CreateScene(kSceneOpening);
}

void GameSession::NextEvent(bool first) {
    if (!first) ++scheduleIndex;
    if (scheduleIndex >= scheduleCount) {
        scheduleIndex = scheduleCount;
        CreateScene(kSceneClosing);
        return;
    }
    currentEvent = schedule[scheduleIndex];
    if (withComputers != 0 && competitorCount == kPlayerCount) {
        std::swap(order[1], order[2 + RandomInt(2)]);
        if (RandomInt(2) == 0) std::swap(order[2], order[3]);
    } else if (!first) {
        std::reverse(order, order + competitorCount);
    }
    resultsIn = 0;
    currentCompetitor = order[0];
    newRecord = 0;
    CreateScene(currentEvent);
}

// ---- Drawing ---------------------------------------------------------------------------------

void GameSession::DrawMenu() {
    menu->DrawFrame();
}

void GameSession::Draw() {
    switch (state) {
    case kStateMenu:
        DrawMenu();
        break;
    case kStateCreditsOpen:
        DrawMenu();
        creditsPanel->Draw();
        break;
    case kStateEventCardOpen:
        DrawMenu();
        DrawEventCard(&eventCard, events[IsEventId(eventCard.eventId) ? eventCard.eventId : 0]);
        break;
    case kStateNationPicking:
        DrawMenu();
        NationPickerDraw(&nationPicker);
        break;
    case kStateInScene:
        if (scene != nullptr) scene->DrawFrame();
        break;
    case kStateMedalCeremony:
        if (scene != nullptr) {
            // The finished event's world under the presentation, without its HUD.
            FlushBatch();
            PushMatrix();
            TranslateMatrix(gApp.screenWidthF / 2.0f, gApp.screenHeightF / 2.0f);
            ScaleMatrix(scene->zoom, scene->zoom);
            TranslateMatrix(-scene->cameraX, -scene->cameraY);
            scene->Draw();
            if (debugDraw != 0 && scene->world != nullptr) DrawPhysicsDebug(scene->world);
            FlushBatch();
            PopMatrix();
        }
        if (medalScreen != nullptr) medalScreen->DrawFrame();
        break;
    default:
        break;
    }
    if (paused != 0) pauseScreen->Draw();
}

bool GameSession::CeremonyShowing() const {
    if (paused != 0) return false;
    if (state == kStateMedalCeremony) return true;
    return state == kStateInScene && scene != nullptr &&
           (scene->eventId == kSceneOpening || scene->eventId == kSceneClosing);
}

void GameSession::DrawPhysicsDebug(b2World* world) {
    DrawWorldOutlines(world);
}

} // namespace kel
