// Particle emitters: bursts and streams, the free list, ageing and fading, and a fixed store.
#include "sim/particles.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kel::test {
namespace {

class ParticleTest : public SimTest {
  protected:
    void TearDown() override {
        EmitterFree(&emitter);
        SimTest::TearDown();
    }
    Emitter emitter;
};

// The spray bursts 16 at once into a store of 32. A particle at exactly zero life dies and its
// slot heads the free list; restarts while the rest live emit only into free slots. The red
// firework's 50 at 2000 per second take two frames, and what is owed (66.7 - 50) goes out with the
// next start.
TEST_F(ParticleTest, BurstsLeaveWholeOrAtTheirRateDeadParticlesAreReusedAndRestartsEmitWhatIsFree) {
    EmitterInit(&emitter, kPresetRowingSpray);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_FALSE(emitter.emitting) << "a burst leaves whole on the first update and stops";
    EXPECT_EQ(emitter.alive, 16);
    emitter.particles[5].life = 0.016667f; // one frame
    EmitterUpdate(&emitter);
    EXPECT_EQ(std::tuple(emitter.alive, emitter.freeHead, emitter.particles[5].link), std::tuple(15, 5, 16));
    for (int alive : {31, 32}) {
        EmitterStart(&emitter);
        EmitterUpdate(&emitter);
        EXPECT_EQ(emitter.alive, alive);
    }
    EXPECT_EQ(std::tuple(emitter.particles.size(), emitter.freeHead), std::tuple(size_t{32}, -1));
    EmitterFree(&emitter);
    EmitterInit(&emitter, kPresetFireworkRed);
    EmitterStart(&emitter);
    for (int alive : {33, 50}) {
        EmitterUpdate(&emitter);
        EXPECT_EQ(emitter.alive, alive);
    }
    EXPECT_FALSE(emitter.emitting);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_GE(emitter.alive, 99);
}

// The dust streams 55 a second, each living up to 0.35 s; the fireworks keep their store of 180.
TEST_F(ParticleTest, StreamRunsAtItsRateAndDiesOutWhenStoppedAndTheStoreNeverChanges) {
    EmitterInit(&emitter, kPresetCyclingDust);
    EmitterStart(&emitter);
    int mostAlive = 0;
    for (int frame = 0; frame < 60; ++frame) {
        EmitterUpdate(&emitter);
        mostAlive = Max(mostAlive, emitter.alive);
    }
    EXPECT_TRUE(mostAlive > 15 && mostAlive <= 20) << mostAlive;
    EmitterStop(&emitter);
    for (int frame = 0; frame < 30; ++frame)
        EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 0);
    EmitterFree(&emitter);
    EmitterInit(&emitter, kPresetFireworkYellow);
    const Particle* store = emitter.particles.data();
    for (int round = 0; round < 200; ++round) {
        if (round % 10 == 0) EmitterStart(&emitter);
        EmitterUpdate(&emitter);
    }
    EXPECT_EQ(std::tuple(emitter.particles.data(), emitter.particles.size()), std::tuple(store, size_t{180}));
    EXPECT_LE(emitter.alive, 180);
    EmitterFree(&emitter);
    EmitterInit(&emitter, 42);
    EXPECT_EQ(emitter.preset, &kEmitterPresets[0]) << "an unknown preset is the first";
}

// One known particle for a fixed seed pins the order of the draws (angle, radius, speed, size,
// life), the move, gravity and drag: emitted this frame, then moved once.
TEST_F(ParticleTest, AFixedSeedGivesAKnownParticle) {
    EmitterInit(&emitter, kPresetHammerTurf);
    emitter.emitX = 3.0f;
    emitter.emitY = -1.0f;
    SeedRandom(777u);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EmitterUpdate(&emitter);
    const Particle& first = emitter.particles[0];
    ASSERT_EQ(first.link, Particle::kAlive);
    for (const auto& [got, want, within] :
         {std::tuple{first.x, 3.306335f, 1e-5f}, {first.y, -0.922797f, 1e-5f}, {first.vx, 9.189876f, 1e-4f},
          {first.vy, 2.316031f, 1e-4f}, {first.size, 0.150020f, 1e-5f}, {first.life, 0.418440f, 1e-5f}})
        EXPECT_NEAR(got, want, within) << want;
}

// The red firework fades over its last 0.5 s; the javelin's turf is recoloured without touching
// the preset.
TEST_F(ParticleTest, FadingParticlesLoseAlphaAndASceneMayRecolourItsOwnEmitter) {
    EmitterInit(&emitter, kPresetFireworkRed);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    for (Particle& p : emitter.particles)
        p.life = p.link == Particle::kAlive ? 1.0f : p.life;
    emitter.particles[0].life = 0.25f; // half faded
    EmitterDraw(emitter);
    bool sawHalf = false, sawFull = false;
    for (const DrawnQuad& q : TakeQuads(gl)) {
        EXPECT_EQ(q.colour[0], 1.0f);
        sawHalf |= q.colour[3] == 127.0f / 255.0f;
        sawFull |= q.colour[3] == 1.0f;
    }
    EXPECT_TRUE(sawHalf && sawFull);
    emitter.colour = PackColour(0, 0, 255, 255);
    EmitterDraw(emitter);
    const std::vector<DrawnQuad> blue = TakeQuads(gl);
    ASSERT_FALSE(blue.empty());
    EXPECT_EQ(std::tuple(blue[0].colour[0], blue[0].colour[2]), std::tuple(0.0f, 1.0f));
    EXPECT_EQ(kEmitterPresets[kPresetFireworkRed].colour, emitter.preset->colour);
}

} // namespace
} // namespace kel::test
