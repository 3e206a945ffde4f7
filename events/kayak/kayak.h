// Kayak slalom, seen from above with no gravity: a diamond kayak whose paddle swings to and fro
// by itself drifts down a walled channel with rocks on its banks. After the first grab the
// channel fills with water balls pushed downstream by a constant current; the player steers the
// kayak with an unlimited, soft mouse grab through ten gates in order. Each gate skipped costs
// ten seconds, counted onto the time after the finish.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>
#include <vector>

namespace kel {

constexpr int kKayakGateCount = 10;

class WhitewaterEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kPaddling = 1,
        kPenalties = 2,
        kDone = 3,
    };

    WhitewaterEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;          // frames since the current phase began
    float courseLength = 92.0f; // metres: the channel runs from x = 0 to 92
    float halfWidth = 8.0f;     // metres: the channel runs from y = -8 to 8
    b2Body* kayak = nullptr;    // the only grabbable body
    b2Body* paddle = nullptr;
    b2RevoluteJoint* paddleJoint = nullptr;
    b2Body* gatePoles[kKayakGateCount][2] = {}; // upper and lower pole of each gate
    std::vector<b2Body*> waterBalls;            // capacity reserved for the full channel
    int32_t penalty = 0;                        // penalty seconds not yet added to the result
    float prevX = 0.0f;                         // the kayak's position in the previous frame, metres
    float prevY = 0.0f;
    int32_t nextGate = 0;     // 0..10
    int32_t phase = kWaiting; // a Phase

  private:
    void AddWaterBall();
    void MoveWater();
    void CheckGates(float x, float y);
};

// The scene factory's entry for EventId 13.
SportEvent* CreateWhitewaterEvent();

} // namespace kel
