// Sections: constants; competitors; building; rules per frame; world drawing; HUD.
#include "ceremonies/opening.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/nations.h"
#include "sim/physics_compat.h"
#include "sim/scene_host.h"

#include <cmath>
#include <iterator>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;  // metres per second squared
constexpr float kCameraX = 12.8f; // metres: the stadium picture fills the screen
constexpr float kCameraY = 9.6f;

// Ground: a stage whose top is y = 12.3 up to x = 4.8, a ramp down to the arena floor at 14.8.
// The ramp meets the floor flush: even a 2 cm step there catches a figure lying on its side for
// good, and the run could never reach the cauldron.
const b2Vec2 kStageOutline[] = {{-10.0f, 12.3f}, {4.8f, 12.3f}, {14.8f, 14.8f}, {-10.0f, 14.8f}};
constexpr float kArenaLeft = 12.6f; // metres, top-left corner
constexpr float kArenaTop = 14.8f;
constexpr float kArenaWidth = 23.0f;
constexpr float kArenaHeight = 2.0f;
constexpr float kGroundFriction = 0.25f;
constexpr float kGroundRestitution = 0.25f;

// Figures: boxes with their top-left corner given; marcher k starts kMarcherSpacing × k further right.
constexpr float kFigureWidth = 0.7f; // metres
constexpr float kFigureHeight = 2.5f;
constexpr float kFigureTop = 12.4f;
constexpr float kFigureDensity = 1.0f; // kg per square metre
constexpr float kFigureFriction = 0.25f;
constexpr float kFigureRestitution = 0.25f;
constexpr float kTorchBearerLeft = 27.0f;
constexpr float kFirstMarcherLeft = 28.0f;
constexpr float kMarcherSpacing = 2.0f;

// Cauldron: a stand with the bowl resting loose on top, on the stage.
constexpr float kStandLeft = 2.4f;
constexpr float kStandTop = 10.7f;
constexpr float kStandWidth = 0.6f;
constexpr float kStandHeight = 1.6f;
constexpr float kBowlLeft = 1.3f;
constexpr float kBowlTop = 10.2f;
constexpr float kBowlWidth = 2.8f;
constexpr float kBowlHeight = 0.5f;
constexpr float kCauldronDensity = 2.0f;
constexpr float kCauldronFriction = 0.25f;
constexpr int kTagCauldron = 7;

// Blimp: a weightless ball waiting off screen to the left; its height follows the screen's top.
constexpr float kBlimpX = -5.0f; // metres
constexpr float kBlimpY = 2.5f;
constexpr float kBlimpYPerOffsetPx = 0.025f; // metres per px of screenOffsetY
constexpr float kBlimpRadius = 1.5f;
constexpr float kBlimpDensity = 0.25f;
constexpr float kBlimpDamping = 0.1f;     // tuned linear damping, per second
constexpr float kBlimpLaunchSpeed = 4.0f; // metres per second
constexpr float kBlimpThrust = 8.0f;      // newtons along the blimp's own x axis
constexpr float kBlimpStopX = 30.0f;      // metres: beyond it the flight is over

constexpr float kGrabDamping = 0.1f;   // damping ratio
constexpr float kGrabFrequency = 0.4f; // Hz

// The run: a push below the centre while slower than the limit.
constexpr float kRunForce = 8.0f;        // newtons, to the left
constexpr float kTorchSpeedLimit = 2.2f; // metres per second
constexpr float kTorchPushBelow = 0.7f;  // metres below the centre
constexpr float kTorchStopX = 5.7f;      // metres: the torch bearer has reached the cauldron
constexpr float kMarchSpeedLimit = 1.6f; // metres per second
constexpr float kMarchPushBelow = 0.65f; // metres below the centre
constexpr float kBlimpCueX = 20.0f;      // less the number of competitors, metres

// Sounds and their moments, in frames since the march began.
constexpr int kIgniteFrame = 80;
constexpr int kApplauseFrame = 110;
constexpr int kIgnitePan = -30;
constexpr int kJetStartVolume = 1;
constexpr int kJetStartPan = -100;
constexpr float kJetLoudDistance = 5.0f;   // metres from the camera centre: full volume
constexpr float kJetQuietDistance = 15.0f; // metres: silent

