// Sections: constants; building; the water; rules per frame; world drawing; HUD.
#include "events/swimming/swimming.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/physics_compat.h"
#include "sim/records.h"
#include "sim/scene_host.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;         // metres per second squared
constexpr float kPoolHalfLength = 13.0f; // metres
constexpr float kDeckTop = -3.0f;        // metres: also the top of the pool's water region
constexpr float kDeckWidth = 10.0f;
constexpr float kDeckHeight = 7.0f;
constexpr float kFloorDepth = 4.0f;
constexpr float kDeckFriction = 1.0f;

// The swimmer stands on the left deck at the pool's edge; his arm bar crosses his shoulders.
constexpr float kSwimmerLeft = -14.0f;
constexpr float kSwimmerTop = -5.4f;
constexpr float kSwimmerWidth = 0.7f;
constexpr float kSwimmerHeight = 2.4f;
constexpr float kSwimmerDensity = 0.6f;
constexpr float kArmsLeft = -14.8f;
constexpr float kArmsTop = -4.9f;
constexpr float kArmsWidth = 2.3f;
constexpr float kArmsHeight = 0.2f;
constexpr float kArmsDensity = 0.8f;
constexpr float kAthleteFriction = 0.1f;
constexpr float kShoulderX = -13.65f;
constexpr float kShoulderY = -4.8f;
constexpr float kShoulderTorque = 20.0f;                  // newton metres
constexpr float kStrokeSpeed = 8.0f;                      // radians per second
const b2Vec2 kArmEnds[2] = {{-1.3f, 0.0f}, {1.3f, 0.0f}}; // in the arm bar's frame
constexpr float kSplashLineY = -1.6f;                     // metres: an arm end dipping below it splashes

// Officials on the decks.
constexpr float kOfficialX = 17.0f; // metres: left corner of the right one, mirrored for the left
constexpr float kOfficialTop = -5.4f;
constexpr float kOfficialWidth = 0.9f;
constexpr float kOfficialHeight = 2.4f;
constexpr float kOfficialFriction = 0.5f;
constexpr float kOfficialRestitution = 0.2f;

// Water: four rows of balls 0.5 m apart filling the pool's bottom 2 m.
constexpr int kWaterRows = 4;
constexpr float kFirstRowY = -0.25f;
constexpr float kBallSpacing = 0.5f;
constexpr float kBallRadius = 0.2f;
constexpr float kBallDensity = 1.0f;
// Pressure: balls closer than kPressureReach on both axes push apart with up to kPressure newtons,
// falling off linearly with the squared distance; the floor pushes up the same way.
constexpr float kPressureReach = 0.5f;  // metres
constexpr float kPressureRange = 0.5f;  // square metres
constexpr float kPressure = 2.0f;       // newtons
constexpr float kFloorPushFrom = -0.5f; // metres
constexpr float kTinyLength = 1.1920929e-7f;

constexpr float kGrabDamping = 1.0f;
constexpr float kGrabFrequency = 0.227f; // Hz
constexpr int kGrabBudgetFrames = 60;
constexpr int kRefillEveryFrames = 15; // one frame of budget back, with the button up

constexpr float kCameraMargin = 6.0f; // metres inside the walls
constexpr float kCameraY = -7.3f;
constexpr float kTurnX = 11.0f; // metres: a length counts 2 m before the wall
constexpr int kLengthCount = 4;
constexpr int kOutOfPoolFrames = 300; // five seconds outside the pool in all disqualify
// Nothing else limits a race once the swimmer is in: one who stops swimming would hang the
// attempt, so a race still running after two minutes is a DNQ.
constexpr int kRaceLimitFrames = 7200;
constexpr int kEndFrames = 30;
constexpr int kWhistlePan = 60;

