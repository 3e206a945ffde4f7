// Swimming and kayak sheet (slot 20): the natatorium behind the pool (three copies side by side,
// so it tiles seamlessly), the swimmer's arm bar (tinted: whites and greys), the kayak seen from above
// (tinted) and four frames of flowing white water, which the game tints blue and tiles in both directions.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kDeckRow = 139;  // deck tops and the water line region, y = -3 from y = -16.9
constexpr int kFloorRow = 169; // pool floor, y = 0
constexpr float kTwoPi = 6.2831853f;

void DrawWhitewater(Canvas& canvas, int frame) {
    // Ripples periodic in 32 px both ways, drifting 8 px downstream (+x) per frame.
    const float shift = 8.0f * float(frame);
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float u = (i - shift) / 32.0f, v = j / 32.0f;
            const float a = std::sin(kTwoPi * (u + 3.0f * v)) +
                            0.8f * std::sin(kTwoPi * (u - 2.0f * v) + 1.3f) +
                            0.5f * std::sin(kTwoPi * (2.0f * u + 5.0f * v) + 0.4f);
            Rgba c = Rgba::Hex(0xa8acb4);
            if (a > 1.45f)
                c = ink::kWhite;
            else if (a > 0.85f)
                c = Rgba::Hex(0xd6dae2);
            else if (a < -1.4f)
                c = Rgba::Hex(0x8c9098);
            canvas.Set(i, j, c);
        }
}

} // namespace

void DrawNatatorium(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    // Roof with skylights between steel trusses, repeating every 32 px.
    canvas.Rect(0, 0, w, 24, Rgba::Hex(0x2c3a5a));
    for (int x = 0; x < w; x += 32) {
        canvas.Rect(x + 4, 3, 24, 14, Rgba::Hex(0x1d2740));
        canvas.VerticalGradient(x + 5, 4, 22, 12, Rgba::Hex(0xbfe8ff), Rgba::Hex(0x8fd8ff));
        canvas.Rect(x + 15, 4, 2, 12, Rgba::Hex(0x1d2740));
        canvas.Line(x + 5, 15, x + 10, 4, Rgba::Hex(0xe8f6ff));
        canvas.Rect(x, 0, 2, 24, Rgba::Hex(0x8a93a3));
    }
    canvas.Rect(0, 20, w, 4, Rgba::Hex(0x8a93a3));
    for (int i = 0; i < w; i += 4)
        canvas.Line(i, 23, i + 2, 20, Rgba::Hex(0x4f5766));
    canvas.Rect(0, 24, w, 1, Rgba::Hex(0x1d2740));
    // Stands.
    canvas.Rect(0, 25, w, 5, Rgba::Hex(0x3d4a7a));
    paint::Stand(canvas, 0, 30, w, 64, Rgba::Hex(0x4f6fb0), 212);
    for (int x = 16; x < w; x += 64) {
        canvas.Rect(x, 30, 3, 64, Rgba::Hex(0xb4bcc8));
        for (int j = 31; j < 94; j += 3)
            canvas.Rect(x, j, 3, 1, Rgba::Hex(0x7c8594));
    }
    // Glass balustrade and flags of many nations hanging above the pool.
    canvas.Rect(0, 94, w, 8, Rgba::Hex(0x9fd6e8));
    canvas.Rect(0, 94, w, 1, ink::kWhite);
    for (int i = 0; i < w; i += 16)
        canvas.Rect(i, 94, 1, 8, Rgba::Hex(0x6a8ea0));
    canvas.Rect(0, 102, w, 2, Rgba::Hex(0x3a3a48));
    // Back wall: pale aqua tiles.
    for (int j = 104; j < kDeckRow; ++j)
        for (int i = 0; i < w; ++i) {
            Rgba c = Rgba::Hex(0xcdeef2);
            if (j % 6 == 5 || (i + ((j - 104) / 6) * 4) % 8 == 0) c = Rgba::Hex(0xa9d8e0);
            canvas.Set(i, j, c);
        }
    // A blue stripe of tiles and the big pace clock in the middle of each panel.
    canvas.Rect(0, 128, w, 3, Rgba::Hex(0x3b8ee8));
    canvas.Rect(0, 131, w, 1, Rgba::Hex(0x1f4fa8));
    // Flags strung across, above the pool (seamless: the string runs edge to edge).
    paint::Bunting(canvas, -2, 129, 104, 6, 0);
    paint::Bunting(canvas, 127, 258, 104, 6, 3);
    canvas.Disc(128.0f, 116.0f, 9.0f, ink::kOutline);
    canvas.Disc(128.0f, 116.0f, 8.0f, ink::kWhite);
    for (int k = 0; k < 12; ++k) {
        const float a = k * kTwoPi / 12.0f;
        canvas.Set(int(128.0f + 6.5f * std::sin(a)), int(116.0f - 6.5f * std::cos(a)), ink::kOutline);
    }
    canvas.Line(128, 116, 128, 110, ink::kOutline);
    canvas.Line(128, 116, 132, 118, ink::kRed);
    // The pool itself, seen through the water: deep blue with light ripples and lane lines.
    for (int j = kDeckRow; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const float t = float(j - kDeckRow) / float(kFloorRow - kDeckRow);
            Rgba c = Mix(Rgba::Hex(0x3aa8d8), Rgba::Hex(0x1f6fb0), std::min(1.0f, t));
            const float ripple =
                std::sin(kTwoPi * (i / 32.0f + j / 12.0f)) + std::sin(kTwoPi * (i / 16.0f - j / 20.0f));
            if (ripple > 1.5f) c = paint::Scale(c, 1.25f);
            if (j >= kFloorRow) c = (i % 8 == 0 || j % 8 == 0) ? Rgba::Hex(0x7fb8d0) : Rgba::Hex(0xa8d8e8);
            canvas.Set(i, j, c);
        }
    // Lane ropes seen end-on as coloured floats, and a dark lane line on the floor.
    for (int i = 0; i < w; i += 2) {
        canvas.Set(i, kDeckRow + 1, (i / 2) % 4 < 2 ? ink::kRed : ink::kWhite);
        canvas.Set(i, kDeckRow + 12, (i / 2) % 4 < 2 ? ink::kYellow : ink::kBlue);
    }
    canvas.Rect(0, kFloorRow - 2, w, 2, Rgba::Hex(0x173a6a));
    canvas.Rect(0, kDeckRow, w, 1, Rgba::Hex(0xe8f6ff));
}

