// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/rowing/rowing.h"

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

constexpr float kGravity = 7.0f;                         // metres per second squared
constexpr float kCourseHalfLength = 110.0f;              // metres
constexpr float kRowerStartX = 6.0f - kCourseHalfLength; // metres: x0, the rower's origin

// Collision categories: the oar touches only the buoys and the ground, the rower never the water.
constexpr uint16_t kWaterCategory = 0x0002;
constexpr uint16_t kWaterMask = 0x00FF;
constexpr uint16_t kRowerCategory = 0x0004;
constexpr uint16_t kRowerMask = 0x0049;
constexpr uint16_t kHullCategory = 0x0008;
constexpr uint16_t kHullMask = 0x0007;
constexpr uint16_t kOarCategory = 0x0010;
constexpr uint16_t kOarMask = 0x0021;
constexpr uint16_t kBuoyCategory = 0x0020;
constexpr uint16_t kBuoyMask = 0x0053;
constexpr uint16_t kHatCategory = 0x0040;
constexpr uint16_t kHatMask = 0x0027;

// Water: a solid slab whose top, y = -3, is the lake surface.
constexpr float kWaterTop = -3.0f;
constexpr float kWaterFriction = 0.25f;

// The rower's seated outline, body coordinates (metres): narrow at the top, 1.5 tall.
const b2Vec2 kRowerShape[] = {{0.0f, 0.0f}, {0.7f, 0.0f}, {1.5f, 1.5f}, {0.0f, 1.5f}};
constexpr float kRowerY = -5.2f;
constexpr float kRowerDensity = 1.0f;
constexpr float kRowerFriction = 0.65f;
constexpr float kRowerRestitution = 0.25f;

// The hull: a trapezoid 7.8 m along the deck, 0.7 m deep, resting on the water.
const b2Vec2 kHullShape[] = {{0.0f, 0.0f}, {7.8f, 0.0f}, {7.2f, 0.7f}, {0.6f, 0.7f}};
constexpr float kHullOffsetX = -3.3f; // metres from x0
constexpr float kHullY = -3.7f;
constexpr float kHullDensity = 0.75f;
constexpr float kHullFriction = 1.0f;

constexpr float kOarOffsetX = 2.0f; // metres from x0 to the oar's centre
constexpr float kOarY = -4.4f;
constexpr float kOarHalfLength = 1.5f;
constexpr float kOarHalfThickness = 0.1f;
constexpr float kOarDensity = 0.3f;
constexpr float kOarFriction = 1.0f;
constexpr float kPivotOffsetX = 0.5f;     // metres from x0
constexpr float kOarMotorTorque = 200.0f; // newton metres
constexpr float kOarTopSpeed = 8.0f;      // radians per second
constexpr float kOarSpinUp = 0.05f;       // radians per second gained per frame: 160 frames to top speed
const b2Vec2 kOarEnd(1.4f, 0.0f);         // the blade, in the oar's frame

constexpr float kHatOffsetX = 0.1f;
constexpr float kHatTop = -5.3f;
constexpr float kHatWidth = 0.5f;
constexpr float kHatHeight = 0.1f;

constexpr float kStartBuoyX = 11.0f - kCourseHalfLength;
constexpr float kFinishBuoyX = kCourseHalfLength - 15.0f;
constexpr float kBuoyY = -3.1f;
constexpr float kBuoyRadius = 0.2f;
constexpr float kBuoyDensity = 0.5f;
constexpr float kBuoyFriction = 0.5f;
constexpr float kBuoyRestitution = 0.5f;

constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 0.225f; // Hz

// Judging, on body origins (metres).
constexpr float kFinishReach = 4.0f;      // the finish buoy must be this close ahead of hull and rower
constexpr float kRowerOverboardY = -3.0f; // the rower's origin at the water line: he fell out
constexpr float kHullSunkY = -2.0f;       // the hull's origin a metre below the surface
// The right wall stops the hull's origin at 110 - 7.8 = 102.2, so a finish buoy knocked past
// 106.2 could never be reached; the finish is judged at this x at the furthest.
constexpr float kFinishReachableX = 105.0f;
// A race nobody rows ends: this long with no mouse input and the hull still is a DNQ.
constexpr int kIdleCapFrames = 600;
constexpr int kEndFrames = 60; // from the decision to `finished`

constexpr float kCameraY = -7.3f;
constexpr float kCameraMargin = 6.0f; // metres inside the walls
constexpr float kCameraLeadX = 3.9f;  // metres from the hull's origin: its middle

