// Body and joint builders, and the Box2D adaptations they rest on (rope, weld, damping, forces,
// polygon validation).
#include "sim/physics_compat.h"
#include "sim/sport_event.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

namespace kel::test {
namespace {

class Scene : public SportEvent {
  public:
    explicit Scene(float gravity = 10.0f) : SportEvent(kEventDiving) { CreateWorld(gravity); }
};

class BuilderTest : public SimTest {};

TEST_F(BuilderTest, BoxIsPlacedByItsTopLeftCornerAndStaticWithoutDensity) {
    Scene scene;
    b2Body* still = scene.CreateBox(1.0f, 2.0f, 4.0f, 2.0f, 0.0f, 0.3f, 0.1f);
    b2Body* moving = scene.CreateBox(1.0f, 2.0f, 4.0f, 2.0f, 0.5f, 0.3f, 0.1f);
    EXPECT_EQ(still->GetType(), b2_staticBody);
    EXPECT_EQ(moving->GetType(), b2_dynamicBody);
    EXPECT_EQ(moving->GetPosition(), b2Vec2(3.0f, 3.0f));
    EXPECT_NEAR(moving->GetMass(), 0.5f * 8.0f, 1e-4f);
}

TEST_F(BuilderTest, CircleIsCentredOnItsPosition) {
    Scene scene;
    b2Body* ball = scene.CreateCircle(-2.0f, 1.0f, 0.5f, 1.0f, 0.2f, 0.6f);
    EXPECT_EQ(ball->GetPosition(), b2Vec2(-2.0f, 1.0f));
    EXPECT_EQ(static_cast<const b2CircleShape*>(ball->GetFixtureList()->GetShape())->m_p, b2Vec2(0.0f, 0.0f));
    EXPECT_EQ(scene.CreateCircle(0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f)->GetType(), b2_staticBody);
}

TEST_F(BuilderTest, GroundBoxTopIsAtItsY) {
    Scene scene;
    b2Fixture* f = scene.AddGroundBox(-100.0f, 0.0f, 103.0f, 4.0f, 1.0f, 0.0f);
    EXPECT_EQ(f->GetBody(), scene.groundBody);
    const auto* poly = static_cast<const b2PolygonShape*>(f->GetShape());
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int i = 0; i < poly->m_count; ++i) {
        minX = Min(minX, poly->m_vertices[i].x);
        maxX = Max(maxX, poly->m_vertices[i].x);
        minY = Min(minY, poly->m_vertices[i].y);
        maxY = Max(maxY, poly->m_vertices[i].y);
    }
    EXPECT_FLOAT_EQ(minX, -100.0f);
    EXPECT_FLOAT_EQ(maxX, 3.0f);
    EXPECT_FLOAT_EQ(minY, 0.0f);
    EXPECT_FLOAT_EQ(maxY, 4.0f);
    // A box dropped on it comes to rest on y = 0.
    b2Body* box = scene.CreateBox(0.0f, -3.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    for (int i = 0; i < 180; ++i)
        scene.StepWorld();
    EXPECT_NEAR(box->GetPosition().y, -0.5f, 0.03f);
}

TEST_F(BuilderTest, RevoluteIsLimitedUnlessBothAnglesAreEqual) {
    Scene scene;
    b2Body* a = scene.CreateBox(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    b2Body* b = scene.CreateBox(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    b2RevoluteJoint* free = scene.CreateRevolute(a, b, 1.0f, 0.5f, 0.0f, 0.0f, false);
    b2RevoluteJoint* limited = scene.CreateRevolute(a, b, 1.0f, 0.5f, -0.5f, 0.5f, true);
    EXPECT_FALSE(free->IsLimitEnabled());
    EXPECT_TRUE(limited->IsLimitEnabled());
    EXPECT_TRUE(limited->GetCollideConnected());
    EXPECT_NEAR(limited->GetAnchorB().y, 0.5f, 1e-6f);
}

TEST_F(BuilderTest, WeldAnchorsMidwayAndHoldsRigidly) {
    Scene scene(0.0f);
    b2Body* a = scene.CreateCircle(0.0f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f);
    b2Body* b = scene.CreateCircle(2.0f, 4.0f, 0.5f, 1.0f, 0.5f, 0.0f);
    b2WeldJoint* weld = scene.CreateWeld(a, b);
    EXPECT_NEAR(weld->GetAnchorA().x, 1.0f, 1e-6f);
    EXPECT_NEAR(weld->GetAnchorA().y, 2.0f, 1e-6f);
    b->ApplyLinearImpulseToCenter(b2Vec2(5.0f, 0.0f), true);
    for (int i = 0; i < 60; ++i)
        scene.StepWorld();
    EXPECT_NEAR(b2Distance(a->GetPosition(), b->GetPosition()), std::sqrt(20.0f), 0.02f);
}

TEST_F(BuilderTest, RopeLimitsTheDistanceButLetsTheBodiesCloser) {
    Scene scene(10.0f);
    b2Body* anchor = scene.CreateBox(-0.5f, -0.5f, 1.0f, 1.0f, 0.0f, 0.5f, 0.0f);
    b2Body* weight = scene.CreateCircle(0.0f, 1.0f, 0.1f, 1.0f, 0.5f, 0.0f);
    scene.CreateRope(anchor, weight, 0.0f, 0.0f, 0.0f, 0.0f, 2.3f);
    // Closer than the limit the weight falls freely.
    scene.StepWorld();
    EXPECT_NEAR(weight->GetLinearVelocity().y, 10.0f / 60.0f, 1e-4f);
    float longest = 0.0f;
    for (int i = 0; i < 240; ++i) {
        scene.StepWorld();
        longest = Max(longest, b2Distance(anchor->GetPosition(), weight->GetPosition()));
    }
    EXPECT_GT(longest, 2.2f);
    EXPECT_LT(longest, 2.31f);
}

TEST_F(BuilderTest, TagAndFilterReachEveryFixture) {
    Scene scene;
    b2Body* body = scene.CreateBox(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    b2CircleShape extra;
    extra.m_radius = 0.2f;
    body->CreateFixture(&extra, 1.0f);
    body->CreateFixture(&extra, 1.0f);
    scene.SetBodyTag(body, kTagMat);
    scene.SetBodyFilter(body, 0x0004, 0x00F0);
    int fixtures = 0;
    for (b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext()) {
        ++fixtures;
        EXPECT_EQ(FixtureTag(f), kTagMat);
        EXPECT_EQ(f->GetFilterData().categoryBits, 0x0004);
        EXPECT_EQ(f->GetFilterData().maskBits, 0x00F0);
        EXPECT_EQ(f->GetFilterData().groupIndex, 0);
    }
    EXPECT_EQ(fixtures, 3);
}

class CompatTest : public SimTest {};

TEST_F(CompatTest, DampingKeepsTheTunedFeelPerStep) {
    Scene scene(0.0f);
    b2Body* body = scene.CreateCircle(0.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f);
    SetTunedLinearDamping(body, 6.0f);
    body->SetLinearVelocity(b2Vec2(10.0f, 0.0f));
    scene.StepWorld();
    // The tuned rule keeps 1 - h·c = 0.9 of the speed per step.
    EXPECT_NEAR(body->GetLinearVelocity().x, 9.0f, 1e-4f);
    EXPECT_GT(DampingCoefficient(1000.0f), 0.0f) << "a rule that stopped at once stays finite and positive";
}

TEST_F(CompatTest, ForcesWakeSleepingBodies) {
    Scene scene(0.0f);
    b2Body* body = scene.CreateCircle(0.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f);
    body->SetAwake(false);
    ApplyForceWaking(body, b2Vec2(60.0f, 0.0f), body->GetWorldCenter());
    EXPECT_TRUE(body->IsAwake());
    scene.StepWorld();
    EXPECT_GT(body->GetLinearVelocity().x, 0.0f);
}

TEST_F(CompatTest, PolygonsWithoutAreaAreRefusedInsteadOfAborting) {
    b2PolygonShape shape;
    shape.SetAsBox(1.0f, 1.0f);
    const b2Vec2 line[3] = {{0.0f, 0.0f}, {1.0f, 1.0f}, {2.0f, 2.0f}};
    const b2Vec2 point[4] = {{0.0f, 0.0f}, {0.001f, 0.0f}, {0.0f, 0.001f}, {0.0f, 0.0f}};
    const b2Vec2 nan[3] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {std::nanf(""), 1.0f}};
    EXPECT_FALSE(SetPolygonChecked(&shape, line, 3));
    EXPECT_FALSE(SetPolygonChecked(&shape, point, 4));
    EXPECT_FALSE(SetPolygonChecked(&shape, nan, 3));
    EXPECT_FALSE(SetPolygonChecked(&shape, line, 2));
    EXPECT_EQ(shape.m_count, 4) << "the box is left as it was";
    const b2Vec2 triangle[3] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
    EXPECT_TRUE(SetPolygonChecked(&shape, triangle, 3));
    EXPECT_EQ(shape.m_count, 3);
}

} // namespace
} // namespace kel::test
