#pragma once

#include <string_view>

namespace trevolin::base {

// How the core speaks to the user: message boxes in the desktop program,
// lines on the terminal in the command line, a recorder in tests. A text
// arrives already looked up (and filled in) in the user's language; its key
// says which message it is, for callers that want to react to one.
class Prompts {
public:
    enum class Style {
        Plain,    // an ordinary message box
        TopMost,  // stays above every other window
        Warning,  // something did not happen: a warning, not information
    };

    enum class Choice { Apply, Discard, Cancel };

    virtual ~Prompts() = default;

    // A message with an OK button; returns once the user has closed it.
    virtual void ShowMessage(std::string_view textKey, std::string_view text, Style style) = 0;

    // A question with the buttons Yes and No, No being the default: true
    // only for Yes.
    virtual bool AskYesNo(std::string_view textKey, std::string_view text) = 0;

    // A question with the buttons OK and Cancel: true only for OK. Where a
    // front end has no such box, Yes stands for OK.
    virtual bool AskOkCancel(std::string_view textKey, std::string_view text) { return AskYesNo(textKey, text); }

    // A question with the buttons Apply, Discard and Cancel. Where a front
    // end has no such box, Yes stands for Apply and No for Cancel.
    virtual Choice AskApplyDiscardCancel(std::string_view textKey, std::string_view text)
    {
        return AskYesNo(textKey, text) ? Choice::Apply : Choice::Cancel;
    }

    // The program is ending: a question another thread waits on reads No
    // now, and later questions are answered No without being asked.
    virtual void EndQuestions() {}
};

}  // namespace trevolin::base
