// The window and its event queue. The game uses SDL 1.2 with an OpenGL context; tests and the
// headless runner use a null window fed by a script.
#pragma once

#include <cstdint>

namespace kel {

// One window event in SDL 1.2 terms: key symbols and modifier bits are SDL 1.2's numbers.
struct InputEvent {
    enum Type { kNone, kKeyDown, kKeyUp, kMotion, kButtonDown, kButtonUp, kQuit };
    Type type = kNone;
    int key = 0;       // SDL 1.2 key symbol
    int modifiers = 0; // SDL 1.2 KMOD_* bits
    int x = 0;         // motion position, window px
    int y = 0;
    int button = 0;    // 1 left, 2 middle, 3 right, 4 wheel up, 5 wheel down
};

constexpr int kModLeftAlt = 0x0100;
constexpr int kModRightAlt = 0x0200;
constexpr int kModAlt = kModLeftAlt | kModRightAlt;
constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyF4 = 285;
constexpr int kKeyF5 = 286;
constexpr int kKeyF7 = 288;

class Window {
public:
    virtual ~Window() = default;
    // Opens (or re-opens with another mode) a window with a GL context; false on failure.
    virtual bool SetVideoMode(int width, int height, bool fullscreen) = 0;
    // Takes one waiting event; false when the queue is empty.
    virtual bool PollEvent(InputEvent* event) = 0;
    virtual void SwapBuffers() = 0;
};

// SDL 1.2: caption "Kelvaro", centred, system cursor hidden, input grabbed. Null if SDL can't start.
Window* CreateSdlWindow();

// No window; events come from Push.
class NullWindow : public Window {
public:
    bool SetVideoMode(int, int, bool) override { return true; }
    bool PollEvent(InputEvent* event) override {
        if (head == tail) return false;
        *event = queue[head];
        head = (head + 1) % kCapacity;
        return true;
    }
    void SwapBuffers() override {}
    bool Push(const InputEvent& event) {
        const int next = (tail + 1) % kCapacity;
        if (next == head) return false;
        queue[tail] = event;
        tail = next;
        return true;
    }

private:
    static constexpr int kCapacity = 256;
    InputEvent queue[kCapacity] = {};
    int head = 0;
    int tail = 0;
};

} // namespace kel
