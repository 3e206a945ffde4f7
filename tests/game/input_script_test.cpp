#include "app/app_state.h"
#include "app/input_script.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(InputScript, ParsesMouseKeysAndComments) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript("# a run\n0 100 200 0\n5 100 200 1  # grab\n5 key escape\n9 key 112\n12 key q\n",
                                 &s, &error))
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

} // namespace
} // namespace kel
