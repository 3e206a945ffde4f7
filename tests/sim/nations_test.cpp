// Nations: the country table, weighted choice and blends against known seeds, the flag layer
// order of blends on the flag sheet, and the nation picker's scrolling and choosing.
#include "sim/nations.h"
#include "sim_test_support.h"

#include "platform/log.h"

#include <cmath>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kel::test {
namespace {

// First seed from which the game's generator draws the given RandomInt(233) value.
uint32_t SeedDrawing(int r) {
    for (uint32_t seed = 0;; ++seed) {
        Lcg lcg{seed};
        if (lcg.Int(kCountryWeightTotal) == r) return seed;
    }
}

TEST(CountryTable, CountsAndKnownRows) {
    int twoLayers = 0;
    int heavy = 0;
    for (const Country& c : kCountries) {
        twoLayers += c.layers == 2;
        heavy += c.weight == 2;
        EXPECT_TRUE(c.layers == 2 || c.layers == 3) << c.name;
        EXPECT_LT(std::strlen(c.name), static_cast<size_t>(kNationNameSize));
    }
    EXPECT_EQ(twoLayers, 22);
    EXPECT_EQ(heavy, 64);
    EXPECT_STREQ(kCountries[21].name, "BOSNIA & HERZEGOVINA");
    EXPECT_STREQ(kCountries[168].name, "ZIMBABWE");
    EXPECT_EQ(kCountries[33].layers, 2); // CHINA
    EXPECT_EQ(kCountries[33].weight, 2);
}

TEST(CountryChoice, WeightedWalkOverTheTable) {
    // Rows 0..4 weigh 1 each and ARGENTINA (5) weighs 2, so r = 5 and 6 are ARGENTINA, 7 ARMENIA.
    const struct {
        int r;
        int country;
    } cases[] = {{0, 0}, {4, 4}, {5, 5}, {6, 5}, {7, 6}, {232, 168}};
    for (const auto& c : cases) {
        SeedRandom(SeedDrawing(c.r));
        EXPECT_EQ(RandomCountry(), c.country) << "r = " << c.r;
    }
}

TEST(CountryChoice, VowelsAreUpperCaseAEIOUY) {
    for (char c : std::string("AEIOUY"))
        EXPECT_TRUE(IsVowel(c));
    for (char c : std::string("BZaey &'"))
        EXPECT_FALSE(IsVowel(c));
}

// Finds a seed whose draws for MixNation are: CANADA (r 37..38), BRAZIL (r 28..29), then the
// given RandomInt(2) values in order. Returns the generator after them for the last two draws.
Lcg SeedForCanadaBrazil(const std::vector<int>& coinDraws, uint32_t* seedOut) {
    for (uint32_t seed = 0; seed < 400000000u; ++seed) {
        Lcg lcg{seed};
        const int a = lcg.Int(kCountryWeightTotal);
        if (a != 37 && a != 38) continue;
        const int b = lcg.Int(kCountryWeightTotal);
        if (b != 28 && b != 29) continue;
        bool match = true;
        for (int want : coinDraws) {
            if (lcg.Int(2) != want) {
                match = false;
                break;
            }
        }
        if (!match) continue;
        *seedOut = seed;
        return lcg;
    }
    ADD_FAILURE() << "no seed found";
    return Lcg{};
}

class MixTest : public SimTest {};

TEST_F(MixTest, VowelOfAMeetsConsonantOfB) {
    // f (draw 0); no extra syllable in a (1); none in b (1). CANA + ZIL.
    uint32_t seed = 0;
    Lcg after = SeedForCanadaBrazil({0, 1, 1}, &seed);
    SeedRandom(seed);
    CaptureLogSink log;
    SetLogSink(&log);
    Nation n;
    MixNation(&n);
    SetLogSink(nullptr);
    EXPECT_STREQ(n.name, "CANAZIL");
    EXPECT_EQ(n.countryA, 29);
    EXPECT_EQ(n.countryB, 23);
    EXPECT_EQ(n.pure, 0);
    EXPECT_EQ(n.firstSide, after.Int(2));
    EXPECT_EQ(n.skipOnce, after.Int(2) == 0 ? 1 : 0);
    EXPECT_EQ(RandomState(), after.s);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "CANADA + BRAZIL = CANAZIL");
}

