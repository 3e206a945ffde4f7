// libFuzzer target: the .fnt font parser on arbitrary text. Every glyph it keeps must be a
// rectangle inside the font's texture, and a font loaded over another must equal a fresh one.
// The text is printed too, so the sanitizers watch measuring and drawing with what was read.
#include "base/app_state.h"
#include "fuzz/fuzz_support.h"
#include "gfx/font.h"
#include "gfx/gl_backend.h"
#include "gfx/renderer.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

constexpr int kSlot = 3;
// An odd size, so a glyph one pixel past either edge is told from one that fits.
constexpr int kTextureWidth = 127, kTextureHeight = 61;
// uLeft and vTop sit 1e-6 inside the rectangle, uRight and vBottom 1e-6 inside from the far side.
constexpr float kUvSlack = 1e-5f;

void RequireGlyphsInsideTheTexture(const kel::BitmapFont& font) {
    for (int c = 0; c < 256; ++c) {
        FUZZ_REQUIRE(std::isfinite(font.pre[c]) && std::isfinite(font.post[c]));
        const kel::Glyph* g = font.glyphs[c];
        if (!g) continue;
        FUZZ_REQUIRE(kel::Within(g->width, 0.0f, kTextureWidth) && kel::Within(g->height, 0.0f, font.height));
        for (float uv : {g->uLeft, g->uRight, g->vTop, g->vBottom})
            FUZZ_REQUIRE(kel::Within(uv, -kUvSlack, 1.0f + kUvSlack));
        FUZZ_REQUIRE(g->uLeft <= g->uRight + kUvSlack && g->vTop <= g->vBottom + kUvSlack);
    }
    FUZZ_REQUIRE(kel::Within(font.height, 0.0f, kTextureHeight));
}

bool SameFont(const kel::BitmapFont& a, const kel::BitmapFont& b) {
    for (int c = 0; c < 256; ++c) {
        if ((a.glyphs[c] == nullptr) != (b.glyphs[c] == nullptr)) return false;
        if (a.glyphs[c] && std::memcmp(a.glyphs[c], b.glyphs[c], sizeof(kel::Glyph)) != 0) return false;
        if (a.pre[c] != b.pre[c] || a.post[c] != b.post[c]) return false;
    }
    return a.texture == b.texture && a.height == b.height && a.scale == b.scale && a.tracking == b.tracking &&
           a.spacing == b.spacing && a.proportion == b.proportion;
}

// The first line, as the parser cuts it (a zero byte ends the text).
std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\n\r\0", 3)));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kel::SilenceLog();
    kel::SetGlBackend(kel::CreateNullGlBackend());
    kel::gRenderer.slots[kSlot] = {7, kTextureWidth, kTextureHeight};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Holds the previous input's font, so every load also replaces an earlier one.
    static kel::BitmapFont reused;
    static const std::string path =
        std::filesystem::temp_directory_path() / ("kelvaro_fuzz_font_" + std::to_string(::getpid()) + ".fnt");

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!std::ofstream(path, std::ios::binary).write(input.data(), static_cast<std::streamsize>(size)))
        return 0;
    kel::BitmapFont font;
    font.Load(path.c_str(), kSlot);
    RequireGlyphsInsideTheTexture(font);
    if (FirstLine(input) != "[HGEFONT]")
        for (const kel::Glyph* g : font.glyphs)
            FUZZ_REQUIRE(g == nullptr);

    reused.Load(path.c_str(), kSlot);
    FUZZ_REQUIRE(SameFont(reused, font));

    // Every byte value, a line break and the fallback for glyphs the font lacks.
    char text[300];
    for (int i = 0; i < 255; ++i)
        text[i] = static_cast<char>(i + 1);
    std::strcpy(text + 255, "\nA?\n");
    FUZZ_REQUIRE(std::isfinite(font.GetStringWidth(text, true)));
    kel::BeginBatch();
    font.Print(10.0f, 20.0f, kel::kAlignCentre, 2.0f, kel::kWhite, text);
    font.Print(10.0f, 20.0f, kel::kAlignRight, 1.0f, kel::kWhite, text);
    kel::FlushBatch();
    std::remove(path.c_str());
    return 0;
}
