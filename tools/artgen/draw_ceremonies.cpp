// Ceremony sheets: the stadium by day (opening, 117) and by night (closing, 127), the cauldron,
// blimp, banner, marchers and the torch bearer.
// The opening stadium is drawn at world (0, 0), 10 px per metre: stage top row 123 for px < 48,
// a ramp down to (148, 148), the arena floor at row 148 beyond. The closing ground is row 152.
//
// Sections: the stadium shared by day and night; the opening stage; cauldron, blimp and
// banner; marchers and the torch bearer; the list.
#include "draw_areas_a.h"
#include "draw_figure.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kStageRow = 123;
constexpr int kStageRight = 48;
constexpr int kArenaRow = 148;
constexpr int kNightGroundRow = 152;

// Sky, the far curved stands with a crowd, floodlight masts and the running track.
void DrawStadium(Canvas& c, bool night, int groundRow) {
    if (night) {
        c.VerticalGradient(0, 0, 256, 70, Rgba::Hex(0x0c1030), Rgba::Hex(0x2a2a6a));
        for (int k = 0; k < 90; ++k) {
            const int x = int(Noise(k, 1, 127) * 256), y = int(Noise(k, 2, 127) * 60);
            c.Set(x, y, Noise(k, 3, 127) > 0.7f ? Rgba::Hex(0xfff3a0) : Rgba::Hex(0xc8d0ff));
        }
        c.Disc(30.0f, 14.0f, 6.0f, Rgba::Hex(0xfff3c8));
        c.Disc(33.0f, 12.0f, 5.5f, Rgba::Hex(0x0e1436));
    } else {
        c.VerticalGradient(0, 0, 256, 70, Rgba::Hex(0x4aa8f0), Rgba::Hex(0xbfe8ff));
        auto cloud = [&c](float x, float y, float s) {
            c.Ellipse(x, y, 10 * s, 3 * s, Rgba::Hex(0xffffff));
            c.Disc(x - 4 * s, y - 2 * s, 3.5f * s, Rgba::Hex(0xffffff));
            c.Disc(x + 3 * s, y - 3 * s, 4.5f * s, Rgba::Hex(0xffffff));
            c.Ellipse(x, y + 1.5f * s, 10 * s, 1.5f * s, Rgba::Hex(0xe0f0ff));
        };
        cloud(60, 18, 1.0f);
        cloud(180, 10, 0.8f);
        cloud(230, 30, 0.6f);
    }
    // The stands: a bowl that rises towards both sides.
    const Rgba roof = night ? Rgba::Hex(0x3a3f5a) : Rgba::Hex(0xe8eef4);
    const Rgba standBack = night ? Rgba::Hex(0x1e2238) : Rgba::Hex(0x4c5f7a);
    for (int x = 0; x < 256; ++x) {
        const float u = (x - 128.0f) / 128.0f;
        const int top = int(50 - 14 * u * u);
        c.Rect(x, top, 1, 4, roof);
        c.Set(x, top + 4, night ? Rgba::Hex(0x101426) : Rgba::Hex(0x9aa0ac));
        c.Rect(x, top + 5, 1, 108 - top - 5, standBack);
    }
    // Roof pillars.
    for (int x = 8; x < 256; x += 40) {
        const float u = (x - 128.0f) / 128.0f;
        const int top = int(50 - 14 * u * u);
        c.Rect(x, top + 4, 1, 10, roof);
    }
    // The crowd, lit by the floodlights at night.
    for (int x = 0; x < 256; ++x) {
        const float u = (x - 128.0f) / 128.0f;
        const int top = int(50 - 14 * u * u) + 7;
        for (int y = top; y < 104; y += 3) {
            const int col = x / 3, row = (y - top) / 3;
            if ((x % 3) == 2) continue;
            if (Noise(col, row + y * 7, night ? 77 : 17) > 0.88f) continue;
            static constexpr Rgba kShirts[] = {ink::kRed,   ink::kYellow, ink::kBlue,   ink::kGreen,
                                               ink::kWhite, ink::kOrange, ink::kPurple, ink::kSky};
            Rgba shirt = kShirts[int(Noise(col, row, 5) * 7.999f)];
            Rgba face = Noise(col, row, 6) < 0.6f ? ink::kSkin : ink::kTan;
            // Rows further back sink into the shade of the roof.
            const float shade = (night ? 0.3f : 0.15f) + 0.25f * float(104 - y) / 60.0f;
            shirt = Mix(shirt, standBack, shade);
            face = Mix(face, standBack, shade);
            c.Set(x, y, face);
            c.Set(x, y + 1, shirt);
        }
    }
    // Camera flashes twinkle in the crowd at night.
    if (night)
        for (int k = 0; k < 40; ++k) {
            const int x = int(Noise(k, 7, 128) * 254) + 1, y = 50 + int(Noise(k, 8, 128) * 50);
            c.Set(x, y, ink::kWhite);
            if (k % 3 == 0) {
                c.Set(x - 1, y, Rgba::Hex(0xc8d0ff));
                c.Set(x + 1, y, Rgba::Hex(0xc8d0ff));
                c.Set(x, y - 1, Rgba::Hex(0xc8d0ff));
                c.Set(x, y + 1, Rgba::Hex(0xc8d0ff));
            }
        }
    // Advertising boards and the wall in front of the stands.
    static constexpr Rgba kBoards[] = {ink::kRed,   ink::kYellow, ink::kBlue,
                                       ink::kGreen, ink::kOrange, ink::kPurple};
    for (int k = 0; k < 8; ++k) {
        Rgba b = kBoards[k % 6];
        if (night) b = Mix(b, Rgba::Hex(0x101426), 0.3f);
        c.Rect(k * 32, 104, 32, 6, b);
        c.Rect(k * 32 + 5, 106, 22, 2, night ? Rgba::Hex(0xc8c8c8) : Rgba::Hex(0xffffff));
        c.Rect(k * 32, 104, 1, 6, Rgba::Hex(0x22202e));
    }
    c.Rect(0, 110, 256, 1, Rgba::Hex(0x22202e));
    // Floodlight masts.
    for (int m = 0; m < 2; ++m) {
        const int x = m == 0 ? 14 : 238;
        c.Rect(x, 8, 2, 30, night ? Rgba::Hex(0x5a607a) : Rgba::Hex(0x7c8594));
        c.Rect(x - 5, 4, 12, 6, night ? Rgba::Hex(0x5a607a) : Rgba::Hex(0x7c8594));
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 2; ++j)
                c.Set(x - 4 + i * 2, 5 + j * 2, night ? Rgba::Hex(0xffffe0) : Rgba::Hex(0xfff3a0));
        if (night)
            for (int j = 0; j < 40; ++j)
                for (int i = -j; i <= j; ++i)
                    c.Blend(x + i + (m == 0 ? j / 2 : -j / 2), 10 + j, Rgba(255, 255, 210, 10));
    }
    // Infield grass with mowing stripes, then the running track the figures walk on.
    const int grassTop = 111;
    const Rgba grassA = night ? Rgba::Hex(0x265c42) : ink::kGreen;
    const Rgba grassB = night ? Rgba::Hex(0x1e4c36) : Rgba::Hex(0x5cbc42);
    for (int y = grassTop; y < groundRow; ++y)
        for (int x = 0; x < 256; ++x)
            c.Set(x, y, ((x + (y - grassTop) * 2) / 16) % 2 ? grassA : grassB);
    c.Rect(0, grassTop, 256, 1, night ? Rgba::Hex(0x1a3a2a) : ink::kDarkGreen);
    const Rgba track = night ? Rgba::Hex(0x7a3430) : Rgba::Hex(0xd8583c);
    const Rgba grain = night ? Rgba::Hex(0x6a2a28) : Rgba::Hex(0xc04a30);
    const Rgba lane = night ? Rgba::Hex(0xb8a8b0) : ink::kWhite;
    c.Rect(0, groundRow, 256, 192 - groundRow, track);
    for (int y = groundRow + 1; y < 192; ++y)
        for (int x = 0; x < 256; ++x)
            if (Noise(x, y, 41) > 0.85f) c.Set(x, y, grain);
    // Lane lines spread out towards the viewer.
    for (int k = 0, y = groundRow + 5; y < 192; ++k, y += 6 + 2 * k)
        c.Rect(0, y, 256, 1, lane);
    c.Rect(0, groundRow, 256, 1, night ? Rgba::Hex(0xa06050) : Rgba::Hex(0xf0a088));
}

