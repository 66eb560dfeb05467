#include "core/device/FactoryKeymap.h"
#include "core/keyboard/KeyCodeTable.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/KeyNumber.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace trevolin::keys {
namespace {

// In the built-in default key map the Esc key (key number 1) sits at
// position 8, 02 02 29.
constexpr size_t EscPosition = 8;
constexpr size_t EscEntry = 0x01;
constexpr ActionCode EscDefault{0x02, 0x02, 0x29};

const KeyMapBlock& BuiltInMap()
{
    return device::BuiltInFactoryKeymap();
}

KeyAction Act(uint16_t kind, uint32_t value = 0)
{
    KeyAction action;
    action.kind = kind;
    action.value = value;
    return action;
}

// A keyboard whose macro list is long enough for every macro number.
constexpr size_t AllMacroNumbers = 256;

// Macro ids 7 and 2 are at list positions 3 and 0; no other id exists.
uint32_t TwoMacros(uint16_t id)
{
    return id == 7 ? 3u : 0u;
}

KeyMapBlock WithCode(KeyMapBlock block, size_t position, ActionCode code)
{
    block[position * 3] = code.actionClass;
    block[position * 3 + 1] = code.sub;
    block[position * 3 + 2] = code.data;
    return block;
}

std::string Hex(ActionCode code)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", code.actionClass, code.sub, code.data);
    return text;
}

TEST(KeyMapEncode, EachKindAtTheKeysPosition)
{
    struct Case {
        const char* what;
        KeyAction action;
        ActionCode sent;
    };
    const Case cases[] = {
        {"default", Act(KeyAction::Default), EscDefault},
        {"disabled", Act(KeyAction::Disabled), {0x00, 0x00, 0x00}},
        {"left Shift", Act(KeyAction::Key, 0x2A), {0x02, 0x01, 0x02}},
        {"right Win", Act(KeyAction::Key, 0x15C), {0x02, 0x01, 0x80}},
        {"right Alt", Act(KeyAction::Key, 0x138), {0x02, 0x01, 0x40}},
        {"A", Act(KeyAction::Key, 0x1E), {0x02, 0x02, 0x04}},
        {"keypad Enter", Act(KeyAction::Key, 0x11C), {0x02, 0x02, 0x58}},
        {"Break sends Pause's usage", Act(KeyAction::Key, 0x146), {0x02, 0x02, 0x48}},
        {"left button", Act(KeyAction::Key, 0x171), {0x01, 0x01, 0x01}},
        {"right button", Act(KeyAction::Key, 0x172), {0x01, 0x01, 0x02}},
        {"middle button", Act(KeyAction::Key, 0x173), {0x01, 0x01, 0x04}},
        {"wheel up", Act(KeyAction::Key, 0x161), {0x01, 0x05, 0x01}},
        {"wheel down", Act(KeyAction::Key, 0x162), {0x01, 0x05, 0xFF}},
        {"power is no keyboard key", Act(KeyAction::Key, 0x15E), {0x02, 0x02, 0x00}},
        {"Sys Req has no usage", Act(KeyAction::Key, 0x54), {0x02, 0x02, 0x00}},
        {"key code past the table", Act(KeyAction::Key, 0x10000), {0x02, 0x02, 0x00}},
        {"launch program keeps the default", Act(KeyAction::LaunchProgram, 0x40), EscDefault},
        {"macro id 7", Act(KeyAction::Macro, 7), {0x05, 0x01, 0x03}},
        {"deleted macro plays macro number 0", Act(KeyAction::Macro, 9), {0x05, 0x01, 0x00}},
        {"stop macro", Act(KeyAction::StopMacro), {0x05, 0x02, 0x00}},
        {"text block", Act(KeyAction::TextBlock, 0x40), {0x00, 0x00, 0x00}},
        {"mute", Act(KeyAction::Media, 7), {0x03, 0xE2, 0x00}},
        {"media player", Act(KeyAction::Media, 0), {0x03, 0x83, 0x01}},
        {"mail", Act(KeyAction::Media, 17), {0x03, 0x8A, 0x01}},
        {"media index past the table keeps the default", Act(KeyAction::Media, 18), EscDefault},
        {"function 7", Act(KeyAction::Function, 7), {0x05, 0x05, 0x07}},
        {"function sends its low byte", Act(KeyAction::Function, 0x107), {0x05, 0x05, 0x07}},
        {"unknown kind keeps the default", Act(9, 0x1E), EscDefault},
    };
    for (const Case& c : cases) {
        KeyBlock actions{};
        actions[EscEntry] = c.action;
        const KeyMapBlock block = EncodeKeyMapBlock(actions, BuiltInMap(), TwoMacros);
        EXPECT_EQ(Hex(ActionCodeAt(block, EscPosition)), Hex(c.sent)) << c.what;
        // Nothing else moves.
        EXPECT_EQ(WithCode(block, EscPosition, EscDefault), BuiltInMap()) << c.what;
    }
}

