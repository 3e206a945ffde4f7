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
    kTagMetalImpact = 3, // metal clang, then OnImpact
    kTagWood = 4,
    kTagMetal = 5,
    kTagMedal = 6,
    kTagWoodFloor = 9,
    kTagMat = 10,
};

constexpr float kDefaultZoom = 40.0f; // px per metre
constexpr float kMinZoom = 4.0f;      // px per metre; the zoom-out key stops here
constexpr float kZoomStep = 4.0f;     // px per metre per key press
constexpr int kUnlimitedGrabFrames = 1000000;
constexpr float kGrabMaxForce = 500.0f;     // newtons
constexpr float kGrabQueryHalfSize = 0.25f; // metres
constexpr float kImpactSpeed = 4.0f;        // metres per second: slower contacts are silent
constexpr float kOofSpeed = 6.0f;           // metres per second for two athlete bodies
constexpr int kButtonAutoClickFrames = 30;

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
    // Whether the mouse may grab the body; the base allows every body.
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
    b2DistanceJoint* CreateRope(b2Body* bodyA, b2Body* bodyB, float localAx, float localAy, float localBx,
                                float localBy, float maxLength);
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

  protected:
    void UpdateCursor();
    void UpdateGrab();
    void PushCamera();
    void PopCamera();
    void DrawIntroBanner();
};

} // namespace kel
