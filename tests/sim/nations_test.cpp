// Nations: weighted choice and blends against known seeds, the flag layer order of blends on the
// flag sheet, and the nation picker's scroll limits and OK button.
#include "sim/nations.h"
#include "sim_test_support.h"

#include "platform/log.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kel::test {
namespace {

// First seed from which the game's generator draws the given RandomInt(233) value.
uint32_t SeedDrawing(int r) {
    for (uint32_t seed = 0;; ++seed) {
        Lcg lcg{seed};
        if (lcg.Int(kCountryWeightTotal) == r) return seed;
    }
}

TEST(CountryChoice, WeightedWalkOverTheTable) {
    // Rows 0..4 weigh 1 each and ARGENTINA (5) weighs 2, so r = 5 and 6 are ARGENTINA, 7 ARMENIA.
    const int cases[][2] = {{0, 0}, {4, 4}, {5, 5}, {6, 5}, {7, 6}, {232, 168}};
    for (const auto& c : cases) {
        SeedRandom(SeedDrawing(c[0]));
        EXPECT_EQ(RandomCountry(), c[1]) << "r = " << c[0];
    }
}

using MixTest = SimTest;

// Known blends for fixed seeds. The CANADA + BRAZIL seeds take each branch of the joining rule:
// a's vowel meets b's consonant (CANA + ZIL); extra syllables cut from both (CAN + IL); and
// consonant meets vowel with no extra syllable (CANAD + AZIL).
TEST_F(MixTest, FixedSeedsGiveKnownBlendsNoneOfACountryWithItselfAndSetNationRefusesBadIndices) {
    const struct {
        uint32_t seed;
        const char* name;
        int countryA, countryB, firstSide, skipOnce;
        uint32_t stateAfter; // every draw the blend makes, and no more
    } cases[] = {
        {95179, "CANAZIL", 29, 23, 0, 0, 1679012720u}, {2589130, "CANIL", 29, 23, 0, 0, 3725614157u},
        {381726, "CANIL", 29, 23, 0, 0, 1424236241u},  {25042, "CANADAZIL", 29, 23, 0, 1, 4079748570u},
        {0, "JAMEY", 78, 155, 1, 1, 2832368235u},      {1, "ARGENTINANZANIA", 5, 149, 1, 1, 752224798u},
        {5, "IRAN", 71, 73, 1, 1, 1800435196u}}; // INDIA + IRAN: all of the name comes from b
    CaptureLogSink log;
    SetLogSink(&log);
    for (const auto& c : cases) {
        SeedRandom(c.seed);
        Nation n;
        MixNation(&n);
        EXPECT_EQ(
            std::tuple(std::string(n.name), n.pure, n.countryA, n.countryB, n.firstSide, n.skipOnce,
                       RandomState()),
            std::tuple(std::string(c.name), 0, c.countryA, c.countryB, c.firstSide, c.skipOnce, c.stateAfter))
            << c.seed;
    }
    EXPECT_EQ(log.Lines()[0], "CANADA + BRAZIL = CANAZIL");
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        SeedRandom(seed);
        Nation n;
        MixNation(&n);
        ASSERT_TRUE(n.countryA != n.countryB && IsValidNation(n) && n.name[0] != '\0') << "seed " << seed;
    }
    SetLogSink(nullptr);
    Nation n;
    SetNation(&n, 23);
    EXPECT_EQ(std::tuple(std::string(n.name), n.pure), std::tuple("BRAZIL", 1));
    SetNation(&n, 500);
    EXPECT_TRUE(IsValidNation(n));
}

class FlagTest : public SimTest {
  protected:
    // The flag-sheet cells (px) of every textured quad drawn since the last reset, in order.
    std::vector<std::pair<int, int>> Cells() {
        std::vector<std::pair<int, int>> cells;
        for (const DrawnQuad& q : TakeQuads(gl)) {
            if (q.u == 0.0f && q.v == 0.0f) continue; // untextured fill
            cells.emplace_back(static_cast<int>(q.u * 512.0f + 0.5f),
                               static_cast<int>(q.v * 1024.0f + 0.5f));
        }
        return cells;
    }
    using Cell = std::pair<int, int>;
};

