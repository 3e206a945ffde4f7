// Deterministic placement of sprites inside a sheet. Fixed rectangles (backdrops, the bar fill)
// are reserved first; the rest go, tallest first, to the top-most then left-most free place,
// kept kPackGap px apart so nearest sampling never picks up a neighbour.
#pragma once

#include <string>
#include <vector>

namespace artgen {

inline constexpr int kPackGap = 2; // px of clear space between packed rectangles

struct PackRect {
    int id = 0;     // sprite id, or -1 for a reserved area
    int width = 0;  // px
    int height = 0; // px
    int x = -1;     // px; set by the caller for fixed rectangles, by PackSheet otherwise
    int y = -1;
    bool fixed = false;
};

// Places every non-fixed rectangle. False (with a message) when something does not fit.
bool PackSheet(int sheetWidth, int sheetHeight, std::vector<PackRect>& rects, std::string& error);

} // namespace artgen
