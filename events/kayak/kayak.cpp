// Sections: constants; building; the water; rules per frame; world drawing; HUD.
#include "events/kayak/kayak.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kCourseLength = 92.0f; // metres
constexpr float kHalfWidth = 8.0f;     // metres

// The kayak: a diamond 4 m long and 1.32 m wide, pointing downstream.
const b2Vec2 kKayakShape[] = {{-2.0f, 0.0f}, {0.0f, -0.66f}, {2.0f, 0.0f}, {0.0f, 0.66f}};
constexpr float kKayakX = 2.1f;
constexpr float kKayakDensity = 1.0f;
constexpr float kBoatRestitution = 0.1f;
constexpr float kPaddleX = 2.4f; // metres: the paddle's centre and its pivot
constexpr float kPaddleHalfWidth = 0.1f;
constexpr float kPaddleHalfLength = 1.7f;
constexpr float kPaddleDensity = 0.5f;
constexpr float kPaddleSwing = 1.1f;         // radians either side
constexpr float kPaddleMotorTorque = 100.0f; // newton metres
constexpr float kPaddleSpeed = 6.0f;         // radians per second
constexpr int kStrokeFrames = 60;            // one swing each way

// The paddle touches nothing but the water balls.
constexpr uint16_t kKayakCategory = 0x0002;
constexpr uint16_t kKayakMask = 0x00FF;
constexpr uint16_t kBallCategory = 0x0004;
constexpr uint16_t kBallMask = 0x00FF;
constexpr uint16_t kPaddleCategory = 0x0008;
constexpr uint16_t kPaddleMask = 0x0004;

constexpr float kEndRestitution = 0.1f;
constexpr float kEndWidth = 4.0f;  // metres: the walls closing the channel's two ends
constexpr float kBankDepth = 4.0f; // metres: the banks beyond y = ±8
constexpr float kBankLength = 100.0f;
constexpr float kRockLength = 15.0f; // metres along the bank
constexpr float kRockReach = 2.0f;   // metres into the channel
constexpr float kUpperRocksFrom = 0.0f;
constexpr float kLowerRocksFrom = -4.0f; // the lower row is offset

// Gates: two poles 4.35 m apart on a line across the channel.
constexpr float kFirstGateX = 15.0f;
constexpr float kGateSpacing = (kCourseLength - 30.0f) / 9.0f;
constexpr float kGateStagger = 0.76f; // metres, times (k mod 3)
constexpr float kGateCentreY = 3.0f;  // above the middle for even gates, below for odd
constexpr float kPoleOffset = 2.175f;
constexpr float kPoleRadius = 0.25f;
constexpr float kPoleRestitution = 0.1f;
constexpr int kGatePenalty = 10; // seconds per gate skipped or missed

constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 0.23f; // Hz
constexpr float kCameraStartX = 5.0f;
constexpr float kCameraMargin = 9.5f; // metres inside the channel's ends
constexpr float kCameraLeadX = 1.0f;

// The water: balls born a little upstream of the view, pushed down by a steady current and
// sent back 26 m once past the view or out of the channel.
constexpr size_t kMaxWaterBalls = 170;
constexpr float kBallRadius = 0.24f;
constexpr float kBallDensity = 0.2f;
constexpr float kBallSpreadY = 5.0f;     // metres either side of the middle
constexpr float kBallBehindView = 13.0f; // metres behind cameraX where balls are born
constexpr float kBallStartSpeed = 4.0f;  // metres per second
constexpr float kCurrent = 0.15f;        // newtons downstream
constexpr float kBallEscape = 2.0f;      // metres beyond the banks
constexpr float kBallLastX = kCourseLength - 0.3f;
constexpr float kBallRecycleBack = 26.0f; // metres
constexpr float kBallRecycleSpeed = 5.0f;

constexpr float kFinishX = kCourseLength - 5.0f;
constexpr int kPenaltyWaitFrames = 30; // before the count starts and before a click may skip it
constexpr int kFramesPerSecond = 60;
constexpr int kEndFrames = 60;
constexpr int kSplashFrame = 15;

