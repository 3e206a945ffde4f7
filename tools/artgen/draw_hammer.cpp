// Hammer throw sheet (slot 21), all seen from above: the field, the
// throwing circle with its cage (radius 5.6 m = 56 px, open towards +x between the sector
// lines), the timing needle of the HUD (tinted) and a gull that crosses the field.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

constexpr float kPi = 3.14159265f;

} // namespace

void DrawHammerField(Canvas& canvas) {
    // The landing field from above: mowing stripes, the sector fanning out from the circle on
    // the left, distance lines every 5 m and the track along the top edge.
    const int w = canvas.width, h = canvas.height;
    const float cx = 20.0f, cy = 96.0f;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const bool stripe = ((i + j) / 16) % 2 == 0;
            Rgba c = stripe ? Rgba::Hex(0xb4e838) : Rgba::Hex(0xa6dc2c);
            const float n = Noise(i, j, 218);
            if (n < 0.08f) c = Rgba::Hex(0x7cbc28);
            const float dx = i + 0.5f - cx, dy = j + 0.5f - cy;
            if (dx < std::fabs(dy)) c = paint::Scale(c, 0.88f); // outside the sector
            canvas.Set(i, j, c);
        }
    for (int x = 76; x < w; x += 50)
        for (int j = 0; j < h; ++j)
            if (std::fabs(j + 0.5f - cy) <= x - cx) canvas.Set(x, j, Rgba::Hex(0x63d830));
    canvas.Line(int(cx), int(cy), int(cx) + 200, int(cy) - 200, ink::kWhite);
    canvas.Line(int(cx), int(cy), int(cx) + 200, int(cy) + 200, ink::kWhite);
    // Spectators along the top edge, then the red track with its white lane lines.
    canvas.Rect(0, 0, w, 8, Rgba::Hex(0x4f6fb0));
    DrawCrowd(canvas, 0, 1, w, 6, 218, 0.9f);
    canvas.Rect(0, 7, w, 1, Rgba::Hex(0xe8ecf2));
    for (int j = 8; j < 18; ++j)
        for (int i = 0; i < w; ++i)
            canvas.Set(i, j, Noise(i, j, 219) < 0.2f ? Rgba::Hex(0xb84a32) : Rgba::Hex(0xc8553a));
    for (int y = 10; y < 18; y += 4)
        canvas.Rect(0, y, w, 1, Rgba::Hex(0xf0e0d0));
    canvas.Rect(0, 18, w, 2, ink::kWhite);
    // The circle and cage at the left edge.
    canvas.Disc(cx, cy, 18.0f, Rgba::Hex(0x4f5766));
    canvas.Disc(cx, cy, 16.0f, ink::kWhite);
    canvas.Disc(cx, cy, 15.0f, Rgba::Hex(0xc9ced6));
    for (int k = 0; k < 12; ++k) {
        const float a = kPi * 0.25f + k * (kPi * 1.5f / 11.0f);
        canvas.Disc(cx + 18.0f * std::cos(a), cy + 18.0f * std::sin(a), 1.5f, ink::kOutline);
    }
    // Tufts and daisies scattered over the field.
    for (int k = 0; k < 90; ++k) {
        const int x = int(Noise(k, 0, 31) * w), y = 22 + int(Noise(k, 1, 31) * (h - 22));
        canvas.Set(x, y, Rgba::Hex(0x4f9a22));
        canvas.Set(x + 1, y - 1, Rgba::Hex(0x4f9a22));
        canvas.Set(x - 1, y - 1, Rgba::Hex(0x4f9a22));
        if (k % 6 == 0) canvas.Set(x, y - 2, ink::kWhite);
    }
}

