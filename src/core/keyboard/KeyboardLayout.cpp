#include "core/keyboard/KeyboardLayout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace trevolin::keyboard {
namespace {

constexpr uint8_t None = NoLight;

// control id, caption, scan value, key number, light position; by layout position
constexpr std::array<LayoutKey, LayoutKeyCount> Keys = {{
    // clang-format off
    {1058, "A",         0x1E,  0x01E, 52},    // 0
    {1075, "B",         0x30,  0x030, 74},    // 1
    {1073, "C",         0x2E,  0x02E, 72},    // 2
    {1060, "D",         0x20,  0x020, 54},    // 3
    {1046, "E",         0x12,  0x012, 37},    // 4
    {1061, "F",         0x21,  0x021, 55},    // 5
    {1062, "G",         0x22,  0x022, 56},    // 6
    {1063, "H",         0x23,  0x023, 57},    // 7
    {1051, "I",         0x17,  0x017, 42},    // 8
    {1064, "J",         0x24,  0x024, 58},    // 9
    {1065, "K",         0x25,  0x025, 59},    // 10
    {1066, "L",         0x26,  0x026, 60},    // 11
    {1077, "M",         0x32,  0x032, 76},    // 12
    {1076, "N",         0x31,  0x031, 75},    // 13
    {1052, "O",         0x18,  0x018, 43},    // 14
    {1053, "P",         0x19,  0x019, 44},    // 15
    {1044, "Q",         0x10,  0x010, 35},    // 16
    {1047, "R",         0x13,  0x013, 38},    // 17
    {1059, "S",         0x1F,  0x01F, 53},    // 18
    {1048, "T",         0x14,  0x014, 39},    // 19
    {1050, "U",         0x16,  0x016, 41},    // 20
    {1074, "V",         0x2F,  0x02F, 73},    // 21
    {1045, "W",         0x11,  0x011, 36},    // 22
    {1072, "X",         0x2D,  0x02D, 71},    // 23
    {1049, "Y",         0x15,  0x015, 40},    // 24
    {1071, "Z",         0x2C,  0x02C, 70},    // 25
    {1030, "1!",        0x02,  0x002, 18},    // 26
    {1031, "2@",        0x03,  0x003, 19},    // 27
    {1032, "3#",        0x04,  0x004, 20},    // 28
    {1033, "4$",        0x05,  0x005, 21},    // 29
    {1034, "5%",        0x06,  0x006, 22},    // 30
    {1035, "6^",        0x07,  0x007, 23},    // 31
    {1036, "7&&",       0x08,  0x008, 24},    // 32
    {1037, "8*",        0x09,  0x009, 25},    // 33
    {1038, "9(",        0x0A,  0x00A, 26},    // 34
    {1039, "0)",        0x0B,  0x00B, 27},    // 35
    {1070, "Enter",     0x1C,  0x01C, 64},    // 36
    {1022, "Esc",       0x01,  0x001, 0},     // 37
    {1043, "<--",       0x0E,  0x00E, 30},    // 38
    {1056, "Tab",       0x0F,  0x00F, 34},    // 39
    {1090, "",          0x39,  0x039, 91},    // 40 space bar
    {1040, "-_",        0x0C,  0x00C, 28},    // 41
    {1041, "=+",        0x0D,  0x00D, 29},    // 42
    {1054, "[{",        0x1A,  0x01A, 45},    // 43
    {1055, "]}",        0x1B,  0x01B, 46},    // 44
    {1042, "\\|",       0x2B,  0x02B, 47},    // 45
    {1067, ";:",        0x27,  0x027, 61},    // 46
    {1068, "'\"",       0x28,  0x028, 62},    // 47
    {1029, "`~",        0x29,  0x029, 17},    // 48
    {1078, ",<",        0x33,  0x033, 77},    // 49
    {1079, ".>",        0x34,  0x034, 78},    // 50
    {1080, "/?",        0x35,  0x035, 79},    // 51
    {1010, "F1",        0x3B,  0x03B, 2},     // 52
    {1011, "F2",        0x3C,  0x03C, 3},     // 53
    {1012, "F3",        0x3D,  0x03D, 4},     // 54
    {1013, "F4",        0x3E,  0x03E, 5},     // 55
    {1014, "F5",        0x3F,  0x03F, 6},     // 56
    {1015, "F6",        0x40,  0x040, 7},     // 57
    {1023, "F7",        0x41,  0x041, 8},     // 58
    {1024, "F8",        0x42,  0x042, 9},     // 59
    {1025, "F9",        0x43,  0x043, 10},    // 60
    {1026, "F10",       0x44,  0x044, 11},    // 61
    {1027, "F11",       0x57,  0x057, 12},    // 62
    {1028, "F12",       0x58,  0x058, 13},    // 63
    {1091, "Print",     0x137, 0x0B7, 100},   // 64
    {1093, "Pause",     0x45,  0x045, None},  // 65
    {1094, "Insert",    0x152, 0x0D2, None},  // 66
    {1097, "Delete",    0x153, 0x0D3, None},  // 67
    {1095, "Home",      0x147, 0x0C7, None},  // 68
    {1098, "End",       0x14F, 0x0CF, None},  // 69
    {1096, "Page Up",   0x149, 0x0C9, None},  // 70
    {1099, "Page Down", 0x151, 0x0D1, None},  // 71
    {1103, "↑",         0x148, 0x0C8, 81},    // 72
    {1101, "↓",         0x150, 0x0D0, 98},    // 73
    {1100, "←",         0x14B, 0x0CB, 97},    // 74
    {1102, "→",         0x14D, 0x0CD, 99},    // 75
    {1092, "Scroll",    0x46,  0x046, None},  // 76
    {1069, "CapsLock",  0x3A,  0x03A, 51},    // 77
    {1088, "App",       0x15D, 0x0DD, 111},   // 78
    {1083, "Ctrl",      0x1D,  0x01D, 85},    // 79 left
    {1089, "Ctrl",      0x11D, 0x09D, 95},    // 80 right
    {1082, "Shift",     0x2A,  0x02A, 68},    // 81 left
    {1081, "Shift",     0x36,  0x036, 80},    // 82 right
    {1085, "Alt",       0x38,  0x038, 87},    // 83 left
    {1086, "Alt",       0x138, 0x0B8, 94},    // 84 right
    {1084, "Win",       0x15B, 0x0DB, 86},    // 85 left
    {1087, "Win",       0x15C, 0x0DC, 116},   // 86 right
    {1115, "1E",        0x4F,  0x04F, 65},    // 87
    {1116, "2↓",        0x50,  0x050, 66},    // 88
    {1117, "3D",        0x51,  0x051, 67},    // 89
    {1112, "4←",        0x4B,  0x04B, 48},    // 90
    {1113, "5",         0x4C,  0x04C, 49},    // 91
    {1114, "6→",        0x4D,  0x04D, 50},    // 92
    {1108, "7H",        0x47,  0x047, 31},    // 93
    {1109, "8↑",        0x48,  0x048, 32},    // 94
    {1110, "9U",        0x49,  0x049, 33},    // 95
    {1120, "0",         0x52,  0x052, 82},    // 96
    {1104, "Num",       0x145, 0x0C5, 14},    // 97
    {1118, "Enter",     0x11C, 0x09C, 104},   // 98 keypad
    {1119, ".D",        0x53,  0x053, 83},    // 99
    {1105, "/",         0x135, 0x0B5, 15},    // 100
    {1106, "*",         0x37,  0x037, 16},    // 101
    {1107, "-",         0x4A,  0x04A, 84},    // 102
    {1111, "+",         0x4E,  0x04E, 101},   // 103
    {1199, "K45",       0x56,  0x056, None},  // 104 the international layout's extra key
    // clang-format on
}};

// G1 to G9
constexpr std::array<uint16_t, GKeyCount> GKeyIds = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};

