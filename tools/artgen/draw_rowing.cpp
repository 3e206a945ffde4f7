// Rowing sheet (slot 19): the racing shell (tinted with the player's
// colour through the game's channel shuffle), the stone quay at each end of the course and the
// lake water, which the game tiles every 2.9 m and again every 3.0 m as a translucent layer.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kWaterLine = 15; // quay rows above the water surface (y -4.5 to -3)

} // namespace

void DrawScullHull(Canvas& canvas) {
    // Trapezoid: 78 px along the deck, 66 px along the keel, 7 px deep.
    const int w = canvas.width, h = canvas.height;
    for (int j = 0; j < h; ++j) {
        const int inset = int(std::lround(6.0f * (j + 0.5f) / 7.0f));
        for (int i = inset; i < w - inset; ++i) {
            const bool edge = j == 0 || j == h - 1 || i == inset || i == w - inset - 1;
            Rgba c = j <= 2 ? ink::kWhite : (j <= 4 ? ink::kLight : ink::kGrey);
            if (j == 3 && i > 8 && i < w - 8) c = ink::kDarkGrey;
            canvas.Set(i, j, edge ? ink::kOutline : c);
        }
    }
    // Deck details: the cockpit opening, the sliding seat rail and the bow ball.
    canvas.Rect(22, 1, 18, 1, ink::kGrey);
    canvas.Rect(26, 1, 8, 1, ink::kDarkGrey);
    canvas.Rect(w - 3, 1, 2, 2, ink::kLight);
    canvas.Set(w - 2, 1, ink::kWhite);
    // A bow number board.
    canvas.Rect(60, 1, 5, 2, ink::kOutline);
    canvas.Rect(61, 1, 3, 1, ink::kWhite);
}

void DrawQuayWall(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    // Stone blocks in staggered courses of 6 px, lighter above the water, mossy at the line.
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int course = j / 6;
            const int offset = (course % 2) * 6;
            const bool mortar = j % 6 == 5 || (i + offset) % 12 == 11;
            Rgba c = Noise((i + offset) / 12, course, 229) < 0.5f ? Rgba::Hex(0xb8ad98) : Rgba::Hex(0xa89c86);
            if (Noise(i, j, 230) < 0.12f) c = paint::Scale(c, 0.9f);
            if (mortar) c = Rgba::Hex(0x6e6454);
            if (j > kWaterLine + 2) c = paint::Scale(c, 0.62f);
            canvas.Set(i, j, c);
        }
    // Coping stones on top, with a bollard.
    canvas.Rect(0, 0, w, 3, Rgba::Hex(0xd6cfc0));
    canvas.Rect(0, 2, w, 1, Rgba::Hex(0x8a8070));
    canvas.Rect(0, 0, w, 1, Rgba::Hex(0xeee8dc));
    // Algae band at the water line.
    for (int i = 0; i < w; ++i) {
        const int len = 2 + int(Noise(i, 0, 231) * 3.0f);
        canvas.Rect(i, kWaterLine, 1, len, Rgba::Hex(0x3f7a3a));
        canvas.Set(i, kWaterLine - 1, Rgba::Hex(0x5c9a4a));
    }
    // A mooring ring.
    canvas.Disc(13.0f, 10.0f, 2.5f, Rgba::Hex(0x3a3848));
    canvas.Disc(13.0f, 10.0f, 1.4f, Rgba::Hex(0x8a8070));
    canvas.Set(13, 7, Rgba::Hex(0x6a7384));
    canvas.Rect(0, 0, 1, h, Rgba::Hex(0x6e6454));
    canvas.Rect(w - 1, 0, 1, h, Rgba::Hex(0x6e6454));
}

void DrawLakeWater(Canvas& canvas) {
    // Surface at row 1; the colour deepens downwards, with glints and ripple lines.
    const int w = canvas.width, h = canvas.height;
    canvas.VerticalGradient(0, 1, w, h - 1, Rgba::Hex(0x4aa6f0), Rgba::Hex(0x1a4a9a));
    for (int i = 0; i < w; ++i) {
        const float wave = std::sin(i * 6.2831853f / 15.0f);
        canvas.Set(i, 1, Rgba::Hex(0xbfe8ff));
        if (wave > 0.3f) canvas.Set(i, 0, Rgba::Hex(0x8fd0ff));
        if (wave > 0.8f) canvas.Set(i, 0, ink::kWhite);
        canvas.Set(i, 2, Rgba::Hex(0x7cc8f5));
    }
    for (int k = 0; k < 14; ++k) {
        const int y = 4 + int(Noise(k, 0, 232) * 40.0f), x = int(Noise(k, 1, 232) * w), len = 3 + k % 4;
        canvas.Rect(x, y, len, 1, paint::Scale(canvas.Get(x, y), 1.25f));
    }
}

} // namespace artgen
