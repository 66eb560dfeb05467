#include "core/keyboard/EvdevKeyTable.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keyboard/KeyConversions.h"
#include "core/keyboard/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace trevolin::keyboard {
namespace {

TEST(KeyboardLayout, ControlIdsAreDistinctAcrossAllKeyButtons)
{
    std::set<uint16_t> ids(GKeyControlIds().begin(), GKeyControlIds().end());
    ids.insert(FnKeyControlId);
    for (const LayoutKey& key : LayoutKeys())
        ids.insert(key.controlId);
    EXPECT_EQ(ids.size(), LayoutKeyCount + GKeyCount + 1);
}

TEST(KeyboardLayout, LayoutKeysAreThePhysicalKeysOfTheKeyCodeTable)
{
    // Every physical key id except Break (Ctrl+Pause, not a key of its own)
    // appears once, and the key number is the scan value's row.
    std::set<uint16_t> keyIds;
    for (const LayoutKey& key : LayoutKeys()) {
        EXPECT_EQ(key.keyNumber, ScanToIndex(key.scan)) << key.controlId;
        EXPECT_LT(key.keyNumber, 0x100) << key.controlId;
        EXPECT_FALSE(KeyCodeOfScan(key.scan).languageKey.empty()) << key.controlId;
        EXPECT_NE(ScanFromKeyId(KeyIdFromScan(key.scan)), 0) << key.controlId;
        keyIds.insert(KeyIdFromScan(key.scan));
    }
    std::set<uint16_t> physical;
    for (uint16_t id = 0; id <= 0x69; ++id) {
        if (id != 0x42)
            physical.insert(id);
    }
    EXPECT_EQ(keyIds, physical);
}

TEST(KeyboardLayout, EveryLayoutKeyCanBeRecognisedFromLinuxKeyEvents)
{
    std::set<uint16_t> fromEvdev;
    for (const EvdevKey& key : EvdevKeys())
        fromEvdev.insert(key.scan);
    for (const LayoutKey& key : LayoutKeys())
        EXPECT_TRUE(fromEvdev.count(key.scan)) << std::hex << key.scan;
}

TEST(KeyboardLayout, LightPositionsAreDistinctSlotsOfTheColourPage)
{
    std::set<uint8_t> lights = {FnKeyLight, GKeyLight};
    std::vector<std::string> unlit;
    for (const LayoutKey& key : LayoutKeys()) {
        if (!HasLight(key.light)) {
            EXPECT_EQ(key.light, NoLight) << key.controlId;
            unlit.emplace_back(key.caption);
            continue;
        }
        EXPECT_TRUE(lights.insert(key.light).second) << "light " << int(key.light) << " used twice";
    }
    EXPECT_EQ(unlit, (std::vector<std::string>{"Pause", "Insert", "Delete", "Home", "End", "Page Up", "Page Down",
                                               "Scroll", "K45"}));
    EXPECT_TRUE(HasLight(143));
    EXPECT_FALSE(HasLight(144));
    EXPECT_FALSE(HasLight(NoLight));
}

TEST(KeyboardLayout, EachLightRowStartsAtItsFirstKey)
{
    // Rows of 17: Esc, the backquote key, Tab, Caps Lock, left Shift, left Ctrl.
    const std::map<uint16_t, uint8_t> rowStarts = {
        {0x01, 0}, {0x29, 17}, {0x0F, 34}, {0x3A, 51}, {0x2A, 68}, {0x1D, 85},
    };
    for (const LayoutKey& key : LayoutKeys()) {
        const auto it = rowStarts.find(key.scan);
        if (it != rowStarts.end()) {
            EXPECT_EQ(key.light, it->second) << key.caption;
        }
    }
}

TEST(KeyboardLayout, FindKeyByControlId)
{
    EXPECT_EQ(FindKeyByControlId(1000), (KeyRef{KeyKind::GKey, 0}));
    EXPECT_EQ(FindKeyByControlId(1143), (KeyRef{KeyKind::GKey, 8}));
    EXPECT_EQ(FindKeyByControlId(1058), (KeyRef{KeyKind::Layout, 0}));
    EXPECT_EQ(FindKeyByControlId(1199), (KeyRef{KeyKind::Layout, 104}));
    EXPECT_EQ(FindKeyByControlId(1174), std::nullopt);  // Fn is no assignable key
    EXPECT_EQ(FindKeyButton(1174), (KeyRef{KeyKind::Fn, 0}));
    for (uint32_t id : {0u, 999u, 1005u, 1167u, 1200u, 0x10000u + 1058u}) {
        EXPECT_EQ(FindKeyByControlId(id), std::nullopt) << id;
        EXPECT_EQ(FindKeyButton(id), std::nullopt) << id;
    }
}

TEST(KeyboardLayout, KeyNumberOfControl)
{
    struct Case {
        uint32_t controlId;
        bool bankB;
        std::optional<uint16_t> expected;
    };
    const Case cases[] = {
        // clang-format off
        {1058, false, 0x1E},   // A
        {1091, false, 0xB7},   // Print
        {1118, false, 0x9C},   // keypad Enter
        {1104, true, 0xC5},    // Num Lock; the bank is for G keys only
        {1000, false, 0x100},  // G1
        {1000, true, 0x109},
        {1143, false, 0x108},  // G9
        {1143, true, 0x111},
        {1174, false, std::nullopt},  // Fn
        {4242, false, std::nullopt},
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyNumberOfControl(c.controlId, c.bankB), c.expected) << c.controlId << " " << c.bankB;
    EXPECT_EQ(GKeyNumber(9, false), 0);
}

TEST(KeyboardLayout, LightPositionOfControl)
{
    EXPECT_EQ(LightPositionOfControl(1022), 0);        // Esc
    EXPECT_EQ(LightPositionOfControl(1093), NoLight);  // Pause
    EXPECT_EQ(LightPositionOfControl(1000), GKeyLight);
    EXPECT_EQ(LightPositionOfControl(1143), GKeyLight);
    EXPECT_EQ(LightPositionOfControl(FnKeyControlId), FnKeyLight);
    EXPECT_EQ(LightPositionOfControl(4242), std::nullopt);
}

TEST(KeyboardLayout, SkinNames)
{
    EXPECT_EQ(SkinNameOf(*FindKeyButton(1058)), "KEY_01E");
    EXPECT_EQ(SkinNameOf(*FindKeyButton(1091)), "KEY_0B7");
    EXPECT_EQ(SkinNameOf(*FindKeyButton(1022)), "KEY_001");
    EXPECT_EQ(SkinNameOf(*FindKeyButton(1000)), "FUNC_G1");
    EXPECT_EQ(SkinNameOf(*FindKeyButton(1143)), "FUNC_G9");
    EXPECT_EQ(SkinNameOf(*FindKeyButton(FnKeyControlId)), "KEY_FN");
    EXPECT_EQ(SkinNameOf(KeyRef{KeyKind::GKey, 9}), "");
    EXPECT_EQ(SkinNameOf(KeyRef{KeyKind::Layout, 105}), "");

    std::set<std::string> names;
    ForEachKey([&](KeyRef key) { EXPECT_TRUE(names.insert(SkinNameOf(key)).second) << SkinNameOf(key); },
               FnKeyVisit::Last);
}

TEST(KeyboardLayout, ForEachKeyVisitsLayoutOrderThenGKeysThenFn)
{
    std::vector<uint16_t> visited;
    ForEachKey([&](KeyRef key) { visited.push_back(ControlIdOf(key)); });
    ASSERT_EQ(visited.size(), LayoutKeyCount + GKeyCount);
    for (size_t position = 0; position < LayoutKeyCount; ++position)
        EXPECT_EQ(visited[position], LayoutKeys()[position].controlId);
    for (size_t g = 0; g < GKeyCount; ++g)
        EXPECT_EQ(visited[LayoutKeyCount + g], GKeyControlIds()[g]);

    visited.clear();
    ForEachKey([&](KeyRef key) { visited.push_back(ControlIdOf(key)); }, FnKeyVisit::Last);
    ASSERT_EQ(visited.size(), LayoutKeyCount + GKeyCount + 1);
    EXPECT_EQ(visited.back(), FnKeyControlId);
}

TEST(KeyboardLayout, OnlyTheFirstFiveGKeysStartEnabled)
{
    for (size_t g = 0; g < GKeyCount; ++g)
        EXPECT_EQ(GKeyEnabledAtStart(g), g < 5) << g;
}

}  // namespace
}  // namespace trevolin::keyboard
