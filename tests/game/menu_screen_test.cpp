// The menu driven by scripted mouse input: when its buttons fire, the player slots and their
// pop-up, the event tiles and their excluded marks, the logo clock and the window offsets.
#include "app/menu_screen.h"
#include "app/scene_registry.h"
#include "gfx/atlas_table.h"
#include "gfx/font.h"
#include "sim/sim_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kel {
namespace {

using test::FakeHost;

class MenuScreenTest : public test::SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        BuildSpriteAtlas(kAtlasTable, kAtlasTableRows);
        host.inScene = false;
        SetSceneHost(&host);
        players[0].active = 1;
        std::strcpy(players[0].nation.name, "TESTLAND");
    }

    // One game frame as the session runs it in its menu state.
    void Step() {
        gApp.frameCounter += 1;
        menu.Update();
        menu.DrawFrame();
        FlushBatch();
        Frame();
    }
    void StepN(int n) {
        for (int i = 0; i < n; ++i)
            Step();
    }
    // Press in one frame, release in the next; returns the id reported after the release.
    int ClickAt(int x, int y) {
        MouseAt(x, y);
        Press();
        Step();
        Release();
        Step();
        return menu.clickedButton;
    }

    // Whether the last frame drew an axis-aligned quad with these corners.
    bool DrewQuad(float left, float top, float right, float bottom) const {
        for (const RecordingGlBackend::Draw& d : gl.draws) {
            for (size_t i = 0; i + 5 < d.vertices.size(); i += 6) {
                bool a = false;
                bool b = false;
                for (size_t j = i; j < i + 6; ++j) {
                    a = a || (d.vertices[j].x == left && d.vertices[j].y == top);
                    b = b || (d.vertices[j].x == right && d.vertices[j].y == bottom);
                }
                if (a && b) return true;
            }
        }
        return false;
    }
    void DrawOnly() {
        gl.Reset();
        menu.DrawFrame();
        FlushBatch();
    }

    // Middle of a tile's unskewed hit box (the icon is 22 art px shown 4 times).
    static int TileMidX(int column) { return static_cast<int>(MenuTileX(column)) + 44; }
    static int TileMidY(int row) { return static_cast<int>(MenuTileY(row)) + 44; }
    static int SlotMidX(int k) { return static_cast<int>(MenuSlotX(k)) + 60; }
    static int SlotMidY(int k) { return static_cast<int>(MenuSlotY(k)) + 36; }

    // The grid position of an event, false when it has no tile.
    static bool TileOf(int eventId, int* row, int* column) {
        for (int r = 0; r < kMenuGridRows; ++r) {
            for (int c = 0; c < kMenuGridColumns; ++c) {
                if (kMenuGrid[r][c] == eventId) {
                    *row = r;
                    *column = c;
                    return true;
                }
            }
        }
        return false;
    }

    FakeHost host;
    PlayerRecord players[kPlayerCount];
    EventRecord events[kEventCount];
    int32_t selected = -1;
    MenuScreen menu{MenuSource{players, events, &selected}};
};

// ---- Buttons ---------------------------------------------------------------------------------

TEST_F(MenuScreenTest, PlayFiresOnReleaseAndStaysReportedUntilTheNextDrawing) {
    MouseAt(760, 620);
    Press();
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "a press alone is no click";
    Release();
    Step();
    EXPECT_EQ(menu.clickedButton, kMenuPlayButton);
    menu.Update(); // the session reads the click in its next update, before drawing
    EXPECT_EQ(menu.clickedButton, kMenuPlayButton);
    DrawOnly();
    EXPECT_EQ(menu.clickedButton, -1);

    Press();
    Step();
    MouseAt(500, 300);
    Release();
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "released away from the button";
}

TEST_F(MenuScreenTest, NothingReactsWhileAPanelIsOpenOverTheMenu) {
    host.panelOpen = true;
    EXPECT_EQ(ClickAt(760, 620), -1);
    EXPECT_EQ(menu.hoverButton, -1);
}

// ---- Player slots ----------------------------------------------------------------------------

TEST_F(MenuScreenTest, ShortClickOnASlotSelectsItWithoutAHoldCount) {
    for (int k = 0; k < kPlayerCount; ++k) {
        EXPECT_EQ(ClickAt(SlotMidX(k), SlotMidY(k)), kMenuFirstSlotButton + k) << "slot " << k;
        EXPECT_LT(menu.pressFrames, kButtonAutoClickFrames);
    }
}

