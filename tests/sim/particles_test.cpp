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

TEST_F(ParticleTest, BurstLeavesWholeOnTheFirstUpdateAndStops) {
    EmitterInit(&emitter, kPresetRowingSpray); // 16 at once
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 16);
    EXPECT_FALSE(emitter.emitting);
    EmitterUpdate(&emitter);
    EXPECT_EQ(emitter.alive, 16);
}

TEST_F(ParticleTest, RestartWhileAliveEmitsOnlyWhatIsFree) {
    EmitterInit(&emitter, kPresetRowingSpray);
    for (int start = 0; start < 3; ++start) {
        EmitterStart(&emitter);
        const uint32_t before = RandomState();
        EmitterUpdate(&emitter);
        EXPECT_EQ(DrawsSince(before), start < 2 ? 16 * 5 : 0) << "start " << start;
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

TEST_F(ParticleTest, DrawsAngleRadiusSpeedSizeLifeInThatOrder) {
    EmitterInit(&emitter, kPresetHammerTurf);
    emitter.emitX = 3.0f;
    emitter.emitY = -1.0f;
    SeedRandom(777u);
    Lcg lcg{777u};
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    const EmitterPreset& p = kEmitterPresets[kPresetHammerTurf];
    const float theta = lcg.Float(p.angle.lo, p.angle.hi);
    const float d = lcg.Float(p.radius.lo, p.radius.hi);
    const float speed = lcg.Float(p.speed.lo, p.speed.hi);
    const float size = lcg.Float(p.size.lo, p.size.hi);
    const float life = lcg.Float(p.life.lo, p.life.hi);
    const Particle& first = emitter.particles[0];
    EXPECT_EQ(first.link, Particle::kAlive);
    // Emitted this frame, then moved once.
    EXPECT_NEAR(first.x, 3.0f + std::cos(theta) * d + std::cos(theta) * speed * kDt, 1e-5f);
    EXPECT_NEAR(first.y, -1.0f + std::sin(theta) * d + std::sin(theta) * speed * kDt, 1e-5f);
    EXPECT_NEAR(first.vx, std::cos(theta) * speed, 1e-4f);
    EXPECT_NEAR(first.size, size + 0.25f * kDt, 1e-6f);
    EXPECT_FLOAT_EQ(first.life, life) << "ageing comes before emitting";
}

TEST_F(ParticleTest, GravityAndDragActAfterTheMove) {
    EmitterInit(&emitter, kPresetFireworkBlue); // gravity 0.2 down, drag 0.025
    EmitterStart(&emitter);
    EmitterUpdate(&emitter);
    const Particle before = emitter.particles[0];
    EmitterUpdate(&emitter);
    const Particle& after = emitter.particles[0];
    EXPECT_NEAR(after.y, before.y + before.vy * kDt, 1e-6f);
    EXPECT_NEAR(after.vy, (before.vy + 0.2f * kDt) * 0.975f, 1e-6f);
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
