// Sections: constants; building; rules per frame; the jump; world drawing; HUD.
#include "events/highjump/highjump.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f; // metres per second squared

// Ground and the wall behind the mat (top-left corner, size; metres).
constexpr float kGroundLeft = -20.0f;
constexpr float kGroundWidth = 40.0f;
constexpr float kGroundDepth = 4.0f;
constexpr float kGroundFriction = 0.1f;
constexpr float kGroundRestitution = 0.1f;
constexpr float kWallLeft = 10.8f;
constexpr float kWallTop = -20.0f;
constexpr float kWallWidth = 10.0f;
constexpr float kWallHeight = 20.0f;
constexpr float kWallRestitution = 0.25f;

constexpr float kMatLeft = 1.3f;
constexpr float kMatTop = -1.4f;
constexpr float kMatWidth = 6.0f;
constexpr float kMatHeight = 1.4f;
constexpr float kMatDensity = 2.0f; // kg per square metre
constexpr float kMatFriction = 1.0f;

// The athlete: a 0.7 x 2.5 m box whose ends are the head (top) and the feet (bottom).
constexpr float kJumperLeft = -16.0f;
constexpr float kJumperWidth = 0.7f;
constexpr float kJumperHeight = 2.5f;
constexpr float kJumperDensity = 1.0f;
constexpr float kJumperFriction = 0.1f;
constexpr float kLandedFriction = 0.8f; // so the athlete stops on the mat
constexpr float kHalfLength = 1.25f;    // metres from the centre to either end

// The bar, a 0.7 m block, sits on a 0.4 m rest block; both stand at x = 0.
constexpr float kBarX = 0.0f;
constexpr float kBarSize = 0.7f;
constexpr float kRestSize = 0.4f;
constexpr float kRestBelowBar = 0.55f; // metres from the bar's centre down to the rest's centre
constexpr float kBarFriction = 0.5f;
constexpr float kBarMass = 1.0f;       // kg, once the bar is loose
constexpr float kBarClickReach = 0.6f; // metres either side of the bar a setting click may land
constexpr float kBarSoundStep = 0.5f;  // metres of height between two "barset" clicks
constexpr float kBarDropFoul = 0.1f;   // metres the bar may sink before it counts as down

constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 0.141f; // Hz
constexpr int kGrabBudgetFrames = 190;
constexpr float kCameraX = -2.0f;
constexpr float kCameraY = -7.0f;

constexpr int kAutoStartFrames = 600; // ten seconds of waiting starts the run-up
constexpr float kRunForce = 3.0f;     // newtons, at 0.2 m below the centre
constexpr float kRunForceY = 0.2f;
constexpr float kPastBarX = 0.5f;     // metres: the centre beyond it without a grab is a foul
constexpr float kFeetOffGroundY = -0.1f;
constexpr int kReleasedFoulFrames = 240; // more than this with the button up is a foul
constexpr int kLandedFrames = 90;
constexpr int kResultFrames = 30;
constexpr float kStandingCentreY = -1.35f; // metres: below it the athlete touches the ground

// Ending an attempt nobody finishes: an athlete nobody grabs can stop against the rest block of
// a low bar, short of the line at x = 0.5, and would stand there forever.
constexpr int kIdleCapFrames = 180;
constexpr float kWorldLeft = -20.0f; // the ground's left end; the wall closes the right
constexpr float kWorldTop = -200.0f;
constexpr float kWorldRight = 20.0f;
constexpr float kWorldBottom = 20.0f;

// Drawing.
constexpr int kBackdropSprite = 192;
constexpr float kBackdropX = -14.8f; // metres: the picture's ground row lands on y = 0
constexpr float kBackdropY = -16.6f;
constexpr int kRunSprite = 193; // and 194, the second running frame
constexpr int kBarSprite = 195;
constexpr float kSpriteScale = 0.1f;
constexpr float kPulseBase = 0.125f;
constexpr float kPulseDepth = 0.025f;
constexpr float kPulseRate = 0.2f; // radians per frame
constexpr Colour kMatColour = PackColour(92, 225, 255);
constexpr Colour kStandardColour = PackColour(241, 171, 48);
constexpr float kStandardLeft = -0.1f;
constexpr float kStandardTop = -12.5f;
constexpr float kStandardWidth = 0.2f;
constexpr float kStandardHeight = 14.0f;
constexpr float kLabelX = 1.0f;       // metres right of the bar
constexpr float kLabelScale = 0.1f;   // font scale in world units
constexpr float kHudScale = 4.0f;
constexpr float kResultY = 240.0f; // px

} // namespace

