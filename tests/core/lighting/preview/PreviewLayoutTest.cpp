#include "core/lighting/preview/PreviewKeys.h"
#include "core/lighting/preview/PreviewLayout.h"

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace trevolin::lighting::preview {
namespace {

using test::Button;
using test::CaptionOf;
using test::CellOfButton;

template <size_t N>
size_t KeysIn(const std::array<uint8_t, N>& row)
{
    return static_cast<size_t>(std::count_if(row.begin(), row.end(), [](uint8_t b) { return b != NoButton; }));
}

TEST(PreviewLayout, GridRowsHoldTheKeysInTheirColumns)
{
    // (column, caption as the key button has it); every other column is empty.
    const std::vector<std::vector<std::pair<size_t, std::string>>> expected = {
        {{2, "Esc"},
         {3, "F1"},
         {4, "F2"},
         {5, "F3"},
         {6, "F4"},
         {8, "F5"},
         {9, "F6"},
         {10, "F7"},
         {11, "F8"},
         {12, "F9"},
         {13, "F10"},
         {14, "F11"},
         {15, "F12"},
         {16, "Num"},
         {17, "/"},
         {18, "*"}},
        {{1, "`~"},
         {2, "1!"},
         {3, "2@"},
         {4, "3#"},
         {5, "4$"},
         {6, "5%"},
         {7, "6^"},
         {8, "7&&"},
         {9, "8*"},
         {10, "9("},
         {11, "0)"},
         {12, "-_"},
         {13, "=+"},
         {14, "<--"},
         {15, "<--"},
         {16, "7H"},
         {17, "8↑"},
         {18, "9U"}},
        {{1, "Tab"},
         {2, "Q"},
         {3, "W"},
         {4, "E"},
         {5, "R"},
         {6, "T"},
         {7, "Y"},
         {8, "U"},
         {9, "I"},
         {10, "O"},
         {11, "P"},
         {12, "[{"},
         {13, "]}"},
         {14, "\\|"},
         {15, "\\|"},
         {16, "4←"},
         {17, "5"},
         {18, "6→"}},
        {{1, "CapsLock"},
         {2, "A"},
         {3, "S"},
         {4, "D"},
         {5, "F"},
         {6, "G"},
         {7, "H"},
         {8, "J"},
         {9, "K"},
         {10, "L"},
         {11, ";:"},
         {12, "'\""},
         {14, "Enter"},
         {15, "Enter"},
         {16, "1E"},
         {17, "2↓"},
         {18, "3D"}},
        {{0, "Shift"},
         {1, "K45"},
         {2, "Z"},
         {3, "X"},
         {4, "C"},
         {5, "V"},
         {6, "B"},
         {7, "N"},
         {8, "M"},
         {9, ",<"},
         {10, ".>"},
         {11, "/?"},
         {14, "Shift"},
         {15, "↑"},
         {16, "0"},
         {17, ".D"},
         {18, "-"}},
        {{0, "Ctrl"},
         {1, "Win"},
         {2, "Alt"},
         {6, ""},
         {9, "Alt"},
         {10, "Alt"},
         {11, "Ctrl"},
         {12, "Fn"},
         {14, "←"},
         {15, "↓"},
         {16, "→"},
         {17, "Print"},
         {18, "+"}},
    };
    const PreviewLayout& layout = PreviewLayout::Instance();
    for (size_t r = 0; r < GridRows; ++r) {
        std::map<size_t, std::string> row(expected[r].begin(), expected[r].end());
        for (size_t c = 0; c < GridColumns; ++c) {
            const uint8_t button = layout.grid[r][c];
            if (row.contains(c)) {
                EXPECT_EQ(CaptionOf(button), row[c]) << "row " << r << " column " << c;
            } else {
                EXPECT_EQ(button, NoButton) << "row " << r << " column " << c;
            }
        }
    }
}

TEST(PreviewLayout, KeysThatShareACaptionSitOnTheirOwnSide)
{
    // Layout positions: left/right Ctrl 79/80, Shift 81/82, Alt 83/84, left
    // Win 85, the main Enter 36 (the keypad's is 98).
    const auto& grid = PreviewLayout::Instance().grid;
    EXPECT_EQ(grid[4][0], 81);
    EXPECT_EQ(grid[4][14], 82);
    EXPECT_EQ(grid[5][0], 79);
    EXPECT_EQ(grid[5][11], 80);
    EXPECT_EQ(grid[5][2], 83);
    EXPECT_EQ(grid[5][9], 84);
    EXPECT_EQ(grid[5][1], 85);
    EXPECT_EQ(grid[3][15], 36);
    EXPECT_EQ(grid[5][12], FnButton);
}

TEST(PreviewLayout, ListingsGiveEachKeyTheCellOfItsFirstListing)
{
    const PreviewLayout& layout = PreviewLayout::Instance();
    std::set<uint8_t> ownCells;
    for (const Listing& listing : layout.listings) {
        EXPECT_NE(listing.button, NoButton);
        EXPECT_LT(listing.cell, 126);
        ownCells.insert(listing.cell);
    }
    EXPECT_EQ(ownCells.size(), ListingCount);

    EXPECT_EQ(layout.listings[0].button, Button(key::KpStar));
    EXPECT_EQ(layout.listings[0].cell, 16);
    EXPECT_EQ(layout.listings[63].button, Button(key::N));
    EXPECT_EQ(layout.listings[104].button, Button(key::PageDown));
    EXPECT_EQ(layout.listings[104].cell, 81);

    EXPECT_EQ(CellOfButton(Button(key::KpEnter)), 124);
    EXPECT_EQ(CellOfButton(Button(key::PageDown)), 58);
    EXPECT_EQ(CellOfButton(Button(key::Esc)), 0);
    EXPECT_EQ(CellOfButton(Button(key::RightAlt)), 109);
    EXPECT_EQ(CellOfButton(Button(key::Enter)), 76);
    EXPECT_EQ(CellOfButton(FnButton), 111);
    EXPECT_EQ(CellOfButton(Button(key::App)), 113);
    EXPECT_EQ(CellOfButton(Button(key::K45)), 85);
}

TEST(PreviewLayout, OnlyRightWinPauseScrollAndTheGKeysHaveNoCell)
{
    std::set<std::string> without;
    for (size_t button = 0; button < PreviewButtonCount; ++button) {
        if (CellOfButton(static_cast<uint8_t>(button)) != NoCell)
            continue;
        if (button >= FirstGKeyButton && button < FnButton)
            continue;
        without.insert(CaptionOf(static_cast<uint8_t>(button)));
    }
    EXPECT_EQ(without, (std::set<std::string>{"Win", "Pause", "Scroll"}));
    EXPECT_EQ(CellOfButton(Button(1087)), NoCell);  // the right Win key
    for (size_t g = FirstGKeyButton; g < FnButton; ++g)
        EXPECT_EQ(CellOfButton(static_cast<uint8_t>(g)), NoCell);
}

TEST(PreviewLayout, EveryKeyTheAnimationsNameHasACell)
{
    const PreviewLayout& layout = PreviewLayout::Instance();
    auto expectCell = [](uint8_t button, const char* where) {
        if (button != NoButton) {
            EXPECT_NE(CellOfButton(button), NoCell) << where << " " << CaptionOf(button);
        }
    };
    for (const auto& row : layout.grid)
        for (uint8_t button : row)
            expectCell(button, "grid");
    for (const auto& row : layout.diagonal)
        for (uint8_t button : row)
            expectCell(button, "diagonal");
    for (const auto& step : layout.showScript)
        for (uint8_t button : step)
            expectCell(button, "show");
    for (const KeyPair& pair : layout.showPairs) {
        EXPECT_NE(CellOfButton(pair.first), NoCell);
        EXPECT_NE(CellOfButton(pair.second), NoCell);
    }
}

TEST(PreviewLayout, DiagonalScriptAndPairsResolveEveryNamedKey)
{
    // A key id that names no button would drop out of its row.
    const PreviewLayout& layout = PreviewLayout::Instance();
    const std::vector<size_t> diagonal = {1, 6, 10, 11, 11, 12, 12, 10, 8, 8, 6, 0};
    for (size_t r = 0; r < DiagonalRows; ++r)
        EXPECT_EQ(KeysIn(layout.diagonal[r]), diagonal[r]) << r;
    EXPECT_EQ(CaptionOf(layout.diagonal[0][0]), "U");
    EXPECT_EQ(CaptionOf(layout.diagonal[9][0]), "Print");
    EXPECT_EQ(CaptionOf(layout.diagonal[9][1]), "Print");
    EXPECT_EQ(layout.diagonal[5][11], Button(key::RightCtrl));

    const std::vector<size_t> script = {0, 2, 2, 3, 4, 4, 5, 6, 6, 6, 5, 5, 6, 6, 6, 6, 6, 6, 3, 1};
    for (size_t n = 0; n < ScriptSteps; ++n)
        EXPECT_EQ(KeysIn(layout.showScript[n]), script[n]) << n;
    EXPECT_EQ(CaptionOf(layout.showScript[1][1]), "+");
    EXPECT_EQ(CaptionOf(layout.showScript[12][5]), "Enter");
    EXPECT_EQ(layout.showScript[12][5], 36);

    for (const KeyPair& pair : layout.showPairs) {
        EXPECT_NE(pair.first, NoButton);
        EXPECT_NE(pair.second, NoButton);
    }
    EXPECT_EQ(CaptionOf(layout.showPairs[0].first), "6^");
    EXPECT_EQ(CaptionOf(layout.showPairs[0].second), "K");
    EXPECT_EQ(CaptionOf(layout.showPairs[15].first), "H");
    EXPECT_EQ(CaptionOf(layout.showPairs[15].second), "I");
}

TEST(PreviewLayout, SparkleOrderVisitsEveryListingButTheLastOne)
{
    const PreviewLayout& layout = PreviewLayout::Instance();
    std::map<uint8_t, int> visits;
    for (uint8_t listing : layout.sparkleOrder)
        ++visits[listing];
    EXPECT_EQ(visits.size(), ListingCount - 1);
    EXPECT_FALSE(visits.contains(104));
    EXPECT_EQ(visits[0], 2);
    EXPECT_EQ(layout.sparkleOrder[1], 24);
    EXPECT_EQ(layout.sparkleOrder[104], 0);
}

TEST(PreviewLayout, ButtonIndicesFollowTheKeyOrder)
{
    for (size_t button = 0; button < PreviewButtonCount; ++button)
        EXPECT_EQ(ButtonIndexOf(KeyOfButton(button)), button);
    EXPECT_EQ(ButtonIndexOf({keyboard::KeyKind::GKey, 0}), FirstGKeyButton);
    EXPECT_EQ(ButtonIndexOf({keyboard::KeyKind::Fn, 0}), FnButton);
    EXPECT_EQ(ButtonIndexOf({keyboard::KeyKind::Layout, 105}), PreviewButtonCount);
    EXPECT_EQ(ButtonIndexOf({keyboard::KeyKind::GKey, 9}), PreviewButtonCount);
    EXPECT_EQ(ButtonOfControl(1143), FnButton - 1);  // G9
    EXPECT_EQ(ButtonOfControl(0), NoButton);
    EXPECT_EQ(ButtonOfControl(1057), NoButton);
}

}  // namespace
}  // namespace trevolin::lighting::preview
