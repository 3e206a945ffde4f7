// Cycling sheet (slot 22): the whole velodrome seen from above, drawn from the same geometry the
// race uses, and the cyclist from above (two pedalling frames and a celebration), facing +x.
#include "draw_events_b.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

// The picture covers world x -12.8..12.8, y -9.6..9.6 at 10 px per metre.
constexpr float kPxPerMetre = 10.0f;
constexpr float kLeft = -12.8f, kTop = -9.6f;
// Infield: two discs of radius 5.2 at (±3.1, 0) joined by a box.
constexpr float kInfieldHalf = 3.1f, kInfieldRadius = 5.2f;
// Riding surface: |x| <= 12.5, |y| <= 9.3, corners rounded by 6.8 about (±5.8, ±2.5).
constexpr float kOuterX = 12.5f, kOuterY = 9.3f;
constexpr float kCornerX = 5.8f, kCornerY = 2.5f, kCornerRadius = 6.8f;
constexpr float kLapLineX = -0.86f;

// Distance outside the infield shape (negative inside), in metres.
float InfieldDistance(float x, float y) {
    const float cx = std::clamp(x, -kInfieldHalf, kInfieldHalf);
    return std::hypot(x - cx, y) - kInfieldRadius;
}

bool OnGrass(float x, float y) {
    const float ax = std::fabs(x), ay = std::fabs(y);
    if (ay > kOuterY || ax > kOuterX) return true;
    if (ax > kCornerX && ay > kCornerY) return std::hypot(ax - kCornerX, ay - kCornerY) > kCornerRadius;
    return false;
}

Rgba GrassAt(int i, int j, bool infield) {
    const bool stripe = (infield ? (i / 8) : ((i + j) / 12)) % 2 == 0;
    Rgba c = stripe ? Rgba::Hex(0x5cc43c) : Rgba::Hex(0x52b536);
    const float n = Noise(i, j, 208);
    if (n < 0.10f) c = Rgba::Hex(0x3f9a2e);
    else if (n > 0.96f) c = Rgba::Hex(0x8fe06a);
    return c;
}

Rgba TrackAt(int i, int j, float d) {
    // Bands measured out from the infield edge: blue apron, black measuring line, red sprinters'
    // line, the boards, and the blue stayers' line higher up the banking.
    if (d < 0.12f) return ink::kWhite;
    if (d < 0.75f) return Noise(i, j, 7) < 0.15f ? Rgba::Hex(0x5aa6f0) : Rgba::Hex(0x6db3f5);
    if (d < 0.88f) return ink::kOutline;
    if (d > 1.35f && d < 1.48f) return ink::kRed;
    if (d > 2.95f && d < 3.08f) return Rgba::Hex(0x1f4fa8);
    // Wooden boards, lighter up the banking, with grain.
    Rgba c = Mix(Rgba::Hex(0xd9a35c), Rgba::Hex(0xeec88a), std::clamp((d - 0.9f) / 3.5f, 0.0f, 1.0f));
    const float n = Noise(i, j, 11);
    if (n < 0.12f) c = paint::Scale(c, 0.9f);
    else if (n > 0.93f) c = paint::Scale(c, 1.06f);
    return c;
}

void Bush(Canvas& canvas, float x, float y, float r) {
    canvas.Disc(x, y, r + 1.0f, Rgba::Hex(0x1f5a28));
    canvas.Disc(x, y, r, Rgba::Hex(0x2f8a3a));
    canvas.Disc(x - r * 0.3f, y - r * 0.3f, r * 0.55f, Rgba::Hex(0x4bb033));
}

