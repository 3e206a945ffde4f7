// The runner's command line and the scene registry it consults.
#include "app/scene_registry.h"
#include "runner/runner.h"
#include "sim/sport_event.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
    const RunnerOptions& o = p.options;
    EXPECT_EQ(std::tuple(o.mode, o.scene, o.inputPath, o.seed, o.frames, o.afterFinish, o.bench),
              std::tuple(RunMode::kScene, 3, "run.txt", 4294967295u, 900, 60, true));
    ASSERT_EQ(p.options.screenshots.size(), 2u);
    EXPECT_EQ(p.options.screenshots[0].frame, 10);
    EXPECT_EQ(p.options.screenshots[0].path, "a.png");
    // Only the first colon separates the frame: the path may hold more.
    EXPECT_EQ(p.options.screenshots[1].path, "b:c.png");
}

TEST(RunnerArgs, ToolModesAndHelpWinningOverEverythingElse) {
    Parsed p = Parse({"--load-image", "art/logo", "out.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(std::tuple(p.options.mode, p.options.imagePath, p.options.imageOut),
              std::tuple(RunMode::kLoadImage, "art/logo", "out.png"));
    p = Parse({"--bogus", "--scene", "3", "-h"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, RunMode::kHelp);
    EXPECT_EQ(Parse({"--session"}).options.afterFinish, -1);
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
