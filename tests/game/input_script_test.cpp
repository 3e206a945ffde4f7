#include "base/app_state.h"
#include "app/input_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

namespace kel {
namespace {

TEST(InputScript, ParsesMouseKeysAndComments) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript(
        "# a run\n0 100 200 0\n5 100 200 1  # grab\n5 key escape\n9 key 112\n12 key q\n", &s, &error))
        << error;
    ASSERT_EQ(s.mouse.size(), 2u);
    EXPECT_EQ(s.mouse[1].frame, 5);
    EXPECT_TRUE(s.mouse[1].held);
    ASSERT_EQ(s.keys.size(), 3u);
    EXPECT_EQ(s.keys[0].key, 27);
    EXPECT_EQ(s.keys[1].key, 112);
    EXPECT_EQ(s.keys[2].key, 'q');
}

TEST(InputScript, ErrorsNameTheLine) {
    InputScript s;
    std::string error;
    EXPECT_FALSE(ParseInputScript("0 1 2 0\n\n5 1 2\n", &s, &error));
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
    EXPECT_FALSE(ParseInputScript("10 1 2 0\n4 1 2 1\n", &s, &error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    EXPECT_FALSE(ParseInputScript("1 key banana\n", &s, &error));
    EXPECT_FALSE(ParseInputScript("1 1 2 3\n", &s, &error));
    EXPECT_FALSE(ParseInputScript("x 1 2 1\n", &s, &error));
    EXPECT_FALSE(ParseInputScript("-1 1 2 1\n", &s, &error));
    EXPECT_FALSE(ParseInputScript("1 key 600\n", &s, &error));
    // A down and up inside one frame would be a click the game never sees.
    EXPECT_FALSE(ParseInputScript("0 1 1 0\n4 1 1 1\n4 key a\n4 1 1 0\n", &s, &error));
    EXPECT_EQ(error.rfind("line 4:", 0), 0u) << error;
    EXPECT_NE(error.find("already has a mouse line"), std::string::npos) << error;
    // Keys may share a frame with the mouse and with each other.
    EXPECT_TRUE(ParseInputScript("4 1 1 1\n4 key a\n4 key b\n", &s, &error)) << error;
}

TEST(InputScript, PlayerDerivesPressAndReleaseFromHeld) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript("0 10 20 0\n2 30 40 1\n4 50 60 0\n3 key a\n", &s, &error) == false);
    ASSERT_TRUE(ParseInputScript("0 10 20 0\n2 30 40 1\n3 key a\n4 50 60 0\n", &s, &error)) << error;
    ScriptPlayer player(s);
    gApp.keyHeld['a'] = 0;
    int pressed[6] = {}, released[6] = {}, held[6] = {}, keyA[6] = {};
    for (int f = 0; f < 6; ++f) {
        ClearFrameInput();
        player.Apply(f);
        pressed[f] = static_cast<int>(gApp.mousePressed);
        released[f] = static_cast<int>(gApp.mouseReleased);
        held[f] = static_cast<int>(gApp.mouseHeld);
        keyA[f] = gApp.keyHeld['a'];
    }
    const int wantPressed[6] = {0, 0, 1, 0, 0, 0};
    const int wantReleased[6] = {0, 0, 0, 0, 1, 0};
    const int wantHeld[6] = {0, 0, 1, 1, 0, 0};
    const int wantKey[6] = {0, 0, 0, 1, 0, 0};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(pressed[f], wantPressed[f]) << f;
        EXPECT_EQ(released[f], wantReleased[f]) << f;
        EXPECT_EQ(held[f], wantHeld[f]) << f;
        EXPECT_EQ(keyA[f], wantKey[f]) << f;
    }
    EXPECT_EQ(gApp.mouseX, 50);
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
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript(recorder.Text(), &s, &error)) << error << "\n" << recorder.Text();
    ScriptPlayer player(s);
    for (int f = 0; f < 5; ++f) {
        ClearFrameInput();
        player.Apply(f);
        EXPECT_EQ(gApp.mouseX, xs[f]);
        EXPECT_EQ(static_cast<int>(gApp.mouseHeld), hs[f]);
        EXPECT_EQ(gApp.keyPressed['r'], f == 3 ? 1 : 0);
    }
}

TEST(InputScript, KeyNames) {
    EXPECT_EQ(ScriptKeyCode("escape"), 27);
    EXPECT_EQ(ScriptKeyCode("Escape"), 27);
    EXPECT_EQ(ScriptKeyCode("RETURN"), 13);
    EXPECT_EQ(ScriptKeyCode("Q"), 'q');
    EXPECT_EQ(ScriptKeyCode("f1"), 282);
    EXPECT_EQ(ScriptKeyCode("F5"), 286);
    EXPECT_EQ(ScriptKeyCode("f12"), 293);
    EXPECT_EQ(ScriptKeyCode("up"), 273);
    EXPECT_EQ(ScriptKeyCode("left"), 276);
    EXPECT_EQ(ScriptKeyCode("pagedown"), 281);
    EXPECT_EQ(ScriptKeyCode("510"), 510);
    for (const char* bad : {"f0", "f13", "f+1", "511", "-1", "", "ab", "esc"})
        EXPECT_EQ(ScriptKeyCode(bad), -1) << bad;
}

TEST(InputScript, EditorArtefactsAreTolerated) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript("\xEF\xBB\xBF"
                                 "0 1 2 0\r\n3 key p\r\n\r\n",
                                 &s, &error))
        << error;
    ASSERT_EQ(s.mouse.size(), 1u);
    EXPECT_EQ(s.mouse[0].y, 2);
    ASSERT_EQ(s.keys.size(), 1u);
    EXPECT_EQ(s.keys[0].key, 'p');
}

TEST(InputScript, PlayerKeepsItsScriptByReference) {
    static_assert(!std::is_constructible_v<ScriptPlayer, InputScript&&>, "a temporary script would dangle");
    static_assert(std::is_constructible_v<ScriptPlayer, const InputScript&>);
}

TEST(InputScript, SkippedFramesCatchUpAndPositionsAreClamped) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript("1 5000 -50 1\n2 key z\n3 -20 9999 0\n", &s, &error)) << error;
    std::memset(gApp.keyHeld, 0, sizeof gApp.keyHeld);
    gApp.mouseHeld = 0;
    ScriptPlayer player(s);
    ClearFrameInput();
    player.Apply(0);
    EXPECT_EQ(gApp.mouseHeld, 0u);
    ClearFrameInput();
    player.Apply(1);
    EXPECT_EQ(gApp.mouseX, gApp.screenWidth);
    EXPECT_EQ(gApp.mouseY, 0);
    EXPECT_EQ(gApp.mousePressed, 1u);
    // Frames 2 and 3 were not played: their lines arrive together in frame 5.
    ClearFrameInput();
    player.Apply(5);
    EXPECT_EQ(gApp.mouseX, 0);
    EXPECT_EQ(gApp.mouseY, gApp.screenHeight);
    EXPECT_EQ(gApp.mouseReleased, 1u);
    EXPECT_EQ(gApp.keyPressed['z'], 1);
    EXPECT_EQ(gApp.keyHeld['z'], 1);
    ClearFrameInput();
    player.Apply(6);
    EXPECT_EQ(gApp.keyHeld['z'], 0);
    EXPECT_EQ(gApp.mouseReleased, 0u);
}

} // namespace
} // namespace kel
