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
    {
        std::lock_guard lock(mutex_);
        scheduled_ = false;
    }
    // Every task waiting now runs in this one call, so the window draws
    // their results once. A task that waits for the user in a message box
    // runs a nested event loop: a call kept queued while tasks remain lets
    // the tasks after it (the keyboard's news for the window) run in that
    // loop instead of waiting for the box to close.
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
            if (!tasks_.empty() && !scheduled_) {
                scheduled_ = true;
                QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
            }
        }
        task();
    }
}

}  // namespace trevolin::gui
