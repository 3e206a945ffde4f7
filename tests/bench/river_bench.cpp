// The kayak slalom's river as a bare Box2D world, stepped with nothing of the game around it: the
// floor against which the scene's update is held. Same channel, rocks, gate poles, kayak and
// paddle, and the 170 water balls born every second frame, pushed by the current and sent back
// upstream as the scene does, with the view following the drifting kayak.
//
//   bench_river [frames]     prints the median and 95th percentile of the frame, in microseconds
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;
constexpr int kWarmupFrames = 60; // as kelvaro-sim --bench: the first second is not counted
constexpr size_t kBalls = 170;

struct Lcg {
    uint32_t s = 1;
    float Float(float a, float b) {
        s = s * 214013u + 2531011u;
        return a + (b - a) * static_cast<float>(s >> 16) / 65535.0f;
    }
};

b2Body* Body(b2World& world, b2BodyType type, float x, float y) {
    b2BodyDef def;
    def.type = type;
    def.position.Set(x, y);
    return world.CreateBody(&def);
}

void Fixture(b2Body* body, const b2Shape& shape, float density, float restitution, uint16_t category,
             uint16_t mask) {
    b2FixtureDef def;
    def.shape = &shape;
    def.density = density;
    def.friction = 0.0f;
    def.restitution = restitution;
    def.filter.categoryBits = category;
    def.filter.maskBits = mask;
    body->CreateFixture(&def);
}

void Box(b2Body* ground, float x, float y, float w, float h, float restitution) {
    b2PolygonShape shape;
    shape.SetAsBox(w / 2, h / 2, b2Vec2(x + w / 2, y + h / 2), 0.0f);
    Fixture(ground, shape, 0.0f, restitution, 1, 0xFFFF);
}

// One frame of the river; kept out of line so a profiler can count it alone.
__attribute__((noinline)) void RiverFrame(b2World& world, std::vector<b2Body*>& balls, b2Body* kayak,
                                          int frame, Lcg& random) {
    world.Step(kStep, 8, 3);
    const float cameraX = std::clamp(kayak->GetPosition().x + 1.0f, 9.5f, 82.5f);
    if (frame % 2 == 0 && balls.size() < kBalls) {
        b2Body* ball = Body(world, b2_dynamicBody, std::max(0.0f, cameraX - 13.0f), random.Float(-5, 5));
        b2CircleShape circle;
        circle.m_radius = 0.24f;
        Fixture(ball, circle, 0.2f, 0.0f, 0x0004, 0x00FF);
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
    const int frames = argc > 1 ? std::max(kWarmupFrames + 1, std::atoi(argv[1])) : 1200;
    b2World world(b2Vec2(0, 0));
    b2Body* ground = Body(world, b2_staticBody, 0, 0);
    Box(ground, -4, -8, 4, 16, 0.1f);
    Box(ground, 92, -8, 4, 16, 0.1f);
    Box(ground, -4, -12, 100, 4, 0);
    Box(ground, -4, 8, 100, 4, 0);
    for (float x0 = 0; x0 < 92; x0 += 15) {
        b2PolygonShape rock;
        const b2Vec2 v[] = {{x0, -8}, {x0 + 15, -8}, {x0 + 7.5f, -6}};
        rock.Set(v, 3);
        Fixture(ground, rock, 0, 0, 1, 0xFFFF);
    }
    for (float x0 = -4; x0 < 92; x0 += 15) {
        b2PolygonShape rock;
        const b2Vec2 v[] = {{x0, 8}, {x0 + 7.5f, 6}, {x0 + 15, 8}};
        rock.Set(v, 3);
        Fixture(ground, rock, 0, 0, 1, 0xFFFF);
    }
    b2Body* kayak = Body(world, b2_dynamicBody, 2.1f, 0);
    b2PolygonShape diamond;
    const b2Vec2 hull[] = {{-2, 0}, {0, -0.66f}, {2, 0}, {0, 0.66f}};
    diamond.Set(hull, 4);
    Fixture(kayak, diamond, 1, 0.1f, 0x0002, 0x00FF);
    b2Body* paddle = Body(world, b2_dynamicBody, 2.4f, 0);
    b2PolygonShape bar;
    bar.SetAsBox(0.1f, 1.7f);
    Fixture(paddle, bar, 0.5f, 0.1f, 0x0008, 0x0004);
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
        const float x = lineX + 0.76f * static_cast<float>(k % 3);
        const float centre = k % 2 == 0 ? -3.0f : 3.0f;
        for (const float y : {centre - 2.175f, centre + 2.175f}) {
            b2CircleShape pole;
            pole.m_radius = 0.25f;
            Fixture(Body(world, b2_staticBody, x, y), pole, 0, 0.1f, 1, 0xFFFF);
        }
        lineX += 62.0f / 9.0f;
    }

    std::vector<b2Body*> balls;
    balls.reserve(kBalls);
    Lcg random;
    std::vector<double> micros;
    for (int frame = 0; frame < frames; ++frame) {
        const auto t0 = std::chrono::steady_clock::now();
        RiverFrame(world, balls, kayak, frame, random);
        const auto t1 = std::chrono::steady_clock::now();
        if (frame >= kWarmupFrames)
            micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("river: %zu balls, %zu frames: median %.0f us, p95 %.0f us\n", balls.size(), micros.size(),
                micros[micros.size() / 2], micros[micros.size() * 95 / 100]);
    return 0;
}
