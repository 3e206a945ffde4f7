// The runner's command line and the scene registry it consults.
#include "app/scene_registry.h"
#include "runner/runner.h"
#include "sim/sport_event.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
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

// The words of `line` as the runner's arguments.
Parsed Parse(const std::string& line) {
    std::istringstream in(line);
    const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    std::vector<const char*> args = {"kelvaro-sim"};
    for (const std::string& word : words)
        args.push_back(word.c_str());
    Parsed p;
    p.ok = ParseRunnerArgs(static_cast<int>(args.size()), args.data(), &p.options, &p.error);
    return p;
}

TEST(RunnerArgs, SceneRunWithEveryOptionAndHelpWinningOverEverythingElse) {
    const Parsed p = Parse("--scene 3 --input run.txt --seed 4294967295 --frames 900 --after-finish 60 "
                           "--screenshot 10:a.png --screenshot 0:b:c.png --bench");
    ASSERT_TRUE(p.ok) << p.error;
    const RunnerOptions& o = p.options;
    EXPECT_EQ(std::tuple(o.mode, o.scene, o.inputPath, o.seed, o.frames, o.afterFinish, o.bench),
              std::tuple(RunMode::kScene, 3, "run.txt", 4294967295u, 900, 60, true));
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(std::tuple(o.screenshots[0].frame, o.screenshots[0].path), std::tuple(10, "a.png"));
    EXPECT_EQ(o.screenshots[1].path, "b:c.png") << "only the first colon separates the frame";
    const Parsed help = Parse("--bogus --scene 3 -h");
    EXPECT_TRUE(help.ok && help.options.mode == RunMode::kHelp) << "help wins over everything else";
    EXPECT_EQ(Parse("--session").options.afterFinish, -1);
}

TEST(RunnerArgs, ErrorsSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "--scene ID, --session"},        {"--scene", "--scene needs a value"},
        {"--scene x", "'x'"},                 {"--scene 17", "scene 17"},
        {"--scene 18", "scene 18"},           {"--scene -1", "scene -1"},
        {"--scene 22", "scene 22"},           {"--scene 1 --session", "cannot be combined"},
        {"--session --frames 0", "--frames"}, {"--session --frames 12abc", "'12abc'"},
        {"--session --seed -3", "--seed"},    {"--session --seed 4294967296", "--seed"},
        {"--session --screenshot 5", "FRAME:PATH"},
        {"--session --screenshot 5:", "FRAME:PATH"},
        {"--session --screenshot x:a.png", "FRAME:PATH"},
        {"--session --after-finish 5", "--after-finish goes with --scene"},
        {"--session --input", "--input needs a value"},
        {"--session --fast", "'--fast'"},
        {"--atlas --frames 5", "go with --scene or --session"},
        {"--atlas --seed 1", "go with --scene or --session"},
        {"--load-image a.png", "PATH and OUT"}};
    for (const auto& [args, mention] : cases) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << args;
        EXPECT_NE(p.error.find(mention), std::string::npos) << args << ": " << p.error;
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
