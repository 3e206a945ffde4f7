// Prints what a PNG shows, for the real-window tests: size, distinct colours (up to 4096) and the
// share of pixels that are not near-black, using the game's own image loader; with X Y, the red,
// green and blue of that pixel instead.
#include "gfx/image.h"

#include <cstdio>
#include <cstdlib>
#include <set>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: png_probe FILE.png [X Y]\n");
        return 2;
    }
    kel::Image* image = kel::LoadImage(argv[1]);
    if (!image) {
        std::fprintf(stderr, "png_probe: can't load %s\n", argv[1]);
        return 1;
    }
    if (argc == 4) {
        const int x = std::atoi(argv[2]);
        const int y = std::atoi(argv[3]);
        if (x < 0 || y < 0 || x >= image->width || y >= image->height) {
            std::fprintf(stderr, "png_probe: %d,%d is outside the image\n", x, y);
            delete image;
            return 1;
        }
        const uint32_t p = image->pixels[static_cast<size_t>(y) * image->width + x];
        std::printf("%u %u %u\n", (p >> 16) & 0xFFu, (p >> 8) & 0xFFu, p & 0xFFu);
        delete image;
        return 0;
    }
    std::set<uint32_t> colours;
    long lit = 0;
    const long count = static_cast<long>(image->width) * image->height;
    for (long i = 0; i < count; ++i) {
        const uint32_t p = image->pixels[i] & 0xFFFFFFu;
        if (colours.size() < 4096) colours.insert(p);
        if ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) > 60) ++lit;
    }
    std::printf("%d %d %zu %.3f\n", image->width, image->height, colours.size(), count ? double(lit) / count : 0.0);
    delete image;
    return 0;
}
