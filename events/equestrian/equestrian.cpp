// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/equestrian/equestrian.h"

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

constexpr float kGravity = 10.0f; // metres per second squared
constexpr int kGrabBudgetFrames = 30;
constexpr int kBudgetRefillPerFrame = 2; // frames regained per frame on the ground, button up
constexpr float kGrabDamping = 1.0f;     // damping ratio
constexpr float kGrabFrequency = 1.95f;  // Hz
constexpr float kCameraY = -6.0f;        // metres

// Ground: top y = 0 from x = -20 to 420.
constexpr float kGroundCentreX = 200.0f; // metres
constexpr float kGroundCentreY = 1.0f;
constexpr float kGroundHalfWidth = 220.0f;
constexpr float kGroundHalfHeight = 1.0f;
constexpr float kGroundFriction = 0.4f;

// Rider: a 0.5 x 2 m box dropped onto the horse's back.
constexpr float kRiderX = 5.0f; // metres
constexpr float kRiderY = -4.0f;
constexpr float kRiderHalfWidth = 0.25f;
constexpr float kRiderHalfHeight = 1.0f;
constexpr float kRiderDensity = 0.25f; // kg per square metre
constexpr float kRiderFriction = 1.0f;

// Horse: a heavy body box and a light head and neck turned 27 degrees, with its centre of mass
// moved a metre down and its inertia tripled, so it lands on its feet.
constexpr float kHorseX = 5.0f; // metres
constexpr float kHorseY = -0.713f;
constexpr float kHorseHalfWidth = 1.17f;
constexpr float kHorseHalfHeight = 0.713f;
constexpr float kHorseDensity = 4.0f;
constexpr float kHorseFriction = 0.35f;
constexpr float kHeadHalfWidth = 0.3f;
constexpr float kHeadHalfHeight = 0.75f;
constexpr float kHeadX = 1.17f; // metres, in the horse's frame
constexpr float kHeadY = -0.713f;
constexpr float kHeadAngle = 0.4712389f; // radians
constexpr float kHeadDensity = 0.01f;
constexpr float kKeelDrop = 1.0f;        // metres the centre of mass is lowered
constexpr float kInertiaFactor = 3.0f;

// Ropes from the rider to the horse, local anchors in metres. Both may be as long as the two
// bodies' origins are apart when built, and the joined bodies collide.
const b2Vec2 kReinRider = {0.65f, -0.3f};
const b2Vec2 kReinHorse = {1.25f, -0.9f};
const b2Vec2 kSeatRider = {-0.25f, 0.5f};
const b2Vec2 kSeatHorse = {-1.0f, -0.5f};

// Fences at x = 17, 34, ... 136; fence 0 is lower and wider. Double fences get a second stack
// 1.5 m behind.
constexpr float kFenceSpacing = 17.0f; // metres
constexpr float kFirstHalfWidth = 0.25f;
constexpr float kFirstHalfHeight = 0.2f;
constexpr float kBlockHalfWidth = 0.2f;
constexpr float kBlockHalfHeight = 0.3f;
constexpr float kBlockDensity = 0.25f;
constexpr float kBlockFriction = 0.8f;
constexpr int kDoubleFences[kBackStackCount] = {2, 5};
constexpr float kBackStackGap = 1.5f; // metres
constexpr float kDropTolerance = 0.01f; // metres a block may settle before it counts as down
constexpr int kPenaltySecondsPerBlock = 6;

constexpr float kFinishBeyondLastFence = 25.0f; // metres
constexpr float kFallenY = 6.0f;                // metres: the horse is off the ground
constexpr float kHighInJumpY = -2.0f;           // metres: the horse's origin above it is airborne
constexpr int kStallFrames = 600;

// A horse left standing with the button up would reset the stall count for ever; ten seconds
// with no input and no motion end the ride.
constexpr int kIdleCapFrames = 600;
constexpr float kWorldLeft = -40.0f; // metres; the fall rule at y > 6 usually comes first
constexpr float kWorldTop = -200.0f;
constexpr float kWorldRight = 440.0f;
constexpr float kWorldBottom = 10.0f;

