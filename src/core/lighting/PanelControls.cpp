#include "core/lighting/PanelControls.h"

#include <fmt/format.h>

namespace trevolin::lighting {

namespace {

constexpr PanelControlInfo Controls[] = {
    {control::DengStatic, "CONTROL_DengStatic", "Deng"},
    {control::DengStaPic, "CONTROL_DengStaPic", ""},
    {control::XGcombox, "CONTROL_XGcombox", ""},
    {control::LightStatic, "CONTROL_LightStatic", "Light"},
    {control::LightSlider, "CONTROL_LightSlider", ""},
    {control::SpeedStatic, "CONTROL_SpeedStatic", "Speed"},
    {control::SpeedSlider, "CONTROL_SpeedSlider", ""},
    {control::BLFXStatic, "CONTROL_BLFXStatic", "FX"},
    {control::BLFXLStaPic, "CONTROL_BLFXLStaPic", ""},
    {control::BLFXRStaPic, "CONTROL_BLFXRStaPic", ""},
    {control::HXysStatic, "CONTROL_HXysStatic", "Color"},
    {control::HXysButton, "CONTROL_HXysButton", ""},
    {control::HXsjsStatic, "CONTROL_HXsjsStatic", "DC"},
    {control::HXsjsStaPic, "CONTROL_HXsjsStaPic", ""},
    {control::FYYSStatic, "CONTROL_FYYSStatic", "Color"},
    {control::FYYSButton, "CONTROL_FYYSButton", ""},
    {control::FYSJSStatic, "CONTROL_FYSJSStatic", "DC"},
    {control::FYSJSStaPic, "CONTROL_FYSJSStaPic", ""},
    {control::HongPic, "CONTROL_HONGPIC", ""},
    {control::HuangPic, "CONTROL_HUANGPIC", ""},
    {control::LvPic, "CONTROL_LVPIC", ""},
    {control::LanPic, "CONTROL_LANPIC", ""},
    {control::USERysStatic, "CONTROL_USERysStatic", "Color"},
    {control::USERysButton, "CONTROL_USERysButton", ""},
    {control::USERjsStatic, "CONTROL_USERjsStatic", "JColor"},
    {control::USERjsButton, "CONTROL_USERjsButton", ""},
    {control::USERgjStatic, "CONTROL_USERgjStatic", "Tool"},
    {control::USERgjStaPic1, "CONTROL_USERgjStaPic1", ""},
    {control::USERgjStaPic2, "CONTROL_USERgjStaPic2", ""},
    {control::UmCombo, "CONTROL_umCombo", ""},
    {control::UsbStatic, "CONTROL_UsbStatic", "Usb"},
    {control::Report1, "FUNC_REPORT1", ""},
    {control::Report2, "FUNC_REPORT2", ""},
    {control::Report3, "FUNC_REPORT3", ""},
    {control::Report4, "FUNC_REPORT4", ""},
    {control::RGBStatic, "CONTROL_RGBStatic", ""},
    {control::ColorR, "COLOR_R", ""},
    {control::ColorG, "COLOR_G", ""},
    {control::ColorB, "COLOR_B", ""},
    {1211, "CONTROL_Color1", ""},
    {1212, "CONTROL_Color2", ""},
    {1213, "CONTROL_Color3", ""},
    {1214, "CONTROL_Color4", ""},
    {1215, "CONTROL_Color5", ""},
    {1216, "CONTROL_Color6", ""},
    {1217, "CONTROL_Color7", ""},
    {1218, "CONTROL_Color8", ""},
    {control::JDTStatic, "CONTROL_JDTStatic", ""},
};

constexpr std::array<ColourPreset, PresetCount> Presets = {{
    {1211, "Color1.bmp", {235, 99, 30}},
    {1212, "Color2.bmp", {255, 0, 0}},
    {1213, "Color3.bmp", {0, 126, 255}},
    {1214, "Color4.bmp", {90, 255, 0}},
    {1215, "Color5.bmp", {234, 255, 0}},
    {1216, "Color6.bmp", {255, 192, 0}},
    {1217, "Color7.bmp", {255, 0, 180}},
    {1218, "Color8.bmp", {174, 0, 255}},
}};

constexpr std::string_view Pictures[] = {
    "dengup.bmp", "dengdown.bmp", "leftup.bmp",   "leftdown.bmp", "rightup.bmp",    "rightdown.bmp", "upup.bmp",
    "updown.bmp", "downup.bmp",   "downdown.bmp", "julong.bmp",   "julongdown.bmp", "kuosan.bmp",    "kuosandown.bmp",
    "hong.bmp",   "hongok.bmp",   "huang.bmp",    "huangok.bmp",  "lv.bmp",         "lvok.bmp",      "lan.bmp",
    "lanok.bmp",  "sjsup.bmp",    "sjsdown.bmp",  "user1up.bmp",  "user1down.bmp",  "user2up.bmp",   "user2down.bmp",
    "jdt1.bmp",   "jdt2.bmp",     "jdt3.bmp",     "jdt4.bmp",     "jdt5.bmp",       "jdt6.bmp",      "jdt7.bmp",
    "jdt8.bmp",   "jdt9.bmp",     "jdt10.bmp",    "0.bmp",        "1.bmp",          "2.bmp",         "3.bmp",
    "4.bmp",      "5.bmp",        "6.bmp",        "7.bmp",        "8.bmp",          "9.bmp",         "10.bmp",
    "11.bmp",     "12.bmp",       "13.bmp",       "14.bmp",       "15.bmp",         "16.bmp",        "17.bmp",
    "18.bmp",     "19.bmp",       "20.bmp",       "21.bmp",       "22.bmp",         "23.bmp",        "24.bmp",
    "25.bmp",     "Color1.bmp",   "Color2.bmp",   "Color3.bmp",   "Color4.bmp",     "Color5.bmp",    "Color6.bmp",
    "Color7.bmp", "Color8.bmp",
};

}  // namespace

std::span<const PanelControlInfo> PanelControlTable()
{
    return Controls;
}

std::span<const ColourPreset, PresetCount> ColourPresets()
{
    return Presets;
}

std::span<const std::string_view> PanelPictureFiles()
{
    return Pictures;
}

std::optional<int> ReportRateOfButton(uint32_t controlId)
{
    for (size_t rate = 0; rate < ReportRateButtons.size(); ++rate) {
        if (ReportRateButtons[rate] == controlId)
            return static_cast<int>(rate);
    }
    return std::nullopt;
}

std::string BrightnessPicture(int position)
{
    return fmt::format("{}.bmp", position);
}

std::string SpeedPicture(int position)
{
    return fmt::format("{}.bmp", 6 + position);
}

DirectionSkinNames DirectionSkinNamesFor(int effect)
{
    const auto traits = FindEffect(effect);
    const DirectionKind kind = traits ? traits->direction : DirectionKind::None;
    switch (kind) {
    case DirectionKind::LeftRight:
        return {"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2"};
    case DirectionKind::UpDown:
        return {"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"};
    default:
        return {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic"};
    }
}

DirectionPictures DirectionPicturesFor(int effect, uint8_t direction)
{
    const auto traits = FindEffect(effect);
    const DirectionKind kind = traits ? traits->direction : DirectionKind::None;
    const bool left = direction != 0;
    switch (kind) {
    case DirectionKind::UpDown:
        return {left ? "updown.bmp" : "upup.bmp", left ? "downup.bmp" : "downdown.bmp"};
    case DirectionKind::DiffuseConverge:
        return {left ? "kuosandown.bmp" : "kuosan.bmp", left ? "julong.bmp" : "julongdown.bmp"};
    default:
        return {left ? "leftdown.bmp" : "leftup.bmp", left ? "rightup.bmp" : "rightdown.bmp"};
    }
}

}  // namespace trevolin::lighting
