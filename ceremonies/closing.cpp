// Sections: constants; ranking; building; rules per frame; world drawing; HUD.
#include "ceremonies/closing.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/nations.h"
#include "sim/physics_compat.h"
#include "sim/scene_host.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;  // metres per second squared
constexpr float kCameraX = 12.8f; // metres: the stadium fills the screen at the default zoom
constexpr float kCameraY = 9.6f;
constexpr char kMusic[] = "ClosingCeremonies.mp3";

// Ground: its top, y = 15.2 m, is the near edge of the track in the stadium picture.
constexpr float kGroundLeft = -10.0f; // metres
constexpr float kGroundTop = 15.2f;
constexpr float kGroundWidth = 35.6f;
constexpr float kGroundHeight = 2.0f;
constexpr float kGroundFriction = 0.25f;
constexpr float kGroundRestitution = 0.25f;

// Paraders: figure k's box has its top-left corner at (kParaderLeft - kParaderStep k, kParaderTop).
constexpr float kParaderLeft = -1.5f; // metres
constexpr float kParaderStep = 2.0f;
constexpr float kParaderTop = 12.7f;
constexpr float kParaderWidth = 0.7f;
constexpr float kParaderHeight = 2.5f;
constexpr float kParaderDensity = 1.0f; // kg per square metre
constexpr float kParaderFriction = 0.25f;
constexpr float kParaderRestitution = 0.25f;

constexpr float kGrabDamping = 0.1f;   // damping ratio
constexpr float kGrabFrequency = 0.4f; // Hz

// Parade: pushed between these frames while the leader is left of competitors + kParadeEndX.
constexpr int kParadeFirstFrame = 240;    // exclusive
constexpr int kParadeLastFrame = 780;     // exclusive
constexpr float kParadeEndX = 4.5f;       // metres
constexpr float kParadeTopSpeed = 1.6f;   // metres per second: faster figures are not pushed
constexpr float kParadeForce = 8.0f;      // newtons
constexpr float kParadePushBelow = 0.65f; // metres below the figure's centre

// Rocket: launched every kRocketPeriod frames, kRocketFirstFrame into the period.
constexpr int kRocketPeriod = 240;
constexpr int kRocketFirstFrame = 5;
constexpr float kRocketStartX = 14.0f; // metres
constexpr float kRocketStartY = 7.8f;
constexpr float kRocketMinAngle = 0.25f; // half turns above the horizontal
constexpr float kRocketMaxAngle = 0.75f;
constexpr float kRocketMinSpeed = 0.08f; // metres per frame
constexpr float kRocketMaxSpeed = 0.12f;
constexpr int kRocketFlightFrames = 180;
constexpr float kRocketGravity = 0.001f;   // metres per frame per frame
constexpr float kRocketBurstSpeed = 0.02f; // metres per frame downward: it is falling
constexpr int kLaunchVolume = 40;
constexpr int kBurstVolume = 100;
constexpr int kFireworkPresets[kClosingFireworkCount] = {kPresetFireworkRed, kPresetFireworkBlue,
                                                         kPresetFireworkGreen, kPresetFireworkYellow};

constexpr int kClappingFrame = 720;
constexpr int kClappingVolume = 100;

// Falling balls: one every kBallPeriod frames after kBallAfterFrame.
constexpr int kBallAfterFrame = 1080;
constexpr int kBallPeriod = 30;
constexpr float kBallMinX = 1.0f; // metres
constexpr float kBallMaxX = 24.6f;
constexpr float kBallStartY = -1.0f;
constexpr float kBallFallenY = 20.0f; // a ball below it is taken back to the sky
constexpr float kBallRadius = 0.6f;
constexpr float kBallDensity = 0.25f;
constexpr float kBallFriction = 0.1f;
constexpr float kBallRestitution = 0.5f;

// Sprites of the closing sheet and the medal icons.
constexpr int kStadiumSprite = 127;
constexpr int kGoldSprite = 5; // then silver and bronze
constexpr int kBallSprite = 8; // three balls, 8..10
constexpr int kBallSpriteCount = 3;
constexpr int kFigureSprite = 123;
constexpr float kSpriteScale = 0.1f; // metres per sprite px