// Drawing, world metres; sprites at 0.1 m per px.
constexpr float kSpriteScale = 0.1f;
constexpr float kWaterTile = 3.2f;
constexpr int kWaterLastFrameSprite = 250; // the animation runs 250, 249, 248, 247
constexpr int kWaterFrameTicks = 4;
constexpr Colour kBankColour = 0xFF09B3E5u;
constexpr int kMarkerSprite = 171;
constexpr float kStartMarkerX = 4.1f;
constexpr float kFinishMarkerX = kCourseLength - 4.0f;
constexpr float kMarkerYs[] = {-3.0f, -1.0f, 1.0f};
constexpr float kBallSpriteScale = 0.35f / 23.0f; // sprite 0 is a 46 px disc: 0.7 m across
constexpr int kBallSprite = 0;
constexpr int kKayakSprite = 244;
constexpr int kPaddleSprite = 245;
constexpr int kPoleSprite = 246;

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kTimeY = 90.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 3.0f;
constexpr float kTimeOffsetX = -64.0f;
constexpr float kPenaltyOffsetX = 170.0f;
constexpr Colour kPenaltyColour = 0xFF4646FFu;

} // namespace

SportEvent* CreateWhitewaterEvent() {
    return new WhitewaterEvent();
}

// ---- Building --------------------------------------------------------------------------------

WhitewaterEvent::WhitewaterEvent() : SportEvent(kEventKayak) {
    waterBalls.reserve(kMaxWaterBalls);
    timer = 0;
    CreateWorld(0.0f);
    courseLength = kCourseLength;
    halfWidth = kHalfWidth;

    b2BodyDef kayakDef;
    kayakDef.type = b2_dynamicBody;
    kayakDef.position.Set(kKayakX, 0.0f);
    kayak = world->CreateBody(&kayakDef);
    b2PolygonShape kayakShape;
    SetPolygonChecked(&kayakShape, kKayakShape, 4);
    b2FixtureDef kayakFixture;
    kayakFixture.shape = &kayakShape;
    kayakFixture.density = kKayakDensity;
    kayakFixture.friction = 0.0f;
    kayakFixture.restitution = kBoatRestitution;
    kayak->CreateFixture(&kayakFixture);

    paddle = CreateBox(kPaddleX - kPaddleHalfWidth, -kPaddleHalfLength, 2.0f * kPaddleHalfWidth,
                       2.0f * kPaddleHalfLength, kPaddleDensity, 0.0f, kBoatRestitution);
    paddleJoint = CreateRevolute(kayak, paddle, kPaddleX, 0.0f, -kPaddleSwing, kPaddleSwing, false);
    paddleJoint->SetMaxMotorTorque(kPaddleMotorTorque);
    paddleJoint->EnableMotor(true);
    paddleJoint->SetMotorSpeed(0.0f);
    SetBodyFilter(kayak, kKayakCategory, kKayakMask);
    SetBodyFilter(paddle, kPaddleCategory, kPaddleMask);

    AddGroundBox(-kEndWidth, -kHalfWidth, kEndWidth, 2.0f * kHalfWidth, 0.0f, kEndRestitution);
    AddGroundBox(kCourseLength, -kHalfWidth, kEndWidth, 2.0f * kHalfWidth, 0.0f, kEndRestitution);
    AddGroundBox(-kEndWidth, -kHalfWidth - kBankDepth, kBankLength, kBankDepth, 0.0f, 0.0f);
    AddGroundBox(-kEndWidth, kHalfWidth, kBankLength, kBankDepth, 0.0f, 0.0f);
    for (float x0 = kUpperRocksFrom; x0 < kCourseLength; x0 += kRockLength) {
        const b2Vec2 rock[] = {{x0, -kHalfWidth},
                               {x0 + kRockLength, -kHalfWidth},
                               {x0 + 0.5f * kRockLength, -kHalfWidth + kRockReach}};
        AddGroundPolygon(rock, 3, 0.0f, 0.0f);
    }
    for (float x0 = kLowerRocksFrom; x0 < kCourseLength; x0 += kRockLength) {
        const b2Vec2 rock[] = {{x0, kHalfWidth},
                               {x0 + 0.5f * kRockLength, kHalfWidth - kRockReach},
                               {x0 + kRockLength, kHalfWidth}};
        AddGroundPolygon(rock, 3, 0.0f, 0.0f);
    }
    SetBodyTag(groundBody, kTagWoodFloor);

    float lineX = kFirstGateX;
    for (int k = 0; k < kKayakGateCount; ++k) {
        const float x = lineX + kGateStagger * static_cast<float>(k % 3);
        const float centre = k % 2 == 0 ? -kGateCentreY : kGateCentreY;
        gatePoles[k][0] = CreateCircle(x, centre - kPoleOffset, kPoleRadius, 0.0f, 0.0f, kPoleRestitution);
        gatePoles[k][1] = CreateCircle(x, centre + kPoleOffset, kPoleRadius, 0.0f, 0.0f, kPoleRestitution);
        SetBodyTag(gatePoles[k][0], kTagMetal);
        SetBodyTag(gatePoles[k][1], kTagMetal);
        lineX += kGateSpacing;
    }
    SetBodyTag(kayak, kTagWood);

    trackedBody = kayak;
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraStartX, 0.0f);
    phase = kWaiting;
    penalty = 0;
    nextGate = 0;
    prevX = kayak->GetPosition().x;
    prevY = kayak->GetPosition().y;
}

