// The drawn sprites of the ceremonies, opponents and the diving, javelin, equestrian, dash,
// rings and high jump sheets: every one defined once, and the backdrops showing the static
// bodies of their scenes exactly where the physics has them.
#include "atlas_layout.h"
#include "draw_figure.h"
#include "drawn.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace artgen {
namespace {

// The sprite drawn on a canvas of its size in the atlas layout.
Canvas Render(int id) {
    int w = 1, h = 1;
    for (const LayoutRow& row : kLayout) {
        if (row.id == id) {
            w = row.width;
            h = row.height;
        }
    }
    Canvas canvas(w, h);
    const DrawnList list = EventDrawnSpritesA();
    for (int k = 0; k < list.count; ++k)
        if (list.sprites[k].id == id) list.sprites[k].draw(canvas);
    return canvas;
}

// Columns in [x0, x1) where `row` differs from the row above: a horizontal edge.
int EdgeColumns(const Canvas& c, int row, int x0, int x1) {
    int edges = 0;
    for (int x = x0; x < x1; ++x)
        if (!(c.Get(x, row) == c.Get(x, row - 1))) ++edges;
    return edges;
}

TEST(DrawnSpritesA, EveryIdOfTheAreaIsDrawnExactlyOnce) {
    std::multiset<int> ids;
    const DrawnList list = EventDrawnSpritesA();
    for (int k = 0; k < list.count; ++k)
        ids.insert(list.sprites[k].id);
    std::set<int> expected;
    for (int id = 117; id <= 196; ++id)
        if (id != 154 && id != 155) expected.insert(id); // the diving judges are grid sprites
    for (int id = 234; id <= 237; ++id)
        expected.insert(id);
    for (int id : expected)
        EXPECT_EQ(ids.count(id), 1u) << "sprite " << id;
    EXPECT_EQ(ids.size(), expected.size());
}

TEST(DrawnSpritesA, BackdropsAreOpaqueScenes) {
    for (int id : {117, 127, 151, 183, 192}) {
        const Canvas c = Render(id);
        std::set<uint32_t> colours;
        for (const Rgba& p : c.pixels) {
            ASSERT_EQ(p.a, 255) << "backdrop " << id << " has a see-through pixel";
            colours.insert(uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b);
        }
        // A textured scene, not a gradient over a few flat shapes.
        EXPECT_GT(colours.size(), 40u) << "backdrop " << id;
    }
}

// Where a static body of the scene has its top or underside, the backdrop has an edge across
// exactly those columns (the rows are the bodies' heights at 10 px per metre).
TEST(DrawnSpritesA, BackdropEdgesSitWhereTheBodiesAre) {
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(EdgeColumns(Render(c.id), c.row, c.x0, c.x1), c.edges) << c.what;
    const Canvas diving = Render(151);
    EXPECT_NE(diving.Get(95, 61), diving.Get(80, 61)) << "nothing of the platform right of px 88";
    EXPECT_NE(diving.Get(140, 151), diving.Get(10, 151)) << "the pool is lower than the decks";
    const Canvas opening = Render(117);
    EXPECT_NE(opening.Get(98, 137), opening.Get(98, 133)) << "the ramp passes through (98, 135)";
}

// The walker's untinted overlays are cut from the same pose as the tinted body frames, so every
// overlay pixel lies on a drawn pixel of its body sprite.
TEST(DrawnSpritesA, WalkerOverlaysCoverOnlyTheirBodyFrames) {
    for (const auto& [body, overlay, fromRow] : {std::tuple{173, 176, 20}, {174, 177, 20}, {170, 178, 15}}) {
        const Canvas b = Render(body);
        const Canvas o = Render(overlay);
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

// Figures that the game tints must be greys, so the tint alone decides their colour.
TEST(DrawnSpritesA, TintedFiguresAreGrey) {
    for (int id : {123, 124, 128, 129, 142, 143, 149, 150, 152, 153, 157, 162, 168, 169, 170, 184, 185, 193,
                   194, 234, 236}) {
        const Canvas c = Render(id);
        int opaque = 0;
        for (const Rgba& p : c.pixels) {
            if (p.a == 0) continue;
            ++opaque;
            const int spread = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
            EXPECT_LT(spread, 40) << "sprite " << id << " has a coloured pixel";
        }
        EXPECT_GT(opaque, c.width * c.height / 8) << "sprite " << id;
    }
}

TEST(FigureKit, PartsAndShapesGetADarkOutlineAroundTheirFill) {
    Canvas c(12, 12);
    DrawPart(c, {{3.0f, 6.0f}, {9.0f, 6.0f}, 1.5f}, ink::kWhite);
    EXPECT_EQ(c.Get(6, 6), ink::kWhite);
    // Straight above the fill, the first pixel out is outline, the next is empty.
    int y = 6;
    while (c.Get(6, y - 1) == ink::kWhite)
        --y;
    EXPECT_EQ(c.Get(6, y - 1), ink::kOutline);
    EXPECT_EQ(c.Get(6, y - 3).a, 0);
    Canvas dot(7, 7);
    dot.Set(3, 3, ink::kRed);
    OutlineOpaque(dot);
    EXPECT_EQ(dot.Get(3, 3), ink::kRed);
    for (const auto& [x, y] : {std::pair{2, 3}, {4, 3}, {3, 2}, {3, 4}})
        EXPECT_EQ(dot.Get(x, y), ink::kOutline) << x << "," << y;
    EXPECT_EQ(dot.Get(2, 2).a, 0) << "corners stay clear: a 4-connected outline";
}

} // namespace
} // namespace artgen
