// Sections: constants; building; rules per frame; the measuring plane; world drawing; HUD.
#include "events/polevault/polevault.h"

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

constexpr float kGravity = 7.0f; // metres per second squared
constexpr float kPlaneX = 31.0f; // metres

// Ground (top-left corner and size, metres). The runway has no friction, so the vaulter slides.
constexpr float kRunwayLeft = -19.0f;
constexpr float kRunwayWidth = 50.0f;
constexpr float kLandingWidth = 30.0f;
constexpr float kGroundDepth = 4.0f;
constexpr float kLandingFriction = 1.0f;
constexpr float kBoxLeftOfPlane = 1.0f; // the planting box stands 0.9 m over the runway
constexpr float kBoxTop = -0.9f;
constexpr float kBoxWidth = 0.4f;
constexpr float kBoxHeight = 1.0f;
constexpr float kBoxFriction = 1.0f;

constexpr float kVaulterWidth = 0.7f; // metres
constexpr float kVaulterHeight = 2.5f;
constexpr float kVaulterDensity = 1.0f;
constexpr float kVaulterFriction = 0.1f;
constexpr float kVaulterAngularDamping = 0.1f; // per second, as tuned for the game's feel

constexpr float kPoleLeft = 1.5f; // metres: lying on the runway from 1.5 to 11.1
constexpr float kPoleTop = -0.2f;
constexpr float kPoleLength = 9.6f;
constexpr float kPoleThickness = 0.2f;
constexpr float kPoleDensity = 0.5f;
constexpr float kPoleFriction = 1.0f;

const b2Vec2 kHandOnVaulter(0.0f, -0.5f); // local metres
const b2Vec2 kHandOnPole(-4.7f, 0.0f);    // 0.1 m from the pole's rear end
const b2Vec2 kFrontHandOnPole(-4.1f, 0.0f);
constexpr float kRopeLength = 2.3f; // metres

constexpr float kMatGap = 2.0f; // metres from the plane to the mat
constexpr float kMatTop = -1.25f;
constexpr float kMatWidth = 7.0f;
constexpr float kMatHeight = 1.25f;
constexpr float kMatDensity = 2.0f;
constexpr float kMatFriction = 0.9f;
constexpr float kMatRestitution = 0.25f;

constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 0.22f; // Hz
constexpr int kGrabBudgetFrames = 420;
constexpr float kCameraLeadX = 6.0f; // metres
constexpr float kCameraMinX = 8.0f;
constexpr float kCameraY = -6.0f;
constexpr float kCameraFollowY = 0.1f;     // of the way per frame ...
constexpr float kCameraAboveVaulter = 6.0f; // ... toward this many metres above the vaulter

constexpr float kOffGroundY = -1.35f;  // metres: a higher centre is off the ground
constexpr float kLandedY = -2.6f;      // metres: a lower centre is back down at ground or mat level
constexpr float kRunBackX = -6.0f;     // metres: running back past it lets go of the pole
constexpr float kRayBottom = -0.1f;    // metres: the plane is measured from here ...
constexpr float kRayTop = -100.0f;     // ... up to here
constexpr int kEndFrames = 60;

// Ending an attempt nobody finishes: a vaulter left standing with the button up, or resting
// high on the pole or the box after the release, would wait for ever. Frames.
constexpr int kIdleCapFrames = 300;
constexpr float kWorldLeft = -19.0f; // the runway's left end
constexpr float kWorldTop = -300.0f;
constexpr float kWorldRight = 61.0f; // the landing ground's right end
constexpr float kWorldBottom = 10.0f;

// Drawing.
constexpr int kHorizonSprite = 233;
constexpr float kHorizonParallax = 0.5f;
constexpr float kHorizonOffsetX = -4.8f;
constexpr float kHorizonScale = 0.32f;
constexpr Colour kGrassColour = PackColour(36, 237, 83);
constexpr Colour kRunwayColour = PackColour(255, 157, 76);
constexpr Colour kBoxColour = PackColour(110, 110, 110);
constexpr Colour kMatColour = PackColour(82, 208, 217);
constexpr Colour kPlaneColour = PackColour(255, 140, 140);
constexpr Colour kGhostColour = PackColour(255, 100, 100, 180);
constexpr Colour kPoleBlinkColour = PackColour(220, 220, 220);
constexpr float kBandHalfWidth = 20.0f; // metres either side of the camera
constexpr float kBandHeight = 8.0f;
constexpr float kStripeLeft = 2.0f;
constexpr float kStripeWidth = 50.0f;
constexpr float kStripeHeight = 0.1f;
constexpr int kTickCount = 30;
constexpr float kTickWidth = 0.2f;
constexpr float kTickBaseHeight = 0.5f;
constexpr float kTickStepHeight = 0.1f;
constexpr float kArmOffsetX = 0.3f; // metres either side of the hand
constexpr int kArmSprite = 236;
constexpr int kVaulterSprite = 234; // and 235, the second running frame
constexpr int kPoleSprite = 237;
constexpr float kStrideScale = 0.59988f; // running frames per metre
constexpr float kSpriteScale = 0.1f;
constexpr int kGhostBlinkPeriod = 6;
constexpr int kPoleBlinkPeriod = 16;
constexpr float kLabelOffsetX = 0.2f;
constexpr float kLabelScale = 0.1f;
constexpr float kPlaneWidth = 0.1f;
constexpr float kHudScale = 4.0f;
constexpr float kFaultY = 240.0f; // px

