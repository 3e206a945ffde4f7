// The runner's command line and the scene registry it consults.
#include "app/scene_registry.h"
#include "runner/runner.h"
#include "sim/sport_event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kel {
namespace {

struct Parsed {
    bool ok = false;
    RunnerOptions options;
    std::string error;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "kelvaro-sim");
    Parsed p;
    p.ok = ParseRunnerArgs(static_cast<int>(args.size()), args.data(), &p.options, &p.error);
    return p;
}

TEST(RunnerArgs, SceneRunWithEveryOption) {
    const Parsed p =
        Parse({"--scene", "3", "--input", "run.txt", "--seed", "4294967295", "--frames", "900",
               "--after-finish", "60", "--screenshot", "10:a.png", "--screenshot", "0:b:c.png", "--bench"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, RunMode::kScene);
    EXPECT_EQ(p.options.scene, 3);
    EXPECT_EQ(p.options.inputPath, "run.txt");
    EXPECT_EQ(p.options.seed, 4294967295u);
    EXPECT_EQ(p.options.frames, 900);
    EXPECT_EQ(p.options.afterFinish, 60);
    ASSERT_EQ(p.options.screenshots.size(), 2u);
    EXPECT_EQ(p.options.screenshots[0].frame, 10);
    EXPECT_EQ(p.options.screenshots[0].path, "a.png");
    // Only the first colon separates the frame: the path may hold more.
    EXPECT_EQ(p.options.screenshots[1].path, "b:c.png");
    EXPECT_TRUE(p.options.bench);
}

TEST(RunnerArgs, ToolModesAndHelpWinningOverEverythingElse) {
    const struct {
        std::vector<const char*> args;
        RunMode mode;
    } cases[] = {{{"--atlas"}, RunMode::kAtlas},
                 {{"--load-image", "art/logo", "out.png"}, RunMode::kLoadImage},
                 {{"--session"}, RunMode::kSession},
                 {{"--bogus", "--scene", "3", "-h"}, RunMode::kHelp}};
    for (const auto& c : cases) {
        const Parsed p = Parse(c.args);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.options.mode, c.mode) << c.args[0];
        EXPECT_EQ(p.options.afterFinish, -1);
    }
    const Parsed image = Parse({"--load-image", "art/logo", "out.png"});
    EXPECT_EQ(image.options.imagePath, "art/logo");
    EXPECT_EQ(image.options.imageOut, "out.png");
}

TEST(RunnerArgs, ErrorsSayWhatIsWrong) {
    struct Case {
        std::vector<const char*> args;
        const char* mention;
    };
    const Case cases[] = {{{}, "--scene ID, --session"},
                          {{"--scene"}, "--scene needs a value"},
                          {{"--scene", "x"}, "'x'"},
                          {{"--scene", "17"}, "scene 17"},
                          {{"--scene", "18"}, "scene 18"},
                          {{"--scene", "-1"}, "scene -1"},
                          {{"--scene", "22"}, "scene 22"},
                          {{"--scene", "1", "--session"}, "cannot be combined"},
                          {{"--session", "--frames", "0"}, "--frames"},
                          {{"--session", "--frames", "12abc"}, "'12abc'"},
                          {{"--session", "--seed", "-3"}, "--seed"},
                          {{"--session", "--seed", "4294967296"}, "--seed"},
                          {{"--session", "--screenshot", "5"}, "FRAME:PATH"},
                          {{"--session", "--screenshot", "5:"}, "FRAME:PATH"},
                          {{"--session", "--screenshot", "x:a.png"}, "FRAME:PATH"},
                          {{"--session", "--after-finish", "5"}, "--after-finish goes with --scene"},
                          {{"--session", "--input"}, "--input needs a value"},
                          {{"--session", "--fast"}, "'--fast'"},
                          {{"--atlas", "--frames", "5"}, "go with --scene or --session"},
                          {{"--atlas", "--seed", "1"}, "go with --scene or --session"},
                          {{"--load-image", "a.png"}, "PATH and OUT"}};
    for (const Case& c : cases) {
        const Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.mention;
        EXPECT_NE(p.error.find(c.mention), std::string::npos) << "error: " << p.error;
    }
}

TEST(RunnerArgs, PlayableSceneIdsAndTheRegistryCreatesBuiltScenesWithTheirId) {
    for (int id = -1; id <= kSceneIdCount; ++id) {
        EXPECT_EQ(RunnableSceneId(id), (id >= 0 && id <= 16) || (id >= 19 && id <= 21)) << id;
        SportEvent* scene = CreateSceneById(id);
        EXPECT_EQ(scene != nullptr, SceneBuilt(id)) << id;
        EXPECT_TRUE(RunnableSceneId(id) || !SceneBuilt(id)) << id;
        EXPECT_TRUE(scene == nullptr || scene->eventId == id) << id;
        delete scene;
    }
    EXPECT_FALSE(RunnableSceneId(1000));
}

} // namespace
} // namespace kel
