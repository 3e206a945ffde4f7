// Sprite grid sources (assets/art/<group>/*.spr):
//   # comment
//   pal <char> <RRGGBB|RRGGBBAA>   a local colour for the rest of the file
//   sprite <id>                    then exactly H rows of exactly W characters (W x H from the layout)
// Characters are palette colours; '.' is transparent.
#pragma once

#include "canvas.h"
#include "diagnostics.h"
#include "palette.h"

#include <string>
#include <vector>

namespace artgen {

struct DefinedSprite {
    int id = 0;
    Canvas canvas{0, 0};
    std::string origin; // "file:line" or "drawn: <list>", for duplicate reports
};

// Layout row of a sprite id, or null when the layout has no such sprite.
const struct LayoutRow* FindLayout(int id);

// Parses one source file's text; good sprites are appended to out, problems go to diag.
void ParseSpriteSource(const std::string& text, const std::string& fileName, const Palette& shared,
                       std::vector<DefinedSprite>& out, Diagnostics& diag);

} // namespace artgen
