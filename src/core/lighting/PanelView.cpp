#include "core/lighting/PanelView.h"

#include "core/lighting/EffectCatalogue.h"

#include <algorithm>
#include <initializer_list>

namespace trevolin::lighting {

namespace {

// Shown whether the lighting view is on or not.
constexpr std::initializer_list<uint16_t> AlwaysShown = {
    control::DengStatic,
    control::DengStaPic,
    control::UsbStatic,
    control::Report1,
    control::Report2,
    control::Report3,
    control::Report4,
    control::RGBStatic,
    control::ColorR,
    control::ColorG,
    control::ColorB,
    1211,
    1212,
    1213,
    1214,
    1215,
    1216,
    1217,
    1218,
};

void Show(std::vector<uint16_t>& visible, std::initializer_list<uint16_t> ids)
{
    visible.insert(visible.end(), ids.begin(), ids.end());
}

std::vector<uint16_t> VisibleControls(const PanelState& state)
{
    std::vector<uint16_t> visible;
    Show(visible, AlwaysShown);
    const auto traits = FindEffect(state.mode.mode);
    if (state.lightingViewOn && traits) {
        Show(visible, {control::XGcombox, control::LightStatic, control::LightSlider});
        if (traits->speed)
            Show(visible, {control::SpeedStatic, control::SpeedSlider});
        if (traits->direction != DirectionKind::None)
            Show(visible, {control::BLFXStatic, control::BLFXLStaPic, control::BLFXRStaPic});
        if (traits->colourGroup == ColourGroup::A)
            Show(visible, {control::HXysStatic, control::HXysButton, control::HXsjsStatic, control::HXsjsStaPic});
        if (traits->colourGroup == ColourGroup::B)
            Show(visible, {control::FYYSStatic, control::FYYSButton, control::FYSJSStatic, control::FYSJSStaPic});
        if (traits->colourChoice)
            Show(visible, {control::HongPic, control::HuangPic, control::LvPic, control::LanPic});
        if (traits->userGroup) {
            Show(visible, {control::USERysStatic, control::USERysButton, control::USERjsStatic, control::USERjsButton,
                           control::USERgjStatic, control::USERgjStaPic1, control::USERgjStaPic2, control::UmCombo});
        }
    }
    std::sort(visible.begin(), visible.end());
    return visible;
}

std::map<uint16_t, std::string> Pictures(const PanelState& state, int brightnessPosition, int speedPosition)
{
    const LightMode& mode = state.mode;
    std::map<uint16_t, std::string> pictures;
    pictures[control::DengStaPic] = state.lightingViewOn ? "dengdown.bmp" : "dengup.bmp";
    pictures[control::LightSlider] = BrightnessPicture(brightnessPosition);
    pictures[control::SpeedSlider] = SpeedPicture(speedPosition);

    const DirectionPictures direction = DirectionPicturesFor(mode.mode, mode.direction);
    pictures[control::BLFXLStaPic] = direction.left;
    pictures[control::BLFXRStaPic] = direction.right;

    const char* multicolour = mode.multicolour ? "sjsdown.bmp" : "sjsup.bmp";
    pictures[control::HXsjsStaPic] = multicolour;
    pictures[control::FYSJSStaPic] = multicolour;

    constexpr std::array<std::string_view, 4> choiceNames = {"hong", "huang", "lv", "lan"};
    for (size_t c = 0; c < choiceNames.size(); ++c) {
        pictures[ColourChoicePictures[c]] = std::string(choiceNames[c]) + (mode.colourChoice == c ? "ok.bmp" : ".bmp");
    }

    pictures[control::USERgjStaPic1] = state.userSettings.tool == 0 ? "user1down.bmp" : "user1up.bmp";
    pictures[control::USERgjStaPic2] = state.userSettings.tool == 1 ? "user2down.bmp" : "user2up.bmp";

    for (const auto& preset : ColourPresets())
        pictures[preset.id] = preset.picture;
    return pictures;
}

std::map<uint16_t, std::string> Labels(const base::TextLookup& texts)
{
    std::map<uint16_t, std::string> labels;
    for (const auto& info : PanelControlTable()) {
        if (!info.lightTextKey.empty())
            labels[info.id] = texts.LightText(info.lightTextKey);
    }
    labels[control::RGBStatic] = RgbLabelText;
    return labels;
}

}  // namespace

bool PanelView::IsVisible(uint16_t id) const
{
    return std::binary_search(visible.begin(), visible.end(), id);
}

std::string PanelView::Picture(uint16_t id) const
{
    const auto it = pictures.find(id);
    return it == pictures.end() ? std::string() : it->second;
}

PanelView PanelView::Build(const PanelState& state, const base::TextLookup& texts)
{
    const LightMode& mode = state.mode;
    PanelView view;
    view.brightnessPosition = std::min<int>(mode.brightness, SliderMaxPosition);
    view.speedPosition = SliderMaxPosition - std::min<int>(mode.speed, SliderMaxPosition);
    view.visible = VisibleControls(state);
    view.pictures = Pictures(state, view.brightnessPosition, view.speedPosition);
    view.labels = Labels(texts);
    view.effectNames = state.effects.Names(texts);
    view.selectedEffect = state.effects.LookupIndex(mode.mode);
    view.userModeNames = state.userModeNames;
    view.selectedUserMode = state.chosenUserMode;
    view.checkedReportButton = ReportRateButtons[std::min<size_t>(mode.reportRate, ReportRateButtons.size() - 1)];
    view.groupAColour = mode.colour;
    view.groupBColour = mode.colour;
    view.paintColour = state.userSettings.paintColour;
    view.baseColour = state.userSettings.baseColour;
    view.numberFields = state.numberFields;
    view.directionGroup = DirectionSkinNamesFor(mode.mode);
    return view;
}

}  // namespace trevolin::lighting
