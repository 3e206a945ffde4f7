#include "base/random.h"

namespace kel {
namespace {

uint32_t gState = 0;
bool gSeeded = false;

uint32_t Advance() {
    gState = gState * 214013u + 2531011u;
    return gState;
}

} // namespace

void SeedRandom(uint32_t seed) {
    gState = seed;
    gSeeded = true;
}

bool RandomSeeded() { return gSeeded; }
uint32_t RandomState() { return gState; }

int RandomInt(int n) {
    const uint32_t s = Advance();
    const uint32_t bound = n < 1 ? 1u : static_cast<uint32_t>(n);
    return static_cast<int>(((s >> 15) ^ s) % bound);
}

float RandomFloat(float a, float b) {
    const uint32_t s = Advance();
    return a + (b - a) * static_cast<float>(s >> 16) / 65535.0f;
}

} // namespace kel
