// Show jumping: a heavy horse box with a light head carries a rider tied on by two ropes. The
// player flings the horse over eight fences of loose stacked blocks with short grabs whose budget
// refills only while the horse is on the ground and the button is up. Every block knocked down
// from a front stack costs 6 seconds, added after the finish with a counting animation.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

constexpr int kFenceCount = 8;
constexpr int kBlocksPerStack = 3;
constexpr int kBackStackCount = 2;

class EquestrianEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kRiding = 1,
        kPenalties = 2,
    };

    EquestrianEvent();

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t phase = kWaiting;
    b2Body* rider = nullptr;           // owned by the world
    b2Body* horse = nullptr;           // owned by the world; the only body the mouse may take
    b2DistanceJoint* rein = nullptr;   // rider to the horse's head, drawn
    b2Body* fenceBlocks[kFenceCount][kBlocksPerStack] = {};     // bottom first
    b2Body* backStacks[kBackStackCount][kBlocksPerStack] = {};  // behind the two double fences
    b2Vec2 fenceSlots[kFenceCount][kBlocksPerStack] = {};       // each front block's start, metres
    int32_t timer = 0;      // frames since the current phase began
    int32_t raceFrames = 0; // frames of kRiding
    int32_t knockdowns = 0; // front blocks found lower than where they started
    int32_t penalty = 0;    // penalty seconds not yet added to the result
    bool musicStarted = false;
    int32_t stallFrames = 0; // consecutive kRiding frames with the button held or the horse high

  private:
    void EndRide(bool faulted, int sound);
    int CountKnockdowns() const;
};

// The scene factory's entry for EventId 2.
SportEvent* CreateEquestrianEvent();

} // namespace kel
