// Archery sheet (slot 23): the range fixed to the view (ground at row 156, the target's easel
// near x 20.5..21.2 m = px 223..230), the bow relaxed and drawn, the arrow
// (drawn at half scale, its tip 0.3 m beyond the body so a stuck arrow sinks into the boss) and
// the target board with its ring bands along the board's long axis.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kGroundRow = 156; // y = 0 at scale 0.1 from y = -15.6

const Rgba kWood = Rgba::Hex(0x8a5a34), kWoodLight = Rgba::Hex(0xc89a62), kGrip = Rgba::Hex(0x5a3a22);

void Tree(Canvas& canvas, float x, float base, float size, uint32_t seed) {
    canvas.Rect(int(x) - 1, int(base - size), 3, int(size), ink::kDarkBrown);
    for (int k = 0; k < 5; ++k) {
        const float px = x + (Noise(k, 0, seed) - 0.5f) * size * 0.9f;
        const float py = base - size * (1.0f + 0.5f * Noise(k, 1, seed));
        canvas.Disc(px, py, size * 0.45f, Rgba::Hex(0x2f8a3a));
    }
    for (int k = 0; k < 5; ++k) {
        const float px = x + (Noise(k, 0, seed) - 0.5f) * size * 0.9f - 1.0f;
        const float py = base - size * (1.0f + 0.5f * Noise(k, 1, seed)) - 1.0f;
        canvas.Disc(px, py, size * 0.28f, Rgba::Hex(0x4bb033));
    }
}

// The bow seen from the side: limbs bulging towards +x from the tips to the grip.
void DrawBow(Canvas& canvas, float gripX, float tipX, float nockX) {
    const int h = canvas.height;
    const float mid = (h - 1) * 0.5f;
    auto limbX = [&](int j) {
        const float t = (j - mid) / mid;
        return tipX + (gripX - tipX) * (1.0f - t * t);
    };
    // String first, so the limbs cover its ends.
    canvas.Line(int(tipX), 1, int(nockX), int(mid), ink::kWhite);
    canvas.Line(int(tipX), h - 2, int(nockX), int(mid), ink::kWhite);
    for (int j = 0; j < h; ++j) {
        const int x = int(std::lround(limbX(j)));
        canvas.Set(x - 1, j, ink::kOutline);
        canvas.Set(x, j, kWoodLight);
        canvas.Set(x + 1, j, ink::kOutline);
    }
    // Tips curl backwards; the grip is wrapped in dark leather.
    canvas.Set(int(tipX) - 1, 0, ink::kOutline);
    canvas.Set(int(tipX) - 1, h - 1, ink::kOutline);
    for (int j = int(mid) - 2; j <= int(mid) + 2; ++j) {
        const int x = int(std::lround(limbX(j)));
        canvas.Set(x, j, kGrip);
        canvas.Set(x + 1, j, kGrip);
        canvas.Set(x + 2, j, ink::kOutline);
    }
}

} // namespace