TEST_F(MixTest, ConsonantOfAMeetsVowelOfBWithExtraSyllablesOnBothSides) {
    // Not f (1); extra syllable in a (0, then any second draw: i = 4 is at least 3 or 4);
    // extra in b (0, then 0: j = 2 < 6 - 0 - 3). CANAD -> CAN, AZIL -> IL.
    for (int second : {0, 1}) {
        uint32_t seed = 0;
        Lcg after = SeedForCanadaBrazil({1, 0, second, 0, 0}, &seed);
        SeedRandom(seed);
        Nation n;
        MixNation(&n);
        EXPECT_STREQ(n.name, "CANIL");
        EXPECT_EQ(n.firstSide, after.Int(2));
        EXPECT_EQ(n.skipOnce, after.Int(2) == 0 ? 1 : 0);
    }
}

TEST_F(MixTest, WithoutExtraSyllablesConsonantMeetsVowel) {
    // Not f; a's extra refused (1); b's first draw 0 but the second 1 makes j = 2 < 2 false.
    uint32_t seed = 0;
    SeedForCanadaBrazil({1, 1, 0, 1}, &seed);
    SeedRandom(seed);
    Nation n;
    MixNation(&n);
    EXPECT_STREQ(n.name, "CANADAZIL");
}

TEST_F(MixTest, NeverBlendsACountryWithItself) {
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        SeedRandom(seed);
        Nation n;
        MixNation(&n);
        ASSERT_NE(n.countryA, n.countryB) << "seed " << seed;
        ASSERT_TRUE(IsValidNation(n));
        ASSERT_GT(std::strlen(n.name), 0u);
    }
}

TEST_F(MixTest, SetNationMakesAPureCountryAndRefusesBadIndices) {
    Nation n;
    SetNation(&n, 23);
    EXPECT_STREQ(n.name, "BRAZIL");
    EXPECT_EQ(n.pure, 1);
    SetNation(&n, 500);
    EXPECT_TRUE(IsValidNation(n));
}

// ---- Flags ---------------------------------------------------------------------------------

class FlagTest : public SimTest {
  protected:
    // The flag-sheet cells (px) of every textured quad drawn since the last reset, in order.
    std::vector<std::pair<int, int>> Cells() {
        FlushBatch();
        std::vector<std::pair<int, int>> cells;
        for (const auto& d : gl.draws) {
            for (size_t q = 0; q + 6 <= d.vertices.size(); q += 6) {
                float u = d.vertices[q].u;
                float v = d.vertices[q].v;
                for (size_t k = q; k < q + 6; ++k) {
                    u = Min(u, d.vertices[k].u);
                    v = Min(v, d.vertices[k].v);
                }
                if (u == 0.0f && v == 0.0f) continue; // untextured fill
                cells.emplace_back(static_cast<int>(u * 1024.0f + 0.5f),
                                   static_cast<int>(v * 1024.0f + 0.5f));
            }
        }
        gl.Reset();
        return cells;
    }
    using Cell = std::pair<int, int>;
};

TEST_F(FlagTest, CellsSitInFourColumnGroups) {
    const struct {
        int country;
        int layer;
        Cell cell;
    } cases[] = {{0, 0, {2, 2}},
                 {43, 2, {66, 991}},
                 {44, 0, {225, 2}},
                 {88, 1, {477, 2}},
                 {129, 0, {445, 2 + 23 * 41}},
                 {130, 0, {663, 2}},
                 {168, 2, {727, 2 + 23 * 38}}};
    for (const auto& c : cases) {
        DrawFlagLayer(10.0f, 20.0f, c.country, c.layer, 2.0f);
        const auto cells = Cells();
        ASSERT_EQ(cells.size(), 1u);
        EXPECT_EQ(cells[0], c.cell) << "country " << c.country << " layer " << c.layer;
    }
}

TEST_F(FlagTest, PureFlagDrawsItsLayersInOrder) {
    Nation n;
    SetNation(&n, 1); // ALBANIA, two layers
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(Cells(), (std::vector<Cell>{{2, 25}, {34, 25}}));
}

