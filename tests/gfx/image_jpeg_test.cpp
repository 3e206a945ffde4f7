// JPEG decoding: files written here with libjpeg into memory.
#include "gfx/decoder_test.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>

namespace kel {
namespace {

struct JpegParams {
    int width = 16, height = 8;
    int components = 3;
    J_COLOR_SPACE space = JCS_RGB;
    bool progressive = false;
};

template <typename Sample> std::vector<uint8_t> WriteJpegBytes(const JpegParams& params, Sample sample) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(params.width);
    info.image_height = static_cast<JDIMENSION>(params.height);
    info.input_components = params.components;
    info.in_color_space = params.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (params.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(params.width * params.components));
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < params.width; ++x)
            for (int c = 0; c < params.components; ++c)
                row[static_cast<size_t>(x * params.components + c)] =
                    sample(x, static_cast<int>(info.next_scanline), c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

uint8_t Flat(int, int, int c) { return c == 0 ? 200 : c == 1 ? 100 : 50; }

// Offset of the first start-of-frame marker's height field, or 0.
size_t FrameSizeOffset(const std::vector<uint8_t>& bytes) {
    for (size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) return i + 5;
    return 0;
}

using JpegTest = DecoderTest<LoadJpeg>;

// Each file kind comes out as BGRA, opaque: grey as equal channels, CMYK as its first three
// components; progressive files, odd sizes and a file cut at three quarters still decode.
TEST_F(JpegTest, EveryKindOfFileComesOutBgraOpaque) {
    using SampleFn = uint8_t (*)(int, int, int);
    const SampleFn greyBands = [](int x, int, int) { return static_cast<uint8_t>(x < 8 ? 40 : 220); };
    const SampleFn cmyk = [](int, int, int c) { return static_cast<uint8_t>(c * 60 + 10); };
    const SampleFn busy = [](int x, int y, int c) { return static_cast<uint8_t>(x * y + c); };
    struct Case {
        const char* what;
        JpegParams params;
        SampleFn sample;
        int pixel;     // the pixel checked, -1 for none
        int r, g, b;
        bool cut;      // only the first three quarters of the file
    };
    const Case cases[] = {
        {"colour", {}, Flat, 16 * 8 - 1, 200, 100, 50, false},
        {"grey, dark half", {16, 8, 1, JCS_GRAYSCALE, false}, greyBands, 0, 40, 40, 40, false},
        {"grey, light half", {16, 8, 1, JCS_GRAYSCALE, false}, greyBands, 15, 220, 220, 220, false},
        {"progressive, odd size", {37, 23, 3, JCS_RGB, true}, Flat, 37 * 23 - 1, 200, 100, 50, false},
        {"CMYK", {16, 8, 4, JCS_CMYK, false}, cmyk, 0, 10, 70, 130, false},
        {"cut short", {64, 64, 3, JCS_RGB, false}, busy, -1, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        auto bytes = WriteJpegBytes(c.params, c.sample);
        if (c.cut) bytes.resize(bytes.size() * 3 / 4);
        auto image = Load(bytes);
        ASSERT_TRUE(image) << c.what;
        EXPECT_EQ(image->width, c.params.width) << c.what;
        EXPECT_EQ(image->height, c.params.height) << c.what;
        const uint32_t p = c.pixel >= 0 ? image->pixels[c.pixel] : 0xFF000000u;
        EXPECT_TRUE(p >> 24 == 255 && std::abs(int(p >> 16 & 255) - c.r) <= 3 &&
                    std::abs(int(p >> 8 & 255) - c.g) <= 3 && std::abs(int(p & 255) - c.b) <= 3)
            << c.what << ": " << std::hex << p;
    }
}

TEST_F(JpegTest, DamagedAndOversizedFilesAreRefused) {
    const auto bytes = WriteJpegBytes(JpegParams{}, Flat);
    std::vector<uint8_t> garbage(500);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 97 + 3);
    auto tall = bytes;
    const size_t at = FrameSizeOffset(tall);
    ASSERT_NE(at, 0u);
    tall[at] = tall[at + 1] = 0xFF; // height 65535 (> kMaxImageSide)
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"2 bytes", {bytes.begin(), bytes.begin() + 2}},
        {"100 bytes", {bytes.begin(), bytes.begin() + 100}},
        {"garbage", garbage},
        {"65535 high", tall}};
    for (const auto& [what, file] : cases)
        EXPECT_FALSE(Load(file)) << what;
    SetImagePixelLimit(16 * 8 - 1);
    EXPECT_FALSE(Load(bytes));
    SetImagePixelLimit(kDefaultImagePixelLimit);
    EXPECT_TRUE(Load(bytes));
}

} // namespace
} // namespace kel
