// Small numeric and colour helpers shared by every subsystem.
#pragma once

#include <cstdint>

namespace kel {

constexpr float kPi = 3.14159265358979f;

inline float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
template <typename T> inline T Min(T a, T b) { return a < b ? a : b; }
template <typename T> inline T Max(T a, T b) { return a > b ? a : b; }

// Linear map of v from [a, b] onto [c, d], not clamped.
inline float Remap(float v, float a, float b, float c, float d) { return c + (d - c) * (v - a) / (b - a); }

// Remap, clamped into the interval between c and d whichever way round they are.
inline float RemapClamped(float v, float a, float b, float c, float d) {
    const float r = Remap(v, a, b, c, d);
    return c < d ? Clamp(r, c, d) : Clamp(r, d, c);
}

// A pulse between a and b with period 1 in t.
float SinePulse(float t, float a, float b);

// Packed colour: bytes from the lowest are R, G, B, A (0xFF000000 is opaque black).
using Colour = uint32_t;

constexpr Colour PackColour(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16) | ((a & 0xFFu) << 24);
}
constexpr uint32_t ColourR(Colour c) { return c & 0xFFu; }
constexpr uint32_t ColourG(Colour c) { return (c >> 8) & 0xFFu; }
constexpr uint32_t ColourB(Colour c) { return (c >> 16) & 0xFFu; }
constexpr uint32_t ColourA(Colour c) { return (c >> 24) & 0xFFu; }

constexpr Colour kWhite = 0xFFFFFFFFu;
constexpr Colour kBlack = 0xFF000000u;

// Per-channel blend a + trunc((b - a) * t), computed in integers and stored as a byte, so a t
// outside 0..1 wraps modulo 256.
void LerpColour(Colour* out, Colour a, Colour b, float t);

} // namespace kel
