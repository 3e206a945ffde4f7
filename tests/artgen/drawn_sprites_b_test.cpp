// The drawn sprites of the weightlifting, shot put, cycling, swimming, kayak, hammer, rowing,
// pole vault and archery sheets: each defined once, backdrops that show the static bodies where
// the physics has them, the velodrome drawn from the track's own geometry, the white water that
// flows from frame to frame, and tinted pieces kept grey.
#include "atlas_layout.h"
#include "drawn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace artgen {
namespace {

const LayoutRow* Row(int id) {
    for (const LayoutRow& row : kLayout)
        if (row.id == id) return &row;
    return nullptr;
}

Canvas Render(int id) {
    const LayoutRow* row = Row(id);
    Canvas canvas(row ? row->width : 1, row ? row->height : 1);
    const DrawnList list = EventDrawnSpritesB();
    for (int k = 0; k < list.count; ++k)
        if (list.sprites[k].id == id) list.sprites[k].draw(canvas);
    return canvas;
}

// Columns in [x0, x1) where row `row` differs from the row above: a horizontal edge.
int EdgeColumns(const Canvas& c, int row, int x0, int x1) {
    int edges = 0;
    for (int x = x0; x < x1; ++x)
        if (!(c.Get(x, row) == c.Get(x, row - 1))) ++edges;
    return edges;
}

bool Greenish(Rgba c) {
    return c.g > c.r + 20 && c.g > c.b + 20;
}

// Pixel of the velodrome picture at world (x, y): it covers x -12.8..12.8, y -9.6..9.6 at 10 px/m.
Rgba VelodromeAt(const Canvas& c, float x, float y) {
    return c.Get(int(std::floor((x + 12.8f) * 10.0f)), int(std::floor((y + 9.6f) * 10.0f)));
}

TEST(DrawnSpritesB, EveryDrawnIdBelongsToTheAreaAndIsDrawnOnce) {
    std::set<int> area;
    for (int id = 197; id <= 233; ++id)
        area.insert(id);
    for (int id = 238; id <= 250; ++id)
        area.insert(id);
    std::multiset<int> ids;
    const DrawnList list = EventDrawnSpritesB();
    for (int k = 0; k < list.count; ++k) {
        ids.insert(list.sprites[k].id);
        EXPECT_TRUE(area.count(list.sprites[k].id)) << "sprite " << list.sprites[k].id;
        EXPECT_NE(Row(list.sprites[k].id), nullptr) << "sprite " << list.sprites[k].id;
    }
    for (int id : ids)
        EXPECT_EQ(ids.count(id), 1u) << "sprite " << id;
    // Every backdrop of the area is drawn in code.
    for (int id : {197, 203, 208, 212, 218, 233, 238})
        EXPECT_EQ(ids.count(id), 1u) << "backdrop " << id;
}

TEST(DrawnSpritesB, BackdropsAreOpaqueTexturedScenes) {
    for (int id : {197, 203, 208, 212, 218, 233, 238}) {
        const Canvas c = Render(id);
        std::set<uint32_t> colours;
        for (const Rgba& p : c.pixels) {
            ASSERT_EQ(p.a, 255) << "backdrop " << id << " has a see-through pixel";
            colours.insert(uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b);
        }
        EXPECT_GT(colours.size(), 40u) << "backdrop " << id;
    }
}

// Where a static body has its top or underside, the backdrop has an edge across those columns.
TEST(DrawnSpritesB, BackdropEdgesSitWhereTheBodiesAre) {
    const Canvas lifting = Render(197);
    // Floor top at row 164 from the stage edge (x = -15 m, px 18) on; nothing of it before.
    EXPECT_EQ(EdgeColumns(lifting, 164, 18, 256), 256 - 18);
    EXPECT_NE(lifting.Get(10, 164), lifting.Get(100, 164));
    EXPECT_EQ(lifting.Get(10, 164), lifting.Get(10, 180));
    EXPECT_EQ(EdgeColumns(lifting, 24, 18, 256), 256 - 18) << "ceiling underside";
    EXPECT_EQ(EdgeColumns(Render(203), 167, 0, 256), 256) << "shot put ground";
    const Canvas archery = Render(238);
    EXPECT_GT(EdgeColumns(archery, 156, 0, 256), 250);
    // The target's easel stands on the ground under the board (px 219..247 at the ground).
    int easel = 0;
    for (int x = 215; x < 250; ++x)
        easel += !Greenish(archery.Get(x, 150));
    EXPECT_GE(easel, 4);
}

TEST(DrawnSpritesB, ShotPutAndNatatoriumRepeatSideways) {
    // Tiled side by side, the rows of the structure (roofs, rails, boards, stripes) meet: rows
    // that are plain at both ends must have the same colour at both ends.
    for (int id : {203, 212}) {
        const Canvas c = Render(id);
        int rows = 0, matching = 0;
        for (int y = 0; y < c.height; ++y) {
            bool flat = true;
            for (int x = 1; x < 16 && flat; ++x)
                flat = c.Get(x, y) == c.Get(0, y) && c.Get(255 - x, y) == c.Get(255, y);
            if (!flat) continue;
            ++rows;
            if (c.Get(255, y) == c.Get(0, y)) ++matching;
        }
        EXPECT_GT(rows, 10) << "backdrop " << id;
        EXPECT_EQ(matching, rows) << "backdrop " << id;
    }
}

TEST(DrawnSpritesB, VelodromeFollowsTheTrackGeometry) {
    const Canvas c = Render(208);
    // Infield grass inside the stadium shape, boards on the riding surface, grass outside.
    // Beyond the rounded corner (more than 6.8 from (-5.8, -2.5)) it is grass again.
    const struct {
        float x, y;
        bool grass;
    } points[] = {{0.0f, 4.5f, true},     {-7.0f, 1.0f, true},  {0.0f, 7.0f, false},    {10.0f, 0.0f, false},
                  {-10.0f, -5.0f, false}, {0.0f, -9.2f, false}, {0.0f, -9.5f, true},    {12.7f, 0.0f, true},
                  {-11.5f, -7.8f, true},  {-10.5f, -6.5f, false}};
    for (const auto& p : points)
        EXPECT_EQ(Greenish(VelodromeAt(c, p.x, p.y)), p.grass) << p.x << "," << p.y;
    // The lap line crosses the top straight at x = -0.86 and only there.
    const Rgba line = VelodromeAt(c, -0.86f, -7.0f);
    EXPECT_LT(int(line.r) + line.g + line.b, 150);
    EXPECT_NE(VelodromeAt(c, -0.5f, -7.0f), line);
    EXPECT_NE(VelodromeAt(c, -0.86f, 7.0f), line);
}

TEST(DrawnSpritesB, WhiteWaterFlowsDownstreamFrameByFrame) {
    // The game shows 250, 249, 248, 247 in turn: each frame is the previous one moved 8 px in +x,
    // and every frame repeats at its edges so the tiles join.
    const int order[] = {250, 249, 248, 247};
    for (int k = 0; k < 4; ++k) {
        const Canvas from = Render(order[k]), to = Render(order[(k + 1) % 4]);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(to.Get((x + 8) % 32, y), from.Get(x, y)) << order[k];
    }
    const Canvas tile = Render(250);
    int edgeChanges = 0;
    for (int y = 0; y < 32; ++y)
        edgeChanges += !(tile.Get(31, y) == tile.Get(0, y));
    EXPECT_LT(edgeChanges, 16);
}

TEST(DrawnSpritesB, HammerCageIsOpenTowardsTheSector) {
    const Canvas c = Render(220);
    auto at = [&](float degrees, float r) {
        const float a = degrees * 3.14159265f / 180.0f;
        return c.Get(int(56.0f + r * std::cos(a)), int(56.0f + r * std::sin(a)));
    };
    // Net behind and beside the thrower, nothing across the opening between the sector lines.
    for (float degrees : {180.0f, 90.0f})
        EXPECT_GT(at(degrees, 54.5f).a, 0) << degrees;
    for (float degrees : {0.0f, 30.0f, -30.0f})
        EXPECT_EQ(at(degrees, 54.5f).a, 0) << degrees;
    // The circle itself is solid up to its white rim.
    EXPECT_EQ(at(0.0f, 30.0f).a, 255);
    EXPECT_EQ(at(0.0f, 51.0f), Rgba::Hex(0xffffff));
}

TEST(DrawnSpritesB, TintedPiecesAreGrey) {
    for (int id : {209, 210, 211, 214, 223, 228, 244, 247}) {
        const Canvas c = Render(id);
        int opaque = 0;
        for (const Rgba& p : c.pixels) {
            if (p.a == 0) continue;
            ++opaque;
            const int spread = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
            EXPECT_LT(spread, 40) << "sprite " << id << " has a coloured pixel";
        }
        EXPECT_GT(opaque, c.width * c.height / 6) << "sprite " << id;
    }
}

TEST(DrawnSpritesB, PoleVaultHorizonStandsOnItsBottomRow) {
    const Canvas c = Render(233);
    // Sky at the top, the far field's grass along the bottom row that meets the ground band.
    EXPECT_GT(c.Get(10, 2).b, c.Get(10, 2).g);
    for (int x = 0; x < c.width; ++x)
        EXPECT_TRUE(Greenish(c.Get(x, c.height - 1))) << x;
}

} // namespace
} // namespace artgen
