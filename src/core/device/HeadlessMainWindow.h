#pragma once

#include "core/device/MainWindowLink.h"

#include <functional>
#include <string>
#include <string_view>

namespace trevolin::device {

// The device link's view of a program without a window (the command line,
// benchmarks): notifications that would change the window are ignored,
// messages meant for the user are handed to `warn`.
class HeadlessMainWindow final : public MainWindowLink {
public:
    explicit HeadlessMainWindow(std::function<void(std::string_view textKey)> warn = {}) : warn_(std::move(warn)) {}

    void KeyboardGone() override {}
    void ProfileSync() override {}
    void OpenWindow() override {}
    void KeyBankChanged() override {}
    void StartTimer(uint32_t, uint32_t) override {}
    void SetNormalTrayPicture(int) override {}
    void ShowTemporaryTrayPicture(int) override {}
    void RestoreTrayPicture() override {}
    void ShowKeyBank(bool) override {}
    void HideWindow() override {}
    bool InitComplete() override { return true; }
    void ShowMessage(std::string_view textKey) override
    {
        if (warn_)
            warn_(textKey);
    }

private:
    std::function<void(std::string_view)> warn_;
};

}  // namespace trevolin::device
