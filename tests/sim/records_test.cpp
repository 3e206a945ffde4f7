// Results and records: printed results, comparison, achievement levels, the world-record rule,
// and records.rec read and written byte for byte, including old, new, short and hostile files.
#include "sim/records.h"
#include "sim_test_support.h"

#include "platform/files.h"
#include "platform/log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace kel::test {
namespace {

std::string Format(int kind, float value, bool fault = false) {
    char text[64];
    FormatResult(text, sizeof text, kind, value, fault);
    return text;
}

// Frames are truncated (90.9 gives 1.50), and huge values stay defined.
TEST(ResultFormat, TimesDistancesPointsAndDnq) {
    const struct {
        int kind;
        float value;
        bool fault;
        const char* text;
    } cases[] = {
        {0, 900.0f, false, "15.00"},  {0, 3725.0f, false, "1:02.08"}, {0, 61.0f, false, "1.01"},
        {0, 359.0f, false, "5.98"},   {0, 3600.0f, false, "1:00.00"}, {0, 0.0f, false, "0.00"},
        {0, 90.9f, false, "1.50"},    {1, 61.0f, false, "1.016"},     {1, 3661.0f, false, "1:01.01"},
        {3, 12.345f, false, "12.35"}, {2, 12.345f, false, "12.3"},    {4, 7.25f, false, "7.2"},
        {5, 90.7f, false, "90"},      {9, 5.0f, false, ""},           {0, -1.0f, false, "DNQ"},
        {2, 50.0f, true, "DNQ"},      {3, std::nanf(""), false, "DNQ"}, {5, 3.0e9f, false, "2147483520"}};
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.kind, c.value, c.fault), c.text) << c.kind << " " << c.value;
}

TEST(ResultCompare, LowerTimesAndHigherDistancesWinAndLevelsFollowTheMarks) {
    EXPECT_TRUE(IsBetter(0, 300.0f, 301.0f));
    EXPECT_FALSE(IsBetter(1, 301.0f, 300.0f));
    EXPECT_TRUE(IsBetter(2, 10.0f, 9.0f));
    EXPECT_FALSE(IsBetter(5, 10.0f, 10.0f));
    // Dash, a time: marks at 360 and 900 frames; javelin, a distance.
    const std::tuple<int, float, bool, int> cases[] = {
        {kEventDash, 360.0f, false, 4},   {kEventDash, 361.0f, false, 3}, {kEventDash, 900.0f, false, 2},
        {kEventDash, 901.0f, false, 1},   {kEventDash, 300.0f, true, 0},  {kEventJavelin, 150.0f, false, 4},
        {kEventJavelin, 49.9f, false, 1}, {kEventJavelin, 0.0f, false, 0}};
    for (const auto& [event, value, fault, level] : cases)
        EXPECT_EQ(AchievementLevel(event, value, fault), level) << event << " " << value;
}

class WorldRecordTest : public SimTest {};

