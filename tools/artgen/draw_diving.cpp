// Diving sheet: the natatorium backdrop and the diver's two poses (the judges are grids in
// assets/art/diving).
// Backdrop 151 is drawn at world (-7.8, -16.1), 10 px per metre: platform top at row 61 for
// px 28..88 (1 m thick), decks at row 151 left of px 78 and right of px 198, pool between,
// ceiling underside at row 21, judges' gallery at row 124 for px 96..180.
#include "draw_areas_a.h"
#include "draw_figure.h"

namespace artgen {

namespace {

constexpr int kCeilingRow = 21;
constexpr int kPlatformTop = 61;
constexpr int kPlatformLeft = 28;
constexpr int kPlatformRight = 88;
constexpr int kDeckRow = 151;
constexpr int kPoolLeft = 78;
constexpr int kPoolRight = 198;
constexpr int kGalleryRow = 124;
constexpr int kGalleryLeft = 96;
constexpr int kGalleryRight = 180;

void DrawNatatorium(Canvas& c) {
    // Back wall: pale tiles with a light gradient.
    c.VerticalGradient(0, 0, 256, 192, Rgba::Hex(0xcfe8f2), Rgba::Hex(0x9fd0e4));
    for (int y = kCeilingRow; y < kDeckRow; y += 6)
        for (int x = 0; x < 256; ++x)
            c.Blend(x, y, Rgba(255, 255, 255, 70));
    for (int y = kCeilingRow; y < kDeckRow; ++y)
        for (int x = ((y - kCeilingRow) / 6) % 2 * 3; x < 256; x += 6)
            c.Blend(x, y, Rgba(255, 255, 255, 60));
    // Tall windows with sky and a hint of clouds.
    for (int k = 0; k < 5; ++k) {
        const int wx = 104 + k * 30;
        c.Rect(wx - 1, 33, 20, 50, Rgba::Hex(0x6b8fa8));
        c.VerticalGradient(wx, 34, 18, 48, Rgba::Hex(0x5fb8f0), Rgba::Hex(0xb8e6ff));
        for (int j = 49; j <= 55; ++j)
            for (int i = wx; i < wx + 13; ++i) {
                const float dx = (i + 0.5f - (wx + 6.0f)) / 6.0f, dy = (j + 0.5f - 52.0f) / 2.5f;
                if (dx * dx + dy * dy <= 1.0f) c.Blend(i, j, Rgba(255, 255, 255, 200));
            }
        c.Rect(wx + 8, 34, 2, 48, Rgba::Hex(0x6b8fa8));
        c.Rect(wx, 56, 18, 1, Rgba::Hex(0x6b8fa8));
    }
    // Ceiling with girders and lamps.
    c.VerticalGradient(0, 0, 256, kCeilingRow, Rgba::Hex(0x5a6b80), Rgba::Hex(0x7a8ca0));
    for (int x = 0; x < 256; x += 16) {
        c.Line(x, kCeilingRow - 1, x + 8, 4, Rgba::Hex(0x46546a));
        c.Line(x + 8, 4, x + 16, kCeilingRow - 1, Rgba::Hex(0x46546a));
    }
    c.Rect(0, 3, 256, 2, Rgba::Hex(0x46546a));
    c.Rect(0, kCeilingRow - 2, 256, 2, Rgba::Hex(0x3a4658));
    for (int x = 20; x < 256; x += 48) {
        // Lamps are set into the ceiling, so its underside stays one clean line.
        c.Rect(x, kCeilingRow - 3, 6, 2, Rgba::Hex(0x3a4658));
        c.Rect(x + 1, kCeilingRow - 1, 4, 1, Rgba::Hex(0xfff3a0));
        for (int j = 0; j < 10; ++j)
            for (int i = -j; i < 6 + j; ++i)
                c.Blend(x + i, kCeilingRow + j, Rgba(255, 250, 200, uint8_t(40 - 4 * j)));
    }
    // Crowd on a stand at the back right, under the windows.
    c.Rect(96, 86, 160, 24, Rgba::Hex(0x4c5f7a));
    for (int r = 0; r < 4; ++r)
        c.Rect(96, 86 + r * 6 + 5, 160, 1, Rgba::Hex(0x3a4a60));
    DrawCrowd(c, 97, 87, 158, 22, 151);
    c.Rect(96, 110, 160, 2, Rgba::Hex(0xe8eef4));
    c.Rect(96, 112, 160, 1, Rgba::Hex(0x7c8594));
    // Judges' gallery: a ledge whose top the judges sit on.
    c.Rect(kGalleryLeft - 4, kGalleryRow, kGalleryRight - kGalleryLeft + 8, 3, Rgba::Hex(0xe8eef4));
    c.Rect(kGalleryLeft - 4, kGalleryRow + 3, kGalleryRight - kGalleryLeft + 8, 6, Rgba::Hex(0x3b8ee8));
    for (int x = kGalleryLeft; x < kGalleryRight; x += 10)
        c.Rect(x + 3, kGalleryRow + 4, 5, 4, Rgba::Hex(0xffd93d));
    c.Rect(kGalleryLeft - 4, kGalleryRow + 9, kGalleryRight - kGalleryLeft + 8, 1, Rgba::Hex(0x1f4fa8));
    for (int x = kGalleryLeft; x <= kGalleryRight; x += 28)
        c.Rect(x, kGalleryRow + 10, 2, kDeckRow - kGalleryRow - 10, Rgba::Hex(0x8a9cb0));
    // Decks and pool.
    c.Rect(0, kDeckRow, 256, 192 - kDeckRow, Rgba::Hex(0xe8dcc4));
    for (int y = kDeckRow + 3; y < 192; y += 5)
        c.Rect(0, y, 256, 1, Rgba::Hex(0xcfc0a4));
    c.Rect(0, kDeckRow, 256, 1, Rgba::Hex(0xffffff));
    // Pool: a side section through the water, lane ropes on its surface.
    const int water = 164;
    c.Rect(kPoolLeft, kDeckRow, kPoolRight - kPoolLeft, water - kDeckRow, Rgba::Hex(0x9fd0e4));
    c.Rect(kPoolLeft, kDeckRow, 1, 192 - kDeckRow, Rgba::Hex(0x7c8594));
    c.Rect(kPoolRight - 1, kDeckRow, 1, 192 - kDeckRow, Rgba::Hex(0x7c8594));
    c.VerticalGradient(kPoolLeft + 1, water, kPoolRight - kPoolLeft - 2, 192 - water, Rgba::Hex(0x49b6ff),
                       Rgba::Hex(0x1f6fc8));
    for (int y = water + 2; y < 192; ++y)
        for (int x = kPoolLeft + 1; x < kPoolRight - 1; ++x)
            if (Noise(x / 3, y, 9) > 0.86f) c.Blend(x, y, Rgba(255, 255, 255, 70));
    for (int x = kPoolLeft + 1; x < kPoolRight - 1; ++x) {
        c.Set(x, water, Rgba::Hex(0xc8ecff));
        if ((x / 2) % 2 == 0)
            c.Set(x, water - 1, Rgba::Hex(0xe8473c));
        else
            c.Set(x, water - 1, Rgba::Hex(0xffffff));
    }
    // Platform tower: a concrete column with a ladder, the platform slab and its railing.
    const Rgba concrete = Rgba::Hex(0xc8ccd4), concreteDark = Rgba::Hex(0x9aa0ac);
    c.Rect(kPlatformLeft + 6, kPlatformTop + 10, 14, kDeckRow - kPlatformTop - 10, concrete);
    c.Rect(kPlatformLeft + 6, kPlatformTop + 10, 2, kDeckRow - kPlatformTop - 10, concreteDark);
    c.Rect(kPlatformLeft + 18, kPlatformTop + 10, 2, kDeckRow - kPlatformTop - 10, concreteDark);
    for (int y = kPlatformTop + 12; y < kDeckRow; ++y)
        for (int x = kPlatformLeft + 8; x < kPlatformLeft + 18; ++x)
            if (Noise(x, y, 3) > 0.9f) c.Set(x, y, concreteDark);
    // Ladder up the left side of the tower to the platform.
    const Rgba steel = Rgba::Hex(0x8a9cb0);
    c.Rect(kPlatformLeft - 2, kPlatformTop - 10, 2, kDeckRow - kPlatformTop + 10, steel);
    c.Rect(kPlatformLeft + 5, kPlatformTop + 10, 1, kDeckRow - kPlatformTop - 10, steel);
    for (int y = kPlatformTop + 14; y < kDeckRow; y += 5)
        c.Rect(kPlatformLeft, y, 5, 1, steel);
    c.Rect(kPlatformLeft, kPlatformTop, kPlatformRight - kPlatformLeft, 10, concrete);
    c.Rect(kPlatformLeft, kPlatformTop, kPlatformRight - kPlatformLeft, 1, Rgba::Hex(0xffffff));
    c.Rect(kPlatformLeft, kPlatformTop + 9, kPlatformRight - kPlatformLeft, 1, concreteDark);
    c.Rect(kPlatformLeft, kPlatformTop, 1, 10, concreteDark);
    c.Rect(kPlatformRight - 1, kPlatformTop, 1, 10, concreteDark);
    // Blue non-slip strip on the platform top.
    c.Rect(kPlatformLeft + 4, kPlatformTop + 1, kPlatformRight - kPlatformLeft - 6, 2, Rgba::Hex(0x3b8ee8));
    // Railing along the back of the platform, up to its diving edge.
    for (int x = kPlatformLeft + 2; x < kPlatformLeft + 26; x += 6)
        c.Rect(x, kPlatformTop - 9, 1, 9, Rgba::Hex(0x7c8594));
    c.Rect(kPlatformLeft - 2, kPlatformTop - 10, 27, 1, Rgba::Hex(0x7c8594));
    c.Rect(kPlatformLeft, kPlatformTop - 5, 25, 1, Rgba::Hex(0x9aa0ac));
    // Height sign: "10" on a white plate.
    c.Rect(kPlatformLeft + 8, kPlatformTop + 3, 8, 5, ink::kWhite);
    c.Rect(kPlatformLeft + 10, kPlatformTop + 4, 1, 3, ink::kOutline);
    c.Set(kPlatformLeft + 9, kPlatformTop + 4, ink::kOutline);
    c.Rect(kPlatformLeft + 12, kPlatformTop + 4, 3, 3, ink::kOutline);
    c.Set(kPlatformLeft + 13, kPlatformTop + 5, ink::kWhite);
}

Pose DiverStanding() {
    Pose p;
    p.head = {9.0f, 3.4f};
    p.neck = {8.7f, 6.6f};
    p.hip = {8.5f, 14.0f};
    p.nearElbow = {11.6f, 9.6f};
    p.nearHand = {13.6f, 12.0f};
    p.farElbow = {5.4f, 9.4f};
    p.farHand = {3.6f, 11.8f};
    p.nearKnee = {9.8f, 18.8f};
    p.nearFoot = {10.4f, 23.2f};
    p.farKnee = {7.4f, 18.8f};
    p.farFoot = {6.8f, 23.2f};
    p.facing = 1.0f;
    return p;
}

void DrawDiverStanding(Canvas& c) {
    DrawFigure(c, DiverStanding(), FigureStyle::Tinted());
}

// Head-first pose: arms stretched past the head, hands together; the head end is the top.
void DrawDiverHeadFirst(Canvas& c) {
    Pose p;
    p.head = {5.5f, 8.2f};
    p.neck = {5.5f, 11.2f};
    p.hip = {5.5f, 19.0f};
    p.nearElbow = {6.6f, 6.0f};
    p.nearHand = {5.8f, 1.3f};
    p.farElbow = {4.4f, 6.0f};
    p.farHand = {5.2f, 1.3f};
    p.nearKnee = {6.0f, 23.4f};
    p.nearFoot = {5.9f, 27.6f};
    p.farKnee = {5.0f, 23.4f};
    p.farFoot = {5.1f, 27.6f};
    p.facing = 0.0f;
    FigureStyle s = FigureStyle::Tinted();
    s.torsoRadius = 1.7f;
    s.headRadius = 2.4f;
    DrawFigure(c, p, s);
}

} // namespace

void AddDivingSprites(DrawnCollector& out) {
    out.Add(151, DrawNatatorium);
    out.Add(152, DrawDiverStanding);
    out.Add(153, DrawDiverHeadFirst);
}

} // namespace artgen
