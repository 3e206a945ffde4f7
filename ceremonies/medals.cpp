// Sections: constants; medals; building; rules per frame; world drawing; HUD.
#include "ceremonies/medals.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/nations.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f; // metres per second squared
constexpr char kMusic[] = "MedalPresentation.mp3";

// Podium steps (top-left corner, size; metres), by place 1, 2, 3: first in the centre and highest,
// second to its left, third to its right.
constexpr float kStepLeft[kMedalPlaces] = {-1.15f, -3.45f, 1.15f};
constexpr float kStepTop[kMedalPlaces] = {4.0f, 4.4f, 4.8f};
constexpr float kStepHeight[kMedalPlaces] = {4.2f, 3.8f, 3.4f};
constexpr float kStepWidth = 2.3f;
constexpr float kStepFriction = 0.5f;
constexpr float kStepRestitution = 0.2f;

// Figures: a box as tall as the figure sprite, standing on its step.
constexpr float kFigureLeft[kMedalPlaces] = {-0.35f, -2.65f, 1.95f}; // metres
constexpr float kFigureWidth = 0.7f;
constexpr float kFigureDensity = 1.0f; // kg per square metre
constexpr float kFigureFriction = 0.1f;
constexpr float kFigureRestitution = 0.0f;
// Height of a figure whose sprite is missing from the atlas, so the box is never degenerate.
constexpr float kFallbackFigureHeight = 2.5f; // metres

constexpr float kGrabDamping = 0.5f;   // damping ratio
constexpr float kGrabFrequency = 0.5f; // Hz

// Camera: it starts above the podium and sinks onto it.
constexpr float kCameraX = 0.0f; // metres
constexpr float kCameraStartY = -8.0f;
constexpr float kCameraEndY = 0.4f;
constexpr float kCameraSink = 0.25f; // metres per frame

// The board shows one more row every kRowFrames; the record fanfare sounds at kTwinkleFrame.
constexpr int kRowFrames = 30;
constexpr int kTwinkleFrame = 30;
constexpr int kTwinkleVolume = 100;
constexpr int kTwinklePan = -30;

// Sprites and their scales (metres per sprite px).
constexpr int kPodiumSprite = 3;
constexpr int kPodiumBaseSprite = 54; // plain columns, drawn under the podium and lower down
constexpr float kPodiumX = -3.45f;    // metres
constexpr float kPodiumY = 4.0f;
constexpr float kPodiumBaseY = 7.0f;
constexpr int kGoldSprite = 5; // then silver and bronze
constexpr float kSpriteScale = 0.1f;
constexpr float kMedalScale = 0.05f;
constexpr float kMedalOffset = 0.3f; // metres up and left of the attachment point
constexpr float kTagScale = 0.05f;
// Nation tags on the podium front, by place (metres).
constexpr float kTagX[kMedalPlaces] = {2.7f - 3.45f, 0.4f - 3.45f, 5.0f - 3.45f};
constexpr float kTagY[kMedalPlaces] = {0.4f + 4.0f, 0.8f + 4.0f, 1.2f + 4.0f};
// Opponent-table rows whose figures wear the player's colour.
constexpr int kTintedRows[] = {0, 9, 13};
constexpr int kWinnerFramePeriod = 30; // frames; the second frame shows in the first half

// HUD, screen px.
constexpr float kBannerTop = 8.0f;
constexpr float kBannerHeight = 58.0f;
constexpr float kBannerWidth = 1024.0f;
constexpr Colour kBannerColour = 0x80FFFFFFu;
constexpr float kLabelTop = 18.0f;
constexpr float kLabelScale = 4.0f;
constexpr float kTextScale = 3.0f;
constexpr float kRowTop = 96.0f;
constexpr float kRowStep = 72.0f;
constexpr float kRowHeight = 52.0f;
constexpr Colour kRowColour = 0x19000000u;         // black, alpha 25
constexpr Colour kSwimmingRowColour = 0x2D000000u; // black, alpha 45: the pool is bright
constexpr float kNameX = 480.0f;
constexpr float kNameFieldWidth = 528.0f; // to 16 px short of the right edge
constexpr float kResultRightX = 408.0f;
constexpr float kTextBelowRow = 16.0f;
constexpr float kHumanHop = -4.0f;
constexpr int kHopPeriod = 40; // frames; up in the first half
constexpr float kRecordX = 16.0f;
constexpr float kRecordBelowRow = 3.0f;
constexpr int kRecordBlinkPeriod = 30; // frames; shown in the first kRecordBlinkOn
constexpr int kRecordBlinkOn = 18;
constexpr Colour kRecordColour = 0xFF6363FFu;
constexpr float kButtonAboveBottom = 44.0f;
constexpr float kButtonScale = 4.0f;