TEST_F(WorldRecordTest, FirstValidResultSetsTheRecordEqualDistancesTakeItAndComputersGiveBackSlots) {
    EventRecord record;
    record.recordValue = kEventTable[kEventDash].marks[2];
    Nation holder;
    SetNation(&holder, 29);
    EXPECT_FALSE(ApplyWorldRecord(&record, kEventDash, 500.0f, true, false, holder)) << "fault";
    EXPECT_FALSE(ApplyWorldRecord(&record, kEventDash, 500.0f, false, true, holder)) << "computer";
    EXPECT_TRUE(ApplyWorldRecord(&record, kEventDash, 2000.0f, false, false, holder)) << "below mark three";
    EXPECT_EQ(std::tuple(record.hasRecord, record.recordValue, std::string(record.recordHolder.name)),
              std::tuple(1, 2000.0f, "CANADA"));
    EXPECT_FALSE(ApplyWorldRecord(&record, kEventDash, 2000.0f, false, false, holder))
        << "a time must be lower";
    EXPECT_TRUE(ApplyWorldRecord(&record, kEventDash, 1999.0f, false, false, holder));

    EventRecord javelin;
    Nation first, second;
    SetNation(&first, 0);
    SetNation(&second, 5);
    EXPECT_FALSE(ApplyWorldRecord(&javelin, kEventJavelin, -1.0f, false, false, first)) << "DNQ";
    EXPECT_TRUE(ApplyWorldRecord(&javelin, kEventJavelin, 60.0f, false, false, first));
    EXPECT_FALSE(ApplyWorldRecord(&javelin, kEventJavelin, 59.9f, false, false, second));
    EXPECT_TRUE(ApplyWorldRecord(&javelin, kEventJavelin, 60.0f, false, false, second));
    EXPECT_STREQ(javelin.recordHolder.name, "ARGENTINA");
    // Saving with computers gives the players their own nations back.
    PlayerRecord players[kPlayerCount];
    Nation saved[kPlayerCount];
    for (int i = 0; i < kPlayerCount; ++i) {
        SetNation(&saved[i], 10 + i);
        SetNation(&players[i].nation, 100 + i);
        players[i].active = 1;
        players[i].computer = i > 0;
    }
    ReturnOpponentSlots(players, saved);
    for (int i = 0; i < kPlayerCount; ++i)
        EXPECT_EQ(std::tuple(std::string(players[i].nation.name), players[i].active, players[i].computer),
                  std::tuple(std::string(kCountries[i ? 10 + i : 100].name), i ? 0 : 1, i ? 1 : 0))
            << i;
}

// ---- records.rec ---------------------------------------------------------------------------

uint32_t U32At(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void PutU32At(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// First-start-like values: distinct in every field so a misplaced byte shows.
RecordsData Defaults() {
    RecordsData d;
    for (int e = 0; e < kEventCount; ++e) {
        d.events[e].included = (e == kEventShotPut || e == kEventLongJump) ? 0 : 1;
        d.events[e].recordValue = kEventTable[e].marks[2];
        SetNation(&d.events[e].recordHolder, e);
    }
    for (int i = 0; i < kPlayerCount; ++i) {
        SetNation(&d.players[i].nation, 150 + i);
        d.players[i].colour = 0xFF000000u | (0x10u * (i + 1));
    }
    d.players[0].active = 1;
    return d;
}

RecordsData Played() {
    RecordsData d = Defaults();
    d.events[3].hasRecord = 1;
    d.events[3].recordValue = 355.0f;
    Nation& holder = d.events[3].recordHolder;
    holder.pure = 0, holder.countryA = 29, holder.countryB = 23, holder.firstSide = holder.skipOnce = 1;
    std::snprintf(holder.name, kNationNameSize, "CANAZIL");
    PlayerRecord& p = d.players[2];
    p.active = p.computer = 1, p.gold = 3, p.silver = 2, p.bronze = 1, p.opponentIndex = 13;
    d.musicVolume = 40, d.effectsVolume = 70;
    d.bestTally[0] = 5, d.bestTally[1] = 6, d.bestTally[2] = 7;
    return d;
}

std::vector<uint8_t> Encode(const RecordsData& d) {
    std::vector<uint8_t> bytes(kRecordsFileBytes);
    EncodeRecords(d, bytes.data());
    return bytes;
}

// Decoded and encoded again, the bytes are the same, even from a longer file or version 6.
TEST(RecordsFile, LayoutIsLittleEndianAtTheFixedOffsetsAndDecodeThenEncodeGivesTheSameBytes) {
    const std::vector<uint8_t> b = Encode(Played());
    ASSERT_EQ(b.size(), 1952u);
    const size_t dash = 4 + 3 * 88, p2 = 1500 + 2 * 108; // event records of 88 bytes, players of 108
    const std::pair<size_t, uint32_t> words[] = {
        {0, 5u},        {dash + 4, 0x43B18000u /* 355.0f */}, {dash + 72, 29u}, {dash + 76, 23u},
        {dash + 80, 1u}, {p2 + 84, 0xFF000030u}, {p2 + 88, 3u}, {p2 + 92, 2u}, {p2 + 96, 1u},
        {p2 + 104, 13u}, {1932, 40u}, {1936, 70u}, {1940, 5u}, {1944, 6u}, {1948, 7u}};
    for (const auto& [at, value] : words)
        EXPECT_EQ(U32At(&b[at]), value) << "offset " << at;
    const std::pair<size_t, uint8_t> bytes[] = {{dash, 0},      {dash + 1, 1},      {dash + 2, 1},
                                                {dash + 84, 1}, {dash + 85, 0},     {p2, 1},
                                                {p2 + 100, 1},  {4 + 7 * 88 + 1, 0}};
    for (const auto& [at, value] : bytes)
        EXPECT_EQ(b[at], value) << "offset " << at;
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[dash + 8]), "CANAZIL");
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[p2 + 4]), kCountries[152].name);
    RecordsData read = Defaults();
    ASSERT_TRUE(DecodeRecords(b.data(), b.size(), &read));
    EXPECT_EQ(Encode(read), b);
    std::vector<uint8_t> longer = b;
    longer.resize(4000, 0xEE);
    PutU32At(&longer[0], 6);
    read = Defaults();
    ASSERT_TRUE(DecodeRecords(longer.data(), longer.size(), &read));
    EXPECT_EQ(Encode(read), b) << "version 6 reads like 5; the bytes past the layout are ignored";
}

