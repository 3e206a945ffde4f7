// Sections: the country table - the shape parser (FlagParser) - layer checks - ParseFlags -
// the sheet (BuildFlagSheet) - composing a country or a blend as the game draws them.
#include "flags.h"

#include "atlas_layout.h"
#include "palette.h"
#include "text_util.h"

#include <cmath>
#include <map>

namespace artgen {

const CountryRow kCountries[169] = {
    {"AFGHANISTAN", 3},
    {"ALBANIA", 2},
    {"ALGERIA", 3},
    {"ANDORRA", 3},
    {"ANGOLA", 3},
    {"ARGENTINA", 3},
    {"ARMENIA", 3},
    {"ARUBA", 3},
    {"AUSTRALIA", 3},
    {"AUSTRIA", 2},
    {"AZERBAIJAN", 3},
    {"BAHAMAS", 3},
    {"BAHRAIN", 2},
    {"BANGLADESH", 2},
    {"BARBADOS", 3},
    {"BELARUS", 3},
    {"BELGIUM", 3},
    {"BELIZE", 3},
    {"BENIN", 3},
    {"BHUTAN", 2},
    {"BOLIVIA", 3},
    {"BOSNIA & HERZEGOVINA", 3},
    {"BOTSWANA", 3},
    {"BRAZIL", 3},
    {"BULGARIA", 3},
    {"BURKINA FASO", 3},
    {"BURUNDI", 2},
    {"CAMBODIA", 3},
    {"CAMEROON", 3},
    {"CANADA", 3},
    {"CAPE VERDE", 3},
    {"CHAD", 3},
    {"CHILE", 3},
    {"CHINA", 2},
    {"COLOMBIA", 3},
    {"CONGO", 3},
    {"COSTA RICA", 3},
    {"COTE D'IVOIRE", 3},
    {"CROATIA", 3},
    {"CUBA", 3},
    {"CURACAO", 3},
    {"CYPRUS", 2},
    {"CZECH REPUBLIC", 3},
    {"DENMARK", 3},
    {"DJIBOUTI", 3},
    {"DOMINICAN REPUBLIC", 3},
    {"EAST TIMOR", 3},
    {"ECUADOR", 3},
    {"EGYPT", 3},
    {"EL SALVADOR", 3},
    {"ERITREA", 3},
    {"ESTONIA", 3},
    {"ETHIOPIA", 3},
    {"FIJI", 3},
    {"FINLAND", 3},
    {"FRANCE", 3},
    {"GABON", 3},
    {"GAMBIA", 3},
    {"GEORGIA", 3},
    {"GERMANY", 3},
    {"GHANA", 3},
    {"GREAT BRITAIN", 3},
    {"GREECE", 3},
    {"GRENADA", 3},
    {"GUATEMALA", 3},
    {"GUINEA", 3},
    {"GUYANA", 3},
    {"HAITI", 2},
    {"HONDURAS", 3},
    {"HUNGARY", 3},
    {"ICELAND", 3},
    {"INDIA", 3},
    {"INDONESIA", 2},
    {"IRAN", 3},
    {"IRAQ", 3},
    {"IRELAND", 3},
    {"ISRAEL", 3},
    {"ITALY", 3},
    {"JAMAICA", 3},
    {"JAPAN", 2},
    {"JORDAN", 3},
    {"KAZAKHSTAN", 3},
    {"KENYA", 3},
    {"NORTH KOREA", 3},
    {"SOUTH KOREA", 3},
    {"KUWAIT", 3},
    {"KYRGYZSTAN", 2},
    {"LAOS", 3},
    {"LATVIA", 2},
    {"LEBANON", 3},
    {"LESOTHO", 3},
    {"LIBERIA", 3},
    {"LIBYA", 3},
    {"LIECHTENSTEIN", 3},
    {"LITHUANIA", 3},
    {"LUXEMBOURG", 3},
    {"MACEDONIA", 3},
    {"MADAGASCAR", 3},
    {"MALAWI", 3},
    {"MALAYSIA", 3},
    {"MALDIVES", 3},
    {"MALI", 3},
    {"MALTA", 3},
    {"MAURITANIA", 3},
    {"MAURITIUS", 3},
    {"MEXICO", 3},
    {"MONGOLIA", 3},
    {"MOROCCO", 2},
    {"MOZAMBIQUE", 3},
    {"MYANMAR", 3},
    {"NAMIBIA", 3},
    {"NETHERLANDS", 3},
    {"NEW ZEALAND", 3},
    {"NICARAGUA", 3},
    {"NIGER", 3},
    {"NIGERIA", 2},
    {"NORWAY", 3},
    {"OMAN", 3},
    {"PAKISTAN", 3},
    {"PANAMA", 3},
    {"PAPUA NEW GUINEA", 3},
    {"PARAGUAY", 3},
    {"PERU", 3},
    {"PHILIPPINES", 3},
    {"POLAND", 2},
    {"PORTUGAL", 3},
    {"QATAR", 2},
    {"ROMANIA", 3},
    {"RUSSIA", 3},
    {"RWANDA", 3},
    {"SAMOA", 3},
    {"SAUDI ARABIA", 2},
    {"SENEGAL", 3},
    {"SIERRA LEONE", 3},
    {"SINGAPORE", 3},
    {"SLOVAKIA", 3},
    {"SLOVENIA", 3},
    {"SOMALIA", 2},
    {"SOUTH AFRICA", 3},
    {"SPAIN", 3},
    {"SRI LANKA", 3},
    {"SUDAN", 3},
    {"SURINAME", 3},
    {"SWEDEN", 3},
    {"SWITZERLAND", 2},
    {"SYRIA", 3},
    {"TAHITI", 3},
    {"TAIWAN", 3},
    {"TAJIKISTAN", 3},
    {"TANZANIA", 3},
    {"THAILAND", 3},
    {"TOGO", 3},
    {"TONGA", 3},
    {"TRINIDAD & TOBAGO", 3},
    {"TUNISIA", 2},
    {"TURKEY", 2},
    {"TURKMENISTAN", 3},
    {"TUVALU", 3},
    {"UGANDA", 3},
    {"UKRAINE", 3},
    {"UNITED ARAB EMIRATES", 3},
    {"UNITED STATES OF AMERICA", 3},
    {"URUGUAY", 3},
    {"UZBEKISTAN", 3},
    {"VENEZUELA", 3},
    {"VIETNAM", 3},
    {"YEMEN", 3},
    {"ZAMBIA", 3},
    {"ZIMBABWE", 3},
};

namespace {

struct FlagParser {
    std::string fileName;
    Diagnostics& diag;
    std::map<std::string, Rgba> colours;

