// The long jump's sand pit: a bare Box2D step of the pit against the scene's whole Update, both
// with every grain kept awake (a settled pit sleeps, and a landing wakes it all at once). Run by
// hand, not by ctest: bench_sandpit [frames]. Prints median and 95th percentile microseconds of
// each, their ratio and the heap allocations per frame of each.
//
// The bare world is built here with plain Box2D calls from the same numbers as the scene: the
// three ground boxes, the athlete box and 308 grains in three rows.
//
// An awake pit is one island of some 1230 contacts, whose solver needs more than Box2D's 100 KB
// stack allocator holds, so Box2D mallocs once per step whether the step is bare or the scene's.
#include "base/app_state.h"
#include "events/longjump/longjump.h"
#include "platform/alloc_count.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void AddBox(b2Body* ground, float left, float top, float width, float height) {
    b2PolygonShape shape;
    shape.SetAsBox(width / 2.0f, height / 2.0f, b2Vec2(left + width / 2.0f, top + height / 2.0f), 0.0f);
    b2FixtureDef def;
    def.shape = &shape;
    def.friction = 1.0f;
    ground->CreateFixture(&def);
}

// The pit as the long jump builds it, with the athlete set down over its middle as the scene's
// is below, after its take-off (friction 1 from then on); returns the grains.
std::vector<b2Body*> BuildBarePit(b2World* world) {
    b2BodyDef groundDef;
    b2Body* ground = world->CreateBody(&groundDef);
    AddBox(ground, 3.0f, 1.0f, 32.0f, 4.0f);
    AddBox(ground, -100.0f, 0.0f, 103.0f, 4.0f);
    AddBox(ground, 35.0f, 0.0f, 50.0f, 4.0f);

    b2BodyDef jumperDef;
    jumperDef.type = b2_dynamicBody;
    jumperDef.position.Set(15.0f, -2.0f);
    b2Body* jumper = world->CreateBody(&jumperDef);
    b2PolygonShape box;
    box.SetAsBox(0.35f, 1.25f);
    b2FixtureDef jumperFixture;
    jumperFixture.shape = &box;
    jumperFixture.density = 1.0f;
    jumperFixture.friction = 1.0f;
    jumper->CreateFixture(&jumperFixture);

    std::vector<b2Body*> grains;
    for (int r = 0; r < 3; ++r) {
        const float y = 0.855f - 0.29f * static_cast<float>(r);
        for (float x = 3.0f + 0.155f * static_cast<float>(1 + r % 2); x < 34.845f; x += 0.31f) {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position.Set(x, y);
            b2Body* grain = world->CreateBody(&def);
            b2CircleShape circle;
            circle.m_radius = 0.15f;
            b2FixtureDef fixture;
            fixture.shape = &circle;
            fixture.density = 0.1f;
            fixture.friction = 0.5f;
            grain->CreateFixture(&fixture);
            grains.push_back(grain);
        }
    }
    return grains;
}

void WakeAll(const std::vector<b2Body*>& grains) {
    for (b2Body* grain : grains)
        grain->SetAwake(true);
}

struct Figures {
    double median = 0.0;
    double p95 = 0.0;
};

Figures Summarise(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    Figures f;
    f.median = micros[micros.size() / 2];
    f.p95 = micros[micros.size() * 95 / 100];
    return f;
}

double MicrosSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(20, std::atoi(argv[1])) : 600;
    kel::SetScreenSize(1024, 768);

    b2World bare(b2Vec2(0.0f, 20.0f));
    const std::vector<b2Body*> bareGrains = BuildBarePit(&bare);
    bare.Step(1.0f / 60.0f, 8, 3);

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

    std::vector<double> bareMicros;
    std::vector<double> sceneMicros;
    uint64_t bareAllocations = 0;
    uint64_t sceneAllocations = 0;
    kel::StartCountingAllocations();
    // Interleaved, so both see the same machine load.
    for (int i = 0; i < frames; ++i) {
        WakeAll(bareGrains);
        uint64_t before = kel::AllocationCount();
        Clock::time_point t0 = Clock::now();
        bare.Step(1.0f / 60.0f, 8, 3);
        bareMicros.push_back(MicrosSince(t0));
        bareAllocations += kel::AllocationCount() - before;

        WakeAll(scene.sandGrains);
        scene.restFrames = 0;
        before = kel::AllocationCount();
        t0 = Clock::now();
        scene.Update();
        sceneMicros.push_back(MicrosSince(t0));
        sceneAllocations += kel::AllocationCount() - before;
        kel::ClearFrameInput();
    }
    kel::StopCountingAllocations();

    const Figures b = Summarise(bareMicros);
    const Figures s = Summarise(sceneMicros);
    std::printf("bare step:    median %.0f us, p95 %.0f us, %.2f allocations per frame\n", b.median, b.p95,
                static_cast<double>(bareAllocations) / frames);
    std::printf("scene update: median %.0f us, p95 %.0f us, %.2f allocations per frame\n", s.median, s.p95,
                static_cast<double>(sceneAllocations) / frames);
    std::printf("ratio of medians %.2f over %d frames, grains awake\n", s.median / b.median, frames);
    return 0;
}