// ---- The water -------------------------------------------------------------------------------

void WhitewaterEvent::AddWaterBall() {
    b2Body* ball =
        CreateCircle(Max(0.0f, cameraX - kBallBehindView), RandomFloat(-kBallSpreadY, kBallSpreadY),
                     kBallRadius, kBallDensity, 0.0f, 0.0f);
    SetBodyFilter(ball, kBallCategory, kBallMask);
    ball->SetLinearVelocity(b2Vec2(kBallStartSpeed, 0.0f));
    waterBalls.push_back(ball);
}

void WhitewaterEvent::MoveWater() {
    const float lastX = Min(kBallLastX, cameraX + kBallBehindView);
    const float escape = kHalfWidth + kBallEscape;
    for (b2Body* ball : waterBalls) {
        ApplyForceToCentreWaking(ball, b2Vec2(kCurrent, 0.0f));
        const b2Vec2 p = ball->GetPosition();
        if (p.y < -escape || p.y > escape || p.x > lastX) {
            ball->SetTransform(
                b2Vec2(Max(0.0f, p.x - kBallRecycleBack), RandomFloat(-kBallSpreadY, kBallSpreadY)), 0.0f);
            ball->SetLinearVelocity(b2Vec2(kBallRecycleSpeed, 0.0f));
            ball->SetAngularVelocity(0.0f);
        }
    }
}

// ---- Rules per frame -------------------------------------------------------------------------

// The first gate, from the next one on, whose line the kayak's centre crossed downstream between
// its poles counts; the gates before it are charged as missed.
void WhitewaterEvent::CheckGates(float x, float y) {
    for (int k = nextGate; k < kKayakGateCount; ++k) {
        const b2Vec2 upper = gatePoles[k][0]->GetPosition();
        const b2Vec2 lower = gatePoles[k][1]->GetPosition();
        if (!(upper.y < y && y < lower.y && prevX < upper.x && upper.x <= x)) continue;
        if (k > nextGate) {
            LogDebug("g:%d  next:%d", k, nextGate);
            penalty += kGatePenalty * (k - nextGate);
            PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
        }
        nextGate = k + 1;
        return;
    }
}

