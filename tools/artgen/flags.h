// The flag sheet (art/flags): every country's flag as 2 or 3 layers of 30x18, described as shapes
// in assets/art/flags/flags.txt. Layer 0 is the opaque full field; later layers are partial, so the
// game can interleave the layers of two countries into a blended flag.
//
// Source lines ('#' comments, blank lines ignored):
//   colour <name> <RRGGBB>             a named colour for the rest of the file
//   country <index> <NAME>             starts a country; index order, name as in the country table
//   layer                              starts the next layer of the current country
// and, inside a layer, shapes drawn in order (coordinates in px of the 30x18 cell):
//   fill <c>                           the whole cell
//   hbands <c>[*weight] ...            horizontal bands across the cell, heights by weight (default 1)
//   vbands <c>[*weight] ...            vertical bands
//   rect <x> <y> <w> <h> <c>
//   disc <cx> <cy> <r> <c>
//   ring <cx> <cy> <r> <thickness> <c>
//   crescent <cx> <cy> <r> <dx> <c>    a disc with the same disc shifted by dx cut away
//   star <cx> <cy> <r> <c>             five-pointed, point up
//   triangle <x0> <y0> <x1> <y1> <x2> <y2> <c>
//   cross <x> <y> <thickness> <c>      a vertical and a horizontal bar centred on x and y
//   saltire <thickness> <c>            diagonal cross corner to corner
//   diagonal <thickness> <c>           one band from bottom-left to top-right
//   backdiagonal <thickness> <c>       one band from top-left to bottom-right
#pragma once

#include "canvas.h"
#include "diagnostics.h"

#include <string>
#include <vector>

namespace artgen {

struct CountryRow {
    const char* name;
    int layers; // 2 or 3
};
// The game's country table in index order (names exactly as the game spells them).
extern const CountryRow kCountries[169];

struct FlagSet {
    // layers[c] holds the country's layer canvases (30x18 each); empty when c was not described.
    std::vector<std::vector<Canvas>> layers;
};

FlagSet ParseFlags(const std::string& text, const std::string& fileName, Diagnostics& diag);

// The 1024x1024 sheet at the game's grid; missing countries get a placeholder field.
Canvas BuildFlagSheet(const FlagSet& flags, std::vector<std::string>& missing);

// A country's layer cells drawn in order from the sheet into one 30x18 picture, as the game's
// DrawCountryFlag does, or the blend of two countries in the game's DrawFlag order.
Canvas ComposeCountry(const Canvas& sheet, int country);
Canvas ComposeBlend(const Canvas& sheet, int countryA, int countryB, int firstSide, bool skipOnce);

} // namespace artgen
