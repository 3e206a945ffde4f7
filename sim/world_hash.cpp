#include "sim/world_hash.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kel {
namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

void HashFloat(uint64_t* hash, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        *hash ^= (bits >> (8 * i)) & 0xFFu;
        *hash *= kFnvPrime;
    }
}

} // namespace

std::string WorldHash(const b2World* world) {
    uint64_t hash = kFnvOffset;
    for (const b2Body* b = world ? world->GetBodyList() : nullptr; b; b = b->GetNext()) {
        const b2Vec2 p = b->GetPosition();
        const b2Vec2 v = b->GetLinearVelocity();
        HashFloat(&hash, p.x);
        HashFloat(&hash, p.y);
        HashFloat(&hash, b->GetAngle());
        HashFloat(&hash, v.x);
        HashFloat(&hash, v.y);
        HashFloat(&hash, b->GetAngularVelocity());
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace kel
