// TGA decoding: only uncompressed 32-bit top-left files are accepted.
#include "gfx/decoder_test.h"
#include "platform/log.h"

#include <gtest/gtest.h>

#include <memory>

namespace kel {
namespace {

std::vector<uint8_t> Tga(int width, int height, uint8_t depth, uint8_t descriptor, size_t pixelBytes) {
    // Uncompressed true colour.
    std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                                uint8_t(height), uint8_t(height >> 8), depth, descriptor};
    for (size_t i = 0; i < pixelBytes; ++i)
        out.push_back(static_cast<uint8_t>(i * 13 + 1));
    return out;
}

using TgaTest = DecoderTest<LoadTga>;

TEST_F(TgaTest, ThirtyTwoBitTopLeftIsCopiedAsIs) {
    const auto bytes = Tga(3, 2, 32, 0x28, 3 * 2 * 4);
    auto image = Load(bytes);
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->width == 3 && image->height == 2);
    EXPECT_EQ(0, std::memcmp(image->pixels, bytes.data() + 18, 24));
}

// A provider whose files cannot seek: the decoder must still stop at a short read.
class UnseekableProvider : public MemoryFileProvider {
  public:
    int Seek(void*, long, int) override { return -1; }
    long Tell(void*) override { return -1; }
};

TEST_F(TgaTest, OtherVariantsHostileSizesAndShortFilesAreRefused) {
    CaptureLogSink log;
    SetLogSink(&log);
    EXPECT_FALSE(Load(Tga(2, 2, 24, 0x20, 2 * 2 * 3))); // 24-bit
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(LoadTga("absent.tga"), nullptr);
    EXPECT_EQ(log.Lines().size(), 1u) << "a missing file is no damaged one";
    SetLogSink(nullptr);
    const struct {
        const char* what;
        int w, h, bits, descriptor;
    } cases[] = {
        {"24-bit with the right descriptor", 2, 2, 24, 0x28},
        {"bottom-left origin", 2, 2, 32, 0x08},
        {"16-bit", 2, 2, 16, 0x28},
        {"zero width", 0, 4, 32, 0x28},
        {"zero height", 4, 0, 32, 0x28},
        {"too wide", kMaxImageSide + 1, 1, 32, 0x28},
        // Legal sides but a header claiming gigabytes with a 64-byte body: refused before allocating.
        {"65535 square", 65535, 65535, 32, 0x28},
        {"16384 square", 16384, 16384, 32, 0x28},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Load(Tga(c.w, c.h, c.bits, c.descriptor, 64))) << c.what;
    SetImagePixelLimit(15);
    EXPECT_FALSE(Load(Tga(4, 4, 32, 0x28, 64)));
    SetImagePixelLimit(16);
    EXPECT_TRUE(Load(Tga(4, 4, 32, 0x28, 64)));
    SetImagePixelLimit(kDefaultImagePixelLimit);

    const auto bytes = Tga(4, 3, 32, 0x28, 4 * 3 * 4);
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(length))))
            << length;
    UnseekableProvider unseekable;
    ScopedFileProvider scope(&unseekable);
    unseekable.Add("short.tga", Tga(8, 8, 32, 0x28, 10));
    unseekable.Add("full.tga", Tga(8, 8, 32, 0x28, 8 * 8 * 4));
    EXPECT_EQ(LoadTga("short.tga"), nullptr) << "unseekable";
    EXPECT_TRUE(std::unique_ptr<Image>(LoadTga("full.tga")));
    EXPECT_EQ(unseekable.OpenHandles(), 0);
}

} // namespace
} // namespace kel
