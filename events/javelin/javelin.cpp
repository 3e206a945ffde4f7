// Sections: constants; building; rules per frame; contacts; world drawing; HUD.
#include "events/javelin/javelin.h"

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

// Ground: eight static 100 x 10 m boxes, top surface y = 0 from x = -20 to 780.
constexpr float kGroundFirstX = -20.0f;
constexpr float kGroundSegmentWidth = 100.0f;
constexpr float kGroundDepth = 10.0f;
constexpr float kGroundFriction = 1.0f;
constexpr float kGroundEndX = kGroundFirstX + JavelinEvent::kGroundSegmentCount * kGroundSegmentWidth;

// Thrower: a 0.5 x 2 m box standing at x = 6.
constexpr float kThrowerX = 6.0f;
constexpr float kThrowerY = -1.0f;
constexpr float kThrowerHalfWidth = 0.25f;
constexpr float kThrowerHalfHeight = 1.0f;
constexpr float kThrowerDensity = 1.0f;
constexpr float kThrowerFriction = 1.0f;
constexpr float kThrowerRestitution = 0.5f;

// Javelin: a light 2.6 m shaft with heavy tip sensors 1.35 m either side of its centre.
constexpr float kJavelinY = -2.1f; // lying across the thrower's top
constexpr float kShaftHalfLength = 1.3f;
constexpr float kShaftHalfThickness = 0.075f;
constexpr float kShaftDensity = 0.1f;
constexpr float kTipOffset = 1.35f;
constexpr float kTipRadius = 0.05f;
constexpr float kTipDensity = 10.0f;
constexpr float kJavelinFriction = 1.0f;
constexpr float kMeasuredTip = 1.3f; // metres from the centre: where the lower tip is measured

constexpr int kGrabBudgetFrames = 10000000; // no practical limit
constexpr float kGrabDamping = 0.5f;
constexpr float kGrabFrequency = 1.0f; // Hz

// Rules.
constexpr float kFoulLineX = 20.0f;       // metres
constexpr float kStepOverClearX = 40.0f;  // stepping over is no foul once the javelin is past it
constexpr float kRunwayBackX = -2.0f;     // thrower and javelin both behind it: a foul
constexpr float kLyingY = -1.0f;          // a javelin asleep below this height lies on the ground
constexpr float kSpinSampleY = -2.5f;     // the spin is sampled above this height
constexpr float kTumblingSpin = 7.0f;     // rad/s: a javelin spinning this fast bounces off
constexpr int kEndFrames = 60;            // frames from the decision to `finished`
// A javelin can come to rest on the upright thrower, where the lying rule never fires, or leave
// the ground's ends and fall for ever: 10 s with no input and a still javelin, or a javelin
// outside the field, ends the attempt as a foul. Only the javelin is watched: a thrower flung off
// the runway's end must not spoil a throw still in the air.
constexpr int kIdleCapFrames = 600;
constexpr float kWorldLeft = kGroundFirstX;
constexpr float kWorldTop = -5000.0f;
constexpr float kWorldRight = kGroundEndX;
constexpr float kWorldBottom = kGroundDepth;

// Camera: the ground line stays 236 px below the screen centre; past 21 m the view zooms out as
// the javelin climbs, down to 2 px per metre.
constexpr float kCameraStartX = 13.0f;
constexpr float kGroundLinePx = 236.0f;
constexpr float kZoom = 48.0f; // px per metre
constexpr float kCameraLagX = 7.0f;
constexpr float kZoomOutStartX = 21.0f;
constexpr float kZoomOutSpanX = 10.0f;
constexpr float kZoomHeightBias = 6.0f;
constexpr float kZoomHeightSpan = 12.0f;

// Sound and spray.
constexpr int kImpaleVolume = 80;
constexpr float kSprayBelowTip = 0.3f; // metres
constexpr Colour kTurfColour = PackColour(19, 194, 48);