// The made-up competition when no game flow gives one: a 100 m dash with a tie for second, a
// disqualified fourth and a world record, so every part of the screen shows.
constexpr int32_t kStandInOpponents[kPlayerCount] = {0, 9, 13, 4};
constexpr float kStandInResults[kPlayerCount] = {342.0f, 401.0f, 401.0f, 0.0f}; // frames
constexpr Colour kStandInColours[kPlayerCount] = {0xFFB4E6FFu, 0xFFFFD2B4u, 0xFFC8FFC8u, 0xFFFFC8F0u};
// With no finished event drawn beneath, a pale sky keeps the black names readable. It covers
// every camera position of the scene (metres).
constexpr float kSkyLeft = -15.0f;
constexpr float kSkyTop = -20.0f;
constexpr float kSkyWidth = 30.0f;
constexpr float kSkyHeight = 32.0f;
constexpr Colour kSkyColour = 0xFFF0DCC8u;

int RowsFor(int competitors) {
    return kRowFrames * competitors + kRowFrames;
}

} // namespace

SportEvent* CreateMedalPresentation() {
    return new MedalPresentation();
}

// ---- Medals ----------------------------------------------------------------------------------

void PodiumMedals(const RankedResult standings[kMedalPlaces], const bool present[kMedalPlaces],
                  int32_t medals[kMedalPlaces]) {
    // The second place's medal as counted, even when it has no figure (then 0).
    int32_t second = 0;
    if (present[1]) second = standings[1].result == standings[0].result ? 0 : 1;
    int32_t third = second + (standings[2].result != standings[1].result ? 1 : 0);
    medals[0] = present[0] ? 0 : -1;
    medals[1] = present[1] ? second : -1;
    medals[2] = present[2] ? third : -1;
}

// ---- Building --------------------------------------------------------------------------------

MedalPresentation::MedalPresentation() : SportEvent(kSceneMedals) {
    MedalSetup setup;
    setup.players = slots;
    SceneHost* host = CurrentSceneHost();
    const int fromHost = host != nullptr ? host->CompetitorCount() : 0;
    if (fromHost <= 0) {
        for (int i = 0; i < kPlayerCount; ++i) {
            slots[i].active = 1;
            MixNation(&slots[i].nation);
            slots[i].colour = kStandInColours[i];
            slots[i].computer = i == 0 ? 0 : 1;
            slots[i].opponentIndex = kStandInOpponents[i];
            setup.standings[i].slot = i;
            setup.standings[i].result = kStandInResults[i];
            setup.standings[i].fault = i == kPlayerCount - 1;
        }
        setup.competitorCount = kPlayerCount;
        setup.withComputers = true;
        setup.newRecord = true;
        Build(setup);
        standIn = true;
        return;
    }
    // The competitors' records, each copied into its slot; a standing that names a slot nobody
    // filled is dropped below, so the board never prints a stranger's name.
    const int count = Min(fromHost, kPlayerCount);
    bool copied[kPlayerCount] = {};
    for (int k = 0; k < count; ++k) {
        const int slot = host->CompetitorSlot(k);
        const PlayerRecord* record = host->Competitor(k);
        if (slot < 0 || slot >= kPlayerCount || record == nullptr || copied[slot]) continue;
        slots[slot] = *record;
        copied[slot] = true;
    }
    int rows = 0;
    for (int k = 0; k < count; ++k) {
        RankedResult entry;
        if (!host->EventStanding(k, &entry)) {
            LogDebug("Medals: no standing %d", k);
            continue;
        }
        if (entry.slot < 0 || entry.slot >= kPlayerCount || !copied[entry.slot]) {
            LogDebug("Medals: standing %d names slot %d, skipped", k, entry.slot);
            continue;
        }
        setup.standings[rows++] = entry;
    }
    setup.competitorCount = rows;
    setup.eventId = host->FinishedEvent();
    setup.withComputers = host->WithComputers();
    setup.newRecord = host->NewWorldRecord();
    Build(setup);
}

