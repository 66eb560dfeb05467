#include "cli/TerminalPrompts.h"

#include <algorithm>

namespace trevolin::cli {

void TerminalPrompts::ShowMessage(std::string_view textKey, std::string_view text, Style)
{
    shown_.emplace_back(textKey);
    // The window's text asks to apply again, which the command line cannot;
    // the failed write is reported in its own words (ProfileWorkspace).
    if (textKey == "EXTRA_MACRO_TOO_LONG")
        return;
    err_ << "trevolinctl: " << text << "\n";
}

bool TerminalPrompts::AskYesNo(std::string_view textKey, std::string_view text)
{
    shown_.emplace_back(textKey);
    err_ << "trevolinctl: " << text << " (answered no)\n";
    return false;
}

bool TerminalPrompts::Showed(std::string_view textKey) const
{
    return std::find(shown_.begin(), shown_.end(), textKey) != shown_.end();
}

}  // namespace trevolin::cli