// Drawing, world metres; sprites at 0.1 m per px.
constexpr float kSpriteScale = 0.1f;
constexpr int kBackdropSprite = 212;
constexpr float kBackdropXs[] = {-35.6f, -10.0f, 15.6f};
constexpr float kBackdropY = -16.9f;
constexpr Colour kPoolColour = 0xFF9FFBFFu;
constexpr int kBallSprite = 0;
constexpr float kBallSpriteScale = 0.4f / 23.0f; // sprite 0 is a 46 px disc: 0.8 m across
constexpr int kSwimmerSprite = 213;
constexpr int kArmsSprite = 214;
constexpr int kCapSprite = 215;
constexpr int kOfficialSprite = 216; // and 217, waving
constexpr int kWavePeriod = 20;      // frames; the arm is up in the second half
// Cap colour of each competitor slot. As first written slots 2 and 3 had alpha 0 and 0x28, which
// left the third competitor bareheaded and the fourth in a ghost of a cap; they keep their
// colours at full alpha.
constexpr Colour kCapColours[kPlayerCount] = {0xFFFF00FFu, 0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFF28FFu};

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kPromptScale = 8.0f;
constexpr float kHudOffsetX = 24.0f;
constexpr float kDnqY = 210.0f;
constexpr Colour kTimeColour = 0xFF1919FFu;
constexpr float kTimeY = 90.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 3.0f;
constexpr float kCallY = 150.0f;
constexpr int kPromptBlinkPeriod = 8; // frames; shown in the first half

} // namespace

SportEvent* CreateSwimmingEvent() {
    return new SwimmingEvent();
}

// ---- Building --------------------------------------------------------------------------------

SwimmingEvent::SwimmingEvent() : SportEvent(kEventSwimming) {
    CreateWorld(kGravity);
    // Hundreds of ball contacts a frame make no sound; without a listener Box2D skips them all.
    world->SetContactListener(nullptr);

    poolHalfLength = kPoolHalfLength;
    AddGroundBox(-kPoolHalfLength, 0.0f, 2.0f * kPoolHalfLength, kFloorDepth, 0.0f, 0.0f);
    AddGroundBox(-kPoolHalfLength - kDeckWidth, kDeckTop, kDeckWidth, kDeckHeight, kDeckFriction, 0.0f);
    AddGroundBox(kPoolHalfLength, kDeckTop, kDeckWidth, kDeckHeight, kDeckFriction, 0.0f);

    swimmer = CreateBox(kSwimmerLeft, kSwimmerTop, kSwimmerWidth, kSwimmerHeight, kSwimmerDensity,
                        kAthleteFriction, 0.0f);
    arms = CreateBox(kArmsLeft, kArmsTop, kArmsWidth, kArmsHeight, kArmsDensity, kAthleteFriction, 0.0f);
    shoulder = CreateRevolute(swimmer, arms, kShoulderX, kShoulderY, 0.0f, 0.0f, false);
    shoulder->SetMaxMotorTorque(kShoulderTorque);
    shoulder->SetMotorSpeed(kStrokeSpeed);
    shoulder->EnableMotor(false);

    waterBalls.reserve(kPoolBallCount);
    for (int row = 0; row < kWaterRows; ++row) {
        const float y = kFirstRowY - kBallSpacing * static_cast<float>(row);
        for (int i = 0;; ++i) {
            const float x = 0.5f * kBallSpacing - kPoolHalfLength + kBallSpacing * static_cast<float>(i);
            if (!(x < kPoolHalfLength - 0.5f * kBallSpacing)) break;
            waterBalls.push_back(CreateCircle(x, y, kBallRadius, kBallDensity, 0.0f, 0.0f));
        }
    }
    LogDebug("water: %d", static_cast<int>(waterBalls.size()));
    ballAt.resize(waterBalls.size());
    ballForce.resize(waterBalls.size());
    ballPushed.resize(waterBalls.size());

    officialLeft = CreateBox(-kOfficialX, kOfficialTop, kOfficialWidth, kOfficialHeight, 1.0f,
                             kOfficialFriction, kOfficialRestitution);
    officialRight = CreateBox(kOfficialX, kOfficialTop, kOfficialWidth, kOfficialHeight, 1.0f,
                              kOfficialFriction, kOfficialRestitution);

    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(kCameraMargin - kPoolHalfLength, kCameraY);
    lengths = 0;
    showPrompt = true;
    raceFrames = 0;
    outFrames = 0;
    turnSignal = true;
    phase = kOnBlock;
    EmitterInit(&splash, kPresetSwimSplash);
}

