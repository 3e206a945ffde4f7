#include "base/app_state.h"
#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "image_memory_provider.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

namespace kel {
namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        gRenderer = RendererState{};
        SetGlBackend(&gl);
        // Two sheets with made-up texture names (one not square, so a swapped side shows), and a
        // handful of sprites in them.
        gRenderer.slots[1] = {11, 256, 256};
        gRenderer.slots[2] = {22, 256, 128};
        const AtlasRow rows[] = {
            {0, 1, 0, 0, 46, 46, 23.0f, 23.0f},
            {1, 1, 64, 0, 32, 16, 0.0f, 0.0f},
            {2, 2, 128, 64, 20, 10, 5.0f, 2.0f},
        };
        BuildSpriteAtlas(rows, 3);
        BeginBatch();
    }
    void TearDown() override { SetGlBackend(nullptr); }

    RecordingGlBackend gl;
};

TEST_F(RendererTest, AtlasStopsAtARowBeyondTheCount) {
    gRenderer.sprites[1] = SpriteDef{};
    const AtlasRow rows[] = {{0, 1, 0, 0, 8, 8, 0, 0}, {5, 1, 0, 0, 8, 8, 0, 0}, {1, 1, 0, 0, 8, 8, 0, 0}};
    BuildSpriteAtlas(rows, 3);
    EXPECT_FLOAT_EQ(SpriteWidth(0), 8.0f);
    EXPECT_FLOAT_EQ(SpriteWidth(1), 0.0f) << "rows after sprite 5 (not below 3) are not read";
}

TEST_F(RendererTest, AlternatingSlotsCostOneDrawPerSprite) {
    for (int i = 0; i < 4; ++i) {
        DrawSprite(1, 0.0f, 0.0f);
        DrawSprite(2, 0.0f, 0.0f);
    }
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 8u);
    for (size_t i = 0; i < gl.draws.size(); ++i)
        EXPECT_TRUE(gl.draws[i].texture == (i % 2 == 0 ? 11u : 22u) && gl.draws[i].vertices.size() == 6u) << i;
}

TEST_F(RendererTest, BatchHoldsNinetyNineQuads) {
    for (int i = 0; i < 100; ++i) DrawSprite(1, static_cast<float>(i), 0.0f);
    EXPECT_EQ(gl.draws.size(), 1u) << "the 100th quad flushes the first 99 before it is written";
    EXPECT_EQ(gl.draws[0].vertices.size(), 594u);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 2u);
    EXPECT_EQ(gl.draws[1].vertices.size(), 6u);
    EXPECT_FLOAT_EQ(gl.draws[1].vertices[0].x, 99.0f);
}

TEST_F(RendererTest, FillRectBetweenSpritesOfASheetWithoutWhiteRebindsAndLeavesWhite) {
    DrawSprite(1, 0.0f, 0.0f);
    FillRect(10.0f, 20.0f, 30.0f, 40.0f, PackColour(255, 0, 0));
    FillRect(0, 0, 1, 1, PackColour(255, 0, 0));
    DrawSprite(1, 0.0f, 0.0f);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 3u);
    EXPECT_EQ(gl.draws[0].texture, 11u);
    EXPECT_EQ(gl.draws[1].texture, 0u);
    EXPECT_EQ(gl.draws[1].vertices.size(), 12u) << "plain rectangles share one draw";
    EXPECT_FLOAT_EQ(gl.draws[1].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(gl.draws[1].colour[1], 0.0f);
    EXPECT_TRUE(gl.draws[1].vertices[5].x == 40.0f && gl.draws[1].vertices[5].y == 60.0f);
    EXPECT_EQ(gl.draws[2].texture, 11u);
    EXPECT_FLOAT_EQ(gl.draws[2].colour[1], 1.0f);
    EXPECT_EQ(gRenderer.colour, kWhite);
}

