// A kit for drawing small comic figures in code: limbs are capsules with a 1-px dark outline,
// painted back to front so the near limbs overlap the body with a clean outline between them.
// Coordinates are canvas pixels; (i + 0.5, j + 0.5) is the centre of pixel (i, j).
#pragma once

#include "canvas.h"

namespace artgen {

struct Pt {
    float x = 0.0f;
    float y = 0.0f;
};

// Shared colours of the ceremony and event figures, taken from assets/art/palette.txt so that
// the drawn sheets match the grid sprites.
namespace ink {
constexpr Rgba kOutline = Rgba::Hex(0x1a1c2c);
constexpr Rgba kWhite = Rgba::Hex(0xffffff);
constexpr Rgba kLight = Rgba::Hex(0xdfe3ea);
constexpr Rgba kGrey = Rgba::Hex(0xb8c0cc);
constexpr Rgba kDarkGrey = Rgba::Hex(0x8b93a3);
constexpr Rgba kSkin = Rgba::Hex(0xf6cba3);
constexpr Rgba kSkinShade = Rgba::Hex(0xd99a6c);
constexpr Rgba kRed = Rgba::Hex(0xe43b44);
constexpr Rgba kDarkRed = Rgba::Hex(0xa22633);
constexpr Rgba kOrange = Rgba::Hex(0xf77622);
constexpr Rgba kYellow = Rgba::Hex(0xfee761);
constexpr Rgba kPaleYellow = Rgba::Hex(0xfff3a0);
constexpr Rgba kGreen = Rgba::Hex(0x6fcf4f);
constexpr Rgba kDarkGreen = Rgba::Hex(0x3e8948);
constexpr Rgba kBlue = Rgba::Hex(0x1e88e5);
constexpr Rgba kDarkBlue = Rgba::Hex(0x124e89);
constexpr Rgba kSky = Rgba::Hex(0x9be7ff);
constexpr Rgba kBrown = Rgba::Hex(0xb07a45);
constexpr Rgba kDarkBrown = Rgba::Hex(0x6e4527);
constexpr Rgba kTan = Rgba::Hex(0xd0a868);
constexpr Rgba kPurple = Rgba::Hex(0x9b4fb5);
constexpr Rgba kHair = Rgba::Hex(0x4a2d22);
} // namespace ink

struct Capsule {
    Pt a;
    Pt b;
    float radius = 1.0f; // px
};

// Paints the outline of every capsule (radius + 1 px) and then their fill, as one part.
void DrawPart(Canvas& canvas, const Capsule* capsules, int count, Rgba fill, Rgba outline = ink::kOutline);
inline void DrawPart(Canvas& canvas, const Capsule& capsule, Rgba fill, Rgba outline = ink::kOutline) {
    DrawPart(canvas, &capsule, 1, fill, outline);
}
// Fills the pixels of one capsule without an outline (shading, hair, shorts over a part).
void FillCapsule(Canvas& canvas, const Capsule& capsule, Rgba fill);

// Colours of a figure. Figures that the game tints use `Tinted()`: whites and light greys.
struct FigureStyle {
    Rgba skin = ink::kSkin;
    Rgba farSkin = ink::kSkinShade;
    Rgba shirt = ink::kRed;
    Rgba farShirt = ink::kDarkRed;
    Rgba shorts = ink::kDarkBlue;
    Rgba shoes = ink::kOutline;
    Rgba hair = ink::kHair;
    Rgba eye = ink::kOutline;
    float torsoRadius = 1.7f; // px
    float limbRadius = 0.75f; // px
    float headRadius = 2.5f;  // px
    bool sleeves = false;     // upper arms in the shirt colour
    bool longLegs = false;    // whole legs in the shorts colour (trousers)
    bool hasHair = true;
    static FigureStyle Tinted();
};

// Joint positions of one pose. "Near" limbs are drawn in front of the torso, "far" behind it.
struct Pose {
    Pt head;
    Pt neck;
    Pt hip;
    Pt nearElbow, nearHand, farElbow, farHand;
    Pt nearKnee, nearFoot, farKnee, farFoot;
    float facing = 1.0f; // +1 looks right, -1 left, 0 faces the viewer
};

void DrawFigure(Canvas& canvas, const Pose& pose, const FigureStyle& style);

// Small helpers used by several sheets.
void DrawHead(Canvas& canvas, Pt centre, float facing, const FigureStyle& style);
// Adds a 1-px dark outline around every opaque pixel that touches a transparent one from outside.
void OutlineOpaque(Canvas& canvas, Rgba outline = ink::kOutline);
// A horse seen from the side, facing right, in a 35 x 22 px box scaled by `scale` with its
// top-left at (ox, oy); `gallop` 0 or 1 picks the leg phase. Drawn in draw_track.cpp.
void DrawHorse(Canvas& canvas, float ox, float oy, float scale, int gallop, Rgba coat, Rgba shade, Rgba mane);
// Sprinkles a crowd of tiny heads and shirts over a rectangle (stands).
void DrawCrowd(Canvas& canvas, int x, int y, int w, int h, uint32_t seed, float density = 0.85f);

} // namespace artgen
