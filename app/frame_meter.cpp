#include "app/frame_meter.h"

#include "base/app_state.h"
#include "gfx/font.h"
#include "gfx/renderer.h"

#include <chrono>

namespace kel {

FrameMeter gFrameMeter;

namespace {

constexpr uint64_t kSecondMicros = 1000000;

int Older(int index, int back) {
    return (index - back + 2 * FrameMeter::kWindowFrames) % FrameMeter::kWindowFrames;
}

// The oldest kept frame that started within the last second before the newest; -1 with fewer
// than two frames.
int FirstOfLastSecond(int* frames) {
    const FrameMeter& m = gFrameMeter;
    *frames = 0;
    if (m.filled < 2) return -1;
    const int newest = Older(m.next, 1);
    int first = newest;
    for (int back = 1; back < m.filled; ++back) {
        const int k = Older(newest, back);
        if (m.frameStartMicros[newest] - m.frameStartMicros[k] > kSecondMicros) break;
        first = k;
        *frames = back;
    }
    return first;
}

} // namespace

void ToggleFrameMeter() {
    FrameMeter& m = gFrameMeter;
    m.shown = !m.shown;
    m.next = 0;
    m.filled = 0;
}

uint64_t MeterMicros() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

void MeterFrameStart() {
    FrameMeter& m = gFrameMeter;
    m.frameStartMicros[m.next] = MeterMicros();
    m.allocationsAtStart[m.next] = m.allocationCount ? m.allocationCount() : 0;
    m.next = (m.next + 1) % FrameMeter::kWindowFrames;
    if (m.filled < FrameMeter::kWindowFrames) ++m.filled;
}

double MeterFramesPerSecond() {
    const FrameMeter& m = gFrameMeter;
    int frames = 0;
    const int first = FirstOfLastSecond(&frames);
    if (first < 0 || frames == 0) return 0.0;
    const uint64_t span = m.frameStartMicros[Older(m.next, 1)] - m.frameStartMicros[first];
    return span > 0 ? static_cast<double>(frames) * 1e6 / static_cast<double>(span) : 0.0;
}

uint64_t MeterAllocationsLastSecond() {
    const FrameMeter& m = gFrameMeter;
    int frames = 0;
    const int first = FirstOfLastSecond(&frames);
    if (first < 0) return 0;
    return m.allocationsAtStart[Older(m.next, 1)] - m.allocationsAtStart[first];
}

void DrawFrameMeter() {
    const FrameMeter& m = gFrameMeter;
    if (!m.shown || !gApp.font) return;
    constexpr float kLeft = 4.0f;  // px
    constexpr float kTop = 4.0f;   // px
    constexpr float kLine = 10.0f; // px, one line of the font at scale 1
    FillRect(kLeft - 2.0f, kTop - 2.0f, 150.0f, 5.0f * kLine + 4.0f, PackColour(0, 0, 0, 180));
    BitmapFont& font = *gApp.font;
    font.Printf(kLeft, kTop, kAlignLeft, 1.0f, kWhite, "FPS %.1f", MeterFramesPerSecond());
    font.Printf(kLeft, kTop + kLine, kAlignLeft, 1.0f, kWhite, "UPDATE %llu US",
                static_cast<unsigned long long>(m.updateMicros));
    font.Printf(kLeft, kTop + 2.0f * kLine, kAlignLeft, 1.0f, kWhite, "DRAW %llu US",
                static_cast<unsigned long long>(m.drawMicros));
    font.Printf(kLeft, kTop + 3.0f * kLine, kAlignLeft, 1.0f, kWhite, "CALLS %llu",
                static_cast<unsigned long long>(m.drawCalls));
    if (m.allocationCount)
        font.Printf(kLeft, kTop + 4.0f * kLine, kAlignLeft, 1.0f, kWhite, "ALLOCS/S %llu",
                    static_cast<unsigned long long>(MeterAllocationsLastSecond()));
    else
        font.Print(kLeft, kTop + 4.0f * kLine, kAlignLeft, 1.0f, kWhite, "ALLOCS/S -");
}

} // namespace kel
