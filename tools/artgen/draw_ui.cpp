// The interface art: grab pieces, podium, medals and balls, progress bar, event icons and labels,
// player badges, the logo and its overlays, the menu backdrop, buttons, slider and cursor.
// Sections: helpers - small pieces (0-13) - event icons (14-33) - labels (34-53) - podium base (54) - badges (67-70)
// - logo (71-74) - menu backdrop (75) - buttons and icons (76-111) - progress bar fill - the list.
#include "drawn.h"
#include "palette.h"
#include "pixel_font.h"

#include <cmath>
#include <string>

namespace artgen {

namespace {

// ---- helpers ----------------------------------------------------------------------------------

// A thick stroke: discs of radius r along the segment.
void Stroke(Canvas& c, float x0, float y0, float x1, float y1, float r, Rgba colour) {
    const float len = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, int(len * 3.0f));
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / float(steps);
        c.Disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, r, colour);
    }
}

// A 1-px ring (pixel centres within half a pixel of radius r).
void Ring(Canvas& c, float cx, float cy, float r, Rgba colour, float thickness = 1.0f) {
    for (int y = int(cy - r - 2); y <= int(cy + r + 2); ++y)
        for (int x = int(cx - r - 2); x <= int(cx + r + 2); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d <= r && d > r - thickness) c.Set(x, y, colour);
        }
}

// Adds a 1-px outline (4-neighbourhood) around everything opaque in the canvas.
void Outline(Canvas& c, Rgba colour) {
    Canvas copy = c;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if (copy.Get(x, y).a != 0) continue;
            if (copy.Get(x - 1, y).a || copy.Get(x + 1, y).a || copy.Get(x, y - 1).a || copy.Get(x, y + 1).a)
                c.Set(x, y, colour);
        }
}

// Copies a small canvas scaled up by n into another at (x, y).
void Magnify(Canvas& dst, const Canvas& src, int n, int x0 = 0, int y0 = 0) {
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) {
            const Rgba p = src.Get(x, y);
            if (p.a) dst.Rect(x0 + x * n, y0 + y * n, n, n, p);
        }
}

// Rounded box: dark outline, face, a light top edge and a darker bottom edge.
void Box(Canvas& c, int x, int y, int w, int h, Rgba face, Rgba light, Rgba dark) {
    const Rgba k = Pal('k');
    c.Rect(x + 1, y, w - 2, h, k);
    c.Rect(x, y + 1, w, h - 2, k);
    c.Rect(x + 1, y + 1, w - 2, h - 2, face);
    c.Rect(x + 2, y + 1, w - 4, 1, light);
    c.Rect(x + 1, y + 2, 1, h - 4, light);
    c.Rect(x + 2, y + h - 3, w - 4, 2, dark);
    c.Rect(x + w - 2, y + 2, 1, h - 4, dark);
}

struct ButtonStyle {
    char face, light, dark, text;
};
constexpr ButtonStyle kGo{'e', 'w', 'E', 'k'};    // go on: play, next, again, ok
constexpr ButtonStyle kPlain{'m', 'w', 'c', 'u'}; // neutral: skip, back, more
constexpr ButtonStyle kStop{'r', 'f', 'R', 'w'};  // quit

void CaptionButton(Canvas& c, const std::string& caption, ButtonStyle s) {
    Box(c, 0, 0, c.width, c.height - 1, Pal(s.face), Pal(s.light), Pal(s.dark));
    c.Rect(2, c.height - 1, c.width - 3, 1, Pal('%'));
    const int y = (c.height - 1 - 7) / 2 - 1;
    DrawText(c, (c.width - TextWidth(caption)) / 2 + 1, y + 1, caption, Pal(s.dark));
    DrawText(c, (c.width - TextWidth(caption)) / 2, y, caption, Pal(s.text));
}

// A button whose inside stays clear, for places that paint their own fill under it.
void HollowButton(Canvas& c, const std::string& caption) {
    const Rgba k = Pal('k');
    c.Rect(1, 0, c.width - 2, 1, k);
    c.Rect(1, c.height - 1, c.width - 2, 1, k);
    c.Rect(0, 1, 1, c.height - 2, k);
    c.Rect(c.width - 1, 1, 1, c.height - 2, k);
    c.Rect(1, 1, c.width - 2, 1, Pal('w'));
    c.Rect(1, c.height - 2, c.width - 2, 1, Pal('g'));
    DrawText(c, (c.width - TextWidth(caption)) / 2, (c.height - 7) / 2, caption, Pal('u'));
}

// A four-pointed sparkle.
void Sparkle(Canvas& c, int x, int y, int r, Rgba colour) {
    c.Rect(x - r, y, 2 * r + 1, 1, colour);
    c.Rect(x, y - r, 1, 2 * r + 1, colour);
    if (r > 1) c.Rect(x - 1, y - 1, 3, 3, colour);
}

// ---- small pieces (0-13) ----------------------------------------------------------------------

void DrawWhiteDisc(Canvas& c) {
    c.Disc(23, 23, 23, Pal('w'));
}

void DrawGrabBand(Canvas& c) {
    // A rubber band pulled from the cursor (left) to the body (right), stretched along x. The
    // game scales it to 0.1..0.025 of its height in metres, so the band itself stays slim.
    c.Rect(0, 4, c.width, 5, Pal('k'));
    c.Rect(0, 5, c.width, 3, Pal('o'));
    c.Rect(0, 5, c.width, 1, Pal('y'));
}

void DrawGrabPoint(Canvas& c) {
    c.Disc(6, 6, 6, Pal('k'));
    c.Disc(6, 6, 5, Pal('y'));
    c.Disc(6, 6, 3, Pal('k'));
    c.Disc(6, 6, 2, Pal('w'));
}

void DrawPodium(Canvas& c) {
    // Steps 2-1-3 from the left, numbers on their fronts below the flags that hang there. The tops
    // match the podium boxes of the medal presentation (0.4 m apart at 10 px per metre), so its
    // figures stand on them.
    const struct {
        int x, top;
        const char* label;
    } steps[] = {{0, 4, "2"}, {23, 0, "1"}, {46, 8, "3"}};
    for (const auto& s : steps) {
        Box(c, s.x, s.top, 23, c.height - s.top, Pal('l'), Pal('w'), Pal('i'));
        DrawText(c, s.x + 8, s.top + 16, s.label, Pal('u'));
    }
}

