#include "app/menu_screen.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "app/scene_registry.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/nations.h"

namespace kel {
namespace {

constexpr int kBackdropSprite = 75;
constexpr int kLogoSprite = 71;
constexpr int kLogoOverlaySprite = 72; // 72 and 73 take turns
constexpr int kGridCaptionSprite = 96;
constexpr int kExcludedMarkSprite = 12;

constexpr float kBackdropScale = 4.0f;
constexpr float kLogoY = 4.0f;
constexpr float kCaptionX = 293.0f;
constexpr float kCaptionY = 350.0f;
constexpr float kButtonScale = 3.0f;
constexpr float kPlayX = 700.0f;
constexpr float kPlayY = 594.0f;

// Player slots in px; a slot badge or flag is 30 x 18 art px shown 4 times.
constexpr float kSlotX[kPlayerCount] = {676.0f, 816.0f, 616.0f, 756.0f};
constexpr float kSlotY[kPlayerCount] = {236.0f, 272.0f, 324.0f, 360.0f};
constexpr float kSlotScale = 4.0f;
constexpr float kSlotWidth = 120.0f;
constexpr float kSlotHeight = 72.0f;
constexpr Colour kSlotHoverShade = PackColour(0, 0, 0, 25);

// The pop-up band sits on top of the selected slot, from the screen's left edge.
constexpr float kPopupHeight = 42.0f;
constexpr float kPopupRightPad = 130.0f;
constexpr Colour kPopupColour = PackColour(0x48, 0x9F, 0xAB, 0xFF);
constexpr float kPopupNameScale = 3.0f;

// Event tiles: 22 x 22 art px icons shown 4 times, skewed alternately down and up.
constexpr float kTileColumnX[kMenuGridColumns] = {64.0f, 158.0f, 252.0f, 346.0f, 440.0f};
constexpr float kTileRowY[kMenuGridRows] = {408.0f, 502.0f, 596.0f};
constexpr float kTileScale = 4.0f;
constexpr float kTileSkew = 28.0f; // px the icon's right edge drops (odd columns: rises)
constexpr float kMarkScale = 2.0f;

bool SlotActive(const MenuSource& source, int k) {
    return source.players != nullptr && source.players[k].active != 0;
}

bool EventIncluded(const MenuSource& source, int eventId) {
    return source.events == nullptr || source.events[eventId].included != 0;
}

} // namespace

float MenuTileX(int column) {
    return kTileColumnX[ClampInt(column, 0, kMenuGridColumns - 1)];
}
float MenuTileY(int row) {
    return kTileRowY[ClampInt(row, 0, kMenuGridRows - 1)];
}
float MenuSlotX(int slot) {
    return kSlotX[ClampInt(slot, 0, kPlayerCount - 1)];
}
float MenuSlotY(int slot) {
    return kSlotY[ClampInt(slot, 0, kPlayerCount - 1)];
}

MenuScreen::MenuScreen(const MenuSource& menuSource) : SportEvent(kSceneMenu), source(menuSource) {
    Reset();
}

void MenuScreen::Reset() {
    popupFrames = 0;
    clickedButton = -1;
    pressedButton = -1;
    pressFrames = 0;
}

void MenuScreen::Update() {
    UpdateCursor();
    popupFrames -= 1;
    logoFrame = (gApp.frameCounter / kMenuLogoFrames) % 2;
}

void MenuScreen::DrawHud() {
    const float ox = gApp.screenOffsetX;
    const float oy = gApp.screenOffsetY;
    DrawSpriteScaled(kBackdropSprite, -ox, -oy, kBackdropScale, kBackdropScale);
    DrawSprite(kLogoSprite, -ox, kLogoY - oy);
    DrawSprite(kLogoOverlaySprite + logoFrame, -ox, kLogoY - oy);
    DrawSpriteScaled(kGridCaptionSprite, kCaptionX - ox, kCaptionY - oy, kButtonScale, kButtonScale);
    HudButton(kMenuPlayButton, kPlayX - ox, kPlayY - oy, kButtonScale);
    DrawPlayerSlots(ox, oy);
    DrawEventGrid(ox, oy);
    HudButton(kMenuQuitButton, gApp.screenWidthF - 48.0f, 0.0f, kButtonScale);
    HudButton(kMenuCreditsButton, gApp.screenWidthF - 96.0f, 0.0f, kButtonScale);
}

void MenuScreen::DrawPlayerSlots(float ox, float oy) {
    const int selected = source.selectedPlayer != nullptr ? *source.selectedPlayer : -1;
    for (int k = 0; k < kPlayerCount; ++k) {
        const float x = kSlotX[k] - ox;
        const float y = kSlotY[k] - oy;
        const int button = kMenuFirstSlotButton + k;
        const bool hovered = HitButton(button, x, y, kSlotScale);
        const bool active = SlotActive(source, k);
        if (active) {
            DrawFlag(source.players[k].nation, x, y, kSlotScale);
        } else {
            DrawSpriteScaled(button, x, y, kSlotScale, kSlotScale);
        }
        if (hovered) FillRect(x, y, kSlotWidth, kSlotHeight, kSlotHoverShade);
        if (k != selected || popupFrames <= 0) continue;
        // The band always starts at the window's left edge, whatever the layout offset.
        FillRect(0.0f, y - kPopupHeight, x + kPopupRightPad, kPopupHeight, kPopupColour);
        if (active && gApp.font != nullptr) {
            gApp.font->Print(x - 8.0f, y - 30.0f, kAlignRight, kPopupNameScale, kWhite,
                             source.players[k].nation.name);
        }
        HudButton(kMenuRemoveButton, x + 92.0f, y - kPopupHeight, kButtonScale);
        HudButton(kMenuRandomNationButton, x + 42.0f, y - kPopupHeight, kButtonScale);
        HudButton(kMenuPickNationButton, x - 8.0f, y - kPopupHeight, kButtonScale);
    }
}

// A tile whose scene is not built yet shows the excluded mark and takes no clicks, so the menu
// never offers an event the game cannot play.
void MenuScreen::DrawEventGrid(float ox, float oy) {
    for (int row = 0; row < kMenuGridRows; ++row) {
        for (int column = 0; column < kMenuGridColumns; ++column) {
            const int eventId = kMenuGrid[row][column];
            const int icon = EventIconSprite(eventId);
            const float x = kTileColumnX[column] - ox;
            const float y = kTileRowY[row] - oy;
            const float skew = column % 2 == 0 ? kTileSkew : -kTileSkew;
            DrawSpriteSkewed(icon, x, y - skew / 2.0f, skew, kTileScale, kTileScale);
            const bool built = SceneBuilt(eventId);
            if (built && HitButton(icon, x, y, kTileScale)) {
                SetColourRGBA(200, 200, 200, 255);
                DrawSpriteSkewed(icon, x, y - skew / 2.0f, skew, kTileScale, kTileScale);
                ResetColour();
            }
            if (!built || !EventIncluded(source, eventId))
                DrawSpriteScaled(kExcludedMarkSprite, x + 70.0f, y + 64.0f + skew / 2.0f, kMarkScale,
                                 kMarkScale);
        }
    }
}

} // namespace kel
