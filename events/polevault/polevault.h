// The pole vault: the vaulter, one upright box, is tied by a rope from its hands to the rear of
// a long pole lying on the runway. The player grabs only the pole, runs it forward, plants it
// against the box in front of the mat and swings the vaulter up; letting go of the button in the
// air makes the vaulter let go of the pole. The height is the lowest point at which the
// vaulter's body crosses the plane x = 31 after that; the pole must never cross it.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class PoleVaultEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kVaulting = 1, // holding the pole
        kFlight = 2,   // the pole let go
        kEnded = 3,
    };

    PoleVaultEvent();

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;       // frames since the current phase began
    b2Body* vaulter = nullptr;     // owned by the world
    b2Body* pole = nullptr;        // the only body the mouse may take
    b2Joint* handRope = nullptr;   // vaulter to pole; null once the pole is let go
    float planeX = 31.0f;          // metres: the measuring plane; the box and the mat stand by it
    float clearance = 1000.0f;     // metres: lowest crossing height seen
    bool hasClearance = false;
    b2Body* mat = nullptr;         // the landing mat
    bool jumpSoundPlayed = false;
    int32_t stepFrame = 0;         // last running frame, 0 or 1
    bool showFoulGhost = false;    // the pole blinks where it fouled
    b2Vec2 foulGhostPos{0.0f, 0.0f};
    float foulGhostAngle = 0.0f;   // radians
    int32_t phase = kWaiting;      // a Phase
    int32_t groundWaitFrames = 0;  // frames on the ground with the pole held, no mouse input

  private:
    void LetGoOfPole();
    void Land();
    void PoleFoul();
    void MeasureCrossing();
    void EnterEnded();
};

// The scene factory's entry for EventId 8.
SportEvent* CreatePoleVaultEvent();

} // namespace kel
