// Sections: constants; building; rules per frame; release and landing; world drawing; HUD.
#include "events/hammer/hammer.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

// Thrower and hammer. The rope runs from a point 1.6 m out on the thrower to the ball's centre.
constexpr float kThrowerRadius = 0.65f; // metres
constexpr float kBodyDensity = 1.0f;
constexpr float kBodyFriction = 0.5f;
constexpr float kBodyRestitution = 0.5f;
constexpr float kThrowerDamping = 2.0f; // per second, as tuned for the game's feel
constexpr float kBallRadius = 0.4f;
constexpr float kRopeAnchorX = 1.6f; // metres out on the thrower
constexpr float kRopeLength = 2.4f;
// The ball starts with the rope just taut; further out the rope would snap it in on the first step.
constexpr float kBallStartX = kRopeAnchorX + kRopeLength;
constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 2.5f; // Hz
constexpr float kThrownAngularDamping = 0.5f;

// Rules.
constexpr float kCircleRadius = 5.6f;   // metres
constexpr float kCircleLeeway = 0.4f;   // the thrower's centre may stray this far past the rim
constexpr float kMeterStep = 0.025f;    // per frame: 0 -> 1 -> 0 in 80 frames
constexpr float kSpinSoundMin = kPi / 2.0f; // rad/s
constexpr float kSpinSoundEvery = 280.0f;   // rad/s summed per whoosh
constexpr float kMovingBall = 0.01f;        // metres per second
constexpr int kFlightBaseFrames = 5;
constexpr float kFlightPerSpeed = 2.1f;     // frames per m/s at a full meter
constexpr int kMaxFlightFrames = 36000;     // a bound on a wild release, 10 minutes
constexpr int kShoutFlightFrames = 60;
constexpr float kCageMargin = 15.0f;        // metres beside the sector lines
constexpr float kCageBackX = -10.0f;
constexpr int kEndFrames = 60;
// An attempt left with the ball still and no hand on the thrower would wait for ever.
constexpr int kIdleCapFrames = 600;
constexpr float kWhirlBounds = 20.0f; // metres around the circle

// Camera.
constexpr float kCameraLeadX = 9.0f;
constexpr float kCameraDeadZone = 5.0f;
constexpr float kCameraEase = 0.05f;
constexpr float kCameraSectorSlack = 2.0f;
constexpr float kHeightPerFrame = 0.01f; // of scale per frame of flight, up and down again
constexpr float kBallSpriteScale = 0.017391305f; // sprite 0 at the ball's 0.8 m diameter
constexpr float kShadowOffset = 5.0f;            // metres of y shift per unit of extra scale

// Birds.
constexpr float kBirdFirstLane = 45.0f;
constexpr float kBirdLaneStep = 25.0f;
constexpr float kBirdSpeed = 0.1f; // metres per frame
constexpr float kBirdTurnMargin = 5.0f;
constexpr float kBirdShadowOffset = 5.0f;

// Drawing.
constexpr Colour kGrassColour = PackColour(200, 255, 0);
constexpr Colour kDistanceColour = PackColour(99, 240, 48);
constexpr Colour kGhostColour = PackColour(255, 100, 100, 180);
constexpr Colour kShadowColour = PackColour(0, 0, 0, 100);
constexpr Colour kBallColour = PackColour(209, 209, 209);
constexpr Colour kDialColour = PackColour(180, 180, 180, 128);
constexpr float kLineHalfWidth = 0.2f; // metres
constexpr float kSectorDashFirst = 4.0f;
constexpr float kSectorDashStep = 20.0f;
constexpr float kSectorDashLast = 184.0f;
constexpr int kDistanceStep = 10; // metres
constexpr int kDistanceLast = 200;
constexpr float kLabelScale = 0.1f;
constexpr float kLabelGap = 0.2f;
constexpr int kGrassTufts = 500;
constexpr float kGrassSpanX = 200.0f;
constexpr float kGrassFirstX = 5.0f;
constexpr float kGrassSpanY = 400.0f;
constexpr float kGrassMargin = 5.0f;
constexpr int kGhostBlinkPeriod = 6;
constexpr float kSpriteScale = 0.1f;
constexpr float kBirdScale = 0.15f;
constexpr int kBallSprite = 0;
constexpr int kThrowerSprite = 219;
constexpr int kCircleSprite = 220;
constexpr int kGrassSprite = 221;
constexpr int kChainSprite = 222;
constexpr int kNeedleSprite = 223;
constexpr int kBirdSprite = 224;