void DrawPodiumBase(Canvas& c) {
    // The same three columns with neither tops nor numbers: drawn under the podium and lower down,
    // it carries the steps down to the bottom of the screen.
    for (const int x : {0, 23, 46}) Box(c, x, -4, 23, c.height + 8, Pal('l'), Pal('w'), Pal('i'));
}

void DrawAthlete(Canvas& c) {
    // A plain standing athlete in light greys, for the code to tint.
    Canvas fig(c.width, c.height);
    fig.Disc(8.5f, 4.0f, 3.2f, Pal('w'));
    Stroke(fig, 8.5f, 8, 8.5f, 15, 2.2f, Pal('w'));
    Stroke(fig, 7, 9, 4, 16, 1.0f, Pal('l'));
    Stroke(fig, 10, 9, 13, 16, 1.0f, Pal('l'));
    Stroke(fig, 7.5f, 16, 6, 23, 1.1f, Pal('l'));
    Stroke(fig, 9.5f, 16, 11, 23, 1.1f, Pal('l'));
    Outline(fig, Pal('k'));
    c.Paste(fig, 0, 0);
}

void DrawMedal(Canvas& c, char face, char shade) {
    c.Triangle(2, 0, 6, 0, 6, 5, Pal('b'));
    c.Triangle(10, 0, 6, 0, 6, 5, Pal('r'));
    c.Disc(6, 7.5f, 4.5f, Pal('k'));
    c.Disc(6, 7.5f, 3.5f, Pal(shade));
    c.Disc(6, 7.5f, 2.5f, Pal(face));
    c.Set(5, 6, Pal('w'));
}
void DrawGold(Canvas& c) {
    DrawMedal(c, 'y', 'j');
}
void DrawSilver(Canvas& c) {
    DrawMedal(c, 'x', 'X');
}
void DrawBronze(Canvas& c) {
    DrawMedal(c, 'z', 'Z');
}

void DrawBeachBall(Canvas& c) {
    c.Disc(6, 6, 6, Pal('k'));
    c.Disc(6, 6, 5, Pal('w'));
    c.Triangle(6, 6, 1, 3, 4, 1, Pal('r'));
    c.Triangle(6, 6, 8, 1, 11, 4, Pal('b'));
    c.Triangle(6, 6, 11, 8, 8, 11, Pal('y'));
    c.Triangle(6, 6, 4, 11, 1, 8, Pal('e'));
    c.Disc(6, 6, 1.2f, Pal('w'));
}

void DrawFootball(Canvas& c) {
    c.Disc(6, 6, 6, Pal('k'));
    c.Disc(6, 6, 5, Pal('w'));
    c.Disc(6, 6, 1.8f, Pal('k'));
    for (const float a : {0.3f, 1.55f, 2.8f, 4.05f, 5.3f})
        c.Disc(6 + 4.2f * std::cos(a), 6 + 4.2f * std::sin(a), 1.2f, Pal('k'));
}

void DrawTennisBall(Canvas& c) {
    c.Disc(6, 6, 6, Pal('k'));
    c.Disc(6, 6, 5, Pal('y'));
    Ring(c, 0, 6, 4.5f, Pal('w'));
    Ring(c, 12, 6, 4.5f, Pal('w'));
    c.Set(4, 3, Pal('w'));
}

void DrawInfoMark(Canvas& c) {
    Box(c, 0, 0, 9, 11, Pal('b'), Pal('c'), Pal('B'));
    c.Rect(4, 2, 1, 1, Pal('w'));
    c.Rect(4, 4, 1, 4, Pal('w'));
}

void DrawExcluded(Canvas& c) {
    c.Disc(4.5f, 4.5f, 4.5f, Pal('k'));
    c.Disc(4.5f, 4.5f, 3.5f, Pal('r'));
    c.Rect(2, 4, 5, 1, Pal('w'));
}

void DrawBarFrame(Canvas& c) {
    // Hollow: the fill is drawn inside the 1-px border.
    c.Frame(0, 0, c.width, c.height, Pal('k'));
}

// ---- event icons (14-33) ----------------------------------------------------------------------

// The tile under each pictogram: a bevelled square in the event's colour.
void Tile(Canvas& c, char face, char light, char dark) {
    Box(c, 0, 0, 22, 22, Pal(face), Pal(light), Pal(dark));
}

// Pictograms are white figures with a dark outline, drawn on their own layer.
struct Picto {
    Canvas fig{22, 22};
    Rgba w = Pal('w');
    void Head(float x, float y) { fig.Disc(x, y, 1.7f, w); }
    void Limb(float x0, float y0, float x1, float y1, float r = 0.8f) { Stroke(fig, x0, y0, x1, y1, r, w); }
    void Done(Canvas& c) {
        Outline(fig, Pal('k'));
        c.Paste(fig, 0, 0);
    }
};

void DrawIconDiving(Canvas& c) {
    Tile(c, 'c', 'm', 'C');
    c.Rect(2, 16, 18, 4, Pal('b'));
    c.Rect(2, 16, 18, 1, Pal('m'));
    // Splash where the hands meet the water.
    for (const auto& [x, y] : {std::pair{15, 14}, std::pair{19, 14}, std::pair{16, 13}, std::pair{18, 13}})
        c.Set(x, y, Pal('w'));
    Picto p;
    p.Limb(5, 3, 11, 9, 1.0f);
    p.Limb(5, 3, 2.5f, 1.5f, 0.7f);
    p.Limb(5, 3, 2, 4.5f, 0.7f);
    p.fig.Disc(10.2f, 12.8f, 1.8f, p.w);
    p.Limb(11, 9, 16.5f, 14.5f, 0.6f);
    p.Done(c);
}

void DrawIconJavelin(Canvas& c) {
    Tile(c, 'e', 'y', 'E');
    Stroke(c, 3, 15, 19, 3, 0.5f, Pal('y'));
    Picto p;
    p.Head(9, 5);
    p.Limb(9, 7, 10, 13, 1.1f);
    p.Limb(9, 8, 14, 7);
    p.Limb(9, 8, 6, 11);
    p.Limb(10, 13, 7, 19);
    p.Limb(10, 13, 14, 18);
    p.Done(c);
    c.Set(19, 3, Pal('k'));
}

