#include "palette.h"

#include "text_util.h"

namespace artgen {

namespace {
Palette gShared;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

std::optional<Rgba> ParseHexColour(const std::string& text) {
    if (text.size() != 6 && text.size() != 8) return std::nullopt;
    uint8_t bytes[4] = {0, 0, 0, 255};
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes[i / 2] = uint8_t(hi * 16 + lo);
    }
    return Rgba(bytes[0], bytes[1], bytes[2], bytes[3]);
}

bool IsColourChar(char c) {
    return c > ' ' && c < 127 && c != '.' && c != '#';
}

void Palette::Parse(const std::string& text, const std::string& fileName, Diagnostics& diag) {
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = Where(fileName, int(i) + 1);
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> words = SplitWords(line);
        if (words.size() < 2 || words[0].size() != 1) {
            diag.Error(where, "expected \"<char> <RRGGBB|RRGGBBAA> <name>\"");
            continue;
        }
        const char c = words[0][0];
        if (!IsColourChar(c)) {
            diag.Error(where,
                       std::string("'") + c + "' cannot name a colour ('.' is transparent, '#' a comment)");
            continue;
        }
        const std::optional<Rgba> colour = ParseHexColour(words[1]);
        if (!colour) {
            diag.Error(where, "bad colour \"" + words[1] + "\" (RRGGBB or RRGGBBAA)");
            continue;
        }
        if (Has(c)) {
            diag.Error(where, std::string("colour '") + c + "' defined twice");
            continue;
        }
        Define(c, *colour);
    }
}

const Palette& SharedPalette() {
    return gShared;
}
void SetSharedPalette(const Palette& palette) {
    gShared = palette;
}

} // namespace artgen
