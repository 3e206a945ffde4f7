// Every event's kept scripts played the way the headless runner plays them: each good run reaches
// the event's middle mark with its pinned world hash, and each foul script ends in a foul. No
// attempt loads a sheet its scene did not ask for when it was built.
#include "event_test_support.h"

#include "app/scene_registry.h"
#include "gfx/atlas_table.h"
#include "sim/records.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kel::test {
namespace {

using ScriptedRunTest = EventTest;

std::unique_ptr<SportEvent> Build(int event) {
    // The diving judges' colours are drawn once per run, by the first dive built: draw them now,
    // so a seeded run is the same whichever test runs first, and leave the generator as it was.
    const uint32_t seed = RandomState();
    delete CreateSceneById(kEventDiving);
    SeedRandom(seed);
    SportEvent* s = CreateSceneById(event);
    EXPECT_NE(s, nullptr) << event;
    return std::unique_ptr<SportEvent>(s);
}

// The hashes are pinned: re-pin one only for an intended change of the physics or the rules.
TEST_F(ScriptedRunTest, EachGoodRunReachesItsMarksWithItsPinnedHash) {
    struct Case {
        int event;
        const char* script;
        int afterFinish; // as kelvaro-sim --after-finish
        const char* hash;
        float low, high; // the result
        int level;       // 3: the middle mark
    };
    const Case cases[] = {
        {kEventDash, "sprint_good_run.txt", 60, "1578af69972b45f7", 150.0f, 260.0f, 4},
        {kEventDiving, "diving_good_run.txt", 200, "173012f7f8821a1a", 0.0f, 10.0f, 3},
        {kEventJavelin, "javelin_good_run.txt", 60, "ee9042725c9ceb5b", 0.0f, 160.0f, 3},
        {kEventEquestrian, "equestrian_clear_round.txt", 30, "fadb49ae4d660597", 1000.0f, 1700.0f, 3},
        {kEventRings, "rings_good_run.txt", 60, "c9e834854742f280", 6.7f, 6.9f, 3},
        {kEventHighJump, "highjump_good_run.txt", 60, "cb4730bc9fe506d5", 8.0f, 8.2f, 3},
        {kEventWeightlifting, "weightlifting_good_lift.txt", 60, "acf59e0ec6afe7ca", 420.0f, 520.0f, 3},
        {kEventShotPut, "shotput_good_run.txt", 60, "e6a4ccee4e41e545", 0.0f, 3.0f, 3},
        {kEventPoleVault, "polevault_good_run.txt", 60, "eafd26c97d8e6a4a", 12.0f, 15.0f, 3},
        {kEventRowing, "rowing_good_run.txt", 60, "4d47932d907e668f", 540.0f, 800.0f, 3},
        {kEventSwimming, "swimming_good_run.txt", 0, "f32621509a4d1ba2", 900.0f, 1200.0f, 3},
        {kEventWalk, "racewalk_good_run.txt", 30, "07e9b80fb58013c5", 300.0f, 600.0f, 3},
        {kEventLongJump, "longjump_good_run.txt", 60, "f40b5d6cd465dbc6", 14.0f, 19.0f, 3},
        {kEventKayak, "kayak_good_run.txt", 60, "b88227d714d5bdd1", 600.0f, 1000.0f, 3},
        {kEventHammer, "hammer_good_run.txt", 60, "73f2782cc1855ccc", 0.0f, 250.0f, 3},
        {kEventCycling, "cycling_good_run.txt", 30, "a68ad00608dd3e1d", 400.0f, 700.0f, 3},
        {kEventArchery, "archery_good_round.txt", 60, "8c5408c2605352e6", 65.0f, 100.0f, 3},
    };
    // The game's own sheets and atlas, as at start-up, so each draw asks for the sheet it uses.
    LoadStartTextureSlots();
    BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        sounds.clear();
        SeedRandom(1u);
        const std::unique_ptr<SportEvent> s = Build(c.event);
        s->SetPlayer(&player);
        const int lateSlots = gRenderer.lateSlots;
        ASSERT_GE(PlayFile(*s, c.script, c.afterFinish), 0);
        EXPECT_EQ(gRenderer.lateSlots, lateSlots) << "a sheet the scene draws from is not loaded with it";
        EXPECT_FALSE(s->fault);
        EXPECT_GE(s->result, c.low);
        EXPECT_LE(s->result, c.high);
        EXPECT_GE(AchievementLevel(c.event, s->result, s->fault), c.level);
        EXPECT_EQ(CountEffect(kSfxShortbuzz), 0);
        ExpectMusicStartedAndStopped();
        EXPECT_EQ(WorldHash(s->world), c.hash);
    }
}

