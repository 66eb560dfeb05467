#include "cli/TerminalPrompts.h"

#include <algorithm>

namespace trevolin::cli {

void TerminalPrompts::ShowMessage(std::string_view textKey, std::string_view text, Style)
{
    shown_.emplace_back(textKey);
    // The window's texts ask to apply again, which the command line cannot;
    // a failed write or restore is reported in the command's own words.
    if (textKey == "EXTRA_MACRO_TOO_LONG" || textKey == "MAIN_PROMPT_INPORT")
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
