// Sections: validation; choosing and blending; flags; nation picker.
#include "sim/nations.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/log.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kel {

// ---- Validation ------------------------------------------------------------------------------

bool IsValidCountry(int country) {
    return country >= 0 && country < kCountryCount;
}

bool IsValidNation(const Nation& nation) {
    if (!IsValidCountry(nation.countryA)) return false;
    return nation.pure != 0 || IsValidCountry(nation.countryB);
}

// ---- Choosing and blending -------------------------------------------------------------------

bool IsVowel(char c) {
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U' || c == 'Y';
}

int RandomCountry() {
    int r = RandomInt(kCountryWeightTotal);
    for (int i = 0; i < kCountryCount; ++i) {
        if (r < kCountries[i].weight) return i;
        r -= kCountries[i].weight;
    }
    return kCountryCount - 1;
}

void SetNation(Nation* nation, int country) {
    if (!IsValidCountry(country)) {
        LogDebug("SetNation: country %d outside the table, using 0", country);
        country = 0;
    }
    nation->countryA = country;
    nation->pure = 1;
    std::snprintf(nation->name, sizeof nation->name, "%s", kCountries[country].name);
}

void RandomNation(Nation* nation) {
    SetNation(nation, RandomCountry());
}

namespace {

// Cursor over a name that steps while a condition on the letter it lands on holds.
struct NameCursor {
    const char* text;
    int length;
    int at;

    bool Vowel() const { return IsVowel(text[at]); }

    // Moves left one letter at a time until the letter reached is (not) a vowel or the start.
    void StepLeft(bool whileVowel) {
        while (at > 0) {
            --at;
            if (IsVowel(text[at]) != whileVowel) break;
        }
    }
    void StepRight(bool whileVowel) {
        while (at < length - 1) {
            ++at;
            if (IsVowel(text[at]) != whileVowel) break;
        }
    }
};

} // namespace

void MixNation(Nation* nation) {
    const int countryA = RandomCountry();
    int countryB = RandomCountry();
    while (countryB == countryA)
        countryB = RandomCountry();
    nation->countryA = countryA;
    nation->countryB = countryB;
    const char* a = kCountries[countryA].name;
    const char* b = kCountries[countryB].name;

    // f: a vowel of a meets a consonant of b; otherwise a consonant of a meets a vowel of b.
    const bool f = RandomInt(2) == 0;

    NameCursor left{a, static_cast<int>(std::strlen(a)), 0};
    left.at = left.length - 1;
    if (left.Vowel()) {
        left.StepLeft(true);
        if (f && !left.Vowel()) left.StepLeft(false);
    } else {
        left.StepLeft(false);
        if (!f && left.Vowel()) left.StepLeft(true);
    }
    if (RandomInt(2) == 0 && left.at >= RandomInt(2) + 3) {
        if (f) {
            if (left.Vowel()) left.StepLeft(true);
            if (!left.Vowel()) left.StepLeft(false);
        } else {
            if (!left.Vowel()) left.StepLeft(false);
            if (left.Vowel()) left.StepLeft(true);
        }
    }

    NameCursor right{b, static_cast<int>(std::strlen(b)), 0};
    if (right.Vowel()) {
        right.StepRight(true);
        if (!f && !right.Vowel()) right.StepRight(false);
    } else {
        right.StepRight(false);
        if (f && right.Vowel()) right.StepRight(true);
    }
    if (RandomInt(2) == 0 && right.at < right.length - RandomInt(2) - 3) {
        if (f) {
            if (!right.Vowel()) right.StepRight(false);
            if (right.Vowel()) right.StepRight(true);
        } else {
            if (right.Vowel()) right.StepRight(true);
            if (!right.Vowel()) right.StepRight(false);
        }
    }

    std::snprintf(nation->name, sizeof nation->name, "%.*s%s", left.at + 1, a, b + right.at);
    LogDebug("%s + %s = %s", a, b, nation->name);

    nation->firstSide = RandomInt(2);
    nation->skipOnce = RandomInt(2) == 0 ? 1 : 0;
    nation->pure = 0;
}

// ---- Flags -----------------------------------------------------------------------------------

namespace {

// The flag sheet holds four column groups of countries, one row of layer cells per country.
struct FlagGroup {
    int firstCountry;
    int x; // px
};
constexpr FlagGroup kFlagGroups[] = {{0, 2}, {44, 130}, {88, 258}, {130, 386}};
constexpr int kFlagRowPitch = 23;   // px
constexpr int kFlagLayerPitch = 32; // px
constexpr float kSheetWidth = 512.0f; // px
constexpr float kSheetHeight = 1024.0f;

} // namespace

