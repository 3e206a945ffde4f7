// The swimming pool as a bare Box2D world, stepped with nothing of the game around it: the floor
// against which the scene's update is held. Same floor and decks, swimmer with his arm bar on a
// turning shoulder, two officials and 204 water balls, no contact listener, and the plain
// all-pairs pressure pass with one ApplyForce per pair, as the water is described.
//
//   bench_pool [frames]     prints the median and 95th percentile of the step alone, of the
//                           pressure pass alone and of the two together, in microseconds
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWarmupFrames = 60; // as kelvaro-sim --bench: the first second is not counted

b2Body* Box(b2World& world, float x, float y, float w, float h, float density, float friction,
            float restitution) {
    b2BodyDef def;
    def.type = density != 0.0f ? b2_dynamicBody : b2_staticBody;
    def.position.Set(x + w / 2, y + h / 2);
    b2Body* body = world.CreateBody(&def);
    b2PolygonShape shape;
    shape.SetAsBox(w / 2, h / 2);
    b2FixtureDef fixture;
    fixture.shape = &shape;
    fixture.density = density;
    fixture.friction = friction;
    fixture.restitution = restitution;
    body->CreateFixture(&fixture);
    return body;
}

float Pressure(float r2) {
    return std::clamp(2.0f - 2.0f * r2 / 0.5f, 0.0f, 2.0f);
}

__attribute__((noinline)) void PressurePass(const std::vector<b2Body*>& balls) {
    const size_t n = balls.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            b2Vec2 d = balls[j]->GetPosition() - balls[i]->GetPosition();
            if (std::fabs(d.x) > 0.5f || std::fabs(d.y) > 0.5f) continue;
            float r = d.Length();
            if (r >= 1.1920929e-7f) {
                d *= 1.0f / r;
            } else {
                r = 0.0f;
            }
            const float s = Pressure(r * r);
            balls[i]->ApplyForce(-s * d, balls[i]->GetPosition(), true);
            balls[j]->ApplyForce(s * d, balls[j]->GetPosition(), true);
        }
    }
    for (b2Body* ball : balls) {
        const float y = ball->GetPosition().y;
        if (y > -0.5f)
            ball->ApplyForce(b2Vec2(0, -Pressure((-0.5f - y) * (-0.5f - y))), ball->GetPosition(), true);
    }
}

__attribute__((noinline)) void PoolStep(b2World& world) {
    world.Step(1.0f / 60.0f, 8, 3);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double P95(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() * 95 / 100];
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(kWarmupFrames + 1, std::atoi(argv[1])) : 1200;
    b2World world(b2Vec2(0, 7));
    Box(world, -13, 0, 26, 4, 0, 0, 0);
    Box(world, -23, -3, 10, 7, 0, 1, 0);
    Box(world, 13, -3, 10, 7, 0, 1, 0);
    b2Body* swimmer = Box(world, -14, -5.4f, 0.7f, 2.4f, 0.6f, 0.1f, 0);
    b2Body* arms = Box(world, -14.8f, -4.9f, 2.3f, 0.2f, 0.8f, 0.1f, 0);
    b2RevoluteJointDef shoulder;
    shoulder.Initialize(swimmer, arms, b2Vec2(-13.65f, -4.8f));
    shoulder.enableMotor = true; // swimming, as after the dive
    shoulder.maxMotorTorque = 20;
    shoulder.motorSpeed = 8;
    world.CreateJoint(&shoulder);
    std::vector<b2Body*> balls;
    for (int row = 0; row < 4; ++row) {
        for (float x = -12.75f; x < 12.75f; x += 0.5f) {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position.Set(x, -0.25f - 0.5f * static_cast<float>(row));
            b2Body* ball = world.CreateBody(&def);
            b2CircleShape circle;
            circle.m_radius = 0.2f;
            b2FixtureDef fixture;
            fixture.shape = &circle;
            fixture.density = 1;
            fixture.friction = 0;
            ball->CreateFixture(&fixture);
            balls.push_back(ball);
        }
    }
    Box(world, -17, -5.4f, 0.9f, 2.4f, 1, 0.5f, 0.2f);
    Box(world, 17, -5.4f, 0.9f, 2.4f, 1, 0.5f, 0.2f);
    // The swimmer starts in the water, as he is for most of a race.
    swimmer->SetTransform(b2Vec2(-10, -2.5f), 1.2f);
    arms->SetTransform(b2Vec2(-10, -2.5f), 0);

    std::vector<double> step, pressure, both;
    using Clock = std::chrono::steady_clock;
    for (int frame = 0; frame < frames; ++frame) {
        const auto t0 = Clock::now();
        PoolStep(world);
        const auto t1 = Clock::now();
        PressurePass(balls);
        const auto t2 = Clock::now();
        if (frame < kWarmupFrames) continue;
        step.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        pressure.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        both.push_back(std::chrono::duration<double, std::micro>(t2 - t0).count());
    }
    std::printf("pool: %zu balls, %zu frames: step median %.0f us, p95 %.0f us; pressure median %.0f us, p95 "
                "%.0f us; "
                "together median %.0f us, p95 %.0f us\n",
                balls.size(), both.size(), Median(step), P95(step), Median(pressure), P95(pressure),
                Median(both), P95(both));
    return 0;
}
