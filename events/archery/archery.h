// Archery: an archer stands on the left beside a stack of ten arrows and a tilted target board
// stands about 20 m away. The player grabs arrows with the mouse and flings them at the board
// before the clock runs out. An arrow that strikes the board roughly head-on sticks and scores
// 1 to 10 points by how close to the board's centre it struck; the result is the points total.
// Knocking the archer over is DNQ.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

constexpr int kArrowCount = 10;
// The body value that marks an arrow; contacts with the board recognise arrows by it.
constexpr uintptr_t kArrowValue = 136;

class ArcheryEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,  // until the first grab; the clock stands
        kShooting = 1, // the clock runs
        kEnded = 2,    // time up or the archer down; `finished` 60 frames later
    };

    ArcheryEvent();

    void Update() override;
    // Arrows 0..nextArrow that are not stuck in the board; grabbing one draws the bow.
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;          // frames since the current phase began
    b2Body* archer = nullptr;         // owned by the world
    b2Body* target = nullptr;         // the static board
    b2Body* arrows[kArrowCount] = {}; // index 0 is the top of the stack
    int32_t nextArrow = 0;            // the highest arrow still in the stack
    int32_t lastPoints = -1;          // points of the last hit; -1 before the first
    int32_t framesSinceHit = 0;
    int32_t bowTimer = 0; // frames left of the drawn bow after a grab
    int32_t clock = 600;  // time left in clock units (7 per 8 frames)
    int32_t phase = kWaiting;

  private:
    void EndRound();
    void ScoreHits();
};

// Points of an arrow whose tip struck `offset` metres from the board's centre along its long
// axis: 10 within about 0.12 m, down to 1 beyond about 1.93 m.
int ArrowPoints(float offset);

// The scene factory's entry for EventId 16.
SportEvent* CreateArcheryEvent();

} // namespace kel
