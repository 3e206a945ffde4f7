// GIF decoder: the first image of a GIF87a/GIF89a file, LZW-decoded into 32-bit pixels.
//
// Sections: byte input; LZW decoder; container (header, extensions, image descriptor); rows.
//
// Hostile input is stopped at each step: truncated headers give null; inside the LZW data a
// code beyond the table, a string code with no previous code, a full table or an overflowing
// output stack ends decoding, leaving the remaining pixels transparent black.
#include "gfx/image.h"

#include "platform/files.h"
#include "platform/log.h"

#include <memory>

namespace kel {

namespace {

constexpr int kLzwTableSize = 4096;    // codes of at most 12 bits
constexpr int kLzwStackSize = 4097;    // the longest string plus one pending first character
constexpr int kLzwMaxMinCodeSize = 11; // 2^11 literals plus clear and end still fit 12 bits
constexpr int kSubBlockBytes = 256;

// ---- Byte input

int ReadByte(FileHandle* file) {
    uint8_t b = 0;
    return FileRead(&b, 1, 1, file) == 1 ? b : -1;
}

bool ReadExactly(FileHandle* file, void* buffer, size_t bytes) {
    return bytes == 0 || FileRead(buffer, 1, bytes, file) == bytes;
}

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// ---- LZW decoder

class LzwDecoder {
  public:
    LzwDecoder(FileHandle* file, int minCodeSize) : file(file), minCodeSize(minCodeSize) {
        clearCode = 1 << minCodeSize;
        endCode = clearCode + 1;
        for (int i = 0; i < clearCode; ++i)
            suffix[i] = static_cast<uint8_t>(i);
        Reset();
    }

    // The next palette index (0..255), or -1 once decoding has ended.
    int NextIndex() {
        while (stackSize == 0) {
            if (ended || !DecodeCode()) {
                ended = true;
                return -1;
            }
        }
        return stack[--stackSize];
    }

  private:
    void Reset() {
        codeSize = minCodeSize + 1;
        mask = (1 << codeSize) - 1;
        nextCode = clearCode + 2;
        previousCode = -1;
    }

    bool Push(int value) {
        if (stackSize >= kLzwStackSize) return false;
        stack[stackSize++] = static_cast<uint8_t>(value);
        return true;
    }

    // Next byte of the data sub-blocks, or -1 at a zero-length block or the end of the file.
    int NextDataByte() {
        if (blockPos >= blockLength) {
            const int length = ReadByte(file);
            if (length <= 0) return -1;
            blockLength = static_cast<int>(FileRead(block, 1, static_cast<size_t>(length), file));
            blockPos = 0;
            if (blockLength <= 0) return -1;
        }
        return block[blockPos++];
    }

    // Reads one code and pushes the characters it stands for (possibly none, for a clear
    // code). False ends decoding.
    bool DecodeCode() {
        while (heldBits < codeSize) {
            const int b = NextDataByte();
            if (b < 0) return false;
            bits |= static_cast<uint32_t>(b) << heldBits;
            heldBits += 8;
        }
        int code = static_cast<int>(bits & static_cast<uint32_t>(mask));
        bits >>= codeSize;
        heldBits -= codeSize;

        if (code > nextCode || code == endCode) return false;
        if (code == clearCode) {
            Reset();
            return true;
        }
        if (previousCode < 0) {
            // Right after a clear only a literal makes sense; a table code would read entries
            // left over from before the clear (or never written).
            if (code >= clearCode) return false;
            firstChar = suffix[code];
            previousCode = code;
            return Push(firstChar);
        }
        const int incoming = code;
        if (code == nextCode) {
            if (!Push(firstChar)) return false;
            code = previousCode;
        }
        // prefix[k] < k for every entry written, so this walk ends.
        while (code >= clearCode) {
            if (!Push(suffix[code])) return false;
            code = prefix[code];
        }
        firstChar = suffix[code];
        if (nextCode >= kLzwTableSize) return false;
        if (!Push(firstChar)) return false;
        prefix[nextCode] = static_cast<uint16_t>(previousCode);
        suffix[nextCode] = static_cast<uint8_t>(firstChar);
        ++nextCode;
        if ((nextCode & mask) == 0 && nextCode < kLzwTableSize) {
            ++codeSize;
            mask += nextCode;
        }
        previousCode = incoming;
        return true;
    }

    FileHandle* file = nullptr;
    int minCodeSize = 0;
    int clearCode = 0;
    int endCode = 0;
    int codeSize = 0;
    int mask = 0;
    int nextCode = 0;
    int previousCode = -1;
    int firstChar = 0;
    bool ended = false;

    uint32_t bits = 0; // held bits, least significant first
    int heldBits = 0;
    uint8_t block[kSubBlockBytes] = {};
    int blockLength = 0;
    int blockPos = 0;