void DrawIconEquestrian(Canvas& c) {
    Tile(c, 'E', 'e', 'G');
    Canvas horse(22, 22);
    horse.Ellipse(10, 12, 6, 2.8f, Pal('t'));
    Stroke(horse, 15, 11, 18, 6, 1.2f, Pal('t'));
    horse.Ellipse(18.5f, 6, 2, 1.3f, Pal('t'));
    for (float x : {6.0f, 8.0f, 13.0f, 15.0f})
        Stroke(horse, x, 13, x, 19, 0.6f, Pal('t'));
    Stroke(horse, 4.5f, 11, 2.5f, 15, 0.6f, Pal('T'));
    Outline(horse, Pal('k'));
    c.Paste(horse, 0, 0);
    Picto p;
    p.Head(10, 3.5f);
    p.Limb(10, 5, 10, 9, 1.0f);
    p.Limb(10, 6, 14, 7);
    p.Done(c);
}

void DrawIconDash(Canvas& c) {
    Tile(c, 'o', 'y', 'O');
    for (int y : {7, 11, 15})
        c.Rect(2, y, 3, 1, Pal('y'));
    Picto p;
    p.Head(14, 4);
    p.Limb(13, 6, 11, 11, 1.1f);
    p.Limb(12, 7, 16, 9);
    p.Limb(12, 7, 8, 6);
    p.Limb(11, 11, 15, 14);
    p.Limb(15, 14, 14, 19);
    p.Limb(11, 11, 8, 15);
    p.Limb(8, 15, 5, 15);
    p.Done(c);
}

void DrawIconRings(Canvas& c) {
    Tile(c, 'p', 'f', 'P');
    c.Rect(6, 2, 1, 4, Pal('l'));
    c.Rect(15, 2, 1, 4, Pal('l'));
    Ring(c, 6.5f, 7.5f, 2.2f, Pal('y'));
    Ring(c, 15.5f, 7.5f, 2.2f, Pal('y'));
    Picto p;
    p.Limb(7, 9, 10, 12);
    p.Limb(15, 9, 12, 12);
    p.Head(11, 12);
    p.Limb(11, 13, 11, 17, 1.1f);
    p.Limb(11, 17, 10, 20);
    p.Limb(11, 17, 12, 20);
    p.Done(c);
}

void DrawIconHighJump(Canvas& c) {
    Tile(c, 'b', 'c', 'B');
    c.Rect(3, 9, 1, 11, Pal('l'));
    c.Rect(18, 9, 1, 11, Pal('l'));
    c.Rect(3, 11, 16, 1, Pal('y'));
    Picto p;
    p.Head(5.5f, 8);
    p.Limb(7, 7, 10, 5, 1.1f);
    p.Limb(10, 5, 14, 6, 1.1f);
    p.Limb(14, 6, 17, 9);
    p.Limb(8, 6, 7, 3);
    p.Done(c);
}

void DrawIconWeightlifting(Canvas& c) {
    Tile(c, 'r', 'f', 'R');
    c.Rect(2, 5, 18, 1, Pal('i'));
    c.Rect(3, 2, 2, 7, Pal('d'));
    c.Rect(17, 2, 2, 7, Pal('d'));
    Picto p;
    p.Limb(8, 6, 9, 10);
    p.Limb(14, 6, 13, 10);
    p.Head(11, 10);
    p.Limb(11, 12, 11, 16, 1.1f);
    p.Limb(11, 16, 8, 20);
    p.Limb(11, 16, 14, 20);
    p.Done(c);
}

void DrawIconShotPut(Canvas& c) {
    Tile(c, 'O', 'o', 'T');
    Picto p;
    p.Head(9, 6);
    p.Limb(9, 8, 9, 14, 1.1f);
    p.Limb(9, 9, 12, 7);
    p.Limb(9, 9, 5, 11);
    p.Limb(9, 14, 6, 19);
    p.Limb(9, 14, 13, 19);
    p.Done(c);
    c.Disc(13.5f, 5.5f, 2.2f, Pal('k'));
    c.Disc(13.5f, 5.5f, 1.4f, Pal('g'));
}

void DrawIconPoleVault(Canvas& c) {
    Tile(c, 'C', 'm', 'B');
    Stroke(c, 4, 20, 9, 10, 0.5f, Pal('y'));
    Stroke(c, 9, 10, 12, 4, 0.5f, Pal('y'));
    Picto p;
    p.Limb(12, 4, 16, 5, 1.1f);
    p.Head(11, 6);
    p.Limb(16, 5, 19, 3);
    p.Limb(13, 5, 12, 9);
    p.Done(c);
}

void DrawIconRowing(Canvas& c) {
    Tile(c, 'b', 'c', 'B');
    c.Rect(2, 16, 18, 4, Pal('C'));
    Stroke(c, 3, 15, 19, 15, 1.0f, Pal('t'));
    Stroke(c, 4, 19, 16, 9, 0.5f, Pal('y'));
    Picto p;
    p.Head(10, 7);
    p.Limb(10, 9, 11, 13, 1.1f);
    p.Limb(10, 10, 14, 11);
    p.Done(c);
}

void DrawIconSwimming(Canvas& c) {
    Tile(c, 'C', 'm', 'B');
    for (int x = 2; x < 20; ++x)
        c.Set(x, 14 + (x / 2) % 2, Pal('m'));
    c.Rect(2, 16, 18, 4, Pal('b'));
    Picto p;
    p.Head(15, 11);
    p.Limb(13, 12, 5, 13, 1.1f);
    p.Limb(13, 11, 10, 6);
    p.Limb(10, 6, 7, 8);
    p.Done(c);
}

void DrawIconRacewalk(Canvas& c) {
    Tile(c, 'o', 'y', 'O');
    Picto p;
    p.Head(11, 4);
    p.Limb(11, 6, 11, 12, 1.1f);
    p.Limb(11, 7, 8, 10);
    p.Limb(11, 7, 14, 9);
    p.Limb(11, 12, 8, 19);
    p.Limb(11, 12, 14, 19);
    p.Done(c);
    c.Rect(2, 20, 18, 1, Pal('k'));
}

