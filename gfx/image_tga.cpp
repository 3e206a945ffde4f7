// TGA decoder: uncompressed 32-bit true colour with a top-left origin, nothing else.
#include "gfx/image.h"

#include "platform/files.h"
#include "platform/log.h"

#include <cstdio>

namespace kel {

namespace {

constexpr int kTgaHeaderBytes = 18;
constexpr uint8_t kTgaDepth = 32;
constexpr uint8_t kTgaDescriptor = 0x28; // top-left origin, 8 alpha bits

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Bytes between the current position and the end, or -1 when the file cannot tell.
long RemainingBytes(FileHandle* file) {
    const long here = FileTell(file);
    if (here < 0 || FileSeek(file, 0, SEEK_END) != 0) return -1;
    const long end = FileTell(file);
    if (FileSeek(file, here, SEEK_SET) != 0) return -2;
    return end >= here ? end - here : -1;
}

} // namespace

Image* LoadTga(const char* path) {
    FileHandle* file = FileOpen(path, "rb");
    if (!file) return nullptr;
    uint8_t header[kTgaHeaderBytes] = {};
    if (FileRead(header, 1, kTgaHeaderBytes, file) != kTgaHeaderBytes) {
        LogDebug("TGA %s: truncated header", path);
        FileClose(file);
        return nullptr;
    }
    // ID length, colour map and image type are not checked: the one accepted variant has
    // none of them, and depth plus descriptor identify it.
    const int width = Le16(header + 12);
    const int height = Le16(header + 14);
    const uint8_t depth = header[16];
    const uint8_t descriptor = header[17];
    if (depth != kTgaDepth || descriptor != kTgaDescriptor || !ImageSizeAllowed(width, height)) {
        LogDebug("TGA %s: unsupported (depth %d, descriptor 0x%02x, %dx%d)", path, depth, descriptor, width,
                 height);
        FileClose(file);
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    // A header may claim far more than the file holds; refuse before allocating when the file
    // can say how long it is.
    const long remaining = RemainingBytes(file);
    if (remaining == -2 || (remaining >= 0 && static_cast<size_t>(remaining) < bytes)) {
        LogDebug("TGA %s: truncated", path);
        FileClose(file);
        return nullptr;
    }
    auto* image = new Image;
    if (!image->Allocate(width, height) || FileRead(image->pixels, 1, bytes, file) != bytes) {
        LogDebug("TGA %s: truncated", path);
        delete image;
        FileClose(file);
        return nullptr;
    }
    FileClose(file);
    return image;
}

} // namespace kel
