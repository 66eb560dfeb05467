#include "core/app/StartupSwitches.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace trevolin::app {

namespace {

constexpr std::string_view HidLibraryOption = "--hid-library";

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsSwitch(std::string_view argument, std::string_view name)
{
    return (argument.starts_with('/') && SameIgnoringCase(argument.substr(1), name)) ||
           (argument.starts_with("--") && SameIgnoringCase(argument.substr(2), name));
}

}  // namespace

StartupSwitches StartupSwitches::Parse(const std::vector<std::string>& arguments)
{
    StartupSwitches switches;
    bool libraryGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (IsSwitch(argument, "kill")) {
            switches.order.push_back(Switch::Kill);
        } else if (IsSwitch(argument, "start")) {
            switches.order.push_back(Switch::Start);
        } else if (argument == "--help" || argument == "-h") {
            switches.help = true;
        } else if (argument == "--version") {
            switches.version = true;
        } else if (argument == "--simulate") {
            switches.simulate = true;
        } else if (argument == HidLibraryOption) {
            libraryGiven = true;
            switches.hidLibrary = i + 1 < arguments.size() ? arguments[++i] : std::string();
        } else if (argument.starts_with(HidLibraryOption) && argument.size() > HidLibraryOption.size() &&
                   argument[HidLibraryOption.size()] == '=') {
            libraryGiven = true;
            switches.hidLibrary = argument.substr(HidLibraryOption.size() + 1);
        }
    }
    // An empty path would quietly fall back to the real keyboard.
    if (libraryGiven && switches.hidLibrary.empty())
        switches.error = "--hid-library needs the path of a library";
    else if (libraryGiven && switches.simulate)
        switches.error = "--simulate and --hid-library cannot be used together";
    return switches;
}

const char* StartupSwitches::Usage()
{
    return "usage: trevolin [--start | /Start] [--kill | /Kill] [--simulate | --hid-library PATH]\n"
           "  Trevolin configures the keyboard from its window and its tray icon.\n"
           "  --start         stay in the tray until opened (the start at login)\n"
           "  --kill          end the running Trevolin (a start with no other running starts one)\n"
           "  --simulate      use the simulated keyboard\n"
           "  --hid-library PATH   use another transport library\n"
           "  --version       print the version\n"
           "A second start opens the running program's window. trevolinctl does the same from a terminal.\n";
}

StartupSwitches StartupSwitches::Parse(int argc, const char* const argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr)
            arguments.emplace_back(argv[i]);
    }
    return Parse(arguments);
}

bool StartupSwitches::Kills() const
{
    return std::find(order.begin(), order.end(), Switch::Kill) != order.end();
}

bool StartupSwitches::StartsHidden() const
{
    return std::find(order.begin(), order.end(), Switch::Start) != order.end();
}

}  // namespace trevolin::app
