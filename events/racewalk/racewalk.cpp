// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/racewalk/racewalk.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;          // metres per second squared
constexpr float kFinishX = 100.0f;        // metres, judged on the walker's origin
constexpr float kStartLineX = 0.25f;      // metres
constexpr float kBackwardLimitX = -30.0f; // metres
constexpr float kMaxLean = 1.0995574f;    // radians (63 degrees) from upright
constexpr int kGunDelayFrames = 120;
constexpr int kEndFrames = 30; // frames from the decision to `finished`

// The ground reaches only from x = -20 to 280; the walker is lost once he falls past its
// underside or runs beyond the backward limit, and a walker left standing with no input ends
// the attempt after ten seconds.
constexpr int kIdleCapFrames = 600;
constexpr float kWorldLeft = kBackwardLimitX; // metres
constexpr float kWorldTop = -100.0f;
constexpr float kWorldRight = 300.0f;
constexpr float kWorldBottom = 5.0f;

// Ground: top y = 0 from x = -20 to 280, 5 m thick.
constexpr float kGroundLeft = -20.0f;
constexpr float kGroundWidth = 300.0f;
constexpr float kGroundHeight = 5.0f;
constexpr float kGroundFriction = 1.0f;

// The hill: a triangle 86 m wide and 6 m high, its peak at x = 50.
const b2Vec2 kHill[] = {{7.0f, 0.1f}, {50.0f, -6.0f}, {93.0f, 0.1f}};
constexpr float kHillFriction = 0.6f;

// Walker: 0.6 x 2 m on a slippery sole (top-left corner given).
constexpr float kWalkerLeft = -0.25f;
constexpr float kWalkerTop = -2.0f;
constexpr float kWalkerWidth = 0.6f;
constexpr float kWalkerHeight = 2.0f;
constexpr float kWalkerDensity = 0.88f; // kg per square metre
constexpr float kWalkerFriction = 0.08f;

// Starter: 0.8 x 2.4 m, left of the start line.
constexpr float kStarterLeft = -4.5f;
constexpr float kStarterTop = -2.4f;
constexpr float kStarterWidth = 0.8f;
constexpr float kStarterHeight = 2.4f;
constexpr float kStarterDensity = 0.4f;
constexpr float kStarterFriction = 0.75f;
constexpr float kStarterRestitution = 0.2f;

// The grab: unlimited and very soft, with no damping.
constexpr float kGrabDamping = 0.0f;    // damping ratio
constexpr float kGrabFrequency = 0.12f; // Hz

constexpr float kCameraY = -5.0f; // metres
constexpr float kZoom = 56.0f;    // px per metre

// Sprites of the track sheet.
constexpr int kWalkerSprite = 173;       // and 174, the second stride
constexpr int kWalkerLegsSprite = 176;   // and 177
constexpr int kWalkerReadySprite = 170;  // crouched body
constexpr int kWalkerReadyLegs = 178;
constexpr int kLineSprite = 171;
constexpr int kTreeSprite = 175;
constexpr float kStrideMetres = 2.0f; // a stride every 2 m
constexpr float kMaxStrides = 1.0e9f; // beyond it (or NaN) the stride is not recomputed
constexpr int kStepVolume = 70;
constexpr int kStepPan = -10;
constexpr float kStepPitch = 0.85f;

constexpr Colour kSkyColour = 0xFFF48FFFu;
constexpr Colour kGroundColour = 0xFFA0A0A0u;
constexpr float kTreeFirstX = -5.0f; // metres
constexpr float kTreeStepX = 14.0f;
constexpr float kTreesEndX = 120.0f;
constexpr float kSceneryScale = 0.1f;
constexpr float kWalkerScale = 0.08f;

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kDnqScale = 6.0f;
constexpr float kDnqY = 200.0f;
constexpr float kTimeY = 40.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 3.0f;
constexpr float kCallY = 250.0f;

} // namespace

SportEvent* CreateWalkEvent() {
    return new WalkEvent();
}

// ---- Building --------------------------------------------------------------------------------

