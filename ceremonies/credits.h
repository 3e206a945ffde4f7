// The credits panel of the menu: who made the game, a thanks page for the libraries and tools
// it is built on, a volume slider for music and effects together and the double-speed toggle.
// It is not a scene: no world, no virtual operations. It draws itself in screen space at 3 px
// per panel unit and reports clicks in `clicked`; the game session decides what 81 (close) and
// 89 (next page) do, the panel itself handles the toggle and the way back from the thanks page.
#pragma once

#include <cstdint>

namespace kel {

constexpr int kCreditsCloseButton = 81;
constexpr int kCreditsMoreButton = 89;
constexpr int kCreditsFastButton = 92;
constexpr int kCreditsWebsiteButton = 107;
constexpr int kCreditsMusicButton = 108;
constexpr int kCreditsMailButton = 109;
constexpr float kCreditsUnitPx = 3.0f; // screen px per panel unit

// The text of the thanks page: a title, then each thanked name followed by two line breaks.
extern const char* const kCreditsThanksText;

// The name credited beside each role title, and the role titles themselves.
constexpr int kCreditsRoleCount = 3;
extern const char* const kCreditsRoles[kCreditsRoleCount];
extern const char* const kCreditsName;

class CreditsPanel {
  public:
    // Centred on the screen, credits page first.
    CreditsPanel();

    // Shows the credits page with the slider at the music volume; `arg` is kept for the caller.
    void Open(int arg);

    // Acts on last drawing's click: 92 flips double speed; 81 on the thanks page goes back to
    // the credits page and is consumed, so the session sees no close.
    void Update();

    // The session's "next page" (button 89); any page but 0 is the thanks page.
    void NextPage() { page += 1; }
    bool OnThanksPage() const { return page != 0; }

    // Draws the panel and performs its hit tests and slider drag for the next Update.
    void Draw();

    int32_t page = 0; // 0 credits, anything else thanks
    float x = 0.0f;   // origin, panel units
    float y = 0.0f;
    float width = 300.0f;
    float height = 200.0f;
    int32_t openArg = 0;
    float volume = 1.0f; // slider 0..1
    int32_t hovered = -1;
    int32_t pressed = -1;
    int32_t clicked = -1;

  private:
    void PanelButton(int id, float bx, float by);
    void DrawCreditsPage();
    void DrawSlider();
    void DrawFastToggle();
};

} // namespace kel
