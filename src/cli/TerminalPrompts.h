#pragma once

#include "core/base/Prompts.h"

#include <ostream>
#include <string>
#include <vector>

namespace trevolin::cli {

// Messages for the user become lines on standard error; a question is never
// asked (a script cannot answer), its answer is No.
class TerminalPrompts final : public base::Prompts {
public:
    explicit TerminalPrompts(std::ostream& err) : err_(err) {}

    void ShowMessage(std::string_view textKey, std::string_view text, Style style) override;
    bool AskYesNo(std::string_view textKey, std::string_view text) override;

    // The keys of the messages shown so far, for the exit code.
    const std::vector<std::string>& Shown() const { return shown_; }
    bool Showed(std::string_view textKey) const;

private:
    std::ostream& err_;
    std::vector<std::string> shown_;
};

}  // namespace trevolin::cli
