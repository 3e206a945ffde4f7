// Sections: constants; building; rules per frame (routine: holds, turns, time; dismount;
// score); world drawing; HUD.
#include "events/rings/rings.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f; // metres per second squared

// Hall: boxes by top-left corner and size, metres.
constexpr float kFloorFriction = 0.5f;
constexpr float kFloorRestitution = 0.5f;
constexpr float kMatFriction = 1.0f;

// Gymnast as built hanging, metres (top-left corners), kg per square metre.
struct Part {
    float x, y, width, height, density, friction;
};
constexpr Part kTorso = {-0.35f, -5.0f, 0.7f, 2.5f, 1.0f, 0.9f};
constexpr Part kRightArm = {0.3f, -4.5f, 1.6f, 0.2f, 1.0f, 0.5f};
constexpr Part kLeftArm = {-1.9f, -4.5f, 1.6f, 0.2f, 1.0f, 0.5f};
constexpr Part kRightRing = {1.7f, -4.7f, 0.6f, 0.6f, 4.0f, 0.5f};
constexpr Part kLeftRing = {-2.3f, -4.7f, 0.6f, 0.6f, 4.0f, 0.5f};
constexpr float kShoulderX = 0.3f; // metres either side of the torso's middle
constexpr float kShoulderY = -4.4f;

// Straps from the ceiling's underside to the ring blocks.
constexpr float kStrapAnchorX = 0.8f; // metres either side of the middle
constexpr float kStrapAnchorY = -14.0f;
constexpr float kStrapRingX = 0.2f; // on the ring block, towards the outside
constexpr float kStrapLength = 8.2f;

// Tuned for the game's feel (per second): calm before the start, free during the routine.
constexpr float kCalmDamping = 4.0f;
constexpr float kRoutineDamping = 0.1f;

constexpr uint16_t kGroundCategory = 0x0001;
constexpr uint16_t kTorsoCategory = 0x0002;
constexpr uint16_t kTorsoMask = 0x00FF;
constexpr uint16_t kRingCategory = 0x0004;
constexpr uint16_t kArmCategory = 0x0008;

constexpr float kGrabDamping = 0.25f;  // damping ratio
constexpr float kGrabFrequency = 0.5f; // Hz
constexpr float kCameraX = 0.0f;
constexpr float kCameraY = -7.0f;
constexpr float kZoom = 44.0f; // px per metre

// Holds: the torso is still below these speeds (rad/s, and (m/s)^2) for kHoldFrames frames.
constexpr float kStillSpin = 0.5f;
constexpr float kStillSpeedSquared = 1.0f;
constexpr int kHoldFrames = 90;
constexpr float kLevel = 0.34906587f;    // 20 degrees
constexpr float kUpsideDown = 2.792527f; // 160 degrees
constexpr float kSideLow = 1.2217305f;   // 70 degrees
constexpr float kSideHigh = 1.9198623f;  // 110 degrees
constexpr int kHoldMoodFrames = 120;

// Turns: the torso's angle visits the four quadrants round 0, pi, pi/2 and -pi/2.
constexpr float kQuarter = 0.7853982f;       // 45 degrees
constexpr float kThreeQuarters = 2.3561945f; // 135 degrees
constexpr int kQuadrantUp = 1;
constexpr int kQuadrantDown = 2;
constexpr int kQuadrantRight = 4;
constexpr int kQuadrantLeft = 8;
constexpr int kAllQuadrants = 15;
constexpr int kTurnMoodMinFrames = 10;
constexpr int kTurnMoodFramesPerTurn = 10; // fewer for each turn after the first few
constexpr int kClappedTurns = 10;

// Dismount and score.
constexpr float kDismountLimit = kPi / 2.0f; // shoulder limits once the hands let go
constexpr float kVictoryArm = kPi / 4.0f;
constexpr float kLandingArmDamping = 4.0f;
constexpr float kUpright = 1.0471976f; // 60 degrees
constexpr int kDismountFrames = 300;   // the landing is judged by then even if the body never sleeps
constexpr int kResultMoodFrames = 120;
constexpr float kCountFramesPerPoint = 24.0f;
constexpr int kBlipEvery = 4;
constexpr int kHandOverFrames = 30;
constexpr float kMaxScore = 10.0f;

