// Input scripts for the headless runner: what the mouse and keys do, frame by frame.
//
//   F X Y B      from frame F on the mouse is at window pixel (X, Y); the left button is held
//                when B is 1 and up when B is 0. Pressed and released follow from B changing.
//   F key NAME   a key goes down in frame F and up in the next; NAME is an SDL 1.2 key symbol
//                number (0..510) or one of escape, return, space, tab, backspace, delete, up,
//                down, left, right, pageup, pagedown, a..z, f1..f12 (any case)
//   # ...        a comment (also after a line's fields)
//
// Frame 0 is the first game frame. Lines must come in frame order, and a frame has at most one
// mouse line (two would hide a click inside one frame). Positions outside the window are
// clamped to it, as the shell clamps mouse motion.
#pragma once

#include <string>
#include <vector>

namespace kel {

struct ScriptMouse {
    int frame = 0;
    int x = 0; // window px
    int y = 0;
    bool held = false;
};

struct ScriptKey {
    int frame = 0;
    int key = 0; // SDL 1.2 key symbol
};

struct InputScript {
    std::vector<ScriptMouse> mouse;
    std::vector<ScriptKey> keys;
};

// Parses script text; on failure returns false and sets *error to "line N: what is wrong".
bool ParseInputScript(const std::string& text, InputScript* script, std::string* error);

// Key symbol for a script key name, -1 when unknown.
int ScriptKeyCode(const std::string& name);

// Plays a script into the input state of gApp, one frame at a time. It keeps a reference to
// the script, which must outlive it.
class ScriptPlayer {
  public:
    explicit ScriptPlayer(const InputScript& script);
    ScriptPlayer(InputScript&&) = delete;
    // Sets mouse position, held/pressed/released and the keys of frame `frame`; frames the
    // caller skips have their lines applied at the next call. Call it after the previous frame's
    // one-shot input was cleared.
    void Apply(int frame);

  private:
    const InputScript& script;
    size_t nextMouse = 0;
    size_t nextKey = 0;
    bool wasHeld = false;
    std::vector<int> keysDown; // keys to release in the next frame
};

// Records the input the game sees, frame by frame, in the script format (for replays).
class InputRecorder {
  public:
    void Clear();
    // Call once per game frame with the frame number counted from the start of the attempt.
    void Record(int frame);
    const std::string& Text() const { return text; }

  private:
    std::string text;
    int lastX = -1;
    int lastY = -1;
    int lastHeld = -1;
};

} // namespace kel
