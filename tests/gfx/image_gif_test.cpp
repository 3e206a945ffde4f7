// GIF decoding: files built here by a small LZW encoder that mirrors the decoder's code-size
// rules, served through an in-memory provider.
#include "gfx/decoder_test.h"

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

// Mirrors the decoder's code-size rules; Put writes a raw code (clear, end, or a damaged one).
struct Lzw {
    explicit Lzw(int minCodeSize = 8, bool clearWhenFull = true)
        : clear(1 << minCodeSize), minCodeSize(minCodeSize), clearWhenFull(clearWhenFull), codeSize(minCodeSize + 1) {}

    void Put(int code) {
        bits |= static_cast<uint64_t>(code) << held;
        for (held += codeSize; held >= 8; held -= 8, bits >>= 8)
            bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
    }
    void Clear() {
        Put(clear);
        codeSize = minCodeSize + 1;
        decoderNext = clear + 2;
        sinceClear = 0;
        table.clear();
    }
    // A data code: the decoder adds a table entry for every one but the first after a clear.
    void Emit(int code) {
        Put(code);
        if (sinceClear++ > 0 && decoderNext < 4096 && (++decoderNext & ((1 << codeSize) - 1)) == 0 &&
            decoderNext < 4096)
            ++codeSize;
        if (decoderNext >= 4096 && clearWhenFull) Clear();
    }
    Lzw& Encode(const std::vector<uint8_t>& indices) {
        Clear();
        int w = -1;
        for (uint8_t c : indices) {
            if (w >= 0) {
                auto it = table.find({w, c});
                if (it != table.end()) {
                    w = it->second;
                    continue;
                }
                const int added = clear + 2 + sinceClear, before = sinceClear; // the entry this emission makes
                Emit(w);
                if (sinceClear > before && added < 4096) table[{w, c}] = added;
            }
            w = c;
        }
        if (w >= 0) Emit(w);
        return *this;
    }
    std::vector<uint8_t> Finish() {
        Put(clear + 1);
        if (held > 0) bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
        return bytes;
    }

    int clear, minCodeSize;
    bool clearWhenFull;
    int codeSize, decoderNext = 0, sinceClear = 0, held = 0;
    uint64_t bits = 0;
    std::vector<uint8_t> bytes;
    std::map<std::pair<int, int>, int> table;
};

std::vector<uint8_t> Encode(const std::vector<uint8_t>& indices, int minCodeSize = 8) {
    return Lzw(minCodeSize).Encode(indices).Finish();
}

struct GifFile {
    int width = 1, height = 1;
    std::vector<uint32_t> globalTable{}, localTable{}; // RGB as 0xRRGGBB
    bool interlaced = false;
    int transparentIndex = -1;
    int minCodeSize = 8;
    std::vector<uint8_t> lzw{}; // packed code bytes, split into sub-blocks here
};

int TableBits(size_t entries) {
    int bits = 0;
    while ((size_t{2} << bits) < entries)
        ++bits;
    return bits;
}

void PutTable(std::vector<uint8_t>& out, const std::vector<uint32_t>& table) {
    for (size_t i = 0; i < size_t{2} << TableBits(table.size()); ++i)
        for (int shift : {16, 8, 0})
            out.push_back(static_cast<uint8_t>((i < table.size() ? table[i] : 0) >> shift));
}

void Put16(std::vector<uint8_t>& out, int v) { out.insert(out.end(), {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF)}); }

std::vector<uint8_t> BuildGif(const GifFile& gif) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, gif.width);
    Put16(out, gif.height);
    out.insert(out.end(),
               {gif.globalTable.empty() ? uint8_t{0} : uint8_t(0x80 | TableBits(gif.globalTable.size())), 0, 0});
    if (!gif.globalTable.empty()) PutTable(out, gif.globalTable);
    // An application block and a comment to skip on the way.
    static const char kSkipped[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00\x21\xFE\x02hi\x00";
    out.insert(out.end(), kSkipped, kSkipped + sizeof kSkipped - 1);
    if (gif.transparentIndex >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(gif.transparentIndex), 0});
    out.push_back(',');
    out.insert(out.end(), {0, 0, 0, 0});
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
    out.insert(out.end(), {0, ';'});
    return out;
}

std::vector<uint32_t> Greys(int count) {
    std::vector<uint32_t> table;
    for (int i = 0; i < count; ++i) table.push_back(uint32_t(i * 0x010101));
    return table;
}

