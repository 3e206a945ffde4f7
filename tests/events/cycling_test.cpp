// The cycling race: the track's grass, the lap line on the top straight, the cost of a knock,
// the grass brake and the board under the medal presentation.
#include "events/cycling/cycling.h"
#include "event_test_support.h"

#include "sim/scene_host.h"

namespace kel::test {
namespace {

class CyclingTest : public EventTest {
  protected:
    // Grabs the bike where it stands and lets go: the race clock runs, nobody holds the bike.
    static void StartAndLetGo(CyclingEvent& s) { Click(s, s.bike->GetPosition()); }
    static void Move(CyclingEvent& s, float x, float y, b2Vec2 v = b2Vec2(0.0f, 0.0f)) {
        s.bike->SetTransform(b2Vec2(x, y), 0.0f);
        s.bike->SetLinearVelocity(v);
        Step(s);
    }
};

TEST_F(CyclingTest, TheGrassBeginsAtTheRoundedOuterEdge) {
    const struct {
        float x, y;
        bool grass;
    } cases[] = {
        {0.0f, -9.29f, false},
        {0.0f, -9.31f, true},
        {12.49f, 0.0f, false},
        {-12.51f, 0.0f, true},
        // The corner about (5.8, 2.5) has a radius of 6.8 m: its diagonal at 4.80 m is track,
        // at 4.82 m grass, though both lie well inside the bounding rectangle.
        {5.8f + 4.80f, 2.5f + 4.80f, false},
        {-5.8f - 4.82f, -2.5f - 4.82f, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CyclingEvent::OnGrass(c.x, c.y), c.grass) << c.x << ", " << c.y;
}

TEST_F(CyclingTest, OnlyNetCrossingsOfTheLineOnTheTopStraightCount) {
    CyclingEvent s;
    StartAndLetGo(s);
    ASSERT_EQ(s.phase, CyclingEvent::kRacing);
    Move(s, -1.0f, -7.0f);
    EXPECT_EQ(s.lapsLeft, 6) << "backwards over the line gives a lap back";
    Move(s, -0.5f, -7.0f);
    EXPECT_EQ(s.lapsLeft, 5);
    // The same x on the bottom straight is not the line, in either direction.
    for (const float x : {-0.5f, -1.0f, -0.5f})
        Move(s, x, 7.0f);
    EXPECT_EQ(s.lapsLeft, 5);
}

TEST_F(CyclingTest, AKnockOnTheInfieldCostsFortyPercentOfTheSpeed) {
    CyclingEvent s;
    StartAndLetGo(s);
    Move(s, 0.0f, -6.3f, b2Vec2(0.0f, 8.0f));
    Steps(s, 9);
    const b2Vec2 v = s.bike->GetLinearVelocity();
    EXPECT_LT(v.y, 0.0f) << "the infield bounces it back";
    EXPECT_NEAR(v.Length(), 0.6f * 8.0f, 0.3f);
    EXPECT_EQ(CountEffect(kSfxMetal3), 1);
}

TEST_F(CyclingTest, TheGrassBrakesOnlyADraggedBike) {
    CyclingEvent free;
    StartAndLetGo(free);
    Move(free, 0.0f, -11.0f, b2Vec2(5.0f, 0.0f));
    Steps(free, 19);
    EXPECT_NEAR(free.bike->GetLinearVelocity().x, 5.0f, 1e-3f) << "free-rolling on the grass keeps its speed";
    EXPECT_EQ(CountEffect(kSfxSkid), 0);

    CyclingEvent dragged;
    const b2Vec2 p = dragged.bike->GetPosition();
    Grab(dragged, p);
    MouseAt(PxX(dragged, p.x), 2); // on the grass above the track
    for (int i = 0; i < 120 && dragged.grassFrames < 5; ++i)
        Hold(dragged, 1);
    EXPECT_EQ(dragged.grassFrames, 5);
    EXPECT_EQ(CountEffect(kSfxSkid), 1) << "the skid sounds on the fifth frame";
    EXPECT_GT(dragged.bike->GetLinearDamping(), 4.0f);
}

struct MedalsHost : FakeHost {
    bool medals = false;
    bool MedalPresentationShowing() const override { return medals; }
};

TEST_F(CyclingTest, TheBoardHidesUnderTheMedalPresentation) {
    UseBlockFont();
    MedalsHost host;
    SetSceneHost(&host);
    CyclingEvent s;
    auto opaqueQuads = [&]() { // light text also casts a translucent shadow
        size_t n = 0;
        for (const DrawnQuad& q : Drawn(s))
            n += q.colour[3] == 1.0f;
        return n;
    };
    const size_t withBoard = opaqueQuads();
    host.medals = true;
    EXPECT_EQ(withBoard - opaqueQuads(), 15u) << "the glyphs of LAPS:, TIME:, 5 and 0.00";
    SetSceneHost(nullptr);
}

} // namespace
} // namespace kel::test
