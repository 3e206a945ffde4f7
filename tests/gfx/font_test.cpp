#include "base/app_state.h"
#include "gfx/font.h"
#include "gfx/gl_recording.h"
#include "gfx/renderer.h"
#include "platform/log.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace kel {
namespace {

constexpr const char* kFont = "[HGEFONT]\r\n\r\nBitmap=c64.png\nChar=\"A\",0,0,8,8,1,1\nChar=42,8,0,6,8,0,2\n"
                              "Char=43,16,0,7,10,0,0\nChar=\"?\",24,0,8,8,0,0\n";

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        gRenderer = RendererState{};
        gApp.showText = 1;
        SetGlBackend(&gl);
        gRenderer.slots[0] = {5, 128, 64};
        BeginBatch();
    }
    void TearDown() override {
        SetGlBackend(nullptr);
        std::remove(path.c_str());
        SetLogSink(nullptr);
    }
    void Write(const char* text) { std::ofstream(path, std::ios::binary) << text; }
    void Load(const char* text = kFont) {
        Write(text);
        font.Load(path.c_str(), 0);
    }

    RecordingGlBackend gl;
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kelvaro_font_" + std::to_string(::getpid()) + ".fnt")).string();
    BitmapFont font;
};

TEST_F(FontTest, WrongHeaderBrokenLinesAndAMissingFileLeaveNoGlyphs) {
    CaptureLogSink log;
    SetLogSink(&log);
    Load("[FONT]\nChar=\"A\",0,0,8,8,0,0\n");
    EXPECT_EQ(font.glyphs['A'], nullptr);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "Font " + path + " has incorrect format.");
    EXPECT_FLOAT_EQ(font.GetStringWidth("AAA", false), 0.0f);

    // Short lines, codes past 255, missing codes, words for numbers, and rectangles off the
    // 128 x 64 texture (the huge ones once overflowed x + w).
    Write("[HGEFONT]\nChar=\"A\",0,0,8\nChar=1FF,0,0,8,8,0,0\nChar=,0,0,8,8,0,0\nChar=\"B\",x,0,8,8,0,0\n"
          "Char=41,2147483647,2147483647,2147483647,2147483647,-2147483648,2147483647\n"
          "Char=42,121,0,8,8,0,0\nChar=43,0,57,8,8,0,0\nChar=44,-1,0,8,8,0,0\n");
    BitmapFont broken;
    broken.Load(path.c_str(), 0);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(broken.glyphs[c], nullptr) << c;
    EXPECT_EQ(broken.height, 0.0f);
    Write("[HGEFONT]\nChar=42,120,56,8,8,0,0\n");
    broken.Load(path.c_str(), 0);
    EXPECT_NE(broken.glyphs[0x42], nullptr) << "a glyph touching the texture's corner is still on it";

    BitmapFont missing;
    missing.Load("no/such/font.fnt", 0);
    missing.Print(0, 0, kAlignLeft, 1.0f, kWhite, "ABC");
    FlushBatch();
    EXPECT_TRUE(gl.draws.empty());
    // Without a '?' either, a missing glyph is skipped without moving on.
    Load("[HGEFONT]\nChar=\"A\",0,0,8,8,0,0\n");
    font.Print(0.0f, 0.0f, kAlignLeft, 1.0f, kBlack, "AzA");
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 1u);
    ASSERT_EQ(gl.draws[0].vertices.size(), 12u);
    EXPECT_FLOAT_EQ(gl.draws[0].vertices[6].x, 8.0f);
}

