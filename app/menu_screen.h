// The menu: the title and hub of the game. It draws the logo, the four player slots with the
// pop-up of the selected slot, the grid of event tiles, and the Play, credits and quit buttons,
// and reports the id of the button clicked; the game session decides what a click does.
//
// Positions are screen px laid out for 1024 x 768; the layout offsets of AppState keep it
// centred on another window size.
#pragma once

#include "sim/records.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

constexpr int kMenuPlayButton = 76;
constexpr int kMenuCreditsButton = 86;
constexpr int kMenuQuitButton = 87;
constexpr int kMenuFirstSlotButton = 67; // 67..70: player slots 0..3
constexpr int kMenuRemoveButton = 97;
constexpr int kMenuPickNationButton = 98;
constexpr int kMenuRandomNationButton = 99;
constexpr int kMenuPopupFrames = 240; // how long a slot click keeps the pop-up up
constexpr int kMenuLogoFrames = 120;  // frames each logo overlay stays

constexpr int kMenuGridRows = 3;
constexpr int kMenuGridColumns = 5;
// EventIds of the tiles, row by row; shot put and long jump have no tile.
inline constexpr int kMenuGrid[kMenuGridRows][kMenuGridColumns] = {
    {kEventJavelin, kEventDash, kEventEquestrian, kEventDiving, kEventRowing},
    {kEventHammer, kEventWalk, kEventArchery, kEventSwimming, kEventKayak},
    {kEventHighJump, kEventPoleVault, kEventWeightlifting, kEventRings, kEventCycling},
};

// What the menu shows of the game session's data. The pointers stay owned by the session and
// must outlive the menu; a null pointer draws that part empty (no slots, every tile included,
// no pop-up).
struct MenuSource {
    const PlayerRecord* players = nullptr;   // kPlayerCount slots
    const EventRecord* events = nullptr;     // kEventCount records
    const int32_t* selectedPlayer = nullptr; // slot whose pop-up shows, -1 none
};

class MenuScreen : public SportEvent {
  public:
    explicit MenuScreen(const MenuSource& source = MenuSource{});

    // Back to a quiet menu: no pop-up, no press in progress, no click pending.
    void Reset();

    // The cursor only (the menu has no world to grab in), the pop-up count-down and the logo
    // frame. The session updates the menu only in its menu state, so the logo stands still
    // while a panel is open over it.
    void Update() override;
    void Draw() override {}
    void DrawHud() override;
    void OnImpact() override {}

    MenuSource source;
    int32_t popupFrames = 0; // pop-up shown while above 0; may fall below 0
    int32_t logoFrame = 0;   // 0 or 1: which overlay (72 or 73) lies over the logo

  private:
    void DrawPlayerSlots(float ox, float oy);
    void DrawEventGrid(float ox, float oy);
};

// Top-left screen px of the tile of the event in grid column `column`, row `row`, for 1024 x 768.
float MenuTileX(int column);
float MenuTileY(int row);
// Top-left screen px of player slot k (0..3), for 1024 x 768.
float MenuSlotX(int slot);
float MenuSlotY(int slot);

} // namespace kel