TEST(RecordsFile, VersionsBelowFourAreIgnoredVersionFourHasNoTallyAndShortFilesKeepDefaults) {
    std::vector<uint8_t> b = Encode(Played());
    RecordsData read = Defaults();
    for (uint32_t version : {3u, 0xFFFFFFFFu}) {
        PutU32At(&b[0], version);
        EXPECT_FALSE(DecodeRecords(b.data(), b.size(), &read)) << version;
    }
    EXPECT_FALSE(DecodeRecords(b.data(), 3, &read));
    EXPECT_EQ(Encode(read), Encode(Defaults()));
    RecordsData old = Played();
    old.events[kEventKayak].included = 0;
    old.events[kEventKayak].hasRecord = 1;
    old.events[kEventKayak].recordValue = 2000.0f;
    b = Encode(old);
    PutU32At(&b[0], 4);
    b.resize(1940);
    read.bestTally[0] = 9;
    ASSERT_TRUE(DecodeRecords(b.data(), b.size(), &read));
    const EventRecord& kayak = read.events[kEventKayak];
    EXPECT_EQ(std::tuple(kayak.included, kayak.recordValue, kayak.hasRecord), std::tuple(1, 1080.0f, 1));
    EXPECT_EQ(std::tuple(read.bestTally[0], read.musicVolume), std::tuple(9, 40)) << "no tally in version 4";
    // A short file keeps the defaults for what it lacks: here three whole events and half the fourth.
    const std::vector<uint8_t> full = Encode(Played());
    read = Defaults();
    ASSERT_TRUE(DecodeRecords(full.data(), 4 + 3 * 88 + 40, &read));
    EXPECT_EQ(Encode(read), Encode(Defaults()));
    // Everything up to the effects volume but no tally.
    read = Defaults();
    ASSERT_TRUE(DecodeRecords(full.data(), 1940, &read));
    EXPECT_EQ(std::tuple(read.events[3].recordValue, read.effectsVolume, read.bestTally[0]),
              std::tuple(355.0f, 70, 0));
}