TEST(KeyMapEncode, PositionsThatNameNoKeyAndTheTailKeepTheDefault)
{
    // A default map whose tail is not zero, and codes that name no key.
    KeyMapBlock defaultMap = BuiltInMap();
    for (size_t i = KeyMapPositionCount * 3; i < KeyMapBlockSize; ++i)
        defaultMap[i] = static_cast<uint8_t>(i);
    defaultMap = WithCode(defaultMap, 100, {0x06, 0xA2, 0x00});
    defaultMap = WithCode(defaultMap, 101, {0x07, 0x02, 0x04});
    defaultMap = WithCode(defaultMap, 102, {0x01, 0x01, 0x03});

    KeyBlock everythingDisabled{};
    everythingDisabled.fill(Act(KeyAction::Disabled));
    const KeyMapBlock block = EncodeKeyMapBlock(everythingDisabled, defaultMap, nullptr);

    for (size_t position = 0; position < KeyMapPositionCount; ++position) {
        const ActionCode defaultCode = ActionCodeAt(defaultMap, position);
        const ActionCode expected = DecodeActionCode(defaultCode) == 0 ? defaultCode : ActionCode{};
        EXPECT_EQ(Hex(ActionCodeAt(block, position)), Hex(expected)) << position;
    }
    EXPECT_TRUE(std::equal(block.begin() + 378, block.end(), defaultMap.begin() + 378));
}

TEST(KeyMapEncode, WithoutAMacroListEveryMacroIsNumberZero)
{
    KeyBlock actions{};
    actions[EscEntry] = Act(KeyAction::Macro, 7);
    EXPECT_EQ(Hex(ActionCodeAt(EncodeKeyMapBlock(actions, BuiltInMap(), nullptr), EscPosition)), "05 01 00");
    // A position that cannot be a byte is no macro the keyboard could play.
    const auto farAway = [](uint16_t) { return 256u; };
    EXPECT_EQ(Hex(ActionCodeAt(EncodeKeyMapBlock(actions, BuiltInMap(), farAway), EscPosition)), "05 01 00");
}

