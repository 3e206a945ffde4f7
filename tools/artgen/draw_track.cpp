// Equestrian (160-167), 100 m dash and the racewalk pieces kept on the dash sheet (168-182).
// The runner, rider and walker bodies are tinted by the game; the walker's untinted overlays
// (176-178) are cut from a coloured render of the same pose so that they line up exactly.
//
// Sections: the horse (shared with opponent row 10); equestrian pieces; dash and racewalk
// figures, overlays, lines and scenery; the starter; the list.
#include "draw_areas_a.h"
#include "draw_figure.h"

#include <cmath>

namespace artgen {

void DrawHorse(Canvas& c, float ox, float oy, float k, int gallop, Rgba coat, Rgba shade, Rgba mane) {
    auto P = [ox, oy, k](float x, float y) { return Pt{ox + x * k, oy + y * k}; };
    const float lr = 0.8f * k;
    struct Leg {
        Pt hip, knee, hoof;
    };
    Leg nearFront, farFront, nearBack, farBack;
    if (gallop == 0) {
        nearFront = {P(23, 13), P(24.5f, 17), P(24, 20.6f)};
        farFront = {P(21, 13), P(19.5f, 17), P(20.5f, 20.6f)};
        nearBack = {P(9, 13), P(7.5f, 17), P(8.5f, 20.6f)};
        farBack = {P(11, 13), P(12.5f, 17), P(11.5f, 20.6f)};
    } else {
        nearFront = {P(24, 13), P(27.5f, 15.5f), P(30.5f, 18.5f)};
        farFront = {P(22, 13), P(24.5f, 16.5f), P(26, 20.4f)};
        nearBack = {P(8, 13), P(5, 16.5f), P(2.5f, 19.6f)};
        farBack = {P(10, 13), P(8.5f, 17), P(6.5f, 20.6f)};
    }
    auto legPart = [&](const Leg& leg, Rgba fill) {
        const Capsule caps[2] = {{leg.hip, leg.knee, lr + 0.3f * k}, {leg.knee, leg.hoof, lr}};
        DrawPart(c, caps, 2, fill);
        FillCapsule(c, {leg.hoof, leg.hoof, lr}, ink::kOutline);
    };
    // Tail, far legs, body with neck and head, near legs, then mane and face.
    DrawPart(c, {P(5, 8.5f), P(2, 15.5f), 1.2f * k}, mane);
    legPart(farFront, shade);
    legPart(farBack, shade);
    const Capsule body[3] = {{P(8.5f, 10.5f), P(22.5f, 10.5f), 3.8f * k},
                             {P(22.5f, 9.5f), P(28.5f, 3.5f), 2.4f * k},
                             {P(28.5f, 3.0f), P(32.8f, 5.6f), 1.8f * k}};
    DrawPart(c, body, 3, coat);
    // A darker belly and a pale muzzle give the body some roundness.
    FillCapsule(c, {P(10.0f, 13.6f), P(21.0f, 13.6f), 0.7f * k}, shade);
    FillCapsule(c, {P(32.6f, 5.8f), P(32.6f, 5.8f), 0.9f * k}, Mix(coat, ink::kWhite, 0.35f));
    legPart(nearFront, coat);
    legPart(nearBack, coat);
    FillCapsule(c, {P(22.0f, 7.0f), P(27.5f, 1.8f), 0.8f * k}, mane);
    c.Set(int(ox + 27.6f * k), int(oy + 0.2f * k), ink::kOutline);
    c.Set(int(ox + 28.6f * k), int(oy + 0.6f * k), mane);
    c.Set(int(ox + 29.6f * k), int(oy + 3.4f * k), ink::kOutline);
    c.Set(int(ox + 33.4f * k), int(oy + 5.8f * k), ink::kOutline);
}

namespace {

FigureStyle Tinted() {
    FigureStyle s = FigureStyle::Tinted();
    s.farSkin = ink::kLight;
    return s;
}

// --- Equestrian ---------------------------------------------------------------------------

// The horse on its physics box: body 3..27 x 7..22 px, head and neck up to the right.
void DrawHorseA(Canvas& c) {
    DrawHorse(c, 0.0f, 0.0f, 1.0f, 0, Rgba::Hex(0xa8643a), Rgba::Hex(0x7a4424), ink::kDarkBrown);
    // Saddle cloth and saddle.
    c.Rect(12, 7, 7, 5, ink::kOutline);
    c.Rect(13, 8, 5, 3, ink::kBlue);
    c.Rect(13, 10, 5, 1, ink::kYellow);
    c.Rect(13, 6, 5, 2, ink::kDarkBrown);
}
void DrawHorseB(Canvas& c) {
    DrawHorse(c, 0.0f, 0.0f, 1.0f, 1, Rgba::Hex(0xa8643a), Rgba::Hex(0x7a4424), ink::kDarkBrown);
    c.Rect(12, 7, 7, 5, ink::kOutline);
    c.Rect(13, 8, 5, 3, ink::kBlue);
    c.Rect(13, 10, 5, 1, ink::kYellow);
    c.Rect(13, 6, 5, 2, ink::kDarkBrown);
}

// The rider sits upright on the box's lower half, knees forward, hands out to the reins.
void DrawRider(Canvas& c) {
    FigureStyle s = Tinted();
    s.longLegs = true;
    s.hair = ink::kGrey; // riding helmet
    Pose p;
    p.head = {8.2f, 3.6f};
    p.neck = {7.8f, 6.8f};
    p.hip = {7.2f, 15.2f};
    // Hands forward at the rein's anchor, px (15.6, 8.8).
    p.nearElbow = {10.8f, 11.2f};
    p.nearHand = {15.2f, 9.4f};
    p.farElbow = {10.2f, 10.6f};
    p.farHand = {14.4f, 8.6f};
    p.nearKnee = {11.4f, 17.6f};
    p.nearFoot = {10.6f, 23.4f};
    p.farKnee = {10.6f, 17.0f};
    p.farFoot = {9.8f, 22.6f};
    p.facing = 1.0f;
    DrawFigure(c, p, s);
    // Helmet peak.
    c.Set(11, 2, ink::kOutline);
    c.Set(10, 2, ink::kGrey);
}

// The finish line painted down the side of the course: a black and white checker.
void DrawFinishPost(Canvas& c) {
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 2; ++x)
            c.Set(x, y, ((y / 2) + x) % 2 ? ink::kOutline : ink::kWhite);
}

// A tuft of grass with a daisy, standing on the ground line.
void DrawGrassTuft(Canvas& c) {
    c.Set(0, 2, ink::kDarkGreen);
    c.Set(1, 1, ink::kGreen);
    c.Set(1, 2, ink::kDarkGreen);
    c.Set(2, 0, ink::kWhite);
    c.Set(2, 1, ink::kYellow);
    c.Set(2, 2, ink::kGreen);
    c.Set(3, 1, ink::kGreen);
    c.Set(3, 2, ink::kDarkGreen);
    c.Set(4, 2, ink::kGreen);
}

// The leather rein, stretched along its length: two edges and a lighter middle.
void DrawRein(Canvas& c) {
    c.Rect(0, 1, 106, 2, Rgba::Hex(0x8a5a34));
    c.Rect(0, 0, 106, 1, ink::kDarkBrown);
    c.Rect(0, 3, 106, 1, ink::kDarkBrown);
    for (int x = 2; x < 106; x += 6)
        c.Set(x, 1, ink::kTan);
}

// A winner's rosette.
void DrawRosette(Canvas& c) {
    c.Triangle(4.0f, 7.0f, 7.0f, 7.0f, 3.0f, 13.5f, ink::kOutline);
    c.Triangle(7.0f, 7.0f, 10.0f, 7.0f, 11.0f, 13.5f, ink::kOutline);
    c.Triangle(4.5f, 7.0f, 6.5f, 7.0f, 3.5f, 12.5f, ink::kBlue);
    c.Triangle(7.5f, 7.0f, 9.5f, 7.0f, 10.5f, 12.5f, ink::kBlue);
    c.Disc(7.0f, 6.0f, 5.5f, ink::kOutline);
    c.Disc(7.0f, 6.0f, 4.5f, ink::kBlue);
    for (int k = 0; k < 12; ++k)
        if (k % 2 == 0) {
            const float a = k * 0.5236f;
            c.Set(int(7.0f + 3.8f * std::cos(a)), int(6.0f + 3.8f * std::sin(a)), ink::kSky);
        }
    c.Disc(7.0f, 6.0f, 2.4f, ink::kYellow);
    c.Set(6, 5, ink::kPaleYellow);
}

void DrawHorseshoe(Canvas& c) {
    c.Disc(4.0f, 4.0f, 4.0f, ink::kOutline);
    c.Disc(4.0f, 4.0f, 3.0f, ink::kGrey);
    c.Disc(4.0f, 4.6f, 1.5f, kClear);
    c.Rect(3, 5, 2, 3, kClear);
    c.Set(2, 6, ink::kOutline);
    c.Set(5, 6, ink::kOutline);
    c.Set(2, 2, ink::kLight);
    c.Set(1, 4, ink::kDarkGrey);
    c.Set(6, 4, ink::kDarkGrey);
}

// --- 100 m dash and racewalk --------------------------------------------------------------

FigureStyle Coloured() {
    FigureStyle s;
    s.shirt = ink::kYellow;
    s.farShirt = ink::kOrange;
    s.shorts = ink::kBlue;
    s.shoes = ink::kRed;
    return s;
}

// Sprinter strides, leaning forward; the body box is the middle 6 px.
Pose SprintStride(bool second) {
    Pose p;
    p.facing = 1.0f;
    if (!second) {
        p.head = {12.6f, 3.2f};
        p.neck = {11.8f, 6.4f};
        p.hip = {10.2f, 13.6f};
        p.nearElbow = {14.0f, 9.0f};
        p.nearHand = {16.4f, 6.8f};
        p.farElbow = {8.2f, 10.6f};
        p.farHand = {6.0f, 12.4f};
        p.nearKnee = {14.6f, 16.2f};
        p.nearFoot = {15.2f, 21.0f};
        p.farKnee = {8.0f, 18.6f};
        p.farFoot = {4.0f, 21.4f};
    } else {
        p.head = {13.6f, 3.2f};
        p.neck = {12.8f, 6.4f};
        p.hip = {11.2f, 13.6f};
        p.nearElbow = {9.0f, 10.2f};
        p.nearHand = {7.0f, 12.2f};
        p.farElbow = {15.0f, 9.2f};
        p.farHand = {17.4f, 7.0f};
        p.nearKnee = {9.2f, 18.2f};
        p.nearFoot = {4.6f, 20.6f};
        p.farKnee = {16.2f, 15.6f};
        p.farFoot = {17.2f, 20.6f};
    }
    return p;
}

void DrawSprintA(Canvas& c) {
    DrawFigure(c, SprintStride(false), Tinted());
}
void DrawSprintB(Canvas& c) {
    DrawFigure(c, SprintStride(true), Tinted());
}

// "Set" position: hips up over the anchor, hands on the ground ahead, head low.
Pose SetPose() {
    Pose p;
    p.facing = 1.0f;
    p.head = {14.4f, 14.2f};
    p.neck = {11.6f, 13.0f};
    p.hip = {5.6f, 10.4f};
    p.nearElbow = {12.4f, 18.2f};
    p.nearHand = {12.8f, 22.8f};
    p.farElbow = {11.4f, 18.0f};
    p.farHand = {11.6f, 22.8f};
    p.nearKnee = {9.4f, 16.8f};
    p.nearFoot = {6.6f, 23.0f};
    p.farKnee = {2.8f, 16.8f};
    p.farFoot = {1.4f, 23.0f};
    return p;
}

void DrawSetPose(Canvas& c) {
    DrawFigure(c, SetPose(), Tinted());
}

// Racewalker strides: the front leg straight, arms pumping at the elbows.
Pose WalkStride(bool second) {
    Pose p;
    p.facing = 1.0f;
    p.head = {11.4f, 3.0f};
    p.neck = {11.0f, 6.2f};
    p.hip = {10.5f, 13.6f};
    const Pt elbowA{13.4f, 9.8f}, handA{14.6f, 7.2f}, elbowB{8.4f, 10.6f}, handB{6.8f, 8.8f};
    const Pt kneeA{12.8f, 18.6f}, footA{15.0f, 23.2f}, kneeB{8.2f, 18.4f}, footB{5.6f, 22.6f};
    if (!second) {
        p.nearElbow = elbowA, p.nearHand = handA, p.farElbow = elbowB, p.farHand = handB;
        p.nearKnee = kneeA, p.nearFoot = footA, p.farKnee = kneeB, p.farFoot = footB;
    } else {
        p.nearElbow = elbowB, p.nearHand = handB, p.farElbow = elbowA, p.farHand = handA;
        p.nearKnee = kneeB, p.nearFoot = footB, p.farKnee = kneeA, p.farFoot = footA;
    }
    return p;
}

void DrawWalkA(Canvas& c) {
    DrawFigure(c, WalkStride(false), Tinted());
}
void DrawWalkB(Canvas& c) {
    DrawFigure(c, WalkStride(true), Tinted());
}

// Copies rows [fromRow, fromRow + c.height) of a coloured render of the pose into the overlay.
void CutOverlay(Canvas& c, const Pose& pose, int fullW, int fullH, int fromRow) {
    Canvas full(fullW, fullH);
    FigureStyle s = Coloured();
    DrawFigure(full, pose, s);
    // Only the shins and shoes keep their own colour; the rest stays tinted underneath.
    for (int j = 0; j < c.height; ++j)
        for (int i = 0; i < c.width; ++i)
            c.Set(i, j, full.Get(i, fromRow + j));
}

void DrawWalkOverlayA(Canvas& c) {
    CutOverlay(c, WalkStride(false), 21, 25, 20);
}
void DrawWalkOverlayB(Canvas& c) {
    CutOverlay(c, WalkStride(true), 21, 25, 20);
}
void DrawSetOverlay(Canvas& c) {
    CutOverlay(c, SetPose(), 19, 25, 15);
}

// Start and finish line: white with a thin shadow.
void DrawLine(Canvas& c) {
    for (int y = 0; y < 20; ++y) {
        c.Set(0, y, ink::kWhite);
        c.Set(1, y, ink::kLight);
    }
}

// Distance marker beside the track: a small white and orange cone.
void DrawTrackMarker(Canvas& c) {
    c.Set(2, 0, ink::kOrange);
    c.Set(1, 1, ink::kWhite);
    c.Set(2, 1, ink::kWhite);
    c.Set(3, 1, ink::kLight);
    c.Rect(0, 2, 5, 1, ink::kOrange);
    c.Set(4, 2, ink::kDarkRed);
}

// Racewalk scenery, bottom-anchored on the road: a round tree with a lamp post beside it.
void DrawParkTree(Canvas& c) {
    // Lamp post.
    c.Rect(60, 30, 3, 50, ink::kOutline);
    c.Rect(61, 31, 1, 49, ink::kDarkGrey);
    c.Rect(55, 24, 13, 7, ink::kOutline);
    c.Rect(56, 25, 11, 5, ink::kPaleYellow);
    c.Rect(56, 25, 11, 1, ink::kWhite);
    c.Rect(57, 77, 9, 3, ink::kOutline);
    // Trunk.
    c.Triangle(24.0f, 80.0f, 40.0f, 80.0f, 32.0f, 60.0f, ink::kOutline);
    c.Rect(28, 40, 8, 40, ink::kOutline);
    c.Rect(29, 40, 6, 40, ink::kBrown);
    c.Rect(29, 40, 2, 40, ink::kTan);
    c.Triangle(26.0f, 80.0f, 38.0f, 80.0f, 32.0f, 66.0f, ink::kBrown);
    c.Line(32, 52, 40, 44, ink::kBrown);
    // Crown: overlapping leafy discs, outlined, with light on the top left.
    const float blobs[][3] = {{32, 26, 17}, {18, 32, 11}, {46, 32, 11},
                              {24, 16, 11}, {40, 15, 12}, {32, 40, 10}};
    for (auto& b : blobs)
        c.Disc(b[0], b[1], b[2] + 1.0f, ink::kOutline);
    for (auto& b : blobs)
        c.Disc(b[0], b[1], b[2], ink::kDarkGreen);
    for (auto& b : blobs)
        c.Disc(b[0] - 2.0f, b[1] - 2.0f, b[2] - 3.0f, ink::kGreen);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const Rgba p = c.Get(x, y);
            if (p == ink::kGreen && Noise(x, y, 175) > 0.8f) c.Set(x, y, Rgba::Hex(0x8ae05a));
            if (p == ink::kDarkGreen && Noise(x, y, 176) > 0.8f) c.Set(x, y, ink::kGreen);
        }
    // Red fruit.
    const int fruit[][2] = {{22, 20}, {38, 12}, {44, 30}, {28, 34}, {16, 34}};
    for (auto& f : fruit) {
        c.Set(f[0], f[1], ink::kRed);
        c.Set(f[0] + 1, f[1], ink::kRed);
        c.Set(f[0], f[1] + 1, ink::kDarkRed);
        c.Set(f[0] + 1, f[1] + 1, ink::kRed);
    }
    // A bush at the foot.
    c.Ellipse(12.0f, 76.0f, 11.0f, 6.0f, ink::kOutline);
    c.Ellipse(12.0f, 76.5f, 10.0f, 5.0f, ink::kDarkGreen);
    c.Ellipse(10.0f, 75.0f, 7.0f, 3.0f, ink::kGreen);
    c.Rect(0, 79, 72, 1, ink::kDarkGreen);
}