    bool Colour(const std::string& name, const std::string& where, Rgba& out) {
        const auto it = colours.find(name);
        if (it == colours.end()) {
            diag.Error(where, "unknown colour \"" + name + "\" (define it with \"colour <name> <RRGGBB>\")");
            return false;
        }
        out = it->second;
        return true;
    }

    bool Numbers(const std::vector<std::string>& w, size_t count, const std::string& where, float* out) {
        if (w.size() != count + 2) {
            diag.Error(where, "\"" + w[0] + "\" takes " + std::to_string(count) + " numbers and a colour");
            return false;
        }
        for (size_t i = 0; i < count; ++i)
            if (!ParseFloat(w[i + 1], out[i])) {
                diag.Error(where, "\"" + w[i + 1] + "\" is not a number");
                return false;
            }
        return true;
    }

    // Bands: colour names with optional "*weight".
    void Bands(Canvas& cell, const std::vector<std::string>& w, bool horizontal, const std::string& where) {
        std::vector<Rgba> cs;
        std::vector<int> weights;
        int total = 0;
        for (size_t i = 1; i < w.size(); ++i) {
            std::string name = w[i];
            int weight = 1;
            const size_t star = name.find('*');
            if (star != std::string::npos) {
                if (!ParseInt(name.substr(star + 1), weight) || weight < 1) {
                    diag.Error(where, "bad band weight in \"" + w[i] + "\"");
                    return;
                }
                name = name.substr(0, star);
            }
            Rgba c;
            if (!Colour(name, where, c)) return;
            cs.push_back(c);
            weights.push_back(weight);
            total += weight;
        }
        if (cs.empty()) {
            diag.Error(where, "\"" + w[0] + "\" needs at least one colour");
            return;
        }
        const int span = horizontal ? cell.height : cell.width;
        int acc = 0;
        for (size_t i = 0; i < cs.size(); ++i) {
            const int from = int(std::lround(float(acc) * float(span) / float(total)));
            acc += weights[i];
            const int to = int(std::lround(float(acc) * float(span) / float(total)));
            if (horizontal)
                cell.Rect(0, from, cell.width, to - from, cs[i]);
            else
                cell.Rect(from, 0, to - from, cell.height, cs[i]);
        }
    }

