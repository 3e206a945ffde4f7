// Weightlifting sheet (slot 17): the hall behind the stage and the barbell. The lifter's poses
// and kit overlay are grids (assets/art/weightlifting/lifter.spr).
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

// Backdrop rows that match the physics at scale 0.1 from (-16.8, -16.4).
constexpr int kCeilingRow = 24; // underside of the ceiling, y = -14
constexpr int kFloorRow = 164;  // top of the floor, y = 0
constexpr int kStageEdgeX = 18; // the floor and ceiling start at x = -15

} // namespace

void DrawBarbell(Canvas& canvas) {
    const Rgba steel = Rgba::Hex(0xd4dae3), steelDark = Rgba::Hex(0x8a93a3), edge = ink::kOutline;
    // Bar: 62 x 3 px between the plates, knurled in the middle.
    canvas.Rect(9, 5, 62, 3, edge);
    canvas.Rect(9, 6, 62, 1, steel);
    for (int i = 12; i < 68; i += 2)
        canvas.Set(i, 6, (i > 30 && i < 50) ? steelDark : steel);
    canvas.Set(40, 6, Rgba::Hex(0xffffff));
    auto plates = [&](int x, int dir) {
        // Collar next to the bar, then a big red bumper and a small blue one outside it.
        const int collar = dir > 0 ? x + 9 : x - 2;
        canvas.Rect(collar, 3, 2, 7, edge);
        canvas.Rect(collar, 4, 2, 5, steelDark);
        const int big = dir > 0 ? x + 3 : x;
        canvas.Rect(big, 0, 6, 13, edge);
        canvas.Rect(big + 1, 1, 4, 11, ink::kRed);
        canvas.Rect(big + 1, 1, 1, 11, Rgba::Hex(0xff7a6e));
        canvas.Rect(big + 4, 1, 1, 11, ink::kDarkRed);
        canvas.Set(big, 0, kClear);
        canvas.Set(big + 5, 0, kClear);
        canvas.Set(big, 12, kClear);
        canvas.Set(big + 5, 12, kClear);
        const int small = dir > 0 ? x : x + 6;
        canvas.Rect(small, 2, 3, 9, edge);
        canvas.Rect(small + 1, 3, 1, 7, ink::kBlue);
        // Hub of the plates.
        canvas.Rect(big + 1, 5, 4, 3, steelDark);
        canvas.Rect(big + 1, 6, 4, 1, steel);
    };
    plates(0, 1);
    plates(71, -1);
    // The bar's ends stick out through the hubs.
    canvas.Rect(0, 6, 1, 1, steel);
    canvas.Rect(79, 6, 1, 1, steel);
}

