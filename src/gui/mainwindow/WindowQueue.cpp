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
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard lock(mutex_);
        ready.swap(tasks_);
        scheduled_ = false;
    }
    for (auto& task : ready)
        task();
}

}  // namespace trevolin::gui
