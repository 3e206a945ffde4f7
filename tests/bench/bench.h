// What the benchmarks share: the frame count from the command line, a stopwatch, the median and
// 95th percentile of a run, and short-hands for the Box2D bodies and fixtures they build.
#pragma once

#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {

constexpr float kStep = 1.0f / 60.0f;
constexpr int kWarmupFrames = 60; // as kelvaro-sim --bench: the first second is not counted

// The frame count given as the first argument, at least `least`.
inline int Frames(int argc, char** argv, int least, int otherwise) {
    return argc > 1 ? std::max(least, std::atoi(argv[1])) : otherwise;
}

// Microseconds `work` takes.
template <class Work> double Micros(Work&& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

// The sample below which `percent` of them lie: 50 for the median.
inline double Percentile(std::vector<double> micros, size_t percent) {
    std::sort(micros.begin(), micros.end());
    return micros[micros.size() * percent / 100];
}

// Prints "<before>median 12 us, p95 34 us<after>".
inline void Print(const char* before, const std::vector<double>& micros, const char* after) {
    std::printf("%smedian %.0f us, p95 %.0f us%s", before, Percentile(micros, 50), Percentile(micros, 95),
                after);
}

inline b2Body* Body(b2World& world, b2BodyType type, float x, float y) {
    b2BodyDef def;
    def.type = type;
    def.position.Set(x, y);
    return world.CreateBody(&def);
}

inline b2Body* Fixture(b2Body* body, const b2Shape& shape, float density, float friction,
                       float restitution = 0.0f, uint16_t category = 1, uint16_t mask = 0xFFFF) {
    b2FixtureDef def;
    def.shape = &shape;
    def.density = density;
    def.friction = friction;
    def.restitution = restitution;
    def.filter.categoryBits = category;
    def.filter.maskBits = mask;
    body->CreateFixture(&def);
    return body;
}

// A w by h box with its top-left corner at (left, top) in the body's frame.
inline b2PolygonShape Rect(float left, float top, float w, float h) {
    b2PolygonShape shape;
    shape.SetAsBox(w / 2, h / 2, b2Vec2(left + w / 2, top + h / 2), 0.0f);
    return shape;
}

inline b2PolygonShape Polygon(std::initializer_list<b2Vec2> points) {
    b2PolygonShape shape;
    shape.Set(points.begin(), static_cast<int>(points.size()));
    return shape;
}

inline b2CircleShape Circle(float radius) {
    b2CircleShape shape;
    shape.m_radius = radius;
    return shape;
}

} // namespace bench