TEST_F(FontTest, QuotedAndHexCodesDefineGlyphsAndWidthsUseQuestionMarkForMissingOnes) {
    Load();
    ASSERT_NE(font.glyphs['B'], nullptr) << "0x42";
    EXPECT_FLOAT_EQ(font.height, 10.0f);
    EXPECT_NEAR(font.glyphs['B']->uLeft, 8.0f / 128.0f + 0.000001f, 1e-7f);
    EXPECT_NEAR(font.glyphs['B']->vBottom, 8.0f / 64.0f - 0.000001f, 1e-7f);
    // A = 1 + 8 + 1, B = 6 + 2, z falls back to ? = 8.
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB", false), 18.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("Az", false), 18.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("A\nABAB", false), 10.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("A\nABAB", true), 36.0f);
    EXPECT_FLOAT_EQ(font.GetStringWidth("", true), 0.0f);
    // Hidden text draws nothing but still measures.
    gApp.showText = 0;
    font.Print(0.0f, 0.0f, kAlignLeft, 1.0f, kWhite, "AB");
    FlushBatch();
    gApp.showText = 1;
    EXPECT_TRUE(gl.draws.empty());
    font.scale = 2.0f;
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB", false), 36.0f);
}

TEST_F(FontTest, CentredLinesAndTruncatedHalfWidth) {
    Load();
    // Black: light text brings its shadow, which would be a second draw.
    font.Print(100.0f, 10.0f, kAlignCentre, 1.0f, kBlack, "AC\nC");
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 1u);
    const auto& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 18u);
    // Odd widths, so a cut half shows. Line 1 (10 + 7) starts at 100 - 17/2 = 91.5, then A's pre.
    EXPECT_FLOAT_EQ(v[0].x, 92.5f);
    // A later line (7 wide) starts at 100 - trunc(3.5) = 97, one line lower.
    EXPECT_FLOAT_EQ(v[12].x, 97.0f);
    EXPECT_FLOAT_EQ(v[12].y, 20.0f);
}

TEST_F(FontTest, ScaleAndColourStayForLaterCallsAndALongPrintfIsCut) {
    Load();
    font.Print(0.0f, 0.0f, kAlignLeft, 4.0f, PackColour(255, 0, 0), "A");
    font.PrintfCurrent(0.0f, 0.0f, kAlignLeft, "%c", 'A');
    FlushBatch();
    EXPECT_FLOAT_EQ(font.scale, 4.0f);
    // Both prints are red and four times the size; colour changes no longer split the batch.
    ASSERT_EQ(gl.draws.size(), 1u);
    const auto& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 12u);
    for (int glyph = 0; glyph < 2; ++glyph) {
        EXPECT_EQ(v[6 * glyph].colour, PackColour(255, 0, 0));
        EXPECT_FLOAT_EQ(v[6 * glyph + 1].x - v[6 * glyph].x, 32.0f);
    }
    EXPECT_EQ(gRenderer.colour, kWhite);
    gl.Reset();
    font.Printf(0.0f, 0.0f, kAlignLeft, 1.0f, kBlack, "%s", std::string(3000, 'A').c_str());
    FlushBatch();
    size_t vertices = 0;
    for (const auto& d : gl.draws)
        vertices += d.vertices.size();
    EXPECT_EQ(vertices, 1023u * 6u) << "a long Printf is cut";
}

TEST_F(FontTest, LightTextGetsADarkShadowAndDarkTextNone) {
    Load();
    font.Print(10.0f, 10.0f, kAlignLeft, 2.0f, kWhite, "A");
    FlushBatch();
    // Colour travels per vertex, so shadow and glyph share one draw: the shadow's quad comes first,
    // one font px (2 screen px at scale 2) down and right, translucent black.
    ASSERT_EQ(gl.draws.size(), 1u);
    const std::vector<Vertex>& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 12u);
    EXPECT_FLOAT_EQ(v[0].x, v[6].x + 2.0f);
    EXPECT_FLOAT_EQ(v[0].y, v[6].y + 2.0f);
    EXPECT_EQ(v[0].colour & 0xFFFFFFu, 0u);
    EXPECT_LT(v[0].colour >> 24, 255u);
    EXPECT_EQ(v[6].colour, kWhite);
    gl.Reset();
    font.Print(10.0f, 10.0f, kAlignLeft, 2.0f, kBlack, "A");
    FlushBatch();
    ASSERT_EQ(gl.draws.size(), 1u);
    EXPECT_EQ(gl.draws[0].vertices.size(), 6u) << "dark text casts no shadow";
}

} // namespace
} // namespace kel
