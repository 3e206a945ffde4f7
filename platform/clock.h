// The millisecond clock that paces frames and seeds the random generator.
#pragma once

#include <cstdint>

namespace kel {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Milliseconds() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// SDL_GetTicks and SDL_Delay.
Clock* RealClock();

// Starts at 0 and only moves when slept or advanced; for tests and the headless runner.
class ManualClock : public Clock {
public:
    uint32_t Milliseconds() override { return now; }
    void Sleep(uint32_t milliseconds) override { now += milliseconds; }
    void Advance(uint32_t milliseconds) { now += milliseconds; }

private:
    uint32_t now = 0;
};

} // namespace kel
