#include "ceremonies/credits.h"

#include "base/app_state.h"
#include "ceremonies/panel_controls.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"

namespace kel {

const char* const kCreditsRoles[kCreditsRoleCount] = {"DIRECTOR OF MARKETING", "EXECUTIVE PRODUCER",
                                                      "MUSICOLOGIST"};
const char* const kCreditsName = "THE KELVARO TEAM";

// Everything the game is built on that it did not write itself.
const char* const kCreditsThanksText = "\n\nTHANKS!\n\n\n"
                                       "SDL\n\n"
                                       "BOX2D\n\n"
                                       "OPENAL SOFT\n\n"
                                       "MPG123\n\n"
                                       "LAME\n\n"
                                       "LIBPNG\n\n"
                                       "LIBJPEG\n\n"
                                       "ZLIB\n\n";

namespace {

constexpr float kPanelWidth = 300.0f;
constexpr float kPanelHeight = 200.0f;
constexpr Colour kShadowColour = 0x16000000u;
constexpr Colour kPanelColour = 0xFFFFF8D6u;
constexpr Colour kNameColour = 0xFF858F00u;
constexpr Colour kHeldTint = PackColour(210, 210, 210, 255);

constexpr float kRoleY[kCreditsRoleCount] = {43.0f, 81.0f, 119.0f};
constexpr int kRoleButtons[kCreditsRoleCount] = {kCreditsMailButton, kCreditsWebsiteButton,
                                                 kCreditsMusicButton};
constexpr float kRoleButtonDrop = 11.0f; // units from a role title down to its button
constexpr float kTextMargin = 6.0f;
// The longest role title and the name do not both fit on one line at full size, so the names
// are printed at two thirds (2 screen px per font px), sitting on the title's baseline.
constexpr float kNameScale = 2.0f / 3.0f;
constexpr float kFontPx = 8.0f; // glyph height, font px

constexpr float kCloseInsetX = 54.0f;  // from the right edge
constexpr float kButtonInsetY = 27.0f; // from the bottom edge
constexpr float kMoreX = 6.0f;

constexpr float kTrackY = 6.0f;

constexpr float kToggleX = 8.0f;
constexpr float kToggleY = 8.0f;
constexpr float kToggleWidth = 52.0f;
constexpr float kToggleHeight = 17.0f;
constexpr Colour kToggleOnColour = 0xFFB4B4FFu;
constexpr Colour kToggleOffColour = 0xFF969696u;
constexpr int kToggleBlinkFrames = 12; // on: lit for half of every 12 frames

float PanelMouseX(float panelX) { return PanelMouse(gApp.mouseX, kCreditsUnitPx, panelX); }
float PanelMouseY(float panelY) { return PanelMouse(gApp.mouseY, kCreditsUnitPx, panelY); }

} // namespace

CreditsPanel::CreditsPanel()
    : x((gApp.screenWidthF / kCreditsUnitPx - kPanelWidth) / 2.0f),
      y((gApp.screenHeightF / kCreditsUnitPx - kPanelHeight) / 2.0f), width(kPanelWidth),
      height(kPanelHeight) {}

void CreditsPanel::Open(int arg) {
    openArg = arg;
    clicked = -1;
    hovered = -1;
    page = 0;
    volume = static_cast<float>(MusicVolume()) * 0.01f;
}

void CreditsPanel::Update() {
    if (clicked == kCreditsFastButton) gApp.fastMode = gApp.fastMode != 0 ? 0 : 1;
    if (clicked == kCreditsCloseButton && page != 0) {
        page = 0;
        clicked = -1;
    }
}

void CreditsPanel::Draw() {
    hovered = -1;
    clicked = -1;
    FlushBatch();
    PushMatrix();
    ScaleMatrix(kCreditsUnitPx, kCreditsUnitPx);
    TranslateMatrix(x, y);
    FillRect(-4.0f, 4.0f, width + 8.0f, height, kShadowColour);
    FillRect(0.0f, 0.0f, width, height, kPanelColour);
    if (page == 0) {
        DrawCreditsPage();
    } else if (gApp.font != nullptr) {
        gApp.font->Print(width / 2.0f, 6.0f, kAlignCentre, 1.0f, kBlack, kCreditsThanksText);
    }
    // On the thanks page this button leads back to the credits page (see Update).
    PanelButton(kCreditsCloseButton, width - kCloseInsetX, height - kButtonInsetY);
    FlushBatch();
    PopMatrix();
}

void CreditsPanel::DrawCreditsPage() {
    BitmapFont* font = gApp.font;
    for (int k = 0; k < kCreditsRoleCount; ++k) {
        if (font != nullptr) {
            font->Print(kTextMargin, kRoleY[k], kAlignLeft, 1.0f, kBlack, kCreditsRoles[k]);
            font->Print(width - kTextMargin, kRoleY[k] + kFontPx * (1.0f - kNameScale), kAlignRight,
                        kNameScale, kNameColour, kCreditsName);
        }
        PanelButton(kRoleButtons[k], width / 2.0f, kRoleY[k] + kRoleButtonDrop);
    }
    PanelButton(kCreditsMoreButton, kMoreX, height - kButtonInsetY);
    DrawSlider();
    DrawFastToggle();
}

void CreditsPanel::PanelButton(int id, float bx, float by) {
    if (!PanelButtonInput(id, bx, by, PanelMouseX(x), PanelMouseY(y), &pressed, &clicked)) {
        DrawSpriteScaled(id, bx, by, 1.0f, 1.0f);
        return;
    }
    hovered = id;
    SetColour(kHeldTint);
    DrawSpriteScaled(id, bx, by, 1.0f, 1.0f);
    ResetColour();
}

void CreditsPanel::DrawSlider() {
    VolumeSlider(&volume, width / 2.0f, kTrackY, PanelMouseX(x), PanelMouseY(y));
}

void CreditsPanel::DrawFastToggle() {
    Colour fill = kToggleOffColour;
    if (gApp.fastMode != 0)
        fill = gApp.frameCounter % kToggleBlinkFrames < kToggleBlinkFrames / 2 ? kToggleOnColour : kWhite;
    FillRect(kToggleX, kToggleY, kToggleWidth, kToggleHeight, fill);
    PanelButton(kCreditsFastButton, 6.0f, 6.0f);
}

} // namespace kel