void DrawArcheryRange(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    canvas.VerticalGradient(0, 0, w, 110, Rgba::Hex(0x5fb8f2), Rgba::Hex(0xcdeeff));
    paint::Cloud(canvas, 50.0f, 30.0f, 40.0f, 21);
    paint::Cloud(canvas, 160.0f, 18.0f, 28.0f, 22);
    paint::Cloud(canvas, 225.0f, 48.0f, 30.0f, 23);
    // Rolling hills and a wood along the far side of the range.
    for (int i = 0; i < w; ++i) {
        const int top = 96 + int(6.0f * std::sin(i * 0.03f) + 3.0f * std::sin(i * 0.09f + 1.0f));
        for (int j = top; j < 130; ++j)
            canvas.Set(i, j, j == top ? Rgba::Hex(0x9ed8a0) : Rgba::Hex(0x86c890));
    }
    for (int k = 0; k < 16; ++k)
        Tree(canvas, 6.0f + k * 16.0f + Noise(k, 3, 238) * 6.0f, 128.0f, 8.0f + Noise(k, 4, 238) * 5.0f,
             240 + k);
    // A little pavilion with spectators under a striped awning.
    canvas.Rect(84, 108, 92, 4, ink::kOutline);
    for (int i = 85; i < 175; ++i)
        canvas.Rect(i, 108, 1, 4, ((i - 85) / 6) % 2 == 0 ? ink::kRed : ink::kWhite);
    for (int i = 85; i < 175; i += 6)
        canvas.Rect(i, 112, 3, 2, ink::kRed);
    canvas.Rect(84, 114, 92, 16, Rgba::Hex(0x4f6fb0));
    DrawCrowd(canvas, 86, 115, 88, 14, 238, 0.9f);
    canvas.Rect(85, 112, 2, 18, kWood);
    canvas.Rect(173, 112, 2, 18, kWood);
    // Grass of the range in bands that recede towards the hills.
    for (int j = 130; j < kGroundRow; ++j)
        for (int i = 0; i < w; ++i) {
            const int band = (j - 130) < 8 ? 4 : ((j - 130) < 16 ? 6 : 8);
            const bool stripe = ((j - 130) / band) % 2 == 0;
            Rgba c = stripe ? Rgba::Hex(0x6fd14a) : Rgba::Hex(0x5cc43c);
            if (Noise(i, j, 239) < 0.1f) c = Rgba::Hex(0x4bb033);
            canvas.Set(i, j, c);
        }
    // Distance flags along the range.
    for (int k = 1; k <= 3; ++k) {
        const int x = 20 + k * 50;
        canvas.Rect(x, 138, 1, 18, ink::kWhite);
        canvas.Rect(x + 1, 138, 5, 3, k == 3 ? ink::kRed : ink::kYellow);
        canvas.Rect(x + 1, 141, 3, 1, k == 3 ? ink::kRed : ink::kYellow);
    }
    // Wind flag on a tall pole.
    canvas.Rect(190, 70, 1, kGroundRow - 70, Rgba::Hex(0xe8ecf2));
    canvas.Rect(191, 70, 8, 4, ink::kYellow);
    canvas.Rect(199, 71, 5, 2, ink::kYellow);
    canvas.Rect(191, 73, 8, 1, ink::kOrange);
    // The target's easel: an A-frame from the ground up to the board.
    canvas.Line(219, kGroundRow, 225, 96, ink::kOutline);
    canvas.Line(220, kGroundRow, 226, 96, kWood);
    canvas.Line(221, kGroundRow, 227, 96, kWood);
    canvas.Line(222, kGroundRow, 228, 96, ink::kOutline);
    canvas.Line(244, kGroundRow, 231, 90, ink::kOutline);
    canvas.Line(245, kGroundRow, 232, 90, kWood);
    canvas.Line(246, kGroundRow, 233, 90, kWoodLight);
    canvas.Line(247, kGroundRow, 234, 90, ink::kOutline);
    canvas.Rect(222, 126, 20, 2, kWood);
    canvas.Rect(222, 128, 20, 1, ink::kOutline);
    // Ground: a turf edge on row 156 and earth beneath it.
    for (int j = kGroundRow; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            Rgba c = j < kGroundRow + 3 ? Rgba::Hex(0x3f9a2e) : Rgba::Hex(0x8a5a34);
            if (j >= kGroundRow + 3 && Noise(i, j, 241) < 0.12f) c = Rgba::Hex(0x5a3a22);
            if (j >= kGroundRow + 3 && Noise(i, j, 242) > 0.96f) c = Rgba::Hex(0xc89a62);
            canvas.Set(i, j, c);
        }
    canvas.Rect(0, kGroundRow, w, 1, Rgba::Hex(0x8fe06a));
    for (int i = 0; i < w; i += 2)
        if (Noise(i, 1, 243) < 0.5f) canvas.Set(i, kGroundRow - 1, Rgba::Hex(0x3f9a2e));
    // Shooting line at the archer's feet.
    canvas.Rect(6, kGroundRow, 26, 1, ink::kWhite);
}