void DrawIconLongJump(Canvas& c) {
    Tile(c, 'A', 'a', 'T');
    c.Rect(2, 17, 18, 3, Pal('a'));
    Picto p;
    p.Head(8, 5);
    p.Limb(9, 7, 11, 11, 1.1f);
    p.Limb(11, 11, 17, 12);
    p.Limb(11, 11, 16, 14);
    p.Limb(9, 8, 15, 7);
    p.Done(c);
}

void DrawIconKayak(Canvas& c) {
    Tile(c, 'C', 'm', 'B');
    // A slalom gate: two poles on a wire.
    c.Rect(2, 2, 18, 1, Pal('l'));
    c.Rect(3, 3, 1, 9, Pal('r'));
    c.Rect(18, 3, 1, 9, Pal('e'));
    c.Ellipse(11, 15.5f, 8.5f, 2.2f, Pal('k'));
    c.Ellipse(11, 15.5f, 7.5f, 1.2f, Pal('r'));
    c.Rect(5, 15, 12, 1, Pal('f'));
    Picto p;
    p.Head(11, 6.5f);
    p.Limb(11, 8.5f, 11, 13, 1.1f);
    p.Limb(11, 10, 8, 12);
    p.Limb(11, 10, 14, 9);
    p.Done(c);
    Stroke(c, 6, 14, 16, 7, 0.45f, Pal('y'));
    c.Ellipse(5.5f, 14.5f, 1.2f, 1.6f, Pal('y'));
    c.Ellipse(16.5f, 6.5f, 1.2f, 1.6f, Pal('y'));
}

void DrawIconHammer(Canvas& c) {
    Tile(c, 'e', 'y', 'E');
    Stroke(c, 12, 10, 17, 5, 0.4f, Pal('i'));
    c.Disc(17.5f, 4.5f, 2.4f, Pal('k'));
    c.Disc(17.5f, 4.5f, 1.6f, Pal('d'));
    Picto p;
    p.Head(9, 7);
    p.Limb(9, 9, 9, 14, 1.1f);
    p.Limb(9, 10, 12, 10);
    p.Limb(9, 14, 6, 19);
    p.Limb(9, 14, 12, 19);
    p.Done(c);
}

void DrawIconCycling(Canvas& c) {
    Tile(c, 'y', 'w', 'j');
    Ring(c, 6, 15, 3.8f, Pal('k'), 1.2f);
    Ring(c, 16, 15, 3.8f, Pal('k'), 1.2f);
    Stroke(c, 6, 15, 11, 15, 0.4f, Pal('r'));
    Stroke(c, 11, 15, 15, 9, 0.4f, Pal('r'));
    Stroke(c, 8, 9, 15, 9, 0.4f, Pal('r'));
    Stroke(c, 6, 15, 8, 9, 0.4f, Pal('r'));
    Picto p;
    p.Head(13, 3.5f);
    p.Limb(12, 5, 8, 8, 1.1f);
    p.Limb(12, 6, 15, 8);
    p.Limb(8, 8, 11, 13);
    p.Done(c);
}

void DrawIconArchery(Canvas& c) {
    Tile(c, 'G', 'E', 'k');
    c.Disc(17, 11, 4, Pal('w'));
    c.Disc(17, 11, 3, Pal('r'));
    c.Disc(17, 11, 1.6f, Pal('y'));
    c.Rect(7, 10, 9, 1, Pal('t'));
    Picto p;
    p.Head(4.5f, 6);
    p.Limb(4.5f, 8, 4.5f, 14, 1.1f);
    p.Limb(4.5f, 9, 8, 10);
    p.Limb(4.5f, 14, 3, 19);
    p.Limb(4.5f, 14, 6.5f, 19);
    p.Done(c);
    Ring(c, 6, 10.5f, 4.5f, Pal('T'));
    c.Rect(2, 6, 4, 9, kClear);
    p.Done(c);
}

void DrawIconTrophy(Canvas& c) {
    Tile(c, 'u', 'b', 'k');
    c.Ellipse(11, 7, 5, 4, Pal('j'));
    c.Rect(10, 10, 3, 4, Pal('j'));
    c.Rect(7, 14, 9, 3, Pal('J'));
    Ring(c, 5.5f, 7, 2.5f, Pal('j'));
    Ring(c, 16.5f, 7, 2.5f, Pal('j'));
    c.Set(9, 5, Pal('w'));
}

void DrawIconMedals(Canvas& c) {
    Tile(c, 'u', 'b', 'k');
    Canvas m(12, 12);
    DrawMedal(m, 'y', 'j');
    c.Paste(m, 5, 5);
}

void DrawIconClock(Canvas& c) {
    Tile(c, 'u', 'b', 'k');
    c.Disc(11, 12, 6, Pal('k'));
    c.Disc(11, 12, 5, Pal('w'));
    c.Rect(10, 4, 3, 2, Pal('k'));
    c.Rect(11, 8, 1, 4, Pal('k'));
    c.Rect(11, 12, 3, 1, Pal('r'));
}

// ---- event labels (34-53) ---------------------------------------------------------------------

void Label(Canvas& c, const char* text) {
    DrawText(c, (c.width - TextWidth(text)) / 2 + 1, 1, text, Pal('m'));
    DrawText(c, (c.width - TextWidth(text)) / 2, 0, text, Pal('u'));
}
void DrawLabelDiving(Canvas& c) {
    Label(c, "DIVING");
}
void DrawLabelJavelin(Canvas& c) {
    Label(c, "JAVELIN");
}
void DrawLabelEquestrian(Canvas& c) {
    Label(c, "EQUESTRIAN");
}
void DrawLabelDash(Canvas& c) {
    Label(c, "100M DASH");
}
void DrawLabelRings(Canvas& c) {
    Label(c, "RINGS");
}
void DrawLabelHighJump(Canvas& c) {
    Label(c, "HIGH JUMP");
}
void DrawLabelWeightlifting(Canvas& c) {
    Label(c, "WEIGHTLIFTING");
}
void DrawLabelShotPut(Canvas& c) {
    Label(c, "SHOT PUT");
}
void DrawLabelPoleVault(Canvas& c) {
    Label(c, "POLE VAULT");
}
void DrawLabelRowing(Canvas& c) {
    Label(c, "ROWING");
}
void DrawLabelSwimming(Canvas& c) {
    Label(c, "SWIMMING");
}
void DrawLabelRacewalk(Canvas& c) {
    Label(c, "RACEWALK");
}
void DrawLabelLongJump(Canvas& c) {
    Label(c, "LONG JUMP");
}
void DrawLabelKayak(Canvas& c) {
    Label(c, "KAYAK SLALOM");
}
void DrawLabelHammer(Canvas& c) {
    Label(c, "HAMMER THROW");
}
void DrawLabelCycling(Canvas& c) {
    Label(c, "CYCLING");
}
void DrawLabelArchery(Canvas& c) {
    Label(c, "ARCHERY");
}
void DrawLabelSpare(Canvas& c) {
    Label(c, "...");
}

