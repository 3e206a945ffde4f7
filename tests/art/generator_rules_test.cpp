// The generator's rules for its sources: what it accepts, what it rejects and how it says so,
// and how it packs sheets. These run on small sources written by the tests.
#include "atlas_layout.h"
#include "flags.h"
#include "generator.h"
#include "packer.h"
#include "palette.h"
#include "pixel_font.h"
#include "sprite_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <tuple>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool AnyErrorContains(const artgen::Diagnostics& diag, const std::string& text) {
    const auto& errors = diag.Errors();
    return std::any_of(errors.begin(), errors.end(), [&](const std::string& e) { return e.find(text) != e.npos; });
}

std::string Joined(const artgen::Diagnostics& diag) {
    std::string all;
    for (const std::string& e : diag.Errors())
        all += e + "\n";
    return all;
}

artgen::Palette TwoColours() {
    artgen::Palette p;
    artgen::Diagnostics diag;
    p.Parse("k 000000 outline\nw FFFFFF white\n", "palette.txt", diag);
    return p;
}

TEST(PaletteSource, ReadsColoursAndRejectsDotBadHexAndRedefinitionWithTheLine) {
    artgen::Palette p;
    artgen::Diagnostics diag;
    p.Parse("# greys\nk 102030 a\n\n% 00000080 shadow\n. FFFFFF dot\nr 12345G red\nk 111111 again\n", "palette.txt",
            diag);
    ASSERT_EQ(diag.Errors().size(), 3u) << Joined(diag);
    EXPECT_TRUE(AnyErrorContains(diag, "palette.txt:5")) << Joined(diag);
    EXPECT_TRUE(AnyErrorContains(diag, "palette.txt:6")) << Joined(diag);
    EXPECT_TRUE(AnyErrorContains(diag, "palette.txt:7: colour 'k' defined twice")) << Joined(diag);
    EXPECT_EQ(p.Get('k'), artgen::Rgba(0x10, 0x20, 0x30, 255)) << "the first definition stays";
    EXPECT_EQ(p.Get('%'), artgen::Rgba(0, 0, 0, 0x80));
    EXPECT_FALSE(p.Has('#'));
}

// Sprite 12 is 9x9, sprite 5 is 12x12.
const char* kGoodSprite12 = "sprite 12\n"
                            "kkkkkkkkk\n"
                            "k.......k\n"
                            "k.wwwww.k\n"
                            "k.w...w.k\n"
                            "k.w.r.w.k\n"
                            "k.w...w.k\n"
                            "k.wwwww.k\n"
                            "k.......k\n"
                            "kkkkkkkkk\n";

TEST(SpriteSource, ReadsAGridWithALocalColourThatDoesNotLeakIntoOtherFiles) {
    std::vector<artgen::DefinedSprite> out;
    artgen::Diagnostics diag;
    const artgen::Palette shared = TwoColours();
    artgen::ParseSpriteSource(std::string("# a mark\npal r FF0000\n") + kGoodSprite12, "ui/x.spr", shared, out, diag);
    ASSERT_FALSE(diag.Failed()) << Joined(diag);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].id, 12);
    EXPECT_EQ(out[0].canvas.width, 9);
    EXPECT_EQ(out[0].canvas.Get(0, 0), artgen::Rgba(0, 0, 0, 255));
    EXPECT_EQ(out[0].canvas.Get(1, 1).a, 0) << "'.' is transparent";
    EXPECT_EQ(out[0].canvas.Get(4, 4), artgen::Rgba(255, 0, 0, 255));
    EXPECT_EQ(out[0].origin, "ui/x.spr:3");
    artgen::ParseSpriteSource(kGoodSprite12, "b.spr", shared, out, diag);
    EXPECT_TRUE(AnyErrorContains(diag, "b.spr:6:5: unknown palette character 'r'")) << Joined(diag);
    EXPECT_EQ(out.size(), 1u);
}

TEST(SpriteSource, ReportsBadGridsWithFileAndLineAndUsesNone) {
    std::string wide = kGoodSprite12;
    wide.replace(wide.find("k.w.r.w.k"), 9, "k.w.w.w.kk");
    const struct {
        std::string text;
        std::vector<std::string> errors;
    } cases[] = {
        {wide, {"x.spr:6: row 5 of sprite 12 is 10 characters wide; it must be 9"}},
        {"sprite 12\nkkkkkkkkk\nkkkkkkkkk\nsprite 5\n", {"x.spr:4: sprite 12 has only 2 rows; it needs 9"}},
        {std::string(kGoodSprite12) + "kkkkkkkkk\n", {"x.spr:11"}},
        // The skipped grid adds no noise.
        {"sprite 60\nkk\nkk\nsprite 999\n",
         {"x.spr:1: sprite 60 is not in the atlas layout", "x.spr:4: sprite 999 is not in the atlas layout"}},
    };
    for (const auto& c : cases) {
        std::vector<artgen::DefinedSprite> out;
        artgen::Diagnostics diag;
        artgen::ParseSpriteSource(c.text, "x.spr", TwoColours(), out, diag);
        for (const std::string& e : c.errors)
            EXPECT_TRUE(AnyErrorContains(diag, e)) << Joined(diag);
        if (c.errors.size() > 1) {
            EXPECT_EQ(diag.Errors().size(), c.errors.size()) << Joined(diag);
        }
        EXPECT_TRUE(out.empty()) << "a broken sprite is not used";
    }
}

