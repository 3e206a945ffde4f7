#include "app/pause_screen.h"

#include "app/app_state.h"
#include "app/volume_slider.h"
#include "app/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"

namespace kel {
namespace {

constexpr float kPanelWidth = 128.0f;
constexpr float kPanelHeight = 118.0f;
constexpr float kPanelTop = 40.0f;

constexpr Colour kShadowColour = PackColour(0, 0, 0, 22);
constexpr Colour kPanelColour = PackColour(0xD6, 0xF8, 0xFF, 0xFF);
constexpr Colour kBandColour = PackColour(0xC9, 0xE9, 0xF0, 0xFF);

constexpr float kTrackY = 89.0f;

// Mouse in panel units; the pixel position is divided as an integer first.
float PanelMouseX(float panelX) {
    return static_cast<float>(gApp.mouseX / static_cast<int>(kPanelUnitPx)) - panelX;
}
float PanelMouseY(float panelY) {
    return static_cast<float>(gApp.mouseY / static_cast<int>(kPanelUnitPx)) - panelY;
}

} // namespace

PauseScreen::PauseScreen()
    : x((gApp.screenWidthF * 0.25f - kPanelWidth) * 0.5f), y(kPanelTop - 0.25f * gApp.screenOffsetY),
      width(kPanelWidth), height(kPanelHeight) {}

void PauseScreen::Reset() {
    clickedButton = -1;
    hoverButton = -1;
    volume = static_cast<float>(MusicVolume()) * 0.01f;
}

void PauseScreen::Draw() {
    hoverButton = -1;
    clickedButton = -1;
    FlushBatch();
    PushMatrix();
    ScaleMatrix(kPanelUnitPx, kPanelUnitPx);
    TranslateMatrix(x, y);
    FillRect(-4.0f, 4.0f, width + 8.0f, height, kShadowColour);
    FillRect(0.0f, 0.0f, width, height, kPanelColour);
    FillRect(3.0f, 3.0f, width - 6.0f, 22.0f, kBandColour);
    if (gApp.font != nullptr) gApp.font->Print(width / 2.0f, 10.0f, kAlignCentre, 1.0f, kBlack, "PAUSED");
    PauseButton(kPauseResumeButton, width / 2.0f, 42.0f);
    PauseButton(kPauseQuitButton, width / 2.0f, 70.0f);
    DrawSlider();
    FlushBatch();
    PopMatrix();
}

void PauseScreen::PauseButton(int id, float bx, float by) {
    const float mx = PanelMouseX(x);
    const float my = PanelMouseY(y);
    const float left = bx - SpriteAnchorX(id);
    const float top = by - SpriteAnchorY(id);
    const bool hit = left <= mx && mx < left + SpriteWidth(id) && top <= my && my < top + SpriteHeight(id);
    bool tinted = false;
    if (hit) {
        hoverButton = id;
        if (gApp.mousePressed) {
            pressedButton = id;
            PlayEffect(kSfxTap1, 100, 0, 1.0f, false);
        }
        if (pressedButton == id && gApp.mouseReleased) {
            clickedButton = id;
            pressedButton = -1;
            PlayEffect(kSfxTap1, 100, 0, 1.33f, false);
        }
        if (gApp.mouseHeld) {
            SetColourRGBA(210, 210, 210, 255);
            tinted = true;
        }
    }
    DrawSprite(id, bx, by);
    if (tinted) ResetColour();
}

void PauseScreen::DrawSlider() {
    VolumeSlider(&volume, width / 2.0f, kTrackY, PanelMouseX(x), PanelMouseY(y));
}

} // namespace kel