void WhitewaterEvent::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;
    cameraX = Clamp(kayak->GetPosition().x + kCameraLeadX, kCameraMargin, courseLength - kCameraMargin);

    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kPaddling;
        timer = 0;
        PlayMusic("KayakSlalom.mp3", true);
    }
    if (phase != kWaiting && timer % 2 == 0 && waterBalls.size() < kMaxWaterBalls) AddWaterBall();
    MoveWater();

    switch (phase) {
    case kPaddling: {
        if (timer == kSplashFrame) PlayEffect(kSfxSplash, 60, -50, 1.0f, false);
        if (timer % kStrokeFrames == 0) paddleJoint->SetMotorSpeed(kPaddleSpeed);
        if (timer % kStrokeFrames == kStrokeFrames / 2) paddleJoint->SetMotorSpeed(-kPaddleSpeed);
        const b2Vec2 p = kayak->GetPosition();
        CheckGates(p.x, p.y);
        if (p.x > kFinishX) {
            if (nextGate < kKayakGateCount) {
                penalty += kGatePenalty * (kKayakGateCount - nextGate);
                PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
            } else {
                PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
            }
            phase = kPenalties;
            result = static_cast<float>(timer);
            timer = 0;
            StopMusic();
        }
        prevX = p.x;
        prevY = p.y;
        break;
    }
    case kPenalties:
        if (gApp.mousePressed && timer > kPenaltyWaitFrames) {
            result += static_cast<float>(kFramesPerSecond * penalty);
            penalty = 0;
        } else if (timer > kPenaltyWaitFrames && timer % 2 == 0 && penalty > 0) {
            penalty -= 1;
            result += static_cast<float>(kFramesPerSecond);
            if (timer % 4 == 0) PlayEffect(kSfxBlip, 30, 0, 1.0f, false);
        }
        if (penalty == 0 && timer > kPenaltyWaitFrames) {
            phase = kDone;
            timer = 0;
        }
        break;
    case kDone:
        if (timer == kEndFrames) finished = true;
        break;
    default:
        break;
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void WhitewaterEvent::Draw() {
    SetColourRGBA(50, 150, 255, 255);
    const int waterSprite = kWaterLastFrameSprite - (timer / kWaterFrameTicks) % 4;
    for (int i = 0;; ++i) {
        const float x = kWaterTile * static_cast<float>(i);
        if (!(x < courseLength)) break;
        for (int j = 0;; ++j) {
            const float y = -halfWidth + kWaterTile * static_cast<float>(j);
            if (!(y < halfWidth)) break;
            DrawSpriteScaled(waterSprite, x, y, kSpriteScale, kSpriteScale);
        }
    }
    ResetColour();
    DrawFixtures(groundBody->GetFixtureList(), kBankColour);
    for (const float y : kMarkerYs) {
        DrawSpriteScaled(kMarkerSprite, kStartMarkerX, y, kSpriteScale, kSpriteScale);
        DrawSpriteScaled(kMarkerSprite, kFinishMarkerX, y, kSpriteScale, kSpriteScale);
    }

    // Every ball in one colour and one texture, so the batch sends them in as few calls as it can.
    SetColourRGBA(102, 176, 255, 255);
    for (const b2Body* ball : waterBalls) {
        const b2Vec2 p = ball->GetPosition();
        DrawSpriteScaled(kBallSprite, p.x, p.y, kBallSpriteScale, kBallSpriteScale);
    }
    ResetColour();

    for (const auto& gate : gatePoles) {
        DrawBodyPlain(kPoleSprite, gate[0], kSpriteScale);
        DrawBodyPlain(kPoleSprite, gate[1], kSpriteScale);
    }
    DrawBody(kKayakSprite, kayak, kSpriteScale);
    DrawBodyPlain(kPaddleSprite, paddle, kSpriteScale);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void WhitewaterEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    const float cx = gApp.screenCentreX;
    float y = kTimeY;
    if (phase == kDone) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(timer));
    float shown = 0.0f;
    if (phase == kPaddling) shown = static_cast<float>(timer);
    if (phase >= kPenalties) shown = result;
    font->Print(cx + kTimeOffsetX, y, kAlignRight, kHudScale, kWhite, "TIME: ");
    DrawResult(cx + kTimeOffsetX, y, kAlignLeft, kHudScale, kWhite, eventId, shown, false);
    if (penalty > 0)
        font->Printf(cx + kPenaltyOffsetX, y, kAlignLeft, kHudScale, kPenaltyColour, "+%d", penalty);
}

} // namespace kel