TEST(FontSource, GlyphsByCharacterAndCodeAndTheDescriptionQuotesOnlyPlainCharacters) {
    artgen::PixelFont font;
    artgen::Diagnostics diag;
    const std::string blank = "........\n";
    font.Parse("glyph A\nX.......\n" + blank + blank + blank + blank + blank + blank + ".......X\nglyph 0x22\n" +
                   "XXXXXXXX\n" + blank + blank + blank + blank + blank + blank + blank,
               "font/f.txt", diag);
    ASSERT_FALSE(diag.Failed()) << Joined(diag);
    EXPECT_TRUE(font.Ink('A', 0, 0));
    EXPECT_TRUE(font.Ink('A', 7, 7));
    EXPECT_FALSE(font.Ink('A', 1, 0));
    EXPECT_FALSE(font.defined['B']);
    font.defined[' '] = true;
    const std::string fnt = artgen::BuildFontDescription(font);
    EXPECT_NE(fnt.find("Char=\"A\","), std::string::npos);
    EXPECT_NE(fnt.find("Char=22,"), std::string::npos) << "a quote cannot be quoted";
    EXPECT_NE(fnt.find("Char=20,"), std::string::npos) << "a blank cannot be quoted";
    EXPECT_EQ(fnt.find("Char=\"B\""), std::string::npos) << "only defined glyphs are listed";
}

TEST(FlagSource, LayersNamesOrderAndColoursAreChecked) {
    const struct {
        const char* text;
        std::vector<std::string> errors;
    } cases[] = {
        // AFGHANISTAN has three layers, ALBANIA two.
        {"colour red FF0000\ncolour black 000000\n"
         "country 0 AFGHANISTAN\nlayer\n fill red\nlayer\n rect 0 0 10 18 black\n"
         "country 1 ALBANIA\nlayer\n fill red\nlayer\n disc 15 9 4 black\n",
         {"flags.txt:3: AFGHANISTAN needs 3 layers, has 2"}},
        {"colour red FF0000\ncountry 0 AFGHANISTAN\nlayer\n rect 0 0 29 18 red\nlayer\n fill red\nlayer\n",
         {"layer 0 must cover the whole flag", "layer 1 covers the whole flag", "layer 2 is empty"}},
        {"country 1 ALBANIAA\ncountry 2 ALGERIA\nlayer\n fill green\n blob 1 2 red\n",
         {"flags.txt:1: country 1 is ALBANIA, not ALBANIAA", "flags.txt:2: countries must come in index order",
          "flags.txt:4: unknown colour \"green\"", "flags.txt:5: unknown shape \"blob\""}},
    };
    for (const auto& c : cases) {
        artgen::Diagnostics diag;
        artgen::ParseFlags(c.text, "flags.txt", diag);
        for (const std::string& e : c.errors)
            EXPECT_TRUE(AnyErrorContains(diag, e)) << Joined(diag);
    }
}

// A sheet whose cells say which (country, layer) they are: each cell paints its own 1-px column
// (so every draw stays visible) and the shared last column (so the last draw shows there).
artgen::Canvas TaggedFlagSheet(std::initializer_list<int> countries) {
    artgen::Canvas sheet(1024, 1024);
    for (int country : countries)
        for (int layer = 0; layer < 4; ++layer) {
            const int x = artgen::FlagCellX(country, layer), y = artgen::FlagCellY(country);
            const artgen::Rgba tag(uint8_t(country + 1), uint8_t(layer + 1), 0);
            sheet.Rect(x + layer * 4 + country * 2, y, 1, 18, tag);
            sheet.Rect(x + 29, y, 1, 18, tag);
        }
    return sheet;
}

bool CellDrawn(const artgen::Canvas& blend, int country, int layer) {
    return blend.Get(layer * 4 + country * 2, 0).a != 0;
}

