// PNG reading (files written here with libpng) and the PNG writer.
#include "gfx/decoder_test.h"

#include <gtest/gtest.h>

#include <memory>
#include <png.h>
#include <unistd.h>

namespace kel {
namespace {

struct PngParams {
    int width = 4, height = 3;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette{};
    std::vector<uint8_t> paletteAlpha{};
};

int Channels(int colourType) {
    if (colourType == PNG_COLOR_TYPE_PALETTE) return 1;
    return ((colourType & PNG_COLOR_MASK_COLOR) ? 3 : 1) + ((colourType & PNG_COLOR_MASK_ALPHA) ? 1 : 0);
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// Writes a PNG whose samples come from sample(x, y, channel); every sample byte of a 16-bit
// image is the same value.
template <typename Sample> std::vector<uint8_t> WritePngBytes(const PngParams& params, Sample sample) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng refused the test image";
        return {};
    }
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(params.width), static_cast<png_uint_32>(params.height),
                 params.bitDepth, params.colourType, params.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!params.palette.empty())
        png_set_PLTE(png, info, params.palette.data(), static_cast<int>(params.palette.size()));
    if (!params.paletteAlpha.empty())
        png_set_tRNS(png, info, params.paletteAlpha.data(), static_cast<int>(params.paletteAlpha.size()),
                     nullptr);
    png_write_info(png, info);
    const int channels = Channels(params.colourType);
    const int bytesPerSample = params.bitDepth == 16 ? 2 : 1;
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(params.height));
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < params.height; ++y) {
        auto& row = rows[static_cast<size_t>(y)];
        row.assign(static_cast<size_t>(params.width * channels * bytesPerSample) + 1, 0);
        for (int x = 0; x < params.width; ++x)
            for (int c = 0; c < channels; ++c)
                for (int b = 0; b < bytesPerSample; ++b)
                    row[static_cast<size_t>((x * channels + c) * bytesPerSample + b)] = sample(x, y, c);
        rowPointers.push_back(row.data());
    }
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

uint8_t Sample(int x, int y, int c) { return static_cast<uint8_t>(x * 40 + y * 7 + c * 60 + 5); }
uint32_t Pixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

using PngTest = DecoderTest<LoadPng>;

TEST_F(PngTest, EveryColourTypeAndInterlacingComesOutBgraWithAlpha) {
    const struct {
        int colourType, bitDepth;
        bool alpha, grey, interlaced;
    } cases[] = {{PNG_COLOR_TYPE_RGB, 8, false, false, false},     {PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false, false},
                 {PNG_COLOR_TYPE_GRAY, 8, false, true, false},     {PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false, false},
                 {PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false, true}};
    for (const auto& c : cases) {
        const PngParams params{.width = c.interlaced ? 13 : 4, .height = c.interlaced ? 11 : 3,
                               .colourType = c.colourType, .bitDepth = c.bitDepth, .interlaced = c.interlaced};
        auto image = Load(WritePngBytes(params, Sample));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, params.width);
        ASSERT_EQ(image->height, params.height);
        for (int y = 0; y < params.height; ++y)
            for (int x = 0; x < params.width; ++x) {
                const uint8_t r = Sample(x, y, 0);
                EXPECT_EQ(image->pixels[y * params.width + x],
                          c.grey ? Pixel(r, r, r, 255)
                                 : Pixel(r, Sample(x, y, 1), Sample(x, y, 2), c.alpha ? Sample(x, y, 3) : 255))
                    << "type " << c.colourType << " depth " << c.bitDepth << " at " << x << "," << y;
            }
    }
}

TEST_F(PngTest, LowBitGreyIsExpandedAndPaletteTransparencyGivesAlpha) {
    // One byte per row holds eight pixels; the ninth sits in the next byte's top bit.
    auto image = Load(WritePngBytes({.width = 9, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1},
                                    [](int x, int, int) { return uint8_t(x == 0 ? 0x80 : 0x00); }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], Pixel(255, 255, 255, 255));
    EXPECT_EQ(image->pixels[1], Pixel(0, 0, 0, 255));
    const PngParams palette{
        .colourType = PNG_COLOR_TYPE_PALETTE, .palette = {{10, 20, 30}, {40, 50, 60}}, .paletteAlpha = {0}};
    image = Load(WritePngBytes(palette, [](int x, int, int) { return uint8_t(x % 2); }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], Pixel(10, 20, 30, 0));
    EXPECT_EQ(image->pixels[1], Pixel(40, 50, 60, 255));
}

TEST_F(PngTest, DamagedAndOversizedFilesAreRefused) {
    const auto bytes = WritePngBytes(PngParams{}, Sample);
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(length))))
            << length;
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"CRC mismatch inside the image data", bytes},
        {"signature", bytes},
        {"too wide", WritePngBytes({.width = kMaxImageSide + 1}, Sample)}};
    cases[0].second[bytes.size() - 20] ^= 0x55;
    cases[1].second[1] = 'Q';
    for (const auto& [what, file] : cases)
        EXPECT_FALSE(Load(file)) << what;
    const auto big = WritePngBytes({.width = 1000, .height = 1000}, [](int, int, int) { return uint8_t{7}; });
    SetImagePixelLimit(999 * 1000);
    EXPECT_FALSE(Load(big));
    SetImagePixelLimit(kDefaultImagePixelLimit);
    EXPECT_TRUE(Load(big));
}

TEST(WritePng, RoundTripReversesRowsAndFailuresLeaveNoFile) {
    char folder[] = "/tmp/kelvaro_png_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = folder;
    Image image(3, 4);
    for (int i = 0; i < 12; ++i)
        image.pixels[i] = Pixel(static_cast<uint8_t>(i * 20), 7, static_cast<uint8_t>(255 - i),
                                static_cast<uint8_t>(i * 10 + 5));
    ASSERT_TRUE(WritePng((base + "/shot.png").c_str(), image));
    std::unique_ptr<Image> back(LoadImage((base + "/shot").c_str()));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 3);
    ASSERT_EQ(back->height, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back->pixels[y * 3 + x], image.pixels[(3 - y) * 3 + x]) << x << "," << y;

    EXPECT_FALSE(WritePng((base + "/missing/shot.png").c_str(), image));
    EXPECT_FALSE(WritePng(nullptr, image));
    Image empty;
    EXPECT_FALSE(WritePng((base + "/empty.png").c_str(), empty));
    EXPECT_FALSE(FileExists((base + "/empty.png").c_str()));
    std::system(("rm -rf '" + base + "'").c_str());
}

} // namespace
} // namespace kel
