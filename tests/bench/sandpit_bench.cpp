// The long jump's sand pit: a bare Box2D step of the pit against the scene's whole Update, both
// with every grain kept awake (a settled pit sleeps, and a landing wakes it all at once). Run by
// hand, not by ctest: bench_sandpit [frames]. Prints median and 95th percentile microseconds of
// each, their ratio and the heap allocations per frame of each.
// The bare world is built here with plain Box2D calls from the same numbers as the scene: the
// three ground boxes, the athlete box and 308 grains in three rows.
// An awake pit is one island of some 1230 contacts, whose solver needs more than Box2D's 100 KB
// stack allocator holds, so Box2D mallocs once per step whether the step is bare or the scene's.
#include "base/app_state.h"
#include "bench.h"
#include "events/longjump/longjump.h"
#include "platform/alloc_count.h"

namespace {

using namespace bench;

// The pit as the long jump builds it, with the athlete set down over its middle as the scene's
// is below, after its take-off (friction 1 from then on); returns the grains.
std::vector<b2Body*> BuildBarePit(b2World& world) {
    b2Body* ground = Body(world, b2_staticBody, 0.0f, 0.0f);
    Fixture(ground, Rect(3.0f, 1.0f, 32.0f, 4.0f), 0.0f, 1.0f);
    Fixture(ground, Rect(-100.0f, 0.0f, 103.0f, 4.0f), 0.0f, 1.0f);
    Fixture(ground, Rect(35.0f, 0.0f, 50.0f, 4.0f), 0.0f, 1.0f);
    Fixture(Body(world, b2_dynamicBody, 15.0f, -2.0f), Rect(-0.35f, -1.25f, 0.7f, 2.5f), 1.0f, 1.0f);
    std::vector<b2Body*> grains;
    for (int r = 0; r < 3; ++r) {
        const float y = 0.855f - 0.29f * static_cast<float>(r);
        for (float x = 3.0f + 0.155f * static_cast<float>(1 + r % 2); x < 34.845f; x += 0.31f)
            grains.push_back(Fixture(Body(world, b2_dynamicBody, x, y), Circle(0.15f), 0.1f, 0.5f));
    }
    return grains;
}

// Times `work` into `micros` and adds the heap allocations made meanwhile to `allocations`.
template <class Work> void Measure(std::vector<double>& micros, uint64_t& allocations, Work&& work) {
    const uint64_t before = kel::AllocationCount();
    micros.push_back(Micros(work));
    allocations += kel::AllocationCount() - before;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = Frames(argc, argv, 20, 600);
    kel::SetScreenSize(1024, 768);

    b2World bare(b2Vec2(0.0f, 20.0f));
    const std::vector<b2Body*> bareGrains = BuildBarePit(bare);
    bare.Step(kStep, 8, 3);

    // The scene mid-jump: a click on the standing athlete starts the run-up and grabs it, the
    // next frame takes off; the athlete is then set down over the middle of the pit. Every
    // Update from then on casts the landing ray; the rest count is held back, so the jump
    // never ends.
    kel::LongJumpEvent scene;
    kel::gApp.mouseX = 352;
    kel::gApp.mouseY = 534;
    kel::gApp.mousePressed = 1;
    kel::gApp.mouseHeld = 1;
    scene.Update();
    kel::ClearFrameInput();
    scene.Update();
    scene.jumper->SetTransform(b2Vec2(15.0f, -2.0f), 0.0f);
    kel::gApp.mouseHeld = 0;
    kel::gApp.mouseReleased = 1;
    scene.Update();
    kel::ClearFrameInput();
    if (scene.phase != kel::LongJumpEvent::kJump) {
        std::fprintf(stderr, "the scene did not take off (phase %d)\n", scene.phase);
        return 1;
    }

    std::vector<double> bareMicros, sceneMicros;
    uint64_t bareAllocations = 0, sceneAllocations = 0;
    kel::StartCountingAllocations();
    // Interleaved, so both see the same machine load.
    for (int i = 0; i < frames; ++i) {
        for (b2Body* grain : bareGrains)
            grain->SetAwake(true);
        Measure(bareMicros, bareAllocations, [&] { bare.Step(kStep, 8, 3); });
        for (b2Body* grain : scene.sandGrains)
            grain->SetAwake(true);
        scene.restFrames = 0;
        Measure(sceneMicros, sceneAllocations, [&] { scene.Update(); });
        kel::ClearFrameInput();
    }
    kel::StopCountingAllocations();

    Print("bare step:    ", bareMicros, "");
    std::printf(", %.2f allocations per frame\n", static_cast<double>(bareAllocations) / frames);
    Print("scene update: ", sceneMicros, "");
    std::printf(", %.2f allocations per frame\n", static_cast<double>(sceneAllocations) / frames);
    std::printf("ratio of medians %.2f over %d frames, grains awake\n",
                Percentile(sceneMicros, 50) / Percentile(bareMicros, 50), frames);
    return 0;
}
