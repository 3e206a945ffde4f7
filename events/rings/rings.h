// Still rings: a gymnast of three boxes (torso and two arms) hangs by two ring blocks on straps
// from the ceiling. The player swings and turns the torso with the mouse during a routine of
// 1620 frames; held positions (a cross, a handstand, a side hold) score once each when the
// torso has been still for 90 frames, and full turns of the torso score too. Then the hands let
// go, and an upright landing on the mat keeps the whole score; any other landing halves it.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class RingsEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kHanging = 0,
        kRoutine = 1,
        kDismount = 2,
        kScored = 3,
    };
    enum Mood : int32_t {
        kMoodNone = 0,
        kMoodApplause = 1,
        kMoodDisappointed = 2,
    };

    RingsEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;       // frames since the current phase began
    b2Body* torso = nullptr; // the only body the mouse may take; all bodies owned by the world
    b2Body* leftArm = nullptr;
    b2Body* rightArm = nullptr;
    b2Body* leftRing = nullptr;
    b2Body* rightRing = nullptr;
    b2RevoluteJoint* leftShoulder = nullptr;
    b2RevoluteJoint* rightShoulder = nullptr;
    b2DistanceJoint* leftStrap = nullptr; // ropes from the ceiling to the ring blocks
    b2DistanceJoint* rightStrap = nullptr;
    b2WeldJoint* leftGrip = nullptr; // arm to ring block; null once the hands let go
    b2WeldJoint* rightGrip = nullptr;
    int32_t stillFrames = 0; // consecutive frames the torso has been still
    bool heldSide = false;   // each hold scores at most once
    bool heldCross = false;
    bool heldHandstand = false;
    bool landed = false;       // the landing was upright
    int32_t turnQuadrants = 0; // bits of the torso-angle quadrants visited since the last full turn
    int32_t turns = 0;         // full turns made
    int32_t routineFrames = 1620;
    int32_t judgeMood = kMoodNone;
    int32_t moodFrames = 0; // frames the mood is still shown; counts down every frame
    int32_t phase = kHanging;

  private:
    void UpdateRoutine();
    void JudgeStillPose(float a0, float a1, float a2);
    void ScoreHold(bool* held);
    void CountTurns(float a0);
    void LetGo();
    void JudgeLanding();
};

// Score of a routine: turns two to six earn 0.8 each, turns seven to ten 0.2 each, the handstand
// 2.0, the cross 1.5 and the side hold 2.0; at most 10, halved without an upright landing.
float RingsScore(int turns, bool handstand, bool cross, bool side, bool landed);

// The scene factory's entry for EventId 4.
SportEvent* CreateRingsEvent();

} // namespace kel