TEST(KeyMapDecode, EachCodeAtTheKeysPosition)
{
    // Codes the program cannot show keep the kind and value a reader
    // without raw codes takes from them, and the code itself.
    struct Case {
        const char* what;
        ActionCode read;
        uint16_t kind;
        uint32_t value;
        bool raw = false;
    };
    const Case cases[] = {
        {"the default code", EscDefault, KeyAction::Default, 0},
        {"wheel down", {0x01, 0x05, 0xFF}, KeyAction::Key, 0x162},
        {"wheel up", {0x01, 0x05, 0x01}, KeyAction::Key, 0x161},
        {"right button", {0x01, 0x01, 0x02}, KeyAction::Key, 0x172},
        {"mouse code without a key", {0x01, 0x03, 0x01}, KeyAction::Key, 0, true},
        {"A", {0x02, 0x02, 0x04}, KeyAction::Key, 0x1E},
        {"usage without a key", {0x02, 0x02, 0x01}, KeyAction::Disabled, 0, true},
        {"usage 0", {0x02, 0x02, 0x00}, KeyAction::Disabled, 0, true},
        {"right Win", {0x02, 0x01, 0x80}, KeyAction::Key, 0x15C},
        {"class 2, other sub", {0x02, 0x03, 0x01}, KeyAction::Disabled, 0, true},
        {"macro number 3 is id 4", {0x05, 0x01, 0x03}, KeyAction::Macro, 4},
        {"macro number 255", {0x05, 0x01, 0xFF}, KeyAction::Macro, 256},
        {"stop macro", {0x05, 0x02, 0x00}, KeyAction::StopMacro, 0},
        {"function 7", {0x05, 0x05, 0x07}, KeyAction::Function, 7},
        {"class 5, other sub", {0x05, 0x07, 0x00}, KeyAction::Disabled, 0, true},
        {"mute", {0x03, 0xE2, 0x00}, KeyAction::Media, 7},
        {"mail", {0x03, 0x8A, 0x01}, KeyAction::Media, 17},
        {"consumer usage not in the media table", {0x03, 0x34, 0x12}, KeyAction::Disabled, 0, true},
        {"disabled", {0x00, 0x00, 0x00}, KeyAction::Disabled, 0},
        {"system key", {0x04, 0x81, 0x00}, KeyAction::Disabled, 0, true},
        {"G key", {0x06, 0xA2, 0x01}, KeyAction::Disabled, 0, true},
        {"unknown class", {0x09, 0x01, 0x01}, KeyAction::Disabled, 0, true},
    };
    for (const Case& c : cases) {
        const KeyBlock actions =
            DecodeKeyMapBlock(WithCode(BuiltInMap(), EscPosition, c.read), BuiltInMap(), AllMacroNumbers);
        EXPECT_EQ(actions[EscEntry].kind, c.kind) << c.what;
        EXPECT_EQ(actions[EscEntry].value, c.value) << c.what;
        EXPECT_EQ(actions[EscEntry], c.raw ? RawKeyAction(c.read) : Act(c.kind, c.value)) << c.what;
        KeyBlock others = actions;
        others[EscEntry] = {};
        KeyBlock fresh{};
        PutGKeyMarkers(fresh);
        EXPECT_EQ(others, fresh) << c.what;
    }
}

TEST(KeyMapDecode, PositionsWhoseDefaultNamesNoKeyAreIgnored)
{
    // Positions 0 to 7 hold 05 00 00 and 00 00 00, 53 holds 05 02 02, 63 on
    // are zero: whatever the keyboard has there belongs to no key.
    KeyMapBlock read = BuiltInMap();
    for (size_t position : {0, 5, 6, 7, 53, 63, 125})
        read = WithCode(read, position, {0x02, 0x02, 0x04});
    for (size_t i = 378; i < KeyMapBlockSize; ++i)
        read[i] = 0x5A;
    KeyBlock fresh{};
    PutGKeyMarkers(fresh);
    EXPECT_EQ(DecodeKeyMapBlock(read, BuiltInMap(), AllMacroNumbers), fresh);
}

TEST(KeyMapDecode, GKeyEntriesKeepTheirMarkers)
{
    KeyMapBlock defaultMap{};
    defaultMap = WithCode(defaultMap, 0, {0x06, 0xA2, 1});   // G1, bank 0: entry 256
    defaultMap = WithCode(defaultMap, 1, {0x06, 0xA2, 10});  // G1, bank 1: entry 265
    const KeyMapBlock read = WithCode(WithCode(defaultMap, 0, {0x05, 0x01, 0x00}), 1, {0x05, 0x05, 0x02});

    const KeyBlock actions = DecodeKeyMapBlock(read, defaultMap, AllMacroNumbers);
    EXPECT_EQ(actions[256].kind, KeyAction::Macro);
    EXPECT_EQ(actions[256].value, 1u);
    EXPECT_EQ(actions[256].extra, 0x301);
    EXPECT_EQ(actions[265].kind, KeyAction::Function);
    EXPECT_EQ(actions[265].value, 2u);
    EXPECT_EQ(actions[265].extra, 0x1301);

    // And the encoder finds the same entries.
    KeyBlock assigned{};
    assigned[256] = Act(KeyAction::StopMacro);
    assigned[265] = Act(KeyAction::Key, 0x1E);
    const KeyMapBlock sent = EncodeKeyMapBlock(assigned, defaultMap, nullptr);
    EXPECT_EQ(Hex(ActionCodeAt(sent, 0)), "05 02 00");
    EXPECT_EQ(Hex(ActionCodeAt(sent, 1)), "02 02 04");
}

