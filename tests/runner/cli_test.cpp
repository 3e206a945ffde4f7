// kelvaro-sim as a program: exit codes and messages, determinism, the session, --atlas,
// --load-image, --screenshot and --bench. Each run gets a fresh working folder; the runner finds
// art/ and sound/ beside itself in the build tree.
#include "app/menu_screen.h"
#include "app/scene_registry.h"
#include "gfx/image.h"
#include "sim/records.h"
#include "runner/runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kel {
namespace {

struct SimRun {
    int code = -1;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SimCli : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaro-sim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string Path(const std::string& name) const { return folder + "/" + name; }
    static void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    // `env` is put before the command, e.g. to set a variable for one run.
    SimRun Sim(const std::string& args, const std::string& env = "") const {
        const std::string command = "cd '" + folder + "' && " + env + " '" KELVARO_SIM "' " + args + " >'" +
                                    Path(".out") + "' 2>'" + Path(".err") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(Path(".out")), ReadFile(Path(".err"))};
    }

    std::string folder;
};

TEST_F(SimCli, BadArgumentsScriptsAndImagesExitWithACodeAndSayWhat) {
    WriteFile(Path("bad.txt"), "# grab\n0 100 100 0\n5 100 100\n");
    WriteFile(Path("late.txt"), "10 key escape\n4 1 1 0\n");
    WriteFile(Path("broken.png"), "\x89PNG\r\n\x1a\n not really");
    std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"--scene 99", 2, "scene 99"},
        {"--session --frames none", 2, "'none'"},
        {"", 2, "usage"},
        {"--session --input bad.txt", 2, "bad.txt: line 3:"},
        {"--session --input late.txt", 2, "late.txt: line 2:"},
        {"--session --input missing.txt", 2, "can't read the input script missing.txt"},
        {"--load-image nothing.png none.png", 1, "can't load the image nothing.png"},
        {"--load-image broken.png none.png", 1, "can't load the image broken.png"}};
    for (int id = 0; id < kSceneIdCount; ++id) {
        if (RunnableSceneId(id) && !SceneBuilt(id)) {
            cases.emplace_back("--scene " + std::to_string(id), 2,
                               "scene " + std::to_string(id) + " is not built yet");
            break;
        }
    }
    for (const auto& [args, code, message] : cases) {
        const SimRun r = Sim(args);
        EXPECT_EQ(r.code, code) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_NE(access(Path("none.png").c_str(), F_OK), 0);
}

// The dash's tile (second column of the first row) opens its card; Play, at the bottom right, a
// competition that opens with the ceremonies. Escape leaves either for the menu, and on the menu
// quits: the frame that asked to quit is completed, no further one runs, and the records are saved.
TEST_F(SimCli, SessionOpensCardsAndCompetitionsAndEscapeLeavesThemOrQuits) {
    const std::string tile = std::to_string(static_cast<int>(MenuTileX(1)) + 40) + " " +
                             std::to_string(static_cast<int>(MenuTileY(0)) + 40);
    WriteFile(Path("dash.txt"), "0 10 10 0\n10 " + tile + " 1\n12 " + tile + " 0\n20 key escape\n");
    WriteFile(Path("play.txt"), "0 10 10 0\n10 820 635 1\n12 820 635 0\n40 key escape\n");
    WriteFile(Path("quit.txt"), "0 300 300 0\n12 400 300 1\n14 400 300 0\n30 key escape\n");
    const struct {
        const char* args;
        const char* want;
    } cases[] = {{"--session --frames 18 --input dash.txt", "\"state\":2"},
                 {"--session --frames 40 --input dash.txt", "\"quit\":false,\"state\":1"},
                 {"--session --frames 30 --input play.txt", "\"state\":7,\"scene\":20"},
                 {"--session --frames 60 --input play.txt", "\"quit\":false,\"state\":1,\"scene\":20"},
                 {"--session --frames 600 --input quit.txt", "\"frames\":31,\"quit\":true,\"state\":1"}};
    for (const auto& c : cases) {
        const SimRun r = Sim(c.args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(c.want), std::string::npos) << c.args << ": " << r.out;
    }
    EXPECT_EQ(ReadFile(Path("records.rec")).size(), kRecordsFileBytes);
}

TEST_F(SimCli, EveryBuiltSceneIsDeterministic) {
    WriteFile(Path("grab.txt"), "0 512 384 0\n30 512 384 1\n60 700 200 1\n90 700 200 0\n");
    int played = 0;
    for (int id = 0; id < kSceneIdCount; ++id) {
        if (!RunnableSceneId(id) || !SceneBuilt(id)) continue;
        const std::string args = "--scene " + std::to_string(id) + " --frames 600 --input grab.txt";
        const SimRun a = Sim(args);
        const SimRun b = Sim(args);
        ASSERT_EQ(a.code, 0) << id << ": " << a.err;
        EXPECT_EQ(a.out, b.out) << id;
        EXPECT_NE(a.out.find("\"worldHash\":\""), std::string::npos) << a.out;
        ++played;
    }
    if (played == 0) GTEST_SKIP() << "no scene is built yet";
}

