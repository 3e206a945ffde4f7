// The frame meter (F7): frames per second, update and draw times, draw calls and heap
// allocations of the last second, in a small box at the top left. While hidden it measures
// nothing and draws nothing.
#pragma once

#include <cstdint>

namespace kel {

struct FrameMeter {
    static constexpr int kWindowFrames = 120; // frame start times kept, 2 s at 60 frames a second

    bool shown = false;
    uint64_t (*allocationCount)() = nullptr; // heap allocations so far; null where not counted

    // Filled while shown.
    uint64_t frameStartMicros[kWindowFrames] = {};
    uint64_t allocationsAtStart[kWindowFrames] = {};
    int next = 0;
    int filled = 0;
    uint64_t updateMicros = 0;
    uint64_t drawMicros = 0;
    uint64_t drawCalls = 0;
};

extern FrameMeter gFrameMeter;

// Flips the meter; a meter shown again starts with an empty window.
void ToggleFrameMeter();

// Microseconds of a steady clock, for the meter's spans.
uint64_t MeterMicros();

// Notes the start of a frame (its time and the allocations so far).
void MeterFrameStart();

// Frames per second and allocations over the frames of the last second, from the window.
double MeterFramesPerSecond();
uint64_t MeterAllocationsLastSecond();

// Draws the box in window pixels with the game font; call inside the frame's batch.
void DrawFrameMeter();

} // namespace kel
