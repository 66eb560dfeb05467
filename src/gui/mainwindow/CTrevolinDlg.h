#pragma once

#include "core/base/Locations.h"
#include "core/app/MainWindowModel.h"
#include "core/app/MainWindowView.h"
#include "core/base/TextLookup.h"
#include "core/keys/KeyButtonView.h"
#include "gui/skin/CBaseDialog.h"
#include "gui/mainwindow/WindowQueue.h"
#include "gui/skin/CPngButton.h"

#include <QLabel>
#include <QPushButton>
#include <QMenu>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QActionGroup;

namespace trevolin::gui {

class CLightingPanel;
class KeyPreview;

class CTrayIcon;

// The main window: the keyboard drawn key by key, the profile buttons and
// menus, Apply with its busy indicator. It draws what the main window's
// model decides and hands the user's clicks to it.
class CTrevolinDlg final : public CBaseDialog, public app::MainWindowView, public keys::KeyButtonView {
    Q_OBJECT
public:
    CTrevolinDlg(const base::Locations& locations, const base::TextLookup& texts, QWidget* parent = nullptr);
    ~CTrevolinDlg() override;

    // The skin, its pictures and every control. False when a picture could
    // not be used (the skin failure has been reported).
    bool Initialise();
    void SetModel(app::MainWindowModel* model);
    void SetTray(CTrayIcon* tray) { tray_ = tray; }
    // Programs (the firmware updater) are not started for the simulated
    // keyboard.
    void SetSimulated(bool simulated) { simulated_ = simulated; }
    // The language's texts on every control.
    void Relabel();
    // At most one about box is open.
    void ShowAbout();

    // --- app::MainWindowView (window thread) -------------------------------
    void ShowWindow() override;
    void HideWindow() override;
    bool HasTray() const override;
    void CreateTray() override;
    void SetTrayPicture(int icon) override;
    void SetBusy(bool busy) override;
    void SetApplyEnabled(bool enabled) override;
    void SetKeyboardPresent(bool present) override;
    void ShowNotice(const std::string& text, Notice kind) override;
    void SetTrayTip(const std::string& tip) override;
    bool Notify(const std::string& text) override;
    void ShowActiveProfile(int profile) override;
    void ShowProfileMenu(const profiles::ProfileMenu& menu) override;
    void ShowKeyBank(bool bankB) override;
    void ShowFlip(bool flipped) override;
    void ShowReportRate(int rate) override;
    void ShowLighting(const app::LightingSnapshot& lighting) override;
    void OpenKeyAssignment(uint16_t controlId, uint16_t keyNumber, bool macroOnly) override;
    bool CloseChildDialogs() override;
    bool StartProgram(const std::string& program, const std::string& folder) override;
    void EndProgram(int exitCode) override;

    // --- keys::KeyButtonView (keyboard thread) -------------------------------
    void ShowKeyLook(uint16_t controlId, const keys::KeyLook& look) override;
    void EnableApply() override;

    // Carries other threads' work to the window's thread.
    WindowQueue& Queue() { return queue_; }

    // For tests and the screenshot.
    CPngButton* Button(uint32_t controlId) const;
    // Asks for a file and backs every profile up to it.
    void Backup();
    // A dialog closed (as by Cancel) with the window's other dialogs.
    void AddChildDialog(QDialog* dialog) { childDialogs_.emplace_back(dialog); }
    QLabel* BusyIndicator() const { return busy_; }
    QLabel* NoticeLabel() const { return noKeyboard_; }
    QPushButton* ReadAgainButton() const { return readAgain_; }
    int BusyFrame() const { return busyFrame_; }
    QMenu& ButtonMenu() { return buttonMenu_; }
    CLightingPanel* LightingPanel() const { return panel_; }
    KeyPreview* Preview() const { return preview_; }
    QMenu& ProfileMenu() { return profileMenu_; }
    // The language the button menu shows ticked: a supported language's
    // index, or -1 for the system's language.
    void ShowLanguageChoice(int chosen);
    bool KeyboardPresent() const { return present_; }

    // Test seam: the next file dialog answers this instead (empty: Cancel).
    static void SetNextFileName(const QString& name);

signals:
    // The key assignment dialog's entry point.
    void KeyAssignmentRequested(uint16_t controlId, uint16_t keyNumber, bool macroOnly);
    // The profile manager's entry point.
    void ProfileManagerRequested();
    // The update dialog's entry point.
    void UpdateDialogRequested();
    // A language chosen in the button menu (-1: the system's language).
    void LanguageChosen(int index);
    void ProgramEnded(int exitCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;

private:
    CPngButton* AddButton(const std::string& skinKey, uint32_t controlId);
    void OnControl(uint32_t controlId);
    void BuildButtonMenu();
    // Names every control for screen readers, in the current language.
    void NameControls();
    // Tab goes through the buttons as the window shows them.
    void OrderFocus();
    void OpenHelp();
    void OpenLink(const QString& target);
    void Restore();
    QString AskFileName(bool save);
    static void KeepQtHistoryPrivate();
    void ShowBusyFrame();
    // Every key button's enabled state from everything that decides it.
    void RefreshKeysEnabled();
    void ShowKeyTint(size_t button, const std::optional<QColor>& tint);
    // Where the window's picture may be needed again after the first paint.
    QRegion SeeThroughRegion() const;
    // The preview runs only while the window can be seen.
    void FollowVisibility();
    QString Text(std::string_view key) const;

    const base::Locations& locations_;
    const base::TextLookup& texts_;
    app::MainWindowModel* model_ = nullptr;
    CTrayIcon* tray_ = nullptr;
    bool simulated_ = false;

    WindowQueue queue_;
    CPngButton::Sources sources_;
    QPixmap flipOff_;
    QPixmap flipOn_;
    std::map<uint32_t, CPngButton*> buttons_;
    std::vector<CPngButton*> keyButtons_;
    std::vector<CPngButton*> flipArrows_;  // down without flip, up with it
    QLabel* busy_ = nullptr;
    CLightingPanel* panel_ = nullptr;
    KeyPreview* preview_ = nullptr;
    QLabel* noKeyboard_ = nullptr;
    QPushButton* readAgain_ = nullptr;  // under the notice when a read failed
    std::array<QPixmap, 10> busyFrames_;
    QTimer busyTimer_;
    QTimer busyDelay_;  // from the start of a sequence to the indicator's
    int busyFrame_ = 0;
    QMenu buttonMenu_;
    QMenu profileMenu_;
    QMenu* profileSubmenu_ = nullptr;
    QMenu* languageSubmenu_ = nullptr;
    QActionGroup* languageGroup_ = nullptr;
    int languageChosen_ = -1;
    QPointer<QWidget> about_;
    std::vector<QPointer<QDialog>> childDialogs_;
    QString link_;
    QString lastFolder_;  // where the user last took or put a backup
    bool present_ = false;
    bool flipped_ = false;
    bool reading_ = false;  // the notice says the keyboard is being read
    bool busyShown_ = false;
    // Whether the window came from the tray (minimise then goes to the
    // task bar, as for a window that was shown normally).
    bool shownFromTray_ = false;
    std::map<uint32_t, bool> keyPlaced_;
    std::map<uint32_t, bool> keyAvailable_;
    bool bankB_ = false;
    bool painted_ = false;
};

}  // namespace trevolin::gui