WalkEvent::WalkEvent() : SportEvent(kEventWalk) {
    timer = 0;
    CreateWorld(kGravity);
    AddGroundBox(kGroundLeft, 0.0f, kGroundWidth, kGroundHeight, kGroundFriction, 0.0f);
    walker = CreateBox(kWalkerLeft, kWalkerTop, kWalkerWidth, kWalkerHeight, kWalkerDensity, kWalkerFriction, 0.0f);
    starter = CreateBox(kStarterLeft, kStarterTop, kStarterWidth, kStarterHeight, kStarterDensity,
                        kStarterFriction, kStarterRestitution);
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(0.0f, kCameraY);
    zoom = kZoom;
    strideFrame = 0;
    phase = kOnYourMark;
    AddGroundPolygon(kHill, 3, kHillFriction, 0.0f);
    SetBodyTag(groundBody, kTagWoodFloor);
    SetBodyTag(walker, kTagAthlete);

    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    WatchBody(walker);
}

// ---- Rules per frame -------------------------------------------------------------------------

void WalkEvent::Disqualify() {
    phase = kDisqualified;
    timer = 0;
    fault = true;
    StopMusic();
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
}

void WalkEvent::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;
    if (phase != kFinished) cameraX = walker->GetPosition().x;

    const StartRitual ritual{kStartLineX, "Racewalking.mp3"};
    const StartStep step = UpdateStartRitual(ritual, *this, &phase, &timer, startDelay, walker, starter);
    if (step == kStartLeftMark) startDelay = kGunDelayFrames;
    if (step == kStartFalse) Disqualify();

    // The frame of the gun already judges the walk.
    if (phase == kWalking) {
        const float x = walker->GetPosition().x;
        const float lean = walker->GetAngle();
        const float angle = std::atan2(std::sin(lean), std::cos(lean));
        if (x > kFinishX) {
            phase = kFinished;
            result = static_cast<float>(timer);
            StopMusic();
            PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
            timer = 0;
        } else if (x < kBackwardLimitX || !(angle > -kMaxLean && angle < kMaxLean) ||
                   CheckStall() != kStallNone) {
            // A NaN angle fails the test too: a walker flung out of the world is lost.
            ReleaseGrab();
            Disqualify();
        }
    }

    if ((phase == kFinished || phase == kDisqualified) && timer == kEndFrames) finished = true;
}

// ---- World drawing ---------------------------------------------------------------------------

void WalkEvent::Draw() {
    ClearScreen(kSkyColour);
    for (float x = kTreeFirstX;; x += kTreeStepX) {
        DrawSpriteScaled(kTreeSprite, x, 0.0f, kSceneryScale, kSceneryScale);
        if (!(x + kTreeStepX < kTreesEndX)) break;
    }
    DrawFixtures(groundBody->GetFixtureList(), kGroundColour);
    DrawBodyPlain(StarterSprite(phase, timer), starter, kSceneryScale);

    int body = kWalkerSprite;
    int legs = kWalkerLegsSprite;
    if (phase == kReady) {
        body = kWalkerReadySprite;
        legs = kWalkerReadyLegs;
    } else if (phase != kOnYourMark) {
        const float strides = std::fabs(walker->GetPosition().x) / kStrideMetres;
        const int f = strides < kMaxStrides ? static_cast<int>(strides) % 2 : strideFrame;
        body = kWalkerSprite + f;
        legs = kWalkerLegsSprite + f;
        if (f != strideFrame) PlayEffect(kSfxFootstep3, kStepVolume, kStepPan, kStepPitch, false);
        strideFrame = f;
    }
    DrawBody(body, walker, kWalkerScale);
    DrawBodyPlain(legs, walker, kWalkerScale);

    DrawSpriteRotated(kLineSprite, kStartLineX, 0.0f, 0.0f, kSceneryScale, kSceneryScale);
    DrawSpriteRotated(kLineSprite, kFinishX, 0.0f, 0.0f, kSceneryScale, kSceneryScale);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void WalkEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    const float cx = gApp.screenCentreX;
    if (phase == kDisqualified) {
        if (font != nullptr) font->Print(cx, kDnqY, kAlignCentre, kDnqScale, kBlack, "DNQ");
    } else {
        float y = kTimeY;
        if (phase == kFinished) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(timer));
        float shown = 0.0f;
        if (phase == kWalking) shown = static_cast<float>(timer);
        if (phase == kFinished) shown = result;
        if (font != nullptr) font->Print(cx, y, kAlignRight, kHudScale, kWhite, "TIME: ");
        DrawResult(cx, y, kAlignLeft, kHudScale, kWhite, eventId, shown, false);
    }
    DrawStartCalls(phase, timer, kCallY, kCallY);
}

} // namespace kel
