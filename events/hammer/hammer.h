// The hammer throw, seen from above with no gravity: the thrower is a disc in the throwing circle
// with the ball on a rope. The player whirls the thrower with the mouse and lets go; the rope is
// cut and the ball flies straight on for a time fixed at release by its speed and the swinging
// timing meter. Where it is then is the landing point, valid inside the 90-degree sector; the
// result is its x less the circle's radius.
#pragma once

#include "sim/particles.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class HammerThrowEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kWhirling = 1,
        kFlight = 2,
        kEnded = 3,
    };
    static constexpr int kBirdCount = 8;

    struct Bird {
        float laneX = 0.0f;     // metres
        float y = 0.0f;         // metres along the lane
        float direction = 1.0f; // +1 or -1
    };

    HammerThrowEvent();
    ~HammerThrowEvent() override;

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;   // frames since the current phase began
    b2Body* thrower = nullptr; // the only body the mouse may take
    b2Body* ball = nullptr;
    b2Joint* rope = nullptr;   // null after release
    int32_t flightFrames = 180;
    float circleRadius = 5.6f; // metres
    uint32_t decorSeed = 1;    // the grass pattern's own sequence
    float meter = 0.0f;        // timing meter, 0..1
    float meterStep = 0.025f;  // per frame
    float spinAccum = 0.0f;    // rad/s summed for the whirl sound
    int32_t phase = kWaiting;  // a Phase
    Bird birds[kBirdCount];
    bool showFoulGhost = false;
    b2Vec2 foulGhostPos = b2Vec2(0.0f, 0.0f);
    float foulGhostAngle = 0.0f; // radians
    float heightScale = 1.0f;    // the ball's false height in flight: 1 on the ground
    Emitter spray;

  private:
    void Foul();
    void Release();
    void Land();
    float NextDecor();
};

// The scene factory's entry for EventId 14.
SportEvent* CreateHammerThrowEvent();

} // namespace kel