// ---- player badges (67-70) --------------------------------------------------------------------

void Badge(Canvas& c, const char* text) {
    // An empty place for a nation's flag: a dashed frame with the player's number.
    c.Rect(1, 1, 28, 16, Pal('q'));
    for (int x = 0; x < 30; ++x)
        if ((x / 2) % 2 == 0) {
            c.Set(x, 0, Pal('u'));
            c.Set(x, 17, Pal('u'));
        }
    for (int y = 0; y < 18; ++y)
        if ((y / 2) % 2 == 0) {
            c.Set(0, y, Pal('u'));
            c.Set(29, y, Pal('u'));
        }
    DrawText(c, 7, 5, text, Pal('u'));
}
void DrawBadge1(Canvas& c) {
    Badge(c, "P1");
}
void DrawBadge2(Canvas& c) {
    Badge(c, "P2");
}
void DrawBadge3(Canvas& c) {
    Badge(c, "P3");
}
void DrawBadge4(Canvas& c) {
    Badge(c, "P4");
}

// ---- logo (71-74) -----------------------------------------------------------------------------

// The logo is drawn at a quarter size and magnified 4x, so it has the same chunky pixels as the
// sprites shown at scale 4. Coordinates in these functions are quarter-size logo pixels.
constexpr int kLogoW = 256, kLogoH = 47;
constexpr int kTitleScale = 3, kTitleTop = 13;
const char* const kTitle = "KELVARO";

int TitleLeft() {
    return (kLogoW - TextWidth(kTitle) * kTitleScale) / 2;
}

void LogoBand(Canvas& s) {
    const Rgba k = Pal('k');
    // A ribbon with notched ends behind the title.
    s.Rect(30, 8, 196, 33, k);
    s.Rect(31, 9, 194, 31, Pal('B'));
    s.Rect(31, 9, 194, 2, Pal('b'));
    s.Rect(31, 37, 194, 3, Pal('u'));
    for (int side = 0; side < 2; ++side) {
        const int x0 = side ? 226 : 8, dir = side ? 1 : -1;
        (void)dir;
        s.Rect(x0, 14, 22, 24, k);
        s.Rect(x0 + 1, 15, 20, 22, Pal('r'));
        s.Rect(x0 + 1, 15, 20, 2, Pal('f'));
        s.Triangle(side ? 248.0f : 8.0f, 14, side ? 248.0f : 8.0f, 38, side ? 240.0f : 16.0f, 26, kClear);
    }
    for (int x = 36; x < 222; x += 12)
        s.Set(x, 12, Pal('c'));
}

void LogoTitle(Canvas& s) {
    Canvas letters(kLogoW, kLogoH);
    const int left = TitleLeft();
    DrawText(letters, left, kTitleTop, kTitle, Pal('y'), kTitleScale);
    // Warm gradient: yellow top, orange bottom, a white glint on the top row of each stroke.
    for (int y = 0; y < kLogoH; ++y)
        for (int x = 0; x < kLogoW; ++x) {
            if (!letters.Get(x, y).a) continue;
            const int row = y - kTitleTop;
            letters.Set(x, y, row < 3 ? Pal('w') : row < 9 ? Pal('y') : row < 15 ? Pal('j') : Pal('o'));
            if (row >= 3 && !letters.Get(x, y - 1).a) letters.Set(x, y, Pal('n'));
        }
    Canvas shadow(kLogoW, kLogoH);
    for (int y = 0; y < kLogoH; ++y)
        for (int x = 0; x < kLogoW; ++x)
            if (letters.Get(x - 2, y - 2).a) shadow.Set(x, y, Pal('k'));
    Outline(letters, Pal('k'));
    s.Paste(shadow, 0, 0);
    s.Paste(letters, 0, 0);
}

void DrawLogo(Canvas& c) {
    Canvas s(kLogoW, kLogoH);
    LogoBand(s);
    LogoTitle(s);
    Magnify(c, s, 4);
}

// Overlays are cut from a magnified logo-sized picture at the place the menu puts them:
// overlay pixel (x, y) lies over logo pixel (x - shiftX, y + shiftY).
void Overlay(Canvas& c, const Canvas& small, int shiftX, int shiftY) {
    Canvas big(kLogoW * 4, kLogoH * 4);
    Magnify(big, small, 4);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            c.Set(x, y, big.Get(x - shiftX, y + shiftY));
}

void SparkleSet(Canvas& s, const int (*points)[3], int count) {
    for (int i = 0; i < count; ++i) {
        Sparkle(s, points[i][0], points[i][1], points[i][2], Pal('w'));
        s.Set(points[i][0], points[i][1], Pal('y'));
    }
}

void DrawLogoOverlayA(Canvas& c) {
    Canvas s(kLogoW, kLogoH);
    const int points[][3] = {{TitleLeft() + 4, 16, 2},
                             {TitleLeft() + 70, 34, 1},
                             {TitleLeft() + 118, 15, 2},
                             {TitleLeft() + 160, 31, 1},
                             {40, 20, 1},
                             {214, 27, 1}};
    SparkleSet(s, points, 6);
    Overlay(c, s, 0, 54);
}

