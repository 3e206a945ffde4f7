// The generated atlas table: one row per sprite, every rectangle inside its sheet, no two
// rectangles sharing a pixel, the HUD's bar fill left free.
#include "art_paths.h"

#include "atlas_layout.h"
#include "gfx/atlas_table.h"
#include "gfx/image.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

bool Overlap(const kel::AtlasRow& p, int x, int y, int w, int h) {
    return p.x < x + w && x < p.x + p.width && p.y < y + h && y < p.y + p.height;
}

TEST(AtlasTable, OneRowPerSpriteNumberInOrder) {
    ASSERT_EQ(kel::kAtlasTableRows, 251);
    for (int k = 0; k < kel::kAtlasTableRows; ++k)
        EXPECT_EQ(kel::kAtlasTable[k].sprite, k);
}

// Sheet sizes as the game sees them: decoded from the generated files with the game's loader.
TEST(AtlasTable, EveryRectangleInsideItsSheet) {
    std::map<int, std::pair<int, int>> sheets;
    for (const artgen::SheetInfo& s : artgen::kSheets) {
        const std::string path = arttest::ArtDir() + "/" + s.base + ".png";
        std::unique_ptr<kel::Image> image(kel::LoadImage(path.c_str()));
        ASSERT_NE(image, nullptr) << path << " does not decode";
        sheets[s.slot] = {image->width, image->height};
    }
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        if (row.width == 0) continue;
        const auto it = sheets.find(row.slot);
        ASSERT_NE(it, sheets.end()) << "sprite " << k << " in slot " << row.slot << " without a sheet";
        EXPECT_TRUE(row.x >= 0 && row.y >= 0 && row.x + row.width <= it->second.first &&
                    row.y + row.height <= it->second.second)
            << "sprite " << k;
    }
}

TEST(AtlasTable, NoTwoSpritesShareAPixel) {
    for (int a = 0; a < kel::kAtlasTableRows; ++a)
        for (int b = a + 1; b < kel::kAtlasTableRows; ++b) {
            const kel::AtlasRow& p = kel::kAtlasTable[a];
            const kel::AtlasRow& q = kel::kAtlasTable[b];
            if (p.width == 0 || q.width == 0 || p.slot != q.slot) continue;
            EXPECT_FALSE(Overlap(p, q.x, q.y, q.width, q.height))
                << "sprites " << a << " and " << b << " overlap in slot " << p.slot;
        }
}

TEST(AtlasTable, ProgressBarFillIsLeftFree) {
    // The HUD samples art/sprites at (512..912, 96..128) directly.
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        EXPECT_FALSE(row.slot == 1 && row.width != 0 && Overlap(row, 512, 96, 400, 32)) << "sprite " << k;
    }
    std::unique_ptr<kel::Image> sheet(kel::LoadImage((arttest::ArtDir() + "/sprites.png").c_str()));
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->width == 1024 && sheet->height == 128);
    for (int y = 96; y < 128; ++y)
        for (int x = 512; x < 912; ++x)
            ASSERT_EQ(sheet->pixels[y * 1024 + x] >> 24, 255u) << "bar fill not opaque at " << x << "," << y;
}

} // namespace
