// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/shotput/shotput.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f; // metres per second squared

// Ground: top surface y = 0 from x = -15 to 285.
constexpr float kGroundLeft = -15.0f;
constexpr float kGroundWidth = 300.0f;
constexpr float kGroundDepth = 4.0f;
constexpr float kGroundFriction = 0.1f;

// Thrower: a 0.9 x 2.4 m trunk with two arms rising 0.45 m above its top, 0.9 m apart.
constexpr float kThrowerY = -1.2f;
constexpr float kTrunkHalfWidth = 0.45f;
constexpr float kTrunkHalfHeight = 1.2f;
constexpr float kArmHalfWidth = 0.1f;
constexpr float kArmHalfHeight = 0.55f;
constexpr float kArmX = 0.55f; // metres either side of the trunk's centre line
constexpr float kArmY = -1.1f;
constexpr float kThrowerDensity = 0.1f;
constexpr float kThrowerFriction = 0.1f;
constexpr float kThrowerRestitution = 0.1f;

// The shot drops into the cradle between the arms.
constexpr float kBallY = -2.8f;
constexpr float kBallRadius = 0.25f;
constexpr float kBallDensity = 10.0f;
constexpr float kBallFriction = 0.5f;
constexpr float kLyingY = -0.27f;       // a ball centre below this lies on the ground (rests at -0.25)
constexpr float kLyingDamping = 4.0f;   // per second, as tuned for the game's feel

constexpr float kGrabDamping = 0.0f;
constexpr float kGrabFrequency = 0.25f; // Hz

// Rules.
constexpr float kFrontX = 4.6f;       // metres: the front line of the throwing area
constexpr int kLeftArmsFrames = 6;    // frames clear of the thrower: a bounce in the cradle is shorter
constexpr float kRestSpeed = 0.05f;   // metres per second
constexpr int kNoThrowFrames = 1800;  // 30 s from the first grab to put the shot
constexpr int kIdleCapFrames = 600;   // 10 s with no input and a still shot
constexpr float kWorldTop = -200.0f;  // metres
constexpr int kEndFrames = 60;        // frames from the decision to `finished`

constexpr float kCameraMinX = 2.0f;
constexpr float kCameraLagX = 8.0f;
constexpr float kCameraY = -7.0f;

// Drawing.
constexpr int kStadiumSprite = 203;
constexpr int kThrowerSprite = 204;
constexpr int kBallSprite = 205;
constexpr int kAreaSprite = 206;
constexpr int kMarkSprite = 207;
constexpr float kSpriteScale = 0.1f;
constexpr float kStadiumHalfWidth = 12.8f; // metres: the picture is as wide as the view
constexpr float kStadiumTop = -16.7f;
constexpr float kLineTop = -20.0f;
constexpr float kLineWidth = 0.1f;
constexpr float kBackLineX = -4.1f;
constexpr Colour kLineColour = PackColour(255, 255, 255, 40);

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kResultY = 160.0f; // in the sky, clear of the dark stands

b2Fixture* AddBox(b2Body* body, float halfWidth, float halfHeight, const b2Vec2& centre) {
    b2PolygonShape shape;
    shape.SetAsBox(halfWidth, halfHeight, centre, 0.0f);
    b2FixtureDef def;
    def.shape = &shape;
    def.density = kThrowerDensity;
    def.friction = kThrowerFriction;
    def.restitution = kThrowerRestitution;
    return body->CreateFixture(&def);
}

} // namespace

SportEvent* CreateShotPutEvent() {
    return new ShotPutEvent();
}

// ---- Building --------------------------------------------------------------------------------

