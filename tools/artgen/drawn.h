// Sprites drawn by code rather than from character grids: backdrops, logos and other large
// pictures. Each list is kept by the file that draws its pictures.
#pragma once

#include "canvas.h"

namespace artgen {

// Draws sprite `id` into a canvas of exactly the sprite's atlas size.
struct DrawnSprite {
    int id;
    void (*draw)(Canvas& canvas);
};

struct DrawnList {
    const DrawnSprite* sprites;
    int count;
};

DrawnList UiDrawnSprites();     // draw_ui.cpp: menu, logo, buttons, interface pictures
DrawnList EventDrawnSpritesA(); // draw_events_a.cpp: ceremonies, opponents, first event sheets
DrawnList EventDrawnSpritesB(); // draw_events_b.cpp: the remaining event sheets

// The progress bar's fill (400x32, fixed place in art/sprites), draw_ui.cpp.
void DrawProgressBarFill(Canvas& canvas);

} // namespace artgen
