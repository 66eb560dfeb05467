#include "core/keyboard/KeyByName.h"
#include "core/keyboard/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace trevolin::keyboard {
namespace {

TEST(KeyByNameTest, EveryKeyButtonHasOneNameThatLeadsBackToIt)
{
    std::set<uint16_t> named;
    for (const NamedKey& entry : KeyNameTable()) {
        const auto key = KeyByName(entry.name);
        ASSERT_TRUE(key) << entry.name;
        EXPECT_EQ(ControlIdOf(*key), entry.controlId) << entry.name;
        EXPECT_EQ(NameOfKey(*key), entry.name);
        EXPECT_TRUE(named.insert(entry.controlId).second) << entry.name << " names a key named before";
    }
    size_t buttons = 0;
    ForEachKey(
        [&](KeyRef key) {
            ++buttons;
            EXPECT_EQ(named.count(ControlIdOf(key)), 1u) << SkinNameOf(key) << " has no name";
        },
        FnKeyVisit::Last);
    EXPECT_EQ(named.size(), buttons);
}

TEST(KeyByNameTest, NamesAreTheKeysTheyTell)
{
    // name as typed, scan value (0 for the G keys and Fn), control id
    struct Case {
        const char* typed;
        uint16_t scan;
        uint16_t controlId;
    };
    const Case cases[] = {
        // clang-format off
        {"A", 0x1E, 1058},          {"f1", 0x3B, 1010},         {"ESC", 0x01, 1022},
        {"Escape", 0x01, 1022},     {"NumEnter", 0x11C, 1118},  {"num enter", 0x11C, 1118},
        {"Enter", 0x1C, 1070},      {"RightShift", 0x36, 1081}, {"left_shift", 0x2A, 1082},
        {"RCtrl", 0x11D, 1089},     {"LeftAlt", 0x38, 1085},    {"RightWin", 0x15C, 1087},
        {"Page-Up", 0x149, 1096},   {"PgDn", 0x151, 1099},      {"Grave", 0x29, 1029},
        {"Backslash", 0x2B, 1042},  {"Backspace", 0x0E, 1043},  {"1", 0x02, 1030},
        {"0", 0x0B, 1039},          {"Num0", 0x52, 1120},       {"NumPeriod", 0x53, 1119},
        {"NumSlash", 0x135, 1105},  {"NumStar", 0x37, 1106},    {"NumLock", 0x145, 1104},
        {"Print", 0x137, 1091},     {"Space", 0x39, 1090},      {"K45", 0x56, 1199},
        {"Up", 0x148, 1103},        {"Left", 0x14B, 1100},      {"g1", 0, 1000},
        {"G9", 0, 1143},            {"fn", 0, FnKeyControlId},  {"_ Right-Bracket _", 0x1B, 1055},
        {"num-SUBTRACT", 0x4A, 1107},
        // clang-format on
    };
    for (const Case& c : cases) {
        const auto key = KeyByName(c.typed);
        ASSERT_TRUE(key) << c.typed;
        EXPECT_EQ(ControlIdOf(*key), c.controlId) << c.typed;
        if (c.scan != 0) {
            ASSERT_EQ(key->kind, KeyKind::Layout) << c.typed;
            EXPECT_EQ(LayoutKeys()[key->index].scan, c.scan) << c.typed;
        }
    }
}

TEST(KeyByNameTest, WhatIsNoKeyNameFindsNothing)
{
    for (const char* typed : {"", " ", "-", "_", "G10", "G0", "F13", "Shift", "Ctrl", "AA", "Num", "Enterx", "Ä",
                              "RightBracketx", "NumSubtractx", "EscEsc"})
        EXPECT_FALSE(KeyByName(typed)) << typed;
    EXPECT_TRUE(NameOfKey(KeyRef{KeyKind::GKey, 9}).empty());
    EXPECT_TRUE(NameOfKey(KeyRef{KeyKind::Layout, 105}).empty());
}

TEST(KeyByNameTest, TheListOfNamesHasEveryName)
{
    const std::string list = KeyNameListText();
    for (const NamedKey& entry : KeyNameTable())
        EXPECT_NE(list.find(std::string(entry.name)), std::string::npos) << entry.name;
    EXPECT_EQ(list.rfind("Esc, F1, ", 0), 0u) << list;
}

TEST(KeyByNameTest, ListsOfSomeKeysHoldOnlyThose)
{
    const auto names = [](KeyNameSet set) {
        std::vector<std::string> out;
        const std::string list = KeyNameListText(set) + ", ";
        for (size_t start = 0, end; (end = list.find(", ", start)) != std::string::npos; start = end + 2)
            out.push_back(list.substr(start, end - start));
        return out;
    };
    const auto has = [](const std::vector<std::string>& list, const char* name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    const auto layout = names(KeyNameSet::LayoutKeys);
    const auto assignable = names(KeyNameSet::Assignable);
    EXPECT_EQ(layout.size(), LayoutKeyCount);
    EXPECT_EQ(assignable.size(), LayoutKeyCount + GKeyCount);
    EXPECT_TRUE(has(layout, "NumEnter"));
    EXPECT_FALSE(has(layout, "G1"));
    EXPECT_FALSE(has(layout, "Fn"));
    EXPECT_TRUE(has(assignable, "G9"));
    EXPECT_FALSE(has(assignable, "Fn"));
}

}  // namespace
}  // namespace trevolin::keyboard
