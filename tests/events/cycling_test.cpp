// The cycling race driven with scripted mouse input: the track's grass, the lap line on the top
// straight, the cost of a knock, the crash rules, the board, the runner's scripts and a pinned hash.
#include "events/cycling/cycling.h"
#include "event_test_support.h"

#include "app/input_script.h"
#include "base/random.h"
#include "sim/records.h"
#include "sim/scene_host.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

class CyclingTest : public EventTest {
  protected:
    // Grabs the bike where it stands and lets go: the race clock runs, nobody holds the bike.
    void StartAndLetGo(CyclingEvent& s) {
        const b2Vec2 p = s.bike->GetPosition();
        MouseAt(PxX(s, p.x), PxY(s, p.y));
        Press();
        Step(s);
        Release();
        Step(s);
    }
    int Play(CyclingEvent& s, const char* name, int frames) {
        const InputScript script = LoadScript(name);
        ScriptPlayer player(script);
        int finishedFrame = -1;
        for (int frame = 0; frame < frames && finishedFrame < 0; ++frame) {
            player.Apply(frame);
            Step(s);
            if (s.finished) finishedFrame = frame;
        }
        return finishedFrame;
    }
};

TEST_F(CyclingTest, TheGrassBeginsAtTheRoundedOuterEdge) {
    struct Case {
        float x, y;
        bool grass;
    };
    const Case cases[] = {
        {0.0f, -9.29f, false}, {0.0f, -9.31f, true},  {12.49f, 0.0f, false}, {-12.51f, 0.0f, true},
        // The corner about (5.8, 2.5) has a radius of 6.8 m: its diagonal at 4.80 m is track,
        // at 4.82 m grass, though both lie well inside the bounding rectangle.
        {5.8f + 4.80f, 2.5f + 4.80f, false}, {-5.8f - 4.82f, -2.5f - 4.82f, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CyclingEvent::OnGrass(c.x, c.y), c.grass) << c.x << ", " << c.y;
}

TEST_F(CyclingTest, OnlyNetCrossingsOfTheLineOnTheTopStraightCount) {
    CyclingEvent s;
    StartAndLetGo(s);
    ASSERT_EQ(s.phase, CyclingEvent::kRacing);
    auto moveTo = [&](float x, float y) {
        s.bike->SetTransform(b2Vec2(x, y), 0.0f);
        s.bike->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        Step(s);
    };
    moveTo(-1.0f, -7.0f);
    EXPECT_EQ(s.lapsLeft, 6) << "backwards over the line gives a lap back";
    moveTo(-0.5f, -7.0f);
    EXPECT_EQ(s.lapsLeft, 5);
    // The same x on the bottom straight is not the line, in either direction.
    moveTo(-0.5f, 7.0f);
    moveTo(-1.0f, 7.0f);
    EXPECT_EQ(s.lapsLeft, 5);
    moveTo(-0.5f, 7.0f);
    EXPECT_EQ(s.lapsLeft, 5);
}

TEST_F(CyclingTest, AKnockOnTheInfieldCostsFortyPercentOfTheSpeed) {
    CyclingEvent s;
    StartAndLetGo(s);
    s.bike->SetTransform(b2Vec2(0.0f, -6.3f), 0.0f);
    s.bike->SetLinearVelocity(b2Vec2(0.0f, 8.0f));
    for (int i = 0; i < 10; ++i)
        Step(s);
    const b2Vec2 v = s.bike->GetLinearVelocity();
    EXPECT_LT(v.y, 0.0f) << "the infield bounces it back";
    EXPECT_NEAR(v.Length(), 0.6f * 8.0f, 0.3f);
    EXPECT_EQ(CountEffect(kSfxMetal3), 1);
    EXPECT_EQ(s.pendingImpacts, 0);
}

TEST_F(CyclingTest, TheGrassBrakesOnlyADraggedBike) {
    CyclingEvent free;
    StartAndLetGo(free);
    free.bike->SetTransform(b2Vec2(0.0f, -11.0f), 0.0f);
    free.bike->SetLinearVelocity(b2Vec2(5.0f, 0.0f));
    for (int i = 0; i < 20; ++i)
        Step(free);
    EXPECT_NEAR(free.bike->GetLinearVelocity().x, 5.0f, 1e-3f) << "free-rolling on the grass keeps its speed";
    EXPECT_EQ(CountEffect(kSfxSkid), 0);

    CyclingEvent dragged;
    const b2Vec2 p = dragged.bike->GetPosition();
    MouseAt(PxX(dragged, p.x), PxY(dragged, p.y));
    Press();
    Step(dragged);
    // Hold the cursor on the grass above the track; the bike is pulled onto it.
    MouseAt(PxX(dragged, p.x), 2);
    for (int i = 0; i < 120 && dragged.grassFrames < 5; ++i) {
        gApp.mouseHeld = 1;
        Step(dragged);
    }
    EXPECT_EQ(dragged.grassFrames, 5);
    EXPECT_EQ(CountEffect(kSfxSkid), 1) << "the skid sounds on the fifth frame";
    EXPECT_TRUE(dragged.dust.emitting);
    EXPECT_GT(dragged.bike->GetLinearDamping(), 4.0f);
}

TEST_F(CyclingTest, ScriptedCrashesEndInDnq) {
    struct Case {
        const char* script;
        int frames;
        bool fault;
        int finishedFrame; // -1: not checked
    };
    const Case cases[] = {
        {"cycling_crash.txt", 600, true, -1},
        // The first grab in frame 1 starts the clock; 7201 frames later it is over time.
        {"cycling_time_limit.txt", 7400, true, 1 + 7201 + 30},
    };
    for (const Case& c : cases) {
        sounds.clear();
        CyclingEvent s;
        const int finishedFrame = Play(s, c.script, c.frames);
        EXPECT_TRUE(s.finished) << c.script;
        EXPECT_EQ(s.fault, c.fault) << c.script;
        EXPECT_EQ(CountEffect(kSfxCrash), 1) << c.script;
        EXPECT_EQ(CountEffect(kSfxClapping), 0) << c.script;
        if (c.finishedFrame >= 0) {
            EXPECT_EQ(finishedFrame, c.finishedFrame) << c.script;
        }
    }
}

TEST_F(CyclingTest, TheGoodScriptRidesFiveLapsInGoldTime) {
    SeedRandom(1u);
    CyclingEvent s;
    PlayFile(s, "cycling_good_run.txt", 30); // as kelvaro-sim --after-finish 30 plays it
    ASSERT_EQ(s.phase, CyclingEvent::kDone);
    EXPECT_FALSE(s.fault);
    EXPECT_EQ(s.lapsLeft, 0);
    EXPECT_GT(s.result, 400.0f);
    EXPECT_LE(s.result, kEventTable[kEventCycling].marks[1]);
    EXPECT_EQ(CountEffect(kSfxClapping), 1);
    EXPECT_EQ(CountEffect(kSfxBeep), static_cast<int>(s.result) / 60);
    EXPECT_EQ(s.mouseJoint, nullptr) << "the finish lets go of the bike";
    // Pinned: re-pin only for an intended change of the physics or the rules.
    EXPECT_EQ(s.result, 631.0f);
    EXPECT_EQ(WorldHashText(s.world), "a68ad00608dd3e1d");
}

// ---- The board -------------------------------------------------------------------------------

struct MedalsHost : FakeHost {
    bool medals = false;
    bool MedalPresentationShowing() const override { return medals; }
};

TEST_F(CyclingTest, TheBoardHidesUnderTheMedalPresentation) {
    UseBlockFont();
    MedalsHost host;
    SetSceneHost(&host);
    CyclingEvent s;
    auto quads = [&]() {
        SetGlBackend(&gl);
        gl.Reset();
        s.Draw();
        FlushBatch();
        SetGlBackend(&nullGl);
        // Opaque vertices only: light text also casts a translucent shadow.
        size_t n = 0;
        for (const RecordingGlBackend::Draw& d : gl.draws)
            for (const Vertex& v : d.vertices)
                n += (v.colour >> 24) == 255u;
        return n;
    };
    const size_t withBoard = quads();
    host.medals = true;
    const size_t withoutBoard = quads();
    // "LAPS:", "TIME:", "5" and "0.00": 15 glyphs of 6 vertices.
    EXPECT_EQ(withBoard - withoutBoard, 15u * 6u);
    SetSceneHost(nullptr);
}

} // namespace
} // namespace kel::test