// Every key is looked up by its control id, from each line of a colour page
// to each key of a skin, and the ids lie close together: a table by id
// answers without a search.
constexpr std::pair<uint16_t, uint16_t> ControlIdRange = [] {
    std::pair<uint16_t, uint16_t> range{GKeyIds[0], GKeyIds[0]};
    const auto take = [&range](uint16_t id) {
        range.first = std::min(range.first, id);
        range.second = std::max(range.second, id);
    };
    for (const uint16_t id : GKeyIds)
        take(id);
    for (const LayoutKey& key : Keys)
        take(key.controlId);
    return range;
}();
constexpr uint16_t LowestControlId = ControlIdRange.first;
constexpr uint16_t HighestControlId = ControlIdRange.second;
static_assert(HighestControlId - LowestControlId < 1024, "control ids close enough together for a table");
// The G keys before the layout keys, and the first of each wins, should an
// id ever be given twice.
constexpr auto KeysByControlId = [] {
    std::array<std::optional<KeyRef>, HighestControlId - LowestControlId + 1> table{};
    for (size_t g = 0; g < GKeyCount; ++g) {
        auto& slot = table[GKeyIds[g] - LowestControlId];
        if (!slot)
            slot = KeyRef{KeyKind::GKey, static_cast<uint8_t>(g)};
    }
    for (size_t position = 0; position < LayoutKeyCount; ++position) {
        auto& slot = table[Keys[position].controlId - LowestControlId];
        if (!slot)
            slot = KeyRef{KeyKind::Layout, static_cast<uint8_t>(position)};
    }
    return table;
}();

}  // namespace