// Cyclist from above, facing +x, bike along row `axle`. stride: +1 or -1 for the pedal frame,
// 0 for the celebration (no hands on the bars, arms out).
void DrawCyclist(Canvas& canvas, float axle, int stride) {
    const FigureStyle s = FigureStyle::Tinted();
    const Rgba tyre = Rgba::Hex(0x3a3848), rimGrey = ink::kDarkGrey;
    const int row = int(axle);
    // Wheels and frame.
    canvas.Rect(0, row, 6, 1, tyre);
    canvas.Rect(13, row, 6, 1, tyre);
    canvas.Set(2, row, rimGrey);
    canvas.Set(16, row, rimGrey);
    canvas.Rect(6, row, 7, 1, ink::kGrey);
    // Handlebar across the front.
    canvas.Rect(14, row - 3, 1, 7, ink::kOutline);
    canvas.Set(14, row, ink::kGrey);
    const float y = axle + 0.5f;
    // Legs beside the top tube: the knee of the rising leg pokes forward, the other is low.
    const float kneeL = stride > 0 ? 10.5f : 7.0f, kneeR = stride > 0 ? 7.0f : 10.5f;
    if (stride == 0) {
        DrawPart(canvas, Capsule{{5.5f, y - 1.5f}, {9.0f, y - 3.0f}, 1.0f}, s.farSkin);
        DrawPart(canvas, Capsule{{5.5f, y + 1.5f}, {9.0f, y + 3.0f}, 1.0f}, s.farSkin);
    } else {
        const Capsule left[2] = {{{5.5f, y - 1.5f}, {kneeL, y - 3.9f}, 1.1f}, {{kneeL, y - 3.9f}, {9.0f, y - 2.0f}, 0.8f}};
        const Capsule right[2] = {{{5.5f, y + 1.5f}, {kneeR, y + 3.9f}, 1.1f}, {{kneeR, y + 3.9f}, {9.0f, y + 2.0f}, 0.8f}};
        DrawPart(canvas, left, 2, s.skin);
        DrawPart(canvas, right, 2, s.skin);
    }
    // Back and jersey, bent low over the bike, shorts at the saddle.
    DrawPart(canvas, Capsule{{5.5f, y}, {9.5f, y}, 1.9f}, s.shirt);
    FillCapsule(canvas, Capsule{{4.8f, y}, {5.6f, y}, 1.6f}, s.shorts);
    canvas.Rect(6, int(y), 4, 1, ink::kLight);
    // Arms to the bars, or flung out in triumph.
    if (stride != 0) {
        DrawPart(canvas, Capsule{{9.5f, y - 1.6f}, {14.0f, y - 2.0f}, 0.6f}, s.farSkin);
        DrawPart(canvas, Capsule{{9.5f, y + 1.6f}, {14.0f, y + 2.0f}, 0.6f}, s.farSkin);
    } else {
        const Capsule up[2] = {{{9.5f, y - 2.0f}, {11.0f, y - 6.5f}, 0.85f}, {{11.0f, y - 6.5f}, {13.0f, y - 10.5f}, 0.85f}};
        const Capsule down[2] = {{{9.5f, y + 2.0f}, {11.0f, y + 5.0f}, 0.85f}, {{11.0f, y + 5.0f}, {13.5f, y + 6.8f}, 0.85f}};
        DrawPart(canvas, up, 2, s.skin);
        DrawPart(canvas, down, 2, s.skin);
    }
    // Helmet, longer than wide, with a dark stripe and the visor at the front.
    DrawPart(canvas, Capsule{{10.8f, y}, {12.6f, y}, 1.7f}, ink::kWhite);
    canvas.Rect(10, int(y), 3, 1, ink::kGrey);
    canvas.Set(13, int(y), ink::kDarkGrey);
}

} // namespace

