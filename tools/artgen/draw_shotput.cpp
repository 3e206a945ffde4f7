// Shot put sheet (slot 18): the stadium behind the throw, which follows the camera sideways and
// so must tile seamlessly (every shape repeats with the 256-px width), and the throwing area.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

namespace {

constexpr int kGroundRow = 167; // ground top, y = 0 at scale 0.1 from y = -16.7
constexpr int kWidth = 256;     // px; the picture's period when tiled

} // namespace

void DrawShotPutStadium(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    canvas.VerticalGradient(0, 0, w, 70, Rgba::Hex(0x5fb8f2), Rgba::Hex(0xbfe8ff));
    paint::Cloud(canvas, 40.0f, 26.0f, 44.0f, 3, kWidth);
    paint::Cloud(canvas, 150.0f, 16.0f, 30.0f, 5, kWidth);
    paint::Cloud(canvas, 226.0f, 40.0f, 36.0f, 9, kWidth);

    // Stadium roof and stands, the same all the way round.
    canvas.Rect(0, 58, w, 5, Rgba::Hex(0xe8ecf2));
    canvas.Rect(0, 63, w, 2, Rgba::Hex(0x8a93a3));
    for (int i = 0; i < w; i += 16)
        canvas.Rect(i, 65, 1, 6, Rgba::Hex(0x8a93a3));
    canvas.Rect(0, 65, w, 6, Rgba::Hex(0x2c3240));
    for (int i = 0; i < w; i += 16)
        canvas.Rect(i + 2, 66, 12, 4, Rgba::Hex(0x3d4a7a));
    paint::Stand(canvas, 0, 71, w, 48, Rgba::Hex(0x4f6fb0), 203);
    paint::Stand(canvas, 0, 119, w, 16, Rgba::Hex(0x3e5c9a), 204);
    for (int x = 8; x < w; x += 64) {
        // Stairs between the blocks of seats.
        canvas.Rect(x, 71, 3, 64, Rgba::Hex(0xb4bcc8));
        for (int j = 72; j < 135; j += 3)
            canvas.Rect(x, j, 3, 1, Rgba::Hex(0x7c8594));
    }
    // Advertising boards along the field.
    static constexpr uint32_t kBoards[] = {0xe8473c, 0xffffff, 0x3b8ee8, 0xffd93d};
    canvas.Rect(0, 135, w, 10, ink::kOutline);
    for (int k = 0; k < 8; ++k) {
        const Rgba c = Rgba::Hex(kBoards[k % 4]);
        const Rgba text = (k % 4 == 1 || k % 4 == 3) ? Rgba::Hex(0x1f4fa8) : ink::kWhite;
        canvas.Rect(k * 32 + 1, 136, 30, 8, c);
        for (int i = 0; i < 5; ++i)
            canvas.Rect(k * 32 + 5 + i * 5, 138 + (i % 2), 3, 4 - (i % 2), text);
    }
    // Red running track, then the grass of the infield with mowing stripes.
    canvas.Rect(0, 145, w, 5, Rgba::Hex(0xc8553a));
    canvas.Rect(0, 146, w, 1, Rgba::Hex(0xf0e0d0));
    canvas.Rect(0, 148, w, 1, Rgba::Hex(0xf0e0d0));
    for (int j = 150; j < kGroundRow; ++j)
        for (int i = 0; i < w; ++i) {
            const bool stripe = ((i + (j - 150) / 2) / 16) % 2 == 0;
            Rgba c = stripe ? Rgba::Hex(0x6fd14a) : Rgba::Hex(0x5cc43c);
            if (Noise(i, j, 7) < 0.12f) c = Rgba::Hex(0x4bb033);
            canvas.Set(i, j, c);
        }
    // Floodlight masts rise from behind the stands.
    paint::Floodlight(canvas, 52, 30, 58);
    paint::Floodlight(canvas, 180, 30, 58);

    // Foreground: turf lip on the ground line and the soil under it.
    for (int j = kGroundRow; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            Rgba c = j < kGroundRow + 3 ? Rgba::Hex(0x3f9a2e) : Rgba::Hex(0x8a5a34);
            if (j >= kGroundRow + 3) {
                const float n = Noise(i, j, 11);
                if (n < 0.1f)
                    c = Rgba::Hex(0x5a3a22);
                else if (n > 0.95f)
                    c = Rgba::Hex(0xc89a62);
                if (j > kGroundRow + 12) c = paint::Scale(c, 0.85f);
            }
            canvas.Set(i, j, c);
        }
    canvas.Rect(0, kGroundRow, w, 1, Rgba::Hex(0x8fe06a));
    for (int i = 0; i < w; i += 3)
        if (Noise(i, 0, 13) < 0.6f) canvas.Set(i, kGroundRow - 1, Rgba::Hex(0x3f9a2e));
    // Pebbles in the soil.
    for (int k = 0; k < 30; ++k) {
        const int x = int(Noise(k, 1, 17) * w), y = kGroundRow + 6 + int(Noise(k, 2, 17) * 20);
        canvas.Rect(x, y, 2, 1, Rgba::Hex(0xb4a08a));
        canvas.Set(x, y + 1, Rgba::Hex(0x6a4a30));
    }
}

void DrawShotPutCircle(Canvas& canvas) {
    const int w = canvas.width;
    constexpr int kSurface = 2; // ground row inside the sprite (anchor y)
    const Rgba rim = ink::kWhite, concrete = Rgba::Hex(0xc9ced6), concreteDark = Rgba::Hex(0x9aa1ad);
    // The concrete slab, flush with the ground, shading downwards and fading into the soil.
    for (int j = kSurface; j < canvas.height; ++j) {
        const int depth = j - kSurface;
        for (int i = 0; i < w; ++i) {
            Rgba c = depth == 0 ? rim : (Noise(i, j, 3) < 0.2f ? concreteDark : concrete);
            if (depth > 5) {
                c = Noise(i, j, 5) < 0.3f ? Rgba::Hex(0x7a6a5a) : Rgba::Hex(0x9a8a78);
                c.a = uint8_t(std::max(0, 255 - (depth - 5) * 28));
            } else if (depth >= 4) {
                c = concreteDark;
            }
            canvas.Set(i, j, c);
        }
    }
    canvas.Rect(0, kSurface + 1, w, 1, Rgba::Hex(0xe6e9ee));
    // White painted rim ends and the centre line of the circle.
    canvas.Rect(0, kSurface, 2, 6, rim);
    canvas.Rect(41, kSurface + 1, 1, 3, Rgba::Hex(0x8a93a3));
    // The stop board at the front, a curved wooden beam painted white.
    canvas.Rect(78, 0, 10, kSurface + 2, ink::kOutline);
    canvas.Rect(79, 1, 8, kSurface + 1, rim);
    canvas.Rect(79, kSurface + 1, 8, 1, ink::kLight);
    canvas.Set(78, 0, kClear);
    canvas.Set(87, 0, kClear);
    // Sector line markers running off to the right.
    canvas.Rect(84, kSurface + 2, 4, 1, ink::kRed);
}

} // namespace artgen
