#include "core/lighting/LightingRecord.h"

#include <gtest/gtest.h>

namespace trevolin::lighting {
namespace {

TEST(LightingRecordTest, DecodeTakesEveryFieldFromItsOffset)
{
    LightingRecord::Bytes record{};
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<uint8_t>(100 + i);  // distinct values, out of every small range
    record[LightingRecord::Brightness] = 3;
    record[LightingRecord::Speed] = 1;
    record[LightingRecord::ReportRate] = 2;
    record[LightingRecord::ColourChoice] = 3;
    record[LightingRecord::TriggerChoice] = 1;
    record[LightingRecord::SecondMulticolour] = 0;

    LightMode model;
    LightingRecord::Decode(record, model);
    EXPECT_EQ(model.mode, 100);
    EXPECT_EQ(model.brightness, 3);
    EXPECT_EQ(model.speed, 1);
    EXPECT_EQ(model.direction, 103);
    EXPECT_TRUE(model.multicolour);
    EXPECT_EQ(model.colour, (RgbColor{105, 106, 107}));
    EXPECT_EQ(model.reportRate, 2);
    EXPECT_EQ(model.colourChoice, 3);
    EXPECT_EQ(model.triggerChoice, 1);
    EXPECT_EQ(model.secondColour, (RgbColor{125, 126, 127}));
    EXPECT_FALSE(model.secondMulticolour);
    EXPECT_EQ(model.thirdColour, (RgbColor{130, 131, 132}));
    EXPECT_TRUE(model.thirdMulticolour);
}

// Values the panel cannot show are brought into its ranges; the trigger
// choice is only taken when it is 0 or 1.
TEST(LightingRecordTest, DecodeKeepsTheModelInRange)
{
    struct Case {
        uint8_t field, value;
        uint8_t LightMode::*member;
        uint8_t before, after;
    };
    const Case cases[] = {
        {LightingRecord::ReportRate, 7, &LightMode::reportRate, 0, 3},
        {LightingRecord::ReportRate, 3, &LightMode::reportRate, 0, 3},
        {LightingRecord::Brightness, 9, &LightMode::brightness, 0, 4},
        {LightingRecord::Speed, 200, &LightMode::speed, 0, 4},
        {LightingRecord::ColourChoice, 4, &LightMode::colourChoice, 2, 0},
        {LightingRecord::TriggerChoice, 5, &LightMode::triggerChoice, 1, 1},
        {LightingRecord::TriggerChoice, 5, &LightMode::triggerChoice, 0, 0},
        {LightingRecord::TriggerChoice, 1, &LightMode::triggerChoice, 0, 1},
        {LightingRecord::TriggerChoice, 0, &LightMode::triggerChoice, 1, 0},
    };
    for (const auto& c : cases) {
        LightingRecord::Bytes record{};
        record[c.field] = c.value;
        LightMode model;
        model.*c.member = c.before;
        LightingRecord::Decode(record, model);
        EXPECT_EQ(model.*c.member, c.after) << "field " << int(c.field) << " value " << int(c.value);
    }

    LightingRecord::Bytes record{};
    record[LightingRecord::Multicolour] = 7;  // any non-zero value is on
    LightMode model;
    model.multicolour = false;
    LightingRecord::Decode(record, model);
    EXPECT_TRUE(model.multicolour);
}

}  // namespace
}  // namespace trevolin::lighting
