// The one random generator of the game. Its state is a single 32-bit word; every random value
// in the game comes from RandomInt or RandomFloat, so a seed fixes a whole game.
#pragma once

#include <cstdint>

namespace kel {

void SeedRandom(uint32_t seed);
bool RandomSeeded();
uint32_t RandomState();

// ((s >> 15) xor s) modulo n after advancing the state; n below 1 is treated as 1.
int RandomInt(int n);

// a + (b - a) * (s >> 16) / 65535 after advancing the state: both ends can occur.
float RandomFloat(float a, float b);

} // namespace kel