ShotPutEvent::ShotPutEvent() : SportEvent(kEventShotPut) {
    CreateWorld(kGravity);
    AddGroundBox(kGroundLeft, 0.0f, kGroundWidth, kGroundDepth, kGroundFriction, 0.0f);

    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(0.0f, kThrowerY);
    thrower = world->CreateBody(&def);
    AddBox(thrower, kTrunkHalfWidth, kTrunkHalfHeight, b2Vec2(0.0f, 0.0f));
    AddBox(thrower, kArmHalfWidth, kArmHalfHeight, b2Vec2(-kArmX, kArmY));
    AddBox(thrower, kArmHalfWidth, kArmHalfHeight, b2Vec2(kArmX, kArmY));

    ball = CreateCircle(0.0f, kBallY, kBallRadius, kBallDensity, kBallFriction, 0.0f);

    trackedBody = thrower;
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraMinX, kCameraY);
    frontX = kFrontX;
    SetStallRule(kIdleCapFrames, kGroundLeft, kWorldTop, kGroundLeft + kGroundWidth, kGroundDepth);
    // Only the shot is watched: a thrower that leaves the ground after the put must not spoil it,
    // and one that leaves with the shot in its arms takes the shot along.
    WatchBody(ball);
}

bool ShotPutEvent::IsTrackedBody(b2Body* body) {
    return body == thrower;
}

// ---- Rules per frame -------------------------------------------------------------------------

bool ShotPutEvent::BallTouchesThrower() const {
    for (const b2ContactEdge* e = ball->GetContactList(); e != nullptr; e = e->next) {
        if (e->other == thrower && e->contact->IsTouching()) return true;
    }
    return false;
}

void ShotPutEvent::Decide(bool foul) {
    phase = kEnded;
    stateFrames = 0;
    fault = foul;
    result = foul ? 0.0f : markX - frontX;
    StopMusic();
    PlayEffect(foul ? kSfxShortbuzz : kSfxClapping, 100, 0, 1.0f, false);
    ReleaseGrab();
}

void ShotPutEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;
    stateFrames += 1;

    const b2Vec2 at = ball->GetPosition();
    cameraX = Max(kCameraMinX, at.x - kCameraLagX);
    cameraY = kCameraY;

    const bool lying = at.y > kLyingY;
    if (lying) {
        SetTunedLinearDamping(ball, kLyingDamping);
        SetTunedAngularDamping(ball, kLyingDamping);
    }

    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kHolding;
        stateFrames = 0;
        PlayMusic("ShotPut.mp3", true);
    }
    if (phase == kHolding) {
        freeFrames = BallTouchesThrower() ? 0 : freeFrames + 1;
        // Only a shot that has left the arms is put: one that rolls off the cradle before the
        // attempt starts leaves no mark.
        if (freeFrames >= kLeftArmsFrames || (freeFrames > 0 && lying)) {
            phase = kInAir;
            stateFrames = 0;
        }
    }
    if (phase == kInAir && lying) {
        phase = kOnGround;
        stateFrames = 0;
    }
    if (phase == kInAir || phase == kOnGround) {
        if (lying) markX = at.x;
    }

    if (phase == kHolding || phase == kInAir) {
        if (thrower->GetPosition().x > frontX) {
            Decide(true);
        } else if (phase == kHolding && stateFrames >= kNoThrowFrames) {
            Decide(true);
        }
    }
    if (phase == kOnGround && ball->GetLinearVelocity().Length() < kRestSpeed) Decide(markX <= frontX);
    if (phase == kHolding || phase == kInAir || phase == kOnGround) {
        if (CheckStall() != kStallNone) Decide(true);
    }

    if (phase == kEnded && stateFrames == kEndFrames) finished = true;
}

// ---- World drawing ---------------------------------------------------------------------------

void ShotPutEvent::Draw() {
    DrawSpriteRotated(kStadiumSprite, cameraX - kStadiumHalfWidth, kStadiumTop, 0.0f, kSpriteScale, kSpriteScale);
    DrawSpriteRotated(kAreaSprite, 0.0f, 0.0f, 0.0f, kSpriteScale, kSpriteScale);
    DrawSpriteRotated(kMarkSprite, markX, 0.0f, 0.0f, kSpriteScale, kSpriteScale);
    FillRect(kBackLineX, kLineTop, kLineWidth, -kLineTop, kLineColour);
    FillRect(frontX, kLineTop, kLineWidth, -kLineTop, kLineColour);
    DrawBodyPlain(kThrowerSprite, thrower, kSpriteScale);
    DrawBodyPlain(kBallSprite, ball, kSpriteScale);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void ShotPutEvent::DrawHud() {
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