// The starter: a red blazer, white trousers and a cap; the body box is px 0..8.
FigureStyle StarterStyle() {
    FigureStyle s;
    s.shirt = ink::kRed;
    s.farShirt = ink::kDarkRed;
    s.sleeves = true;
    s.longLegs = true;
    s.shorts = ink::kWhite;
    s.hair = ink::kBlue;
    s.torsoRadius = 2.0f;
    return s;
}

Pose StarterPose(float top) {
    Pose p;
    p.facing = 1.0f;
    p.head = {4.4f, top + 3.3f};
    p.neck = {4.0f, top + 6.6f};
    p.hip = {4.0f, top + 14.2f};
    p.nearElbow = {5.4f, top + 10.4f};
    p.nearHand = {6.0f, top + 14.0f};
    p.farElbow = {2.4f, top + 10.4f};
    p.farHand = {1.8f, top + 14.0f};
    p.nearKnee = {4.8f, top + 19.0f};
    p.nearFoot = {5.4f, top + 23.2f};
    p.farKnee = {3.2f, top + 19.0f};
    p.farFoot = {2.6f, top + 23.2f};
    return p;
}

void DrawPistol(Canvas& c, int x, int y) {
    c.Rect(x, y, 3, 1, ink::kOutline);
    c.Set(x, y + 1, ink::kOutline);
}

