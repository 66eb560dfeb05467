#pragma once

#include "core/app/MainWindowModel.h"
#include "core/base/TextLookup.h"
#include "core/device/MainWindowLink.h"
#include "core/base/Prompts.h"
#include "gui/mainwindow/WindowQueue.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace trevolin::gui {

// The device link's way to the main window: every call is carried over to
// the window's thread, where the main window's model handles it. The
// library's thread never waits. A presence worker waits for KeyboardGone()
// to be handled, but gives up once the window closes,
// so that closing (which joins the presence workers) cannot wait for a
// worker that waits for the window.
class QtMainWindowLink final : public QObject, public device::MainWindowLink {
    Q_OBJECT
public:
    // `queue` carries calls to the window's thread; it outlives this link.
    QtMainWindowLink(base::Prompts& prompts, const base::TextLookup& texts, WindowQueue& queue);

    // The model exists only after the keyboard's link (which needs this
    // link) has started; what arrives before waits on the window's thread,
    // which runs it once the model is there.
    void SetModel(app::MainWindowModel* model) { model_.store(model); }

    void KeyboardGone() override;
    // The program loads on arrival on the keyboard thread (KeyboardApp), so
    // the window has nothing to do here.
    void ProfileSync() override {}
    void OpenWindow() override;
    void KeyBankChanged() override;
    void StartTimer(uint32_t id, uint32_t periodMs) override;
    void SetNormalTrayPicture(int icon) override;
    void ShowTemporaryTrayPicture(int icon) override;
    void RestoreTrayPicture() override;
    void ShowKeyBank(bool bankB) override;
    void HideWindow() override;
    bool InitComplete() override
    {
        const app::MainWindowModel* model = model_.load();
        return model && model->InitComplete();
    }
    void ShowMessage(std::string_view textKey) override;
    InitWait WaitForInitComplete(uint32_t timeoutMs) override;
    // The window's initialisation has completed (the model says so): a
    // waiting presence worker goes on.
    void NotifyInitComplete();

    // The window is closing: nothing waits for it any more.
    void Close();

private:
    template <class Function>
    void Post(Function function);

    std::atomic<app::MainWindowModel*> model_{nullptr};
    base::Prompts& prompts_;
    const base::TextLookup& texts_;
    WindowQueue& queue_;
    std::mutex mutex_;
    std::condition_variable handled_;
    bool closed_ = false;
};

}  // namespace trevolin::gui
