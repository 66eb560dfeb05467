#pragma once

#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/RgbColor.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trevolin::lighting {

// The lighting panel's controls on the main window, by control id.
namespace control {
inline constexpr uint16_t DengStatic = 1171;  // lighting view title
inline constexpr uint16_t DengStaPic = 1167;  // lighting view toggle
inline constexpr uint16_t XGcombox = 1146;    // effect list
inline constexpr uint16_t LightStatic = 1172;
inline constexpr uint16_t LightSlider = 1178;  // brightness
inline constexpr uint16_t SpeedStatic = 1166;
inline constexpr uint16_t SpeedSlider = 1179;
inline constexpr uint16_t BLFXStatic = 1148;   // direction
inline constexpr uint16_t BLFXLStaPic = 1149;  // direction 255
inline constexpr uint16_t BLFXRStaPic = 1150;  // direction 0
inline constexpr uint16_t HXysStatic = 1154;   // group A colour
inline constexpr uint16_t HXysButton = 1155;
inline constexpr uint16_t HXsjsStatic = 1173;  // group A multicolour
inline constexpr uint16_t HXsjsStaPic = 1156;
inline constexpr uint16_t FYYSStatic = 1151;  // group B colour
inline constexpr uint16_t FYYSButton = 1152;
inline constexpr uint16_t FYSJSStatic = 1176;  // group B multicolour
inline constexpr uint16_t FYSJSStaPic = 1175;
inline constexpr uint16_t HongPic = 1194;  // colour choice 0 to 3
inline constexpr uint16_t HuangPic = 1195;
inline constexpr uint16_t LvPic = 1196;
inline constexpr uint16_t LanPic = 1197;
inline constexpr uint16_t USERysStatic = 1159;  // paint colour
inline constexpr uint16_t USERysButton = 1160;
inline constexpr uint16_t USERjsStatic = 1161;  // base colour
inline constexpr uint16_t USERjsButton = 1162;
inline constexpr uint16_t USERgjStatic = 1163;  // tool
inline constexpr uint16_t USERgjStaPic1 = 1164;
inline constexpr uint16_t USERgjStaPic2 = 1165;
inline constexpr uint16_t UmCombo = 1198;    // user modes
inline constexpr uint16_t UsbStatic = 1204;  // report rate
inline constexpr uint16_t Report1 = 1147;    // report rate 0 to 3
inline constexpr uint16_t Report2 = 1168;
inline constexpr uint16_t Report3 = 1169;
inline constexpr uint16_t Report4 = 1170;
inline constexpr uint16_t RGBStatic = 1207;
inline constexpr uint16_t ColorR = 1208;  // number fields
inline constexpr uint16_t ColorG = 1209;
inline constexpr uint16_t ColorB = 1210;
inline constexpr uint16_t Color1 = 1211;     // presets 1 to 8: 1211 to 1218
inline constexpr uint16_t JDTStatic = 1177;  // progress indicator
}  // namespace control

// A slider reports its new position with this window message: first
// parameter the slider's control id, second the position.
inline constexpr uint32_t SliderMessage = 0x28D1;
inline constexpr int SliderMaxPosition = 4;

inline constexpr std::array<uint16_t, 4> ReportRateButtons = {control::Report1, control::Report2, control::Report3,
                                                              control::Report4};
// The report rate (0 to 3) that button `controlId` chooses; nullopt for any
// other control. The first button's id stands apart from the other three's,
// so the rate is looked up, never worked out from the id.
std::optional<int> ReportRateOfButton(uint32_t controlId);
inline constexpr std::array<uint16_t, 4> ColourChoicePictures = {control::HongPic, control::HuangPic, control::LvPic,
                                                                 control::LanPic};
inline constexpr std::array<uint16_t, 3> NumberFields = {control::ColorR, control::ColorG, control::ColorB};

// Where a control sits in the main window's skin ("BUTTONINFO") and, for a
// label, its text's key in section "LIGHT" (empty when none).
struct PanelControlInfo {
    uint16_t id;
    std::string_view skinName;
    std::string_view lightTextKey;
};
std::span<const PanelControlInfo> PanelControlTable();

// The label that shows a fixed text instead of a language text.
inline constexpr std::string_view RgbLabelText = "RGB";

struct ColourPreset {
    uint16_t id;
    std::string_view picture;
    RgbColor colour;
};
inline constexpr size_t PresetCount = 8;
std::span<const ColourPreset, PresetCount> ColourPresets();

// Every picture the panel loads from the skin folder.
std::span<const std::string_view> PanelPictureFiles();

// A slider's own picture at a position: brightness "p.bmp", speed "6+p".
std::string BrightnessPicture(int position);
std::string SpeedPicture(int position);

// The direction group's rectangles for an effect: label, left, right.
struct DirectionSkinNames {
    std::string_view label;
    std::string_view left;
    std::string_view right;
    bool operator==(const DirectionSkinNames&) const = default;
};
DirectionSkinNames DirectionSkinNamesFor(int effect);

// The two direction pictures for an effect and direction (left/up/diffuse
// on 1149, right/down/converge on 1150), each in its chosen or unchosen
// state. Any non-zero direction counts as left.
struct DirectionPictures {
    std::string_view left;
    std::string_view right;
    bool operator==(const DirectionPictures&) const = default;
};
DirectionPictures DirectionPicturesFor(int effect, uint8_t direction);

}  // namespace trevolin::lighting
