// The generated atlas table against the game's sprite list: sizes and anchors as the game draws
// them, every rectangle inside its sheet, no two rectangles sharing a pixel, the fixed places.
#include "art_paths.h"

#include "gfx/atlas_table.h"
#include "gfx/image.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The game's sprite list, in its own notation: "<id>[-<last id>] <w>x<h> [(<anchorX>, <anchorY>)]",
// anchors (0, 0) when not given. Written out from the game's sprite table, group by group.
struct ExpectedGroup {
    int slot;
    const char* sprites;
};
const ExpectedGroup kExpectedSizes[] = {
    {1, "0 46x46 (23, 23); 1 90x13 (0, 6.5); 2 12x12 (6, 6); 3 69x42; 4 17x25 (8.5, 12.5); 5 12x12; 6 12x12; "
        "7 12x12; 8 12x12 (6, 6); 9 12x12 (6, 6); 10 12x12 (6, 6); 11 9x11; 12 9x9; 13 102x10; 14-33 22x22"},
    {2, "34 50x9; 35 61x9; 36 89x9; 37 77x9; 38 43x9; 39 76x9; 40 112x9; 41 69x9; 42 86x9; 43 53x9; 44 71x9; "
        "45 99x9; 46 110x9; 47 110x9; 48 108x9; 49 63x9; 50 64x9; 51 22x9; 52 22x9; 53 22x9"},
    {1, "67-70 30x18"},
    {4, "71 1024x185; 72 1024x96 (0, -54); 73 1024x90 (16, -58); 74 1024x74 (0, -62)"},
    {5, "75 256x192"},
    {8, "76 83x30; 77 313x107 (156, 53); 78 83x21 (41, 10); 79 46x21 (23, 10); 80 82x21; 81 48x21; 82 84x13; "
        "83 13x13; 84 17x16; 85 15x16; 86 16x16; 87 16x16; 88 48x21 (24, 10); 89 50x21; 90 46x21 (23, 10); "
        "91 72x21 (36, 10); 92 56x21; 93 127x21 (63, 10); 94 58x21 (29, 10); 95 137x31; 96 79x11 (39, 0); "
        "97 14x14; 98 14x14; 99 14x14; 100 63x19; 101 12x20 (0, 10); 102 64x6 (0, 3); 103 6x9 (3, 4.5); "
        "104 14x15 (7, 7.5); 105 9x8 (4.5, 4); 106 100x26 (50, 0); 107 134x13 (67, 0); 108 181x13 (90, 0); "
        "109 174x13 (87, 0); 110 13x23 (1, 0); 111 256x256"},
    {9, "117 256x192; 118 16x22 (8, 22); 119 40x40 (20, 20); 120 10x40 (0, 20); 121 10x16 (5, 8); "
        "122 30x5 (15, 2.5); 123 21x25 (10.5, 12.5); 124 17x27 (10.5, 14.5); 125 21x25 (10.5, 12.5); 126 "
        "4x12 (2, 6)"},
    {10, "127 256x192"},
    {1, "128 17x25 (8.5, 12.5); 129 13x27 (6.5, 14.5); 130 18x24 (9, 12); 131 18x24 (9, 12); 132 13x29 (6.5, "
        "14.5); "
        "133 12x24 (6, 12); 134 15x25 (7.5, 12.5); 135 15x25 (7.5, 12.5); 136 7x21 (5, 10.5); 137 10x21 (5, "
        "10.5); "
        "138 11x5 (5.5, 2.5); 139 9x8 (4.5, 4); 140 11x8 (6.5, 4); 141 23x17 (11.5, 8.5); 142 17x25 (8.5, "
        "12.5); "
        "143 21x25 (10.5, 12.5); 144 28x22 (13, 11); 145 28x22 (13, 11); 146 19x25 (9.5, 12.5); "
        "147 25x25 (12.5, 12.5); 148 10x13 (5, 6.5); 149 21x25 (11.5, 11.5); 150 21x25 (9.5, 11.5)"},
    {11, "151 256x192; 152 17x25 (8.5, 12.5); 153 11x29 (5.5, 16.5); 154 9x7 (0, 7); 155 11x11 (1, 11)"},
    {12, "156 32x2 (16, 1); 157 17x25 (8.5, 12.5); 158 17x25 (8.5, 12.5); 159 2x20"},
    {13, "160 35x22 (15, 14.5); 161 35x22 (15, 14.5); 162 18x25 (7.5, 12.5); 163 2x20; 164 5x3 (0, 3); "
         "165 106x4 (0, 2); 166 14x14; 167 8x8"},
    {14,
     "168 21x25 (10.5, 12.5); 169 23x25 (11.5, 12.5); 170 19x25 (6, 12.5); 171 2x20; 172 5x3 (0, 3); "
     "173 21x25 (10.5, 12.5); 174 21x25 (10.5, 12.5); 175 72x80 (36, 80); 176 21x5 (10.5, -7.5); "
     "177 21x5 (10.5, -7.5); 178 19x10 (6, -2.5); 179 11x24 (4, 12); 180 11x24 (4, 12); 181 11x28 (4, 16); "
     "182 11x34 (4, 22)"},
    {15, "183 256x192; 184 9x26 (4.5, 13); 185 16x4 (8, 2); 186 32x1 (0, 0.5); 187 6x6 (3, 3); 188 70x39; "
         "189 70x39; 190 70x39; 191 53x21 (-5, -8)"},
    {16, "192 256x192; 193 13x28 (6.5, 14.5); 194 15x28 (6.5, 14.5); 195 8x8 (4, 4); 196 17x16 (8, 8)"},
    {17, "197 256x192; 198-201 18x27 (9, 13.5); 202 80x13 (40, 6.5)"},
    {18, "203 256x192; 204 13x28 (6.5, 16); 205 5x5 (2.5, 2.5); 206 88x16 (41, 2); 207 7x3 (3.5, 1)"},
    {22, "208 256x192; 209 19x17 (10, 8.5); 210 19x17 (10, 8.5); 211 19x21 (10, 12.5)"},
    {20, "212 256x192; 213 9x24 (4, 12); 214 23x2 (11.5, 1); 215 9x1 (4, -1); 216 16x24 (8, 12); 217 18x24 "
         "(8, 12)"},
    {21, "218 256x192; 219 23x15 (6.5, 7.5); 220 112x112 (56, 56); 221 5x5 (2.5, 2.5); 222 20x1 (0, 0.5); "
         "223 24x7 (1.5, 4); 224 16x24 (8, 12)"},
    {19, "225 15x15; 226 10x4 (15, 2); 227 21x4 (6, 2); 228 78x7; 229 26x100; 230 11x13 (5.5, 7.5); "
         "231 8x3 (2.5, 0.5); 232 30x60"},
    {24, "233 128x64 (0, 64)"},
    {16, "234 8x24 (4, 12); 235 8x24 (4, 12); 236 13x4 (0, 2); 237 96x2 (48, 1)"},
    {23, "238 256x192; 239 17x24 (4.5, 12); 240 11x23 (-5.5, 17); 241 18x23 (2.5, 17); 242 57x9 (25.5, 4.5); "
         "243 17x54 (4.5, 22.5)"},
    {20, "244 40x13 (20, 6.5); 245 4x34 (2, 17); 246 5x5 (2.5, 2.5); 247-250 32x32"},
};

