// Rings sheet: the gymnastics hall, the gymnast's torso and arms, strap and ring, and the judges.
// Backdrop 183 is drawn at world (-12.8, -16.4), 10 px per metre: floor top at row 164, the mat
// on px 88..168 from row 159, ceiling underside at row 24, straps hung from px 120 and 136.
// The judges' tables (70 x 39 px) stand at px 10..80 and, mirrored, 176..246 from row 108, so
// the backdrop gives each a raised stand from row 147 down to the floor.
#include "draw_areas_a.h"
#include "draw_figure.h"

namespace artgen {

namespace {

constexpr int kFloorRow = 164;
constexpr int kCeilingRow = 24;
constexpr int kMatTop = 159;

void DrawGymHall(Canvas& c) {
    // Back wall: warm panels with a darker dado.
    c.VerticalGradient(0, 0, 256, kFloorRow, Rgba::Hex(0xf0e0c8), Rgba::Hex(0xe0c8a8));
    for (int x = 0; x < 256; x += 32)
        c.Rect(x, kCeilingRow, 1, kFloorRow - kCeilingRow, Rgba::Hex(0xd0b894));
    // High windows letting in light.
    for (int k = 0; k < 4; ++k) {
        const int wx = 14 + k * 64;
        c.Rect(wx - 1, 31, 36, 18, Rgba::Hex(0x8a6a4a));
        c.VerticalGradient(wx, 32, 34, 16, Rgba::Hex(0x6ac0f8), Rgba::Hex(0xc8ecff));
        for (int i = 1; i < 4; ++i)
            c.Rect(wx + i * 9 - 1, 32, 1, 16, Rgba::Hex(0x8a6a4a));
        for (int j = 0; j < 30; ++j)
            for (int i = 0; i < 34; ++i)
                c.Blend(wx + i + j / 2, 48 + j, Rgba(255, 250, 220, uint8_t(30 - j)));
    }
    // Crowd in a balcony across the back.
    c.Rect(0, 56, 256, 40, Rgba::Hex(0x6a4a3a));
    DrawCrowd(c, 0, 57, 256, 36, 183, 0.8f);
    c.Rect(0, 93, 256, 3, Rgba::Hex(0xb08050));
    c.Rect(0, 96, 256, 1, ink::kOutline);
    // Hanging banners in bright colours.
    static constexpr Rgba kBanners[] = {ink::kRed, ink::kBlue, ink::kYellow, ink::kGreen, ink::kPurple};
    for (int k = 0; k < 5; ++k) {
        const int bx = 22 + k * 48;
        if (bx > 100 && bx < 156) continue; // keep the straps' space clear
        c.Rect(bx, kCeilingRow, 12, 20, kBanners[k]);
        c.Triangle(float(bx), kCeilingRow + 20.0f, bx + 12.0f, kCeilingRow + 20.0f, bx + 6.0f,
                   kCeilingRow + 25.0f, kBanners[k]);
        c.Rect(bx + 3, kCeilingRow + 6, 6, 6, ink::kWhite);
        c.Disc(bx + 6.0f, kCeilingRow + 9.0f, 1.6f, kBanners[(k + 2) % 5]);
    }
    // Ceiling with steel trusses and the rings' frame.
    c.VerticalGradient(0, 0, 256, kCeilingRow, Rgba::Hex(0x6a7488), Rgba::Hex(0x8a94a8));
    for (int x = 0; x < 256; x += 12) {
        c.Line(x, kCeilingRow - 2, x + 6, 6, Rgba::Hex(0x4a5468));
        c.Line(x + 6, 6, x + 12, kCeilingRow - 2, Rgba::Hex(0x4a5468));
    }
    c.Rect(0, 5, 256, 2, Rgba::Hex(0x4a5468));
    c.Rect(0, kCeilingRow - 2, 256, 2, Rgba::Hex(0x3a4458));
    c.Rect(112, kCeilingRow - 4, 32, 4, ink::kOutline);
    c.Rect(113, kCeilingRow - 3, 30, 2, ink::kGrey);
    c.Rect(119, kCeilingRow - 2, 3, 2, ink::kOutline);
    c.Rect(135, kCeilingRow - 2, 3, 2, ink::kOutline);
    // Floor: wooden boards.
    for (int y = kFloorRow; y < 192; ++y)
        for (int x = 0; x < 256; ++x) {
            Rgba wood = ((y - kFloorRow) / 4 + (x + (y / 4) * 37) / 40) % 2 ? Rgba::Hex(0xd8a060)
                                                                            : Rgba::Hex(0xc89050);
            if ((y - kFloorRow) % 4 == 3) wood = Rgba::Hex(0xa87040);
            c.Set(x, y, wood);
        }
    c.Rect(0, kFloorRow, 256, 1, Rgba::Hex(0xf0c890));
    // Landing mat, blue with a lighter top.
    c.Rect(87, kMatTop - 1, 82, kFloorRow - kMatTop + 1, ink::kOutline);
    c.Rect(88, kMatTop, 80, kFloorRow - kMatTop, ink::kBlue);
    c.Rect(88, kMatTop, 80, 1, ink::kSky);
    for (int x = 96; x < 168; x += 16)
        c.Rect(x, kMatTop + 1, 1, kFloorRow - kMatTop - 1, ink::kDarkBlue);
    // Judges' stands under the two tables: a raised deck on trestle legs, set back from the
    // floor so that it reads as scenery behind the gymnast rather than an obstacle.
    for (int side = 0; side < 2; ++side) {
        const int x0 = side == 0 ? 8 : 174;
        c.Rect(x0, 147, 74, 4, ink::kOutline);
        c.Rect(x0 + 1, 148, 72, 2, Rgba::Hex(0xc89050));
        for (int k = 0; k < 4; ++k) {
            const int lx = x0 + 4 + k * 21;
            c.Rect(lx, 151, 3, kFloorRow - 151, ink::kOutline);
            c.Rect(lx + 1, 151, 1, kFloorRow - 151, Rgba::Hex(0x9a6a40));
        }
        c.Line(x0 + 6, 152, x0 + 25, kFloorRow - 2, Rgba::Hex(0x7a5030));
        c.Line(x0 + 48, kFloorRow - 2, x0 + 67, 152, Rgba::Hex(0x7a5030));
    }
}

// The gymnast's torso seen from the front, legs together, head on top (tinted).
void DrawTorso(Canvas& c) {
    const FigureStyle s = [] {
        FigureStyle t = FigureStyle::Tinted();
        t.farSkin = ink::kLight;
        t.headRadius = 2.4f;
        return t;
    }();
    const Capsule legs[2] = {{{3.6f, 15.0f}, {3.8f, 24.6f}, 0.9f}, {{5.4f, 15.0f}, {5.2f, 24.6f}, 0.9f}};
    DrawPart(c, legs, 2, ink::kWhite);
    c.Set(4, 16, ink::kGrey);
    c.Set(4, 19, ink::kGrey);
    c.Set(4, 22, ink::kGrey);
    DrawPart(c, {{4.5f, 7.6f}, {4.5f, 14.0f}, 2.2f}, ink::kWhite);
    FillCapsule(c, {{4.5f, 13.0f}, {4.5f, 15.0f}, 2.2f}, ink::kLight);
    DrawHead(c, {4.5f, 3.2f}, 0.0f, s);
    c.Set(3, 24, ink::kGrey);
    c.Set(5, 24, ink::kGrey);
}

// Arm from the shoulder (left end) to the hand gripping the ring (right end), tinted.
void DrawArm(Canvas& c) {
    DrawPart(c, {{1.6f, 2.0f}, {13.6f, 2.0f}, 1.0f}, ink::kWhite);
    DrawPart(c, {{14.2f, 2.0f}, {14.2f, 2.0f}, 0.9f}, ink::kLight);
    c.Set(7, 2, ink::kLight);
}

void DrawStrap(Canvas& c) {
    for (int x = 0; x < 32; ++x)
        c.Set(x, 0, (x % 4 == 0) ? Rgba::Hex(0xa87a48) : Rgba::Hex(0xe8c890));
}

void DrawRing(Canvas& c) {
    c.Disc(3.0f, 3.0f, 3.0f, ink::kOutline);
    c.Disc(3.0f, 3.0f, 2.2f, Rgba::Hex(0xc89050));
    c.Disc(3.0f, 3.0f, 1.2f, kClear);
    c.Set(1, 1, Rgba::Hex(0xf0c890));
    c.Set(2, 1, Rgba::Hex(0xf0c890));
}

// Three judges behind a table, facing right towards the rings. `mood` 0 calm, 1 and 2 the two
// frames of applause.
constexpr float kJudgeX[3] = {12.0f, 33.0f, 54.0f};
constexpr float kHeadY = 9.0f;

void DrawJudges(Canvas& c, int mood) {
    static constexpr Rgba kJackets[3] = {ink::kDarkBlue, ink::kDarkRed, ink::kDarkGreen};
    static constexpr Rgba kHairs[3] = {ink::kGrey, ink::kHair, ink::kYellow};
    for (int k = 0; k < 3; ++k) {
        const float x = kJudgeX[k];
        FigureStyle s;
        s.shirt = kJackets[k];
        s.farShirt = Mix(kJackets[k], ink::kOutline, 0.3f);
        s.sleeves = true;
        s.hair = kHairs[k];
        s.headRadius = 3.2f;
        s.torsoRadius = 3.4f;
        s.limbRadius = 1.0f;
        const bool clapUp = mood != 0 && ((k + mood) % 2 == 0);
        Pose p;
        p.facing = 1.0f;
        p.head = {x + 0.5f, kHeadY};
        p.neck = {x, kHeadY + 4.5f};
        p.hip = {x, 30.0f};
        p.nearKnee = p.farKnee = p.hip;
        p.nearFoot = p.farFoot = p.hip;
        if (mood == 0) {
            p.nearElbow = {x + 4.0f, 20.0f};
            p.nearHand = {x + 7.0f, 22.0f};
            p.farElbow = {x - 3.0f, 20.0f};
            p.farHand = {x + 4.0f, 22.0f};
        } else if (clapUp) {
            p.nearElbow = {x + 5.0f, 11.0f};
            p.nearHand = {x + 6.0f, 4.0f};
            p.farElbow = {x - 4.0f, 11.0f};
            p.farHand = {x - 5.0f, 4.0f};
        } else {
            p.nearElbow = {x + 5.0f, 18.0f};
            p.nearHand = {x + 7.0f, 13.0f};
            p.farElbow = {x + 3.0f, 18.0f};
            p.farHand = {x + 6.4f, 12.4f};
        }
        DrawFigure(c, p, s);
        // Shirt collar and tie.
        c.Set(int(x), int(kHeadY + 5.0f), ink::kWhite);
        c.Set(int(x) + 1, int(kHeadY + 5.0f), ink::kWhite);
        c.Set(int(x), int(kHeadY + 6.0f), ink::kRed);
        if (mood != 0) c.Set(int(x + 2.0f), int(kHeadY + 1.0f), ink::kDarkRed); // open, cheering mouth
    }
    // The table: a white top, a coloured front with score displays.
    c.Rect(0, 22, 70, 4, ink::kOutline);
    c.Rect(1, 23, 68, 2, ink::kWhite);
    c.Rect(2, 26, 66, 13, ink::kOutline);
    c.Rect(3, 26, 64, 12, ink::kBlue);
    c.Rect(3, 26, 64, 1, ink::kSky);
    for (int k = 0; k < 3; ++k) {
        const int x = int(kJudgeX[k]) - 5;
        c.Rect(x, 29, 11, 6, ink::kOutline);
        c.Rect(x + 1, 30, 9, 4, mood != 0 ? ink::kGreen : Rgba::Hex(0x2a3a2a));
        if (mood != 0) {
            c.Rect(x + 3, 31, 1, 2, ink::kPaleYellow);
            c.Rect(x + 5, 31, 3, 2, ink::kPaleYellow);
            c.Rect(x + 6, 31, 1, 1, ink::kGreen);
        }
    }
    // Confetti over the applause frames.
    if (mood != 0)
        for (int k = 0; k < 14; ++k) {
            const int x = int(Noise(k, mood, 188) * 70), y = int(Noise(k, mood, 189) * 8);
            c.Set(x, y, k % 3 == 0 ? ink::kYellow : (k % 3 == 1 ? ink::kRed : ink::kSky));
        }
}
void DrawJudgesCalm(Canvas& c) {
    DrawJudges(c, 0);
}
void DrawJudgesClapA(Canvas& c) {
    DrawJudges(c, 1);
}
void DrawJudgesClapB(Canvas& c) {
    DrawJudges(c, 2);
}

// Disappointment over the judges (offset 5, 8 from the table's corner): frowns, sweat drops
// and a zero held up on a white card in front of each judge.
void DrawJudgesDisappointed(Canvas& c) {
    // A zero in a 3 x 4 pixel font: symmetric, so it reads the same on the mirrored table.
    static constexpr const char* kZero[4] = {".#.", "#.#", "#.#", ".#."};
    for (int k = 0; k < 3; ++k) {
        const int x = int(kJudgeX[k]) - 5, y = int(kHeadY) - 8;
        // Frown on the face, turned to the rings.
        c.Set(x + 1, y + 3, ink::kOutline);
        c.Set(x + 2, y + 2, ink::kOutline);
        c.Set(x + 3, y + 3, ink::kOutline);
        // Sweat drop on the brow.
        c.Set(x - 2, y, ink::kSky);
        c.Set(x - 2, y + 1, ink::kBlue);
        // The card, held up at chest height by a hand at its bottom.
        const int cx = x - 3, cy = y + 6;
        c.Rect(cx - 1, cy - 1, 8, 8, ink::kOutline);
        c.Rect(cx, cy, 6, 6, ink::kWhite);
        for (int r = 0; r < 4; ++r)
            for (int q = 0; q < 3; ++q)
                if (kZero[r][q] == '#') c.Set(cx + 1 + q, cy + 1 + r, ink::kRed);
        c.Rect(cx + 2, cy + 7, 3, 2, ink::kOutline);
        c.Rect(cx + 3, cy + 7, 1, 1, ink::kSkin);
    }
    // A small rain cloud over the middle judge.
    c.Ellipse(28.0f, 1.5f, 6.0f, 1.6f, ink::kDarkGrey);
    c.Disc(26.0f, 1.0f, 1.2f, ink::kGrey);
}

} // namespace

void AddRingsSprites(DrawnCollector& out) {
    out.Add(183, DrawGymHall);
    out.Add(184, DrawTorso);
    out.Add(185, DrawArm);
    out.Add(186, DrawStrap);
    out.Add(187, DrawRing);
    out.Add(188, DrawJudgesCalm);
    out.Add(189, DrawJudgesClapA);
    out.Add(190, DrawJudgesClapB);
    out.Add(191, DrawJudgesDisappointed);
}

} // namespace artgen
