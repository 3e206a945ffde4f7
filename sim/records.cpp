// Sections: results; records in memory; records file (byte layout, encode, decode, load, save);
// event card.
#include "sim/records.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "platform/files.h"
#include "platform/log.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kel {

// ---- Results ---------------------------------------------------------------------------------

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kFramesPerMinute = 3600;

bool IsTimeKind(int kind) {
    return kind == kScoreTimeHundredths || kind == kScoreTimeThousandths;
}

// Truncation toward zero that stays defined for values beyond the int range.
int TruncateToInt(float value) {
    if (value >= 2147483520.0f) return 2147483520;
    if (value <= -2147483520.0f) return -2147483520;
    return static_cast<int>(value);
}

} // namespace

int FormatResult(char* out, size_t size, int kind, float value, bool fault) {
    if (size == 0) return 0;
    out[0] = '\0';
    // NaN fails every comparison, so it reads as no valid result.
    if (fault || !(value >= 0.0f)) return std::snprintf(out, size, "DNQ");
    const int f = TruncateToInt(value);
    if (IsTimeKind(kind) && f >= kFramesPerMinute) {
        const int minutes = f / kFramesPerMinute;
        const int seconds = (f - minutes * kFramesPerMinute) / kFramesPerSecond;
        const int hundredths = (f % kFramesPerSecond) * 100 / kFramesPerSecond;
        return std::snprintf(out, size, "%d:%02d.%02d", minutes, seconds, hundredths);
    }
    switch (kind) {
    case kScoreTimeHundredths:
        return std::snprintf(out, size, "%d.%02d", f / kFramesPerSecond,
                             (f % kFramesPerSecond) * 100 / kFramesPerSecond);
    case kScoreTimeThousandths:
        return std::snprintf(out, size, "%d.%03d", f / kFramesPerSecond,
                             (f % kFramesPerSecond) * 1000 / kFramesPerSecond);
    case kScoreMetres1:
        return std::snprintf(out, size, "%.1f", static_cast<double>(value));
    case kScoreMetres2:
        return std::snprintf(out, size, "%.2f", static_cast<double>(value));
    case kScorePoints:
        return std::snprintf(out, size, "%.01f", static_cast<double>(value));
    case kScoreWholePoints:
        return std::snprintf(out, size, "%d", f);
    default:
        return 0;
    }
}

void DrawResult(float x, float y, int align, float scale, uint32_t colour, int eventId, float value,
                bool fault) {
    if (!IsEventId(eventId) || gApp.font == nullptr) return;
    char text[48];
    FormatResult(text, sizeof text, kEventTable[eventId].kind, value, fault);
    if (text[0] == '\0') return;
    gApp.font->Printf(x, y, align, scale, colour, "%s", text);
}

bool IsBetter(int kind, float a, float b) {
    return IsTimeKind(kind) ? a < b : a > b;
}

int AchievementLevel(int eventId, float result, bool fault) {
    if (fault || !(result > 0.0f) || !IsEventId(eventId)) return 0;
    const EventInfo& info = kEventTable[eventId];
    if (IsTimeKind(info.kind)) {
        if (result <= info.marks[2]) return 4;
        if (result <= info.marks[1]) return 3;
        if (result <= info.marks[0]) return 2;
        return 1;
    }
    if (result >= info.marks[2]) return 4;
    if (result >= info.marks[1]) return 3;
    if (result >= info.marks[0]) return 2;
    return 1;
}

// ---- Records in memory -----------------------------------------------------------------------

bool ApplyWorldRecord(EventRecord* record, int eventId, float best, bool fault, bool computer,
                      const Nation& holder) {
    // A negative or non-finite value prints as "DNQ", so it can never stand as a record.
    if (fault || computer || !IsEventId(eventId) || !std::isfinite(best) || best < 0.0f) return false;
    if (record->hasRecord != 0) {
        const bool beaten =
            IsTimeKind(kEventTable[eventId].kind) ? best < record->recordValue : best >= record->recordValue;
        if (!beaten) return false;
    }
    record->recordValue = best;
    record->recordHolder = holder;
    record->hasRecord = 1;
    return true;
}

