#include "ceremonies/panel_controls.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/renderer.h"

namespace kel {
namespace {

constexpr int kKnobSprite = 101;
constexpr int kMutedSprite = 105;
constexpr int kTrackSprite = 106;
constexpr float kKnobBelowTrackTop = 13.0f; // the track line, below the track's top
constexpr float kKnobLeft = -32.0f;         // knob travel relative to the centre
constexpr float kKnobRight = 20.0f;
constexpr float kKnobHalfWidth = 6.0f; // the mouse steers the knob's middle
constexpr float kDragMargin = 32.0f;   // the slider follows this far beyond either end
constexpr float kDragAbove = 4.0f;     // the drag band around the track
constexpr float kDragBelow = 30.0f;
constexpr float kMutedBelow = 0.01f;
constexpr float kMutedOffsetX = -41.0f;
constexpr Colour kHeldTint = PackColour(210, 210, 210, 255);

} // namespace

float PanelMouse(int pixel, float unitPx, float origin) {
    return static_cast<float>(pixel / static_cast<int>(unitPx)) - origin;
}

bool PanelButtonInput(int id, float bx, float by, float mouseX, float mouseY, int* pressed, int* clicked) {
    const float left = bx - SpriteAnchorX(id);
    const float top = by - SpriteAnchorY(id);
    const bool inside =
        left <= mouseX && mouseX < left + SpriteWidth(id) && top <= mouseY && mouseY < top + SpriteHeight(id);
    if (!inside) return false;
    if (gApp.mousePressed) {
        *pressed = id;
        PlayEffect(kSfxTap1, 100, 0, 1.0f, false);
    }
    if (*pressed == id && gApp.mouseReleased) {
        *clicked = id;
        *pressed = -1;
        PlayEffect(kSfxTap1, 100, 0, 1.33f, false);
    }
    return true;
}

bool VolumeSlider(float* volume, float centreX, float trackY, float mouseX, float mouseY) {
    const float left = centreX + kKnobLeft;
    const float right = centreX + kKnobRight;
    const float knobY = trackY + kKnobBelowTrackTop;
    bool dragged = false;
    if (gApp.mouseHeld) {
        const float mx = mouseX - kKnobHalfWidth;
        if (left - kDragMargin <= mx && mx <= right + kDragMargin && trackY - kDragAbove <= mouseY &&
            mouseY <= trackY + kDragBelow) {
            *volume = Clamp((mx - left) / (right - left), 0.0f, 1.0f);
            const int percent = static_cast<int>(*volume * 100.0f);
            SetEffectsVolume(percent);
            SetMusicVolume(percent);
            dragged = true;
        }
    }
    DrawSprite(kTrackSprite, centreX, trackY);
    if (*volume < kMutedBelow) DrawSprite(kMutedSprite, centreX + kMutedOffsetX, knobY);
    if (dragged) SetColour(kHeldTint);
    DrawSprite(kKnobSprite, left + (right - left) * *volume, knobY);
    if (dragged) ResetColour();
    return dragged;
}

} // namespace kel
