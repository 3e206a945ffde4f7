// The drawn sprites of the ceremonies, opponents and the diving, javelin, equestrian, dash,
// rings and high jump sheets: every one defined once, and the backdrops showing the static
// bodies of their scenes exactly where the physics has them.
#include "draw_figure.h"
#include "drawn.h"

#include <gtest/gtest.h>

#include <set>

namespace artgen {
namespace {

Canvas Render(int id, int w, int h) {
    Canvas canvas(w, h);
    const DrawnList list = EventDrawnSpritesA();
    for (int k = 0; k < list.count; ++k)
        if (list.sprites[k].id == id) list.sprites[k].draw(canvas);
    return canvas;
}

bool SameColour(Rgba a, Rgba b) {
    return a == b;
}

// Rows [top, top + 1) differ from the row above across the columns [x0, x1): an edge.
int EdgeColumns(const Canvas& c, int row, int x0, int x1) {
    int edges = 0;
    for (int x = x0; x < x1; ++x)
        if (!SameColour(c.Get(x, row), c.Get(x, row - 1))) ++edges;
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
        const Canvas c = Render(id, 256, 192);
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
    const Canvas c = Render(151, 256, 192);
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
    const Canvas c = Render(183, 256, 192);
    EXPECT_EQ(EdgeColumns(c, 164, 0, 87), 87);
    EXPECT_EQ(EdgeColumns(c, 164, 169, 256), 87);
    EXPECT_EQ(EdgeColumns(c, 159, 88, 168), 80);
    EXPECT_EQ(EdgeColumns(c, 24, 0, 256), 256);
}

TEST(DrawnSpritesA, CeremonyAndHighJumpGroundsSitOnTheirRows) {
    const Canvas opening = Render(117, 256, 192);
    EXPECT_EQ(EdgeColumns(opening, 123, 0, 48), 48);     // stage top
    EXPECT_EQ(EdgeColumns(opening, 148, 150, 256), 106); // arena floor beyond the ramp
    // The ramp's surface passes through its middle at (98, 135 or 136).
    EXPECT_NE(opening.Get(98, 137), opening.Get(98, 133));
    const Canvas closing = Render(127, 256, 192);
    EXPECT_EQ(EdgeColumns(closing, 152, 0, 256), 256);
    const Canvas highJump = Render(192, 256, 192);
    EXPECT_EQ(EdgeColumns(highJump, 166, 0, 256), 256);
}

// The walker's untinted overlays are cut from the same pose as the tinted body frames, so every
// overlay pixel lies on a drawn pixel of its body sprite.
TEST(DrawnSpritesA, WalkerOverlaysCoverOnlyTheirBodyFrames) {
    struct Pair {
        int body, overlay, w, h, overlayH, fromRow;
    };
    for (const Pair& p :
         {Pair{173, 176, 21, 25, 5, 20}, Pair{174, 177, 21, 25, 5, 20}, Pair{170, 178, 19, 25, 10, 15}}) {
        const Canvas body = Render(p.body, p.w, p.h);
        const Canvas overlay = Render(p.overlay, p.w, p.overlayH);
        int drawn = 0;
        for (int y = 0; y < p.overlayH; ++y)
            for (int x = 0; x < p.w; ++x) {
                if (overlay.Get(x, y).a == 0) continue;
                ++drawn;
                EXPECT_GT(body.Get(x, p.fromRow + y).a, 0)
                    << "overlay " << p.overlay << " at " << x << "," << y;
            }
        EXPECT_GT(drawn, 6) << "overlay " << p.overlay;
    }
}

// Figures that the game tints must be greys, so the tint alone decides their colour.
TEST(DrawnSpritesA, TintedFiguresAreGrey) {
    struct Size {
        int id, w, h;
    };
    for (const Size& s :
         {Size{123, 21, 25}, Size{124, 17, 27}, Size{128, 17, 25}, Size{129, 13, 27}, Size{142, 17, 25},
          Size{143, 21, 25}, Size{149, 21, 25}, Size{150, 21, 25}, Size{152, 17, 25}, Size{153, 11, 29},
          Size{157, 17, 25}, Size{162, 18, 25}, Size{168, 21, 25}, Size{169, 23, 25}, Size{170, 19, 25},
          Size{184, 9, 26},  Size{185, 16, 4},  Size{193, 13, 28}, Size{194, 15, 28}, Size{234, 8, 24},
          Size{236, 13, 4}}) {
        const Canvas c = Render(s.id, s.w, s.h);
        int opaque = 0;
        for (const Rgba& p : c.pixels) {
            if (p.a == 0) continue;
            ++opaque;
            const int spread = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
            EXPECT_LT(spread, 40) << "sprite " << s.id << " has a coloured pixel";
        }
        EXPECT_GT(opaque, s.w * s.h / 8) << "sprite " << s.id;
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
