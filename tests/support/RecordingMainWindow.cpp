#include "support/RecordingMainWindow.h"

#include <algorithm>

namespace trevolin::test {

namespace {

std::string MessageName(uint32_t message)
{
    switch (message) {
    case device::MSG_DEVICE_GONE:
        return "DEVICE_GONE";
    case device::MSG_PROFILE_SYNC:
        return "PROFILE_SYNC";
    case device::MSG_OPEN:
        return "OPEN";
    case device::MSG_BANK_CHANGED:
        return "BANK_CHANGED";
    }
    return std::to_string(message);
}

std::string CodeName(uint32_t code)
{
    switch (code) {
    case 0:
        return "0";
    case device::CODE_PROF:
        return "PROF";
    case device::CODE_OPEN:
        return "OPEN";
    case device::CODE_DEL:
        return "DEL";
    }
    return std::to_string(code);
}

}  // namespace

void RecordingMainWindow::SendMessage(uint32_t message, uint32_t code)
{
    Record("send " + MessageName(message) + " " + CodeName(code));
}

void RecordingMainWindow::PostMessage(uint32_t message, uint32_t code)
{
    Record("post " + MessageName(message) + " " + CodeName(code));
}

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