SportEvent* CreateHighJumpEvent() {
    return new HighJumpEvent();
}

// ---- Building --------------------------------------------------------------------------------

HighJumpEvent::HighJumpEvent() : SportEvent(kEventHighJump) {
    CreateWorld(kGravity);
    AddGroundBox(kGroundLeft, 0.0f, kGroundWidth, kGroundDepth, kGroundFriction, kGroundRestitution);
    AddGroundBox(kWallLeft, kWallTop, kWallWidth, kWallHeight, 0.0f, kWallRestitution);
    mat = CreateBox(kMatLeft, kMatTop, kMatWidth, kMatHeight, kMatDensity, kMatFriction, 0.0f);
    jumper = CreateBox(kJumperLeft, -kJumperHeight, kJumperWidth, kJumperHeight, kJumperDensity, kJumperFriction,
                       0.0f);
    barHeight = 5.0f;
    bar = CreateBox(kBarX - kBarSize / 2.0f, -barHeight - kBarSize / 2.0f, kBarSize, kBarSize, 0.0f, kBarFriction,
                    0.0f);
    barRest = CreateBox(kBarX - kRestSize / 2.0f, kRestBelowBar - kRestSize / 2.0f - barHeight, kRestSize,
                        kRestSize, 0.0f, kBarFriction, 0.0f);
    SetBodyTag(groundBody, kTagWoodFloor);
    SetBodyTag(jumper, kTagAthlete);
    SetBodyTag(bar, kTagWood);
    SetBodyTag(barRest, kTagWood);
    SetBodyTag(mat, kTagMat);
    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(kCameraX, kCameraY);
    trackedBody = jumper;
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    lastBarSoundHeight = barHeight;
}

// The athlete may be grabbed from the first frame: a grab before the run-up only spends the
// attempt's own budget, and the run-up and bar rules still judge wherever it is left.
bool HighJumpEvent::IsTrackedBody(b2Body* body) {
    return body == jumper;
}

// ---- Rules per frame -------------------------------------------------------------------------

void HighJumpEvent::EnterPhase(int32_t next) {
    phase = next;
    phaseFrames = 0;
}

void HighJumpEvent::Foul() {
    fault = true;
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    EnterPhase(kResult);
}

void HighJumpEvent::StartRunUp() {
    phase = kRunUp;
    PlayMusic("HighJump.mp3", true);
}

// A bar block without density: Box2D 2.4 leaves such a dynamic body massless, which makes it
// immovable and weightless, so no touch could ever knock it off. It gets the 1 kg and the zero
// rotational inertia the game was made with: it slides and drops but never turns.
void HighJumpEvent::MakeBarLoose() {
    bar->SetType(b2_dynamicBody);
    b2MassData mass;
    mass.mass = kBarMass;
    mass.center.SetZero();
    mass.I = 0.0f;
    bar->SetMassData(&mass);
}

void HighJumpEvent::SetBarHeight(float h) {
    barHeight = h;
    bar->SetTransform(b2Vec2(bar->GetPosition().x, -h), 0.0f);
    barRest->SetTransform(b2Vec2(bar->GetPosition().x, kRestBelowBar - h), 0.0f);
    if (std::fabs(h - lastBarSoundHeight) >= kBarSoundStep) {
        PlayEffect(kSfxBarset, 50, 20, RemapClamped(h, 1.0f, 12.0f, 0.5f, 1.5f), false);
        lastBarSoundHeight = h;
    }
}

void HighJumpEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;

    switch (phase) {
    case kWaiting:
        if (gApp.mousePressed && cursorX > bar->GetPosition().x - kBarClickReach &&
            cursorX < bar->GetPosition().x + kBarClickReach) {
            phase = kSettingBar;
        } else if (phaseFrames == kAutoStartFrames) {
            StartRunUp(); // the bar stays static: it cannot be knocked off this time
        }
        break;
    case kSettingBar:
        if (gApp.mouseHeld) SetBarHeight(-Clamp(cursorY, -maxBarHeight, -minBarHeight));
        if (gApp.mouseReleased) {
            MakeBarLoose();
            StartRunUp();
        }
        break;
    case kRunUp:
        ApplyForceWaking(jumper, b2Vec2(kRunForce, 0.0f), jumper->GetWorldPoint(b2Vec2(0.0f, kRunForceY)));
        if (grabbedBody != nullptr) EnterPhase(kJump);
        if (jumper->GetPosition().x > kPastBarX) {
            Foul();
        } else if (phase == kRunUp && CheckStall() != kStallNone) {
            Foul();
        }
        break;
    case kJump:
        UpdateJump();
        break;
    case kLanded:
        if (phaseFrames == kLandedFrames) {
            if (fault) {
                PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
            } else {
                PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
                StopMusic();
            }
            EnterPhase(kResult);
        }
        break;
    default:
        break;
    }

    if (phase == kResult) {
        result = fault ? 0.0f : barHeight - heightOffset;
        if (phaseFrames == kResultFrames) finished = true;
    }
}

