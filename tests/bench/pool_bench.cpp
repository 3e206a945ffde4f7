// The swimming pool as a bare Box2D world, stepped with nothing of the game around it: the floor
// against which the scene's update is held. Same floor and decks, swimmer with his arm bar on a
// turning shoulder, two officials and 204 water balls, no contact listener, and the plain
// all-pairs pressure pass with one ApplyForce per pair, as the water is described.
//   bench_pool [frames]     prints the median and 95th percentile of the step alone, of the
//                           pressure pass alone and of the two together, in microseconds
#include "bench.h"

#include <cmath>

namespace {

using namespace bench;

b2Body* Box(b2World& world, float x, float y, float w, float h, float density, float friction,
            float restitution) {
    const b2BodyType type = density != 0.0f ? b2_dynamicBody : b2_staticBody;
    return Fixture(Body(world, type, x + w / 2, y + h / 2), Rect(-w / 2, -h / 2, w, h), density, friction,
                   restitution);
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
            const float length = d.Length();
            const float r = length >= 1.1920929e-7f ? length : 0.0f;
            if (r > 0.0f) d *= 1.0f / r;
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
    world.Step(kStep, 8, 3);
}

} // namespace

int main(int argc, char** argv) {
    const int frames = Frames(argc, argv, kWarmupFrames + 1, 1200);
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
    for (float row = 0; row < 4; ++row)
        for (float x = -12.75f; x < 12.75f; x += 0.5f)
            balls.push_back(Fixture(Body(world, b2_dynamicBody, x, -0.25f - 0.5f * row), Circle(0.2f), 1, 0));
    Box(world, -17, -5.4f, 0.9f, 2.4f, 1, 0.5f, 0.2f);
    Box(world, 17, -5.4f, 0.9f, 2.4f, 1, 0.5f, 0.2f);
    // The swimmer starts in the water, as he is for most of a race.
    swimmer->SetTransform(b2Vec2(-10, -2.5f), 1.2f);
    arms->SetTransform(b2Vec2(-10, -2.5f), 0);

    std::vector<double> step, pressure, both;
    for (int frame = 0; frame < frames; ++frame) {
        const double stepMicros = Micros([&] { PoolStep(world); });
        const double pressureMicros = Micros([&] { PressurePass(balls); });
        if (frame < kWarmupFrames) continue;
        step.push_back(stepMicros);
        pressure.push_back(pressureMicros);
        both.push_back(stepMicros + pressureMicros);
    }
    std::printf("pool: %zu balls, %zu frames: ", balls.size(), both.size());
    Print("step ", step, "; ");
    Print("pressure ", pressure, "; ");
    Print("together ", both, "\n");
    return 0;
}
