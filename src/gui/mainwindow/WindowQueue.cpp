#include "gui/mainwindow/WindowQueue.h"

#include <QMetaObject>

namespace trevolin::gui {

WindowQueue::WindowQueue(QObject* parent) : QObject(parent)
{
}

void WindowQueue::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        if (scheduled_)
            return;
        scheduled_ = true;
    }
    // By name: no data of ours travels inside Qt's event.
    QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
}

void WindowQueue::Drain()
{
    // One task per call, the next one scheduled before this one runs: a
    // task that waits for the user in a message box runs a nested event
    // loop, and the tasks after it (the keyboard's news for the window)
    // then run in that loop instead of waiting for the box to close.
    std::function<void()> task;
    {
        std::lock_guard lock(mutex_);
        if (tasks_.empty()) {
            scheduled_ = false;
            return;
        }
        task = std::move(tasks_.front());
        tasks_.pop_front();
        scheduled_ = !tasks_.empty();
        if (scheduled_)
            QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
    }
    task();
}

}  // namespace trevolin::gui
