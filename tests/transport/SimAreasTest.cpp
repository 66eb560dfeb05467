// The keyboard's memory areas through their commands: round trips, bounds,
// the information block, the factory contents and the model settings.
#include "SimTestSupport.h"

#include <algorithm>
#include <set>

namespace simtest {
namespace {

class SimAreasTest : public SimKeyboardTest {};

struct AreaCase {
    const char* name;
    uint8_t readCommand, writeCommand;
    size_t size;
    int32_t area;
};

const AreaCase kAreas[] = {
    {"lighting", 5, 6, 126, QL_SIM_AREA_LIGHTING},
    {"key maps", 7, 8, 1536, QL_SIM_AREA_KEYMAPS},
    {"macro area", 9, 10, 64 * 128, QL_SIM_AREA_MACRO},
    {"key colours", 16, 17, 1536, QL_SIM_AREA_KEY_COLORS},
};

std::vector<uint8_t> pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

TEST_F(SimAreasTest, EachAreaReadsBackWhatWasWritten)
{
    for (const AreaCase& a : kAreas) {
        SCOPED_TRACE(a.name);
        ASSERT_EQ(kb().QlSimAreaSize(a.area), static_cast<int32_t>(a.size));
        const std::vector<uint8_t> bytes = pattern(a.size, a.readCommand);
        ASSERT_TRUE(writeBytes(a.writeCommand, 0, bytes));
        std::vector<uint8_t> back;
        ASSERT_TRUE(readBytes(a.readCommand, 0, a.size, back));
        EXPECT_EQ(back, bytes);
        EXPECT_EQ(area(a.area), bytes);
    }
}

TEST_F(SimAreasTest, WritesOutsideAnAreaAreRefusedWhole)
{
    for (const AreaCase& a : kAreas) {
        SCOPED_TRACE(a.name);
        const std::vector<uint8_t> before = area(a.area);
        const uint8_t data[4] = {1, 2, 3, 4};
        const auto last = static_cast<uint16_t>(a.size - 2);
        EXPECT_EQ(statusOf(makeRequest(a.writeCommand, 4, last, data)), kRefused);
        EXPECT_EQ(statusOf(makeRequest(a.writeCommand, 1, static_cast<uint16_t>(a.size), data)), kRefused);
        EXPECT_EQ(statusOf(makeRequest(a.writeCommand, 1, 0xFFFF, data)), kRefused);
        EXPECT_EQ(area(a.area), before);
        EXPECT_EQ(statusOf(makeRequest(a.writeCommand, 2, last, data)), kOk);
    }
}

TEST_F(SimAreasTest, ReadsMayRunPastTheEndAndAreZeroFilled)
{
    for (const AreaCase& a : kAreas) {
        SCOPED_TRACE(a.name);
        const std::vector<uint8_t> bytes(a.size, 0x5A);
        ASSERT_EQ(kb().QlSimWriteArea(a.area, 0, bytes.data(), static_cast<uint32_t>(bytes.size())), 1);
        const std::optional<Report> reply =
            exchange(makeRequest(a.readCommand, 56, static_cast<uint16_t>(a.size - 10)));
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)[7], kOk);
        EXPECT_TRUE(std::all_of(reply->begin() + 8, reply->begin() + 18, [](uint8_t b) { return b == 0x5A; }));
        EXPECT_TRUE(std::all_of(reply->begin() + 18, reply->end(), [](uint8_t b) { return b == 0; }));
        EXPECT_EQ(statusOf(makeRequest(a.readCommand, 1, static_cast<uint16_t>(a.size))), kRefused);
        EXPECT_EQ(statusOf(makeRequest(a.readCommand, 0, static_cast<uint16_t>(a.size))), kOk);
    }
}

// The program reads 56 bytes at 0, 42 and 84 and keeps 42 of each.
TEST_F(SimAreasTest, TheProgramsLightingReadsAllSucceed)
{
    const std::vector<uint8_t> lighting = pattern(126, 3);
    ASSERT_TRUE(writeBytes(6, 0, lighting));
    for (const uint16_t offset : std::initializer_list<uint16_t>{0, 42, 84}) {
        const std::optional<Report> reply = exchange(makeRequest(5, 56, offset));
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)[7], kOk);
        EXPECT_TRUE(std::equal(reply->begin() + 8, reply->begin() + 50, lighting.begin() + offset));
    }
}

TEST_F(SimAreasTest, WritingTheInfoBlockTakesOnlyTheActiveProfile)
{
    std::vector<uint8_t> info;
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    const std::vector<uint8_t> original = info;

    std::vector<uint8_t> changed(44, 0x77);
    changed[10] = 2;
    const std::optional<Report> reply = exchange(makeRequest(4, 44, 0, changed));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[7], kOk);
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    std::vector<uint8_t> expected = original;
    expected[10] = 2;
    EXPECT_EQ(info, expected);

    changed[10] = 3;
    EXPECT_EQ(statusOf(makeRequest(4, 44, 0, changed)), kRefused);
    changed[10] = 0xFF;
    EXPECT_EQ(statusOf(makeRequest(4, 44, 0, changed)), kRefused);
    EXPECT_EQ(statusOf(makeRequest(4, 45, 0, changed)), kRefused);
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    EXPECT_EQ(info[10], 2);
}