// The first fixture the world reports on the plane: the vaulter (with the point) or the pole.
class VaultRayCallback : public b2RayCastCallback {
  public:
    explicit VaultRayCallback(const PoleVaultEvent* owner) : scene(owner) {}

    float ReportFixture(b2Fixture* fixture, const b2Vec2& at, const b2Vec2&, float) override {
        if (fixture->GetBody() == scene->vaulter) {
            point = at;
            hitVaulter = true;
        } else if (fixture->GetBody() == scene->pole) {
            hitPole = true;
        }
        return 0.0f;
    }

    bool hitVaulter = false;
    bool hitPole = false;
    b2Vec2 point{0.0f, 0.0f};
    const PoleVaultEvent* scene;
};

} // namespace

SportEvent* CreatePoleVaultEvent() {
    return new PoleVaultEvent();
}

// ---- Building --------------------------------------------------------------------------------

PoleVaultEvent::PoleVaultEvent() : SportEvent(kEventPoleVault) {
    CreateWorld(kGravity);
    planeX = kPlaneX;
    AddGroundBox(kRunwayLeft, 0.0f, kRunwayWidth, kGroundDepth, 0.0f, 0.0f);
    AddGroundBox(planeX, 0.0f, kLandingWidth, kGroundDepth, kLandingFriction, 0.0f);
    b2Fixture* plantingBox =
        AddGroundBox(planeX - kBoxLeftOfPlane, kBoxTop, kBoxWidth, kBoxHeight, kBoxFriction, 0.0f);

    vaulter = CreateBox(0.0f, -kVaulterHeight, kVaulterWidth, kVaulterHeight, kVaulterDensity, kVaulterFriction, 0.0f);
    SetTunedAngularDamping(vaulter, kVaulterAngularDamping);
    pole = CreateBox(kPoleLeft, kPoleTop, kPoleLength, kPoleThickness, kPoleDensity, kPoleFriction, 0.0f);
    handRope = CreateRope(vaulter, pole, kHandOnVaulter.x, kHandOnVaulter.y, kHandOnPole.x, kHandOnPole.y, kRopeLength);
    mat = CreateBox(planeX + kMatGap, kMatTop, kMatWidth, kMatHeight, kMatDensity, kMatFriction, kMatRestitution);

    SetBodyTag(groundBody, kTagWoodFloor);
    SetBodyTag(vaulter, kTagAthlete);
    SetBodyTag(mat, kTagMat);
    SetBodyTag(pole, kTagWood);
    SetFixtureTag(plantingBox, kTagWood);

    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(kCameraMinX, kCameraY);
    trackedBody = pole;
    WatchBody(vaulter);
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
}

bool PoleVaultEvent::IsTrackedBody(b2Body* body) {
    return body == pole;
}

// ---- Rules per frame -------------------------------------------------------------------------

void PoleVaultEvent::LetGoOfPole() {
    if (handRope != nullptr) world->DestroyJoint(handRope);
    handRope = nullptr;
    phase = kFlight;
}

void PoleVaultEvent::EnterEnded() {
    phase = kEnded;
    phaseFrames = 0;
    StopMusic();
}

// Back down: a crossing measured after the release is the result, none is a foul.
void PoleVaultEvent::Land() {
    if (hasClearance) {
        PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
        result = clearance;
    } else {
        fault = true;
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    }
    EnterEnded();
}

void PoleVaultEvent::PoleFoul() {
    fault = true;
    EnterEnded();
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    showFoulGhost = true;
    foulGhostPos = pole->GetPosition();
    foulGhostAngle = pole->GetAngle();
}

void PoleVaultEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;

    const b2Vec2 v = vaulter->GetPosition();
    cameraX = Clamp(v.x + kCameraLeadX, kCameraMinX, planeX - 1.0f);
    if (phase >= kFlight)
        cameraY = Min((1.0f - kCameraFollowY) * cameraY + kCameraFollowY * (v.y + kCameraAboveVaulter), kCameraY);

    // The phases follow on within a frame: a grab already vaults, a let-go pole already flies.
    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kVaulting;
        PlayMusic("PoleVault.mp3", true);
    }
    if (phase == kVaulting) {
        if (v.y < kOffGroundY) {
            if (!jumpSoundPlayed) {
                PlayEffect(kSfxHoout1, 100, 0, 1.0f, false);
                jumpSoundPlayed = true;
            }
            if (grabbedBody == nullptr) LetGoOfPole();
        } else if (grabBudget > 0) {
            if (v.x < kRunBackX) LetGoOfPole();
            // The runway has no friction, so a vaulter left standing may slide on for minutes
            // without ever coming still: on the ground, only the mouse keeps the attempt alive.
            const bool input = gApp.mouseHeld || gApp.mousePressed || gApp.mouseReleased || mouseJoint != nullptr;
            groundWaitFrames = input ? 0 : groundWaitFrames + 1;
            if (phase == kVaulting && groundWaitFrames == kIdleCapFrames) Land();
        } else {
            LetGoOfPole(); // the budget spent on the ground
        }
    }
    if (phase == kFlight && v.y > kLandedY) Land();

    if (phase == kVaulting || phase == kFlight) {
        MeasureCrossing();
        // Left standing with the button up, or resting high after the release: the attempt ends
        // as a landing would.
        if (phase != kEnded && CheckStall() != kStallNone) Land();
    }
    if (phase == kEnded && phaseFrames == kEndFrames) finished = true;
}

