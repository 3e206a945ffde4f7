// The runner's scene loop, driving a small test scene: when it stops, what it reports, that the
// script's mouse reaches the scene, and that steady frames of the loop itself allocate nothing.
#include "base/app_state.h"
#include "app/input_script.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "platform/alloc_count.h"
#include "runner/runner.h"
#include "sim/scene_host.h"
#include "sim/sport_event.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// Designated initializers leave the fields they skip at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kel {
namespace {

// Keeps the compiler from removing an allocation whose result is unused.
void* volatile gKeep = nullptr;

// A box resting on a floor. It decides its attempt `decideAt` frames in, with the box's height
// above the floor as the result, and sets `finished` 10 frames later.
class BoxScene : public SportEvent {
  public:
    explicit BoxScene(int decideAt) : SportEvent(kEventJavelin), decideAt(decideAt) {
        CreateWorld(10.0f);
        AddGroundBox(-20.0f, 0.0f, 40.0f, 1.0f, 0.5f, 0.0f);
        box = CreateBox(-0.5f, -3.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
        SetGrabParams(0.5f, 2.0f, 0);
    }
    void Update() override {
        SportEvent::Update();
        if (grabbedBody == box) wasGrabbed = true;
        StepWorld();
        ++phaseFrames;
        if (phaseFrames == decideAt) result = -box->GetPosition().y;
        if (phaseFrames == decideAt + 10) finished = true;
        if (allocateEvery > 0 && phaseFrames % allocateEvery == 0) {
            auto* list = new std::vector<int>(100); // two blocks of heap memory
            gKeep = list;
            delete list;
        }
    }
    int phaseFrames = 0, decideAt = 0, allocateEvery = 0;
    b2Body* box = nullptr;
    bool wasGrabbed = false;
};

class SceneLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        SetScreenSize(1024, 768);
        ClearFrameInput();
        std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
        gApp.mouseX = gApp.mouseY = 0;
        gApp.mouseHeld = 0;
        gApp.font = nullptr;
        SetGlBackend(&gl);
        SetSceneHost(nullptr);
        SeedRandom(1);
    }
    void TearDown() override {
        SetGlBackend(nullptr);
        ClearFrameInput();
        gApp.mouseHeld = 0;
    }

    static SceneReport Run(BoxScene* scene, int maxFrames, int afterFinish = -1,
                           const InputScript* script = nullptr, FrameTiming* timing = nullptr) {
        SceneReport report;
        const LoopControl control{
            .script = script, .maxFrames = maxFrames, .afterFinish = afterFinish, .timing = timing};
        RunSceneFrames(scene, control, &report);
        return report;
    }

    NullGlBackend gl;
};

TEST_F(SceneLoop, RunsOnAfterFinishingUnlessAskedToStopReportsTheOutcomeAndTheScriptedMouseFlings) {
    const struct {
        int decideAt, maxFrames, afterFinish;
        bool finished;
        int finishedFrame, frames;
    } cases[] = {{30, 100, -1, true, 39, 100}, // the update of frame 39 (the 40th) sets finished
                 {30, 100, 5, true, 39, 45},
                 {30, 100, 0, true, 39, 40},
                 {500, 50, 0, false, -1, 50}};
    for (const auto& c : cases) {
        BoxScene scene(c.decideAt);
        const SceneReport report = Run(&scene, c.maxFrames, c.afterFinish);
        EXPECT_EQ(std::tuple(report.finished, report.finishedFrame, report.frames, scene.phaseFrames),
                  std::tuple(c.finished, c.finishedFrame, c.frames, c.frames))
            << c.afterFinish;
    }
    // The box starts at (0, -2.5) m: screen (512, 284) at 40 px per metre.
    InputScript fling;
    std::string error;
    ASSERT_TRUE(ParseInputScript("0 512 284 0\n2 512 284 1\n3 512 200 1\n12 700 100 1\n20 700 100 0\n",
                                 &fling, &error))
        << error;
    BoxScene thrown(40);
    const SceneReport flung = Run(&thrown, 40, -1, &fling);
    EXPECT_TRUE(thrown.wasGrabbed);
    BoxScene still(40);
    const SceneReport resting = Run(&still, 40);
    EXPECT_FALSE(still.wasGrabbed);
    // At rest on the floor the box's centre is half a metre above it; the report is the scene's.
    EXPECT_NEAR(resting.result, 0.5f, 0.05f);
    EXPECT_EQ(std::tuple(resting.result, resting.fault, resting.worldHash),
              std::tuple(still.result, false, WorldHash(still.world)));
    EXPECT_NE(flung.worldHash, resting.worldHash);
    // Pulled up and away, the box is still in the air when the attempt is decided.
    EXPECT_GT(flung.result, resting.result + 1.0f);
}

// Steady frames of the loop allocate nothing; a scene that allocates every tenth frame is seen on
// exactly those frames.
TEST_F(SceneLoop, TimesEveryFrameAndCountsOnlyAllocatingFrames) {
    if (!AllocationCountingAvailable()) GTEST_SKIP() << "this build does not replace the allocator";
    for (int every : {0, 10}) {
        BoxScene scene(1000);
        scene.allocateEvery = every;
        FrameTiming timing;
        timing.Reserve(200);
        StartCountingAllocations();
        Run(&scene, 200, -1, nullptr, &timing);
        StopCountingAllocations();
        ASSERT_EQ(std::tuple(timing.updateMicros.size(), timing.drawMicros.size(), timing.allocations.size()),
                  std::tuple(200u, 200u, 200u));
        uint64_t steady = 0;
        for (size_t f = kBenchWarmupFrames; f < timing.allocations.size(); ++f)
            steady += (every > 0 && f % 10 == 9) ? 0 : timing.allocations[f];
        EXPECT_EQ(steady, 0u) << every;
        EXPECT_EQ(timing.allocations[79] >= 2u, every > 0);
        EXPECT_EQ(timing.allocations[189] >= 2u, every > 0);
    }
}

} // namespace
} // namespace kel
