#include "core/app/MainWindowControls.h"

#include "core/app/MainWindowModel.h"

#include <array>

namespace trevolin::app {

namespace {

constexpr std::array Controls = {
    MainControl{"CONTROL_OK", command::Ok},
    MainControl{"CONTROL_CANCEL", command::Cancel},
    MainControl{"FUNC_PROFILES", control::ProfileName},
    MainControl{"CONTROL2_APPLY", command::Apply},
    MainControl{"FUNC_MACRO", command::MacroButton},
    MainControl{"VELTRA_LINK", control::LogoLink},
    MainControl{"CONTROL_HELP", control::Help},
    MainControl{"CONTROL_MINIMIZE", control::Minimise},
    MainControl{"CONTROL_CLOSE", command::Close},
    MainControl{"LOCK_CAPS", 1125},
    MainControl{"LOCK_NUM", 1126},
    MainControl{"LOCK_SCROLL", 1127},
    MainControl{"LOCK_AB", control::LockAb},
    MainControl{"FLIP_0", control::FlipIndicator},
    MainControl{"FLIP_1", command::FlipLeft},
    MainControl{"FLIP_2", command::FlipRight},
    MainControl{"FUNC_PROFILE1", command::Profile1},
    MainControl{"FUNC_PROFILE2", command::Profile2},
    MainControl{"FUNC_PROFILE3", command::Profile3},
    MainControl{"FUNC_DEFAULT", command::RestoreDefaults},
    MainControl{"CONTROL_MENU", control::ButtonMenu},
    MainControl{"FUNC_REPORT1", control::FirstReportRate},
    MainControl{"FUNC_REPORT2", 1168},
    MainControl{"FUNC_REPORT3", 1169},
    MainControl{"FUNC_REPORT4", 1170},
    MainControl{"CONTROL_Network", 1219},
    MainControl{"CONTROL_Facebook", 1220},
    MainControl{"CONTROL_twitter", 1221},
};

}  // namespace

std::span<const MainControl> MainControls()
{
    return Controls;
}

std::optional<uint32_t> MainControlIdOf(std::string_view skinKey)
{
    for (const MainControl& c : Controls) {
        if (c.skinKey == skinKey)
            return c.id;
    }
    return std::nullopt;
}

std::string GKeyLabel(size_t gIndex, bool bankB)
{
    if (gIndex >= 5)
        return {};
    return std::string(1, bankB ? 'B' : 'A') + std::to_string(gIndex + 1);
}

}  // namespace trevolin::app
