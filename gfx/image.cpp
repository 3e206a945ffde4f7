#include "gfx/image.h"

#include <cstdlib>

namespace kel {

Image::Image(int w, int h) { Allocate(w, h); }

Image::~Image() { std::free(pixels); }

bool Image::Allocate(int w, int h) {
    std::free(pixels);
    pixels = nullptr;
    width = 0;
    height = 0;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(w) * static_cast<size_t>(h), sizeof(uint32_t)));
    if (!pixels) return false;
    width = w;
    height = h;
    return true;
}

} // namespace kel
