// The one place where the game's physics vocabulary meets Box2D 2.4.1. Scenes call these instead
// of filling joint definitions by hand, so rope, mouse-joint springs, damping, forces, user data
// and polygon building behave the same in every scene.
#pragma once

#include <box2d/box2d.h>

#include <cstdint>

namespace kel {

constexpr float kStepSeconds = 1.0f / 60.0f;

// A rope: the bodies may come closer freely but never further apart than maxLength (metres).
// A distance joint with a zero minimum and no spring; lengths at or below 0.005 m would make
// Box2D treat it as a rigid rod, so they are raised just above that.
b2DistanceJoint* CreateRopeJoint(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& localAnchorA,
                                 const b2Vec2& localAnchorB, float maxLength, bool collideConnected);

// A mouse joint pulling bodyB towards target with a spring of frequencyHz and dampingRatio.
// bodyA is the static anchor body.
b2MouseJoint* CreateMouseJoint(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& target,
                               float maxForce, float frequencyHz, float dampingRatio, bool collideConnected);

// Recomputes the joint's spring from bodyB's current mass; call after changing that mass.
void SetMouseJointSpring(b2MouseJoint* joint, float frequencyHz, float dampingRatio);

// A rigid weld with the anchor at a world point.
b2WeldJoint* CreateRigidWeld(b2World* world, b2Body* bodyA, b2Body* bodyB, const b2Vec2& anchor,
                             bool collideConnected);

// Box2D 2.4 damps by v / (1 + h·c); the game's damping values were tuned for v·(1 − h·c).
// Returns the 2.4 coefficient that gives the tuned feel at the fixed step (per second).
float DampingCoefficient(float tunedDamping);
// Named apart from b2Body's own setters, so a plain body->SetLinearDamping(c) stands out as the
// weaker 2.4 feel rather than passing for this one.
void SetTunedLinearDamping(b2Body* body, float tunedDamping);
void SetTunedAngularDamping(b2Body* body, float tunedDamping);

// Forces always wake the body, so a force on a sleeping body is never lost.
void ApplyForceWaking(b2Body* body, const b2Vec2& force, const b2Vec2& point);
void ApplyForceToCentreWaking(b2Body* body, const b2Vec2& force);

// The small integer kept in a fixture's user data (the contact tag).
int FixtureTag(const b2Fixture* fixture);
void SetFixtureTag(b2Fixture* fixture, int tag);

// A small integer kept with a body (archery's arrow numbers); 0 until set.
uintptr_t BodyValue(const b2Body* body);
void SetBodyValue(b2Body* body, uintptr_t value);

// Builds a convex polygon from up to b2_maxPolygonVertices points. Box2D aborts the process on
// points that do not span an area, so they are checked first: on bad input the shape is left
// unchanged and false is returned.
bool SetPolygonChecked(b2PolygonShape* shape, const b2Vec2* points, int count);

// Box2D's memory comes from a store of freed blocks kept for reuse. This fills it up to `blocks`
// blocks of at least `bytes` each (as far as it holds), so that a world's first crowd of contacts
// takes its memory from there rather than from the heap in play.
void ReservePhysicsMemory(int blocks, int bytes);

} // namespace kel
