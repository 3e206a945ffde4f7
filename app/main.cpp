// Kelvaro: the program entry.
#include "base/app_state.h"
#include "app/shell.h"
#include "gfx/gl_frame_cache.h"
#include "gfx/renderer.h"
#include "app/frame_meter.h"
#include "platform/alloc_count.h"
#include "platform/data_root.h"
#include "platform/log.h"

#include <memory>

int main(int argc, char** argv) {
    using namespace kel;
    (void)argc;
    if (!FindDataRoot(argv[0])) return 1;
    PrefetchStartTextureSlots();
    Clock* clock = RealClock();
    StartCountingAllocations();
    gFrameMeter.allocationCount = AllocationCount;
    std::unique_ptr<Window> window(CreateSdlWindow());
    if (!window) return 1;
    if (!window->SetVideoMode(gApp.screenWidth, gApp.screenHeight, false)) {
        LogDebug("Kelvaro needs an OpenGL window of %dx%d", gApp.screenWidth, gApp.screenHeight);
        return 1;
    }
    LogDebug("Start-up: GL window %u ms", clock->Milliseconds());
    SetScreenSize(gApp.screenWidth, gApp.screenHeight);
    std::unique_ptr<GlBackend> gl(CreateOpenGlBackend());
    FrameCacheGlBackend cache(gl.get());
    SetGlBackend(&cache);
    SetFrameCache(&cache);
    StartUp(clock);
    RunFrameLoop(window.get(), clock);
    ShutDown();
    LogDebug("Frames sent %d, skipped as unchanged %d, held back in ceremonies %d", cache.framesSent,
             cache.framesSkipped, cache.framesDropped);
    SetFrameCache(nullptr);
    SetGlBackend(nullptr);
    return 0;
}
