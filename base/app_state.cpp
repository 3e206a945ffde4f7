#include "base/app_state.h"

#include <cstring>

namespace kel {

AppState gApp;

void SetScreenSize(int width, int height) {
    gApp.screenWidth = width;
    gApp.screenHeight = height;
    gApp.screenWidthF = static_cast<float>(width);
    gApp.screenHeightF = static_cast<float>(height);
    gApp.screenCentreX = gApp.screenWidthF * 0.5f;
    gApp.screenCentreY = gApp.screenHeightF * 0.5f;
    gApp.screenOffsetX = (1024.0f - gApp.screenWidthF) * 0.5f;
    gApp.screenOffsetY = (768.0f - gApp.screenHeightF) * 0.5f;
}

void ClearFrameInput() {
    std::memset(gApp.keyPressed, 0, sizeof gApp.keyPressed);
    gApp.mousePressed = 0;
    gApp.mouseReleased = 0;
}

} // namespace kel
