// A small RGBA canvas for drawing art in code: backdrops, logos and other large pictures.
// Pixels are stored as Rgba values, rows from the top. Everything clips to the canvas.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace artgen {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    constexpr Rgba() = default;
    constexpr Rgba(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_ = 255) : r(r_), g(g_), b(b_), a(a_) {}
    // 0xRRGGBB, opaque.
    static constexpr Rgba Hex(uint32_t rgb, uint8_t alpha = 255) {
        return Rgba(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), alpha);
    }
    bool operator==(const Rgba&) const = default;
};

constexpr Rgba kClear{0, 0, 0, 0};

// Linear blend of two colours, t in 0..1.
inline Rgba Mix(Rgba a, Rgba b, float t) {
    auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return Rgba(m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a));
}

class Canvas {
public:
    Canvas(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgba Get(int x, int y) const { return Inside(x, y) ? pixels[size_t(y) * width + x] : kClear; }
    void Set(int x, int y, Rgba c) {
        if (Inside(x, y)) pixels[size_t(y) * width + x] = c;
    }
    // Alpha-blends c over what is there.
    void Blend(int x, int y, Rgba c) {
        if (!Inside(x, y) || c.a == 0) return;
        Rgba& d = pixels[size_t(y) * width + x];
        if (c.a == 255 || d.a == 0) {
            d = c;
            return;
        }
        const float t = c.a / 255.0f;
        Rgba out = Mix(d, c, t);
        out.a = uint8_t(std::min(255.0f, d.a + c.a * (1.0f - d.a / 255.0f)));
        d = out;
    }
    void Fill(Rgba c) { std::fill(pixels.begin(), pixels.end(), c); }
    void Rect(int x, int y, int w, int h, Rgba c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
    // 1-pixel frame.
    void Frame(int x, int y, int w, int h, Rgba c) {
        for (int i = x; i < x + w; ++i) { Set(i, y, c); Set(i, y + h - 1, c); }
        for (int j = y; j < y + h; ++j) { Set(x, j, c); Set(x + w - 1, j, c); }
    }
    // Colour from top to bottom across the rectangle.
    void VerticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
        for (int j = 0; j < h; ++j) Rect(x, y + j, w, 1, Mix(top, bottom, h > 1 ? float(j) / float(h - 1) : 0.0f));
    }
    // Filled disc of radius r (pixel centres within r of (cx, cy)).
    void Disc(float cx, float cy, float r, Rgba c) {
        for (int j = int(std::floor(cy - r)); j <= int(std::ceil(cy + r)); ++j)
            for (int i = int(std::floor(cx - r)); i <= int(std::ceil(cx + r)); ++i) {
                const float dx = i + 0.5f - cx, dy = j + 0.5f - cy;
                if (dx * dx + dy * dy <= r * r) Set(i, j, c);
            }
    }
    // Filled ellipse with radii rx, ry.
    void Ellipse(float cx, float cy, float rx, float ry, Rgba c) {
        for (int j = int(std::floor(cy - ry)); j <= int(std::ceil(cy + ry)); ++j)
            for (int i = int(std::floor(cx - rx)); i <= int(std::ceil(cx + rx)); ++i) {
                const float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
                if (dx * dx + dy * dy <= 1.0f) Set(i, j, c);
            }
    }
    // 1-pixel line (Bresenham).
    void Line(int x0, int y0, int x1, int y1, Rgba c) {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1, dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Set(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    // Filled triangle.
    void Triangle(float x0, float y0, float x1, float y1, float x2, float y2, Rgba c) {
        const int minX = int(std::floor(std::min({x0, x1, x2}))), maxX = int(std::ceil(std::max({x0, x1, x2})));
        const int minY = int(std::floor(std::min({y0, y1, y2}))), maxY = int(std::ceil(std::max({y0, y1, y2})));
        auto edge = [](float ax, float ay, float bx, float by, float px, float py) {
            return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
        };
        const float area = edge(x0, y0, x1, y1, x2, y2);
        if (area == 0.0f) return;
        for (int j = minY; j <= maxY; ++j)
            for (int i = minX; i <= maxX; ++i) {
                const float px = i + 0.5f, py = j + 0.5f;
                const float w0 = edge(x1, y1, x2, y2, px, py) / area;
                const float w1 = edge(x2, y2, x0, y0, px, py) / area;
                const float w2 = edge(x0, y0, x1, y1, px, py) / area;
                if (w0 >= 0 && w1 >= 0 && w2 >= 0) Set(i, j, c);
            }
    }
    // Copies another canvas with its top-left at (x, y), blending by alpha.
    void Paste(const Canvas& src, int x, int y) {
        for (int j = 0; j < src.height; ++j)
            for (int i = 0; i < src.width; ++i) Blend(x + i, y + j, src.Get(i, j));
    }

    int width;
    int height;
    std::vector<Rgba> pixels;
};

// Deterministic noise for textures (grass, sand, crowds): a hash of (x, y, seed) in 0..1.
inline float Noise(int x, int y, uint32_t seed = 0) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFFu) / 65535.0f;
}

} // namespace artgen