// Drawing, world metres.
constexpr int kHallSprite = 183;
constexpr int kTorsoSprite = 184;
constexpr int kArmSprite = 185;
constexpr int kStrapSprite = 186;
constexpr int kRingSprite = 187;
constexpr int kJudgesSprite = 188;
constexpr int kJudgesCheerSprite = 189; // and 190, alternating
constexpr int kJudgesCheer2Sprite = 190;
constexpr int kJudgesFrownSprite = 191;
constexpr float kHallX = -12.8f;
constexpr float kHallY = -16.4f;
constexpr float kJudgesX = 11.8f; // mirrored either side
constexpr float kJudgesY = -5.6f;
constexpr float kScale = 0.1f;
constexpr int kCheerPeriod = 8; // frames; the second picture in the second half

// HUD, screen px.
constexpr float kScoreBoxHalfWidth = 64.0f;
constexpr float kScoreBoxRaise = 10.0f;
constexpr float kScoreBoxWidth = 128.0f;
constexpr float kScoreBoxHeight = 52.0f;
constexpr Colour kScoreBoxColour = 0x32000000u; // translucent black
constexpr float kHudScale = 4.0f;

// An angle in -pi..pi.
float Wrapped(float angle) {
    return std::remainder(angle, 2.0f * kPi);
}

bool Within(float a, float limit) {
    return a > -limit && a < limit;
}

b2Body* Build(SportEvent* scene, const Part& p, float lift) {
    return scene->CreateBox(p.x, p.y - lift, p.width, p.height, p.density, p.friction, 0.0f);
}

} // namespace

SportEvent* CreateRingsEvent() {
    return new RingsEvent();
}

float RingsScore(int turns, bool handstand, bool cross, bool side, bool landed) {
    float score = 0.8f * static_cast<float>(ClampInt(turns - 1, 0, 5)) +
                  0.2f * static_cast<float>(ClampInt(turns - 6, 0, 4));
    if (handstand) score += 2.0f;
    if (cross) score += 1.5f;
    if (side) score += 2.0f;
    score = Min(kMaxScore, score);
    return landed ? score : score / 2.0f;
}

// ---- Building --------------------------------------------------------------------------------

RingsEvent::RingsEvent() : SportEvent(kEventRings) {
    timer = 0;
    CreateWorld(kGravity);
    AddGroundBox(-15.0f, 0.0f, 30.0f, 4.0f, kFloorFriction, kFloorRestitution); // floor, top y = 0
    AddGroundBox(-4.0f, -0.5f, 8.0f, 0.5f, kMatFriction, 0.0f);                 // mat, top y = -0.5
    AddGroundBox(-15.0f, -18.0f, 30.0f, 4.0f, kFloorFriction, 0.0f);            // ceiling, underside y = -14

    // The gymnast is built where the straps are just taut, 1.52 m higher than drawn up: there the
    // straps' ends are 9.70 m from their anchors against straps of 8.2 m, and Box2D 2.4 snaps the
    // rings more than a metre up in the first step.
    const float strapEndX = kRightRing.x + kRightRing.width / 2.0f + kStrapRingX;
    const float strapEndY = kRightRing.y + kRightRing.height / 2.0f;
    const float dx = strapEndX - kStrapAnchorX;
    const float lift = (strapEndY - kStrapAnchorY) - std::sqrt(kStrapLength * kStrapLength - dx * dx);

    torso = Build(this, kTorso, lift);
    rightArm = Build(this, kRightArm, lift);
    leftArm = Build(this, kLeftArm, lift);
    rightRing = Build(this, kRightRing, lift);
    leftRing = Build(this, kLeftRing, lift);
    rightShoulder = CreateRevolute(torso, rightArm, kShoulderX, kShoulderY - lift, 0.0f, 0.0f, false);
    leftShoulder = CreateRevolute(torso, leftArm, -kShoulderX, kShoulderY - lift, 0.0f, 0.0f, false);
    rightStrap =
        CreateRope(groundBody, rightRing, kStrapAnchorX, kStrapAnchorY, kStrapRingX, 0.0f, kStrapLength);
    leftStrap =
        CreateRope(groundBody, leftRing, -kStrapAnchorX, kStrapAnchorY, -kStrapRingX, 0.0f, kStrapLength);
    rightGrip = CreateWeld(rightArm, rightRing);
    leftGrip = CreateWeld(leftArm, leftRing);

    for (b2Body* body : {torso, leftArm, rightArm}) {
        SetTunedLinearDamping(body, kCalmDamping);
        SetTunedAngularDamping(body, kCalmDamping);
    }
    // Only the ground pieces touch anything: the gymnast's parts pass through each other.
    SetBodyFilter(torso, kTorsoCategory, kTorsoMask);
    SetBodyFilter(leftRing, kRingCategory, kGroundCategory);
    SetBodyFilter(rightRing, kRingCategory, kGroundCategory);
    SetBodyFilter(leftArm, kArmCategory, kGroundCategory);
    SetBodyFilter(rightArm, kArmCategory, kGroundCategory);
    SetBodyTag(torso, kTagAthlete);
    SetBodyTag(groundBody, kTagMat);

    trackedBody = torso;
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraY);
    zoom = kZoom;
}

