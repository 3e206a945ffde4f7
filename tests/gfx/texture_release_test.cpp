#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "image_memory_provider.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(TextureRelease, OnlyTheMenusAndTheKeptSheetsStayLoaded) {
    // A 2 x 1 true-colour TGA stands in for every sheet.
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0x28};
    tga.insert(tga.end(), {0, 0, 255, 255, 0, 255, 0, 255});
    MemoryFileProvider files;
    for (const char* name : {"art/sprites.tga", "art/opening.tga", "art/closing.tga", "art/diving.tga"})
        files.Add(name, tga);
    ScopedFileProvider scope(&files);
    RecordingGlBackend gl;
    gRenderer = RendererState{};
    SetGlBackend(&gl);
    ReleaseTextureSlotsExcept(nullptr, 0); // forget slots other tests tried

    ASSERT_TRUE(LoadTextureSlot(1, "art\\sprites")); // a menu sheet, as start-up loads it
    for (const int slot : {9, 10, 11})
        ASSERT_TRUE(EnsureTextureSlot(slot));
    ASSERT_EQ(gl.liveTextures, 4);

    const int keep[] = {10, -1};
    ReleaseTextureSlotsExcept(keep, 2);
    EXPECT_EQ(gl.liveTextures, 2);
    EXPECT_NE(gRenderer.slots[1].name, 0u) << "the menu's sheets are never freed";
    EXPECT_NE(gRenderer.slots[10].name, 0u);
    EXPECT_EQ(gRenderer.slots[11].name, 0u);
    EXPECT_EQ(gRenderer.slots[11].width, 2) << "a freed slot keeps its size for the atlas";

    // A freed sheet loads again when a scene asks for it.
    EXPECT_TRUE(EnsureTextureSlot(11));
    EXPECT_EQ(gl.liveTextures, 3);
    ReleaseTextureSlotsExcept(nullptr, 0);
    EXPECT_EQ(gl.liveTextures, 1);

    SetGlBackend(nullptr);
}

} // namespace
} // namespace kel