// Drawing.
constexpr Colour kSkyColour = PackColour(94, 255, 225);
constexpr Colour kGroundColour = PackColour(36, 158, 81);
constexpr Colour kTickColour = PackColour(28, 122, 63);
constexpr Colour kHundredColour = PackColour(79, 224, 132);
constexpr Colour kGhostColour = PackColour(255, 50, 50, 200);
constexpr float kGroundDrawDepth = 50.0f;
constexpr int kTickStep = 10;   // metres
constexpr int kTickLast = 700;  // metres
constexpr int kLabelBold = 100; // metres: every hundred is labelled again in a brighter green
constexpr float kTickWidth = 0.25f;
constexpr float kTickHeight = 0.5f;
constexpr float kLabelScale = 0.1f;
constexpr float kLabelY = 0.5f;
constexpr float kLabelWidth = 3.0f; // metres: a label this far left of the view may still show
constexpr float kFoulLineMarkStep = 2.0f; // metres: marks at y = -2 .. -10
constexpr int kFoulLineMarks = 5;
constexpr int kGhostBlinkPeriod = 6; // frames, shown in the first half
constexpr int kJavelinSprite = 156;
constexpr int kThrowerSprite = 157;
constexpr int kFoulLineSprite = 159;
constexpr float kThrowerScale = 0.08f;
constexpr float kSpriteScale = 0.1f;

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kResultY = 240.0f;

b2Body* CreateBulletBody(b2World* world, float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    def.bullet = true;
    return world->CreateBody(&def);
}

b2Fixture* AddTip(b2Body* javelin, float localX) {
    b2CircleShape tip;
    tip.m_radius = kTipRadius;
    tip.m_p.Set(localX, 0.0f);
    b2FixtureDef def;
    def.shape = &tip;
    def.density = kTipDensity;
    def.friction = kJavelinFriction;
    def.restitution = 0.0f;
    def.isSensor = true;
    b2Fixture* fixture = javelin->CreateFixture(&def);
    SetFixtureTag(fixture, kTagMarker);
    return fixture;
}

} // namespace

SportEvent* CreateJavelinEvent() {
    return new JavelinEvent();
}

// ---- Building --------------------------------------------------------------------------------

JavelinEvent::JavelinEvent() : SportEvent(kEventJavelin) {
    CreateWorld(kGravity);
    // Contacts are read from the world's list each frame; the tags here are the scene's own
    // markers and make no impact sounds.
    world->SetContactListener(nullptr);

    for (int i = 0; i < kGroundSegmentCount; ++i) {
        const float x = kGroundFirstX + kGroundSegmentWidth * static_cast<float>(i);
        groundSegments[i] = CreateBox(x, 0.0f, kGroundSegmentWidth, kGroundDepth, 0.0f, kGroundFriction, 0.0f);
    }

    thrower = CreateBulletBody(world, kThrowerX, kThrowerY);
    b2PolygonShape trunk;
    trunk.SetAsBox(kThrowerHalfWidth, kThrowerHalfHeight);
    b2FixtureDef trunkDef;
    trunkDef.shape = &trunk;
    trunkDef.density = kThrowerDensity;
    trunkDef.friction = kThrowerFriction;
    trunkDef.restitution = kThrowerRestitution;
    SetFixtureTag(thrower->CreateFixture(&trunkDef), kTagAthlete);

    javelin = CreateBulletBody(world, kThrowerX, kJavelinY);
    b2PolygonShape shaft;
    shaft.SetAsBox(kShaftHalfLength, kShaftHalfThickness);
    b2FixtureDef shaftDef;
    shaftDef.shape = &shaft;
    shaftDef.density = kShaftDensity;
    shaftDef.friction = kJavelinFriction;
    shaftDef.restitution = 0.0f;
    javelin->CreateFixture(&shaftDef);
    AddTip(javelin, -kTipOffset);
    AddTip(javelin, kTipOffset);

    foulLineX = kFoulLineX;
    trackedBody = thrower;
    grabBudget = kGrabBudgetFrames;
    grabDamping = kGrabDamping;
    grabFrequency = kGrabFrequency;
    zoom = kZoom;
    SetCamera(kCameraStartX, -kGroundLinePx / kZoom);
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    WatchBody(javelin);
    EmitterInit(&spray, kPresetJavelinTurf);
}

