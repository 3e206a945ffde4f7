// Images in memory and the loaders that make them from the art folder.
#pragma once

#include <cstdint>

namespace kel {

// width x height pixels, rows from the top, each pixel the bytes B, G, R, A (0xAARRGGBB read as a
// little-endian u32). Owns its pixels.
class Image {
public:
    Image() = default;
    Image(int w, int h);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Frees any pixels and allocates w x h zeroed ones; false (and an empty image) on failure.
    bool Allocate(int w, int h);

    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
};

// Largest side any decoder accepts; bigger claims in a header are treated as damage.
constexpr int kMaxImageSide = 16384;

// Loads by base name ("art\sprites") trying .tga, .jpg, .png, .gif in that order, or by full name
// (only the decoder of that extension). Null when nothing decodes. The caller owns the result.
Image* LoadImage(const char* path);

// The decoders, each given a full file name.
Image* LoadTga(const char* path);
Image* LoadJpeg(const char* path);
Image* LoadPng(const char* path);
Image* LoadGif(const char* path);

// Writes the image as RGBA PNG with its rows in reverse order (the file's top row is the image's
// last row), so OpenGL's bottom-up screen rows come out upright. True on success.
bool WritePng(const char* path, const Image& image);

} // namespace kel