// Celebration: the poles swap between the two heights along a triangle wave.
constexpr float kShortPole = 5.2f; // metres
constexpr float kTallPole = 8.0f;
constexpr int kPolePeriod = 420;    // frames
constexpr float kPoleWidth = 0.2f;  // metres
constexpr int kContinueAfter = 121; // frames into the celebration
constexpr int kWaveFrom = 301;      // frames into the celebration
constexpr int kWaveCycle = 480;     // frames: the marchers wave in the first 72 of each
constexpr int kWaveFrames = 72;
constexpr int kWaveBlink = 16; // frames: waving in the first half

// Sprites of the opening sheet, drawn at 10 px per metre.
constexpr int kStadiumSprite = 117;
constexpr int kFlameSprite = 118;
constexpr int kBlimpSprite = 119;
constexpr int kBannerSprite = 120;
constexpr int kStandSprite = 121;
constexpr int kBowlSprite = 122;
constexpr int kMarcherSprite = 123;
constexpr int kWavingSprite = 124;
constexpr int kTorchBearerSprite = 125;
constexpr int kTorchFlameSprite = 126;
constexpr float kSpriteScale = 0.1f; // metres per px
constexpr float kBannerStretch = 10.0f;
// The banner's left edge in the blimp's frame: its right edge trails 0.2 m behind the tail fins
// (the blimp sprite reaches 2 m behind the centre).
const b2Vec2 kBannerAt = {-12.2f, 0.0f};
constexpr float kFlameAboveBowl = 0.35f;  // metres
constexpr int kFlickerPeriod = 10;        // frames: mirrored in the second half
const b2Vec2 kPoleFoot = {-0.95f, -0.6f}; // the marcher's hand, in its frame
const b2Vec2 kTorchAt = {-0.95f, -1.45f};

// HUD, screen px.
constexpr float kButtonAboveBottom = 44.0f;
constexpr float kButtonScale = 4.0f;

// Stand-in colours: one of six channel orders, the first channel brightest.
constexpr int kChannelOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
constexpr int kChannelBase[3] = {225, 195, 165};
constexpr int kChannelSpread[3] = {30, 35, 40};

} // namespace

SportEvent* CreateOpeningCeremonies() {
    return new OpeningCeremonies();
}

// ---- Competitors -----------------------------------------------------------------------------

