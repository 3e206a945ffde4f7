// Kelvaro: the program entry.
#include "base/app_state.h"
#include "app/shell.h"
#include "gfx/renderer.h"
#include "platform/data_root.h"
#include "platform/log.h"

#include <memory>

int main(int argc, char** argv) {
    using namespace kel;
    (void)argc;
    if (!FindDataRoot(argv[0])) return 1;
    std::unique_ptr<Window> window(CreateSdlWindow());
    if (!window) return 1;
    if (!window->SetVideoMode(gApp.screenWidth, gApp.screenHeight, false)) {
        LogDebug("Kelvaro needs an OpenGL window of %dx%d", gApp.screenWidth, gApp.screenHeight);
        return 1;
    }
    SetScreenSize(gApp.screenWidth, gApp.screenHeight);
    gScreenshotImage.Allocate(gApp.screenWidth, gApp.screenHeight);
    std::unique_ptr<GlBackend> gl(CreateOpenGlBackend());
    SetGlBackend(gl.get());
    Clock* clock = RealClock();
    StartUp(clock);
    RunFrameLoop(window.get(), clock);
    ShutDown();
    SetGlBackend(nullptr);
    return 0;
}