TEST(KeyMapDecode, CodesTheProgramCannotShowAreKeptAndSentBackUnchanged)
{
    // The keyboard holds 3 macros, numbers 0 to 2.
    constexpr size_t MacroCount = 3;
    struct Case {
        const char* what;
        ActionCode code;
        bool raw;
    };
    const Case cases[] = {
        {"power key", {0x04, 0x81, 0x00}, true},
        {"consumer usage outside the media list", {0x03, 0x34, 0x12}, true},
        {"several mouse buttons at once", {0x01, 0x01, 0x07}, true},
        {"macro number past the list", {0x05, 0x01, 0x09}, true},
        {"the first number past the list", {0x05, 0x01, 0x03}, true},
        {"the last macro of the list", {0x05, 0x01, 0x02}, false},
        {"two modifiers at once", {0x02, 0x01, 0x03}, true},
        {"a function past the eleven", {0x05, 0x05, 0x20}, true},
        {"stop macro with data", {0x05, 0x02, 0x07}, true},
        {"G key code", {0x06, 0xA2, 0x03}, true},
        {"A", {0x02, 0x02, 0x04}, false},
        {"disabled", {0x00, 0x00, 0x00}, false},
    };
    // Macro ids are positions + 1, as they are read back.
    const auto positionOfId = [](uint16_t id) { return id > 0 ? id - 1u : 0u; };
    for (const Case& c : cases) {
        const KeyBlock read = DecodeKeyMapBlock(WithCode(BuiltInMap(), EscPosition, c.code), BuiltInMap(), MacroCount);
        EXPECT_EQ(RawCodeOf(read[EscEntry]).has_value(), c.raw) << c.what;
        // What other keys do is encoded anew; this key goes back as it was.
        KeyBlock edited = read;
        edited[0x1E] = Act(KeyAction::Key, 0x30);
        const KeyMapBlock sent = EncodeKeyMapBlock(edited, BuiltInMap(), positionOfId);
        EXPECT_EQ(Hex(ActionCodeAt(sent, EscPosition)), Hex(c.code)) << c.what;
    }
}

TEST(KeyMapDecode, ARawEntryChangedByAnotherProgramIsThatChange)
{
    // A program that does not know raw codes changes kind and value and
    // carries the last four bytes along: its change is what counts.
    KeyAction changed = RawKeyAction({0x04, 0x81, 0x00});
    ASSERT_EQ(changed.kind, KeyAction::Disabled);
    changed.kind = KeyAction::Key;
    changed.value = 0x1E;
    EXPECT_FALSE(RawCodeOf(changed));
    KeyBlock actions{};
    actions[EscEntry] = changed;
    EXPECT_EQ(Hex(ActionCodeAt(EncodeKeyMapBlock(actions, BuiltInMap(), nullptr), EscPosition)), "02 02 04");

    // Four bytes that only look like a raw code's are no raw code either.
    KeyAction stray = Act(KeyAction::Key, 0x1E);
    stray.reserved = uint32_t{RawMarker} << 24 | 0x008104;
    EXPECT_FALSE(RawCodeOf(stray));
}