TEST_F(FlagTest, BlendOfThreeAndTwoLayersStartingWithASkipsOnce) {
    Nation n;
    n.pure = 0;
    n.countryA = 0; // AFGHANISTAN, three layers, row y 2
    n.countryB = 1; // ALBANIA, two layers, row y 25
    n.firstSide = 0;
    n.skipOnce = 1;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    // A0, B0, A1, A2, B1.
    EXPECT_EQ(Cells(), (std::vector<Cell>{{2, 2}, {2, 25}, {34, 2}, {66, 2}, {34, 25}}));
}

TEST_F(FlagTest, BlendOfTwoAndThreeLayersRepeatsTheUsedUpCell) {
    Nation n;
    n.pure = 0;
    n.countryA = 1;
    n.countryB = 0;
    n.firstSide = 0;
    n.skipOnce = 0;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    // A0, B0, A1, B1, A's cell 2, B2.
    EXPECT_EQ(Cells(), (std::vector<Cell>{{2, 25}, {2, 2}, {34, 25}, {34, 2}, {66, 25}, {66, 2}}));
}

TEST_F(FlagTest, BlendStartingWithB) {
    Nation n;
    n.pure = 0;
    n.countryA = 0;
    n.countryB = 2; // ALGERIA, three layers, row y 48
    n.firstSide = 1;
    n.skipOnce = 1; // no two-layer flag: nothing to skip
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(Cells(), (std::vector<Cell>{{2, 48}, {2, 2}, {34, 48}, {34, 2}, {66, 48}, {66, 2}}));
}

TEST_F(FlagTest, BadIndicesDrawNothing) {
    Nation n;
    n.pure = 0;
    n.countryA = 0;
    n.countryB = 400;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    n.pure = 1;
    n.countryA = -1;
    DrawFlag(n, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(Cells().empty());
}

TEST_F(FlagTest, NationTagIsABlackBorderUnderTheFlag) {
    Nation n;
    SetNation(&n, 0);
    DrawNationTag(n, 100.0f, 50.0f, 2.0f);
    FlushBatch();
    ASSERT_GE(gl.draws.size(), 2u);
    const auto& border = gl.draws[0];
    EXPECT_EQ(border.colour[3], 1.0f);
    EXPECT_EQ(border.colour[0], 0.0f);
    ASSERT_EQ(border.vertices.size(), 6u);
    EXPECT_EQ(border.vertices[0].x, 98.0f);
    EXPECT_EQ(border.vertices[0].y, 48.0f);
    EXPECT_EQ(border.vertices[5].x, 98.0f + 64.0f);
    EXPECT_EQ(border.vertices[5].y, 48.0f + 40.0f);
    EXPECT_EQ(Cells().size(), 3u);
}

// ---- Nation picker -------------------------------------------------------------------------

class PickerTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        NationPickerInit(&picker);
    }
    // Window y of the middle of row `row` with the current scroll.
    int RowY(int row) const {
        const float listY = static_cast<float>(row + 1) * 16.0f - picker.scroll + 6.0f;
        return static_cast<int>((listY + picker.y) * 3.0f);
    }
    void Click(int x, int y) {
        Frame();
        MouseAt(x, y);
        Press();
        NationPickerUpdate(&picker);
        Frame();
        Release();
        NationPickerUpdate(&picker);
    }
    NationPicker picker;
};

TEST_F(PickerTest, InitCentresTheList) {
    EXPECT_NEAR(picker.x, (1024.0f / 3.0f - 300.0f) / 2.0f, 1e-4f);
    EXPECT_EQ(picker.y, 26.0f);
    EXPECT_EQ(picker.selected, -1);
    EXPECT_EQ(picker.maxScroll, 2528.0f);
}

TEST_F(PickerTest, ResetShowsTheChosenRowInTheMiddle) {
    NationPickerReset(&picker, 0);
    EXPECT_EQ(picker.scroll, 0.0f);
    EXPECT_EQ(picker.selected, 0);
    NationPickerReset(&picker, 168);
    EXPECT_EQ(picker.scroll, 2528.0f);
    NationPickerReset(&picker, 50);
    EXPECT_EQ(picker.scroll, 45.0f * 16.0f);
    NationPickerReset(&picker, -1);
    EXPECT_EQ(picker.selected, -1);
    EXPECT_EQ(picker.scroll, 45.0f * 16.0f) << "-1 keeps the scroll";
}

