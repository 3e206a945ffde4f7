// The javelin: the thrower is one upright box with the javelin lying across its top. The player
// drags the thrower along the runway and flings the javelin; it counts when a tip meets the ground
// while the javelin is not tumbling, and it then sticks there. The result is metres from the foul
// line to the lower tip. A tip that meets the thrower impales it, which is a foul.
#pragma once

#include "sim/particles.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class JavelinEvent : public SportEvent {
  public:
    static constexpr int kGroundSegmentCount = 8;

    JavelinEvent();
    ~JavelinEvent() override;

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    b2Body* thrower = nullptr; // fixture tag kTagAthlete
    b2Body* javelin = nullptr; // tip sensors tagged kTagMarker
    b2Body* groundSegments[kGroundSegmentCount] = {};
    b2Joint* stickJoint = nullptr;  // javelin to ground, once stuck
    b2Joint* impaleJoint = nullptr; // javelin to thrower, after an impale
    float foulLineX = 20.0f;        // metres
    bool ended = false;             // stuck or fouled; never cleared
    int32_t endFrames = 0;          // frames since `ended`
    float distance = 0.0f;          // metres from the foul line
    bool fouled = false;
    bool showFoulGhost = false;
    b2Vec2 foulGhostPos = b2Vec2(0.0f, 0.0f);
    float foulGhostAngle = 0.0f; // radians
    float airSpin = 0.0f;        // rad/s, last sampled while the javelin was high
    bool musicStarted = false;
    Emitter spray;

  private:
    void Finish();
    void Foul();
    void ScanContacts();
};

// The scene factory's entry for EventId 1.
SportEvent* CreateJavelinEvent();

} // namespace kel
