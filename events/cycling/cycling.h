// The track race, seen from above: the world has no gravity. The cyclist is one ball the player
// drags around the oval with an unlimited grab; the bouncy infield costs speed at every knock and
// the grass brakes the bike while it is dragged there. Five laps, counted at a line on the top
// straight; the result is the time in frames from the first grab.
#pragma once

#include "sim/particles.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class CyclingEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kRacing = 1,
        kDone = 2,
    };

    CyclingEvent();
    ~CyclingEvent() override;

    void Update() override;
    void Draw() override;
    // Runs inside the world step: only counts the knock, which Update then charges.
    void OnImpact() override;

    // Whether a bike centred at (x, y) metres is on the grass outside the riding surface.
    static bool OnGrass(float x, float y);

    int32_t timer = 0;          // frames since the current phase began; the race clock in kRacing
    b2Body* bike = nullptr;     // owned by the world; the only body the mouse may take
    float prevX = 0.0f;         // the bike's x in the previous frame, metres
    int32_t lapsLeft = 5;
    int32_t grassFrames = 0;    // consecutive frames dragged on the grass
    float pedalDistance = 0.0f; // accumulated speed, wraps at 200: the pedal sound and frames
    int32_t phase = kWaiting;
    Emitter dust;               // the dust stream behind a bike dragged over the grass
    int32_t pendingImpacts = 0; // knocks of the bike in the last step, charged after it

  private:
    void EndRace(bool crashed, int pan);
};

// The scene factory's entry for EventId 15.
SportEvent* CreateCyclingEvent();

} // namespace kel
