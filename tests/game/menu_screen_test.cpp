// The menu under scripted mouse input: buttons and their edges, slots, pop-up, tiles, logo, offsets.
#include "app/menu_screen.h"
#include "app/scene_registry.h"
#include "gfx/atlas_table.h"
#include "gfx/font.h"
#include "sim/sim_test_support.h"

#include <gtest/gtest.h>
#include <cstring>

namespace kel {
namespace {

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
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            gApp.frameCounter += 1;
            menu.Update();
            menu.DrawFrame();
            FlushBatch();
            Frame();
        }
    }
    int ClickAt(float x, float y) {
        MouseAt(static_cast<int>(x), static_cast<int>(y));
        Press();
        Step();
        Release();
        Step();
        return menu.clickedButton;
    }
    void DrawOnly() {
        gl.Reset();
        menu.DrawFrame();
        FlushBatch();
    }
    bool DrewQuad(float left, float top, float right, float bottom) {
        DrawOnly();
        for (const test::DrawnQuad& q : test::TakeQuads(gl))
            if (q.left == left && q.top == top && q.right == right && q.bottom == bottom) return true;
        return false;
    }
    // The excluded mark of the tile at (row, column): 9 x 9 art px at twice the size.
    bool DrewMark(int row, int column) {
        const float x = MenuTileX(column) + 70.0f;
        const float y = MenuTileY(row) + 64.0f + (column % 2 == 0 ? 14.0f : -14.0f);
        return DrewQuad(x, y, x + 18.0f, y + 18.0f);
    }
    test::FakeHost host;
    PlayerRecord players[kPlayerCount];
    EventRecord events[kEventCount];
    int32_t selected = -1;
    MenuScreen menu{MenuSource{players, events, &selected}};
};

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
    host.panelOpen = true;
    EXPECT_EQ(ClickAt(760, 620), -1) << "nothing reacts under an open panel";
    EXPECT_EQ(menu.hoverButton, -1);
}

// A slot's box takes its first pixel and stops one short of its width and height.
TEST_F(MenuScreenTest, EachSlotIsHitInsideItsBoxNotOnePixelBeyondAndFiresByItselfWhenHeld) {
    for (int k = 0; k < kPlayerCount; ++k) {
        SCOPED_TRACE(k);
        const float x = MenuSlotX(k);
        const float y = MenuSlotY(k);
        const struct {
            float x, y;
            bool hit;
        } clicks[] = {{x, y, true},           {x + 119.0f, y + 71.0f, true}, {x - 1.0f, y + 36.0f, false},
                      {x + 120.0f, y, false}, {x + 60.0f, y - 1.0f, false},  {x + 60.0f, y + 72.0f, false}};
        for (const auto& c : clicks) {
            EXPECT_EQ(ClickAt(c.x, c.y), c.hit ? kMenuFirstSlotButton + k : -1) << c.x << ", " << c.y;
            EXPECT_LT(menu.pressFrames, kButtonAutoClickFrames) << "a short click has no hold count";
        }
    }
    MouseAt(static_cast<int>(MenuSlotX(0)) + 60, static_cast<int>(MenuSlotY(0)) + 36);
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

TEST_F(MenuScreenTest, PopupButtonsSitAboveTheSelectedSlotUntilTheirFramesRunOutAndNameAnActivePlayer) {
    selected = 2;
    menu.popupFrames = kMenuPopupFrames;
    const float y = MenuSlotY(2) - 21.0f;
    const float x = MenuSlotX(2) + 21.0f;
    EXPECT_EQ(ClickAt(x + 92.0f, y), kMenuRemoveButton);
    EXPECT_EQ(ClickAt(x + 42.0f, y), kMenuRandomNationButton);
    EXPECT_EQ(ClickAt(x - 8.0f, y), kMenuPickNationButton);
    selected = 0;
    menu.popupFrames = kMenuPopupFrames;
    const float rx = MenuSlotX(0) + 92.0f + 21.0f;
    const float ry = MenuSlotY(0) - 21.0f;
    MouseAt(static_cast<int>(rx), static_cast<int>(ry));
    Step(kMenuPopupFrames - 1);
    EXPECT_EQ(menu.hoverButton, kMenuRemoveButton) << "still up one frame before the end";
    Step();
    EXPECT_EQ(menu.hoverButton, -1);
    EXPECT_EQ(ClickAt(rx, ry), -1);
    for (const int other : {1, -1}) { // slot 1's pop-up has its buttons elsewhere; no slot
        selected = other;
        menu.popupFrames = kMenuPopupFrames;
        EXPECT_EQ(ClickAt(rx, ry), -1) << other;
    }
    // Reset hides the pop-up and forgets a press.
    selected = 0;
    MouseAt(760, 620);
    Press();
    Step();
    menu.Reset();
    EXPECT_EQ(menu.popupFrames, 0);
    Release();
    Step();
    EXPECT_EQ(menu.clickedButton, -1) << "a release after the reset finds no press";
    // The pop-up names an active player, right-aligned against the pick button, in white at 3x.
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
    EXPECT_TRUE(DrewQuad(right - width, top, right - width + 24.0f, top + 24.0f)) << "first letter";
    EXPECT_TRUE(DrewQuad(right - 24.0f, top, right, top + 24.0f)) << "last letter";
    players[0].active = 0;
    EXPECT_FALSE(DrewQuad(right - 24.0f, top, right, top + 24.0f));
    gApp.font = nullptr;
}

TEST_F(MenuScreenTest, EveryTileReportsItsIconIdAndAnExcludedOneIsMarkedButStillClickable) {
    int tested = 0;
    for (int r = 0; r < kMenuGridRows; ++r) {
        for (int c = 0; c < kMenuGridColumns; ++c) {
            const int e = kMenuGrid[r][c];
            // Middle of the tile's unskewed hit box (the icon is 22 art px shown 4 times).
            const float x = MenuTileX(c) + 44.0f;
            const float y = MenuTileY(r) + 44.0f;
            EXPECT_EQ(ClickAt(x, y), SceneBuilt(e) ? EventIconSprite(e) : -1) << "event " << e;
            EXPECT_EQ(DrewMark(r, c), !SceneBuilt(e)) << "event " << e;
            tested += SceneBuilt(e);
            if (e != kEventDash) continue;
            events[e].included = 0;
            EXPECT_TRUE(DrewMark(r, c));
            EXPECT_EQ(ClickAt(x, y), EventIconSprite(e))
                << "its card must still open, or it could never be included again";
        }
    }
    EXPECT_GT(tested, 0) << "the 100 m dash at least is built";
}

TEST_F(MenuScreenTest, LogoOverlaysTakeTurnsEveryHundredTwentyUpdates) {
    gApp.frameCounter = 0;
    Step(kMenuLogoFrames - 1);
    EXPECT_EQ(menu.logoFrame, 0);
    Step();
    EXPECT_EQ(menu.logoFrame, 1);
    gApp.frameCounter += kMenuLogoFrames; // frames pass with a panel open: no menu update
    DrawOnly();
    EXPECT_EQ(menu.logoFrame, 1);
    Step();
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
