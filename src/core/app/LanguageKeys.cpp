#include "core/app/LanguageKeys.h"

namespace trevolin::app {

namespace {

constexpr std::string_view Text[] = {
    "APPLY_PROMPT",
    "A_BOTTOM",
    "A_CLEAR",
    "A_DELETE",
    "A_DOWN",
    "A_RECORD",
    "A_TOP",
    "A_UP",
    "COMPOSITE_PROMPT_CLEAR",
    "COMPOSITE_PROMPT_OSK",
    "DEFAULT_PROFILE_NAME",
    "EXTRA_MACRO_TOO_LONG",
    "EXTRA_PROFILE_SPACE_TIGHT",
    "FUNCTION_KEY",
    "FUNCTION_TISHI",
    "GUANYU_BANQUAN",
    "GUANYU_JIESHAO",
    "IDS_MACRO_KB_KEY",
    "IDS_MACRO_MOU_KEY",
    "IDS_TrayTip_Keyboard",
    "KEYBOARD_TRAY_DESC",
    "KEY_PROMPT",
    "KEY_PROMPT_DISABLED",
    "KEY_PROMPT_FUNCTION",
    "KEY_PROMPT_LAUNCH",
    "KEY_PROMPT_MACRO",
    "KEY_PROMPT_MEDIA",
    "KEY_PROMPT_MOUSE",
    "KEY_PROMPT_OTHER",
    "KEY_PROMPT_RAW",
    "KEY_PROMPT_SET",
    "KEY_PROMPT_SINGLE",
    "KEY_PROMPT_STOP_MACRO",
    "KEY_PROMPT_TEXT",
    "KEY_SETTING_TISHI",
    "LANG_ABOUT_OK",
    "LANG_ABOUT_TITLE",
    "MACRO_ACTION_CLEAR_CONFIRM",
    "MACRO_ACTION_ERR_DELAY_MAX",
    "MACRO_ACTION_ERR_KEYS_PROMPT",
    "MACRO_ACTION_ERR_KEYS_PROMPT2",
    "MACRO_ACTION_ERR_MODIFY",
    "MACRO_ACTION_RECORD",
    "MACRO_ACTION_RECORD_DELAY",
    "MACRO_ACTION_STOP_RECORD",
    "MACRO_ACTION_TISHI",
    "MACRO_CANCLE",
    "MACRO_CYCLES",
    "MACRO_DEFAULT_NAME",
    "MACRO_DELAY_MS",
    "MACRO_DELETE_CONFIRM_OF_KEYS",
    "MACRO_EDIT_TISHI",
    "MACRO_ERR_MAX",
    "MACRO_ERR_NAME_SYSTEM",
    "MACRO_ERR_RECORD",
    "MACRO_ERR_SAME",
    "MACRO_KEYS_TISHI",
    "MACRO_NAME_SETTING",
    "MACRO_NEW_PREFIX",
    "MACRO_OK",
    "MACRO_PROMPT_DEMO",
    "MACRO_SETTING",
    "MAIN_APPLY_PROMPT",
    "MAIN_CAPTION",
    "MAIN_CLOSE_PROMPT",
    "MAIN_DEFAULT_MATRIX_PROMPT",
    "MAIN_HELP_PROMPT",
    "MAIN_MENU_PROMPT",
    "MAIN_MINIMIZE_PROMPT",
    "MAIN_NO_DEVICE_PROMPT",
    "MAIN_NO_TRAY_PROMPT",
    "MAIN_PROMPT_DEFAULT",
    "MAIN_PROMPT_INPORT",
    "MAIN_PROMPT_MACROS_DAMAGED",
    "MAIN_PROMPT_NOT_LOADED",
    "MAIN_SWITCH_COLOR_TEXT",
    "MAIN_SWITCH_FUNCTION_TEXT",
    "MEDIA_EDIT_TISHI",
    "MENU_1",
    "MENU_2",
    "MENU_3",
    "MENU_4",
    "MENU_5",
    "MENU_6",
    "MENU_11",
    "MENU_22",
    "MENU_33",
    "MULTI_MEDIA",
    "PROFILE_1",
    "PROFILE_2",
    "PROFILE_3",
    "PROFILE_APPLY",
    "PROFILE_CANCLE",
    "PROFILE_DEFAULT",
    "PROFILE_FORMAT_ERROR",
    "PROFILE_LOAD_PROMPT",
    "PROFILE_MACRO",
    "PROFILE_NEW",
    "PROFILE_OK",
    "PROFILE_SEELCT_PROMPT2",
    "PROFILE_SELECT_PROMPT",
    "PROFILE_TIP",
    "RECORD_DELAY",
    "SINGLE_KEY",
    "SINGLE_STATIC",
    "UNKNOWN_KEY",
    "FUNC_KEY_DESC1",
    "FUNC_KEY_DESC2",
    "FUNC_KEY_DESC3",
    "FUNC_KEY_DESC4",
    "FUNC_KEY_DESC5",
    "FUNC_KEY_DESC6",
    "FUNC_KEY_DESC7",
    "FUNC_KEY_DESC8",
    "FUNC_KEY_DESC9",
    "FUNC_KEY_DESC10",
    "FUNC_KEY_DESC11",
};

constexpr std::string_view Light[] = {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"};

// Effects 1 to 18 and 20; 19 does not exist.
constexpr std::string_view Mode[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9", "10",
                                     "11", "12", "13", "14", "15", "16", "17", "18", "20"};

}  // namespace

std::span<const std::string_view> TextKeys()
{
    return Text;
}
std::span<const std::string_view> LightKeys()
{
    return Light;
}
std::span<const std::string_view> ModeKeys()
{
    return Mode;
}

}  // namespace trevolin::app