void DrawOpeningStadium(Canvas& c) {
    DrawStadium(c, false, kArenaRow);
    // The stage on the left, with a ramp down to the arena floor at the right.
    const Rgba front = Rgba::Hex(0x3b8ee8), frontDark = Rgba::Hex(0x1f4fa8), top = Rgba::Hex(0xffd93d);
    for (int x = 0; x < 160; ++x) {
        int surface = kArenaRow;
        if (x < kStageRight)
            surface = kStageRow;
        else if (x < 148)
            surface = kStageRow + int(std::lround((x - kStageRight) * float(kArenaRow - kStageRow) / 100.0f));
        if (surface >= kArenaRow) continue;
        c.Rect(x, surface, 1, 2, top);
        c.Rect(x, surface + 2, 1, kArenaRow - surface - 2, ((x / 4) % 2) ? front : frontDark);
    }
    // Bunting along the stage front.
    for (int x = 0; x < kStageRight; x += 6) {
        c.Triangle(float(x), kStageRow + 2.0f, x + 6.0f, kStageRow + 2.0f, x + 3.0f, kStageRow + 7.0f,
                   (x / 6) % 3 == 0 ? ink::kRed : ((x / 6) % 3 == 1 ? ink::kWhite : ink::kGreen));
    }
    c.Rect(0, kStageRow + 1, kStageRight, 1, Rgba::Hex(0x22202e));
}

