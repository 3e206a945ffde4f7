#include "app/pause_screen.h"

#include "base/app_state.h"
#include "ceremonies/panel_controls.h"
#include "base/helpers.h"
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

float PanelMouseX(float panelX) { return PanelMouse(gApp.mouseX, kPanelUnitPx, panelX); }
float PanelMouseY(float panelY) { return PanelMouse(gApp.mouseY, kPanelUnitPx, panelY); }

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
    const bool hit = PanelButtonInput(id, bx, by, PanelMouseX(x), PanelMouseY(y), &pressedButton, &clickedButton);
    if (hit) hoverButton = id;
    const bool tinted = hit && gApp.mouseHeld;
    if (tinted) SetColourRGBA(210, 210, 210, 255);
    DrawSprite(id, bx, by);
    if (tinted) ResetColour();
}

void PauseScreen::DrawSlider() {
    VolumeSlider(&volume, width / 2.0f, kTrackY, PanelMouseX(x), PanelMouseY(y));
}

} // namespace kel
