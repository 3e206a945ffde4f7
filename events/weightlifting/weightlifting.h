// Weightlifting: a box-shaped lifter stands on a three-step podium and the barbell lies on the
// floor to the left. The player grabs the barbell (or the lifter) and brings the bar to rest above
// the lifter's centre. The result is the time in frames from the first grab of the barbell until
// both bodies have come to rest (Box2D's sleep decides rest); lower is better.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class WeightliftingEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0, // until the barbell is first grabbed
        kLifting = 1, // the clock runs
        kEnded = 2,   // lifted or fouled; `finished` 30 frames later
    };

    WeightliftingEvent();

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;     // frames since the current phase began
    b2Body* lifter = nullptr;    // owned by the world
    b2Body* barbell = nullptr;   // bar with two plates
    b2Body* podiumSteps[3] = {}; // bottom to top
    int32_t liftFrames = 0;      // frames since the barbell was first grabbed
    int32_t jerkFrames = 0;      // frames since "JERK!" started; 0: not started
    int32_t phase = kWaiting;    // a Phase

  private:
    void Foul();
};

// The lifter's kit overlay colour (headband and belt) of a player slot 0..3.
uint32_t LifterKitColour(int slot);

// The scene factory's entry for EventId 6.
SportEvent* CreateWeightliftingEvent();

} // namespace kel
