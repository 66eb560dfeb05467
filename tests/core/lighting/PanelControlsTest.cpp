#include "core/lighting/PanelControls.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace trevolin::lighting {
namespace {

TEST(PanelControlsTest, EachReportRateButtonChoosesItsRateAndNoOtherControlDoes)
{
    struct Case {
        uint32_t controlId;
        std::optional<int> rate;
    };
    const Case cases[] = {
        {1147, 0},
        {1168, 1},
        {1169, 2},
        {1170, 3},
        // The ids around them: the lighting view toggle and the speed label
        // sit just below the last three, the lighting view title above.
        {1166, std::nullopt},
        {1167, std::nullopt},
        {1171, std::nullopt},
        {1146, std::nullopt},
        {1148, std::nullopt},
        {control::UsbStatic, std::nullopt},
        {0, std::nullopt},
        {0x10000u + 1147, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportRateOfButton(c.controlId), c.rate) << c.controlId;
    }
}

}  // namespace
}  // namespace trevolin::lighting
