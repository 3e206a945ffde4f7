// kelvaro-sfxgen as the build runs it: a missing or broken patch fails the run without stopping
// the other effects.
#include "effect_names.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kel::synth {
namespace {

namespace fs = std::filesystem;

TEST(Generator, MissingOrBrokenPatchFailsTheRunButTheOthersAreWritten) {
    const fs::path root = fs::temp_directory_path() / "kelvaro_sfxgen_test";
    fs::remove_all(root);
    const fs::path patches = root / "patches", out = root / "out";
    fs::create_directories(patches);
    fs::create_directories(out);
    for (const char* name : kEffectNames)
        fs::copy_file(fs::path(KELVARO_EFFECT_PATCH_DIR) / (std::string(name) + ".sfx"),
                      patches / (std::string(name) + ".sfx"));
    fs::remove(patches / "blip.sfx");
    std::ofstream(patches / "beep.sfx") << "layer sine\n  pich 1000\n";
    const std::string command = std::string("'") + KELVARO_SFXGEN + "' '" + patches.string() + "' '" + out.string() +
                                "' 2> '" + (root / "errors.txt").string() + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    std::ifstream in(root / "errors.txt");
    const std::string errors(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(errors.find("blip.sfx"), std::string::npos) << errors;
    EXPECT_NE(errors.find("beep.sfx: line 2"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(out / "blip.wav"));
    EXPECT_FALSE(fs::exists(out / "beep.wav"));
    EXPECT_TRUE(fs::exists(out / "tap1.wav"));
    fs::remove_all(root);
}

} // namespace
} // namespace kel::synth
