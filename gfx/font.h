// The bitmap font: glyph rectangles cut from a texture slot, described by a "[HGEFONT]" text
// file, drawn as textured quads through the renderer.
#pragma once

#include "base/helpers.h"

namespace kel {

enum TextAlign { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };

struct Glyph {
    float width = 0.0f;
    float height = 0.0f;
    float uLeft = 0.0f;
    float uRight = 0.0f;
    float vTop = 0.0f;
    float vBottom = 0.0f;
};

class BitmapFont {
public:
    BitmapFont() = default;
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // Reads the description; a missing or malformed file leaves an empty font that draws nothing.
    void Load(const char* fileName, int textureSlot);

    void SetTextColour(Colour c) { colour = c; }
    // Scale and colour stay for later calls.
    void Print(float x, float y, int align, float newScale, Colour newColour, const char* text);
    void Printf(float x, float y, int align, float newScale, Colour newColour, const char* format, ...)
        __attribute__((format(printf, 7, 8)));
    void PrintfCurrent(float x, float y, int align, const char* format, ...) __attribute__((format(printf, 5, 6)));
    float GetStringWidth(const char* text, bool multiline) const;
    // The scale at which `text` fits `width` (in the units the scale maps font px to): `scale`
    // when it already fits, smaller when not. Names are shrunk to their field, never cut.
    float FitScale(const char* text, float scale, float width) const;

    int texture = 0;
    Glyph* glyphs[256] = {};
    float pre[256] = {};
    float post[256] = {};
    float height = 0.0f;  // the tallest glyph read, font px
    float scale = 1.0f;
    float proportion = 1.0f;
    float tracking = 0.0f;
    float spacing = 1.0f;
    Colour colour = kWhite;

private:
    void Render(float x, float y, int align, const char* text);
    void RenderGlyphs(float x, float y, int align, const char* text);
    // R + G + B at or above which text is drawn with a shadow, and the shadow's share of its alpha.
    static constexpr uint32_t kShadowedLightness = 3u * 170u;
    static constexpr uint32_t kShadowAlpha = 150u;
    void Reset();
    char formatBuffer[1024] = {};
};

} // namespace kel