// Penalties after the finish.
constexpr int kSkipAfterFrames = 30;
constexpr int kCountFromFrame = 72;
constexpr int kFramesPerSecond = 60;
constexpr int kBlipPeriod = 4;
constexpr int kBlipVolume = 30;
constexpr int kFinishAfterFrames = 59;

// Drawing.
constexpr Colour kSkyColour = 0xFF0ECBF7u;
constexpr Colour kGroundColour = 0xFF0D242Eu;
constexpr float kGroundDrawLeft = -20.0f; // metres
constexpr float kGroundDrawWidth = 520.0f;
constexpr float kGroundDrawHeight = 6.0f;
constexpr int kHorseSprite = 160;
constexpr int kRiderSprite = 162;
constexpr int kFinishSprite = 163;
constexpr int kTurfSprite = 164;
constexpr int kReinSprite = 165;
constexpr float kReinSpriteWidth = 106.0f; // px
constexpr float kTurfStep = 4.1f;          // metres
constexpr float kTurfEnd = 200.0f;
constexpr float kSpriteScale = 0.1f;
constexpr float kRiderScale = 0.08f;
constexpr Colour kBlockColours[kBlocksPerStack] = {0xFF0F1F46u, 0xFF0E4B89u, 0xFF0F191Eu}; // bottom first

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kDnqY = 300.0f;
constexpr float kTimeY = 90.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 3.0f;
constexpr float kTimeLeftOfCentre = 64.0f;
constexpr float kPenaltyRightOfCentre = 170.0f;
constexpr Colour kPenaltyColour = 0xFF1919FFu;

float FenceX(int i) {
    return kFenceSpacing * static_cast<float>(i + 1);
}

} // namespace

SportEvent* CreateEquestrianEvent() {
    return new EquestrianEvent();
}

// ---- Building --------------------------------------------------------------------------------