void DrawLogoOverlayB(Canvas& c) {
    Canvas s(kLogoW, kLogoH);
    const int points[][3] = {{TitleLeft() + 30, 33, 1},
                             {TitleLeft() + 52, 16, 2},
                             {TitleLeft() + 94, 32, 1},
                             {TitleLeft() + 142, 16, 2},
                             {46, 30, 1},
                             {208, 18, 1}};
    SparkleSet(s, points, 6);
    Overlay(c, s, -16, 58);
}

void DrawLogoOverlayC(Canvas& c) {
    // A light sweep across the title.
    Canvas s(kLogoW, kLogoH);
    Canvas letters(kLogoW, kLogoH);
    DrawText(letters, TitleLeft(), kTitleTop, kTitle, Pal('w'), kTitleScale);
    for (int y = 0; y < kLogoH; ++y)
        for (int x = 0; x < kLogoW; ++x)
            if (letters.Get(x, y).a && (x + y) % 40 < 4) s.Set(x, y, Pal('q'));
    Overlay(c, s, 0, 62);
}

// ---- menu backdrop (75) -----------------------------------------------------------------------

void DrawMenuBackdrop(Canvas& c) {
    // Sky, a stadium's stands with a crowd, the field. Left: the board behind the event tiles;
    // right: the stand of the four player places; bottom right: the ground under the Play button.
    c.VerticalGradient(0, 0, 256, 60, Pal('c'), Pal('m'));
    for (int i = 0; i < 6; ++i) {
        const int cx = 20 + i * 45, cy = 18 + (i % 3) * 6;
        c.Ellipse(float(cx), float(cy), 12, 3, Pal('w'));
        c.Ellipse(float(cx + 6), float(cy - 2), 7, 3, Pal('w'));
    }
    // Stands.
    c.Rect(0, 52, 256, 52, Pal('d'));
    for (int y = 54; y < 102; y += 6)
        c.Rect(0, y, 256, 1, Pal('g'));
    const char crowd[] = {'r', 'b', 'y', 'w', 'e', 'o', 'f', 's', 'S', 'p'};
    for (int y = 55; y < 102; y += 3)
        for (int x = (y / 3) % 2; x < 256; x += 2)
            if (Noise(x, y, 7) < 0.6f) c.Set(x, y, Pal(crowd[int(Noise(x, y, 9) * 9.99f)]));
    c.Rect(0, 102, 256, 2, Pal('k'));
    c.Rect(0, 52, 256, 1, Pal('k'));
    // Field and track.
    c.VerticalGradient(0, 104, 256, 88, Pal('e'), Pal('E'));
    for (int y = 104; y < 192; y += 8)
        c.Rect(0, y, 256, 4, Pal('E'));
    c.Rect(0, 176, 256, 16, Pal('z'));
    for (int y = 179; y < 192; y += 4)
        c.Rect(0, y, 256, 1, Pal('w'));
    // Board behind the event grid (tiles at 16..132 x 102..171, caption at 87).
    c.Rect(8, 82, 134, 98, Pal('k'));
    c.Rect(9, 83, 132, 96, Pal('n'));
    c.Rect(9, 83, 132, 16, Pal('i'));
    c.Rect(9, 99, 132, 1, Pal('g'));
    for (int x : {13, 136})
        for (int y : {87, 174})
            c.Disc(float(x), float(y), 1.5f, Pal('g'));
    // Player stand (places at (169, 59), (204, 68), (154, 81), (189, 90), each 30x18).
    c.Rect(146, 50, 96, 66, Pal('k'));
    c.Rect(147, 51, 94, 64, Pal('u'));
    for (int y = 53; y < 113; y += 4)
        c.Rect(148, y, 92, 1, Pal('B'));
    const int places[][2] = {{169, 59}, {204, 68}, {154, 81}, {189, 90}};
    for (const auto& p : places) {
        c.Rect(p[0] - 2, p[1] - 2, 34, 22, Pal('k'));
        c.Rect(p[0] - 1, p[1] - 1, 32, 20, Pal('l'));
        c.Rect(p[0] - 1, p[1] + 19, 32, 1, Pal('g'));
    }
    // Ground under the Play button (175..237 x 148..171).
    for (int y = 167; y < 179; ++y)
        for (int x = 168; x < 245; ++x) {
            const float dx = (x + 0.5f - 206) / 36.0f, dy = (y + 0.5f - 173) / 5.0f;
            if (dx * dx + dy * dy <= 1.0f) c.Set(x, y, Mix(c.Get(x, y), Pal('k'), 0.3f));
        }
}

// ---- buttons and icons (76-111) ---------------------------------------------------------------

void DrawPlay(Canvas& c) {
    Box(c, 0, 0, c.width, c.height - 1, Pal('e'), Pal('w'), Pal('E'));
    c.Rect(2, c.height - 1, c.width - 3, 1, Pal('%'));
    c.Triangle(15, 8, 15, 21, 24, 14.5f, Pal('k'));
    c.Triangle(16, 10, 16, 19, 22, 14.5f, Pal('w'));
    DrawText(c, 33, 11, "PLAY", Pal('E'));
    DrawText(c, 32, 10, "PLAY", Pal('k'));
}

void DrawBigPanel(Canvas& c) {
    Box(c, 0, 0, c.width, c.height, Pal('n'), Pal('w'), Pal('i'));
}

void DrawNext(Canvas& c) {
    CaptionButton(c, "NEXT", kGo);
}
// The pause panel's way back into the attempt; NEXT there read as skipping to the next competitor.
void DrawResume(Canvas& c) {
    CaptionButton(c, "RESUME", kGo);
}
void DrawSkip(Canvas& c) {
    CaptionButton(c, "SKIP", kPlain);
}
void DrawPractice(Canvas& c) {
    HollowButton(c, "PRACTICE");
}
void DrawBack(Canvas& c) {
    CaptionButton(c, "BACK", kPlain);
}

void DrawCompetitionBox(Canvas& c) {
    // The box at the left takes the cross (sprite 83) when the event is left out.
    c.Rect(0, 0, 13, 13, Pal('k'));
    c.Rect(1, 1, 11, 11, Pal('w'));
    c.Rect(1, 1, 11, 1, Pal('i'));
    c.Rect(3, 6, 2, 2, Pal('E'));
    c.Rect(5, 8, 2, 2, Pal('E'));
    c.Rect(7, 3, 2, 5, Pal('E'));
    DrawText(c, 17, 3, "INCLUDED", Pal('u'));
}

