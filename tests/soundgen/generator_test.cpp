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

class Generator : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kelvaro_sfxgen_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "out");
    }
    void TearDown() override { fs::remove_all(root); }

    int Run(const fs::path& patches) {
        const std::string command = std::string("'") + KELVARO_SFXGEN + "' '" + patches.string() + "' '" +
                                    (root / "out").string() + "' 2> '" + (root / "errors.txt").string() + "'";
        const int status = std::system(command.c_str());
        return status == 0 ? 0 : 1;
    }

    std::string Errors() const {
        std::ifstream in(root / "errors.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root;
};

TEST_F(Generator, MissingOrBrokenPatchFailsTheRunButTheOthersAreWritten) {
    const fs::path patches = root / "patches";
    fs::create_directories(patches);
    for (const char* name : kEffectNames) {
        fs::copy_file(fs::path(KELVARO_EFFECT_PATCH_DIR) / (std::string(name) + ".sfx"),
                      patches / (std::string(name) + ".sfx"));
    }
    fs::remove(patches / "blip.sfx");
    std::ofstream(patches / "beep.sfx") << "layer sine\n  pich 1000\n";
    EXPECT_NE(Run(patches), 0);
    const std::string errors = Errors();
    EXPECT_NE(errors.find("blip.sfx"), std::string::npos) << errors;
    EXPECT_NE(errors.find("beep.sfx: line 2"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(root / "out" / "blip.wav"));
    EXPECT_FALSE(fs::exists(root / "out" / "beep.wav"));
    EXPECT_TRUE(fs::exists(root / "out" / "tap1.wav"));
}

} // namespace
} // namespace kel::synth
