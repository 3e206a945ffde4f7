// The ceremony tests' set-up: four named slots, a captured log, the timer, music, a grab-and-fling.
#pragma once

#include "events/event_test_support.h"
#include "platform/log.h"
#include "sim/records.h"

#include <cstdio>

namespace kel::test {

class CeremonyTest : public EventTest {
  protected:
    void SetUp() override {
        EventTest::SetUp();
        for (int i = 0; i < kPlayerCount; ++i) {
            players[i] = PlayerRecord{};
            players[i].active = 1;
            std::snprintf(players[i].nation.name, sizeof players[i].nation.name, "SLOT%d", i);
        }
        SetLogSink(&sink);
    }
    void TearDown() override {
        SetLogSink(nullptr);
        EventTest::TearDown();
    }
    template <class Scene> static void RunUntilTimer(Scene& s, int timer) {
        while (s.timer < timer)
            Step(s);
    }
    void ExpectLoopingMusic(const char* track) const {
        const int music = FindCall(SoundCall::kMusic);
        ASSERT_NE(music, -1) << track;
        EXPECT_EQ(sounds[static_cast<size_t>(music)].music, track);
        EXPECT_TRUE(sounds[static_cast<size_t>(music)].loop);
    }
    static void ClickBottomButton(SportEvent& s) { ClickPx(s, 512, 768 - 44); }
    // Grabs `body` by its head, drags it by (dx, dy) px for `frames` frames and lets go;
    // false when the press grabbed nothing.
    static bool Fling(SportEvent& s, b2Body* body, int dx, int dy, int frames) {
        const b2Vec2 head = body->GetWorldPoint(b2Vec2(0.0f, -1.0f));
        Grab(s, head);
        const bool grabbed = s.mouseJoint != nullptr && s.grabbedBody == body;
        for (int i = 0; i < frames; ++i) {
            MouseAt(PxX(s, head.x) + dx, PxY(s, head.y) + dy);
            gApp.mouseHeld = 1;
            Step(s);
        }
        Release();
        return grabbed;
    }
    PlayerRecord players[kPlayerCount];
    CaptureLogSink sink;
};

} // namespace kel::test
