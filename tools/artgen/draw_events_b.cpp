// The list of drawn sprites of the second group of event sheets, and the painting helpers
// those sheets share (sky, clouds, stands, floodlights, bunting, light cones).
#include "draw_events_b.h"
#include "drawn.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace paint {

Rgba Scale(Rgba c, float f) {
    auto s = [f](uint8_t v) { return uint8_t(std::clamp(std::lround(v * f), 0L, 255L)); };
    return Rgba(s(c.r), s(c.g), s(c.b), c.a);
}

void BlendRect(Canvas& canvas, int x, int y, int w, int h, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            canvas.Blend(i, j, c);
}

void BlendDisc(Canvas& canvas, float cx, float cy, float r, Rgba c) {
    Canvas disc(canvas.width, canvas.height);
    disc.Disc(cx, cy, r, c);
    canvas.Paste(disc, 0, 0);
}

void Speckle(Canvas& canvas, int x, int y, int w, int h, Rgba a, Rgba b, float amount, uint32_t seed) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            canvas.Set(i, j, Noise(i, j, seed) < amount ? b : a);
}

void SpeckleOver(Canvas& canvas, int x, int y, int w, int h, Rgba b, float amount, uint32_t seed) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (canvas.Get(i, j).a != 0 && Noise(i, j, seed) < amount) canvas.Blend(i, j, b);
}

namespace {

void CloudOnce(Canvas& canvas, float cx, float baseY, float w, uint32_t seed) {
    const Rgba shade = Rgba::Hex(0xc9dcef), body = Rgba::Hex(0xf4f9ff), rim = Rgba::Hex(0xffffff);
    // Puffs along the base, tallest in the middle; painted shade first, then body offset up-left.
    const int puffs = std::max(2, int(w / 7.0f));
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 0; k < puffs; ++k) {
            const float t = (k + 0.5f) / float(puffs);
            const float px = cx - w * 0.5f + t * w;
            const float r = (0.22f + 0.18f * std::sin(t * 3.14159f) + 0.06f * Noise(k, 1, seed)) * w * 0.5f;
            const float py = baseY - r * 0.55f;
            if (pass == 0)
                canvas.Disc(px, py, r, shade);
            else
                canvas.Disc(px - 0.6f, py - 1.2f, r - 0.8f, body);
        }
    canvas.Rect(int(cx - w * 0.45f), int(baseY) - 1, int(w * 0.9f), 1, shade);
    // A few bright pixels on the upper rims.
    for (int k = 0; k < puffs; ++k) {
        const float t = (k + 0.5f) / float(puffs);
        const float px = cx - w * 0.5f + t * w;
        const float r = (0.22f + 0.18f * std::sin(t * 3.14159f) + 0.06f * Noise(k, 1, seed)) * w * 0.5f;
        canvas.Set(int(px - 1.0f), int(baseY - r * 0.55f - r + 0.5f), rim);
    }
}

} // namespace

void Cloud(Canvas& canvas, float cx, float baseY, float w, uint32_t seed, int wrapWidth) {
    CloudOnce(canvas, cx, baseY, w, seed);
    if (wrapWidth > 0) {
        CloudOnce(canvas, cx - float(wrapWidth), baseY, w, seed);
        CloudOnce(canvas, cx + float(wrapWidth), baseY, w, seed);
    }
}

void Stand(Canvas& canvas, int x, int y, int w, int h, Rgba seat, uint32_t seed) {
    const Rgba rail = Rgba::Hex(0xe8ecf2), railShade = Rgba::Hex(0x6a7384);
    // Each tier: 2 rows of spectators, then the tier's front wall and railing.
    constexpr int kTier = 8; // px
    for (int ty = y; ty < y + h; ty += kTier) {
        const int th = std::min(kTier, y + h - ty);
        canvas.Rect(x, ty, w, th, seat);
        canvas.Rect(x, ty + th - 2, w, 2, paint::Scale(seat, 0.7f));
        DrawCrowd(canvas, x, ty + 1, w, std::min(5, th - 2), seed + uint32_t(ty) * 31u, 0.9f);
        if (th >= 7) {
            canvas.Rect(x, ty + th - 3, w, 1, rail);
            for (int i = x + 2; i < x + w; i += 6)
                canvas.Set(i, ty + th - 2, railShade);
        }
    }
}

