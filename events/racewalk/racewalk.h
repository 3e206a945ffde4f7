// The racewalk: a tall narrow walker on a slippery sole, moved with an unlimited, very soft grab
// held on his centre line, over one long triangular hill. The start is the dash's ritual with a
// fixed gun delay. Leaning 63 degrees or more from upright disqualifies. The result is the time
// in frames from the gun until the walker's origin passes x = 100.
#pragma once

#include "sim/sport_event.h"
#include "sim/start_ritual.h"

#include <cstdint>

namespace kel {

class WalkEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kOnYourMark = kRaceOnYourMark,
        kReady = kRaceReady,
        kWalking = kRaceRunning,
        kFinished = kRaceFinished,
        kDisqualified = kRaceDisqualified,
    };

    WalkEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;         // frames since the current phase began
    b2Body* walker = nullptr;  // owned by the world
    int32_t startDelay = 120;  // frames from the click to the gun
    int32_t strideFrame = 0;   // last drawn stride frame, 0 or 1
    b2Body* starter = nullptr; // owned by the world
    int32_t phase = kOnYourMark;

  private:
    void Disqualify();
};

// The scene factory's entry for EventId 11.
SportEvent* CreateWalkEvent();

} // namespace kel
