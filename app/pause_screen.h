// The pause screen: a small panel over a running scene with Resume (93), Quit to the menu (90)
// and a volume slider for music and effects together. It draws itself, detects its clicks and
// reports them in `clickedButton`; the game session decides what they do.
//
// Everything is in panel units of 4 screen px.
#pragma once

#include <cstdint>

namespace kel {

constexpr int kPauseResumeButton = 93;
constexpr int kPauseQuitButton = 90;
constexpr float kPanelUnitPx = 4.0f; // screen px per panel unit

class PauseScreen {
  public:
    // Centred horizontally, 40 units from the top of a 1024 x 768 layout.
    PauseScreen();

    // When the session opens the screen: no click pending, the slider at the music volume.
    void Reset();

    // Called after everything else while the session is paused: draws the panel, sets
    // hoverButton and clickedButton for this frame and moves the slider while it is dragged.
    void Draw();

    float x = 0.0f; // top-left corner, panel units
    float y = 0.0f;
    float width = 128.0f;
    float height = 118.0f;
    float volume = 1.0f; // slider 0..1
    int32_t hoverButton = -1;
    int32_t pressedButton = -1;
    int32_t clickedButton = -1;

  private:
    void PauseButton(int id, float bx, float by);
    void DrawSlider();
};

} // namespace kel
