// The 100 m dash: a single upright box the player flings down the track with short mouse grabs.
// The player waits for the starting gun after "READY..."; moving before it is a false start.
// The result is the time in frames from the gun until the runner's origin crosses the finish.
#pragma once

#include "sim/sport_event.h"
#include "sim/start_ritual.h"

#include <cstdint>

namespace kel {

class SprintEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kOnYourMark = kRaceOnYourMark,
        kReady = kRaceReady,
        kRunning = kRaceRunning,
        kFinished = kRaceFinished,
        kDisqualified = kRaceDisqualified,
    };

    SprintEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;           // frames since the current phase began
    int32_t phase = kOnYourMark; // a Phase
    b2Body* runner = nullptr;    // the runner's box, owned by the world
    int32_t startDelay = 0;      // frames from the click that leaves kOnYourMark to the gun
    float finishX = 110.0f;      // metres
    int32_t grabBudgetMax = 20;  // frames of holding per full budget
    int32_t strideFrame = 0;     // last drawn stride frame, 0 or 1
    b2Body* starter = nullptr;   // the starter left of the start line, owned by the world

  private:
    void Disqualify();
};

// The scene factory's entry for EventId 3.
SportEvent* CreateSprintEvent();

} // namespace kel
