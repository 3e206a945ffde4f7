// The shot put: the thrower is a box with two raised arms cradling a heavy ball on its top. The
// player grabs the thrower and heaves so the shot flies off to the right. The put counts once the
// shot has left the thrower's arms and come to rest on the ground; the result is the landing
// mark's distance from the front of the throwing area. Crossing the front before the shot lands,
// or a shot at rest behind it, is a foul.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class ShotPutEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,  // before the first grab
        kHolding = 1,  // the shot still in the thrower's arms
        kInAir = 2,    // put: out of the arms, not yet on the ground
        kOnGround = 3, // landed; the mark follows it until it stops
        kEnded = 4,
    };

    ShotPutEvent();

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;   // frames since the scene began
    b2Body* thrower = nullptr; // trunk and two arms
    b2Body* ball = nullptr;    // the shot
    float markX = 0.0f;        // metres: where the put shot last lay on the ground
    int32_t phase = kWaiting;  // a Phase
    int32_t stateFrames = 0;   // frames since the current Phase began
    int32_t freeFrames = 0;    // consecutive frames the shot has not touched the thrower
    float frontX = 4.6f;       // metres: the front of the throwing area

  private:
    void Decide(bool foul);
    bool BallTouchesThrower() const;
};

// The scene factory's entry for EventId 7.
SportEvent* CreateShotPutEvent();

} // namespace kel