TEST(RecordsFile, HostileFieldsAreCutClampedOrReplaced) {
    std::vector<uint8_t> b = Encode(Played());
    uint8_t* dash = &b[4 + 3 * 88];
    dash[0] = 0xAB;                 // reserved
    dash[1] = 7;                    // included
    std::memset(dash + 8, 'X', 64); // name with no end
    uint8_t* diving = &b[4];
    PutU32At(diving + 8 + 64, 169); // country outside the table
    uint8_t* javelin = &b[4 + 88];
    javelin[8 + 77] = 0;                     // a blend ...
    PutU32At(javelin + 8 + 68, 0xFFFFFFF0u); // ... with a negative second country
    PutU32At(javelin + 4, 0x7FC00000u);      // NaN record
    javelin[2] = 1;
    uint8_t* p1 = &b[1500 + 108];
    PutU32At(p1 + 4 + 72, 7);        // firstSide
    PutU32At(p1 + 88, 0xFFFFFFFFu);  // gold -1
    PutU32At(p1 + 104, 99);          // opponent outside the table
    PutU32At(&b[1932], 0xFFFFFFFBu); // music -5
    PutU32At(&b[1936], 500);         // effects 500

    RecordsData read = Defaults();
    ASSERT_TRUE(DecodeRecords(b.data(), b.size(), &read));
    const EventRecord &dashRead = read.events[3], &javelinRead = read.events[1];
    EXPECT_EQ(std::tuple(dashRead.reserved, dashRead.included, std::strlen(dashRead.recordHolder.name)),
              std::tuple(0, 1, size_t{63}));
    EXPECT_STREQ(read.events[0].recordHolder.name, Defaults().events[0].recordHolder.name);
    EXPECT_TRUE(IsValidNation(read.events[0].recordHolder) && IsValidNation(javelinRead.recordHolder));
    EXPECT_STREQ(javelinRead.recordHolder.name, kCountries[1].name);
    EXPECT_EQ(std::tuple(javelinRead.hasRecord, javelinRead.recordValue),
              std::tuple(0, kEventTable[1].marks[2]));
    const PlayerRecord& p = read.players[1];
    EXPECT_EQ(std::tuple(p.nation.firstSide, p.gold, p.opponentIndex), std::tuple(1, 0, 0));
    EXPECT_EQ(std::tuple(read.musicVolume, read.effectsVolume), std::tuple(0, 100));
}

class RecordsFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaro_records_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        path = (dir = pattern) + "/records.rec";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string dir, path;
};

TEST_F(RecordsFileOnDisk, SaveThenLoadRoundTripsAMissingFileLoadsNothingAndAFailedSaveKeepsTheOldFile) {
    RecordsData read = Defaults();
    EXPECT_FALSE(LoadRecords(&read, path.c_str()));
    EXPECT_EQ(Encode(read), Encode(Defaults()));
    ASSERT_TRUE(SaveRecords(Played(), path.c_str()));
    EXPECT_EQ(FileBytes(), Encode(Played()));
    ASSERT_TRUE(LoadRecords(&read, path.c_str()));
    EXPECT_EQ(Encode(read), Encode(Played()));
    // A failed save keeps the previous file: files may not grow past 8 bytes, so no new one is written.
    IgnoreFileSizeSignal();
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small {8, old.rlim_max};
    CaptureLogSink log;
    SetLogSink(&log);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_FALSE(SaveRecords(Defaults(), path.c_str()));
    setrlimit(RLIMIT_FSIZE, &old);
    SetLogSink(nullptr);
    EXPECT_EQ(FileBytes(), Encode(Played()));
    EXPECT_TRUE(std::any_of(log.Lines().begin(), log.Lines().end(), [](const std::string& line) {
        return line.find("records") != std::string::npos;
    }));
}

TEST_F(RecordsFileOnDisk, AHugeFileIsReadOnlyAsFarAsTheFormatGoes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit below allows";
#else
    // A valid file grown to 1 GiB: loading it must not need the whole gigabyte.
    ASSERT_TRUE(SaveRecords(Played(), path.c_str()));
    ASSERT_EQ(truncate(path.c_str(), 1L << 30), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit {};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = 768L << 20;
        setrlimit(RLIMIT_AS, &limit);
        RecordsData read = Defaults();
        _exit(LoadRecords(&read, path.c_str()) && Encode(read) == Encode(Played()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
}

TEST(RecordsFile, ARecordNoAttemptCouldBeatIsNoRecord) {
    // No result at or below 0 counts, so such records could never fall: a negative dash time
    // (once shown as "DNQ" on the card) and a zero javelin distance.
    std::vector<uint8_t> b = Encode(Played());
    b[4 + 3 * 88 + 2] = 1;
    PutU32At(&b[4 + 3 * 88 + 4], 0xC2C80000u); // -100.0f
    b[4 + 88 + 2] = 1;
    PutU32At(&b[4 + 88 + 4], 0u);
    RecordsData read = Defaults();
    ASSERT_TRUE(DecodeRecords(b.data(), b.size(), &read));
    for (int e : {3, 1})
        EXPECT_EQ(std::tuple(read.events[e].hasRecord, read.events[e].recordValue),
                  std::tuple(0, kEventTable[e].marks[2]));
}

} // namespace
} // namespace kel::test