void DrawVelodrome(Canvas& canvas) {
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float x = kLeft + (i + 0.5f) / kPxPerMetre, y = kTop + (j + 0.5f) / kPxPerMetre;
            const float d = InfieldDistance(x, y);
            Rgba c;
            if (d <= 0.0f) c = GrassAt(i, j, true);
            else if (OnGrass(x, y)) c = GrassAt(i, j, false);
            else c = TrackAt(i, j, d);
            canvas.Set(i, j, c);
        }
    // White barrier along the outer edge of the boards, shading onto the grass.
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float x = kLeft + (i + 0.5f) / kPxPerMetre, y = kTop + (j + 0.5f) / kPxPerMetre;
            if (!OnGrass(x, y)) continue;
            const float step = 1.0f / kPxPerMetre;
            const bool edge = !OnGrass(x - step, y) || !OnGrass(x + step, y) || !OnGrass(x, y - step) ||
                              !OnGrass(x, y + step);
            if (edge) canvas.Set(i, j, ink::kWhite);
        }
    // Finish line across the top straight: black on white.
    const int lapCol = int(std::floor((kLapLineX - kLeft) * kPxPerMetre));
    for (int j = 0; j < canvas.height; ++j) {
        const float x = kLapLineX, y = kTop + (j + 0.5f) / kPxPerMetre;
        if (y > 0.0f || OnGrass(x, y) || InfieldDistance(x, y) <= 0.12f) continue;
        canvas.Set(lapCol - 1, j, ink::kWhite);
        canvas.Set(lapCol, j, ink::kOutline);
        canvas.Set(lapCol + 1, j, ink::kWhite);
    }
    // The board in the middle of the infield, where the laps, the time and the speed are painted.
    canvas.Rect(85, 73, 88, 38, ink::kOutline);
    canvas.Rect(86, 74, 86, 36, ink::kWhite);
    canvas.Rect(87, 75, 84, 34, Rgba::Hex(0x3b72c8));
    canvas.Rect(87, 75, 84, 1, Rgba::Hex(0x5a90e0));
    canvas.Rect(87, 98, 84, 1, Rgba::Hex(0x2a5aa8));
    canvas.Rect(90, 111, 2, 3, ink::kOutline);
    canvas.Rect(166, 111, 2, 3, ink::kOutline);
    // Flower beds and bushes in the corners of the grounds.
    Bush(canvas, 8.0f, 8.0f, 4.0f);
    Bush(canvas, 17.0f, 5.0f, 3.0f);
    Bush(canvas, 248.0f, 8.0f, 4.0f);
    Bush(canvas, 240.0f, 4.0f, 2.5f);
    Bush(canvas, 8.0f, 184.0f, 4.0f);
    Bush(canvas, 16.0f, 187.0f, 3.0f);
    Bush(canvas, 248.0f, 184.0f, 4.0f);
    Bush(canvas, 239.0f, 187.0f, 3.0f);
    for (int k = 0; k < 14; ++k) {
        static constexpr uint32_t kFlowers[] = {0xffd93d, 0xe8473c, 0xffffff, 0xb04fd0};
        canvas.Set(3 + int(Noise(k, 0, 5) * 20), 14 + int(Noise(k, 1, 5) * 12), Rgba::Hex(kFlowers[k % 4]));
        canvas.Set(232 + int(Noise(k, 2, 5) * 20), 170 + int(Noise(k, 3, 5) * 12), Rgba::Hex(kFlowers[k % 4]));
    }
    // A bank of little team tents by the infield's straight, below the board.
    for (int k = 0; k < 3; ++k) {
        const int x = 104 + k * 18;
        static constexpr uint32_t kTents[] = {0xe8473c, 0xffd93d, 0x3b8ee8};
        const Rgba c = Rgba::Hex(kTents[k]);
        canvas.Rect(x - 1, 121, 12, 10, ink::kOutline);
        canvas.Rect(x, 122, 10, 8, c);
        canvas.Rect(x, 122, 5, 8, paint::Scale(c, 1.2f));
        canvas.Line(x, 122, x + 9, 129, paint::Scale(c, 0.8f));
        canvas.Line(x + 9, 122, x, 129, paint::Scale(c, 0.8f));
    }
}

void DrawCyclistLeftPedal(Canvas& canvas) { DrawCyclist(canvas, 8.0f, 1); }
void DrawCyclistRightPedal(Canvas& canvas) { DrawCyclist(canvas, 8.0f, -1); }
void DrawCyclistCheering(Canvas& canvas) { DrawCyclist(canvas, 12.0f, 0); }

} // namespace artgen
