// kelvaro-sfxgen PATCH_DIR OUT_DIR: renders every effect of the game from its patch
// PATCH_DIR/<name>.sfx into OUT_DIR/<name>.wav (mono, 16-bit, 44.1 kHz). Any missing or
// malformed patch is reported with its line and fails the run, so a broken sound never ships.
#include "effect_names.h"
#include "patch.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool ReadText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kel::synth;
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvaro-sfxgen PATCH_DIR OUT_DIR\n");
        return 2;
    }
    const std::string patchDir = argv[1];
    const std::string outDir = argv[2];
    int failures = 0;
    for (const char* name : kEffectNames) {
        const std::string path = patchDir + "/" + name + ".sfx";
        std::string text;
        if (!ReadText(path, &text)) {
            std::fprintf(stderr, "%s: cannot read the patch\n", path.c_str());
            ++failures;
            continue;
        }
        Patch patch;
        patch.name = name;
        std::vector<std::string> errors;
        if (!ParsePatch(text, &patch, &errors)) {
            for (const std::string& e : errors)
                std::fprintf(stderr, "%s: %s\n", path.c_str(), e.c_str());
            ++failures;
            continue;
        }
        const Buffer sound = RenderPatch(patch);
        if (sound.empty()) {
            std::fprintf(stderr, "%s: the patch renders silence\n", path.c_str());
            ++failures;
            continue;
        }
        const std::string out = outDir + "/" + name + ".wav";
        if (!WriteWav(out, sound)) {
            std::fprintf(stderr, "%s: cannot write\n", out.c_str());
            ++failures;
        }
    }
    if (failures > 0) {
        std::fprintf(stderr, "kelvaro-sfxgen: %d effect(s) failed\n", failures);
        return 1;
    }
    return 0;
}
