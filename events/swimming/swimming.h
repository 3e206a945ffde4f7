// Swimming: four lengths of a short pool filled with water balls that push one another apart and
// are pushed up from below, so that they behave like a liquid. The swimmer is a box with an arm
// bar on a motorised shoulder. The player flings him in from the block with the mouse; from then
// on the arms turn by themselves and the player helps with short drags. At each wall the stroke
// reverses and the grab budget is refilled. The result is the time in frames from the first grab
// until the fourth wall.
#pragma once

#include "sim/particles.h"
#include "sim/sport_event.h"

#include <cstdint>
#include <vector>

namespace kel {

constexpr int kPoolBallCount = 204; // four rows of 51

class SwimmingEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kOnBlock = 0,
        kDiving = 1,
        kSwimming = 2,
        kDone = 3,
    };

    SwimmingEvent();
    ~SwimmingEvent() override;

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;            // frames since the current phase began
    float poolHalfLength = 13.0f; // metres: the pool runs from x = -13 to 13
    b2Body* swimmer = nullptr;    // the torso box
    b2Body* arms = nullptr;       // the arm bar
    b2RevoluteJoint* shoulder = nullptr;
    std::vector<b2Body*> waterBalls; // in creation order
    int32_t lengths = 0;             // 0..4
    bool showPrompt = true;          // the blinking call instead of the lap number
    int32_t raceFrames = 0;          // frames since the first grab
    int32_t outFrames = 0;           // frames out of the pool while swimming, over the whole race
    b2Body* officialLeft = nullptr;
    b2Body* officialRight = nullptr;
    bool turnSignal = true;   // up from each wall until the middle of the pool: the officials wave
    int32_t phase = kOnBlock; // a Phase
    Emitter splash;
    float armEndPrevY[2] = {-5.0f, -5.0f}; // metres, last frame

  private:
    void PushWater();
    void Disqualify();

    // The pressure pass's scratch: ball positions and summed forces, sized once.
    std::vector<b2Vec2> ballAt;
    std::vector<b2Vec2> ballForce;
    std::vector<uint8_t> ballPushed;
};

// The scene factory's entry for EventId 10.
SportEvent* CreateSwimmingEvent();

} // namespace kel
