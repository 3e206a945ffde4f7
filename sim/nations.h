// Nations: the 169 countries, their weighted random choice, comic blends of two names, flags
// drawn layer by layer from the flag sheet, the bordered nation tag and the scrolling country
// list a player picks a nation from.
//
// Sections: country table; Nation; choosing and blending; flags; nation picker.
#pragma once

#include <cstdint>

namespace kel {

// ---- Country table -------------------------------------------------------------------------

struct Country {
    const char* name; // upper case; the misspellings are the game's own
    int weight;       // chance of RandomCountry, 1 or 2
    int layers;       // flag layers on the flag sheet, 2 or 3
};

constexpr int kCountryCount = 169;
constexpr int kCountryWeightTotal = 233;

inline constexpr Country kCountries[kCountryCount] = {
    {"AFGHANISTAN", 1, 3},
    {"ALBANIA", 1, 2},
    {"ALGERIA", 1, 3},
    {"ANDORRA", 1, 3},
    {"ANGOLA", 1, 3},
    {"ARGENTINA", 2, 3},
    {"ARMENIA", 1, 3},
    {"ARUBA", 1, 3},
    {"AUSTRALIA", 2, 3},
    {"AUSTRIA", 1, 2},
    {"AZERBAIJAN", 2, 3},
    {"BAHAMAS", 1, 3},
    {"BAHRAIN", 1, 2},
    {"BANGLADESH", 1, 2},
    {"BARBADOS", 1, 3},
    {"BELARUS", 1, 3},
    {"BELGIUM", 2, 3},
    {"BELIZE", 1, 3},
    {"BENIN", 1, 3},
    {"BHUTAN", 1, 2},
    {"BOLIVIA", 2, 3},
    {"BOSNIA & HERZEGOVINA", 1, 3},
    {"BOTSWANA", 1, 3},
    {"BRAZIL", 2, 3},
    {"BULGARIA", 2, 3},
    {"BURKINA FASO", 1, 3},
    {"BURUNDI", 1, 2},
    {"CAMBODIA", 1, 3},
    {"CAMEROON", 2, 3},
    {"CANADA", 2, 3},
    {"CAPE VERDE", 1, 3},
    {"CHAD", 1, 3},
    {"CHILE", 2, 3},
    {"CHINA", 2, 2},
    {"COLOMBIA", 1, 3},
    {"CONGO", 2, 3},
    {"COSTA RICA", 1, 3},
    {"COTE D'IVOIRE", 1, 3},
    {"CROATIA", 2, 3},
    {"CUBA", 1, 3},
    {"CURACAO", 1, 3},
    {"CYPRUS", 2, 2},
    {"CZECH REPUBLIC", 2, 3},
    {"DENMARK", 2, 3},
    {"DJIBOUTI", 1, 3},
    {"DOMINICAN REPUBLIC", 1, 3},
    {"EAST TIMOR", 1, 3},
    {"ECUADOR", 1, 3},
    {"EGYPT", 2, 3},
    {"EL SALVADOR", 1, 3},
    {"ERITREA", 1, 3},
    {"ESTONIA", 1, 3},
    {"ETHIOPIA", 2, 3},
    {"FIJI", 1, 3},
    {"FINLAND", 2, 3},
    {"FRANCE", 2, 3},
    {"GABON", 1, 3},
    {"GAMBIA", 1, 3},
    {"GEORGIA", 2, 3},
    {"GERMANY", 2, 3},
    {"GHANA", 1, 3},
    {"GREAT BRITAIN", 2, 3},
    {"GREECE", 2, 3},
    {"GRENADA", 1, 3},
    {"GUATEMALA", 2, 3},
    {"GUINEA", 1, 3},
    {"GUYANA", 1, 3},
    {"HAITI", 1, 2},
    {"HONDURAS", 1, 3},
    {"HUNGARY", 2, 3},
    {"ICELAND", 2, 3},
    {"INDIA", 2, 3},
    {"INDONESIA", 2, 2},
    {"IRAN", 2, 3},
    {"IRAQ", 2, 3},
    {"IRELAND", 1, 3},
    {"ISRAEL", 2, 3},
    {"ITALY", 2, 3},
    {"JAMAICA", 2, 3},
    {"JAPAN", 2, 2},
    {"JORDAN", 1, 3},
    {"KAZAKHSTAN", 2, 3},
    {"KENYA", 2, 3},
    {"NORTH KOREA", 1, 3},
    {"SOUTH KOREA", 2, 3},
    {"KUWAIT", 1, 3},
    {"KYRGYZSTAN", 1, 2},
    {"LAOS", 1, 3},
    {"LATVIA", 1, 2},
    {"LEBANON", 1, 3},
    {"LESOTHO", 1, 3},
    {"LIBERIA", 1, 3},
    {"LIBYA", 1, 3},
    {"LIECHTENSTEIN", 1, 3},
    {"LITHUANIA", 1, 3},
    {"LUXEMBOURG", 1, 3},
    {"MACEDONIA", 1, 3},
    {"MADAGASCAR", 1, 3},
    {"MALAWI", 1, 3},
    {"MALAYSIA", 1, 3},
    {"MALDIVES", 1, 3},
    {"MALI", 1, 3},
    {"MALTA", 1, 3},
    {"MAURITANIA", 1, 3},
    {"MAURITIUS", 1, 3},
    {"MEXICO", 2, 3},
    {"MONGOLIA", 2, 3},
    {"MOROCCO", 2, 2},
    {"MOZAMBIQUE", 2, 3},
    {"MYANMAR", 1, 3},
    {"NAMIBIA", 1, 3},
    {"NETHERLANDS", 2, 3},
    {"NEW ZEALAND", 2, 3},
    {"NICARAGUA", 1, 3},
    {"NIGER", 1, 3},
    {"NIGERIA", 2, 2},
    {"NORWAY", 2, 3},
    {"OMAN", 1, 3},
    {"PAKISTAN", 2, 3},
    {"PANAMA", 1, 3},
    {"PAPUA NEW GUINEA", 1, 3},
    {"PARAGUAY", 1, 3},
    {"PERU", 1, 3},
    {"PHILIPPINES", 2, 3},
    {"POLAND", 2, 2},
    {"PORTUGAL", 1, 3},
    {"QATAR", 1, 2},
    {"ROMANIA", 1, 3},
    {"RUSSIA", 2, 3},
    {"RWANDA", 1, 3},
    {"SAMOA", 1, 3},
    {"SAUDI ARABIA", 1, 2},
    {"SENEGAL", 1, 3},
    {"SIERRA LEONE", 1, 3},
    {"SINGAPORE", 1, 3},
    {"SLOVAKIA", 2, 3},
    {"SLOVENIA", 1, 3},
    {"SOMALIA", 1, 2},
    {"SOUTH AFRICA", 2, 3},
    {"SPAIN", 2, 3},
    {"SRI LANKA", 1, 3},
    {"SUDAN", 1, 3},
    {"SURINAME", 1, 3},
    {"SWEDEN", 2, 3},
    {"SWITZERLAND", 2, 2},
    {"SYRIA", 1, 3},
    {"TAHITI", 1, 3},
    {"TAIWAN", 1, 3},
    {"TAJIKISTAN", 1, 3},
    {"TANZANIA", 2, 3},
    {"THAILAND", 1, 3},
    {"TOGO", 2, 3},
    {"TONGA", 1, 3},
    {"TRINIDAD & TOBAGO", 1, 3},
    {"TUNISIA", 1, 2},
    {"TURKEY", 2, 2},
    {"TURKMENISTAN", 1, 3},
    {"TUVALU", 1, 3},
    {"UGANDA", 2, 3},
    {"UKRAINE", 2, 3},
    {"UNITED ARAB EMIRATES", 1, 3},
    {"UNITED STATES OF AMERICA", 2, 3},
    {"URUGUAY", 2, 3},
    {"UZBEKISTAN", 2, 3},
    {"VENEZUELA", 1, 3},
    {"VIETNAM", 1, 3},
    {"YEMEN", 1, 3},
    {"ZAMBIA", 1, 3},
    {"ZIMBABWE", 2, 3},
};

constexpr int SumCountryWeights() {
    int total = 0;
    for (const Country& c : kCountries)
        total += c.weight;
    return total;
}
static_assert(SumCountryWeights() == kCountryWeightTotal);

// ---- Nation ----------------------------------------------------------------------------------

constexpr int kNationNameSize = 64; // bytes, zero-terminated

// A country, or a blend of two. Stored in records.rec as 80 bytes (see records.h).
struct Nation {
    char name[kNationNameSize] = {};
    int32_t countryA = 0;
    int32_t countryB = 0;
    int32_t firstSide = 0; // 0: A's layer is drawn first in a blend, 1: B's
    uint8_t skipOnce = 0;  // blend drawing skips one turn of a two-layer flag once
    uint8_t pure = 1;      // 1: a real country (only countryA counts)
};

bool IsValidCountry(int country);

// True when every index the nation's drawing uses lies in the table.
bool IsValidNation(const Nation& nation);

// ---- Choosing and blending -------------------------------------------------------------------

bool IsVowel(char c); // A E I O U Y, upper case only

// Weighted choice: one RandomInt(233) draw.
int RandomCountry();

void SetNation(Nation* nation, int country);
void RandomNation(Nation* nation);

// A random blend of two different countries, their names spliced at a vowel/consonant boundary.
// Logs "A + B = BLEND".
void MixNation(Nation* nation);

// ---- Flags -----------------------------------------------------------------------------------

constexpr int kFlagSlot = 3;        // texture slot of the flag sheet
constexpr float kFlagWidth = 30.0f; // px at scale 1
constexpr float kFlagHeight = 18.0f;

// Top-left pixel of a flag layer's cell on the flag sheet.
void FlagCell(int country, int layer, int* cellX, int* cellY);

void DrawFlagLayer(float x, float y, int country, int layer, float scale);
void DrawCountryFlag(int country, float x, float y, float scale);
// A blend interleaves the two flags' layers (see the .cpp for the order).
void DrawFlag(const Nation& nation, float x, float y, float scale);
// The flag with a black one-unit border.
void DrawNationTag(const Nation& nation, float x, float y, float scale);

// ---- Nation picker ---------------------------------------------------------------------------

// The list draws in a space scaled by 3: one list unit is 3 screen pixels.
struct NationPicker {
    float x = 0.0f; // list corner, list units
    float y = 0.0f;
    float width = 300.0f;
    float height = 204.0f;
    int hoverId = -1;
    int pressedId = -1;
    int clickedId = -1;    // 88 when the choice is confirmed
    float scroll = 0.0f;   // list units
    float velocity = 0.0f; // list units per frame, times 3
    float maxScroll = 16.0f * (kCountryCount - 11);
    float rowHeight = 16.0f;
    int visibleRows = 12;
    int selected = -1;
    float lastMouseY = 0.0f; // window px
    bool dragging = false;
    float steps[5] = {}; // last drag steps, window px
    int stepSlot = 0;
};

constexpr int kPickerOkButton = 88;

void NationPickerInit(NationPicker* picker);
// index -1 clears the selection and keeps the scroll; otherwise the row shows in the middle.
void NationPickerReset(NationPicker* picker, int index);
void NationPickerUpdate(NationPicker* picker);
void NationPickerDraw(NationPicker* picker);
bool ListButton(NationPicker* picker, int id, float x, float y, float scale);

} // namespace kel
