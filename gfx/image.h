// Images in memory and the loaders that make them from the art folder.
#pragma once

#include <cstddef>
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

// Largest pixel count (width x height) a decoder accepts, 64 Mi pixels (256 MB) by default. A
// header claiming more is refused before anything is allocated; hosts that decode untrusted
// input in bulk (the fuzzers) lower it.
constexpr size_t kDefaultImagePixelLimit = size_t{8192} * 8192;
void SetImagePixelLimit(size_t pixels);
size_t ImagePixelLimit();

// True when a decoder may allocate an image of w x h: both sides in 1..kMaxImageSide and the
// product within ImagePixelLimit().
bool ImageSizeAllowed(long w, long h);

// Loads by base name ("art\sprites") trying .tga, .jpg, .png, .gif in that order, or by full name
// (only the decoder of that extension). Null when nothing decodes. The caller owns the result.
Image* LoadImage(const char* path);

// The decoders, each given a full file name and reading through FileOpen/FileRead, so a
// registered FileProvider serves them. Damaged, truncated or hostile files give null.
// TGA: only uncompressed 32-bit with descriptor 0x28 (top-left origin, 8 alpha bits).
// GIF: the first image; the transparent index gives 0 (transparent black), and so does any index
// beyond the colour table. Rows after an early end of the LZW data stay transparent black.
Image* LoadTga(const char* path);
Image* LoadJpeg(const char* path);
Image* LoadPng(const char* path);
Image* LoadGif(const char* path);

// Writes the image as RGBA PNG with its rows in reverse order (the file's top row is the image's
// last row), so OpenGL's bottom-up screen rows come out upright. True on success.
bool WritePng(const char* path, const Image& image);

} // namespace kel
