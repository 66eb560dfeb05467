#include "core/keyboard/KeyByName.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

namespace trevolin::keyboard {
namespace {

// name, control id; row by row as the keys sit on the keyboard
constexpr NamedKey Names[] = {
    // clang-format off
    {"Esc", 1022},        {"F1", 1010},         {"F2", 1011},         {"F3", 1012},
    {"F4", 1013},         {"F5", 1014},         {"F6", 1015},         {"F7", 1023},
    {"F8", 1024},         {"F9", 1025},         {"F10", 1026},        {"F11", 1027},
    {"F12", 1028},        {"Print", 1091},      {"ScrollLock", 1092}, {"Pause", 1093},

    {"Grave", 1029},      {"1", 1030},          {"2", 1031},          {"3", 1032},
    {"4", 1033},          {"5", 1034},          {"6", 1035},          {"7", 1036},
    {"8", 1037},          {"9", 1038},          {"0", 1039},          {"Minus", 1040},
    {"Equals", 1041},     {"Backspace", 1043},  {"Insert", 1094},     {"Home", 1095},
    {"PageUp", 1096},     {"NumLock", 1104},    {"NumSlash", 1105},   {"NumStar", 1106},
    {"NumMinus", 1107},

    {"Tab", 1056},        {"Q", 1044},          {"W", 1045},          {"E", 1046},
    {"R", 1047},          {"T", 1048},          {"Y", 1049},          {"U", 1050},
    {"I", 1051},          {"O", 1052},          {"P", 1053},          {"LeftBracket", 1054},
    {"RightBracket", 1055}, {"Backslash", 1042}, {"Delete", 1097},    {"End", 1098},
    {"PageDown", 1099},   {"Num7", 1108},       {"Num8", 1109},       {"Num9", 1110},
    {"NumPlus", 1111},

    {"CapsLock", 1069},   {"A", 1058},          {"S", 1059},          {"D", 1060},
    {"F", 1061},          {"G", 1062},          {"H", 1063},          {"J", 1064},
    {"K", 1065},          {"L", 1066},          {"Semicolon", 1067},  {"Apostrophe", 1068},
    {"Enter", 1070},      {"Num4", 1112},       {"Num5", 1113},       {"Num6", 1114},

    {"LeftShift", 1082},  {"K45", 1199},        {"Z", 1071},          {"X", 1072},
    {"C", 1073},          {"V", 1074},          {"B", 1075},          {"N", 1076},
    {"M", 1077},          {"Comma", 1078},      {"Period", 1079},     {"Slash", 1080},
    {"RightShift", 1081}, {"Up", 1103},         {"Num1", 1115},       {"Num2", 1116},
    {"Num3", 1117},       {"NumEnter", 1118},

    {"LeftCtrl", 1083},   {"LeftWin", 1084},    {"LeftAlt", 1085},    {"Space", 1090},
    {"RightAlt", 1086},   {"Fn", FnKeyControlId}, {"RightWin", 1087}, {"App", 1088},
    {"RightCtrl", 1089},  {"Left", 1100},       {"Down", 1101},       {"Right", 1102},
    {"Num0", 1120},       {"NumPeriod", 1119},

    {"G1", 1000},         {"G2", 1001},         {"G3", 1002},         {"G4", 1003},
    {"G5", 1004},         {"G6", 1140},         {"G7", 1141},         {"G8", 1142},
    {"G9", 1143},
    // clang-format on
};
static_assert(std::size(Names) == LayoutKeyCount + GKeyCount + 1, "one name for every key button");

// Other spellings people type for the same keys.
struct Alias {
    std::string_view alias;
    std::string_view name;
};
constexpr Alias Aliases[] = {
    // clang-format off
    {"Escape", "Esc"},         {"PrintScreen", "Print"},  {"PrtSc", "Print"},        {"Scroll", "ScrollLock"},
    {"Backquote", "Grave"},    {"Tilde", "Grave"},        {"Equal", "Equals"},       {"Ins", "Insert"},
    {"Del", "Delete"},         {"PgUp", "PageUp"},        {"PgDn", "PageDown"},      {"Caps", "CapsLock"},
    {"Quote", "Apostrophe"},   {"Return", "Enter"},       {"Dot", "Period"},         {"Menu", "App"},
    {"Spacebar", "Space"},     {"LShift", "LeftShift"},   {"RShift", "RightShift"},  {"LCtrl", "LeftCtrl"},
    {"RCtrl", "RightCtrl"},    {"LAlt", "LeftAlt"},       {"RAlt", "RightAlt"},      {"LWin", "LeftWin"},
    {"RWin", "RightWin"},      {"NumDivide", "NumSlash"}, {"NumMultiply", "NumStar"}, {"NumDot", "NumPeriod"},
    {"NumAdd", "NumPlus"},     {"NumSubtract", "NumMinus"},
    // clang-format on
};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Ignored(char c)
{
    return c == ' ' || c == '-' || c == '_';
}

constexpr size_t LongestName = [] {
    size_t longest = 0;
    for (const NamedKey& entry : Names)
        longest = std::max(longest, entry.name.size());
    for (const Alias& alias : Aliases)
        longest = std::max(longest, alias.alias.size());
    return longest;
}();

// A name as it is compared: lower case, without the ignored separators. A
// typed name that folds to more than the longest name is no key, so
// folding stops there.
class FoldedName {
public:
    explicit FoldedName(std::string_view name)
    {
        for (const char c : name) {
            if (Ignored(c))
                continue;
            if (size_ == units_.size()) {
                tooLong_ = true;
                return;
            }
            units_[size_++] = Lower(c);
        }
    }
    bool TooLong() const { return tooLong_; }
    std::string_view View() const { return std::string_view(units_.data(), size_); }

private:
    std::array<char, LongestName> units_{};
    size_t size_ = 0;
    bool tooLong_ = false;
};

struct FoldedKey {
    std::string folded;
    std::optional<KeyRef> key;
};

// Every name and alias folded, sorted for a binary search: each line of a
// colour page and each key argument is looked up here. The names come
// before the aliases, and the first of a folded spelling wins.
const std::vector<FoldedKey>& FoldedKeys()
{
    static const std::vector<FoldedKey> table = [] {
        std::vector<FoldedKey> keys;
        const auto known = [&keys](std::string_view folded) {
            return std::any_of(keys.begin(), keys.end(),
                               [folded](const FoldedKey& entry) { return entry.folded == folded; });
        };
        for (const NamedKey& entry : Names) {
            const FoldedName folded(entry.name);
            if (!known(folded.View()))
                keys.push_back({std::string(folded.View()), FindKeyButton(entry.controlId)});
        }
        const size_t nameCount = keys.size();
        for (const Alias& alias : Aliases) {
            const FoldedName folded(alias.alias);
            const FoldedName target(alias.name);
            if (known(folded.View()))
                continue;
            std::optional<KeyRef> key;
            for (size_t i = 0; i < nameCount && !key; ++i) {
                if (keys[i].folded == target.View())
                    key = keys[i].key;
            }
            keys.push_back({std::string(folded.View()), key});
        }
        std::sort(keys.begin(), keys.end(), [](const FoldedKey& a, const FoldedKey& b) { return a.folded < b.folded; });
        return keys;
    }();
    return table;
}

}  // namespace

std::span<const NamedKey> KeyNameTable()
{
    return Names;
}

std::optional<KeyRef> KeyByName(std::string_view name)
{
    // Made only of separators, a name folds to nothing, which is no key.
    const FoldedName folded(name);
    if (folded.TooLong() || folded.View().empty())
        return std::nullopt;
    const auto& keys = FoldedKeys();
    const auto found =
        std::lower_bound(keys.begin(), keys.end(), folded.View(), [](const FoldedKey& entry, std::string_view wanted) {
            return std::string_view(entry.folded) < wanted;
        });
    if (found == keys.end() || found->folded != folded.View())
        return std::nullopt;
    return found->key;
}

std::string_view NameOfKey(KeyRef key)
{
    const uint16_t id = ControlIdOf(key);
    if (id == 0)
        return {};
    for (const NamedKey& entry : Names) {
        if (entry.controlId == id)
            return entry.name;
    }
    return {};
}

std::string KeyNameListText(KeyNameSet set)
{
    std::string text;
    for (const NamedKey& entry : Names) {
        const auto key = FindKeyButton(entry.controlId);
        const bool listed = set == KeyNameSet::All || (key && key->kind == KeyKind::Layout) ||
                            (set == KeyNameSet::Assignable && key && key->kind == KeyKind::GKey);
        if (!listed)
            continue;
        if (!text.empty())
            text += ", ";
        text += entry.name;
    }
    return text;
}

}  // namespace trevolin::keyboard