// ---- Rules per frame -------------------------------------------------------------------------

void RingsEvent::Update() {
    SportEvent::Update();
    StepWorld();
    moodFrames -= 1;
    timer += 1;

    switch (phase) {
    case kHanging:
        if (gApp.mousePressed) {
            phase = kRoutine;
            timer = 0;
            for (b2Body* body : {torso, leftArm, rightArm}) {
                SetTunedLinearDamping(body, kRoutineDamping);
                SetTunedAngularDamping(body, kRoutineDamping);
            }
            PlayMusic("Rings.mp3", true);
        }
        break;
    case kRoutine:
        UpdateRoutine();
        break;
    case kDismount:
        if (!torso->IsAwake() || timer == kDismountFrames) JudgeLanding();
        break;
    case kScored:
        if (static_cast<float>(timer) / kCountFramesPerPoint < result && timer % kBlipEvery == 0)
            PlayEffect(kSfxBlip, 30, 0, 1.0f, false);
        if (timer == kHandOverFrames) finished = true;
        break;
    default:
        break;
    }
}

void RingsEvent::UpdateRoutine() {
    const float a0 = Wrapped(torso->GetAngle());
    const float a1 = Wrapped(leftArm->GetAngle());
    const float a2 = Wrapped(rightArm->GetAngle());

    const bool moving = std::fabs(torso->GetAngularVelocity()) >= kStillSpin ||
                        torso->GetLinearVelocity().LengthSquared() >= kStillSpeedSquared;
    if (moving) {
        stillFrames = 0;
    } else if (++stillFrames == kHoldFrames) {
        stillFrames = 0;
        LogDebug("still: %.2f, %.2f, %.2f", static_cast<double>(a0), static_cast<double>(a1),
                 static_cast<double>(a2));
        JudgeStillPose(a0, a1, a2);
    }

    CountTurns(a0);

    if (timer >= routineFrames) {
        LogDebug("time: %d", static_cast<int>(timer));
        LetGo();
    }
}

void RingsEvent::JudgeStillPose(float a0, float a1, float a2) {
    if (Within(a0, kLevel) && Within(a1, kLevel) && Within(a2, kLevel)) {
        if (!heldCross) LogDebug("up");
        ScoreHold(&heldCross);
    } else if (!Within(a0, kUpsideDown) && !Within(a1, kUpsideDown) && !Within(a2, kUpsideDown)) {
        if (!heldHandstand) LogDebug("down");
        ScoreHold(&heldHandstand);
    } else if (!Within(a0, kUpsideDown) && Within(a1, kLevel) && Within(a2, kLevel)) {
        if (!heldHandstand) LogDebug("downx");
        ScoreHold(&heldHandstand);
    } else if ((a0 > kSideLow && a0 < kSideHigh) || (a0 > -kSideHigh && a0 < -kSideLow)) {
        if (!heldSide) LogDebug("side");
        ScoreHold(&heldSide);
    }
}

void RingsEvent::ScoreHold(bool* held) {
    if (*held) return;
    *held = true;
    judgeMood = kMoodApplause;
    moodFrames = kHoldMoodFrames;
    PlayEffect(kSfxHnnng1, 100, 0, 1.0f, false);
    PlayEffect(kSfxClapping, 50, 0, 1.0f, false);
}

void RingsEvent::CountTurns(float a0) {
    if (Within(a0, kQuarter)) turnQuadrants |= kQuadrantUp;
    if (a0 > kThreeQuarters || a0 < -kThreeQuarters) turnQuadrants |= kQuadrantDown;
    if (a0 > kQuarter && a0 < kThreeQuarters) turnQuadrants |= kQuadrantRight;
    if (a0 > -kThreeQuarters && a0 < -kQuarter) turnQuadrants |= kQuadrantLeft;
    if (turnQuadrants != kAllQuadrants) return;
    judgeMood = kMoodApplause;
    moodFrames = Max(kTurnMoodMinFrames, (6 - turns) * kTurnMoodFramesPerTurn);
    turns += 1;
    turnQuadrants = 0;
    PlayEffect(kSfxHup2, 100, 0, 1.0f, false);
    if (turns < kClappedTurns) PlayEffect(kSfxClapping, 50, 0, 1.0f, false);
    LogDebug("spin");
}