// ---- The measuring plane ---------------------------------------------------------------------

// A ray straight up the plane: the vaulter's lowest crossing after the release is the height;
// any part of the pole on it is a foul.
void PoleVaultEvent::MeasureCrossing() {
    VaultRayCallback ray(this);
    world->RayCast(&ray, b2Vec2(planeX, kRayBottom), b2Vec2(planeX, kRayTop));
    if (ray.hitVaulter && phase == kFlight) {
        const float height = -ray.point.y;
        if (!hasClearance || height < clearance) {
            clearance = height;
            hasClearance = true;
        }
    }
    if (ray.hitPole) PoleFoul();
}

// ---- World drawing ---------------------------------------------------------------------------

void PoleVaultEvent::Draw() {
    DrawSpriteScaled(kHorizonSprite, (cameraX - kCameraMinX) * kHorizonParallax + kHorizonOffsetX, 0.0f,
                     kHorizonScale, kHorizonScale);
    FillRect(cameraX - kBandHalfWidth, 0.0f, 2.0f * kBandHalfWidth, kBandHeight, kGrassColour);
    FillRect(kStripeLeft, 0.0f, kStripeWidth, kStripeHeight, kRunwayColour);
    FillRect(planeX - kBoxLeftOfPlane, kBoxTop, kBoxWidth, -kBoxTop, kBoxColour);
    DrawFixtures(mat->GetFixtureList(), kMatColour);
    for (int v = 0; v < kTickCount; ++v) {
        FillRect(planeX - static_cast<float>(v) - kTickWidth, 0.0f, kTickWidth,
                 kTickBaseHeight + kTickStepHeight * static_cast<float>(v % 5), kRunwayColour);
    }

    const bool arms = handRope != nullptr && player != nullptr;
    const b2Vec2 hand = vaulter->GetWorldPoint(kHandOnVaulter);
    if (arms) {
        const b2Vec2 grip = pole->GetWorldPoint(kFrontHandOnPole);
        SetColour(player->colour);
        DrawSpan(kArmSprite, hand.x + kArmOffsetX, hand.y, grip.x, grip.y);
        ResetColour();
    }

    const b2Vec2 p = vaulter->GetPosition();
    int f = 0;
    const float strides = std::fabs(kStrideScale * p.x);
    if (p.y >= kOffGroundY && strides < 1.0e9f) f = static_cast<int>(strides) % 2;
    if (f != stepFrame && phase <= kVaulting) PlayEffect(kSfxFootstep3, 100, 0, 1.0f, false);
    stepFrame = f;
    DrawBody(kVaulterSprite + f, vaulter, kSpriteScale);

    if (showFoulGhost && gApp.frameCounter % kGhostBlinkPeriod < kGhostBlinkPeriod / 2) {
        SetColour(kGhostColour);
        DrawSpriteRotated(kPoleSprite, foulGhostPos.x, foulGhostPos.y, foulGhostAngle, kSpriteScale, kSpriteScale);
        ResetColour();
    }
    if (phase == kWaiting && phaseFrames % kPoleBlinkPeriod < kPoleBlinkPeriod / 2) SetColour(kPoleBlinkColour);
    DrawBodyPlain(kPoleSprite, pole, kSpriteScale);
    ResetColour();

    if (arms) {
        const b2Vec2 grip = pole->GetWorldPoint(kHandOnPole);
        SetColour(player->colour);
        DrawSpan(kArmSprite, hand.x - kArmOffsetX, hand.y, grip.x, grip.y);
        ResetColour();
    }

    if (player != nullptr) {
        if (!fault && gApp.font != nullptr) {
            gApp.font->Printf(planeX + kLabelOffsetX, -clearance, kAlignLeft, kLabelScale, kPlaneColour, "%.2f M",
                              clearance);
        }
        FillRect(planeX, -clearance, kPlaneWidth, clearance, kPlaneColour);
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void PoleVaultEvent::DrawHud() {
    if (fault && gApp.font != nullptr) gApp.font->Print(gApp.screenCentreX, kFaultY, kAlignCentre, kHudScale, kWhite, "FAULT");
    DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(kGrabBudgetFrames));
}

} // namespace kel
