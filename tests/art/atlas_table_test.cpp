// The generated atlas table: one row per sprite, every rectangle inside its sheet, no two
// rectangles sharing a pixel, the fixed places.
#include "art_paths.h"

#include "gfx/atlas_table.h"
#include "gfx/image.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

// Sheet sizes as the game will see them: decoded from the generated files with the game's loader.
struct SheetSize {
    int width = 0, height = 0;
};
std::map<int, SheetSize> LoadSheetSizes() {
    const std::map<int, const char*> names = {
        {0, "c64"},      {1, "sprites"},  {2, "eventlabels2"}, {3, "flags"},
        {4, "logo"},     {5, "mm"},       {8, "buttons2"},     {9, "opening"},
        {10, "closing"}, {11, "diving"},  {12, "javelin"},     {13, "equis"},
        {14, "sprint"},  {15, "rings"},   {16, "highjump"},    {17, "weightlifting"},
        {18, "shotput"}, {19, "rowing"},  {20, "swimming"},    {21, "hammer"},
        {22, "velo"},    {23, "archery"}, {24, "pvbackground"}};
    std::map<int, SheetSize> sizes;
    for (const auto& [slot, name] : names) {
        const std::string path = arttest::ArtDir() + "/" + name + ".png";
        std::unique_ptr<kel::Image> image(kel::LoadImage(path.c_str()));
        EXPECT_NE(image, nullptr) << path << " does not decode";
        if (image) sizes[slot] = {image->width, image->height};
    }
    return sizes;
}

TEST(AtlasTable, OneRowPerSpriteNumberInOrder) {
    ASSERT_EQ(kel::kAtlasTableRows, 251);
    for (int k = 0; k < kel::kAtlasTableRows; ++k)
        EXPECT_EQ(kel::kAtlasTable[k].sprite, k);
}

TEST(AtlasTable, EveryRectangleInsideItsSheet) {
    const std::map<int, SheetSize> sheets = LoadSheetSizes();
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        if (row.width == 0) continue;
        const auto it = sheets.find(row.slot);
        ASSERT_NE(it, sheets.end()) << "sprite " << k << " in slot " << row.slot << " without a sheet";
        EXPECT_GE(row.x, 0) << "sprite " << k;
        EXPECT_GE(row.y, 0) << "sprite " << k;
        EXPECT_LE(row.x + row.width, it->second.width) << "sprite " << k;
        EXPECT_LE(row.y + row.height, it->second.height) << "sprite " << k;
    }
}

bool Overlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

TEST(AtlasTable, NoTwoSpritesShareAPixel) {
    for (int a = 0; a < kel::kAtlasTableRows; ++a)
        for (int b = a + 1; b < kel::kAtlasTableRows; ++b) {
            const kel::AtlasRow& p = kel::kAtlasTable[a];
            const kel::AtlasRow& q = kel::kAtlasTable[b];
            if (p.width == 0 || q.width == 0 || p.slot != q.slot) continue;
            EXPECT_FALSE(Overlap(p.x, p.y, p.width, p.height, q.x, q.y, q.width, q.height))
                << "sprites " << a << " and " << b << " overlap in slot " << p.slot;
        }
}

TEST(AtlasTable, BackdropsSitAtTheFixedPlace) {
    for (int id : {117, 127, 151, 183, 192, 197, 203, 208, 212, 218, 238}) {
        EXPECT_EQ(kel::kAtlasTable[id].x, 0) << "backdrop " << id;
        EXPECT_EQ(kel::kAtlasTable[id].y, 64) << "backdrop " << id;
    }
}

TEST(AtlasTable, ProgressBarFillIsLeftFree) {
    // The HUD samples art/sprites at (512..912, 96..128) directly.
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        if (row.slot != 1 || row.width == 0) continue;
        EXPECT_FALSE(Overlap(row.x, row.y, row.width, row.height, 512, 96, 400, 32)) << "sprite " << k;
    }
    std::unique_ptr<kel::Image> sheet(kel::LoadImage((arttest::ArtDir() + "/sprites.png").c_str()));
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->width, 1024);
    ASSERT_EQ(sheet->height, 128);
    for (int y = 96; y < 128; ++y)
        for (int x = 512; x < 912; ++x)
            ASSERT_EQ(sheet->pixels[y * 1024 + x] >> 24, 255u) << "bar fill not opaque at " << x << "," << y;
}

} // namespace
