// Particle effects: small square puffs of turf, water, dust and fireworks thrown out by an
// Emitter that follows one of eleven constant presets. Particles live in world metres and take no
// part in the physics; their storage is fixed when the emitter is initialised.
#pragma once

#include "base/helpers.h"

#include <vector>

namespace kel {

struct FloatRange {
    float lo = 0.0f;
    float hi = 0.0f;
};

struct EmitterPreset {
    int count = 1;                         // particles per start, -1 for a stream
    float rate = 0.0f;                     // particles per second; 0: the whole count at once
    FloatRange radius = {0.0f, 0.0f};      // metres from the emitter point along the direction
    FloatRange speed = {1.0f, 1.0f};       // metres per second
    FloatRange angle = {0.0f, 2.0f * kPi}; // radians, y down: negative angles point up
    FloatRange life = {1.0f, 1.0f};        // seconds
    float drag = 0.0f;                     // fraction of the velocity removed per frame
    float gravityX = 0.0f;                 // metres per second squared
    float gravityY = 0.0f;
    FloatRange size = {1.0f, 1.0f}; // side of the square, metres
    float growth = 0.0f;            // metres per second
    float fade = 0.0f;              // seconds before death over which alpha falls to 0
    Colour colour = kWhite;
};

constexpr int kEmitterPresetCount = 11;

enum EmitterPresetId : int {
    kPresetHammerTurf,
    kPresetCyclingDust,
    kPresetRowingSpray,
    kPresetSwimSplash,
    kPresetJavelinTurf,
    kPresetSand,
    kPresetFireworkRed,
    kPresetFireworkBlue,
    kPresetFireworkGreen,
    kPresetFireworkYellow,
    kPresetFireworkWhite,
};

extern const EmitterPreset kEmitterPresets[kEmitterPresetCount];

struct Particle {
    float x = 0.0f;
    float y = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;
    float size = 0.0f;
    float life = 0.0f; // seconds left
    int link = -1;     // kAlive, or the next free particle (-1 ends the free list)

    static constexpr int kAlive = -2;
};

struct Emitter {
    const EmitterPreset* preset = nullptr;
    std::vector<Particle> particles; // length fixed by EmitterInit
    int freeHead = -1;
    float emitX = 0.0f; // metres, set by the scene
    float emitY = 0.0f;
    bool emitting = false;
    int remaining = 0;        // still to emit in this start, -1 for a stream
    float accumulator = 0.0f; // particles owed
    int alive = 0;
    Colour colour = kWhite; // the preset's colour at EmitterInit; a scene may recolour it
};

// Capacity: twice the count of a burst preset, or enough for a stream's longest life.
// An index outside the table is logged and uses preset 0.
void EmitterInit(Emitter* emitter, int presetIndex);
void EmitterStart(Emitter* emitter);
void EmitterStop(Emitter* emitter);
// One game frame: ageing, then emitting, then moving.
void EmitterUpdate(Emitter* emitter);
// World coordinates; call inside the scene's camera transform.
void EmitterDraw(const Emitter& emitter);
void EmitterFree(Emitter* emitter);

} // namespace kel
