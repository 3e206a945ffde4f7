// The pause screen under scripted mouse input: resume and quit, and the volume slider.
#include "app/pause_screen.h"
#include "audio/sound.h"
#include "gfx/atlas_table.h"
#include "sim/sim_test_support.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

class PauseScreenTest : public test::SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
        pause = PauseScreen(); // placed for the window size just set
        SetMusicVolume(100);
        SetEffectsVolume(100);
    }
    void TearDown() override {
        SetMusicVolume(100);
        SetEffectsVolume(100);
        SimTest::TearDown();
    }
    void Step() {
        gl.Reset();
        pause.Draw();
        FlushBatch();
        Frame();
    }
    int ClickAt(int x, int y) {
        MouseAt(x, y);
        Press();
        Step();
        Release();
        Step();
        return pause.clickedButton;
    }
    // Screen px of a panel point (4 px per unit).
    int Px(float ux) const { return static_cast<int>((pause.x + ux) * 4.0f); }
    int Py(float uy) const { return static_cast<int>((pause.y + uy) * 4.0f); }
    // Holds the button at panel x `ux` (the knob's middle) on the slider's line.
    void DragTo(float ux) {
        MouseAt(Px(ux + 6.0f), Py(102.0f));
        gApp.mouseHeld = 1;
        Step();
    }
    // Sprite 105, 9 x 8 with its anchor in the middle, at (width / 2 - 41, 102).
    bool DrewMutedMark() {
        for (const test::DrawnQuad& q : test::TakeQuads(gl))
            if (q.left == pause.width / 2.0f - 41.0f - 4.5f && q.top == 98.0f) return true;
        return false;
    }
    PauseScreen pause;
};

TEST_F(PauseScreenTest, ResetReadsTheVolumeResumeAndQuitReportTheirIdsAndTheSliderSetsBothVolumes) {
    SetMusicVolume(40);
    pause.clickedButton = kPauseQuitButton;
    pause.Reset();
    EXPECT_FLOAT_EQ(pause.volume, 0.4f);
    EXPECT_EQ(pause.clickedButton, -1);
    EXPECT_EQ(ClickAt(Px(64.0f), Py(42.0f)), kPauseResumeButton);
    ASSERT_NE(LastEffect(kSfxTap1), nullptr);
    EXPECT_FLOAT_EQ(LastEffect(kSfxTap1)->pitch, 1.33f);
    EXPECT_EQ(ClickAt(Px(64.0f), Py(70.0f)), kPauseQuitButton);
    Step();
    EXPECT_EQ(pause.clickedButton, -1) << "a click holds for one drawing";
    MouseAt(Px(64.0f), Py(42.0f));
    Press();
    Step();
    EXPECT_EQ(pause.hoverButton, kPauseResumeButton);
    MouseAt(Px(64.0f), Py(70.0f));
    Release();
    Step();
    EXPECT_EQ(pause.clickedButton, -1) << "pressed on one button, released on the other";
    // The slider follows the held button up to 32 units beyond either end, clamped.
    pause.Reset();
    Step();
    EXPECT_FALSE(DrewMutedMark());
    DragTo(64.0f - 32.0f - 20.0f);
    EXPECT_FLOAT_EQ(pause.volume, 0.0f);
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(EffectsVolume(), 0);
    EXPECT_TRUE(DrewMutedMark()) << "in the same frame as the drag";
    DragTo(64.0f + 20.0f + 32.0f);
    EXPECT_FLOAT_EQ(pause.volume, 1.0f);
    DragTo(64.0f - 6.0f); // the middle of the knob's travel
    EXPECT_NEAR(pause.volume, 0.5f, 0.02f);
    EXPECT_EQ(MusicVolume(), static_cast<int>(pause.volume * 100.0f));
    const float before = pause.volume;
    DragTo(64.0f + 20.0f + 34.0f); // beyond the band
    EXPECT_FLOAT_EQ(pause.volume, before);
    MouseAt(Px(40.0f), Py(102.0f)); // on the band without the button
    gApp.mouseHeld = 0;
    Step();
    EXPECT_FLOAT_EQ(pause.volume, before);
    MouseAt(Px(64.0f), Py(80.0f)); // above the band
    gApp.mouseHeld = 1;
    Step();
    EXPECT_FLOAT_EQ(pause.volume, before);
}

} // namespace
} // namespace kel