constexpr float kSplashLineY = -2.8f; // metres: crossing it downward splashes
constexpr float kRowerSplashDrop = 0.3f;
constexpr float kStrokeAngle = -0.5f * kPi; // the oar straight up

// Sprites of the rowing sheet, drawn at 0.1 m per px.
constexpr float kSpriteScale = 0.1f;
constexpr int kRowerSprite = 225;
constexpr int kOarHandleSprite = 226; // tinted
constexpr int kOarBladeSprite = 227;
constexpr int kHullSprite = 228;
constexpr int kWallSprite = 229;
constexpr int kBuoySprite = 230;
constexpr int kHatSprite = 231;
constexpr int kWaterSprite = 232;
constexpr float kWallTop = -4.5f;
constexpr float kWallWidth = 2.6f;
constexpr float kWallHeight = 7.0f;
constexpr float kWaterSpriteY = -3.1f;
constexpr float kWaterFromX = -125.0f;
constexpr float kWaterToX = 125.0f;
constexpr float kWaterBackStep = 2.9f;
constexpr float kWaterFrontStep = 3.0f;
constexpr int kWaterFrontAlpha = 90;
constexpr Colour kSkyColour = PackColour(139, 206, 228);
constexpr Colour kLakeBedColour = 0xFF757575u;
constexpr float kLakeBedLeft = -116.0f;
constexpr float kLakeBedWidth = 232.0f;
constexpr float kLakeBedHeight = 5.0f;
constexpr int kBlinkPeriod = 16;      // frames; the waiting hull dims in the first half
constexpr uint32_t kBlinkLevel = 233; // of 255

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr Colour kTimeColour = 0xFF1E1EFFu;
constexpr float kTimeY = 20.0f;
constexpr float kTimeMaxY = 240.0f;
constexpr float kTimeSlidePerFrame = 2.0f;
constexpr float kDnqY = 240.0f;

b2Body* CreateShapedBody(b2World* world, float x, float y, const b2Vec2* shape, int count, float density,
                         float friction, float restitution, uint16_t category, uint16_t mask) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    b2Body* body = world->CreateBody(&def);
    b2PolygonShape polygon;
    if (!SetPolygonChecked(&polygon, shape, count)) polygon.SetAsBox(0.5f, 0.5f);
    b2FixtureDef fixture;
    fixture.shape = &polygon;
    fixture.density = density;
    fixture.friction = friction;
    fixture.restitution = restitution;
    fixture.filter.categoryBits = category;
    fixture.filter.maskBits = mask;
    body->CreateFixture(&fixture);
    return body;
}

uint32_t Dim(uint32_t channel) {
    return channel * kBlinkLevel / 255u;
}

} // namespace

SportEvent* CreateRowingEvent() {
    return new RowingEvent();
}

// ---- Building --------------------------------------------------------------------------------

