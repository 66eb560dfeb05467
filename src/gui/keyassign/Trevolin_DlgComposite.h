#pragma once

#include "gui/skin/CBaseDialog.h"
#include "gui/skin/CPngButton.h"

#include "core/app/KeyAssignmentSession.h"
#include "core/base/TextLookup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace trevolin::gui {

// The key assignment dialog: what one key of the active profile does (a
// key, a mouse action, a macro, a media or keyboard function, or its
// default), and the macro editor with recording. It shows and passes on;
// the decisions are the session's (core).
class Trevolin_DlgComposite final : public CBaseDialog {
    Q_OBJECT

public:
    // What the dialog needs of the main window.
    struct Window {
        // The key's button on the screen, to open beside it.
        std::function<QRect(uint16_t controlId)> keyRect;
        // The key's button shown pressed while the dialog is open.
        std::function<void(uint16_t controlId, bool down)> showKeyDown;
        // False while a keyboard sequence runs (Apply is refused then).
        std::function<bool()> idle;
        // Opens the program's help page.
        std::function<void()> openHelp;
    };

    Trevolin_DlgComposite(QString iniPath, app::KeyAssignmentSession& session, const base::TextLookup& texts,
                          base::Prompts& prompts, Window window, QWidget* parent = nullptr);
    ~Trevolin_DlgComposite() override;

    // Opens for a key and runs the dialog (modal): false when it could not
    // open (the reason told).
    bool OpenForKey(const keyboard::KeyAssignmentTarget& target);
    // Shows the dialog without waiting (tests).
    bool Show(const keyboard::KeyAssignmentTarget& target);
    // Closed as by Cancel (the keyboard has gone).
    void CancelDialog();

    // The on-screen keyboard program; `onboard` unless set.
    void SetKeyboardProgram(QString program) { oskProgram_ = std::move(program); }
    void Relabel();

    // The key being edited.
    const keyboard::KeyAssignmentTarget& Target() const { return session_.Target(); }

    // Controls, for tests.
    CPngButton* Button(const std::string& skinKey) const;
    QLineEdit* CapturedKeyField() const { return keyField_; }
    QListWidget* MouseList() const { return mouseList_; }
    QComboBox* KeyList() const { return keyList_; }
    QListWidget* MediaList() const { return mediaList_; }
    QListWidget* FunctionList() const { return functionList_; }
    QComboBox* MacroList() const { return macroList_; }
    QTreeWidget* EventList() const { return eventList_; }
    QLineEdit* PlayCountField() const { return playCount_; }
    QCheckBox* RecordDelayBox() const { return recordDelay_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    CPngButton* AddButton(const std::string& skinKey);
    template <typename W>
    W* Place(W* widget, const std::string& skinKey);
    void LoadSets();
    void ShowPage(bool initial);
    void FollowGrab();
    void ChoosePage(profiles::KeyAssignmentDialogModel::Page page);
    void ShowKeySource();
    void Captured(uint16_t keyCode);
    void OnClear();
    void OnOsk();
    bool OnApply();
    void OnOk();
    void FinishClosing();
    void SetDirty();

    // The macro page.
    void LoadMacroList(std::optional<size_t> select);
    void ShowMacro();
    void ShowEvents(std::optional<size_t> selectRow);
    QTreeWidgetItem* EventItem(const macros::MacroEvent& event) const;
    std::optional<size_t> SelectedRow() const;
    std::optional<size_t> SelectedMacro() const;
    void OnAddMacro();
    void OnDeleteMacro();
    void OnMacroChosen(int index);
    void OnNameEdited();
    void OnRecord();
    void StopRecording();
    void ShowRecordingState();
    void OnDeleteEvent();
    void OnClearEvents();
    void OnMove(macros::EventMove move);
    void OnCellEdited(int row, int column, const QString& text, int position);
    void OnPlayCountEdited();
    void RecordKey(const class QKeyEvent& event);
    void EnableEventControls();

    app::KeyAssignmentSession& session_;
    const base::TextLookup& texts_;
    base::Prompts& prompts_;
    Window window_;
    QString oskProgram_ = QStringLiteral("onboard");
    std::map<std::string, CPngButton*> buttons_;
    std::map<std::string, CPngButton::Sources> sets_;
    bool grabbing_ = false;
    bool filling_ = false;  // the program changes a list: no user signals
    bool closing_ = false;

    QLabel* heading_ = nullptr;
    QLabel* keyLabel_ = nullptr;
    QLineEdit* keyField_ = nullptr;
    QRadioButton* keyboardSource_ = nullptr;
    QRadioButton* mouseSource_ = nullptr;
    QLabel* keyboardSourceLabel_ = nullptr;
    QLabel* mouseSourceLabel_ = nullptr;
    QListWidget* mouseList_ = nullptr;
    QLabel* keyListLabel_ = nullptr;
    QComboBox* keyList_ = nullptr;
    QLabel* mediaLabel_ = nullptr;
    QListWidget* mediaList_ = nullptr;
    QLabel* functionLabel_ = nullptr;
    QListWidget* functionList_ = nullptr;
    QLabel* macroLabel_ = nullptr;
    QComboBox* macroList_ = nullptr;
    QTreeWidget* eventList_ = nullptr;
    QCheckBox* recordDelay_ = nullptr;
    QLabel* recordDelayLabel_ = nullptr;
    QLineEdit* playCount_ = nullptr;
    QLabel* playCountLabel_ = nullptr;
};

}  // namespace trevolin::gui
