// AppState: the one block of process-wide state that every layer shares: the window size, the
// input of the current frame, the display toggles and the volumes. The shell writes the window
// and input fields; every subsystem reads them. The renderer keeps its own state (gfx/renderer.h).
#pragma once

#include <cstdint>

namespace kel {

class GameHost;
class GameSession;
class BitmapFont;

constexpr int kKeyCount = 511;  // indexed by SDL 1.2 key symbol
constexpr int kKeyPageUp = 280;    // mouse wheel up arrives as this key
constexpr int kKeyPageDown = 281;  // mouse wheel down arrives as this key

struct AppState {
    int screenWidth = 1024;
    int screenHeight = 768;
    float screenWidthF = 1024.0f;
    float screenHeightF = 768.0f;
    float screenCentreX = 512.0f;
    float screenCentreY = 384.0f;
    float screenOffsetX = 0.0f;  // (1024 - width) / 2: layouts made for 1024 x 768 subtract it
    float screenOffsetY = 0.0f;

    uint8_t keyHeld[kKeyCount] = {};
    uint8_t keyPressed[kKeyCount] = {};  // the frame a key went down; cleared every frame
    int mouseX = 0;                      // window px, origin top-left
    int mouseY = 0;
    uint32_t mouseHeld = 0;      // left button only
    uint32_t mousePressed = 0;   // went down this frame
    uint32_t mouseReleased = 0;  // went up this frame

    uint8_t quitRequested = 0;
    uint8_t fullscreenToggleRequested = 0;
    uint8_t fullscreen = 0;
    uint8_t fastMode = 0;  // two game frames per displayed frame

    uint8_t showButtons = 1;
    uint8_t showText = 1;
    uint8_t showBars = 1;

    int frameCounter = 0;  // global animation clock, +1 per GameSession update
    int screenshotCounter = 0;

    GameHost* gameHost = nullptr;
    GameSession* gameSession = nullptr;
    BitmapFont* font = nullptr;
};

extern AppState gApp;

// Sets the screen size and the float copies, centres and layout offsets derived from it.
void SetScreenSize(int width, int height);

// Clears the input arrays and flags that hold for exactly one frame.
void ClearFrameInput();

} // namespace kel
