// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/weightlifting/weightlifting.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"
#include "sim/scene_host.h"

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;        // metres per second squared
constexpr float kHallFriction = 0.14f;  // floor, ceiling, podium, lifter and barbell alike
constexpr float kBouncy = 0.75f;        // restitution of the lifter and the barbell
constexpr float kGrabDamping = 0.0f;    // damping ratio: the bar swings freely on the band
constexpr float kGrabFrequency = 0.25f; // Hz
constexpr int kEndFrames = 30;          // frames from the decision to `finished`
constexpr int kBeepPeriod = 60;         // frames between clock beeps
constexpr int kBannerFrames = 180;      // "CLEAN!" for the first 180 frames, "JERK!" for 180 after
constexpr int kBannerBlink = 30;        // frames; shown in the first half

// Hall: the floor's top is y = 0 and the ceiling's underside y = -14, both from x = -15 to 15.
struct Box {
    float x, y, width, height; // top-left corner and full size, metres
};
constexpr Box kFloor = {-15.0f, 0.0f, 30.0f, 4.0f};
constexpr Box kCeiling = {-15.0f, -18.0f, 30.0f, 4.0f};
// Podium steps, bottom to top: their tops are y = -1, -2 and -3.
constexpr Box kSteps[3] = {
    {-2.8f, -1.0f, 5.6f, 1.0f}, {-2.3f, -2.0f, 4.6f, 1.0f}, {-1.8f, -3.0f, 3.6f, 1.0f}};
constexpr float kStepDensity = 1.0f; // kg per square metre
// The lifter's lower edge starts 0.1 m inside the top step; the solver pushes it out.
constexpr Box kLifter = {-0.9f, -5.6f, 1.8f, 2.7f};
constexpr float kLifterDensity = 1.0f;

// Barbell: a 6.2 m bar with a 0.9 x 1.3 m plate at each end, lying on the floor left of the podium.
constexpr float kBarbellX = -9.0f; // metres, body origin
constexpr float kBarbellY = -0.65f;
constexpr float kBarHalfWidth = 3.1f;
constexpr float kBarHalfHeight = 0.15f;
constexpr float kBarDensity = 1.0f;
constexpr float kPlateHalfWidth = 0.45f;
constexpr float kPlateHalfHeight = 0.65f;
constexpr float kPlateOffsetX = 3.55f;
constexpr float kPlateDensity = 4.0f;

// Rules, as centre heights (y down).
constexpr float kFallenLifterY = -3.5f;  // a lifter centre below this has left the top step
constexpr float kDroppedBarbellY = 0.0f; // a barbell centre below this has left the floor's end
constexpr float kLiftedBarbellY = -1.0f; // a resting barbell must be above this

// Nobody may leave the bar lying while the clock runs for ever: 10 s with no mouse input and both
// bodies still end the lift as a foul. The bounds catch a body flung out of the hall.
constexpr int kIdleCapFrames = 600;
constexpr float kWorldLeft = -60.0f; // metres
constexpr float kWorldTop = -80.0f;
constexpr float kWorldRight = 60.0f;
constexpr float kWorldBottom = 40.0f;

constexpr float kCameraX = -4.0f;
constexpr float kCameraY = -6.8f;
constexpr float kZoom = 44.0f; // px per metre

// Sprites of the weightlifting sheet.
constexpr int kHallSprite = 197;
constexpr int kLifterStrainSprite = 198;
constexpr int kLifterReadySprite = 199;
constexpr int kLifterCheerSprite = 200;
constexpr int kLifterKitSprite = 201;
constexpr int kBarbellSprite = 202;
constexpr float kHallX = -16.8f; // metres: the backdrop's floor row 164 is y = 0
constexpr float kHallY = -16.4f;
constexpr float kSpriteScale = 0.1f; // metres per art pixel
constexpr int kCheerPeriod = 30;     // frames; the cheer pose in the first half
constexpr Colour kStepColour = PackColour(181, 133, 71, 255);

// Kit colours by player slot. Slot 2's has alpha 0 and slot 3's alpha 40: those lifters wear
// no kit, or a faint one.
constexpr Colour kKitColours[kPlayerCount] = {
    PackColour(255, 0, 255, 255),
    PackColour(0, 255, 255, 255),
    PackColour(255, 255, 255, 0),
    PackColour(255, 40, 255, 40),
};

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kBannerScale = 6.0f;
constexpr float kTimeY = 40.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 2.0f;
constexpr float kBannerY = 200.0f;
constexpr Colour kJerkColour = PackColour(80, 255, 80, 255);
constexpr Colour kCleanColour = PackColour(255, 255, 80, 255);

b2Body* CreateBarbell(b2World* world) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(kBarbellX, kBarbellY);
    b2Body* body = world->CreateBody(&def);
    b2PolygonShape shape;
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.friction = kHallFriction;
    fixture.restitution = kBouncy;
    shape.SetAsBox(kBarHalfWidth, kBarHalfHeight);
    fixture.density = kBarDensity;
    body->CreateFixture(&fixture);
    fixture.density = kPlateDensity;
    for (const float side : {-1.0f, 1.0f}) {
        shape.SetAsBox(kPlateHalfWidth, kPlateHalfHeight, b2Vec2(side * kPlateOffsetX, 0.0f), 0.0f);
        body->CreateFixture(&fixture);
    }
    return body;
}

} // namespace

uint32_t LifterKitColour(int slot) {
    return kKitColours[ClampInt(slot, 0, kPlayerCount - 1)];
}