namespace {

Colour StandInColour() {
    const int* order = kChannelOrders[RandomInt(6)];
    uint32_t channels[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        channels[order[i]] = static_cast<uint32_t>(kChannelBase[i] + RandomInt(kChannelSpread[i]));
    return PackColour(channels[0], channels[1], channels[2], 255);
}

} // namespace

// ---- Building --------------------------------------------------------------------------------

OpeningCeremonies::OpeningCeremonies() : SportEvent(kSceneOpening) {
    SceneHost* host = CurrentSceneHost();
    int count = host != nullptr ? host->CompetitorCount() : 0;
    if (count > kMaxMarchers) {
        LogDebug("Opening ceremonies: %d competitors, only %d march", count, kMaxMarchers);
        count = kMaxMarchers;
    }
    if (count > 0) {
        for (int k = 0; k < count; ++k) {
            competitors[k] = host->Competitor(k);
            if (competitors[k] == nullptr) {
                LogDebug("Opening ceremonies: competitor %d has no record", k);
                competitors[k] = &standIns[k];
            }
        }
    } else {
        // Outside a competition the first-start players march.
        count = kMaxMarchers;
        for (int k = 0; k < count; ++k) {
            standIns[k].active = 1;
            MixNation(&standIns[k].nation);
            standIns[k].colour = StandInColour();
            competitors[k] = &standIns[k];
        }
    }
    competitorCount = count;

    timer = 0;
    CreateWorld(kGravity);

    b2PolygonShape stageShape;
    if (SetPolygonChecked(&stageShape, kStageOutline, static_cast<int>(std::size(kStageOutline)))) {
        b2FixtureDef stageDef;
        stageDef.shape = &stageShape;
        stageDef.density = 0.0f;
        stageDef.friction = kGroundFriction;
        stageDef.restitution = kGroundRestitution;
        stageDef.filter.categoryBits = 0x0001;
        stageDef.filter.maskBits = 0xFFFF;
        groundBody->CreateFixture(&stageDef);
    }
    AddGroundBox(kArenaLeft, kArenaTop, kArenaWidth, kArenaHeight, kGroundFriction, kGroundRestitution);

    torchBearer = CreateBox(kTorchBearerLeft, kFigureTop, kFigureWidth, kFigureHeight, kFigureDensity,
                            kFigureFriction, kFigureRestitution);
    SetBodyTag(torchBearer, kTagAthlete);
    for (int k = 0; k < competitorCount; ++k) {
        const float left = kFirstMarcherLeft + kMarcherSpacing * static_cast<float>(k);
        marchers[k] = CreateBox(left, kFigureTop, kFigureWidth, kFigureHeight, kFigureDensity,
                                kFigureFriction, kFigureRestitution);
        SetBodyTag(marchers[k], kTagAthlete);
    }

    cauldronStand = CreateBox(kStandLeft, kStandTop, kStandWidth, kStandHeight, kCauldronDensity,
                              kCauldronFriction, 0.0f);
    cauldronBowl =
        CreateBox(kBowlLeft, kBowlTop, kBowlWidth, kBowlHeight, kCauldronDensity, kCauldronFriction, 0.0f);
    SetBodyTag(cauldronStand, kTagCauldron);
    SetBodyTag(cauldronBowl, kTagCauldron);

    blimp = CreateCircle(kBlimpX, kBlimpY + kBlimpYPerOffsetPx * gApp.screenOffsetY, kBlimpRadius,
                         kBlimpDensity, 0.0f, 0.0f);
    blimp->SetGravityScale(0.0f);
    SetTunedLinearDamping(blimp, kBlimpDamping);
    SetBodyTag(blimp, kTagWood);

    SetBodyTag(groundBody, kTagWoodFloor);

    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraY);

    for (int k = 0; k < kMaxMarchers; ++k)
        poleHeights[k] = k % 2 == 0 ? kShortPole : kTallPole;
    stageFrames = 0;
    jetChannel = 0;
    stage = kTorchRun;

    PlayMusic("OpeningCeremonies.mp3", true);
}

OpeningCeremonies::~OpeningCeremonies() {
    if (jetChannel != 0) StopChannel(jetChannel);
}

// ---- Rules per frame -------------------------------------------------------------------------

void OpeningCeremonies::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;
    if (stage > kTorchRun) stageFrames += 1;
    if (stageFrames == kIgniteFrame) PlayEffect(kSfxIgnite, 100, kIgnitePan, 1.0f, false);
    if (stageFrames == kApplauseFrame) PlayEffect(kSfxClapping, 100, 0, 1.0f, false);

    switch (stage) {
    case kTorchRun: {
        const b2Vec2 p = torchBearer->GetPosition();
        if (p.x > kTorchStopX) {
            if (torchBearer->GetLinearVelocity().x > -kTorchSpeedLimit)
                ApplyForceWaking(torchBearer, b2Vec2(-kRunForce, 0.0f), p + b2Vec2(0.0f, kTorchPushBelow));
        } else {
            stage = kMarch;
        }
        break;
    }
    case kMarch:
        for (int k = 0; k < competitorCount; ++k) {
            b2Body* m = marchers[k];
            if (m->GetLinearVelocity().x > -kMarchSpeedLimit)
                ApplyForceWaking(m, b2Vec2(-kRunForce, 0.0f),
                                 m->GetPosition() + b2Vec2(0.0f, kMarchPushBelow));
        }
        if (marchers[0]->GetPosition().x < kBlimpCueX - static_cast<float>(competitorCount)) {
            stage = kBlimpFlight;
            blimp->SetLinearVelocity(b2Vec2(kBlimpLaunchSpeed, 0.0f));
            jetChannel = PlayEffect(kSfxJet1, kJetStartVolume, kJetStartPan, 1.0f, true);
        }
        break;
    case kBlimpFlight:
        ApplyForceToCentreWaking(blimp, blimp->GetWorldVector(b2Vec2(kBlimpThrust, 0.0f)));
        if (blimp->GetPosition().x > kBlimpStopX) {
            blimp->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            stage = kCelebration;
            timer = 0;
            PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
        }
        break;
    default: {
        const float t = static_cast<float>(timer % kPolePeriod);
        const float a = std::fabs(t / (kPolePeriod / 2.0f) - 1.0f) * (kTallPole - kShortPole);
        for (int k = 0; k < kMaxMarchers; ++k)
            poleHeights[k] = k % 2 == 0 ? kTallPole - a : kShortPole + a;
        break;
    }
    }

    if (stage >= kBlimpFlight) {
        const b2Vec2 p = blimp->GetPosition();
        const float distance = std::hypot(p.x - cameraX, p.y - cameraY);
        SetChannelVolume(jetChannel,
                         RemapClamped(distance, kJetLoudDistance, kJetQuietDistance, 100.0f, 0.0f));
        SetChannelPan(jetChannel, SoundPan(p.x));
    }
}