std::span<const LayoutKey, LayoutKeyCount> LayoutKeys()
{
    return Keys;
}

std::span<const uint16_t, GKeyCount> GKeyControlIds()
{
    return GKeyIds;
}

std::optional<KeyRef> FindKeyByControlId(uint32_t controlId)
{
    if (controlId < LowestControlId || controlId - LowestControlId >= KeysByControlId.size())
        return std::nullopt;
    return KeysByControlId[controlId - LowestControlId];
}

std::optional<KeyRef> FindKeyButton(uint32_t controlId)
{
    if (controlId == FnKeyControlId)
        return KeyRef{KeyKind::Fn, 0};
    return FindKeyByControlId(controlId);
}

uint16_t ControlIdOf(KeyRef key)
{
    switch (key.kind) {
    case KeyKind::Layout:
        return key.index < LayoutKeyCount ? Keys[key.index].controlId : 0;
    case KeyKind::GKey:
        return key.index < GKeyCount ? GKeyIds[key.index] : 0;
    case KeyKind::Fn:
        return FnKeyControlId;
    }
    return 0;
}

uint16_t GKeyNumber(size_t gIndex, bool gKeyBankB)
{
    if (gIndex >= GKeyCount)
        return 0;
    const size_t bank = gKeyBankB ? GKeyBankOffset : 0;
    return static_cast<uint16_t>(GKeyNumberBase + gIndex + bank);
}

std::optional<uint16_t> KeyNumberOfKey(KeyRef key, bool gKeyBankB)
{
    switch (key.kind) {
    case KeyKind::Layout:
        if (key.index < LayoutKeyCount)
            return Keys[key.index].keyNumber;
        break;
    case KeyKind::GKey:
        if (key.index < GKeyCount)
            return GKeyNumber(key.index, gKeyBankB);
        break;
    case KeyKind::Fn:
        break;
    }
    return std::nullopt;
}

std::optional<uint16_t> KeyNumberOfControl(uint32_t controlId, bool gKeyBankB)
{
    const std::optional<KeyRef> key = FindKeyByControlId(controlId);
    return key ? KeyNumberOfKey(*key, gKeyBankB) : std::nullopt;
}

uint8_t LightPositionOf(KeyRef key)
{
    switch (key.kind) {
    case KeyKind::Layout:
        return key.index < LayoutKeyCount ? Keys[key.index].light : NoLight;
    case KeyKind::GKey:
        return key.index < GKeyCount ? GKeyLight : NoLight;
    case KeyKind::Fn:
        return FnKeyLight;
    }
    return NoLight;
}

std::optional<uint8_t> LightPositionOfControl(uint32_t controlId)
{
    const std::optional<KeyRef> key = FindKeyButton(controlId);
    return key ? std::optional<uint8_t>(LightPositionOf(*key)) : std::nullopt;
}

bool HasLight(uint8_t lightPosition)
{
    return lightPosition < LightPositionCount;
}

std::string SkinNameOf(KeyRef key)
{
    char name[16] = {};
    switch (key.kind) {
    case KeyKind::Layout:
        if (key.index >= LayoutKeyCount)
            return {};
        std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(Keys[key.index].keyNumber));
        return name;
    case KeyKind::GKey:
        if (key.index >= GKeyCount)
            return {};
        std::snprintf(name, sizeof name, "FUNC_G%d", key.index + 1);
        return name;
    case KeyKind::Fn:
        return "KEY_FN";
    }
    return {};
}

bool GKeyEnabledAtStart(size_t gIndex)
{
    return gIndex < GKeysEnabledAtStart;
}

void ForEachKey(const std::function<void(KeyRef)>& visit, FnKeyVisit fn)
{
    for (size_t position = 0; position < LayoutKeyCount; ++position)
        visit(KeyRef{KeyKind::Layout, static_cast<uint8_t>(position)});
    for (size_t g = 0; g < GKeyCount; ++g)
        visit(KeyRef{KeyKind::GKey, static_cast<uint8_t>(g)});
    if (fn == FnKeyVisit::Last)
        visit(KeyRef{KeyKind::Fn, 0});
}

}  // namespace trevolin::keyboard