JavelinEvent::~JavelinEvent() {
    EmitterFree(&spray);
}

bool JavelinEvent::IsTrackedBody(b2Body* body) {
    return body == thrower;
}

// ---- Rules per frame -------------------------------------------------------------------------

void JavelinEvent::Finish() {
    if (!ended && !fouled) {
        StopMusic();
        PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
    }
    ended = true;
    ReleaseGrab();
}

void JavelinEvent::Foul() {
    if (!ended && !fouled) {
        ended = true;
        fouled = true;
        StopMusic();
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
    }
    ReleaseGrab();
}

void JavelinEvent::Update() {
    SportEvent::Update();
    StepWorld();
    EmitterUpdate(&spray);

    if (grabbedBody != nullptr && !musicStarted) {
        PlayMusic("Javelin.mp3", true);
        musicStarted = true;
    }

    if (ended) {
        endFrames += 1;
        if (endFrames == kEndFrames) {
            fault = fouled;
            if (!fouled) result = distance;
            finished = true;
        }
    }

    const b2Vec2 throwerAt = thrower->GetPosition();
    const b2Vec2 javelinAt = javelin->GetPosition();
    // A thrower sliding over the line after a valid stick must not turn the result into a foul.
    if (!fouled && !ended) {
        if (throwerAt.x > foulLineX && javelinAt.x < kStepOverClearX) {
            Foul();
            showFoulGhost = true;
            foulGhostPos = throwerAt;
            foulGhostAngle = thrower->GetAngle();
        } else if (throwerAt.x < kRunwayBackX && javelinAt.x < kRunwayBackX) {
            Foul();
        }
    }

    if (javelinAt.x > foulLineX) {
        ReleaseGrab();
        cameraX = javelinAt.x - kCameraLagX;
        const float t = RemapClamped(javelinAt.x - kZoomOutStartX, 0.0f, kZoomOutSpanX, 0.0f, 1.0f);
        const float z = kZoom / (1.0f - t * (javelinAt.y + kZoomHeightBias) / kZoomHeightSpan);
        // A javelin below the ground (it has left the field) would divide by zero or flip the sign.
        zoom = z > 0.0f ? Clamp(z, kMinZoom, kZoom) : kMinZoom;
    }
    cameraY = -kGroundLinePx / zoom;

    if (!javelin->IsAwake() && javelinAt.y > kLyingY) {
        Foul();
        Finish();
    }
    if (!thrower->IsAwake() && impaleJoint != nullptr) Finish();

    ScanContacts();

    if (javelin->GetPosition().y < kSpinSampleY) airSpin = javelin->GetAngularVelocity();

    if (musicStarted && !ended && CheckStall() != kStallNone) Foul();
}

// ---- Contacts --------------------------------------------------------------------------------