TEST_F(SimAreasTest, TheFactoryInfoBlockDescribesTheDefaultModel)
{
    std::vector<uint8_t> info;
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    EXPECT_EQ(info[8] | (info[9] << 8), 0x0107);
    EXPECT_EQ(info[10], 0);
    EXPECT_EQ(info[11], 64);
    const std::vector<uint8_t> effects(info.begin() + 12, info.end());
    std::vector<uint8_t> expected(32, 0);
    for (int i = 0; i < 18; ++i)
        expected[i] = static_cast<uint8_t>(i + 1);
    expected[18] = 20;
    EXPECT_EQ(effects, expected);
}

TEST_F(SimAreasTest, TheModelComesFromTheEnvironment)
{
    ASSERT_EQ(kb().End(), 1);
    {
        ScopedEnv firmware("TREVOLIN_SIM_FIRMWARE", "0x0104");
        ScopedEnv units("TREVOLIN_SIM_MACRO_UNITS", "2");
        ScopedEnv effects("TREVOLIN_SIM_EFFECTS", "4, 20,0x11");
        ASSERT_EQ(kb().Init(0), 1);
        listen();
        std::vector<uint8_t> info;
        ASSERT_TRUE(readBytes(3, 0, 44, info));
        EXPECT_EQ(info[8] | (info[9] << 8), 0x0104);
        EXPECT_EQ(info[11], 2);
        EXPECT_EQ(std::vector<uint8_t>(info.begin() + 12, info.begin() + 16), (std::vector<uint8_t>{4, 20, 17, 0}));
        EXPECT_EQ(kb().QlSimAreaSize(QL_SIM_AREA_MACRO), 256);
        EXPECT_EQ(statusOf(makeRequest(10, 1, 256)), kRefused);
        ASSERT_EQ(kb().End(), 1);
    }
    {
        ScopedEnv bad("TREVOLIN_SIM_MACRO_UNITS", "lots");
        ScopedEnv empty("TREVOLIN_SIM_EFFECTS", "");
        testing::internal::CaptureStderr();
        ASSERT_EQ(kb().Init(0), 1);
        const std::string warnings = testing::internal::GetCapturedStderr();
        listen();
        EXPECT_NE(warnings.find("TREVOLIN_SIM_MACRO_UNITS"), std::string::npos) << warnings;
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 1) << warnings;
        std::vector<uint8_t> info;
        ASSERT_TRUE(readBytes(3, 0, 44, info));
        EXPECT_EQ(info[11], 64);
        EXPECT_TRUE(std::all_of(info.begin() + 12, info.end(), [](uint8_t b) { return b == 0; }));
    }
}

// The program's built-in copy, positions 0 to 62, as the protocol documents it.
const uint8_t kBuiltIn[189] = {
    0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x29, 0x02, 0x02, 0x35, 0x02, 0x02, 0x2B, 0x02, 0x02, 0x39, 0x02, 0x01,
    0x02, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x3A, 0x02, 0x02, 0x1E, 0x02, 0x02, 0x14,
    0x02, 0x02, 0x04, 0x02, 0x02, 0x1D, 0x02, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x3B, 0x02,
    0x02, 0x1F, 0x02, 0x02, 0x1A, 0x02, 0x02, 0x16, 0x02, 0x02, 0x1B, 0x02, 0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x02, 0x02, 0x3C, 0x02, 0x02, 0x20, 0x02, 0x02, 0x08, 0x02, 0x02, 0x07, 0x02, 0x02, 0x06, 0x02, 0x02, 0x2C,
    0x02, 0x02, 0x46, 0x00, 0x00, 0x00, 0x02, 0x02, 0x3D, 0x02, 0x02, 0x21, 0x02, 0x02, 0x15, 0x02, 0x02, 0x09, 0x02,
    0x02, 0x19, 0x02, 0x01, 0x40, 0x02, 0x02, 0x47, 0x00, 0x00, 0x00, 0x02, 0x02, 0x3E, 0x02, 0x02, 0x22, 0x02, 0x02,
    0x17, 0x02, 0x02, 0x0A, 0x02, 0x02, 0x05, 0x05, 0x02, 0x02, 0x02, 0x02, 0x2E, 0x00, 0x00, 0x00, 0x02, 0x02, 0x3F,
    0x02, 0x02, 0x23, 0x02, 0x02, 0x1C, 0x02, 0x02, 0x0B, 0x02, 0x02, 0x11, 0x02, 0x02, 0x65, 0x02, 0x02, 0x48,
};

