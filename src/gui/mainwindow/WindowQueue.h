#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

namespace trevolin::gui {

// Work other threads hand to the window's thread (the keyboard thread's
// completions, the device link's messages), run there in the order given.
// The hand-over goes through a standard mutex rather than through the
// captures of a queued Qt call, so that ThreadSanitizer sees it: Qt's own
// locks are invisible to it, and every queued lambda would read as a race.
class WindowQueue final : public QObject {
    Q_OBJECT
public:
    explicit WindowQueue(QObject* parent = nullptr);

    // Any thread; never runs `task` at once, even on the window's thread.
    void Post(std::function<void()> task);

private:
    Q_INVOKABLE void Drain();

    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    bool scheduled_ = false;
};

}  // namespace trevolin::gui
