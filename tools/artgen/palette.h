// The shared palette: one colour per character, read from assets/art/palette.txt.
// Lines: "<char> <RRGGBB|RRGGBBAA> <name>"; '#' starts a comment; '.' is always transparent.
#pragma once

#include "canvas.h"
#include "diagnostics.h"

#include <array>
#include <optional>
#include <string>

namespace artgen {

class Palette {
  public:
    // Parses the text of a palette file; problems go to diag with file:line.
    void Parse(const std::string& text, const std::string& fileName, Diagnostics& diag);
    bool Has(char c) const { return defined[uint8_t(c)]; }
    Rgba Get(char c) const { return colours[uint8_t(c)]; }
    void Define(char c, Rgba colour) {
        defined[uint8_t(c)] = true;
        colours[uint8_t(c)] = colour;
    }

  private:
    std::array<Rgba, 256> colours{};
    std::array<bool, 256> defined{};
};

// "RRGGBB" or "RRGGBBAA"; nothing for anything else.
std::optional<Rgba> ParseHexColour(const std::string& text);

// True for characters that may name a colour: printable, not '.', not '#', not blank.
bool IsColourChar(char c);

// The palette of this run, for code that draws pictures (set by the generator before drawing).
const Palette& SharedPalette();
void SetSharedPalette(const Palette& palette);
// Shorthand for drawn pictures: the shared colour of character c (transparent if undefined).
inline Rgba Pal(char c) {
    return SharedPalette().Get(c);
}

} // namespace artgen
