// libFuzzer target: the records.rec decoder on arbitrary bytes. Whatever it accepts must hold what
// RecordsData promises the menu and the ceremonies, and what the game then saves must read back
// as the very same records.
#include "fuzz/fuzz_support.h"
#include "sim/records.h"

namespace {

using kel::RecordsData;
using kel::Within;

// The file image stands for the whole of RecordsData except the `reserved` bytes, which the
// decoder zeroes and the file never carries.
bool SameRecords(const RecordsData& a, const RecordsData& b) {
    uint8_t bytesA[kel::kRecordsFileBytes], bytesB[kel::kRecordsFileBytes];
    kel::EncodeRecords(a, bytesA);
    kel::EncodeRecords(b, bytesB);
    return std::memcmp(bytesA, bytesB, sizeof bytesA) == 0;
}

void RequireSoundNation(const kel::Nation& n) {
    // A name of at most 63 characters.
    FUZZ_REQUIRE(std::memchr(n.name, 0, kel::kNationNameSize) != nullptr && kel::IsValidNation(n));
    FUZZ_REQUIRE(Within(n.firstSide, 0, 1) && Within(n.skipOnce, 0, 1) && Within(n.pure, 0, 1));
}

void RequireWhatDecodePromises(const RecordsData& d) {
    for (const kel::EventRecord& e : d.events) {
        FUZZ_REQUIRE(e.reserved == 0 && Within(e.included, 0, 1) && Within(e.hasRecord, 0, 1));
        // The defaults here are all above 0, and a record at or below 0 could never be beaten.
        FUZZ_REQUIRE(std::isfinite(e.recordValue) && e.recordValue > 0.0f);
        RequireSoundNation(e.recordHolder);
    }
    for (const kel::PlayerRecord& p : d.players) {
        FUZZ_REQUIRE(Within(p.active, 0, 1) && Within(p.computer, 0, 1));
        RequireSoundNation(p.nation);
        FUZZ_REQUIRE(p.gold >= 0 && p.silver >= 0 && p.bronze >= 0 && p.opponentIndex >= 0);
        FUZZ_REQUIRE(p.opponentIndex < kel::kOpponentCount);
    }
    FUZZ_REQUIRE(Within(d.musicVolume, 0, 100) && Within(d.effectsVolume, 0, 100));
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
    // The little-endian version: 4 or more, not negative.
    FUZZ_REQUIRE(accepted ==
                 (size >= 4 && data[3] < 0x80 && (data[0] >= 4 || data[1] || data[2] || data[3])));
    if (!accepted) {
        FUZZ_REQUIRE(SameRecords(decoded, kFirstStart)); // a refused file changes nothing
        return 0;
    }
    RequireWhatDecodePromises(decoded);

    // Reading the same file again over what it gave changes nothing.
    RecordsData twice = decoded;
    FUZZ_REQUIRE(kel::DecodeRecords(data, size, &twice) && SameRecords(twice, decoded));

    // What the game saves reads back whole, whatever the first-start values are.
    uint8_t saved[kel::kRecordsFileBytes];
    kel::EncodeRecords(decoded, saved);
    RecordsData reread;
    FUZZ_REQUIRE(kel::DecodeRecords(saved, sizeof saved, &reread) && SameRecords(reread, decoded));
    return 0;
}
