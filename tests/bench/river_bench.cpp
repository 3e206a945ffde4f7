// The kayak slalom's river as a bare Box2D world, stepped with nothing of the game around it: the
// floor against which the scene's update is held. Same channel, rocks, gate poles, kayak and
// paddle, and the 170 water balls born every second frame, pushed by the current and sent back
// upstream as the scene does, with the view following the drifting kayak.
//   bench_river [frames]     prints the median and 95th percentile of the frame, in microseconds
#include "bench.h"

namespace {

using namespace bench;

constexpr size_t kBalls = 170;

struct Lcg {
    uint32_t s = 1;
    float Float(float a, float b) {
        s = s * 214013u + 2531011u;
        return a + (b - a) * static_cast<float>(s >> 16) / 65535.0f;
    }
};

// One frame of the river; kept out of line so a profiler can count it alone.
__attribute__((noinline)) void RiverFrame(b2World& world, std::vector<b2Body*>& balls, b2Body* kayak,
                                          int frame, Lcg& random) {
    world.Step(kStep, 8, 3);
    const float cameraX = std::clamp(kayak->GetPosition().x + 1.0f, 9.5f, 82.5f);
    if (frame % 2 == 0 && balls.size() < kBalls) {
        b2Body* ball =
            Fixture(Body(world, b2_dynamicBody, std::max(0.0f, cameraX - 13.0f), random.Float(-5, 5)),
                    Circle(0.24f), 0.2f, 0.0f, 0.0f, 0x0004, 0x00FF);
        ball->SetLinearVelocity(b2Vec2(4, 0));
        balls.push_back(ball);
    }
    const float lastX = std::min(91.7f, cameraX + 13.0f);
    for (b2Body* ball : balls) {
        ball->ApplyForceToCenter(b2Vec2(0.15f, 0.0f), true);
        const b2Vec2 p = ball->GetPosition();
        if (p.y < -10 || p.y > 10 || p.x > lastX) {
            ball->SetTransform(b2Vec2(std::max(0.0f, p.x - 26.0f), random.Float(-5, 5)), 0.0f);
            ball->SetLinearVelocity(b2Vec2(5, 0));
            ball->SetAngularVelocity(0);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const int frames = Frames(argc, argv, kWarmupFrames + 1, 1200);
    b2World world(b2Vec2(0, 0));
    b2Body* ground = Body(world, b2_staticBody, 0, 0);
    Fixture(ground, Rect(-4, -8, 4, 16), 0, 0, 0.1f);
    Fixture(ground, Rect(92, -8, 4, 16), 0, 0, 0.1f);
    Fixture(ground, Rect(-4, -12, 100, 4), 0, 0);
    Fixture(ground, Rect(-4, 8, 100, 4), 0, 0);
    for (float x0 = 0; x0 < 92; x0 += 15)
        Fixture(ground, Polygon({{x0, -8}, {x0 + 15, -8}, {x0 + 7.5f, -6}}), 0, 0);
    for (float x0 = -4; x0 < 92; x0 += 15)
        Fixture(ground, Polygon({{x0, 8}, {x0 + 7.5f, 6}, {x0 + 15, 8}}), 0, 0);
    b2Body* kayak = Fixture(Body(world, b2_dynamicBody, 2.1f, 0),
                            Polygon({{-2, 0}, {0, -0.66f}, {2, 0}, {0, 0.66f}}), 1, 0, 0.1f, 0x0002, 0x00FF);
    b2Body* paddle = Fixture(Body(world, b2_dynamicBody, 2.4f, 0), Rect(-0.1f, -1.7f, 0.2f, 3.4f), 0.5f, 0,
                             0.1f, 0x0008, 0x0004);
    b2RevoluteJointDef pivot;
    pivot.Initialize(kayak, paddle, b2Vec2(2.4f, 0));
    pivot.enableLimit = true;
    pivot.lowerAngle = -1.1f;
    pivot.upperAngle = 1.1f;
    pivot.enableMotor = true;
    pivot.maxMotorTorque = 100;
    world.CreateJoint(&pivot);
    float lineX = 15;
    for (int k = 0; k < 10; ++k) {
        const float x = lineX + 0.76f * static_cast<float>(k % 3), centre = k % 2 == 0 ? -3.0f : 3.0f;
        for (const float y : {centre - 2.175f, centre + 2.175f})
            Fixture(Body(world, b2_staticBody, x, y), Circle(0.25f), 0, 0, 0.1f);
        lineX += 62.0f / 9.0f;
    }

    std::vector<b2Body*> balls;
    balls.reserve(kBalls);
    Lcg random;
    std::vector<double> micros;
    for (int frame = 0; frame < frames; ++frame) {
        const double frameMicros = Micros([&] { RiverFrame(world, balls, kayak, frame, random); });
        if (frame >= kWarmupFrames) micros.push_back(frameMicros);
    }
    std::printf("river: %zu balls, %zu frames: ", balls.size(), micros.size());
    Print("", micros, "\n");
    return 0;
}
