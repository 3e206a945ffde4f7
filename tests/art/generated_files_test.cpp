// The files the generator leaves in the build tree, read the way the game reads them: the font
// through the game's BitmapFont, the flag grid as the flag drawing samples it. Also: nothing is
// still a placeholder, and a rerun changes no byte.
#include "art_paths.h"

#include "base/app_state.h"
#include "flags.h"
#include "generator.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<kel::Image> Load(const std::string& base) {
    return std::unique_ptr<kel::Image>(kel::LoadImage((arttest::ArtDir() + "/" + base + ".png").c_str()));
}
uint8_t Alpha(const kel::Image& image, int x, int y) { return uint8_t(image.pixels[y * image.width + x] >> 24); }
std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(GeneratedArt, FontParsesWithTheGamesFontAndCoversPrintableAscii) {
    kel::gRenderer = kel::RendererState{};
    ASSERT_TRUE(kel::LoadTextureSlot(0, (arttest::ArtDir() + "/c64.png").c_str()));
    kel::BitmapFont font;
    font.Load((arttest::ArtDir() + "/c64.fnt").c_str(), 0);
    EXPECT_FLOAT_EQ(font.height, 8.0f);
    std::unique_ptr<kel::Image> sheet = Load("c64");
    ASSERT_NE(sheet, nullptr);
    for (int c = 32; c <= 126; ++c) {
        ASSERT_NE(font.glyphs[c], nullptr) << "no glyph for " << c;
        EXPECT_FLOAT_EQ(font.glyphs[c]->width, 8.0f) << c;
        // The glyph's texel rectangle, and a clear ring of texels around it so nearest sampling at
        // any scale never picks up a neighbour.
        const int x0 = int(font.glyphs[c]->uLeft * sheet->width),
                  y0 = int(font.glyphs[c]->vTop * sheet->height);
        ASSERT_TRUE(x0 >= 1 && y0 >= 1) << c;
        for (int i = -1; i <= 8; ++i)
            EXPECT_EQ(Alpha(*sheet, x0 + i, y0 - 1) | Alpha(*sheet, x0 + i, y0 + 8) | Alpha(*sheet, x0 - 1, y0 + i) |
                          Alpha(*sheet, x0 + 8, y0 + i),
                      0)
                << "glyph " << c << " touches its margin";
    }
    int ink = 0; // letters have ink
    for (int i = 0; i < 64; ++i)
        ink += Alpha(*sheet, int(font.glyphs['A']->uLeft * sheet->width) + i % 8,
                     int(font.glyphs['A']->vTop * sheet->height) + i / 8) > 0;
    EXPECT_GT(ink, 10);
    kel::gRenderer = kel::RendererState{};
}

// The flag grid: country c in the column group of its index, row c - first, layer k 32 px right.
std::pair<int, int> FlagCell(int country, int layer) {
    const int firsts[] = {0, 44, 88, 130}, xs[] = {2, 130, 258, 386};
    int g = 3;
    while (country < firsts[g])
        --g;
    return {xs[g] + 32 * layer, 2 + 23 * (country - firsts[g])};
}

TEST(GeneratedArt, FlagGridHasEveryLayerWhereTheGameSamplesIt) {
    std::unique_ptr<kel::Image> sheet = Load("flags");
    ASSERT_NE(sheet, nullptr);
    for (int c = 0; c < 169; ++c) {
        const int layers = artgen::kCountries[c].layers;
        // One cell more than the country has: a blend keeps drawing the cell after the last layer.
        for (int k = 0; k <= layers; ++k) {
            const auto [cx, cy] = FlagCell(c, k);
            int opaque = 0, clear = 0;
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 30; ++x) {
                    const uint8_t a = Alpha(*sheet, cx + x, cy + y);
                    opaque += a == 255;
                    clear += a == 0;
                }
            EXPECT_TRUE(k == 0 ? opaque == 30 * 18 : k < layers ? opaque > 0 && clear > 0 : clear == 30 * 18)
                << "country " << c << ", layer " << k << " of " << layers
                << ": layer 0 is the whole field, later ones partial, the cell after the last empty";
        }
    }
}

TEST(ArtGenerator, EverySpriteDefined) {
    const std::string missing = Slurp(arttest::ArtDir() + "/missing.txt");
    EXPECT_TRUE(fs::exists(arttest::ArtDir() + "/missing.txt"));
    EXPECT_EQ(missing, "") << "still placeholders:\n" << missing;
}

TEST(ArtGenerator, TwoRunsGiveIdenticalBytes) {
    const fs::path base = fs::temp_directory_path() / ("kelvaro_artgen_" + std::to_string(::getpid()));
    artgen::GeneratorOptions options;
    options.assetsDir = arttest::ArtSourceDir();
    options.outDir = (base / "one").string();
    const artgen::GeneratorResult one = artgen::RunGenerator(options);
    options.outDir = (base / "two").string();
    const artgen::GeneratorResult two = artgen::RunGenerator(options);
    ASSERT_TRUE(one.ok) << (one.errors.empty() ? "" : one.errors.front());
    ASSERT_TRUE(two.ok);
    ASSERT_EQ(one.written.size(), two.written.size());
    ASSERT_GE(one.written.size(), 26u);
    for (const std::string& path : one.written) {
        const fs::path rel = fs::relative(path, base / "one");
        EXPECT_EQ(Slurp(path), Slurp(base / "two" / rel)) << rel << " differs between runs";
    }
    // And the build tree holds the same bytes: it was generated from the same sources.
    EXPECT_EQ(Slurp(base / "one" / "art" / "sprites.png"), Slurp(arttest::ArtDir() + "/sprites.png"));
    std::error_code ec;
    fs::remove_all(base, ec);
}

} // namespace
