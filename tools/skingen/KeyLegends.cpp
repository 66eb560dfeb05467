#include "KeyLegends.h"

#include "core/keyboard/KeyboardLayout.h"

#include <array>

namespace trevolin::skingen {

namespace {

struct Row {
    uint16_t scan;
    const char* main;
    const char* second;
};

// The layout table's captions are the dialog's terse ones ("<--", "7H");
// a cap reads better with the usual legends.
constexpr std::array Rows = {
    Row{0x0E, "Backspace", ""}, Row{0x1C, "Enter", ""}, Row{0x0F, "Tab", ""},     Row{0x3A, "Caps Lock", ""},
    Row{0x2A, "Shift", ""},     Row{0x36, "Shift", ""}, Row{0x1D, "Ctrl", ""},    Row{0x11D, "Ctrl", ""},
    Row{0x38, "Alt", ""},       Row{0x138, "Alt", ""},  Row{0x15B, "Super", ""},  Row{0x15C, "Super", ""},
    Row{0x15D, "Menu", ""},     Row{0x39, "", ""},      Row{0x137, "PrtSc", ""},  Row{0x46, "ScrLk", ""},
    Row{0x45, "Pause", ""},     Row{0x152, "Ins", ""},  Row{0x147, "Home", ""},   Row{0x149, "PgUp", ""},
    Row{0x153, "Del", ""},      Row{0x14F, "End", ""},  Row{0x151, "PgDn", ""},   Row{0x145, "Num", ""},
    Row{0x135, "/", ""},        Row{0x37, "*", ""},     Row{0x4A, "\u2212", ""},  Row{0x4E, "+", ""},
    Row{0x11C, "Enter", ""},    Row{0x47, "7", "Home"}, Row{0x48, "8", "\u2191"}, Row{0x49, "9", "PgUp"},
    Row{0x4B, "4", "\u2190"},   Row{0x4C, "5", " "}, /* placed as its neighbours */ Row{0x4D, "6", "\u2192"}, Row{0x4F, "1", "End"},
    Row{0x50, "2", "\u2193"},   Row{0x51, "3", "PgDn"}, Row{0x52, "0", "Ins"},    Row{0x53, ".", "Del"},
    Row{0x2B, "\\", "|"},       Row{0x28, "'", "\""},   Row{0x29, "`", "~"},      Row{0x56, "\\", "K45"},
    Row{0x08, "7", "&"},        Row{0x01, "Esc", ""},
};

}  // namespace

KeyLegend KeyLegends::Of(uint16_t scan)
{
    for (const auto& row : Rows) {
        if (row.scan == scan) {
            return {QString::fromUtf8(row.main), QString::fromUtf8(row.second)};
        }
    }
    for (const auto& key : keyboard::LayoutKeys()) {
        if (key.scan != scan) {
            continue;
        }
        const QString caption = QString::fromUtf8(key.caption.data(), static_cast<qsizetype>(key.caption.size()));
        // "1!", "[{": the unshifted symbol large, the shifted one small.
        if (caption.size() == 2 && !caption[0].isLetter()) {
            return {caption.left(1), caption.mid(1)};
        }
        return {caption, {}};
    }
    return {};
}

}  // namespace trevolin::skingen
