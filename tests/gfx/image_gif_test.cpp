// GIF decoding: files built here by a small LZW encoder that mirrors the decoder's code-size
// rules, served through an in-memory provider.
//
// Sections: LZW encoder; GIF container; well-formed files; early end of decoding; damaged
// containers.
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace kel {
namespace {

constexpr uint32_t Opaque(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// ---- LZW encoder

struct LzwOptions {
    int minCodeSize = 8;
    bool compress = true;      // false: every index as a literal code
    bool clearWhenFull = true; // false: let the table fill up
    bool leadingClear = true;
};

class BitWriter {
  public:
    void Put(int code, int size) {
        bits |= static_cast<uint64_t>(code) << held;
        held += size;
        while (held >= 8) {
            bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
            bits >>= 8;
            held -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (held > 0) bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
        held = 0;
        return bytes;
    }

  private:
    uint64_t bits = 0;
    int held = 0;
    std::vector<uint8_t> bytes;
};

// Codes are written in raw form by Put (clear, end, or any code a test wants to inject).
class LzwEncoder {
  public:
    explicit LzwEncoder(LzwOptions options) : options(options) {
        clear = 1 << options.minCodeSize;
        Reset();
    }

    void Reset() {
        codeSize = options.minCodeSize + 1;
        decoderNext = clear + 2;
        codesSinceClear = 0;
        table.clear();
    }
    void Clear() {
        writer.Put(clear, codeSize);
        Reset();
    }
    // A data code: the decoder adds a table entry for every one but the first after a clear.
    void Emit(int code) {
        writer.Put(code, codeSize);
        if (codesSinceClear++ > 0 && decoderNext < 4096) {
            ++decoderNext;
            if ((decoderNext & ((1 << codeSize) - 1)) == 0 && decoderNext < 4096) ++codeSize;
        }
        if (decoderNext >= 4096 && options.clearWhenFull) Clear();
    }
    void Encode(const std::vector<uint8_t>& indices) {
        if (options.leadingClear) Clear();
        int w = -1;
        for (uint8_t c : indices) {
            if (!options.compress) {
                Emit(c);
                continue;
            }
            if (w < 0) {
                w = c;
                continue;
            }
            auto it = table.find({w, c});
            if (it != table.end()) {
                w = it->second;
                continue;
            }
            const int added = clear + 2 + codesSinceClear; // the entry this emission creates
            const int before = codesSinceClear;
            Emit(w);
            if (codesSinceClear > before && added < 4096) table[{w, c}] = added;
            w = c;
        }
        if (w >= 0) Emit(w);
    }
    std::vector<uint8_t> Finish(bool endCode = true) {
        if (endCode) writer.Put(clear + 1, codeSize);
        return writer.Finish();
    }
    BitWriter& Writer() { return writer; }
    int CodeSize() const { return codeSize; }
    int DecoderNext() const { return decoderNext; }

  private:
    LzwOptions options;
    int clear = 0;
    int codeSize = 0;
    int decoderNext = 0;
    int codesSinceClear = 0;
    std::map<std::pair<int, int>, int> table;
    BitWriter writer;
};

// ---- GIF container

struct GifFile {
    int width = 1;
    int height = 1;
    std::vector<uint32_t> globalTable; // RGB as 0xRRGGBB; size a power of two >= 2
    std::vector<uint32_t> localTable;
    bool interlaced = false;
    int transparentIndex = -1;
    int minCodeSize = 8;
    std::vector<uint8_t> lzw; // packed code bytes, split into sub-blocks here
    bool trailer = true;
};

int TableBits(size_t entries) {
    int bits = 0;
    while ((size_t{2} << bits) < entries)
        ++bits;
    return bits;
}

void PutTable(std::vector<uint8_t>& out, const std::vector<uint32_t>& table) {
    const size_t entries = size_t{2} << TableBits(table.size());
    for (size_t i = 0; i < entries; ++i) {
        const uint32_t c = i < table.size() ? table[i] : 0;
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c));
    }
}

void Put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

std::vector<uint8_t> BuildGif(const GifFile& gif) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, gif.width);
    Put16(out, gif.height);
    out.push_back(gif.globalTable.empty() ? 0
                                          : static_cast<uint8_t>(0x80 | TableBits(gif.globalTable.size())));
    out.push_back(0);
    out.push_back(0);
    if (!gif.globalTable.empty()) PutTable(out, gif.globalTable);
    // An application block and a comment to skip on the way.
    const char app[] = "NETSCAPE2.0";
    out.insert(out.end(), {0x21, 0xFF, 11});
    out.insert(out.end(), app, app + 11);
    out.insert(out.end(), {3, 1, 0, 0, 0});
    out.insert(out.end(), {0x21, 0xFE, 2, 'h', 'i', 0});
    if (gif.transparentIndex >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(gif.transparentIndex), 0});
    out.push_back(',');
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, gif.width);
    Put16(out, gif.height);
    uint8_t flags = gif.interlaced ? 0x40 : 0;
    if (!gif.localTable.empty()) flags |= static_cast<uint8_t>(0x80 | TableBits(gif.localTable.size()));
    out.push_back(flags);
    if (!gif.localTable.empty()) PutTable(out, gif.localTable);
    out.push_back(static_cast<uint8_t>(gif.minCodeSize));
    for (size_t i = 0; i < gif.lzw.size(); i += 255) {
        const size_t n = std::min<size_t>(255, gif.lzw.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), gif.lzw.begin() + static_cast<long>(i),
                   gif.lzw.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    if (gif.trailer) out.push_back(';');
    return out;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& indices, LzwOptions options = {}) {
    LzwEncoder encoder(options);
    encoder.Encode(indices);
    return encoder.Finish();
}

