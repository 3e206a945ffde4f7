// Rowing: a sculler sits loose on a long hull that slides on a solid lake surface. His oar turns
// on a motorised pivot, faster and faster, and the player pulls the boat along by the hull with
// an unlimited, soft mouse grab. The race runs from the first grab until the finish buoy is within
// 4 m of both the hull's and the rower's origins, with the rower still aboard.
#pragma once

#include "sim/particles.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class RowingEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kRacing = 1,
        kDone = 2,
    };

    RowingEvent();
    ~RowingEvent() override;

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;               // frames since the current phase began
    float courseHalfLength = 110.0f; // metres: the end walls stand at x = ±110
    b2Body* rower = nullptr;         // rests loose on the hull
    b2Body* oar = nullptr;
    b2Body* hull = nullptr; // the only grabbable body
    b2Body* hat = nullptr;  // a loose piece on the rower's head
    b2RevoluteJoint* oarPivot = nullptr;
    int32_t raceFrames = 0; // frames since the first grab
    b2Body* startBuoy = nullptr;
    b2Body* finishBuoy = nullptr;
    float oarSpeed = 0.0f;      // radians per second of the pivot's motor
    Colour hullColour = kWhite; // the player's colour with its channels moved
    int32_t phase = kWaiting;   // a Phase
    Emitter splash;             // spray where the oar or the rower meets the water
    float oarEndPrevY = -5.0f;  // metres, last frame
    float rowerPrevY = -5.0f;
    float oarPrevAngle = 0.0f; // radians, last frame

  private:
    void EndRace(bool success);
};

// The scene factory's entry for EventId 9.
SportEvent* CreateRowingEvent();

} // namespace kel
