// The one place where the game meets Box2D 2.4.1: ropes, mouse joints, damping, forces, user
// data, checked polygons, and the memory Box2D asks for.
#include "sim/physics_compat.h"

#include "platform/log.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <utility>

namespace kel {
namespace {

// Box2D welds points closer than half its linear slop before building a hull.
constexpr float kWeldDistance = 0.5f * b2_linearSlop;
// Smallest polygon area accepted; Box2D asserts on areas at or below its float epsilon.
constexpr float kMinPolygonArea = 1.0e-5f;
constexpr float kMinRopeLength = 0.0051f; // metres; shorter limits turn the joint into a rod

float Cross(const b2Vec2& o, const b2Vec2& a, const b2Vec2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

} // namespace

b2DistanceJoint* CreateRopeJoint(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& localAnchorA,
                                 const b2Vec2& localAnchorB, float maxLength, bool collideConnected) {
    b2DistanceJointDef def;
    def.bodyA = bodyA;
    def.bodyB = bodyB;
    def.localAnchorA = localAnchorA;
    def.localAnchorB = localAnchorB;
    def.collideConnected = collideConnected;
    def.maxLength = maxLength > kMinRopeLength ? maxLength : kMinRopeLength;
    def.minLength = 0.0f;
    // The rest length only matters for a spring; keep it inside the limits.
    def.length = def.maxLength;
    def.stiffness = 0.0f;
    def.damping = 0.0f;
    return static_cast<b2DistanceJoint*>(world->CreateJoint(&def));
}

b2MouseJoint* CreateMouseJoint(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& target,
                               float maxForce, float frequencyHz, float dampingRatio, bool collideConnected) {
    b2MouseJointDef def;
    def.bodyA = bodyA;
    def.bodyB = bodyB;
    def.target = target;
    def.maxForce = maxForce;
    def.collideConnected = collideConnected;
    b2LinearStiffness(def.stiffness, def.damping, frequencyHz, dampingRatio, bodyA, bodyB);
    return static_cast<b2MouseJoint*>(world->CreateJoint(&def));
}

void SetMouseJointSpring(b2MouseJoint* joint, float frequencyHz, float dampingRatio) {
    float stiffness = 0.0f;
    float damping = 0.0f;
    b2LinearStiffness(stiffness, damping, frequencyHz, dampingRatio, joint->GetBodyA(), joint->GetBodyB());
    joint->SetStiffness(stiffness);
    joint->SetDamping(damping);
}

b2WeldJoint* CreateRigidWeld(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& anchor,
                             bool collideConnected) {
    b2WeldJointDef def;
    def.Initialize(bodyA, bodyB, anchor);
    def.stiffness = 0.0f;
    def.damping = 0.0f;
    def.collideConnected = collideConnected;
    return static_cast<b2WeldJoint*>(world->CreateJoint(&def));
}

float DampingCoefficient(float tunedDamping) {
    const float keep = 1.0f - kStepSeconds * tunedDamping;
    // At h·c >= 1 the tuned rule stopped the body within one step; a large coefficient does the same.
    if (keep <= 1.0e-3f) {
        return 1000.0f / kStepSeconds;
    }
    return tunedDamping / keep;
}

void SetTunedLinearDamping(b2Body* body, float tunedDamping) {
    body->SetLinearDamping(DampingCoefficient(tunedDamping));
}

void SetTunedAngularDamping(b2Body* body, float tunedDamping) {
    body->SetAngularDamping(DampingCoefficient(tunedDamping));
}

void ApplyForceWaking(b2Body* body, const b2Vec2& force, const b2Vec2& point) {
    body->ApplyForce(force, point, true);
}

void ApplyForceToCentreWaking(b2Body* body, const b2Vec2& force) {
    body->ApplyForceToCenter(force, true);
}

int FixtureTag(const b2Fixture* fixture) {
    return static_cast<int>(static_cast<intptr_t>(const_cast<b2Fixture*>(fixture)->GetUserData().pointer));
}

void SetFixtureTag(b2Fixture* fixture, int tag) {
    fixture->GetUserData().pointer = static_cast<uintptr_t>(static_cast<intptr_t>(tag));
}

uintptr_t BodyValue(const b2Body* body) {
    return const_cast<b2Body*>(body)->GetUserData().pointer;
}

void SetBodyValue(b2Body* body, uintptr_t value) {
    body->GetUserData().pointer = value;
}

bool SetPolygonChecked(b2PolygonShape* shape, const b2Vec2* points, int count) {
    if (points == nullptr || count < 3 || count > b2_maxPolygonVertices) {
        LogDebug("polygon with %d points refused", count);
        return false;
    }
    // Weld near points as Box2D does, then build the hull (monotone chain) and measure its area.
    b2Vec2 unique[b2_maxPolygonVertices];
    int uniqueCount = 0;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) {
            LogDebug("polygon with a non-finite point refused");
            return false;
        }
        bool near = false;
        for (int j = 0; j < uniqueCount; ++j) {
            if (b2DistanceSquared(points[i], unique[j]) < kWeldDistance * kWeldDistance) {
                near = true;
                break;
            }
        }
        if (!near) {
            unique[uniqueCount++] = points[i];
        }
    }
    if (uniqueCount < 3) {
        LogDebug("polygon with %d distinct points refused", uniqueCount);
        return false;
    }
    for (int i = 1; i < uniqueCount; ++i) {
        for (int j = i; j > 0 && (unique[j].x < unique[j - 1].x ||
                                  (unique[j].x == unique[j - 1].x && unique[j].y < unique[j - 1].y));
             --j) {
            const b2Vec2 t = unique[j];
            unique[j] = unique[j - 1];
            unique[j - 1] = t;
        }
    }
    b2Vec2 hull[2 * b2_maxPolygonVertices];
    int k = 0;
    for (int i = 0; i < uniqueCount; ++i) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], unique[i]) <= 0.0f)
            --k;
        hull[k++] = unique[i];
    }
    for (int i = uniqueCount - 2, lower = k + 1; i >= 0; --i) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], unique[i]) <= 0.0f)
            --k;
        hull[k++] = unique[i];
    }
    const int hullCount = k - 1;
    float area2 = 0.0f;
    for (int i = 0; i < hullCount; ++i) {
        const b2Vec2& p = hull[i];
        const b2Vec2& q = hull[(i + 1) % hullCount];
        area2 += p.x * q.y - p.y * q.x;
    }
    if (hullCount < 3 || 0.5f * std::fabs(area2) <= kMinPolygonArea) {
        LogDebug("polygon without area refused");
        return false;
    }
    shape->Set(points, count);
    return true;
}

} // namespace kel

