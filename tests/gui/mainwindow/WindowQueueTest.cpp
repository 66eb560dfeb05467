// The window's queue of work from other threads.
#include "gui/mainwindow/WindowQueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace trevolin::gui {
namespace {

// A task that waits for the user (a message box) runs a nested event loop;
// the tasks queued after it must run there, in order, not once it closes.
TEST(WindowQueue, TasksAfterOneThatWaitsRunInItsLoopInOrder)
{
    // Loops of their own: the program's tests may have ended the
    // application's event loops, which QEventLoop::exec would honour.
    const auto spin = [](const std::function<bool()>& done) {
        const QDeadlineTimer limit(5000);
        while (!done() && !limit.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    WindowQueue queue;
    std::string ran;
    bool closed = false;
    queue.Post([&] {
        ran += "a";
        // The box, closed by a later task; given up after a while, so the
        // fault fails the test instead of hanging it.
        spin([&] { return closed; });
        ran += "A";
    });
    queue.Post([&] { ran += "b"; });
    queue.Post([&] {
        ran += "c";
        closed = true;
    });
    spin([&] { return ran.size() == 4; });
    EXPECT_EQ(ran, "abcA");
}

}  // namespace
}  // namespace trevolin::gui