void DrawClosingStadium(Canvas& c) {
    DrawStadium(c, true, kNightGroundRow);
}

// Cauldron flame, bottom-centred; the game mirrors it to flicker.
void DrawCauldronFlame(Canvas& c) {
    c.Ellipse(8.0f, 15.0f, 7.0f, 7.0f, ink::kRed);
    c.Triangle(1.5f, 15.0f, 14.5f, 15.0f, 6.0f, 0.0f, ink::kRed);
    c.Triangle(8.0f, 15.0f, 15.0f, 14.0f, 12.5f, 4.0f, ink::kRed);
    c.Ellipse(8.0f, 16.5f, 5.0f, 5.5f, ink::kOrange);
    c.Triangle(3.5f, 16.0f, 12.0f, 16.0f, 6.5f, 4.0f, ink::kOrange);
    c.Ellipse(8.0f, 18.0f, 3.0f, 4.0f, ink::kYellow);
    c.Triangle(5.5f, 18.0f, 10.5f, 18.0f, 7.5f, 9.0f, ink::kYellow);
    c.Ellipse(8.0f, 19.5f, 1.5f, 2.5f, ink::kPaleYellow);
}

// Blimp on a ball of 30 px diameter: the envelope fills the width, a gondola hangs below.
void DrawBlimp(Canvas& c) {
    c.Rect(16, 27, 9, 5, ink::kOutline);
    c.Rect(17, 28, 7, 3, ink::kLight);
    c.Set(18, 29, ink::kSky);
    c.Set(20, 29, ink::kSky);
    c.Set(22, 29, ink::kSky);
    c.Line(18, 26, 17, 27, ink::kOutline);
    c.Line(23, 26, 24, 27, ink::kOutline);
    // Tail fins.
    c.Triangle(0.0f, 11.0f, 8.0f, 17.0f, 0.0f, 17.0f, ink::kOutline);
    c.Triangle(0.0f, 29.0f, 8.0f, 23.0f, 0.0f, 23.0f, ink::kOutline);
    c.Triangle(1.0f, 13.0f, 7.0f, 17.5f, 1.0f, 17.5f, ink::kRed);
    c.Triangle(1.0f, 27.0f, 7.0f, 22.5f, 1.0f, 22.5f, ink::kRed);
    c.Ellipse(20.5f, 20.0f, 19.5f, 8.5f, ink::kOutline);
    c.Ellipse(20.5f, 20.0f, 18.5f, 7.5f, ink::kLight);
    c.Ellipse(21.5f, 18.5f, 16.0f, 5.5f, ink::kWhite);
    c.Ellipse(24.0f, 16.0f, 7.0f, 1.5f, Rgba::Hex(0xffffff));
    // A red band with a yellow star.
    c.Rect(10, 19, 22, 3, ink::kRed);
    c.Rect(10, 22, 22, 1, ink::kDarkRed);
    c.Disc(28.5f, 20.5f, 1.6f, ink::kYellow);
    c.Set(2, 20, ink::kOutline);
}

