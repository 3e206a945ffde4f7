#include "app/input_script.h"

#include "base/app_state.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace kel {
namespace {

bool ParseInt(const std::string& word, int* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000000L || v > 1000000000L) return false;
    *out = static_cast<int>(v);
    return true;
}

} // namespace

int ScriptKeyCode(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct Named {
        const char* name;
        int key;
    };
    static constexpr Named kNames[] = {
        {"backspace", 8},
        {"tab", 9},
        {"return", 13},
        {"escape", 27},
        {"space", 32},
        {"delete", 127},
        {"up", 273},
        {"down", 274},
        {"right", 275},
        {"left", 276},
        {"pageup", kKeyPageUp},
        {"pagedown", kKeyPageDown},
    };
    for (const Named& n : kNames)
        if (lower == n.name) return n.key;
    if (lower.size() == 1 && lower[0] >= 'a' && lower[0] <= 'z') return lower[0];
    // F1..F12 are SDL 1.2 symbols 282..293.
    int number = 0;
    if (lower.size() >= 2 && lower[0] == 'f' && ParseInt(lower.substr(1), &number) && number >= 1 &&
        number <= 12 && lower[1] != '+' && lower[1] != '-')
        return 281 + number;
    int code = 0;
    if (ParseInt(name, &code) && code >= 0 && code < kKeyCount) return code;
    return -1;
}

bool ParseInputScript(const std::string& text, InputScript* script, std::string* error) {
    *script = InputScript{};
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    int lastFrame = 0;
    auto fail = [&](const std::string& what) {
        *error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    int lastMouseFrame = -1;
    while (std::getline(lines, line)) {
        ++lineNumber;
        // A byte-order mark from a text editor is not part of the first line.
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string w; in >> w;)
            words.push_back(w);
        if (words.empty()) continue;
        int frame = 0;
        if (!ParseInt(words[0], &frame) || frame < 0)
            return fail("a frame number must come first: '" + words[0] + "'");
        if (frame < lastFrame)
            return fail("frame " + words[0] + " comes after frame " + std::to_string(lastFrame));
        lastFrame = frame;
        if (words.size() == 3 && words[1] == "key") {
            const int key = ScriptKeyCode(words[2]);
            if (key < 0) return fail("unknown key '" + words[2] + "'");
            script->keys.push_back({frame, key});
            continue;
        }
        int x = 0, y = 0, b = 0;
        if (words.size() != 4 || !ParseInt(words[1], &x) || !ParseInt(words[2], &y) ||
            !ParseInt(words[3], &b) || (b != 0 && b != 1))
            return fail("expected 'F X Y B' (B 0 or 1) or 'F key NAME'");
        if (frame == lastMouseFrame) return fail("frame " + words[0] + " already has a mouse line");
        lastMouseFrame = frame;
        script->mouse.push_back({frame, x, y, b == 1});
    }
    return true;
}

ScriptPlayer::ScriptPlayer(const InputScript& script) : script(script) {
    // Room for every key of a frame, so playing does not allocate.
    keysDown.reserve(16);
}

void ScriptPlayer::Apply(int frame) {
    for (int key : keysDown) {
        gApp.keyHeld[key] = 0;
    }
    keysDown.clear();
    while (nextMouse < script.mouse.size() && script.mouse[nextMouse].frame <= frame) {
        const ScriptMouse& m = script.mouse[nextMouse++];
        gApp.mouseX = m.x < 0 ? 0 : (m.x > gApp.screenWidth ? gApp.screenWidth : m.x);
        gApp.mouseY = m.y < 0 ? 0 : (m.y > gApp.screenHeight ? gApp.screenHeight : m.y);
        gApp.mouseHeld = m.held ? 1 : 0;
    }
    const bool held = gApp.mouseHeld != 0;
    gApp.mousePressed = held && !wasHeld ? 1 : 0;
    gApp.mouseReleased = !held && wasHeld ? 1 : 0;
    wasHeld = held;
    while (nextKey < script.keys.size() && script.keys[nextKey].frame <= frame) {
        const int key = script.keys[nextKey++].key;
        gApp.keyHeld[key] = 1;
        gApp.keyPressed[key] = 1;
        keysDown.push_back(key);
    }
}

void InputRecorder::Clear() {
    text.clear();
    // Room for a long attempt, so recording does not allocate while playing.
    text.reserve(1 << 16);
    lastX = lastY = lastHeld = -1;
}

void InputRecorder::Record(int frame) {
    char line[64];
    const int held = gApp.mouseHeld ? 1 : 0;
    if (gApp.mouseX != lastX || gApp.mouseY != lastY || held != lastHeld) {
        std::snprintf(line, sizeof line, "%d %d %d %d\n", frame, gApp.mouseX, gApp.mouseY, held);
        text += line;
        lastX = gApp.mouseX;
        lastY = gApp.mouseY;
        lastHeld = held;
    }
    for (int key = 0; key < kKeyCount; ++key) {
        if (!gApp.keyPressed[key]) continue;
        std::snprintf(line, sizeof line, "%d key %d\n", frame, key);
        text += line;
    }
}

} // namespace kel