// Colour travels with each vertex, so neither a colour change nor a plain shape (which samples
// the bound sheet's white texel) splits the batch.
TEST_F(RendererTest, ColoursAndPlainShapesShareTheSheetsBatch) {
    gRenderer.slots[1] = {11, 256, 256, false, true, 0.25f, 0.75f};
    const Colour tint = PackColour(10, 20, 31, 128);
    SetColour(tint);
    DrawSprite(1, 0.0f, 0.0f);
    FillRect(10.0f, 20.0f, 30.0f, 40.0f, PackColour(255, 0, 0));
    DrawLine(0.0f, 0.0f, 5.0f, 0.0f, 1.0f, PackColour(0, 255, 0));
    EXPECT_EQ(gRenderer.colour, kWhite) << "plain shapes leave the colour white";
    SetColour(tint);
    DrawSprite(1, 0.0f, 0.0f);
    ResetColour();
    DrawSprite(1, 0.0f, 0.0f);
    EXPECT_TRUE(gl.draws.empty());
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 1u);
    const auto& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 30u);
    EXPECT_EQ(gl.draws[0].texture, 11u);
    for (int i = 6; i < 18; ++i)
        EXPECT_TRUE(v[i].u == 0.25f && v[i].v == 0.75f) << i;
    EXPECT_EQ(v[5].colour, tint);
    EXPECT_EQ(v[6].colour, PackColour(255, 0, 0));
    EXPECT_EQ(v[12].colour, PackColour(0, 255, 0));
    EXPECT_EQ(v[18].colour, tint);
    EXPECT_EQ(v[24].colour, kWhite);
    EXPECT_EQ(gl.colourChanges, 0) << "no GL colour state is set for the batch";
    // Wide rectangles leave the sheet for one untextured draw of their own, white texel or not.
    gl.Reset();
    DrawSprite(1, 0.0f, 0.0f);
    FillWideRect(0.0f, 0.0f, 100.0f, 10.0f, tint);
    FillWideRect(0.0f, 20.0f, 100.0f, 10.0f, tint);
    DrawSprite(1, 0.0f, 0.0f);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 3u);
    EXPECT_EQ(gl.draws[1].texture, 0u);
    ASSERT_EQ(gl.draws[1].vertices.size(), 12u);
    EXPECT_TRUE(gl.draws[1].vertices[11].x == 100.0f && gl.draws[1].vertices[11].u == 0.0f);
    EXPECT_EQ(gl.draws[2].texture, 11u);
}

TEST_F(RendererTest, OnlyABatchOfOpaqueTexelsAndColoursDrawsWithoutBlending) {
    gRenderer.slots[1].opaque = true;
    DrawSprite(1, 0.0f, 0.0f);
    DrawSprite(2, 0.0f, 0.0f); // slot 2 may have transparent texels
    SetColour(PackColour(255, 255, 255, 200));
    DrawSprite(1, 0.0f, 0.0f);
    ResetColour();
    DrawSprite(1, 0.0f, 0.0f);
    FlushBatch();
    DrawSprite(1, 0.0f, 0.0f);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 4u);
    EXPECT_FALSE(gl.draws[0].blending);
    EXPECT_TRUE(gl.draws[1].blending);
    EXPECT_TRUE(gl.draws[2].blending) << "a translucent tint needs blending on an opaque sheet";
    EXPECT_FALSE(gl.draws[3].blending) << "each batch is judged on its own";
}

TEST_F(RendererTest, QuadCornersForPlainMirroredRotatedSkewedSpritesAndLines) {
    DrawSprite(2, 100.0f, 50.0f);
    DrawSpriteScaled(2, 100.0f, 50.0f, -1.0f, 1.0f);
    DrawSpriteRotated(2, 100.0f, 50.0f, 0.0f, 1.0f, 1.0f);
    DrawSpriteRotated(2, 100.0f, 50.0f, 1.5707963f, 1.0f, 1.0f);
    DrawSpriteSkewed(2, 0.0f, 0.0f, 7.0f, 1.0f, 1.0f);
    DrawLine(0.0f, 0.0f, 10.0f, 0.0f, 2.0f, kBlack);
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 2u) << "the line is untextured: this sheet has no white texel";
    const auto& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 30u);
    // Top-left, top-right, bottom-left, top-right, bottom-left, bottom-right; anchor (5, 2), and
    // texture coordinates from the 256 x 128 sheet. Mirrored: left = x - ax*sx = 105, right =
    // x + sx*(w - ax) = 85, the anchor column stays at x. Rotation by zero matches the plain quad;
    // a quarter turn goes clockwise on screen (y down), taking the top-right corner (+15, -2) to
    // (+2, +15). Skew moves only the right edge down.
    const struct {
        int i;
        float x, y;
    } corners[] = {{0, 95, 48},  {1, 115, 48}, {5, 115, 58}, {6, 105, 48}, {7, 85, 48},
                   {19, 102, 65}, {24, -5, -2}, {25, 15, 5},  {26, -5, 8}, {29, 15, 15}};
    for (const auto& c : corners) {
        EXPECT_NEAR(v[c.i].x, c.x, 1e-4f) << "vertex " << c.i;
        EXPECT_NEAR(v[c.i].y, c.y, 1e-4f) << "vertex " << c.i;
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(v[i].x == v[12 + i].x && v[i].y == v[12 + i].y) << i;
    EXPECT_FLOAT_EQ(v[0].u, 128.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[1].u, 148.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[2].v, 74.0f / 128.0f);
    EXPECT_FLOAT_EQ(v[3].v, 64.0f / 128.0f);
    // A line is a band of twice the half width: n = (y2 - y1, x1 - x2) * hw / L = (0, -2).
    const auto& line = gl.draws[1].vertices;
    ASSERT_EQ(line.size(), 6u);
    EXPECT_TRUE(line[0].y == -2.0f && line[2].x == 10.0f && line[2].y == 2.0f && line[5].y == 2.0f);
}

