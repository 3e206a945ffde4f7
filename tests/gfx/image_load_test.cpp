// LoadImage: which file names are tried, in which order, and what ends the search.
#include "gfx/image.h"
#include "gfx/image_memory_provider.h"

#include <gtest/gtest.h>

#include <memory>

namespace kel {
namespace {

using Names = std::vector<std::string>;

// A valid 1x1 TGA whose pixel is the given value.
std::vector<uint8_t> TinyTga(uint32_t pixel) {
    return {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 0x28, uint8_t(pixel), uint8_t(pixel >> 8),
            uint8_t(pixel >> 16), uint8_t(pixel >> 24)};
}

// A valid 1x1 GIF: clear, index 1 (colour 4, 5, 6), end.
std::vector<uint8_t> TinyGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 1,    2,    3, 4,  5,
            6,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x4C, 0x01, 0, ';'};
}

std::unique_ptr<Image> Load(const char* path) { return std::unique_ptr<Image>(LoadImage(path)); }

class LoadImageTest : public ::testing::Test {
  protected:
    MemoryFileProvider memory;
    ScopedFileProvider scope{&memory};
};

// Which names are opened, in which order, for a name asked for and the files there are.
TEST_F(LoadImageTest, NamesTriedInOrder) {
    const struct {
        const char* path;
        Names files;
        bool found;
        Names opened;
    } cases[] = {
        // A base name tries the formats in order until one decodes.
        {"art\\sprites", {"art/sprites.gif"}, true,
         {"art/sprites.tga", "art/sprites.jpg", "art/sprites.png", "art/sprites.gif"}},
        // A full name tries only its own decoder; its extension matches without case.
        {"pic.gif", {"pic.tga"}, false, {"pic.gif"}},
        {"dir/a.GIF", {"dir/a.gif"}, true, {"dir/a.gif"}},
        // A dot in a folder's name is no extension; one after the last separator is.
        {"art.old\\logo", {}, false, {"art.old/logo.tga", "art.old/logo.jpg", "art.old/logo.png", "art.old/logo.gif"}},
        {"a\\b/c.tga", {"a/b/c.tga"}, true, {"a/b/c.tga"}},
        // Known extensions without a decoder, and unknown ones, open nothing.
        {"pic.j2k", {"pic.j2k"}, false, {}},
        {"pic.JP2", {"pic.jp2"}, false, {}},
        {"pic.bmp", {"pic.bmp"}, false, {}},
        {"pic.", {}, false, {}},
    };
    for (const auto& c : cases) {
        MemoryFileProvider files;
        ScopedFileProvider use(&files);
        for (const std::string& name : c.files)
            files.Add(name, name.find(".gif") != std::string::npos ? TinyGif() : TinyTga(1));
        EXPECT_EQ(Load(c.path) != nullptr, c.found) << c.path;
        EXPECT_EQ(files.Opened(), c.opened) << c.path;
        EXPECT_EQ(files.OpenHandles(), 0) << c.path;
    }
    EXPECT_FALSE(Load(""));
    EXPECT_FALSE(LoadImage(nullptr));
}

TEST_F(LoadImageTest, FirstDecodingFormatWinsAndADamagedOneFallsThrough) {
    memory.Add("logo.tga", TinyTga(0x11223344));
    memory.Add("logo.gif", TinyGif());
    auto image = Load("logo");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0x11223344u);
    EXPECT_EQ(memory.Opened(), (Names{"logo.tga"}));

    std::vector<uint8_t> damaged = TinyTga(1);
    damaged[16] = 24;
    memory.Add("logo.tga", damaged);
    image = Load("logo");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], 0xFF040506u);
    EXPECT_EQ(memory.OpenHandles(), 0);
}

} // namespace
} // namespace kel
