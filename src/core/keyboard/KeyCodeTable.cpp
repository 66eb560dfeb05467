#include "core/keyboard/KeyCodeTable.h"

#include <array>

namespace trevolin::keyboard {
namespace {

struct ListedRow {
    uint8_t index;
    std::string_view label;
    std::string_view languageKey;
    uint8_t vk;
    uint16_t keyId;
    uint8_t deviceCode;
};

// Every row that holds a key, by row index. Rows not listed are empty.
// index, label, language key, VK, key id, device code
constexpr ListedRow ListedRows[] = {
    // clang-format off
    {  1, "Esc",           "IDS_KEYBOARD_ESC",             0x1B, 0x0025, 0x29},
    {  2, "1",             "IDS_KEYBOARD_1",               0x31, 0x001A, 0x1E},
    {  3, "2",             "IDS_KEYBOARD_2",               0x32, 0x001B, 0x1F},
    {  4, "3",             "IDS_KEYBOARD_3",               0x33, 0x001C, 0x20},
    {  5, "4",             "IDS_KEYBOARD_4",               0x34, 0x001D, 0x21},
    {  6, "5",             "IDS_KEYBOARD_5",               0x35, 0x001E, 0x22},
    {  7, "6",             "IDS_KEYBOARD_6",               0x36, 0x001F, 0x23},
    {  8, "7",             "IDS_KEYBOARD_7",               0x37, 0x0020, 0x24},
    {  9, "8",             "IDS_KEYBOARD_8",               0x38, 0x0021, 0x25},
    { 10, "9",             "IDS_KEYBOARD_9",               0x39, 0x0022, 0x26},
    { 11, "0",             "IDS_KEYBOARD_0",               0x30, 0x0023, 0x27},
    { 12, "-",             "IDS_KEYBOARD_MINUS",           0xBD, 0x0029, 0x2D},
    { 13, "=",             "IDS_KEYBOARD_EQU",             0xBB, 0x002A, 0x2E},
    { 14, "Backspace",     "IDS_KEYBOARD_BS",              0x08, 0x0026, 0x2A},
    { 15, "Tab",           "IDS_KEYBOARD_TAB",             0x09, 0x0027, 0x2B},
    { 16, "Q",             "IDS_KEYBOARD_Q",               0x51, 0x0010, 0x14},
    { 17, "W",             "IDS_KEYBOARD_W",               0x57, 0x0016, 0x1A},
    { 18, "E",             "IDS_KEYBOARD_E",               0x45, 0x0004, 0x08},
    { 19, "R",             "IDS_KEYBOARD_R",               0x52, 0x0011, 0x15},
    { 20, "T",             "IDS_KEYBOARD_T",               0x54, 0x0013, 0x17},
    { 21, "Y",             "IDS_KEYBOARD_Y",               0x59, 0x0018, 0x1C},
    { 22, "U",             "IDS_KEYBOARD_U",               0x55, 0x0014, 0x18},
    { 23, "I",             "IDS_KEYBOARD_I",               0x49, 0x0008, 0x0C},
    { 24, "O",             "IDS_KEYBOARD_O",               0x4F, 0x000E, 0x12},
    { 25, "P",             "IDS_KEYBOARD_P",               0x50, 0x000F, 0x13},
    { 26, "[",             "IDS_KEYBOARD_SB1",             0xDB, 0x002B, 0x2F},
    { 27, "]",             "IDS_KEYBOARD_SB2",             0xDD, 0x002C, 0x30},
    { 28, "Enter",         "IDS_KEYBOARD_ENTER",           0x0D, 0x0024, 0x28},
    { 29, "Ctrl",          "IDS_KEYBOARD_LCTRL",           0xA2, 0x0062, 0xE0},
    { 30, "A",             "IDS_KEYBOARD_A",               0x41, 0x0000, 0x04},
    { 31, "S",             "IDS_KEYBOARD_S",               0x53, 0x0012, 0x16},
    { 32, "D",             "IDS_KEYBOARD_D",               0x44, 0x0003, 0x07},
    { 33, "F",             "IDS_KEYBOARD_F",               0x46, 0x0005, 0x09},
    { 34, "G",             "IDS_KEYBOARD_G",               0x47, 0x0006, 0x0A},
    { 35, "H",             "IDS_KEYBOARD_H",               0x48, 0x0007, 0x0B},
    { 36, "J",             "IDS_KEYBOARD_J",               0x4A, 0x0009, 0x0D},
    { 37, "K",             "IDS_KEYBOARD_K",               0x4B, 0x000A, 0x0E},
    { 38, "L",             "IDS_KEYBOARD_L",               0x4C, 0x000B, 0x0F},
    { 39, ";",             "IDS_KEYBOARD_SEM",             0xBA, 0x002E, 0x33},
    { 40, "'",             "IDS_KEYBOARD_QUOT",            0xDE, 0x002F, 0x34},
    { 41, "backquote",     "IDS_KEYBOARD_AID1",            0xC0, 0x0030, 0x35},
    { 42, "Shift",         "IDS_KEYBOARD_LSHIFT",          0xA0, 0x0063, 0xE1},
    { 43, "\\",            "IDS_KEYBOARD_AV",              0xDC, 0x002D, 0x31},
    { 44, "Z",             "IDS_KEYBOARD_Z",               0x5A, 0x0019, 0x1D},
    { 45, "X",             "IDS_KEYBOARD_X",               0x58, 0x0017, 0x1B},
    { 46, "C",             "IDS_KEYBOARD_C",               0x43, 0x0002, 0x06},
    { 47, "V",             "IDS_KEYBOARD_V",               0x56, 0x0015, 0x19},
    { 48, "B",             "IDS_KEYBOARD_B",               0x42, 0x0001, 0x05},
    { 49, "N",             "IDS_KEYBOARD_N",               0x4E, 0x000D, 0x11},
    { 50, "M",             "IDS_KEYBOARD_M",               0x4D, 0x000C, 0x10},
    { 51, ",",             "IDS_KEYBOARD_COMMA",           0xBC, 0x0031, 0x36},
    { 52, ".",             "IDS_KEYBOARD_PER",             0xBE, 0x0032, 0x37},
    { 53, "/",             "IDS_KEYBOARD_VIR",             0xBF, 0x0033, 0x38},
    { 54, "Right Shift",   "IDS_KEYBOARD_RSHIFT",          0xA1, 0x0067, 0xE5},
    { 55, "Num *",         "IDS_KEYBOARD_S_AST",           0x6A, 0x0051, 0x55},
    { 56, "Alt",           "IDS_KEYBOARD_LALT",            0xA4, 0x0064, 0xE2},
    { 57, "Space",         "IDS_KEYBOARD_SPACE",           0x20, 0x0028, 0x2C},
    { 58, "Caps Lock",     "IDS_KEYBOARD_CAPS",            0x14, 0x004E, 0x39},
    { 59, "F1",            "IDS_KEYBOARD_F1",              0x70, 0x0034, 0x3A},
    { 60, "F2",            "IDS_KEYBOARD_F2",              0x71, 0x0035, 0x3B},
    { 61, "F3",            "IDS_KEYBOARD_F3",              0x72, 0x0036, 0x3C},
    { 62, "F4",            "IDS_KEYBOARD_F4",              0x73, 0x0037, 0x3D},
    { 63, "F5",            "IDS_KEYBOARD_F5",              0x74, 0x0038, 0x3E},
    { 64, "F6",            "IDS_KEYBOARD_F6",              0x75, 0x0039, 0x3F},
    { 65, "F7",            "IDS_KEYBOARD_F7",              0x76, 0x003A, 0x40},
    { 66, "F8",            "IDS_KEYBOARD_F8",              0x77, 0x003B, 0x41},
    { 67, "F9",            "IDS_KEYBOARD_F9",              0x78, 0x003C, 0x42},
    { 68, "F10",           "IDS_KEYBOARD_F10",             0x79, 0x003D, 0x43},
    { 69, "Pause",         "IDS_KEYBOARD_PAUSE",           0x13, 0x0041, 0x48},
    { 70, "Scroll Lock",   "IDS_KEYBOARD_SCROLL",          0x91, 0x004D, 0x47},
    { 71, "Num 7",         "IDS_KEYBOARD_S_7",             0x67, 0x005B, 0x5F},
    { 72, "Num 8",         "IDS_KEYBOARD_S_8",             0x68, 0x005C, 0x60},
    { 73, "Num 9",         "IDS_KEYBOARD_S_9",             0x69, 0x005D, 0x61},
    { 74, "Num -",         "IDS_KEYBOARD_S_MINUS",         0x6D, 0x0052, 0x56},
    { 75, "Num 4",         "IDS_KEYBOARD_S_4",             0x64, 0x0058, 0x5C},
    { 76, "Num 5",         "IDS_KEYBOARD_S_5",             0x65, 0x0059, 0x5D},
    { 77, "Num 6",         "IDS_KEYBOARD_S_6",             0x66, 0x005A, 0x5E},
    { 78, "Num +",         "IDS_KEYBOARD_S_PLUS",          0x6B, 0x0053, 0x57},
    { 79, "Num 1",         "IDS_KEYBOARD_S_1",             0x61, 0x0055, 0x59},
    { 80, "Num 2",         "IDS_KEYBOARD_S_2",             0x62, 0x0056, 0x5A},
    { 81, "Num 3",         "IDS_KEYBOARD_S_3",             0x63, 0x0057, 0x5B},
    { 82, "Num 0",         "IDS_KEYBOARD_S_0",             0x60, 0x005E, 0x62},
    { 83, "Num .",         "IDS_KEYBOARD_S_DEL",           0x6E, 0x005F, 0x63},
    { 84, "Sys Req",       "IDS_KEYBOARD_SYSREQ",          0x2C, 0x8012, 0x00},
    { 86, "K45",           "IDS_KEYBOARD_K45",             0xE2, 0x0060, 0x64},
    { 87, "F11",           "IDS_KEYBOARD_F11",             0x7A, 0x003E, 0x44},
    { 88, "F12",           "IDS_KEYBOARD_F12",             0x7B, 0x003F, 0x45},
    {100, "F13",           "",                             0x7C, 0x802D, 0x00},
    {112, "ROMA (133)",    "IDS_KEYBOARD_ROMA",            0xFF, 0x8018, 0x88},
    {113, "KL",            "IDS_KEYBOARD_KL",              0xE9, 0x8019, 0x91},
    {114, "KR",            "IDS_KEYBOARD_KR",              0xFF, 0x801A, 0x90},
    {115, "K56",           "IDS_KEYBOARD_K56",             0xC1, 0x8014, 0x87},
    {121, "CHG (132)",     "IDS_KEYBOARD_CHG",             0xFF, 0x8017, 0x8A},
    {123, "N-CHG (131)",   "IDS_KEYBOARD_N_CHG",           0xEB, 0x8016, 0x8B},
    {125, "K14",           "IDS_KEYBOARD_K14",             0xFF, 0x8013, 0x89},
    {126, "K107",          "IDS_KEYBOARD_K107",            0xC2, 0x8015, 0x85},
    {144, "Prev Track",    "MEDIA_PREV_TRACK_4",           0xB1, 0x8021, 0xD0},
    {153, "Next Track",    "MEDIA_Next_TRACK_5",           0xB0, 0x8022, 0xD1},
    {156, "Num Enter",     "IDS_KEYBOARD_S_ENTER",         0x0D, 0x0054, 0x58},
    {157, "Right Ctrl",    "IDS_KEYBOARD_RCTRL",           0xA3, 0x0066, 0xE4},
    {160, "Mute",          "MEDIA_MUTE_8",                 0xAD, 0x8025, 0xCD},
    {161, "Calc",          "MEDIA_CALC_17",                0xB7, 0x801C, 0xC4},
    {162, "Play/Pause",    "MEDIA_PALY_PAUSE_2",           0xB3, 0x801F, 0xCE},
    {164, "Stop Play",     "MEDIA_STOP_PALY_3",            0xB2, 0x8020, 0xCF},
    {174, "V-",            "MEDIA_V_LOW_6",                0xAE, 0x8024, 0xC1},
    {176, "V+",            "MEDIA_V_ADD_7",                0xAF, 0x8023, 0xC0},
    {178, "WWW Home",      "MEDIA_WWW_HOME_9",             0xAC, 0x8026, 0xC7},
    {181, "Num /",         "IDS_KEYBOARD_S_VIR",           0x6F, 0x0050, 0x54},
    {182, "Right Shift",   "IDS_KEYBOARD_RSHIFT",          0xA1, 0x0067, 0xE5},
    {183, "Print Screen",  "IDS_KEYBOARD_PRINT",           0x2C, 0x0040, 0x46},
    {184, "Right Alt",     "IDS_KEYBOARD_RALT",            0xA5, 0x0068, 0xE6},
    {197, "Num Lock",      "IDS_KEYBOARD_NUM",             0x90, 0x004F, 0x53},
    {198, "Break",         "IDS_KEYBOARD_BREAK",           0x03, 0x0042, 0x48},
    {199, "Home",          "IDS_KEYBOARD_HOME",            0x24, 0x0045, 0x4A},
    {200, "↑",             "IDS_KEYBOARD_UP",              0x26, 0x0049, 0x52},
    {201, "Page Up",       "IDS_KEYBOARD_PAGE_UP",         0x21, 0x0047, 0x4B},
    {203, "←",             "IDS_KEYBOARD_LEFT",            0x25, 0x004B, 0x50},
    {205, "→",             "IDS_KEYBOARD_RIGHT",           0x27, 0x004C, 0x4F},
    {207, "End",           "IDS_KEYBOARD_END",             0x23, 0x0046, 0x4D},
    {208, "↓",             "IDS_KEYBOARD_DOWN",            0x28, 0x004A, 0x51},
    {209, "Page Down",     "IDS_KEYBOARD_PAGE_DOWN",       0x22, 0x0048, 0x4E},
    {210, "Insert",        "IDS_KEYBOARD_INSERT",          0x2D, 0x0043, 0x49},
    {211, "Delete",        "IDS_KEYBOARD_DELETE",          0x2E, 0x0044, 0x4C},
    {219, "Win",           "IDS_KEYBOARD_LWIN",            0x5B, 0x0065, 0xE3},
    {220, "Right Win",     "IDS_KEYBOARD_RWIN",            0x5C, 0x0069, 0xE7},
    {221, "App",           "IDS_KEYBOARD_APP",             0x5D, 0x0061, 0x65},
    {222, "Power",         "IDS_KEYBOARD_POWER",           0xFF, 0x8001, 0x81},
    {223, "Sleep",         "IDS_KEYBOARD_SLEEP",           0x5F, 0x8002, 0x82},
    {225, "Roll Up",       "IDS_KEYBOARD_ROLL_UP",         0xD1, 0x006E, 0xF4},
    {226, "Roll Down",     "IDS_KEYBOARD_ROLL_DOWN",       0xD2, 0x006F, 0xF5},
    {227, "Wake",          "IDS_KEYBOARD_WAKE",            0xFF, 0x8003, 0x83},
    {229, "WWW Search",    "MEDIA_WWW_SEARCH_15",          0xAA, 0x802C, 0xC6},
    {230, "WWW Favorite",  "MEDIA_WWW_FAVORITE_14",        0xAB, 0x802B, 0xCC},
    {231, "WWW Refresh",   "MEDIA_WWW_REFRESH_10",         0xA8, 0x8027, 0xCB},
    {232, "WWW Stop",      "MEDIA_WWW_STOP_11",            0xA9, 0x8028, 0xCA},
    {233, "WWW Forward",   "MEDIA_WWW_FORWARD_13",         0xA7, 0x802A, 0xC9},
    {234, "WWW Back",      "MEDIA_WWW_BACK_12",            0xA6, 0x8029, 0xC8},
    {235, "My PC",         "MEDIA_MY_PC_16",               0xB6, 0x801B, 0xC5},
    {236, "Mail",          "MEDIA_MAIL_18",                0xB4, 0x801D, 0xC3},
    {237, "Media Player",  "MEDIA_PALYER_1",               0xB5, 0x801E, 0xC2},
    {238, "Pan Left",      "IDS_KEYBOARD_MOU_PANLEFT",     0x88, 0x8005, 0x00},
    {239, "Pan Right",     "IDS_KEYBOARD_MOU_PANRIGHT",    0x89, 0x8006, 0x00},
    {240, "Double Click",  "IDS_KEYBOARD_MOU_DBCLICK",     0x8A, 0x8004, 0x00},
    {241, "Left Button",   "IDS_KEYBOARD_MOU_LEFT",        0x01, 0x006B, 0xF1},
    {242, "Right Button",  "IDS_KEYBOARD_MOU_RIGHT",       0x02, 0x006C, 0xF2},
    {243, "Middle Button", "IDS_KEYBOARD_MOU_MIDDLE",      0x04, 0x006D, 0xF3},
    {244, "Zoom-",         "IDS_KEYBOARD_FUNC_ZOOMOUT",    0x8B, 0x8007, 0xD2},
    {245, "Zoom+",         "IDS_KEYBOARD_FUNC_ZOOMIN",     0x8C, 0x8008, 0xD3},
    {246, "Copy",          "IDS_KEYBOARD_FUNC_COPY",       0x97, 0x8009, 0x00},
    {247, "Cut",           "IDS_KEYBOARD_FUNC_CUT",        0x98, 0x800A, 0x00},
    {248, "Paste",         "IDS_KEYBOARD_FUNC_PASTE",      0x99, 0x800B, 0x00},
    {249, "Minimize",      "IDS_KEYBOARD_FUNC_MINI",       0x9A, 0x800C, 0x00},
    {250, "Maximize",      "IDS_KEYBOARD_FUNC_MAXI",       0x9B, 0x800D, 0x00},
    {251, "Word",          "IDS_KEYBOARD_FUNC_WORD",       0x9C, 0x800E, 0xD4},
    {252, "Excel",         "IDS_KEYBOARD_FUNC_EXCEL",      0x9D, 0x800F, 0xD5},
    {253, "PowerPoint",    "IDS_KEYBOARD_FUNC_POWERPOINT", 0x9E, 0x8010, 0x00},
    {254, "Calendar",      "IDS_KEYBOARD_FUNC_CALENDAR",   0x9F, 0x8011, 0x00},
    // clang-format on
};

struct RowVk {
    uint8_t index;
    uint8_t vk;
};

// What the keypad produces with Num Lock off.
constexpr RowVk AlternateVks[] = {
    // clang-format off
    {71, 0x24},  // Num 7: Home
    {72, 0x26},  // Num 8: Up
    {73, 0x21},  // Num 9: Page Up
    {75, 0x25},  // Num 4: Left
    {76, 0x0C},  // Num 5: Clear
    {77, 0x27},  // Num 6: Right
    {79, 0x23},  // Num 1: End
    {80, 0x28},  // Num 2: Down
    {81, 0x22},  // Num 3: Page Down
    {82, 0x2D},  // Num 0: Insert
    {83, 0x2E},  // Num .: Delete
    // clang-format on
};

// Virtual-key codes that several rows share, or that no row carries but
// key messages do, resolved to one row.
constexpr RowVk VkChoices[] = {
    // clang-format off
    {42, 0x10},   // VK_SHIFT: left Shift
    {29, 0x11},   // VK_CONTROL: left Ctrl
    {56, 0x12},   // VK_MENU: left Alt
    {28, 0x0D},   // VK_RETURN: main Enter, not the keypad's
    {54, 0xA1},   // VK_RSHIFT: row 54, not its twin 182
    {183, 0x2C},  // VK_SNAPSHOT: Print Screen, not Sys Req
    // clang-format on
};

// Device codes 0xC0 + position; the remaining slots stay 0.
constexpr std::array<uint16_t, ConsumerTableSize> ConsumerUsages = {
    0x00E9,  // volume up
    0x00EA,  // volume down
    0x0183,  // media player
    0x018A,  // mail
    0x0192,  // calculator
    0x0194,  // my computer
    0x0221,  // search
    0x0223,  // browser home
    0x0224,  // back
    0x0225,  // forward
    0x0226,  // stop
    0x0227,  // refresh
    0x022A,  // favourites
    0x00E2,  // mute
    0x00CD,  // play/pause
    0x00B7,  // stop playing
    0x00B6,  // previous track
    0x00B5,  // next track
};

constexpr std::array<KeyCode, KeyCodeRowCount> BuildRows()
{
    std::array<KeyCode, KeyCodeRowCount> rows{};
    for (const ListedRow& r : ListedRows)
        rows[r.index] = KeyCode{r.label, r.languageKey, r.vk, r.vk, r.keyId, r.deviceCode};
    for (const RowVk& a : AlternateVks)
        rows[a.index].alternateVk = a.vk;
    return rows;
}

constexpr std::array<KeyCode, KeyCodeRowCount> Rows = BuildRows();

constexpr bool IsMouseButtonVk(uint8_t vk)
{
    return vk == 0x01 || vk == 0x02 || vk == 0x04;
}

constexpr std::array<uint8_t, VkTableSize> BuildVkTable()
{
    std::array<uint8_t, VkTableSize> table{};
    for (size_t index = 1; index < KeyCodeRowCount; ++index) {
        const uint8_t vk = Rows[index].vk;
        if (Rows[index].isEmpty() || vk == NoVk || IsMouseButtonVk(vk) || table[vk] != 0)
            continue;
        table[vk] = static_cast<uint8_t>(index);
    }
    for (const RowVk& choice : VkChoices)
        table[choice.vk] = choice.index;
    return table;
}

constexpr std::array<uint8_t, VkTableSize> VkTable = BuildVkTable();

constexpr KeyCode EmptyRow{};

}  // namespace

uint32_t ScanToIndex(uint32_t scan)
{
    if (scan < 0x100)
        return scan;
    if (scan < 0x200)
        return 0x80 + (scan & 0xFF);
    return scan - 0x100;
}

uint16_t IndexToScan(uint32_t index)
{
    if (index >= KeyCodeRowCount)
        return 0;
    return static_cast<uint16_t>(index < 0x80 ? index : index + 0x80);
}

const KeyCode& KeyCodeRow(uint32_t index)
{
    return index < KeyCodeRowCount ? Rows[index] : EmptyRow;
}

const KeyCode& KeyCodeOfScan(uint32_t scan)
{
    return KeyCodeRow(ScanToIndex(scan));
}

uint8_t VkTableEntry(uint32_t vk)
{
    return vk < VkTableSize ? VkTable[vk] : 0;
}

uint16_t ConsumerUsageAt(uint32_t position)
{
    return position < ConsumerTableSize ? ConsumerUsages[position] : 0;
}

}  // namespace trevolin::keyboard
