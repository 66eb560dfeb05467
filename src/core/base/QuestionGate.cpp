#include "core/base/QuestionGate.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace trevolin::base {

struct QuestionGate::Question {
    bool answered = false;
    bool answer = false;
};

struct QuestionGate::State {
    std::mutex mutex;
    std::condition_variable answered;
    bool closed = false;
    std::vector<std::shared_ptr<Question>> open;

    void Answer(Question& question, bool answer)
    {
        {
            std::lock_guard lock(mutex);
            if (question.answered)
                return;
            question.answered = true;
            question.answer = answer;
        }
        answered.notify_all();
    }
};

// Travels with the posted function: whether it runs or is dropped, the
// question ends up answered.
struct QuestionGate::Pending {
    std::shared_ptr<State> state;
    std::shared_ptr<Question> question;
    std::function<bool()> show;

    Pending(std::shared_ptr<State> s, std::shared_ptr<Question> q, std::function<bool()> f)
        : state(std::move(s)),
          question(std::move(q)),
          show(std::move(f))
    {
    }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    ~Pending() { state->Answer(*question, false); }

    void Run()
    {
        {
            std::lock_guard lock(state->mutex);
            // Closed while the question waited in the window's queue: the
            // user is not asked any more.
            if (question->answered || state->closed)
                return;
        }
        state->Answer(*question, show());
    }
};

QuestionGate::QuestionGate() : state_(std::make_shared<State>())
{
}

bool QuestionGate::Ask(const Post& post, std::function<bool()> show)
{
    auto question = std::make_shared<Question>();
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed)
            return false;
        state_->open.push_back(question);
    }
    auto pending = std::make_shared<Pending>(state_, question, std::move(show));
    post([pending] { pending->Run(); });
    pending.reset();

    std::unique_lock lock(state_->mutex);
    state_->answered.wait(lock, [&] { return question->answered; });
    auto& open = state_->open;
    open.erase(std::remove(open.begin(), open.end(), question), open.end());
    return question->answer;
}

void QuestionGate::Close()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->closed = true;
        for (const auto& question : state_->open) {
            if (!question->answered) {
                question->answered = true;
                question->answer = false;
            }
        }
    }
    state_->answered.notify_all();
}

bool QuestionGate::Closed() const
{
    std::lock_guard lock(state_->mutex);
    return state_->closed;
}

}  // namespace trevolin::base
