// The long jump: the athlete, one upright box, slides down a frictionless run-up under a steady
// push; the player launches the jump by grabbing it and flinging it over a pit of loose sand
// grains. The result is the distance from the foul line (x = 0) to the landing mark nearest it.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>
#include <vector>

namespace kel {

class LongJumpEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kRunUp = 1,
        kJump = 2,
        kEnded = 3,
    };

    LongJumpEvent();

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;      // frames since the current phase began
    int32_t grabMeterMax = 45;    // frames: the grab meter's full scale
    float pitStartX = 3.0f;       // metres: the pit begins where the runway ends
    float pitLength = 32.0f;      // metres
    float pitDepth = 1.0f;        // metres below the runway surface
    float runStartX = -19.65f;    // metres: the athlete's left edge at the start; the camera's left bound
    b2Body* jumper = nullptr;     // the athlete box, owned by the world
    float takeoffMarkX = 0.0f;    // metres: the athlete's front edge, frozen at the take-off frame
    float markX = 0.0f;           // metres: smallest landing x so far (valid when hasMark)
    bool hasMark = false;
    int32_t stepFrame = 0;        // last running frame, 0 or 1
    int32_t restFrames = 0;       // consecutive frames nearly at rest
    std::vector<b2Body*> sandGrains; // every grain, in creation order; owned by the world
    int32_t phase = kWaiting;     // a Phase

  private:
    void Foul();
    void EnterPhase(int32_t next);
    void MeasureLanding();
};

// The scene factory's entry for EventId 12.
SportEvent* CreateLongJumpEvent();

} // namespace kel
