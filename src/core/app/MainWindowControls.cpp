#include "core/app/MainWindowControls.h"

#include "core/base/FormatText.h"
#include "core/app/MainWindowModel.h"
#include "core/app/WindowMessages.h"
#include "core/keyboard/KeyNames.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ColourText.h"
#include "core/lighting/PanelControls.h"

#include <array>
#include <cctype>

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
    MainControl{"FUNC_REPORT1", lighting::control::Report1},
    MainControl{"FUNC_REPORT2", lighting::control::Report2},
    MainControl{"FUNC_REPORT3", lighting::control::Report3},
    MainControl{"FUNC_REPORT4", lighting::control::Report4},
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

std::string AccessibleNameOf(uint32_t controlId, const base::TextLookup& texts, bool bankB)
{
    if (const auto key = keyboard::FindKeyButton(controlId)) {
        switch (key->kind) {
        case keyboard::KeyKind::GKey: {
            std::string name = "G" + std::to_string(key->index + 1);
            if (const std::string label = GKeyLabel(key->index, bankB); !label.empty())
                name += ", " + label;
            return name;
        }
        case keyboard::KeyKind::Fn:
            return "Fn";
        case keyboard::KeyKind::Layout:
            return keyboard::KeyNameFromScan(texts, keyboard::LayoutKeys()[key->index].scan);
        }
    }
    const auto text = [&texts](std::string_view languageKey, std::string_view english) {
        return TextOr(texts, languageKey, english);
    };
    switch (controlId) {
    case command::Ok:
        return text("PROFILE_OK", "OK");
    case command::Cancel:
        return text("PROFILE_CANCLE", "Cancel");
    case command::Apply:
        return text("PROFILE_APPLY", "Apply");
    case command::MacroButton:
        return text("PROFILE_MACRO", "Macros");
    case command::RestoreDefaults:
        return text("PROFILE_DEFAULT", "Default");
    case command::Profile1:
        return text("PROFILE_1", "Profile 1");
    case command::Profile2:
        return text("PROFILE_2", "Profile 2");
    case command::Profile3:
        return text("PROFILE_3", "Profile 3");
    case command::Close:
        return text("MAIN_CLOSE_PROMPT", "Close");
    case control::Help:
        return text("MAIN_HELP_PROMPT", "Help");
    case control::Minimise:
        return text("MAIN_MINIMIZE_PROMPT", "Minimise");
    case control::ButtonMenu:
        return text("MAIN_MENU_PROMPT", "Menu");
    case control::ProfileName:
        return text("MENU_6", "Profiles");
    case control::LogoLink:
        return text("ACC_LOGO", "Trevolin");
    case 1125:
        return text("ACC_CAPS_LOCK", "Caps Lock light");
    case 1126:
        return text("ACC_NUM_LOCK", "Num Lock light");
    case 1127:
        return text("ACC_SCROLL_LOCK", "Scroll Lock light");
    case control::LockAb:
        return text("ACC_BANK", "G key bank B");
    case control::FlipIndicator:
        return text("ACC_FLIP", "Keys shown: F1 to F4 or D1 to D6");
    case command::FlipLeft:
    case command::FlipRight:
        return text("ACC_FLIP_SWITCH", "Switch F1 to F4 and D1 to D6");
    default:
        break;
    }
    // The buttons are named from 1, as the window shows them.
    if (const auto rate = lighting::ReportRateOfButton(controlId))
        return base::FormatText(text("ACC_REPORT_RATE", "Report rate %d"), *rate + 1);
    return {};
}

std::string GKeyLabel(size_t gIndex, bool bankB)
{
    if (gIndex >= 5)
        return {};
    return std::string(1, bankB ? 'B' : 'A') + std::to_string(gIndex + 1);
}

}  // namespace trevolin::app

namespace trevolin::app {

std::string PanelAccessibleNameOf(uint16_t controlId, int effect, const base::TextLookup& texts)
{
    namespace lc = lighting::control;
    const auto text = [&texts](std::string_view languageKey, std::string_view english) {
        return TextOr(texts, languageKey, english);
    };
    const auto light = [&texts](std::string_view key, std::string_view english) {
        const std::string t = texts.LightText(key);
        return t.empty() || t.front() == '#' ? std::string(english) : t;
    };
    for (size_t i = 0; i < lighting::PresetCount; ++i) {
        if (controlId == lighting::ColourPresets()[i].id) {
            std::string name(lighting::ColourNames()[i].name);
            if (!name.empty())
                name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
            return base::FormatText(text("ACC_PRESET", "Preset color %s"), name);
        }
    }
    switch (controlId) {
    case lc::DengStaPic:
        return text("ACC_LIGHT_VIEW", "Show the lighting on the keys");
    case lc::XGcombox:
        return text("ACC_EFFECT", "Lighting effect");
    case lc::LightSlider:
        return light("Light", "Brightness");
    case lc::SpeedSlider:
        return light("Speed", "Speed");
    case lc::BLFXLStaPic:
        return effect == 12   ? text("ACC_DIR_UP", "Up")
               : effect == 18 ? text("ACC_DIR_DIFFUSE", "Diffuse")
                              : text("ACC_DIR_LEFT", "Left");
    case lc::BLFXRStaPic:
        return effect == 12   ? text("ACC_DIR_DOWN", "Down")
               : effect == 18 ? text("ACC_DIR_CONVERGE", "Converge")
                              : text("ACC_DIR_RIGHT", "Right");
    case lc::HXysButton:
    case lc::FYYSButton:
        return light("Color", "Color");
    case lc::HXsjsStaPic:
    case lc::FYSJSStaPic:
        return light("DC", "Multicolor");
    case lc::HongPic:
        return text("ACC_CHOICE_RED", "Red");
    case lc::HuangPic:
        return text("ACC_CHOICE_YELLOW", "Yellow");
    case lc::LvPic:
        return text("ACC_CHOICE_GREEN", "Green");
    case lc::LanPic:
        return text("ACC_CHOICE_BLUE", "Blue");
    case lc::USERysButton:
        return text("ACC_PAINT_COLOR", "Paint color");
    case lc::USERjsButton:
        return light("JColor", "Base color");
    case lc::USERgjStaPic1:
        return text("ACC_TOOL_PAINT", "Brush: paint color");
    case lc::USERgjStaPic2:
        return text("ACC_TOOL_BASE", "Brush: base color");
    case lc::UmCombo:
        return text("ACC_USER_MODE", "User mode");
    case lc::ColorR:
        return text("ACC_VALUE_RED", "Red value");
    case lc::ColorG:
        return text("ACC_VALUE_GREEN", "Green value");
    case lc::ColorB:
        return text("ACC_VALUE_BLUE", "Blue value");
    default:
        return {};
    }
}

}  // namespace trevolin::app
