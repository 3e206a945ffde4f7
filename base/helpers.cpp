#include "base/helpers.h"

#include <cmath>

namespace kel {

float SinePulse(float t, float a, float b) {
    return a + (b - a) * (std::sin(2.0f * kPi * t) + 1.0f) * 0.5f;
}

void LerpColour(Colour* out, Colour a, Colour b, float t) {
    Colour result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFu);
        const int cb = static_cast<int>((b >> shift) & 0xFFu);
        const int v = ca + static_cast<int>(static_cast<float>(cb - ca) * t);
        result |= (static_cast<uint32_t>(v) & 0xFFu) << shift;
    }
    *out = result;
}

} // namespace kel
