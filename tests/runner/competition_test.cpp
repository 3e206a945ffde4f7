// A whole competition through kelvaro-sim --session: two players go from PLAY through the opening
// ceremonies, every built event with its medal presentation and the closing ceremonies, back to
// the menu, and quit. Each event is played by the scripted attempt kept beside its tests; the
// medal table and the world records in records.rec must agree with the attempts' results.
#include "app/scene_registry.h"
#include "sim/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kel {
namespace {

// The attempt each built event plays in the competition, from tests/events/.
struct EventAttempt {
    int eventId;
    const char* script;
};
constexpr EventAttempt kEventAttempts[] = {
    {kEventDiving, "diving_good_run.txt"},
    {kEventJavelin, "javelin_good_run.txt"},
    {kEventHammer, "hammer_good_run.txt"},
    {kEventShotPut, "shotput_good_run.txt"},
    {kEventDash, "sprint_good_run.txt"},
    {kEventWeightlifting, "weightlifting_good_lift.txt"},
    {kEventArchery, "archery_good_round.txt"},
    {kEventRings, "rings_good_run.txt"},
    {kEventWalk, "racewalk_good_run.txt"},
    {kEventCycling, "cycling_good_run.txt"},
    {kEventEquestrian, "equestrian_clear_round.txt"},
    {kEventHighJump, "highjump_good_run.txt"},
    {kEventPoleVault, "polevault_good_run.txt"},
    {kEventLongJump, "longjump_good_run.txt"},
    {kEventRowing, "rowing_good_run.txt"},
    {kEventSwimming, "swimming_good_run.txt"},
    {kEventKayak, "kayak_good_run.txt"},
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Attempt {
    int scene = -1;
    bool finished = false;
    float result = 0.0f;
    bool fault = false;
};

std::vector<Attempt> ParseAttempts(const std::string& json) {
    std::vector<Attempt> out;
    static const std::regex kAttempt(
        R"re(\{"scene":(\d+),"frames":\d+,"finished":(true|false),"result":([-0-9.]+|null),"fault":(true|false)\})re");
    for (std::sregex_iterator it(json.begin(), json.end(), kAttempt), end; it != end; ++it) {
        Attempt a;
        a.scene = std::stoi((*it)[1]);
        a.finished = (*it)[2] == "true";
        a.result = (*it)[3] == "null" ? 0.0f : std::stof((*it)[3]);
        a.fault = (*it)[4] == "true";
        out.push_back(a);
    }
    return out;
}

class Competition : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaro-competition-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    int Sim(const std::string& args, std::string* out) const {
        const std::string command =
            "cd '" + folder + "' && '" KELVARO_SIM "' " + args + " >.out 2>.err";
        const int status = std::system(command.c_str());
        *out = ReadFile(folder + "/.out");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string folder;
};

TEST_F(Competition, TwoPlayersPlayEveryBuiltEventThroughToTheClosingCeremonies) {
    // Every built event must bring its attempt.
    std::vector<int> built;
    std::string attemptArgs;
    for (int e = 0; e < kEventCount; ++e) {
        if (!SceneBuilt(e)) continue;
        built.push_back(e);
        const auto* a = std::find_if(std::begin(kEventAttempts), std::end(kEventAttempts),
                                     [e](const EventAttempt& x) { return x.eventId == e; });
        ASSERT_NE(a, std::end(kEventAttempts)) << "event " << e << " is built but has no competition attempt";
        attemptArgs += " --attempt " + std::to_string(e) + ":'" KELVARO_EVENT_SCRIPT_DIR "/" + a->script + "'";
    }

    // First-start records, then two human players and every event included (long jump and shot put
    // too, which a new records file leaves out).
    std::string out;
    {
        std::ofstream(folder + "/quit.txt") << "0 10 10 0\n2 key escape\n";
        ASSERT_EQ(Sim("--session --frames 10 --input quit.txt", &out), 0);
    }
    RecordsData data;
    const std::string recordsPath = folder + "/records.rec";
    ASSERT_TRUE(LoadRecords(&data, recordsPath.c_str()));
    const RecordsData before = data;
    for (int k = 0; k < kPlayerCount; ++k) {
        data.players[k].active = k < 2;
        data.players[k].computer = 0;
    }
    for (EventRecord& e : data.events)
        e.included = 1;
    ASSERT_TRUE(SaveRecords(data, recordsPath.c_str()));

    // PLAY, then a click on the bottom centre button every 40 frames (the opening's skip, each
    // medal presentation's and the closing's continue); the attempts pause this script.
    std::ostringstream script;
    script << "0 10 10 0\n10 820 635 1\n12 820 635 0\n";
    const int clicks = 40 + 12 * static_cast<int>(built.size());
    int frame = 60;
    for (int i = 0; i < clicks; ++i, frame += 40)
        script << frame << " 512 724 1\n" << frame + 2 << " 512 724 0\n";
    script << frame + 20 << " 10 10 0\n" << frame + 40 << " key escape\n";
    std::ofstream(folder + "/competition.txt") << script.str();

    ASSERT_EQ(Sim("--session --seed 7 --frames 600000 --input competition.txt" + attemptArgs, &out), 0);
    EXPECT_NE(out.find("\"quit\":true,\"state\":1"), std::string::npos)
        << "the competition ends back on the menu, where Escape quits: " << out;

    // Two attempts per built event, each finished.
    const std::vector<Attempt> attempts = ParseAttempts(out);
    ASSERT_EQ(attempts.size(), 2 * built.size()) << out;
    std::map<int, std::vector<Attempt>> byEvent;
    for (const Attempt& a : attempts) {
        EXPECT_TRUE(a.finished) << "event " << a.scene;
        byEvent[a.scene].push_back(a);
    }

    // The medal table: per event, the better valid result takes gold, the other silver (a tie
    // shares gold; a fault takes nothing).
    ASSERT_TRUE(LoadRecords(&data, recordsPath.c_str()));
    int gold = 0;
    int silver = 0;
    for (const int e : built) {
        ASSERT_EQ(byEvent[e].size(), 2u) << "event " << e;
        const Attempt& a = byEvent[e][0];
        const Attempt& b = byEvent[e][1];
        const int valid = !a.fault + !b.fault;
        if (valid == 2) {
            const bool tie = std::fabs(a.result - b.result) < 0.005f;
            gold += tie ? 2 : 1;
            silver += tie ? 0 : 1;
        } else {
            gold += valid;
        }

        // A valid result better than the standing record is the new world record; with no record
        // yet (a first start shows the top mark in its place) any valid result is.
        // A valid result better than the standing record, or any valid result where no one holds
        // the record yet, is the new world record.
        const int kind = kEventTable[e].kind;
        float best = 0.0f;
        bool any = false;
        for (const Attempt& x : byEvent[e]) {
            if (x.fault || x.result <= 0.0f) continue;
            if (!any || IsBetter(kind, x.result, best)) best = x.result;
            any = true;
        }
        const EventRecord& old = before.events[e];
        const bool beats = any && (old.hasRecord == 0 || IsBetter(kind, best, old.recordValue));
        if (beats) {
            EXPECT_TRUE(data.events[e].hasRecord) << "event " << e;
            EXPECT_NEAR(data.events[e].recordValue, best, 0.01f) << "event " << e;
        } else {
            EXPECT_FLOAT_EQ(data.events[e].recordValue, old.recordValue) << "event " << e;
        }
    }
    EXPECT_EQ(data.players[0].gold + data.players[1].gold, gold) << out;
    EXPECT_EQ(data.players[0].silver + data.players[1].silver, silver) << out;
    EXPECT_EQ(data.players[0].bronze + data.players[1].bronze, 0);
}

} // namespace
} // namespace kel