TEST_F(SimAreasTest, TheFactoryKeyMapStartsWithTheBuiltInCopyAndHoldsEveryKeyOnce)
{
    std::vector<uint8_t> map;
    ASSERT_TRUE(readBytes(15, 0, 512, map));
    ASSERT_EQ(map.size(), 512u);
    EXPECT_TRUE(std::equal(std::begin(kBuiltIn), std::end(kBuiltIn), map.begin()));
    EXPECT_TRUE(std::all_of(map.begin() + 378, map.end(), [](uint8_t b) { return b == 0; }));

    std::set<uint32_t> keys;
    std::set<uint8_t> gKeys;
    for (size_t k = 0; k < 126; ++k) {
        const uint32_t code = map[3 * k] << 16 | map[3 * k + 1] << 8 | map[3 * k + 2];
        if (map[3 * k] == 2) {
            EXPECT_TRUE(keys.insert(code).second) << "position " << k << " repeats a key";
        }
        if (map[3 * k] == 6) {
            EXPECT_EQ(map[3 * k + 1], 0xA2);
            EXPECT_TRUE(gKeys.insert(map[3 * k + 2]).second) << "position " << k;
        }
    }
    EXPECT_EQ(gKeys.size(), 18u);
    EXPECT_EQ(*gKeys.begin(), 1);
    EXPECT_EQ(*gKeys.rbegin(), 18);
    // 88 keys of the main block, navigation cluster and arrows, plus Num Lock and Num /.
    EXPECT_EQ(keys.size(), 90u);
    for (const unsigned usage : {0x52u, 0x51u, 0x50u, 0x4Fu, 0x49u, 0x4Cu, 0x2Au, 0x28u, 0x31u, 0x64u, 0x53u})
        EXPECT_TRUE(keys.count(0x020200u | usage)) << "usage " << usage;
    for (const unsigned bit : {0x10u, 0x20u, 0x80u})
        EXPECT_TRUE(keys.count(0x020100u | bit)) << "modifier " << bit;
}

TEST_F(SimAreasTest, AFreshKeyboardHoldsTheFactoryDefaults)
{
    const std::vector<uint8_t> map = area(QL_SIM_AREA_DEFAULT_KEYMAP);
    const std::vector<uint8_t> blocks = area(QL_SIM_AREA_KEYMAPS);
    for (size_t p = 0; p < 3; ++p)
        EXPECT_TRUE(std::equal(map.begin(), map.end(), blocks.begin() + p * 512)) << "profile " << p;

    const std::vector<uint8_t> lighting = area(QL_SIM_AREA_LIGHTING);
    const uint8_t record[8] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_TRUE(std::equal(std::begin(record), std::end(record), lighting.begin() + p * 42));
        EXPECT_TRUE(std::all_of(lighting.begin() + p * 42 + 8, lighting.begin() + p * 42 + 42,
                                [](uint8_t b) { return b == 0; }));
    }

    const std::vector<uint8_t> colours = area(QL_SIM_AREA_KEY_COLORS);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_TRUE(std::all_of(colours.begin() + p * 512, colours.begin() + p * 512 + 432,
                                [](uint8_t b) { return b == 0xFF; }));
        EXPECT_TRUE(std::all_of(colours.begin() + p * 512 + 432, colours.begin() + p * 512 + 512,
                                [](uint8_t b) { return b == 0; }));
    }

    std::vector<uint8_t> header;
    ASSERT_TRUE(readBytes(9, 0, 16, header));
    EXPECT_NE(header[0] | (header[1] << 8), 0x55AA);
}

TEST_F(SimAreasTest, TheControlInterfaceChecksItsRanges)
{
    uint8_t byte = 0;
    EXPECT_EQ(kb().QlSimAreaSize(6), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().QlSimAreaSize(QL_SIM_AREA_DEFAULT_KEYMAP), 512);
    EXPECT_EQ(kb().QlSimAreaSize(QL_SIM_AREA_INFO), 44);
    EXPECT_EQ(kb().QlSimReadArea(QL_SIM_AREA_INFO, 44, &byte, 1), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().QlSimReadArea(QL_SIM_AREA_INFO, 43, &byte, 1), 1);
    EXPECT_EQ(kb().QlSimWriteArea(QL_SIM_AREA_LIGHTING, 0xFFFFFFFFu, &byte, 2), QL_ERR_ARGUMENT);
    EXPECT_EQ(kb().QlSimWriteArea(-1, 0, &byte, 1), QL_ERR_ARGUMENT);

    // A test can change the model's bytes; command 3 then shows them.
    const uint8_t firmware[2] = {0x04, 0x01};
    ASSERT_EQ(kb().QlSimWriteArea(QL_SIM_AREA_INFO, 8, firmware, 2), 1);
    std::vector<uint8_t> info;
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    EXPECT_EQ(info[8] | (info[9] << 8), 0x0104);
}

}  // namespace
}  // namespace simtest
