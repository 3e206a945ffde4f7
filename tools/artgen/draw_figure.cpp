#include "draw_figure.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

float SegmentDistance(Pt p, Pt a, Pt b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

void PaintCapsule(Canvas& canvas, const Capsule& c, float grow, Rgba colour) {
    const float r = c.radius + grow;
    const int x0 = int(std::floor(std::min(c.a.x, c.b.x) - r)),
              x1 = int(std::ceil(std::max(c.a.x, c.b.x) + r));
    const int y0 = int(std::floor(std::min(c.a.y, c.b.y) - r)),
              y1 = int(std::ceil(std::max(c.a.y, c.b.y) + r));
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i)
            if (SegmentDistance({i + 0.5f, j + 0.5f}, c.a, c.b) <= r) canvas.Set(i, j, colour);
}

Pt Lerp(Pt a, Pt b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

} // namespace

void DrawPart(Canvas& canvas, const Capsule* capsules, int count, Rgba fill, Rgba outline) {
    for (int k = 0; k < count; ++k)
        PaintCapsule(canvas, capsules[k], 1.0f, outline);
    for (int k = 0; k < count; ++k)
        PaintCapsule(canvas, capsules[k], 0.0f, fill);
}

void FillCapsule(Canvas& canvas, const Capsule& capsule, Rgba fill) {
    PaintCapsule(canvas, capsule, 0.0f, fill);
}

FigureStyle FigureStyle::Tinted() {
    FigureStyle s;
    s.skin = ink::kWhite;
    s.farSkin = ink::kGrey;
    s.shirt = ink::kWhite;
    s.farShirt = ink::kGrey;
    s.shorts = ink::kLight;
    s.shoes = ink::kDarkGrey;
    s.hair = ink::kGrey;
    return s;
}

void DrawHead(Canvas& canvas, Pt centre, float facing, const FigureStyle& style) {
    const Capsule head{centre, centre, style.headRadius};
    DrawPart(canvas, head, style.skin);
    if (style.hasHair) {
        // Hair covers the top and the back of the head.
        const float back = facing == 0.0f ? 0.0f : -facing;
        for (int j = int(centre.y - style.headRadius) - 1; j <= int(centre.y); ++j)
            for (int i = int(centre.x - style.headRadius) - 1; i <= int(centre.x + style.headRadius) + 1;
                 ++i) {
                const float dx = i + 0.5f - centre.x, dy = j + 0.5f - centre.y;
                if (dx * dx + dy * dy > style.headRadius * style.headRadius) continue;
                const bool top = dy < -style.headRadius * 0.45f;
                const bool behind = back != 0.0f && dx * back > style.headRadius * 0.45f && dy < 0.0f;
                if (top || behind) canvas.Set(i, j, style.hair);
            }
    }
    const int ey = int(std::floor(centre.y));
    if (facing == 0.0f) {
        canvas.Set(int(std::floor(centre.x - 1.0f)), ey, style.eye);
        canvas.Set(int(std::floor(centre.x + 1.0f)), ey, style.eye);
    } else {
        canvas.Set(int(std::floor(centre.x + facing * 1.2f)), ey, style.eye);
    }
}

