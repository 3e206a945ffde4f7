// Drawing helpers of the scene base and the event card: tinting, the blinking hint, the grab
// line, and the card's include toggle.
#include "sim/records.h"
#include "sim/sport_event.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kel::test {
namespace {

class Scene : public SportEvent {
  public:
    Scene() : SportEvent(kEventRings) {
        CreateWorld(0.0f);
        body = CreateBox(-0.5f, -0.5f, 1.0f, 1.0f, 1.0f, 0.5f, 0.0f);
    }
    b2Body* body = nullptr;
};

class DrawingTest : public SimTest {
  protected:
    std::vector<Colour> DrawColours() {
        FlushBatch();
        std::vector<Colour> out;
        for (const auto& d : gl.draws)
            for (size_t q = 0; q < d.vertices.size(); q += 6)
                out.push_back(d.vertices[q].colour);
        gl.Reset();
        return out;
    }
};

TEST_F(DrawingTest, BodiesTakeThePlayersColourHintsBlinkWhiteScalesMirrorAndTheGrabLineNeedsAJoint) {
    Scene scene;
    SetSprite(20, 10.0f, 10.0f, 5.0f, 5.0f);
    scene.DrawBody(20, scene.body, 0.1f);
    EXPECT_TRUE(DrawColours().empty()) << "no player, no tinted body";

    PlayerRecord record;
    record.colour = PackColour(200, 30, 40);
    scene.SetPlayer(&record);
    // Frame, hint body, then plain drawing or not: the hint blinks white on odd frames.
    const std::tuple<int, b2Body*, bool, Colour> cases[] = {{5, nullptr, false, record.colour},
                                                            {5, scene.body, false, kWhite},
                                                            {6, scene.body, false, record.colour},
                                                            {6, scene.body, true, kWhite}};
    for (const auto& [frame, hint, plain, colour] : cases) {
        gApp.frameCounter = frame;
        scene.hintBody = hint;
        plain ? scene.DrawBodyPlain(20, scene.body, 0.1f) : scene.DrawBody(20, scene.body, 0.1f);
        EXPECT_EQ(DrawColours(), std::vector<Colour>{colour}) << frame << (hint ? " hint" : "") << plain;
    }
    SetSprite(20, 10.0f, 20.0f, 0.0f, 0.0f);
    scene.DrawBodyPlain(20, scene.body, 0.1f);
    scene.DrawBodyPlain(20, scene.body, -0.1f);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 1u);
    ASSERT_EQ(gl.draws[0].vertices.size(), 12u);
    EXPECT_LT(gl.draws[0].vertices[6 + 1].x, gl.draws[0].vertices[6].x) << "mirrored quad runs right to left";
    const std::vector<DrawnQuad> quads = TakeQuads(gl);
    for (const DrawnQuad& q : quads)
        EXPECT_EQ(std::tuple(q.right - q.left, q.bottom - q.top), std::tuple(1.0f, 2.0f))
            << "height stays positive";
    EXPECT_EQ(std::tuple(quads[0].left, quads[1].right), std::tuple(0.0f, 0.0f)) << "the anchor on the body";
    scene.DrawGrabLine();
    EXPECT_TRUE(TakeQuads(gl).empty());
    scene.SetGrabParams(0.5f, 0.5f, 0);
    MouseAt(512, 384);
    Press();
    scene.Update();
    ASSERT_NE(scene.mouseJoint, nullptr);
    scene.DrawGrabLine();
    EXPECT_EQ(TakeQuads(gl).size(), 1u) << "target on the grab point: only the cursor dot";
    Frame();
    MouseAt(512 + 80, 384);
    scene.Update();
    scene.DrawGrabLine();
    EXPECT_EQ(TakeQuads(gl).size(), 2u) << "target pulled 2 m away: the line and the dot";
}

class EventCardTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        SetSprite(80, 82.0f, 21.0f, 0.0f, 0.0f);
        SetSprite(81, 48.0f, 21.0f, 0.0f, 0.0f);
        SetSprite(82, 84.0f, 13.0f, 0.0f, 0.0f);
        SetSprite(83, 13.0f, 13.0f, 0.0f, 0.0f);
        EventCardInit(&card);
    }
    EventCard card;
};

TEST_F(EventCardTest, IncludeButtonTogglesTheEvent) {
    EventRecord events[kEventCount];
    card.eventId = kEventShotPut;
    events[kEventShotPut].included = 0;
    // Button 82 at card (3, 87): window ((28 + 10) * 4, (40 + 90) * 4).
    MouseAt(152, 520);
    Press();
    DrawEventCard(&card, events[kEventShotPut]);
    EXPECT_EQ(std::tuple(card.hoverId, card.clickedId), std::tuple(kCardIncludeButton, -1));
    Frame();
    Release();
    DrawEventCard(&card, events[kEventShotPut]);
    EXPECT_EQ(card.clickedId, kCardIncludeButton);
    EventCardClick(card, events);
    EXPECT_EQ(std::tuple(events[kEventShotPut].included, CountEffect(kSfxTap1), gl.matrixDepth),
              std::tuple(1, 2, 0));
    // Pressed outside, released on the play button 80: no click.
    Frame();
    MouseAt(0, 0);
    Press();
    DrawEventCard(&card, events[kEventShotPut]);
    Frame();
    MouseAt((28 + 6) * 4, (40 + 110) * 4);
    Release();
    DrawEventCard(&card, events[kEventShotPut]);
    EXPECT_EQ(std::tuple(card.hoverId, card.clickedId), std::tuple(kCardPlayButton, -1));
}

} // namespace
} // namespace kel::test
