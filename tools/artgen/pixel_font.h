// Our 8x8 pixel font (assets/art/font/*.txt) for the font sheet, its "[HGEFONT]" description and
// every caption drawn into the art (event labels, buttons, the review sheets).
// Source lines: "# comment"; "glyph <c>" (a single printable character) or "glyph 0xNN", then
// exactly 8 rows of 8 characters, 'X' for ink and '.' for paper.
#pragma once

#include "canvas.h"
#include "diagnostics.h"

#include <array>
#include <string>

namespace artgen {

inline constexpr int kGlyphSize = 8;   // px, square
inline constexpr int kFirstGlyph = 32; // the font covers codes 32..126
inline constexpr int kLastGlyph = 126;
inline constexpr int kGlyphPitch = 10; // px between glyph origins in the sheet (a 2 px blank margin)
inline constexpr int kGlyphColumns = 12;

struct PixelFont {
    // rows[code][y] bit (7 - x) set = ink at (x, y).
    std::array<std::array<uint8_t, kGlyphSize>, 128> rows{};
    std::array<bool, 128> defined{};

    void Parse(const std::string& text, const std::string& fileName, Diagnostics& diag);
    bool Ink(int code, int x, int y) const {
        return code >= 0 && code < 128 && (rows[size_t(code)][size_t(y)] >> (7 - x) & 1) != 0;
    }
};

// The font of this run, for code that draws captions (set by the generator before drawing).
const PixelFont& SharedFont();
void SetSharedFont(const PixelFont& font);

// Width in px of a line of text in the shared font (8 per character).
int TextWidth(const std::string& text);
// Draws text with its top-left at (x, y), scale px per font pixel.
void DrawText(Canvas& canvas, int x, int y, const std::string& text, Rgba colour, int scale = 1);
// Centred in the canvas horizontally, top at y.
void DrawTextCentred(Canvas& canvas, int y, const std::string& text, Rgba colour, int scale = 1);

// Glyph cell of a code in the font sheet (art/c64.png).
inline int GlyphSheetX(int code) {
    return 1 + kGlyphPitch * ((code - kFirstGlyph) % kGlyphColumns);
}
inline int GlyphSheetY(int code) {
    return 1 + kGlyphPitch * ((code - kFirstGlyph) / kGlyphColumns);
}

// The font sheet (white glyphs on transparent) and its "[HGEFONT]" description.
Canvas BuildFontSheet(const PixelFont& font, int sheetWidth, int sheetHeight);
std::string BuildFontDescription(const PixelFont& font);

} // namespace artgen
