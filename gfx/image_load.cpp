// LoadImage: picks decoders by extension, trying the known ones in a fixed order for a base name.
#include "gfx/image.h"

#include <cctype>
#include <cstring>
#include <string>

namespace kel {

namespace {

size_t gPixelLimit = kDefaultImagePixelLimit;

using Decoder = Image* (*)(const char* path);

struct Format {
    const char* extension; // lower case, with the dot
    Decoder decode;        // null: known extension without a decoder
};

// The search order for a base name.
constexpr Format kFormats[] = {
    {".tga", LoadTga}, {".jpg", LoadJpeg}, {".png", LoadPng},
    {".gif", LoadGif}, {".j2k", nullptr},  {".jp2", nullptr},
};

bool EqualsNoCase(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

void SetImagePixelLimit(size_t pixels) {
    gPixelLimit = pixels;
}
size_t ImagePixelLimit() {
    return gPixelLimit;
}

bool ImageSizeAllowed(long w, long h) {
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    return static_cast<size_t>(w) * static_cast<size_t>(h) <= gPixelLimit;
}

Image* LoadImage(const char* path) {
    if (!path) return nullptr;
    const std::string full = path;
    // A dot belongs to the extension only when it follows the last separator of either kind:
    // "art.old\logo" has none.
    const size_t dot = full.rfind('.');
    const size_t separator = full.find_last_of("\\/");
    std::string base = full;
    std::string extension;
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) {
        base = full.substr(0, dot);
        extension = full.substr(dot);
    }
    for (const Format& format : kFormats) {
        if (!extension.empty() && !EqualsNoCase(extension, format.extension)) continue;
        if (!format.decode) continue;
        const std::string name = base + format.extension;
        if (Image* image = format.decode(name.c_str())) return image;
    }
    return nullptr;
}

} // namespace kel
