// Pictures drawn in code for the weightlifting, shot put, cycling, swimming, kayak, hammer,
// rowing, pole vault and archery sheets, and the small painting helpers they share.
// Every Draw function receives a canvas of exactly its sprite's atlas size.
#pragma once

#include "canvas.h"
#include "draw_figure.h"

#include <cstdint>

namespace artgen {

// Shared helpers (draw_events_b.cpp).
namespace paint {
// Colour c scaled by f per channel (f > 1 brightens, clamped), alpha kept.
Rgba Scale(Rgba c, float f);
// Alpha-blends c over a rectangle.
void BlendRect(Canvas& canvas, int x, int y, int w, int h, Rgba c);
// Alpha-blends a disc of colour c.
void BlendDisc(Canvas& canvas, float cx, float cy, float r, Rgba c);
// Texture: each pixel of the rectangle becomes `b` with probability `amount`, else `a`.
void Speckle(Canvas& canvas, int x, int y, int w, int h, Rgba a, Rgba b, float amount, uint32_t seed);
// Like Speckle but only over pixels that are already opaque.
void SpeckleOver(Canvas& canvas, int x, int y, int w, int h, Rgba b, float amount, uint32_t seed);
// A soft puffy cloud about w px wide whose base sits on row baseY. With wrapWidth > 0 it is
// also drawn shifted by ±wrapWidth, so pictures that tile sideways stay seamless.
void Cloud(Canvas& canvas, float cx, float baseY, float w, uint32_t seed, int wrapWidth = 0);
// Tiered stand: rows of seated spectators behind railings, from row y down h px.
void Stand(Canvas& canvas, int x, int y, int w, int h, Rgba seat, uint32_t seed);
// Floodlight mast with a lamp head whose top-left is (x, y); the pole reaches down to bottomY.
void Floodlight(Canvas& canvas, int x, int y, int bottomY);
// Row of small triangular pennants hanging from a line that sags between x0 and x1.
void Bunting(Canvas& canvas, int x0, int x1, int y, int sag, uint32_t seed);
// Blends a translucent quad-shaped light cone from the lamp (x, y) down to the span x0..x1 on row y1.
void LightCone(Canvas& canvas, float x, float y, float x0, float x1, float y1, Rgba light);
} // namespace paint

// Weightlifting (draw_weightlifting.cpp).
void DrawWeightliftingHall(Canvas& canvas); // 197
void DrawBarbell(Canvas& canvas);           // 202
// Shot put (draw_shotput.cpp).
void DrawShotPutStadium(Canvas& canvas); // 203
void DrawShotPutCircle(Canvas& canvas);  // 206
// Cycling (draw_cycling.cpp).
void DrawVelodrome(Canvas& canvas);         // 208
void DrawCyclistLeftPedal(Canvas& canvas);  // 209
void DrawCyclistRightPedal(Canvas& canvas); // 210
void DrawCyclistCheering(Canvas& canvas);   // 211
// Swimming and kayak (draw_swimming.cpp).
void DrawNatatorium(Canvas& canvas);  // 212
void DrawSwimmerArms(Canvas& canvas); // 214
void DrawKayak(Canvas& canvas);       // 244
void DrawWhitewater0(Canvas& canvas); // 247
void DrawWhitewater1(Canvas& canvas); // 248
void DrawWhitewater2(Canvas& canvas); // 249
void DrawWhitewater3(Canvas& canvas); // 250
// Hammer throw (draw_hammer.cpp).
void DrawHammerField(Canvas& canvas);   // 218
void DrawHammerCage(Canvas& canvas);    // 220
void DrawTimingNeedle(Canvas& canvas);  // 223
void DrawGull(Canvas& canvas);          // 224
// Rowing (draw_rowing.cpp).
void DrawScullHull(Canvas& canvas); // 228
void DrawQuayWall(Canvas& canvas);  // 229
void DrawLakeWater(Canvas& canvas); // 232
// Pole vault (draw_polevault.cpp).
void DrawPoleVaultHorizon(Canvas& canvas); // 233
// Archery (draw_archery.cpp).
void DrawArcheryRange(Canvas& canvas); // 238
void DrawBowRelaxed(Canvas& canvas);   // 240
void DrawBowDrawn(Canvas& canvas);     // 241
void DrawArrow(Canvas& canvas);        // 242
void DrawTargetBoard(Canvas& canvas);  // 243

} // namespace artgen
