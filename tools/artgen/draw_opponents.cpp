// The fourteen computer opponents (figure sprite and, when animated, its second frame), as they
// stand on the medal podium. Rows 0, 9 and 13 (128-129, 142-143, 149-150) are tinted by the
// game and so are drawn in whites and greys; the others keep their own colours.
// Each figure's chest sits at the medal point of its opponent row.
//
// Sections, by opponent row: 0 plain athlete, 1 diver, 2 rower, 3 cyclist, 4 gymnast,
// 5 tiny sprinter, 6 swimmer, 7 archer creature, 8 javelin thrower, 9 hammer thrower,
// 10 rider, 11 weightlifter, 12 small vaulter, 13 racewalker; then the list.
#include "draw_areas_a.h"
#include "draw_figure.h"

namespace artgen {

namespace {

Pose Standing(float cx, float top, float facing) {
    Pose p;
    p.head = {cx, top + 3.3f};
    p.neck = {cx, top + 6.6f};
    p.hip = {cx, top + 14.0f};
    p.nearElbow = {cx + 3.4f, top + 10.0f};
    p.nearHand = {cx + 4.2f, top + 13.6f};
    p.farElbow = {cx - 3.4f, top + 10.0f};
    p.farHand = {cx - 4.2f, top + 13.6f};
    p.nearKnee = {cx + 1.2f, top + 18.8f};
    p.nearFoot = {cx + 1.6f, top + 23.3f};
    p.farKnee = {cx - 1.2f, top + 18.8f};
    p.farFoot = {cx - 1.6f, top + 23.3f};
    p.facing = facing;
    return p;
}

FigureStyle Tinted() {
    FigureStyle s = FigureStyle::Tinted();
    s.farSkin = ink::kLight;
    return s;
}

// Row 0: the plain athlete, and cheering with both arms up.
void DrawPlainAthlete(Canvas& c) {
    DrawFigure(c, Standing(8.5f, 0.0f, 0.0f), Tinted());
}
void DrawPlainAthleteCheer(Canvas& c) {
    Pose p = Standing(6.5f, 2.0f, 0.0f);
    p.nearElbow = {9.6f, 6.2f};
    p.nearHand = {11.0f, 1.4f};
    p.farElbow = {3.4f, 6.2f};
    p.farHand = {2.0f, 1.4f};
    DrawFigure(c, p, Tinted());
}

// Row 1: a diver in cap and trunks, arms swung back ready to spring; the second frame is up on
// the toes with the arms swung forward.
void DrawDiverOpponent(Canvas& c, bool spring) {
    Pose p = Standing(9.0f, 0.0f, 1.0f);
    if (spring) {
        p.head = {9.4f, 2.6f};
        p.neck = {9.2f, 5.8f};
        p.hip = {8.8f, 13.2f};
        p.nearElbow = {12.0f, 6.0f};
        p.nearHand = {15.0f, 4.0f};
        p.farElbow = {11.4f, 6.8f};
        p.farHand = {14.4f, 5.2f};
        p.nearKnee = {9.6f, 18.0f};
        p.nearFoot = {10.2f, 22.8f};
        p.farKnee = {8.2f, 18.0f};
        p.farFoot = {8.8f, 22.8f};
    } else {
        p.head = {10.0f, 3.8f};
        p.neck = {9.4f, 7.0f};
        p.hip = {8.6f, 14.0f};
        p.nearElbow = {7.6f, 10.6f};
        p.nearHand = {5.0f, 12.4f};
        p.farElbow = {6.8f, 10.0f};
        p.farHand = {4.0f, 11.4f};
        p.nearKnee = {11.0f, 18.4f};
        p.nearFoot = {10.4f, 23.2f};
        p.farKnee = {10.2f, 18.0f};
        p.farFoot = {8.6f, 23.2f};
    }
    FigureStyle s;
    s.shorts = ink::kBlue;
    s.shirt = ink::kSkin;
    s.farShirt = ink::kSkinShade;
    s.hair = ink::kRed; // swimming cap
    DrawFigure(c, p, s);
    // Goggles.
    c.Set(int(p.head.x + 1.2f), int(p.head.y), ink::kSky);
}
void DrawDiverA(Canvas& c) {
    DrawDiverOpponent(c, false);
}
void DrawDiverB(Canvas& c) {
    DrawDiverOpponent(c, true);
}

// Row 2: a rower sitting in a slice of hull with an oar held upright.
void DrawRower(Canvas& c) {
    const Capsule oar{{10.5f, 1.0f}, {10.5f, 26.0f}, 0.6f};
    DrawPart(c, oar, ink::kTan);
    c.Rect(9, 21, 3, 7, ink::kOutline);
    c.Rect(10, 22, 1, 5, ink::kYellow);
    // The chest sits at the medal point (6.5, 8); the legs are hidden in the hull.
    Pose p = Standing(5.5f, 0.5f, 1.0f);
    p.hip = {5.5f, 16.0f};
    p.nearElbow = {8.6f, 10.6f};
    p.nearHand = {10.5f, 8.0f};
    p.farElbow = {3.0f, 10.6f};
    p.farHand = {2.6f, 13.6f};
    p.nearKnee = {8.0f, 18.6f};
    p.nearFoot = {9.0f, 21.6f};
    p.farKnee = {7.0f, 18.8f};
    p.farFoot = {7.8f, 21.6f};
    FigureStyle s;
    s.shirt = ink::kGreen;
    s.farShirt = ink::kDarkGreen;
    s.shorts = ink::kDarkGreen;
    s.hasHair = true;
    s.hair = ink::kYellow;
    DrawFigure(c, p, s);
    // The hull around the waist: a red boat section with a white stripe.
    c.Rect(0, 19, 13, 8, ink::kOutline);
    c.Rect(1, 20, 11, 6, ink::kRed);
    c.Rect(1, 22, 11, 1, ink::kWhite);
    c.Rect(1, 25, 11, 1, ink::kDarkRed);
    c.Rect(2, 27, 9, 2, ink::kOutline);
}

// Row 3: a cyclist in a skinsuit with a pointed aero helmet, seen from the side.
void DrawCyclist(Canvas& c) {
    Pose p = Standing(6.0f, 0.0f, -1.0f);
    p.head = {5.4f, 3.6f};
    p.nearElbow = {4.0f, 10.6f};
    p.nearHand = {2.2f, 12.6f};
    p.farElbow = {7.6f, 10.2f};
    p.farHand = {8.6f, 13.0f};
    FigureStyle s;
    s.shirt = ink::kYellow;
    s.farShirt = ink::kOrange;
    s.shorts = ink::kOutline;
    s.longLegs = false;
    s.hair = ink::kBlue;
    s.torsoRadius = 1.5f;
    DrawFigure(c, p, s);
    // Helmet tail pointing back.
    c.Triangle(6.0f, 1.0f, 11.5f, 3.5f, 6.0f, 4.5f, ink::kOutline);
    c.Triangle(6.5f, 1.8f, 10.5f, 3.4f, 6.5f, 3.8f, ink::kBlue);
}

// Row 4: a gymnast in a leotard balancing, then with arms raised in salute.
void DrawGymnast(Canvas& c, bool salute) {
    Pose p = Standing(7.5f, 0.0f, 0.0f);
    if (salute) {
        p.nearElbow = {10.4f, 5.4f};
        p.nearHand = {12.6f, 1.6f};
        p.farElbow = {4.6f, 5.4f};
        p.farHand = {2.4f, 1.6f};
    } else {
        p.nearElbow = {10.8f, 7.8f};
        p.nearHand = {13.8f, 7.4f};
        p.farElbow = {4.2f, 7.8f};
        p.farHand = {1.2f, 7.4f};
    }
    FigureStyle s;
    s.shirt = ink::kPurple;
    s.farShirt = Rgba::Hex(0x803aa0);
    s.shorts = ink::kPurple;
    s.hair = ink::kHair;
    s.torsoRadius = 1.5f;
    DrawFigure(c, p, s);
    c.Set(7, 8, ink::kPaleYellow);
    c.Set(7, 11, ink::kPaleYellow);
}
void DrawGymnastA(Canvas& c) {
    DrawGymnast(c, false);
}
void DrawGymnastB(Canvas& c) {
    DrawGymnast(c, true);
}

// Row 5: a tiny sprinter with a big head; the second frame is mid-stride.
void DrawTinySprinter(Canvas& c, bool running) {
    FigureStyle s;
    s.shirt = ink::kOrange;
    s.farShirt = Rgba::Hex(0xc87420);
    s.shorts = ink::kDarkBlue;
    s.headRadius = 2.4f;
    s.torsoRadius = 1.2f;
    s.limbRadius = 0.55f;
    Pose p;
    p.head = {4.0f, 3.2f};
    p.neck = {4.0f, 6.4f};
    p.hip = {4.0f, 12.4f};
    p.facing = 1.0f;
    if (running) {
        p.head = {5.6f, 3.2f};
        p.neck = {5.2f, 6.4f};
        p.hip = {4.4f, 12.2f};
        p.nearElbow = {7.4f, 8.4f};
        p.nearHand = {8.6f, 6.8f};
        p.farElbow = {3.2f, 9.6f};
        p.farHand = {1.6f, 11.0f};
        p.nearKnee = {7.0f, 14.6f};
        p.nearFoot = {7.6f, 19.4f};
        p.farKnee = {3.0f, 16.2f};
        p.farFoot = {1.4f, 19.6f};
    } else {
        p.nearElbow = {5.2f, 9.2f};
        p.nearHand = {5.6f, 12.0f};
        p.farElbow = {2.8f, 9.2f};
        p.farHand = {2.4f, 12.0f};
        p.nearKnee = {4.8f, 16.4f};
        p.nearFoot = {5.0f, 19.6f};
        p.farKnee = {3.2f, 16.4f};
        p.farFoot = {3.0f, 19.6f};
    }
    DrawFigure(c, p, s);
}
void DrawTinySprinterA(Canvas& c) {
    DrawTinySprinter(c, false);
}
void DrawTinySprinterB(Canvas& c) {
    DrawTinySprinter(c, true);
}

// Row 6: a swimmer lying flat, arm stretched forward, cap and goggles.
void DrawSwimmerFlat(Canvas& c) {
    const Capsule body{{2.5f, 2.6f}, {8.5f, 2.6f}, 1.1f};
    DrawPart(c, body, ink::kSkin);
    FillCapsule(c, {{2.5f, 2.6f}, {4.5f, 2.6f}, 1.1f}, ink::kBlue);
    DrawPart(c, {{8.8f, 2.0f}, {8.8f, 2.0f}, 1.4f}, ink::kSkin);
    c.Set(8, 1, ink::kYellow);
    c.Set(9, 1, ink::kYellow);
    c.Set(9, 2, ink::kSky);
    c.Set(0, 3, ink::kSkinShade);
    c.Set(10, 3, ink::kSkinShade);
}

// Row 7: a small round archer creature with a bow; the second frame draws the string.
void DrawArcherCreature(Canvas& c, bool drawn) {
    DrawPart(c, {{4.0f, 4.5f}, {4.0f, 4.5f}, 2.6f}, ink::kGreen);
    c.Set(5, 3, ink::kWhite);
    c.Set(6, 3, ink::kOutline);
    c.Set(3, 5, ink::kDarkGreen);
    c.Set(2, 1, ink::kOutline);
    c.Set(2, 0, ink::kOutline);
    c.Set(5, 1, ink::kOutline);
    const int bowX = drawn ? 9 : 7;
    for (int y = 1; y <= 6; ++y)
        c.Set(bowX + ((y == 1 || y == 6) ? -1 : 0), y, ink::kBrown);
    for (int y = 1; y <= 6; ++y)
        c.Set(drawn ? (y < 3 || y > 4 ? bowX - 2 : bowX - 3) : bowX - 1, y, ink::kLight);
    if (drawn) {
        c.Set(4, 3, ink::kGreen);
        c.Line(5, 4, 10, 4, ink::kTan);
        c.Set(10, 4, ink::kDarkGrey);
    }
}
void DrawArcherA(Canvas& c) {
    DrawArcherCreature(c, false);
}
void DrawArcherB(Canvas& c) {
    DrawArcherCreature(c, true);
}

// Row 8: a javelin thrower leaning back with the javelin held level over the shoulder.
void DrawJavelinThrower(Canvas& c) {
    c.Line(0, 4, 22, 2, ink::kOutline);
    c.Line(1, 5, 22, 3, ink::kOutline);
    c.Line(1, 4, 21, 2, ink::kLight);
    c.Set(22, 2, ink::kDarkGrey);
    FigureStyle s;
    s.shirt = ink::kBlue;
    s.farShirt = ink::kDarkBlue;
    s.shorts = ink::kWhite;
    s.headRadius = 2.2f;
    s.torsoRadius = 1.4f;
    s.limbRadius = 0.6f;
    Pose p;
    p.head = {10.0f, 3.0f};
    p.neck = {10.8f, 5.6f};
    p.hip = {12.0f, 10.4f};
    p.nearElbow = {8.0f, 4.6f};
    p.nearHand = {6.0f, 3.8f};
    p.farElbow = {14.6f, 7.0f};
    p.farHand = {16.6f, 4.2f};
    p.nearKnee = {15.0f, 13.0f};
    p.nearFoot = {17.6f, 16.0f};
    p.farKnee = {10.4f, 13.4f};
    p.farFoot = {8.6f, 16.0f};
    p.facing = 1.0f;
    DrawFigure(c, p, s);
}

// Row 9: a burly hammer thrower (tinted), then spinning with the hammer swung out.
void DrawHammerThrower(Canvas& c) {
    FigureStyle s = Tinted();
    s.torsoRadius = 2.3f;
    Pose p = Standing(8.5f, 0.0f, 0.0f);
    p.nearHand = {11.4f, 14.6f};
    p.farHand = {5.6f, 14.6f};
    DrawFigure(c, p, s);
    c.Line(11, 15, 13, 19, ink::kDarkGrey);
    DrawPart(c, {{14.0f, 21.0f}, {14.0f, 21.0f}, 1.4f}, ink::kGrey);
}
void DrawHammerThrowerSpin(Canvas& c) {
    FigureStyle s = Tinted();
    s.torsoRadius = 2.3f;
    Pose p = Standing(8.5f, 0.0f, 1.0f);
    p.nearElbow = {11.6f, 8.4f};
    p.nearHand = {13.0f, 8.6f};
    p.farElbow = {11.2f, 9.6f};
    p.farHand = {13.0f, 9.2f};
    p.nearKnee = {10.4f, 18.6f};
    p.nearFoot = {11.2f, 23.3f};
    p.farKnee = {6.4f, 18.6f};
    p.farFoot = {5.6f, 23.3f};
    DrawFigure(c, p, s);
    c.Line(14, 9, 17, 10, ink::kDarkGrey);
    DrawPart(c, {{18.6f, 10.4f}, {18.6f, 10.4f}, 1.4f}, ink::kGrey);
    c.Set(15, 6, ink::kLight);
    c.Set(17, 7, ink::kLight);
    c.Set(19, 13, ink::kLight);
}

// Row 10: a rider on a small horse.
void DrawRiderOnHorse(Canvas& c, int gallop) {
    DrawHorse(c, 0.0f, 4.4f, 0.8f, gallop, ink::kTan, ink::kBrown, ink::kDarkBrown);
    FigureStyle s;
    s.shirt = ink::kRed;
    s.farShirt = ink::kDarkRed;
    s.longLegs = true;
    s.shorts = ink::kWhite;
    s.shoes = ink::kOutline;
    s.hair = ink::kOutline; // riding helmet
    s.sleeves = true;
    s.headRadius = 1.9f;
    s.torsoRadius = 1.8f;
    s.limbRadius = 0.6f;
    // Both arms reach forward together and both legs hang on the near side, so the small rider
    // keeps a clear red jacket.
    Pose p;
    p.head = {16.3f, 2.2f};
    p.neck = {15.9f, 4.4f};
    p.hip = {14.8f, 12.0f};
    p.nearElbow = {18.0f, 6.0f};
    p.nearHand = {20.4f, 7.0f};
    p.farElbow = p.nearElbow;
    p.farHand = p.nearHand;
    p.nearKnee = {17.2f, 13.4f};
    p.nearFoot = {16.4f, 16.8f};
    p.farKnee = p.nearKnee;
    p.farFoot = p.nearFoot;
    p.facing = 1.0f;
    DrawFigure(c, p, s);
}
void DrawRiderA(Canvas& c) {
    DrawRiderOnHorse(c, 0);
}
void DrawRiderB(Canvas& c) {
    DrawRiderOnHorse(c, 1);
}

void DrawBarbell(Canvas& c, float cx, float y, float half) {
    c.Line(int(cx - half), int(y), int(cx + half), int(y), ink::kDarkGrey);
    for (float side : {-1.0f, 1.0f}) {
        const int px = int(cx + side * (half - 1.5f));
        c.Rect(px - 1, int(y) - 3, 3, 7, ink::kOutline);
        c.Rect(px, int(y) - 2, 1, 5, side < 0 ? ink::kRed : ink::kBlue);
    }
}

// Row 11: a weightlifter in a singlet holding the bar at the hips, then overhead.
void DrawWeightlifter(Canvas& c) {
    FigureStyle s;
    s.shirt = ink::kBlue;
    s.farShirt = ink::kDarkBlue;
    s.shorts = ink::kBlue;
    s.torsoRadius = 2.3f;
    s.limbRadius = 0.9f;
    Pose p = Standing(9.5f, 1.0f, 0.0f);
    p.nearElbow = {12.6f, 11.0f};
    p.nearHand = {13.0f, 14.6f};
    p.farElbow = {6.4f, 11.0f};
    p.farHand = {6.0f, 14.6f};
    p.nearKnee = {11.6f, 19.6f};
    p.nearFoot = {12.4f, 24.0f};
    p.farKnee = {7.4f, 19.6f};
    p.farFoot = {6.6f, 24.0f};
    DrawFigure(c, p, s);
    DrawBarbell(c, 9.5f, 15.0f, 9.4f);
}
void DrawWeightlifterUp(Canvas& c) {
    FigureStyle s;
    s.shirt = ink::kBlue;
    s.farShirt = ink::kDarkBlue;
    s.shorts = ink::kBlue;
    s.torsoRadius = 2.3f;
    s.limbRadius = 0.9f;
    Pose p = Standing(12.5f, 1.0f, 0.0f);
    p.nearElbow = {16.6f, 6.4f};
    p.nearHand = {17.0f, 3.0f};
    p.farElbow = {8.4f, 6.4f};
    p.farHand = {8.0f, 3.0f};
    p.nearKnee = {15.0f, 19.4f};
    p.nearFoot = {16.4f, 24.0f};
    p.farKnee = {10.0f, 19.4f};
    p.farFoot = {8.6f, 24.0f};
    DrawBarbell(c, 12.5f, 3.0f, 12.4f);
    DrawFigure(c, p, s);
    c.Set(17, 2, ink::kSkin);
    c.Set(8, 2, ink::kSkin);
}

// Row 12: a small pole vaulter holding a pole upright.
void DrawSmallVaulter(Canvas& c) {
    c.Rect(8, 0, 1, 13, ink::kOutline);
    c.Rect(9, 0, 1, 13, ink::kYellow);
    FigureStyle s;
    s.shirt = ink::kGreen;
    s.farShirt = ink::kDarkGreen;
    s.shorts = ink::kOutline;
    s.headRadius = 1.7f;
    s.torsoRadius = 1.0f;
    s.limbRadius = 0.45f;
    Pose p;
    p.head = {4.0f, 2.4f};
    p.neck = {4.0f, 4.6f};
    p.hip = {4.0f, 8.0f};
    p.nearElbow = {6.0f, 6.2f};
    p.nearHand = {8.0f, 5.4f};
    p.farElbow = {2.4f, 6.6f};
    p.farHand = {2.0f, 8.4f};
    p.nearKnee = {4.8f, 10.2f};
    p.nearFoot = {5.0f, 12.0f};
    p.farKnee = {3.2f, 10.2f};
    p.farFoot = {3.0f, 12.0f};
    p.facing = 1.0f;
    DrawFigure(c, p, s);
}

// Row 13: a racewalker (tinted) with the straight front leg and pumping arms, two strides.
void DrawRacewalker(Canvas& c, bool other) {
    Pose p;
    const float cx = other ? 9.5f : 11.5f;
    p.head = {cx + 0.8f, 3.0f};
    p.neck = {cx + 0.4f, 6.2f};
    p.hip = {cx, 13.6f};
    p.facing = 1.0f;
    if (other) {
        p.nearElbow = {cx - 2.0f, 10.4f};
        p.nearHand = {cx - 3.6f, 8.4f};
        p.farElbow = {cx + 2.6f, 9.8f};
        p.farHand = {cx + 3.4f, 7.2f};
        p.nearKnee = {cx - 2.4f, 18.4f};
        p.nearFoot = {cx - 5.0f, 22.4f};
        p.farKnee = {cx + 2.4f, 18.6f};
        p.farFoot = {cx + 4.6f, 23.2f};
    } else {
        p.nearElbow = {cx + 2.6f, 9.8f};
        p.nearHand = {cx + 3.6f, 7.2f};
        p.farElbow = {cx - 2.0f, 10.4f};
        p.farHand = {cx - 3.6f, 8.4f};
        p.nearKnee = {cx + 2.4f, 18.6f};
        p.nearFoot = {cx + 4.6f, 23.2f};
        p.farKnee = {cx - 2.4f, 18.4f};
        p.farFoot = {cx - 5.0f, 22.4f};
    }
    DrawFigure(c, p, Tinted());
}
void DrawRacewalkerA(Canvas& c) {
    DrawRacewalker(c, false);
}
void DrawRacewalkerB(Canvas& c) {
    DrawRacewalker(c, true);
}

} // namespace

void AddOpponentSprites(DrawnCollector& out) {
    out.Add(128, DrawPlainAthlete);
    out.Add(129, DrawPlainAthleteCheer);
    out.Add(130, DrawDiverA);
    out.Add(131, DrawDiverB);
    out.Add(132, DrawRower);
    out.Add(133, DrawCyclist);
    out.Add(134, DrawGymnastA);
    out.Add(135, DrawGymnastB);
    out.Add(136, DrawTinySprinterA);
    out.Add(137, DrawTinySprinterB);
    out.Add(138, DrawSwimmerFlat);
    out.Add(139, DrawArcherA);
    out.Add(140, DrawArcherB);
    out.Add(141, DrawJavelinThrower);
    out.Add(142, DrawHammerThrower);
    out.Add(143, DrawHammerThrowerSpin);
    out.Add(144, DrawRiderA);
    out.Add(145, DrawRiderB);
    out.Add(146, DrawWeightlifter);
    out.Add(147, DrawWeightlifterUp);
    out.Add(148, DrawSmallVaulter);
    out.Add(149, DrawRacewalkerA);
    out.Add(150, DrawRacewalkerB);
}

} // namespace artgen