// ---- The jump --------------------------------------------------------------------------------

void HighJumpEvent::UpdateJump() {
    const float h = barHeight;
    const b2Vec2 top = jumper->GetWorldPoint(b2Vec2(0.0f, -kHalfLength));
    const b2Vec2 bottom = jumper->GetWorldPoint(b2Vec2(0.0f, kHalfLength));

    if (!jumpSoundPlayed && bottom.y < kFeetOffGroundY) {
        PlayEffect(kSfxHoout1, 100, 0, 1.0f, false);
        jumpSoundPlayed = true;
    }
    // Each end clears on the frame it passes x = 0, if it is above the bar level then.
    if (top.x > 0.0f && prevTopX <= 0.0f && top.y < -h) topCleared = true;
    if (bottom.x > 0.0f && prevBottomX <= 0.0f && bottom.y < -h) bottomCleared = true;

    const bool bothCleared = topCleared && bottomCleared;
    if (grabBudget == 0 || (bothCleared && !gApp.mouseHeld)) {
        if (top.y > -h && bottom.y > -h && jumper->GetLinearVelocity().y >= 0.0f) {
            EnterPhase(kLanded);
            if (!bothCleared) fault = true;
            jumper->GetFixtureList()->SetFriction(kLandedFriction);
            ReleaseGrab();
            LogDebug("max: %.2f", bestHeight);
        }
    }
    // Once the jump is decided the later checks stay quiet, so one attempt buzzes once.
    if (phase == kJump && top.x > kPastBarX && bottom.x > kPastBarX && !topCleared && !bottomCleared) Foul();
    if (phase == kJump && bar->GetPosition().y > kBarDropFoul - h) Foul();

    prevTopX = top.x;
    prevBottomX = bottom.x;
    bestHeight = Max(bestHeight, -jumper->GetPosition().y);

    if (gApp.mouseHeld) {
        releasedFrames = 0;
    } else {
        releasedFrames += 1;
        if (phase == kJump && releasedFrames > kReleasedFoulFrames) Foul();
    }
    // Flung off the end of the ground, the athlete would fall for ever.
    if (phase == kJump && CheckStall() == kStallOutOfWorld) Foul();
}

// ---- World drawing ---------------------------------------------------------------------------

void HighJumpEvent::Draw() {
    DrawSpriteScaled(kBackdropSprite, kBackdropX, kBackdropY, kSpriteScale, kSpriteScale);
    FillRect(kMatLeft, kMatTop, kMatWidth, kMatHeight, kMatColour); // where the mat started

    const b2Vec2 p = jumper->GetPosition();
    int f = 0;
    const float strides = std::fabs(p.x);
    if (p.y >= kStandingCentreY && strides < 1.0e9f) f = static_cast<int>(strides) % 2;
    if (f != stepFrame && phase == kRunUp) PlayEffect(kSfxFootstep3, 100, 0, 1.0f, false);
    stepFrame = f;
    DrawBody(kRunSprite + f, jumper, kSpriteScale);

    FillRect(kStandardLeft, kStandardTop, kStandardWidth, kStandardHeight, kStandardColour);
    float barScale = kSpriteScale;
    if (phase == kWaiting)
        barScale = kPulseBase - kPulseDepth * std::cos(kPulseRate * static_cast<float>(phaseFrames));
    DrawBodyPlain(kBarSprite, bar, barScale);
    DrawFixtures(barRest->GetFixtureList(), kBlack);

    if ((phase == kWaiting || phase == kSettingBar) && gApp.font != nullptr)
        gApp.font->Printf(kLabelX, -barHeight, kAlignLeft, kLabelScale, kWhite, "%0.02f", barHeight - heightOffset);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void HighJumpEvent::DrawHud() {
    if (phase <= kJump) DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(kGrabBudgetFrames));
    if (phase != kResult || gApp.font == nullptr) return;
    if (fault) {
        gApp.font->Print(gApp.screenCentreX, kResultY, kAlignRight, kHudScale, kBlack, "DNQ");
    } else {
        gApp.font->Printf(gApp.screenCentreX, kResultY, kAlignRight, kHudScale, kWhite, "%0.02f METERS", result);
    }
}

} // namespace kel