// Medal table, metres. Rows are bands of kRowHeight from kRowTop - kBandAbove.
constexpr int kTableRows = 5;
constexpr float kRowTop = 11.0f;
constexpr float kRowStep = 1.1f;
constexpr float kBandAbove = 0.2f;
constexpr float kBandBelow = 1.0f;
constexpr float kTableWidth = 25.6f;
constexpr Colour kBandColour = 0x14FFFFFFu;
constexpr float kNameRightX = 16.7f;
constexpr float kNameFieldWidth = 16.3f; // metres: from 0.4 m inside the left edge
constexpr float kCountRightX[3] = {18.95f, 21.45f, 23.95f};
constexpr float kIconX[3] = {17.7f, 20.2f, 22.7f};
constexpr float kIconY = 9.5f;
constexpr float kTextScale = 0.1f; // metres per font px
constexpr float kHumanBob = -0.1f; // metres: a human's name hops
constexpr int kBobPeriod = 40;     // frames; up in the first half
// Gold, silver, bronze, then a pale lilac: all light, as the table stands on dark green.
constexpr Colour kNameColours[] = {0xFF18FFFFu, 0xFFFFFFE2u, 0xFF0EB3EDu, 0xFFFFB4C8u};
constexpr int kNameColourCount = static_cast<int>(sizeof kNameColours / sizeof kNameColours[0]);

constexpr float kRocketSize = 0.1f; // metres
constexpr Colour kRocketColour = 0xFF5A5A5Au;

// Flags: the pole stands at this point of the figure, the flag hangs left of its top.
constexpr float kPoleLocalX = 0.95f; // metres
constexpr float kPoleLocalY = -0.6f;
constexpr float kPoleWidth = 0.2f;
constexpr float kFlagLeftOfPole = 3.0f; // the flag's width at kSpriteScale

// HUD, screen px.
constexpr float kButtonAboveBottom = 44.0f;
constexpr float kButtonScale = 4.0f;

// The log line the analytics read: 3 when the winner is human, 2 when the runner-up is, and so on.
constexpr int kOlympicPlaceMinEvents = 15;

// The stand-ins' tints when no game flow gives competitors (packed RGBA).
constexpr Colour kStandInColours[kPlayerCount] = {0xFFB4E6FFu, 0xFFFFD2B4u, 0xFFC8FFC8u, 0xFFFFC8F0u};

} // namespace

SportEvent* CreateClosingCeremonies() {
    return new ClosingCeremonies();
}

// ---- Ranking ---------------------------------------------------------------------------------

bool RanksBefore(const PlayerRecord slots[kPlayerCount], int a, int b) {
    const PlayerRecord& pa = slots[a];
    const PlayerRecord& pb = slots[b];
    if (pa.gold != pb.gold) return pa.gold > pb.gold;
    if (pa.silver != pb.silver) return pa.silver > pb.silver;
    if (pa.bronze != pb.bronze) return pa.bronze > pb.bronze;
    return a < b;
}

int64_t MedalHaulScore(int64_t gold, int64_t silver, int64_t bronze) {
    return (gold * 100 + silver) * 100 + bronze;
}

namespace {

bool SameTally(const PlayerRecord& a, const PlayerRecord& b) {
    return a.gold == b.gold && a.silver == b.silver && a.bronze == b.bronze;
}

} // namespace

// ---- Building --------------------------------------------------------------------------------

ClosingCeremonies::ClosingCeremonies() : SportEvent(kSceneClosing) {
    ClosingSetup setup;
    setup.players = slots;
    SceneHost* host = CurrentSceneHost();
    const int fromHost = host != nullptr ? host->CompetitorCount() : 0;
    if (fromHost <= 0) {
        for (int i = 0; i < kPlayerCount; ++i) {
            slots[i].active = 1;
            MixNation(&slots[i].nation);
            slots[i].colour = kStandInColours[i];
        }
        setup.competitorCount = kPlayerCount;
        Build(setup);
        return;
    }
    // The session's competitors, each copied into its own slot; Build skips whatever is left
    // out here, as it skips a slot named twice.
    const int count = Min(fromHost, kPlayerCount);
    bool copied[kPlayerCount] = {};
    for (int k = 0; k < count; ++k) {
        const int slot = host->CompetitorSlot(k);
        const PlayerRecord* record = host->Competitor(k);
        setup.order[k] = -1;
        if (slot < 0 || slot >= kPlayerCount || record == nullptr || copied[slot]) continue;
        slots[slot] = *record;
        copied[slot] = true;
        setup.order[k] = slot;
    }
    setup.competitorCount = count;
    setup.withComputers = host->WithComputers();
    setup.scheduleCount = host->ScheduleCount();
    setup.bestMedalHaul = host->BestMedalHaul();
    Build(setup);
}

ClosingCeremonies::ClosingCeremonies(const ClosingSetup& setup) : SportEvent(kSceneClosing) {
    Build(setup);
}

ClosingCeremonies::~ClosingCeremonies() {
    for (Emitter& e : fireworks)
        EmitterFree(&e);
}