void Floodlight(Canvas& canvas, int x, int y, int bottomY) {
    const Rgba steel = Rgba::Hex(0x8a93a3), steelDark = Rgba::Hex(0x4f5766), lamp = Rgba::Hex(0xfffbe0);
    // Lattice pole, 3 px wide with cross braces.
    const int poleX = x + 4;
    for (int j = y + 7; j < bottomY; ++j) {
        canvas.Set(poleX, j, steelDark);
        canvas.Set(poleX + 2, j, steelDark);
        canvas.Set(poleX + 1, j, (j % 4 == 0) ? steelDark : steel);
    }
    // Head: a frame of 2 x 5 lamps.
    canvas.Rect(x, y, 11, 7, steelDark);
    for (int k = 0; k < 5; ++k) {
        canvas.Set(x + 1 + 2 * k, y + 1, lamp);
        canvas.Set(x + 1 + 2 * k, y + 4, lamp);
        canvas.Set(x + 1 + 2 * k, y + 2, Rgba::Hex(0xffe68a));
    }
}

void Bunting(Canvas& canvas, int x0, int x1, int y, int sag, uint32_t seed) {
    static constexpr Rgba kFlags[] = {ink::kRed,   ink::kYellow, ink::kBlue,
                                      ink::kGreen, ink::kWhite,  ink::kOrange};
    const Rgba string = Rgba::Hex(0x3a3a48);
    const float span = float(std::max(1, x1 - x0));
    auto lineY = [&](int i) {
        const float t = (i - x0) / span;
        return y + int(std::lround(4.0f * sag * t * (1.0f - t)));
    };
    for (int i = x0; i <= x1; ++i)
        canvas.Set(i, lineY(i), string);
    int n = 0;
    for (int i = x0 + 2; i + 3 <= x1; i += 6, ++n) {
        const Rgba c = kFlags[(n + int(seed)) % 6];
        const int top = lineY(i + 1) + 1;
        canvas.Rect(i, top, 4, 1, c);
        canvas.Rect(i, top + 1, 3, 1, c);
        canvas.Rect(i + 1, top + 2, 2, 1, c);
        canvas.Set(i + 1, top + 3, c);
    }
}

void LightCone(Canvas& canvas, float x, float y, float x0, float x1, float y1, Rgba light) {
    for (int j = int(y); j < int(y1); ++j) {
        const float t = (j + 0.5f - y) / std::max(1.0f, y1 - y);
        const float left = x + (x0 - x) * t, right = x + (x1 - x) * t;
        Rgba c = light;
        c.a = uint8_t(light.a * (1.0f - 0.5f * t));
        for (int i = int(std::floor(left)); i <= int(std::ceil(right)); ++i)
            canvas.Blend(i, j, c);
    }
}

} // namespace paint

namespace {

constexpr DrawnSprite kEventSpritesB[] = {
    {197, DrawWeightliftingHall}, {202, DrawBarbell},
    {203, DrawShotPutStadium},    {206, DrawShotPutCircle},
    {208, DrawVelodrome},         {209, DrawCyclistLeftPedal},
    {210, DrawCyclistRightPedal}, {211, DrawCyclistCheering},
    {212, DrawNatatorium},        {214, DrawSwimmerArms},
    {218, DrawHammerField},       {220, DrawHammerCage},
    {223, DrawTimingNeedle},      {224, DrawGull},
    {228, DrawScullHull},         {229, DrawQuayWall},
    {232, DrawLakeWater},         {233, DrawPoleVaultHorizon},
    {238, DrawArcheryRange},      {240, DrawBowRelaxed},
    {241, DrawBowDrawn},          {242, DrawArrow},
    {243, DrawTargetBoard},       {244, DrawKayak},
    {247, DrawWhitewater0},       {248, DrawWhitewater1},
    {249, DrawWhitewater2},       {250, DrawWhitewater3},
};

} // namespace

DrawnList EventDrawnSpritesB() {
    return {kEventSpritesB, int(sizeof(kEventSpritesB) / sizeof(kEventSpritesB[0]))};
}

} // namespace artgen
