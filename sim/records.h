// What a result means: the seventeen events with their score kinds and three marks, how results
// compare and print, the computer opponents, the per-event world records, the player slots,
// the records file that keeps them between runs, and the event card of the menu.
//
// Sections: event table; results; opponents; records in memory; records file; event card.
#pragma once

#include "sim/nations.h"

#include <cstddef>
#include <cstdint>

namespace kel {

// ---- Event table -----------------------------------------------------------------------------

enum EventId : int {
    kEventDiving,
    kEventJavelin,
    kEventEquestrian,
    kEventDash,
    kEventRings,
    kEventHighJump,
    kEventWeightlifting,
    kEventShotPut,
    kEventPoleVault,
    kEventRowing,
    kEventSwimming,
    kEventWalk,
    kEventLongJump,
    kEventKayak,
    kEventHammer,
    kEventCycling,
    kEventArchery,
    kEventCount
};

// Scene ids that extend EventId for the scenes that are not events.
constexpr int kSceneMenu = 18;
constexpr int kSceneMedals = 19;
constexpr int kSceneOpening = 20;
constexpr int kSceneClosing = 21;

enum ScoreKind : int {
    kScoreTimeHundredths = 0,  // frames at 60 per second, lower is better
    kScoreTimeThousandths = 1, // frames at 60 per second, lower is better
    kScoreMetres1 = 2,         // metres, one decimal
    kScoreMetres2 = 3,         // metres, two decimals
    kScorePoints = 4,          // judged points, one decimal
    kScoreWholePoints = 5,
};

struct EventInfo {
    const char* displayName; // written in the analytics line
    const char* internalName;
    ScoreKind kind;
    float marks[3]; // in increasing order of merit
};

inline constexpr EventInfo kEventTable[kEventCount] = {
    {"Diving", "Diving", kScorePoints, {3.0f, 6.8f, 8.5f}},
    {"Javelin", "Javelin", kScoreMetres1, {50.0f, 100.0f, 150.0f}},
    {"Equestrian", "Equestrian", kScoreTimeHundredths, {4800.0f, 2700.0f, 1440.0f}},
    {"100m Dash", "Sprint", kScoreTimeHundredths, {900.0f, 510.0f, 360.0f}},
    {"Rings", "Rings", kScorePoints, {2.0f, 5.0f, 8.5f}},
    {"High Jump", "HighJump", kScoreMetres2, {4.0f, 8.0f, 10.0f}},
    {"Weightlifting", "Weightlifting", kScoreTimeHundredths, {1500.0f, 900.0f, 540.0f}},
    {"Shot Put", "ShotPut", kScoreMetres1, {0.5f, 1.5f, 2.3f}},
    {"Pole Vault", "PoleVault", kScoreMetres2, {5.0f, 10.0f, 12.0f}},
    {"Rowing", "Rowing", kScoreTimeHundredths, {1800.0f, 900.0f, 540.0f}},
    {"Swimming", "Swimming", kScoreTimeHundredths, {2700.0f, 1800.0f, 1200.0f}},
    {"Walk", "Walk", kScoreTimeHundredths, {4500.0f, 1500.0f, 720.0f}},
    {"Long Jump", "LongJump", kScoreMetres2, {5.0f, 10.0f, 20.0f}},
    {"Kayak Slalom", "Whitewater", kScoreTimeHundredths, {2400.0f, 1500.0f, 1080.0f}},
    {"Hammer Throw", "Hammer", kScoreMetres1, {35.0f, 80.0f, 120.0f}},
    {"Cycling", "Cycling", kScoreTimeHundredths, {960.0f, 750.0f, 660.0f}},
    {"Archery", "Archery", kScoreWholePoints, {25.0f, 65.0f, 80.0f}},
};

constexpr bool IsEventId(int id) {
    return id >= 0 && id < kEventCount;
}

constexpr int EventIconSprite(int eventId) {
    return 14 + eventId;
}
constexpr int EventLabelSprite(int eventId) {
    return 34 + eventId;
}

// ---- Results ---------------------------------------------------------------------------------

// The text of a result: "DNQ" for a negative value or a fault, "" for an unknown kind.
// Returns the length written (out is always zero-terminated when size > 0).
int FormatResult(char* out, size_t size, int kind, float value, bool fault);

// Prints FormatResult's text with the game font at (x, y); align 0 left, 1 right, 2 centred.
void DrawResult(float x, float y, int align, float scale, uint32_t colour, int eventId, float value,
                bool fault);

// Kinds 0 and 1: a < b (lower times win); the others: a > b.
bool IsBetter(int kind, float a, float b);

// 0 for a fault or a result not above 0, else 1..4 by the event's marks.
int AchievementLevel(int eventId, float result, bool fault);

// ---- Opponents -------------------------------------------------------------------------------

struct Opponent {
    int sprite;    // figure sprite
    bool animated; // the sprite after it is a second frame
    int specialty; // EventId, -1 none
    float result;  // its result in the specialty
    float attachX; // medal attachment point, px in the figure sprite
    float attachY;
};

constexpr int kOpponentCount = 14;

inline constexpr Opponent kOpponents[kOpponentCount] = {
    {128, true, -1, 0.0f, 8.5f, 11.0f},     {130, true, 0, 8.8f, 9.0f, 8.0f},
    {132, false, 9, 540.0f, 6.5f, 8.0f},    {133, false, 15, 630.0f, 2.0f, 12.0f},
    {134, true, 4, 8.8f, 7.0f, 11.0f},      {136, true, 3, 315.0f, 4.0f, -3.0f},
    {138, false, 10, 1080.0f, 7.0f, -3.0f}, {139, true, 16, 90.0f, 13.0f, 5.0f},
    {141, false, 1, 160.0f, 12.0f, 7.0f},   {142, true, 14, 125.0f, 8.5f, 11.0f},
    {144, true, 2, 1320.0f, 18.0f, 9.0f},   {146, true, 6, 480.0f, 9.5f, 11.0f},
    {148, false, 8, 13.0f, 5.0f, 8.0f},     {149, true, 11, 690.0f, 11.0f, 11.0f},
};

// ---- Records in memory -----------------------------------------------------------------------

struct EventRecord {
    uint8_t reserved = 0; // always 0 in memory
    uint8_t included = 1; // takes part in competitions
    uint8_t hasRecord = 0;
    float recordValue = 0.0f; // in the event's ScoreKind unit
    Nation recordHolder;
};

struct PlayerRecord {
    uint8_t active = 0;            // takes part in the current competition
    Nation nation;                 // its name is the player's name on screen
    uint32_t colour = 0xFFFFFFFFu; // packed RGBA tint of the athlete (opaque white)
    int32_t gold = 0;
    int32_t silver = 0;
    int32_t bronze = 0;
    uint8_t computer = 0; // a computer opponent holds the slot
    int32_t opponentIndex = 0;
};

constexpr int kPlayerCount = 4;

// A light athlete tint: one channel high, one middle, one lower, in a random order of the three.
uint32_t RandomPlayerColour();

// Everything records.rec keeps.
struct RecordsData {
    EventRecord events[kEventCount];
    PlayerRecord players[kPlayerCount];
    int32_t musicVolume = 100;   // 0..100
    int32_t effectsVolume = 100; // 0..100
    int32_t bestTally[3] = {};   // best medal haul: gold, silver, bronze
};

// The world-record rule for an event's best sorted result. Returns true (and updates the
// record) when `best` by `holder` sets a new record.
bool ApplyWorldRecord(EventRecord* record, int eventId, float best, bool fault, bool computer,
                      const Nation& holder);

// Before saving during a competition with computer opponents: every computer slot gets its
// player's own nation back from savedNations and leaves the competition (its computer flag stays).
void ReturnOpponentSlots(PlayerRecord players[kPlayerCount], const Nation savedNations[kPlayerCount]);

// ---- Records file ----------------------------------------------------------------------------

constexpr const char* kRecordsFileName = "records.rec";
constexpr int kRecordsVersion = 5;
constexpr size_t kNationBytes = 80;
constexpr size_t kEventRecordBytes = 88;
constexpr size_t kPlayerRecordBytes = 108;
constexpr size_t kRecordsVersion4Bytes =
    4 + kEventCount * kEventRecordBytes + kPlayerCount * kPlayerRecordBytes + 8;
constexpr size_t kRecordsFileBytes = kRecordsVersion4Bytes + 12;
static_assert(kRecordsFileBytes == 1952);

// Serialises field by field, little-endian. out must hold kRecordsFileBytes.
void EncodeRecords(const RecordsData& data, uint8_t* out);

// Reads a file image over `data`, which holds the first-start values: whatever the bytes lack or
// hold badly keeps those (nations with indices outside the table, non-finite record values);
// names are cut at 63 characters, volumes clamped to 0..100, flags made 0 or 1. False (data
// untouched) for a file below version 4 or too short to hold the version.
bool DecodeRecords(const uint8_t* bytes, size_t size, RecordsData* data);

// False when the file is missing, unreadable or too old.
bool LoadRecords(RecordsData* data, const char* path = kRecordsFileName);

// Replaces the file whole through a temporary file; on failure the old file stays and a line is logged.
bool SaveRecords(const RecordsData& data, const char* path = kRecordsFileName);

// Moves a records file that exists but could not be read or was refused to "<path>.bad", so the
// next save does not destroy the player's records; logs either way. False if it could not move.
bool KeepRefusedRecords(const char* path);

// ---- Event card ------------------------------------------------------------------------------

constexpr int kCardPlayButton = 80;
constexpr int kCardCloseButton = 81;
constexpr int kCardIncludeButton = 82;

// The menu's pop-up card of one event; its units are 4 screen pixels.
struct EventCard {
    float x = 0.0f;
    float y = 0.0f;
    float width = 200.0f;
    float height = 128.0f;
    int eventId = 0;
    int hoverId = -1;
    int pressedId = -1;
    int clickedId = -1;
};

void EventCardInit(EventCard* card);
// Flips the event's `included` when the card's clicked id is the include button.
void EventCardClick(const EventCard& card, EventRecord events[kEventCount]);
void DrawEventCard(EventCard* card, const EventRecord& record);
bool CardButton(EventCard* card, int id, float x, float y);

} // namespace kel