// A banner strip stretched sideways behind the blimp: horizontal bands keep their look when stretched.
void DrawBanner(Canvas& c) {
    static constexpr Rgba kBands[] = {ink::kRed,   ink::kWhite, ink::kYellow, ink::kWhite,
                                      ink::kGreen, ink::kWhite, ink::kBlue};
    c.Rect(0, 4, 10, 32, ink::kWhite);
    for (int k = 0; k < 7; ++k)
        c.Rect(0, 6 + k * 4, 10, 4, kBands[k]);
    c.Rect(0, 4, 10, 2, ink::kOutline);
    c.Rect(0, 34, 10, 2, ink::kOutline);
    c.Rect(0, 5, 10, 1, ink::kDarkRed);
    c.Rect(0, 34, 10, 1, ink::kDarkBlue);
    // Tow line from the blimp down to the banner's top corner.
    c.Set(9, 3, ink::kOutline);
}

void DrawCauldronStand(Canvas& c) {
    c.Rect(2, 0, 6, 16, ink::kOutline);
    c.Rect(3, 1, 4, 14, ink::kGrey);
    c.Rect(3, 1, 1, 14, ink::kLight);
    c.Rect(6, 1, 1, 14, ink::kDarkGrey);
    c.Rect(0, 13, 10, 3, ink::kOutline);
    c.Rect(1, 14, 8, 1, ink::kYellow);
    c.Rect(1, 3, 8, 2, ink::kOutline);
    c.Rect(2, 3, 6, 1, ink::kYellow);
}

void DrawCauldronBowl(Canvas& c) {
    c.Triangle(0.0f, 0.0f, 30.0f, 0.0f, 15.0f, 9.0f, ink::kOutline);
    c.Rect(0, 0, 30, 2, ink::kOutline);
    c.Rect(1, 1, 28, 1, ink::kYellow);
    c.Triangle(3.0f, 2.0f, 27.0f, 2.0f, 15.0f, 8.0f, ink::kOrange);
    c.Rect(4, 2, 22, 1, ink::kYellow);
    c.Rect(7, 3, 16, 1, ink::kDarkRed);
}

// A marcher facing the viewer, hands out at shoulder height: the flag pole is held at px (1, 6.5)
// when marching left and at px (20, 6.5) in the closing parade.
Pose MarcherPose() {
    Pose p;
    p.head = {10.5f, 3.3f};
    p.neck = {10.5f, 6.6f};
    p.hip = {10.5f, 14.2f};
    p.nearElbow = {15.5f, 9.5f};
    p.nearHand = {19.6f, 6.8f};
    p.farElbow = {5.5f, 9.5f};
    p.farHand = {1.4f, 6.8f};
    p.nearKnee = {11.8f, 19.0f};
    p.nearFoot = {12.4f, 23.4f};
    p.farKnee = {9.2f, 19.0f};
    p.farFoot = {8.6f, 23.4f};
    p.facing = 0.0f;
    return p;
}