void FlagCell(int country, int layer, int* cellX, int* cellY) {
    const FlagGroup* group = &kFlagGroups[0];
    for (const FlagGroup& g : kFlagGroups) {
        if (country >= g.firstCountry) group = &g;
    }
    *cellX = group->x + kFlagLayerPitch * layer;
    *cellY = 2 + kFlagRowPitch * (country - group->firstCountry);
}

void DrawFlagLayer(float x, float y, int country, int layer, float scale) {
    if (!IsValidCountry(country)) return;
    int cellX = 0;
    int cellY = 0;
    FlagCell(country, layer, &cellX, &cellY);
    const float uLeft = static_cast<float>(cellX) / kSheetWidth;
    const float vTop = static_cast<float>(cellY) / kSheetHeight;
    DrawTextureRegion(kFlagSlot, x, y, kFlagWidth * scale, kFlagHeight * scale, uLeft, uLeft + kFlagWidth / kSheetWidth,
                      vTop, vTop + kFlagHeight / kSheetHeight);
}

void DrawCountryFlag(int country, float x, float y, float scale) {
    if (!IsValidCountry(country)) return;
    for (int layer = 0; layer < kCountries[country].layers; ++layer) {
        DrawFlagLayer(x, y, country, layer, scale);
    }
}

// A blend takes turns between the two flags, each layer drawn over the previous one. A side whose
// layers are used up keeps drawing its cell number "count" on its turns; skipOnce lets a
// two-layer flag sit out one turn before its second layer so the other flag's middle shows.
void DrawFlag(const Nation& nation, float x, float y, float scale) {
    if (nation.pure != 0) {
        DrawCountryFlag(nation.countryA, x, y, scale);
        return;
    }
    if (!IsValidNation(nation)) return;
    const int country[2] = {nation.countryA, nation.countryB};
    const int count[2] = {kCountries[nation.countryA].layers, kCountries[nation.countryB].layers};
    int next[2] = {0, 0};
    int side = nation.firstSide != 0 ? 1 : 0;
    bool skip = nation.skipOnce != 0;
    while (next[0] < count[0] || next[1] < count[1]) {
        const int layer = next[side];
        if (layer == 1 && count[side] == 2 && skip) {
            skip = false;
            side ^= 1;
            continue;
        }
        DrawFlagLayer(x, y, country[side], layer, scale);
        if (layer < count[side]) next[side] = layer + 1;
        side ^= 1;
    }
}

void DrawNationTag(const Nation& nation, float x, float y, float scale) {
    FillRect(x - scale, y - scale, 32.0f * scale, 20.0f * scale, kBlack);
    DrawFlag(nation, x, y, scale);
}

// ---- Nation picker ---------------------------------------------------------------------------

namespace {

constexpr float kListScale = 3.0f;      // screen px per list unit
constexpr float kDragThreshold = 4.0f;  // window px before a press becomes a drag
constexpr float kWheelStep = 64.0f;     // list units
constexpr float kCoastFriction = 0.97f; // velocity kept per frame
constexpr float kCoastStop = 0.1f;
constexpr float kRowClickLimitX = 700.0f; // window px: clicks right of this are not on the rows
constexpr Colour kPanelColour = PackColour(0xD6, 0xF8, 0xFF, 0xFF);

} // namespace

void NationPickerInit(NationPicker* picker) {
    *picker = NationPicker{};
    picker->x = (gApp.screenWidthF / kListScale - picker->width) / 2.0f;
    picker->y = (gApp.screenHeightF / kListScale - picker->height) / 2.0f;
    picker->selected = -1;
    picker->scroll = 0.0f;
}

void NationPickerReset(NationPicker* picker, int index) {
    picker->velocity = 0.0f;
    picker->hoverId = -1;
    picker->pressedId = -1;
    picker->clickedId = -1;
    picker->dragging = false;
    for (float& s : picker->steps)
        s = 0.0f;
    picker->stepSlot = 0;
    if (index < 0 || index >= kCountryCount) {
        picker->selected = -1;
        return;
    }
    picker->scroll =
        Clamp(static_cast<float>((index - picker->visibleRows / 2 + 1) * 16), 0.0f, picker->maxScroll);
    picker->selected = index;
}

