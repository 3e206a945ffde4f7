// Javelin (156-159), high jump (192-196) and the pole vault pieces kept on the high jump sheet
// (234-237). Backdrop 192 is drawn at world (-14.8, -16.6), 10 px per metre: ground top at
// row 166, the back wall's face at the right edge (x 10.8), so nothing solid is drawn short of
// it. The bar standard stands at px 148 and the mat covers px 161..221 above the ground; the
// game draws both.
#include "draw_areas_a.h"
#include "draw_figure.h"

namespace artgen {

namespace {

constexpr int kGroundRow = 166;

FigureStyle Tinted() {
    FigureStyle s = FigureStyle::Tinted();
    s.farSkin = ink::kLight;
    return s;
}

// --- Javelin ------------------------------------------------------------------------------

// Javelin pointing right: steel tips, a light shaft, a cord grip just behind the middle. The
// anchor is px 16 and the game draws it at 10 px per metre; the body reaches 1.4 m either side of
// its centre (the tip sensors' outer edges), so the drawing spans px 2..29 and leaves the ends
// clear.
void DrawJavelin(Canvas& c) {
    c.Rect(5, 0, 22, 1, ink::kLight);
    c.Rect(5, 1, 22, 1, ink::kGrey);
    c.Rect(13, 0, 4, 2, ink::kRed);
    c.Set(13, 1, ink::kDarkRed);
    c.Set(16, 1, ink::kDarkRed);
    c.Rect(27, 0, 2, 1, ink::kDarkGrey);
    c.Set(29, 0, ink::kOutline);
    c.Rect(27, 1, 2, 1, ink::kOutline);
    c.Rect(2, 0, 3, 1, ink::kDarkGrey);
    c.Rect(2, 1, 3, 1, ink::kOutline);
}

// The thrower faces right with the javelin hand cocked above the shoulder.
void DrawThrowerAim(Canvas& c) {
    Pose p;
    p.facing = 1.0f;
    p.head = {9.2f, 3.2f};
    p.neck = {8.8f, 6.4f};
    p.hip = {8.2f, 13.8f};
    p.nearElbow = {5.6f, 5.0f};
    p.nearHand = {6.4f, 1.4f};
    p.farElbow = {11.6f, 9.4f};
    p.farHand = {14.2f, 8.4f};
    p.nearKnee = {10.6f, 18.4f};
    p.nearFoot = {12.8f, 23.2f};
    p.farKnee = {6.6f, 18.8f};
    p.farFoot = {4.4f, 23.0f};
    DrawFigure(c, p, Tinted());
}

// Follow-through: the throwing arm swept forward and down.
void DrawThrowerRelease(Canvas& c) {
    Pose p;
    p.facing = 1.0f;
    p.head = {10.6f, 3.4f};
    p.neck = {9.8f, 6.6f};
    p.hip = {8.2f, 13.8f};
    p.nearElbow = {13.0f, 8.0f};
    p.nearHand = {15.4f, 10.6f};
    p.farElbow = {6.0f, 9.6f};
    p.farHand = {3.2f, 8.6f};
    p.nearKnee = {11.6f, 18.2f};
    p.nearFoot = {12.6f, 23.2f};
    p.farKnee = {5.6f, 17.8f};
    p.farFoot = {2.0f, 20.6f};
    DrawFigure(c, p, Tinted());
}

// One 2 m piece of the foul line marker, stacked five high: white and red like a survey pole.
void DrawFoulLine(Canvas& c) {
    for (int y = 0; y < 20; ++y) {
        const Rgba band = y < 10 ? ink::kWhite : ink::kRed;
        c.Set(0, y, band);
        c.Set(1, y, Mix(band, ink::kOutline, 0.3f));
    }
}

// --- High jump ----------------------------------------------------------------------------

void DrawHighJumpField(Canvas& c) {
    // Evening sky with a warm horizon.
    c.VerticalGradient(0, 0, 256, 80, Rgba::Hex(0x3a7ad8), Rgba::Hex(0xffc890));
    c.Disc(60.0f, 62.0f, 10.0f, Rgba::Hex(0xfff3a0));
    c.Disc(60.0f, 62.0f, 8.0f, Rgba::Hex(0xffffe0));
    for (int k = 0; k < 3; ++k) {
        const float x = 30.0f + k * 80.0f, y = 20.0f + k * 9.0f;
        c.Ellipse(x, y, 14, 2.5f, Rgba::Hex(0xf4dcd8));
        c.Ellipse(x + 6, y - 2, 8, 2.0f, Rgba::Hex(0xfff0eb));
    }
    // Stands with a crowd and a roof.
    c.Rect(0, 70, 256, 6, Rgba::Hex(0xe8eef4));
    c.Rect(0, 76, 256, 1, Rgba::Hex(0x7c8594));
    c.Rect(0, 77, 256, 60, Rgba::Hex(0x4c5f7a));
    for (int x = 12; x < 256; x += 48)
        c.Rect(x, 76, 2, 60, Rgba::Hex(0x8a9cb0));
    DrawCrowd(c, 0, 79, 256, 56, 192);
    // Boards and wall in front of the stands.
    static constexpr Rgba kBoards[] = {ink::kBlue,  ink::kYellow, ink::kRed,
                                       ink::kGreen, ink::kPurple, ink::kOrange};
    for (int k = 0; k < 8; ++k) {
        c.Rect(k * 32, 137, 32, 7, kBoards[k % 6]);
        c.Rect(k * 32 + 6, 139, 20, 3, ink::kWhite);
        c.Rect(k * 32 + 8 + (k * 5) % 10, 140, 4, 1, kBoards[(k + 2) % 6]);
        c.Rect(k * 32, 137, 1, 7, ink::kOutline);
    }
    c.Rect(0, 144, 256, 1, ink::kOutline);
    // Grass infield, then the apron of the jump.
    for (int y = 145; y < kGroundRow; ++y)
        for (int x = 0; x < 256; ++x)
            c.Set(x, y, ((x + y) / 10) % 2 ? ink::kGreen : Rgba::Hex(0x4cb032));
    // Run-up surface: red-orange track with a little grain.
    for (int y = kGroundRow; y < 192; ++y)
        for (int x = 0; x < 256; ++x) {
            Rgba t = Rgba::Hex(0xd8583c);
            if (Noise(x, y, 193) > 0.85f) t = Rgba::Hex(0xc04a30);
            if (Noise(x, y, 194) > 0.95f) t = Rgba::Hex(0xe87a5a);
            c.Set(x, y, t);
        }
    c.Rect(0, kGroundRow, 256, 1, Rgba::Hex(0xffe0d0));
    // The curved run-up marks of a fan-shaped apron, seen edge-on as white dashes.
    for (int x = 0; x < 140; x += 12)
        c.Rect(x, kGroundRow + 6, 6, 1, ink::kWhite);
}

Pose JumperStride(bool second) {
    Pose p;
    p.facing = 1.0f;
    const float cx = 6.5f;
    p.head = {cx + 1.0f, 5.2f};
    p.neck = {cx + 0.6f, 8.4f};
    p.hip = {cx, 16.0f};
    if (!second) {
        p.nearElbow = {cx + 2.8f, 10.6f};
        p.nearHand = {cx + 4.2f, 7.0f};
        p.farElbow = {cx - 2.0f, 12.6f};
        p.farHand = {cx - 4.2f, 11.8f};
        p.nearKnee = {cx + 3.0f, 19.6f};
        p.nearFoot = {cx + 2.4f, 25.6f};
        p.farKnee = {cx - 1.6f, 21.0f};
        p.farFoot = {cx - 4.6f, 24.4f};
    } else {
        p.nearElbow = {cx - 2.0f, 12.6f};
        p.nearHand = {cx - 4.2f, 11.8f};
        p.farElbow = {cx + 3.0f, 11.0f};
        p.farHand = {cx + 5.6f, 8.6f};
        p.nearKnee = {cx - 1.6f, 21.0f};
        p.nearFoot = {cx - 4.6f, 24.4f};
        p.farKnee = {cx + 4.2f, 19.0f};
        p.farFoot = {cx + 7.0f, 24.6f};
    }
    return p;
}

void DrawJumperA(Canvas& c) {
    DrawFigure(c, JumperStride(false), Tinted());
}
void DrawJumperB(Canvas& c) {
    DrawFigure(c, JumperStride(true), Tinted());
}

// The crossbar seen end-on: a round tube with coloured bands and a highlight.
void DrawBarEnd(Canvas& c) {
    c.Disc(4.0f, 4.0f, 4.0f, ink::kOutline);
    c.Disc(4.0f, 4.0f, 3.0f, ink::kWhite);
    c.Disc(4.0f, 4.0f, 1.8f, ink::kRed);
    c.Disc(4.0f, 4.0f, 0.8f, ink::kDarkRed);
    c.Set(2, 2, ink::kWhite);
}

// A traffic cone marking the run-up.
void DrawCone(Canvas& c) {
    c.Triangle(3.0f, 14.0f, 14.0f, 14.0f, 8.5f, 0.0f, ink::kOutline);
    c.Triangle(4.5f, 13.5f, 12.5f, 13.5f, 8.5f, 1.5f, ink::kOrange);
    c.Rect(6, 6, 6, 2, ink::kWhite);
    c.Rect(5, 10, 8, 2, ink::kWhite);
    c.Rect(0, 13, 17, 3, ink::kOutline);
    c.Rect(1, 14, 15, 1, Rgba::Hex(0xc4571a));
    c.Set(8, 2, ink::kPaleYellow);
}

// --- Pole vault ---------------------------------------------------------------------------

// The vaulter's body without arms (the game draws the arms to the pole), in two strides.
Pose VaulterStride(bool second) {
    Pose p;
    p.facing = 1.0f;
    p.head = {4.6f, 3.2f};
    p.neck = {4.2f, 6.4f};
    p.hip = {4.0f, 13.6f};
    p.nearElbow = p.neck;
    p.nearHand = p.neck;
    p.farElbow = p.neck;
    p.farHand = p.neck;
    if (!second) {
        p.nearKnee = {6.0f, 17.6f};
        p.nearFoot = {6.2f, 22.4f};
        p.farKnee = {3.0f, 18.2f};
        p.farFoot = {1.2f, 22.6f};
    } else {
        p.nearKnee = {2.6f, 18.2f};
        p.nearFoot = {1.4f, 22.6f};
        p.farKnee = {5.6f, 17.8f};
        p.farFoot = {6.4f, 22.4f};
    }
    return p;
}

void DrawVaulter(Canvas& c, bool second) {
    FigureStyle s = Tinted();
    s.limbRadius = 0.7f;
    s.torsoRadius = 1.6f;
    s.headRadius = 2.3f;
    DrawFigure(c, VaulterStride(second), s);
}
void DrawVaulterA(Canvas& c) {
    DrawVaulter(c, false);
}
void DrawVaulterB(Canvas& c) {
    DrawVaulter(c, true);
}

// An arm stretched between shoulder (left) and hand (right), tinted by the game.
void DrawVaulterArm(Canvas& c) {
    DrawPart(c, {{1.8f, 2.0f}, {10.6f, 2.0f}, 0.9f}, ink::kWhite);
    DrawPart(c, {{11.0f, 2.0f}, {11.0f, 2.0f}, 1.0f}, ink::kLight);
}

// The pole: a fibreglass stripe pattern with taped ends.
void DrawPole(Canvas& c) {
    for (int x = 0; x < 96; ++x) {
        const bool tape = x < 4 || x >= 92;
        const Rgba top = tape ? ink::kOutline : (((x / 8) % 2) ? ink::kYellow : ink::kBlue);
        const Rgba bottom = tape ? ink::kOutline : (((x / 8) % 2) ? ink::kOrange : ink::kDarkBlue);
        c.Set(x, 0, top);
        c.Set(x, 1, bottom);
    }
}

} // namespace

void AddFieldSprites(DrawnCollector& out) {
    out.Add(156, DrawJavelin);
    out.Add(157, DrawThrowerAim);
    out.Add(158, DrawThrowerRelease);
    out.Add(159, DrawFoulLine);
    out.Add(192, DrawHighJumpField);
    out.Add(193, DrawJumperA);
    out.Add(194, DrawJumperB);
    out.Add(195, DrawBarEnd);
    out.Add(196, DrawCone);
    out.Add(234, DrawVaulterA);
    out.Add(235, DrawVaulterB);
    out.Add(236, DrawVaulterArm);
    out.Add(237, DrawPole);
}

} // namespace artgen
