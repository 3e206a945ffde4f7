// Pole vault horizon (slot 24): a far view drawn at half speed behind the runway, 128 x 64 px
// stood on the ground line and magnified 12.8 times, so it is drawn in broad, soft shapes.
#include "draw_events_b.h"

#include <cmath>

namespace artgen {

void DrawPoleVaultHorizon(Canvas& canvas) {
    const int w = canvas.width, h = canvas.height;
    canvas.VerticalGradient(0, 0, w, h, Rgba::Hex(0x58b0ee), Rgba::Hex(0xd6f0ff));
    // Sun with a soft halo.
    for (int r = 9; r > 4; r -= 2)
        paint::BlendDisc(canvas, 104.0f, 12.0f, float(r), Rgba(255, 250, 220, 50));
    canvas.Disc(104.0f, 12.0f, 4.0f, Rgba::Hex(0xfff3a0));
    paint::Cloud(canvas, 30.0f, 16.0f, 26.0f, 1);
    paint::Cloud(canvas, 70.0f, 26.0f, 18.0f, 2);
    // Far hills in hazy blue-green, nearer ones greener.
    for (int i = 0; i < w; ++i) {
        const int far = 34 + int(4.0f * std::sin(i * 0.07f) + 2.0f * std::sin(i * 0.19f + 1.0f));
        for (int j = far; j < h; ++j)
            canvas.Set(i, j, j == far ? Rgba::Hex(0xa8d8c0) : Rgba::Hex(0x8cc7a8));
        const int near = 42 + int(3.0f * std::sin(i * 0.11f + 2.0f));
        for (int j = near; j < h; ++j)
            canvas.Set(i, j, j == near ? Rgba::Hex(0x8fd870) : Rgba::Hex(0x6fbf5a));
    }
    // A few trees on the near hills.
    for (int k = 0; k < 9; ++k) {
        const float x = 4.0f + k * 14.0f + Noise(k, 0, 233) * 6.0f;
        const float y = 43.0f + 3.0f * std::sin(x * 0.11f + 2.0f);
        canvas.Disc(x, y, 2.2f, Rgba::Hex(0x3f9a2e));
        canvas.Set(int(x) - 1, int(y) - 1, Rgba::Hex(0x5cc43c));
    }
    // The far stand of the stadium: roof, crowd and a band of boards.
    const int left = 18, right = 110;
    canvas.Rect(left, 44, right - left, 2, ink::kWhite);
    canvas.Rect(left, 46, right - left, 1, Rgba::Hex(0x8a93a3));
    static constexpr uint32_t kCrowd[] = {0xe8473c, 0xffd93d, 0x3b8ee8, 0xffffff,
                                          0xf79a2e, 0xf6c8a0, 0x5cc43c};
    for (int j = 47; j < 56; ++j)
        for (int i = left; i < right; ++i) {
            Rgba c = Rgba::Hex(0x5a78b8);
            if (j % 3 != 2 && Noise(i, j, 234) < 0.7f) c = Rgba::Hex(kCrowd[int(Noise(i, j, 235) * 6.999f)]);
            canvas.Set(i, j, c);
        }
    for (int x = left; x < right; x += 23)
        canvas.Rect(x, 47, 1, 9, Rgba::Hex(0xb4bcc8));
    canvas.Rect(left - 2, 44, 2, 14, Rgba::Hex(0x8a93a3));
    canvas.Rect(right, 44, 2, 14, Rgba::Hex(0x8a93a3));
    paint::Floodlight(canvas, left - 6, 24, 44);
    paint::Floodlight(canvas, right - 4, 24, 44);
    static constexpr uint32_t kBoards[] = {0xe8473c, 0xffffff, 0x3b8ee8, 0xffd93d};
    for (int k = 0; k * 8 < w; ++k)
        canvas.Rect(k * 8, 56, 8, 2, Rgba::Hex(kBoards[k % 4]));
    canvas.Rect(0, 58, w, 1, Rgba::Hex(0x2c3240));
    // The far side of the track and the grass up to the ground line.
    canvas.Rect(0, 59, w, 2, Rgba::Hex(0xd86a48));
    for (int j = 61; j < h; ++j)
        for (int i = 0; i < w; ++i)
            canvas.Set(i, j, ((i / 8) % 2 == 0) ? Rgba::Hex(0x5cc43c) : Rgba::Hex(0x52b536));
}

} // namespace artgen