void NationPickerUpdate(NationPicker* picker) {
    const float mouseY = static_cast<float>(gApp.mouseY);
    if (gApp.mousePressed) {
        picker->lastMouseY = mouseY;
        picker->velocity = 0.0f;
    } else if (gApp.mouseHeld && std::fabs(mouseY - picker->lastMouseY) > kDragThreshold) {
        picker->dragging = true;
    }

    if (gApp.mouseReleased) {
        if (picker->dragging) {
            picker->dragging = false;
            float sum = 0.0f;
            for (float s : picker->steps)
                sum += s;
            picker->velocity = sum * 0.2f;
        } else if (static_cast<float>(gApp.mouseX) < kRowClickLimitX) {
            // Only clicks on the panel count: rows outside it are not drawn.
            const float listY = mouseY / kListScale - picker->y;
            if (listY >= 0.0f && listY < picker->height) {
                const int row =
                    static_cast<int>(std::floor((listY + picker->scroll + 2.0f) / picker->rowHeight - 1.0f));
                if (row >= 0 && row < kCountryCount) {
                    if (row == picker->selected) picker->clickedId = kPickerOkButton;
                    picker->selected = row;
                }
            }
        }
    }

    if (gApp.keyPressed[kKeyPageDown]) picker->scroll += kWheelStep;
    if (gApp.keyPressed[kKeyPageUp]) picker->scroll -= kWheelStep;
    picker->scroll = Clamp(picker->scroll, 0.0f, picker->maxScroll);

    if (picker->dragging) {
        const float step = picker->lastMouseY - mouseY;
        picker->scroll = Clamp(picker->scroll + step / kListScale, 0.0f, picker->maxScroll);
        picker->lastMouseY = mouseY;
        picker->steps[picker->stepSlot] = step;
        picker->stepSlot = (picker->stepSlot + 1) % 5;
        return;
    }
    if (std::fabs(picker->velocity) > kCoastStop) {
        picker->scroll = Clamp(picker->scroll + picker->velocity / kListScale, 0.0f, picker->maxScroll);
        picker->velocity *= kCoastFriction;
    }
}

void NationPickerDraw(NationPicker* picker) {
    picker->hoverId = -1;
    picker->clickedId = -1;
    FlushBatch();
    PushMatrix();
    ScaleMatrix(kListScale, kListScale);
    TranslateMatrix(picker->x, picker->y);
    FillRect(-4.0f, 4.0f, picker->width + 8.0f, picker->height, PackColour(0, 0, 0, 0x16));
    FillRect(0.0f, 0.0f, picker->width, picker->height, kPanelColour);
    const int first = static_cast<int>(picker->scroll / picker->rowHeight);
    const int last = Min(kCountryCount, first + picker->visibleRows);
    for (int i = first; i < last; ++i) {
        const float rowY = static_cast<float>(i + 1) * picker->rowHeight - picker->scroll;
        if (i == picker->selected) FillRect(12.0f, rowY, 222.0f, 12.0f, PackColour(0, 0, 0, 0x40));
        DrawCountryFlag(i, 12.0f, rowY, 0.66667f);
        if (gApp.font != nullptr)
            gApp.font->Print(40.0f, rowY + 2.0f, kAlignLeft, 1.0f, kBlack, kCountries[i].name);
    }
    FillRect(0.0f, 0.0f, picker->width, 12.0f, kPanelColour);
    FillRect(0.0f, 12.0f * picker->rowHeight, picker->width, 12.0f, kPanelColour);
    ListButton(picker, kPickerOkButton, picker->width - 30.0f, picker->height - 16.0f, 1.0f);
    FlushBatch();
    PopMatrix();
}

bool ListButton(NationPicker* picker, int id, float x, float y, float scale) {
    const float mx = static_cast<float>(gApp.mouseX / 3) - picker->x + SpriteAnchorX(id);
    const float my = static_cast<float>(gApp.mouseY / 3) - picker->y + SpriteAnchorY(id);
    const bool hovered =
        x <= mx && mx < x + SpriteWidth(id) * scale && y <= my && my < y + SpriteHeight(id) * scale;
    if (hovered) {
        picker->hoverId = id;
        if (gApp.mousePressed) {
            picker->pressedId = id;
            PlayEffect(kSfxTap1, 100, 0, 1.0f, false);
        }
        if (picker->pressedId == id && gApp.mouseReleased) {
            picker->clickedId = id;
            picker->pressedId = -1;
            PlayEffect(kSfxTap1, 100, 0, 1.33f, false);
        }
        SetColourRGBA(210, 210, 210, 255);
    }
    DrawSpriteScaled(id, x, y, scale, scale);
    if (hovered) ResetColour();
    return hovered;
}

} // namespace kel