EquestrianEvent::EquestrianEvent() : SportEvent(kEventEquestrian) {
    SetCamera(kHorseX, kCameraY);
    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    musicStarted = false;
    CreateWorld(kGravity);

    b2PolygonShape groundShape;
    groundShape.SetAsBox(kGroundHalfWidth, kGroundHalfHeight, b2Vec2(kGroundCentreX, kGroundCentreY), 0.0f);
    b2FixtureDef groundDef;
    groundDef.shape = &groundShape;
    groundDef.friction = kGroundFriction;
    groundBody->CreateFixture(&groundDef);

    rider = CreateBox(kRiderX - kRiderHalfWidth, kRiderY - kRiderHalfHeight, 2.0f * kRiderHalfWidth,
                      2.0f * kRiderHalfHeight, kRiderDensity, kRiderFriction, 0.0f);
    rider->SetBullet(true);
    SetBodyTag(rider, kTagAthlete);

    b2BodyDef horseDef;
    horseDef.type = b2_dynamicBody;
    horseDef.position.Set(kHorseX, kHorseY);
    horseDef.bullet = true;
    horse = world->CreateBody(&horseDef);
    b2PolygonShape trunk;
    trunk.SetAsBox(kHorseHalfWidth, kHorseHalfHeight);
    b2FixtureDef trunkDef;
    trunkDef.shape = &trunk;
    trunkDef.density = kHorseDensity;
    trunkDef.friction = kHorseFriction;
    horse->CreateFixture(&trunkDef);
    b2PolygonShape head;
    head.SetAsBox(kHeadHalfWidth, kHeadHalfHeight, b2Vec2(kHeadX, kHeadY), kHeadAngle);
    b2FixtureDef headDef;
    headDef.shape = &head;
    headDef.density = kHeadDensity;
    headDef.friction = kHorseFriction;
    horse->CreateFixture(&headDef);
    b2MassData mass;
    horse->GetMassData(&mass); // inertia about the body origin
    mass.center.y += kKeelDrop;
    mass.I *= kInertiaFactor;
    horse->SetMassData(&mass);
    SetBodyTag(horse, kTagMarker);
    trackedBody = horse;

    const float ropeLength = (rider->GetPosition() - horse->GetPosition()).Length(); // 3.287 m
    rein = CreateRope(rider, horse, kReinRider.x, kReinRider.y, kReinHorse.x, kReinHorse.y, ropeLength, true);
    CreateRope(rider, horse, kSeatRider.x, kSeatRider.y, kSeatHorse.x, kSeatHorse.y, ropeLength, true);

    phase = kWaiting;
    timer = 0;
    raceFrames = 0;
    knockdowns = 0;
    penalty = 0;
    stallFrames = 0;

    auto block = [this](float x, float y, float halfWidth, float halfHeight) {
        b2Body* body = CreateBox(x - halfWidth, y - halfHeight, 2.0f * halfWidth, 2.0f * halfHeight, kBlockDensity,
                                 kBlockFriction, 0.0f);
        // Every stack is wood, the back stacks too: they knock like the fences they belong to.
        SetBodyTag(body, kTagWood);
        return body;
    };
    for (int i = 0; i < kFenceCount; ++i) {
        const float halfWidth = i == 0 ? kFirstHalfWidth : kBlockHalfWidth;
        const float halfHeight = i == 0 ? kFirstHalfHeight : kBlockHalfHeight;
        for (int k = 0; k < kBlocksPerStack; ++k) {
            const float y = -halfHeight * static_cast<float>(2 * k + 1);
            fenceBlocks[i][k] = block(FenceX(i), y, halfWidth, halfHeight);
            fenceSlots[i][k] = fenceBlocks[i][k]->GetPosition();
        }
    }
    for (int j = 0; j < kBackStackCount; ++j) {
        const float x = FenceX(kDoubleFences[j]) + kBackStackGap;
        for (int k = 0; k < kBlocksPerStack; ++k)
            backStacks[j][k] = block(x, -kBlockHalfHeight * static_cast<float>(2 * k + 1), kBlockHalfWidth,
                                     kBlockHalfHeight);
    }

    SetBodyTag(groundBody, kTagWoodFloor);
    cameraX = horse->GetPosition().x;
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    WatchBody(horse);
}

// ---- Rules per frame -------------------------------------------------------------------------

int EquestrianEvent::CountKnockdowns() const {
    int count = 0;
    for (int i = 0; i < kFenceCount; ++i) {
        for (int k = 0; k < kBlocksPerStack; ++k)
            count += fenceBlocks[i][k]->GetPosition().y > fenceSlots[i][k].y + kDropTolerance;
    }
    return count;
}

void EquestrianEvent::EndRide(bool faulted, int sound) {
    if (faulted) fault = true;
    phase = kPenalties;
    timer = 0;
    StopMusic();
    PlayEffect(sound, 100, 0, 1.0f, false);
}

