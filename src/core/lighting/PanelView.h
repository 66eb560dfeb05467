#pragma once

#include "core/base/TextLookup.h"
#include "core/lighting/EffectList.h"
#include "core/lighting/LightMode.h"
#include "core/lighting/ModeFile.h"
#include "core/lighting/PanelControls.h"
#include "core/lighting/RgbColor.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace trevolin::lighting {

// What the lighting panel is made of at a moment.
struct PanelState {
    const LightMode& mode;
    const EffectList& effects;
    bool lightingViewOn = false;
    const std::array<std::string, 3>& numberFields;
    const std::vector<std::string>& userModeNames;
    int chosenUserMode = 0;
    const UserModeSettings& userSettings;
};

// The lighting panel as the window shows it: which controls are visible,
// each picture control's current picture, the labels' texts, the two lists,
// the sliders, the colour buttons and the number fields. Texts are looked up
// when the view is built.
struct PanelView {
    std::vector<uint16_t> visible;  // ascending control ids
    std::map<uint16_t, std::string> pictures;
    std::map<uint16_t, std::string> labels;

    std::vector<std::string> effectNames;  // the effect list's entries
    int selectedEffect = -1;               // -1: the current effect is not listed
    std::vector<std::string> userModeNames;
    int selectedUserMode = 0;

    int brightnessPosition = 0;
    int speedPosition = 0;
    uint16_t checkedReportButton = control::Report1;
    RgbColor groupAColour;  // both groups show the model's colour
    RgbColor groupBColour;
    RgbColor paintColour;
    RgbColor baseColour;
    std::array<std::string, 3> numberFields;
    DirectionSkinNames directionGroup;

    bool IsVisible(uint16_t id) const;
    // Empty for a control without a picture.
    std::string Picture(uint16_t id) const;

    static PanelView Build(const PanelState& state, const base::TextLookup& texts);
};

}  // namespace trevolin::lighting
