#include "core/base/QuestionGate.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace trevolin::base {
namespace {

TEST(QuestionGate, AnswersComeFromTheWindowOrReadNo)
{
    QuestionGate gate;
    int shown = 0;
    const auto runAtOnce = [](std::function<void()> f) { f(); };
    EXPECT_TRUE(gate.Ask(runAtOnce, [&] { return ++shown > 0; }));
    EXPECT_FALSE(gate.Ask(runAtOnce, [&] { return ++shown < 0; }));

    // A window that drops the question (its queue is gone) answers No.
    EXPECT_FALSE(gate.Ask([](std::function<void()>) {}, [&] { return ++shown > 0; }));
    EXPECT_EQ(shown, 2);

    // Closed: nobody is asked any more.
    std::vector<std::function<void()>> queued;
    gate.Close();
    EXPECT_FALSE(gate.Ask([&](std::function<void()> f) { queued.push_back(std::move(f)); }, [&] { return ++shown; }));
    for (auto& f : queued)
        f();
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(gate.Closed());
}

}  // namespace
}  // namespace trevolin::base
