#include "pixel_font.h"

#include "text_util.h"

#include <cstdio>

namespace artgen {

namespace {
PixelFont gFont;

int ParseGlyphCode(const std::string& word) {
    if (word.size() == 1 && word[0] > ' ' && word[0] < 127) return word[0];
    if (word.size() == 4 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        int v = 0;
        for (size_t i = 2; i < 4; ++i) {
            const char c = word[i];
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (d < 0) return -1;
            v = v * 16 + d;
        }
        return v;
    }
    return -1;
}
} // namespace

void PixelFont::Parse(const std::string& text, const std::string& fileName, Diagnostics& diag) {
    const std::vector<std::string> lines = SplitLines(text);
    size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        const std::string where = Where(fileName, int(i) + 1);
        ++i;
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("glyph ", 0) != 0) {
            diag.Error(where, "expected \"glyph <character>\" or \"glyph 0xNN\"");
            continue;
        }
        const int code = ParseGlyphCode(line.substr(6));
        if (code < kFirstGlyph || code > kLastGlyph) {
            diag.Error(where, "glyph code must be a printable character or 0x20..0x7E");
            continue;
        }
        if (defined[size_t(code)]) diag.Error(where, "glyph " + line.substr(6) + " defined twice");
        std::array<uint8_t, kGlyphSize> bits{};
        bool good = true;
        for (int y = 0; y < kGlyphSize; ++y, ++i) {
            if (i >= lines.size()) {
                diag.Error(where, "glyph needs 8 rows");
                good = false;
                break;
            }
            const std::string& row = lines[i];
            if (row.size() != kGlyphSize) {
                diag.Error(Where(fileName, int(i) + 1), "glyph rows are 8 characters of 'X' or '.'");
                good = false;
                continue;
            }
            for (int x = 0; x < kGlyphSize; ++x) {
                if (row[size_t(x)] == 'X')
                    bits[size_t(y)] |= uint8_t(1 << (7 - x));
                else if (row[size_t(x)] != '.') {
                    diag.Error(Where(fileName, int(i) + 1) + ":" + std::to_string(x + 1),
                               "glyph pixels are 'X' or '.'");
                    good = false;
                }
            }
        }
        if (good) {
            rows[size_t(code)] = bits;
            defined[size_t(code)] = true;
        }
    }
}

const PixelFont& SharedFont() {
    return gFont;
}
void SetSharedFont(const PixelFont& font) {
    gFont = font;
}

int TextWidth(const std::string& text) {
    return int(text.size()) * kGlyphSize;
}

void DrawText(Canvas& canvas, int x, int y, const std::string& text, Rgba colour, int scale) {
    const PixelFont& font = SharedFont();
    for (size_t n = 0; n < text.size(); ++n) {
        const int code = uint8_t(text[n]);
        const int gx = x + int(n) * kGlyphSize * scale;
        for (int j = 0; j < kGlyphSize; ++j)
            for (int i = 0; i < kGlyphSize; ++i)
                if (font.Ink(code, i, j)) canvas.Rect(gx + i * scale, y + j * scale, scale, scale, colour);
    }
}

void DrawTextCentred(Canvas& canvas, int y, const std::string& text, Rgba colour, int scale) {
    DrawText(canvas, (canvas.width - TextWidth(text) * scale) / 2, y, text, colour, scale);
}

Canvas BuildFontSheet(const PixelFont& font, int sheetWidth, int sheetHeight) {
    Canvas sheet(sheetWidth, sheetHeight);
    const Rgba ink(255, 255, 255, 255);
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code)
        for (int j = 0; j < kGlyphSize; ++j)
            for (int i = 0; i < kGlyphSize; ++i)
                if (font.Ink(code, i, j)) sheet.Set(GlyphSheetX(code) + i, GlyphSheetY(code) + j, ink);
    return sheet;
}

std::string BuildFontDescription(const PixelFont& font) {
    std::string out = "[HGEFONT]\n\nBitmap=c64.png\n\n";
    char line[64];
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
        if (!font.defined[size_t(code)]) continue;
        // Quote and backslash-free characters are written quoted, the rest as hexadecimal codes.
        if (code > ' ' && code != '"' && code != '\\')
            std::snprintf(line, sizeof line, "Char=\"%c\",%d,%d,%d,%d,0,0\n", code, GlyphSheetX(code),
                          GlyphSheetY(code), kGlyphSize, kGlyphSize);
        else
            std::snprintf(line, sizeof line, "Char=%02X,%d,%d,%d,%d,0,0\n", code, GlyphSheetX(code),
                          GlyphSheetY(code), kGlyphSize, kGlyphSize);
        out += line;
    }
    return out;
}

} // namespace artgen