// ---- World drawing ---------------------------------------------------------------------------

namespace {

float BodyAngle(const b2Body* body) {
    const b2Rot& q = body->GetTransform().q;
    return std::atan2(q.s, q.c);
}

} // namespace

void OpeningCeremonies::Draw() {
    DrawSpriteScaled(kStadiumSprite, 0.0f, 0.0f, kSpriteScale, kSpriteScale);

    DrawBodyPlain(kBlimpSprite, blimp, kSpriteScale);
    const b2Vec2 banner = blimp->GetWorldPoint(kBannerAt);
    DrawSpriteRotated(kBannerSprite, banner.x, banner.y, BodyAngle(blimp), kBannerStretch * kSpriteScale,
                      kSpriteScale);

    DrawBodyPlain(kStandSprite, cauldronStand, kSpriteScale);
    DrawBodyPlain(kBowlSprite, cauldronBowl, kSpriteScale);

    const float flicker = timer % kFlickerPeriod < kFlickerPeriod / 2 ? kSpriteScale : -kSpriteScale;
    if (stageFrames > kIgniteFrame) {
        const b2Vec2 bowl = cauldronBowl->GetPosition();
        DrawSpriteScaled(kFlameSprite, bowl.x, bowl.y - kFlameAboveBowl, flicker, kSpriteScale);
    }

    const int cycle = timer % kWaveCycle;
    const bool waving = stage == kCelebration && timer >= kWaveFrom && cycle < kWaveFrames &&
                        cycle % kWaveBlink < kWaveBlink / 2;
    for (int k = 0; k < competitorCount; ++k) {
        SetColour(competitors[k]->colour);
        DrawBodyPlain(waving ? kWavingSprite : kMarcherSprite, marchers[k], kSpriteScale);
        ResetColour();
    }

    for (int k = competitorCount - 1; k >= 0; --k) {
        const b2Vec2 foot = marchers[k]->GetWorldPoint(kPoleFoot);
        const float h = poleHeights[k];
        FillRect(foot.x, foot.y - h, kPoleWidth, h, kWhite);
        DrawFlag(competitors[k]->nation, foot.x + kPoleWidth, foot.y - h, kSpriteScale);
    }

    const b2Vec2 torch = torchBearer->GetWorldPoint(kTorchAt);
    DrawSpriteRotated(kTorchFlameSprite, torch.x, torch.y, BodyAngle(torchBearer), flicker, kSpriteScale);
    DrawBodyPlain(kTorchBearerSprite, torchBearer, kSpriteScale);

    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void OpeningCeremonies::DrawHud() {
    const bool over = stage == kCelebration && timer >= kContinueAfter;
    HudButton(over ? kContinueButtonCompetition : kSkipButton, gApp.screenCentreX,
              gApp.screenHeightF - kButtonAboveBottom, kButtonScale);
}

} // namespace kel
