// Sections: scene host; life; per frame; grab; impact sounds; frame drawing; buttons; body
// drawing; builders.
#include "sim/sport_event.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/scene_host.h"

#include <cmath>

namespace kel {

// ---- Scene host ------------------------------------------------------------------------------

namespace {

SceneHost* gSceneHost = nullptr;

constexpr int kKeyQ = 'q'; // SDL 1.2 key symbols of the zoom keys
constexpr int kKeyW = 'w';
constexpr int kVelocityIterations = 8;
constexpr int kPositionIterations = 3;
// Box2D's memory reserved with every new world, enough for the long jump's landing in the sand,
// the largest crowd of new contacts in the game: blocks the size of its block allocator's chunks,
// and a few for the solver's scratch beyond its own stack.
constexpr int kReservedChunks = 32;
constexpr int kChunkBytes = 16 * 1024;
constexpr int kReservedScratch = 2;
constexpr int kScratchBytes = 128 * 1024;
constexpr float kTinyLength = 1.1920929e-7f; // metres: shorter spans draw with length 0
constexpr int kGrabLineSprite = 1;
constexpr int kGrabDotSprite = 2;
constexpr int kProgressBarSprite = 13;
constexpr int kProgressSlot = 1;
// The bar's fill: 400 x 32 px at (512, 96) of the 1024 x 128 sprite sheet.
constexpr float kSpriteSheetWidth = 1024.0f;
constexpr float kFillU = 0.5f;
constexpr float kFillTopV = 0.75f;
constexpr float kFillBottomV = 1.0f;
constexpr float kProgressWidth = 400.0f; // px
constexpr int kHudHiddenFrames = 20;     // after the first click in a competition
constexpr Colour kHoverColour = PackColour(210, 210, 210, 255);

bool PanelOrPause() {
    return gSceneHost != nullptr && (gSceneHost->Paused() || gSceneHost->PanelOpen());
}

} // namespace

void SetSceneHost(SceneHost* host) {
    gSceneHost = host;
}
SceneHost* CurrentSceneHost() {
    return gSceneHost;
}

// ---- Life ------------------------------------------------------------------------------------

SportEvent::SportEvent(int id) : eventId(id) {}

SportEvent::~SportEvent() {
    // The world frees every body, fixture and joint, the grab joint included.
    delete world;
    world = nullptr;
    mouseJoint = nullptr;
}

void SportEvent::CreateWorld(float gravityY) {
    delete world;
    ReservePhysicsMemory(kReservedChunks, kChunkBytes);
    ReservePhysicsMemory(kReservedScratch, kScratchBytes);
    world = new b2World(b2Vec2(0.0f, gravityY));
    world->SetAllowSleeping(true);
    world->SetContactListener(this);
    b2BodyDef def;
    groundBody = world->CreateBody(&def);
    mouseJoint = nullptr;
    grabbedBody = nullptr;
    hintBody = nullptr;
}

void SportEvent::StepWorld() {
    if (world != nullptr) world->Step(kStepSeconds, kVelocityIterations, kPositionIterations);
}

void SportEvent::SetGrabParams(float damping, float frequency, int budgetFrames) {
    grabDamping = damping;
    grabFrequency = frequency;
    grabBudget = budgetFrames == 0 ? kUnlimitedGrabFrames : budgetFrames;
}

void SportEvent::SetCamera(float x, float y) {
    cameraX = x;
    cameraY = y;
}

// ---- Per frame -------------------------------------------------------------------------------

void SportEvent::Update() {
    UpdateCursor();
    UpdateGrab();
    if (startFrames >= 1 || gApp.mousePressed) startFrames += 1;
}

bool SportEvent::IsTrackedBody(b2Body* body) {
    return trackedBody == nullptr || body == trackedBody;
}

void SportEvent::UpdateCursor() {
    // Zooming out stops at kMinZoom so the cursor never divides by zero or flips.
    if (gApp.keyPressed[kKeyQ]) zoom = Max(zoom - kZoomStep, kMinZoom);
    if (gApp.keyPressed[kKeyW]) zoom += kZoomStep;
    cursorX = (static_cast<float>(gApp.mouseX) - gApp.screenWidthF / 2.0f) / zoom + cameraX;
    cursorY = (static_cast<float>(gApp.mouseY) - gApp.screenHeightF / 2.0f) / zoom + cameraY;
}

// ---- Grab ------------------------------------------------------------------------------------

namespace {

// Finds the first dynamic body the scene lets the mouse take whose fixture's box meets the query.
class GrabQuery : public b2QueryCallback {
  public:
    GrabQuery(float x, float y, SportEvent* owner) : pointX(x), pointY(y), scene(owner) {}

