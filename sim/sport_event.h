// SportEvent: the base of every scene (the events, the ceremonies, the medal presentation and the
// menu). It owns one Box2D world, keeps a camera in metres, lets the player grab bodies with the
// mouse through a mouse joint, turns hard new contacts into impact sounds, draws the frame in a
// fixed order, and carries the fields through which the game session learns an attempt's end.
//
// World units: metres, x right, y down (a positive gravity pulls down the screen). The screen
// centre shows (cameraX, cameraY) at `zoom` px per metre.
//
// Sections: contact tags; SportEvent (life, per frame, grab, sound, drawing, builders, fields).
#pragma once

#include "sim/physics_compat.h"
#include "sim/records.h"

#include <box2d/box2d.h>

#include <cstdint>

namespace kel {

// ---- Contact tags ----------------------------------------------------------------------------

// The small integer in each fixture's user data; the pair of a hard new contact picks its sound.
enum ContactTag : int {
    kTagNone = 0,
    kTagAthlete = 1,
    kTagMarker = 2,      // silent; a scene's own marker (the javelin's tips)
    kTagMetalImpact = 3, // metal clang, then OnImpact
    kTagWood = 4,
    kTagMetal = 5,
    kTagMedal = 6,
    kTagQuietGround = 7, // ground that makes no impact sound (rowing, cycling)
    kTagWoodFloor = 9,
    kTagMat = 10,
};

constexpr float kDefaultZoom = 40.0f; // px per metre
constexpr float kMinZoom = 2.0f;      // px per metre; the zoom-out key stops here (the javelin's view)
constexpr float kZoomStep = 4.0f;     // px per metre per key press
constexpr int kUnlimitedGrabFrames = 1000000;
constexpr float kGrabMaxForce = 500.0f;     // newtons
constexpr float kGrabQueryHalfSize = 0.25f; // metres
constexpr float kImpactSpeed = 4.0f;        // metres per second: slower contacts are silent
constexpr float kOofSpeed = 6.0f;           // metres per second for two athlete bodies
constexpr int kButtonAutoClickFrames = 30;
constexpr float kStillSpeed = 0.05f; // metres per second: a watched body slower than this is still
constexpr int kMaxWatchedBodies = 8;

// Why an attempt nobody finishes ends (see SportEvent::CheckStall).
enum StallKind : int {
    kStallNone = 0,
    kStallIdle = 1,       // the idle cap ran out: no input and nothing moving
    kStallOutOfWorld = 2, // a watched body left the world's bounds
};

constexpr int kContinueButtonCompetition = 78;
constexpr int kContinueButton = 94;
constexpr int kLeaveButton = 84;
constexpr int kPauseButton = 85;

class SportEvent : public b2ContactListener {
  public:
    explicit SportEvent(int eventId);
    ~SportEvent() override;
    SportEvent(const SportEvent&) = delete;
    SportEvent& operator=(const SportEvent&) = delete;

    // ---- Box2D callbacks, inside StepWorld --------------------------------------------------
    // The impact-sound rule: a newly added contact point approaching faster than kImpactSpeed
    // plays the sound of its tag pair.
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;

    // ---- Scene operations -------------------------------------------------------------------
    // Base input per game frame: zoom keys and cursor, grab, the first-click counter.
    // A scene's Update calls this first.
    virtual void Update();
    // Whether the mouse may grab the body; the base allows trackedBody only when a scene has set
    // one, and every body otherwise.
    virtual bool IsTrackedBody(b2Body* body);
    // The world drawing, inside the camera transform.
    virtual void Draw() {}
    // The screen-space overlay.
    virtual void DrawHud() {}
    // A loud contact of a fixture tagged kTagMetalImpact; runs inside the world step, so it must
    // only record what happened (the world is locked).
    virtual void OnImpact() {}

    // ---- Called by the game session ---------------------------------------------------------
    void SetPlayer(PlayerRecord* record) { player = record; }
    // World, HUD, continue button, competition banner, leave buttons, in this order.
    void DrawFrame();

    // ---- Helpers for the scenes -------------------------------------------------------------
    void CreateWorld(float gravityY);
    void StepWorld();
    // budgetFrames 0 means practically unlimited.
    void SetGrabParams(float damping, float frequency, int budgetFrames);
    void SetCamera(float x, float y);
    // Ends a grab on the scene's own decision; no new grab until the scene gives a new budget.
    void ReleaseGrab();
    // Stereo pan -100..100 of a world x: half a 1024 px screen right of the centre is fully right.
    int SoundPan(float x) const;

    // ---- Ending an attempt nobody finishes ----------------------------------------------------
    // Every event sets its own numbers once: idleFrames is how long the attempt may sit with no
    // mouse input and every watched body still (capFrames; 0: no cap); the bounds are the world a watched
    // body may not leave (metres, y down). Both end the attempt as a foul in the event's Update.
    void SetStallRule(int capFrames, float left, float top, float right, float bottom);
    // Bodies whose motion keeps the attempt alive and whose leaving ends it; when none are
    // watched, trackedBody is. At most kMaxWatchedBodies; more are ignored.
    void WatchBody(b2Body* body);
    // Call once per frame while the attempt runs, after StepWorld. Counts idle frames and tests
    // the bounds; returns which ended the attempt, or kStallNone.
    StallKind CheckStall();

