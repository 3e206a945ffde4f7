// Prints what a PNG shows, for the real-window tests: size, distinct colours (up to 4096) and the
// share of pixels that are not near-black, using the game's own image loader.
#include "gfx/image.h"

#include <cstdio>
#include <set>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: png_probe FILE.png\n");
        return 2;
    }
    kel::Image* image = kel::LoadImage(argv[1]);
    if (!image) {
        std::fprintf(stderr, "png_probe: can't load %s\n", argv[1]);
        return 1;
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