    bool ReportFixture(b2Fixture* found) override {
        b2Body* body = found->GetBody();
        if (body->GetType() != b2_dynamicBody || !scene->IsTrackedBody(body)) return true;
        fixture = found;
        return false;
    }

    float pointX;
    float pointY;
    b2Fixture* fixture = nullptr;
    SportEvent* scene;
};

} // namespace

void SportEvent::UpdateGrab() {
    if (world == nullptr) return;
    if (gApp.mousePressed && grabBudget > 0 && mouseJoint == nullptr) {
        GrabQuery query(cursorX, cursorY, this);
        b2AABB box;
        box.lowerBound.Set(cursorX - kGrabQueryHalfSize, cursorY - kGrabQueryHalfSize);
        box.upperBound.Set(cursorX + kGrabQueryHalfSize, cursorY + kGrabQueryHalfSize);
        world->QueryAABB(&query, box);
        if (query.fixture != nullptr) {
            b2Body* body = query.fixture->GetBody();
            grabbedBody = body;
            const b2Vec2 local = body->GetLocalPoint(b2Vec2(cursorX, cursorY));
            grabLocalX = local.x;
            grabLocalY = local.y;
            if (body == hintBody) hintBody = nullptr;
            if (eventId == kEventJavelin || eventId == kEventWalk) {
                // The javelin and the walker are held on their own centre line.
                grabLocalX = 0.0f;
                const b2Vec2 onAxis = body->GetWorldPoint(b2Vec2(0.0f, grabLocalY));
                cursorX = onAxis.x;
                cursorY = onAxis.y;
            }
            mouseJoint = CreateMouseJoint(world, groundBody, body, b2Vec2(cursorX, cursorY), kGrabMaxForce,
                                          grabFrequency, grabDamping, true);
            body->SetAwake(true);
            PlayEffect(kSfxTap2, 100, SoundPan(cursorX), 1.0f, false);
        }
    }
    if (gApp.mouseReleased && mouseJoint != nullptr) {
        world->DestroyJoint(mouseJoint);
        mouseJoint = nullptr;
        grabbedBody = nullptr;
        PlayEffect(kSfxUntap1, 100, SoundPan(cursorX), 1.33f, false);
    }
    if (mouseJoint != nullptr) {
        mouseJoint->SetTarget(b2Vec2(cursorX, cursorY));
        // Box2D 2.4 wakes the body only when the target moves; a body held under a still cursor
        // would fall asleep and hang frozen in the air.
        grabbedBody->SetAwake(true);
        grabBudget -= 1;
        if (grabBudget <= 0) ReleaseGrab();
    }
}

void SportEvent::ReleaseGrab() {
    if (mouseJoint != nullptr) {
        if (world != nullptr) world->DestroyJoint(mouseJoint);
        mouseJoint = nullptr;
        grabbedBody = nullptr;
        PlayEffect(kSfxUntap1, 100, SoundPan(cursorX), 1.33f, false);
    }
    grabBudget = 0;
}

// ---- Stall -----------------------------------------------------------------------------------

void SportEvent::SetStallRule(int capFrames, float left, float top, float right, float bottom) {
    idleCapFrames = Max(capFrames, 0);
    worldBounds.lowerBound.Set(left, top);
    worldBounds.upperBound.Set(right, bottom);
}

void SportEvent::WatchBody(b2Body* body) {
    if (body != nullptr && watchedCount < kMaxWatchedBodies) watchedBodies[watchedCount++] = body;
}

StallKind SportEvent::CheckStall() {
    b2Body* const* bodies = watchedBodies;
    int count = watchedCount;
    if (count == 0 && trackedBody != nullptr) {
        bodies = &trackedBody;
        count = 1;
    }
    const bool bounded = worldBounds.upperBound.x > worldBounds.lowerBound.x &&
                         worldBounds.upperBound.y > worldBounds.lowerBound.y;
    bool moving = false;
    for (int i = 0; i < count; ++i) {
        const b2Body* body = bodies[i];
        const b2Vec2 p = body->GetPosition();
        // NaN positions fail every comparison, so they count as outside too.
        if (bounded && !(p.x >= worldBounds.lowerBound.x && p.x <= worldBounds.upperBound.x &&
                         p.y >= worldBounds.lowerBound.y && p.y <= worldBounds.upperBound.y))
            return kStallOutOfWorld;
        if (body->IsAwake() && body->GetLinearVelocity().Length() >= kStillSpeed) moving = true;
    }
    const bool input = gApp.mouseHeld || gApp.mousePressed || gApp.mouseReleased || mouseJoint != nullptr;
    if (input || moving) {
        idleFrames = 0;
        return kStallNone;
    }
    idleFrames += 1;
    return idleCapFrames > 0 && idleFrames >= idleCapFrames ? kStallIdle : kStallNone;
}

int SportEvent::SoundPan(float x) const {
    const float p = (x - cameraX) * zoom / 1024.0f * 2.0f * 100.0f;
    if (!(p > -100.0f)) return -100; // also catches NaN
    if (p >= 100.0f) return 100;
    return static_cast<int>(p);
}

// ---- Impact sounds ---------------------------------------------------------------------------

void SportEvent::PreSolve(b2Contact* contact, const b2Manifold* oldManifold) {
    const b2Manifold* manifold = contact->GetManifold();
    if (manifold->pointCount < 1) return;
    b2PointState oldStates[b2_maxManifoldPoints];
    b2PointState newStates[b2_maxManifoldPoints];
    b2GetPointStates(oldStates, newStates, oldManifold, manifold);
    if (newStates[0] != b2_addState) return;

    b2Fixture* fixtureA = contact->GetFixtureA();
    b2Fixture* fixtureB = contact->GetFixtureB();
    b2Body* bodyA = fixtureA->GetBody();
    b2Body* bodyB = fixtureB->GetBody();
    b2WorldManifold worldManifold;
    worldManifold.Initialize(manifold, bodyA->GetTransform(), fixtureA->GetShape()->m_radius,
                             bodyB->GetTransform(), fixtureB->GetShape()->m_radius);
    const b2Vec2 point = worldManifold.points[0];
    const b2Vec2 relative =
        bodyB->GetLinearVelocityFromWorldPoint(point) - bodyA->GetLinearVelocityFromWorldPoint(point);
    const float speed = std::fabs(b2Dot(relative, worldManifold.normal));
    if (!(speed > kImpactSpeed)) return;

    impactX = point.x;
    impactY = point.y;
    const int pan = SoundPan(point.x);
    const int tagA = FixtureTag(fixtureA);
    const int tagB = FixtureTag(fixtureB);
    const int lo = Min(tagA, tagB);
    const int hi = Max(tagA, tagB);
    switch (lo) {
    case kTagAthlete:
        if (hi == kTagMat) {
            PlayEffect(kSfxMat1, 100, pan, 1.0f, false);
        } else if (hi == kTagAthlete) {
            if (speed > kOofSpeed) PlayEffect(kSfxOof1, 100, pan, 1.0f, false);
        } else if (hi == kTagWoodFloor) {
            PlayEffect(kSfxWood3, 100, pan, 1.0f, false);
        } else {
            PlayEffect(kSfxContact5, 100, pan, 1.0f, false);
        }
        break;
    case kTagMetalImpact:
        PlayEffect(kSfxMetal3, 80, pan, 0.75f, false);
        OnImpact();
        break;
    case kTagWood:
        PlayEffect(kSfxWood3, 100, pan, 1.0f, false);
        break;
    case kTagMetal:
        PlayEffect(kSfxMetal3, 66, pan, 1.0f, false);
        break;
    case kTagMedal:
        PlayEffect(kSfxMedal4, 50, pan, 1.0f, false);
        break;
    default:
        break;
    }
}

// ---- Frame drawing ---------------------------------------------------------------------------

void SportEvent::PushCamera() {
    hoverButton = -1;
    clickedButton = -1;
    FlushBatch();
    PushMatrix();
    TranslateMatrix(gApp.screenWidthF / 2.0f, gApp.screenHeightF / 2.0f);
    ScaleMatrix(zoom, zoom);
    TranslateMatrix(-cameraX, -cameraY);
}

void SportEvent::PopCamera() {
    if (gSceneHost != nullptr && gSceneHost->DebugDraw() && world != nullptr)
        gSceneHost->DrawPhysicsDebug(world);
    FlushBatch();
    PopMatrix();
}

void SportEvent::DrawFrame() {
    PushCamera();
    Draw();
    PopCamera();
    if (!(competition && startFrames < kHudHiddenFrames)) DrawHud();
    const float sw = gApp.screenWidthF;
    if (finished && !(gSceneHost != nullptr && gSceneHost->Paused())) {
        const bool running = gSceneHost != nullptr && gSceneHost->CompetitionRunning();
        HudButton(running ? kContinueButtonCompetition : kContinueButton, sw / 2.0f,
                  gApp.screenHeightF - 44.0f, 4.0f);
    }
    if (competition && player != nullptr) DrawIntroBanner();
    const bool inScene = gSceneHost == nullptr || gSceneHost->InScene();
    if (inScene && eventId != kSceneOpening && eventId != kSceneClosing) {
        if (!competition) {
            HudButton(kLeaveButton, sw - 72.0f, 4.0f, 4.0f);
        } else if (startFrames >= kHudHiddenFrames) {
            HudButton(kPauseButton, sw - 200.0f, 4.0f, 4.0f);
        }
    }
}

constexpr float kBannerNameScale = 4.0f;
constexpr float kBannerMargin = 16.0f; // screen px kept clear each side of a long name
constexpr float kClickHintScale = 3.0f;
constexpr int kClickHintPeriod = 60; // frames; the hint shows in the first kClickHintOn of each
constexpr int kClickHintOn = 45;

// Before the first click the player's tag stands large with the name; after it the tag slides
// to the top-right in 20 frames while the name, band and label fade and slide up within 10.
void SportEvent::DrawIntroBanner() {
    const float sw = gApp.screenWidthF;
    const float t = Min(1.0f, static_cast<float>(startFrames) * 0.05f);
    const float y0 = eventId == kEventCycling ? 210.0f : 140.0f;
    const float s = 8.0f - 4.0f * t;
    const float y = y0 + (8.0f - y0) * t;
    const float left = sw / 2.0f - 120.0f;
    const float x = left + ((sw - 128.0f) - left) * t;
    DrawNationTag(player->nation, x, y, s);
    if (t >= 0.5f) return;
    if (gApp.font != nullptr) {
        const uint32_t alpha = static_cast<uint32_t>(255.0f - 510.0f * t);
        const float nameScale = gApp.font->FitScale(player->nation.name, kBannerNameScale, sw - 2.0f * kBannerMargin);
        gApp.font->Print(sw / 2.0f, y0 + 160.0f, kAlignCentre, nameScale, PackColour(0, 0, 0, alpha),
                         player->nation.name);
        // Nothing else moves until the first click, so say that the click starts the attempt.
        if (startFrames == 0 && gApp.frameCounter % kClickHintPeriod < kClickHintOn)
            gApp.font->Print(sw / 2.0f, y0 + 230.0f, kAlignCentre, kClickHintScale, kWhite, "CLICK TO START");
    }
    FillRect(0.0f, 8.0f - 70.0f * t, 1024.0f, 58.0f, PackColour(255, 255, 255, 0x80));
    if (IsEventId(eventId)) {
        const int label = EventLabelSprite(eventId);
        DrawSpriteScaled(label, sw / 2.0f - 2.0f * SpriteWidth(label), 18.0f - 70.0f * t, 4.0f, 4.0f);
    }
}

// ---- Buttons ---------------------------------------------------------------------------------

bool SportEvent::HudButton(int id, float x, float y, float scale) {
    const bool hovered = HitButton(id, x, y, scale);
    if (gApp.showButtons) {
        if (hovered) SetColour(kHoverColour);
        DrawSpriteScaled(id, x, y, scale, scale);
        if (hovered) ResetColour();
    }
    return hovered;
}

bool SportEvent::HitButton(int id, float x, float y, float scale) {
    if (PanelOrPause()) return false;
    const float left = x - SpriteAnchorX(id) * scale;
    const float top = y - SpriteAnchorY(id) * scale;
    const float width = SpriteWidth(id) * scale;
    const float height = SpriteHeight(id) * scale;
    const float mx = static_cast<float>(gApp.mouseX);
    const float my = static_cast<float>(gApp.mouseY);
    if (!(left <= mx && mx < left + width && top <= my && my < top + height)) return false;
    hoverButton = id;
    if (gApp.mousePressed) {
        pressedButton = id;
        pressFrames = 0;
        PlayEffect(kSfxTap1, 100, 0, 1.0f, false);
    }
    if (pressedButton != id) return true;
    pressFrames += 1;
    if (!gApp.mouseReleased && pressFrames != kButtonAutoClickFrames) return true;
    clickedButton = id;
    pressedButton = -1;
    PlayEffect(kSfxTap1, 100, 0, 1.33f, false);
    return true;
}

// ---- Body drawing ----------------------------------------------------------------------------

namespace {

void DrawAtBody(int sprite, const b2Body* body, float scale) {
    const b2Vec2 p = body->GetPosition();
    const b2Rot& q = body->GetTransform().q;
    DrawSpriteRotated(sprite, p.x, p.y, std::atan2(q.s, q.c), scale, std::fabs(scale));
}

} // namespace

void SportEvent::DrawBody(int sprite, const b2Body* body, float scale) {
    if (player == nullptr || body == nullptr) return;
    const bool blink = body == hintBody && gApp.frameCounter % 12 < 6;
    SetColour(blink ? kWhite : player->colour);
    DrawAtBody(sprite, body, scale);
    ResetColour();
}

void SportEvent::DrawBodyPlain(int sprite, const b2Body* body, float scale) {
    if (body == nullptr) return;
    DrawAtBody(sprite, body, scale);
}

void SportEvent::DrawSpan(int sprite, float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    float length = std::sqrt(dx * dx + dy * dy);
    if (length < kTinyLength) length = 0.0f;
    const float spriteWidth = SpriteWidth(sprite);
    const float sx = spriteWidth > 0.0f ? length / spriteWidth : 0.0f;
    DrawSpriteRotated(sprite, x1, y1, std::atan2(dy, dx), sx, 0.1f);
}

void SportEvent::DrawGrabLine() {
    if (mouseJoint == nullptr) return;
    const b2Vec2 a = mouseJoint->GetAnchorA();
    const b2Vec2 b = mouseJoint->GetAnchorB();
    const b2Vec2 d = b - a;
    float length = d.Length();
    if (length < kTinyLength) length = 0.0f;
    const float spriteWidth = SpriteWidth(kGrabLineSprite);
    const float k = spriteWidth > 0.0f ? length / spriteWidth : 0.0f;
    const float thickness = RemapClamped(length, 1.0f, 5.0f, 1.0f, 0.25f);
    if (k > 0.003f) DrawSpriteRotated(kGrabLineSprite, a.x, a.y, std::atan2(d.y, d.x), k, thickness * 0.1f);
    DrawSpriteScaled(kGrabDotSprite, cursorX, cursorY, 0.05f, 0.05f);
}

void SportEvent::DrawProgressBar(float value, float max) {
    if (!gApp.showBars) return;
    const float x = gApp.screenWidthF / 2.0f - 2.0f * SpriteWidth(kProgressBarSprite);
    DrawSpriteScaled(kProgressBarSprite, x, 20.0f, 4.0f, 4.0f);
    // A bar never leaves its frame, whatever the scene passes.
    const float w = max > 0.0f ? Clamp(value * kProgressWidth / max, 0.0f, kProgressWidth) : 0.0f;
    DrawTextureRegion(kProgressSlot, x + 4.0f, 24.0f, w, 32.0f, kFillU, kFillU + w / kSpriteSheetWidth,
                      kFillTopV, kFillBottomV);
}

// ---- Builders --------------------------------------------------------------------------------

namespace {

b2BodyDef BodyAt(float x, float y, float density) {
    b2BodyDef def;
    def.position.Set(x, y);
    def.type = density != 0.0f ? b2_dynamicBody : b2_staticBody;
    return def;
}

// One fixture of the shape on the body, default filter and tag 0.
b2Fixture* AddFixture(b2Body* body, const b2Shape& shape, float density, float friction, float restitution) {
    b2FixtureDef def;
    def.shape = &shape;
    def.density = density;
    def.friction = friction;
    def.restitution = restitution;
    return body->CreateFixture(&def);
}

} // namespace

b2Fixture* SportEvent::AddGroundBox(float x, float y, float width, float height, float friction,
                                    float restitution) {
    b2PolygonShape shape;
    shape.SetAsBox(width / 2.0f, height / 2.0f, b2Vec2(x + width / 2.0f, y + height / 2.0f), 0.0f);
    return AddFixture(groundBody, shape, 0.0f, friction, restitution);
}

b2Body* SportEvent::CreateBox(float x, float y, float width, float height, float density, float friction,
                              float restitution) {
    const b2BodyDef bodyDef = BodyAt(x + width / 2.0f, y + height / 2.0f, density);
    b2Body* body = world->CreateBody(&bodyDef);
    b2PolygonShape shape;
    shape.SetAsBox(width / 2.0f, height / 2.0f);
    AddFixture(body, shape, density, friction, restitution);
    return body;
}

b2Body* SportEvent::CreateCircle(float x, float y, float radius, float density, float friction,
                                 float restitution) {
    const b2BodyDef bodyDef = BodyAt(x, y, density);
    b2Body* body = world->CreateBody(&bodyDef);
    b2CircleShape shape;
    shape.m_radius = radius;
    AddFixture(body, shape, density, friction, restitution);
    return body;
}

b2RevoluteJoint* SportEvent::CreateRevolute(b2Body* bodyA, b2Body* bodyB, float anchorX, float anchorY,
                                            float lowerAngle, float upperAngle, bool collideConnected) {
    b2RevoluteJointDef def;
    def.Initialize(bodyA, bodyB, b2Vec2(anchorX, anchorY));
    def.lowerAngle = lowerAngle;
    def.upperAngle = upperAngle;
    def.enableLimit = lowerAngle != upperAngle;
    def.enableMotor = false;
    def.motorSpeed = 0.0f;
    def.maxMotorTorque = 0.0f;
    def.collideConnected = collideConnected;
    return static_cast<b2RevoluteJoint*>(world->CreateJoint(&def));
}

b2DistanceJoint* SportEvent::CreateRope(b2Body* bodyA, b2Body* bodyB, float localAx, float localAy,
                                        float localBx, float localBy, float maxLength, bool collideConnected) {
    return CreateRopeJoint(world, bodyA, bodyB, b2Vec2(localAx, localAy), b2Vec2(localBx, localBy), maxLength,
                           collideConnected);
}

b2Body* SportEvent::CreatePolygon(float x, float y, const b2Vec2* points, int count, float density,
                                  float friction, float restitution) {
    if (count < 3 || count > b2_maxPolygonVertices) return nullptr;
    b2Vec2 local[b2_maxPolygonVertices];
    for (int i = 0; i < count; ++i)
        local[i] = points[i] - b2Vec2(x, y);
    b2PolygonShape shape;
    if (!SetPolygonChecked(&shape, local, count)) return nullptr;
    const b2BodyDef bodyDef = BodyAt(x, y, density);
    b2Body* body = world->CreateBody(&bodyDef);
    AddFixture(body, shape, density, friction, restitution);
    return body;
}

b2Fixture* SportEvent::AddGroundPolygon(const b2Vec2* points, int count, float friction, float restitution) {
    b2PolygonShape shape;
    if (!SetPolygonChecked(&shape, points, count)) return nullptr;
    return AddFixture(groundBody, shape, 0.0f, friction, restitution);
}

b2WeldJoint* SportEvent::CreateWeld(b2Body* bodyA, b2Body* bodyB) {
    const b2Vec2 a = bodyA->GetPosition();
    const b2Vec2 b = bodyB->GetPosition();
    return CreateRigidWeld(world, bodyA, bodyB, b2Vec2((a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f), false);
}

void SportEvent::SetBodyTag(b2Body* body, int tag) {
    for (b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext())
        SetFixtureTag(f, tag);
}

void SportEvent::SetBodyFilter(b2Body* body, uint16_t categoryBits, uint16_t maskBits) {
    b2Filter filter;
    filter.categoryBits = categoryBits;
    filter.maskBits = maskBits;
    filter.groupIndex = 0;
    for (b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext())
        f->SetFilterData(filter);
}

} // namespace kel