// ---- Box2D's memory ------------------------------------------------------------------------
// Box2D takes its memory through b2Alloc_Default and b2Free_Default; these definitions take the
// place of the library's own (Debian's libbox2d is a shared library whose calls bind to them).
// Its solver asks for scratch space from a 100 KB stack and beyond that from the heap, once per
// step: the awake sand pit needs more, so every frame would allocate. Freed blocks are kept here
// and handed out again, so steady play allocates nothing. Box2D is used from one thread only.

namespace {

constexpr int kKeptBlocks = 64;

// Each block starts with its capacity; the header keeps the payload 16-byte aligned.
struct alignas(16) BlockHeader {
    size_t capacity;
};

void* gKept[kKeptBlocks] = {};
int gKeptCount = 0;

BlockHeader* HeaderOf(void* payload) {
    return static_cast<BlockHeader*>(payload) - 1;
}

// A new block of at least `need` bytes, rounded up to a power of two: the solver's scratch grows a
// little with each body that joins an island, and a block a little too small for the next step
// would be useless. Null when the heap is exhausted.
void* NewBlock(size_t need) {
    size_t capacity = 64;
    while (capacity < need)
        capacity *= 2;
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + capacity));
    if (!header) return nullptr;
    header->capacity = capacity;
    return header + 1;
}

} // namespace

void* b2Alloc_Default(int32 size) {
    const size_t need = size > 0 ? static_cast<size_t>(size) : 1u;
    // The smallest kept block that is large enough.
    int best = -1;
    for (int i = 0; i < gKeptCount; ++i) {
        const size_t capacity = HeaderOf(gKept[i])->capacity;
        if (capacity >= need && (best < 0 || capacity < HeaderOf(gKept[best])->capacity)) best = i;
    }
    if (best >= 0) {
        void* block = gKept[best];
        gKept[best] = gKept[--gKeptCount];
        return block;
    }
    return NewBlock(need);
}

namespace kel {

void ReservePhysicsMemory(int blocks, int bytes) {
    const size_t size = bytes > 0 ? static_cast<size_t>(bytes) : 1u;
    int have = 0;
    for (int i = 0; i < gKeptCount; ++i)
        if (HeaderOf(gKept[i])->capacity >= size) ++have;
    for (; have < blocks && gKeptCount < kKeptBlocks; ++have) {
        void* block = NewBlock(size);
        if (!block) return;
        gKept[gKeptCount++] = block;
    }
}

} // namespace kel

void b2Free_Default(void* mem) {
    if (!mem) return;
    if (gKeptCount < kKeptBlocks) {
        gKept[gKeptCount++] = mem;
        return;
    }
    // Full: keep the larger of this block and the smallest kept one.
    int smallest = 0;
    for (int i = 1; i < gKeptCount; ++i)
        if (HeaderOf(gKept[i])->capacity < HeaderOf(gKept[smallest])->capacity) smallest = i;
    if (HeaderOf(gKept[smallest])->capacity < HeaderOf(mem)->capacity) std::swap(gKept[smallest], mem);
    std::free(HeaderOf(mem));
}
