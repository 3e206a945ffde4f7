// The process shell: start-up, the frame loop, input folding, screenshots, full screen and
// shutdown. The window, clock and GL are reached through their seams, so the same shell runs the
// real game and, with null backends, the headless runner and the tests.
#pragma once

#include "gfx/gl_frame_cache.h"
#include "gfx/image.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace kel {

constexpr unsigned kFrameMilliseconds = 17;  // frames are at least this far apart

// Folds one window event into the input state of gApp.
void FoldEvent(const InputEvent& event);

// Takes at most one event from the window and folds it in.
void PumpOneEvent(Window* window);

// Update then draw the game, inside one sprite batch.
void RunFrame();
// RunFrame's two halves, which the headless runner times apart.
void UpdateGameFrame();
void DrawGameFrame();

// One displayed frame: pump one event, run one game frame (two in fast mode), swap, serve the
// screenshot and full-screen requests, clear the one-frame input.
void DisplayFrame(Window* window);

// Writes the frame just swapped to screenshots/NNNN.png (the folder is created when missing).
// The frame read back for P, allocated at the window size on the first screenshot.
extern Image gScreenshotImage;

bool TakeScreenshot();

// Reapplies the GL state and reloads every texture slot (after a video-mode change).
void ResetGraphics();

void RequestQuit();

// The game's frame cache in front of its GL backend, or null (runner, tests): with one, a frame
// whose drawing equals the last one shown is neither sent nor swapped.
void SetFrameCache(FrameCacheGlBackend* cache);

// Loads sound, art, the atlas and the font and creates the game host. Needs the GL backend set.
void StartUp(Clock* clock);
void ShutDown();

// Runs frames until quit is requested; sleeps while waiting for the next frame.
void RunFrameLoop(Window* window, Clock* clock);

} // namespace kel
