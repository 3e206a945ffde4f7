// A fingerprint of a physics world's state, to pin determinism: 64-bit FNV-1a over every body's
// position, angle, linear and angular velocity (their float bits) in world body order, as 16 hex
// digits. The headless runner reports it as "worldHash"; tests pin it.
#pragma once

#include <string>

class b2World;

namespace kel {

// A null world hashes as an empty one.
std::string WorldHash(const b2World* world);

} // namespace kel