void DrawCross(Canvas& c) {
    c.Rect(1, 1, 11, 11, Pal('w'));
    for (int i = 0; i < 9; ++i) {
        c.Rect(2 + i, 2 + i, 2, 1, Pal('r'));
        c.Rect(10 - i, 2 + i, 2, 1, Pal('r'));
    }
}

void IconTile(Canvas& c, char face, char light, char dark) {
    Box(c, 0, 0, c.width, c.height, Pal(face), Pal(light), Pal(dark));
}

void DrawLeave(Canvas& c) {
    IconTile(c, 'm', 'w', 'c');
    c.Rect(4, 3, 7, 10, Pal('k'));
    c.Rect(5, 4, 5, 9, Pal('t'));
    c.Set(8, 8, Pal('y'));
    c.Triangle(11, 8, 15, 5, 15, 11, Pal('r'));
    c.Rect(11, 7, 2, 3, Pal('r'));
}

void DrawPause(Canvas& c) {
    IconTile(c, 'm', 'w', 'c');
    c.Rect(4, 4, 3, 8, Pal('u'));
    c.Rect(8, 4, 3, 8, Pal('u'));
}

void DrawCreditsIcon(Canvas& c) {
    IconTile(c, 'm', 'w', 'c');
    // An "i" for who made the game and two sliders for the volumes: the panel it opens holds both.
    // (A note alone read as a music switch.)
    c.Rect(3, 3, 2, 2, Pal('u'));
    c.Rect(3, 6, 2, 7, Pal('u'));
    c.Rect(2, 12, 4, 1, Pal('u'));
    c.Rect(7, 5, 7, 1, Pal('u'));
    c.Rect(9, 3, 2, 5, Pal('k'));
    c.Rect(7, 10, 7, 1, Pal('u'));
    c.Rect(11, 8, 2, 5, Pal('k'));
}

void DrawQuitIcon(Canvas& c) {
    IconTile(c, 'r', 'f', 'R');
    Ring(c, 8, 8.5f, 4.5f, Pal('w'), 1.5f);
    c.Rect(7, 2, 2, 7, Pal('r'));
    c.Rect(7, 3, 2, 5, Pal('w'));
}

void DrawOk(Canvas& c) {
    CaptionButton(c, "OK", kGo);
}
void DrawMore(Canvas& c) {
    CaptionButton(c, "MORE", kPlain);
}
void DrawQuit(Canvas& c) {
    CaptionButton(c, "QUIT", kStop);
}
void DrawBlankButton(Canvas& c) {
    CaptionButton(c, "", kPlain);
}
void DrawFast(Canvas& c) {
    HollowButton(c, "FAST");
}
void DrawAgain(Canvas& c) {
    CaptionButton(c, "AGAIN", kGo);
}

void DrawGridCaption(Canvas& c) {
    DrawText(c, (c.width - TextWidth("EVENTS")) / 2 + 1, 2, "EVENTS", Pal('g'));
    DrawText(c, (c.width - TextWidth("EVENTS")) / 2, 1, "EVENTS", Pal('u'));
    for (int x : {6, 72})
        Sparkle(c, x, 5, 2, Pal('j'));
}

void DrawRemove(Canvas& c) {
    IconTile(c, 'r', 'f', 'R');
    for (int i = 0; i < 7; ++i) {
        c.Rect(3 + i, 3 + i, 2, 1, Pal('w'));
        c.Rect(9 - i, 3 + i, 2, 1, Pal('w'));
    }
}

void DrawPickNation(Canvas& c) {
    IconTile(c, 'm', 'w', 'c');
    for (int y : {3, 6, 9}) {
        c.Rect(3, y, 3, 2, Pal('r'));
        c.Rect(7, y, 4, 1, Pal('u'));
    }
}

void DrawDice(Canvas& c) {
    IconTile(c, 'w', 'w', 'i');
    for (const auto& p :
         {std::pair{4, 4}, std::pair{9, 4}, std::pair{4, 9}, std::pair{9, 9}, std::pair{6, 6}})
        c.Rect(p.first, p.second, 2, 2, Pal('k'));
}

void DrawSlab(Canvas& c) {
    Box(c, 0, 0, c.width, c.height, Pal('m'), Pal('w'), Pal('c'));
}

void DrawKnob(Canvas& c) {
    Box(c, 0, 0, 12, 20, Pal('l'), Pal('w'), Pal('g'));
    for (int y : {7, 9, 11})
        c.Rect(3, y, 6, 1, Pal('g'));
}

void DrawThinBar(Canvas& c) {
    c.Rect(0, 1, c.width, 4, Pal('k'));
    c.Rect(1, 2, c.width - 2, 2, Pal('i'));
}

void DrawArrowRight(Canvas& c) {
    c.Triangle(0, 0, 6, 4.5f, 0, 9, Pal('k'));
    c.Triangle(1, 2, 4.5f, 4.5f, 1, 7, Pal('y'));
}

void DrawStar(Canvas& c) {
    c.Triangle(7, 0, 10, 15, 4, 15, Pal('k'));
    c.Triangle(0, 5, 14, 5, 7, 10, Pal('k'));
    c.Triangle(7, 2, 9, 13, 5, 13, Pal('y'));
    c.Triangle(2, 6, 12, 6, 7, 9, Pal('y'));
}

void DrawMuted(Canvas& c) {
    for (int i = 0; i < 8; ++i) {
        c.Rect(i, i, 2, 1, Pal('r'));
        c.Rect(7 - i, i, 2, 1, Pal('r'));
    }
}

void DrawVolumeTrack(Canvas& c) {
    // The knob's left edge runs 64 px centred on the track; the line is 13 px from the top.
    // A speaker on the left (the muted mark goes over it), loud waves on the right.
    const Rgba k = Pal('k');
    c.Rect(16, 12, 68, 3, k);
    c.Rect(17, 13, 66, 1, Pal('w'));
    for (int x = 18; x <= 82; x += 8)
        c.Rect(x, 15, 1, 2, Pal('g'));
    c.Rect(5, 10, 3, 6, k);
    c.Triangle(7, 13, 12, 7, 12, 19, k);
    c.Rect(6, 11, 1, 4, Pal('l'));
    for (int r : {3, 6}) {
        for (int y = -r; y <= r; ++y)
            c.Set(89 + int(std::sqrt(float(r * r - y * y))), 13 + y, k);
    }
    c.Rect(88, 12, 2, 3, k);
}