    void Shape(Canvas& cell, const std::vector<std::string>& w, const std::string& where) {
        const std::string& op = w[0];
        float n[6] = {};
        Rgba c;
        if (op == "hbands" || op == "vbands") {
            Bands(cell, w, op == "hbands", where);
        } else if (op == "fill") {
            if (w.size() != 2) {
                diag.Error(where, "\"fill\" takes a colour");
                return;
            }
            if (Colour(w[1], where, c)) cell.Fill(c);
        } else if (op == "rect") {
            if (Numbers(w, 4, where, n) && Colour(w.back(), where, c))
                cell.Rect(int(n[0]), int(n[1]), int(n[2]), int(n[3]), c);
        } else if (op == "disc") {
            if (Numbers(w, 3, where, n) && Colour(w.back(), where, c)) cell.Disc(n[0], n[1], n[2], c);
        } else if (op == "ring") {
            if (Numbers(w, 4, where, n) && Colour(w.back(), where, c))
                for (int y = 0; y < cell.height; ++y)
                    for (int x = 0; x < cell.width; ++x) {
                        const float d = std::hypot(x + 0.5f - n[0], y + 0.5f - n[1]);
                        if (d <= n[2] && d > n[2] - n[3]) cell.Set(x, y, c);
                    }
        } else if (op == "crescent") {
            if (Numbers(w, 4, where, n) && Colour(w.back(), where, c))
                for (int y = 0; y < cell.height; ++y)
                    for (int x = 0; x < cell.width; ++x) {
                        const float px = x + 0.5f, py = y + 0.5f;
                        const bool in = std::hypot(px - n[0], py - n[1]) <= n[2];
                        const bool cut = std::hypot(px - n[0] - n[3], py - n[1]) <= n[2] * 0.85f;
                        if (in && !cut) cell.Set(x, y, c);
                    }
        } else if (op == "star") {
            if (Numbers(w, 3, where, n) && Colour(w.back(), where, c)) Star(cell, n[0], n[1], n[2], c);
        } else if (op == "triangle") {
            if (Numbers(w, 6, where, n) && Colour(w.back(), where, c))
                cell.Triangle(n[0], n[1], n[2], n[3], n[4], n[5], c);
        } else if (op == "cross") {
            if (Numbers(w, 3, where, n) && Colour(w.back(), where, c)) {
                const int t = int(n[2]);
                cell.Rect(int(n[0]) - t / 2, 0, t, cell.height, c);
                cell.Rect(0, int(n[1]) - t / 2, cell.width, t, c);
            }
        } else if (op == "saltire" || op == "diagonal" || op == "backdiagonal") {
            if (Numbers(w, 1, where, n) && Colour(w.back(), where, c)) {
                if (op != "backdiagonal") Band(cell, 0, float(cell.height), float(cell.width), 0, n[0], c);
                if (op != "diagonal") Band(cell, 0, 0, float(cell.width), float(cell.height), n[0], c);
            }
        } else {
            diag.Error(where, "unknown shape \"" + op + "\"");
        }
    }

    static void Star(Canvas& cell, float cx, float cy, float r, Rgba c) {
        const float inner = r * 0.45f;
        float px[10], py[10];
        for (int i = 0; i < 10; ++i) {
            const float a = -1.5707963f + float(i) * 0.62831853f;
            const float rr = i % 2 == 0 ? r : inner;
            px[i] = cx + rr * std::cos(a);
            py[i] = cy + rr * std::sin(a);
        }
        for (int i = 0; i < 10; ++i) {
            const int j = (i + 1) % 10;
            cell.Triangle(cx, cy, px[i], py[i], px[j], py[j], c);
            cell.Triangle(cx, cy, px[j], py[j], px[i], py[i], c);
        }
    }

    // A straight band of the given thickness between two points.
    static void Band(Canvas& cell, float x0, float y0, float x1, float y1, float thickness, Rgba c) {
        const float dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x) {
                const float d = std::fabs((x + 0.5f - x0) * dy - (y + 0.5f - y0) * dx) / len;
                if (d <= thickness * 0.5f) cell.Set(x, y, c);
            }
    }
};

bool LayerIsOpaque(const Canvas& cell) {
    for (const Rgba& p : cell.pixels)
        if (p.a != 255) return false;
    return true;
}

bool LayerIsEmpty(const Canvas& cell) {
    for (const Rgba& p : cell.pixels)
        if (p.a != 0) return false;
    return true;
}

} // namespace

