// Body and joint builders, and the Box2D adaptations they rest on (rope, weld, damping, forces,
// polygon validation).
#include "sim/physics_compat.h"
#include "sim/sport_event.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kel::test {
namespace {

class Scene : public SportEvent {
  public:
    explicit Scene(float gravity = 10.0f) : SportEvent(kEventDiving) { CreateWorld(gravity); }
};
using BuilderTest = SimTest;

TEST_F(BuilderTest, BoxesGoByTheirTopLeftCircleByItsCentreAndNoDensityIsStatic) {
    Scene scene;
    b2Body* moving = scene.CreateBox(1.0f, 2.0f, 4.0f, 2.0f, 0.5f, 0.3f, 0.1f);
    b2Body* ball = scene.CreateCircle(-2.0f, 1.0f, 0.5f, 1.0f, 0.2f, 0.6f);
    EXPECT_EQ(std::tuple(moving->GetType(), moving->GetPosition(), ball->GetPosition(),
                         static_cast<const b2CircleShape*>(ball->GetFixtureList()->GetShape())->m_p),
              std::tuple(b2_dynamicBody, b2Vec2(3.0f, 3.0f), b2Vec2(-2.0f, 1.0f), b2Vec2(0.0f, 0.0f)));
    EXPECT_NEAR(moving->GetMass(), 0.5f * 8.0f, 1e-4f);
    EXPECT_EQ(scene.CreateBox(1.0f, 2.0f, 4.0f, 2.0f, 0.0f, 0.3f, 0.1f)->GetType(), b2_staticBody);
    EXPECT_EQ(scene.CreateCircle(0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f)->GetType(), b2_staticBody);
}

TEST_F(BuilderTest, GroundBoxTopIsAtItsYAndABoxComesToRestOnIt) {
    Scene scene;
    b2Fixture* f = scene.AddGroundBox(-100.0f, 0.0f, 103.0f, 4.0f, 1.0f, 0.0f);
    EXPECT_EQ(f->GetBody(), scene.groundBody);
    b2AABB bounds;
    f->GetShape()->ComputeAABB(&bounds, f->GetBody()->GetTransform(), 0);
    EXPECT_LT(b2Distance(bounds.lowerBound, b2Vec2(-100.0f, 0.0f)), 0.02f);
    EXPECT_LT(b2Distance(bounds.upperBound, b2Vec2(3.0f, 4.0f)), 0.02f);
    b2Body* box = scene.CreateBox(0.0f, -3.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    for (int i = 0; i < 180; ++i)
        scene.StepWorld();
    EXPECT_NEAR(box->GetPosition().y, -0.5f, 0.03f);
}

TEST_F(BuilderTest, JointsRevoluteLimitedOnlyWithUnequalAnglesWeldHoldsRigidlyRopeOnlyLimits) {
    Scene scene(0.0f);
    b2Body* a = scene.CreateBox(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    b2Body* b = scene.CreateBox(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    EXPECT_FALSE(scene.CreateRevolute(a, b, 1.0f, 0.5f, 0.0f, 0.0f, false)->IsLimitEnabled());
    b2RevoluteJoint* limited = scene.CreateRevolute(a, b, 1.0f, 0.5f, -0.5f, 0.5f, true);
    EXPECT_TRUE(limited->IsLimitEnabled() && limited->GetCollideConnected());
    EXPECT_NEAR(limited->GetAnchorB().y, 0.5f, 1e-6f);
    b2Body* c = scene.CreateCircle(10.0f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f);
    b2Body* d = scene.CreateCircle(12.0f, 4.0f, 0.5f, 1.0f, 0.5f, 0.0f);
    b2WeldJoint* weld = scene.CreateWeld(c, d);
    EXPECT_EQ(weld->GetAnchorA(), b2Vec2(11.0f, 2.0f)) << "midway";
    d->ApplyLinearImpulseToCenter(b2Vec2(5.0f, 0.0f), true);
    for (int i = 0; i < 60; ++i)
        scene.StepWorld();
    EXPECT_NEAR(b2Distance(c->GetPosition(), d->GetPosition()), std::sqrt(20.0f), 0.02f);
    // A rope limits the distance but lets the bodies closer: there the weight falls freely.
    Scene hanging(10.0f);
    b2Body* anchor = hanging.CreateBox(-0.5f, -0.5f, 1.0f, 1.0f, 0.0f, 0.5f, 0.0f);
    b2Body* weight = hanging.CreateCircle(0.0f, 1.0f, 0.1f, 1.0f, 0.5f, 0.0f);
    EXPECT_FALSE(hanging.CreateRope(anchor, weight, 0.0f, 0.0f, 0.0f, 0.0f, 2.3f)->GetCollideConnected());
    EXPECT_TRUE(hanging.CreateRope(anchor, weight, 0, 0, 0, 0, 9.0f, true)->GetCollideConnected());
    hanging.StepWorld();
    EXPECT_NEAR(weight->GetLinearVelocity().y, 10.0f / 60.0f, 1e-4f);
    float longest = 0.0f;
    for (int i = 0; i < 240; ++i) {
        hanging.StepWorld();
        longest = Max(longest, b2Distance(anchor->GetPosition(), weight->GetPosition()));
    }
    EXPECT_GT(longest, 2.2f);
    EXPECT_LT(longest, 2.31f);
}

TEST_F(BuilderTest, TagFilterAndValueReachTheBodyAndPolygonsWithoutAreaAreRefusedInsteadOfAborting) {
    Scene scene;
    b2Body* body = scene.CreateBox(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    b2CircleShape extra;
    extra.m_radius = 0.2f;
    body->CreateFixture(&extra, 1.0f);
    scene.SetBodyTag(body, kTagMat);
    scene.SetBodyFilter(body, 0x0004, 0x00F0);
    int fixtures = 0;
    for (b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext()) {
        ++fixtures;
        const b2Filter& filter = f->GetFilterData();
        EXPECT_EQ(std::tuple(FixtureTag(f), filter.categoryBits, filter.maskBits, filter.groupIndex),
                  std::tuple(kTagMat, 0x0004, 0x00F0, 0));
    }
    EXPECT_EQ(fixtures, 2);
    SetBodyValue(body, 7);
    EXPECT_EQ(std::tuple(BodyValue(body), BodyValue(scene.groundBody)), std::tuple(7u, 0u));
    const b2Vec2 hill[] = {{-5.0f, 0.0f}, {0.0f, -3.0f}, {5.0f, 0.0f}};
    EXPECT_NE(scene.AddGroundPolygon(hill, 3, 0.5f, 0.0f), nullptr);
    b2Body* hull = scene.CreatePolygon(10.0f, -2.0f, hill, 3, 1.0f, 0.5f, 0.0f);
    ASSERT_NE(hull, nullptr);
    const auto* shape = static_cast<b2PolygonShape*>(hull->GetFixtureList()->GetShape());
    EXPECT_NEAR(hull->GetWorldPoint(shape->m_vertices[0]).x, 5.0f, 1e-4f);
    const b2Vec2 flat[] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {2.0f, 0.0f}};
    EXPECT_EQ(scene.CreatePolygon(0.0f, 0.0f, flat, 3, 1.0f, 0.5f, 0.0f), nullptr);
    EXPECT_EQ(scene.AddGroundPolygon(flat, 3, 0.5f, 0.0f), nullptr);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 1.0f);
    const b2Vec2 line[3] = {{0.0f, 0.0f}, {1.0f, 1.0f}, {2.0f, 2.0f}};
    const b2Vec2 point[4] = {{0.0f, 0.0f}, {0.001f, 0.0f}, {0.0f, 0.001f}, {0.0f, 0.0f}};
    const b2Vec2 nan[3] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {std::nanf(""), 1.0f}};
    EXPECT_FALSE(SetPolygonChecked(&box, line, 3) || SetPolygonChecked(&box, point, 4) ||
                 SetPolygonChecked(&box, nan, 3) || SetPolygonChecked(&box, line, 2));
    EXPECT_EQ(box.m_count, 4) << "the box is left as it was";
    const b2Vec2 triangle[3] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
    EXPECT_TRUE(SetPolygonChecked(&box, triangle, 3));
    EXPECT_EQ(box.m_count, 3);
}

TEST_F(BuilderTest, DampingKeepsTheTunedFeelPerStepAndForcesWakeSleepingBodies) {
    Scene scene(0.0f);
    b2Body* body = scene.CreateCircle(0.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f);
    SetTunedLinearDamping(body, 6.0f);
    body->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    scene.StepWorld();
    EXPECT_NEAR(body->GetLinearVelocity().x, 9.0f, 1e-4f) << "1 - h·c = 0.9 of the speed per step";
    EXPECT_GT(DampingCoefficient(1000.0f), 0.0f) << "a rule that stopped at once stays finite and positive";
    b2Body* sleeper = scene.CreateCircle(5.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f);
    sleeper->SetAwake(false);
    ApplyForceWaking(sleeper, b2Vec2(60.0f, 0.0f), sleeper->GetWorldCenter());
    EXPECT_TRUE(sleeper->IsAwake());
    scene.StepWorld();
    EXPECT_GT(sleeper->GetLinearVelocity().x, 0.0f);
}

// Blocks are kept at a power of two, so the solver's slowly growing scratch fits the block it
// freed the step before.
TEST(Box2dMemory, FreedBlocksAreHandedOutAgainSmallestFittingFirst) {
    // Sizes no world of these tests asks for, so no block kept by an earlier test fits better.
    void* big = b2Alloc_Default(3 << 20);    // kept as 4 MiB
    void* bigger = b2Alloc_Default(6 << 20); // kept as 8 MiB
    b2Free_Default(bigger);
    b2Free_Default(big);
    void* again = b2Alloc_Default((3 << 20) + 4096);
    EXPECT_EQ(again, big);
    void* more = b2Alloc_Default(7 << 20);
    EXPECT_EQ(more, bigger);
    void* fresh = b2Alloc_Default(9 << 20);
    EXPECT_NE(fresh, big);
    EXPECT_NE(fresh, bigger);
    static_cast<char*>(fresh)[(9 << 20) - 1] = 1; // the whole block is there
    for (void* p : {again, more, fresh})
        b2Free_Default(p);
}

} // namespace
} // namespace kel::test