// HUD, screen px.
constexpr float kDialX = 30.0f;
constexpr float kDialY = 150.0f;
constexpr float kDialLength = 120.0f;
constexpr float kDialHalfWidth = 2.0f;
constexpr float kNeedleX = 32.0f;
constexpr float kNeedleY = 148.0f;
constexpr float kNeedleScale = 5.0f;
constexpr float kHudScale = 4.0f;
constexpr float kResultY = 240.0f;

} // namespace

SportEvent* CreateHammerThrowEvent() {
    return new HammerThrowEvent();
}

// ---- Building --------------------------------------------------------------------------------

HammerThrowEvent::HammerThrowEvent() : SportEvent(kEventHammer) {
    CreateWorld(0.0f);
    thrower = CreateCircle(0.0f, 0.0f, kThrowerRadius, kBodyDensity, kBodyFriction, kBodyRestitution);
    SetTunedLinearDamping(thrower, kThrowerDamping);
    ball = CreateCircle(kBallStartX, 0.0f, kBallRadius, kBodyDensity, kBodyFriction, kBodyRestitution);
    rope = CreateRope(thrower, ball, kRopeAnchorX, 0.0f, 0.0f, 0.0f, kRopeLength);
    trackedBody = thrower;
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(0.0f, 0.0f);

    circleRadius = kCircleRadius;
    phase = kWaiting;
    meter = RandomFloat(0.0f, 1.0f);
    meterStep = kMeterStep;
    for (int i = 0; i < kBirdCount; ++i) {
        Bird& b = birds[i];
        b.laneX = kBirdFirstLane + kBirdLaneStep * static_cast<float>(i);
        b.y = RandomFloat(-b.laneX, b.laneX);
        b.direction = RandomInt(2) != 0 ? -1.0f : 1.0f;
    }
    SetStallRule(kIdleCapFrames, -kWhirlBounds, -kWhirlBounds, kWhirlBounds, kWhirlBounds);
    WatchBody(thrower);
    WatchBody(ball);
    EmitterInit(&spray, kPresetHammerTurf);
}

HammerThrowEvent::~HammerThrowEvent() {
    EmitterFree(&spray);
}

bool HammerThrowEvent::IsTrackedBody(b2Body* body) {
    return body == thrower;
}

// ---- Rules per frame -------------------------------------------------------------------------

void HammerThrowEvent::Foul() {
    fault = true;
    phase = kEnded;
    phaseFrames = 0;
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    StopMusic();
}

void HammerThrowEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;

    if (phase == kWaiting || phase == kWhirling) {
        meter += meterStep;
        if (meter < 0.0f) {
            meter = -meter;
            meterStep = -meterStep;
        }
        if (meter > 1.0f) {
            meterStep = -meterStep;
            meter = 2.0f - meter;
        }
    }

    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kWhirling;
        phaseFrames = 0;
        PlayMusic("HammerThrow.mp3", true);
    }

    if (phase == kWhirling) {
        const float spin = std::fabs(thrower->GetAngularVelocity());
        spinAccum = spin > kSpinSoundMin ? spinAccum + spin : 0.0f;
        while (spinAccum > kSpinSoundEvery) {
            spinAccum -= kSpinSoundEvery;
            PlayEffect(kSfxHammerspin1, 100, -30, 1.0f, false);
        }
        if (!(thrower->GetPosition().Length() <= circleRadius + kCircleLeeway)) {
            showFoulGhost = true;
            foulGhostPos = thrower->GetPosition();
            foulGhostAngle = thrower->GetAngle();
            Foul();
            ReleaseGrab();
        } else if (CheckStall() != kStallNone) {
            Foul();
            ReleaseGrab();
        } else if (grabbedBody == nullptr && ball->GetLinearVelocity().Length() > kMovingBall) {
            Release();
        }
    } else if (phase == kFlight) {
        const b2Vec2 at = ball->GetPosition();
        cameraX = Max(0.0f, at.x - kCameraLeadX);
        if (at.y < cameraY - kCameraDeadZone) cameraY = at.y + kCameraDeadZone;
        if (at.y > cameraY + kCameraDeadZone) cameraY = at.y - kCameraDeadZone;
        const int half = flightFrames / 2;
        const float up = static_cast<float>(phaseFrames <= half ? phaseFrames : flightFrames - phaseFrames);
        heightScale = 1.0f + kHeightPerFrame * up;
        zoom = kDefaultZoom / heightScale;
        if (phaseFrames == flightFrames) {
            Land();
        } else if (at.y < -at.x - kCageMargin || at.y > at.x + kCageMargin || at.x < kCageBackX) {
            // Once landed the ball is out of the cage's reach: a bad landing buzzes only once.
            Foul();
        }
    } else if (phase == kEnded) {
        if (!fault) {
            const b2Vec2 at = ball->GetPosition();
            cameraX = cameraX * (1.0f - kCameraEase) + at.x * kCameraEase;
            cameraY = cameraY * (1.0f - kCameraEase) + at.y * kCameraEase;
        }
        if (phaseFrames == kEndFrames) finished = true;
    }
    if (phase == kFlight || phase == kEnded)
        cameraY = Clamp(cameraY, -cameraX - kCameraSectorSlack, cameraX + kCameraSectorSlack);

    for (Bird& b : birds) {
        b.y += b.direction * kBirdSpeed;
        if (b.y < -(b.laneX + kBirdTurnMargin) || b.y > b.laneX + kBirdTurnMargin) b.direction = -b.direction;
    }
    EmitterUpdate(&spray);
}

// ---- Release and landing ---------------------------------------------------------------------

void HammerThrowEvent::Release() {
    const float speed = ball->GetLinearVelocity().Length();
    const float frames = static_cast<float>(kFlightBaseFrames) + (1.0f + meter) / 2.0f * speed * kFlightPerSpeed;
    // A non-finite or huge speed must not overflow the frame count.
    flightFrames = frames < static_cast<float>(kMaxFlightFrames) ? static_cast<int32_t>(frames) : kMaxFlightFrames;
    world->DestroyJoint(rope);
    rope = nullptr;
    SetTunedAngularDamping(thrower, kThrownAngularDamping);
    phase = kFlight;
    phaseFrames = 0;
    if (flightFrames > kShoutFlightFrames) PlayEffect(kSfxRuaah, 100, -30, 1.0f, false);
}

void HammerThrowEvent::Land() {
    ball->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    ball->SetAngularVelocity(0.0f);
    heightScale = 1.0f;
    zoom = kDefaultZoom;
    const b2Vec2 at = ball->GetPosition();
    if (at.y >= -at.x && at.y <= at.x && at.x >= circleRadius) {
        result = at.x - circleRadius;
        PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
    } else {
        fault = true;
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    }
    phase = kEnded;
    phaseFrames = 0;
    spray.emitX = at.x;
    spray.emitY = at.y;
    if (!fault) EmitterStart(&spray);
    StopMusic();
    PlayEffect(kSfxHammerimpact, 100, 20, 0.7f, false);
}

// ---- World drawing ---------------------------------------------------------------------------

float HammerThrowEvent::NextDecor() {
    decorSeed = decorSeed * 214013u + 2531011u;
    return static_cast<float>(decorSeed >> 16) / 65535.0f;
}

