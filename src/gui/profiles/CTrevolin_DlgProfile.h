#pragma once

#include "gui/skin/CBaseDialog.h"
#include "gui/skin/CPngButton.h"

#include "core/base/Prompts.h"
#include "core/base/SettingsStore.h"
#include "core/base/TextLookup.h"
#include "core/profiles/ProfileManager.h"
#include "core/profiles/UserFolder.h"

#include <QLabel>
#include <QTreeWidget>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace trevolin::gui {

// The profile manager: the keyboard's three profiles (tick the one to make
// active) and a list of profile files kept in the settings. It shows and
// passes on; the list's rules are the core model's.
class CTrevolin_DlgProfile final : public CBaseDialog {
    Q_OBJECT

public:
    struct Window {
        // The keyboard's active profile as last known; -1 when unknown.
        std::function<int()> activeProfile;
        // Switches the keyboard (asking first about changes not applied);
        // false when refused.
        std::function<bool(int profile)> selectProfile;
        std::function<void()> openHelp;
    };

    CTrevolin_DlgProfile(QString iniPath, const base::TextLookup& texts, base::Prompts& prompts,
                         base::SettingsStore& settings, profiles::UserFolder folder, Window window,
                         QWidget* parent = nullptr);

    // Shows the dialog without waiting (tests); false when its skin cannot
    // be used (told).
    bool Show();
    // Shows it and waits until it is closed.
    void Open();
    void Relabel();

    // Any thread: whether the dialog is open, and whether Apply has work.
    bool IsOpen() const { return openCount_.load() > 0; }
    bool Modified() const { return modified_.load(); }
    // A switch made elsewhere while the dialog is open (window thread).
    void FollowSwitch(int profile);

    // For tests: the list, a button by its skin key, the next file Add or
    // Load takes instead of asking.
    QTreeWidget* List() const { return list_; }
    CPngButton* Button(const std::string& skinKey) const;
    void SetNextFile(QString path) { nextFile_ = std::move(path); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void Fill();
    void Showing(std::optional<size_t> select);
    QString AskFile(bool save);
    void OnAdd();
    void OnLoad();
    void OnDelete();
    bool OnApply();
    void SetModified(bool modified);
    void Tell(std::string_view key, const std::string& fallback);

    const base::TextLookup& texts_;
    base::Prompts& prompts_;
    base::SettingsStore& settings_;
    profiles::UserFolder folder_;
    Window window_;
    std::optional<profiles::ProfileManagerModel> model_;
    std::map<std::string, CPngButton*> buttons_;
    QTreeWidget* list_ = nullptr;
    QLabel* title_ = nullptr;
    std::atomic<int> openCount_{0};
    std::atomic<bool> modified_{false};
    bool filling_ = false;
    QString nextFile_;
};

}  // namespace trevolin::gui
