#include "support/RecordingMainWindow.h"

#include <algorithm>

namespace trevolin::test {

void RecordingMainWindow::StartTimer(uint32_t id, uint32_t periodMs)
{
    Record("timer " + std::to_string(id) + " " + std::to_string(periodMs));
}

void RecordingMainWindow::SetNormalTrayPicture(int icon)
{
    Record("tray " + std::to_string(icon));
}

void RecordingMainWindow::ShowTemporaryTrayPicture(int icon)
{
    Record("tray temporary " + std::to_string(icon));
}

void RecordingMainWindow::RestoreTrayPicture()
{
    Record("tray restore");
}

void RecordingMainWindow::ShowKeyBank(bool bankB)
{
    Record(bankB ? "bank B" : "bank A");
}

void RecordingMainWindow::HideWindow()
{
    Record("hide");
}

void RecordingMainWindow::ShowMessage(std::string_view textKey)
{
    Record("message " + std::string(textKey));
}

std::vector<std::string> RecordingMainWindow::Events() const
{
    std::lock_guard lock(mutex_);
    return events_;
}

size_t RecordingMainWindow::Count(const std::string& event) const
{
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count(events_.begin(), events_.end(), event));
}

void RecordingMainWindow::Clear()
{
    std::lock_guard lock(mutex_);
    events_.clear();
}

void RecordingMainWindow::Record(std::string event)
{
    {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    if (onEvent)
        onEvent(event);
}

}  // namespace trevolin::test
