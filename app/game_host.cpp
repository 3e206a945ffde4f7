#include "app/game_host.h"

#include "app/app_state.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/nations.h"

#include <cmath>

namespace kel {
namespace {

constexpr int kSpriteMenuBackdrop = 75;
constexpr int kSpriteLogo = 71;
constexpr int kSpriteCursor = 110;
constexpr int kFirstEventIcon = 14;
constexpr int kEventCount = 17;

// Until the menu exists the host shows a card of what the renderer can draw: the menu backdrop,
// the logo, every event icon, flag layers, text in each alignment and the cursor.
void DrawTestCard() {
    ClearScreen(PackColour(20, 24, 40));
    DrawSpriteScaled(kSpriteMenuBackdrop, 0.0f, 0.0f, 4.0f, 4.0f);
    DrawSprite(kSpriteLogo, 0.0f, 0.0f);
    for (int e = 0; e < kEventCount; ++e) {
        const float x = 64.0f + static_cast<float>(e % 6) * 80.0f;
        const float y = 420.0f + static_cast<float>(e / 6) * 80.0f;
        DrawSpriteScaled(kFirstEventIcon + e, x, y, 3.0f, 3.0f);
    }
    for (int c = 0; c < 12; ++c) {
        const float x = 600.0f + static_cast<float>(c % 4) * 100.0f;
        const float y = 240.0f + static_cast<float>(c / 4) * 70.0f;
        FillRect(x - 2.0f, y - 2.0f, 94.0f, 58.0f, kBlack);
        DrawCountryFlag(c * 14, x, y, 3.0f);
    }
    const float pulse = 0.5f + 0.5f * std::sin(static_cast<float>(gApp.frameCounter) * 0.1f);
    FillRect(600.0f, 480.0f, 380.0f * pulse, 12.0f, PackColour(255, 200, 40));
    if (BitmapFont* font = gApp.font) {
        font->Print(512.0f, 200.0f, kAlignCentre, 3.0f, kWhite, "RENDERER TEST CARD");
        font->Printf(600.0f, 520.0f, kAlignLeft, 2.0f, PackColour(255, 255, 0), "FRAME %d", gApp.frameCounter);
        font->Printf(980.0f, 560.0f, kAlignRight, 2.0f, PackColour(120, 255, 120), "MOUSE %d,%d", gApp.mouseX,
                     gApp.mouseY);
        font->Print(16.0f, 740.0f, kAlignLeft, 2.0f, kWhite, "P SCREENSHOT   ALT+RETURN FULL SCREEN   ALT+F4 QUIT");
    }
}

} // namespace

GameHost::GameHost() { gApp.frameCounter = 0; }

GameHost::~GameHost() = default;

void GameHost::Update() {
    ++gApp.frameCounter;
    if (gApp.keyPressed[27]) gApp.quitRequested = 1;
}

void GameHost::Draw() {
    DrawTestCard();
    DrawSprite(kSpriteCursor, static_cast<float>(gApp.mouseX), static_cast<float>(gApp.mouseY));
}

void GameHost::Save() {}

} // namespace kel
