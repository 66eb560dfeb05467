#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace trevolin::base {

// Questions a worker thread asks the user through the window's thread. The
// worker waits for the answer; the window's thread never waits for the
// worker. Close() answers every open question No and every later one at
// once, so a worker that asks while the program ends (the exit path, an
// event loop that has stopped, a box the user never closes) cannot hold the
// end up. A question whose posted function is dropped without running is
// answered No too.
class QuestionGate {
public:
    // Runs a function on the window's thread later.
    using Post = std::function<void(std::function<void()>)>;

    QuestionGate();

    // Posts `show` (which asks and returns true for Yes or OK) and waits
    // for its answer. Never call it on the window's thread.
    bool Ask(const Post& post, std::function<bool()> show);

    // Every open and later question reads No. Any thread.
    void Close();
    bool Closed() const;

private:
    struct Question;
    struct State;
    struct Pending;
    std::shared_ptr<State> state_;
};

}  // namespace trevolin::base