TEST(KeyMapRoundTrip, WhatTheKeyboardCannotHoldComesBackAsItHoldsIt)
{
    struct Case {
        const char* what;
        KeyAction stored;
        KeyAction readBack;
    };
    const Case cases[] = {
        {"a key given its own key", Act(KeyAction::Key, 0x01), Act(KeyAction::Default)},
        {"launch program", Act(KeyAction::LaunchProgram, 0x40), Act(KeyAction::Default)},
        {"text block", Act(KeyAction::TextBlock, 0x40), Act(KeyAction::Disabled)},
        {"Break", Act(KeyAction::Key, 0x146), Act(KeyAction::Key, 0x45)},
        // The program would send right Shift as its modifier bit, so the
        // usage code stays as the keyboard holds it.
        {"right Shift's twin row", Act(KeyAction::Key, 0x136), RawKeyAction({0x02, 0x02, 0xE5})},
        {"power sends usage 0, which is kept", Act(KeyAction::Key, 0x15E), RawKeyAction({0x02, 0x02, 0x00})},
        {"function past a byte", Act(KeyAction::Function, 0x107), Act(KeyAction::Function, 7)},
        {"deleted macro", Act(KeyAction::Macro, 9), Act(KeyAction::Macro, 1)},
        {"media index past the table", Act(KeyAction::Media, 18), Act(KeyAction::Default)},
    };
    for (const Case& c : cases) {
        KeyBlock actions{};
        actions[EscEntry] = c.stored;
        const KeyBlock back =
            DecodeKeyMapBlock(EncodeKeyMapBlock(actions, BuiltInMap(), TwoMacros), BuiltInMap(), AllMacroNumbers);
        EXPECT_EQ(back[EscEntry], c.readBack) << c.what;
    }
}

// A default map with every kind of key the keyboard's own map can name: the
// built-in positions, the 18 G keys, a media key, a system key and a mouse
// button, no two positions on the same key.
KeyMapBlock FullDefaultMap()
{
    KeyMapBlock map = BuiltInMap();
    size_t position = 63;
    for (uint8_t n = 1; n <= 18; ++n)
        map = WithCode(map, position++, {0x06, 0xA2, n});
    map = WithCode(map, position++, {0x03, 0xE9, 0x00});  // volume up
    map = WithCode(map, position++, {0x04, 0x82, 0x00});  // sleep
    map = WithCode(map, position++, {0x01, 0x01, 0x01});  // left button
    for (size_t i = 378; i < KeyMapBlockSize; ++i)
        map[i] = static_cast<uint8_t>(0xC3 ^ i);
    return map;
}

// Every key code a kind 2 action can carry and get back: the modifiers, the
// mouse and wheel codes, and of the keys with a keyboard usage the first
// one with that usage (the others share it, like Break with Pause).
std::vector<uint16_t> KeyCodesTheEncodingHolds()
{
    std::vector<uint16_t> codes = {0x1D,  0x2A,  0x38,  0x15B, 0x11D, 0x36, 0x138,
                                   0x15C, 0x171, 0x172, 0x173, 0x161, 0x162};
    std::set<uint8_t> usages;
    for (uint32_t index = 0; index < keyboard::KeyCodeRowCount; ++index) {
        const uint8_t usage = keyboard::KeyCodeRow(index).deviceCode;
        const bool keyboardUsage =
            usage != 0 && usage != 0xFF && !(usage >= 0x81 && usage <= 0x83) && !(usage >= 0xF1 && usage <= 0xF8);
        const uint16_t scan = keyboard::IndexToScan(index);
        if (keyboardUsage && usages.insert(usage).second && ModifierBitOf(scan) == 0)
            codes.push_back(scan);
    }
    return codes;
}

