// libFuzzer target: the input-script parser on arbitrary text. An accepted script is played through
// ScriptPlayer, the game's view of each frame is checked against the script's lines, and the
// text InputRecorder writes of it must parse again and play back exactly the same input.
#include "app/input_script.h"
#include "base/app_state.h"
#include "fuzz/fuzz_support.h"

namespace {

using kel::gApp;
using kel::InputScript;

// What the game sees in one frame.
struct Seen {
    int frame = 0, x = 0, y = 0;
    uint32_t held = 0, pressed = 0, released = 0;
    std::vector<int> keys; // pressed this frame, ascending
    bool operator==(const Seen&) const = default;
};

// Frame 0, every line's frame and the frame after it: only there can the input change (a key is
// let go and a press or release lasts one frame). In between the game sees the same input and
// the recorder writes nothing, so playing just these frames plays the script as the game does.
std::vector<int> FramesThatChange(const InputScript& script) {
    std::vector<int> frames = {0};
    for (const kel::ScriptMouse& m : script.mouse)
        frames.insert(frames.end(), {m.frame, m.frame + 1});
    for (const kel::ScriptKey& k : script.keys)
        frames.insert(frames.end(), {k.frame, k.frame + 1});
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

std::vector<Seen> Play(const InputScript& script, const std::vector<int>& frames, std::string* recorded) {
    gApp = kel::AppState{};
    kel::ScriptPlayer player(script);
    kel::InputRecorder recorder;
    recorder.Clear();
    std::vector<Seen> seen;
    // The script's own account of each frame in turn: its last mouse line so far and its key
    // lines of that frame.
    Seen want;
    size_t mouse = 0, key = 0;
    for (int frame : frames) {
        player.Apply(frame);
        Seen now{frame, gApp.mouseX, gApp.mouseY, gApp.mouseHeld, gApp.mousePressed, gApp.mouseReleased, {}};
        for (int k = 0; k < kel::kKeyCount; ++k) {
            // A key is held only in the frame it goes down.
            FUZZ_REQUIRE(gApp.keyHeld[k] == gApp.keyPressed[k]);
            if (gApp.keyPressed[k]) now.keys.push_back(k);
        }
        const uint32_t wasHeld = want.held;
        want.frame = frame;
        for (; mouse < script.mouse.size() && script.mouse[mouse].frame <= frame; ++mouse) {
            want.x = std::clamp(script.mouse[mouse].x, 0, gApp.screenWidth);
            want.y = std::clamp(script.mouse[mouse].y, 0, gApp.screenHeight);
            want.held = script.mouse[mouse].held ? 1 : 0;
        }
        want.pressed = want.held && !wasHeld ? 1 : 0;
        want.released = !want.held && wasHeld ? 1 : 0;
        want.keys.clear();
        for (; key < script.keys.size() && script.keys[key].frame <= frame; ++key)
            if (script.keys[key].frame == frame) want.keys.push_back(script.keys[key].key);
        std::sort(want.keys.begin(), want.keys.end());
        want.keys.erase(std::unique(want.keys.begin(), want.keys.end()), want.keys.end());
        FUZZ_REQUIRE(now == want);
        seen.push_back(now);
        recorder.Record(frame);
        kel::ClearFrameInput();
    }
    *recorded = recorder.Text();
    return seen;
}

void RequireWellFormed(const InputScript& script) {
    int last = -1;
    for (const kel::ScriptMouse& m : script.mouse)
        FUZZ_REQUIRE(m.frame > std::exchange(last, m.frame)); // one mouse line per frame, in order
    last = 0;
    for (const kel::ScriptKey& k : script.keys)
        FUZZ_REQUIRE(k.frame >= std::exchange(last, k.frame) && k.key >= 0 && k.key < kel::kKeyCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    InputScript script;
    std::string error;
    if (!kel::ParseInputScript(text, &script, &error)) {
        kel::RequireErrorNamesALine(error, "line ", text);
        return 0;
    }
    RequireWellFormed(script);
    const std::vector<int> frames = FramesThatChange(script);
    std::string recorded;
    const std::vector<Seen> seen = Play(script, frames, &recorded);

    InputScript replay;
    FUZZ_REQUIRE(kel::ParseInputScript(recorded, &replay, &error));
    RequireWellFormed(replay);
    std::string recordedAgain;
    FUZZ_REQUIRE(Play(replay, frames, &recordedAgain) == seen);
    FUZZ_REQUIRE(recordedAgain == recorded);
    return 0;
}
