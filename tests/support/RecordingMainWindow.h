#pragma once

#include "core/device/MainWindowLink.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace trevolin::test {

// Writes down every call the device link makes of the main window, in
// order, as short readable lines ("profile sync", "tray 141").
class RecordingMainWindow final : public device::MainWindowLink {
public:
    void KeyboardGone() override { Record("keyboard gone"); }
    void KeyboardArriving() override { Record("keyboard arriving"); }
    void ProfileSync() override { Record("profile sync"); }
    void OpenWindow() override { Record("open window"); }
    void KeyBankChanged() override { Record("key bank changed"); }
    void StartTimer(uint32_t id, uint32_t periodMs) override;
    void SetNormalTrayPicture(int icon) override;
    void ShowTemporaryTrayPicture(int icon) override;
    void RestoreTrayPicture() override;
    void ShowKeyBank(bool bankB) override;
    void HideWindow() override;
    bool InitComplete() override { return initComplete.load(); }
    void ShowMessage(std::string_view textKey) override;

    std::vector<std::string> Events() const;
    size_t Count(const std::string& event) const;
    void Clear();

    std::atomic<bool> initComplete{true};
    // Called with each event after it is written down, on the caller's
    // thread: a test holds a worker inside a call of the window with it.
    // Set it before the workers start.
    std::function<void(const std::string& event)> onEvent;

private:
    void Record(std::string event);
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

}  // namespace trevolin::test
