#include "sprite_source.h"

#include "atlas_layout.h"
#include "text_util.h"

namespace artgen {

const LayoutRow* FindLayout(int id) {
    for (const LayoutRow& row : kLayout)
        if (row.id == id) return &row;
    return nullptr;
}

void ParseSpriteSource(const std::string& text, const std::string& fileName, const Palette& shared,
                       std::vector<DefinedSprite>& out, Diagnostics& diag) {
    Palette local = shared;
    const std::vector<std::string> lines = SplitLines(text);
    size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        const std::string where = Where(fileName, int(i) + 1);
        ++i;
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> words = SplitWords(line);
        if (words[0] == "pal") {
            if (words.size() != 3 || words[1].size() != 1) {
                diag.Error(where, "expected \"pal <char> <RRGGBB|RRGGBBAA>\"");
                continue;
            }
            const char c = words[1][0];
            const std::optional<Rgba> colour = ParseHexColour(words[2]);
            if (!IsColourChar(c))
                diag.Error(where, std::string("'") + c + "' cannot name a colour");
            else if (!colour)
                diag.Error(where, "bad colour \"" + words[2] + "\" (RRGGBB or RRGGBBAA)");
            else
                local.Define(c, *colour);
            continue;
        }
        if (words[0] != "sprite") {
            diag.Error(where, "expected \"sprite <id>\", \"pal <char> <colour>\" or a # comment, found \"" +
                                  line + "\" (one grid row too many for the sprite above?)");
            continue;
        }
        int id = -1;
        if (words.size() != 2 || !ParseInt(words[1], id)) {
            diag.Error(where, "expected \"sprite <id>\"");
            continue;
        }
        const LayoutRow* row = FindLayout(id);
        if (!row) {
            diag.Error(where, "sprite " + std::to_string(id) + " is not in the atlas layout");
            // Skip its grid: every following line up to the next keyword.
            while (i < lines.size() && lines[i].rfind("sprite ", 0) != 0 && lines[i].rfind("pal ", 0) != 0)
                ++i;
            continue;
        }
        DefinedSprite sprite;
        sprite.id = id;
        sprite.canvas = Canvas(row->width, row->height);
        sprite.origin = where;
        bool good = true;
        int y = 0;
        while (y < row->height) {
            if (i >= lines.size()) {
                diag.Error(where, "sprite " + std::to_string(id) + " ends after " + std::to_string(y) +
                                      " rows; it needs " + std::to_string(row->height) + " rows of " +
                                      std::to_string(row->width));
                good = false;
                break;
            }
            const std::string& gridLine = lines[i];
            const std::string gridWhere = Where(fileName, int(i) + 1);
            if (!gridLine.empty() && gridLine[0] == '#') {
                ++i;
                continue;
            }
            if (gridLine.rfind("sprite ", 0) == 0 || gridLine.rfind("pal ", 0) == 0) {
                diag.Error(gridWhere, "sprite " + std::to_string(id) + " has only " + std::to_string(y) +
                                          " rows; it needs " + std::to_string(row->height));
                good = false;
                break;
            }
            ++i;
            if (int(gridLine.size()) != row->width) {
                diag.Error(gridWhere, "row " + std::to_string(y + 1) + " of sprite " + std::to_string(id) +
                                          " is " + std::to_string(gridLine.size()) +
                                          " characters wide; it must be " + std::to_string(row->width));
                good = false;
            } else {
                for (int x = 0; x < row->width; ++x) {
                    const char c = gridLine[size_t(x)];
                    if (c == '.') continue;
                    if (!local.Has(c)) {
                        diag.Error(gridWhere + ":" + std::to_string(x + 1),
                                   std::string("unknown palette character '") + c + "'");
                        good = false;
                        continue;
                    }
                    sprite.canvas.Set(x, y, local.Get(c));
                }
            }
            ++y;
        }
        if (good) out.push_back(std::move(sprite));
    }
}

} // namespace artgen
