// The credits panel under scripted mouse input: its pages, the double-speed toggle, the slider.
#include "ceremonies/credits.h"
#include "audio/sound.h"
#include "gfx/atlas_table.h"
#include "sim/sim_test_support.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

class CreditsTest : public test::SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
        SetMusicVolume(100);
        SetEffectsVolume(100);
        gApp.fastMode = 0;
        panel = CreditsPanel(); // placed for the window size just set
        panel.Open(0);
    }
    void TearDown() override {
        SetMusicVolume(100);
        SetEffectsVolume(100);
        gApp.fastMode = 0;
        SimTest::TearDown();
    }
    void Step(bool drawOnly = false) {
        gApp.frameCounter += 1;
        if (!drawOnly) panel.Update();
        gl.Reset();
        panel.Draw();
        FlushBatch();
        Frame();
    }
    // Press and release over a panel point; returns what the next update sees.
    int ClickAt(float ux, float uy) {
        MouseAt(Px(ux), Py(uy));
        Press();
        Step();
        Release();
        Step(true);
        return panel.clicked;
    }
    // Screen px of a panel point (3 px per unit), rounded up so integer division lands inside.
    int Px(float ux) const { return static_cast<int>((panel.x + ux) * 3.0f) + 1; }
    int Py(float uy) const { return static_cast<int>((panel.y + uy) * 3.0f) + 1; }
    void DragTo(float ux) {
        MouseAt(Px(ux + 6.0f), Py(19.0f));
        gApp.mouseHeld = 1;
        Step();
    }
    CreditsPanel panel;
};

TEST_F(CreditsTest, OpeningReadsTheVolumeButtonsReportTheirIdsAndBackReturnsFromTheThanksPage) {
    panel.NextPage();
    panel.clicked = kCreditsFastButton;
    SetMusicVolume(30);
    panel.Open(5);
    EXPECT_FALSE(panel.OnThanksPage());
    EXPECT_EQ(panel.clicked, -1);
    EXPECT_FLOAT_EQ(panel.volume, 0.3f);
    // MORE leads to the thanks page; BACK there returns to the credits page instead of closing.
    const float row = panel.height - 27.0f + 10.0f;
    const float close = panel.width - 54.0f + 24.0f;
    const struct {
        float x, y;
        int id;
    } buttons[] = {{30.0f, row, kCreditsMoreButton},
                   {close, row, kCreditsCloseButton},
                   {panel.width / 2.0f, 60.0f, kCreditsMailButton},
                   {panel.width / 2.0f, 98.0f, kCreditsWebsiteButton},
                   {panel.width / 2.0f, 136.0f, kCreditsMusicButton}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        EXPECT_EQ(ClickAt(b.x, b.y), b.id);
        panel.Update();
        EXPECT_EQ(panel.clicked, b.id) << "left for the session";
        EXPECT_FALSE(panel.OnThanksPage());
        EXPECT_EQ(gApp.fastMode, 0);
    }
    panel.NextPage(); // what the session does with MORE
    panel.clicked = -1;
    EXPECT_EQ(ClickAt(30.0f, row), -1) << "no MORE button on the thanks page";
    EXPECT_EQ(ClickAt(close, row), kCreditsCloseButton);
    panel.Update();
    EXPECT_FALSE(panel.OnThanksPage());
    EXPECT_EQ(panel.clicked, -1) << "the session must not close the panel";
}

TEST_F(CreditsTest, FastToggleFlipsOncePerClickOnRelease) {
    for (const int want : {1, 0}) {
        ASSERT_EQ(ClickAt(20.0f, 15.0f), kCreditsFastButton);
        Step();
        EXPECT_EQ(gApp.fastMode, want);
        Step();
        EXPECT_EQ(gApp.fastMode, want) << "one click, one flip";
    }
    MouseAt(Px(20.0f), Py(15.0f));
    Press();
    Step();
    gApp.mouseHeld = 1;
    Step();
    EXPECT_EQ(gApp.fastMode, 0) << "pressed but not released";
}

TEST_F(CreditsTest, SliderReactsAnywhereInItsBandAndPinsAtTheEnds) {
    const float cx = panel.width / 2.0f;
    DragTo(cx - 32.0f - 30.0f);
    EXPECT_FLOAT_EQ(panel.volume, 0.0f);
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(EffectsVolume(), 0);
    DragTo(cx + 20.0f + 30.0f);
    EXPECT_FLOAT_EQ(panel.volume, 1.0f);
    EXPECT_EQ(MusicVolume(), 100);
    DragTo(cx - 6.0f);
    EXPECT_NEAR(panel.volume, 0.5f, 0.03f);
    EXPECT_EQ(EffectsVolume(), static_cast<int>(panel.volume * 100.0f));
    const float before = panel.volume;
    DragTo(cx - 32.0f - 34.0f); // beyond the band
    EXPECT_FLOAT_EQ(panel.volume, before);
    panel.NextPage();
    DragTo(cx + 20.0f + 30.0f);
    EXPECT_FLOAT_EQ(panel.volume, before) << "the slider is only on the credits page";
}

} // namespace
} // namespace kel
