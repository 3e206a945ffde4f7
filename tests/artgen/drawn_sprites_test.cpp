// The drawn sprites of the event and ceremony sheets: each defined once, backdrops that show the
// static bodies of their scenes exactly where the physics has them, the velodrome drawn from the
// track's own geometry, backdrops and white water that tile, and overlays that sit on their bodies.
#include "atlas_layout.h"
#include "drawn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace artgen {
namespace {

const LayoutRow* Row(int id) {
    for (const LayoutRow& row : kLayout)
        if (row.id == id) return &row;
    return nullptr;
}

// The sprite drawn on a canvas of its size in the atlas layout.
Canvas Render(int id) {
    const LayoutRow* row = Row(id);
    Canvas canvas(row ? row->width : 1, row ? row->height : 1);
    for (const DrawnList& list : {EventDrawnSpritesA(), EventDrawnSpritesB()})
        for (int k = 0; k < list.count; ++k)
            if (list.sprites[k].id == id) list.sprites[k].draw(canvas);
    return canvas;
}

// Columns in [x0, x1) where `row` differs from the row above: a horizontal edge.
int EdgeColumns(const Canvas& c, int row, int x0, int x1) {
    int edges = 0;
    for (int x = x0; x < x1; ++x)
        edges += !(c.Get(x, row) == c.Get(x, row - 1));
    return edges;
}

bool Greenish(Rgba c) { return c.g > c.r + 20 && c.g > c.b + 20; }

// Pixel of the velodrome picture at world (x, y): it covers x -12.8..12.8, y -9.6..9.6 at 10 px/m.
Rgba VelodromeAt(const Canvas& c, float x, float y) {
    return c.Get(int(std::floor((x + 12.8f) * 10.0f)), int(std::floor((y + 9.6f) * 10.0f)));
}

TEST(DrawnSprites, EveryEventSpriteIsDrawnOnceInItsArea) {
    std::multiset<int> ids;
    for (const DrawnList& list : {EventDrawnSpritesA(), EventDrawnSpritesB()})
        for (int k = 0; k < list.count; ++k)
            ids.insert(list.sprites[k].id);
    for (int id : ids)
        EXPECT_TRUE(ids.count(id) == 1 && Row(id) && id >= 117 && id <= 250) << "sprite " << id;
    // The first sheets are drawn in full, but for the diving judges (grid sprites).
    for (int id = 117; id <= 237; ++id)
        EXPECT_TRUE(ids.count(id) == 1 || (id > 196 && id < 234) || id == 154 || id == 155) << "sprite " << id;
}

// Where a static body of the scene has its top or underside, the backdrop has an edge across
// exactly those columns (the rows are the bodies' heights at 10 px per metre).
TEST(DrawnSprites, BackdropEdgesSitWhereTheBodiesAre) {
    const struct {
        const char* what;
        int id, row, x0, x1, edges;
    } cases[] = {
        {"diving platform top", 151, 61, 28, 88, 60},     {"diving left deck", 151, 151, 0, 28, 28},
        {"diving right deck", 151, 151, 200, 256, 56},    {"diving ceiling", 151, 21, 0, 256, 256},
        {"rings floor left", 183, 164, 0, 87, 87},        {"rings floor right", 183, 164, 169, 256, 87},
        {"rings mat", 183, 159, 88, 168, 80},             {"rings ceiling", 183, 24, 0, 256, 256},
        {"opening stage", 117, 123, 0, 48, 48},           {"opening arena floor", 117, 148, 150, 256, 106},
        {"closing ground", 127, 152, 0, 256, 256},        {"high jump ground", 192, 166, 0, 256, 256},
        // The lifting stage's edge is at x = -15 m, px 18.
        {"lifting floor", 197, 164, 18, 256, 238},        {"lifting ceiling", 197, 24, 18, 256, 238},
        {"shot put ground", 203, 167, 0, 256, 256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EdgeColumns(Render(c.id), c.row, c.x0, c.x1), c.edges) << c.what;
    const Canvas diving = Render(151);
    EXPECT_NE(diving.Get(95, 61), diving.Get(80, 61)) << "nothing of the platform right of px 88";
    EXPECT_NE(diving.Get(140, 151), diving.Get(10, 151)) << "the pool is lower than the decks";
    const Canvas opening = Render(117);
    EXPECT_NE(opening.Get(98, 137), opening.Get(98, 133)) << "the ramp passes through (98, 135)";
    const Canvas lifting = Render(197);
    EXPECT_NE(lifting.Get(10, 164), lifting.Get(100, 164)) << "nothing of the lifting floor left of px 18";
    EXPECT_EQ(lifting.Get(10, 164), lifting.Get(10, 180));
    EXPECT_GT(EdgeColumns(Render(238), 156, 0, 256), 250) << "archery ground";
}

TEST(DrawnSprites, ShotPutAndNatatoriumRepeatSideways) {
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

TEST(DrawnSprites, VelodromeFollowsTheTrackGeometry) {
    const Canvas c = Render(208);
    // Infield grass inside the stadium shape, boards on the riding surface, grass outside.
    // Beyond the rounded corner (more than 6.8 from (-5.8, -2.5)) it is grass again.
    for (const auto& [x, y, grass] :
         {std::tuple{0.0f, 4.5f, true}, {-7.0f, 1.0f, true}, {0.0f, 7.0f, false}, {10.0f, 0.0f, false},
          {-10.0f, -5.0f, false}, {0.0f, -9.2f, false}, {0.0f, -9.5f, true}, {12.7f, 0.0f, true},
          {-11.5f, -7.8f, true}, {-10.5f, -6.5f, false}})
        EXPECT_EQ(Greenish(VelodromeAt(c, x, y)), grass) << x << "," << y;
    // The lap line crosses the top straight at x = -0.86 and only there.
    const Rgba line = VelodromeAt(c, -0.86f, -7.0f);
    EXPECT_LT(int(line.r) + line.g + line.b, 150);
    EXPECT_NE(VelodromeAt(c, -0.5f, -7.0f), line);
    EXPECT_NE(VelodromeAt(c, -0.86f, 7.0f), line);
}

TEST(DrawnSprites, WhiteWaterFlowsDownstreamFrameByFrame) {
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

// The walker's untinted overlays are cut from the same pose as the tinted body frames, so every
// overlay pixel lies on a drawn pixel of its body sprite.
TEST(DrawnSprites, WalkerOverlaysCoverOnlyTheirBodyFrames) {
    for (const auto& [body, overlay, fromRow] : {std::tuple{173, 176, 20}, {174, 177, 20}, {170, 178, 15}}) {
        const Canvas b = Render(body), o = Render(overlay);
        int drawn = 0;
        for (int y = 0; y < o.height; ++y)
            for (int x = 0; x < o.width; ++x) {
                if (o.Get(x, y).a == 0) continue;
                ++drawn;
                EXPECT_GT(b.Get(x, fromRow + y).a, 0) << "overlay " << overlay << " at " << x << "," << y;
            }
        EXPECT_GT(drawn, 6) << "overlay " << overlay;
    }
}

} // namespace
} // namespace artgen