void JavelinEvent::ScanContacts() {
    for (b2Contact* c = world->GetContactList(); c != nullptr; c = c->GetNext()) {
        if (!c->IsTouching()) continue;
        const b2Fixture* fa = c->GetFixtureA();
        const b2Fixture* fb = c->GetFixtureB();
        const bool withThrower = FixtureTag(fa) == kTagAthlete || FixtureTag(fb) == kTagAthlete;
        const bool withTip = FixtureTag(fa) == kTagMarker || FixtureTag(fb) == kTagMarker;
        bool withGround = false;
        for (b2Body* g : groundSegments)
            withGround = withGround || fa->GetBody() == g || fb->GetBody() == g;
        if (withThrower && impaleJoint != nullptr) continue;
        if (withGround && stickJoint != nullptr) continue;
        if (!withTip || (!withThrower && !withGround)) continue;

        b2Body* a = c->GetFixtureA()->GetBody();
        b2Body* b = c->GetFixtureB()->GetBody();
        a->SetAwake(true);
        b->SetAwake(true);
        const b2Vec2 mid = 0.5f * (a->GetPosition() + b->GetPosition());

        const b2Vec2 rear = javelin->GetWorldPoint(b2Vec2(-kMeasuredTip, 0.0f));
        const b2Vec2 front = javelin->GetWorldPoint(b2Vec2(kMeasuredTip, 0.0f));
        const b2Vec2 lower = front.y > rear.y ? front : rear;

        if (withThrower) {
            impaleJoint = CreateRigidWeld(world, a, b, mid, false);
            Foul();
            PlayEffect(kSfxImpale, kImpaleVolume, SoundPan(mid.x), 1.0f, false);
            if (player != nullptr) {
                spray.colour = player->colour;
                spray.emitX = mid.x;
                spray.emitY = mid.y;
                EmitterStart(&spray);
            }
            continue;
        }
        if (std::fabs(airSpin) >= kTumblingSpin) {
            // Still tumbling: it bounces, and the next touch judges the spin it has by then.
            airSpin = javelin->GetAngularVelocity();
            continue;
        }
        stickJoint = CreateRigidWeld(world, a, b, mid, false);
        distance = lower.x - foulLineX;
        if (distance <= 0.0f) Foul();
        Finish();
        PlayEffect(kSfxSpeared, 100, SoundPan(lower.x), 1.0f, false);
        spray.colour = kTurfColour;
        spray.emitX = lower.x;
        spray.emitY = lower.y + kSprayBelowTip;
        EmitterStart(&spray);
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void JavelinEvent::Draw() {
    ClearScreen(kSkyColour);
    FillRect(kGroundFirstX, 0.0f, kGroundEndX - kGroundFirstX, kGroundDrawDepth, kGroundColour);

    // Only the marks inside the view are drawn; the view is the same with all of them.
    const float halfView = gApp.screenWidthF / 2.0f / zoom;
    const float viewLeft = cameraX - halfView - kLabelWidth;
    const float viewRight = cameraX + halfView;
    BitmapFont* font = gApp.font;
    for (int d = kTickStep; d <= kTickLast; d += kTickStep) {
        const float x = foulLineX + static_cast<float>(d);
        if (x < viewLeft || x > viewRight) continue;
        FillRect(x, 0.0f, kTickWidth, kTickHeight, kTickColour);
        if (font != nullptr) font->Printf(x, kLabelY, kAlignLeft, kLabelScale, kTickColour, "%d", d);
    }
    for (int d = kLabelBold; d <= kTickLast && font != nullptr; d += kLabelBold) {
        const float x = foulLineX + static_cast<float>(d);
        if (x < viewLeft || x > viewRight) continue;
        font->Printf(x, kLabelY, kAlignLeft, kLabelScale, kHundredColour, "%d", d);
    }

    for (int i = 0; i < kFoulLineMarks; ++i) {
        const float y = -kFoulLineMarkStep * static_cast<float>(i + 1);
        DrawSpriteRotated(kFoulLineSprite, foulLineX, y, 0.0f, kSpriteScale, kSpriteScale);
    }

    if (showFoulGhost && gApp.frameCounter % kGhostBlinkPeriod < kGhostBlinkPeriod / 2) {
        SetColour(kGhostColour);
        DrawSpriteRotated(kThrowerSprite, foulGhostPos.x, foulGhostPos.y, foulGhostAngle, kThrowerScale,
                          kThrowerScale);
        ResetColour();
    }
    DrawBody(kThrowerSprite, thrower, kThrowerScale);
    DrawSpriteRotated(kJavelinSprite, javelin->GetPosition().x, javelin->GetPosition().y, javelin->GetAngle(),
                      kSpriteScale, kSpriteScale);
    EmitterDraw(spray);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void JavelinEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    if (fouled) {
        font->Print(gApp.screenCentreX, kResultY, kAlignCentre, kHudScale, kBlack, "FAULT");
    } else if (ended) {
        font->Printf(gApp.screenCentreX, kResultY, kAlignCentre, kHudScale, kBlack, "%0.1f METERS",
                     static_cast<double>(distance));
    }
}

} // namespace kel
