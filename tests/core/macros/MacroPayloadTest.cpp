#include "core/keyboard/MacroKeyList.h"
#include "core/macros/MacroPayload.h"
#include "core/macros/MacroText.h"
#include "support/MapTextLookup.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace trevolin::macros {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint16_t LeftCtrl = 0x1D;
constexpr uint16_t KeyA = 0x1E;
constexpr uint16_t Pause = 0x45;
constexpr uint16_t Break = 0x146;
constexpr uint16_t RightButton = 0x172;
constexpr uint16_t WheelDown = 0x162;

MacroEvent Press(uint16_t key, uint32_t delay = 0)
{
    return {delay, key, MacroEvent::Press};
}

MacroEvent Release(uint16_t key, uint32_t delay = 0)
{
    return {delay, key, MacroEvent::Release};
}

Macro Make(std::u16string name, std::vector<MacroEvent> events, uint8_t playCount = 1)
{
    Macro m;
    m.name = std::move(name);
    m.events = std::move(events);
    m.playCount = playCount;
    return m;
}

void Put16(Bytes& b, size_t at, size_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

struct MacroPayloadTest : ::testing::Test {
    // The list as the profile image stores it: records back to back.
    Bytes stored;
    test::MapTextLookup texts{{"MACRO_NEW_PREFIX", "Macro "}};

    void Store(std::vector<Macro> list)
    {
        stored.assign(list.size() * Macro::Size, 0xEE);
        for (size_t i = 0; i < list.size(); ++i) {
            list[i].id = static_cast<uint16_t>(i + 1);
            list[i].Write(std::span(stored).subspan(i * Macro::Size, Macro::Size));
        }
    }

    // The payload at exactly the size the list needs.
    Bytes Encode(bool withNames)
    {
        const auto sizes = MacroPayloadSizes(stored);
        Bytes payload(withNames ? sizes.fullSize : sizes.bareSize, 0xEE);
        EXPECT_TRUE(EncodeMacroPayload(stored, payload, withNames));
        return payload;
    }

    std::vector<Macro> Decode(const Bytes& payload, size_t room, int expectedCount)
    {
        Bytes records(room * Macro::Size, 0xEE);
        const int count = DecodeMacroPayload(payload, records, texts);
        EXPECT_EQ(count, expectedCount);
        std::vector<Macro> macros;
        for (int i = 0; i < count; ++i)
            macros.push_back(Macro::Read(std::span(records).subspan(static_cast<size_t>(i) * Macro::Size)));
        return macros;
    }
};

TEST_F(MacroPayloadTest, EmptyListIsTheBareHeader)
{
    Store({});
    EXPECT_EQ(Encode(false), (Bytes{0xAA, 0x55, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Encode(true), (Bytes{0xAA, 0x55, 0x10, 0x00, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(MacroPayloadTest, FiveLetterNameWithLeftCtrlWithAndWithoutNames)
{
    Store({Make(u"Hello", {Press(LeftCtrl), Release(LeftCtrl)}, 3)});
    EXPECT_EQ(Encode(true), (Bytes{
                                0xAA, 0x55, 0x28, 0x00, 0x01, 0x00, 0x01, 0x00, 0,   0, 0, 0, 0, 0, 0, 0,  // total 40
                                0x12, 0x00,              // the record at 18
                                0x02, 0x00, 0x03, 0x05,  // two events, played 3 times, 5 name units
                                0x00, 0xA0, 0x01, 0x01,  // press: class 2, modifier bit 0x01
                                0x00, 0x20, 0x01, 0x01,  // release
                                'H',  0,    'e',  0,    'l',  0,    'l',  0,    'o', 0,
                            }));
    EXPECT_EQ(Encode(false),
              (Bytes{
                  0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0x00, 0x00, 0,    0,    0,    0,    0,    0,    0, 0,  // total 30
                  0x12, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0xA0, 0x01, 0x01, 0x00, 0x20, 0x01, 0x01,
              }));
}

TEST_F(MacroPayloadTest, EachEventIsFourBytesOfDelayClassPressAndCode)
{
    struct Case {
        const char* what;
        MacroEvent event;
        Bytes bytes;
    };
    const Case cases[] = {
        {"right mouse button press", Press(RightButton), {0x00, 0x90, 0x01, 0x02}},
        {"wheel-down release", Release(WheelDown), {0x00, 0x10, 0x05, 0xFF}},
        {"left mouse button", Press(0x171), {0x00, 0x90, 0x01, 0x01}},
        {"middle mouse button", Release(0x173), {0x00, 0x10, 0x01, 0x04}},
        {"wheel up", Press(0x161), {0x00, 0x90, 0x05, 0x01}},
        {"1234 ms become 123 units", Press(KeyA, 1234), {0x7B, 0xA0, 0x02, 0x04}},
        {"9 ms are no unit", Release(KeyA, 9), {0x00, 0x20, 0x02, 0x04}},
        {"40 950 ms are the most a delay holds", Press(KeyA, 40950), {0xFF, 0xAF, 0x02, 0x04}},
        {"41 000 ms are held at the most, not wrapped to 40 ms", Press(KeyA, 41000), {0xFF, 0xAF, 0x02, 0x04}},
        {"right Win", Press(0x15C), {0x00, 0xA0, 0x01, 0x80}},
        {"right Shift", Release(0x36), {0x00, 0x20, 0x01, 0x20}},
        {"Num Enter", Press(0x11C), {0x00, 0xA0, 0x02, 0x58}},
        {"Power, a system key", Press(0x15E), {0x00, 0xC0, 0x81, 0x00}},
        {"Sys Req, which the keyboard cannot send", Press(0x54), {0x00, 0x80, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Store({Make(u"", {c.event})});
        const Bytes payload = Encode(false);
        ASSERT_EQ(payload.size(), 26u) << c.what;
        EXPECT_EQ(Bytes(payload.begin() + 22, payload.end()), c.bytes) << c.what;
    }
}

TEST_F(MacroPayloadTest, SizesAndOffsetsCountEveryRecord)
{
    Store({Make(u"Hello", {Press(KeyA), Release(KeyA)}), Make(u"", {}), Make(u"Zwei", {Press(LeftCtrl)})});
    const auto sizes = MacroPayloadSizes(stored);
    EXPECT_EQ(sizes.bareSize, 16u + 6u + (4 + 8) + 4 + (4 + 4));
    EXPECT_EQ(sizes.fullSize, sizes.bareSize + 10 + 8);
    const Bytes withNames = Encode(true);
    EXPECT_EQ((Bytes{withNames[16], withNames[17], withNames[18], withNames[19], withNames[20], withNames[21]}),
              (Bytes{22, 0, 22 + 12 + 10, 0, 22 + 12 + 10 + 4, 0}));
}

TEST_F(MacroPayloadTest, EncoderWritesNothingIntoABufferThatCannotHoldThePayload)
{
    Store({Make(u"Hello", {Press(KeyA), Release(KeyA)})});
    const auto sizes = MacroPayloadSizes(stored);
    Bytes small(sizes.fullSize - 1, 0xEE);
    EXPECT_FALSE(EncodeMacroPayload(stored, small, true));
    EXPECT_EQ(small, Bytes(sizes.fullSize - 1, 0xEE));
    EXPECT_TRUE(EncodeMacroPayload(stored, small, false));  // fits without the name

    Bytes huge(0x10000, 0xEE);
    EXPECT_FALSE(EncodeMacroPayload(stored, huge, true));
    EXPECT_EQ(huge[0], 0xEE);

    // A larger buffer is sent whole, its size as the total, the rest zero.
    Bytes roomy(64, 0xEE);
    ASSERT_TRUE(EncodeMacroPayload(stored, roomy, false));
    EXPECT_EQ(roomy[2], 64);
    EXPECT_EQ(roomy[63], 0);
}

TEST_F(MacroPayloadTest, ReadBackMacrosAreNumberedByPositionAndNamedByDefault)
{
    std::vector<Macro> list;
    for (int i = 0; i < 5; ++i)
        list.push_back(Make(u"kept", {Press(KeyA, 1234), Release(KeyA)}, static_cast<uint8_t>(10 + i)));
    Store(list);
    const auto decoded = Decode(Encode(false), 5, 5);
    ASSERT_EQ(decoded.size(), 5u);
    EXPECT_EQ(decoded[4].id, 5);
    EXPECT_EQ(decoded[4].name, u"Macro 5");
    EXPECT_EQ(decoded[4].isNew, 0);
    EXPECT_EQ(decoded[4].playCount, 14);
    EXPECT_EQ(decoded[4].events, (std::vector<MacroEvent>{Press(KeyA, 1230), Release(KeyA)}));

    EXPECT_EQ(Decode(Encode(true), 5, 5)[4].name, u"kept");
}

TEST_F(MacroPayloadTest, RandomListsComeBackWithDelaysCutToTenMilliseconds)
{
    std::mt19937 random(20240611);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::vector<uint16_t> keys;
    for (size_t position = 0; position < keyboard::MacroKeyCount; ++position)
        keys.push_back(keyboard::MacroKeyScan(position));
    for (uint16_t mouse : {uint16_t{0x171}, uint16_t{0x172}, uint16_t{0x173}, uint16_t{0x161}, uint16_t{0x162}})
        keys.push_back(mouse);

    size_t breaks = 0;
    for (int round = 0; round < 30; ++round) {
        std::vector<Macro> list;
        const int count = pick(0, 8);
        for (int i = 0; i < count; ++i) {
            Macro m;
            const int nameLength = pick(0, 30);
            for (int u = 0; u < nameLength; ++u)
                m.name.push_back(static_cast<char16_t>(pick(0, 3) == 0 ? pick(0x4E00, 0x9FFF) : pick('A', 'z')));
            m.playCount = static_cast<uint8_t>(pick(1, 255));
            const int events = pick(0, 60);
            for (int e = 0; e < events; ++e) {
                m.events.push_back({static_cast<uint32_t>(pick(0, 40000)),
                                    keys[static_cast<size_t>(pick(0, static_cast<int>(keys.size()) - 1))],
                                    static_cast<uint16_t>(pick(0, 1))});
            }
            list.push_back(m);
        }
        Store(list);
        const auto decoded = Decode(Encode(true), list.size(), count);
        ASSERT_EQ(decoded.size(), list.size());
        for (size_t i = 0; i < list.size(); ++i) {
            const Macro& sent = list[i];
            const Macro& got = decoded[i];
            EXPECT_EQ(got.id, i + 1);
            EXPECT_EQ(got.playCount, sent.playCount);
            EXPECT_EQ(got.name, sent.name.empty() ? u"Macro " + Utf8ToUtf16(std::to_string(i + 1)) : sent.name);
            ASSERT_EQ(got.events.size(), sent.events.size());
            for (size_t e = 0; e < sent.events.size(); ++e) {
                MacroEvent expected = sent.events[e];
                expected.delayMs = expected.delayMs / 10 * 10;
                // Pause and Break share one keyboard code, which reads back as Pause.
                if (expected.keyCode == Break) {
                    expected.keyCode = Pause;
                    ++breaks;
                }
                EXPECT_EQ(got.events[e], expected) << "round " << round << " macro " << i << " event " << e;
            }
        }
    }
    EXPECT_GT(breaks, 0u) << "the seed no longer reaches the shared code";
}

// A payload of three named macros, broken in one place at a time.
TEST_F(MacroPayloadTest, BrokenAreasDecodeToTheirValidRecordsOrAnError)
{
    Store({Make(u"One", {Press(KeyA), Release(KeyA)}), Make(u"Two", {Press(LeftCtrl)}), Make(u"Three", {})});
    const Bytes good = Encode(true);
    const size_t total = good.size();
    ASSERT_EQ(total, 16u + 6u + (4 + 8 + 6) + (4 + 4 + 6) + (4 + 10));
    const size_t third = good[20];  // offset of the last record

    struct Case {
        const char* what;
        std::function<void(Bytes&)> breakIt;
        int expected;
    };
    const Case cases[] = {
        {"shorter than its header", [](Bytes& b) { b.resize(10); }, -1},
        {"a total beyond the bytes read", [](Bytes& b) { b.pop_back(); }, -1},
        {"a total below the header", [](Bytes& b) { Put16(b, 2, 8); }, -1},
        {"more macros than a list holds",
         [](Bytes& b) {
             b.resize(300, 0);
             Put16(b, 2, 300);
             Put16(b, 4, 101);
         },
         -1},
        {"a count larger than the table the total holds", [](Bytes& b) { Put16(b, 4, 30); }, -1},
        {"no magic", [](Bytes& b) { Put16(b, 0, 0x55AB); }, 0},
        {"an offset beyond the data", [&](Bytes& b) { Put16(b, 18, total); }, 1},
        {"an offset far beyond the data", [](Bytes& b) { Put16(b, 18, 0xFFFF); }, 1},
        {"an offset into the header", [](Bytes& b) { Put16(b, 18, 4); }, 1},
        {"an offset into the offset table", [](Bytes& b) { Put16(b, 16, 18); }, 0},
        {"a record header cut by the total", [&](Bytes& b) { Put16(b, 20, total - 2); }, 2},
        {"events running past the end", [&](Bytes& b) { Put16(b, third, 3); }, 2},
        {"more events than a macro holds", [&](Bytes& b) { Put16(b, third, 0xFFFF); }, 2},
        {"a name running past the end", [&](Bytes& b) { b[third + 3] = 6; }, 2},
    };
    for (const auto& c : cases) {
        Bytes broken = good;
        c.breakIt(broken);
        broken.shrink_to_fit();  // nothing past the bytes "read" to hide an overrun
        const auto decoded = Decode(broken, 3, c.expected);
        for (size_t i = 0; i < decoded.size(); ++i)
            EXPECT_EQ(decoded[i].events.size(), std::vector<size_t>({2, 1, 0})[i]) << c.what;
        if (HasFailure())
            ADD_FAILURE() << "case: " << c.what;
    }

    // A record that fits its bytes but claims more events than a macro holds.
    Bytes tooLong(16 + 2 + 4 + 4 * (Macro::MaxEvents + 1), 0);
    Put16(tooLong, 0, 0x55AA);
    Put16(tooLong, 2, tooLong.size());
    Put16(tooLong, 4, 1);
    Put16(tooLong, 16, 18);
    Put16(tooLong, 18, Macro::MaxEvents + 1);
    Decode(tooLong, 1, 0);

    // Room for fewer records than the area holds: only those are written.
    Bytes one(Macro::Size + 10, 0xEE);
    EXPECT_EQ(DecodeMacroPayload(good, one, texts), 1);
    EXPECT_EQ(one[Macro::Size], 0xEE);
}

}  // namespace
}  // namespace trevolin::macros
