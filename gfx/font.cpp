// The bitmap font: "[HGEFONT]" description parsing, measuring and printing.
#include "gfx/font.h"

#include "base/app_state.h"
#include "gfx/renderer.h"
#include "platform/files.h"
#include "platform/log.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kel {

BitmapFont::~BitmapFont() {
    for (Glyph*& g : glyphs) {
        delete g;
        g = nullptr;
    }
}

void BitmapFont::Reset() {
    for (Glyph*& g : glyphs) {
        delete g;
        g = nullptr;
    }
    texture = 0;
    std::memset(pre, 0, sizeof pre);
    std::memset(post, 0, sizeof post);
    height = 0.0f;
    scale = 1.0f;
    proportion = 1.0f;
    tracking = 0.0f;
    spacing = 1.0f;
    colour = kWhite;
}

namespace {

constexpr int64_t kMaxGlyphTexturePx = 16384; // the largest sheet the game would load

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

void BitmapFont::Load(const char* fileName, int textureSlot) {
    Reset();
    char* data = static_cast<char*>(ReadWholeFile(fileName));
    if (!data) return;

    bool first = true;
    char* p = data;
    while (*p) {
        char* line = p;
        while (*p && *p != '\n' && *p != '\r') ++p;
        if (*p) {
            *p++ = '\0';
            while (*p == '\n' || *p == '\r') ++p;
        }
        if (first) {
            first = false;
            if (std::strcmp(line, "[HGEFONT]") != 0) {
                LogDebug("Font %s has incorrect format.", fileName);
                break;
            }
            continue;
        }
        if (std::strncmp(line, "Bitmap", 6) == 0) {
            char name[256];
            if (std::sscanf(line, "Bitmap = %255s", name) == 1) texture = textureSlot;
            continue;
        }
        if (std::strncmp(line, "Char", 4) != 0) continue;
        const char* q = std::strchr(line, '=');
        if (!q) continue;
        ++q;
        while (*q == ' ' || *q == '\t') ++q;
        int code = 0;
        if (*q == '"') {
            if (q[1] == '\0') continue;
            code = static_cast<unsigned char>(q[1]);
            q += 2;
            if (*q == '"') ++q;
        } else {
            int digits = 0;
            for (int v; (v = HexValue(*q)) >= 0 && code <= 255; ++q, ++digits) code = code * 16 + v;
            if (digits == 0) continue;
        }
        if (code > 255) continue;
        int x = 0, y = 0, w = 0, h = 0, a = 0, c = 0;
        // A line whose six numbers do not all parse would give a glyph of undefined size: skip it.
        if (std::sscanf(q, " , %d , %d , %d , %d , %d , %d", &x, &y, &w, &h, &a, &c) != 6) continue;
        // The glyph's rectangle must lie on the texture (on the largest texture we would load while
        // its size is unknown); sums are taken in 64 bits so huge numbers cannot overflow.
        const int64_t limitW = TextureWidth(textureSlot) > 0 ? TextureWidth(textureSlot) : kMaxGlyphTexturePx;
        const int64_t limitH = TextureHeight(textureSlot) > 0 ? TextureHeight(textureSlot) : kMaxGlyphTexturePx;
        if (x < 0 || y < 0 || w < 0 || h < 0 || int64_t{x} + w > limitW || int64_t{y} + h > limitH) {
            LogDebug("Font %s: glyph %d lies outside its texture, skipped", fileName, code);
            continue;
        }
        const float tw = TextureWidth(textureSlot) > 0 ? static_cast<float>(TextureWidth(textureSlot)) : 1.0f;
        const float th = TextureHeight(textureSlot) > 0 ? static_cast<float>(TextureHeight(textureSlot)) : 1.0f;
        Glyph* g = glyphs[code] ? glyphs[code] : new Glyph;
        g->width = static_cast<float>(w);
        g->height = static_cast<float>(h);
        g->uLeft = static_cast<float>(x) / tw + 0.000001f;
        g->uRight = static_cast<float>(int64_t{x} + w) / tw - 0.000001f;
        g->vTop = static_cast<float>(y) / th + 0.000001f;
        g->vBottom = static_cast<float>(int64_t{y} + h) / th - 0.000001f;
        glyphs[code] = g;
        pre[code] = static_cast<float>(a);
        post[code] = static_cast<float>(c);
        if (g->height > height) height = g->height;
    }
    std::free(data);
}

float BitmapFont::FitScale(const char* text, float newScale, float width) const {
    // GetStringWidth answers at the current scale; this wants the width at scale 1.
    const float natural = scale > 0.0f ? GetStringWidth(text, false) / scale : 0.0f;
    if (!(natural > 0.0f) || natural * newScale <= width) return newScale;
    return width > 0.0f ? width / natural : newScale;
}

float BitmapFont::GetStringWidth(const char* text, bool multiline) const {
    if (!text) return 0.0f;
    float best = 0.0f;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        float lineWidth = 0.0f;
        for (; *p && *p != '\n'; ++p) {
            int code = *p;
            if (!glyphs[code]) code = '?';
            if (!glyphs[code]) continue;
            lineWidth += pre[code] + glyphs[code]->width + post[code] + tracking;
        }
        if (lineWidth > best) best = lineWidth;
        if (!multiline) break;
        while (*p == '\n' || *p == '\r') ++p;
    }
    return best * scale * proportion;
}