void DrawWeightliftingHall(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    const Rgba wallTop = Rgba::Hex(0x1d2340), wallLow = Rgba::Hex(0x35406e);
    canvas.VerticalGradient(0, 0, w, h, wallTop, wallLow);

    // Stands: four tiers of spectators in the dim hall, with aisles.
    paint::Stand(canvas, 0, 40, w, 64, Rgba::Hex(0x3d4a7a), 197);
    for (int x = 40; x < w; x += 72) {
        canvas.Rect(x, 40, 4, 64, Rgba::Hex(0x2a3358));
        for (int j = 42; j < 104; j += 4)
            canvas.Rect(x, j, 4, 1, Rgba::Hex(0x4c5890));
    }
    // The stands sit in the dim of the hall; the light is on the stage.
    paint::BlendRect(canvas, 0, 40, w, 64, Rgba(10, 12, 40, 60));
    // Shadow under the ceiling.
    for (int j = kCeilingRow; j < kCeilingRow + 16; ++j)
        paint::BlendRect(canvas, 0, j, w, 1, Rgba(10, 12, 30, uint8_t(170 - (j - kCeilingRow) * 10)));

    // Advertising band with coloured boards.
    static constexpr uint32_t kBoards[] = {0xe8473c, 0xffd93d, 0x3b8ee8, 0x5cc43c, 0xf79a2e, 0xb04fd0};
    canvas.Rect(0, 104, w, 12, ink::kOutline);
    for (int k = 0; k * 32 < w; ++k) {
        const Rgba c = Rgba::Hex(kBoards[k % 6]);
        canvas.Rect(k * 32 + 1, 105, 30, 10, c);
        canvas.Rect(k * 32 + 1, 105, 30, 1, paint::Scale(c, 1.3f));
        // A bold white logo stripe and a dot on each board.
        canvas.Rect(k * 32 + 6, 109, 14, 2, ink::kWhite);
        canvas.Disc(k * 32 + 25.0f, 110.0f, 2.0f, ink::kWhite);
    }

    // Back wall of the stage: deep curtain with folds.
    for (int i = 0; i < w; ++i) {
        const float fold = 0.5f + 0.5f * std::sin(i * 0.55f);
        const Rgba c = Mix(Rgba::Hex(0x7a1f35), Rgba::Hex(0xb8324c), fold);
        canvas.Rect(i, 116, 1, kFloorRow - 116, c);
        canvas.Set(i, 116, paint::Scale(c, 0.6f));
    }
    // Scoreboard on the curtain.
    canvas.Rect(150, 122, 70, 26, ink::kOutline);
    canvas.Rect(151, 123, 68, 24, Rgba::Hex(0x101420));
    for (int k = 0; k < 3; ++k) {
        // Three judges' lights, white for a good lift.
        canvas.Disc(163.0f + k * 10.0f, 130.0f, 3.0f, Rgba::Hex(0x606878));
        canvas.Disc(163.0f + k * 10.0f, 130.0f, 2.0f, ink::kWhite);
    }
    for (int k = 0; k < 4; ++k) {
        // Digits as amber segments.
        canvas.Rect(190 + k * 7, 126, 5, 1, Rgba::Hex(0xffb020));
        canvas.Rect(190 + k * 7, 126, 1, 8, Rgba::Hex(0xffb020));
        canvas.Rect(194 + k * 7, 126, 1, 8, Rgba::Hex(0xffb020));
        canvas.Rect(190 + k * 7, 133, 5, 1, Rgba::Hex(0xffb020));
    }
    canvas.Rect(157, 139, 56, 3, Rgba::Hex(0x3b8ee8));
    canvas.Rect(157, 139, 34, 3, Rgba::Hex(0x5cc43c));
    // Plate rack on the left of the stage.
    canvas.Rect(40, 150, 32, 2, ink::kDarkGrey);
    canvas.Rect(41, 152, 2, 12, ink::kDarkGrey);
    canvas.Rect(69, 152, 2, 12, ink::kDarkGrey);
    static constexpr uint32_t kPlates[] = {0xe8473c, 0x3b8ee8, 0xffd93d, 0x5cc43c};
    for (int k = 0; k < 4; ++k) {
        const Rgba c = Rgba::Hex(kPlates[k]);
        const int x = 44 + k * 6;
        canvas.Rect(x, 138, 5, 12, ink::kOutline);
        canvas.Rect(x + 1, 139 + k / 2, 3, 10 - k, c);
        canvas.Rect(x + 1, 139 + k / 2, 1, 10 - k, paint::Scale(c, 1.3f));
    }

    // Stage floor: planks from the stage edge on, with its front face below.
    canvas.Rect(0, kFloorRow, kStageEdgeX, h - kFloorRow, Rgba::Hex(0x0c0e18));
    for (int j = kFloorRow; j < h; ++j)
        for (int i = kStageEdgeX; i < w; ++i) {
            const bool top = j < kFloorRow + 3;
            Rgba c = top ? Rgba::Hex(0xd9a35c) : Rgba::Hex(0x8a5a34);
            if (!top && (j - kFloorRow) % 6 == 5) c = Rgba::Hex(0x5a3a22);
            if (!top && (i + (j - kFloorRow) / 6 * 23) % 40 == 0) c = Rgba::Hex(0x5a3a22);
            if (Noise(i, j, 19) < 0.08f) c = paint::Scale(c, 0.88f);
            canvas.Set(i, j, c);
        }
    canvas.Rect(kStageEdgeX, kFloorRow, w - kStageEdgeX, 1, Rgba::Hex(0xffd89a));
    canvas.Rect(kStageEdgeX, kFloorRow + 3, w - kStageEdgeX, 1, Rgba::Hex(0x5a3a22));
    canvas.Rect(kStageEdgeX, kFloorRow, 1, h - kFloorRow, Rgba::Hex(0x3a2414));

    // Ceiling: a lighting truss from the stage edge on.
    canvas.Rect(0, 0, w, kCeilingRow, Rgba::Hex(0x141828));
    canvas.Rect(kStageEdgeX, kCeilingRow - 6, w - kStageEdgeX, 6, Rgba::Hex(0x5c6578));
    canvas.Rect(kStageEdgeX, kCeilingRow - 6, w - kStageEdgeX, 1, Rgba::Hex(0x9aa3b3));
    canvas.Rect(kStageEdgeX, kCeilingRow - 1, w - kStageEdgeX, 1, Rgba::Hex(0x2c3240));
    for (int i = kStageEdgeX; i < w; i += 6)
        canvas.Line(i, kCeilingRow - 5, i + 3, kCeilingRow - 2, Rgba::Hex(0x2c3240));
    for (int x = 30; x < w; x += 44) {
        canvas.Rect(x, 4, 1, kCeilingRow - 10, Rgba::Hex(0x5c6578));
        canvas.Rect(x - 3, 8, 7, 5, Rgba::Hex(0x2c3240));
        canvas.Rect(x - 2, 12, 5, 1, Rgba::Hex(0xfff3a0));
    }
    // Spotlights on the stage, drawn last so they light the curtain and the floor.
    paint::LightCone(canvas, 118.0f, float(kCeilingRow), 70.0f, 170.0f, float(kFloorRow),
                     Rgba(255, 244, 200, 40));
    paint::LightCone(canvas, 74.0f, float(kCeilingRow), 40.0f, 110.0f, float(kFloorRow),
                     Rgba(255, 244, 200, 22));
    paint::LightCone(canvas, 162.0f, float(kCeilingRow), 130.0f, 200.0f, float(kFloorRow),
                     Rgba(255, 244, 200, 22));
    for (int x = 74; x <= 162; x += 44)
        canvas.Rect(x - 3, kCeilingRow, 7, 3, Rgba::Hex(0xfffbe0));
}

} // namespace artgen