FlagSet ParseFlags(const std::string& text, const std::string& fileName, Diagnostics& diag) {
    FlagSet set;
    set.layers.resize(kCountryCount);
    FlagParser parser{fileName, diag, {}};
    const std::vector<std::string> lines = SplitLines(text);
    int country = -1;
    int expected = 0; // next country index
    std::string countryWhere;
    auto finish = [&]() {
        if (country < 0) return;
        std::vector<Canvas>& layers = set.layers[size_t(country)];
        const int want = kCountries[country].layers;
        if (int(layers.size()) != want) {
            diag.Error(countryWhere, std::string(kCountries[country].name) + " needs " +
                                         std::to_string(want) + " layers, has " +
                                         std::to_string(layers.size()));
            layers.clear();
            return;
        }
        if (!LayerIsOpaque(layers[0])) diag.Error(countryWhere, "layer 0 must cover the whole flag");
        for (size_t k = 1; k < layers.size(); ++k) {
            if (LayerIsOpaque(layers[k]))
                diag.Error(countryWhere, "layer " + std::to_string(k) +
                                             " covers the whole flag; later layers must be partial");
            if (LayerIsEmpty(layers[k])) diag.Error(countryWhere, "layer " + std::to_string(k) + " is empty");
        }
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = Where(fileName, int(i) + 1);
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> w = SplitWords(line);
        if (w[0] == "colour") {
            std::optional<Rgba> c;
            if (w.size() != 3 || !(c = ParseHexColour(w[2])))
                diag.Error(where, "expected \"colour <name> <RRGGBB>\"");
            else
                parser.colours[w[1]] = *c;
        } else if (w[0] == "country") {
            finish();
            country = -1;
            int index = -1;
            if (w.size() < 3 || !ParseInt(w[1], index) || index < 0 || index >= kCountryCount) {
                diag.Error(where, "expected \"country <index 0..168> <NAME>\"");
                continue;
            }
            const std::string name = line.substr(line.find(w[2], line.find(w[1]) + w[1].size()));
            if (name != kCountries[index].name) {
                diag.Error(where, "country " + std::to_string(index) + " is " + kCountries[index].name +
                                      ", not " + name);
                continue;
            }
            if (index != expected)
                diag.Error(where, "countries must come in index order; expected " + std::to_string(expected));
            expected = index + 1;
            if (!set.layers[size_t(index)].empty()) {
                diag.Error(where, "country " + std::to_string(index) + " described twice");
                continue;
            }
            country = index;
            countryWhere = where;
        } else if (w[0] == "layer") {
            if (country < 0) {
                diag.Error(where, "\"layer\" outside a country");
                continue;
            }
            set.layers[size_t(country)].emplace_back(kFlagW, kFlagH);
        } else {
            if (country < 0 || set.layers[size_t(country)].empty()) {
                diag.Error(where, "shape outside a layer");
                continue;
            }
            parser.Shape(set.layers[size_t(country)].back(), w, where);
        }
    }
    finish();
    return set;
}

Canvas BuildFlagSheet(const FlagSet& flags, std::vector<std::string>& missing) {
    Canvas sheet(kFlagSheetW, kFlagSheetH);
    for (int c = 0; c < kCountryCount; ++c) {
        const std::vector<Canvas>& layers = flags.layers[size_t(c)];
        if (layers.empty()) {
            missing.push_back("flag " + std::to_string(c) + " " + kCountries[c].name);
            Canvas placeholder(kFlagW, kFlagH);
            for (int y = 0; y < kFlagH; ++y)
                for (int x = 0; x < kFlagW; ++x)
                    placeholder.Set(x, y, ((x / 3 + y / 3) & 1) ? Rgba(255, 0, 255) : Rgba(40, 0, 40));
            sheet.Paste(placeholder, FlagCellX(c, 0), FlagCellY(c));
            continue;
        }
        for (size_t k = 0; k < layers.size(); ++k)
            sheet.Paste(layers[k], FlagCellX(c, int(k)), FlagCellY(c));
    }
    return sheet;
}

namespace {
void DrawCell(Canvas& out, const Canvas& sheet, int country, int layer) {
    const int x0 = FlagCellX(country, layer), y0 = FlagCellY(country);
    for (int y = 0; y < kFlagH; ++y)
        for (int x = 0; x < kFlagW; ++x)
            out.Blend(x, y, sheet.Get(x0 + x, y0 + y));
}
} // namespace

Canvas ComposeCountry(const Canvas& sheet, int country) {
    Canvas out(kFlagW, kFlagH);
    for (int k = 0; k < kCountries[country].layers; ++k)
        DrawCell(out, sheet, country, k);
    return out;
}

Canvas ComposeBlend(const Canvas& sheet, int countryA, int countryB, int firstSide, bool skipOnce) {
    Canvas out(kFlagW, kFlagH);
    const int country[2] = {countryA, countryB};
    const int count[2] = {kCountries[countryA].layers, kCountries[countryB].layers};
    int next[2] = {0, 0};
    int side = firstSide;
    bool skip = skipOnce;
    while (next[0] < count[0] || next[1] < count[1]) {
        const int layer = next[side];
        if (layer == 1 && count[side] == 2 && skip) {
            skip = false;
            side = 1 - side;
            continue;
        }
        DrawCell(out, sheet, country[side], layer);
        if (layer < count[side]) next[side] = layer + 1;
        side = 1 - side;
    }
    return out;
}

} // namespace artgen
