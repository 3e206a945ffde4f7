// Particle emitters: bursts and streams, the free list, ageing and fading, and a fixed store.
#include "sim/particles.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kel::test {
namespace {

constexpr float kDt = 0.016667f;

class ParticleTest : public SimTest {
  protected:
    void TearDown() override {
        EmitterFree(&emitter);
        SimTest::TearDown();
    }
    Emitter emitter;
};

// The spray bursts 16 at once into a store of 32. A particle at exactly zero life dies and its
// slot heads the free list; restarts while the rest live emit only into free slots.
TEST_F(ParticleTest, BurstLeavesWholeDeadParticlesAreReusedAndARestartEmitsOnlyWhatIsFree) {
    EmitterInit(&emitter, kPresetRowingSpray);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_FALSE(emitter.emitting) << "a burst leaves whole on the first update and stops";
    EXPECT_EQ(emitter.alive, 16);
    emitter.particles[5].life = kDt;
    EmitterUpdate(&emitter);
    EXPECT_EQ(std::tuple(emitter.alive, emitter.freeHead, emitter.particles[5].link), std::tuple(15, 5, 16));
    for (int alive : {31, 32}) {
        EmitterStart(&emitter);
        EmitterUpdate(&emitter);
        EXPECT_EQ(emitter.alive, alive);
    }
    EXPECT_EQ(std::tuple(emitter.particles.size(), emitter.freeHead), std::tuple(size_t{32}, -1));
}

TEST_F(ParticleTest, FireworkRateSpreadsTheBurstOverTwoFramesAndOwesTheRest) {
    EmitterInit(&emitter, kPresetFireworkRed); // 50 at 2000 per second
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 33);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 50);
    EXPECT_FALSE(emitter.emitting);
    // What is owed (66.7 - 50) goes out with the next start.
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_GE(emitter.alive, 99);
}

TEST_F(ParticleTest, StreamRunsAtItsRateWithinItsStoreAndDiesOutWhenStopped) {
    EmitterInit(&emitter, kPresetCyclingDust); // 55 per second, lives up to 0.35 s
    EmitterStart(&emitter);
    int mostAlive = 0;
    for (int frame = 0; frame < 60; ++frame) {
        EmitterUpdate(&emitter);
        mostAlive = Max(mostAlive, emitter.alive);
    }
    EXPECT_LE(mostAlive, 20);
    EXPECT_GT(mostAlive, 15);
    EmitterStop(&emitter);
    for (int frame = 0; frame < 30; ++frame)
        EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 0);
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
    EXPECT_NEAR(first.x, 3.306335f, 1e-5f);
    EXPECT_NEAR(first.y, -0.922797f, 1e-5f);
    EXPECT_NEAR(first.vx, 9.189876f, 1e-4f);
    EXPECT_NEAR(first.vy, 2.316031f, 1e-4f);
    EXPECT_NEAR(first.size, 0.150020f, 1e-5f);
    EXPECT_NEAR(first.life, 0.418440f, 1e-5f);
}

TEST_F(ParticleTest, NoStorageChangesAfterInitAndAnUnknownPresetIsTheFirst) {
    EmitterInit(&emitter, kPresetFireworkYellow);
    const Particle* store = emitter.particles.data();
    for (int round = 0; round < 20; ++round) {
        EmitterStart(&emitter);
        for (int frame = 0; frame < 10; ++frame)
            EmitterUpdate(&emitter);
    }
    EXPECT_EQ(emitter.particles.data(), store);
    EXPECT_EQ(emitter.particles.size(), 180u);
    EXPECT_LE(emitter.alive, 180);
    EmitterFree(&emitter);
    EmitterInit(&emitter, 42);
    EXPECT_EQ(emitter.preset, &kEmitterPresets[0]);
}

TEST_F(ParticleTest, FadingParticlesLoseAlphaAndASceneMayRecolourItsOwnEmitter) {
    EmitterInit(&emitter, kPresetFireworkRed); // fade 0.5 s
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    for (Particle& p : emitter.particles) {
        if (p.link == Particle::kAlive) p.life = 1.0f;
    }
    emitter.particles[0].life = 0.25f; // half faded
    EmitterDraw(emitter);
    bool sawHalf = false, sawFull = false;
    for (const DrawnQuad& q : TakeQuads(gl)) {
        EXPECT_EQ(q.colour[0], 1.0f);
        sawHalf |= q.colour[3] == 127.0f / 255.0f;
        sawFull |= q.colour[3] == 1.0f;
    }
    EXPECT_TRUE(sawHalf);
    EXPECT_TRUE(sawFull);
    // The javelin's turf is recoloured without touching the preset.
    emitter.colour = PackColour(0, 0, 255, 255);
    EmitterDraw(emitter);
    const std::vector<DrawnQuad> blue = TakeQuads(gl);
    ASSERT_FALSE(blue.empty());
    EXPECT_EQ(std::tuple(blue[0].colour[0], blue[0].colour[2]), std::tuple(0.0f, 1.0f));
    EXPECT_EQ(kEmitterPresets[kPresetFireworkRed].colour, emitter.preset->colour);
}

} // namespace
} // namespace kel::test