void ClosingCeremonies::Build(const ClosingSetup& setup) {
    timer = 0;
    CreateWorld(kGravity);
    AddGroundBox(kGroundLeft, kGroundTop, kGroundWidth, kGroundHeight, kGroundFriction, kGroundRestitution);

    // A slot outside 0..3 or named twice would rank a competitor twice or read past the slots.
    competitorCount = 0;
    withComputers = setup.withComputers;
    const int wanted = ClampInt(setup.competitorCount, 0, kPlayerCount);
    if (wanted != setup.competitorCount)
        LogDebug("Closing: %d competitors, using %d", setup.competitorCount, wanted);
    bool taken[kPlayerCount] = {};
    for (int k = 0; k < wanted; ++k) {
        const int slot = setup.order[k];
        if (slot < 0 || slot >= kPlayerCount || taken[slot]) {
            LogDebug("Closing: competitor %d names slot %d, skipped", k, slot);
            continue;
        }
        taken[slot] = true;
        ranking[competitorCount] = slot;
        competitorCount += 1;
    }
    if (setup.players == nullptr) LogDebug("Closing: no player slots given, the table shows blank ones");
    if (setup.players != nullptr && setup.players != slots) {
        for (int i = 0; i < kPlayerCount; ++i)
            slots[i] = setup.players[i];
    }
    // The names are printed; a record that lost its terminator must not run past its name.
    for (PlayerRecord& p : slots)
        p.nation.name[kNationNameSize - 1] = '\0';

    for (int k = 0; k < competitorCount; ++k) {
        paraders[k] =
            CreateBox(kParaderLeft - kParaderStep * static_cast<float>(k), kParaderTop, kParaderWidth,
                      kParaderHeight, kParaderDensity, kParaderFriction, kParaderRestitution);
        SetBodyTag(paraders[k], kTagAthlete);
    }
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraY);

    // Insertion sort: four entries, and equal tallies keep the lower slot first.
    for (int i = 1; i < competitorCount; ++i) {
        const int slot = ranking[i];
        int j = i;
        for (; j > 0 && RanksBefore(slots, slot, ranking[j - 1]); --j)
            ranking[j] = ranking[j - 1];
        ranking[j] = slot;
    }

    if (withComputers && competitorCount > 0) {
        const PlayerRecord& winner = slots[ranking[0]];
        if (winner.computer == 0 && setup.bestMedalHaul != nullptr) {
            int32_t* best = setup.bestMedalHaul;
            if (MedalHaulScore(winner.gold, winner.silver, winner.bronze) >
                MedalHaulScore(best[0], best[1], best[2])) {
                best[0] = winner.gold;
                best[1] = winner.silver;
                best[2] = winner.bronze;
            }
        }
        if (setup.scheduleCount >= kOlympicPlaceMinEvents) {
            int place = 0;
            for (int k = 0; k < 3 && k < competitorCount; ++k) {
                if (slots[ranking[k]].computer == 0) {
                    place = 3 - k;
                    break;
                }
            }
            LogDebug("Flurry:  olympic place %d", place);
        }
    }

    rocketFrames = 0;
    nextFirework = 0;
    for (int i = 0; i < kClosingFireworkCount; ++i)
        EmitterInit(&fireworks[i], kFireworkPresets[i]);
    PlayMusic(kMusic, true);
}

// ---- Rules per frame -------------------------------------------------------------------------

void ClosingCeremonies::LaunchRocket() {
    rocketPos = b2Vec2(kRocketStartX, kRocketStartY);
    const float angle = RandomFloat(kRocketMinAngle, kRocketMaxAngle) * kPi;
    const float speed = RandomFloat(kRocketMinSpeed, kRocketMaxSpeed);
    rocketVel = b2Vec2(speed * std::cos(angle), -speed * std::sin(angle));
    rocketFrames = kRocketFlightFrames;
    PlayEffect(kSfxFwLaunch, kLaunchVolume, 0, 1.0f, false);
}

void ClosingCeremonies::FlyRocket() {
    rocketPos += rocketVel;
    rocketFrames -= 1;
    rocketVel.y += kRocketGravity;
    if (rocketFrames > 0 && !(rocketVel.y > kRocketBurstSpeed)) return;
    rocketFrames = 0;
    PlayEffect(kSfxFwExplode, kBurstVolume, SoundPan(rocketPos.x), 1.0f, false);
    Emitter& burst = fireworks[nextFirework];
    burst.emitX = rocketPos.x;
    burst.emitY = rocketPos.y;
    EmitterStart(&burst);
    nextFirework = (nextFirework + 1) % kClosingFireworkCount;
}

void ClosingCeremonies::DropBall() {
    const float x = RandomFloat(kBallMinX, kBallMaxX);
    for (b2Body*& ball : fallingBalls) {
        if (ball == nullptr) {
            ball = CreateCircle(x, kBallStartY, kBallRadius, kBallDensity, kBallFriction, kBallRestitution);
            SetBodyTag(ball, kTagMetal);
            return;
        }
        if (ball->GetPosition().y > kBallFallenY) {
            ball->SetTransform(b2Vec2(x, kBallStartY), 0.0f);
            ball->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            ball->SetAngularVelocity(0.0f);
            ball->SetAwake(true);
            return;
        }
    }
}

