#pragma once

#include "core/base/Prompts.h"
#include "core/base/QuestionGate.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::test {

// Every message and question, in order; questions are answered from
// `answers` (No once they run out). `progress` tells what had happened
// when each was shown (for example how many reports were sent by then).
class RecordingPrompts final : public base::Prompts {
public:
    struct Entry {
        std::string key;
        std::string text;
        bool question = false;
        Style style = Style::Plain;
        size_t at = 0;
    };

    void ShowMessage(std::string_view key, std::string_view text, Style style) override
    {
        entries.push_back({std::string(key), std::string(text), false, style, progress ? progress() : 0});
    }
    bool AskYesNo(std::string_view key, std::string_view text) override
    {
        entries.push_back({std::string(key), std::string(text), true, Style::Plain, progress ? progress() : 0});
        if (onAsk)
            onAsk();
        // Through the gate, as the desktop program asks from another thread.
        if (gate)
            return gate->Ask(post, [this] { return NextAnswer(); });
        return NextAnswer();
    }
    Choice AskApplyDiscardCancel(std::string_view key, std::string_view text) override
    {
        entries.push_back({std::string(key), std::string(text), true, Style::Plain, progress ? progress() : 0});
        if (choices.empty())
            return Choice::Cancel;
        const Choice choice = choices.front();
        choices.pop_front();
        return choice;
    }
    void EndQuestions() override
    {
        questionsEnded = true;
        if (gate)
            gate->Close();
    }

    bool NextAnswer()
    {
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (const auto& e : entries)
            keys.push_back(e.key);
        return keys;
    }

    std::vector<Entry> entries;
    std::deque<bool> answers;
    std::deque<Choice> choices;  // Cancel once they run out
    std::function<size_t()> progress;
    std::function<void()> onAsk;
    bool questionsEnded = false;
    // When set, questions go through `gate`, posted with `post`.
    base::QuestionGate* gate = nullptr;
    base::QuestionGate::Post post;
};

}  // namespace trevolin::test