TEST_F(RendererTest, FixturesDrawAsSolidShapes) {
    b2World world(b2Vec2(0.0f, 10.0f));
    b2BodyDef def;
    def.position.Set(3.0f, 4.0f);
    b2Body* body = world.CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 0.5f);
    body->CreateFixture(&box, 1.0f);
    // A circle off the body's origin (as the javelin's tips are) draws at its own centre, not the
    // body's centre of mass.
    b2CircleShape circle;
    circle.m_radius = 2.3f;
    circle.m_p.Set(1.5f, 0.0f);
    body->CreateFixture(&circle, 1.0f);
    DrawFixtures(body->GetFixtureList(), PackColour(0, 0, 255));
    FlushBatch();
    // Fixtures are listed newest first: the circle as sprite 0 tinted blue, then the box as a fan
    // of two triangles, untextured (the sheet has no white texel) and in one draw.
    ASSERT_EQ(gl.draws.size(), 2u);
    EXPECT_EQ(gl.draws[0].texture, 11u);
    EXPECT_FLOAT_EQ(gl.draws[0].colour[2], 1.0f);
    EXPECT_NEAR(gl.draws[0].vertices[0].x, 3.0f + 1.5f - 2.3f, 1e-4f);
    EXPECT_EQ(gl.draws[1].texture, 0u);
    ASSERT_EQ(gl.draws[1].vertices.size(), 6u);
    for (const Vertex& v : gl.draws[1].vertices) EXPECT_EQ(v.colour, PackColour(0, 0, 255));
    // SetAsBox's first vertex is (-1, -0.5): at (2, 3.5) in the world.
    EXPECT_FLOAT_EQ(gl.draws[1].vertices[0].x, 2.0f);
    EXPECT_FLOAT_EQ(gl.draws[1].vertices[0].y, 3.5f);
    EXPECT_EQ(gRenderer.colour, kWhite);
}

// Loading a sheet finds its first opaque white texel; each reload (Alt+Return) must free the
// texture it replaces, and a failed one leaves none.
TEST_F(RendererTest, LoadingASheetFindsItsWhiteTexelAndReloadingFreesTheOldTexture) {
    // A 4 x 1 uncompressed true-colour TGA (top-left origin), B,G,R,A per texel: translucent
    // white, opaque red, opaque white, opaque white.
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 0, 32, 0x28};
    for (uint8_t b : {255, 255, 255, 254, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255})
        tga.push_back(b);
    MemoryFileProvider files;
    ScopedFileProvider scope(&files);
    files.Add("art/sheet.tga", tga);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(LoadTextureSlot(3, "art\\sheet"));
    EXPECT_EQ(gl.liveTextures, 1);
    const TextureSlot& slot = gRenderer.slots[3];
    EXPECT_FALSE(slot.opaque);
    ASSERT_TRUE(slot.hasWhite);
    EXPECT_FLOAT_EQ(slot.whiteU, 2.5f / 4.0f);
    EXPECT_FLOAT_EQ(slot.whiteV, 0.5f);
    files.Add("art/sheet.tga", std::vector<uint8_t>{1, 2, 3});
    EXPECT_FALSE(LoadTextureSlot(3, "art\\sheet"));
    EXPECT_EQ(gl.liveTextures, 0);
    EXPECT_EQ(slot.name, 0u);
}

} // namespace
} // namespace kel