void DrawFigure(Canvas& canvas, const Pose& p, const FigureStyle& s) {
    const float lr = s.limbRadius;
    // Seen from the side both arms hang from the middle of the torso; seen from the front each
    // hangs from its own shoulder, so the arms do not cross the chest.
    const Pt shoulderMid = Lerp(p.neck, p.hip, 0.12f);
    const float shoulderOffset = p.facing == 0.0f ? s.torsoRadius - 0.4f : 0.0f;
    const float nearSide = p.nearElbow.x >= shoulderMid.x ? 1.0f : -1.0f;
    const Pt nearShoulder{shoulderMid.x + nearSide * shoulderOffset, shoulderMid.y};
    const Pt farShoulder{shoulderMid.x - nearSide * shoulderOffset, shoulderMid.y};
    // Far limbs first, a shade darker.
    {
        const Capsule leg[2] = {{p.hip, p.farKnee, lr + 0.1f}, {p.farKnee, p.farFoot, lr}};
        DrawPart(canvas, leg, 2, s.longLegs ? s.shorts : s.farSkin);
        if (!s.longLegs) FillCapsule(canvas, {p.hip, Lerp(p.hip, p.farKnee, 0.45f), lr + 0.1f}, s.shorts);
        FillCapsule(canvas, {p.farFoot, p.farFoot, lr}, s.shoes);
        const Capsule arm[2] = {{farShoulder, p.farElbow, lr}, {p.farElbow, p.farHand, lr}};
        DrawPart(canvas, arm, 2, s.farSkin);
        if (s.sleeves)
            FillCapsule(canvas, {farShoulder, Lerp(farShoulder, p.farElbow, 0.6f), lr}, s.farShirt);
    }
    // Torso, then shorts over its lower end.
    DrawPart(canvas, {p.neck, p.hip, s.torsoRadius}, s.shirt);
    // A shaded strip down the back of the torso gives it some volume.
    if (p.facing != 0.0f) {
        const Pt back{-p.facing * (s.torsoRadius - 0.6f), 0.0f};
        FillCapsule(canvas, {{p.neck.x + back.x, p.neck.y + 1.0f}, {p.hip.x + back.x, p.hip.y}, 0.5f},
                    s.farShirt);
    }
    FillCapsule(canvas, {Lerp(p.neck, p.hip, 0.82f), p.hip, s.torsoRadius}, s.shorts);
    {
        const Capsule leg[2] = {{p.hip, p.nearKnee, lr + 0.1f}, {p.nearKnee, p.nearFoot, lr}};
        DrawPart(canvas, leg, 2, s.longLegs ? s.shorts : s.skin);
        if (!s.longLegs) FillCapsule(canvas, {p.hip, Lerp(p.hip, p.nearKnee, 0.45f), lr + 0.1f}, s.shorts);
        FillCapsule(canvas, {p.nearFoot, p.nearFoot, lr}, s.shoes);
    }
    DrawHead(canvas, p.head, p.facing, s);
    {
        const Capsule arm[2] = {{nearShoulder, p.nearElbow, lr}, {p.nearElbow, p.nearHand, lr}};
        DrawPart(canvas, arm, 2, s.skin);
        if (s.sleeves)
            FillCapsule(canvas, {nearShoulder, Lerp(nearShoulder, p.nearElbow, 0.6f), lr}, s.shirt);
    }
}

void OutlineOpaque(Canvas& canvas, Rgba outline) {
    Canvas copy = canvas;
    for (int j = 0; j < canvas.height; ++j)
        for (int i = 0; i < canvas.width; ++i) {
            if (copy.Get(i, j).a != 0) continue;
            const bool touches = copy.Get(i - 1, j).a > 128 || copy.Get(i + 1, j).a > 128 ||
                                 copy.Get(i, j - 1).a > 128 || copy.Get(i, j + 1).a > 128;
            if (touches) canvas.Set(i, j, outline);
        }
}

void DrawCrowd(Canvas& canvas, int x, int y, int w, int h, uint32_t seed, float density) {
    static constexpr Rgba kShirts[] = {ink::kRed,    ink::kYellow, ink::kBlue, ink::kGreen,  ink::kWhite,
                                       ink::kOrange, ink::kPurple, ink::kSky,  ink::kDarkRed};
    static constexpr Rgba kSkins[] = {ink::kSkin, ink::kSkinShade, ink::kTan, ink::kBrown};
    // Spectators sit in rows 3 px apart, 2 px wide with a 1-px gap, staggered row to row.
    for (int row = 0; row * 3 < h; ++row) {
        const int top = y + row * 3;
        for (int col = 0; col * 3 < w; ++col) {
            const int left = x + col * 3 + (row % 2);
            if (Noise(col, row, seed) > density) continue;
            // Softened towards the stand's blue-grey so the crowd stays behind the action.
            const Rgba stand = Rgba::Hex(0x4c5f7a);
            const float soften = 0.2f + 0.15f * float(row * 3) / float(std::max(1, h));
            const Rgba shirt = Mix(kShirts[int(Noise(col, row, seed + 7) * 8.999f)], stand, soften);
            const Rgba skin = Mix(kSkins[int(Noise(col, row, seed + 11) * 3.999f)], stand, soften * 0.5f);
            const Rgba hair = Noise(col, row, seed + 13) < 0.5f ? ink::kHair : ink::kDarkBrown;
            if (left + 1 >= x + w) continue;
            canvas.Set(left, top, Noise(col, row, seed + 17) < 0.3f ? hair : skin);
            canvas.Set(left + 1, top, skin);
            if (top + 1 < y + h) {
                canvas.Set(left, top + 1, shirt);
                canvas.Set(left + 1, top + 1, shirt);
            }
            // Some wave their arms.
            if (Noise(col, row, seed + 23) < 0.12f && top - 1 >= y) canvas.Set(left + 1, top - 1, skin);
        }
    }
}

} // namespace artgen