// The hands let go of the rings: grips gone, shoulders limited, angles unwound.
void RingsEvent::LetGo() {
    ReleaseGrab();
    world->DestroyJoint(leftGrip);
    world->DestroyJoint(rightGrip);
    leftGrip = nullptr;
    rightGrip = nullptr;
    phase = kDismount;
    timer = 0;
    // Turns wind the bodies' angles up. Each arm keeps its angle relative to the torso, so the
    // shoulder limits below meet the joint where it is; wrapping each body on its own could put
    // the torso and an arm either side of +-pi and whirl the arm round.
    const float torsoAngle = torso->GetAngle();
    const float a0 = Wrapped(torsoAngle);
    torso->SetTransform(torso->GetPosition(), a0);
    for (b2Body* arm : {leftArm, rightArm})
        arm->SetTransform(arm->GetPosition(), a0 + Wrapped(arm->GetAngle() - torsoAngle));
    for (b2RevoluteJoint* shoulder : {leftShoulder, rightShoulder}) {
        shoulder->SetLimits(-kDismountLimit, kDismountLimit);
        shoulder->EnableLimit(true);
    }
    SetTunedAngularDamping(leftArm, kLandingArmDamping);
    SetTunedAngularDamping(rightArm, kLandingArmDamping);
    StopMusic();
}

void RingsEvent::JudgeLanding() {
    if (Within(Wrapped(torso->GetAngle()), kUpright)) {
        LogDebug("landed");
        landed = true;
        judgeMood = kMoodApplause;
        PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
        rightShoulder->SetLimits(-kVictoryArm, -kVictoryArm);
        leftShoulder->SetLimits(kVictoryArm, kVictoryArm);
    } else {
        judgeMood = kMoodDisappointed;
        PlayEffect(kSfxAww, 100, 0, 1.0f, false);
    }
    LogDebug("spins: %d", static_cast<int>(turns));
    moodFrames = kResultMoodFrames;
    phase = kScored;
    timer = 0;
    result = RingsScore(turns, heldHandstand, heldCross, heldSide, landed);
}

// ---- World drawing ---------------------------------------------------------------------------

void RingsEvent::Draw() {
    DrawSpriteRotated(kHallSprite, kHallX, kHallY, 0.0f, kScale, kScale);

    int judges = kJudgesSprite;
    if (judgeMood == kMoodApplause && moodFrames > 0)
        judges = moodFrames % kCheerPeriod >= kCheerPeriod / 2 ? kJudgesCheer2Sprite : kJudgesCheerSprite;
    DrawSpriteRotated(judges, -kJudgesX, kJudgesY, 0.0f, kScale, kScale);
    DrawSpriteRotated(judges, kJudgesX, kJudgesY, 0.0f, -kScale, kScale);
    if (judgeMood == kMoodDisappointed && moodFrames >= 1) {
        DrawSpriteRotated(kJudgesFrownSprite, -kJudgesX, kJudgesY, 0.0f, kScale, kScale);
        DrawSpriteRotated(kJudgesFrownSprite, kJudgesX, kJudgesY, 0.0f, -kScale, kScale);
    }

    for (const auto& [strap, ring] : {std::pair{rightStrap, rightRing}, std::pair{leftStrap, leftRing}}) {
        const b2Vec2 a = strap->GetAnchorA();
        const b2Vec2 b = strap->GetAnchorB();
        DrawSpan(kStrapSprite, a.x, a.y, b.x, b.y);
        DrawBodyPlain(kRingSprite, ring, kScale);
    }

    if (player != nullptr) {
        SetColour(player->colour);
        DrawBodyPlain(kArmSprite, leftArm, -kScale);
        DrawBodyPlain(kArmSprite, rightArm, kScale);
        DrawBodyPlain(kTorsoSprite, torso, kScale);
        ResetColour();
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void RingsEvent::DrawHud() {
    const float frames = static_cast<float>(routineFrames);
    if (phase == kHanging) DrawProgressBar(frames, frames);
    if (phase == kRoutine) DrawProgressBar(frames - static_cast<float>(timer), frames);
    if (phase != kScored) return;
    const float cx = gApp.screenCentreX;
    const float cy = gApp.screenHeightF / 2.0f;
    FillRect(cx - kScoreBoxHalfWidth, cy - kScoreBoxRaise, kScoreBoxWidth, kScoreBoxHeight, kScoreBoxColour);
    const float shown = Min(static_cast<float>(timer) / kCountFramesPerPoint, result);
    if (gApp.font != nullptr)
        gApp.font->Printf(cx, cy, kAlignCentre, kHudScale, kWhite, "%0.1f", static_cast<double>(shown));
}

} // namespace kel