void DrawStarterIdle(Canvas& c) {
    const Pose p = StarterPose(0.0f);
    DrawFigure(c, p, StarterStyle());
    DrawPistol(c, 6, 14);
    c.Set(int(p.head.x + 2.4f), int(p.head.y - 1.6f), ink::kBlue); // cap peak
}

void DrawStarterReady(Canvas& c) {
    Pose p = StarterPose(0.0f);
    p.nearElbow = {7.4f, 10.4f};
    p.nearHand = {8.4f, 7.6f};
    p.farElbow = {3.8f, 8.0f};
    p.farHand = {5.6f, 3.6f}; // a hand over the ear
    DrawFigure(c, p, StarterStyle());
    DrawPistol(c, 8, 6);
    c.Set(int(p.head.x + 2.4f), int(p.head.y - 1.6f), ink::kBlue);
}

void DrawStarterFired(Canvas& c, int extra, bool smoke) {
    Pose p = StarterPose(float(extra));
    p.nearElbow = {7.0f, float(extra) + 4.4f};
    p.nearHand = {8.0f, float(extra) + 0.4f};
    p.farElbow = {3.8f, float(extra) + 8.0f};
    p.farHand = {5.6f, float(extra) + 3.6f};
    DrawFigure(c, p, StarterStyle());
    DrawPistol(c, 7, extra - 2);
    c.Set(8, extra - 3, ink::kOutline);
    c.Set(int(p.head.x + 2.4f), int(p.head.y - 1.6f), ink::kBlue);
    if (smoke) {
        c.Disc(7.5f, 4.0f, 3.2f, ink::kLight);
        c.Disc(5.0f, 2.6f, 2.4f, ink::kWhite);
        c.Disc(8.6f, 2.4f, 2.2f, ink::kWhite);
        c.Set(8, 7, ink::kYellow);
        c.Set(7, 8, ink::kOrange);
    }
}
void DrawStarterArmUp(Canvas& c) {
    DrawStarterFired(c, 4, false);
}
void DrawStarterSmoke(Canvas& c) {
    DrawStarterFired(c, 10, true);
}

} // namespace

void AddTrackSprites(DrawnCollector& out) {
    out.Add(160, DrawHorseA);
    out.Add(161, DrawHorseB);
    out.Add(162, DrawRider);
    out.Add(163, DrawFinishPost);
    out.Add(164, DrawGrassTuft);
    out.Add(165, DrawRein);
    out.Add(166, DrawRosette);
    out.Add(167, DrawHorseshoe);
    out.Add(168, DrawSprintA);
    out.Add(169, DrawSprintB);
    out.Add(170, DrawSetPose);
    out.Add(171, DrawLine);
    out.Add(172, DrawTrackMarker);
    out.Add(173, DrawWalkA);
    out.Add(174, DrawWalkB);
    out.Add(175, DrawParkTree);
    out.Add(176, DrawWalkOverlayA);
    out.Add(177, DrawWalkOverlayB);
    out.Add(178, DrawSetOverlay);
    out.Add(179, DrawStarterIdle);
    out.Add(180, DrawStarterReady);
    out.Add(181, DrawStarterArmUp);
    out.Add(182, DrawStarterSmoke);
}

} // namespace artgen