std::vector<uint32_t> Greys(int count) {
    std::vector<uint32_t> table;
    for (int i = 0; i < count; ++i)
        table.push_back(static_cast<uint32_t>(i * 0x010101));
    return table;
}

class GifTest : public ::testing::Test {
  protected:
    std::unique_ptr<Image> Load(const std::vector<uint8_t>& bytes) {
        memory.Add("t.gif", bytes);
        std::unique_ptr<Image> image(LoadGif("t.gif"));
        EXPECT_EQ(memory.OpenHandles(), 0);
        return image;
    }

    MemoryFileProvider memory;
    ScopedFileProvider scope{&memory};
};

// ---- Well-formed files

TEST_F(GifTest, CompressedImageRoundTripsThroughClearsAndCodeGrowth) {
    // 256 colours over 30000 pixels with runs and repeats: codes grow to 12 bits, the table
    // fills and is cleared several times, and runs produce the code-equals-next case.
    GifFile gif;
    gif.width = 200;
    gif.height = 150;
    gif.globalTable = Greys(256);
    std::vector<uint8_t> indices;
    uint32_t s = 12345;
    while (indices.size() < 30000) {
        s = s * 214013u + 2531011u;
        const size_t run = (s >> 16) % 9 + 1;
        for (size_t i = 0; i < run && indices.size() < 30000; ++i)
            indices.push_back(static_cast<uint8_t>(s >> 24));
    }
    gif.lzw = Encode(indices);
    auto image = Load(BuildGif(gif));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 200);
    ASSERT_EQ(image->height, 150);
    for (size_t i = 0; i < indices.size(); ++i)
        ASSERT_EQ(image->pixels[i], 0xFF000000u | static_cast<uint32_t>(indices[i] * 0x010101))
            << "pixel " << i;
}

TEST_F(GifTest, SmallCodeSizeLongRunsAndBgraBytes) {
    GifFile gif;
    gif.width = 64;
    gif.height = 64;
    gif.minCodeSize = 2;
    gif.globalTable = {0x102030, 0x00FF00, 0x0000FF, 0xFFFFFF};
    std::vector<uint8_t> indices(64 * 64, 1);
    for (int i = 0; i < 64; ++i)
        indices[static_cast<size_t>(i) * 65] = 3;
    indices[1] = 0;
    LzwOptions options;
    options.minCodeSize = 2;
    gif.lzw = Encode(indices, options);
    auto image = Load(BuildGif(gif));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], Opaque(255, 255, 255));
    EXPECT_EQ(image->pixels[2], Opaque(0, 255, 0));
    EXPECT_EQ(image->pixels[65], Opaque(255, 255, 255));
    EXPECT_EQ(image->pixels[64 * 64 - 1], Opaque(255, 255, 255));
    const auto* bytes = reinterpret_cast<const uint8_t*>(&image->pixels[1]);
    EXPECT_EQ(bytes[0], 0x30);
    EXPECT_EQ(bytes[1], 0x20);
    EXPECT_EQ(bytes[2], 0x10);
    EXPECT_EQ(bytes[3], 0xFF);
}