using GifTest = DecoderTest<LoadGif>;

TEST_F(GifTest, CompressedImageRoundTripsThroughClearsAndCodeGrowth) {
    // Runs and repeats over 30000 pixels: codes grow from the smallest size to 12 bits, the table
    // fills and is cleared several times, and runs produce the code-equals-next case. With four
    // colours the codes start at 3 bits.
    for (const int codeSize : {8, 2}) {
        std::vector<uint8_t> indices;
        uint32_t s = 12345;
        while (indices.size() < 30000) {
            s = s * 214013u + 2531011u;
            const size_t run = (s >> 16) % 9 + 1;
            for (size_t i = 0; i < run && indices.size() < 30000; ++i)
                indices.push_back(static_cast<uint8_t>((s >> 24) % (1u << codeSize)));
        }
        auto image = Load(BuildGif({.width = 200, .height = 150, .globalTable = Greys(1 << codeSize),
                                    .minCodeSize = codeSize, .lzw = Encode(indices, codeSize)}));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width * image->height, 30000);
        for (size_t i = 0; i < indices.size(); ++i)
            ASSERT_EQ(image->pixels[i], Opaque(indices[i], indices[i], indices[i])) << codeSize << ", pixel " << i;
    }
}

TEST_F(GifTest, TransparentIndexGivesZeroPixelsAndInterlacedRowsFollowTheFourPasses) {
    // The k-th row in the file carries index k; index 5 is transparent.
    auto image = Load(BuildGif({.height = 10, .globalTable = Greys(16), .interlaced = true, .transparentIndex = 5,
                                .lzw = Encode({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})}));
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
        auto image = Load(BuildGif(
            {.width = int(c.indices.size()), .globalTable = c.global, .localTable = c.local, .lzw = Encode(c.indices)}));
        ASSERT_TRUE(image);
        for (size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(image->pixels[i], c.want[i]) << "case " << (&c - cases) << " pixel " << i;
    }
}

// Each damaged code stream keeps the pixels decoded before it and leaves the rest transparent.
TEST_F(GifTest, ADamagedCodeStreamStopsDecodingWhereItBreaks) {
    // Literal codes only, never cleared: with 256 literals the decoder adds entries 258..4095
    // for codes 1..3838 and stops at code 3839.
    Lzw full(8, false);
    full.Clear();
    for (int i = 0; i < 5000; ++i)
        full.Emit(i % 256);
    Lzw beyond;
    beyond.Clear();
    for (int code : {1, 2, 3})
        beyond.Emit(code);
    beyond.Put(400); // next code is 260
    beyond.Emit(4);

    // After a clear the next code is 258; sending 258 (equal to next, but with no previous
    // string) must not read stale table entries.
    Lzw stale;
    stale.Clear();
    for (int code : {7, 7, 258}) // 258 is "7 7" from the table
        stale.Emit(code);
    stale.Clear();
    stale.Put(258);

    struct Case {
        const char* what;
        std::vector<uint8_t> lzw;
        size_t decoded;
        uint8_t last; // the index of the last decoded pixel
    };
    const Case cases[] = {
        {"full table without a clear", full.Finish(), 3839, 3838 % 256},
        {"code beyond the table", beyond.Finish(), 3, 3},
        {"string code right after a clear", stale.Finish(), 4, 7},
        {"no data sub-blocks", {}, 0, 0},
    };
    for (const Case& c : cases) {
        GifFile gif{.width = 100, .height = 50, .globalTable = Greys(256), .lzw = c.lzw};
        gif.globalTable[0] = 0x0000FF; // keep every decoded pixel non-zero
        auto image = Load(BuildGif(gif));
        ASSERT_TRUE(image) << c.what;
        const size_t total = 100 * 50;
        size_t n = 0;
        while (n < total && image->pixels[n] != 0)
            ++n;
        EXPECT_EQ(n, c.decoded) << c.what;
        for (size_t i = n; i < total; ++i)
            ASSERT_EQ(image->pixels[i], 0u) << c.what << ", pixel " << i;
        EXPECT_TRUE(n == 0 || image->pixels[n - 1] == Opaque(c.last, c.last, c.last)) << c.what;
    }
}

TEST_F(GifTest, HostileContainersAreRefused) {
    const GifFile good{.globalTable = Greys(2), .lzw = Encode({1})};
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
