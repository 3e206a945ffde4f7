// LoadImage: which file names are tried, in which order, and what ends the search.
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace kel {
namespace {

using Names = std::vector<std::string>;

// A valid 1x1 TGA whose pixel is the given value.
std::vector<uint8_t> TinyTga(uint32_t pixel) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = 1;
    out[14] = 1;
    out[16] = 32;
    out[17] = 0x28;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(pixel >> (8 * i)));
    return out;
}

// A valid 1x1 GIF: clear, index 1 (colour 4, 5, 6), end.
std::vector<uint8_t> TinyGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 1,    2,    3, 4,  5,
            6,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x4C, 0x01, 0, ';'};
}

std::unique_ptr<Image> Load(const char* path) {
    return std::unique_ptr<Image>(LoadImage(path));
}

class LoadImageTest : public ::testing::Test {
  protected:
    MemoryFileProvider memory;
    ScopedFileProvider scope{&memory};
};

TEST_F(LoadImageTest, TinyGifFixtureDecodes) {
    memory.Add("a.gif", TinyGif());
    auto image = Load("a.gif");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0xFF040506u);
}

TEST_F(LoadImageTest, BaseNameTriesFormatsInOrderUntilOneDecodes) {
    memory.Add("art/sprites.gif", TinyGif());
    auto image = Load("art\\sprites");
    ASSERT_TRUE(image);
    EXPECT_EQ(memory.Opened(),
              (Names{"art/sprites.tga", "art/sprites.jpg", "art/sprites.png", "art/sprites.gif"}));
}

TEST_F(LoadImageTest, FirstDecodingFormatWins) {
    memory.Add("logo.tga", TinyTga(0x11223344));
    memory.Add("logo.gif", TinyGif());
    auto image = Load("logo");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0x11223344u);
    EXPECT_EQ(memory.Opened(), (Names{"logo.tga"}));
}

TEST_F(LoadImageTest, DamagedFileFallsThroughToTheNextFormat) {
    std::vector<uint8_t> damaged = TinyTga(1);
    damaged[16] = 24;
    memory.Add("logo.tga", damaged);
    memory.Add("logo.gif", TinyGif());
    auto image = Load("logo");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0xFF040506u);
    EXPECT_EQ(memory.OpenHandles(), 0);
}

TEST_F(LoadImageTest, FullNameTriesOnlyItsOwnDecoder) {
    memory.Add("pic.tga", TinyTga(5));
    EXPECT_FALSE(Load("pic.gif"));
    EXPECT_EQ(memory.Opened(), (Names{"pic.gif"}));
}

TEST_F(LoadImageTest, ExtensionIsMatchedWithoutCaseAndOpenedInLowerCase) {
    memory.Add("dir/a.gif", TinyGif());
    EXPECT_TRUE(Load("dir/a.GIF"));
    EXPECT_EQ(memory.Opened(), (Names{"dir/a.gif"}));
}

TEST_F(LoadImageTest, DotInFolderNameIsNotAnExtension) {
    EXPECT_FALSE(Load("art.old\\logo"));
    EXPECT_EQ(memory.Opened(),
              (Names{"art.old/logo.tga", "art.old/logo.jpg", "art.old/logo.png", "art.old/logo.gif"}));
}

TEST_F(LoadImageTest, DotAfterTheLastSeparatorIsAnExtensionWhicheverSeparator) {
    memory.Add("a\\b/c.tga", TinyTga(1)); // never opened: FileOpen turns "\" into "/"
    memory.Add("a/b/c.tga", TinyTga(2));
    auto image = Load("a\\b/c.tga");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 2u);
    EXPECT_EQ(memory.Opened(), (Names{"a/b/c.tga"}));
}

TEST_F(LoadImageTest, KnownExtensionsWithoutDecoderAndUnknownOnesYieldNothing) {
    memory.Add("pic.jp2", TinyTga(1));
    memory.Add("pic.bmp", TinyTga(1));
    EXPECT_FALSE(Load("pic.j2k"));
    EXPECT_FALSE(Load("pic.JP2"));
    EXPECT_FALSE(Load("pic.bmp"));
    EXPECT_FALSE(Load("pic."));
    EXPECT_TRUE(memory.Opened().empty());
}

TEST_F(LoadImageTest, MissingEverywhereIsNull) {
    EXPECT_FALSE(Load("nothing"));
    EXPECT_FALSE(Load(""));
    EXPECT_FALSE(LoadImage(nullptr));
    EXPECT_EQ(memory.OpenHandles(), 0);
}

TEST(LoadImageFromDisk, PlainFilesAreReadWithoutAProvider) {
    char folder[] = "/tmp/kelvaro_image_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/sprites.tga";
    const auto bytes = TinyTga(0xCAFEF00D);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::unique_ptr<Image> image(LoadImage((std::string(folder) + "\\sprites").c_str()));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0xCAFEF00Du);
    std::remove(path.c_str());
    rmdir(folder);
}

} // namespace
} // namespace kel
