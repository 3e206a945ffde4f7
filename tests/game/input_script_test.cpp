// Input scripts: parsing, errors, key names, playing back with clamps and skipped frames, recording.
#include "base/app_state.h"
#include "app/input_script.h"

#include <gtest/gtest.h>
#include <cstring>
#include <type_traits>

namespace kel {
namespace {

InputScript Parse(const std::string& text) {
    InputScript s;
    std::string error;
    EXPECT_TRUE(ParseInputScript(text, &s, &error)) << error << "\n" << text;
    return s;
}

TEST(InputScript, ParsesMouseKeysKeyNamesCommentsAndEditorArtefacts) {
    InputScript s = Parse("# a run\n0 100 200 0\n5 100 200 1  # grab\n5 key escape\n9 key 112\n12 key q\n");
    ASSERT_EQ(s.mouse.size(), 2u);
    EXPECT_EQ(s.mouse[1].frame, 5);
    EXPECT_TRUE(s.mouse[1].held);
    ASSERT_EQ(s.keys.size(), 3u);
    EXPECT_EQ(s.keys[0].key, 27);
    EXPECT_EQ(s.keys[1].key, 112);
    EXPECT_EQ(s.keys[2].key, 'q');
    s = Parse("\xEF\xBB\xBF"
              "0 1 2 0\r\n3 key p\r\n\r\n"); // a byte-order mark and CR LF
    ASSERT_EQ(s.mouse.size(), 1u);
    EXPECT_EQ(s.mouse[0].y, 2);
    ASSERT_EQ(s.keys.size(), 1u);
    EXPECT_EQ(s.keys[0].key, 'p');
    Parse("4 1 1 1\n4 key a\n4 key b\n"); // keys may share a frame with the mouse and each other
    const struct {
        const char* name;
        int code;
    } names[] = {{"escape", 27}, {"Escape", 27}, {"RETURN", 13}, {"Q", 'q'},    {"f1", 282},
                 {"F5", 286},    {"f12", 293},   {"up", 273},    {"left", 276}, {"pagedown", 281},
                 {"510", 510},   {"f0", -1},     {"f13", -1},    {"f+1", -1},   {"511", -1},
                 {"-1", -1},     {"", -1},       {"ab", -1},     {"esc", -1}};
    for (const auto& n : names)
        EXPECT_EQ(ScriptKeyCode(n.name), n.code) << n.name;
}

TEST(InputScript, ErrorsNameTheLine) {
    const struct {
        const char* text;
        const char* line; // the error's start
    } cases[] = {
        {"0 1 2 0\n\n5 1 2\n", "line 3:"},
        {"10 1 2 0\n4 1 2 1\n", "line 2:"},
        // A down and up inside one frame would be a click the game never sees.
        {"0 1 1 0\n4 1 1 1\n4 key a\n4 1 1 0\n", "line 4: frame 4 already has a mouse line"},
        {"0 10 20 0\n2 30 40 1\n4 50 60 0\n3 key a\n", "line 4:"},
        {"1 key banana\n", "line 1:"},
        {"1 1 2 3\n", "line 1:"},
        {"x 1 2 1\n", "line 1:"},
        {"-1 1 2 1\n", "line 1:"},
        {"1 key 600\n", "line 1:"},
    };
    for (const auto& c : cases) {
        InputScript s;
        std::string error;
        EXPECT_FALSE(ParseInputScript(c.text, &s, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
    }
}

TEST(InputScript, PlayerDerivesPressAndReleaseFromHeld) {
    const InputScript s = Parse("0 10 20 0\n2 30 40 1\n3 key a\n4 50 60 0\n");
    ScriptPlayer player(s);
    gApp.keyHeld['a'] = 0;
    const int want[6][4] = {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 1, 0},
                            {0, 0, 1, 1}, {0, 1, 0, 0}, {0, 0, 0, 0}};
    for (int f = 0; f < 6; ++f) {
        ClearFrameInput();
        player.Apply(f);
        const int got[4] = {static_cast<int>(gApp.mousePressed), static_cast<int>(gApp.mouseReleased),
                            static_cast<int>(gApp.mouseHeld), gApp.keyHeld['a']};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(got[i], want[f][i]) << "frame " << f << ", pressed/released/held/key " << i;
    }
    EXPECT_EQ(gApp.mouseX, 50);
    static_assert(!std::is_constructible_v<ScriptPlayer, InputScript&&>, "a temporary script would dangle");
}

// Past the right edge and above the top, then past the left edge and below the bottom.
TEST(InputScript, SkippedFramesCatchUpAndPositionsAreClamped) {
    const InputScript s = Parse("1 5000 -50 1\n2 key z\n3 -20 9999 0\n");
    std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
    gApp.mouseHeld = 0;
    ScriptPlayer player(s);
    const auto play = [&](int frame) {
        ClearFrameInput();
        player.Apply(frame);
    };
    play(0);
    EXPECT_EQ(gApp.mouseHeld, 0u);
    play(1);
    EXPECT_EQ(gApp.mouseX, gApp.screenWidth);
    EXPECT_EQ(gApp.mouseY, 0);
    EXPECT_EQ(gApp.mousePressed, 1u);
    play(5); // frames 2 and 3 were not played: their lines arrive together in frame 5
    EXPECT_EQ(gApp.mouseX, 0);
    EXPECT_EQ(gApp.mouseY, gApp.screenHeight);
    EXPECT_EQ(gApp.mouseReleased, 1u);
    EXPECT_EQ(gApp.keyPressed['z'], 1);
    EXPECT_EQ(gApp.keyHeld['z'], 1);
    play(6);
    EXPECT_EQ(gApp.keyHeld['z'], 0);
    EXPECT_EQ(gApp.mouseReleased, 0u);
}

TEST(InputScript, RecordingPlaysBackTheSameInput) {
    InputRecorder recorder;
    recorder.Clear();
    const int xs[5] = {5, 5, 9, 9, 9};
    const int hs[5] = {0, 1, 1, 1, 0};
    for (int f = 0; f < 5; ++f) {
        ClearFrameInput();
        gApp.mouseX = xs[f];
        gApp.mouseY = 7;
        gApp.mouseHeld = static_cast<uint32_t>(hs[f]);
        if (f == 3) gApp.keyPressed['r'] = 1;
        recorder.Record(f);
    }
    ClearFrameInput();
    const InputScript s = Parse(recorder.Text());
    ScriptPlayer player(s);
    for (int f = 0; f < 5; ++f) {
        ClearFrameInput();
        player.Apply(f);
        EXPECT_EQ(gApp.mouseX, xs[f]);
        EXPECT_EQ(static_cast<int>(gApp.mouseHeld), hs[f]);
        EXPECT_EQ(gApp.keyPressed['r'], f == 3 ? 1 : 0);
    }
}

} // namespace
} // namespace kel
