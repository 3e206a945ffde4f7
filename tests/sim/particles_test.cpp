// Particle emitters: bursts and streams, the free list, the order of random draws, ageing and
// fading, and a fixed particle store.
#include "sim/particles.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kel::test {
namespace {

constexpr float kDt = 0.016667f;

// Random draws made since the generator was at `from` (each particle makes five).
int DrawsSince(uint32_t from) {
    Lcg lcg{from};
    for (int n = 0; n < 100000; ++n) {
        if (lcg.s == RandomState()) return n;
        lcg.Next();
    }
    return -1;
}

class ParticleTest : public SimTest {
  protected:
    void TearDown() override {
        EmitterFree(&emitter);
        SimTest::TearDown();
    }
    Emitter emitter;
};

TEST_F(ParticleTest, CapacityIsTwiceABurstOrAStreamsLongestLife) {
    EmitterInit(&emitter, kPresetRowingSpray);
    EXPECT_EQ(emitter.particles.size(), 32u);
    EXPECT_EQ(emitter.freeHead, 0);
    EXPECT_EQ(emitter.particles[31].link, -1);
    EXPECT_EQ(emitter.particles[30].link, 31);
    EmitterInit(&emitter, kPresetCyclingDust);
    EXPECT_EQ(emitter.particles.size(), 20u);
    EmitterInit(&emitter, kPresetFireworkYellow);
    EXPECT_EQ(emitter.particles.size(), 180u);
}

TEST_F(ParticleTest, BurstLeavesWholeAndARestartWhileAliveEmitsOnlyWhatIsFree) {
    EmitterInit(&emitter, kPresetRowingSpray); // 16 at once
    for (int start = 0; start < 3; ++start) {
        EmitterStart(&emitter);
        const uint32_t before = RandomState();
        EmitterUpdate(&emitter);
        EXPECT_EQ(DrawsSince(before), start < 2 ? 16 * 5 : 0) << "start " << start;
        EXPECT_FALSE(emitter.emitting) << "a burst leaves whole on the first update and stops";
        EXPECT_EQ(emitter.alive, start == 0 ? 16 : 32);
    }
    EXPECT_EQ(emitter.alive, 32);
    EXPECT_EQ(emitter.freeHead, -1);
}

TEST_F(ParticleTest, FireworkRateSpreadsTheBurstOverTwoFrames) {
    EmitterInit(&emitter, kPresetFireworkRed); // 50 at 2000 per second
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 33);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 50);
    EXPECT_FALSE(emitter.emitting);
    EXPECT_NEAR(emitter.accumulator, 2.0f * 2000.0f * kDt - 50.0f, 1e-3f);
    // What is owed goes out with the next start.
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_GE(emitter.alive, 99);
}

TEST_F(ParticleTest, StreamRunsAtItsRateWithinItsStore) {
    EmitterInit(&emitter, kPresetCyclingDust); // 55 per second, lives up to 0.35 s
    EmitterStart(&emitter);
    const uint32_t before = RandomState();
    int mostAlive = 0;
    for (int frame = 0; frame < 60; ++frame) {
        EmitterUpdate(&emitter);
        mostAlive = Max(mostAlive, emitter.alive);
    }
    EXPECT_EQ(DrawsSince(before), 55 * 5);
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

TEST_F(ParticleTest, ParticleAtExactlyZeroLifeDiesAndIsReused) {
    EmitterInit(&emitter, kPresetRowingSpray);
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    emitter.particles[5].life = kDt;
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 15);
    EXPECT_EQ(emitter.freeHead, 5);
    EXPECT_EQ(emitter.particles[5].link, 16);
}

TEST_F(ParticleTest, NoStorageChangesAfterInit) {
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
}

TEST_F(ParticleTest, FadingParticlesLoseAlpha) {
    EmitterInit(&emitter, kPresetFireworkRed); // fade 0.5 s
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    for (Particle& p : emitter.particles) {
        if (p.link == Particle::kAlive) p.life = 1.0f;
    }
    emitter.particles[0].life = 0.25f; // half faded
    gl.Reset();
    EmitterDraw(emitter);
    FlushBatch();
    bool sawHalf = false;
    bool sawFull = false;
    for (const auto& d : gl.draws) {
        for (const Vertex& v : d.vertices) {
            EXPECT_EQ(ColourR(v.colour), 255u);
            sawHalf |= ColourA(v.colour) == 127u;
            sawFull |= ColourA(v.colour) == 255u;
        }
    }
    EXPECT_TRUE(sawHalf);
    EXPECT_TRUE(sawFull);

    // A scene may recolour its own emitter (the javelin's turf) without touching the preset.
    emitter.colour = PackColour(0, 0, 255, 255);
    gl.Reset();
    EmitterDraw(emitter);
    FlushBatch();
    bool sawBlue = false;
    for (const auto& d : gl.draws)
        for (const Vertex& v : d.vertices) sawBlue |= ColourR(v.colour) == 0u && ColourB(v.colour) == 255u;
    EXPECT_TRUE(sawBlue);
    EXPECT_EQ(kEmitterPresets[kPresetFireworkRed].colour, emitter.preset->colour);
}

TEST_F(ParticleTest, UnknownPresetFallsBackToTheFirst) {
    EmitterInit(&emitter, 42);
    EXPECT_EQ(emitter.preset, &kEmitterPresets[0]);
}

} // namespace
} // namespace kel::test