TEST_F(MenuScreenTest, HoldingASlotFiresItByItselfAfterThirtyFrames) {
    MouseAt(SlotMidX(0), SlotMidY(0));
    Press();
    Step();
    gApp.mouseHeld = 1;
    for (int frame = 2; frame < kButtonAutoClickFrames; ++frame) {
        Step();
        ASSERT_EQ(menu.clickedButton, -1) << "frame " << frame;
    }
    Step();
    EXPECT_EQ(menu.clickedButton, kMenuFirstSlotButton);
    EXPECT_GE(menu.pressFrames, kButtonAutoClickFrames) << "the session removes the player on this count";
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "fires once per press";
    Release();
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "the release after an automatic click is not a second one";
}

TEST_F(MenuScreenTest, PopupButtonsSitAboveTheSelectedSlot) {
    selected = 2;
    menu.popupFrames = kMenuPopupFrames;
    const int y = static_cast<int>(MenuSlotY(2)) - 21;
    const int x = static_cast<int>(MenuSlotX(2));
    EXPECT_EQ(ClickAt(x + 92 + 21, y), kMenuRemoveButton);
    EXPECT_EQ(ClickAt(x + 42 + 21, y), kMenuRandomNationButton);
    EXPECT_EQ(ClickAt(x - 8 + 21, y), kMenuPickNationButton);
}

TEST_F(MenuScreenTest, PopupDisappearsWhenItsFramesRunOut) {
    selected = 0;
    menu.popupFrames = kMenuPopupFrames;
    const int x = static_cast<int>(MenuSlotX(0)) + 92 + 21;
    const int y = static_cast<int>(MenuSlotY(0)) - 21;
    MouseAt(x, y);
    StepN(kMenuPopupFrames - 1);
    EXPECT_EQ(menu.hoverButton, kMenuRemoveButton) << "still up one frame before the end";
    Step();
    EXPECT_EQ(menu.hoverButton, -1);
    EXPECT_EQ(ClickAt(x, y), -1);
    selected = 1;
    menu.popupFrames = kMenuPopupFrames;
    EXPECT_EQ(ClickAt(x, y), -1) << "slot 1's pop-up has its buttons elsewhere";
    selected = -1;
    menu.popupFrames = kMenuPopupFrames;
    EXPECT_EQ(ClickAt(x, y), -1) << "no slot selected";
}

TEST_F(MenuScreenTest, ResetHidesThePopupAndForgetsAPress) {
    selected = 0;
    menu.popupFrames = kMenuPopupFrames;
    MouseAt(760, 620);
    Press();
    Step();
    menu.Reset();
    EXPECT_EQ(menu.popupFrames, 0);
    Release();
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "a release after the reset finds no press";
}

// The pop-up names an active player, right-aligned against the pick button, in white at 3x.
TEST_F(MenuScreenTest, PopupNamesTheSelectedPlayerOnlyWhenTheSlotIsActive) {
    BitmapFont font;
    font.glyphs[static_cast<unsigned char>('?')] = new Glyph{8.0f, 8.0f, 0.0f, 1.0f, 0.0f, 1.0f};
    font.height = 8.0f;
    gApp.font = &font;
    gApp.showText = 1;
    const float right = MenuSlotX(0) - 8.0f;
    const float top = MenuSlotY(0) - 30.0f;
    const float width = 3.0f * 8.0f * static_cast<float>(std::strlen(players[0].nation.name));
    selected = 0;
    menu.popupFrames = kMenuPopupFrames;
    DrawOnly();
    EXPECT_TRUE(DrewQuad(right - width, top, right - width + 24.0f, top + 24.0f)) << "first letter";
    EXPECT_TRUE(DrewQuad(right - 24.0f, top, right, top + 24.0f)) << "last letter";
    players[0].active = 0;
    DrawOnly();
    EXPECT_FALSE(DrewQuad(right - 24.0f, top, right, top + 24.0f));
    gApp.font = nullptr;
}