void DrawBowRelaxed(Canvas& canvas) {
    DrawBow(canvas, 7.0f, 2.0f, 1.0f);
}
void DrawBowDrawn(Canvas& canvas) {
    DrawBow(canvas, 14.0f, 9.0f, 3.0f);
}

void DrawArrow(Canvas& canvas) {
    const int w = canvas.width;
    // Shaft along the middle row, outlined above and below.
    canvas.Rect(0, 3, 48, 3, ink::kOutline);
    canvas.Rect(1, 4, 47, 1, kWoodLight);
    canvas.Set(0, 4, ink::kRed);
    // Fletching: two vanes, red and white.
    canvas.Triangle(2.0f, 0.0f, 13.0f, 3.5f, 4.0f, 3.5f, ink::kOutline);
    canvas.Triangle(2.0f, 9.0f, 13.0f, 5.5f, 4.0f, 5.5f, ink::kOutline);
    canvas.Triangle(3.0f, 1.0f, 11.0f, 3.2f, 4.5f, 3.2f, ink::kRed);
    canvas.Triangle(3.0f, 8.0f, 11.0f, 5.8f, 4.5f, 5.8f, ink::kWhite);
    // Steel head.
    canvas.Triangle(46.0f, 0.5f, float(w), 4.5f, 46.0f, 8.5f, ink::kOutline);
    canvas.Triangle(47.0f, 2.0f, float(w) - 2.0f, 4.5f, 47.0f, 7.0f, Rgba::Hex(0xb4bcc8));
    canvas.Rect(48, 4, 6, 1, Rgba::Hex(0xe8ecf2));
}

void DrawTargetBoard(Canvas& canvas) {
    // Board 7 x 45 px (cols 1..7, rows 0..44), centre at row 22.5; two rings per colour band,
    // each ring 2.25 px along the board's long axis, as the scoring counts them.
    static constexpr uint32_t kBands[] = {0xffd93d, 0xe8473c, 0x3b8ee8, 0x2a2a34, 0xf4f4f4};
    // Support leg and foot behind the board first.
    canvas.Line(8, 26, 15, 53, ink::kOutline);
    canvas.Line(9, 26, 16, 53, kWood);
    canvas.Line(10, 26, 16, 51, ink::kOutline);
    canvas.Rect(3, 45, 3, 9, ink::kOutline);
    canvas.Rect(4, 45, 1, 9, kWood);
    for (int j = 0; j < 45; ++j) {
        const float d = std::fabs(j + 0.5f - 22.5f);
        const int band = std::min(4, int(d / 4.5f));
        const Rgba c = Rgba::Hex(kBands[band]);
        canvas.Set(0, j, ink::kOutline);
        canvas.Set(1, j, paint::Scale(c, 1.15f));
        canvas.Rect(2, j, 3, 1, c);
        canvas.Set(5, j, paint::Scale(c, 0.85f));
        // Thin line between the two rings of a band.
        if (std::fabs(d - (band * 4.5f + 2.25f)) < 0.5f) canvas.Rect(1, j, 5, 1, paint::Scale(c, 0.75f));
        // Straw boss behind the face.
        canvas.Set(6, j, Noise(6, j, 243) < 0.4f ? Rgba::Hex(0xc8a050) : Rgba::Hex(0xe0c070));
        canvas.Set(7, j, Rgba::Hex(0xa88038));
        canvas.Set(8, j, ink::kOutline);
    }
    canvas.Rect(0, 0, 9, 1, ink::kOutline);
    canvas.Rect(0, 44, 9, 1, ink::kOutline);
    canvas.Rect(2, 22, 2, 1, ink::kOutline);
}

} // namespace artgen
