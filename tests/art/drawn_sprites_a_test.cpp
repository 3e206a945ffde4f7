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

// Rows [top, top + 1) differ from the row above across the columns [x0, x1): an edge.
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

TEST(DrawnSpritesA, DivingPlatformDecksAndCeilingSitOnTheirRows) {
    const Canvas c = Render(151);
    // Platform top at row 61 over px 28..88, nothing of it right of px 88.
    EXPECT_EQ(EdgeColumns(c, 61, 28, 88), 60);
    EXPECT_EQ(c.Get(40, 61), c.Get(80, 61));
    EXPECT_NE(c.Get(95, 61), c.Get(80, 61));
    // Decks at row 151 left of the pool and right of it; the pool between is lower.
    EXPECT_EQ(EdgeColumns(c, 151, 0, 28), 28);
    EXPECT_EQ(EdgeColumns(c, 151, 200, 256), 56);
    EXPECT_NE(c.Get(140, 151), c.Get(10, 151));
    // The ceiling's underside.
    EXPECT_EQ(EdgeColumns(c, 21, 0, 256), 256);
}

TEST(DrawnSpritesA, RingsFloorMatAndCeilingSitOnTheirRows) {
    const Canvas c = Render(183);
    EXPECT_EQ(EdgeColumns(c, 164, 0, 87), 87);
    EXPECT_EQ(EdgeColumns(c, 164, 169, 256), 87);
    EXPECT_EQ(EdgeColumns(c, 159, 88, 168), 80);
    EXPECT_EQ(EdgeColumns(c, 24, 0, 256), 256);
}

TEST(DrawnSpritesA, CeremonyAndHighJumpGroundsSitOnTheirRows) {
    const Canvas opening = Render(117);
    EXPECT_EQ(EdgeColumns(opening, 123, 0, 48), 48);     // stage top
    EXPECT_EQ(EdgeColumns(opening, 148, 150, 256), 106); // arena floor beyond the ramp
    // The ramp's surface passes through its middle at (98, 135 or 136).
    EXPECT_NE(opening.Get(98, 137), opening.Get(98, 133));
    const Canvas closing = Render(127);
    EXPECT_EQ(EdgeColumns(closing, 152, 0, 256), 256);
    const Canvas highJump = Render(192);
    EXPECT_EQ(EdgeColumns(highJump, 166, 0, 256), 256);
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

TEST(FigureKit, PartsGetADarkOutlineAroundTheirFill) {
    Canvas c(12, 12);
    DrawPart(c, {{3.0f, 6.0f}, {9.0f, 6.0f}, 1.5f}, ink::kWhite);
    EXPECT_EQ(c.Get(6, 6), ink::kWhite);
    // Straight above the fill, the first pixel out is outline, the next is empty.
    int y = 6;
    while (c.Get(6, y - 1) == ink::kWhite)
        --y;
    EXPECT_EQ(c.Get(6, y - 1), ink::kOutline);
    EXPECT_EQ(c.Get(6, y - 3).a, 0);
}

TEST(FigureKit, OutlineOpaqueRingsAShapeWithoutTouchingIt) {
    Canvas c(7, 7);
    c.Set(3, 3, ink::kRed);
    OutlineOpaque(c);
    EXPECT_EQ(c.Get(3, 3), ink::kRed);
    EXPECT_EQ(c.Get(2, 3), ink::kOutline);
    EXPECT_EQ(c.Get(4, 3), ink::kOutline);
    EXPECT_EQ(c.Get(3, 2), ink::kOutline);
    EXPECT_EQ(c.Get(3, 4), ink::kOutline);
    EXPECT_EQ(c.Get(2, 2).a, 0); // corners stay clear: a 4-connected outline
}

} // namespace
} // namespace artgen