    // ---- Drawing ----------------------------------------------------------------------------
    // Screen-space button; returns whether the mouse is over it.
    bool HudButton(int id, float x, float y, float scale);
    // Fires (clickedButton = id) on release over it, or by itself after 30 frames of holding.
    bool HitButton(int id, float x, float y, float scale);
    // Sprite at the body's pose tinted with the player's colour (the hint body blinks white).
    // A negative scale mirrors in x only.
    void DrawBody(int sprite, const b2Body* body, float scale);
    void DrawBodyPlain(int sprite, const b2Body* body, float scale);
    // Sprite stretched from (x1, y1) to (x2, y2); ropes and chains.
    void DrawSpan(int sprite, float x1, float y1, float x2, float y2);
    void DrawGrabLine();
    // Screen-space bar of value out of max (remaining grab budget, power).
    void DrawProgressBar(float value, float max);

    // ---- Builders: boxes take their top-left corner and full sizes ---------------------------
    b2Fixture* AddGroundBox(float x, float y, float width, float height, float friction, float restitution);
    // Dynamic when density is not 0, otherwise static.
    b2Body* CreateBox(float x, float y, float width, float height, float density, float friction,
                      float restitution);
    b2Body* CreateCircle(float x, float y, float radius, float density, float friction, float restitution);
    // Limited unless lower == upper.
    b2RevoluteJoint* CreateRevolute(b2Body* bodyA, b2Body* bodyB, float anchorX, float anchorY,
                                    float lowerAngle, float upperAngle, bool collideConnected);
    // The bodies never part further than maxLength; they collide with each other only when
    // collideConnected is set.
    b2DistanceJoint* CreateRope(b2Body* bodyA, b2Body* bodyB, float localAx, float localAy, float localBx,
                                float localBy, float maxLength, bool collideConnected = false);
    // A convex polygon of up to 8 points given in world metres (hills, rocks, hulls). The body sits
    // at (x, y) and the points are taken relative to it; dynamic when density is not 0. Returns
    // null, creating nothing, when the points do not make a polygon.
    b2Body* CreatePolygon(float x, float y, const b2Vec2* points, int count, float density, float friction,
                          float restitution);
    // The same shape as a fixture of groundBody, points in world metres; null on bad points.
    b2Fixture* AddGroundPolygon(const b2Vec2* points, int count, float friction, float restitution);
    // Rigid, anchored midway between the two body origins.
    b2WeldJoint* CreateWeld(b2Body* bodyA, b2Body* bodyB);
    void SetBodyTag(b2Body* body, int tag);
    void SetBodyFilter(b2Body* body, uint16_t categoryBits, uint16_t maskBits);

    // ---- Fields, read and written by the game session and the scenes -----------------------
    PlayerRecord* player = nullptr; // null after the result is taken
    float cameraX = 0.0f;           // metres
    float cameraY = 0.0f;
    float zoom = kDefaultZoom; // px per metre
    float cursorX = 0.0f;      // mouse in world metres, recomputed every Update
    float cursorY = 0.0f;
    b2Body* hintBody = nullptr; // drawn blinking until first grabbed
    b2Body* trackedBody = nullptr; // when set, the only body the mouse may grab
    b2Body* grabbedBody = nullptr;
    float grabLocalX = 0.0f; // grab point in grabbedBody's frame, metres
    float grabLocalY = 0.0f;
    b2MouseJoint* mouseJoint = nullptr;
    int32_t grabBudget = 0;       // frames of holding left
    float grabDamping = 0.5f;     // damping ratio of grab joints
    float grabFrequency = 0.5f;   // Hz
    int32_t eventId = 0;          // EventId, or one of the kScene ids
    b2World* world = nullptr;     // owned
    b2Body* groundBody = nullptr; // static, at the origin: grab anchor and holder of ground boxes
    bool finished = false;        // set last, after result and fault
    float result = 0.0f;          // in the unit of the event's score kind
    bool fault = false;
    int32_t hoverButton = -1;
    int32_t pressedButton = -1;
    int32_t clickedButton = -1; // since the last DrawFrame
    int32_t pressFrames = 0;
    bool competition = false;
    int32_t startFrames = 0; // frames since the first click; 0 until then
    float impactX = 0.0f;    // world point of the last loud contact
    float impactY = 0.0f;
    int32_t idleCapFrames = 0; // SetStallRule; 0: no idle cap
    int32_t idleFrames = 0;    // frames CheckStall has counted with no input and nothing moving
    b2AABB worldBounds = {};   // SetStallRule; empty: no bounds
    b2Body* watchedBodies[kMaxWatchedBodies] = {};
    int32_t watchedCount = 0;

  protected:
    void UpdateCursor();
    void UpdateGrab();
    void PushCamera();
    void PopCamera();
    void DrawIntroBanner();
};

} // namespace kel