MedalPresentation::MedalPresentation(const MedalSetup& setup) : SportEvent(kSceneMedals) {
    Build(setup);
}

void MedalPresentation::Build(const MedalSetup& setup) {
    timer = 0;
    CreateWorld(kGravity);

    finishedEvent = setup.eventId;
    if (!IsEventId(finishedEvent)) {
        LogDebug("Medals: event %d does not exist, showing the 100 m dash", finishedEvent);
        finishedEvent = kEventDash;
    }
    competitorCount = ClampInt(setup.competitorCount, 0, kPlayerCount);
    if (competitorCount != setup.competitorCount)
        LogDebug("Medals: %d competitors, using %d", setup.competitorCount, competitorCount);
    withComputers = setup.withComputers;
    newRecord = setup.newRecord;
    if (setup.players == nullptr) LogDebug("Medals: no player slots given, the board shows blank ones");
    if (setup.players != nullptr && setup.players != slots) {
        for (int i = 0; i < kPlayerCount; ++i)
            slots[i] = setup.players[i];
    }
    for (PlayerRecord& p : slots) {
        // The names are printed and the figures looked up in the opponent table.
        p.nation.name[kNationNameSize - 1] = '\0';
        if (p.opponentIndex < 0 || p.opponentIndex >= kOpponentCount) {
            LogDebug("Medals: opponent %d does not exist, using 0", p.opponentIndex);
            p.opponentIndex = 0;
        }
    }
    for (int i = 0; i < competitorCount; ++i) {
        RankedResult entry = setup.standings[i];
        if (entry.slot < 0 || entry.slot >= kPlayerCount) {
            LogDebug("Medals: standing %d names slot %d, shown as slot 0 disqualified", i, entry.slot);
            entry.slot = 0;
            entry.fault = true;
        }
        if (!std::isfinite(entry.result)) {
            LogDebug("Medals: standing %d has no finite result, disqualified", i);
            entry.result = 0.0f;
            entry.fault = true;
        }
        standings[i] = entry;
    }

    for (int k = 0; k < kMedalPlaces; ++k)
        AddGroundBox(kStepLeft[k], kStepTop[k], kStepWidth, kStepHeight[k], kStepFriction, kStepRestitution);
    SetBodyTag(groundBody, kTagWood);

    bool present[kMedalPlaces] = {};
    RankedResult podium[kMedalPlaces];
    for (int k = 0; k < kMedalPlaces; ++k) {
        if (k < competitorCount) podium[k] = standings[k];
        present[k] = k < competitorCount && !standings[k].fault;
        if (!present[k]) continue;
        float h = kSpriteScale * SpriteHeight(FigureSprite(k));
        if (!(h > 0.0f)) {
            LogDebug("Medals: figure sprite %d has no height", FigureSprite(k));
            h = kFallbackFigureHeight;
        }
        figures[k] = CreateBox(kFigureLeft[k], kStepTop[k] - h, kFigureWidth, h, kFigureDensity,
                               kFigureFriction, kFigureRestitution);
        SetBodyTag(figures[k], kTagAthlete);
    }
    PodiumMedals(podium, present, medals);

    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraStartY);

    nobodyQualified = true;
    for (int i = 0; i < competitorCount; ++i)
        nobodyQualified = nobodyQualified && standings[i].fault;
    if (!nobodyQualified) PlayMusic(kMusic, true);
}

int MedalPresentation::FigureSprite(int place) const {
    return kOpponents[slots[standings[place].slot].opponentIndex].sprite;
}

// ---- Rules per frame -------------------------------------------------------------------------

void MedalPresentation::Update() {
    SportEvent::Update();
    StepWorld();
    if (cameraY < kCameraEndY) cameraY = Min(cameraY + kCameraSink, kCameraEndY);
    timer += 1;
    const int boardFrames = RowsFor(competitorCount);
    if (timer < boardFrames && gApp.mouseReleased) timer += boardFrames;
    if (timer == kTwinkleFrame && newRecord)
        PlayEffect(kSfxTwinkle, kTwinkleVolume, kTwinklePan, 1.0f, false);
}