SportEvent* CreateWeightliftingEvent() {
    return new WeightliftingEvent();
}

// ---- Building --------------------------------------------------------------------------------

WeightliftingEvent::WeightliftingEvent() : SportEvent(kEventWeightlifting) {
    CreateWorld(kGravity);
    AddGroundBox(kFloor.x, kFloor.y, kFloor.width, kFloor.height, kHallFriction, 0.0f);
    AddGroundBox(kCeiling.x, kCeiling.y, kCeiling.width, kCeiling.height, kHallFriction, 0.0f);
    for (int i = 0; i < 3; ++i) {
        const Box& s = kSteps[i];
        podiumSteps[i] = CreateBox(s.x, s.y, s.width, s.height, kStepDensity, kHallFriction, 0.0f);
        SetBodyTag(podiumSteps[i], kTagWood);
    }
    lifter = CreateBox(kLifter.x, kLifter.y, kLifter.width, kLifter.height, kLifterDensity, kHallFriction,
                       kBouncy);
    SetBodyTag(lifter, kTagAthlete);
    barbell = CreateBarbell(world);
    SetBodyTag(barbell, kTagMetal);
    SetBodyTag(groundBody, kTagMat);

    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraY);
    zoom = kZoom;
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    WatchBody(lifter);
    WatchBody(barbell);
    phase = kWaiting;
    liftFrames = 0;
    jerkFrames = 0;
    phaseFrames = 0;
}

bool WeightliftingEvent::IsTrackedBody(b2Body* body) {
    return body == lifter || body == barbell;
}

// ---- Rules per frame -------------------------------------------------------------------------

void WeightliftingEvent::Foul() {
    fault = true;
    phase = kEnded;
    phaseFrames = 0;
    StopMusic();
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
}

void WeightliftingEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;

    const float lifterY = lifter->GetPosition().y;
    const float barbellY = barbell->GetPosition().y;
    switch (phase) {
    case kWaiting:
        if (grabbedBody == barbell) {
            PlayMusic("Weightlifting.mp3", true);
            PlayEffect(kSfxHarrp, 100, 0, 1.0f, false);
            phase = kLifting;
            phaseFrames = 0;
        }
        if (lifterY > kFallenLifterY) Foul();
        break;
    case kLifting: {
        if (liftFrames % kBeepPeriod == 0) PlayEffect(kSfxBeep, 20, 0, 1.0f, false);
        liftFrames += 1;
        // A held body is kept awake by the base, so a bar held still overhead is not yet lifted.
        if (!lifter->IsAwake() && !barbell->IsAwake() && barbellY < kLiftedBarbellY && lifterY > barbellY) {
            phase = kEnded;
            phaseFrames = 0;
            result = static_cast<float>(liftFrames);
            StopMusic();
            PlayEffect(kSfxClapping, 50, 0, 1.0f, false);
            PlayEffect(kSfxHurrrr, 100, 0, 1.0f, false);
        } else if (lifterY > kFallenLifterY || barbellY > kDroppedBarbellY || CheckStall() != kStallNone) {
            Foul();
        }
        if (jerkFrames > 0) {
            jerkFrames += 1;
        } else if (lifter->IsAwake() && liftFrames > kBannerFrames) {
            jerkFrames = 1;
        }
        break;
    }
    default:
        if (phaseFrames == kEndFrames) finished = true;
        break;
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void WeightliftingEvent::Draw() {
    DrawSpriteRotated(kHallSprite, kHallX, kHallY, 0.0f, kSpriteScale, kSpriteScale);
    for (b2Body* step : podiumSteps)
        DrawFixtures(step->GetFixtureList(), kStepColour);
    DrawBodyPlain(kBarbellSprite, barbell, kSpriteScale);

    int pose = phase == kWaiting ? kLifterReadySprite : kLifterStrainSprite;
    if (phase == kEnded && !fault && phaseFrames % kCheerPeriod < kCheerPeriod / 2) pose = kLifterCheerSprite;
    DrawBody(pose, lifter, kSpriteScale);
    if (player != nullptr) {
        // The current competitor's slot; slot 0 in practice, which is also the answer without a host.
        const SceneHost* host = CurrentSceneHost();
        SetColour(LifterKitColour(host != nullptr ? host->CurrentCompetitorSlot() : 0));
        DrawBodyPlain(kLifterKitSprite, lifter, kSpriteScale);
        ResetColour();
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void WeightliftingEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    const float cx = gApp.screenCentreX;
    if (fault) {
        font->Print(cx, kBannerY, kAlignCentre, kHudScale, kBlack, "DNQ");
    } else {
        float y = kTimeY;
        if (phase == kEnded) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(phaseFrames));
        font->Print(cx, y, kAlignRight, kHudScale, kWhite, "TIME: ");
        const float shown = phase == kWaiting ? 0.0f : static_cast<float>(liftFrames);
        DrawResult(cx, y, kAlignLeft, kHudScale, kWhite, eventId, shown, false);
    }
    if (jerkFrames > 0 && jerkFrames % kBannerBlink < kBannerBlink / 2 && jerkFrames < kBannerFrames &&
        phase != kEnded) {
        font->Print(cx, kBannerY, kAlignCentre, kBannerScale, kJerkColour, "JERK!");
    } else if (phase == kLifting && liftFrames % kBannerBlink < kBannerBlink / 2 &&
               liftFrames < kBannerFrames) {
        font->Print(cx, kBannerY, kAlignCentre, kBannerScale, kCleanColour, "CLEAN!");
    }
}

} // namespace kel