TEST(FlagBlend, TurnsSkipOnceAndAUsedUpSideKeepsDrawingTheCellAfterItsLast) {
    const int afg = 0, alb = 1; // AFGHANISTAN has 3 layers, ALBANIA 2
    const artgen::Canvas skip = artgen::ComposeBlend(TaggedFlagSheet({afg, alb}), afg, alb, 0, true);
    // A0, B0, A1, (B's turn skipped), A2, B1.
    for (const auto& [country, layer, drawn] : {std::tuple{afg, 0, true}, {afg, 1, true}, {afg, 2, true},
                                                {afg, 3, false}, {alb, 0, true}, {alb, 1, true}, {alb, 2, false}})
        EXPECT_EQ(CellDrawn(skip, country, layer), drawn) << country << "/" << layer;
    EXPECT_EQ(skip.Get(29, 0), artgen::Rgba(alb + 1, 2, 0)) << "B1 is drawn last";
    // ALBANIA first, no skip: A0, B0, A1, B1, A's cell 2 (empty), B2.
    const artgen::Canvas used = artgen::ComposeBlend(TaggedFlagSheet({alb, afg}), alb, afg, 0, false);
    EXPECT_TRUE(CellDrawn(used, alb, 2)) << "the empty cell after ALBANIA's last layer is drawn";
    EXPECT_TRUE(CellDrawn(used, afg, 2));
    EXPECT_EQ(used.Get(29, 0), artgen::Rgba(afg + 1, 3, 0)) << "B2 is drawn last";
}

TEST(Packer, PlacesEverythingApartKeepsFixedRectanglesAndSaysWhatDoesNotFit) {
    std::vector<artgen::PackRect> rects;
    rects.push_back({-1, 100, 50, 20, 30, true});
    for (int i = 0; i < 40; ++i)
        rects.push_back({i, 5 + (i * 7) % 23, 3 + (i * 5) % 17, -1, -1, false});
    std::string error;
    std::vector<artgen::PackRect> tooWide = {{7, 100, 20, -1, -1, false}, {8, 100, 20, -1, -1, false}};
    EXPECT_FALSE(artgen::PackSheet(101, 40, tooWide, error));
    EXPECT_NE(error.find("does not fit"), std::string::npos) << error;
    ASSERT_TRUE(artgen::PackSheet(256, 256, rects, error)) << error;
    EXPECT_EQ(rects[0].x, 20);
    EXPECT_EQ(rects[0].y, 30);
    for (size_t i = 0; i < rects.size(); ++i) {
        const artgen::PackRect& p = rects[i];
        EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x + p.width <= 256 && p.y + p.height <= 256) << p.id;
        for (size_t j = i + 1; j < rects.size(); ++j) {
            const artgen::PackRect& q = rects[j];
            const int g = artgen::kPackGap;
            const bool apart = p.x + p.width + g <= q.x || q.x + q.width + g <= p.x ||
                               p.y + p.height + g <= q.y || q.y + q.height + g <= p.y;
            EXPECT_TRUE(apart) << "rectangles " << p.id << " and " << q.id << " closer than the gap";
        }
    }
}

// A whole run on a small source tree: a sprite defined twice stops it before anything is written;
// once fixed, undefined sprites become listed placeholders.
TEST(GeneratorRun, DuplicatesStopTheRunAndUndefinedSpritesBecomePlaceholders) {
    const fs::path root = fs::temp_directory_path() / ("kelvaro_artrules_" + std::to_string(::getpid()));
    fs::create_directories(root / "assets" / "ui");
    fs::create_directories(root / "assets" / "events");
    auto write = [&](const std::string& rel, const std::string& text) {
        std::ofstream(root / "assets" / rel, std::ios::binary) << text;
    };
    artgen::GeneratorOptions options;
    options.assetsDir = (root / "assets").string();
    options.outDir = (root / "out").string();
    options.drawnSprites = false; // only the sources written here
    write("palette.txt", "k 000000 outline\nw FFFFFF white\nr FF0000 red\n");
    write("ui/a.spr", kGoodSprite12);
    write("events/b.spr", std::string("pal r 00FF00\n") + kGoodSprite12);
    artgen::GeneratorResult result = artgen::RunGenerator(options);
    EXPECT_FALSE(result.ok);
    ASSERT_FALSE(result.errors.empty());
    EXPECT_NE(result.errors[0].find("sprite 12 is already defined at events/b.spr:2"), std::string::npos)
        << result.errors[0];
    EXPECT_FALSE(fs::exists(root / "out" / "generated" / "atlas_table.cpp"));

    fs::remove(root / "assets" / "events" / "b.spr");
    result = artgen::RunGenerator(options);
    ASSERT_TRUE(result.ok) << (result.errors.empty() ? "" : result.errors[0]);
    std::ifstream in(root / "out" / "art" / "missing.txt");
    const std::string missing(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(missing.find("sprite 5\n"), std::string::npos) << missing;
    EXPECT_EQ(missing.find("sprite 12\n"), std::string::npos) << "a defined sprite is not missing";
    EXPECT_TRUE(fs::exists(root / "out" / "art" / "pvbackground.png"));
    EXPECT_TRUE(fs::exists(root / "out" / "art" / "c64.fnt"));
    std::error_code ec;
    fs::remove_all(root, ec);
}

} // namespace
