#include "packer.h"

#include <algorithm>
#include <cstdint>

namespace artgen {

namespace {

// Occupancy of the sheet with a summed-area table for constant-time "is this area free" checks.
class Occupancy {
  public:
    Occupancy(int w, int h)
        : width(w), height(h), used(size_t(w) * size_t(h), 0), sums(size_t(w + 1) * size_t(h + 1), 0) {}

    void Mark(int x, int y, int w, int h) {
        const int x0 = std::max(0, x), y0 = std::max(0, y);
        const int x1 = std::min(width, x + w), y1 = std::min(height, y + h);
        for (int j = y0; j < y1; ++j)
            for (int i = x0; i < x1; ++i)
                used[size_t(j) * width + i] = 1;
        Rebuild();
    }

    // Number of used pixels in the rectangle, which must lie inside the sheet.
    int Count(int x, int y, int w, int h) const {
        return int(Sum(x + w, y + h) - Sum(x, y + h) - Sum(x + w, y) + Sum(x, y));
    }

  private:
    uint32_t Sum(int x, int y) const { return sums[size_t(y) * (width + 1) + x]; }
    void Rebuild() {
        for (int j = 0; j < height; ++j) {
            uint32_t row = 0;
            for (int i = 0; i < width; ++i) {
                row += used[size_t(j) * width + i];
                sums[size_t(j + 1) * (width + 1) + i + 1] = sums[size_t(j) * (width + 1) + i + 1] + row;
            }
        }
    }

    int width;
    int height;
    std::vector<uint8_t> used;
    std::vector<uint32_t> sums;
};

} // namespace

bool PackSheet(int sheetWidth, int sheetHeight, std::vector<PackRect>& rects, std::string& error) {
    Occupancy occupancy(sheetWidth, sheetHeight);
    for (const PackRect& r : rects) {
        if (!r.fixed) continue;
        if (r.x < 0 || r.y < 0 || r.x + r.width > sheetWidth || r.y + r.height > sheetHeight) {
            error = "fixed rectangle of sprite " + std::to_string(r.id) + " lies outside its sheet";
            return false;
        }
        occupancy.Mark(r.x - kPackGap, r.y - kPackGap, r.width + 2 * kPackGap, r.height + 2 * kPackGap);
    }
    std::vector<PackRect*> order;
    for (PackRect& r : rects)
        if (!r.fixed) order.push_back(&r);
    std::stable_sort(order.begin(), order.end(), [](const PackRect* a, const PackRect* b) {
        if (a->height != b->height) return a->height > b->height;
        if (a->width != b->width) return a->width > b->width;
        return a->id < b->id;
    });
    for (PackRect* r : order) {
        bool placed = false;
        for (int y = 0; y + r->height <= sheetHeight && !placed; ++y) {
            const int h = std::min(r->height + kPackGap, sheetHeight - y);
            for (int x = 0; x + r->width <= sheetWidth; ++x) {
                const int w = std::min(r->width + kPackGap, sheetWidth - x);
                if (occupancy.Count(x, y, w, h) == 0) {
                    r->x = x;
                    r->y = y;
                    placed = true;
                    break;
                }
            }
        }
        if (!placed) {
            error = "sprite " + std::to_string(r->id) + " (" + std::to_string(r->width) + "x" +
                    std::to_string(r->height) + ") does not fit in its " + std::to_string(sheetWidth) + "x" +
                    std::to_string(sheetHeight) + " sheet";
            return false;
        }
        occupancy.Mark(r->x, r->y, r->width + kPackGap, r->height + kPackGap);
    }
    return true;
}

} // namespace artgen