SwimmingEvent::~SwimmingEvent() {
    EmitterFree(&splash);
}

bool SwimmingEvent::IsTrackedBody(b2Body* body) {
    return body == swimmer || body == officialLeft || body == officialRight;
}

// ---- The water -------------------------------------------------------------------------------

// Every pair of balls closer than the reach on both axes, in creation order, then the floor's
// push. The forces are summed per ball and applied once, which wakes the ball as a force per pair
// would.
void SwimmingEvent::PushWater() {
    const size_t count = waterBalls.size();
    for (size_t i = 0; i < count; ++i) {
        ballAt[i] = waterBalls[i]->GetPosition();
        ballForce[i].SetZero();
        ballPushed[i] = 0;
    }
    for (size_t i = 0; i < count; ++i) {
        const b2Vec2 a = ballAt[i];
        for (size_t j = i + 1; j < count; ++j) {
            b2Vec2 d = ballAt[j] - a;
            if (std::fabs(d.x) > kPressureReach || std::fabs(d.y) > kPressureReach) continue;
            float r = d.Length();
            if (r >= kTinyLength) {
                d *= 1.0f / r;
            } else {
                r = 0.0f;
            }
            const float s = RemapClamped(r * r, 0.0f, kPressureRange, kPressure, 0.0f);
            ballForce[i] -= s * d;
            ballForce[j] += s * d;
            ballPushed[i] = 1;
            ballPushed[j] = 1;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (ballAt[i].y > kFloorPushFrom) {
            const float depth = kFloorPushFrom - ballAt[i].y;
            ballForce[i].y -= RemapClamped(depth * depth, 0.0f, kPressureRange, kPressure, 0.0f);
            ballPushed[i] = 1;
        }
        if (ballPushed[i] != 0) ApplyForceToCentreWaking(waterBalls[i], ballForce[i]);
    }
}

// ---- Rules per frame -------------------------------------------------------------------------

void SwimmingEvent::Disqualify() {
    phase = kDone;
    timer = 0;
    fault = true;
    StopMusic();
}

void SwimmingEvent::Update() {
    SportEvent::Update();
    StepWorld();
    timer += 1;
    SetCamera(
        Clamp(swimmer->GetPosition().x, kCameraMargin - kPoolHalfLength, kPoolHalfLength - kCameraMargin),
        kCameraY);
    PushWater();

    switch (phase) {
    case kOnBlock:
        if (grabbedBody != nullptr) {
            phase = kDiving;
            PlayEffect(kSfxWhistlelong, 100, lengths % 2 == 0 ? -kWhistlePan : kWhistlePan, 1.0f, false);
        }
        break;
    case kDiving:
        raceFrames += 1;
        if (grabbedBody == nullptr) {
            shoulder->EnableMotor(true);
            phase = kSwimming;
            timer = 0;
            showPrompt = false;
            PlayMusic("Swimming.mp3", true);
        }
        break;
    case kSwimming: {
        raceFrames += 1;
        const float x = swimmer->GetPosition().x;
        if (x < -kPoolHalfLength || x > kPoolHalfLength) {
            outFrames += 1;
            if (outFrames == kOutOfPoolFrames) Disqualify();
        }
        if (phase == kSwimming && raceFrames >= kRaceLimitFrames) Disqualify();
        const bool rightward = lengths % 2 == 0;
        if ((rightward && x > 0.0f) || (!rightward && x < 0.0f)) turnSignal = false;
        if ((rightward && x > kTurnX) || (!rightward && x < -kTurnX)) {
            lengths += 1;
            showPrompt = true;
            turnSignal = true;
            PlayEffect(kSfxWhistlelong, 100, lengths % 2 == 1 ? kWhistlePan : -kWhistlePan, 1.0f, false);
            if (lengths == kLengthCount) {
                phase = kDone;
                timer = 0;
                result = static_cast<float>(raceFrames);
                StopMusic();
            } else {
                shoulder->SetMotorSpeed(-shoulder->GetMotorSpeed());
                grabBudget = kGrabBudgetFrames;
            }
        }
        if (gApp.mouseReleased) showPrompt = false;
        if (!gApp.mouseHeld && grabBudget < kGrabBudgetFrames && timer % kRefillEveryFrames == 0)
            grabBudget += 1;
        break;
    }
    case kDone:
        turnSignal = false;
        if (timer == kEndFrames) finished = true;
        break;
    default:
        break;
    }

    for (int end = 0; end < 2; ++end) {
        const b2Vec2 p = arms->GetWorldPoint(kArmEnds[end]);
        if (p.y > kSplashLineY && armEndPrevY[end] <= kSplashLineY) {
            PlayEffect(kSfxSplash, 70, SoundPan(p.x), 1.0f, false);
            splash.emitX = p.x;
            splash.emitY = p.y;
            EmitterStart(&splash);
        }
        armEndPrevY[end] = p.y;
    }
    EmitterUpdate(&splash);
}

// ---- World drawing ---------------------------------------------------------------------------

void SwimmingEvent::Draw() {
    for (const float x : kBackdropXs)
        DrawSpriteScaled(kBackdropSprite, x, kBackdropY, kSpriteScale, kSpriteScale);
    DrawFixtures(groundBody->GetFixtureList(), kPoolColour);

    // All the water in one colour and one texture, so the batch sends it in as few calls as it can.
    SetColourRGBA(23, 213, 227, 255);
    for (const b2Body* ball : waterBalls) {
        const b2Vec2 p = ball->GetPosition();
        DrawSpriteScaled(kBallSprite, p.x, p.y, kBallSpriteScale, kBallSpriteScale);
    }
    ResetColour();

    if (player != nullptr) {
        const float facing = lengths % 2 == 0 ? kSpriteScale : -kSpriteScale;
        const SceneHost* host = CurrentSceneHost();
        const int slot = host != nullptr ? ClampInt(host->CurrentCompetitorSlot(), 0, kPlayerCount - 1) : 0;
        SetColour(player->colour);
        DrawBodyPlain(kSwimmerSprite, swimmer, facing);
        SetColour(kCapColours[slot]);
        DrawBodyPlain(kCapSprite, swimmer, facing);
        SetColour(player->colour);
        DrawBodyPlain(kArmsSprite, arms, facing);
        ResetColour();
    }

    const int wave = turnSignal && timer % kWavePeriod > kWavePeriod / 2 ? 1 : 0;
    DrawBodyPlain(kOfficialSprite + wave, officialLeft, kSpriteScale);
    DrawBodyPlain(kOfficialSprite + wave, officialRight, -kSpriteScale);

    EmitterDraw(splash);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void SwimmingEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    const float cx = gApp.screenCentreX;
    if (fault) {
        if (font != nullptr) font->Print(cx + kHudOffsetX, kDnqY, kAlignCentre, kHudScale, kBlack, "DNQ");
        return;
    }
    float y = kTimeY;
    if (phase == kDone) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(timer));
    if (font != nullptr) font->Print(cx + kHudOffsetX, y, kAlignRight, kHudScale, kTimeColour, "TIME: ");
    DrawResult(cx + kHudOffsetX, y, kAlignLeft, kHudScale, kTimeColour, eventId,
               static_cast<float>(raceFrames), false);
    if (phase == kDone) return;
    if (font != nullptr) {
        if (!showPrompt) {
            font->Printf(cx, kCallY, kAlignCentre, kHudScale, kBlack, "LAP %d", lengths + 1);
        } else if (gApp.frameCounter % kPromptBlinkPeriod < kPromptBlinkPeriod / 2) {
            font->Print(cx, kCallY, kAlignCentre, kPromptScale, kBlack, lengths == 0 ? "DIVE" : "TORPEDO");
        }
    }
    DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(kGrabBudgetFrames));
}

} // namespace kel
