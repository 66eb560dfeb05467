#pragma once

#include "gui/skin/CBaseDialog.h"
#include "gui/skin/CPngButton.h"

#include "core/base/Prompts.h"
#include "core/base/TextLookup.h"

#include <QLabel>

#include <functional>
#include <map>
#include <string>

namespace trevolin::gui {

// The firmware update dialog: the user picks the updater program, the
// keyboard is put into its update mode and the program started; a backup
// of the profiles first is one button away.
class CTrevolin_DlgUpdate final : public CBaseDialog {
    Q_OBJECT

public:
    struct Window {
        // Asks the keyboard for its update mode; `then(ok)` on the window's
        // thread. False when refused (a keyboard sequence runs).
        std::function<bool(std::function<void(bool ok)> then)> requestBootMode;
        // The main window's backup (asks for the file).
        std::function<void()> backup;
        // The folder the file dialog starts in.
        std::function<QString()> packageFolder;
    };

    CTrevolin_DlgUpdate(QString iniPath, const base::TextLookup& texts, base::Prompts& prompts, Window window,
                        QWidget* parent = nullptr);

    bool Show();
    void Open();
    void Relabel();

    // For tests: a button by its skin key, the file chosen.
    CPngButton* Button(const std::string& skinKey) const;
    void Choose(const QString& path);
    const QString& Chosen() const { return chosen_; }

private:
    void OnOpen();
    void OnUpdate();
    void Tell(std::string_view key, const char* fallback, const QString& detail = {});

    const base::TextLookup& texts_;
    base::Prompts& prompts_;
    Window window_;
    std::map<std::string, CPngButton*> buttons_;
    QLabel* file_ = nullptr;
    QLabel* title_ = nullptr;
    QString chosen_;  // kept between openings
};

}  // namespace trevolin::gui