void ReturnOpponentSlots(PlayerRecord players[kPlayerCount], const Nation savedNations[kPlayerCount]) {
    for (int i = 0; i < kPlayerCount; ++i) {
        if (players[i].computer == 0) continue;
        players[i].nation = savedNations[i];
        players[i].active = 0;
    }
}

// ---- Records file ----------------------------------------------------------------------------

namespace {

// Byte offsets, little-endian throughout.
constexpr size_t kOffsetEvents = 4;
constexpr size_t kOffsetPlayers = kOffsetEvents + kEventCount * kEventRecordBytes;        // 1500
constexpr size_t kOffsetMusicVolume = kOffsetPlayers + kPlayerCount * kPlayerRecordBytes; // 1932
constexpr size_t kOffsetEffectsVolume = kOffsetMusicVolume + 4;
constexpr size_t kOffsetTally = kOffsetEffectsVolume + 4; // 1940
static_assert(kOffsetPlayers == 1500 && kOffsetMusicVolume == 1932 && kOffsetTally == 1940);

constexpr size_t kNationCountryA = 64;
constexpr size_t kNationCountryB = 68;
constexpr size_t kNationFirstSide = 72;
constexpr size_t kNationSkipOnce = 76;
constexpr size_t kNationPure = 77;

constexpr size_t kEventIncluded = 1;
constexpr size_t kEventHasRecord = 2;
constexpr size_t kEventValue = 4;
constexpr size_t kEventHolder = 8;

constexpr size_t kPlayerActive = 0;
constexpr size_t kPlayerNation = 4;
constexpr size_t kPlayerColour = 84;
constexpr size_t kPlayerGold = 88;
constexpr size_t kPlayerSilver = 92;
constexpr size_t kPlayerBronze = 96;
constexpr size_t kPlayerComputer = 100;
constexpr size_t kPlayerOpponent = 104;

constexpr int kMaxVolume = 100;

void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
void PutI32(uint8_t* p, int32_t v) {
    PutU32(p, static_cast<uint32_t>(v));
}
void PutF32(uint8_t* p, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    PutU32(p, bits);
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t GetI32(const uint8_t* p) {
    return static_cast<int32_t>(GetU32(p));
}
float GetF32(const uint8_t* p) {
    const uint32_t bits = GetU32(p);
    float v = 0.0f;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
uint8_t Flag(uint8_t byte) {
    return byte != 0 ? 1 : 0;
}

void EncodeNation(const Nation& n, uint8_t* p) {
    std::memcpy(p, n.name, kNationNameSize);
    p[kNationNameSize - 1] = 0;
    PutI32(p + kNationCountryA, n.countryA);
    PutI32(p + kNationCountryB, n.countryB);
    PutI32(p + kNationFirstSide, n.firstSide);
    p[kNationSkipOnce] = n.skipOnce;
    p[kNationPure] = n.pure;
    p[78] = 0;
    p[79] = 0;
}

// A nation whose indices lie outside the country table keeps the value already in *out.
void DecodeNation(const uint8_t* p, Nation* out, const char* what, int index) {
    Nation n;
    std::memcpy(n.name, p, kNationNameSize);
    if (std::memchr(n.name, 0, kNationNameSize) == nullptr) {
        LogDebug("records: %s %d name without its end, cut at %d characters", what, index,
                 kNationNameSize - 1);
    }
    n.name[kNationNameSize - 1] = '\0';
    n.countryA = GetI32(p + kNationCountryA);
    n.countryB = GetI32(p + kNationCountryB);
    n.firstSide = GetI32(p + kNationFirstSide) != 0 ? 1 : 0;
    n.skipOnce = Flag(p[kNationSkipOnce]);
    n.pure = Flag(p[kNationPure]);
    if (!IsValidNation(n)) {
        LogDebug("records: %s %d has countries %d/%d outside the table, kept the default", what, index,
                 n.countryA, n.countryB);
        return;
    }
    *out = n;
}

void DecodeEvent(const uint8_t* p, EventRecord* out, int index) {
    out->reserved = 0;
    out->included = Flag(p[kEventIncluded]);
    const float value = GetF32(p + kEventValue);
    // No result at or below 0 counts, so such a record could never be beaten.
    if (std::isfinite(value) && value > 0.0f) {
        out->hasRecord = Flag(p[kEventHasRecord]);
        out->recordValue = value;
    } else if (!(value == out->recordValue)) {
        LogDebug("records: event %d record value %g can never be beaten, kept the default", index,
                 static_cast<double>(value));
    }
    DecodeNation(p + kEventHolder, &out->recordHolder, "event", index);
}

int32_t NonNegative(int32_t v) {
    return v < 0 ? 0 : v;
}

void DecodePlayer(const uint8_t* p, PlayerRecord* out, int index) {
    out->active = Flag(p[kPlayerActive]);
    DecodeNation(p + kPlayerNation, &out->nation, "player", index);
    out->colour = GetU32(p + kPlayerColour);
    out->gold = NonNegative(GetI32(p + kPlayerGold));
    out->silver = NonNegative(GetI32(p + kPlayerSilver));
    out->bronze = NonNegative(GetI32(p + kPlayerBronze));
    out->computer = Flag(p[kPlayerComputer]);
    const int32_t opponent = GetI32(p + kPlayerOpponent);
    if (opponent < 0 || opponent >= kOpponentCount) {
        LogDebug("records: player %d opponent %d outside the table, using 0", index, opponent);
        out->opponentIndex = 0;
    } else {
        out->opponentIndex = opponent;
    }
}

int32_t ClampVolume(int32_t v) {
    return v < 0 ? 0 : (v > kMaxVolume ? kMaxVolume : v);
}

} // namespace

void EncodeRecords(const RecordsData& data, uint8_t* out) {
    std::memset(out, 0, kRecordsFileBytes);
    PutI32(out, kRecordsVersion);
    for (int e = 0; e < kEventCount; ++e) {
        const EventRecord& r = data.events[e];
        uint8_t* p = out + kOffsetEvents + e * kEventRecordBytes;
        p[kEventIncluded] = r.included;
        p[kEventHasRecord] = r.hasRecord;
        PutF32(p + kEventValue, r.recordValue);
        EncodeNation(r.recordHolder, p + kEventHolder);
    }
    for (int i = 0; i < kPlayerCount; ++i) {
        const PlayerRecord& r = data.players[i];
        uint8_t* p = out + kOffsetPlayers + i * kPlayerRecordBytes;
        p[kPlayerActive] = r.active;
        EncodeNation(r.nation, p + kPlayerNation);
        PutU32(p + kPlayerColour, r.colour);
        PutI32(p + kPlayerGold, r.gold);
        PutI32(p + kPlayerSilver, r.silver);
        PutI32(p + kPlayerBronze, r.bronze);
        p[kPlayerComputer] = r.computer;
        PutI32(p + kPlayerOpponent, r.opponentIndex);
    }
    PutI32(out + kOffsetMusicVolume, data.musicVolume);
    PutI32(out + kOffsetEffectsVolume, data.effectsVolume);
    for (int k = 0; k < 3; ++k)
        PutI32(out + kOffsetTally + 4 * k, data.bestTally[k]);
}

bool DecodeRecords(const uint8_t* bytes, size_t size, RecordsData* data) {
    if (bytes == nullptr || size < 4) return false;
    const int32_t version = GetI32(bytes);
    if (version < 4) {
        LogDebug("records: version %d too old, ignored", version);
        return false;
    }
    if (size < kRecordsVersion4Bytes) {
        LogDebug("records: file of %zu bytes is short, the rest keeps its defaults", size);
    }
    // Each record is taken only when all its bytes are there.
    for (int e = 0; e < kEventCount; ++e) {
        const size_t at = kOffsetEvents + e * kEventRecordBytes;
        if (at + kEventRecordBytes <= size) DecodeEvent(bytes + at, &data->events[e], e);
    }
    for (int i = 0; i < kPlayerCount; ++i) {
        const size_t at = kOffsetPlayers + i * kPlayerRecordBytes;
        if (at + kPlayerRecordBytes <= size) DecodePlayer(bytes + at, &data->players[i], i);
    }
    if (kOffsetMusicVolume + 4 <= size) data->musicVolume = ClampVolume(GetI32(bytes + kOffsetMusicVolume));
    if (kOffsetEffectsVolume + 4 <= size)
        data->effectsVolume = ClampVolume(GetI32(bytes + kOffsetEffectsVolume));
    if (version == 4) {
        // Kayak slalom came after version 4: it joins competitions with its placeholder record.
        data->events[kEventKayak].included = 1;
        data->events[kEventKayak].recordValue = kEventTable[kEventKayak].marks[2];
    } else {
        for (int k = 0; k < 3; ++k) {
            const size_t at = kOffsetTally + 4 * k;
            if (at + 4 <= size) data->bestTally[k] = NonNegative(GetI32(bytes + at));
        }
    }
    for (EventRecord& r : data->events)
        r.reserved = 0;
    return true;
}

bool LoadRecords(RecordsData* data, const char* path) {
    size_t size = 0;
    // Only what the format can hold is read: a huge file costs no more than a good one.
    void* bytes = ReadFileStart(path, kRecordsFileBytes, &size);
    if (bytes == nullptr) return false;
    const bool ok = DecodeRecords(static_cast<const uint8_t*>(bytes), size, data);
    std::free(bytes);
    return ok;
}

bool SaveRecords(const RecordsData& data, const char* path) {
    uint8_t bytes[kRecordsFileBytes];
    EncodeRecords(data, bytes);
    if (!WriteFileAtomic(path, bytes, sizeof bytes)) {
        LogDebug("records: could not write %s, the previous file is kept", NormalisePath(path).c_str());
        return false;
    }
    return true;
}

bool KeepRefusedRecords(const char* path) {
    const std::string from = NormalisePath(path);
    const std::string to = from + ".bad";
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        LogDebug("records: %s could not be read and could not be kept as %s: %s", from.c_str(), to.c_str(),
                 std::strerror(errno));
        return false;
    }
    LogDebug("records: %s could not be read; kept as %s, new records start from the defaults", from.c_str(),
             to.c_str());
    return true;
}

// ---- Event card ------------------------------------------------------------------------------

namespace {

constexpr float kCardScale = 4.0f; // screen px per card unit
constexpr Colour kCardColour = PackColour(0xD6, 0xF8, 0xFF, 0xFF);
constexpr Colour kCardBandColour = PackColour(0xC9, 0xE9, 0xF0, 0xFF);
constexpr Colour kHolderColour = PackColour(0x78, 0x78, 0x00, 0xFF);
constexpr int kLaurelSprite = 5;
constexpr int kExcludedSprite = 83;

} // namespace

void EventCardInit(EventCard* card) {
    *card = EventCard{};
    card->x = (gApp.screenWidthF / kCardScale - card->width) / 2.0f;
    card->y = 40.0f - gApp.screenOffsetY / kCardScale;
}

void EventCardClick(const EventCard& card, EventRecord events[kEventCount]) {
    if (card.clickedId != kCardIncludeButton || !IsEventId(card.eventId)) return;
    events[card.eventId].included = events[card.eventId].included != 0 ? 0 : 1;
}

void DrawEventCard(EventCard* card, const EventRecord& record) {
    card->hoverId = -1;
    card->clickedId = -1;
    if (!IsEventId(card->eventId)) return;
    const float w = card->width;
    const float h = card->height;
    FlushBatch();
    PushMatrix();
    ScaleMatrix(kCardScale, kCardScale);
    TranslateMatrix(card->x, card->y);
    FillRect(-4.0f, 4.0f, w + 8.0f, h, PackColour(0, 0, 0, 0x16));
    FillRect(0.0f, 0.0f, w, h, kCardColour);
    FillRect(3.0f, 3.0f, w - 6.0f, 22.0f, kCardBandColour);
    DrawSprite(EventIconSprite(card->eventId), 3.0f, 3.0f);
    const int label = EventLabelSprite(card->eventId);
    DrawSprite(label, w / 2.0f - SpriteWidth(label) / 2.0f, 10.0f);
    BitmapFont* font = gApp.font;
    if (font != nullptr) font->Print(3.0f, 30.0f, kAlignLeft, 1.0f, kBlack, "WORLD RECORD:");
    if (record.hasRecord != 0) {
        DrawResult(w - 4.0f, 30.0f, kAlignRight, 1.0f, kBlack, card->eventId, record.recordValue, false);
        if (font != nullptr)
            font->Print(w / 2.0f, 44.0f, kAlignCentre, 1.0f, kHolderColour, record.recordHolder.name);
        DrawFlag(record.recordHolder, w / 2.0f - 15.0f, 54.0f, 1.0f);
        DrawSprite(kLaurelSprite, w / 2.0f - 38.0f, 56.0f);
        DrawSprite(kLaurelSprite, w / 2.0f + 26.0f, 56.0f);
    } else if (font != nullptr) {
        font->Print(w - 4.0f, 30.0f, kAlignRight, 1.0f, kBlack, "-- ");
    }
    CardButton(card, kCardIncludeButton, 3.0f, h - 41.0f);
    if (record.included == 0) DrawSprite(kExcludedSprite, 3.0f, h - 41.0f);
    Colour pulse = kWhite;
    LerpColour(&pulse, PackColour(0xDC, 0xDC, 0xDC, 0xFF), kWhite,
               SinePulse(static_cast<float>(gApp.frameCounter) * 0.05f, 0.0f, 1.0f));
    FillRect(6.0f, h - 22.0f, 78.0f, 17.0f, pulse);
    CardButton(card, kCardPlayButton, 4.0f, h - 24.0f);
    CardButton(card, kCardCloseButton, w - SpriteWidth(kCardCloseButton) - 4.0f, h - 24.0f);
    FlushBatch();
    PopMatrix();
}

bool CardButton(EventCard* card, int id, float x, float y) {
    const float mx = static_cast<float>(gApp.mouseX / 4) - card->x;
    const float my = static_cast<float>(gApp.mouseY / 4) - card->y;
    const bool hovered = x <= mx && mx < x + SpriteWidth(id) && y <= my && my < y + SpriteHeight(id);
    if (hovered) {
        card->hoverId = id;
        if (gApp.mousePressed) {
            card->pressedId = id;
            PlayEffect(kSfxTap1, 100, 0, 1.0f, false);
        }
        if (card->pressedId == id && gApp.mouseReleased) {
            card->clickedId = id;
            card->pressedId = -1;
            PlayEffect(kSfxTap1, 100, 0, 1.33f, false);
        }
        SetColourRGBA(210, 210, 210, 255);
    }
    DrawSprite(id, x, y);
    if (hovered) ResetColour();
    return hovered;
}

uint32_t RandomPlayerColour() {
    static constexpr int kOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    const int* channels = kOrders[RandomInt(6)];
    int value[3] = {};
    value[channels[0]] = 225 + RandomInt(30);
    value[channels[1]] = 195 + RandomInt(35);
    value[channels[2]] = 165 + RandomInt(40);
    return PackColour(static_cast<uint8_t>(value[0]), static_cast<uint8_t>(value[1]),
                      static_cast<uint8_t>(value[2]), 255);
}

} // namespace kel
