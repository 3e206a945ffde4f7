// The runner's report: the world hash, JSON text, effect names and the bench statistics.
#include "audio/sound.h"
#include "platform/log.h"
#include "runner/runner.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

// Designated initializers leave the fields they skip at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kel {
namespace {

b2Body* AddBody(b2World* world, float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    b2Body* body = world->CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(0.5f, 0.5f);
    body->CreateFixture(&box, 1.0f);
    return body;
}

TEST(WorldHash, SameWorldsHashAlikeAndBodyOrderAndEveryStateFieldCount) {
    b2World a(b2Vec2(0.0f, 10.0f)), b(b2Vec2(0.0f, 10.0f));
    EXPECT_EQ(WorldHash(nullptr), WorldHash(&a));
    EXPECT_EQ(WorldHash(nullptr), "cbf29ce484222325");
    AddBody(&a, 1.0f, 2.0f);
    AddBody(&b, 1.0f, 2.0f);
    for (int i = 0; i < 30; ++i) {
        a.Step(1.0f / 60.0f, 8, 3);
        b.Step(1.0f / 60.0f, 8, 3);
    }
    EXPECT_EQ(WorldHash(&a), WorldHash(&b));
    AddBody(&a, 2.0f, 0.0f);
    AddBody(&a, 3.0f, 0.0f);
    AddBody(&b, 3.0f, 0.0f);
    AddBody(&b, 2.0f, 0.0f);
    EXPECT_NE(WorldHash(&a), WorldHash(&b));
    // Every state field counts, down to a difference a printed value would round away.
    b2World world(b2Vec2(0.0f, 0.0f));
    b2Body* body = AddBody(&world, 1.0f, 2.0f);
    std::vector<std::string> seen = {WorldHash(&world)};
    const std::function<void()> changes[] = {[&] { body->SetTransform(b2Vec2(1.5f, 2.0f), 0.0f); },
                                             [&] { body->SetTransform(b2Vec2(1.5f, 2.5f), 0.0f); },
                                             [&] { body->SetTransform(b2Vec2(1.5f, 2.5f), 0.25f); },
                                             [&] { body->SetLinearVelocity(b2Vec2(1.0f, 0.0f)); },
                                             [&] { body->SetLinearVelocity(b2Vec2(1.0f, 1.0f)); },
                                             [&] { body->SetAngularVelocity(3.0f); },
                                             [&] { body->SetAngularVelocity(3.0000002f); }};
    for (const auto& change : changes) {
        change();
        const std::string h = WorldHash(&world);
        for (const std::string& s : seen)
            EXPECT_NE(h, s) << "change " << seen.size();
        seen.push_back(h);
    }
}

TEST(ReportJson, StringsAreEscapedFloatsReadBackExactlyWithoutAnExponentAndReportsInFull) {
    std::string out;
    AppendJsonString(&out, "a\"b\\c\nd\te\x01");
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    for (float v : {0.1f, 12.345678f, -3.5f}) {
        out.clear();
        AppendJsonFloat(&out, v);
        EXPECT_EQ(std::strtof(out.c_str(), nullptr), v) << out;
    }
    // 380 was once printed "3.8e+02".
    for (const auto& [v, text] : {std::pair{401.0f, "401"}, {380.0f, "380"}, {1e-7f, "0.0000001"},
                                  {16777216.0f, "16777216"}, {12.5f, "12.5"},
                                  {std::numeric_limits<float>::quiet_NaN(), "null"}}) {
        out.clear();
        AppendJsonFloat(&out, v);
        EXPECT_EQ(out, text);
    }
    const SceneReport r{.scene = 3, .seed = 7, .frames = 900, .finished = true, .finishedFrame = 640,
                        .result = 401.0f, .worldHash = "00000000000000ff",
                        .sounds = {"gunshot", "footstep3"}};
    EXPECT_EQ(SceneReportJson(r),
              "{\"scene\":3,\"seed\":7,\"frames\":900,\"finished\":true,\"finishedFrame\":640,"
              "\"result\":401,\"fault\":false,\"worldHash\":\"00000000000000ff\","
              "\"sounds\":[\"gunshot\",\"footstep3\"],\"music\":[]}");
    // A session names its state and scene, or null, and keeps the analytics lines.
    EXPECT_NE(SessionReportJson({}).find("\"state\":null,\"scene\":null"), std::string::npos);
    const std::string json = SessionReportJson(
        {.frames = 12, .quit = true, .state = 7, .scene = 3, .analytics = {"Flurry:  Javelin  2"}});
    EXPECT_NE(json.find("\"frames\":12,\"quit\":true,\"state\":7,\"scene\":3,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"analytics\":[\"Flurry:  Javelin  2\"]"), std::string::npos) << json;
}

TEST(ReportLines, OnlyFlurryLinesAreKeptAndEffectCallsGoByFileName) {
    AnalyticsLogSink sink;
    SetLogSink(&sink);
    LogDebug("Can't load resource: %s", "art/x.png");
    LogDebug("Flurry:  %s  %d", "Javelin", 2);
    LogDebug("%s", "");
    LogDebug("Result Flurry:  not at the start");
    LogDebug("Flurry:  %s  %d", "100m Dash", 0);
    SetLogSink(nullptr);
    EXPECT_EQ(sink.Lines(), (std::vector<std::string>{"Flurry:  Javelin  2", "Flurry:  100m Dash  0"}));
    const std::vector<SoundCall> calls = {{.kind = SoundCall::kEffect, .effect = kSfxGunshot},
                                          {.kind = SoundCall::kMusic, .music = "Javelin.mp3"},
                                          {.kind = SoundCall::kStopChannel},
                                          {.kind = SoundCall::kEffect, .effect = kSfxCount + 5}};
    EXPECT_EQ(EffectNames(calls), (std::vector<std::string>{"gunshot", "effect 50"}));
    EXPECT_EQ(MusicNames(calls), (std::vector<std::string>{"Javelin.mp3"}));
}

TEST(BenchStatistics, NearestRankAndAllocationsOfTheFirstSecondLeftOut) {
    EXPECT_EQ(NearestRankPercentile({}, 0.5), 0u);
    EXPECT_EQ(NearestRankPercentile({7}, 0.95), 7u);
    EXPECT_EQ(NearestRankPercentile({5, 1, 4, 2, 3}, 0.5), 3u);
    std::vector<uint64_t> hundred;
    for (uint64_t i = 100; i >= 1; --i)
        hundred.push_back(i);
    for (const auto& [rank, value] : {std::pair{0.95, 95u}, {1.0, 100u}, {0.0, 1u}})
        EXPECT_EQ(NearestRankPercentile(hundred, rank), value) << rank;

    FrameTiming t;
    for (int f = 0; f < kBenchWarmupFrames + 10; ++f) {
        t.updateMicros.push_back(10);
        t.drawMicros.push_back(20);
        t.allocations.push_back(f < kBenchWarmupFrames ? 1000 : 0);
    }
    t.allocations[kBenchWarmupFrames + 4] = 3;
    const std::string s = BenchSummary(t, true);
    EXPECT_NE(s.find("update median 10 us, p95 10 us"), std::string::npos) << s;
    EXPECT_NE(s.find("draw median 20 us, p95 20 us"), std::string::npos) << s;
    EXPECT_NE(s.find(": 3 in 10 frames"), std::string::npos) << s;
    EXPECT_NE(s.find("most 3 in frame 64"), std::string::npos) << s;
    EXPECT_NE(BenchSummary(t, false).find("not counted"), std::string::npos);
}

} // namespace
} // namespace kel