RowingEvent::RowingEvent() : SportEvent(kEventRowing) {
    CreateWorld(kGravity);
    timer = 0;
    courseHalfLength = kCourseHalfLength;
    const float x0 = kRowerStartX;

    AddGroundBox(-kCourseHalfLength, 0.0f, 2.0f * kCourseHalfLength, 4.0f, 0.0f, 0.0f);
    AddGroundBox(-kCourseHalfLength - kWallWidth, kWallTop, kWallWidth, kWallHeight, 1.0f, 0.0f);
    AddGroundBox(kCourseHalfLength, kWallTop, kWallWidth, kWallHeight, 1.0f, 0.0f);
    SetBodyTag(groundBody, kTagQuietGround);
    b2Fixture* water =
        AddGroundBox(-kCourseHalfLength, kWaterTop, 2.0f * kCourseHalfLength, -kWaterTop, 0.0f, 0.0f);
    b2Filter waterFilter;
    waterFilter.categoryBits = kWaterCategory;
    waterFilter.maskBits = kWaterMask;
    water->SetFilterData(waterFilter);
    water->SetFriction(kWaterFriction);
    SetFixtureTag(water, kTagNone);

    rower = CreateShapedBody(world, x0, kRowerY, kRowerShape, 4, kRowerDensity, kRowerFriction,
                             kRowerRestitution, kRowerCategory, kRowerMask);
    hat = CreateBox(x0 + kHatOffsetX, kHatTop, kHatWidth, kHatHeight, 1.0f, 1.0f, 0.0f);
    SetBodyFilter(hat, kHatCategory, kHatMask);

    b2BodyDef oarDef;
    oarDef.type = b2_dynamicBody;
    oarDef.position.Set(x0 + kOarOffsetX, kOarY);
    oar = world->CreateBody(&oarDef);
    b2PolygonShape oarShape;
    oarShape.SetAsBox(kOarHalfLength, kOarHalfThickness);
    b2FixtureDef oarFixture;
    oarFixture.shape = &oarShape;
    oarFixture.density = kOarDensity;
    oarFixture.friction = kOarFriction;
    oarFixture.restitution = 0.0f;
    oarFixture.filter.categoryBits = kOarCategory;
    oarFixture.filter.maskBits = kOarMask;
    oar->CreateFixture(&oarFixture);

    hull = CreateShapedBody(world, x0 + kHullOffsetX, kHullY, kHullShape, 4, kHullDensity, kHullFriction,
                            0.0f, kHullCategory, kHullMask);

    oarPivot = CreateRevolute(rower, oar, x0 + kPivotOffsetX, kOarY, 0.0f, 0.0f, false);
    oarPivot->SetMaxMotorTorque(kOarMotorTorque);
    oarPivot->EnableMotor(true);
    oarPivot->SetMotorSpeed(0.0f);
    oarSpeed = 0.0f;

    startBuoy = CreateCircle(kStartBuoyX, kBuoyY, kBuoyRadius, kBuoyDensity, kBuoyFriction, kBuoyRestitution);
    finishBuoy =
        CreateCircle(kFinishBuoyX, kBuoyY, kBuoyRadius, kBuoyDensity, kBuoyFriction, kBuoyRestitution);
    SetBodyFilter(startBuoy, kBuoyCategory, kBuoyMask);
    SetBodyFilter(finishBuoy, kBuoyCategory, kBuoyMask);

    SetBodyTag(rower, kTagAthlete);
    SetBodyTag(hull, kTagWood);

    trackedBody = hull;
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(Clamp(hull->GetPosition().x + kCameraLeadX, -kCourseHalfLength + kCameraMargin,
                    kCourseHalfLength - kCameraMargin),
              kCameraY);
    SetStallRule(kIdleCapFrames, 0.0f, 0.0f, 0.0f, 0.0f);

    phase = kWaiting;
    raceFrames = 0;
    EmitterInit(&splash, kPresetRowingSpray);
    oarEndPrevY = -5.0f;
    rowerPrevY = -5.0f;
    oarPrevAngle = oar->GetAngle();
}

RowingEvent::~RowingEvent() {
    EmitterFree(&splash);
}

// ---- Rules per frame -------------------------------------------------------------------------

void RowingEvent::EndRace(bool success) {
    if (success) {
        result = static_cast<float>(raceFrames);
        PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
    } else {
        fault = true;
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    }
    phase = kDone;
    timer = 0;
    StopMusic();
}

void RowingEvent::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;
    SetCamera(Clamp(hull->GetPosition().x + kCameraLeadX, -kCourseHalfLength + kCameraMargin,
                    kCourseHalfLength - kCameraMargin),
              kCameraY);

    switch (phase) {
    case kWaiting:
        if (grabbedBody != nullptr) {
            phase = kRacing;
            timer = 0;
            PlayMusic("Rowing.mp3", true);
        }
        break;
    case kRacing: {
        raceFrames += 1;
        if (oarSpeed < kOarTopSpeed) {
            oarSpeed += kOarSpinUp;
            oarPivot->SetMotorSpeed(oarSpeed);
        }
        const b2Vec2 hullAt = hull->GetPosition();
        const b2Vec2 rowerAt = rower->GetPosition();
        const float finishX = Min(finishBuoy->GetPosition().x, kFinishReachableX);
        // Both the finish and a failure can be judged in one frame; the attempt then counts as faulted.
        if (finishX < hullAt.x + kFinishReach && finishX < rowerAt.x + kFinishReach) EndRace(true);
        if (rowerAt.y > kRowerOverboardY || rowerAt.x < -kCourseHalfLength) {
            EndRace(false);
        } else if (hullAt.y > kHullSunkY) {
            EndRace(false);
        } else if (phase == kRacing && CheckStall() == kStallIdle) {
            EndRace(false);
        }
        break;
    }
    case kDone:
        if (timer == kEndFrames) finished = true;
        break;
    default:
        break;
    }

    const b2Vec2 oarEnd = oar->GetWorldPoint(kOarEnd);
    if (oarEnd.y > kSplashLineY && oarEndPrevY <= kSplashLineY) {
        PlayEffect(kSfxSplash, 100, SoundPan(oarEnd.x), 1.0f, false);
        splash.emitX = oarEnd.x;
        splash.emitY = oarEnd.y;
        EmitterStart(&splash);
    }
    oarEndPrevY = oarEnd.y;

    const b2Rot& turn = oar->GetTransform().q;
    const float a = std::atan2(turn.s, turn.c);
    if (a > kStrokeAngle && oarPrevAngle <= kStrokeAngle)
        PlayEffect(kSfxRow1, 100, SoundPan(oarEnd.x), 1.0f, false);
    oarPrevAngle = a;

    const b2Vec2 seat(rower->GetPosition().x, rower->GetPosition().y + kRowerSplashDrop);
    if (seat.y > kSplashLineY && rowerPrevY <= kSplashLineY) {
        PlayEffect(kSfxSplash, 100, SoundPan(seat.x), 1.0f, false);
        splash.emitX = seat.x;
        splash.emitY = seat.y;
        EmitterStart(&splash);
    }
    rowerPrevY = seat.y;

    EmitterUpdate(&splash);
}

