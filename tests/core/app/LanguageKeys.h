#pragma once

#include <span>
#include <string_view>

namespace trevolin::app {

// The keys the program asks the language file for, by section. Every
// language file must have all of them; the key names of the key code table
// are listed with that table.

// Section TEXT: messages, captions, labels, tooltips and the names of the
// keyboard functions ("FUNC_KEY_DESC1" to "FUNC_KEY_DESC11").
std::span<const std::string_view> TextKeys();

// Section LIGHT: the labels of the lighting panel.
std::span<const std::string_view> LightKeys();

// Section MODE: the lighting effects the program handles, by number.
std::span<const std::string_view> ModeKeys();

// TEXT entries that are formats, with the conversions the program fills
// in: one integer for "UNKNOWN_KEY", "MACRO_ERR_MAX" and
// "MACRO_ACTION_ERR_DELAY_MAX"; one text (a file path) for
// "PROFILE_FORMAT_ERROR". Fill them with FormatText only.
inline constexpr std::string_view UnknownKeyFormat = "UNKNOWN_KEY";
inline constexpr std::string_view MacroCountFormat = "MACRO_ERR_MAX";
inline constexpr std::string_view MacroDelayFormat = "MACRO_ACTION_ERR_DELAY_MAX";
inline constexpr std::string_view ProfileFileFormat = "PROFILE_FORMAT_ERROR";

}  // namespace trevolin::app
