#include "gui/mainwindow/QtMainWindowLink.h"

#include <QMetaObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>

namespace trevolin::gui {

QtMainWindowLink::QtMainWindowLink(base::Prompts& prompts, const base::TextLookup& texts, WindowQueue& queue)
    : prompts_(prompts),
      texts_(texts),
      queue_(queue)
{
}

template <class Function>
void QtMainWindowLink::Post(Function function)
{
    queue_.Post([this, function = std::move(function)]() mutable {
        if (app::MainWindowModel* model = model_.load())
            function(*model);
    });
}

void QtMainWindowLink::KeyboardGone()
{
    // Handled on the window's thread before the worker goes on (the window
    // closes its dialogs before the keyboard counts as gone).
    auto done = std::make_shared<bool>(false);
    queue_.Post([this, done] {
        if (app::MainWindowModel* model = model_.load())
            model->OnKeyboardGone();
        std::lock_guard lock(mutex_);
        *done = true;
        handled_.notify_all();
    });
    std::unique_lock lock(mutex_);
    handled_.wait(lock, [&] { return *done || closed_; });
}

void QtMainWindowLink::OpenWindow()
{
    Post([](app::MainWindowModel& model) { model.OnOpen(); });
}

void QtMainWindowLink::KeyBankChanged()
{
    Post([](app::MainWindowModel& model) { model.OnKeyBankChanged(); });
}

void QtMainWindowLink::StartTimer(uint32_t id, uint32_t periodMs)
{
    Post([this, id, periodMs](app::MainWindowModel& model) {
        // A timer the window owns: one that has not fired when the program
        // ends goes with the window instead of staying behind.
        auto* timer = new QTimer(&queue_);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, &queue_, [timer, &model, id] {
            timer->deleteLater();
            model.OnTimer(id);
        });
        timer->start(static_cast<int>(periodMs));
    });
}

void QtMainWindowLink::SetNormalTrayPicture(int icon)
{
    Post([icon](app::MainWindowModel& model) { model.SetNormalTrayPicture(icon); });
}

void QtMainWindowLink::ShowTemporaryTrayPicture(int icon)
{
    Post([icon](app::MainWindowModel& model) { model.ShowTemporaryTrayPicture(icon); });
}

void QtMainWindowLink::RestoreTrayPicture()
{
    Post([](app::MainWindowModel& model) { model.RestoreTrayPicture(); });
}

void QtMainWindowLink::ShowKeyBank(bool bankB)
{
    Post([bankB](app::MainWindowModel& model) { model.ShowKeyBank(bankB); });
}

void QtMainWindowLink::HideWindow()
{
    Post([](app::MainWindowModel& model) { model.HideToTray(); });
}

void QtMainWindowLink::ShowMessage(std::string_view textKey)
{
    Post([this, key = std::string(textKey)](app::MainWindowModel&) {
        prompts_.ShowMessage(key, texts_.Text(key), base::Prompts::Style::Plain);
    });
}

QtMainWindowLink::InitWait QtMainWindowLink::WaitForInitComplete(uint32_t timeoutMs)
{
    std::unique_lock lock(mutex_);
    handled_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return closed_ || InitComplete(); });
    return InitComplete() ? InitWait::Complete : InitWait::TimedOut;
}

void QtMainWindowLink::NotifyInitComplete()
{
    std::lock_guard lock(mutex_);
    handled_.notify_all();
}

void QtMainWindowLink::Close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    handled_.notify_all();
}

}  // namespace trevolin::gui
