// The high jump: the player sets the bar by dragging it (or waits ten seconds), the athlete, one
// upright box, runs up by itself, and the player heaves it over the bar with the mouse. Both ends
// of the body must pass the bar's plane above the bar, the bar must stay on its rest, and the
// athlete must come down beyond it. The result is the bar height minus 0.5, in metres.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class HighJumpEvent : public SportEvent {
  public:
    enum Phase : int32_t {
        kWaiting = 0,
        kSettingBar = 1,
        kRunUp = 2,
        kJump = 3,
        kLanded = 4,
        kResult = 5,
    };

    HighJumpEvent();

    void Update() override;
    bool IsTrackedBody(b2Body* body) override;
    void Draw() override;
    void DrawHud() override;

    int32_t phaseFrames = 0;      // frames since the current phase began
    b2Body* jumper = nullptr;     // the athlete box, owned by the world
    b2Body* bar = nullptr;        // the crossbar block; static until the height is set
    b2Body* mat = nullptr;        // the landing mat
    b2Body* barRest = nullptr;    // the static block the bar rests on
    float maxBarHeight = 12.5f;   // metres
    float minBarHeight = 3.0f;    // metres
    float heightOffset = 0.5f;    // metres subtracted from the bar height to give the result
    float barHeight = 5.0f;       // metres; the bar lies at y = -barHeight
    float bestHeight = 0.0f;      // metres: highest centre reached (debug log only)
    bool topCleared = false;      // the head end crossed x = 0 above the bar
    bool bottomCleared = false;   // the foot end crossed x = 0 above the bar
    float prevBottomX = -10.0f;   // metres, the ends' x on the previous frame
    float prevTopX = -10.0f;
    float lastBarSoundHeight = 5.0f; // metres, at the last "barset" click
    bool jumpSoundPlayed = false;
    int32_t stepFrame = 0;        // last running frame, 0 or 1
    int32_t releasedFrames = 0;   // consecutive jump frames with the button up
    int32_t phase = kWaiting;     // a Phase

  private:
    void StartRunUp();
    void SetBarHeight(float h);
    void MakeBarLoose();
    void UpdateJump();
    void Foul();
    void EnterPhase(int32_t next);
};

// The scene factory's entry for EventId 5.
SportEvent* CreateHighJumpEvent();

} // namespace kel
