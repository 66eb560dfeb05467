#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::skin {

// The main window's skin: the pictures it loads and the names of every
// control it places from "Main.ini".
namespace main_skin {

inline constexpr std::string_view IniName = "Main.ini";
// The four state pictures; the window keeps two sets of them.
inline constexpr std::string_view NormalPicture = "main_normal.jpg";
inline constexpr std::string_view OverPicture = "main_over.jpg";
inline constexpr std::string_view DownPicture = "main_down.jpg";
inline constexpr std::string_view DisablePicture = "main_disable.jpg";
// The arrow buttons' faces, placed by "BUTTONINFO2".
inline constexpr std::string_view ArrowPicture = "Arrow.jpg";
// The whole window with the flip indicator showing flip off and flip on.
inline constexpr std::string_view Color0Picture = "main_color0.jpg";
inline constexpr std::string_view Color1Picture = "main_color1.jpg";
inline constexpr std::string_view LinkKey = "Link";
inline constexpr std::string_view LeftArrowKey = "LEFT_ARROW";
inline constexpr std::string_view RightArrowKey = "RIGHT_ARROW";

}  // namespace main_skin

// Which of the first set's pictures a main-window image button shows in
// each state other than normal (normal is always the normal picture).
enum class MainPicture { Normal, Over, Down, Disable };

struct MainButtonPictures {
    MainPicture hover;
    MainPicture pressed;
    MainPicture disabled;
    MainPicture ticked;

    bool operator==(const MainButtonPictures&) const = default;
};

// By skin key; the keyboard's keys ("KEY_%03X", "FUNC_G%d") sink into the
// down picture when ticked (the key being edited) and dim when disabled.
// Nothing for a name that is not an image button of the main window.
std::optional<MainButtonPictures> MainButtonPicturesOf(std::string_view skinKey);

std::string_view MainPictureFile(MainPicture picture);

// The image buttons that are not keys of the keyboard, in the order the
// window places them; the arrows take their faces from "Arrow.jpg".
std::span<const std::string_view> MainCommandButtonKeys();

// Every image button: the command buttons, "KEY_FN", "FUNC_G1".."FUNC_G9"
// and the 105 layout keys.
std::vector<std::string> MainImageButtonKeys();

// Controls the window only places: labels, lists, sliders, pictures of the
// lighting panel (with the direction group's alternative places) and the
// three colour number fields.
std::vector<std::string> MainPlacementKeys();

// "BUTTONINFO2": the arrows' face origins, "%s%d" with 1 (normal look) and
// 2 (the look while the mouse is over the flip button).
std::vector<std::string> MainArrowFaceKeys();

}  // namespace trevolin::skin
