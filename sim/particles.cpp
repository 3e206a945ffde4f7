#include "sim/particles.h"

#include "base/random.h"
#include "gfx/renderer.h"
#include "platform/log.h"

#include <cmath>

namespace kel {
namespace {

constexpr float kParticleStep = 0.016667f;                     // seconds per game frame
constexpr FloatRange kUpwardCone = {-2.3561945f, -0.7853982f}; // -135 to -45 degrees

constexpr EmitterPreset Burst(int count, FloatRange speed, FloatRange angle, FloatRange life, FloatRange size,
                              float gravityY, Colour colour) {
    EmitterPreset p;
    p.count = count;
    p.speed = speed;
    p.angle = angle;
    p.life = life;
    p.size = size;
    p.gravityY = gravityY;
    p.colour = colour;
    return p;
}

constexpr EmitterPreset Firework(int count, FloatRange speed, FloatRange life, float drag, Colour colour) {
    EmitterPreset p;
    p.count = count;
    p.rate = 2000.0f;
    p.speed = speed;
    p.life = life;
    p.size = {0.1f, 0.1f};
    p.drag = drag;
    p.gravityY = 0.2f;
    p.fade = 0.5f;
    p.colour = colour;
    return p;
}

constexpr EmitterPreset HammerTurf() {
    EmitterPreset p = Burst(35, {2.0f, 14.0f}, {0.0f, 2.0f * kPi}, {0.25f, 0.45f}, {0.1f, 0.15f}, 0.0f,
                            PackColour(0x63, 0xBA, 0x02));
    p.growth = 0.25f;
    p.fade = 0.05f;
    return p;
}

constexpr EmitterPreset CyclingDust() {
    EmitterPreset p = Burst(-1, {2.0f, 4.0f}, {0.0f, 2.0f * kPi}, {0.25f, 0.35f}, {0.1f, 0.1f}, 0.0f,
                            PackColour(0x78, 0x78, 0x78));
    p.rate = 55.0f;
    return p;
}

float Draw(const FloatRange& r) {
    return RandomFloat(r.lo, r.hi);
}

} // namespace

const EmitterPreset kEmitterPresets[kEmitterPresetCount] = {
    HammerTurf(),
    CyclingDust(),
    Burst(16, {2.5f, 4.5f}, kUpwardCone, {0.5f, 0.7f}, {0.1f, 0.15f}, 6.0f, PackColour(0x75, 0x9F, 0xFF)),
    Burst(12, {2.5f, 4.5f}, kUpwardCone, {0.5f, 0.7f}, {0.1f, 0.1f}, 6.0f, PackColour(0x17, 0xD5, 0xE3)),
    Burst(15, {2.5f, 4.5f}, kUpwardCone, {0.5f, 0.7f}, {0.067f, 0.12f}, 6.0f, PackColour(0x13, 0xC2, 0x30)),
    Burst(15, {2.5f, 4.5f}, kUpwardCone, {0.5f, 0.7f}, {0.067f, 0.12f}, 6.0f, PackColour(0xD4, 0xC5, 0x42)),
    Firework(50, {2.0f, 8.0f}, {2.0f, 3.0f}, 0.05f, PackColour(0xFF, 0x00, 0x00)),
    Firework(50, {2.0f, 8.0f}, {2.0f, 3.0f}, 0.025f, PackColour(0x00, 0x00, 0xFF)),
    Firework(50, {2.0f, 8.0f}, {2.0f, 3.0f}, 0.05f, PackColour(0x00, 0xFF, 0x00)),
    Firework(90, {2.0f, 8.0f}, {2.0f, 3.0f}, 0.07f, PackColour(0xFF, 0xFF, 0x00)),
    Firework(50, {0.7f, 0.8f}, {1.0f, 1.5f}, 0.05f, kWhite),
};

void EmitterInit(Emitter* emitter, int presetIndex) {
    if (presetIndex < 0 || presetIndex >= kEmitterPresetCount) {
        LogDebug("emitter preset %d outside the table, using 0", presetIndex);
        presetIndex = 0;
    }
    const EmitterPreset& preset = kEmitterPresets[presetIndex];
    const int capacity =
        preset.count >= 0 ? 2 * preset.count : static_cast<int>(preset.life.hi * preset.rate) + 1;
    emitter->preset = &preset;
    emitter->colour = preset.colour;
    emitter->particles.assign(static_cast<size_t>(capacity), Particle{});
    for (int i = 0; i < capacity; ++i)
        emitter->particles[i].link = i + 1 < capacity ? i + 1 : -1;
    emitter->freeHead = capacity > 0 ? 0 : -1;
    emitter->accumulator = 0.0f;
    emitter->alive = 0;
    emitter->emitting = false;
    emitter->remaining = 0;
}

void EmitterStart(Emitter* emitter) {
    if (emitter->preset == nullptr) return;
    emitter->emitting = true;
    emitter->remaining = emitter->preset->count;
    if (emitter->preset->rate == 0.0f) emitter->accumulator = static_cast<float>(emitter->preset->count);
}

void EmitterStop(Emitter* emitter) {
    emitter->emitting = false;
}

void EmitterUpdate(Emitter* emitter) {
    const EmitterPreset* preset = emitter->preset;
    if (preset == nullptr) return;
    std::vector<Particle>& particles = emitter->particles;
    const int capacity = static_cast<int>(particles.size());

    for (int i = 0; i < capacity; ++i) {
        Particle& p = particles[i];
        if (p.link != Particle::kAlive) continue;
        p.life -= kParticleStep;
        if (p.life <= 0.0f) {
            p.link = emitter->freeHead;
            emitter->freeHead = i;
            emitter->alive -= 1;
        }
    }

    if (emitter->emitting) emitter->accumulator += kParticleStep * preset->rate;
    int n = static_cast<int>(std::floor(emitter->accumulator));
    if (emitter->remaining >= 0) {
        n = Min(n, emitter->remaining);
        emitter->remaining -= n;
        if (emitter->remaining == 0) emitter->emitting = false;
    }
    if (n > 0) {
        emitter->accumulator -= static_cast<float>(n);
        for (int k = 0; k < n && emitter->freeHead != -1; ++k) {
            const int index = emitter->freeHead;
            Particle& p = particles[index];
            emitter->freeHead = p.link;
            const float theta = Draw(preset->angle);
            const float d = Draw(preset->radius);
            p.x = std::cos(theta) * d + emitter->emitX;
            p.y = std::sin(theta) * d + emitter->emitY;
            const float s = Draw(preset->speed);
            p.vx = std::cos(theta) * s;
            p.vy = std::sin(theta) * s;
            p.size = Draw(preset->size);
            p.life = Draw(preset->life);
            p.link = Particle::kAlive;
            emitter->alive += 1;
        }
    }

    const float keep = 1.0f - preset->drag;
    for (Particle& p : particles) {
        if (p.link != Particle::kAlive) continue;
        p.x += p.vx * kParticleStep;
        p.y += p.vy * kParticleStep;
        p.vx = (p.vx + preset->gravityX * kParticleStep) * keep;
        p.vy = (p.vy + preset->gravityY * kParticleStep) * keep;
        p.size += preset->growth * kParticleStep;
    }
}

void EmitterDraw(const Emitter& emitter) {
    const EmitterPreset* preset = emitter.preset;
    if (preset == nullptr) return;
    SetColour(emitter.colour);
    const uint32_t alpha = ColourA(emitter.colour);
    for (const Particle& p : emitter.particles) {
        if (p.link != Particle::kAlive) continue;
        Colour colour = emitter.colour;
        if (preset->fade > 0.0f) {
            if (p.life < preset->fade) {
                const uint32_t a = static_cast<uint32_t>(p.life / preset->fade * static_cast<float>(alpha));
                colour = (colour & 0x00FFFFFFu) | (a << 24);
            }
            SetColour(colour);
        }
        FillRect(p.x, p.y, p.size, p.size, colour);
    }
    ResetColour();
}

void EmitterFree(Emitter* emitter) {
    std::vector<Particle>().swap(emitter->particles);
    emitter->freeHead = -1;
    emitter->alive = 0;
    emitter->emitting = false;
    emitter->remaining = 0;
}

} // namespace kel