TEST_F(MenuScreenTest, ActiveSlotShowsItsFlagAndAnInactiveOneItsBadge) {
    DrawOnly();
    const float x = MenuSlotX(1);
    const float y = MenuSlotY(1);
    EXPECT_TRUE(DrewQuad(x, y, x + 120.0f, y + 72.0f)) << "badge of inactive slot 1";
    players[1].active = 1;
    SetNation(&players[1].nation, 0);
    DrawOnly();
    // A flag is drawn layer by layer; its full field covers the same rectangle.
    EXPECT_TRUE(DrewQuad(x, y, x + 120.0f, y + 72.0f));
}

// ---- Event tiles -----------------------------------------------------------------------------

TEST_F(MenuScreenTest, EveryTileOfABuiltEventReportsItsIconId) {
    int tested = 0;
    for (int r = 0; r < kMenuGridRows; ++r) {
        for (int c = 0; c < kMenuGridColumns; ++c) {
            const int e = kMenuGrid[r][c];
            if (!SceneBuilt(e)) continue;
            EXPECT_EQ(ClickAt(TileMidX(c), TileMidY(r)), EventIconSprite(e)) << "event " << e;
            ++tested;
        }
    }
    EXPECT_GT(tested, 0) << "the 100 m dash at least is built";
}

TEST_F(MenuScreenTest, TileOfAnUnbuiltEventIsMarkedAndTakesNoClick) {
    for (int r = 0; r < kMenuGridRows; ++r) {
        for (int c = 0; c < kMenuGridColumns; ++c) {
            const int e = kMenuGrid[r][c];
            if (SceneBuilt(e)) continue;
            EXPECT_EQ(ClickAt(TileMidX(c), TileMidY(r)), -1) << "event " << e;
            const float s = c % 2 == 0 ? 28.0f : -28.0f;
            const float mx = MenuTileX(c) + 70.0f;
            const float my = MenuTileY(r) + 64.0f + s / 2.0f;
            DrawOnly();
            EXPECT_TRUE(DrewQuad(mx, my, mx + 18.0f, my + 18.0f)) << "event " << e;
        }
    }
}

TEST_F(MenuScreenTest, ExcludingAnEventMarksItsTileButKeepsItClickable) {
    int row = 0;
    int column = 0;
    ASSERT_TRUE(TileOf(kEventDash, &row, &column));
    ASSERT_TRUE(SceneBuilt(kEventDash));
    const float s = column % 2 == 0 ? 28.0f : -28.0f;
    const float mx = MenuTileX(column) + 70.0f;
    const float my = MenuTileY(row) + 64.0f + s / 2.0f;
    DrawOnly();
    EXPECT_FALSE(DrewQuad(mx, my, mx + 18.0f, my + 18.0f));
    events[kEventDash].included = 0;
    DrawOnly();
    EXPECT_TRUE(DrewQuad(mx, my, mx + 18.0f, my + 18.0f));
    EXPECT_EQ(ClickAt(TileMidX(column), TileMidY(row)), EventIconSprite(kEventDash))
        << "its card must still open, or it could never be included again";
}

// ---- Logo and layout -------------------------------------------------------------------------

TEST_F(MenuScreenTest, LogoOverlaysTakeTurnsEveryHundredTwentyUpdates) {
    gApp.frameCounter = 0;
    StepN(kMenuLogoFrames - 1);
    EXPECT_EQ(menu.logoFrame, 0);
    Step();
    EXPECT_EQ(menu.logoFrame, 1);
    gApp.frameCounter += kMenuLogoFrames; // frames pass with a panel open: no menu update
    DrawOnly();
    EXPECT_EQ(menu.logoFrame, 1);
    StepN(1);
    EXPECT_EQ(menu.logoFrame, 0);
}

TEST_F(MenuScreenTest, LayoutFollowsTheWindowOffsetsButTheCornerButtonsStayInTheCorner) {
    EXPECT_EQ(ClickAt(1000, 20), kMenuQuitButton);
    EXPECT_EQ(ClickAt(950, 20), kMenuCreditsButton);
    SetScreenSize(1280, 960); // offsets -128, -96
    EXPECT_EQ(ClickAt(760, 620), -1);
    EXPECT_EQ(ClickAt(760 + 128, 620 + 96), kMenuPlayButton);
    EXPECT_EQ(ClickAt(1280 - 20, 20), kMenuQuitButton);
}

} // namespace
} // namespace kel