// ---- World drawing ---------------------------------------------------------------------------

void MedalPresentation::Draw() {
    if (standIn) FillRect(kSkyLeft, kSkyTop, kSkyWidth, kSkyHeight, kSkyColour);
    if (!nobodyQualified) {
        DrawSpriteScaled(kPodiumBaseSprite, kPodiumX, kPodiumBaseY, kSpriteScale, kSpriteScale);
        DrawSpriteScaled(kPodiumSprite, kPodiumX, kPodiumY, kSpriteScale, kSpriteScale);
    }
    for (int k = 0; k < kMedalPlaces; ++k) {
        const b2Body* figure = figures[k];
        if (figure == nullptr) continue;
        const PlayerRecord& p = slots[standings[k].slot];
        const Opponent& row = kOpponents[p.opponentIndex];
        DrawNationTag(p.nation, kTagX[k], kTagY[k], kTagScale);

        bool tinted = false;
        for (const int r : kTintedRows)
            tinted = tinted || p.opponentIndex == r;
        if (tinted) SetColour(p.colour);
        int sprite = row.sprite;
        if (k == 0 && row.animated && gApp.frameCounter % kWinnerFramePeriod < kWinnerFramePeriod / 2)
            sprite += 1;
        DrawBodyPlain(sprite, figure, kSpriteScale);
        ResetColour();

        const b2Vec2 at = figure->GetWorldPoint(
            b2Vec2(kSpriteScale * (row.attachX - SpriteAnchorX(row.sprite)) - kMedalOffset,
                   kSpriteScale * (row.attachY - SpriteAnchorY(row.sprite)) - kMedalOffset));
        DrawSpriteRotated(kGoldSprite + medals[k], at.x, at.y, figure->GetAngle(), kMedalScale, kMedalScale);
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void MedalPresentation::DrawHud() {
    const int label = EventLabelSprite(finishedEvent);
    FillRect(0.0f, kBannerTop, kBannerWidth, kBannerHeight, kBannerColour);
    DrawSpriteScaled(label, gApp.screenCentreX - 2.0f * SpriteWidth(label), kLabelTop, kLabelScale,
                     kLabelScale);

    const int rows = Min(competitorCount, timer / kRowFrames);
    BitmapFont* font = gApp.font;
    const Colour band = finishedEvent == kEventSwimming ? kSwimmingRowColour : kRowColour;
    for (int i = 0; i < rows; ++i) {
        const float y = kRowTop + kRowStep * static_cast<float>(i);
        const RankedResult& entry = standings[i];
        const PlayerRecord& p = slots[entry.slot];
        FillRect(0.0f, y, kBannerWidth, kRowHeight, band);
        if (font != nullptr) {
            const bool hops =
                withComputers && p.computer == 0 && gApp.frameCounter % kHopPeriod < kHopPeriod / 2;
            // A long name shrinks to the field and stays centred on the row's text line.
            const float scale = font->FitScale(p.nation.name, kTextScale, kNameFieldWidth);
            const float lower = 0.5f * font->height * (kTextScale - scale);
            font->Print(kNameX, y + kTextBelowRow + lower + (hops ? kHumanHop : 0.0f), kAlignLeft, scale, kBlack,
                        p.nation.name);
        }
        DrawResult(kResultRightX, y + kTextBelowRow, kAlignRight, kTextScale, kWhite, finishedEvent,
                   entry.result, entry.fault);
        if (i == 0 && newRecord && font != nullptr && gApp.frameCounter % kRecordBlinkPeriod < kRecordBlinkOn)
            font->Print(kRecordX, y + kRecordBelowRow, kAlignLeft, kTextScale, kRecordColour,
                        "WORLD\nRECORD");
    }

    if (timer > RowsFor(competitorCount))
        HudButton(kContinueButtonCompetition, gApp.screenCentreX, gApp.screenHeightF - kButtonAboveBottom,
                  kButtonScale);
}

} // namespace kel
