#pragma once

#include "core/lighting/preview/PreviewTints.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::lighting::preview {

// The on-screen keyboard as a grid of 6 rows by 23 columns; a wide key fills
// two neighbouring cells of its row.
inline constexpr size_t GridRows = 6;
inline constexpr size_t GridColumns = 23;

// Per-key animation state lives in 128-entry arrays indexed by cell: row × 21
// + column of a coarser 6 × 21 model of the keyboard.
inline constexpr size_t CellCount = 128;
inline constexpr size_t ListingCount = 105;

inline constexpr size_t DiagonalRows = 12;
inline constexpr size_t DiagonalRowLength = 12;
inline constexpr size_t ScriptSteps = 20;
inline constexpr size_t ScriptStepLength = 6;
inline constexpr size_t PairCount = 16;

inline constexpr uint8_t NoButton = 255;
inline constexpr uint8_t NoCell = 255;

// A key with the cell it is listed with. A key listed twice keeps the cell of
// its first listing as its own; the second listing still walks its own cell.
struct Listing {
    uint8_t button = NoButton;
    uint8_t cell = NoCell;
};

struct KeyPair {
    uint8_t first = NoButton;
    uint8_t second = NoButton;
};

// The key tables of the preview with every key resolved to its button index
// (PreviewTints order). Rows shorter than their array end in NoButton.
struct PreviewLayout {
    std::array<std::array<uint8_t, GridColumns>, GridRows> grid{};
    std::array<uint8_t, PreviewButtonCount> cellOfButton{};
    std::array<Listing, ListingCount> listings{};
    std::array<std::array<uint8_t, DiagonalRowLength>, DiagonalRows> diagonal{};
    std::array<uint8_t, ListingCount> sparkleOrder{};  // indices into `listings`
    std::array<std::array<uint8_t, ScriptStepLength>, ScriptSteps> showScript{};
    std::array<KeyPair, PairCount> showPairs{};

    static const PreviewLayout& Instance();
};

// Button index of a key button's control id; NoButton for any other id.
uint8_t ButtonOfControl(uint16_t controlId);

}  // namespace trevolin::lighting::preview