void DrawSwimmerArms(Canvas& canvas) {
    // Both arms as one bar through the shoulder: hands at the ends, the shoulder in the middle.
    const int w = canvas.width;
    canvas.Rect(0, 0, w, 1, ink::kWhite);
    canvas.Rect(0, 1, w, 1, ink::kGrey);
    canvas.Rect(0, 0, 1, 2, ink::kOutline);
    canvas.Rect(w - 1, 0, 1, 2, ink::kOutline);
    canvas.Rect(1, 0, 2, 2, ink::kLight);
    canvas.Rect(w - 3, 0, 2, 2, ink::kLight);
    canvas.Rect(10, 0, 3, 2, ink::kDarkGrey);
    canvas.Set(11, 0, ink::kLight);
}

void DrawKayak(Canvas& canvas) {
    // Diamond hull 40 x 13 px seen from above, pointing +x; the paddler sits at the paddle pivot.
    const float cx = 20.0f, cy = 6.5f, halfLength = 20.0f, halfWidth = 6.6f;
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float dx = std::fabs(i + 0.5f - cx) / halfLength, dy = std::fabs(j + 0.5f - cy) / halfWidth;
            if (dx + dy > 1.0f) continue;
            const bool rim = dx + dy > 1.0f - 0.16f;
            Rgba c = j < 6 ? ink::kWhite : ink::kLight;
            if (j == 6) c = ink::kGrey;
            canvas.Set(i, j, rim ? ink::kOutline : c);
        }
    // Deck stripe along the nose and tail.
    canvas.Rect(4, 6, 12, 1, ink::kDarkGrey);
    canvas.Rect(31, 6, 6, 1, ink::kDarkGrey);
    // Cockpit rim and the paddler: shoulders, then the helmet.
    canvas.Ellipse(23.0f, 6.5f, 5.0f, 3.6f, ink::kOutline);
    canvas.Ellipse(23.0f, 6.5f, 4.0f, 2.6f, ink::kDarkGrey);
    DrawPart(canvas, Capsule{{22.0f, 3.8f}, {22.0f, 9.2f}, 1.1f}, ink::kLight);
    DrawPart(canvas, Capsule{{23.8f, 6.5f}, {23.8f, 6.5f}, 1.7f}, ink::kWhite);
    canvas.Set(25, 6, ink::kGrey);
}

void DrawWhitewater0(Canvas& canvas) {
    DrawWhitewater(canvas, 3);
}
void DrawWhitewater1(Canvas& canvas) {
    DrawWhitewater(canvas, 2);
}
void DrawWhitewater2(Canvas& canvas) {
    DrawWhitewater(canvas, 1);
}
void DrawWhitewater3(Canvas& canvas) {
    DrawWhitewater(canvas, 0);
}

} // namespace artgen