TEST_F(PickerTest, ClickSelectsAndASecondClickConfirms) {
    NationPickerReset(&picker, 50);
    Click(300, RowY(53));
    EXPECT_EQ(picker.selected, 53);
    EXPECT_EQ(picker.clickedId, -1);
    Click(300, RowY(53));
    EXPECT_EQ(picker.clickedId, kPickerOkButton);
    EXPECT_EQ(picker.selected, 53);
}

TEST_F(PickerTest, ClicksRightOfTheRowsOrOutsideThePanelSelectNothing) {
    Click(800, RowY(2));
    EXPECT_EQ(picker.selected, -1);
    Click(300, static_cast<int>((picker.y + 206.0f) * 3.0f)); // just below the panel
    EXPECT_EQ(picker.selected, -1);
    Click(300, static_cast<int>((picker.y - 2.0f) * 3.0f)); // just above it
    EXPECT_EQ(picker.selected, -1);
}

TEST_F(PickerTest, SmallMovementIsStillAClick) {
    const int y = RowY(4);
    MouseAt(300, y);
    Press();
    NationPickerUpdate(&picker);
    Frame();
    MouseAt(300, y + 4);
    NationPickerUpdate(&picker);
    EXPECT_FALSE(picker.dragging);
    Frame();
    Release();
    NationPickerUpdate(&picker);
    EXPECT_EQ(picker.selected, 4);
    EXPECT_EQ(picker.scroll, 0.0f);
}

TEST_F(PickerTest, DragScrollsThenCoastsAndSlowsDown) {
    NationPickerReset(&picker, 80);
    const float start = picker.scroll;
    int y = 500;
    MouseAt(300, y);
    Press();
    NationPickerUpdate(&picker);
    for (int i = 0; i < 5; ++i) {
        Frame();
        y -= 30;
        MouseAt(300, y);
        NationPickerUpdate(&picker);
    }
    EXPECT_TRUE(picker.dragging);
    EXPECT_NEAR(picker.scroll, start + 150.0f / 3.0f, 1e-3f);
    Frame();
    Release();
    NationPickerUpdate(&picker);
    EXPECT_FALSE(picker.dragging);
    EXPECT_EQ(picker.selected, 80) << "a drag selects nothing";
    EXPECT_NEAR(picker.velocity, 30.0f * 0.97f, 1e-3f) << "the release frame already coasts";
    const float released = picker.scroll;
    Frame();
    NationPickerUpdate(&picker);
    EXPECT_NEAR(picker.scroll - released, 30.0f * 0.97f / 3.0f, 1e-3f);
    for (int i = 0; i < 400; ++i) {
        Frame();
        NationPickerUpdate(&picker);
    }
    EXPECT_LE(std::fabs(picker.velocity), 0.1f);
    EXPECT_LE(picker.scroll, picker.maxScroll);
}

TEST_F(PickerTest, WheelScrollsBySixtyFourWithinLimits) {
    gApp.keyPressed[kKeyPageDown] = 1;
    NationPickerUpdate(&picker);
    EXPECT_EQ(picker.scroll, 64.0f);
    Frame();
    gApp.keyPressed[kKeyPageUp] = 1;
    NationPickerUpdate(&picker);
    Frame();
    gApp.keyPressed[kKeyPageUp] = 1;
    NationPickerUpdate(&picker);
    EXPECT_EQ(picker.scroll, 0.0f);
}

TEST_F(PickerTest, OkButtonConfirms) {
    // Button 88 at list (270, 188), anchor (24, 10): its box in list units is 246..294 x 178..199.
    const int x = static_cast<int>((picker.x + 260.0f) * 3.0f);
    const int y = static_cast<int>((picker.y + 185.0f) * 3.0f);
    MouseAt(x, y);
    Press();
    NationPickerDraw(&picker);
    EXPECT_EQ(picker.hoverId, kPickerOkButton);
    Frame();
    Release();
    NationPickerDraw(&picker);
    EXPECT_EQ(picker.clickedId, kPickerOkButton);
    EXPECT_EQ(gl.matrixDepth, 0);
}

} // namespace
} // namespace kel::test