// Each foul script ends in a foul with its sound. Frames are pinned where a rule counts them out:
// a budget, an idle cap, a time limit, a time to the line.
TEST_F(ScriptedRunTest, EachFoulScriptEndsInAFoulWithItsSound) {
    struct Case {
        int event;
        std::vector<const char*> scripts;
        int sound = kSfxShortbuzz; // -1: the foul is silent
    };
    const Case cases[] = {
        {kEventDiving,
         {"diving_flat_entry", "diving_deck_rest", "diving_budget_spent", "diving_out_of_pool",
          "diving_left_standing"}},
        {kEventJavelin,
         {"javelin_step_over", "javelin_back_off_runway", "javelin_skid", "javelin_impale",
          "javelin_behind_line", "javelin_left_still"}},
        {kEventEquestrian, {"equestrian_fall_dnq", "equestrian_stall_dnq", "equestrian_idle_dnq"}},
        {kEventHighJump,
         {"highjump_foul_ran_past", "highjump_foul_stalled_low_bar", "highjump_foul_under",
          "highjump_foul_bar_down", "highjump_foul_let_go", "highjump_foul_not_cleared"}},
        {kEventWeightlifting,
         {"weightlifting_lifter_falls", "weightlifting_dropped_bar", "weightlifting_bar_left_lying"}},
        {kEventShotPut,
         {"shotput_over_the_front", "shotput_behind_front", "shotput_no_throw", "shotput_left_still"}},
        {kEventPoleVault,
         {"polevault_foul_pole_over", "polevault_foul_no_crossing", "polevault_foul_run_back",
          "polevault_foul_budget_on_ground", "polevault_foul_idle"}},
        {kEventRowing, {"rowing_overboard", "rowing_behind_wall", "rowing_idle"}},
        {kEventSwimming, {"swimming_out_of_pool", "swimming_time_limit"}, -1},
        {kEventWalk, {"racewalk_false_start", "racewalk_lean_dnq", "racewalk_idle_dnq"}},
        {kEventLongJump, {"longjump_foul_overstep", "longjump_foul_short"}, -1},
        {kEventHammer,
         {"hammer_leave_circle", "hammer_short", "hammer_outside_sector", "hammer_cage",
          "hammer_still_release"}},
        {kEventCycling, {"cycling_crash", "cycling_time_limit"}, kSfxCrash},
        {kEventArchery, {"archery_archer_knocked_over"}},
    };
    const std::map<std::string, int> finishedFrames = {
        {"weightlifting_bar_left_lying", 620 + 30}, // let go in frame 20, then 600 idle frames
        {"shotput_no_throw", 10 + 1800 + 60},       // 30 s from the grab
        {"javelin_left_still", 11 + 600 + 60},      // let go in frame 11, then ten still seconds
        {"hammer_still_release", 11 + 600 + 60},
        {"highjump_foul_let_go", 140 + 240 + 30},      // let go in frame 140: the 241st frame fouls
        {"polevault_foul_budget_on_ground", 419 + 60}, // the 420th held frame spends the budget
        {"polevault_foul_idle", 310 + 60},             // frames 11 to 310 without input
        {"rowing_overboard", 103 + 60},                // the rower's origin reaches the water line
        {"rowing_behind_wall", 250 + 60},              // the rower passes x = -110
        {"rowing_idle", 1206 + 60},                    // 600 frames with no input and the hull still
        {"swimming_out_of_pool", 302 + 30},            // 300 frames on the block
        {"swimming_time_limit", 7201 + 30},            // 7200 frames of racing
        {"racewalk_idle_dnq", 120 + 600 + 29},         // the gun at 120, then 600 frames standing still
        // 7 N on 1.75 kg from rest cover the 18.95 m to the line in about 185 frames.
        {"longjump_foul_overstep", 186 + 30},
        {"cycling_time_limit", 1 + 7201 + 30}, // the clock from the grab in frame 1: 7201 frames is over time
    };
    LoadStartTextureSlots();
    BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
    for (const Case& c : cases) {
        for (const char* name : c.scripts) {
            SCOPED_TRACE(name);
            sounds.clear();
            SeedRandom(1u);
            const std::unique_ptr<SportEvent> s = Build(c.event);
            const int lateSlots = gRenderer.lateSlots;
            const int finishedFrame = PlayFile(*s, (std::string(name) + ".txt").c_str(), 0);
            EXPECT_EQ(gRenderer.lateSlots, lateSlots);
            const auto pinned = finishedFrames.find(name);
            if (pinned != finishedFrames.end()) {
                EXPECT_EQ(finishedFrame, pinned->second);
            }
            EXPECT_TRUE(s->finished);
            EXPECT_TRUE(s->fault);
            EXPECT_EQ(s->result, 0.0f);
            if (c.sound >= 0) {
                EXPECT_EQ(CountEffect(c.sound), 1);
            }
            EXPECT_EQ(CountEffect(kSfxClapping), 0);
        }
    }
}

} // namespace
} // namespace kel::test