// ---- World drawing ---------------------------------------------------------------------------

void RowingEvent::Draw() {
    ClearScreen(kSkyColour);
    for (int i = 0;; ++i) {
        const float x = kWaterFromX + kWaterBackStep * static_cast<float>(i);
        if (!(x < kWaterToX)) break;
        DrawSpriteScaled(kWaterSprite, x, kWaterSpriteY, kSpriteScale, kSpriteScale);
    }
    DrawSpriteScaled(kWallSprite, -kCourseHalfLength - kWallWidth, kWallTop, kSpriteScale, kSpriteScale);
    DrawSpriteScaled(kWallSprite, kCourseHalfLength, kWallTop, kSpriteScale, kSpriteScale);

    // The hull's tint moves the player's channels round: red from blue, green from red, blue from green.
    if (player != nullptr) {
        const Colour c = player->colour;
        hullColour = PackColour(ColourB(c), ColourR(c), ColourG(c), 255);
    }
    Colour tint = hullColour;
    if (phase == kWaiting && timer % kBlinkPeriod < kBlinkPeriod / 2)
        tint = PackColour(Dim(ColourR(hullColour)), Dim(ColourG(hullColour)), Dim(ColourB(hullColour)), 255);
    SetColour(tint);
    DrawBodyPlain(kHullSprite, hull, kSpriteScale);
    ResetColour();

    if (player != nullptr) {
        DrawBody(kRowerSprite, rower, kSpriteScale);
        SetColour(player->colour);
        DrawBodyPlain(kOarHandleSprite, oar, kSpriteScale);
    }
    ResetColour();
    DrawBodyPlain(kOarBladeSprite, oar, kSpriteScale);
    DrawBodyPlain(kHatSprite, hat, kSpriteScale);

    EmitterDraw(splash);
    DrawBodyPlain(kBuoySprite, startBuoy, kSpriteScale);
    DrawBodyPlain(kBuoySprite, finishBuoy, kSpriteScale);
    DrawGrabLine();

    SetColourRGBA(255, 255, 255, kWaterFrontAlpha);
    for (int i = 0;; ++i) {
        const float x = kWaterFromX + kWaterFrontStep * static_cast<float>(i);
        if (!(x < kWaterToX)) break;
        DrawSpriteScaled(kWaterSprite, x, kWaterSpriteY, kSpriteScale, kSpriteScale);
    }
    ResetColour();
    FillRect(kLakeBedLeft, 0.0f, kLakeBedWidth, kLakeBedHeight, kLakeBedColour);
}

// ---- HUD -------------------------------------------------------------------------------------

void RowingEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    const float cx = gApp.screenCentreX;
    if (fault) {
        font->Print(cx, kDnqY, kAlignCentre, kHudScale, kBlack, "DNQ");
        return;
    }
    float y = kTimeY;
    if (phase == kDone) y = Min(kTimeMaxY, kTimeSlidePerFrame * static_cast<float>(timer) + kTimeY);
    font->Print(cx, y, kAlignRight, kHudScale, kTimeColour, "TIME: ");
    DrawResult(cx, y, kAlignLeft, kHudScale, kTimeColour, eventId, static_cast<float>(raceFrames), false);
}

} // namespace kel
