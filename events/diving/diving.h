// Diving: a single box stands at the edge of a 10 m platform above a pool. The player flings and
// spins it with the mouse; spin collected in the air times the quality of a head-first vertical
// entry gives a raw score, and five judges hold up marks from 1 to 10 whose mean is the result.
// A raw score below 50, a diver that comes to rest out of the water or leaves the pool area is
// "DNQ".
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class DivingEvent : public SportEvent {
  public:
    static constexpr int kJudgeCount = 5;
    static constexpr int kMaxDroplets = 400;

    // One splash droplet: metres, and metres per frame.
    struct Droplet {
        float x = 0.0f;
        float y = 0.0f;
        float vx = 0.0f;
        float vy = 0.0f;
    };

    DivingEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    b2Body* diver = nullptr; // the diver's box, owned by the world; local -y is the head end
    int32_t waterFrames = 0; // entry frames sampled since the diver first reached the water, up to 10
    float entrySum = 0.0f;   // entry quality summed over those frames
    float spinTotal = 0.0f;  // spin collected above the water
    bool diveOver = false;   // judged, or fouled at any earlier point
    int32_t judgeMarks[kJudgeCount] = {};
    float averageMark = 0.0f; // the result of a judged dive
    bool fouled = false;
    // Game frames since diveOver was set. Only Update advances it, so the cards, the score lifts
    // and the hand-over keep their timing whether frames are drawn twice, skipped or paused.
    int32_t afterFrames = 0;
    Droplet droplets[kMaxDroplets] = {};
    int32_t splashCount = 0;   // droplets in use; they are never removed
    bool musicStarted = false; // at the first grab

  private:
    void Foul();
    void SampleEntry(float tilt);
    void Judge();
};

// The five judges' tints, chosen with RandomPlayerColour the first time a diving scene is built
// in this run and kept for every later dive.
const uint32_t* DivingJudgeColours();

// The scene factory's entry for EventId 0.
SportEvent* CreateDivingEvent();

} // namespace kel
