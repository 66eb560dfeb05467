#include "core/skin/MainSkin.h"

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/PanelControls.h"

#include <array>

namespace trevolin::skin {

namespace {

using P = MainPicture;

struct Row {
    std::string_view key;
    MainButtonPictures pictures;
};

constexpr MainButtonPictures CommandLook{P::Over, P::Down, P::Normal, P::Normal};
constexpr MainButtonPictures CheckLook{P::Over, P::Down, P::Normal, P::Disable};
constexpr MainButtonPictures LockLook{P::Normal, P::Normal, P::Normal, P::Over};
constexpr MainButtonPictures KeyLook{P::Over, P::Down, P::Disable, P::Down};

constexpr std::array Rows = {
    Row{"VELTRA_LINK", {P::Over, P::Disable, P::Normal, P::Normal}},
    Row{"FUNC_PROFILES", CommandLook},
    Row{"FUNC_MACRO", CommandLook},
    Row{"CONTROL_OK", CommandLook},
    Row{"CONTROL_CANCEL", CommandLook},
    Row{"CONTROL_HELP", CommandLook},
    Row{"CONTROL_CLOSE", CommandLook},
    Row{"CONTROL_MINIMIZE", CommandLook},
    Row{"CONTROL_MENU", CommandLook},
    Row{"CONTROL2_APPLY", {P::Over, P::Down, P::Disable, P::Normal}},
    Row{"LOCK_CAPS", LockLook},
    Row{"LOCK_NUM", LockLook},
    Row{"LOCK_SCROLL", LockLook},
    Row{"LOCK_AB", LockLook},
    Row{"FLIP_0", {P::Normal, P::Normal, P::Normal, P::Disable}},
    Row{"FLIP_1", CheckLook},
    Row{"FLIP_2", CheckLook},
    Row{"FUNC_PROFILE1", CheckLook},
    Row{"FUNC_PROFILE2", CheckLook},
    Row{"FUNC_PROFILE3", CheckLook},
    Row{"FUNC_DEFAULT", CheckLook},
    Row{"FUNC_REPORT1", CheckLook},
    Row{"FUNC_REPORT2", CheckLook},
    Row{"FUNC_REPORT3", CheckLook},
    Row{"FUNC_REPORT4", CheckLook},
    Row{"KEY_FN", CheckLook},
    Row{"VELTRA_VER", {P::Normal, P::Normal, P::Normal, P::Normal}},
};

constexpr std::array<std::string_view, 29> CommandKeys = {
    "VELTRA_LINK",   "VELTRA_VER",    "FUNC_PROFILES",    "FUNC_MACRO",   "CONTROL_OK",     "CONTROL_CANCEL",
    "CONTROL_HELP",  "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS",
    "LOCK_NUM",      "LOCK_SCROLL",   "LOCK_AB",          "FLIP_0",       "FLIP_1",         "FLIP_2",
    "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3",    "FUNC_DEFAULT", "FUNC_REPORT1",   "FUNC_REPORT2",
    "FUNC_REPORT3",  "FUNC_REPORT4",  "KEY_FN",           "LEFT_ARROW",   "RIGHT_ARROW",
};

bool IsKeyboardKey(std::string_view key)
{
    return (key.starts_with("KEY_") && key != "KEY_FN") || key.starts_with("FUNC_G");
}

}  // namespace

std::optional<MainButtonPictures> MainButtonPicturesOf(std::string_view skinKey)
{
    for (const auto& row : Rows) {
        if (row.key == skinKey) {
            return row.pictures;
        }
    }
    if (IsKeyboardKey(skinKey)) {
        for (const auto& name : MainImageButtonKeys()) {
            if (name == skinKey) {
                return KeyLook;
            }
        }
    }
    return std::nullopt;
}

std::string_view MainPictureFile(MainPicture picture)
{
    switch (picture) {
    case P::Over:
        return main_skin::OverPicture;
    case P::Down:
        return main_skin::DownPicture;
    case P::Disable:
        return main_skin::DisablePicture;
    case P::Normal:
        break;
    }
    return main_skin::NormalPicture;
}

std::span<const std::string_view> MainCommandButtonKeys()
{
    return CommandKeys;
}

std::vector<std::string> MainImageButtonKeys()
{
    std::vector<std::string> keys(CommandKeys.begin(), CommandKeys.end());
    for (size_t g = 0; g < keyboard::GKeyCount; ++g) {
        keys.push_back(keyboard::SkinNameOf({keyboard::KeyKind::GKey, static_cast<uint8_t>(g)}));
    }
    for (size_t i = 0; i < keyboard::LayoutKeyCount; ++i) {
        keys.push_back(keyboard::SkinNameOf({keyboard::KeyKind::Layout, static_cast<uint8_t>(i)}));
    }
    return keys;
}

std::vector<std::string> MainPlacementKeys()
{
    std::vector<std::string> keys;
    for (const auto& control : lighting::PanelControlTable()) {
        if (!control.skinName.starts_with("FUNC_REPORT")) {
            keys.emplace_back(control.skinName);
        }
    }
    for (int effect : {1, 12}) {
        const auto names = lighting::DirectionSkinNamesFor(effect);
        keys.emplace_back(names.label);
        keys.emplace_back(names.left);
        keys.emplace_back(names.right);
    }
    for (std::string_view web : {"CONTROL_Network", "CONTROL_Facebook", "CONTROL_twitter"}) {
        keys.emplace_back(web);
    }
    return keys;
}

std::vector<std::string> MainArrowFaceKeys()
{
    std::vector<std::string> keys;
    for (std::string_view base : {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"}) {
        for (int n : {1, 2}) {
            keys.push_back(std::string(base) + std::to_string(n));
        }
    }
    return keys;
}

}  // namespace trevolin::skin