struct Expected {
    int slot = 0, width = 0, height = 0;
    float anchorX = 0.0f, anchorY = 0.0f;
};

std::map<int, Expected> ParseExpectedSizes() {
    std::map<int, Expected> out;
    for (const ExpectedGroup& group : kExpectedSizes) {
        std::stringstream items(group.sprites);
        std::string item;
        while (std::getline(items, item, ';')) {
            int first = 0, last = 0, w = 0, h = 0;
            float ax = 0.0f, ay = 0.0f;
            if (std::sscanf(item.c_str(), " %d-%d %dx%d (%f, %f)", &first, &last, &w, &h, &ax, &ay) < 4) {
                last = -1;
                const int n = std::sscanf(item.c_str(), " %d %dx%d (%f, %f)", &first, &w, &h, &ax, &ay);
                EXPECT_GE(n, 3) << "bad expected item: " << item;
                last = first;
            }
            for (int id = first; id <= last; ++id)
                out[id] = {group.slot, w, h, ax, ay};
        }
    }
    return out;
}

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

TEST(AtlasTable, SizesAndAnchorsAreTheGames) {
    const std::map<int, Expected> expected = ParseExpectedSizes();
    ASSERT_EQ(expected.size(), 233u);
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        const auto it = expected.find(k);
        if (it == expected.end()) {
            EXPECT_EQ(row.width, 0) << "sprite " << k << " is not in the game's list and must stay empty";
            EXPECT_EQ(row.height, 0) << "sprite " << k;
            continue;
        }
        const Expected& e = it->second;
        EXPECT_EQ(row.slot, e.slot) << "sprite " << k;
        EXPECT_EQ(row.width, e.width) << "sprite " << k;
        EXPECT_EQ(row.height, e.height) << "sprite " << k;
        EXPECT_FLOAT_EQ(row.anchorX, e.anchorX) << "sprite " << k;
        EXPECT_FLOAT_EQ(row.anchorY, e.anchorY) << "sprite " << k;
    }
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
    // The HUD samples art/sprites at (512..912, 512..544) directly.
    for (int k = 0; k < kel::kAtlasTableRows; ++k) {
        const kel::AtlasRow& row = kel::kAtlasTable[k];
        if (row.slot != 1 || row.width == 0) continue;
        EXPECT_FALSE(Overlap(row.x, row.y, row.width, row.height, 512, 512, 400, 32)) << "sprite " << k;
    }
    std::unique_ptr<kel::Image> sheet(kel::LoadImage((arttest::ArtDir() + "/sprites.png").c_str()));
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->width, 1024);
    ASSERT_EQ(sheet->height, 1024);
    for (int y = 512; y < 544; ++y)
        for (int x = 512; x < 912; ++x)
            ASSERT_EQ(sheet->pixels[y * 1024 + x] >> 24, 255u) << "bar fill not opaque at " << x << "," << y;
}

} // namespace