    uint16_t prefix[kLzwTableSize] = {};
    uint8_t suffix[kLzwTableSize] = {};
    uint8_t stack[kLzwStackSize] = {};
    int stackSize = 0;
};

// ---- Container

constexpr uint8_t kTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr int kExtensionIntroducer = '!';
constexpr int kImageSeparator = ',';
constexpr int kTrailer = ';';
constexpr int kGraphicControlLabel = 0xF9;

// Reads a colour table of 2^((flags & 7) + 1) entries into palette (opaque colours); false when
// the file ends inside it.
bool ReadColourTable(FileHandle* file, uint8_t flags, uint32_t* palette) {
    const int entries = 1 << ((flags & 7) + 1);
    uint8_t rgb[256 * 3];
    if (!ReadExactly(file, rgb, static_cast<size_t>(entries) * 3)) return false;
    for (int i = 0; i < entries; ++i)
        palette[i] = 0xFF000000u | (static_cast<uint32_t>(rgb[i * 3]) << 16) |
                     (static_cast<uint32_t>(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
    return true;
}

// Skips extension blocks up to the image separator, noting the transparent index of a graphic
// control block. False at the trailer or the end of the file.
bool FindImage(FileHandle* file, int* transparentIndex) {
    for (;;) {
        const int introducer = ReadByte(file);
        if (introducer < 0 || introducer == kTrailer) return false;
        if (introducer == kImageSeparator) return true;
        if (introducer != kExtensionIntroducer) continue;
        const int label = ReadByte(file);
        if (label < 0) return false;
        bool firstBlock = true;
        for (;;) {
            const int length = ReadByte(file);
            if (length < 0) return false;
            if (length == 0) break;
            uint8_t data[kSubBlockBytes];
            if (!ReadExactly(file, data, static_cast<size_t>(length))) return false;
            // Graphic control: flags, delay (2 bytes), transparent index.
            if (label == kGraphicControlLabel && firstBlock && length >= 4 && (data[0] & 1))
                *transparentIndex = data[3];
            firstBlock = false;
        }
    }
}

// ---- Rows

// Fills the image row by row in file order (the four interlace passes when interlaced) until
// the rows are full or decoding ends; false when it ended early.
bool DecodeRows(LzwDecoder& lzw, Image& image, bool interlaced, const uint32_t* palette,
                int transparentIndex) {
    struct Pass {
        int start;
        int step;
    };
    static constexpr Pass kSequential[] = {{0, 1}};
    static constexpr Pass kInterlaced[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    const Pass* passes = interlaced ? kInterlaced : kSequential;
    const int passCount = interlaced ? 4 : 1;
    for (int p = 0; p < passCount; ++p) {
        for (int row = passes[p].start; row < image.height; row += passes[p].step) {
            uint32_t* out = image.pixels + static_cast<size_t>(row) * static_cast<size_t>(image.width);
            for (int x = 0; x < image.width; ++x) {
                const int index = lzw.NextIndex();
                if (index < 0) return false;
                out[x] = index == transparentIndex ? 0u : palette[index];
            }
        }
    }
    return true;
}

Image* DecodeGif(FileHandle* file, const char* path) {
    uint8_t signature[6];
    if (!ReadExactly(file, signature, sizeof signature)) return nullptr;
    const bool gif87 = signature[0] == 'G' && signature[1] == 'I' && signature[2] == 'F' &&
                       signature[3] == '8' && (signature[4] == '7' || signature[4] == '9');
    if (!gif87) return nullptr;

    uint8_t screen[7];
    if (!ReadExactly(file, screen, sizeof screen)) return nullptr;
    // Indices beyond the colour table (or with no table at all) stay 0: transparent black.
    uint32_t globalPalette[256] = {};
    if ((screen[4] & kTableFlag) && !ReadColourTable(file, screen[4], globalPalette)) return nullptr;

    int transparentIndex = -1;
    if (!FindImage(file, &transparentIndex)) return nullptr;

    uint8_t descriptor[9];
    if (!ReadExactly(file, descriptor, sizeof descriptor)) return nullptr;
    const int width = Le16(descriptor + 4);
    const int height = Le16(descriptor + 6);
    const uint8_t flags = descriptor[8];
    uint32_t localPalette[256] = {};
    if ((flags & kTableFlag) && !ReadColourTable(file, flags, localPalette)) return nullptr;
    const uint32_t* palette = (flags & kTableFlag) ? localPalette : globalPalette;
    if (!ImageSizeAllowed(width, height)) return nullptr;

    const int minCodeSize = ReadByte(file);
    if (minCodeSize < 1 || minCodeSize > kLzwMaxMinCodeSize) return nullptr;

    std::unique_ptr<Image> image(new Image);
    if (!image->Allocate(width, height)) return nullptr;
    auto lzw = std::make_unique<LzwDecoder>(file, minCodeSize);
    if (!DecodeRows(*lzw, *image, (flags & kInterlaceFlag) != 0, palette, transparentIndex))
        LogDebug("GIF %s: image data ends early", path);
    return image.release();
}

} // namespace

Image* LoadGif(const char* path) {
    FileHandle* file = FileOpen(path, "rb");
    if (!file) return nullptr;
    Image* image = DecodeGif(file, path);
    FileClose(file);
    if (!image) LogDebug("GIF %s: damaged or unsupported", path);
    return image;
}

} // namespace kel
