// The drawn sprites of the ceremonies, the computer opponents and the diving, javelin,
// equestrian, dash, rings and high jump sheets, one collector function per area.
#pragma once

#include "drawn.h"

#include <vector>

namespace artgen {

struct DrawnCollector {
    std::vector<DrawnSprite> sprites;
    void Add(int id, void (*draw)(Canvas&)) { sprites.push_back({id, draw}); }
};

void AddCeremonySprites(DrawnCollector& out); // draw_ceremonies.cpp: 117-127
void AddOpponentSprites(DrawnCollector& out); // draw_opponents.cpp: 128-150
void AddDivingSprites(DrawnCollector& out);   // draw_diving.cpp: 151-155
void AddFieldSprites(DrawnCollector& out);    // draw_field.cpp: javelin, high jump, pole vault
void AddTrackSprites(DrawnCollector& out);    // draw_track.cpp: equestrian, dash, racewalk pieces
void AddRingsSprites(DrawnCollector& out);    // draw_rings.cpp: 183-191

} // namespace artgen
