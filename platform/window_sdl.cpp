#include "platform/window.h"

#include "platform/log.h"

#include <SDL.h>
#include <cstdlib>

namespace kel {
namespace {

class SdlWindow : public Window {
public:
    ~SdlWindow() override { SDL_Quit(); }

    bool SetVideoMode(int width, int height, bool fullscreen) override {
        if (!opened) {
            SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
            // Everything is drawn in painter's order: a depth or stencil buffer would only cost
            // memory (3 MiB at 1024x768 with a software renderer).
            SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
            SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        }
        const Uint32 flags = SDL_OPENGL | SDL_DOUBLEBUF | (fullscreen ? SDL_FULLSCREEN : 0);
        if (!SDL_SetVideoMode(width, height, 32, flags)) {
            LogDebug("Can't set the video mode: %s", SDL_GetError());
            return false;
        }
        if (!opened) {
            SDL_WM_SetCaption("Kelvaro", nullptr);
            SDL_ShowCursor(SDL_DISABLE);
            SDL_WM_GrabInput(SDL_GRAB_ON);
            opened = true;
        }
        return true;
    }

    bool PollEvent(InputEvent* out) override {
        SDL_Event e;
        if (!SDL_PollEvent(&e)) return false;
        *out = InputEvent{};
        switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out->type = e.type == SDL_KEYDOWN ? InputEvent::kKeyDown : InputEvent::kKeyUp;
            out->key = e.key.keysym.sym;
            out->modifiers = e.key.keysym.mod;
            break;
        case SDL_MOUSEMOTION:
            out->type = InputEvent::kMotion;
            out->x = e.motion.x;
            out->y = e.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            out->type = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::kButtonDown : InputEvent::kButtonUp;
            out->button = e.button.button;
            break;
        case SDL_QUIT:
            out->type = InputEvent::kQuit;
            break;
        default:
            out->type = InputEvent::kNone;
            break;
        }
        return true;
    }

    void SwapBuffers() override {
        // A swap of SDL's offscreen (pbuffer) surface does not flush: without this, the software
        // rasteriser keeps every frame's commands and memory grows by megabytes a second.
        if (flush == nullptr) flush = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFlush"));
        if (flush != nullptr) flush();
        SDL_GL_SwapBuffers();
    }

private:
    bool opened = false;
    void (*flush)() = nullptr;
};

} // namespace

Window* CreateSdlWindow() {
    // sdl12-compat draws a GL window through a framebuffer of its own so that it can scale it.
    // Our window is exactly the size we draw, and the extra full-screen copy would cost a
    // software renderer about a third of a core. Full screen then changes the display mode, as
    // SDL 1.2 always did. A player's own setting wins.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        LogDebug("Can't start SDL: %s", SDL_GetError());
        return nullptr;
    }
    setenv("SDL_VIDEO_CENTERED", "1", 1);
    return new SdlWindow;
}

} // namespace kel