void EquestrianEvent::Update() {
    SportEvent::Update();
    timer += 1;
    StepWorld();
    cameraX = horse->GetPosition().x;

    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kRiding;
        if (!musicStarted) {
            PlayMusic("Equestrian.mp3", true);
            musicStarted = true;
        }
    }

    if (phase == kRiding) {
        raceFrames += 1;
        const int count = CountKnockdowns();
        if (count > knockdowns) {
            knockdowns = count;
            penalty = kPenaltySecondsPerBlock * count;
            PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
        }
        const b2Vec2 p = horse->GetPosition();
        const bool held = gApp.mouseHeld != 0;
        if (p.y > kFallenY) {
            EndRide(true, kSfxShortbuzz);
        } else if (p.x > FenceX(kFenceCount - 1) + kFinishBeyondLastFence) {
            ReleaseGrab();
            result = static_cast<float>(raceFrames);
            EndRide(false, kSfxClapping);
        } else if (p.y <= kHighInJumpY || held) {
            stallFrames += 1;
            if (stallFrames >= kStallFrames) EndRide(true, kSfxShortbuzz);
        } else {
            grabBudget = Min(kGrabBudgetFrames, grabBudget + kBudgetRefillPerFrame);
            stallFrames = 0;
        }
        // Standing still with the button up ends the ride too; so does a horse lost off the world.
        if (phase == kRiding && CheckStall() != kStallNone) {
            ReleaseGrab();
            EndRide(true, kSfxShortbuzz);
        }
        if (phase == kRiding && gApp.mousePressed && grabBudget > 0) PlayEffect(kSfxHorse2, 100, 0, 1.0f, false);
    } else if (phase == kPenalties) {
        if (gApp.mousePressed && timer > kSkipAfterFrames) {
            result += static_cast<float>(kFramesPerSecond * penalty);
            penalty = 0;
            timer = Max(timer, kCountFromFrame);
        }
        if (timer >= kCountFromFrame && timer % 2 == 0 && penalty > 0) {
            penalty -= 1;
            result += static_cast<float>(kFramesPerSecond);
            if (timer % kBlipPeriod == 0) PlayEffect(kSfxBlip, kBlipVolume, 0, 1.0f, false);
        }
        if (timer > kFinishAfterFrames && penalty == 0) finished = true;
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void EquestrianEvent::Draw() {
    ClearScreen(kSkyColour);
    FillRect(kGroundDrawLeft, 0.0f, kGroundDrawWidth, kGroundDrawHeight, kGroundColour);
    for (int i = 0;; ++i) {
        const float x = kTurfStep * static_cast<float>(i);
        if (!(x < kTurfEnd)) break;
        DrawSpriteRotated(kTurfSprite, x, 0.0f, 0.0f, kSpriteScale, kSpriteScale);
    }
    DrawSpriteRotated(kFinishSprite, FenceX(kFenceCount - 1) + kFinishBeyondLastFence, 0.0f, 0.0f, kSpriteScale,
                      kSpriteScale);

    const b2Vec2 hp = horse->GetPosition();
    DrawSpriteRotated(kHorseSprite, hp.x, hp.y, horse->GetAngle(), kSpriteScale, kSpriteScale);
    DrawBody(kRiderSprite, rider, kRiderScale);

    const b2Vec2 a = rein->GetAnchorA();
    const b2Vec2 d = rein->GetAnchorB() - a;
    const float length = d.Length();
    DrawSpriteRotated(kReinSprite, a.x, a.y, std::atan2(d.y, d.x), length / kReinSpriteWidth,
                      0.1f * RemapClamped(length, 1.0f, 5.0f, 1.0f, 0.25f));

    for (int k = 0; k < kBlocksPerStack; ++k) {
        for (int i = 0; i < kFenceCount; ++i)
            DrawFixtures(fenceBlocks[i][k]->GetFixtureList(), kBlockColours[k]);
        for (int j = 0; j < kBackStackCount; ++j)
            DrawFixtures(backStacks[j][k]->GetFixtureList(), kBlockColours[k]);
    }
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void EquestrianEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    const float cx = gApp.screenCentreX;
    if (fault) {
        if (font != nullptr) font->Print(cx, kDnqY, kAlignCentre, kHudScale, kBlack, "DNQ");
    } else {
        float y = kTimeY;
        if (phase == kPenalties) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(timer));
        const float shown = phase == kPenalties ? result : static_cast<float>(raceFrames);
        const float x = cx - kTimeLeftOfCentre;
        if (font != nullptr) font->Print(x, y, kAlignRight, kHudScale, kWhite, "TIME: ");
        DrawResult(x, y, kAlignLeft, kHudScale, kWhite, eventId, shown, false);
        if (penalty > 0 && font != nullptr)
            font->Printf(cx + kPenaltyRightOfCentre, y, kAlignLeft, kHudScale, kPenaltyColour, "+%d", penalty);
    }
    if (phase != kPenalties)
        DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(kGrabBudgetFrames));
}

} // namespace kel