void ClosingCeremonies::Parade() {
    if (!(timer > kParadeFirstFrame && timer < kParadeLastFrame) || competitorCount == 0) return;
    if (!(paraders[0]->GetPosition().x < static_cast<float>(competitorCount) + kParadeEndX)) return;
    for (int k = 0; k < competitorCount; ++k) {
        b2Body* figure = paraders[k];
        if (!(figure->GetLinearVelocity().x < kParadeTopSpeed)) continue;
        ApplyForceWaking(figure, b2Vec2(kParadeForce, 0.0f),
                         figure->GetWorldPoint(b2Vec2(0.0f, kParadePushBelow)));
    }
}

void ClosingCeremonies::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;

    if (timer % kRocketPeriod == kRocketFirstFrame) LaunchRocket();
    if (rocketFrames > 0) FlyRocket();
    for (Emitter& e : fireworks)
        EmitterUpdate(&e);
    if (timer == kClappingFrame) PlayEffect(kSfxClapping, kClappingVolume, 0, 1.0f, false);
    if (timer > kBallAfterFrame && timer % kBallPeriod == 0) DropBall();
    Parade();
}

// ---- World drawing ---------------------------------------------------------------------------

void ClosingCeremonies::Draw() {
    DrawSpriteScaled(kStadiumSprite, 0.0f, 0.0f, kSpriteScale, kSpriteScale);
    for (int m = 0; m < 3; ++m)
        DrawSpriteScaled(kGoldSprite + m, kIconX[m], kIconY, kSpriteScale, kSpriteScale);

    // The bands go down first, all in one untextured batch: they are a third of the screen.
    for (int r = 0; r < kTableRows; ++r) {
        const float y = kRowTop + kRowStep * static_cast<float>(r);
        FillWideRect(0.0f, y - kBandAbove, kTableWidth, kBandAbove + kBandBelow, kBandColour);
    }
    BitmapFont* font = gApp.font;
    int colourIndex = 0;
    for (int r = 0; r < competitorCount && r < kTableRows; ++r) {
        const float y = kRowTop + kRowStep * static_cast<float>(r);
        const PlayerRecord& p = slots[ranking[r]];
        if (font != nullptr) {
            const bool hops =
                withComputers && p.computer == 0 && gApp.frameCounter % kBobPeriod < kBobPeriod / 2;
            const float scale = font->FitScale(p.nation.name, kTextScale, kNameFieldWidth);
            const float lower = 0.5f * font->height * (kTextScale - scale);
            font->Print(kNameRightX, y + lower + (hops ? kHumanBob : 0.0f), kAlignRight, scale,
                        kNameColours[colourIndex], p.nation.name);
            const int32_t counts[3] = {p.gold, p.silver, p.bronze};
            for (int m = 0; m < 3; ++m)
                font->Printf(kCountRightX[m], y, kAlignRight, kTextScale, kWhite, "%d", counts[m]);
        }
        if (r + 1 < competitorCount && !SameTally(p, slots[ranking[r + 1]]))
            colourIndex = Min(colourIndex + 1, kNameColourCount - 1);
    }

    if (rocketFrames > 0) {
        FillRect(rocketPos.x - kRocketSize / 2.0f, rocketPos.y - kRocketSize / 2.0f, kRocketSize, kRocketSize,
                 kRocketColour);
    }
    for (const Emitter& e : fireworks)
        EmitterDraw(e);

    for (int i = 0; i < kClosingBallCount; ++i) {
        if (fallingBalls[i] != nullptr)
            DrawBodyPlain(kBallSprite + i % kBallSpriteCount, fallingBalls[i], kSpriteScale);
    }
    for (int k = 0; k < competitorCount; ++k) {
        SetColour(slots[ranking[k]].colour);
        DrawBodyPlain(kFigureSprite, paraders[k], kSpriteScale);
        ResetColour();
    }
    for (int k = competitorCount - 1; k >= 0; --k) {
        const b2Vec2 top = paraders[k]->GetWorldPoint(b2Vec2(kPoleLocalX, kPoleLocalY));
        const float h = poleHeights[k];
        FillRect(top.x, top.y - h, kPoleWidth, h, kWhite);
        DrawFlag(slots[ranking[k]].nation, top.x - kFlagLeftOfPole, top.y - h, kSpriteScale);
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void ClosingCeremonies::DrawHud() {
    HudButton(kClosingEndButton, gApp.screenCentreX, gApp.screenHeightF - kButtonAboveBottom, kButtonScale);
}

} // namespace kel