TEST_F(FlagTest, CellsSitInFourColumnGroupsAndFlagsAndBlendsDrawTheirLayersInOrder) {
    // Country, layer, and the cell's x and y on the sheet; 43/44 and 129/130 are group edges.
    const int cells[][4] = {{0, 0, 2, 2},       {43, 2, 66, 991}, {44, 0, 130, 2},   {88, 1, 290, 2},
                            {129, 0, 258, 945}, {130, 0, 386, 2}, {168, 2, 450, 876}};
    for (const auto& c : cells) {
        DrawFlagLayer(10.0f, 20.0f, c[0], c[1], 2.0f);
        EXPECT_EQ(Cells(), (std::vector<Cell>{{c[2], c[3]}})) << "country " << c[0] << " layer " << c[1];
    }
    // AFGHANISTAN (0) has three layers on row y 2, ALBANIA (1) two on row y 25, ALGERIA (2) three
    // on row y 48.
    const struct {
        int pure, countryA, countryB, firstSide, skipOnce;
        std::vector<Cell> cells;
    } cases[] = {
        {1, 1, 0, 0, 0, {{2, 25}, {34, 25}}},
        // A0, B0, A1, (B's turn skipped), A2, B1.
        {0, 0, 1, 0, 1, {{2, 2}, {2, 25}, {34, 2}, {66, 2}, {34, 25}}},
        // A0, B0, A1, B1, A's cell 2 after its last layer, B2.
        {0, 1, 0, 0, 0, {{2, 25}, {2, 2}, {34, 25}, {34, 2}, {66, 25}, {66, 2}}},
        // Starting with B; no two-layer flag, so nothing to skip.
        {0, 0, 2, 1, 1, {{2, 48}, {2, 2}, {34, 48}, {34, 2}, {66, 48}, {66, 2}}},
    };
    for (const auto& c : cases) {
        Nation n;
        SetNation(&n, c.countryA);
        n.pure = c.pure, n.countryB = c.countryB, n.firstSide = c.firstSide, n.skipOnce = c.skipOnce;
        DrawFlag(n, 0.0f, 0.0f, 1.0f);
        EXPECT_EQ(Cells(), c.cells) << "case " << (&c - cases);
    }
}

// The tag is a black border 1 px (at scale 2) round the flag's three layers; bad indices draw nothing.
TEST_F(FlagTest, NationTagIsABlackBorderUnderTheFlagAndBadIndicesDrawNothing) {
    Nation n;
    SetNation(&n, 0);
    DrawNationTag(n, 100.0f, 50.0f, 2.0f);
    const std::vector<DrawnQuad> quads = TakeQuads(gl);
    ASSERT_EQ(quads.size(), 4u);
    const DrawnQuad& border = quads[0];
    EXPECT_EQ(std::tuple(border.colour[0], border.colour[3]), std::tuple(0.0f, 1.0f));
    EXPECT_EQ(std::tuple(border.left, border.top, border.right, border.bottom),
              std::tuple(98.0f, 48.0f, 162.0f, 88.0f));
    n.pure = 0, n.countryB = 400;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    n.pure = 1, n.countryA = -1;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(Cells().empty());
}

class PickerTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        NationPickerInit(&picker);
    }
    NationPicker picker;
};

TEST_F(PickerTest, PageKeysAndResetsKeepTheScrollWithinItsLimits) {
    // Row to reset to (-2: none), key pressed (0: none), then the scroll and the selection.
    const std::tuple<int, int, float, int> steps[] = {
        {-2, kKeyPageDown, 64.0f, -1}, {-2, kKeyPageUp, 0.0f, -1},     {-2, kKeyPageUp, 0.0f, -1},
        {0, 0, 0.0f, 0},               {168, 0, 2528.0f, 168},          {-2, kKeyPageDown, 2528.0f, 168},
        {50, 0, 720.0f, 50},           {-1, 0, 720.0f, -1}}; // -1 keeps the scroll
    int step = 0;
    for (const auto& [row, key, scroll, selected] : steps) {
        SCOPED_TRACE(step++);
        Frame();
        if (row != -2) NationPickerReset(&picker, row);
        gApp.keyPressed[key] = key != 0;
        NationPickerUpdate(&picker);
        EXPECT_EQ(std::tuple(picker.scroll, picker.selected), std::tuple(scroll, selected));
    }
}

// The OK button covers 246..294 x 178..199 of the list, which sits at (20.67, 26) at scale 3; the
// window's pixels are divided by 3 as whole numbers first, so x 800 is just outside.
TEST_F(PickerTest, OkButtonEdgesInWindowPixels) {
    const std::tuple<int, int, bool> cases[] = {{801, 640, true},  {800, 640, false}, {944, 640, true},
                                                {945, 640, false}, {870, 612, true},  {870, 611, false},
                                                {870, 674, true},  {870, 675, false}};
    for (const auto& [x, y, hit] : cases) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        Frame();
        MouseAt(x, y);
        Press();
        NationPickerDraw(&picker);
        EXPECT_EQ(picker.hoverId == kPickerOkButton, hit);
        Frame();
        Release();
        NationPickerDraw(&picker);
        EXPECT_EQ(picker.clickedId == kPickerOkButton, hit);
    }
    EXPECT_EQ(gl.matrixDepth, 0);
}

} // namespace
} // namespace kel::test