void LinkCaption(Canvas& c, const char* text) {
    const int x = (c.width - TextWidth(text)) / 2;
    DrawText(c, x, 2, text, Pal('b'));
    c.Rect(x, 11, TextWidth(text) - 1, 1, Pal('b'));
}
void DrawLinkWebsite(Canvas& c) {
    LinkCaption(c, "OUR WEBSITE");
}
void DrawLinkMusic(Canvas& c) {
    LinkCaption(c, "LISTEN TO THE MUSIC");
}
void DrawLinkMail(Canvas& c) {
    LinkCaption(c, "WRITE TO US");
}

void DrawCursor(Canvas& c) {
    // An arrow whose tip is the hot spot at (1, 0).
    Canvas a(13, 23);
    a.Triangle(1.5f, 0.5f, 1.5f, 16, 11.5f, 12.5f, Pal('w'));
    Stroke(a, 5, 13, 8, 20, 1.3f, Pal('w'));
    a.Set(1, 0, Pal('w'));
    Outline(a, Pal('k'));
    c.Paste(a, 0, 0);
    c.Set(1, 0, Pal('k'));
    c.Set(0, 0, kClear);
}

void DrawBlank(Canvas& c) {
    (void)c;
}

const DrawnSprite kUi[] = {
    {0, DrawWhiteDisc},
    {1, DrawGrabBand},
    {2, DrawGrabPoint},
    {3, DrawPodium},
    {4, DrawAthlete},
    {5, DrawGold},
    {6, DrawSilver},
    {7, DrawBronze},
    {8, DrawBeachBall},
    {9, DrawFootball},
    {10, DrawTennisBall},
    {11, DrawInfoMark},
    {12, DrawExcluded},
    {13, DrawBarFrame},
    {14, DrawIconDiving},
    {15, DrawIconJavelin},
    {16, DrawIconEquestrian},
    {17, DrawIconDash},
    {18, DrawIconRings},
    {19, DrawIconHighJump},
    {20, DrawIconWeightlifting},
    {21, DrawIconShotPut},
    {22, DrawIconPoleVault},
    {23, DrawIconRowing},
    {24, DrawIconSwimming},
    {25, DrawIconRacewalk},
    {26, DrawIconLongJump},
    {27, DrawIconKayak},
    {28, DrawIconHammer},
    {29, DrawIconCycling},
    {30, DrawIconArchery},
    {31, DrawIconTrophy},
    {32, DrawIconMedals},
    {33, DrawIconClock},
    {34, DrawLabelDiving},
    {35, DrawLabelJavelin},
    {36, DrawLabelEquestrian},
    {37, DrawLabelDash},
    {38, DrawLabelRings},
    {39, DrawLabelHighJump},
    {40, DrawLabelWeightlifting},
    {41, DrawLabelShotPut},
    {42, DrawLabelPoleVault},
    {43, DrawLabelRowing},
    {44, DrawLabelSwimming},
    {45, DrawLabelRacewalk},
    {46, DrawLabelLongJump},
    {47, DrawLabelKayak},
    {48, DrawLabelHammer},
    {49, DrawLabelCycling},
    {50, DrawLabelArchery},
    {51, DrawLabelSpare},
    {52, DrawLabelSpare},
    {53, DrawLabelSpare},
    {54, DrawPodiumBase},
    {67, DrawBadge1},
    {68, DrawBadge2},
    {69, DrawBadge3},
    {70, DrawBadge4},
    {71, DrawLogo},
    {72, DrawLogoOverlayA},
    {73, DrawLogoOverlayB},
    {74, DrawLogoOverlayC},
    {75, DrawMenuBackdrop},
    {76, DrawPlay},
    {77, DrawBigPanel},
    {78, DrawNext},
    {79, DrawSkip},
    {80, DrawPractice},
    {81, DrawBack},
    {82, DrawCompetitionBox},
    {83, DrawCross},
    {84, DrawLeave},
    {85, DrawPause},
    {86, DrawCreditsIcon},
    {87, DrawQuitIcon},
    {88, DrawOk},
    {89, DrawMore},
    {90, DrawQuit},
    {91, DrawBlankButton},
    {92, DrawFast},
    {93, DrawResume},
    {94, DrawAgain},
    {95, DrawBigPanel},
    {96, DrawGridCaption},
    {97, DrawRemove},
    {98, DrawPickNation},
    {99, DrawDice},
    {100, DrawSlab},
    {101, DrawKnob},
    {102, DrawThinBar},
    {103, DrawArrowRight},
    {104, DrawStar},
    {105, DrawMuted},
    {106, DrawVolumeTrack},
    {107, DrawLinkWebsite},
    {108, DrawLinkMusic},
    {109, DrawLinkMail},
    {110, DrawCursor},
    {111, DrawBlank},
};

} // namespace

// The fill of the progress bar, 400x32 texels sampled from the left as the value grows. Drawn at
// quarter size and magnified like the rest: a warm bar with a highlight and slanted stripes.
void DrawProgressBarFill(Canvas& canvas) {
    Canvas s(100, 8);
    for (int x = 0; x < 100; ++x) {
        const Rgba base = x < 50 ? Mix(Pal('e'), Pal('y'), float(x) / 50.0f)
                                 : Mix(Pal('y'), Pal('o'), float(x - 50) / 50.0f);
        for (int y = 0; y < 8; ++y) {
            Rgba p = base;
            if (y == 0) p = Mix(base, Pal('w'), 0.6f);
            if (y == 1) p = Mix(base, Pal('w'), 0.3f);
            if (y >= 6) p = Mix(base, Pal('k'), 0.25f);
            if ((x + y) % 8 < 2 && y > 1 && y < 6) p = Mix(p, Pal('w'), 0.25f);
            s.Set(x, y, p);
        }
    }
    Magnify(canvas, s, 4);
}

DrawnList UiDrawnSprites() {
    return {kUi, int(sizeof(kUi) / sizeof(kUi[0]))};
}

} // namespace artgen