void DrawHammerCage(Canvas& canvas) {
    const float c = 56.0f;
    // Concrete circle with a white rim.
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float dx = i + 0.5f - c, dy = j + 0.5f - c, r = std::hypot(dx, dy);
            if (r > 56.0f) continue;
            Rgba col = Noise(i, j, 220) < 0.18f ? Rgba::Hex(0xb8bec8) : Rgba::Hex(0xc9ced6);
            if (Noise(i / 3, j / 3, 221) < 0.07f) col = Rgba::Hex(0xd6dae2);
            // Scuffs where throwers spin: faint rings round the middle.
            if ((std::fabs(r - 14.0f) < 1.2f || std::fabs(r - 31.0f) < 1.0f) && Noise(i, j, 222) < 0.45f)
                col = Rgba::Hex(0xaab1bc);
            if (r > 50.0f) col = ink::kWhite;
            if (r > 52.0f) col = kClear;
            // The cage net: a mesh band round the back, open between the sector lines.
            const float a = std::atan2(dy, dx);
            const bool back = std::fabs(a) > kPi * 0.25f;
            if (r > 52.5f && back) col = ((i + j) % 2 == 0) ? Rgba::Hex(0x3a3848) : Rgba(58, 56, 72, 110);
            canvas.Set(i, j, col);
        }
    // Net posts.
    for (int k = 0; k < 13; ++k) {
        const float a = kPi * 0.25f + k * (kPi * 1.5f / 12.0f);
        const float x = c + 53.5f * std::cos(a), y = c + 53.5f * std::sin(a);
        canvas.Disc(x, y, 2.2f, ink::kOutline);
        canvas.Disc(x - 0.4f, y - 0.4f, 1.0f, ink::kGrey);
    }
    // Centre mark and the two short white lines where the sector begins.
    canvas.Rect(55, 55, 2, 2, ink::kDarkGrey);
    canvas.Line(92, 20, 95, 17, ink::kWhite);
    canvas.Line(92, 91, 95, 94, ink::kWhite);
}

void DrawTimingNeedle(Canvas& canvas) {
    // Pointer from the pivot at (1.5, 4) to the tip at the right; tinted in the player's colour.
    canvas.Triangle(0.5f, 1.0f, 24.0f, 4.0f, 0.5f, 7.0f, ink::kOutline);
    canvas.Triangle(1.5f, 2.2f, 21.8f, 4.0f, 1.5f, 5.8f, ink::kWhite);
    canvas.Rect(4, 4, 14, 1, ink::kLight);
    canvas.Disc(2.5f, 4.0f, 2.5f, ink::kOutline);
    canvas.Disc(2.5f, 4.0f, 1.5f, ink::kLight);
    canvas.Set(2, 3, ink::kWhite);
}

void DrawGull(Canvas& canvas) {
    // A gull from above, flying +x, wings spread across.
    const Rgba wing = Rgba::Hex(0xd6dae2), tip = Rgba::Hex(0x3a3848), body = ink::kWhite;
    auto wingPair = [&](Rgba fill, float grow) {
        canvas.Triangle(5.0f - grow, 12.0f, 11.0f + grow, 11.0f, 3.0f - grow, 0.5f - grow, fill);
        canvas.Triangle(5.0f - grow, 12.0f, 11.0f + grow, 13.0f, 3.0f - grow, 23.5f + grow, fill);
    };
    wingPair(ink::kOutline, 1.0f);
    wingPair(wing, 0.0f);
    for (int j = 0; j < 4; ++j) {
        canvas.Rect(3, j + 1, 2, 1, tip);
        canvas.Rect(3, 22 - j, 2, 1, tip);
    }
    // Body, tail and head with a yellow beak.
    DrawPart(canvas, Capsule{{3.0f, 12.0f}, {11.0f, 12.0f}, 1.6f}, body);
    DrawPart(canvas, Capsule{{12.2f, 12.0f}, {12.2f, 12.0f}, 1.6f}, body);
    canvas.Rect(14, 11, 2, 2, ink::kOrange);
    canvas.Set(12, 11, ink::kOutline);
    canvas.Rect(0, 11, 2, 2, Rgba::Hex(0xb4bcc8));
}

} // namespace artgen
