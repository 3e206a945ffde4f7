#include "platform/clock.h"

#include <SDL.h>

namespace kel {
namespace {

class SdlClock : public Clock {
public:
    uint32_t Milliseconds() override { return SDL_GetTicks(); }
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

} // namespace

Clock* RealClock() {
    static SdlClock clock;
    return &clock;
}

} // namespace kel
