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
    if (n < 0.10f)
        c = Rgba::Hex(0x3f9a2e);
    else if (n > 0.96f)
        c = Rgba::Hex(0x8fe06a);
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
    if (n < 0.12f)
        c = paint::Scale(c, 0.9f);
    else if (n > 0.93f)
        c = paint::Scale(c, 1.06f);
    return c;
}

void Bush(Canvas& canvas, float x, float y, float r) {
    canvas.Disc(x, y, r + 1.0f, Rgba::Hex(0x1f5a28));
    canvas.Disc(x, y, r, Rgba::Hex(0x2f8a3a));
    canvas.Disc(x - r * 0.3f, y - r * 0.3f, r * 0.55f, Rgba::Hex(0x4bb033));
}

// Cyclist from above, facing +x, bike along row `axle`. stride: +1 or -1 for the pedal frame,
// 0 for the celebration (no hands on the bars, arms flung out). The rider is painted without
// outlines on its own layer and then outlined as one silhouette, so the small parts stay clear.
void DrawCyclist(Canvas& canvas, float axle, int stride) {
    const Rgba tyre = Rgba::Hex(0x333c57);
    const int row = int(axle);
    const float y = axle + 0.5f;
    // Bike: two wheels along the axle line, the frame between and the bar across the front.
    canvas.Rect(0, row, 6, 1, tyre);
    canvas.Rect(13, row, 6, 1, tyre);
    canvas.Set(2, row, ink::kDarkGrey);
    canvas.Set(16, row, ink::kDarkGrey);
    canvas.Rect(6, row, 7, 1, ink::kGrey);
    if (stride != 0) {
        canvas.Rect(15, row - 3, 1, 7, ink::kOutline);
        canvas.Set(15, row - 3, ink::kGrey);
        canvas.Set(15, row + 3, ink::kGrey);
    } else {
        canvas.Rect(15, row - 2, 1, 5, ink::kOutline);
    }

    Canvas rider(canvas.width, canvas.height);
    // Thighs: the knee of the rising leg is forward, the other one back.
    const float kneeTop = stride > 0 ? 9.5f : 7.0f, kneeBottom = stride > 0 ? 7.0f : 9.5f;
    const float reachTop = stride == 0 ? 8.5f : kneeTop, reachBottom = stride == 0 ? 8.5f : kneeBottom;
    FillCapsule(rider, Capsule{{5.0f, y - 1.8f}, {reachTop, y - 5.3f}, 1.0f}, ink::kGrey);
    FillCapsule(rider, Capsule{{5.0f, y + 1.8f}, {reachBottom, y + 5.3f}, 1.0f}, ink::kGrey);
    // Back: narrow at the saddle, wide across the shoulders.
    rider.Triangle(4.0f, y - 2.0f, 10.6f, y - 4.0f, 10.6f, y + 4.0f, ink::kWhite);
    rider.Triangle(4.0f, y - 2.0f, 10.6f, y + 4.0f, 4.0f, y + 2.0f, ink::kWhite);
    FillCapsule(rider, Capsule{{4.5f, y}, {5.5f, y}, 1.9f}, ink::kLight);
    // Helmet in front of the shoulders.
    OutlineOpaque(rider);
    // Arms to the bars, or flung out in triumph.
    if (stride != 0) {
        DrawPart(rider, Capsule{{10.0f, y - 3.4f}, {14.6f, y - 3.4f}, 0.6f}, ink::kLight);
        DrawPart(rider, Capsule{{10.0f, y + 3.4f}, {14.6f, y + 3.4f}, 0.6f}, ink::kLight);
    } else {
        DrawPart(rider, Capsule{{10.0f, y - 3.6f}, {11.0f, y - 8.0f}, 0.75f}, ink::kLight);
        DrawPart(rider, Capsule{{11.0f, y - 8.0f}, {13.5f, y - 10.8f}, 0.75f}, ink::kLight);
        DrawPart(rider, Capsule{{10.0f, y + 3.6f}, {11.0f, y + 5.6f}, 0.75f}, ink::kLight);
        DrawPart(rider, Capsule{{11.0f, y + 5.6f}, {13.5f, y + 7.0f}, 0.75f}, ink::kLight);
    }
    // Helmet, outlined on its own so it stands out from the shoulders.
    DrawPart(rider, Capsule{{12.3f, y}, {12.8f, y}, 1.8f}, ink::kWhite);
    // Inner lines: jersey stripe, shoulder line under the helmet, helmet vents and visor.
    for (int i = 5; i <= 9; ++i)
        rider.Set(i, row, ink::kLight);
    rider.Rect(12, row, 2, 1, ink::kGrey);
    canvas.Paste(rider, 0, 0);
}

} // namespace

void DrawVelodrome(Canvas& canvas) {
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            const float x = kLeft + (i + 0.5f) / kPxPerMetre, y = kTop + (j + 0.5f) / kPxPerMetre;
            const float d = InfieldDistance(x, y);
            Rgba c;
            if (d <= 0.0f)
                c = GrassAt(i, j, true);
            else if (OnGrass(x, y))
                c = GrassAt(i, j, false);
            else
                c = TrackAt(i, j, d);
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
        canvas.Set(232 + int(Noise(k, 2, 5) * 20), 170 + int(Noise(k, 3, 5) * 12),
                   Rgba::Hex(kFlowers[k % 4]));
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

void DrawCyclistLeftPedal(Canvas& canvas) {
    DrawCyclist(canvas, 8.0f, 1);
}
void DrawCyclistRightPedal(Canvas& canvas) {
    DrawCyclist(canvas, 8.0f, -1);
}
void DrawCyclistCheering(Canvas& canvas) {
    DrawCyclist(canvas, 12.0f, 0);
}

} // namespace artgen