void BitmapFont::Render(float x, float y, int align, const char* text) {
    if (!gApp.showText || !text) return;
    // Light text gets a soft dark shadow one font px down and right, so it reads on a pale sky as
    // well as on dark ground. Dark text needs none.
    const uint32_t lightness = ColourR(colour) + ColourG(colour) + ColourB(colour);
    if (lightness >= kShadowedLightness && ColourA(colour) > 0) {
        const Colour own = colour;
        const float offset = scale * proportion;
        colour = PackColour(0, 0, 0, ColourA(own) * kShadowAlpha / 255u);
        RenderGlyphs(x + offset, y + offset, align, text);
        colour = own;
    }
    RenderGlyphs(x, y, align, text);
}

void BitmapFont::RenderGlyphs(float x, float y, int align, const char* text) {
    align &= 3;
    const float width = GetStringWidth(text, false);
    float penX = x;
    if (align == kAlignRight) penX = x - width;
    if (align == kAlignCentre) penX = x - width / 2.0f;
    SetColour(colour);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '\n') {
            y += std::trunc(height * scale * spacing);
            const float next = GetStringWidth(reinterpret_cast<const char*>(p + 1), false);
            penX = x;
            if (align == kAlignRight) penX = x - next;
            if (align == kAlignCentre) penX = x - std::trunc(next / 2.0f);
            continue;
        }
        int code = *p;
        if (!glyphs[code]) code = '?';
        const Glyph* g = glyphs[code];
        if (!g) continue;
        penX += pre[code] * scale * proportion;
        DrawTextureRegion(texture, penX, y, g->width * scale * proportion, g->height * scale, g->uLeft, g->uRight,
                          g->vTop, g->vBottom);
        penX += (post[code] + g->width + tracking) * scale * proportion;
    }
    ResetColour();
}

void BitmapFont::Print(float x, float y, int align, float newScale, Colour newColour, const char* text) {
    scale = newScale;
    colour = newColour;
    Render(x, y, align, text);
}

void BitmapFont::Printf(float x, float y, int align, float newScale, Colour newColour, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(formatBuffer, sizeof formatBuffer, format, args) < 0) formatBuffer[0] = '\0';
    va_end(args);
    Print(x, y, align, newScale, newColour, formatBuffer);
}

void BitmapFont::PrintfCurrent(float x, float y, int align, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(formatBuffer, sizeof formatBuffer, format, args) < 0) formatBuffer[0] = '\0';
    va_end(args);
    Render(x, y, align, formatBuffer);
}

} // namespace kel