TEST(KeyMapRoundTrip, RandomTableComesBackAsFarAsTheKeyboardHoldsIt)
{
    const KeyMapBlock defaultMap = FullDefaultMap();
    std::map<size_t, uint16_t> keyOfEntry;  // every entry that controls a position
    for (size_t position = 0; position < KeyMapPositionCount; ++position) {
        const uint16_t keyCode = DecodeActionCode(ActionCodeAt(defaultMap, position));
        if (keyCode != 0) {
            ASSERT_TRUE(keyOfEntry.emplace(KeyNumberOf(keyCode), keyCode).second) << position;
        }
    }
    // 45 keys of the built-in map, the G keys and the three added keys.
    ASSERT_EQ(keyOfEntry.size(), 45u + 18u + 3u);

    const std::vector<uint16_t> keyCodes = KeyCodesTheEncodingHolds();
    const auto macroPosition = [](uint16_t id) { return id >= 1 && id <= 100 ? id - 1u : 0u; };
    std::mt19937 rng(20240611);
    const auto pick = [&rng](size_t n) { return static_cast<uint32_t>(rng() % n); };
    std::map<int, int> kindsSeen;

    KeyTable table = KeyTable::New();
    for (size_t profile = 0; profile < KeyTableProfileCount; ++profile) {
        for (int round = 0; round < 20; ++round) {
            KeyBlock& block = *table.Block(profile);
            for (auto& [entry, ownKey] : keyOfEntry) {
                static constexpr uint16_t Kinds[] = {0, 1, 2, 2, 2, 4, 5, 7, 8};
                KeyAction action;
                action.kind = Kinds[pick(std::size(Kinds))];
                switch (action.kind) {
                case KeyAction::Key:
                    action.value = keyCodes[pick(keyCodes.size())];
                    break;
                case KeyAction::Macro:
                    action.value = 1 + pick(100);
                    break;
                case KeyAction::Media:
                    action.value = pick(MediaFunctionCount);
                    break;
                case KeyAction::Function:
                    action.value = pick(256);
                    break;
                default:
                    break;
                }
                // A key given its own function is at its default.
                if ((action.kind == KeyAction::Key && action.value == ownKey) ||
                    (action.kind == KeyAction::Media && MediaKeyCode(action.value) == ownKey))
                    action = KeyAction{};
                // What the keyboard does not hold.
                action.extra = static_cast<uint16_t>(rng());
                action.selectionFlag = static_cast<uint32_t>(rng());
                // (but not the marker of a code kept raw, which the keyboard
                // is sent)
                do
                    action.reserved = static_cast<uint32_t>(rng());
                while (action.reserved >> 24 == RawMarker);
                block[entry] = action;
                ++kindsSeen[action.kind];
            }

            const KeyMapBlock sent = EncodeKeyMapBlock(block, defaultMap, macroPosition);
            EXPECT_TRUE(std::equal(sent.begin() + 378, sent.end(), defaultMap.begin() + 378));
            const KeyBlock back = DecodeKeyMapBlock(sent, defaultMap, AllMacroNumbers);

            for (size_t entry = 0; entry < KeyBlockEntryCount; ++entry) {
                KeyAction expected;
                if (keyOfEntry.count(entry)) {
                    expected.kind = block[entry].kind;
                    expected.value = block[entry].value;
                    // The keyboard holds function numbers the program does
                    // not know; they come back as the code they are.
                    if (expected.kind == KeyAction::Function && expected.value >= KeyboardFunctionCount)
                        expected = RawKeyAction({0x05, 0x05, static_cast<uint8_t>(expected.value)});
                }
                expected.extra = GKeyMarker(entry);
                ASSERT_EQ(back[entry], expected) << "profile " << profile << " round " << round << " entry " << entry
                                                 << " kind " << block[entry].kind << " value " << block[entry].value;
            }
        }
    }
    for (int kind : {0, 1, 2, 4, 5, 7, 8})
        EXPECT_GT(kindsSeen[kind], 50) << kind;
}

TEST(KeyMapPositions, OnlyKeysTheDefaultMapPlacesHaveAPosition)
{
    const KeyMapBlock full = FullDefaultMap();
    EXPECT_TRUE(KeyHasPosition(BuiltInMap(), EscEntry));
    EXPECT_TRUE(KeyHasPosition(BuiltInMap(), 0x1E));    // A
    EXPECT_FALSE(KeyHasPosition(BuiltInMap(), 0x47));   // keypad 7
    EXPECT_FALSE(KeyHasPosition(BuiltInMap(), 0x9C));   // keypad Enter
    EXPECT_FALSE(KeyHasPosition(BuiltInMap(), 0x100));  // G1: the built-in map has no G keys
    EXPECT_TRUE(KeyHasPosition(full, 0x100));
    EXPECT_TRUE(KeyHasPosition(full, 0x111));  // G9 of bank b
    EXPECT_FALSE(KeyHasPosition(full, 0x112));
    // Positions whose default names no key place none.
    EXPECT_FALSE(KeyHasPosition(KeyMapBlock{}, 0));
}

}  // namespace
}  // namespace trevolin::keys