void DrawMarcher(Canvas& c) {
    FigureStyle s = FigureStyle::Tinted();
    s.farSkin = ink::kWhite;
    s.sleeves = true;
    s.farShirt = ink::kWhite;
    DrawFigure(c, MarcherPose(), s);
}

void DrawMarcherWaving(Canvas& c) {
    Pose p = MarcherPose();
    const float dy = 2.0f; // the sprite is 2 px taller above the anchor
    auto shift = [dy](Pt q) { return Pt{q.x, q.y + dy}; };
    p.head = shift(p.head);
    p.neck = shift(p.neck);
    p.hip = shift(p.hip);
    p.nearKnee = shift(p.nearKnee);
    p.nearFoot = shift(p.nearFoot);
    p.farKnee = shift(p.farKnee);
    p.farFoot = shift(p.farFoot);
    p.farElbow = {5.5f, 11.5f};
    p.farHand = {1.4f, 8.8f};
    p.nearElbow = {15.0f, 6.0f};
    p.nearHand = {15.4f, 1.4f};
    FigureStyle s = FigureStyle::Tinted();
    s.farSkin = ink::kWhite;
    s.sleeves = true;
    s.farShirt = ink::kWhite;
    DrawFigure(c, p, s);
    c.Set(16, 0, ink::kOutline);
    c.Set(16, 1, ink::kWhite);
}

// The torch bearer runs left with the torch raised; its top is above the sprite at px (1, -2).
void DrawTorchBearer(Canvas& c) {
    Pose p;
    p.head = {9.6f, 3.4f};
    p.neck = {10.2f, 6.6f};
    p.hip = {11.4f, 14.0f};
    p.nearElbow = {5.6f, 7.4f};
    p.nearHand = {2.6f, 4.6f};
    p.farElbow = {14.4f, 10.6f};
    p.farHand = {16.6f, 8.0f};
    p.nearKnee = {7.6f, 17.8f};
    p.nearFoot = {6.4f, 22.8f};
    p.farKnee = {14.6f, 18.6f};
    p.farFoot = {17.8f, 21.4f};
    p.facing = -1.0f;
    FigureStyle s;
    s.shirt = ink::kWhite;
    s.farShirt = ink::kLight;
    s.shorts = ink::kRed;
    s.shoes = ink::kDarkBlue;
    // The torch handle in the raised hand.
    c.Rect(1, 0, 2, 6, ink::kOutline);
    DrawFigure(c, p, s);
    c.Rect(0, 0, 4, 2, ink::kOutline);
    c.Rect(1, 0, 2, 1, ink::kYellow);
    c.Set(1, 2, ink::kYellow);
    c.Set(1, 3, ink::kOrange);
    // A gold stripe across the shirt.
    c.Set(10, 9, ink::kYellow);
    c.Set(11, 10, ink::kYellow);
}

void DrawTorchFlame(Canvas& c) {
    c.Ellipse(2.0f, 9.0f, 2.0f, 3.0f, ink::kRed);
    c.Triangle(0.0f, 9.0f, 4.0f, 9.0f, 1.0f, 0.0f, ink::kRed);
    c.Ellipse(2.0f, 10.0f, 1.3f, 2.0f, ink::kOrange);
    c.Triangle(0.7f, 10.0f, 3.3f, 10.0f, 1.8f, 3.0f, ink::kOrange);
    c.Set(2, 10, ink::kYellow);
    c.Set(2, 9, ink::kYellow);
    c.Set(1, 10, ink::kYellow);
}

} // namespace

void AddCeremonySprites(DrawnCollector& out) {
    out.Add(117, DrawOpeningStadium);
    out.Add(118, DrawCauldronFlame);
    out.Add(119, DrawBlimp);
    out.Add(120, DrawBanner);
    out.Add(121, DrawCauldronStand);
    out.Add(122, DrawCauldronBowl);
    out.Add(123, DrawMarcher);
    out.Add(124, DrawMarcherWaving);
    out.Add(125, DrawTorchBearer);
    out.Add(126, DrawTorchFlame);
    out.Add(127, DrawClosingStadium);
}

} // namespace artgen
