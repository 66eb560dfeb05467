#include "core/lighting/preview/PreviewLayout.h"

#include "core/lighting/preview/PreviewKeys.h"

namespace trevolin::lighting::preview {
namespace {

using namespace key;

struct GridEntry {
    uint8_t column;
    uint16_t key;
};

// (column, key) per row; the columns not named are empty.
constexpr GridEntry GridRow0[] = {
    {2, Esc}, {3, F1},  {4, F2},   {5, F3},   {6, F4},   {8, F5},       {9, F6},       {10, F7},
    {11, F8}, {12, F9}, {13, F10}, {14, F11}, {15, F12}, {16, NumLock}, {17, KpSlash}, {18, KpStar},
};
constexpr GridEntry GridRow1[] = {
    {1, Backquote}, {2, Digit1},     {3, Digit2},     {4, Digit3},  {5, Digit4},  {6, Digit5},
    {7, Digit6},    {8, Digit7},     {9, Digit8},     {10, Digit9}, {11, Digit0}, {12, Minus},
    {13, Equals},   {14, Backspace}, {15, Backspace}, {16, Kp7},    {17, Kp8},    {18, Kp9},
};
constexpr GridEntry GridRow2[] = {
    {1, Tab},
    {2, Q},
    {3, W},
    {4, E},
    {5, R},
    {6, T},
    {7, Y},
    {8, U},
    {9, I},
    {10, O},
    {11, P},
    {12, LeftBracket},
    {13, RightBracket},
    {14, Backslash},
    {15, Backslash},
    {16, Kp4},
    {17, Kp5},
    {18, Kp6},
};
constexpr GridEntry GridRow3[] = {
    {1, CapsLock}, {2, A},          {3, S},           {4, D},      {5, F},      {6, G},    {7, H},    {8, J},    {9, K},
    {10, L},       {11, Semicolon}, {12, Apostrophe}, {14, Enter}, {15, Enter}, {16, Kp1}, {17, Kp2}, {18, Kp3},
};
constexpr GridEntry GridRow4[] = {
    {0, LeftShift},   {1, K45}, {2, Z},    {3, X},      {4, C},        {5, V},
    {6, B},           {7, N},   {8, M},    {9, Comma},  {10, Period},  {11, Slash},
    {14, RightShift}, {15, Up}, {16, Kp0}, {17, KpDot}, {18, KpMinus},
};
constexpr GridEntry GridRow5[] = {
    {0, LeftCtrl}, {1, LeftWin}, {2, LeftAlt}, {6, Space},  {9, RightAlt}, {10, RightAlt}, {11, RightCtrl},
    {12, Fn},      {14, Left},   {15, Down},   {16, Right}, {17, Print},   {18, KpPlus},
};

struct CellEntry {
    uint16_t key;
    uint8_t cell;
};

// The order the snake, the sparkle and the cell displays walk the keys in.
// Keypad Enter and Page Down are listed twice.
constexpr CellEntry CellOrder[ListingCount] = {
    {KpStar, 16},      {KpSlash, 15},
    {NumLock, 14},     {F12, 12},
    {F11, 11},         {F10, 10},
    {F9, 9},           {F8, 8},
    {F7, 7},           {F6, 6},
    {F5, 5},           {F4, 4},
    {F3, 3},           {F2, 2},
    {F1, 1},           {Esc, 0},
    {Backquote, 21},   {Tab, 42},
    {CapsLock, 63},    {LeftShift, 84},
    {LeftCtrl, 105},   {LeftWin, 106},
    {LeftAlt, 107},    {Space, 108},
    {RightAlt, 109},   {RightCtrl, 110},
    {Fn, 111},         {App, 113},
    {Left, 119},       {Down, 120},
    {Right, 121},      {Print, 123},
    {KpEnter, 124},    {KpPlus, 104},
    {KpMinus, 62},     {Kp3, 41},
    {Kp6, 40},         {Kp9, 39},
    {Kp8, 38},         {Kp7, 37},
    {Home, 36},        {Insert, 35},
    {Backspace, 34},   {Equals, 33},
    {Minus, 32},       {Digit0, 31},
    {Digit9, 30},      {Digit8, 29},
    {Digit7, 28},      {Digit6, 27},
    {Digit5, 26},      {Digit4, 25},
    {Digit3, 24},      {Digit2, 23},
    {Digit1, 22},      {Q, 43},
    {A, 64},           {K45, 85},
    {Z, 86},           {X, 87},
    {C, 88},           {V, 89},
    {B, 90},           {N, 91},
    {M, 92},           {Comma, 93},
    {Period, 94},      {Slash, 95},
    {RightShift, 97},  {Up, 99},
    {Kp0, 101},        {KpDot, 102},
    {PageUp, 103},     {KpEnter, 82},
    {Kp2, 61},         {Kp5, 60},
    {Kp4, 59},         {PageDown, 58},
    {End, 57},         {Delete, 56},
    {Backslash, 55},   {RightBracket, 54},
    {LeftBracket, 53}, {P, 52},
    {O, 51},           {I, 50},
    {U, 49},           {Y, 48},
    {T, 47},           {R, 46},
    {E, 45},           {W, 44},
    {S, 65},           {D, 66},
    {F, 67},           {G, 68},
    {H, 69},           {J, 70},
    {K, 71},           {L, 72},
    {Semicolon, 73},   {Apostrophe, 74},
    {Enter, 76},       {Kp1, 80},
    {PageDown, 81},
};

// Rows running from the "U" key outwards; the last row is empty.
constexpr uint16_t Diagonal[DiagonalRows][DiagonalRowLength] = {
    {U},
    {Digit7, Digit8, Y, I, H, J},
    {F6, Digit6, Digit9, T, O, G, K, B, N, M},
    {F5, F7, Digit5, Digit0, R, P, F, L, V, Comma, Space},
    {F4, F8, Digit4, Minus, E, LeftBracket, D, Semicolon, C, Period, RightAlt},
    {F3, F9, Digit3, Equals, W, RightBracket, S, Apostrophe, X, Slash, LeftAlt, RightCtrl},
    {F2, F10, Digit2, Backspace, Backslash, Q, A, Enter, Z, Fn, LeftWin, RightShift},
    {F1, F11, Digit1, Kp4, Kp7, Kp1, Left, Up, Kp0, F12},
    {Esc, Backquote, Tab, CapsLock, LeftShift, LeftCtrl, NumLock, Down},
    {Print, Print, Right, KpDot, Kp2, Kp5, Kp8, KpSlash},
    {KpStar, Kp9, Kp6, Kp3, KpPlus, KpMinus},
    {},
};

// Listing indices; the last listing is never visited and the first twice.
constexpr uint8_t SparkleOrder[ListingCount] = {
    88, 24,  101, 57, 16, 69, 35, 34, 36, 51, 78, 18, 12, 66, 97, 9,  33, 41, 55,  52,  48, 95, 77, 70, 10, 23, 39,
    3,  102, 17,  65, 22, 31, 4,  85, 76, 15, 60, 54, 21, 83, 94, 6,  61, 49, 20,  5,   14, 68, 98, 71, 27, 81, 1,
    0,  87,  46,  75, 37, 73, 32, 79, 8,  29, 72, 56, 44, 99, 13, 47, 42, 93, 91,  80,  86, 89, 43, 28, 58, 59, 38,
    53, 2,   62,  64, 90, 96, 74, 92, 40, 25, 26, 7,  30, 50, 84, 45, 67, 19, 103, 100, 82, 11, 63, 0,
};

// The show: a chase from the corners towards the middle of the letter block.
constexpr uint16_t ShowScript[ScriptSteps][ScriptStepLength] = {
    {},
    {Esc, KpPlus},
    {F1, Print},
    {F2, Right, Backquote},
    {F3, Down, Digit1, KpMinus},
    {F4, Left, Digit2, KpDot},
    {F5, Fn, Digit3, Kp0, Tab},
    {F6, App, Digit4, Up, Q, Kp3},
    {F7, RightCtrl, Digit5, RightShift, W, Kp2},
    {Digit9, RightAlt, Digit6, Slash, E, Kp1},
    {O, B, Digit7, Period, R},
    {K, G, Digit8, Comma, T},
    {M, T, I, M, Y, Enter},
    {N, Digit6, J, N, U, Apostrophe},
    {B, Digit7, H, B, I, Semicolon},
    {G, Digit8, Y, G, J, L},
    {T, Digit9, Digit7, T, H, K},
    {Digit6, O, Digit8, Digit6, Y, J},
    {Digit7, K, H},
    {M},
};

constexpr uint16_t ShowPairs[PairCount][2] = {
    {Digit6, K}, {Digit7, M}, {Digit8, B}, {Digit9, G}, {O, T}, {K, Digit6}, {M, Digit7}, {N, Digit8},
    {B, Digit9}, {G, O},      {T, K},      {Y, J},      {U, H}, {I, Y},      {J, U},      {H, I},
};

constexpr bool CellsFitTheArrays()
{
    for (const CellEntry& entry : CellOrder) {
        if (entry.cell >= CellCount)
            return false;
    }
    return true;
}

constexpr bool SparkleOrderNamesListings()
{
    for (uint8_t listing : SparkleOrder) {
        if (listing >= ListingCount)
            return false;
    }
    return true;
}

static_assert(CellsFitTheArrays());
static_assert(SparkleOrderNamesListings());

void FillGridRow(std::array<uint8_t, GridColumns>& row, std::span<const GridEntry> entries)
{
    row.fill(NoButton);
    for (const GridEntry& entry : entries) {
        if (entry.column < GridColumns)
            row[entry.column] = ButtonOfControl(entry.key);
    }
}

template <size_t Length>
void FillKeyRow(std::array<uint8_t, Length>& row, const uint16_t (&keys)[Length])
{
    for (size_t i = 0; i < Length; ++i)
        row[i] = keys[i] == 0 ? NoButton : ButtonOfControl(keys[i]);
}

PreviewLayout Build()
{
    PreviewLayout layout;

    FillGridRow(layout.grid[0], GridRow0);
    FillGridRow(layout.grid[1], GridRow1);
    FillGridRow(layout.grid[2], GridRow2);
    FillGridRow(layout.grid[3], GridRow3);
    FillGridRow(layout.grid[4], GridRow4);
    FillGridRow(layout.grid[5], GridRow5);

    layout.cellOfButton.fill(NoCell);
    for (size_t i = 0; i < ListingCount; ++i) {
        const uint8_t button = ButtonOfControl(CellOrder[i].key);
        layout.listings[i] = {button, CellOrder[i].cell};
        if (button != NoButton && layout.cellOfButton[button] == NoCell)
            layout.cellOfButton[button] = CellOrder[i].cell;
    }

    for (size_t r = 0; r < DiagonalRows; ++r)
        FillKeyRow(layout.diagonal[r], Diagonal[r]);
    for (size_t i = 0; i < ListingCount; ++i)
        layout.sparkleOrder[i] = SparkleOrder[i];
    for (size_t n = 0; n < ScriptSteps; ++n)
        FillKeyRow(layout.showScript[n], ShowScript[n]);
    for (size_t i = 0; i < PairCount; ++i)
        layout.showPairs[i] = {ButtonOfControl(ShowPairs[i][0]), ButtonOfControl(ShowPairs[i][1])};
    return layout;
}

}  // namespace

uint8_t ButtonOfControl(uint16_t controlId)
{
    const std::optional<keyboard::KeyRef> key = keyboard::FindKeyButton(controlId);
    if (!key)
        return NoButton;
    const size_t button = ButtonIndexOf(*key);
    return button < PreviewButtonCount ? static_cast<uint8_t>(button) : NoButton;
}

const PreviewLayout& PreviewLayout::Instance()
{
    static const PreviewLayout layout = Build();
    return layout;
}

}  // namespace trevolin::lighting::preview
