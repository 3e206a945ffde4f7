// libFuzzer target: the records.rec decoder on arbitrary bytes. Whatever it accepts must hold what
// RecordsData promises the menu and the ceremonies, and what the game then saves must read back
// as the very same records.
#include "fuzz/fuzz_support.h"
#include "sim/records.h"

#include <cmath>
#include <cstring>

namespace {

using kel::RecordsData;

// The file image stands for the whole of RecordsData except the `reserved` bytes, which the
// decoder zeroes and the file never carries.
bool SameRecords(const RecordsData& a, const RecordsData& b) {
    uint8_t bytesA[kel::kRecordsFileBytes];
    uint8_t bytesB[kel::kRecordsFileBytes];
    kel::EncodeRecords(a, bytesA);
    kel::EncodeRecords(b, bytesB);
    return std::memcmp(bytesA, bytesB, sizeof bytesA) == 0;
}

bool IsFlag(uint8_t v) {
    return v == 0 || v == 1;
}

void RequireSoundNation(const kel::Nation& n) {
    FUZZ_REQUIRE(std::memchr(n.name, 0, kel::kNationNameSize) != nullptr); // at most 63 characters
    FUZZ_REQUIRE(kel::IsValidNation(n) && (n.firstSide == 0 || n.firstSide == 1));
    FUZZ_REQUIRE(IsFlag(n.skipOnce) && IsFlag(n.pure));
}

void RequireWhatDecodePromises(const RecordsData& d) {
    for (const kel::EventRecord& e : d.events) {
        FUZZ_REQUIRE(e.reserved == 0 && IsFlag(e.included) && IsFlag(e.hasRecord));
        // The defaults here are all above 0, and a record at or below 0 could never be beaten.
        FUZZ_REQUIRE(std::isfinite(e.recordValue) && e.recordValue > 0.0f);
        RequireSoundNation(e.recordHolder);
    }
    for (const kel::PlayerRecord& p : d.players) {
        FUZZ_REQUIRE(IsFlag(p.active) && IsFlag(p.computer));
        RequireSoundNation(p.nation);
        FUZZ_REQUIRE(p.gold >= 0 && p.silver >= 0 && p.bronze >= 0);
        FUZZ_REQUIRE(p.opponentIndex >= 0 && p.opponentIndex < kel::kOpponentCount);
    }
    FUZZ_REQUIRE(kel::Within(d.musicVolume, 0, 100) && kel::Within(d.effectsVolume, 0, 100));
    for (int32_t medals : d.bestTally)
        FUZZ_REQUIRE(medals >= 0);
}

// First-start values that differ from the zeroes and ones a careless decoder would write, so
// "kept the default" can be told from "overwrote it".
RecordsData FirstStart() {
    RecordsData d;
    d.musicVolume = 70;
    d.effectsVolume = 40;
    for (int e = 0; e < kel::kEventCount; ++e) {
        d.events[e].recordValue = 12.5f + static_cast<float>(e);
        d.events[e].recordHolder.countryA = 3 + e;
        std::strcpy(d.events[e].recordHolder.name, "DEFAULT");
    }
    for (int i = 0; i < kel::kPlayerCount; ++i) {
        d.players[i].nation.countryA = 40 + i;
        d.players[i].opponentIndex = 1 + i;
    }
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kel::SilenceLog();
    static const RecordsData kFirstStart = FirstStart();
    RequireWhatDecodePromises(kFirstStart);

    RecordsData decoded = kFirstStart;
    const bool accepted = kel::DecodeRecords(data, size, &decoded);
    const int32_t version = size >= 4 ? static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                             static_cast<uint32_t>(data[3]) << 24)
                                      : 0;
    FUZZ_REQUIRE(accepted == (size >= 4 && version >= 4));
    if (!accepted) {
        FUZZ_REQUIRE(SameRecords(decoded, kFirstStart)); // a refused file changes nothing
        return 0;
    }
    RequireWhatDecodePromises(decoded);

    // Reading the same file again over what it gave changes nothing.
    RecordsData twice = decoded;
    FUZZ_REQUIRE(kel::DecodeRecords(data, size, &twice));
    FUZZ_REQUIRE(SameRecords(twice, decoded));

    // What the game saves reads back whole, whatever the first-start values are.
    uint8_t saved[kel::kRecordsFileBytes];
    kel::EncodeRecords(decoded, saved);
    RecordsData reread;
    FUZZ_REQUIRE(kel::DecodeRecords(saved, sizeof saved, &reread));
    FUZZ_REQUIRE(SameRecords(reread, decoded));
    return 0;
}