TEST_F(GifTest, TransparentIndexGivesZeroPixelsAndInterlacedRowsFollowTheFourPasses) {
    GifFile gif;
    gif.width = 1;
    gif.height = 10;
    gif.interlaced = true;
    gif.globalTable = Greys(16);
    gif.globalTable[5] = 0xABCDEF;
    gif.transparentIndex = 5;
    // The k-th row in the file carries index k.
    gif.lzw = Encode({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    auto image = Load(BuildGif(gif));
    ASSERT_TRUE(image);
    const int fileOrder[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int k = 0; k < 10; ++k) {
        const uint8_t v = static_cast<uint8_t>(k);
        EXPECT_EQ(image->pixels[fileOrder[k]], k == 5 ? 0u : Opaque(v, v, v)) << "row " << fileOrder[k];
    }
}

TEST_F(GifTest, ColourTablesLocalOverGlobalAndMissingEntriesTransparentBlack) {
    struct Case {
        std::vector<uint32_t> global, local;
        std::vector<uint8_t> indices;
        std::vector<uint32_t> want;
    };
    const Case cases[] = {
        {{0x111111, 0x222222}, {0xAA0000, 0x00BB00, 0x0000CC, 0}, {2, 1}, {Opaque(0, 0, 0xCC), Opaque(0, 0xBB, 0)}},
        {{0x101010, 0x202020}, {}, {1, 7, 200}, {Opaque(0x20, 0x20, 0x20), 0u, 0u}},
        {{}, {}, {1, 2}, {0u, 0u}},
    };
    for (const Case& c : cases) {
        GifFile gif;
        gif.width = static_cast<int>(c.indices.size());
        gif.globalTable = c.global;
        gif.localTable = c.local;
        gif.lzw = Encode(c.indices);
        auto image = Load(BuildGif(gif));
        ASSERT_TRUE(image);
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(image->pixels[i], c.want[i]) << "case " << (&c - cases) << " pixel " << i;
    }
}

// ---- Early end of decoding

// Each damaged code stream keeps the pixels decoded before it and leaves the rest transparent.
TEST_F(GifTest, ADamagedCodeStreamStopsDecodingWhereItBreaks) {
    // Literal codes only, never cleared: with 256 literals the decoder adds entries 258..4095
    // for codes 1..3838 and stops at code 3839.
    std::vector<uint8_t> literals(5000);
    for (size_t i = 0; i < literals.size(); ++i)
        literals[i] = static_cast<uint8_t>(i % 256);
    LzwOptions noClear;
    noClear.compress = false;
    noClear.clearWhenFull = false;

    LzwEncoder beyond({});
    beyond.Clear();
    beyond.Emit(1);
    beyond.Emit(2);
    beyond.Emit(3);
    beyond.Writer().Put(400, beyond.CodeSize()); // next code is 260
    beyond.Emit(4);

    // After a clear the next code is 258; sending 258 (equal to next, but with no previous
    // string) must not read stale table entries.
    LzwEncoder stale({});
    stale.Clear();
    stale.Emit(7);
    stale.Emit(7);
    stale.Emit(258); // "7 7" from the table
    stale.Clear();
    stale.Writer().Put(258, stale.CodeSize());

    struct Case {
        const char* what;
        std::vector<uint8_t> lzw;
        size_t decoded;
        uint8_t last; // the index of the last decoded pixel
    };
    const Case cases[] = {
        {"full table without a clear", Encode(literals, noClear), 3839, 3838 % 256},
        {"code beyond the table", beyond.Finish(), 3, 3},
        {"string code right after a clear", stale.Finish(), 4, 7},
        {"end code after 5 pixels", Encode({1, 2, 3, 0, 1}), 5, 1},
        {"no data sub-blocks", {}, 0, 0},
    };
    for (const Case& c : cases) {
        GifFile gif;
        gif.width = 100;
        gif.height = 50;
        gif.globalTable = Greys(256);
        gif.globalTable[0] = 0x0000FF; // keep every decoded pixel non-zero
        gif.lzw = c.lzw;
        auto image = Load(BuildGif(gif));
        ASSERT_TRUE(image) << c.what;
        const size_t total = 100 * 50;
        size_t n = 0;
        while (n < total && image->pixels[n] != 0)
            ++n;
        EXPECT_EQ(n, c.decoded) << c.what;
        for (size_t i = n; i < total; ++i)
            ASSERT_EQ(image->pixels[i], 0u) << c.what << ", pixel " << i;
        if (n > 0) {
            EXPECT_EQ(image->pixels[n - 1], Opaque(c.last, c.last, c.last)) << c.what;
        }
    }
}

// ---- Damaged containers

TEST_F(GifTest, HostileContainersAreRefused) {
    GifFile good;
    good.globalTable = Greys(2);
    good.lzw = Encode({1});
    const std::vector<uint8_t> bytes = BuildGif(good);
    ASSERT_TRUE(Load(bytes));

    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    cases.emplace_back("empty", std::vector<uint8_t>{});
    std::vector<uint8_t> wrong = bytes;
    wrong[4] = '8'; // "GIF88"
    cases.emplace_back("GIF88", wrong);
    std::vector<uint8_t> noImage(bytes.begin(), bytes.begin() + 13 + 6);
    noImage.push_back(';');
    cases.emplace_back("a trailer before any image", noImage);
    for (const auto& [w, h] :
         {std::pair{0, 5}, std::pair{5, 0}, std::pair{65535, 65535}, std::pair{kMaxImageSide + 1, 1}}) {
        GifFile gif = good;
        gif.width = w;
        gif.height = h;
        cases.emplace_back(std::to_string(w) + "x" + std::to_string(h), BuildGif(gif));
    }
    for (int m : {0, 12, 255}) {
        GifFile gif = good;
        gif.minCodeSize = m;
        gif.lzw = {0xFF, 0xFF, 0xFF};
        cases.emplace_back("code size " + std::to_string(m), BuildGif(gif));
    }
    for (const auto& [what, file] : cases)
        EXPECT_FALSE(Load(file)) << what;
}

} // namespace
} // namespace kel
