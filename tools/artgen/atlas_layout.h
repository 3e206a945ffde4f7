// The sprite layout of the game's atlas: for every sprite its texture slot, size and anchor, and
// for every texture slot the sheet it lives in. Positions inside the sheets are chosen by the
// packer (packer.cpp), except the fixed placements listed here.
// Sections: sprite rows (kLayout) - sheets (kSheets) - fixed places: backdrops, bar fill, flag grid.
#pragma once

namespace artgen {

struct LayoutRow {
    int id;
    int slot;
    int width;     // px
    int height;    // px
    float anchorX; // px from the sprite's top-left corner
    float anchorY;
};

// Rows in ascending id order; ids missing here have no sprite.
inline constexpr LayoutRow kLayout[] = {
    // Slot 1, art/sprites: interface pieces and event icons.
    {0, 1, 46, 46, 23, 23},
    {1, 1, 90, 13, 0, 6.5f},
    {2, 1, 12, 12, 6, 6},
    {3, 1, 69, 42, 0, 0},
    {4, 1, 17, 25, 8.5f, 12.5f},
    {5, 1, 12, 12, 0, 0},
    {6, 1, 12, 12, 0, 0},
    {7, 1, 12, 12, 0, 0},
    {8, 1, 12, 12, 6, 6},
    {9, 1, 12, 12, 6, 6},
    {10, 1, 12, 12, 6, 6},
    {11, 1, 9, 11, 0, 0},
    {12, 1, 9, 9, 0, 0},
    {13, 1, 102, 10, 0, 0},
    {14, 1, 22, 22, 0, 0},
    {15, 1, 22, 22, 0, 0},
    {16, 1, 22, 22, 0, 0},
    {17, 1, 22, 22, 0, 0},
    {18, 1, 22, 22, 0, 0},
    {19, 1, 22, 22, 0, 0},
    {20, 1, 22, 22, 0, 0},
    {21, 1, 22, 22, 0, 0},
    {22, 1, 22, 22, 0, 0},
    {23, 1, 22, 22, 0, 0},
    {24, 1, 22, 22, 0, 0},
    {25, 1, 22, 22, 0, 0},
    {26, 1, 22, 22, 0, 0},
    {27, 1, 22, 22, 0, 0},
    {28, 1, 22, 22, 0, 0},
    {29, 1, 22, 22, 0, 0},
    {30, 1, 22, 22, 0, 0},
    {31, 1, 22, 22, 0, 0},
    {32, 1, 22, 22, 0, 0},
    {33, 1, 22, 22, 0, 0},
    // Slot 2, art/eventlabels2: event names, 9 px high.
    {34, 2, 50, 9, 0, 0},
    {35, 2, 61, 9, 0, 0},
    {36, 2, 89, 9, 0, 0},
    {37, 2, 77, 9, 0, 0},
    {38, 2, 43, 9, 0, 0},
    {39, 2, 76, 9, 0, 0},
    {40, 2, 112, 9, 0, 0},
    {41, 2, 69, 9, 0, 0},
    {42, 2, 86, 9, 0, 0},
    {43, 2, 53, 9, 0, 0},
    {44, 2, 71, 9, 0, 0},
    {45, 2, 99, 9, 0, 0},
    {46, 2, 110, 9, 0, 0},
    {47, 2, 110, 9, 0, 0},
    {48, 2, 108, 9, 0, 0},
    {49, 2, 63, 9, 0, 0},
    {50, 2, 64, 9, 0, 0},
    {51, 2, 22, 9, 0, 0},
    {52, 2, 22, 9, 0, 0},
    {53, 2, 22, 9, 0, 0},
    // Slot 1: the podium's base.
    {54, 1, 69, 42, 0, 0},
    // Slot 1: player badges.
    {67, 1, 30, 18, 0, 0},
    {68, 1, 30, 18, 0, 0},
    {69, 1, 30, 18, 0, 0},
    {70, 1, 30, 18, 0, 0},
    // Slot 4, art/logo.
    {71, 4, 1024, 185, 0, 0},
    {72, 4, 1024, 96, 0, -54},
    {73, 4, 1024, 90, 16, -58},
    {74, 4, 1024, 74, 0, -62},
    // Slot 5, art/mm: menu backdrop.
    {75, 5, 256, 192, 0, 0},
    // Slot 8, art/buttons2.
    {76, 8, 83, 30, 0, 0},
    {77, 8, 313, 107, 156, 53},
    {78, 8, 83, 21, 41, 10},
    {79, 8, 46, 21, 23, 10},
    {80, 8, 82, 21, 0, 0},
    {81, 8, 48, 21, 0, 0},
    {82, 8, 84, 13, 0, 0},
    {83, 8, 13, 13, 0, 0},
    {84, 8, 17, 16, 0, 0},
    {85, 8, 15, 16, 0, 0},
    {86, 8, 16, 16, 0, 0},
    {87, 8, 16, 16, 0, 0},
    {88, 8, 48, 21, 24, 10},
    {89, 8, 50, 21, 0, 0},
    {90, 8, 46, 21, 23, 10},
    {91, 8, 72, 21, 36, 10},
    {92, 8, 56, 21, 0, 0},
    {93, 8, 127, 21, 63, 10},
    {94, 8, 58, 21, 29, 10},
    {95, 8, 137, 31, 0, 0},
    {96, 8, 79, 11, 39, 0},
    {97, 8, 14, 14, 0, 0},
    {98, 8, 14, 14, 0, 0},
    {99, 8, 14, 14, 0, 0},
    {100, 8, 63, 19, 0, 0},
    {101, 8, 12, 20, 0, 10},
    {102, 8, 64, 6, 0, 3},
    {103, 8, 6, 9, 3, 4.5f},
    {104, 8, 14, 15, 7, 7.5f},
    {105, 8, 9, 8, 4.5f, 4},
    {106, 8, 100, 26, 50, 0},
    {107, 8, 134, 13, 67, 0},
    {108, 8, 181, 13, 90, 0},
    {109, 8, 174, 13, 87, 0},
    {110, 8, 13, 23, 1, 0},
    {111, 8, 256, 256, 0, 0},
    // Slot 9, art/opening.
    {117, 9, 256, 192, 0, 0},
    {118, 9, 16, 22, 8, 22},
    {119, 9, 40, 40, 20, 20},
    {120, 9, 10, 40, 0, 20},
    {121, 9, 10, 16, 5, 8},
    {122, 9, 30, 5, 15, 2.5f},
    {123, 9, 21, 25, 10.5f, 12.5f},
    {124, 9, 17, 27, 10.5f, 14.5f},
    {125, 9, 21, 25, 10.5f, 12.5f},
    {126, 9, 4, 12, 2, 6},
    // Slot 10, art/closing.
    {127, 10, 256, 192, 0, 0},
    // Slot 1: the computer opponents.
    {128, 1, 17, 25, 8.5f, 12.5f},
    {129, 1, 13, 27, 6.5f, 14.5f},
    {130, 1, 18, 24, 9, 12},
    {131, 1, 18, 24, 9, 12},
    {132, 1, 13, 29, 6.5f, 14.5f},
    {133, 1, 12, 24, 6, 12},
    {134, 1, 15, 25, 7.5f, 12.5f},
    {135, 1, 15, 25, 7.5f, 12.5f},
    {136, 1, 7, 21, 5, 10.5f},
    {137, 1, 10, 21, 5, 10.5f},
    {138, 1, 11, 5, 5.5f, 2.5f},
    {139, 1, 9, 8, 4.5f, 4},
    {140, 1, 11, 8, 6.5f, 4},
    {141, 1, 23, 17, 11.5f, 8.5f},
    {142, 1, 17, 25, 8.5f, 12.5f},
    {143, 1, 21, 25, 10.5f, 12.5f},
    {144, 1, 28, 22, 13, 11},
    {145, 1, 28, 22, 13, 11},
    {146, 1, 19, 25, 9.5f, 12.5f},
    {147, 1, 25, 25, 12.5f, 12.5f},
    {148, 1, 10, 13, 5, 6.5f},
    {149, 1, 21, 25, 11.5f, 11.5f},
    {150, 1, 21, 25, 9.5f, 11.5f},
    // Slot 11, art/diving.
    {151, 11, 256, 192, 0, 0},
    {152, 11, 17, 25, 8.5f, 12.5f},
    {153, 11, 11, 29, 5.5f, 16.5f},
    {154, 11, 9, 7, 0, 7},
    {155, 11, 11, 11, 1, 11},
    // Slot 12, art/javelin.
    {156, 12, 32, 2, 16, 1},
    {157, 12, 17, 25, 8.5f, 12.5f},
    {158, 12, 17, 25, 8.5f, 12.5f},
    {159, 12, 2, 20, 0, 0},
    // Slot 13, art/equis.
    {160, 13, 35, 22, 15, 14.5f},
    {161, 13, 35, 22, 15, 14.5f},
    {162, 13, 18, 25, 7.5f, 12.5f},
    {163, 13, 2, 20, 0, 0},
    {164, 13, 5, 3, 0, 3},
    {165, 13, 106, 4, 0, 2},
    {166, 13, 14, 14, 0, 0},
    {167, 13, 8, 8, 0, 0},
    // Slot 14, art/sprint.
    {168, 14, 21, 25, 10.5f, 12.5f},
    {169, 14, 23, 25, 11.5f, 12.5f},
    {170, 14, 19, 25, 6, 12.5f},
    {171, 14, 2, 20, 0, 0},
    {172, 14, 5, 3, 0, 3},
    {173, 14, 21, 25, 10.5f, 12.5f},
    {174, 14, 21, 25, 10.5f, 12.5f},
    {175, 14, 72, 80, 36, 80},
    {176, 14, 21, 5, 10.5f, -7.5f},
    {177, 14, 21, 5, 10.5f, -7.5f},
    {178, 14, 19, 10, 6, -2.5f},
    {179, 14, 11, 24, 4, 12},
    {180, 14, 11, 24, 4, 12},
    {181, 14, 11, 28, 4, 16},
    {182, 14, 11, 34, 4, 22},
    // Slot 15, art/rings.
    {183, 15, 256, 192, 0, 0},
    {184, 15, 9, 26, 4.5f, 13},
    {185, 15, 16, 4, 8, 2},
    {186, 15, 32, 1, 0, 0.5f},
    {187, 15, 6, 6, 3, 3},
    {188, 15, 70, 39, 0, 0},
    {189, 15, 70, 39, 0, 0},
    {190, 15, 70, 39, 0, 0},
    {191, 15, 53, 21, -5, -8},
    // Slot 16, art/highjump.
    {192, 16, 256, 192, 0, 0},
    {193, 16, 13, 28, 6.5f, 14.5f},
    {194, 16, 15, 28, 6.5f, 14.5f},
    {195, 16, 8, 8, 4, 4},
    {196, 16, 17, 16, 8, 8},
    // Slot 17, art/weightlifting.
    {197, 17, 256, 192, 0, 0},
    {198, 17, 18, 27, 9, 13.5f},
    {199, 17, 18, 27, 9, 13.5f},
    {200, 17, 18, 27, 9, 13.5f},
    {201, 17, 18, 27, 9, 13.5f},
    {202, 17, 80, 13, 40, 6.5f},
    // Slot 18, art/shotput.
    {203, 18, 256, 192, 0, 0},
    {204, 18, 13, 28, 6.5f, 16},
    {205, 18, 5, 5, 2.5f, 2.5f},
    {206, 18, 88, 16, 41, 2},
    {207, 18, 7, 3, 3.5f, 1},
    // Slot 22, art/velo.
    {208, 22, 256, 192, 0, 0},
    {209, 22, 19, 17, 10, 8.5f},
    {210, 22, 19, 17, 10, 8.5f},
    {211, 22, 19, 21, 10, 12.5f},
    // Slot 20, art/swimming.
    {212, 20, 256, 192, 0, 0},
    {213, 20, 9, 24, 4, 12},
    {214, 20, 23, 2, 11.5f, 1},
    {215, 20, 9, 1, 4, -1},
    {216, 20, 16, 24, 8, 12},
    {217, 20, 18, 24, 8, 12},
    // Slot 21, art/hammer.
    {218, 21, 256, 192, 0, 0},
    {219, 21, 23, 15, 6.5f, 7.5f},
    {220, 21, 112, 112, 56, 56},
    {221, 21, 5, 5, 2.5f, 2.5f},
    {222, 21, 20, 1, 0, 0.5f},
    {223, 21, 24, 7, 1.5f, 4},
    {224, 21, 16, 24, 8, 12},
    // Slot 19, art/rowing.
    {225, 19, 15, 15, 0, 0},
    {226, 19, 10, 4, 15, 2},
    {227, 19, 21, 4, 6, 2},
    {228, 19, 78, 7, 0, 0},
    {229, 19, 26, 100, 0, 0},
    {230, 19, 11, 13, 5.5f, 7.5f},
    {231, 19, 8, 3, 2.5f, 0.5f},
    {232, 19, 30, 60, 0, 0},
    // Slot 24, art/pvbackground.
    {233, 24, 128, 64, 0, 64},
    // Slot 16: high jump pieces.
    {234, 16, 8, 24, 4, 12},
    {235, 16, 8, 24, 4, 12},
    {236, 16, 13, 4, 0, 2},
    {237, 16, 96, 2, 48, 1},
    // Slot 23, art/archery.
    {238, 23, 256, 192, 0, 0},
    {239, 23, 17, 24, 4.5f, 12},
    {240, 23, 11, 23, -5.5f, 17},
    {241, 23, 18, 23, 2.5f, 17},
    {242, 23, 57, 9, 25.5f, 4.5f},
    {243, 23, 17, 54, 4.5f, 22.5f},
    // Slot 20: swimming pieces.
    {244, 20, 40, 13, 20, 6.5f},
    {245, 20, 4, 34, 2, 17},
    {246, 20, 5, 5, 2.5f, 2.5f},
    {247, 20, 32, 32, 0, 0},
    {248, 20, 32, 32, 0, 0},
    {249, 20, 32, 32, 0, 0},
    {250, 20, 32, 32, 0, 0},
};

inline constexpr int kLayoutCount = int(sizeof(kLayout) / sizeof(kLayout[0]));
static_assert(kLayoutCount == 234, "the atlas lists 234 sprites");

// The game's atlas table has one row per sprite number 0..250; unlisted numbers are empty rows.
inline constexpr int kAtlasRows = 251;
static_assert(kLayout[kLayoutCount - 1].id == kAtlasRows - 1);

// Texture slots and their sheets. A sheet with a backdrop keeps it at (0, 64).
inline constexpr int kFlagSheetW = 512; // px
inline constexpr int kFlagSheetH = 1024;

struct SheetInfo {
    int slot;
    const char* base; // file name in art/ without extension
    int width;        // px
    int height;       // px
};

inline constexpr SheetInfo kSheets[] = {
    {0, "c64", 128, 128},          {1, "sprites", 1024, 128},
    {2, "eventlabels2", 128, 256}, {3, "flags", kFlagSheetW, kFlagSheetH},
    {4, "logo", 1024, 512},        {5, "mm", 256, 256},
    {8, "buttons2", 1024, 256},    {9, "opening", 512, 256},
    {10, "closing", 256, 256},     {11, "diving", 512, 256},
    {12, "javelin", 256, 256},     {13, "equis", 256, 256},
    {14, "sprint", 256, 256},      {15, "rings", 512, 256},
    {16, "highjump", 512, 256},    {17, "weightlifting", 512, 256},
    {18, "shotput", 512, 256},     {19, "rowing", 256, 256},
    {20, "swimming", 512, 256},    {21, "hammer", 512, 256},
    {22, "velo", 512, 256},        {23, "archery", 512, 256},
    {24, "pvbackground", 128, 64},
};

inline constexpr int kSheetCount = int(sizeof(kSheets) / sizeof(kSheets[0]));

// Event and ceremony backdrops: 256x192, cut from their sheet at (0, 64).
inline constexpr int kBackdropX = 0;
inline constexpr int kBackdropY = 64;
inline constexpr bool IsBackdrop(const LayoutRow& row) {
    return row.width == 256 && row.height == 192 && row.slot >= 9;
}

// The progress bar's fill: a fixed 400x32 block in the bottom right of art/sprites that the HUD
// samples directly (texture coordinates u 0.5.., v 0.75..1).
inline constexpr int kBarFillX = 512;
inline constexpr int kBarFillY = 96;
inline constexpr int kBarFillW = 400;
inline constexpr int kBarFillH = 32;

// The flag sheet grid: four column groups of countries, 23 px per row, 32 px per layer cell, so
// 128 px per group (three layers and the empty cell a blend draws after the last). The sheet's
// size is kFlagSheetW x kFlagSheetH, above.
inline constexpr int kCountryCount = 169;
inline constexpr int kFlagW = 30;
inline constexpr int kFlagH = 18;
struct FlagGroup {
    int first; // first country index of the group
    int x;     // px
};
inline constexpr FlagGroup kFlagGroups[] = {{0, 2}, {44, 130}, {88, 258}, {130, 386}};
inline constexpr int kFlagTop = 2;
inline constexpr int kFlagRowStep = 23;
inline constexpr int kFlagLayerStep = 32;

inline constexpr int FlagCellX(int country, int layer) {
    int g = 3;
    while (g > 0 && country < kFlagGroups[g].first)
        --g;
    return kFlagGroups[g].x + kFlagLayerStep * layer;
}
inline constexpr int FlagCellY(int country) {
    int g = 3;
    while (g > 0 && country < kFlagGroups[g].first)
        --g;
    return kFlagTop + kFlagRowStep * (country - kFlagGroups[g].first);
}

} // namespace artgen