void HammerThrowEvent::Draw() {
    ClearScreen(kGrassColour);
    DrawSpriteRotated(kCircleSprite, 0.0f, 0.0f, 0.0f, kSpriteScale, kSpriteScale);

    for (float d = kSectorDashFirst; d <= kSectorDashLast; d += kSectorDashStep) {
        DrawLine(d, d, d + kSectorDashStep, d + kSectorDashStep, kLineHalfWidth, kWhite);
        DrawLine(d, -d, d + kSectorDashStep, -d - kSectorDashStep, kLineHalfWidth, kWhite);
    }
    for (int m = kDistanceStep; m <= kDistanceLast; m += kDistanceStep) {
        const float r = static_cast<float>(m) + circleRadius;
        DrawLine(r, -r, r, r, kLineHalfWidth, kDistanceColour);
        if (gApp.font != nullptr)
            gApp.font->Printf(r + kLabelGap, cameraY, kAlignLeft, kLabelScale, kDistanceColour, "%d", m);
    }

    // The same tufts every frame: the pattern's own sequence restarts from 1.
    decorSeed = 1;
    for (int i = 0; i < kGrassTufts; ++i) {
        const float x = NextDecor() * kGrassSpanX + kGrassFirstX;
        const float y = NextDecor() * kGrassSpanY - kGrassSpanY / 2.0f;
        if (y >= -x - kGrassMargin && y <= x + kGrassMargin)
            DrawSpriteRotated(kGrassSprite, x, y, 0.0f, kSpriteScale, kSpriteScale);
    }

    EmitterDraw(spray);
    if (showFoulGhost && gApp.frameCounter % kGhostBlinkPeriod < kGhostBlinkPeriod / 2) {
        SetColour(kGhostColour);
        DrawSpriteRotated(kThrowerSprite, foulGhostPos.x, foulGhostPos.y, foulGhostAngle, kSpriteScale,
                          kSpriteScale);
        ResetColour();
    }
    DrawBody(kThrowerSprite, thrower, kSpriteScale);
    if (rope != nullptr && player != nullptr) {
        const b2Vec2 a = rope->GetAnchorA();
        const b2Vec2 b = rope->GetAnchorB();
        SetColour(player->colour);
        DrawSpan(kChainSprite, a.x, a.y, b.x, b.y);
        ResetColour();
    }

    const float s = heightScale;
    const float k = kBallSpriteScale * s;
    const b2Vec2 at = ball->GetPosition();
    SetColour(kShadowColour);
    DrawSpriteRotated(kBallSprite, at.x, at.y, 0.0f, k, k);
    for (const Bird& b : birds) {
        const float angle = b.direction > 0.0f ? kPi / 2.0f : -kPi / 2.0f;
        DrawSpriteRotated(kBirdSprite, b.laneX, b.y + kBirdShadowOffset, angle, kSpriteScale, kSpriteScale);
    }
    SetColour(kBallColour);
    DrawSpriteRotated(kBallSprite, at.x, at.y - kShadowOffset * (s - 1.0f), 0.0f, k * s, k * s);
    ResetColour();
    for (const Bird& b : birds) {
        const float angle = b.direction > 0.0f ? kPi / 2.0f : -kPi / 2.0f;
        DrawSpriteRotated(kBirdSprite, b.laneX, b.y, angle, kBirdScale, kBirdScale);
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void HammerThrowEvent::DrawHud() {
    if (player != nullptr) {
        const float diagonal = kDialLength * std::sqrt(0.5f);
        DrawLine(kDialX, kDialY, kDialX + kDialLength, kDialY, kDialHalfWidth, kDialColour);
        DrawLine(kDialX, kDialY, kDialX + diagonal, kDialY - diagonal, kDialHalfWidth, kDialColour);
        SetColour(player->colour);
        DrawSpriteRotated(kNeedleSprite, kNeedleX, kNeedleY, meter * -kPi / 4.0f, kNeedleScale, kNeedleScale);
        ResetColour();
    }
    BitmapFont* font = gApp.font;
    if (phase != kEnded || font == nullptr) return;
    if (fault) {
        font->Print(gApp.screenCentreX, kResultY, kAlignCentre, kHudScale, kBlack, "FAULT");
    } else {
        font->Printf(gApp.screenCentreX, kResultY, kAlignCentre, kHudScale, kBlack, "%0.1f METERS",
                     static_cast<double>(result));
    }
}

} // namespace kel