// The starter's delay before the gun is drawn from the generator; a session too gives the same
// bytes for the same script and seed.
TEST_F(SimCli, TheSeedReachesTheSceneAndEqualSessionsGiveEqualBytes) {
    if (!SceneBuilt(kEventDash)) GTEST_SKIP() << "the 100 m dash is not built";
    WriteFile(Path("start.txt"), "0 512 384 0\n5 512 384 1\n6 512 384 0\n");
    const SimRun one = Sim("--scene 3 --input start.txt --frames 200 --seed 1");
    ASSERT_EQ(one.code, 0) << one.err;
    const auto hash = [](const std::string& out) { return out.substr(out.find("\"worldHash\"")); };
    EXPECT_NE(hash(one.out), hash(Sim("--scene 3 --input start.txt --frames 200 --seed 2").out));
    WriteFile(Path("play.txt"), "0 10 10 0\n5 500 400 1\n40 600 300 1\n41 600 300 0\n90 key space\n");
    const SimRun a = Sim("--session --frames 150 --seed 77 --input play.txt");
    ASSERT_EQ(a.code, 0) << a.err;
    EXPECT_EQ(a.out, Sim("--session --frames 150 --seed 77 --input play.txt").out);
    EXPECT_NE(a.out.find("\"seed\":77"), std::string::npos) << a.out;
}

// The image is read by base name, as the game names its art, and written upright. The GL driver
// keeps allocations it never frees, so the screenshot runs without leak checking.
TEST_F(SimCli, LoadImageWritesUprightAndAScreenshotIsWrittenOrItsLateFrameSaid) {
    Image source(3, 2);
    for (int i = 0; i < 6; ++i)
        source.pixels[i] = 0x80000000u | (0x102030u * static_cast<uint32_t>(i + 1));
    ASSERT_TRUE(WritePng(Path("in.png").c_str(), source));
    ASSERT_EQ(Sim("--load-image in out.png").code, 0);
    std::unique_ptr<Image> in(LoadImage(Path("in.png").c_str())), out(LoadImage(Path("out.png").c_str()));
    ASSERT_TRUE(in && out && out->width == 3 && out->height == 2);
    EXPECT_TRUE(std::equal(out->pixels, out->pixels + 6, in->pixels));

    const std::string noLeaks = "ASAN_OPTIONS=detect_leaks=0";
    const SimRun r = Sim("--session --frames 3 --screenshot 1:shot.png", noLeaks);
    if (r.code == 1 && r.err.find("OpenGL context") != std::string::npos) GTEST_SKIP() << r.err;
    ASSERT_EQ(r.code, 0) << r.err;
    std::unique_ptr<Image> shot(LoadImage(Path("shot.png").c_str()));
    ASSERT_TRUE(shot && shot->width == 1024 && shot->height == 768);
    EXPECT_LT(std::count(shot->pixels, shot->pixels + 1024 * 768, shot->pixels[0]), 1024 * 768);
    const SimRun late = Sim("--session --frames 3 --screenshot 10:late.png", noLeaks);
    EXPECT_EQ(late.code, 1);
    EXPECT_NE(late.err.find("ended before frame 10"), std::string::npos) << late.err;
}

TEST_F(SimCli, SessionRunsItsFramesWithoutInputAndBenchKeepsStdoutTheSame) {
    const SimRun plain = Sim("--session --frames 90");
    ASSERT_EQ(plain.code, 0) << plain.err;
    // The game starts on the menu (state 1) with no scene created yet.
    const char* start = R"({"session":true,"seed":1,"frames":90,"quit":false,"state":1,"scene":null)";
    EXPECT_EQ(plain.out.rfind(start, 0), 0u) << plain.out;
    EXPECT_EQ(plain.out.back(), '\n');
    const SimRun bench = Sim("--session --frames 90 --bench");
    ASSERT_EQ(bench.code, 0) << bench.err;
    EXPECT_EQ(plain.out, bench.out);
    EXPECT_NE(bench.err.find("bench: 90 frames"), std::string::npos) << bench.err;
    // Sanitizer builds have their own allocator and say that they do not count.
    const bool counted = bench.err.find("in 30 frames") != std::string::npos;
    const bool notCounted = bench.err.find("heap allocations not counted in this build") != std::string::npos;
    EXPECT_TRUE(counted != notCounted) << bench.err;
}

} // namespace
} // namespace kel
